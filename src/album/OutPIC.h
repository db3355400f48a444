// The album export dialog: the folder tree, the chosen folder, the "导出图片描述" check box and
// the export itself (AlbumExport). The folder and the check box keep their state between
// openings.
#pragma once

#include "skin/TsuiDialog.h"

class QFileSystemModel;
class QLabel;
class QModelIndex;
class QTreeView;
class TsuiButton;
class TsuiCheckBox;
class TsuiEdit;
class TsuiMessageDialog;
class TsuiPanel;
class TsuiProgressBar;

namespace album {
class PictureWalk;
}

class TForm17 : public TsuiDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 440;
    static constexpr int kClientHeight = 240;

    // The export walks the album as the user sees it.
    TForm17(album::PictureWalk& album, QWidget* parent = nullptr);

    void ShellTreeView1Click(const QModelIndex& index);

    // The folder tree's model, for the tests.
    QFileSystemModel* folderModel() const { return folders_; }

protected:
    void FormClose() override;
    // While an export runs, the window stays open: closing and Escape wait for its end.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void suiButton1Click();  // 导出(&O)
    void suiButton2Click();  // 关闭(&C)
    void FormCreate();
    void showFolders();
    void setExporting(bool exporting);

    album::PictureWalk& album_;
    bool exporting_ = false;

    TsuiPanel* suiGroupBox1 = nullptr;  // 选择导出文件夹
    QTreeView* ShellTreeView1 = nullptr;
    QFileSystemModel* folders_ = nullptr;
    bool foldersShown_ = false;
    TsuiPanel* suiGroupBox2 = nullptr;  // 导出选项
    QLabel* Label1 = nullptr;
    TsuiEdit* suiEdit1 = nullptr;
    TsuiCheckBox* suiCheckBox1 = nullptr;
    TsuiProgressBar* suiProgressBar1 = nullptr;
    TsuiButton* suiButton1 = nullptr;
    TsuiButton* suiButton2 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;
};
