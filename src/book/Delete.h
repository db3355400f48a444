// The delete-entry dialog: asks about the chosen entry and deletes all its rows.
#pragma once

#include "skin/TsuiDialog.h"

class QLabel;
class TsuiButton;
class TsuiEdit;
class TsuiProgressBar;

namespace store {
class Query;
}
namespace book {
class TitleList;
}

class TForm3 : public TsuiDialog {
    Q_OBJECT
public:
    TForm3(QWidget* owner, book::TitleList& titles, store::Query& textQuery);

    // Set by the delete command before the dialog is shown.
    void prepare(int position, const QString& question);

    void suiButton1Click();  // 是(&Y)
    void suiButton2Click();  // 否(&N)

    QString question() const;
    TsuiButton* yesButton() const { return suiButton1; }
    TsuiButton* noButton() const { return suiButton2; }
    TsuiProgressBar* progressBar() const { return suiProgressBar1; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormClose() override;

    book::TitleList& titles_;
    store::Query& textQuery_;

    QLabel* Image1;
    QLabel* Label1;
    TsuiProgressBar* suiProgressBar1;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;
    TsuiEdit* suiEdit1;  // hidden: the chosen item's position
};
