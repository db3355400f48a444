// Text files: which encoding a file is read in, where lines end, what is written, and how files
// that cannot be read or written are refused.
#include "support/ProgramFolder.h"

#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace textfile;

namespace {

QString fromUtf8(const char* text)
{
    return QString::fromUtf8(text);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(TextFileDecode, ReadsUtf8AsUtf8AndEverythingElseAsGb18030)
{
    EXPECT_EQ(decode("\xF0\x9F\x98\x80"), QString::fromUcs4(U"\U0001F600"));
    EXPECT_EQ(decode("\xC0\xAF"), fromUtf8("蜡"));                          // overlong: not UTF-8
    EXPECT_EQ(decode("\xED\xA0\x80").size(), 2);                            // surrogate: not UTF-8
    EXPECT_EQ(decode("\xEF\xBB\xBF" "abc"), "abc");
    EXPECT_EQ(decode("\xE4\xB8\xAD\xE6\x96\x87"), fromUtf8("中文"));
    EXPECT_EQ(decode("\xD6\xD0\xCE\xC4"), fromUtf8("中文"));                  // code page 936
    EXPECT_EQ(decode("\x81\x30\x81\x30"), QString(QChar(0x80)));              // four-byte form
    EXPECT_EQ(decode("\x80\xD6\xD0\xB0\x80"), fromUtf8("€中皜"));            // 0x80 alone is €
    EXPECT_EQ(decode("\xEF\xBB\xBF" "\xD6\xD0"), QString(QChar(0xFFFD)) + QChar(0xFFFD));
}

TEST(TextFileDecode, BadBytesBecomeReplacementCharactersAndNeverSwallowLineEnds)
{
    const QChar bad(0xFFFD);
    EXPECT_EQ(decode("\xFF" "A"), QString(bad) + u'A');
    EXPECT_EQ(decode("\xBB\xE1\x81"), fromUtf8("会") + bad);                 // cut-off last character
    EXPECT_EQ(decode("\x81\r\n~0~1~"), QString(bad) + QStringLiteral("\r\n~0~1~"));
    EXPECT_EQ(splitLines(decode("\xD6\n\xD0")).size(), 2);
}

TEST(TextFileSplit, AcceptsEveryLineEndAndKeepsOnlyANonEmptyRemainder)
{
    const QStringList expected{"a", "b", "c", "", "d"};
    EXPECT_EQ(splitLines(QStringView(u"a\r\nb\rc\n\nd")), expected);
    EXPECT_EQ(splitLines(QStringView(u"a\r\nb\rc\n\nd\r\n")), expected);
    EXPECT_EQ(splitLines(QStringView(u"")), QStringList());
    EXPECT_EQ(splitLines(QStringView(u"\r\n")), QStringList{""});
    EXPECT_EQ(splitLines(QStringView(u"\n\r")), (QStringList{"", ""}));
    const auto raw = findLines(QByteArrayView("ab\r\ncd\r"));
    ASSERT_EQ(raw.size(), 2u);
    EXPECT_EQ(raw[1].start, 4);
    EXPECT_EQ(raw[1].length, 2);
}

TEST(TextFileWrite, WritesGb18030WithCrLfAfterEveryLineAndReadsBackTheSame)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.file("t.txt");
    const QStringList lines{fromUtf8("中文"), "", fromUtf8("€ 😀 ü"), QString(5000, u'长')};
    writeLines(path, lines);
    const QByteArray bytes = testing_support::readBytes(path);
    // € as code page 936 writes it; 😀, which that page lacks, in four bytes instead of "?"
    EXPECT_TRUE(bytes.startsWith("\xD6\xD0\xCE\xC4\r\n\r\n\x80 \x94\x39\xFC\x36 "));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(readLines(path), lines);
}

TEST(TextFileWrite, ReplacesAnExistingFileWhole)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.file("t.txt");
    writeFile(path, QByteArray(1000, 'x'));
    writeLines(path, {"a"});
    EXPECT_EQ(testing_support::readBytes(path), "a\r\n");
}

TEST(TextFileErrors, FoldersMissingFilesAndImpossiblePathsAreRefusedWithTheirName)
{
    testing_support::ProgramFolder folder;
    writeFile(folder.file("plain"), "x");
    const QString underAFile = folder.file("plain/t.txt");
    EXPECT_THROW(readBytes(folder.path()), FileError);
    EXPECT_THROW(readBytes(folder.file("missing.txt")), FileError);
    EXPECT_THROW(writeLines(folder.path(), {"a"}), FileError);
    try {
        writeLines(underAFile, {"a"});
        ADD_FAILURE() << "wrote under a regular file";
    } catch (const FileError& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(underAFile));
    }
    EXPECT_EQ(testing_support::readBytes(folder.file("plain")), "x");
}

TEST(TextFileGb18030, AgreesWithTheSystemConverterOnEveryCharacterButTheEuroSign)
{
    QString all;
    for (char32_t c = 1; c < 0x110000; c += c < 0x10000 ? 1 : 61)
        if ((c < 0xD800 || c > 0xDFFF) && c != 0x20AC)
            all.append(QChar::fromUcs4(c));
    const QByteArray bytes = encode(all);
    EXPECT_EQ(bytes, QStringEncoder("GB18030").encode(all));
    EXPECT_EQ(decode(bytes), all);
}
