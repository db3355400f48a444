// Full-text search: what matches, in which order, and that the index in the store stays right
// through catch-up after writes by the sqlite3 shell, compaction and the book's import.
#include "support/ProgramFolder.h"

#include "exchange/BookTransfer.h"
#include "exchange/ExchangeFile.h"
#include "store/Compaction.h"
#include "store/FullText.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "text/TextFile.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using store::fulltext::Searcher;

// "title:line:text" of every match, in the result's order; reading every match at once gives the
// same lines in the same order.
QStringList found(const QString& storePath, const QString& text)
{
    Searcher searcher(storePath);
    const store::fulltext::Result result = searcher.search(text);
    QStringList hits;
    for (qsizetype i = 0; i < result.count(); ++i) {
        const store::fulltext::Hit hit = result.hit(i);
        hits << QStringLiteral("%1:%2:%3").arg(hit.title).arg(hit.lineNumber).arg(hit.line);
    }
    QStringList all;
    const qsizetype count = searcher.visitAll(text, [&](QByteArrayView title, qint64 line, QByteArrayView content) {
        all << QStringLiteral("%1:%2:%3").arg(QString::fromUtf8(title)).arg(line).arg(QString::fromUtf8(content));
    });
    EXPECT_EQ(all, hits) << text.toStdString();
    EXPECT_EQ(count, hits.size());
    return hits;
}

qint64 number(const QString& storePath, const QString& sql)
{
    store::Connection connection(storePath);
    store::SqliteStatement statement(connection, sql);
    return statement.step() ? statement.columnInt(0) : -1;
}

qint64 pendingRows(const QString& storePath)
{
    return number(storePath, QStringLiteral("select count(*) from 全文待办"));
}

// Runs SQL in the sqlite3 shell, as another tool writing the store behind the program's back.
void shell(const QString& storePath, const QString& sql)
{
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), storePath});
    ASSERT_TRUE(sqlite.waitForStarted()) << "the sqlite3 shell is needed (scripts/deps.sh test)";
    sqlite.write(sql.toUtf8());
    sqlite.closeWriteChannel();
    ASSERT_TRUE(sqlite.waitForFinished());
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    ASSERT_TRUE(sqlite.readAllStandardError().isEmpty()) << sqlite.readAllStandardError().toStdString();
}

// The book used by the matching tests.
void addSampleBook(const QString& storePath)
{
    using testing_support::addEntry;
    addEntry(storePath, QStringLiteral("张三的笔记"),
             {QStringLiteral("Hello World"), QStringLiteral("会议记录：今天讨论了进度"),
              QStringLiteral("100% 完成 it's done_now"), QStringLiteral("C:\\path\\to"),
              QStringLiteral("ａｂｃ全角 Ｈello")});
    addEntry(storePath, QStringLiteral("阿里笔记"),
             {QStringLiteral("hello again, HELLO"), QStringLiteral("abXbc"), QStringLiteral("会议")});
    addEntry(storePath, QStringLiteral("会议安排"), {QStringLiteral("无关的一行")});
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QStringLiteral("第%1行 进度").arg(i);
    addEntry(storePath, QStringLiteral("Beta"), many);
}

// Each matching case holds whether the rows are in the index (caught up) or still pending.
class FullTextMatching : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        addSampleBook(folder.storePath());
        if (GetParam())
            store::fulltext::catchUp(folder.storePath());
        ASSERT_EQ(pendingRows(folder.storePath()) == 0, GetParam());
    }
    QStringList search(const QString& text) { return found(folder.storePath(), text); }
    testing_support::ProgramFolder folder;
};

TEST_P(FullTextMatching, AsciiLettersMatchWithoutCaseAndOtherCharactersExactly)
{
    EXPECT_EQ(search(QStringLiteral("HELLO")),
              (QStringList{"阿里笔记:0:hello again, HELLO", "张三的笔记:0:Hello World"}));
    EXPECT_EQ(search(QStringLiteral("hello")).size(), 2);
    // Full-width letters are no ASCII letters: they match only themselves.
    EXPECT_EQ(search(QStringLiteral("ＡＢＣ")), QStringList{});
    EXPECT_EQ(search(QStringLiteral("ａｂｃ")), QStringList{"张三的笔记:4:ａｂｃ全角 Ｈello"});
    EXPECT_EQ(search(QStringLiteral("Ｈell")), QStringList{"张三的笔记:4:ａｂｃ全角 Ｈello"});
}

TEST_P(FullTextMatching, PatternCharactersQuotesAndBackslashesAreOrdinary)
{
    const QStringList percent{"张三的笔记:2:100% 完成 it's done_now"};
    EXPECT_EQ(search(QStringLiteral("%")), percent);
    EXPECT_EQ(search(QStringLiteral("_")), percent);
    EXPECT_EQ(search(QStringLiteral("'s d")), percent);
    EXPECT_EQ(search(QStringLiteral("0%")), percent);
    EXPECT_EQ(search(QStringLiteral("%%")), QStringList{});
    EXPECT_EQ(search(QStringLiteral("\\path\\")), QStringList{"张三的笔记:3:C:\\path\\to"});
}

TEST_P(FullTextMatching, OneChineseCharacterAndMatchesAtTheLineEnds)
{
    EXPECT_EQ(search(QStringLiteral("议")),
              (QStringList{"阿里笔记:2:会议", "张三的笔记:1:会议记录：今天讨论了进度"}));
    // The whole line, its first and its last characters.
    EXPECT_EQ(search(QStringLiteral("会议")),
              (QStringList{"阿里笔记:2:会议", "张三的笔记:1:会议记录：今天讨论了进度"}));
    EXPECT_EQ(search(QStringLiteral("Hello W")), QStringList{"张三的笔记:0:Hello World"});
    EXPECT_EQ(search(QStringLiteral("to")), QStringList{"张三的笔记:3:C:\\path\\to"});
    EXPECT_EQ(search(QStringLiteral("无关的一行")), QStringList{"会议安排:0:无关的一行"});
}

// The title 会议安排 holds the text, but titles are not searched; pairs that each occur in a
// line do not make a match of the three characters unless they stand together.
TEST_P(FullTextMatching, OnlyTheLinesCountAndEveryCharacterMustFollowTheLast)
{
    EXPECT_EQ(search(QStringLiteral("安排")), QStringList{});
    EXPECT_EQ(search(QStringLiteral("abc")), QStringList{});
    EXPECT_EQ(search(QStringLiteral("bXb")), QStringList{"阿里笔记:1:abXbc"});
}

// Titles in the title list's order (Latin before Chinese, Chinese by pinyin), then line numbers
// as numbers: line 10 after line 9.
TEST_P(FullTextMatching, ResultsComeInTitleOrderThenLineOrder)
{
    const QStringList hits = search(QStringLiteral("进度"));
    ASSERT_EQ(hits.size(), 13);
    EXPECT_EQ(hits[0], "Beta:0:第0行 进度");
    EXPECT_EQ(hits[9], "Beta:9:第9行 进度");
    EXPECT_EQ(hits[10], "Beta:10:第10行 进度");
    EXPECT_EQ(hits[12], "张三的笔记:1:会议记录：今天讨论了进度");
}

TEST_P(FullTextMatching, OddQueriesAnswerAtOnceAndAnEmptyOneIsRefused)
{
    Searcher searcher(folder.storePath());
    EXPECT_THROW(searcher.search(QString()), std::invalid_argument);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(searcher.search(QString(10000, u'会')).count(), 0);
    EXPECT_EQ(searcher.search(QStringLiteral("进度") + QString(9998, u'x')).count(), 0);
    QString varied;
    for (int i = 0; i < 10000; ++i)
        varied += QChar(0x4E00 + i);
    EXPECT_EQ(searcher.search(varied).count(), 0);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(searcher.search(QString::fromUtf8("a\0b", 3)).count(), 0);
    testing_support::addEntry(folder.storePath(), QStringLiteral("零"),
                              {QString::fromUtf8("a\0b", 3)});
    EXPECT_EQ(searcher.search(QString::fromUtf8("a\0b", 3)).count(), 1);
}

TEST_P(FullTextMatching, AHitMarksWhereTheMatchStands)
{
    Searcher searcher(folder.storePath());
    const store::fulltext::Result result = searcher.search(QStringLiteral("AGAIN"));
    ASSERT_EQ(result.count(), 1);
    const store::fulltext::Hit hit = result.hit(0);
    EXPECT_EQ(hit.line.mid(hit.matchStart, hit.matchLength), QStringLiteral("again"));
}

INSTANTIATE_TEST_SUITE_P(IndexedAndPending, FullTextMatching, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Indexed" : "Pending";
                         });

TEST(FullTextIndex, WritesByTheSqliteShellAreFoundAndCaughtUpAtTheNextStart)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    addSampleBook(path);
    store::fulltext::catchUp(path);
    shell(path, QStringLiteral("insert into 文本 values('外来', 0, '由别的工具写入的进度');"
                               "delete from 文本 where 标题='阿里笔记' and 行数=2;"
                               "update 文本 set 内容='改过了' where 标题='张三的笔记' and 行数=1;"));
    EXPECT_GT(pendingRows(path), 0);
    const QStringList before = found(path, QStringLiteral("进度"));
    EXPECT_TRUE(before.contains("外来:0:由别的工具写入的进度"));
    EXPECT_FALSE(before.contains("张三的笔记:1:会议记录：今天讨论了进度"));
    EXPECT_EQ(found(path, QStringLiteral("会议")), QStringList{});
    EXPECT_EQ(found(path, QStringLiteral("改过")), QStringList{"张三的笔记:1:改过了"});

    store::fulltext::catchUp(path);
    EXPECT_EQ(pendingRows(path), 0);
    EXPECT_EQ(found(path, QStringLiteral("进度")), before);
    EXPECT_EQ(found(path, QStringLiteral("会议")), QStringList{});
    EXPECT_EQ(found(path, QStringLiteral("改过")), QStringList{"张三的笔记:1:改过了"});

    // A row changed again after its first catch-up.
    shell(path, QStringLiteral("update 文本 set 内容='又改了' where 标题='张三的笔记' and 行数=1;"));
    store::fulltext::catchUp(path);
    EXPECT_EQ(found(path, QStringLiteral("改过")), QStringList{});
    EXPECT_EQ(found(path, QStringLiteral("又改")), QStringList{"张三的笔记:1:又改了"});
}

// Beyond a limit of changed rows the catch-up builds the index anew; the answers stay the same.
TEST(FullTextIndex, ManyRowsWrittenBehindItsBackAreIndexedAnew)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    addSampleBook(path);
    store::fulltext::catchUp(path);
    shell(path, QStringLiteral("with recursive n(i) as (select 0 union all select i+1 from n where i<20999)"
                               " insert into 文本 select '批量', i, '行' || i || ' marker' from n;"));
    EXPECT_EQ(found(path, QStringLiteral("行20998 MARK")), QStringList{"批量:20998:行20998 marker"});
    store::fulltext::catchUp(path);
    EXPECT_EQ(pendingRows(path), 0);
    EXPECT_EQ(number(path, QStringLiteral("select count(*) from 全文已改")), 0);
    EXPECT_EQ(found(path, QStringLiteral("行20998 MARK")), QStringList{"批量:20998:行20998 marker"});
    EXPECT_EQ(found(path, QStringLiteral("marker")).size(), 21000);
    EXPECT_EQ(found(path, QStringLiteral("进度")).size(), 13);
}

// Reading every match of a large result (read by two connections at once) gives the lines of
// the result in its order: titles whose order is not that of their rows, rows changed behind the
// index's back on either side of the middle, and a store with a write-ahead log.
TEST(FullTextIndex, EveryMatchOfALargeResultComesOnceInTheResultsOrder)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    shell(path, QStringLiteral("with recursive n(i) as (select 0 union all select i+1 from n where i<5999)"
                               " insert into 文本 select substr('丙甲乙戊丁', i % 5 + 1, 1) || '记' || (i % 3),"
                               " i / 15, '第' || i || '行 共同 Word' from n;"));
    store::fulltext::catchUp(path);
    shell(path, QStringLiteral("delete from 文本 where rowid=10;"
                               "update 文本 set 内容='不再相同' where rowid=5000;"
                               "update 文本 set 内容='现在也 共同' where rowid=(select rowid from 文本"
                               " where 内容 like '第4000行%');"
                               "insert into 文本 values('甲记1', 9999, '后加的 共同');"));
    ASSERT_GT(pendingRows(path), 0);
    const QStringList lines = found(path, QStringLiteral("共同"));
    EXPECT_EQ(lines.size(), 6000 - 2 + 1);
    EXPECT_EQ(lines.first(), "丙记0:0:第0行 共同 Word");
    EXPECT_TRUE(lines.contains("甲记1:9999:后加的 共同"));
    EXPECT_TRUE(lines.contains("丙记1:266:现在也 共同"));
    EXPECT_EQ(QSet<QString>(lines.begin(), lines.end()).size(), lines.size());
    EXPECT_EQ(found(path, QStringLiteral("word")).size(), 6000 - 3);

    // Rows a writer has not committed yet are seen by neither reader.
    {
        store::Connection writer(path);
        writer.begin(store::Connection::TransactionKind::Write);
        writer.exec(QStringLiteral("insert into 文本 values('乙记0', 5000, '未提交的 共同');"));
        EXPECT_EQ(found(path, QStringLiteral("共同")), lines);
        writer.rollback();
    }

    shell(path, QStringLiteral("pragma journal_mode=wal;"));
    EXPECT_EQ(found(path, QStringLiteral("共同")), lines);
}

// A result's lines read a piece at a time are those of its matches, whether the rows lie close
// together (read by one walk) or apart, and a row deleted since the search gives an empty line.
TEST(FullTextIndex, AResultsLinesReadInPiecesAreThoseOfItsMatches)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    shell(path, QStringLiteral("with recursive n(i) as (select 0 union all select i+1 from n where i<2999)"
                               " insert into 文本 select '条' || (i % 7), i,"
                               " case when i % 3 = 0 or i % 500 = 1 then '第' || i || '行 共同' else '别的' end"
                               " from n;"));
    store::fulltext::catchUp(path);
    Searcher searcher(path);
    const store::fulltext::Result result = searcher.search(QStringLiteral("共同"));
    ASSERT_EQ(result.count(), 1000 + 4);
    QStringList byHit;
    for (qsizetype i = 0; i < result.count(); ++i) {
        const store::fulltext::Hit hit = result.hit(i);
        byHit << QStringLiteral("%1:%2:%3").arg(hit.title).arg(hit.lineNumber).arg(hit.line);
    }
    const auto readInPieces = [&](qsizetype piece) {
        QStringList lines;
        for (qsizetype from = 0; from < result.count(); from += piece)
            result.visitLines(from, std::min(piece, result.count() - from),
                              [&](QByteArrayView title, qint64 line, QByteArrayView text) {
                                  lines << QStringLiteral("%1:%2:%3")
                                               .arg(QString::fromUtf8(title))
                                               .arg(line)
                                               .arg(QString::fromUtf8(text));
                              });
        return lines;
    };
    EXPECT_EQ(readInPieces(result.count()), byHit);
    EXPECT_EQ(readInPieces(97), byHit);

    shell(path, QStringLiteral("delete from 文本 where 行数=1500;"));
    QStringList afterDelete = byHit;
    afterDelete.replace(afterDelete.indexOf("条2:1500:第1500行 共同"), "条2:1500:");
    EXPECT_EQ(readInPieces(result.count()), afterDelete);
}

// The index's pages are as large as a page of the store allows: a store made with small pages by
// another tool gets pages that small, lists longer than a page each have one of their own, and
// every line is still found.
TEST(FullTextIndex, AStoreOfSmallPagesGetsAnIndexThatFindsEveryLine)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    shell(path, QStringLiteral("pragma page_size=512; vacuum;"
                               "with recursive n(i) as (select 0 union all select i+1 from n where i<5999)"
                               " insert into 文本 select '小页' || (i / 100), i % 100,"
                               " '第' || i || '行 ' || substr('甲乙丙丁戊己庚辛壬癸', i % 10 + 1, 1) || ' x' || i from n;"));
    ASSERT_EQ(number(path, QStringLiteral("pragma page_size")), 512);
    store::fulltext::reinstall(path);
    EXPECT_EQ(store::fulltext::indexProblems(path), QStringList{});
    EXPECT_GT(number(path, QStringLiteral("select count(*) from 全文分段 where length(行) > 512")), 0)
        << "no list longer than a page";
    EXPECT_EQ(found(path, QStringLiteral("行")).size(), 6000);
    EXPECT_EQ(found(path, QStringLiteral("丙")).size(), 600);
    EXPECT_EQ(found(path, QStringLiteral("X5999")), QStringList{"小页59:99:第5999行 癸 x5999"});
    EXPECT_EQ(found(path, QStringLiteral("9行 癸")).size(), 600);
}

// A store made before the index existed is searched by reading every line until the catch-up
// adds the index.
TEST(FullTextIndex, AStoreWithoutTheIndexIsSearchedAndGetsItAtCatchUp)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    addSampleBook(path);
    shell(path, QStringLiteral("drop trigger 全文记增; drop trigger 全文记删; drop trigger 全文记改;"
                               "drop table 全文分段; drop table 全文行段; drop table 全文已改;"
                               "drop table 全文待办; drop table 全文状态;"));
    const QStringList before = found(path, QStringLiteral("进度"));
    EXPECT_EQ(before.size(), 13);
    Searcher searcher(path);
    searcher.catchUpIfBehind();
    EXPECT_EQ(pendingRows(path), 0);
    EXPECT_GT(number(path, QStringLiteral("select count(*) from 全文分段")), 0);
    EXPECT_EQ(found(path, QStringLiteral("进度")), before);
}

// A store whose index has the lists in the earlier layout, a table of whole lists and buckets, is
// searched by reading its lines and gets the index anew at catch-up.
TEST(FullTextIndex, AnIndexOfTheEarlierLayoutIsMadeAnew)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    addSampleBook(path);
    store::fulltext::catchUp(path);
    const QStringList before = found(path, QStringLiteral("进度"));
    shell(path, QStringLiteral("drop table 全文分段; create table 全文索引(键 INTEGER PRIMARY KEY, 行 BLOB);"
                               "insert into 全文索引 values(-7, x'0a0b0c');"));
    EXPECT_EQ(found(path, QStringLiteral("进度")), before);
    store::fulltext::catchUp(path);
    EXPECT_EQ(number(path, QStringLiteral("select count(*) from sqlite_master where name='全文索引'")), 0);
    EXPECT_GT(number(path, QStringLiteral("select count(*) from 全文分段")), 0);
    EXPECT_EQ(store::fulltext::indexProblems(path), QStringList{});
    EXPECT_EQ(found(path, QStringLiteral("进度")), before);
}

TEST(FullTextIndex, CompactionKeepsTheIndexAndItsTriggers)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    addSampleBook(path);
    store::fulltext::catchUp(path);
    const QStringList before = found(path, QStringLiteral("进度"));
    ASSERT_TRUE(store::compactStore(path, path + QStringLiteral(".compacting")).succeeded());
    EXPECT_EQ(pendingRows(path), 0);
    EXPECT_EQ(found(path, QStringLiteral("进度")), before);
    shell(path, QStringLiteral("insert into 文本 values('新', 0, '进度');"));
    EXPECT_EQ(pendingRows(path), 1);
    EXPECT_EQ(found(path, QStringLiteral("进度")).size(), before.size() + 1);
}

TEST(FullTextIndex, AnImportReplacesTheIndexInItsTransaction)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    addSampleBook(path);
    store::fulltext::catchUp(path);
    const QByteArray file = textfile::encode(
        QStringLiteral("2008-03-15 10:05:09\r\n~0~1~导入的\r\n第一行 进度\r\n第二行\r\n"
                       "~0~1~Alpha\r\nimported Hello\r\n"));
    store::Query textQuery;
    textQuery.setStorePath(path);
    exchange::NoProgress progress;
    exchange::replaceBook(textQuery, exchange::parseExchangeFile(file), progress);
    textQuery.release();
    EXPECT_EQ(pendingRows(path), 0);
    EXPECT_EQ(found(path, QStringLiteral("进度")), QStringList{"导入的:0:第一行 进度"});
    EXPECT_EQ(found(path, QStringLiteral("hello")), QStringList{"Alpha:0:imported Hello"});
    EXPECT_EQ(found(path, QStringLiteral("会议")), QStringList{});
    // The triggers work again after the import.
    shell(path, QStringLiteral("insert into 文本 values('后来', 0, '进度');"));
    EXPECT_EQ(pendingRows(path), 1);
    EXPECT_EQ(found(path, QStringLiteral("进度")).size(), 2);
}

// An import larger than one batch of the index build: lists that run across batches, a batch of
// the Basic Multilingual Plane only and one with a character beyond it.
TEST(FullTextIndex, AnImportOfManyBatchesFindsEveryLine)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    constexpr int kLines = 70000;
    constexpr int kWideFrom = 65536;
    QString book = QStringLiteral("2008-03-15 10:05:09\r\n~0~1~大批\r\n");
    int wide = 0;
    for (int i = 0; i < kLines; ++i) {
        const bool isWide = i >= kWideFrom && i % 7 == 0;
        wide += isWide;
        book += QStringLiteral("行%1 %2%3\r\n")
                    .arg(i)
                    .arg(isWide ? QStringLiteral("𠮷野") : QStringLiteral("吉野"))
                    .arg(i % 1000 == 999 ? QStringLiteral(" Tail") : QString());
    }
    store::Query textQuery;
    textQuery.setStorePath(path);
    exchange::NoProgress progress;
    exchange::replaceBook(textQuery, exchange::parseExchangeFile(textfile::encode(book)), progress);
    textQuery.release();
    ASSERT_EQ(pendingRows(path), 0);
    Searcher searcher(path);
    EXPECT_EQ(searcher.search(QStringLiteral("野")).count(), kLines);
    EXPECT_EQ(searcher.search(QStringLiteral("吉野")).count(), kLines - wide);
    EXPECT_EQ(searcher.search(QStringLiteral("𠮷")).count(), wide);
    EXPECT_EQ(searcher.search(QStringLiteral("𠮷野")).count(), wide);
    EXPECT_EQ(searcher.search(QStringLiteral("tAIL")).count(), kLines / 1000);
    EXPECT_EQ(found(path, QStringLiteral("行69999 ")), QStringList{"大批:69999:行69999 吉野 Tail"});
    EXPECT_EQ(found(path, QStringLiteral("行69993 ")), QStringList{"大批:69993:行69993 𠮷野"});
    EXPECT_EQ(store::fulltext::indexProblems(path), QStringList{});
    EXPECT_GT(number(path, QStringLiteral("select max(键) from 全文分段")) >> 46, 0) << "one segment only";
}

// The check finds an index out of step with the rows, whichever part of it is wrong, and a
// rebuild puts it right; rows merely pending or folded into the delta are no fault.
TEST(FullTextIndex, TheCheckFindsAnIndexOutOfStepAndARebuildMendsIt)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    using store::fulltext::indexProblems;
    addSampleBook(path);
    store::fulltext::catchUp(path);
    EXPECT_EQ(indexProblems(path), QStringList{});
    shell(path, QStringLiteral("insert into 文本 values('外来', 0, '别处写的');"
                               "update 文本 set 内容='改过了' where 标题='张三的笔记' and 行数=1;"));
    EXPECT_EQ(indexProblems(path), QStringList{});
    store::fulltext::catchUp(path);
    EXPECT_EQ(indexProblems(path), QStringList{});

    // A write whose pending row was lost: the base list of a key misses it.
    shell(path, QStringLiteral("insert into 文本 values('外来', 1, '丢失的行'); delete from 全文待办;"));
    EXPECT_EQ(indexProblems(path).size(), 1);
    store::fulltext::reinstall(path);
    EXPECT_EQ(indexProblems(path), QStringList{});
    EXPECT_EQ(found(path, QStringLiteral("丢失")), QStringList{"外来:1:丢失的行"});

    // A trigger dropped and a run under the wrong title: both named.
    shell(path, QStringLiteral("drop trigger 全文记删; update 全文行段 set 标题='别的' where 起=1;"));
    const QStringList problems = indexProblems(path);
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("全文记删")));
    store::fulltext::reinstall(path);
    EXPECT_EQ(indexProblems(path), QStringList{});
    shell(path, QStringLiteral("delete from 文本 where 标题='外来';"));
    EXPECT_EQ(pendingRows(path), 2);
    EXPECT_EQ(found(path, QStringLiteral("丢失")), QStringList{});

    // A delta list that holds a row its line no longer has.
    shell(path, QStringLiteral("update 文本 set 内容='第二次' where 标题='张三的笔记' and 行数=1;"));
    store::fulltext::catchUp(path);
    EXPECT_EQ(indexProblems(path), QStringList{});
    shell(path, QStringLiteral("drop trigger 全文记改;"
                               "update 文本 set 内容='第三次' where 标题='张三的笔记' and 行数=1;"));
    EXPECT_EQ(indexProblems(path).size(), 2);
}

// An import that fails part-way (here a trigger of the user's own refuses a row) leaves the index
// and its triggers as they were.
TEST(FullTextIndex, AFailedImportLeavesTheIndexAsItWas)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.storePath();
    addSampleBook(path);
    store::fulltext::catchUp(path);
    const QStringList before = found(path, QStringLiteral("进度"));
    shell(path, QStringLiteral("create trigger refuse before insert on 文本 when new.标题='boom'"
                               " begin select raise(abort, 'refused'); end;"));
    store::Query textQuery;
    textQuery.setStorePath(path);
    exchange::NoProgress progress;
    EXPECT_THROW(exchange::replaceBook(textQuery,
                                       exchange::parseExchangeFile(textfile::encode(QStringLiteral(
                                           "2008-03-15 10:05:09\r\n~0~1~fine\r\n进度\r\n"
                                           "~0~1~boom\r\nb\r\n"))),
                                       progress),
                 store::StoreError);
    textQuery.release();
    EXPECT_EQ(found(path, QStringLiteral("进度")), before);
    shell(path, QStringLiteral("insert into 文本 values('后来', 0, '进度');"));
    EXPECT_EQ(pendingRows(path), 1);
}

} // namespace
