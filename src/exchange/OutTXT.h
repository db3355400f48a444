// The export dialog: writes the whole materials book to an exchange file the user names.
#pragma once

#include <QDialog>
#include <functional>

class QGroupBox;
class TsuiButton;
class TsuiEdit;
class TsuiForm;
class TsuiMessageDialog;
class TsuiProgressBar;
enum class TsuiIconType : quint8;

namespace book {
class TitleList;
}
namespace store {
class Query;
}

class TForm15 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 384;
    static constexpr int kClientHeight = 184;

    // The title list is refreshed by every export; the text query reads the entries.
    TForm15(book::TitleList& titles, store::Query& textQuery, QWidget* parent = nullptr);

    // Asks for the file to write; empty when the user cancels. Tests put their own answer here.
    std::function<QString()> askForFile;

    void suiButton1Click();  // 浏览
    void suiButton2Click();  // 导出(&O)
    void suiButton3Click();  // 关闭(&C)

    // Every way of closing (the button, the title bar, Esc) ends here.
    void done(int result) override;

private:
    void buildLayout();
    void FormClose();
    void showMessage(TsuiIconType icon, const QString& text);

    book::TitleList& titles_;
    store::Query& textQuery_;

    TsuiForm* suiForm1 = nullptr;
    QGroupBox* suiGroupBox1 = nullptr;
    TsuiEdit* suiEdit1 = nullptr;
    TsuiButton* suiButton1 = nullptr;
    TsuiButton* suiButton2 = nullptr;
    TsuiButton* suiButton3 = nullptr;
    TsuiProgressBar* suiProgressBar1 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;
};
