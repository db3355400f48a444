#include "Main.h"

#include "About.h"
#include "Icons.h"
#include "Startup.h"
#include "album/AlbumPane.h"
#include "book/TextPane.h"
#include "book/TitleList.h"
#include "skin/Commands.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiListView.h"
#include "skin/TsuiMessageDialog.h"
#include "skin/TsuiStatusBar.h"
#include "StoreCompaction.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"
#include "store/StoreCheck.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cassert>
#include <optional>

namespace {
constexpr int kStripHeight = 6;
constexpr int kCategoryBarWidth = 54;
constexpr int kCategoryPictureWidth = 48;
constexpr int kStatusBarHeight = 19;
constexpr int kMaterialsMarkerTop = 25;
constexpr int kAlbumMarkerTop = 81;
const QString kMaterialsBookStatus = QStringLiteral("资料本：适用于仅包含文字、字母、符号的纯文本");
const QString kAlbumStatus = QStringLiteral("图片册：适用于BMP、JPG、JPEG格式的图片");
const QString kCompacted = QStringLiteral("压缩数据库成功！请重新启动软件！");
const QString kCompactionFailed = QStringLiteral("压缩数据库失败！请重新启动软件！");
const QString kDataNowIn = QStringLiteral("\n资料现保存在 %1，请将它改名为 %2。");

using namespace app::commands;

const skin::CommandEntry kCommands[] = {
    {kImportBook, "资料本(&T)"},
    {kExportBook, "资料本(&T)"},
    {kExportAlbum, "图片册(&G)"},
    {kCompactStore, "压缩数据库(&R)"},
    {kClipboardMonitor, "监视剪贴板(&P)", "Ctrl+P"},
    {kExit, "退出(&E)"},
    {kCategoryBar, "类别栏(&S)", nullptr, nullptr, true},
    {kStatusBar, "状态栏(&B)", nullptr, nullptr, true},
    {kMaterialsBook, "资料本(&T)", "Ctrl+T", nullptr, true},
    {kPictureAlbum, "图片册(&G)", "Ctrl+G", nullptr, true},
    {kArticleCollection, "文章集(&W)", nullptr, nullptr, true},
    {kFullTextSearch, "全文搜索(&F)...", "Ctrl+F"},
    {kHelpContents, "目录(&C)", "F1"},
    {kHomepage, "墨舟主页(&X)"},
    {kContactAuthor, "联系作者(&L)"},
    {kAbout, "关于(&A)"},
};

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

// Calls handler when the watched label is clicked with the left button.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

TForm1::TForm1(const Parts& parts, Closing& closing)
    : folder_(parts.folder), clock_(parts.clock), ADOQuery1(parts.textQuery),
      ADOQuery2(parts.pictureQuery), titles_(parts.titles), textPane_(parts.textPane),
      albumPane_(parts.albumPane), closing_(closing)
{
    setWindowTitle(skin::kApplicationTitle);
    setFixedSize(kClientWidth, kClientHeight);
    buildCommands();
    buildLayout();
    FormCreate();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The commands this window runs itself; the root connects those that open other windows.
void TForm1::buildCommands()
{
    skin::makeCommands(this, kCommands);
    auto on = [this](const char* id, void (TForm1::*handler)()) {
        connect(skin::command(this, id), &QAction::triggered, this, handler);
    };
    on(kCompactStore, &TForm1::M1Click);
    on(kCategoryBar, &TForm1::S1Click);
    on(kStatusBar, &TForm1::B1Click);
    on(kMaterialsBook, &TForm1::T1Click);
    on(kPictureAlbum, &TForm1::G2Click);
    connect(skin::command(this, kExit), &QAction::triggered, this, &QWidget::close);
    connect(skin::command(this, kHelpContents), &QAction::triggered, this, [this] {
        if (!showOwnHelp_ || !showOwnHelp_(folder_.help()))
            openUrl_(QUrl::fromLocalFile(folder_.help()));
    });
    connect(skin::command(this, kHomepage), &QAction::triggered, this, [this] { openUrl_(app::homepageUrl()); });
    connect(skin::command(this, kContactAuthor), &QAction::triggered, this, [this] { openUrl_(app::mailUrl()); });
    skin::command(this, kCompactStore)->setIcon(app::icons::drawnOnFirstUse(&app::icons::compactStore));
    skin::command(this, kHelpContents)->setIcon(app::icons::drawnOnFirstUse(&app::icons::helpContents));
    skin::command(this, kArticleCollection)->setVisible(false);
    skin::command(this, kCategoryBar)->setChecked(true);
    skin::command(this, kStatusBar)->setChecked(true);
    skin::command(this, kMaterialsBook)->setChecked(true);
}

void TForm1::buildLayout()
{
    suiForm1 = new TsuiForm(this);
    buildMenu();
    buildCategoryBar();
    textPane_.setParent(suiForm1);
    textPane_.show();
    albumPane_.setParent(suiForm1);
    albumPane_.hide();
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
    Image3->installEventFilter(new ClickFilter(this, [this] { skin::command(this, kMaterialsBook)->trigger(); }));
    Image4->installEventFilter(new ClickFilter(this, [this] { skin::command(this, kPictureAlbum)->trigger(); }));
}

void TForm1::buildMenu()
{
    // The menu shows itself in the frame's menu bar, below the title bar.
    MainMenu1 = suiForm1->createMenu();
    auto command = [this](const char* id) { return skin::command(this, id); };

    QMenu* file = MainMenu1->addMenu(QStringLiteral(" 文件(&F)"));
    file->addMenu(QStringLiteral("导入(&I)"))->addAction(command(kImportBook));
    QMenu* exportMenu = file->addMenu(QStringLiteral("导出(&O)"));
    exportMenu->addActions({command(kExportBook), command(kExportAlbum)});
    file->addSeparator();
    file->addActions({command(kCompactStore), command(kClipboardMonitor)});
    file->addSeparator();
    file->addAction(command(kExit));

    QMenu* view = MainMenu1->addMenu(QStringLiteral(" 查看(&V)"));
    view->addActions({command(kCategoryBar), command(kStatusBar)});
    view->addSeparator();
    view->addActions({command(kMaterialsBook), command(kPictureAlbum), command(kArticleCollection)});
    view->addSeparator();
    view->addAction(command(kFullTextSearch));

    QMenu* help = MainMenu1->addMenu(QStringLiteral(" 帮助(&H)"));
    help->addAction(command(kHelpContents));
    help->addSeparator();
    help->addActions({command(kHomepage), command(kContactAuthor)});
    help->addSeparator();
    help->addAction(command(kAbout));
}

// The main window's creation, in its order: the splash wait, the theme pictures, the panes'
// layout, the album grid's colour, then the picture query, the text query and the title list.
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
    textPane_.loadThemePictures(folder_.themes());
    albumPane_.loadThemePictures(folder_.themes());
}

void TForm1::readFixedAreaColor()
{
    const QImage left = Image1->picture().toImage();
    albumFixedColor_ = left.width() > 40 && left.height() > 4 ? left.pixelColor(40, 4)
                                                              : kDefaultFixedColor;
    albumPane_.setFixedAreaColor(albumFixedColor_);
}

namespace {
// Opens query; when that fails on a file that is no store of this program at all (empty, foreign,
// without the tables), the failure says so instead of the engine's words about a missing table.
void openNamingForeignFiles(store::Query& query, const QString& storePath)
{
    try {
        query.open();
    } catch (const store::StoreError&) {
        std::optional<QString> why;
        try {
            why = store::whyNotAStore(storePath);
        } catch (const store::StoreError&) {
        }
        if (why)
            throw store::StoreError(store::notAStoreMessage(storePath, *why).toStdString());
        throw;
    }
}
} // namespace

// A store that cannot be opened is reported with the engine's own message (or as no store of
// this program); the steps after the
// failing one are skipped and the list stays empty with its commands disabled.
void TForm1::openQueries()
{
    const bool opened = skin::guarded([this] {
        ADOQuery2.setStorePath(folder_.store());
        ADOQuery2.setStatement(store::statements::allPictures());
        openNamingForeignFiles(ADOQuery2, folder_.store());
        if (ADOQuery2.isEmpty())
            ADOQuery2.first();
        ADOQuery1.setStorePath(folder_.store());
        titles_.refresh(ADOQuery1);
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
    textPane_.setGeometry(left, top, width - left, bottom - top);
    albumPane_.setGeometry(left, top, width - left, bottom - top);
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

void TForm1::comeToFront()
{
    raise();
    activateWindow();
}

// The item is checkable: triggering it has already turned its check mark over.
void TForm1::S1Click()
{
    CategoryBar1->setVisible(skin::command(this, kCategoryBar)->isChecked());
    layOutPanes();
}

void TForm1::B1Click()
{
    suiStatusBar1->setVisible(skin::command(this, kStatusBar)->isChecked());
    layOutPanes();
}

bool TForm1::showingMaterialsBook() const
{
    return textPane_.isVisibleTo(suiForm1);
}

void TForm1::T1Click()
{
    Image2->move(0, kMaterialsMarkerTop);
    skin::command(this, kMaterialsBook)->setChecked(true);
    skin::command(this, kPictureAlbum)->setChecked(false);
    skin::command(this, kArticleCollection)->setChecked(false);
    textPane_.show();
    albumPane_.categoryChanged(false);
    albumPane_.hide();
    suiStatusBar1->setPanelText(2, kMaterialsBookStatus);
    textPane_.listView()->setFocus();
}

void TForm1::G2Click()
{
    Image2->move(0, kAlbumMarkerTop);
    skin::command(this, kPictureAlbum)->setChecked(true);
    skin::command(this, kMaterialsBook)->setChecked(false);
    skin::command(this, kArticleCollection)->setChecked(false);
    textPane_.hide();
    albumPane_.show();
    suiStatusBar1->setPanelText(2, kAlbumStatus);
    albumPane_.categoryChanged(true);
}

// The program lets go of the store, compacts it into a fresh copy that takes its place, tells
// the outcome and ends; the next start opens the compacted store.
void TForm1::M1Click()
{
    compactStore();
    close();
}

void TForm1::compactStore()
{
    ADOQuery1.release();
    ADOQuery2.release();
    const store::CompactionResult result = app::compactProgramStore(folder_);
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
    const bool written = skin::guarded([this] { closing_.writeSettings(); });
    if (!written) {
        event->ignore();
        return;
    }
    closing_.leaveClipboard();
    event->accept();
    QApplication::quit();
}
