// The import dialog: replaces the whole materials book by the contents of an exchange file.
// Choosing the file reads and tests it at once; the import works on the lines read then.
#pragma once

#include "ExchangeFile.h"

#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
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

class TForm16 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 384;
    static constexpr int kClientHeight = 200;

    // The text query's rows are replaced by an import; the title list is refreshed after it.
    TForm16(book::TitleList& titles, store::Query& textQuery, QWidget* parent = nullptr);

    // Asks for the file to read; empty when the user cancels. Tests put their own answer here.
    std::function<QString()> askForFile;

    void suiButton1Click();  // 浏览
    void suiButton2Click();  // 导入(&I)
    void suiButton3Click();  // 关闭(&C)

    // Every way of closing (the button, the title bar, Esc) ends here.
    void done(int result) override;

private:
    void buildLayout();
    void FormClose();
    void showMessage(TsuiIconType icon, const QString& text);

    book::TitleList& titles_;
    store::Query& textQuery_;
    exchange::ExchangeFile chosenFile_;  // the line buffer: the file as it was when chosen

    TsuiForm* suiForm1 = nullptr;
    QGroupBox* suiGroupBox1 = nullptr;
    TsuiEdit* suiEdit1 = nullptr;
    TsuiButton* suiButton1 = nullptr;
    QLabel* Label1 = nullptr;
    TsuiEdit* suiEdit2 = nullptr;
    TsuiButton* suiButton2 = nullptr;
    TsuiButton* suiButton3 = nullptr;
    TsuiProgressBar* suiProgressBar1 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;
};
