// Export and import of the whole book on a real store: file bytes, order, round trips, the
// progress they report, and that a failed import leaves the store exactly as it was.
#include "support/ProgramFolder.h"

#include "exchange/BookTransfer.h"
#include "exchange/ExchangeFile.h"
#include "text/TextFile.h"
#include "store/Query.h"
#include "store/Sqlite.h"

#include <gtest/gtest.h>

using namespace exchange;
using testing_support::addEntry;

namespace {

const QString kStamp = QStringLiteral("2008-03-15 10:05:09");

class CountingProgress : public Progress {
public:
    void begin(int max) override { maximum = max; }
    void step() override { ++steps; }
    int maximum = -1;
    int steps = 0;
};

class BookTransferTest : public ::testing::Test {
protected:
    BookTransferTest() { query.setStorePath(folder.storePath()); }

    QByteArray exportToBytes(const QString& stamp = kStamp)
    {
        NoProgress none;
        exportBook(query, stamp, folder.file("book.mz"), none);
        return testing_support::readBytes(folder.file("book.mz"));
    }
    void import(const QByteArray& bytes, Progress& progress)
    {
        const ExchangeFile file = parseExchangeFile(bytes);
        ASSERT_TRUE(file.accepted);
        replaceBook(query, file, progress);
    }
    // Every row of the store as "title|number|text", in insertion order.
    QStringList storedRows()
    {
        store::Connection connection(folder.storePath());
        store::SqliteStatement select(connection,
                                      QStringLiteral("select 标题, 行数, 内容 from 文本 order by rowid"));
        QStringList rows;
        while (select.step())
            rows << select.column(0).toString() + u'|' + select.column(1).toString() + u'|'
                        + select.column(2).toString();
        return rows;
    }

    testing_support::ProgramFolder folder;
    store::Query query;
};

} // namespace

TEST_F(BookTransferTest, ExportWritesTheWorkedExampleByteForByte)
{
    addEntry(folder.storePath(), QString::fromUtf8("会议"), {QString::fromUtf8("周一"), ""});
    addEntry(folder.storePath(), QString::fromUtf8("牛"), {QString::fromUtf8("牛奶")});
    const QString expected = kStamp + QString::fromUtf8("\r\n~0~1~会议\r\n周一\r\n\r\n~0~1~牛\r\n牛奶\r\n");
    EXPECT_EQ(exportToBytes(), textfile::encode(expected));
}

TEST_F(BookTransferTest, AnEmptyBookGivesOnlyTheStampAndTwoExportsDifferOnlyThere)
{
    EXPECT_EQ(exportToBytes(), kStamp.toLatin1() + "\r\n");
    EXPECT_FALSE(parseExchangeFile(exportToBytes()).accepted);

    addEntry(folder.storePath(), "b", {"x"});
    const QByteArray first = exportToBytes();
    const QByteArray second = exportToBytes(QStringLiteral("2009-01-01 00:00:00"));
    EXPECT_EQ(first.mid(19), second.mid(19));
    EXPECT_NE(first.left(19), second.left(19));
}

TEST_F(BookTransferTest, RoundTripKeepsOddTitlesLongLinesAndEmptyLastLines)
{
    const QString longLine(100000, QChar(u'字'));
    addEntry(folder.storePath(), QString::fromUtf8("it's 100%_中文"), {"a", longLine, ""});
    addEntry(folder.storePath(), "  spaced ", {"\t tab"});
    const QStringList before = storedRows();
    const QByteArray file = exportToBytes();
    NoProgress none;
    import(file, none);
    EXPECT_EQ(storedRows().size(), before.size());
    EXPECT_EQ(exportToBytes(), file);
}

TEST_F(BookTransferTest, ImportReplacesTheWholeBookAndReportsEveryDeletedAndInsertedRow)
{
    addEntry(folder.storePath(), "old", {"1", "2", "3"});
    addEntry(folder.storePath(), "T", {"stale"});
    CountingProgress progress;
    import("2008-03-15 10:05:09\r\n~0~1~T\r\na\r\nb\r\n~0~1~T\r\nc\r\n", progress);
    EXPECT_EQ(storedRows(), (QStringList{"T|0|a", "T|1|b", "T|0|c"}));
    EXPECT_EQ(progress.maximum, 4 + 5);
    EXPECT_EQ(progress.steps, 4 + 3);  // short by the two marker lines
}

TEST_F(BookTransferTest, AFailurePartWayLeavesTheStoreExactlyAsItWas)
{
    addEntry(folder.storePath(), "kept", {"1", "2"});
    store::Connection(folder.storePath())
        .exec(QStringLiteral("create trigger refuse before insert on 文本 when new.标题='boom' "
                             "begin select raise(abort, 'refused'); end"));
    const QStringList before = storedRows();
    NoProgress none;
    const ExchangeFile file =
        parseExchangeFile("2008-03-15 10:05:09\r\n~0~1~fine\r\na\r\n~0~1~boom\r\nb\r\n");
    EXPECT_THROW(replaceBook(query, file, none), store::StoreError);
    EXPECT_EQ(storedRows(), before);
    replaceBook(query, parseExchangeFile("2008-03-15 10:05:09\r\n~0~1~x\r\ny"), none);
    EXPECT_EQ(storedRows(), QStringList{"x|0|y"});
}

// A title stored in two runs (or in two letter cases) is listed twice, but its statement already
// returns every row of both: each row is written once.
TEST_F(BookTransferTest, ATitleListedTwiceIsWrittenOnce)
{
    NoProgress none;
    import("2008-03-15 10:05:09\r\n~0~1~T\r\na\r\n~0~1~t\r\nb\r\n", none);
    CountingProgress progress;
    const QByteArray file = gatherBook(query, listTitles(query), kStamp, progress);
    EXPECT_EQ(file.count("\r\n"), 1 + 1 + 2);
    EXPECT_EQ(progress.maximum, 2);
    EXPECT_EQ(progress.steps, 2);
}

TEST_F(BookTransferTest, AnUnwritableTargetFailsWithoutWritingAnything)
{
    addEntry(folder.storePath(), "T", {"x"});
    textfile::writeLines(folder.file("plain"), {"x"});
    NoProgress none;
    EXPECT_THROW(exportBook(query, kStamp, folder.file("plain/book.mz"), none),
                 textfile::FileError);
    EXPECT_THROW(exportBook(query, kStamp, folder.path(), none),
                 textfile::FileError);
}
