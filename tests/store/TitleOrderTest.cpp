// The title order kept beside the rows: the same order as sorting every title, read page by page;
// rows changed by other tools folded in; a store without the order, with a trigger dropped or
// with keys of another collation made whole again; other tools still able to write.
#include "support/ProgramFolder.h"

#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"
#include "store/TitleOrder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using store::titleorder::TitleReader;
using testing_support::ProgramFolder;

namespace {

class TitleOrderTest : public ::testing::Test {
protected:
    // Every title, read two at a time so that pages end inside runs of equal titles.
    std::vector<QString> orderedByReader()
    {
        TitleReader reader(folder.storePath());
        std::vector<QString> all;
        while (!reader.atEnd()) {
            const std::vector<QString> page = reader.next(2);
            EXPECT_LE(page.size(), 2u);
            all.insert(all.end(), page.begin(), page.end());
        }
        EXPECT_TRUE(reader.next(2).empty());
        return all;
    }
    // The order of sorting every title through the query, as the list was filled before.
    std::vector<QString> orderedByQuery()
    {
        store::Query query;
        query.setStorePath(folder.storePath());
        query.setStatement(store::statements::allTitles());
        query.open();
        std::vector<QString> all;
        for (int i = 0; i < query.recordCount(); ++i)
            all.push_back(query.valueAt(i, 0).toString());
        return all;
    }
    // Writes as another program would: the engine alone, with no collation of ours registered.
    void writeAsAnotherTool(const char* sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(folder.storePath().toUtf8().constData(), &db), SQLITE_OK);
        char* error = nullptr;
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
        EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
    }
    qint64 count(const QString& sql)
    {
        store::Connection connection(folder.storePath());
        store::SqliteStatement statement(connection, sql);
        statement.step();
        return statement.columnInt(0);
    }
    void add(const QString& title, int lines = 2)
    {
        QStringList texts;
        for (int i = 0; i < lines; ++i)
            texts << QStringLiteral("第%1行").arg(i);
        testing_support::addEntry(folder.storePath(), title, texts);
    }

    ProgramFolder folder;
};

TEST_F(TitleOrderTest, ReadsPageByPageInTheOrderOfSortingEveryTitle)
{
    for (const QString& title :
         {QStringLiteral("中文"), QStringLiteral("abc"), QStringLiteral("ABC"), QStringLiteral("阿姨"),
          QStringLiteral("重庆"), QStringLiteral("it's 100%"), QStringLiteral("a_b"), QStringLiteral("Zebra"),
          QStringLiteral("10"), QStringLiteral("9"), QStringLiteral(""), QStringLiteral("abc"),
          QString(5000, QChar(u'长')), QStringLiteral("é"), QStringLiteral("e")})
        add(title);
    writeAsAnotherTool("insert into 文本 values(NULL, 0, 'no title')");
    const std::vector<QString> expected = orderedByQuery();
    ASSERT_EQ(expected.size(), 16u);
    EXPECT_EQ(orderedByReader(), expected);
}

TEST_F(TitleOrderTest, RowsChangedByAnotherToolAreFoldedInBeforeReading)
{
    for (int i = 0; i < 20; ++i)
        add(QStringLiteral("标题%1").arg(i));
    orderedByReader();  // the order is caught up
    writeAsAnotherTool("insert into 文本 values('新来的', 0, 'x');"
                       "delete from 文本 where 标题='标题3';"
                       "update 文本 set 标题='改过的' where 标题='标题5';"
                       "update 文本 set 行数=7 where 标题='标题7' and 行数=0;"
                       "update 文本 set 行数=0 where 标题='标题9' and 行数=1;");
    EXPECT_GT(count(QStringLiteral("select count(*) from 标题待排")), 0);
    EXPECT_EQ(orderedByReader(), orderedByQuery());
    EXPECT_EQ(count(QStringLiteral("select count(*) from 标题待排")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from 标题次序")),
              count(QStringLiteral("select count(*) from 文本 where 行数=0")));
}

// So many changed rows that making the order anew is faster than folding them in one by one.
TEST_F(TitleOrderTest, ABookWrittenWholeByAnotherToolIsOrderedAsWell)
{
    add(QStringLiteral("先有的"));
    orderedByReader();
    writeAsAnotherTool("with recursive n(i) as (select 1 union all select i + 1 from n where i < 60000)"
                       " insert into 文本 select '标题' || (i * 7919 % 60000) || '号', 0, 'x' from n");
    const std::vector<QString> expected = orderedByQuery();
    ASSERT_EQ(expected.size(), 60001u);
    EXPECT_EQ(orderedByReader(), expected);
}

TEST_F(TitleOrderTest, AnOrderThatCannotBeTrustedIsMadeAgainFromTheRows)
{
    for (int i = 0; i < 10; ++i)
        add(QStringLiteral("资料%1").arg(9 - i));
    // A store made before the order existed.
    writeAsAnotherTool("drop table 标题次序; drop table 标题待排; drop table 标题次序状态;"
                       "drop trigger 标题记增; drop trigger 标题记删; drop trigger 标题记改;");
    EXPECT_EQ(orderedByReader(), orderedByQuery());

    // A trigger dropped: the changes made meanwhile went unrecorded.
    writeAsAnotherTool("drop trigger 标题记增; insert into 文本 values('没记下的', 0, 'x');");
    EXPECT_EQ(orderedByReader(), orderedByQuery());
    writeAsAnotherTool("insert into 文本 values('记下的', 0, 'x')");
    EXPECT_EQ(orderedByReader(), orderedByQuery());

    // Keys made by another version of the collation, and recording left off.
    writeAsAnotherTool("update 标题次序 set 键=x'01'; update 标题次序状态 set 探针=x'00'");
    EXPECT_EQ(orderedByReader(), orderedByQuery());
    writeAsAnotherTool("update 标题次序状态 set 记录=0; insert into 文本 values('关着时写的', 0, 'x')");
    EXPECT_EQ(orderedByReader(), orderedByQuery());
    EXPECT_EQ(orderedByReader().size(), 13u);
}

TEST_F(TitleOrderTest, NothingIsWrittenWhenNothingChangedAndAStoreWithoutTheTextTableIsRefused)
{
    add(QStringLiteral("甲"));
    orderedByReader();
    // The engine counts every committed write in the file's header.
    const auto changeCounter = [&] { return testing_support::readBytes(folder.storePath()).mid(24, 4); };
    const QByteArray before = changeCounter();
    EXPECT_EQ(orderedByReader(), std::vector<QString>{QStringLiteral("甲")});
    EXPECT_EQ(changeCounter(), before);

    writeAsAnotherTool("drop table 文本");
    EXPECT_THROW(TitleReader reader(folder.storePath()), store::StoreError);
}

} // namespace
