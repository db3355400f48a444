// Making an empty store and reading what a store holds.
#include "support/ProgramFolder.h"

#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QStringList columnsOf(const QString& storePath, const QString& table)
{
    store::Connection connection(storePath);
    store::SqliteStatement info(connection, QStringLiteral("pragma table_info(\"%1\")").arg(table));
    QStringList columns;
    while (info.step())
        columns << info.column(1).toString() + u' ' + info.column(2).toString();
    return columns;
}

TEST(Schema, NewStoreHasBothTablesWithTheirColumnsInOrder)
{
    testing_support::ProgramFolder folder;
    EXPECT_EQ(columnsOf(folder.storePath(), "文本"),
              (QStringList{"标题 TEXT", "行数 INTEGER", "内容 TEXT"}));
    EXPECT_EQ(columnsOf(folder.storePath(), "图片"),
              (QStringList{"图片名称 TEXT", "图片描述 TEXT", "Isbmp INTEGER", "Myimage BLOB",
                           "备注 TEXT"}));
    const auto counts = store::countRows(folder.storePath());
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts[0].rows, 0);
    EXPECT_EQ(counts[1].rows, 0);
}

QString titleListPlan(const QString& storePath)
{
    store::Connection connection(storePath);
    store::SqliteStatement plan(connection,
                                QStringLiteral("explain query plan select 标题 from 文本 where 行数=0"));
    QString steps;
    while (plan.step())
        steps += plan.column(3).toString() + u'\n';
    return steps;
}

// The title list reads its titles from an index of line 0 only, in new stores and, once added
// at start-up, in stores made before the index existed.
TEST(Schema, TheTitleListIsServedByAnIndexOfTheFirstLines)
{
    testing_support::ProgramFolder folder;
    EXPECT_TRUE(titleListPlan(folder.storePath()).contains("文本标题列表"));
    store::Connection(folder.storePath()).exec(QStringLiteral("drop index 文本标题列表"));
    EXPECT_FALSE(titleListPlan(folder.storePath()).contains("文本标题列表"));
    store::addTitleListIndex(folder.storePath());
    EXPECT_TRUE(titleListPlan(folder.storePath()).contains("文本标题列表"));
    store::addTitleListIndex(folder.storePath());  // once is enough; again changes nothing
}

TEST(Schema, AStoreWithoutTheTextTableIsLeftAsItIs)
{
    testing_support::ProgramFolder folder(testing_support::ProgramFolder::Store::None);
    const QString path = folder.file("Data/current.mdb");
    QFile(path).open(QIODevice::WriteOnly);
    store::addTitleListIndex(path);
    EXPECT_EQ(QFile(path).size(), 0);
}

TEST(Schema, CreateNeverTouchesAFileThatExists)
{
    testing_support::ProgramFolder folder(testing_support::ProgramFolder::Store::None);
    const QString path = folder.file("Data/current.mdb");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("my own notes");
    file.close();
    EXPECT_THROW(store::createStore(path), store::StoreError);
    EXPECT_EQ(testing_support::readBytes(path), QByteArray("my own notes"));
}

TEST(Schema, CountingAFileThatIsNoStoreReportsTheEnginesError)
{
    testing_support::ProgramFolder folder(testing_support::ProgramFolder::Store::None);
    const QString path = folder.file("Data/current.mdb");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    try {
        store::countRows(path);
        FAIL();
    } catch (const store::StoreError& error) {
        EXPECT_STREQ(error.what(), "文件不是数据库文件（SQLite 错误 26：file is not a database）");
    }
    EXPECT_EQ(testing_support::readBytes(path), QByteArray(4096, 'x'));
}

} // namespace
