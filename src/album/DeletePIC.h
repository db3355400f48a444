// The delete-picture dialog: asks before the picture query's current record is deleted.
#pragma once

#include "skin/TsuiDialog.h"

#include <optional>

class QLabel;
class TsuiButton;

namespace store {
class Query;
}

namespace album {
// What the dialog asks about the current record ("- " + its name), or nothing on an empty album.
std::optional<QString> deleteQuestion(const store::Query& pictureQuery);
}

class TForm9 : public TsuiDialog {
    Q_OBJECT
public:
    TForm9(QWidget* owner, store::Query& pictureQuery);

    // The album pane's delete command: on an empty album nothing, else the question, modally.
    void deleteCurrentPicture();

    void suiButton1Click();  // 是(&Y)
    void suiButton2Click();  // 否(&N)

    QString question() const;
    TsuiButton* yesButton() const { return suiButton1; }
    TsuiButton* noButton() const { return suiButton2; }

private:
    void FormClose() override;

    store::Query& pictureQuery_;
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;
};
