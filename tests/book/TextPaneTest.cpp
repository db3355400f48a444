// The text pane's wiring: toolbar, pop-up menu, double-click, copy title and the scroll rule.
#include "support/ProgramFolder.h"

#include "book/TextPane.h"
#include "platform/Clipboard.h"
#include "skin/Controls.h"
#include "skin/TsuiListView.h"
#include "store/Query.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <gtest/gtest.h>

using book::TextPane;

namespace {

class TextPaneTest : public ::testing::Test {
protected:
    TextPaneTest() : pane(nullptr, titles, query, clipboard)
    {
        query.setStorePath(folder.storePath());
        pane.resize(586, 431);
    }
    void addTitles(int n)
    {
        QStringList lines{"x"};
        for (int i = 1; i <= n; ++i)
            testing_support::addEntry(folder.storePath(), QStringLiteral("t%1").arg(i, 3, 10, QChar(u'0')),
                                      lines);
        titles.refresh(query);
    }
    QStringList popupCaptions() const
    {
        QStringList captions;
        for (const QAction* action : pane.popupMenu()->actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return captions;
    }

    testing_support::ProgramFolder folder;
    store::Query query;
    book::TitleList titles;
    platform::FakeClipboard clipboard;
    TextPane pane;
};

TEST_F(TextPaneTest, ToolbarButtonsSitWhereTheyBelong)
{
    const struct { int left, width; const char* caption; const char* hint; } expected[] = {
        {8, 56, "读取", "读取选定的一篇资料"}, {64, 56, "添加", "添加一篇新的资料"},
        {120, 56, "删除", "删除选定的一篇资料"}, {176, 56, "刷新", "显示所有资料"},
        {232, 80, "搜索标题", "按标题搜索资料"}, {312, 80, "复制标题", "复制选定的一篇资料的标题"}};
    for (int i = 0; i < 6; ++i) {
        const QPushButton* button = pane.toolButton(i);
        EXPECT_EQ(button->x(), expected[i].left);
        EXPECT_EQ(button->width(), expected[i].width);
        EXPECT_EQ(button->text(), QString::fromUtf8(expected[i].caption));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(expected[i].hint));
    }
    EXPECT_EQ(popupCaptions(), (QStringList{"读取(&L)", "添加(&I)", "删除(&D)", "-", "刷新(&R)",
                                            "搜索标题(&S)", "-", "复制标题(&C)"}));
    EXPECT_EQ(pane.listView()->columnWidth(0), 56);
    EXPECT_EQ(pane.listView()->columnWidth(1), 508);
}

// The glyph's bottom-left colour is see-through; a missing picture leaves the caption alone.
TEST_F(TextPaneTest, ToolbarButtonsCarryTheirThemeGlyphs)
{
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 255));
    for (int x = 4; x < 12; ++x)
        glyph.setPixelColor(x, 8, Qt::darkBlue);
    QDir(folder.path()).mkdir("Themes");
    for (const char* name : {"Read.bmp", "Add.bmp", "Delete.bmp", "Refresh.bmp", "Search.bmp"})
        ASSERT_TRUE(glyph.save(folder.file(QStringLiteral("Themes/") + QLatin1String(name)), "BMP"));
    pane.loadThemePictures(folder.file("Themes"));
    for (int i = 0; i < 5; ++i) {
        const QImage shown = pane.toolButton(i)->icon().pixmap(16, 16).toImage();
        ASSERT_FALSE(shown.isNull()) << i;
        EXPECT_EQ(shown.pixelColor(0, 15).alpha(), 0) << i;
        EXPECT_EQ(shown.pixelColor(5, 8), QColor(Qt::darkBlue)) << i;
    }
    EXPECT_TRUE(pane.toolButton(5)->icon().isNull());  // Copy.bmp is missing
}

TEST_F(TextPaneTest, ReadDeleteAndCopyFollowTheListState)
{
    titles.refresh(query);
    for (int i : {0, 2, 5})
        EXPECT_FALSE(pane.toolButton(i)->isEnabled()) << i;
    for (int i : {1, 3, 4})
        EXPECT_TRUE(pane.toolButton(i)->isEnabled()) << i;
    const QList<QAction*> actions = pane.popupMenu()->actions();
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_TRUE(actions[1]->isEnabled());
    EXPECT_FALSE(actions[7]->isEnabled());

    addTitles(1);
    for (int i : {0, 2, 5})
        EXPECT_TRUE(pane.toolButton(i)->isEnabled()) << i;
    EXPECT_TRUE(actions[0]->isEnabled());
}

TEST_F(TextPaneTest, DoubleClickNeedsASelectionButTheReadButtonTakesTheFirstItem)
{
    addTitles(3);
    QSignalSpy reads(&pane, &TextPane::readRequested);
    titles.selection()->clearSelection();
    emit pane.listView()->doubleClicked(titles.model()->index(0, 0));
    EXPECT_EQ(reads.count(), 0);

    pane.toolButton(0)->click();
    ASSERT_EQ(reads.count(), 1);
    EXPECT_EQ(reads.takeFirst().at(0).toString(), "t001");
    EXPECT_EQ(titles.selectedPosition(), 0);
}

TEST_F(TextPaneTest, DeleteAsksAboutTheChosenItemByItsNumber)
{
    addTitles(5);
    titles.select(3);
    QSignalSpy deletes(&pane, &TextPane::deleteRequested);
    pane.toolButton(2)->click();
    ASSERT_EQ(deletes.count(), 1);
    EXPECT_EQ(deletes.at(0).at(0).toInt(), 3);
    EXPECT_EQ(deletes.at(0).at(1).toString(), "确实要删除第 4 条资料吗？");
}

TEST_F(TextPaneTest, CopyTitlePutsItOnTheClipboard)
{
    addTitles(2);
    titles.select(1);
    QSignalSpy copied(&pane, &TextPane::titleCopied);
    pane.toolButton(5)->click();
    EXPECT_EQ(clipboard.text(), "t002");
    EXPECT_EQ(copied.count(), 1);
}

TEST_F(TextPaneTest, RefreshListsEveryTitleAgain)
{
    addTitles(2);
    titles.removeItem(0);
    pane.toolButton(3)->click();
    EXPECT_EQ(titles.count(), 2);
}

// The list opens with its first page; scrolling to its end brings the next one.
TEST_F(TextPaneTest, ScrollingToTheEndOfTheListFetchesMoreTitles)
{
    {
        store::Connection connection(folder.storePath());
        connection.exec(QStringLiteral("begin"));
        store::SqliteStatement insert(connection, QStringLiteral("insert into 文本 values(?, 0, 'x')"));
        for (int i = 1; i <= 3000; ++i) {
            insert.reset();
            insert.bind(1, QStringLiteral("标题%1").arg(i, 4, 10, QChar(u'0')));
            insert.step();
        }
        connection.exec(QStringLiteral("commit"));
    }
    pane.show();
    titles.refresh(query);
    const int firstPage = titles.count();
    ASSERT_LT(firstPage, 3000);
    pane.listView()->scrollToBottom();
    EXPECT_GT(titles.count(), firstPage);
    EXPECT_EQ(titles.title(firstPage), QStringLiteral("标题%1").arg(firstPage + 1, 4, 10, QChar(u'0')));
}

TEST_F(TextPaneTest, NewTitleBecomesTheSixteenthVisibleRow)
{
    addTitles(100);
    pane.show();
    const int k = titles.showNewTitle(query, QStringLiteral("t040"));
    pane.scrollToNewTitle(k);
    EXPECT_EQ(k, 39);
    EXPECT_EQ(pane.listView()->verticalScrollBar()->value(), 39 - 15);
    EXPECT_EQ(pane.listView()->rowAt(15 * 17 + 2), 39);

    titles.showNewTitle(query, QStringLiteral("t003"));
    pane.scrollToNewTitle(2);
    EXPECT_EQ(pane.listView()->verticalScrollBar()->value(), 0);
}

} // namespace
