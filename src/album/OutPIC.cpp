#include "OutPIC.h"

#include "AlbumExport.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/ProgressSteps.h"
#include "skin/TsuiMessageDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeView>

namespace {

const QString kWrongFolder = QStringLiteral("选择的导出文件夹不正确！");
const QString kExported = QStringLiteral("数据库中共有图片%1张，本次成功导出%2张！");

constexpr int kButtonWidth = 76;
constexpr int kButtonHeight = 27;
constexpr int kGroupTop = 37;  // below the title bar
constexpr int kOptionsLeft = 240;
constexpr int kMargin = 10;
constexpr int kFolderPanelHeight = 192;  // what its collapse animates down from

// Between its steps, and while it waits for a picture's check, the export lets the windows
// repaint (the bar, the album pane that follows the query) and answer about ten times a
// second; the dialog's own controls are disabled meanwhile.
class RepaintingProgress : public store::Progress {
public:
    explicit RepaintingProgress(QProgressBar* bar) : bar_(bar) {}
    void begin(int maximum) override
    {
        bar_.begin(maximum);
        sincePaint_.start();
    }
    void step() override
    {
        bar_.step();
        idle();
    }
    void idle() override
    {
        if (sincePaint_.elapsed() >= kPaintInterval) {
            QCoreApplication::processEvents();
            sincePaint_.start();
        }
    }

private:
    static constexpr qint64 kPaintInterval = 100;  // milliseconds
    skin::ProgressBarSteps bar_;
    QElapsedTimer sincePaint_;
};

} // namespace

TForm17::TForm17(album::PictureWalk& album, QWidget* parent)
    : TsuiDialog(parent, kClientWidth, kClientHeight, QStringLiteral("导出图片册")),
      album_(album)
{
    const QSize panel = suiForm1->size();
    const int optionsWidth = panel.width() - kOptionsLeft - kMargin;
    suiGroupBox1 = new TsuiPanel(suiForm1, QStringLiteral("选择导出文件夹"));
    suiGroupBox1->setGeometry(kMargin, kGroupTop, kOptionsLeft - 18, kFolderPanelHeight);
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setOption(QFileSystemModel::DontWatchForChanges);
    ShellTreeView1 = new QTreeView(suiGroupBox1);
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        ShellTreeView1->hideColumn(column);
    ShellTreeView1->header()->hide();
    ShellTreeView1->setGeometry(8, 20, suiGroupBox1->width() - 16, suiGroupBox1->height() - 28);

    suiGroupBox2 = new TsuiPanel(suiForm1, QStringLiteral("导出选项"));
    suiGroupBox2->setShowButton(false);
    suiGroupBox2->setGeometry(kOptionsLeft, kGroupTop, optionsWidth, 122);
    Label1 = new QLabel(QStringLiteral("导出的文件夹为："), suiGroupBox2);
    Label1->setGeometry(10, 22, optionsWidth - 20, 18);
    suiEdit1 = new TsuiEdit(suiGroupBox2);
    suiEdit1->setObjectName(QStringLiteral("suiEdit1"));
    suiEdit1->setReadOnly(true);
    suiEdit1->setGeometry(10, 44, optionsWidth - 20, 22);
    suiCheckBox1 = new TsuiCheckBox(QStringLiteral("导出图片描述"), suiGroupBox2);
    suiCheckBox1->setObjectName(QStringLiteral("suiCheckBox1"));
    suiCheckBox1->move(10, 82);

    suiProgressBar1 = new TsuiProgressBar(suiForm1);
    suiProgressBar1->setObjectName(QStringLiteral("suiProgressBar1"));
    suiProgressBar1->setGeometry(kOptionsLeft, 172, optionsWidth, 12);
    suiButton1 = new TsuiButton(QStringLiteral("导出(&O)"), suiForm1);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton2 = new TsuiButton(QStringLiteral("关闭(&C)"), suiForm1);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    const int closeLeft = panel.width() - kMargin - kButtonWidth;
    const int buttonTop = panel.height() - kMargin - kButtonHeight;
    suiButton1->setGeometry(closeLeft - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    suiButton2->setGeometry(closeLeft, buttonTop, kButtonWidth, kButtonHeight);
    for (TsuiButton* button : {suiButton1, suiButton2})
        button->setAutoDefault(false);
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiInformation);

    connect(ShellTreeView1, &QTreeView::clicked, this, &TForm17::ShellTreeView1Click);
    connect(suiButton1, &QPushButton::clicked, this, &TForm17::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, &TForm17::suiButton2Click);
    FormCreate();
}

// The edit shows the home folder; the tree shows it expanded and selected when it is first shown.
void TForm17::FormCreate()
{
    suiEdit1->setText(QDir(QDir::homePath()).exists() ? QDir::homePath() : QString());
}

// The folder tree reads the disk only once the window is first shown, so that the program's
// start does not list and look up icons for folders nobody may ever see.
void TForm17::showFolders()
{
    folders_->setRootPath(QDir::rootPath());
    ShellTreeView1->setRootIndex(folders_->index(QDir::rootPath()));
    const QModelIndex home = folders_->index(QDir::homePath());
    for (QModelIndex folder = home; folder.isValid(); folder = folder.parent())
        ShellTreeView1->expand(folder);
    ShellTreeView1->setCurrentIndex(home);
}

void TForm17::showEvent(QShowEvent* event)
{
    if (!foldersShown_) {
        foldersShown_ = true;
        showFolders();
    }
    TsuiDialog::showEvent(event);
}

// Only a click changes the folder: moving the selection by keyboard leaves the edit as it was.
void TForm17::ShellTreeView1Click(const QModelIndex& index)
{
    suiEdit1->setText(index.isValid() ? folders_->filePath(index) : QString());
}

void TForm17::suiButton1Click()
{
    const QString folder = suiEdit1->text();
    if (!album::isExportFolder(folder)) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kWrongFolder);
        return;
    }
    setExporting(true);
    album::AlbumExportResult result;
    const bool exported = skin::guarded([&] {
        RepaintingProgress progress(suiProgressBar1);
        result = album::exportAlbum(album_, folder, suiCheckBox1->isChecked(),
                                    progress);
    });
    setExporting(false);
    if (!exported || !result.finished)
        return;
    suiMessageDialog1->ShowModal(TsuiIconType::suiInformation,
                                 kExported.arg(result.pictures).arg(result.written));
    suiProgressBar1->hide();
}

void TForm17::setExporting(bool exporting)
{
    exporting_ = exporting;
    for (QWidget* control : std::initializer_list<QWidget*>{ShellTreeView1, suiCheckBox1, suiButton1, suiButton2})
        control->setEnabled(!exporting);
}

void TForm17::suiButton2Click()
{
    reject();
}

void TForm17::FormClose()
{
    suiProgressBar1->hide();
    ShellTreeView1->setFocus();
}

void TForm17::closeEvent(QCloseEvent* event)
{
    if (exporting_)
        event->ignore();
    else
        TsuiDialog::closeEvent(event);
}

void TForm17::keyPressEvent(QKeyEvent* event)
{
    if (exporting_ && event->key() == Qt::Key_Escape)
        event->accept();
    else
        TsuiDialog::keyPressEvent(event);
}
