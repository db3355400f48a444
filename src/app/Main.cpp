#include "Main.h"

#include "Startup.h"
#include "book/TextPane.h"
#include "clipmon/Show.h"
#include "platform/Clipboard.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiStatusBar.h"
#include "store/Statements.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kMenuHeight = 22;
constexpr int kStripHeight = 6;
constexpr int kCategoryBarWidth = 54;
constexpr int kCategoryPictureWidth = 48;
constexpr int kStatusBarHeight = 19;
const QString kMaterialsBookStatus = QStringLiteral("资料本：适用于仅包含文字、字母、符号的纯文本");
} // namespace

TForm1::TForm1(platform::TickClock& clock, platform::Clipboard& clipboard)
    : clock_(clock), clipboard_(clipboard)
{
    setWindowTitle(skin::kApplicationTitle);
    setFixedSize(kClientWidth, kClientHeight);
    buildLayout();
    FormCreate();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString TForm1::storePath() const
{
    return app::programPath(programFolder_, QStringLiteral("Data/current.mdb"));
}

void TForm1::buildLayout()
{
    suiForm1 = new TsuiForm(this);
    buildMenu();
    Image1 = new TImage(suiForm1);
    TextPane1 = new book::TextPane(suiForm1, titles_, ADOQuery1, clipboard_);
    connect(TextPane1, &book::TextPane::readRequested, this, &TForm1::openReadingWindow);
    connect(TextPane1, &book::TextPane::addRequested, this, &TForm1::showAddEntryDialog);
    connect(TextPane1, &book::TextPane::deleteRequested, this, &TForm1::showDeleteEntryDialog);
    connect(TextPane1, &book::TextPane::searchRequested, this, &TForm1::showSearchTitlesDialog);
    connect(TextPane1, &book::TextPane::titleCopied, this, &TForm1::titleCopied);
    suiStatusBar1 = new TsuiStatusBar(suiForm1);
    suiStatusBar1->setPanels({{144, QStringLiteral("墨舟札记  v2.0"), Qt::AlignLeft},
                              {174, QStringLiteral("墨舟工作室 出品"), Qt::AlignLeft},
                              {0, kMaterialsBookStatus, Qt::AlignRight}});
}

void TForm1::buildMenu()
{
    MainMenu1 = new TsuiMainMenu(suiForm1);
    MainMenu1->setNativeMenuBar(false);
    // The frame's layout keeps the menu bar across its top at the bar's own height.
    auto* frameLayout = new QVBoxLayout(suiForm1);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setMenuBar(MainMenu1);
    frameLayout->addStretch();
    QMenu* file = MainMenu1->addMenu(QStringLiteral(" 文件(&F)"));
    QAction* monitor = file->addAction(QStringLiteral("监视剪贴板(&P)"), this, &TForm1::N1Click);
    monitor->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    file->addSeparator();
    file->addAction(QStringLiteral("退出(&E)"), this, &QWidget::close);
}

// Main window creation, steps 1 to 8: the splash wait, the program folder, the theme pictures,
// the panes, the album grid's colour, the picture query, the text query and the title list.
void TForm1::FormCreate()
{
    app::waitOutSplash(clock_);
    programFolder_ = QDir::currentPath();
    loadThemePictures();
    layOutPanes();
    readFixedAreaColor();
    openQueries();
}

void TForm1::loadThemePictures()
{
    const QString themes = app::programPath(programFolder_, QStringLiteral("Themes"));
    Image1->loadFromFile(themes + QStringLiteral("/Left.bmp"));
    TextPane1->loadThemePictures(themes);
}

void TForm1::readFixedAreaColor()
{
    const QImage left = Image1->picture().toImage();
    albumFixedColor_ = left.width() > 40 && left.height() > 4 ? left.pixelColor(40, 4)
                                                              : kDefaultFixedColor;
}

// A store that cannot be opened is reported with the engine's own message; the steps after the
// failing one are skipped and the list stays empty with its commands disabled.
void TForm1::openQueries()
{
    const bool opened = skin::guarded([this] {
        ADOQuery2.setStorePath(storePath());
        ADOQuery2.setStatement(store::statements::allPictures());
        ADOQuery2.open();
        if (ADOQuery2.isEmpty())
            ADOQuery2.first();
        ADOQuery1.setStorePath(storePath());
        ADOQuery1.setStatement(store::statements::allTitles());
        ADOQuery1.open();
        titles_.fillFrom(ADOQuery1);
        if (titles_.count() > 0)
            titles_.select(0);
    });
    if (!opened)
        titles_.clear();
}

void TForm1::layOutPanes()
{
    suiForm1->setGeometry(rect());
    const int top = kMenuHeight + kStripHeight;
    const int bottom = height() - kStatusBarHeight;
    Image1->setGeometry(0, top, kCategoryPictureWidth, bottom - top);
    TextPane1->setGeometry(kCategoryBarWidth, top, width() - kCategoryBarWidth, bottom - top);
    suiStatusBar1->setGeometry(0, bottom, width(), kStatusBarHeight);
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

void TForm1::titleCopied()
{
    N1Click();
    raise();
    activateWindow();
}

void TForm1::N1Click()
{
    if (clipboardMonitor_)
        clipboardMonitor_->showMonitor();
}

// The windows below are built by later work; until then these commands show nothing.
void TForm1::openReadingWindow(const QString&) {}
void TForm1::showAddEntryDialog() {}
void TForm1::showDeleteEntryDialog(int, const QString&) {}
void TForm1::showSearchTitlesDialog() {}
