// The data layer: moving, the at-start / at-end markers, the after-scroll notification, new and
// deleted rows, client-side sort, lazily read pictures and transactions.
#include "support/ProgramFolder.h"

#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

using store::Query;
using testing_support::ProgramFolder;
namespace statements = store::statements;

namespace {

class PictureQueryTest : public ::testing::Test {
protected:
    void addPictures(const QStringList& names)
    {
        for (const QString& name : names)
            testing_support::addPicture(folder.storePath(), name, name + QStringLiteral(" 描述"), 0,
                                        QByteArray("BM") + name.toUtf8());
    }
    void openAll()
    {
        query.setStorePath(folder.storePath());
        query.setStatement(statements::allPictures());
        query.setAfterScroll([this] { ++scrolls; });
        query.open();
    }
    QString currentName() const { return query.fieldText(QStringLiteral("图片名称")); }

    ProgramFolder folder;
    Query query;
    int scrolls = 0;
};

TEST_F(PictureQueryTest, OpeningFiresOnlyWhenThereAreRows)
{
    openAll();
    EXPECT_EQ(scrolls, 0);
    EXPECT_TRUE(query.atStart());
    EXPECT_TRUE(query.atEnd());
    EXPECT_EQ(query.recNo(), -1);

    addPictures({"a", "b"});
    query.open();
    EXPECT_EQ(scrolls, 1);
    EXPECT_TRUE(query.atStart());
    EXPECT_FALSE(query.atEnd());
    EXPECT_EQ(query.recNo(), 1);
}

TEST_F(PictureQueryTest, FirstAndLastAlwaysFireEvenOnAnEmptyAlbum)
{
    openAll();
    query.first();
    query.last();
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(query.recNo(), -1);
}

TEST_F(PictureQueryTest, StepsFireUntilTheMarkerOfTheirDirectionIsSet)
{
    addPictures({"a", "b", "c"});
    openAll();
    scrolls = 0;

    query.prior();  // at start after opening: nothing at all
    EXPECT_EQ(scrolls, 0);

    query.next();
    query.next();
    EXPECT_EQ(currentName(), "c");
    EXPECT_EQ(scrolls, 2);
    EXPECT_FALSE(query.atEnd());

    query.next();  // finds no row: sets at-end, still fires, stays on the last row
    EXPECT_EQ(scrolls, 3);
    EXPECT_TRUE(query.atEnd());
    EXPECT_EQ(currentName(), "c");

    query.next();  // already at end: nothing
    EXPECT_EQ(scrolls, 3);

    query.prior();
    EXPECT_EQ(currentName(), "b");
    EXPECT_FALSE(query.atEnd());
    EXPECT_EQ(scrolls, 4);
}

TEST_F(PictureQueryTest, DeleteMakesTheNextRowCurrentOrTheNewLastRow)
{
    addPictures({"a", "b", "c"});
    openAll();
    query.next();
    scrolls = 0;

    query.deleteCurrent();
    EXPECT_EQ(currentName(), "c");
    EXPECT_EQ(query.recordCount(), 2);
    EXPECT_EQ(scrolls, 1);

    query.deleteCurrent();
    EXPECT_EQ(currentName(), "a");
    EXPECT_FALSE(query.atStart());
    EXPECT_FALSE(query.atEnd());

    query.deleteCurrent();
    EXPECT_TRUE(query.isEmpty());
    EXPECT_TRUE(query.atStart());
    EXPECT_TRUE(query.atEnd());
    EXPECT_EQ(scrolls, 3);

    query.open();
    EXPECT_EQ(query.recordCount(), 0);  // the rows are gone from the store too
    EXPECT_THROW(query.deleteCurrent(), store::StoreError);
}

TEST_F(PictureQueryTest, NewRowFiresWhenBegunButNotWhenPosted)
{
    addPictures({"a"});
    openAll();
    scrolls = 0;

    query.append();
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(query.recNo(), -1);
    query.setField(0, QStringLiteral("新图"));
    query.setField(QStringLiteral("Isbmp"), 1);
    query.setField(QStringLiteral("Myimage"), QByteArray("\xFF\xD8 jpeg", 7));
    query.post();
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_EQ(currentName(), "新图");

    query.next();  // the move after adding a picture shows it once more
    EXPECT_EQ(scrolls, 2);
    EXPECT_TRUE(query.atEnd());

    query.open();
    query.last();
    EXPECT_EQ(query.fieldBytes(QStringLiteral("Myimage")), QByteArray("\xFF\xD8 jpeg", 7));
    EXPECT_EQ(query.field(2).toInt(), 1);
}

// Pictures are read from the store when asked for; every kind of stored value reads as before:
// a BLOB as its bytes, a text as UTF-8, a number as its digits, null as nothing, large or not.
TEST_F(PictureQueryTest, PicturesReadWhenAskedForKeepEveryKindOfStoredValue)
{
    QByteArray large(3 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char(i * 7 + i / 4096);
    addPictures({"blob", "large", "text", "number", "null", "empty"});
    store::Connection connection(folder.storePath());
    store::SqliteStatement set(connection, QStringLiteral("update 图片 set Myimage=? where 图片名称=?"));
    for (const auto& [name, value] : std::vector<std::pair<QString, QVariant>>{
             {"large", large}, {"text", QStringLiteral("文字 text")}, {"number", 42},
             {"null", QVariant()}, {"empty", QByteArray("")}}) {
        set.reset();
        set.bindAll({value, name});
        set.step();
    }
    openAll();
    const std::vector<QByteArray> expected{"BMblob", large, "文字 text", "42", {}, {}};
    for (int row = 0; row < query.recordCount(); ++row) {
        EXPECT_EQ(query.bytesAt(row, 3), expected[size_t(row)]) << row;
        query.moveTo(row);
        EXPECT_EQ(query.fieldBytes(QStringLiteral("Myimage")), expected[size_t(row)]) << row;
    }
    EXPECT_EQ(query.field(QStringLiteral("Myimage")), QVariant(QByteArray("")));
    EXPECT_EQ(query.bytesAt(query.recordCount(), 3), QByteArray());  // past the last row
    connection.exec(QStringLiteral("delete from 图片 where 图片名称='blob'"));
    EXPECT_EQ(query.bytesAt(0, 3), QByteArray());  // a row deleted elsewhere
}

// A picture read piece by piece on a connection of its own (the decoding thread's): any slice is
// the stored bytes, a row changed meanwhile is an error rather than a mix of two pictures, and a
// read-only connection never writes.
TEST_F(PictureQueryTest, StoredBytesReadInPiecesOnAnotherConnection)
{
    QByteArray large(1 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char(i * 13 + i / 4093);
    addPictures({"a", "b"});
    store::Connection writer(folder.storePath());
    store::SqliteStatement set(writer, QStringLiteral("update 图片 set Myimage=? where 图片名称='b'"));
    set.bind(1, large);
    set.step();
    openAll();
    ASSERT_EQ(query.valueAt(1, 0).toString(), "b");
    const qint64 rowid = query.rowidAt(1);
    EXPECT_THROW(query.rowidAt(2), store::StoreError);

    store::Connection reader(folder.storePath(), store::Connection::Mode::ReadOnly);
    const QString table = QStringLiteral("图片"), column = QStringLiteral("Myimage");
    {
        const std::unique_ptr<store::BlobReader> blob = store::BlobReader::open(reader, table, column, rowid);
        ASSERT_TRUE(blob);
        ASSERT_EQ(blob->size(), large.size());
        for (const auto& [offset, length] : std::vector<std::pair<qint64, qint64>>{
                 {0, 10}, {4090, 9000}, {65536, 65536}, {large.size() - 3, 3}, {0, large.size()}}) {
            QByteArray piece(length, Qt::Uninitialized);
            blob->read(offset, piece.data(), length);
            EXPECT_EQ(piece, large.mid(offset, length)) << offset;
        }
    }
    EXPECT_FALSE(store::BlobReader::open(reader, table, column, rowid + 100));
    EXPECT_FALSE(store::BlobReader::open(reader, table, QStringLiteral("Isbmp"), rowid));  // a number
    EXPECT_THROW(reader.exec(QStringLiteral("delete from 图片")), store::StoreError);

    // A row changed under an open reader is not read as a mix of two values; a later reader sees
    // the new one.
    {
        const std::unique_ptr<store::BlobReader> blob = store::BlobReader::open(writer, table, column, rowid);
        writer.exec(QStringLiteral("update 图片 set Myimage=x'4243' where 图片名称='b'"));
        char byte = 0;
        EXPECT_THROW(blob->read(0, &byte, 1), store::StoreError);
    }
    EXPECT_EQ(store::BlobReader::open(reader, table, column, rowid)->size(), 2);
}

// Every row keeps its own values, fetched or posted, through inserts, deletes, sorts and moves.
TEST_F(PictureQueryTest, RowsKeepTheirOwnValuesThroughInsertsDeletesAndSorts)
{
    addPictures({"e", "c", "a"});
    openAll();
    query.moveTo(1);
    query.insert();
    query.setField(0, QStringLiteral("d"));
    query.setField(1, QStringLiteral("d 描述"));
    query.post();
    query.append();
    query.setField(0, QStringLiteral("b"));
    query.setField(1, QStringLiteral("b 描述"));
    query.post();
    query.moveTo(2);
    ASSERT_EQ(currentName(), "c");
    query.deleteCurrent();
    query.sort(QStringLiteral("图片名称"));
    QStringList names, descriptions;
    for (int row = 0; row < query.recordCount(); ++row) {
        names << query.valueAt(row, 0).toString();
        descriptions << query.valueAt(row, 1).toString();
    }
    EXPECT_EQ(names, QStringList({"a", "b", "d", "e"}));
    EXPECT_EQ(descriptions, QStringList({"a 描述", "b 描述", "d 描述", "e 描述"}));
    query.sort(QStringLiteral("Myimage"));  // read when asked for: nothing to order by, no move
    EXPECT_EQ(query.valueAt(3, 0).toString(), "e");
}

TEST_F(PictureQueryTest, InsertPutsTheRowBeforeTheCurrentOne)
{
    addPictures({"a", "b"});
    openAll();
    query.next();
    query.insert();
    query.setField(0, QStringLiteral("x"));
    query.post();
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_EQ(query.valueAt(0, 0).toString(), "a");
    EXPECT_EQ(query.valueAt(2, 0).toString(), "b");
}

TEST_F(PictureQueryTest, RowsAreNeverChangedInPlace)
{
    addPictures({"a"});
    openAll();
    EXPECT_THROW(query.setField(0, QStringLiteral("b")), store::StoreError);
}

TEST_F(PictureQueryTest, SortOrdersClientSideClearsMarkersAndDoesNotFire)
{
    addPictures({"长江", "Banana", "apple", "北京"});
    openAll();
    scrolls = 0;
    query.sort(QStringLiteral("图片名称"));
    EXPECT_EQ(scrolls, 0);
    EXPECT_FALSE(query.atStart());
    EXPECT_FALSE(query.atEnd());
    QStringList order;
    for (int i = 0; i < query.recordCount(); ++i)
        order << query.valueAt(i, 0).toString();
    EXPECT_EQ(order, (QStringList{"apple", "Banana", "北京", "长江"}));
    EXPECT_EQ(currentName(), "长江");  // the current picture stays the same

    query.prior();  // cleared markers: this step always shows a picture
    EXPECT_EQ(scrolls, 1);
}

TEST_F(PictureQueryTest, SortCanLeaveTheFirstRowOfTheNewOrderCurrent)
{
    addPictures({"长江", "Banana", "apple", "北京"});
    openAll();
    query.next();
    scrolls = 0;
    query.sort(QStringLiteral("图片名称"), Query::AfterSort::First);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(currentName(), "apple");
    EXPECT_FALSE(query.atStart());
    query.prior();  // finds no previous row, stays on the first and refreshes
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(currentName(), "apple");
    EXPECT_TRUE(query.atStart());
}

TEST_F(PictureQueryTest, SortByFormatPutsEmptyFlagsFirstThenBmpThenJpeg)
{
    testing_support::addPicture(folder.storePath(), "j", "", 1, {});
    testing_support::addPicture(folder.storePath(), "b", "", 0, {});
    {
        store::Connection connection(folder.storePath());
        connection.exec(QStringLiteral("insert into 图片(图片名称) values('fail')"));
    }
    openAll();
    query.sort(QStringLiteral("Isbmp"));
    EXPECT_EQ(query.valueAt(0, 0).toString(), "fail");
    EXPECT_EQ(query.valueAt(1, 0).toString(), "b");
    EXPECT_EQ(query.valueAt(2, 0).toString(), "j");
}

TEST_F(PictureQueryTest, PicturesAreReadFromTheStoreOnlyWhenAskedFor)
{
    addPictures({"a"});
    openAll();
    // Deleting the bytes behind the query's back shows that open kept no copy of them.
    store::Connection(folder.storePath()).exec(QStringLiteral("update 图片 set Myimage=x'0102'"));
    EXPECT_EQ(query.fieldBytes(QStringLiteral("Myimage")), QByteArray("\x01\x02", 2));
    EXPECT_EQ(query.fieldText(QStringLiteral("图片名称")), "a");  // other columns were fetched
}

// Listing the album reads the rows' first pages only: the fifth column, stored after the
// picture, is read when asked for, so that opening never reads through the pictures' pages.
TEST_F(PictureQueryTest, OpeningReadsNoPagesOfThePictures)
{
    constexpr int kPictures = 20;
    for (int i = 0; i < kPictures; ++i)
        testing_support::addPicture(folder.storePath(), QString::number(i), QString(), 1,
                                    QByteArray(64 * 1024, char('a' + i)));
    store::Connection(folder.storePath()).exec(QStringLiteral("update 图片 set 备注='注' || rowid"));
    query.setStorePath(folder.storePath());
    query.connection().exec(QStringLiteral("pragma mmap_size=0"));  // every page through the cache
    int misses = 0, highest = 0;
    ASSERT_EQ(sqlite3_db_status(query.connection().handle(), SQLITE_DBSTATUS_CACHE_MISS, &misses,
                                &highest, 1), SQLITE_OK);
    query.setStatement(statements::allPictures());
    query.open();
    ASSERT_EQ(sqlite3_db_status(query.connection().handle(), SQLITE_DBSTATUS_CACHE_MISS, &misses,
                                &highest, 0), SQLITE_OK);
    EXPECT_LT(misses, 3 * kPictures);  // each picture alone spans 16 pages
    EXPECT_EQ(query.recordCount(), kPictures);
    query.moveTo(3);
    EXPECT_EQ(query.fieldText(4), QStringLiteral("注4"));
    EXPECT_EQ(query.fieldBytes(3), QByteArray(64 * 1024, 'd'));
}

TEST_F(PictureQueryTest, SearchResultReplacesTheWholeAlbum)
{
    addPictures({"猫", "狗", "猫猫"});
    openAll();
    query.setStatement(statements::fuzzyPictureSearch(statements::PictureColumn::Name,
                                                      QStringLiteral("猫")));
    query.open();
    EXPECT_EQ(query.recordCount(), 2);
    query.setStatement(statements::exactPictureSearch(statements::PictureColumn::Description,
                                                      QStringLiteral("狗 描述")));
    query.open();
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(currentName(), "狗");
}

class TextQueryTest : public ::testing::Test {
protected:
    TextQueryTest() { query.setStorePath(folder.storePath()); }
    int rowCount()
    {
        query.setStatement(statements::allEntryRows());
        query.open();
        return query.recordCount();
    }

    ProgramFolder folder;
    Query query;
};

TEST_F(TextQueryTest, RollbackLeavesStoreAndResultAsBefore)
{
    testing_support::addEntry(folder.storePath(), "旧", {"1", "2"});
    query.setStatement(statements::allEntryRows());
    query.open();
    {
        Query::Transaction transaction(query);
        query.deleteCurrent();
        query.deleteCurrent();
        query.append();
        query.setField(0, QStringLiteral("新"));
        query.post();
        // no commit: as if a later write had failed
    }
    EXPECT_EQ(query.recordCount(), 2);
    EXPECT_EQ(query.fieldText(0), "旧");
    EXPECT_EQ(rowCount(), 2);
}

TEST_F(TextQueryTest, CommittedTransactionKeepsEveryRow)
{
    query.setStatement(statements::entryRows(QStringLiteral("t")));
    query.open();
    Query::Transaction transaction(query);
    for (int i = 0; i < 100; ++i) {
        query.append();
        query.setField(0, QStringLiteral("t"));
        query.setField(1, QString::number(i));
        query.setField(2, QStringLiteral("line %1").arg(i));
        query.post();
    }
    transaction.commit();
    EXPECT_EQ(rowCount(), 100);
}

TEST_F(TextQueryTest, MissingValueReadsAsEmptyText)
{
    store::Connection(folder.storePath()).exec(QStringLiteral("insert into 文本 values('t',0,NULL)"));
    query.setStatement(statements::entryLinesInOrder(QStringLiteral("t")));
    query.open();
    EXPECT_TRUE(query.fieldText(2).isEmpty());
    EXPECT_EQ(query.fieldNames(), (QStringList{"标题", "行数", "内容"}));
}

// The title list names one column: only that column is fetched, in Chinese order, and the rest
// of a row is still there when asked for, also for a row posted through the same query.
TEST_F(TextQueryTest, ANamedColumnIsFetchedAloneAndTheOthersAreReadWhenAskedFor)
{
    testing_support::addEntry(folder.storePath(), "乙", {"乙的第一行", "2"});
    testing_support::addEntry(folder.storePath(), "甲", {"甲的第一行"});
    query.setStatement(statements::allTitles());
    query.open();
    ASSERT_EQ(query.recordCount(), 2);
    EXPECT_EQ(query.valueAt(0, 0).toString(), "甲");
    EXPECT_EQ(query.valueAt(1, 0).toString(), "乙");
    EXPECT_EQ(query.valueAt(1, 2).toString(), "乙的第一行");
    EXPECT_EQ(query.fieldText(1), "0");
    query.append();
    query.setField(0, QStringLiteral("丙"));
    query.setField(1, 0);
    query.setField(2, QStringLiteral("丙的第一行"));
    query.post();
    EXPECT_EQ(query.fieldText(2), "丙的第一行");
    EXPECT_EQ(rowCount(), 4);
}

// The bulk paths keep no rows: a delete of what a statement selects is one statement, rows are
// read as text straight from the store, and rows written through the prepared insert are
// rolled back with the transaction like any other write.
TEST_F(TextQueryTest, BulkDeleteRemovesOnlyTheSelectedRowsAndCountsThem)
{
    testing_support::addEntry(folder.storePath(), "甲", {"1", "2", "3"});
    testing_support::addEntry(folder.storePath(), "乙", {"x"});
    query.setStatement(statements::allEntryRows());
    query.open();
    EXPECT_EQ(query.deleteRows(statements::entryRows(QStringLiteral("甲"))), 3);
    EXPECT_FALSE(query.isOpen());
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(query.deleteRows(statements::allEntryRows()), 1);
    EXPECT_EQ(rowCount(), 0);
    EXPECT_THROW(query.deleteRows({QStringLiteral("pragma page_count"), {}}), store::StoreError);
}

TEST_F(TextQueryTest, RowsAreHandedOverInOrderAndAKeptStatementTakesNewParameters)
{
    testing_support::addEntry(folder.storePath(), "甲", {"第一行", "", "it's 100%"});
    testing_support::addEntry(folder.storePath(), "乙", {"乙行"});
    const auto texts = [&](const QString& title) {
        QStringList seen;
        query.forEachRow(statements::entryTextsInOrder(title), [&](const Query::RowView& row) {
            seen << row.text(0).toString() + u'|' + row.text(1).toString();
        });
        return seen;
    };
    EXPECT_EQ(texts(QStringLiteral("甲")), (QStringList{"甲|第一行", "甲|", "甲|it's 100%"}));
    EXPECT_EQ(texts(QStringLiteral("乙")), QStringList{"乙|乙行"});
    EXPECT_EQ(texts(QStringLiteral("丙")), QStringList());
    EXPECT_FALSE(query.isOpen());
    // A visitor that throws leaves no read lock behind: a writer can still commit.
    EXPECT_THROW(query.forEachRow(statements::entryTextsInOrder(QStringLiteral("甲")),
                                  [](const Query::RowView&) { throw store::StoreError("stop"); }),
                 store::StoreError);
    store::Connection(folder.storePath()).exec(QStringLiteral("delete from 文本"));
    EXPECT_EQ(rowCount(), 0);
}

TEST_F(TextQueryTest, WrittenRowsLeaveUnsetColumnsEmptyAndGoWithARollback)
{
    testing_support::addEntry(folder.storePath(), "旧", {"1"});
    {
        Query::Transaction transaction(query);
        query.deleteRows(statements::allEntryRows());
        Query::RowWriter rows(query, QStringLiteral("文本"));
        const QString title = QStringLiteral("新");
        for (int i = 0; i < 3; ++i) {
            const QString text = QStringLiteral("行%1").arg(i);
            rows.setText(0, title);
            rows.setInteger(1, i);
            if (i != 1)
                rows.setText(2, text);
            rows.write();
        }
        EXPECT_THROW(rows.setInteger(3, 0), store::StoreError);
        EXPECT_EQ(rowCount(), 3);
        query.setStatement(statements::entryLinesInOrder(QStringLiteral("新")));
        query.open();
        query.next();
        EXPECT_TRUE(query.field(2).isNull());
        EXPECT_EQ(query.field(1).toLongLong(), 1);
        query.close();
        // no commit: as if a later write had failed
    }
    query.setStatement(statements::allEntryRows());
    query.open();
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.fieldText(0), "旧");
}

TEST(QueryFailures, StoreErrorsCarryTheEnginesOwnMessage)
{
    ProgramFolder folder(ProgramFolder::Store::None);
    Query query;
    query.setStorePath(folder.storePath());
    query.setStatement(statements::allPictures());
    try {
        query.open();
        FAIL() << "a missing store must not open";
    } catch (const store::StoreError& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).endsWith("：无法打开数据文件（SQLite 错误 14：unable to open database file）"));
    }
    EXPECT_FALSE(QFileInfo::exists(folder.storePath()));  // nothing was created
}

// How many of this process's open files are the file at path.
int openHandlesOf(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    int handles = 0;
    for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files))
        if (fd.symLinkTarget() == target)
            ++handles;
    return handles;
}

TEST(QueryFailures, ReleasedQueryNoLongerHoldsTheStore)
{
    ProgramFolder folder;
    Query query;
    query.setStorePath(folder.storePath());
    query.setStatement(statements::allTitles());
    query.open();
    EXPECT_GE(openHandlesOf(folder.storePath()), 1);
    query.release();
    EXPECT_EQ(openHandlesOf(folder.storePath()), 0);
    EXPECT_FALSE(query.isOpen());
    EXPECT_THROW(query.open(), store::StoreError);
}

} // namespace

// A read of a whole result set goes through a small cache without the memory map; the
// connection's own settings come back when the outermost such read ends.
TEST_F(PictureQueryTest, OnePassReadsNestAndGiveTheSettingsBack)
{
    addPictures({"猫", "狗"});
    openAll();
    store::Connection& connection = query.connection();
    const auto setting = [&connection](const char* pragma) {
        store::SqliteStatement read(connection, QStringLiteral("pragma %1").arg(QLatin1String(pragma)));
        EXPECT_TRUE(read.step());
        return read.column(0).toLongLong();
    };
    {
        const store::Connection::OnePassReads outer(connection);
        EXPECT_EQ(setting("mmap_size"), 0);
        const qint64 small = setting("cache_size");
        EXPECT_GT(small, -store::kPageCacheKiB);
        query.open();  // a fetch inside: one more pass of its own
        EXPECT_EQ(query.recordCount(), 2);
        EXPECT_EQ(setting("mmap_size"), 0);
        EXPECT_EQ(setting("cache_size"), small);
    }
    EXPECT_EQ(setting("mmap_size"), store::kMemoryMapBytes);
    EXPECT_EQ(setting("cache_size"), -store::kPageCacheKiB);
    query.open();
    EXPECT_EQ(setting("mmap_size"), store::kMemoryMapBytes);
}
