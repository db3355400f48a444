// What the export and the import dialog share: a frame with a group box whose top row is a
// read-only path and a "浏览" button, a progress bar, the action and close buttons at the bottom
// right, the window's own message box, and what closing resets. Also the progress bar as a
// Progress and the file dialog for exchange files.
#pragma once

#include "BookTransfer.h"
#include "skin/TsuiDialog.h"

#include <QFileDialog>
#include <QString>
#include <functional>

class QProgressBar;
class TsuiButton;
class TsuiEdit;
class TsuiGroupBox;
class TsuiMessageDialog;
class TsuiProgressBar;
enum class TsuiIconType : quint8;

namespace store {
class Query;
}

namespace exchange {

// The program's own file dialog for exchange files ("MZ文件 (*.mz)"): an existing file to open,
// or any name to save under without an overwrite question. Empty when cancelled.
QString askForExchangeFile(QWidget* owner, const QString& title, QFileDialog::AcceptMode mode);

// Refreshes the materials book's title list, which the main window shows, from the store.
using RefreshTitles = std::function<void()>;

class TransferDialog : public TsuiDialog {
    Q_OBJECT
public:
    // Asks for the file; empty when the user cancels. Tests put their own answer here.
    std::function<QString()> askForFile;

    virtual void suiButton1Click() = 0;  // 浏览
    virtual void suiButton2Click() = 0;  // the export or the import
    void suiButton3Click();              // 关闭(&C)

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
    TransferDialog(RefreshTitles refreshTitles, store::Query& textQuery, QWidget* parent,
                   const Layout& layout);

    // Hides the progress bar, clears the path and gives it the focus.
    void FormClose() override;

    RefreshTitles refreshTitles_;
    store::Query& textQuery_;

    TsuiGroupBox* suiGroupBox1 = nullptr;
    TsuiEdit* suiEdit1 = nullptr;
    TsuiButton* suiButton1 = nullptr;
    TsuiButton* suiButton2 = nullptr;
    TsuiButton* suiButton3 = nullptr;
    TsuiProgressBar* suiProgressBar1 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;
};

} // namespace exchange
