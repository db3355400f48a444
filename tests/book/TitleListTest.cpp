// The title list: numbering, the chosen item, removal with renumbering and selection, showing a
// new title, and when the read, delete and copy-title commands are enabled.
#include "support/ProgramFolder.h"

#include "book/TitleList.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using book::TitleList;

namespace {

class TitleListTest : public ::testing::Test {
protected:
    TitleListTest() { query.setStorePath(folder.storePath()); }

    void addTitles(int n)
    {
        for (int i = 1; i <= n; ++i)
            testing_support::addEntry(folder.storePath(), QStringLiteral("t%1").arg(i, 3, 10, QChar(u'0')),
                                      {"x"});
    }
    QString number(int position)
    {
        return titles.model()->index(position, 0).data().toString();
    }

    testing_support::ProgramFolder folder;
    store::Query query;
    TitleList titles;
};

TEST_F(TitleListTest, RefreshNumbersFromOneAndSelectsTheFirstItem)
{
    addTitles(3);
    titles.refresh(query);
    ASSERT_EQ(titles.count(), 3);
    EXPECT_EQ(number(0), "1");
    EXPECT_EQ(number(2), "3");
    EXPECT_EQ(titles.model()->index(2, 1).data().toString(), "t003");
    EXPECT_EQ(titles.selectedPosition(), 0);
    EXPECT_TRUE(titles.commandsEnabled());
}

TEST_F(TitleListTest, EmptyStoreDisablesTheCommandsUntilAnItemIsSelected)
{
    QSignalSpy changes(&titles, &TitleList::commandsEnabledChanged);
    titles.refresh(query);
    EXPECT_EQ(titles.count(), 0);
    EXPECT_FALSE(titles.commandsEnabled());
    EXPECT_EQ(titles.chooseItem(), -1);

    addTitles(1);
    titles.refresh(query);
    EXPECT_TRUE(titles.commandsEnabled());
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(TitleListTest, FillFromASearchShowsOnlyItsRowsUntilTheNextRefresh)
{
    addTitles(5);
    query.setStatement(store::statements::exactTitleSearch(QStringLiteral("T004")));
    query.open();
    titles.fillFrom(query);
    ASSERT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.title(0), "t004");
    EXPECT_EQ(number(0), "1");
    titles.refresh(query);
    EXPECT_EQ(titles.count(), 5);
}

TEST_F(TitleListTest, ChosenItemIsTheSelectedOneElseTheFirst)
{
    addTitles(3);
    titles.refresh(query);
    titles.selection()->clearSelection();
    EXPECT_EQ(titles.selectedPosition(), -1);
    EXPECT_EQ(titles.chooseItem(), 0);
    EXPECT_EQ(titles.selectedPosition(), 0);
    titles.select(2);
    EXPECT_EQ(titles.chooseItem(), 2);
}

TEST_F(TitleListTest, RemovingTheLastItemSelectsTheOneBefore)
{
    addTitles(5);
    titles.refresh(query);
    titles.removeItem(4);
    EXPECT_EQ(titles.count(), 4);
    EXPECT_EQ(titles.selectedPosition(), 3);
}

TEST_F(TitleListTest, RemovingAnInnerItemRenumbersTheRestAndSelectsItsSuccessor)
{
    addTitles(5);
    titles.refresh(query);
    titles.removeItem(1);
    EXPECT_EQ(titles.selectedPosition(), 1);
    EXPECT_EQ(titles.title(1), "t003");
    QStringList numbers;
    for (int i = 0; i < titles.count(); ++i)
        numbers << number(i);
    EXPECT_EQ(numbers, (QStringList{"1", "2", "3", "4"}));
}

TEST_F(TitleListTest, RemovingTheOnlyItemDisablesTheCommands)
{
    addTitles(1);
    titles.refresh(query);
    titles.removeItem(0);
    EXPECT_EQ(titles.count(), 0);
    EXPECT_FALSE(titles.commandsEnabled());
}

TEST_F(TitleListTest, NewTitleIsFoundByExactTextAndSelected)
{
    addTitles(3);
    testing_support::addEntry(folder.storePath(), "T002x", {"x"});
    EXPECT_EQ(titles.showNewTitle(query, QStringLiteral("T002x")), 2);
    EXPECT_EQ(titles.selectedPosition(), 2);
    // Only the exact text counts: another letter case is no match, and no match gives 0.
    EXPECT_EQ(titles.showNewTitle(query, QStringLiteral("t002X")), 0);
}

// A long book is read a page at a time as a view asks for more rows: numbers, removal and the
// search for a new title go on across pages.
TEST_F(TitleListTest, LongListsArriveInPagesThatKeepTheNumberingAndTheOrder)
{
    {
        store::Connection connection(folder.storePath());
        connection.exec(QStringLiteral("begin"));
        store::SqliteStatement insert(connection, QStringLiteral("insert into 文本 values(?, 0, 'x')"));
        for (int i = 600; i >= 1; --i) {
            insert.reset();
            insert.bind(1, QStringLiteral("t%1").arg(i, 3, 10, QChar(u'0')));
            insert.step();
        }
        connection.exec(QStringLiteral("commit"));
    }
    titles.refresh(query);
    ASSERT_LT(titles.count(), 600);
    ASSERT_GT(titles.count(), 0);
    const int firstPage = titles.count();
    EXPECT_TRUE(titles.model()->canFetchMore({}));
    // Removing the last item fetched selects its successor, which comes from the next page.
    titles.removeItem(firstPage - 1);
    EXPECT_EQ(titles.title(firstPage - 1), QStringLiteral("t%1").arg(firstPage + 1, 3, 10, QChar(u'0')));
    EXPECT_EQ(titles.selectedPosition(), firstPage - 1);
    while (titles.model()->canFetchMore({}))
        titles.model()->fetchMore({});
    ASSERT_EQ(titles.count(), 599);
    EXPECT_EQ(number(598), "599");
    EXPECT_EQ(titles.title(598), "t600");
    EXPECT_FALSE(titles.model()->canFetchMore({}));

    query.setStatement(store::statements::exactTitleSearch(QStringLiteral("t600")));
    query.open();
    titles.fillFrom(query);
    EXPECT_FALSE(titles.model()->canFetchMore({}));
    EXPECT_EQ(titles.showNewTitle(query, QStringLiteral("t599")), 598);
    EXPECT_EQ(titles.selectedPosition(), 598);
}

TEST_F(TitleListTest, AStoreWithoutTheTextTableIsReportedByTheQuery)
{
    store::Connection(folder.storePath()).exec(QStringLiteral("drop table 文本"));
    EXPECT_THROW(titles.refresh(query), store::StoreError);
}

TEST_F(TitleListTest, ClearEmptiesTheListAndDisablesTheCommands)
{
    addTitles(2);
    titles.refresh(query);
    titles.clear();
    EXPECT_EQ(titles.count(), 0);
    EXPECT_FALSE(titles.commandsEnabled());
}

} // namespace
