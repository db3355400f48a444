// What the export and the import dialog share: a frame with a group box whose top row is a
// read-only path and a "浏览" button, a progress bar, the action and close buttons at the bottom
// right, the window's own message box, and what closing resets. Also the progress bar as a
// Progress and the file dialog for exchange files.
#pragma once

#include "BookTransfer.h"

#include <QDialog>
#include <QFileDialog>
#include <QString>
#include <functional>

class QGroupBox;
class QProgressBar;
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

namespace exchange {

// The program's own file dialog for exchange files ("MZ文件 (*.mz)"): an existing file to open,
// or any name to save under without an overwrite question. Empty when cancelled.
QString askForExchangeFile(QWidget* owner, const QString& title, QFileDialog::AcceptMode mode);

class TransferDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for the file; empty when the user cancels. Tests put their own answer here.
    std::function<QString()> askForFile;

    virtual void suiButton1Click() = 0;  // 浏览
    virtual void suiButton2Click() = 0;  // the export or the import
    void suiButton3Click();              // 关闭(&C)

    // Every way of closing (the button, the title bar, Esc) ends in FormClose.
    void done(int result) override;

protected:
    struct Layout {
        int width;
        int height;
        QString caption;
        QString groupCaption;
        int groupHeight;
        int progressTop;
        int buttonTop;
        QString actionCaption;
        QFileDialog::AcceptMode fileMode;
    };
    TransferDialog(book::TitleList& titles, store::Query& textQuery, QWidget* parent,
                   const Layout& layout);

    // Hides the progress bar, clears the path and gives it the focus.
    virtual void FormClose();
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

} // namespace exchange
