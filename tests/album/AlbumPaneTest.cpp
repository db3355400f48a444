// The album pane: controls, menus, the after-scroll refresh with its fit rule and
// position label, stepping, sorting, refresh, the four modes, row painting, and bad records.
#include "Fixtures.h"
#include "support/Commands.h"
#include "support/ProgramFolder.h"

#include "album/AlbumGrid.h"
#include "album/AlbumPane.h"
#include "album/PictureView.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QLabel>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>
#include <gtest/gtest.h>

using album::AlbumMode;
using album::AlbumPane;
using namespace album_fixtures;

namespace {

QStringList captions(const QMenu* menu)
{
    QStringList list;
    for (const QAction* action : menu->actions())
        list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

QMenu* submenu(const QMenu* menu, const QString& caption)
{
    for (const QAction* action : menu->actions())
        if (action->text() == caption)
            return action->menu();
    return nullptr;
}

class AlbumPaneTest : public ::testing::Test {
protected:
    AlbumPaneTest() : pane(nullptr, query)
    {
        query.setStorePath(folder.storePath());
        pane.resize(700, 431);
        auto record = [this](const char* call) { return [this, call] { calls << QLatin1String(call); }; };
        QObject::connect(&pane, &AlbumPane::thumbnailsShowRequested, record("show"));
        QObject::connect(&pane, &AlbumPane::thumbnailsCloseRequested, record("close"));
        QObject::connect(&pane, &AlbumPane::reloaded, record("columns"));
        QObject::connect(&pane, &AlbumPane::mainWindowFrontRequested, record("front"));
    }
    void addJpeg(const QString& name, int width, int height, const QString& description = {})
    {
        testing_support::addPicture(folder.storePath(), name, description, 1, jpegBytes(width, height));
    }
    void addRaw(const QString& name, const QVariant& flag, const QByteArray& data)
    {
        store::Connection connection(folder.storePath());
        store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
        insert.bindAll({name, QStringLiteral("说明"), flag, data});
        insert.step();
    }
    // As the main window does at start.
    void openAlbum()
    {
        query.setStatement(store::statements::allPictures());
        query.open();
        if (query.isEmpty())
            query.first();
    }
    QStringList gridNames() const
    {
        QStringList names;
        for (int row = 0; row < pane.gridModel()->rowCount(); ++row)
            names << pane.gridModel()->text(row, 0);
        return names;
    }
    // Every mode mark, grid menu then mode menu.
    QList<bool> marks() const
    {
        QList<bool> checked;
        QMenu* modes = submenu(pane.gridMenu(), QStringLiteral("模式(&M)"));
        for (const QAction* action : modes->actions())
            checked << action->isChecked();
        for (const QAction* action : pane.modeMenu()->actions())
            checked << action->isChecked();
        return checked;
    }
    static QList<bool> only(int i)
    {
        QList<bool> checked(8, false);
        checked[i] = checked[i + 4] = true;
        return checked;
    }

    testing_support::ProgramFolder folder;
    skin::RecordingSink messages;
    store::Query query;
    AlbumPane pane;
    QStringList calls;
};

} // namespace

TEST_F(AlbumPaneTest, ToolbarButtonsSitWhereTheyBelong)
{
    const struct { int left; const char* caption; const char* hint; } expected[] = {
        {8, "添加", "添加一张新的图片"}, {64, "删除", "删除选定的一张图片"}, {120, "刷新", "显示所有图片"},
        {176, "搜索", "按条件搜索图片"}, {232, "排序", "按方式排序图片"}, {288, "模式", "按所选模式查看图片"}};
    for (int i = 0; i < 6; ++i) {
        const QPushButton* button = reinterpret_cast<QPushButton*>(pane.toolButton(i));
        EXPECT_EQ(button->geometry(), QRect(expected[i].left, 2, 56, 22)) << i;
        EXPECT_EQ(button->text(), QString::fromUtf8(expected[i].caption));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(expected[i].hint));
        EXPECT_FALSE(button->icon().isNull());
    }
}

TEST_F(AlbumPaneTest, GridHasTwoReadOnlyColumns)
{
    const TsuiDBGrid* grid = pane.grid();
    EXPECT_EQ(grid->columnWidth(0), 149);
    EXPECT_EQ(grid->columnWidth(1), 400);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(pane.gridModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "图片名称");
    EXPECT_EQ(pane.gridModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "图片描述");
    EXPECT_EQ(grid->SelectedColor(), QColor(0, 0, 128));
    EXPECT_EQ(grid->FocusedColor(), QColor(0, 128, 0));
    EXPECT_EQ(grid->TitleFontColor(), QColor(Qt::white));
    pane.setFixedAreaColor(QColor(10, 20, 30));
    EXPECT_EQ(grid->FixedBGColor(), QColor(10, 20, 30));
    addJpeg("a.jpg", 4, 4);
    openAlbum();
    EXPECT_FALSE(pane.gridModel()->flags(pane.gridModel()->index(0, 0)) & Qt::ItemIsEditable);
}

TEST_F(AlbumPaneTest, MenusHaveTheirCaptionsAndIcons)
{
    EXPECT_EQ(captions(pane.gridMenu()), (QStringList{"添加(&I)", "删除(&D)", "-", "刷新(&R)", "搜索(&S)",
                                                      "排序(&C)", "-", "模式(&M)"}));
    EXPECT_EQ(captions(submenu(pane.gridMenu(), "排序(&C)")),
              (QStringList{"按图片名称(&N)", "按图片描述(&B)", "按图片格式(&F)"}));
    const QStringList modes{"列表(&L)", "预览(&P)", "缩略图+列表(&T)", "缩略图+预览(&U)"};
    EXPECT_EQ(captions(submenu(pane.gridMenu(), "模式(&M)")), modes);
    EXPECT_EQ(captions(pane.modeMenu()), modes);
    EXPECT_EQ(captions(pane.sortMenu()), (QStringList{"按图片名称(&N)", "按图片描述(&B)", "按图片格式(&F)"}));
    const QStringList wallpaper{"居中(&M)", "平铺(&T)", "拉伸(&E)", "还原(&R)"};
    EXPECT_EQ(captions(pane.wallpaperMenu()), wallpaper);
    EXPECT_EQ(captions(pane.pictureMenu()),
              (QStringList{"显示缩略图(&A)", "设为墙纸(&W)", "-", "第一张图片(&F)", "上一张图片(&P)",
                           "下一张图片(&N)", "末一张图片(&L)", "-", "复制图片(&C)", "图片另存为(&S)"}));
    EXPECT_EQ(captions(submenu(pane.pictureMenu(), "设为墙纸(&W)")), wallpaper);
    for (const QMenu* menu : {pane.gridMenu(), pane.pictureMenu()})
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
            }
        }
    for (const QMenu* menu : {pane.sortMenu(), pane.modeMenu(), pane.wallpaperMenu()})
        for (const QAction* action : menu->actions())
            EXPECT_TRUE(action->icon().isNull());
    // The same picture for the same icon number: add in the grid menu, first in both.
    EXPECT_EQ(pane.pictureMenu()->actions()[3]->icon().pixmap(16).toImage(),
              pane.pictureToolBar()->actions()[4]->icon().pixmap(16).toImage());
    EXPECT_EQ(marks(), only(0));  // 列表 checked at start
}

TEST_F(AlbumPaneTest, PictureToolbarHasItsTenItems)
{
    QStringList hints;
    int separators = 0;
    for (QAction* action : pane.pictureToolBar()->actions()) {
        if (action->isSeparator()) {
            ++separators;
            continue;
        }
        QWidget* widget = pane.pictureToolBar()->widgetForAction(action);
        const QString hint = action->toolTip().isEmpty() || qobject_cast<QToolButton*>(widget) == nullptr
                                 ? (widget ? widget->toolTip() : QString())
                                 : action->toolTip();
        hints << hint;
    }
    EXPECT_EQ(separators, 2);
    EXPECT_EQ(hints, (QStringList{"", "显示缩略图", "设为墙纸", "第一张图片", "上一张图片", "下一张图片",
                                  "末一张图片", "复制图片到剪贴板", "图片另存为"}));
}

TEST_F(AlbumPaneTest, AfterScrollShowsThePictureItsSizeAndDescription)
{
    addJpeg("a.jpg", 800, 600, "第一张");
    addJpeg("b.jpg", 100, 50, "第二张");
    addJpeg("c.jpg", 30, 20);
    EXPECT_EQ(settled(pane).positionText(), "0/0  0x0");
    openAlbum();
    EXPECT_EQ(settled(pane).positionText(), "1/3  800x600");  // the natural size, not the fitted one
    EXPECT_EQ(settled(pane).previewPicture().size(), QSize(120, 90));  // a JPEG is kept as shown
    EXPECT_EQ(settled(pane).previewHint(), "第一张");
    // Fitted into the hidden area's initial 214 × 90: 800·90 div 600 = 120.
    EXPECT_EQ(pane.pictureArea()->size(), QSize(214, 90));
    EXPECT_EQ(settled(pane).previewSize(), QSize(120, 90));
    query.next();
    EXPECT_EQ(settled(pane).positionText(), "2/3  100x50");
    EXPECT_EQ(settled(pane).previewSize(), QSize(100, 50));  // smaller: natural size, never enlarged
    EXPECT_EQ(settled(pane).previewHint(), "第二张");
    EXPECT_EQ(pane.grid()->currentIndex().row(), 1);  // the grid's selection follows
    EXPECT_EQ(gridNames(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
}

TEST(FitPicture, ReducesByTheWiderSideWithProductsBeforeDivision)
{
    const QSize area(400, 300);
    EXPECT_EQ(album::fitPicture({1600, 400}, area), QSize(400, 100));
    EXPECT_EQ(album::fitPicture({400, 1600}, area), QSize(75, 300));
    EXPECT_EQ(album::fitPicture({800, 600}, area), QSize(400, 300));  // same ratio: by width
    EXPECT_EQ(album::fitPicture({333, 777}, area), QSize(333 * 300 / 777, 300));  // 128, truncated
    EXPECT_EQ(album::fitPicture({100, 50}, area), QSize(100, 50));  // never enlarged
    // Products that overflow 32 bits still divide right.
    EXPECT_EQ(album::fitPicture({60000, 45000}, {50000, 1}), QSize(1, 1));
    EXPECT_EQ(album::fitPicture({90000, 60000}, {80000, 80000}), QSize(80000, 53333));
    // An area without height leaves no room at all.
    EXPECT_EQ(album::fitPicture({800, 600}, {400, 0}), QSize(0, 0));
}

TEST_F(AlbumPaneTest, EmptyAlbumShowsMinusOne)
{
    openAlbum();
    EXPECT_EQ(settled(pane).positionText(), "-1/0  0x0");
    EXPECT_EQ(settled(pane).previewSize(), QSize(0, 0));
    testing_support::trigger(pane, "MenuItem9");
    testing_support::trigger(pane, "MenuItem8");
    testing_support::trigger(pane, "L3");
    testing_support::trigger(pane, "N18");
    testing_support::trigger(pane, "B2");
    EXPECT_EQ(settled(pane).positionText(), "-1/0  0x0");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(pane.gridModel()->rowCount(), 0);
}

TEST_F(AlbumPaneTest, SteppingStopsAtBothEndsWithoutWrapping)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        addJpeg(name, 10, 10);
    openAlbum();
    testing_support::trigger(pane, "MenuItem8");  // previous at the first
    EXPECT_EQ(query.recNo(), 1);
    testing_support::trigger(pane, "L3");
    EXPECT_EQ(settled(pane).positionText(), "3/3  10x10");
    testing_support::trigger(pane, "MenuItem9");
    testing_support::trigger(pane, "MenuItem9");
    EXPECT_EQ(query.recNo(), 3);
    testing_support::trigger(pane, "MenuItem8");
    EXPECT_EQ(settled(pane).positionText(), "2/3  10x10");
    testing_support::trigger(pane, "MenuItem7");
    EXPECT_EQ(settled(pane).positionText(), "1/3  10x10");
}

TEST_F(AlbumPaneTest, ChoosingAGridRowMovesTheCurrentRecord)
{
    addJpeg("a.jpg", 10, 10);
    addJpeg("b.jpg", 20, 10);
    openAlbum();
    pane.grid()->setCurrentIndex(pane.gridModel()->index(1, 1));
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_EQ(settled(pane).positionText(), "2/2  20x10");
}

TEST_F(AlbumPaneTest, SortOrdersClientSideAndStandsOnTheFirstRecord)
{
    addJpeg("长江.jpg", 10, 10, "c");
    addJpeg("Banana.jpg", 20, 10, "a");
    addJpeg("apple.jpg", 30, 10, "b");
    addRaw("Fail", QVariant(), QByteArray("xx"));
    openAlbum();
    query.next();
    testing_support::trigger(pane, "N18");
    EXPECT_EQ(gridNames(), (QStringList{"apple.jpg", "Banana.jpg", "Fail", "长江.jpg"}));
    EXPECT_EQ(settled(pane).positionText(), "1/4  30x10");
    testing_support::trigger(pane, "N19");
    EXPECT_EQ(gridNames().first(), "Banana.jpg");
    EXPECT_EQ(settled(pane).positionText(), "1/4  20x10");
    testing_support::trigger(pane, "B2");
    EXPECT_EQ(gridNames().first(), "Fail");  // empty flags first
    EXPECT_EQ(settled(pane).positionText(), "1/4  0x0");
    testing_support::trigger(pane, "MenuItem5");  // refresh: the store's own order again
    EXPECT_EQ(gridNames(), (QStringList{"长江.jpg", "Banana.jpg", "apple.jpg", "Fail"}));
    EXPECT_EQ(settled(pane).positionText(), "1/4  10x10");
    EXPECT_EQ(calls, (QStringList{"columns"}));
}

TEST_F(AlbumPaneTest, RefreshDropsASearch)
{
    addJpeg("猫.jpg", 10, 10);
    addJpeg("狗.jpg", 10, 10);
    openAlbum();
    query.setStatement(store::statements::exactPictureSearch(store::statements::PictureColumn::Name,
                                                             QStringLiteral("没有")));
    query.open();
    pane.syncGrid();
    query.first();
    EXPECT_EQ(settled(pane).positionText(), "-1/0  0x0");
    EXPECT_EQ(pane.gridModel()->rowCount(), 0);
    testing_support::trigger(pane, "MenuItem5");
    EXPECT_EQ(pane.gridModel()->rowCount(), 2);
    EXPECT_EQ(settled(pane).positionText(), "1/2  10x10");
}

TEST_F(AlbumPaneTest, ModesSetTheLayoutAndTheMarksInBothMenus)
{
    addJpeg("a.jpg", 800, 600);
    openAlbum();
    pane.show();
    EXPECT_FALSE(pane.previewPane()->isVisible());
    EXPECT_EQ(pane.grid()->width(), 700);

    testing_support::trigger(pane, "N29");  // 预览
    EXPECT_TRUE(pane.previewPane()->isVisible());
    EXPECT_EQ(pane.grid()->geometry(), QRect(0, 26, 180, 431 - 26));
    EXPECT_TRUE(pane.grid()->isColumnHidden(1));
    EXPECT_EQ(marks(), only(1));
    EXPECT_EQ(calls, (QStringList{"close"}));
    // The first preview re-fits the picture into the area as now laid out.
    const QSize area = pane.pictureArea()->size();
    EXPECT_EQ(area, QSize(700 - 180 - 6, 431 - 26 - 19 - 23));
    EXPECT_TRUE(pane.firstPreviewDone());
    // 800/600 < 514/363: fitted by height, 800·363 div 600 = 484.
    EXPECT_EQ(settled(pane).previewSize(), QSize(800 * area.height() / 600, area.height()));

    calls.clear();
    testing_support::trigger(pane, "N28");  // 列表
    EXPECT_FALSE(pane.previewPane()->isVisible());
    EXPECT_FALSE(pane.grid()->isColumnHidden(1));
    EXPECT_EQ(pane.grid()->width(), 700);
    EXPECT_EQ(marks(), only(0));
    EXPECT_EQ(calls, (QStringList{"close"}));

    // 预览 again does not refresh: a wider pane does not re-fit the picture.
    pane.resize(900, 431);
    const QSize fitted = settled(pane).previewSize();
    testing_support::trigger(pane, "N29");
    EXPECT_EQ(pane.pictureArea()->width(), 900 - 180 - 6);
    EXPECT_EQ(settled(pane).previewSize(), fitted);

    calls.clear();
    testing_support::trigger(pane, "N30");  // 缩略图+列表
    EXPECT_FALSE(pane.previewPane()->isVisible());
    EXPECT_EQ(marks(), only(2));
    EXPECT_EQ(calls, (QStringList{"show", "front"}));

    calls.clear();
    testing_support::trigger(pane, "N31");  // 缩略图+预览
    EXPECT_TRUE(pane.previewPane()->isVisible());
    EXPECT_EQ(marks(), only(3));
    EXPECT_EQ(calls, (QStringList{"show", "front"}));
}

TEST_F(AlbumPaneTest, ShowThumbnailsChecksByTheLayoutAndClosingGoesBack)
{
    openAlbum();
    testing_support::trigger(pane, "N29");
    calls.clear();
    testing_support::trigger(pane, "N27");
    EXPECT_EQ(calls, (QStringList{"show"}));
    EXPECT_TRUE(pane.previewPane()->isVisibleTo(&pane));
    EXPECT_EQ(marks(), only(3));  // 缩略图+预览
    pane.thumbnailWindowClosed();
    EXPECT_EQ(marks(), only(1));  // 预览

    testing_support::trigger(pane, "N28");
    testing_support::trigger(pane, "N27");
    EXPECT_EQ(marks(), only(2));  // 缩略图+列表
    calls.clear();
    pane.categoryChanged(false);  // the materials book: the thumbnail window closes
    EXPECT_EQ(calls, (QStringList{"close"}));
    EXPECT_EQ(marks(), only(0));
    EXPECT_FALSE(pane.previewLayout());
}

TEST_F(AlbumPaneTest, NewRecordKeepsTheColumnsOfTheLayoutAndShowsMinusOneWhileMade)
{
    addJpeg("a.jpg", 10, 10);
    openAlbum();
    testing_support::trigger(pane, "N29");
    query.append();
    EXPECT_EQ(settled(pane).positionText(), "-1/1  0x0");
    query.setField(0, QStringLiteral("b.jpg"));
    query.setField(2, 1);
    query.setField(3, jpegBytes(20, 10));
    query.post();
    query.next();
    EXPECT_EQ(settled(pane).positionText(), "2/2  20x10");
    EXPECT_EQ(pane.gridModel()->rowCount(), 2);
    EXPECT_TRUE(pane.grid()->isColumnHidden(1));
    EXPECT_EQ(pane.grid()->columnWidth(0), 149);
    testing_support::trigger(pane, "N27");
    EXPECT_EQ(marks(), only(3));
    testing_support::trigger(pane, "N28");
    query.deleteCurrent();
    EXPECT_FALSE(pane.grid()->isColumnHidden(1));
    EXPECT_EQ(settled(pane).positionText(), "1/1  10x10");
}

TEST_F(AlbumPaneTest, FirstPreviewOnAnEmptyAlbumStillSetsTheFlag)
{
    openAlbum();
    testing_support::trigger(pane, "N31");
    EXPECT_TRUE(pane.firstPreviewDone());
    EXPECT_EQ(settled(pane).positionText(), "-1/0  0x0");
}

TEST_F(AlbumPaneTest, FirstPreviewStepsBackAndForthAwayFromTheFirstRecord)
{
    addJpeg("a.jpg", 10, 10);
    addJpeg("b.jpg", 800, 600);
    openAlbum();
    query.next();
    EXPECT_EQ(settled(pane).previewSize(), QSize(120, 90));
    pane.resize(700, 431);
    testing_support::trigger(pane, "N29");
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_EQ(settled(pane).previewSize().height(), pane.pictureArea()->height());
}

TEST_F(AlbumPaneTest, SortAndModeMenusPopUpUnderTheirButtons)
{
    QWidget window;
    window.move(100, 50);
    AlbumPane inner(&window, query);
    inner.move(40, 30);
    EXPECT_EQ(inner.menuPosition(4), QPoint(100 + 40 + 232 + 3, 50 + 30 + 2 + 22));
    EXPECT_EQ(inner.menuPosition(5), QPoint(100 + 40 + 288 + 3, 50 + 30 + 2 + 22));
}

TEST_F(AlbumPaneTest, AQueryThatOutlivesItsPaneMovesSafely)
{
    addJpeg("a.jpg", 10, 10);
    {
        AlbumPane other(nullptr, query);  // takes the after-scroll notification
    }
    openAlbum();
    query.next();
    EXPECT_EQ(query.recNo(), 1);
}

TEST(AlbumPaneLifetime, APaneThatOutlivesItsQueryIsDestroyedSafely)
{
    testing_support::ProgramFolder folder;
    auto query = std::make_unique<store::Query>();
    auto pane = std::make_unique<AlbumPane>(nullptr, *query);
    query.reset();
    pane.reset();
}

// Each control runs the command it shows, and each menu shows the commands it should: a button or
// item wired to another command fails here.
TEST_F(AlbumPaneTest, EveryControlRunsItsOwnCommand)
{
    using testing_support::commandsRunBy;
    using testing_support::menuCommands;
    const char* buttonCommands[] = {"MenuItem2", "MenuItem3", "MenuItem5", "MenuItem6", "ToolButton5", "ToolButton6"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(commandsRunBy(pane, [&] { pane.toolButton(i)->click(); }), QStringList{buttonCommands[i]}) << i;
    QStringList toolbar;
    for (QAction* action : pane.pictureToolBar()->actions())
        if (!action->isSeparator() && !qobject_cast<QWidgetAction*>(action))
            toolbar << action->objectName();
    EXPECT_EQ(toolbar, (QStringList{"N27", "MenuItem7", "MenuItem8", "MenuItem9", "L3", "N15", "MenuItem11"}));
    EXPECT_EQ(menuCommands(pane.gridMenu()),
              (QStringList{"MenuItem2", "MenuItem3", "-", "MenuItem5", "MenuItem6", "排序(&C)[N18 N19 B2]", "-",
                           "模式(&M)[N28 N29 N30 N31]"}));
    EXPECT_EQ(menuCommands(pane.pictureMenu()),
              (QStringList{"N27", "设为墙纸(&W)[N21 N22 N23 R2]", "-", "MenuItem7", "MenuItem8", "MenuItem9", "L3",
                           "-", "N15", "MenuItem11"}));
    EXPECT_EQ(menuCommands(pane.sortMenu()), (QStringList{"N18", "N19", "B2"}));
    EXPECT_EQ(menuCommands(pane.modeMenu()), (QStringList{"N28", "N29", "N30", "N31"}));
    EXPECT_EQ(menuCommands(pane.wallpaperMenu()), (QStringList{"N21", "N22", "N23", "R2"}));
}

TEST_F(AlbumPaneTest, FailRowsArePaintedInTheirColour)
{
    addJpeg("a.jpg", 10, 10);
    addRaw("Fail", QVariant(), QByteArray("icon bytes"));
    addRaw("fail", QVariant(), QByteArray("icon bytes"));  // not exactly "Fail"
    openAlbum();
    pane.show();
    query.next();
    EXPECT_EQ(settled(pane).positionText(), "2/3  0x0");
    EXPECT_TRUE(settled(pane).previewPicture().isNull());
    EXPECT_TRUE(messages.messages.empty());
    query.first();
    const QImage shot = pane.grid()->viewport()->grab().toImage();
    const int rowHeight = pane.grid()->rowHeight(0);
    const QPoint failCell(300, rowHeight + rowHeight / 2);
    // Sample a pixel away from the text: the far right of the description cell.
    const QRgb fail = shot.pixel(540, rowHeight + 2);
    EXPECT_EQ(QColor(fail), QColor(198, 211, 239)) << failCell.x();
    EXPECT_EQ(QColor(shot.pixel(540, 2 * rowHeight + 2)), QColor(Qt::white));
    // Selected, a Fail row keeps its colour.
    query.next();
    const QImage selected = pane.grid()->viewport()->grab().toImage();
    EXPECT_EQ(QColor(selected.pixel(540, rowHeight + 2)), QColor(198, 211, 239));
}

TEST_F(AlbumPaneTest, BadRecordsGiveADecodeErrorOrNothingAndTheAlbumStaysUsable)
{
    const QByteArray jpeg = jpegBytes(64, 64);
    addJpeg("good.jpg", 40, 30);
    addRaw("truncated.jpg", 1, jpeg.left(jpeg.size() / 2));
    addRaw("huge.jpg", 1, jpegClaiming(65535, 65535));
    addRaw("lying.bmp", 0, bmpClaiming(20000, 20000));
    addRaw("empty.jpg", 1, QByteArray());
    addRaw("seven.jpg", 7, jpeg);
    {
        store::Connection(folder.storePath()).exec(QStringLiteral("insert into 图片 values(NULL,NULL,NULL,NULL,NULL)"));
    }
    addJpeg("last.jpg", 50, 20);
    openAlbum();
    EXPECT_EQ(settled(pane).positionText(), "1/8  40x30");
    const QStringList reported{"JPEG 图片数据无法解码", "图片过大：65535×65535", "图片过大：20000×20000",
                               "JPEG 图片数据为空"};
    for (int i = 0; i < 4; ++i) {
        messages.messages.clear();
        testing_support::trigger(pane, "MenuItem9");
        settled(pane);  // the failure is reported once the decoding has ended
        ASSERT_EQ(messages.messages.size(), 1u) << i;
        EXPECT_TRUE(pane.previewFailed());
        EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::ErrorReport);
        EXPECT_TRUE(messages.messages[0].text.startsWith(reported[i])) << messages.messages[0].text.toStdString();
        EXPECT_TRUE(messages.messages[0].text.endsWith(u'。') || messages.messages[0].text.endsWith(u'.'));
        EXPECT_TRUE(settled(pane).previewPicture().isNull());
        EXPECT_EQ(query.recNo(), i + 2);
        EXPECT_EQ(settled(pane).positionText(), QStringLiteral("%1/8  0x0").arg(i + 2));  // this record
    }
    messages.messages.clear();
    testing_support::trigger(pane, "MenuItem9");  // flag 7: silently nothing
    EXPECT_EQ(settled(pane).positionText(), "6/8  0x0");
    testing_support::trigger(pane, "MenuItem9");  // NULL everywhere
    EXPECT_EQ(settled(pane).positionText(), "7/8  0x0");
    EXPECT_EQ(settled(pane).previewHint(), "");
    EXPECT_TRUE(messages.messages.empty());
    testing_support::trigger(pane, "MenuItem9");
    EXPECT_EQ(settled(pane).positionText(), "8/8  50x20");
    testing_support::trigger(pane, "N18");  // NULL name sorts first
    EXPECT_EQ(pane.gridModel()->text(0, 0), "");
    testing_support::trigger(pane, "MenuItem5");
    EXPECT_EQ(settled(pane).positionText(), "1/8  40x30");
}

// The picture decodes on a thread of its own; until its result is taken (by the event loop, or
// here by the wait), the label shows the record at 0x0 and the preview nothing.
TEST_F(AlbumPaneTest, ThePictureFollowsLaterAndOnlyTheNewestRecordsPictureIsShown)
{
    addJpeg("a.jpg", 40, 30, "一");
    addJpeg("b.jpg", 30, 20, "二");
    addJpeg("c.jpg", 20, 10, "三");
    addRaw("d.bmp", 0, bmpBytes(800, 600));
    openAlbum();
    EXPECT_EQ(pane.positionText(), "1/4  0x0");
    EXPECT_EQ(pane.previewHint(), "一");  // the description does not wait
    EXPECT_TRUE(pane.previewDecoding());
    query.next();
    query.next();
    EXPECT_EQ(pane.positionText(), "3/4  0x0");
    pane.waitForPreview();
    EXPECT_FALSE(pane.previewDecoding());
    EXPECT_EQ(pane.positionText(), "3/4  20x10");
    EXPECT_EQ(pane.previewPicture().size(), QSize(20, 10));
    // A BMP is kept at its own size for saving; it is drawn fitted.
    query.last();
    EXPECT_EQ(settled(pane).previewPicture().size(), QSize(800, 600));
    EXPECT_EQ(pane.previewSize(), QSize(120, 90));
    EXPECT_TRUE(messages.messages.empty());
}

// Whatever happens to the record while its picture decodes, the picture never shows under
// another record's place.
TEST_F(AlbumPaneTest, APictureDecodedForARecordThatIsGoneIsDropped)
{
    addJpeg("a.jpg", 40, 30);
    addJpeg("b.jpg", 20, 10);
    openAlbum();
    query.deleteCurrent();  // a's picture still decoding
    EXPECT_EQ(settled(pane).positionText(), "1/1  20x10");
    EXPECT_EQ(pane.previewPicture().size(), QSize(20, 10));

    query.close();  // no move, no new refresh: the result finds no record to show it under
    pane.waitForPreview();
    query.open();
    query.close();
    pane.waitForPreview();
    EXPECT_TRUE(pane.previewPicture().isNull());
    EXPECT_EQ(pane.positionText(), "1/1  0x0");
    EXPECT_FALSE(pane.previewFailed());
}
