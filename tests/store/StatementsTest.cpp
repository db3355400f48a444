// Each statement selects exactly the rows its template means, whatever the user typed.
#include "support/ProgramFolder.h"

#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <gtest/gtest.h>

using testing_support::addEntry;
namespace statements = store::statements;

namespace {

QStringList sorted(QStringList values)
{
    values.sort();
    return values;
}

class StatementsTest : public ::testing::Test {
protected:
    StatementsTest() { query.setStorePath(folder.storePath()); }

    // Runs a statement and lists column `column` of every row, in the order returned.
    QStringList run(const store::Statement& statement, int column = 0)
    {
        query.setStatement(statement);
        query.open();
        QStringList values;
        for (int i = 0; i < query.recordCount(); ++i)
            values << query.valueAt(i, column).toString();
        return values;
    }

    testing_support::ProgramFolder folder;
    store::Query query;
};

TEST_F(StatementsTest, TitleInAnotherLetterCaseCountsAsExisting)
{
    addEntry(folder.storePath(), "Notes", {"x"});
    EXPECT_EQ(run(statements::entryRows("NOTES")).size(), 1);
    EXPECT_EQ(run(statements::exactTitleSearch("notes")), QStringList{"Notes"});
}

TEST_F(StatementsTest, LinesComeBackInNumericLineOrder)
{
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines << QStringLiteral("line %1").arg(i);
    addEntry(folder.storePath(), "t", lines);
    const QStringList read = run(statements::entryLinesInOrder("t"), 2);
    EXPECT_EQ(read, lines);
    EXPECT_EQ(read.indexOf("line 10"), read.indexOf("line 9") + 1);
}

TEST_F(StatementsTest, EmptyLineStoresAndReadsBackEmpty)
{
    addEntry(folder.storePath(), "t", {"ab", "", "cd"});
    EXPECT_EQ(run(statements::entryLinesInOrder("t"), 2), (QStringList{"ab", "", "cd"}));
}

TEST_F(StatementsTest, OddCharactersInTitlesFindExactlyTheirOwnRows)
{
    const QStringList titles{"it's", "100%", "a_b", "中文标题", "a%b", "ab", "axb", "\tTab\t",
                             QString(1000, u'长')};
    for (const QString& title : titles)
        addEntry(folder.storePath(), title, {title + " body"});
    for (const QString& title : titles) {
        SCOPED_TRACE(title.left(20).toStdString());
        EXPECT_EQ(run(statements::entryRows(title)), QStringList{title});
        EXPECT_EQ(run(statements::exactTitleSearch(title)), QStringList{title});
        EXPECT_EQ(run(statements::entryLinesInOrder(title), 2), QStringList{title + " body"});
    }
}

TEST_F(StatementsTest, FuzzySearchKeepsThePatternMeaningOfPercentAndUnderscore)
{
    for (const QString& title : QStringList{"a_b", "axb", "ab", "a%b", "中文标题", "it's"})
        addEntry(folder.storePath(), title, {"x"});
    // "_" is any one character, "%" any run of characters, letters without case.
    EXPECT_EQ(sorted(run(statements::fuzzyTitleSearch("a_b"))), (QStringList{"a%b", "a_b", "axb"}));
    EXPECT_EQ(sorted(run(statements::fuzzyTitleSearch("A%B"))),
              (QStringList{"a%b", "a_b", "ab", "axb"}));
    EXPECT_EQ(run(statements::fuzzyTitleSearch("文标")), QStringList{"中文标题"});
    EXPECT_EQ(run(statements::fuzzyTitleSearch("'")), QStringList{"it's"});
    EXPECT_EQ(run(statements::fuzzyTitleSearch("")).size(), 6);
}

TEST_F(StatementsTest, TitleListHoldsLineZeroOfEveryEntryInPinyinOrder)
{
    addEntry(folder.storePath(), "大海", {"1", "2"});
    addEntry(folder.storePath(), "北方", {"1"});
    addEntry(folder.storePath(), "鹅毛", {"1"});
    addEntry(folder.storePath(), "安静", {"1", "2", "3"});
    addEntry(folder.storePath(), "菜谱", {"1"});
    addEntry(folder.storePath(), "banana", {"1"});
    addEntry(folder.storePath(), "Apple", {"1"});
    addEntry(folder.storePath(), "2024", {"1"});
    EXPECT_EQ(run(statements::allTitles()),
              (QStringList{"2024", "Apple", "banana", "安静", "北方", "菜谱", "大海", "鹅毛"}));
}

// A long list is ordered by sort-key prefixes made on two threads, and by full keys where the
// prefixes are equal, or by full keys alone where most titles begin alike. Either way the order
// must be the one the engine gives when it calls the collation itself, and equal titles keep the
// store's order.
TEST_F(StatementsTest, ALongTitleListIsInTheSameOrderAsTheEnginesCollation)
{
    const QString words = QStringLiteral("北京上海读书笔记工作计划会议纪要生活随笔旅行日记abcXYZ09");
    for (const int alikeEvery : {200, 3}) {
        SCOPED_TRACE(alikeEvery);
        store::Connection connection(folder.storePath());
        connection.exec(QStringLiteral("begin; delete from 文本;"));
        store::SqliteStatement insert(connection, QStringLiteral("insert into 文本 values(?,0,'')"));
        for (int i = 0; i < 40000; ++i) {
            // Titles that begin alike: their sort keys' first bytes say nothing.
            QString title = i % alikeEvery == 0 ? QStringLiteral("读书笔记：") : QString();
            for (int k = i, n = 0; n < 3 + i % 2; k /= words.size(), ++n)
                title += words[k % words.size()];
            insert.reset();
            insert.bindAll({title});
            insert.step();
        }
        connection.exec(QStringLiteral("commit"));
        const QStringList ours = run(statements::allTitles());
        store::SqliteStatement select(
            connection, QStringLiteral("select 标题 from 文本 where 行数=0 order by 标题 collate ZH, rowid"));
        QStringList engine;
        while (select.step())
            engine << select.column(0).toString();
        ASSERT_EQ(ours.size(), 40000);
        EXPECT_EQ(ours, engine);
    }
}

TEST_F(StatementsTest, ImportStatementCoversEveryRow)
{
    addEntry(folder.storePath(), "a", {"1", "2"});
    addEntry(folder.storePath(), "b", {"1"});
    EXPECT_EQ(run(statements::allEntryRows()).size(), 3);
}

} // namespace
