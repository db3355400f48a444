// The thumbnail window over an album pane and its picture query: size and placement, the
// column set-up, the cells as drawn (sampled from the grabbed grid), choosing a row, the close
// handling with the mode marks, and its menu.
#include "Fixtures.h"
#include "support/Commands.h"
#include "support/ProgramFolder.h"

#include "album/AlbumGrid.h"
#include "album/AlbumPane.h"
#include "album/PictureRecords.h"
#include "album/SearchPIC.h"
#include "album/ThumbnailLink.h"
#include "album/View.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiDBGrid.h"
#include "skin/TsuiMenus.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using album::AlbumMode;
using namespace album_fixtures;
using testing_support::plainBitmap;

namespace {

constexpr Qt::GlobalColor kNullColor = Qt::darkGreen;
constexpr Qt::GlobalColor kFailColor = Qt::magenta;

QImage plain(int width, int height, Qt::GlobalColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool near(QRgb got, const QColor& want, int tolerance = 40)
{
    return std::abs(qRed(got) - want.red()) <= tolerance && std::abs(qGreen(got) - want.green()) <= tolerance
           && std::abs(qBlue(got) - want.blue()) <= tolerance;
}

class ThumbnailWindowTest : public ::testing::Test {
protected:
    ThumbnailWindowTest() : pane(nullptr, query) { query.setStorePath(folder.storePath()); }

    void addRecord(const QString& name, const QVariant& flag, const QVariant& data)
    {
        store::Connection connection(folder.storePath());
        store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
        insert.bindAll({name, QStringLiteral("说明 ") + name, flag, data});
        insert.step();
    }
    void writeThemePictures()
    {
        QDir(folder.path()).mkpath(QStringLiteral("Themes"));
        const QString themes = folder.file(QStringLiteral("Themes/"));
        ASSERT_TRUE(writeFile(themes + "Null.bmp", plainBitmap(8, 8, kNullColor)));
        ASSERT_TRUE(writeFile(themes + "Fail.bmp", plainBitmap(8, 8, kFailColor)));
    }
    // As the main window does at start.
    void openAlbum()
    {
        query.setStatement(store::statements::allPictures());
        query.open();
        if (query.isEmpty())
            query.first();
    }
    // The window made at start-up, wired to the pane as the program wires it.
    void makeWindow()
    {
        thumbnails = album::makeThumbnailWindow(pane, folder.program());
    }
    QPoint lowerRight() const
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return QPoint(screen.width() - 150, screen.height() - 483 - 49);
    }
    QList<int> visibleColumns(const QTableView* grid) const
    {
        QList<int> visible;
        for (int column = 0; column < grid->model()->columnCount(); ++column)
            if (!grid->isColumnHidden(column))
                visible << column;
        return visible;
    }
    // The checked caption of each mode menu: the grid menu's submenu and the 模式 button's.
    QList<int> checkedModes() const
    {
        QList<int> checked;
        for (const QMenu* menu : {pane.gridMenu()->actions().last()->menu(), static_cast<QMenu*>(pane.modeMenu())}) {
            const QList<QAction*> items = menu->actions();
            for (int i = 0; i < items.size(); ++i)
                if (items[i]->isChecked())
                    checked << i;
        }
        return checked;
    }
    // The grid as drawn once every cell in view has its thumbnail: the first paint asks for
    // them, the second draws them.
    QImage grabbedGrid() const
    {
        (void)thumbnails->grid()->viewport()->grab();
        thumbnails->waitForThumbnails();
        return thumbnails->grid()->viewport()->grab().toImage();
    }
    QRect cellOf(int row) const
    {
        return thumbnails->grid()->visualRect(pane.gridModel()->index(row, album::kDataColumn));
    }

    testing_support::ProgramFolder folder;
    skin::RecordingSink messages;
    store::Query query;
    album::AlbumPane pane;
    std::unique_ptr<TForm14> thumbnails;
};

} // namespace

TEST_F(ThumbnailWindowTest, IsMadeHiddenAtTheLowerRightAndComesBackThereAfterEveryClose)
{
    makeWindow();
    EXPECT_EQ(thumbnails->windowTitle(), "缩略图");
    EXPECT_EQ(thumbnails->size(), QSize(150, 483));
    EXPECT_TRUE(thumbnails->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(thumbnails->isVisible());
    EXPECT_FALSE(thumbnails->isModal());
    EXPECT_EQ(thumbnails->pos(), lowerRight());
    // The grid fills the panel below the 29-pixel title bar.
    EXPECT_EQ(thumbnails->grid()->geometry(), QRect(0, 29, 144, 451));

    thumbnails->showInFront();
    EXPECT_TRUE(thumbnails->isVisible());
    thumbnails->move(20, 30);
    thumbnails->close();  // the frame's close button
    EXPECT_FALSE(thumbnails->isVisible());
    EXPECT_EQ(thumbnails->pos(), lowerRight());

    // Moved while hidden, closed again by the album pane: placed again all the same.
    thumbnails->move(5, 5);
    thumbnails->closeWindow();
    EXPECT_EQ(thumbnails->pos(), lowerRight());
    thumbnails->showInFront();
    EXPECT_EQ(thumbnails->pos(), lowerRight());
}

TEST_F(ThumbnailWindowTest, ShowsOnlyThePictureColumnAlsoAfterSearchAndRefresh)
{
    for (const char* name : {"sea.jpg", "sky.jpg", "海边.jpg"})
        addRecord(QString::fromUtf8(name), 1, jpegBytes(32, 24));
    openAlbum();
    makeWindow();
    TsuiDBGrid* grid = thumbnails->grid();
    EXPECT_EQ(visibleColumns(grid), QList<int>{album::kDataColumn});
    EXPECT_EQ(grid->columnWidth(album::kDataColumn), 96);
    EXPECT_EQ(grid->model()->headerData(album::kDataColumn, Qt::Horizontal).toString(), "Myimage");
    EXPECT_EQ(grid->verticalHeader()->sectionSize(0), 68);
    EXPECT_FALSE(grid->verticalHeader()->isHidden());  // the indicator column
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(album::kDataColumn), QHeaderView::Fixed);

    // A search reopens the query with other rows, as the search dialog does in the program.
    TForm10 search(nullptr, query);
    search.setAfterSearch([this] {
        pane.syncGrid();
        thumbnails->reapplyColumns();
    });
    search.findChild<QComboBox*>("suiComboBox2")->setCurrentIndex(0);  // 包含
    search.findChild<TsuiEdit*>("suiEdit1")->setText(QStringLiteral("s"));
    testing_support::click(search, "suiButton1");
    ASSERT_EQ(query.recordCount(), 2);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(visibleColumns(grid), QList<int>{album::kDataColumn});
    EXPECT_EQ(grid->columnWidth(album::kDataColumn), 96);
    // The album grid keeps its own two columns over the same model.
    EXPECT_EQ(visibleColumns(pane.grid()), (QList<int>{album::kNameColumn, album::kDescriptionColumn}));

    testing_support::trigger(pane, "MenuItem5");  // 刷新
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(visibleColumns(grid), QList<int>{album::kDataColumn});
    EXPECT_EQ(visibleColumns(pane.grid()), (QList<int>{album::kNameColumn, album::kDescriptionColumn}));
}

TEST_F(ThumbnailWindowTest, CellsShowTheirPicturesStretchedOverTheWholeCell)
{
    writeThemePictures();
    // A wide picture, red left half and blue right half, eight times wider than high.
    QImage wide(800, 100, QImage::Format_RGB32);
    wide.fill(Qt::red);
    QPainter(&wide).fillRect(400, 0, 400, 100, Qt::blue);
    addRecord("wide.jpg", 1, jpegOf(wide));
    addRecord("empty.bmp", 0, QVariant());  // no picture data
    addRecord("Fail", QVariant(), QByteArray("icon data"));
    addRecord("broken.jpg", 1, QByteArray("not a picture at all"));
    addRecord("plain.bmp", 0, plainBitmap(10, 40, Qt::cyan));
    openAlbum();
    query.last();  // the rows drawn are not the current one
    makeWindow();
    thumbnails->showInFront();
    const QImage drawn = grabbedGrid();

    // Squeezed, not letterboxed: the colours reach the cell's top and bottom rows.
    const QRect wideCell = cellOf(0);
    ASSERT_EQ(wideCell.size(), QSize(95, 67));
    for (const int y : {wideCell.top(), wideCell.center().y(), wideCell.bottom()}) {
        EXPECT_TRUE(near(drawn.pixel(wideCell.left() + 2, y), Qt::red)) << y;
        EXPECT_TRUE(near(drawn.pixel(wideCell.right() - 2, y), Qt::blue)) << y;
    }
    const QRect emptyCell = cellOf(1), failCell = cellOf(2), brokenCell = cellOf(3), plainCell = cellOf(4);
    EXPECT_TRUE(near(drawn.pixel(emptyCell.topLeft()), kNullColor, 0));
    EXPECT_TRUE(near(drawn.pixel(emptyCell.bottomRight()), kNullColor, 0));
    EXPECT_TRUE(near(drawn.pixel(failCell.center()), kFailColor, 0));
    EXPECT_TRUE(near(drawn.pixel(plainCell.topLeft()), Qt::cyan, 0));
    EXPECT_TRUE(near(drawn.pixel(plainCell.bottomRight()), Qt::cyan, 0));
    // Data that does not decode leaves the cell blank, and painting reports nothing.
    EXPECT_TRUE(near(drawn.pixel(brokenCell.center()), Qt::white, 0));
    EXPECT_TRUE(messages.messages.empty());
    // The current row's cell under its picture is the selected colour; its picture covers it.
    EXPECT_TRUE(near(drawn.pixel(plainCell.center()), Qt::cyan, 0));
}

// A repaint draws the kept thumbnails without reading or decoding; a sort keeps them; a row
// fetched again is decoded afresh, so a picture never shows under another record.
TEST_F(ThumbnailWindowTest, ThumbnailsAreDecodedOnceAndKeptPerRow)
{
    addRecord("b.jpg", 1, jpegOf(plain(40, 30, Qt::red)));
    addRecord("a.jpg", 1, jpegOf(plain(40, 30, Qt::blue)));
    openAlbum();
    makeWindow();
    thumbnails->showInFront();
    (void)thumbnails->grid()->viewport()->grab();
    EXPECT_TRUE(thumbnails->fillingCells());
    QImage drawn = grabbedGrid();
    EXPECT_EQ(thumbnails->cache().count(), 2);
    EXPECT_TRUE(near(drawn.pixel(cellOf(0).center()), Qt::red));

    (void)thumbnails->grid()->viewport()->grab();
    EXPECT_FALSE(thumbnails->fillingCells());  // nothing asked for again
    testing_support::trigger(pane, "N18");  // by name: a.jpg first
    drawn = thumbnails->grid()->viewport()->grab().toImage();
    EXPECT_FALSE(thumbnails->fillingCells());
    EXPECT_TRUE(near(drawn.pixel(cellOf(0).center()), Qt::blue));
    EXPECT_TRUE(near(drawn.pixel(cellOf(1).center()), Qt::red));

    // The last record replaced by a green one in the store: the rows fetched again show it.
    query.last();
    query.deleteCurrent();
    addRecord("c.jpg", 1, jpegOf(plain(40, 30, Qt::green)));
    testing_support::trigger(pane, "MenuItem5");  // refresh
    drawn = grabbedGrid();
    EXPECT_TRUE(near(drawn.pixel(cellOf(0).center()), Qt::blue));
    EXPECT_TRUE(near(drawn.pixel(cellOf(1).center()), Qt::green));
}

// The current row's thumbnail is made from the preview's picture when that holds enough pixels
// for the cell; other rows, and a preview too small for the cell, are decoded on the threads.
TEST_F(ThumbnailWindowTest, TheCurrentRowsThumbnailIsMadeFromThePreview)
{
    addRecord("a.jpg", 1, jpegOf(plain(400, 300, Qt::red)));
    addRecord("b.jpg", 1, jpegOf(plain(40, 30, Qt::blue)));
    addRecord("c.jpg", 1, jpegOf(plain(3000, 100, Qt::green)));  // fitted far below the cell's height
    openAlbum();
    pane.waitForPreview();
    makeWindow();
    thumbnails->showInFront();
    QImage drawn = thumbnails->grid()->viewport()->grab().toImage();
    EXPECT_EQ(thumbnails->cache().count(), 1);
    EXPECT_TRUE(near(drawn.pixel(cellOf(0).center()), Qt::red));
    EXPECT_TRUE(near(drawn.pixel(cellOf(0).bottomRight() - QPoint(1, 1)), Qt::red));
    EXPECT_TRUE(thumbnails->fillingCells());
    thumbnails->waitForThumbnails();

    for (const int row : {1, 2}) {
        thumbnails.reset();
        query.moveTo(row);
        pane.waitForPreview();
        makeWindow();
        thumbnails->showInFront();
        (void)thumbnails->grid()->viewport()->grab();
        EXPECT_EQ(thumbnails->cache().count(), row == 1 ? 1 : 0) << row;  // the small one at its own size
    }
}

// The window's rows read their pictures from the store on the decoding thread. A row that the
// store no longer holds (deleted elsewhere) keeps no thumbnail at all, not the Null picture of a
// record without data; a later paint asks for it again, but nothing else does.
TEST_F(ThumbnailWindowTest, ARowGoneFromTheStoreKeepsNoThumbnail)
{
    writeThemePictures();
    addRecord("a.jpg", 1, jpegOf(plain(40, 30, Qt::red)));
    addRecord("b.jpg", 1, jpegOf(plain(40, 30, Qt::blue)));
    openAlbum();
    makeWindow();
    thumbnails->showInFront();
    store::Connection(folder.storePath()).exec(QStringLiteral("delete from 图片 where 图片名称='b.jpg'"));
    const QImage drawn = grabbedGrid();
    for (int settle = 0; settle < 3; ++settle) {  // the paint the first thumbnail asked for
        thumbnails->waitForThumbnails();
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(thumbnails->fillingCells());
    EXPECT_EQ(thumbnails->cache().count(), 1);
    EXPECT_TRUE(near(drawn.pixel(cellOf(0).center()), Qt::red));
    EXPECT_FALSE(near(drawn.pixel(cellOf(1).center()), kNullColor));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ThumbnailWindowTest, MissingThemePicturesLeaveNullAndFailCellsBlank)
{
    addRecord("empty.bmp", 0, QVariant());
    addRecord("Fail", QVariant(), QByteArray("icon data"));
    addRecord("last.bmp", 0, plainBitmap(4, 4, Qt::cyan));
    openAlbum();
    query.last();
    makeWindow();
    EXPECT_TRUE(thumbnails->pictures().null.isNull());
    thumbnails->showInFront();
    const QImage drawn = grabbedGrid();
    EXPECT_TRUE(near(drawn.pixel(cellOf(0).center()), Qt::white, 0));
    EXPECT_TRUE(near(drawn.pixel(cellOf(1).center()), Qt::white, 0));
    EXPECT_TRUE(near(drawn.pixel(cellOf(2).center()), Qt::cyan, 0));
}

TEST_F(ThumbnailWindowTest, ChoosingARowMovesTheCurrentRecordAndTheQueryMovesTheRow)
{
    for (int i = 0; i < 4; ++i)
        addRecord(QStringLiteral("p%1.bmp").arg(i), 0, plainBitmap(20 + i, 10, Qt::gray));
    openAlbum();
    makeWindow();
    thumbnails->showInFront();
    QTest::mouseClick(thumbnails->grid()->viewport(), Qt::LeftButton, {}, cellOf(2).center());
    EXPECT_EQ(query.recNo(), 3);
    EXPECT_EQ(settled(pane).positionText(), "3/4  22x10");  // the preview followed
    EXPECT_EQ(pane.grid()->selectionModel()->currentIndex().row(), 2);

    testing_support::trigger(pane, "L3");
    EXPECT_EQ(thumbnails->grid()->selectionModel()->currentIndex().row(), 3);
    EXPECT_TRUE(thumbnails->grid()->selectionModel()->isRowSelected(3, {}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ThumbnailWindowTest, ClosingSetsTheMarksByTheLayout)
{
    addRecord("a.bmp", 0, plainBitmap(4, 4, Qt::gray));
    openAlbum();
    makeWindow();
    testing_support::trigger(pane, "N29");  // 预览
    testing_support::trigger(pane, "N27");  // 显示缩略图
    EXPECT_TRUE(thumbnails->isVisible());
    EXPECT_EQ(checkedModes(), (QList<int>{3, 3}));  // 缩略图+预览 in both menus
    thumbnails->close();
    EXPECT_EQ(checkedModes(), (QList<int>{1, 1}));  // 预览 in both menus

    testing_support::trigger(pane, "N30");  // 缩略图+列表
    EXPECT_TRUE(thumbnails->isVisible());
    EXPECT_EQ(checkedModes(), (QList<int>{2, 2}));
    thumbnails->close();
    EXPECT_EQ(checkedModes(), (QList<int>{0, 0}));

    // 列表 while the window is hidden still runs the close handling: it is placed again.
    thumbnails->move(7, 7);
    testing_support::trigger(pane, "N28");
    EXPECT_FALSE(thumbnails->isVisible());
    EXPECT_EQ(thumbnails->pos(), lowerRight());
    EXPECT_EQ(checkedModes(), (QList<int>{0, 0}));
}

TEST_F(ThumbnailWindowTest, MenuCopiesAndSavesThroughTheMainWindowsCommands)
{
    makeWindow();
    QStringList captions;
    for (const QAction* action : thumbnails->popupMenu()->actions()) {
        captions << action->text();
        EXPECT_FALSE(action->icon().isNull());
    }
    EXPECT_EQ(captions, (QStringList{"复制图片(&C)", "图片另存为(&S)"}));
    // The items are the album's own copy and save commands.
    EXPECT_EQ(testing_support::menuCommands(thumbnails->popupMenu()), (QStringList{"N15", "MenuItem11"}));
}
