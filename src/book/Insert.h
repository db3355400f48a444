// The add-entry dialog: a new entry from a typed title and a typed or loaded text.
#pragma once

#include "DialogParts.h"

#include "skin/TsuiDialog.h"

#include <memory>

class QLabel;
class TsuiButton;
class TsuiEdit;
class TsuiMemo;
class TsuiMessageDialog;
class TsuiProgressBar;

namespace store {
class Query;
}

namespace book {
class TitleList;
}

class TForm2 : public TsuiDialog {
    Q_OBJECT
public:
    TForm2(QWidget* owner, book::TitleList& titles, store::Query& textQuery);
    ~TForm2() override;

    TsuiEdit* titleEdit() const { return suiEdit1; }
    TsuiMemo* editor() const { return suiMemo1; }
    TsuiButton* wrapToggle() const { return suiButton2; }
    TsuiProgressBar* progressBar() const { return suiProgressBar1; }
    void setFileChooser(platform::FileChooser& chooser) { fileChooser_ = &chooser; }

signals:
    // A new entry was stored and listed at position; the title list pane shows that item.
    void entryAdded(int position);

private:
    void suiButton1Click();  // 浏览(&B)...
    void suiButton2Click();  // wrap toggle
    void suiButton3Click();  // 确定(&O)
    void suiButton4Click();  // 取消(&C)
    void FormClose() override;

    book::TitleList& titles_;
    store::Query& textQuery_;
    platform::FileChooser* fileChooser_ = &platform::dialogFileChooser();
    std::unique_ptr<book::WrapToggle> wrapToggle_;

    QLabel* Label1;
    QLabel* Label2;
    TsuiEdit* suiEdit1;
    TsuiMemo* suiMemo1;
    TsuiProgressBar* suiProgressBar1;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;
    TsuiButton* suiButton3;
    TsuiButton* suiButton4;
    TsuiMessageDialog* suiMessageDialog1;
};
