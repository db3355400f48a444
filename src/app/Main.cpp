#include "Main.h"

#include "About.h"
#include "Icons.h"
#include "Startup.h"
#include "album/AlbumPane.h"
#include "album/OutPIC.h"
#include "album/PictureActions.h"
#include "book/Confirm.h"
#include "book/Delete.h"
#include "book/FullTextSearch.h"
#include "book/Insert.h"
#include "book/Load.h"
#include "book/Search.h"
#include "book/TextPane.h"
#include "clipmon/Show.h"
#include "exchange/InTXT.h"
#include "exchange/OutTXT.h"
#include "platform/Clipboard.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiListView.h"
#include "skin/TsuiMessageDialog.h"
#include "skin/TsuiStatusBar.h"
#include "store/Compaction.h"
#include "store/FullText.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace {
constexpr int kStripHeight = 6;
constexpr int kCategoryBarWidth = 54;
constexpr int kCategoryPictureWidth = 48;
constexpr int kStatusBarHeight = 19;
constexpr int kMaterialsMarkerTop = 25;
constexpr int kAlbumMarkerTop = 81;
const QString kMaterialsBookStatus = QStringLiteral("资料本：适用于仅包含文字、字母、符号的纯文本");
const QString kAlbumStatus = QStringLiteral("图片册：适用于BMP、JPG、JPEG格式的图片");
const QString kNothingToCopy = QStringLiteral("没有图片资源来进行复制！");
const QString kNothingToSave = QStringLiteral("没有图片资源来进行保存！");
const QString kNothingForWallpaper = QStringLiteral("没有用来设为墙纸的图片资源！");
const QString kCompacted = QStringLiteral("压缩数据库成功！请重新启动软件！");
const QString kCompactionFailed = QStringLiteral("压缩数据库失败！请重新启动软件！");
const QString kDataNowIn = QStringLiteral("\n资料现保存在 %1，请将它改名为 %2。");

// The highlight tile behind the current book's icon.
class CategoryMarker : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.setBrush(QColor(255, 255, 255, 110));
        p.drawRoundedRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5), 5, 5);
    }
};

QLabel* categoryIcon(QWidget* bar, const QPixmap& picture, int top, const QString& hint)
{
    auto* icon = new QLabel(bar);
    icon->setPixmap(picture);
    icon->setGeometry(8, top, 32, 32);
    icon->setCursor(Qt::PointingHandCursor);
    icon->setToolTip(hint);
    icon->setAttribute(Qt::WA_TranslucentBackground);
    return icon;
}

// Calls handler when the watched label is clicked.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

TForm1::TForm1(platform::ProgramFolder folder, platform::TickClock& clock,
               platform::Clipboard& clipboard)
    : folder_(std::move(folder)), clock_(clock), clipboard_(clipboard)
{
    fetchTitlesMeanwhile();
    setWindowTitle(skin::kApplicationTitle);
    setFixedSize(kClientWidth, kClientHeight);
    buildLayout();
    FormCreate();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The title list's rows are fetched on a thread of their own while the window is built; the
// text query's open() in FormCreate takes them (or reports the store's error) in its turn. An
// older store first gains the list's index, once. One that cannot take it (read-only, locked,
// damaged) opens without it: the queries then report what is wrong, if anything.
void TForm1::fetchTitlesMeanwhile()
{
    try {
        store::addTitleListIndex(folder_.store());
    } catch (const store::StoreError&) {
    }
    // Rows written by other tools since the last run join the full-text index.
    try {
        store::fulltext::catchUp(folder_.store());
    } catch (const store::StoreError&) {
    }
    ADOQuery1.setStorePath(folder_.store());
    ADOQuery1.setStatement(store::statements::allTitles());
    ADOQuery1.prefetch();
}

void TForm1::buildLayout()
{
    suiForm1 = new TsuiForm(this);
    buildMenu();
    buildCategoryBar();
    TextPane1 = new book::TextPane(suiForm1, titles_, ADOQuery1, clipboard_);
    connect(TextPane1, &book::TextPane::readRequested, this, &TForm1::openReadingWindow);
    connect(TextPane1, &book::TextPane::addRequested, this, &TForm1::showAddEntryDialog);
    connect(TextPane1, &book::TextPane::deleteRequested, this, &TForm1::showDeleteEntryDialog);
    connect(TextPane1, &book::TextPane::searchRequested, this, &TForm1::showSearchTitlesDialog);
    connect(TextPane1, &book::TextPane::titleCopied, this, &TForm1::titleCopied);
    // The album pane takes the picture query's after-scroll refresh before the query opens.
    AlbumPane1 = new album::AlbumPane(suiForm1, ADOQuery2);
    AlbumPane1->hide();
    AlbumPane1->setThumbnailWindowHooks({{}, {}, {}, [this] {
                                             raise();
                                             activateWindow();
                                         }});
    suiStatusBar1 = new TsuiStatusBar(suiForm1);
    suiStatusBar1->setPanels({{144, QStringLiteral("墨舟札记  v2.0"), Qt::AlignLeft},
                              {174, QStringLiteral("墨舟工作室 出品"), Qt::AlignLeft},
                              {0, kMaterialsBookStatus, Qt::AlignRight}});
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiInformation);
}

void TForm1::buildCategoryBar()
{
    CategoryBar1 = new QWidget(suiForm1);
    Image1 = new TImage(CategoryBar1);
    Image2 = new CategoryMarker(CategoryBar1);
    Image2->setGeometry(0, kMaterialsMarkerTop, 48, 56);
    Image3 = categoryIcon(CategoryBar1, app::icons::materialsBook(), 37, QStringLiteral("资料本"));
    Image4 = categoryIcon(CategoryBar1, app::icons::pictureAlbum(), 93, QStringLiteral("图片册"));
    Image5 = categoryIcon(CategoryBar1, app::icons::articleCollection(), 149, QStringLiteral("文章集"));
    Image5->hide();
    Image3->installEventFilter(new ClickFilter(this, [this] { T1Click(); }));
    Image4->installEventFilter(new ClickFilter(this, [this] { G2Click(); }));
}

void TForm1::buildMenu()
{
    // The menu shows itself in the frame's menu bar, below the title bar.
    MainMenu1 = new TsuiMainMenu(suiForm1);

    QMenu* file = MainMenu1->addMenu(QStringLiteral(" 文件(&F)"));
    QMenu* importMenu = file->addMenu(QStringLiteral("导入(&I)"));
    addCommand(importMenu, "N25", QStringLiteral("资料本(&T)"), &TForm1::N25Click);
    QMenu* exportMenu = file->addMenu(QStringLiteral("导出(&O)"));
    addCommand(exportMenu, "T2", QStringLiteral("资料本(&T)"), &TForm1::T2Click);
    G1 = addCommand(exportMenu, "G1", QStringLiteral("图片册(&G)"), &TForm1::G1Click);
    file->addSeparator();
    addCommand(file, "M1", QStringLiteral("压缩数据库(&R)"), &TForm1::M1Click)
        ->setIcon(app::icons::compactStore());
    addCommand(file, "N1", QStringLiteral("监视剪贴板(&P)"), &TForm1::N1Click)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    file->addSeparator();
    addCommand(file, "E1", QStringLiteral("退出(&E)"), &TForm1::E1Click);

    QMenu* view = MainMenu1->addMenu(QStringLiteral(" 查看(&V)"));
    S1 = addCommand(view, "S1", QStringLiteral("类别栏(&S)"), &TForm1::S1Click);
    B1 = addCommand(view, "B1", QStringLiteral("状态栏(&B)"), &TForm1::B1Click);
    view->addSeparator();
    T1 = addCommand(view, "T1", QStringLiteral("资料本(&T)"), &TForm1::T1Click);
    T1->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    G2 = addCommand(view, "G2", QStringLiteral("图片册(&G)"), &TForm1::G2Click);
    G2->setShortcut(QKeySequence(QStringLiteral("Ctrl+G")));
    W1 = view->addAction(QStringLiteral("文章集(&W)"));
    W1->setObjectName(QStringLiteral("W1"));
    W1->setVisible(false);
    view->addSeparator();
    addCommand(view, "FullTextSearch", QStringLiteral("全文搜索(&F)..."), &TForm1::FullTextSearchClick)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    for (QAction* item : {S1, B1, T1, G2, W1})
        item->setCheckable(true);
    S1->setChecked(true);
    B1->setChecked(true);
    T1->setChecked(true);

    QMenu* help = MainMenu1->addMenu(QStringLiteral(" 帮助(&H)"));
    QAction* contents = addCommand(help, "N9", QStringLiteral("目录(&C)"), &TForm1::N9Click);
    contents->setIcon(app::icons::helpContents());
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    addCommand(help, "X1", QStringLiteral("墨舟主页(&X)"), &TForm1::X1Click);
    addCommand(help, "L1", QStringLiteral("联系作者(&L)"), &TForm1::L1Click);
    help->addSeparator();
    addCommand(help, "A1", QStringLiteral("关于(&A)"), &TForm1::A1Click);
}

// Each command is one action, named after its handler, so that the menu, its short-cut key and
// the tests all reach it the same way.
QAction* TForm1::addCommand(QMenu* menu, const char* name, const QString& caption,
                            void (TForm1::*handler)())
{
    QAction* command = menu->addAction(caption, this, handler);
    command->setObjectName(QString::fromLatin1(name));
    return command;
}

// Main window creation, steps 1 to 8: the splash wait, the theme pictures, the panes, the album
// grid's colour, the picture query, the text query and the title list.
void TForm1::FormCreate()
{
    app::waitOutSplash(clock_);
    loadThemePictures();
    layOutPanes();
    readFixedAreaColor();
    openQueries();
}

void TForm1::loadThemePictures()
{
    Image1->loadFromFile(folder_.theme(QStringLiteral("Left.bmp")));
    TextPane1->loadThemePictures(folder_.themes());
    AlbumPane1->loadThemePictures(folder_.themes());
}

void TForm1::readFixedAreaColor()
{
    const QImage left = Image1->picture().toImage();
    albumFixedColor_ = left.width() > 40 && left.height() > 4 ? left.pixelColor(40, 4)
                                                              : kDefaultFixedColor;
    AlbumPane1->setFixedAreaColor(albumFixedColor_);
}

// A store that cannot be opened is reported with the engine's own message; the steps after the
// failing one are skipped and the list stays empty with its commands disabled.
void TForm1::openQueries()
{
    const bool opened = skin::guarded([this] {
        ADOQuery2.setStorePath(folder_.store());
        ADOQuery2.setStatement(store::statements::allPictures());
        ADOQuery2.open();
        if (ADOQuery2.isEmpty())
            ADOQuery2.first();
        ADOQuery1.setStorePath(folder_.store());
        ADOQuery1.setStatement(store::statements::allTitles());
        ADOQuery1.open();
        titles_.fillFrom(ADOQuery1);
        if (titles_.count() > 0)
            titles_.select(0);
    });
    if (!opened)
        titles_.clear();
}

// The visible pane fills the room of the frame panel that the shown bars leave.
void TForm1::layOutPanes()
{
    const int width = suiForm1->width(), height = suiForm1->height();
    const int top = suiForm1->clientTop() + kStripHeight;
    const int bottom = height - (suiStatusBar1->isHidden() ? 0 : kStatusBarHeight);
    const int left = CategoryBar1->isHidden() ? 0 : kCategoryBarWidth;
    CategoryBar1->setGeometry(0, top, kCategoryBarWidth, bottom - top);
    Image1->setGeometry(0, 0, kCategoryPictureWidth, bottom - top);
    TextPane1->setGeometry(left, top, width - left, bottom - top);
    AlbumPane1->setGeometry(left, top, width - left, bottom - top);
    suiStatusBar1->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
}

void TForm1::resizeEvent(QResizeEvent*)
{
    layOutPanes();
}

void TForm1::wakeUp()
{
    if (isMinimized()) {
        showNormal();
    } else {
        raise();
        activateWindow();
    }
}

void TForm1::openReadingWindow(const QString& title)
{
    if (windows_.reading)
        windows_.reading->openEntry(title);
}

void TForm1::showAddEntryDialog()
{
    if (windows_.addEntry)
        windows_.addEntry->exec();
}

void TForm1::showDeleteEntryDialog(int position, const QString& question)
{
    if (!windows_.deleteEntry)
        return;
    windows_.deleteEntry->prepare(position, question);
    windows_.deleteEntry->exec();
}

void TForm1::showSearchTitlesDialog()
{
    if (windows_.searchTitles)
        windows_.searchTitles->exec();
}

void TForm1::titleCopied()
{
    N1Click();
    raise();
    activateWindow();
}

void TForm1::N25Click()
{
    if (windows_.importBook)
        windows_.importBook->exec();
}

void TForm1::T2Click()
{
    if (windows_.exportBook)
        windows_.exportBook->exec();
}

void TForm1::G1Click()
{
    if (windows_.exportAlbum)
        windows_.exportAlbum->exec();
}

void TForm1::N1Click()
{
    if (windows_.clipboardMonitor)
        windows_.clipboardMonitor->showMonitor();
}

void TForm1::E1Click()
{
    close();
}

// The item is checkable: triggering it has already turned its check mark over.
void TForm1::S1Click()
{
    CategoryBar1->setVisible(S1->isChecked());
    layOutPanes();
}

void TForm1::B1Click()
{
    suiStatusBar1->setVisible(B1->isChecked());
    layOutPanes();
}

bool TForm1::showingMaterialsBook() const
{
    return TextPane1->isVisibleTo(suiForm1);
}

void TForm1::T1Click()
{
    Image2->move(0, kMaterialsMarkerTop);
    T1->setChecked(true);
    G2->setChecked(false);
    W1->setChecked(false);
    TextPane1->show();
    AlbumPane1->categoryChanged(false);
    AlbumPane1->hide();
    suiStatusBar1->setPanelText(2, kMaterialsBookStatus);
    TextPane1->listView()->setFocus();
}

void TForm1::G2Click()
{
    Image2->move(0, kAlbumMarkerTop);
    G2->setChecked(true);
    T1->setChecked(false);
    W1->setChecked(false);
    TextPane1->hide();
    AlbumPane1->show();
    suiStatusBar1->setPanelText(2, kAlbumStatus);
    AlbumPane1->categoryChanged(true);
}

void TForm1::FullTextSearchClick()
{
    if (windows_.fullTextSearch)
        windows_.fullTextSearch->exec();
}

void TForm1::N15Click()
{
    const std::optional<album::CurrentPicture> current = album::currentPicture(*AlbumPane1);
    if (!current) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNothingToCopy);
        return;
    }
    skin::guarded([&] { clipboard_.setImage(current->picture); });
    N1Click();
    raise();
    activateWindow();
}

void TForm1::MenuItem11Click()
{
    const std::optional<album::CurrentPicture> current = album::currentPicture(*AlbumPane1);
    if (!current) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNothingToSave);
        return;
    }
    if (!choosePictureFile_)
        choosePictureFile_ = album::savePictureFileChooser(this);
    const QString chosen = choosePictureFile_(album::saveFilter(current->format));
    if (chosen.isEmpty())
        return;
    const QString target = album::saveTarget(chosen, current->format);
    if (QFileInfo::exists(target) && windows_.overwrite)
        windows_.overwrite->confirm(target, book::kPictureKind);
    else
        skin::guarded([&] { album::writePictureFile(target, *current); });
}

// The picture is checked first (还原 needs none); the desktop is reached only once the
// wallpaper file is written.
void TForm1::setWallpaper(album::WallpaperStyle style)
{
    const std::optional<album::CurrentPicture> current = album::currentPicture(*AlbumPane1);
    if (style != album::WallpaperStyle::Restore && !current) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNothingForWallpaper);
        return;
    }
    if (!desktop_)
        return;
    skin::guarded([&] {
        album::applyWallpaper(current ? &*current : nullptr, style, folder_.wallpaperFile(), *desktop_);
    });
}

void TForm1::writeCurrentPicture(const QString& path)
{
    const std::optional<album::CurrentPicture> current = album::currentPicture(*AlbumPane1);
    if (current)
        album::writePictureFile(path, *current);
}

void TForm1::N9Click()
{
    openUrl_(QUrl::fromLocalFile(folder_.help()));
}

void TForm1::X1Click()
{
    openUrl_(app::homepageUrl());
}

void TForm1::L1Click()
{
    openUrl_(app::mailUrl());
}

void TForm1::A1Click()
{
    if (windows_.about)
        windows_.about->exec();
}

// The program lets go of the store, compacts it into a fresh copy that takes its place, tells
// the outcome and ends; the next start opens the compacted store.
void TForm1::M1Click()
{
    CompactAndRepair();
    close();
}

void TForm1::CompactAndRepair()
{
    ADOQuery1.release();
    ADOQuery2.release();
    const store::CompactionResult result = store::compactProgramStore(folder_);
    switch (result.outcome) {
    case store::CompactionResult::Outcome::Compacted:
        suiMessageDialog1->ShowModal(TsuiIconType::suiInformation, kCompacted);
        break;
    case store::CompactionResult::Outcome::Failed:
        suiMessageDialog1->ShowModal(TsuiIconType::suiStop, kCompactionFailed);
        break;
    case store::CompactionResult::Outcome::LeftUnderCopyName:
        suiMessageDialog1->ShowModal(
            TsuiIconType::suiStop,
            kCompactionFailed + kDataNowIn.arg(QDir::toNativeSeparators(result.dataPath),
                                               QFileInfo(folder_.store()).fileName()));
        break;
    }
}

// Closing writes the settings file first; when it cannot be written the window stays open.
// Then the clipboard monitor leaves the clipboard, and the program ends.
void TForm1::closeEvent(QCloseEvent* event)
{
    const bool written = skin::guarded([this] {
        if (windows_.reading)
            windows_.reading->writeSettings(folder_.settings());
    });
    if (!written) {
        event->ignore();
        return;
    }
    if (windows_.clipboardMonitor)
        windows_.clipboardMonitor->leaveClipboardChain();
    event->accept();
    QApplication::quit();
}
