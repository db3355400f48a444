// The splash window: borderless 310 × 190, centred, Themes/Splash.bmp stretched or blank.
#pragma once

#include <QWidget>

class TImage;

namespace platform {
class ProgramFolder;
}

class TForm11 : public QWidget {
    Q_OBJECT
public:
    explicit TForm11(const platform::ProgramFolder& folder);
    bool hasPicture() const;

private:
    void FormCreate(const platform::ProgramFolder& folder);
    TImage* Image1;
};
