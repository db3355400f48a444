// The search-titles dialog: narrows the title list to titles containing or equal to a text.
#pragma once

#include "skin/TsuiDialog.h"

class QLabel;
class TsuiButton;
class TsuiCheckBox;
class TsuiEdit;

namespace store {
class Query;
}
namespace book {
class TitleList;

// Lists the titles that contain text (fuzzy, % and _ keep their pattern meaning) or equal it;
// the text is taken exactly as typed. Selects the first item or disables the commands.
void searchTitles(TitleList& titles, store::Query& textQuery, const QString& text, bool fuzzy);
}

class TForm4 : public TsuiDialog {
    Q_OBJECT
public:
    TForm4(QWidget* owner, book::TitleList& titles, store::Query& textQuery);

    TsuiEdit* searchEdit() const { return suiEdit1; }
    TsuiCheckBox* fuzzyCheck() const { return suiCheckBox1; }
    TsuiButton* okButton() const { return suiButton1; }

private:
    void suiButton1Click();  // 确定(&O)
    void suiButton2Click();  // 取消(&C)
    void FormClose() override;

    book::TitleList& titles_;
    store::Query& textQuery_;

    QLabel* Label1;
    TsuiEdit* suiEdit1;
    TsuiCheckBox* suiCheckBox1;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;
};
