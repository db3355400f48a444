// Export and import of the whole book on a real store: file bytes, order, round trips, the
// progress they report, and that a failed import leaves the store exactly as it was.
#include "support/ProgramFolder.h"

#include "exchange/BookTransfer.h"
#include "exchange/ExchangeFile.h"
#include "text/FileReplacement.h"
#include "text/TextFile.h"
#include "store/Query.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <cerrno>
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

// A book of several megabytes is written on in pieces; the file is the same as gathered whole,
// an import over the full store leaves exactly the file's rows, and the export of the result is
// the same file again.
TEST_F(BookTransferTest, ALargeBookWrittenInPiecesComesBackWhole)
{
    QByteArray book = kStamp.toLatin1() + "\r\n";
    for (int entry = 0; entry < 300; ++entry) {
        book += textfile::encode(QStringLiteral("~0~1~资料%1\r\n").arg(entry, 3, 10, QChar(u'0')));
        for (int line = 0; line < 100; ++line)
            book += textfile::encode(QStringLiteral("第%1行，it's 100%%：").arg(line)
                                     + QString(40 + line % 7, QChar(u'字')) + QStringLiteral("\r\n"));
    }
    ASSERT_GT(book.size(), 3 << 20);
    addEntry(folder.storePath(), "old", {"1", "2"});
    CountingProgress progress;
    import(book, progress);
    EXPECT_EQ(progress.maximum, 2 + 300 * 101);
    EXPECT_EQ(progress.steps, 2 + 300 * 100);
    EXPECT_EQ(storedRows().size(), 300 * 100);
    EXPECT_EQ(exportToBytes(), book);
    NoProgress none;
    EXPECT_EQ(gatherBook(query, listTitles(query), kStamp, none), book);
}

// A store error while the book is read ends the export with no file and no temporary file.
TEST_F(BookTransferTest, AStoreErrorLeavesNoFileBehind)
{
    addEntry(folder.storePath(), "T", {"x"});
    store::Connection(folder.storePath()).exec(QStringLiteral("drop table 文本"));
    NoProgress none;
    EXPECT_THROW(exportBook(query, kStamp, folder.file("book.mz"), none), store::StoreError);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).filter("book.mz"),
              QStringList());
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

// Titles whose bytes differ but read as the same text (malformed GB18030, cut UTF-8 sequences
// after a byte-order mark) are refused naming both lines, the store untouched; a title repeated
// byte for byte still gives a second run of rows.
TEST_F(BookTransferTest, TitlesThatReadAlikeAreRefusedNamingTheirLines)
{
    addEntry(folder.storePath(), "kept", {"1"});
    const QStringList before = storedRows();
    NoProgress none;
    const auto refusal = [&](const QByteArray& bytes) {
        const ExchangeFile file = parseExchangeFile(bytes);
        EXPECT_TRUE(file.accepted);
        try {
            replaceBook(query, file, none);
        } catch (const ImportRefused& error) {
            return QString::fromUtf8(error.what());
        }
        return QString();
    };
    const QString gb = refusal("2008-03-15 10:05:09\r\n~0~1~A\x81\r\none\r\n~0~1~A\x82\r\ntwo\r\n");
    EXPECT_TRUE(gb.startsWith(QStringLiteral("无法导入：第 4 行与第 2 行的标题字节不同，却都读作“A\uFFFD”")))
        << gb.toStdString();
    EXPECT_EQ(storedRows(), before);
    const QString utf8 = refusal("\xEF\xBB\xBF" "2008-03-15 10:05:09\r\n~0~1~\xE4\xB8\r\na\r\nb\r\n"
                                 "~0~1~x\r\n~0~1~\xE6\x96\r\nc\r\n");
    EXPECT_TRUE(utf8.startsWith(QStringLiteral("无法导入：第 6 行与第 2 行"))) << utf8.toStdString();
    EXPECT_EQ(storedRows(), before);

    import("2008-03-15 10:05:09\r\n~0~1~A\x81\r\none\r\n~0~1~A\x81\r\ntwo\r\n", none);
    EXPECT_EQ(storedRows(), QStringList({"A\uFFFD|0|one", "A\uFFFD|0|two"}));
}

// A title stored in two runs is listed twice, but its statement already returns every row of
// both: each row is written once.
TEST_F(BookTransferTest, ATitleListedTwiceIsWrittenOnce)
{
    NoProgress none;
    import("2008-03-15 10:05:09\r\n~0~1~T\r\na\r\n~0~1~T\r\nb\r\n", none);
    CountingProgress progress;
    const QByteArray file = gatherBook(query, listTitles(query), kStamp, progress);
    EXPECT_EQ(file.count("\r\n"), 1 + 1 + 2);
    EXPECT_EQ(progress.maximum, 2);
    EXPECT_EQ(progress.steps, 2);
}

// The store finds "T" equal to "t", and "a\0x" to "a\0y" (its comparison stops at a NUL); each
// entry still comes back with its own title and lines, and the book never grows.
TEST_F(BookTransferTest, TitlesTheStoreFindsEqualKeepTheirOwnLinesThroughExportAndImport)
{
    const QString nulX = QStringLiteral("a") + QChar(0) + u'x';
    const QString nulY = QStringLiteral("a") + QChar(0) + u'y';
    addEntry(folder.storePath(), nulX, {"x0", QStringLiteral("x") + QChar(0) + u'1'});
    addEntry(folder.storePath(), nulY, {"y0"});
    addEntry(folder.storePath(), "T", {"upper"});
    addEntry(folder.storePath(), "t", {"lower0", "lower1"});
    QStringList before = storedRows();
    before.sort();
    const QByteArray file = exportToBytes();
    EXPECT_EQ(file.count("\r\n"), 1 + 4 + 6);
    EXPECT_TRUE(file.contains(QByteArray("~0~1~a\0y\r\ny0\r\n~0~1~", 19)));
    for (int cycle = 0; cycle < 2; ++cycle) {
        NoProgress none;
        import(exportToBytes(), none);
        QStringList after = storedRows();
        after.sort();
        EXPECT_EQ(after, before);
    }
}

// 学校 and 医院 are D1 A7 D0 A3 and D2 BD D4 BA: valid UTF-8 ("ѧУ", "ҽԺ"), as is 一 (D2 BB).
TEST_F(BookTransferTest, GbTextThatIsAlsoValidUtf8ComesBackUnchanged)
{
    addEntry(folder.storePath(), QString::fromUtf8("学校"), {QString::fromUtf8("一")});
    addEntry(folder.storePath(), QString::fromUtf8("医院"), {QString::fromUtf8("一"), ""});
    const QStringList before = storedRows();
    NoProgress none;
    import(exportToBytes(), none);
    QStringList after = storedRows();
    EXPECT_EQ(QSet<QString>(after.begin(), after.end()), QSet<QString>(before.begin(), before.end()));
    EXPECT_TRUE(after.contains(QString::fromUtf8("学校|0|一")));
}

// Another connection holding the write lock (a writer at work, or an export of an earlier
// version) does not stop an export, which only reads.
TEST_F(BookTransferTest, ExportReadsWhileAnotherConnectionHoldsTheWriteLock)
{
    addEntry(folder.storePath(), "T", {"x"});
    store::Connection other(folder.storePath());
    other.begin(store::Connection::TransactionKind::Write);
    EXPECT_EQ(exportToBytes(), textfile::encode(kStamp + QStringLiteral("\r\n~0~1~T\r\nx\r\n")));
    other.commit();
}

TEST_F(BookTransferTest, AFailedExportKeepsTheOldFileWhole)
{
    addEntry(folder.storePath(), "T", {"x"});
    const QByteArray old = exportToBytes(QStringLiteral("2001-01-01 00:00:00"));
    addEntry(folder.storePath(), "U", {"y"});
    NoProgress none;
    EXPECT_THROW(exportBook(query, kStamp, "/dev/full", none), textfile::FileError);
    const auto failingFlush = [](int) { errno = ENOSPC; return -1; };
    const textfile::FlushCall previous = textfile::setFlushCallForTesting(failingFlush);
    EXPECT_THROW(exportBook(query, kStamp, folder.file("book.mz"), none), textfile::FileError);
    textfile::setFlushCallForTesting(previous);
    EXPECT_EQ(testing_support::readBytes(folder.file("book.mz")), old);
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

// An export reads through a small cache and no memory map; afterwards, failed or not, the
// program's connection is back to its own settings.
TEST_F(BookTransferTest, ExportAndImportGiveTheConnectionItsPageSettingsBack)
{
    addEntry(folder.storePath(), "T", {"x"});
    const auto setting = [this](const char* pragma) {
        store::SqliteStatement read(query.connection(), QStringLiteral("pragma %1").arg(QLatin1String(pragma)));
        EXPECT_TRUE(read.step());
        return read.column(0).toLongLong();
    };
    const auto expectOwnSettings = [&] {
        EXPECT_EQ(setting("cache_size"), -store::kPageCacheKiB);
        EXPECT_EQ(setting("mmap_size"), store::kMemoryMapBytes);
    };
    exportToBytes();
    expectOwnSettings();
    NoProgress none;
    EXPECT_THROW(exportBook(query, kStamp, "/dev/full", none), textfile::FileError);
    expectOwnSettings();
    import(exportToBytes(), none);
    expectOwnSettings();
}
