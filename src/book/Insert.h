// The add-entry dialog: a new entry from a typed title and a typed or loaded text.
#pragma once

#include "DialogParts.h"

#include <QDialog>

class QLabel;
class TsuiButton;
class TsuiEdit;
class TsuiForm;
class TsuiMemo;
class TsuiMessageDialog;
class TsuiProgressBar;

namespace store {
class Query;
}

namespace book {
class TextPane;
class TitleList;
}

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2(QWidget* owner, book::TitleList& titles, book::TextPane& pane, store::Query& textQuery);

    void suiButton1Click();  // 浏览(&B)...
    void suiButton2Click();  // wrap toggle
    void suiButton3Click();  // 确定(&O)
    void suiButton4Click();  // 取消(&C)

    TsuiEdit* titleEdit() const { return suiEdit1; }
    TsuiMemo* editor() const { return suiMemo1; }
    TsuiButton* wrapToggle() const { return suiButton2; }
    TsuiProgressBar* progressBar() const { return suiProgressBar1; }
    void setFileChooser(book::FileChooser chooser) { chooseFile_ = std::move(chooser); }

    void done(int result) override;

private:
    void FormClose();
    void warn(const QString& text);
    void setWrapping(bool on);

    book::TitleList& titles_;
    book::TextPane& pane_;
    store::Query& textQuery_;
    book::FileChooser chooseFile_;

    TsuiForm* suiForm1;
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
