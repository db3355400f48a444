// The delete-picture dialog: asks before the picture query's current record is deleted.
#pragma once

#include "skin/TsuiQuestionDialog.h"

#include <optional>

class QLabel;

namespace store {
class Query;
}

namespace album {
// What the dialog asks about the current record ("- " + its name), or nothing on an empty album.
std::optional<QString> deleteQuestion(const store::Query& pictureQuery);
}

class TForm9 : public TsuiQuestionDialog {
    Q_OBJECT
public:
    TForm9(QWidget* owner, store::Query& pictureQuery);

    // The album pane's delete command: on an empty album nothing, else the question, modally.
    void deleteCurrentPicture();

    // The picture's line of the question, whole; the label shows it shortened in the middle
    // when it is wider than the label, so that the name's start and its extension stay visible.
    QString question() const;
    QString shownQuestion() const;

private:
    void suiButton1Click() override;  // 是(&Y)
    store::Query& pictureQuery_;
    QLabel* Label1;
    QLabel* Label2;
};
