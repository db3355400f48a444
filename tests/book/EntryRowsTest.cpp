// Entry rows: the line-count rule, titles, and writes that change all rows of an entry or none.
#include "support/ProgramFolder.h"

#include "book/EntryRows.h"
#include "text/TextFile.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace book;
using testing_support::ProgramFolder;

namespace {

class CountingProgress : public Progress {
public:
    void begin(int maximum) override { this->maximum = maximum; }
    void step() override { ++steps; }
    int maximum = -1;
    int steps = 0;
};

TEST(LinesOfText, FinalLineBreakAddsNoLine)
{
    EXPECT_EQ(linesOfText(""), QStringList{});
    EXPECT_EQ(linesOfText("\n"), QStringList{""});
    EXPECT_EQ(linesOfText("ab"), QStringList{"ab"});
    EXPECT_EQ(linesOfText("ab\n"), QStringList{"ab"});
    EXPECT_EQ(linesOfText("ab\n\n"), (QStringList{"ab", ""}));
    EXPECT_EQ(linesOfText("ab\n\ncd\n"), (QStringList{"ab", "", "cd"}));
    EXPECT_EQ(linesOfText("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(linesOfText(" \t x \t"), QStringList{" \t x \t"});
}

TEST(LinesOfText, TextOfLinesEndsEveryLineAndReadsBackTheSame)
{
    const QStringList lines{"ab", "", "cd"};
    EXPECT_EQ(textOfLines(lines), "ab\n\ncd\n");
    EXPECT_EQ(linesOfText(textOfLines(lines)), lines);
    EXPECT_EQ(linesOfText(textOfLines({""})), QStringList{""});
}

TEST(PrepareTitle, TrimsControlCharactersAndSpacesOnly)
{
    EXPECT_EQ(prepareTitle("  \t读书 笔记\r\n "), "读书 笔记");
    EXPECT_EQ(prepareTitle(QStringLiteral("\x01x\x1f")), "x");
    EXPECT_EQ(prepareTitle(" \t\r\n"), "");
    EXPECT_EQ(prepareTitle(QStringLiteral("\u3000全角\u3000")), QStringLiteral("\u3000全角\u3000"));
}

TEST(EditorTextOfFile, EveryKindOfLineBreakBecomesTheEditorsOwn)
{
    ProgramFolder folder;
    QFile file(folder.file("mixed.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(textfile::encode(QStringLiteral("一\r\n二\r三\n四")));
    file.close();
    EXPECT_EQ(editorTextOfFile(folder.file("mixed.txt")), "一\n二\n三\n四");
    EXPECT_THROW(editorTextOfFile(folder.file("missing.txt")), textfile::FileError);
    EXPECT_THROW(editorTextOfFile(folder.path()), textfile::FileError);
}

class EntryWritesTest : public ::testing::Test {
protected:
    EntryWritesTest() { query.setStorePath(folder.storePath()); }
    QStringList storedRows()
    {
        store::Query all;
        all.setStorePath(folder.storePath());
        all.setStatement({QStringLiteral("select * from 文本 order by 标题, 行数"), {}});
        all.open();
        QStringList rows;
        for (int i = 0; i < all.recordCount(); ++i)
            rows << QStringLiteral("%1|%2|%3").arg(all.valueAt(i, 0).toString(),
                                                   all.valueAt(i, 1).toString(),
                                                   all.valueAt(i, 2).toString());
        return rows;
    }
    // Makes the store refuse any row whose text is "boom", as a full disk would refuse it.
    void failOnBoom()
    {
        store::Connection(folder.storePath())
            .exec(QStringLiteral("create trigger boom before insert on 文本 when new.内容='boom' "
                                 "begin select raise(abort, 'disk I/O error'); end"));
    }

    ProgramFolder folder;
    store::Query query;
};

TEST_F(EntryWritesTest, AddedEntryReadsBackLineForLine)
{
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines << (i == 4 ? QString() : QStringLiteral("第%1行").arg(i));
    lines << QString(10000, u'长');  // far beyond any line buffer
    CountingProgress progress;
    addEntry(query, "T", lines, progress);
    EXPECT_EQ(progress.maximum, 13);
    EXPECT_EQ(progress.steps, 13);
    EXPECT_EQ(readEntry(query, "T"), lines);
    EXPECT_TRUE(titleExists(query, "t"));
    EXPECT_FALSE(titleExists(query, "T2"));
}

TEST_F(EntryWritesTest, ReplaceWritesRowsFromZeroWhateverTheOldCount)
{
    NoProgress none;
    addEntry(query, "T", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, none);
    addEntry(query, "U", {"other"}, none);
    CountingProgress progress;
    replaceEntry(query, "T", {"a", "", "c"}, progress);
    EXPECT_EQ(progress.maximum, 13);
    EXPECT_EQ(progress.steps, 13);
    EXPECT_EQ(storedRows(), (QStringList{"T|0|a", "T|1|", "T|2|c", "U|0|other"}));
}

TEST_F(EntryWritesTest, FailedReplaceLeavesTheOldRowsUntouched)
{
    NoProgress none;
    addEntry(query, "T", {"old 1", "old 2"}, none);
    failOnBoom();
    const QStringList before = storedRows();
    EXPECT_THROW(replaceEntry(query, "T", {"new 1", "boom", "new 3"}, none), store::StoreError);
    EXPECT_EQ(storedRows(), before);
    EXPECT_THROW(addEntry(query, "V", {"x", "boom"}, none), store::StoreError);
    EXPECT_EQ(storedRows(), before);
}

TEST_F(EntryWritesTest, TitleInTwoRunsReadsMergedAndSavesAsOne)
{
    testing_support::addEntry(folder.storePath(), "T", {"a0", "a1"});
    testing_support::addEntry(folder.storePath(), "T", {"b0", "b1", "b2"});
    const QStringList merged = readEntry(query, "T");
    ASSERT_EQ(merged.size(), 5);
    EXPECT_EQ(merged.last(), "b2");
    NoProgress none;
    replaceEntry(query, "T", {"x"}, none);
    EXPECT_EQ(storedRows(), QStringList{"T|0|x"});
}

TEST_F(EntryWritesTest, DeleteRemovesEveryRowOfTheTitleOnly)
{
    NoProgress none;
    QStringList lines;
    for (int i = 0; i < 500; ++i)
        lines << QString::number(i);
    addEntry(query, "T", lines, none);
    addEntry(query, "t2", {"keep"}, none);
    CountingProgress progress;
    deleteEntry(query, "t", progress);
    EXPECT_EQ(progress.maximum, 500);
    EXPECT_EQ(progress.steps, 500);
    EXPECT_EQ(storedRows(), QStringList{"t2|0|keep"});
}

} // namespace
