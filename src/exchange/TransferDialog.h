// What the export and the import dialog share: a frame with a group box whose top row is a
// read-only path and a "浏览" button, a progress bar, the action and close buttons at the bottom
// right, the window's own message box, and what closing resets. Also the question for an
// exchange file.
#pragma once

#include "BookTransfer.h"
#include "platform/FileChooser.h"
#include "skin/TsuiDialog.h"

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

// The question for an exchange file ("MZ文件 (*.mz)"): an existing file to open, or any name to
// save under without an overwrite question.
platform::FileQuestion exchangeFileQuestion(QWidget* owner, const QString& caption,
                                            platform::FileQuestion::Kind kind);

// Refreshes the materials book's title list, which the main window shows, from the store.
using RefreshTitles = std::function<void()>;

class TransferDialog : public TsuiDialog {
    Q_OBJECT
public:
    // Where the 浏览 button asks for the file; the program's file dialog unless set.
    void setFileChooser(platform::FileChooser& chooser) { fileChooser_ = &chooser; }

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
        platform::FileQuestion::Kind fileKind;
    };
    TransferDialog(RefreshTitles refreshTitles, store::Query& textQuery, QWidget* parent,
                   const Layout& layout);

    // Hides the progress bar, clears the path and gives it the focus.
    void FormClose() override;
    // Asks for the file; empty when the user cancels.
    QString askForFile();

    RefreshTitles refreshTitles_;
    store::Query& textQuery_;
    platform::FileChooser* fileChooser_ = &platform::dialogFileChooser();
    platform::FileQuestion::Kind fileKind_;

    TsuiGroupBox* suiGroupBox1 = nullptr;
    TsuiEdit* suiEdit1 = nullptr;
    TsuiButton* suiButton1 = nullptr;
    TsuiButton* suiButton2 = nullptr;
    TsuiButton* suiButton3 = nullptr;
    TsuiProgressBar* suiProgressBar1 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;

private:
    virtual void suiButton1Click() = 0;  // 浏览
    virtual void suiButton2Click() = 0;  // the export or the import
    void suiButton3Click();              // 关闭(&C)
};

} // namespace exchange
