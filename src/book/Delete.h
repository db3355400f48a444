// The delete-entry dialog: asks about the chosen entry and deletes all its rows.
#pragma once

#include "skin/TsuiQuestionDialog.h"

class QLabel;
class TsuiEdit;
class TsuiProgressBar;

namespace store {
class Query;
}
namespace book {
class TitleList;
}

class TForm3 : public TsuiQuestionDialog {
    Q_OBJECT
public:
    TForm3(QWidget* owner, book::TitleList& titles, store::Query& textQuery);

    // Set by the delete command before the dialog is shown.
    void prepare(int position, const QString& question);

    QString question() const;
    TsuiProgressBar* progressBar() const { return suiProgressBar1; }

private:
    void suiButton1Click() override;  // 是(&Y)
    void FormClose() override;

    book::TitleList& titles_;
    store::Query& textQuery_;

    QLabel* Label1;
    TsuiProgressBar* suiProgressBar1;
    TsuiEdit* suiEdit1;  // hidden: the chosen item's position
};
