// The splash window: borderless 310 × 190, centred, Themes/Splash.bmp stretched or blank.
#pragma once

#include <QWidget>

class TImage;

class TForm11 : public QWidget {
    Q_OBJECT
public:
    TForm11();
    bool hasPicture() const;

private:
    void FormCreate();
    TImage* Image1;
};
