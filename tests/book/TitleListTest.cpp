// The title list: numbering, the chosen item, removal with renumbering and selection, showing a
// new title, and when the read, delete and copy-title commands are enabled.
#include "support/ProgramFolder.h"

#include "book/TitleList.h"
#include "store/Query.h"
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

TEST_F(TitleListTest, ClearEmptiesTheListAndDisablesTheCommands)
{
    addTitles(2);
    titles.refresh(query);
    titles.clear();
    EXPECT_EQ(titles.count(), 0);
    EXPECT_FALSE(titles.commandsEnabled());
}

} // namespace
