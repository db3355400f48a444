// The exchange file: the time stamp, the export file name, the acceptance test on raw bytes, and
// the walk of accepted lines into entry rows.
#include "support/ProgramFolder.h"

#include "exchange/ExchangeFile.h"
#include "text/FileErrors.h"
#include "text/TextFile.h"

#include <QFile>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace exchange;

namespace {

using Row = std::tuple<QString, int, QString>;

std::vector<Row> rowsOf(const ExchangeFile& file)
{
    std::vector<Row> rows;
    walkEntryRows(file, [&](QByteArrayView title, int number, QByteArrayView text) {
        rows.emplace_back(QString::fromUtf8(title), number, QString::fromUtf8(text));
    });
    return rows;
}

// The rows of a file whose lines are given, each ended by CR LF.
std::vector<Row> rowsOf(const QStringList& lines)
{
    return rowsOf(parseExchangeFile(textfile::joinLines(lines)));
}

} // namespace

TEST(ExchangeStamp, IsNineteenCharactersWithLeadingZerosOnATwentyFourHourClock)
{
    EXPECT_EQ(formatStamp(QDate(2008, 3, 15), QTime(10, 5, 9)), "2008-03-15 10:05:09");
    EXPECT_EQ(formatStamp(QDate(2021, 12, 1), QTime(23, 0, 0)), "2021-12-01 23:00:00");
    EXPECT_EQ(currentStamp().size(), kStampLength);
}

TEST(ExchangeExtension, KeepsDotMzInAnyCaseAndAppendsItOtherwise)
{
    EXPECT_EQ(withExchangeExtension("/h/notes"), "/h/notes.mz");
    EXPECT_EQ(withExchangeExtension("/h/notes.MZ"), "/h/notes.MZ");
    EXPECT_EQ(withExchangeExtension("/h/notes.mz"), "/h/notes.mz");
    EXPECT_EQ(withExchangeExtension("/h/notes.txt"), "/h/notes.txt.mz");
    EXPECT_EQ(withExchangeExtension("/h.mz/notes"), "/h.mz/notes.mz");
    EXPECT_EQ(withExchangeExtension(QString::fromUtf8("/h/资料.Mz")), QString::fromUtf8("/h/资料.Mz"));
}

TEST(ExchangeAcceptance, NeedsANineteenByteFirstLineAndAMarkerOnLineTwo)
{
    const QByteArray marker = "\r\n~0~1~T\r\n";
    EXPECT_TRUE(parseExchangeFile("2008-03-15 10:05:09" + marker).accepted);
    EXPECT_TRUE(parseExchangeFile("not a date at all!!" + marker).accepted);
    EXPECT_TRUE(parseExchangeFile("\xEF\xBB\xBF" "2008-03-15 10:05:09" + marker).accepted);
    EXPECT_TRUE(parseExchangeFile("2008-03-15 10:05:09\n~0~1~").accepted);
    EXPECT_FALSE(parseExchangeFile("").accepted);
    EXPECT_FALSE(parseExchangeFile("2008-03-15 10:05:09\r\n").accepted);
    EXPECT_FALSE(parseExchangeFile("2008-03-15 10:05:09\r\ncontent\r\n~0~1~T").accepted);
    EXPECT_FALSE(parseExchangeFile("2008-03-15 10:05:9" + marker).accepted);
    EXPECT_FALSE(parseExchangeFile("2008-03-15 10:05:09 " + marker).accepted);
    EXPECT_FALSE(parseExchangeFile("\r\n~0~1~T").accepted);
}

// The test counts bytes, not characters: "中文" is four bytes in GB18030 and six in UTF-8.
TEST(ExchangeAcceptance, CountsTheBytesOfLineOneAsStored)
{
    const QString stamp = QString::fromUtf8("中文 2008-03-15 10:");
    const QByteArray marker = "\r\n~0~1~T";
    const ExchangeFile gb = parseExchangeFile(textfile::encode(stamp) + marker);
    EXPECT_TRUE(gb.accepted);
    EXPECT_EQ(gb.stamp(), stamp);
    EXPECT_FALSE(parseExchangeFile(stamp.toUtf8() + marker).accepted);
}

TEST(ExchangeRead, KeepsLongLinesWholeAndReadsMixedLineEndsAlike)
{
    const QByteArray longLine(3 * 1024 * 1024, 'x');
    const ExchangeFile file = parseExchangeFile("2008-03-15 10:05:09\r~0~1~T\n" + longLine
                                                + "\r\n\n\xD6\xD0");
    ASSERT_TRUE(file.accepted);
    ASSERT_EQ(file.lineCount(), 5);
    EXPECT_EQ(file.line(2).size(), longLine.size());
    EXPECT_EQ(file.line(3), "");
    EXPECT_EQ(file.line(4), QString::fromUtf8("中"));
}

TEST(ExchangeRead, DecodesEveryLineInTheWholeFilesEncoding)
{
    const ExchangeFile utf8 =
        parseExchangeFile("\xEF\xBB\xBF" "2008-03-15 10:05:09\r\n~0~1~\xE4\xB8\xAD\r\n\xEF\xBB\xBFx");
    EXPECT_EQ(utf8.stamp(), "2008-03-15 10:05:09");
    EXPECT_EQ(utf8.line(1), QString::fromUtf8("~0~1~中"));
    EXPECT_EQ(utf8.line(2), QString(QChar(0xFEFF)) + u'x');
    const ExchangeFile gb = parseExchangeFile("2008-03-15 10:05:09\r\n~0~1~\xD6\xD0\r\n\xFF\x81");
    EXPECT_EQ(gb.line(1), QString::fromUtf8("~0~1~中"));
    EXPECT_EQ(gb.line(2), QString(2, QChar(0xFFFD)));
}

TEST(ExchangeWalk, TurnsTheWorkedExampleIntoRows)
{
    const QStringList lines = textfile::splitLines(QString::fromUtf8(
        "2008-03-15 10:05:09\r\n~0~1~会议\r\n周一\r\n\r\n~0~1~购物\r\n牛奶\r\n"));
    ASSERT_EQ(lines.size(), 6);
    const std::vector<Row> expected{{QString::fromUtf8("会议"), 0, QString::fromUtf8("周一")},
                                    {QString::fromUtf8("会议"), 1, ""},
                                    {QString::fromUtf8("购物"), 0, QString::fromUtf8("牛奶")}};
    EXPECT_EQ(rowsOf(lines), expected);
}

TEST(ExchangeWalk, MarkersRestartNumberingAndMayRepeatBeEmptyOrComeWithoutRows)
{
    const QStringList lines{"2008-03-15 10:05:09", "~0~1~", "a", "~0~1~T", "b", "c",
                            "~0~1~none", "~0~1~T", "d", "~0~1~~0~1~x", "~0~1~last"};
    const std::vector<Row> expected{{"", 0, "a"}, {"T", 0, "b"}, {"T", 1, "c"}, {"T", 0, "d"}};
    EXPECT_EQ(rowsOf(lines), expected);
}

TEST(ExchangeWalk, AContentLineThatStartsWithTheMarkerOpensANewEntry)
{
    const std::vector<Row> expected{{"T", 0, "a"}, {"rest", 0, "b"}};
    EXPECT_EQ(rowsOf({"2008-03-15 10:05:09", "~0~1~T", "a", "~0~1~rest", "b"}), expected);
}

// A streamed file is read again as it is imported: it gives what the file read whole gives, and
// a file changed in between is refused rather than imported as something else.
TEST(ExchangeStream, GivesTheRowsOfTheWholeFileAndRefusesAFileChangedSinceItWasRead)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.file("book.mz");
    const QByteArray book = "\xEF\xBB\xBF" "2008-03-15 10:05:09\r\n~0~1~甲\r\n一\r\n\r\n~0~1~乙\n二";
    textfile::writeBytes(path, book);
    const ExchangeFile whole = readExchangeFile(path);
    const ExchangeFile streamed = streamExchangeFile(path);
    EXPECT_TRUE(streamed.accepted);
    EXPECT_EQ(streamed.lineCount(), whole.lineCount());
    EXPECT_EQ(streamed.encoding, textfile::Encoding::Utf8);
    EXPECT_EQ(streamed.stamp(), "2008-03-15 10:05:09");
    EXPECT_EQ(rowsOf(streamed), rowsOf(whole));
    EXPECT_EQ(rowsOf(streamed).size(), 3u);

    for (const QByteArray& changed : {book + "\r\n三", QByteArray(book).replace("甲", "丙"),
                                      QByteArray(book).replace("2008", "2009"), QByteArray()}) {
        textfile::writeBytes(path, changed);
        EXPECT_THROW(rowsOf(streamed), ImportRefused) << changed.constData();
    }
    QFile::remove(path);
    EXPECT_THROW(rowsOf(streamed), textfile::FileError);
    EXPECT_THROW(streamExchangeFile(path), textfile::FileError);
}
