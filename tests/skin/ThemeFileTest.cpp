// Theme files: reading the chain, the rules for bad files, and the theme component.
#include "ThemeFileBuilder.h"
#include "skin/Controls.h"
#include "skin/FileTheme.h"
#include "skin/ThemeFileReader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::putInt32;
using testing_support::ThemeFileBuilder;

namespace {

constexpr int kNextField = 73;

QByteArray bitmapBytes(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

bool rejected(const QByteArray& bytes)
{
    try {
        TsuiThemeFileReader::fromBytes(bytes);
        return false;
    } catch (const ThemeFileError&) {
        return true;
    }
}

QByteArray sampleTheme()
{
    return ThemeFileBuilder()
        .integer("FormBackgroundColor", 0x123456)
        .integer("FormBorderWidthInt", 7)
        .byte("ButtonTransparentBool", 1)
        .string("Author", "someone")
        .add("Unknown", 9, QByteArray("ignored"))
        .picture("ButtonImage", bitmapBytes({30, 8}, QColor(10, 200, 30)))
        .build();
}

class ThemeFolder {
public:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

private:
    QTemporaryDir dir_;
};

} // namespace

TEST(ThemeFileReader, ReadsEveryEntryTypeWithCaseBlindNames)
{
    const TsuiThemeFileReader reader = TsuiThemeFileReader::fromBytes(sampleTheme());
    EXPECT_EQ(reader.integer("formbackgroundcolor"), 1193046);
    EXPECT_EQ(reader.integer("FORMBORDERWIDTHINT"), 7);
    EXPECT_EQ(reader.byte("ButtonTransparentBool"), 1);
    EXPECT_EQ(reader.string("author"), QStringLiteral("someone"));
    EXPECT_EQ(reader.integer("ButtonTransparentBool"), std::nullopt) << "a byte entry is no integer";
    EXPECT_TRUE(reader.hasPicture("BUTTONIMAGE"));
    EXPECT_EQ(reader.pictureBytes("buttonImage"), bitmapBytes({30, 8}, QColor(10, 200, 30)));
    EXPECT_EQ(reader.entryCount(), 5) << "an entry of an unknown type is skipped";
    EXPECT_EQ(reader.integer("Missing"), std::nullopt);
}

TEST(ThemeFileReader, TheRecordThatEndsTheChainIsNotAnEntry)
{
    // n entries take n + 1 records: cutting the chain after the second record drops its entry.
    QByteArray bytes = ThemeFileBuilder().integer("A", 1).integer("B", 2).integer("C", 3).build();
    putInt32(bytes, ThemeFileBuilder::recordOffset(1) + kNextField, 0);
    const TsuiThemeFileReader reader = TsuiThemeFileReader::fromBytes(bytes);
    EXPECT_EQ(reader.integer("A"), 1);
    EXPECT_EQ(reader.integer("B"), std::nullopt);
    EXPECT_EQ(reader.entryCount(), 1);
}

TEST(ThemeFileReader, FirstEntryOfANameWins)
{
    const QByteArray bytes = ThemeFileBuilder().integer("Width", 1).integer("WIDTH", 2).build();
    EXPECT_EQ(TsuiThemeFileReader::fromBytes(bytes).integer("width"), 1);
}

TEST(ThemeFileReader, RejectsFilesThatBreakTheFormat)
{
    const QByteArray good = sampleTheme();
    ASSERT_FALSE(rejected(good));
    const qint32 first = ThemeFileBuilder::recordOffset(0);

    auto with = [&](qsizetype offset, qint32 value) {
        QByteArray bytes = good;
        putInt32(bytes, offset, value);
        return bytes;
    };
    EXPECT_TRUE(rejected(with(12, 25))) << "header length over 24";
    EXPECT_TRUE(rejected(with(12, 16))) << "header too short to hold the first offset";
    EXPECT_TRUE(rejected(with(12, -1)));
    EXPECT_TRUE(rejected(with(20, -77)));
    EXPECT_TRUE(rejected(with(20, good.size() - 10))) << "first record runs past the end";
    EXPECT_TRUE(rejected(with(first + kNextField, first))) << "a chain that loops on itself";
    EXPECT_TRUE(rejected(with(ThemeFileBuilder::recordOffset(3) + kNextField, ThemeFileBuilder::recordOffset(1))))
        << "a chain that loops back";
    EXPECT_TRUE(rejected(with(first + kNextField, good.size() + 5))) << "next record outside the file";
    EXPECT_TRUE(rejected(with(first + 65, good.size() - 2))) << "integer data outside the file";
    EXPECT_TRUE(rejected(with(first + 69, 3))) << "an integer entry that is not 4 bytes";
    EXPECT_TRUE(rejected(with(ThemeFileBuilder::recordOffset(2) + 69, 2))) << "a byte entry that is not 1 byte";
    EXPECT_TRUE(rejected(with(ThemeFileBuilder::recordOffset(5) + 69, 0x7FFFFFFF))) << "a huge picture size";
    EXPECT_TRUE(rejected(with(ThemeFileBuilder::recordOffset(5) + 69, -4))) << "a negative picture size";
    EXPECT_TRUE(rejected(with(ThemeFileBuilder::recordOffset(3) + 65, -100))) << "a negative string offset";
    EXPECT_TRUE(rejected(QByteArray()));
    EXPECT_TRUE(rejected(QByteArray(23, '\0')));
}

TEST(ThemeFileReader, AChainPastOneHundredThousandRecordsIsRejected)
{
    ThemeFileBuilder longChain;
    for (int i = 0; i < 100001; ++i)
        longChain.add("x", 9, {});
    EXPECT_TRUE(rejected(longChain.build()));
}

TEST(ThemeFileReader, EveryCutAndFlippedByteOfAValidFileIsReadSafely)
{
    const QByteArray good = sampleTheme();
    int accepted = 0;
    for (qsizetype length = 0; length < good.size(); ++length)
        accepted += rejected(good.left(length)) ? 0 : 1;
    EXPECT_EQ(accepted, 0) << "a cut file loses the data of its last entry";
    for (qsizetype at = 0; at < ThemeFileBuilder::recordOffset(7); ++at)
        for (char flip : {'\x01', '\x80', '\xff'}) {
            QByteArray bytes = good;
            bytes[at] = char(bytes[at] ^ flip);
            rejected(bytes);  // either outcome; it must neither crash nor hang
        }
}

TEST(FileTheme, OpensAFileAndLooksValuesUpByStylePosition)
{
    ThemeFolder folder;
    TsuiFileTheme theme;
    EXPECT_FALSE(theme.isOpened());
    EXPECT_EQ(theme.color(StyleEntry::FormBackgroundColor), 0);
    EXPECT_EQ(theme.integer(StyleEntry::FormBorderWidthInt), 0);
    EXPECT_FALSE(theme.boolean(StyleEntry::ButtonTransparentBool));

    theme.setThemeFile(folder.write("a.thm", sampleTheme()));
    ASSERT_TRUE(theme.isOpened());
    EXPECT_EQ(theme.color(StyleEntry::FormBackgroundColor), 0x123456);
    EXPECT_EQ(theme.integer(StyleEntry::FormBorderWidthInt), 7);
    EXPECT_TRUE(theme.boolean(StyleEntry::ButtonTransparentBool));
    EXPECT_EQ(theme.integer(StyleEntry::FormMinWidthInt), -1) << "missing integer";
    EXPECT_FALSE(theme.boolean(StyleEntry::TitleBarButtonTransparentBool)) << "missing boolean";
    QImage picture;
    theme.bitmap(StyleEntry::ButtonImage, &picture);
    EXPECT_EQ(picture.size(), QSize(30, 8));
    theme.bitmap(StyleEntry::ButtonImage, &picture, 2, 3);
    EXPECT_EQ(picture.size(), QSize(10, 8));
    EXPECT_EQ(picture.pixelColor(5, 4), QColor(10, 200, 30));
    theme.bitmap(StyleEntry::CheckBoxImage, &picture);
    EXPECT_TRUE(picture.isNull()) << "no CheckBoxImage entry";
}

TEST(FileTheme, AnEmptyChainOpensAThemeWithoutEntries)
{
    ThemeFolder folder;
    TsuiFileTheme theme;
    theme.setThemeFile(folder.write("empty.thm", ThemeFileBuilder().build()));
    ASSERT_TRUE(theme.isOpened());
    for (int pos = 1; pos <= skin::kStyleEntryCount; ++pos) {
        const StyleEntry entry = StyleEntry(pos);
        EXPECT_EQ(theme.color(entry), -1);
        EXPECT_EQ(theme.integer(entry), -1);
        EXPECT_FALSE(theme.boolean(entry));
        QImage picture(1, 1, QImage::Format_RGB32);
        theme.bitmap(entry, &picture);
        EXPECT_TRUE(picture.isNull());
    }
}

TEST(FileTheme, MissingSameOrBrokenFilesChangeNothing)
{
    ThemeFolder folder;
    TsuiFileTheme theme;
    theme.setThemeFile(QDir::tempPath() + QStringLiteral("/no-such-folder/no-such-theme.thm"));
    EXPECT_FALSE(theme.isOpened());
    EXPECT_TRUE(theme.ThemeFile().isEmpty());

    QByteArray broken = sampleTheme();
    putInt32(broken, 12, 25);
    theme.setThemeFile(folder.write("broken.thm", broken));
    EXPECT_FALSE(theme.isOpened()) << "a rejected file leaves the theme unopened";

    const QString path = folder.write("a.thm", sampleTheme());
    theme.setThemeFile(path);
    ASSERT_TRUE(theme.isOpened());
    // The same path again does not read the file again.
    folder.write("a.thm", ThemeFileBuilder().integer("FormBorderWidthInt", 1).build());
    theme.setThemeFile(path);
    EXPECT_EQ(theme.integer(StyleEntry::FormBorderWidthInt), 7);
    // A broken or missing file keeps the opened one.
    theme.setThemeFile(folder.write("broken.thm", broken));
    EXPECT_EQ(theme.ThemeFile(), path);
    EXPECT_EQ(theme.integer(StyleEntry::FormBorderWidthInt), 7);
    theme.setThemeFile(QStringLiteral("/nowhere/at/all.thm"));
    EXPECT_EQ(theme.ThemeFile(), path);
}

TEST(FileTheme, AFileNotFoundAtThePathIsLookedForInTheProgramsFolder)
{
    const QString name = QStringLiteral("skin_test_%1.thm").arg(QCoreApplication::applicationPid());
    const QString beside = QCoreApplication::applicationDirPath() + u'/' + name;
    {
        QFile file(beside);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(sampleTheme());
    }
    TsuiFileTheme theme;
    theme.setThemeFile(QStringLiteral("C:\\Themes\\") + name);
    QFile::remove(beside);
    EXPECT_TRUE(theme.isOpened());
    EXPECT_EQ(theme.ThemeFile(), beside);
}

TEST(FileTheme, OpeningMakesTheOwnersControlsResolveAgain)
{
    ThemeFolder folder;
    QWidget window;
    auto* form = new TsuiForm(&window);
    auto* theme = new TsuiFileTheme(&window);
    auto* button = new TsuiButton(QStringLiteral("a"), form);
    button->setFileTheme(theme);
    button->setUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_FALSE(button->Transparent()) << "DeepBlue while the theme is unopened";
    QWidget otherWindow;
    auto* elsewhere = new TsuiButton(QStringLiteral("b"), &otherWindow);
    elsewhere->setFileTheme(theme);
    elsewhere->setUIStyle(TsuiUIStyle::FromThemeFile);

    theme->setThemeFile(folder.write("a.thm", sampleTheme()));
    EXPECT_TRUE(button->Transparent()) << "ButtonTransparentBool of the theme";
    EXPECT_EQ(button->UIStyle(), TsuiUIStyle::FromThemeFile);
    EXPECT_FALSE(elsewhere->Transparent()) << "only the owning window's controls resolve again";
    elsewhere->setFileTheme(theme);
    EXPECT_TRUE(elsewhere->Transparent()) << "assigning the theme again resolves it";
}
