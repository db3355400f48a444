// Text files: which encoding a file is read in, where lines end, what is written, and how files
// that cannot be read or written are refused.
#include "support/ProgramFolder.h"

#include "text/Gb18030.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
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

TEST(TextFileDecode, ReadsAUserFileAsUtf8OnlyWhenThisProgramCannotHaveWrittenIt)
{
    EXPECT_EQ(decodeUserFile("\xEF\xBB\xBF" "abc"), "abc");
    EXPECT_EQ(decodeUserFile("\xEF\xBB\xBF" "\xD6\xD0"), QString(QChar(0xFFFD)) + QChar(0xFFFD));
    EXPECT_EQ(decodeUserFile("\xE4\xB8\xAD\xE6\x96\x87\n"), fromUtf8("中文\n"));     // LF alone
    EXPECT_EQ(decodeUserFile("\xE4\xB8\xAD\r\n"), fromUtf8("中\r\n"));                 // no GB18030
    EXPECT_EQ(decodeUserFile("\xF0\x9F\x98\x80\xE4\xB8\xAD\r\n"), QString::fromUcs4(U"\U0001F600中\r\n"));
    // Valid either way, with CR LF or no line end: this program may have written it.
    EXPECT_EQ(decodeUserFile("\xE4\xB8\xAD\xE6\x96\x87"), decodeGb18030("\xE4\xB8\xAD\xE6\x96\x87"));
    EXPECT_EQ(decodeUserFile("\xD1\xA7\xD0\xA3\r\n"), fromUtf8("学校\r\n"));
    EXPECT_EQ(decodeUserFile("\xC0\xAF"), fromUtf8("蜡"));                  // overlong: not UTF-8
    EXPECT_EQ(decodeUserFile("\xED\xA0\x80").size(), 2);                    // surrogate: not UTF-8
    EXPECT_EQ(decodeUserFile("\xD6\xD0\xCE\xC4"), fromUtf8("中文"));          // code page 936
    EXPECT_EQ(decodeUserFile("\x81\x30\x81\x30"), QString(QChar(0x80)));      // four-byte form
    EXPECT_EQ(decodeUserFile("\x80\xD6\xD0\xB0\x80"), fromUtf8("€中皜"));    // 0x80 alone is €
}

TEST(TextFileDecode, ReadsTheProgramsOwnFilesAsGb18030UnlessTheyStartWithTheByteOrderMark)
{
    EXPECT_EQ(decodeOwnFile("\xD1\xA7\xD0\xA3\n\xD2\xBD\xD4\xBA"), fromUtf8("学校\n医院"));
    EXPECT_EQ(decodeOwnFile("\xD2\xBB"), fromUtf8("一"));
    EXPECT_EQ(decodeOwnFile("\xEF\xBB\xBF" "\xD2\xBB"), fromUtf8("һ"));
}

TEST(TextFileDecode, ANulByteIsANulCharacterInEitherEncoding)
{
    const QString withNul = QStringLiteral("a") + QChar(0) + fromUtf8("中");
    bool wellFormed = false;
    EXPECT_EQ(decodeGb18030(QByteArrayView("a\0\xD6\xD0", 4), &wellFormed), withNul);
    EXPECT_TRUE(wellFormed);
    EXPECT_EQ(decodeUserFile(encode(withNul)), withNul);
    EXPECT_EQ(decodeOwnFile(QByteArrayView("\xEF\xBB\xBF" "a\0\xE4\xB8\xAD", 8)), withNul);
}

TEST(TextFileDecode, BadBytesBecomeReplacementCharactersAndNeverSwallowLineEnds)
{
    const QChar bad(0xFFFD);
    EXPECT_EQ(decodeUserFile("\xFF" "A"), QString(bad) + u'A');
    EXPECT_EQ(decodeUserFile("\xBB\xE1\x81"), fromUtf8("会") + bad);         // cut-off last character
    EXPECT_EQ(decodeOwnFile("\x81\r\n~0~1~"), QString(bad) + QStringLiteral("\r\n~0~1~"));
    EXPECT_EQ(splitLines(decodeOwnFile("\xD6\n\xD0")).size(), 2);
    bool wellFormed = true;
    decodeGb18030("\x84\x31\xA5\x30", &wellFormed);                         // past the last character
    EXPECT_FALSE(wellFormed);
    EXPECT_EQ(decodeGb18030("\x84\x31\xA4\x37", &wellFormed), QString(bad));  // U+FFFD itself
    EXPECT_TRUE(wellFormed);
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

// The reader that keeps nothing finds exactly the lines of findLines, line end by line end.
TEST(TextFileSplit, LineReaderAndCountLinesAgreeWithFindLines)
{
    for (const QByteArrayView bytes : {QByteArrayView("a\r\nb\rc\n\nd"), QByteArrayView("x\r\n"),
                                       QByteArrayView(""), QByteArrayView("\r\n"),
                                       QByteArrayView("\n\r"), QByteArrayView("\r\r\n\n"),
                                       QByteArrayView("no end")}) {
        QList<QByteArrayView> expected;
        for (const LineSpan& span : findLines(bytes))
            expected.append(bytes.sliced(span.start, span.length));
        QList<QByteArrayView> read;
        LineReader reader(bytes);
        for (QByteArrayView line; reader.next(line);)
            read.append(line);
        EXPECT_EQ(read, expected) << bytes.toByteArray().toHex().constData();
        EXPECT_EQ(countLines(bytes), expected.size());
    }
}

// A file read in pieces gives the lines of the whole file: line ends split between pieces, lines
// longer than a piece, no final line end. The pieces are 4 MiB.
TEST(TextFileSplit, LineStreamAgreesWithFindLinesAcrossItsPieces)
{
    constexpr qsizetype kPiece = qsizetype(4) << 20;
    testing_support::ProgramFolder folder;
    const QString path = folder.file("lines.txt");
    const QByteArray piece(kPiece - 1, 'a');
    for (const QByteArray& bytes :
         {piece + "\r\nb", piece + "\rc\n", piece + "\r", piece + "x\r\n\r\n", piece + "xy\n\r\n",
          QByteArray(9 << 20, 'L') + "\ntail", QByteArray("a\r\nb\rc\n\nd"), QByteArray(),
          QByteArray("\r\n"), QByteArray("no end")}) {
        writeFile(path, bytes);
        QList<QByteArray> expected;
        for (const LineSpan& span : findLines(bytes))
            expected.append(bytes.sliced(span.start, span.length));
        QList<QByteArray> read;
        LineStream stream(path);
        for (QByteArrayView line; stream.next(line);)
            read.append(line.toByteArray());
        QByteArrayView none;
        EXPECT_FALSE(stream.next(none));
        ASSERT_EQ(read.size(), expected.size()) << bytes.right(8).toHex().constData();
        EXPECT_TRUE(read == expected) << bytes.right(8).toHex().constData();
    }
    EXPECT_THROW(LineStream(folder.path()), FileError);
    EXPECT_THROW(LineStream(folder.file("missing.txt")), FileError);
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
    EXPECT_EQ(splitLines(decodeUserFile(readBytes(path))), lines);
    EXPECT_EQ(readOwnFileLines(path), lines);
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
    EXPECT_EQ(decodeOwnFile(bytes), all);
    EXPECT_EQ(decodeUserFile(bytes), all);
}

// The UTF-8 paths (export from the store's UTF-8, import into it) must give exactly the bytes
// and characters of the UTF-16 paths, for every character and for broken input.
TEST(TextFileGb18030, Utf8PathsGiveWhatTheUtf16PathsGive)
{
    QString all;
    for (char32_t c = 1; c < 0x110000; c += c < 0x10000 ? 1 : 61)
        if (c < 0xD800 || c > 0xDFFF)
            all.append(QChar::fromUcs4(c));
    const QByteArray utf8 = all.toUtf8();
    QByteArray gb(maxGb18030SizeOfUtf8(utf8), Qt::Uninitialized);
    const char* end = writeGb18030FromUtf8(gb.data(), utf8);
    ASSERT_NE(end, nullptr);
    gb.truncate(end - gb.constData());
    EXPECT_EQ(gb, encode(all));

    QByteArray broken = gb + QByteArray("\x81\x30\xFF\x80\x84\x31\xA4\x37\x81\r\xFE", 11);
    Utf8Decoder decoder;
    EXPECT_EQ(decoder.decode(broken, Encoding::Gb18030), decodeGb18030(broken).toUtf8());
    EXPECT_EQ(decoder.decode("", Encoding::Gb18030), QByteArray());
    const QByteArray badUtf8("a\xC0\x80" "b\xED\xA0\x80\xF5\x80\xE4\xB8", 12);
    EXPECT_EQ(decoder.decode(badUtf8, Encoding::Utf8), decode(badUtf8, Encoding::Utf8).toUtf8());
    EXPECT_EQ(decoder.decode("\xEF\xBB\xBF\xE4\xB8\xAD", Encoding::Utf8), "\xEF\xBB\xBF\xE4\xB8\xAD");

    // Overlong forms, surrogates, code points past U+10FFFF and cut sequences are no UTF-8.
    for (const QByteArray& bad : {QByteArray("\xC0\x80"), QByteArray("\xE0\x9F\xBF"), QByteArray("\xED\xA0\x80"),
                                 QByteArray("\xF4\x90\x80\x80"), QByteArray("\xE4\xB8"), QByteArray("\x80")}) {
        LineEncoder encoder;
        EXPECT_FALSE(encoder.appendUtf8(bad)) << bad.toHex().constData();
        EXPECT_TRUE(encoder.gathered().isEmpty());
    }
    // The same inside long runs of Chinese and ASCII, which are encoded several bytes at a time,
    // at every offset of those steps.
    const QByteArray chinese = QStringLiteral("中文字符，标题。").toUtf8();
    for (const QByteArray& bad : {QByteArray("\xE0\x9F\xBF"), QByteArray("\xED\xA0\x80"), QByteArray("\xE4\xB8" "a"),
                                 QByteArray("\xE4\xB8\xE4")}) {
        for (int shift = 0; shift < 8; ++shift) {
            LineEncoder encoder;
            const QByteArray line = QByteArray(shift, 'a') + chinese + bad + chinese + "abcdefgh";
            EXPECT_FALSE(encoder.appendUtf8(line)) << line.toHex().constData();
        }
    }
    for (int shift = 0; shift < 8; ++shift) {
        const QString text = QString(shift, u'a') + QStringLiteral("中文€字符·é，abcdefgh标题\U0001F600。xy");
        LineEncoder encoder;
        EXPECT_TRUE(encoder.appendUtf8(text.toUtf8()));
        EXPECT_EQ(encoder.take(), encode(text) + "\r\n") << shift;
    }
    LineEncoder encoder;
    EXPECT_TRUE(encoder.appendUtf8("\xE2\x82\xAC\xC2\x80\xF0\x9F\x98\x80"));  // € U+0080 😀
    EXPECT_EQ(encoder.take(), encode(QStringLiteral("\u20AC\u0080\U0001F600")) + "\r\n");
}

namespace {

// Calls visit with every two GB18030 two-byte characters whose four bytes are also valid UTF-8:
// two UTF-8 characters of two bytes; one of three bytes and an ASCII letter (the second trail
// byte); one of four bytes.
template <typename Visit>
void forEachPairThatIsAlsoUtf8(Visit visit)
{
    struct Range {
        int low, high;
    };
    const auto each = [](Range range, auto body) {
        for (int b = range.low; b <= range.high; ++b)
            body(char(b));
    };
    const Range continuation{0x80, 0xBF}, gbLeadAsContinuation{0x81, 0xBF}, asciiTrail{0x40, 0x7E};
    char bytes[4];
    each({0xC2, 0xDF}, [&](char a) { bytes[0] = a;
        each(continuation, [&](char b) { bytes[1] = b;
            each({0xC2, 0xDF}, [&](char c) { bytes[2] = c;
                each(continuation, [&](char d) { bytes[3] = d; visit(QByteArrayView(bytes, 4)); });
            });
        });
    });
    each({0xE0, 0xEF}, [&](char a) { bytes[0] = a;
        const Range second = uchar(a) == 0xE0 ? Range{0xA0, 0xBF}
                             : uchar(a) == 0xED ? Range{0x80, 0x9F} : continuation;
        each(second, [&](char b) { bytes[1] = b;
            each(gbLeadAsContinuation, [&](char c) { bytes[2] = c;
                each(asciiTrail, [&](char d) { bytes[3] = d; visit(QByteArrayView(bytes, 4)); });
            });
        });
    });
    each({0xF0, 0xF4}, [&](char a) { bytes[0] = a;
        const Range second = uchar(a) == 0xF0 ? Range{0x90, 0xBF}
                             : uchar(a) == 0xF4 ? Range{0x80, 0x8F} : continuation;
        each(second, [&](char b) { bytes[1] = b;
            each(gbLeadAsContinuation, [&](char c) { bytes[2] = c;
                each(continuation, [&](char d) { bytes[3] = d; visit(QByteArrayView(bytes, 4)); });
            });
        });
    });
}

} // namespace

// Short files are where GB18030 text is most often valid UTF-8 as well (学校 reads "ѧУ"). The
// one exception is a text that starts with 锘 (EF BB) and a character whose first byte is BF:
// those are the bytes of the UTF-8 byte-order mark, which always means UTF-8.
TEST(TextFileDecode, EveryPairOfCharactersThatIsAlsoValidUtf8ReadsBackAsThisProgramWroteIt)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.file("pair.txt");
    QStringDecoder utf8(QStringDecoder::Utf8);
    qint64 pairs = 0, misread = 0;
    forEachPairThatIsAlsoUtf8([&](QByteArrayView pair) {
        const QByteArray file = pair.toByteArray() + "\r\n";  // a line as the program writes it
        const bool byteOrderMark = pair.startsWith("\xEF\xBB\xBF");
        if ((encodingOfUserFile(file) == Encoding::Gb18030) == byteOrderMark && ++misread <= 5)
            ADD_FAILURE() << "misread: " << pair.toByteArray().toHex().constData();
        // A sample goes through the files themselves, both ways of writing one.
        if (++pairs % 49999 == 0) {
            (void)utf8.decode(pair);
            ASSERT_FALSE(utf8.hasError()) << pair.toByteArray().toHex().constData();
            const QString text = decodeGb18030(pair);
            writeLines(path, {text});
            EXPECT_EQ(splitLines(decodeUserFile(readBytes(path))), QStringList{text});
            writeBytes(path, encode(text));
            EXPECT_EQ(decodeUserFile(readBytes(path)), text);
        }
    });
    EXPECT_EQ(misread, 0);
    EXPECT_GT(pairs, 8'000'000);
}
