// Storing a picture (write side): the name rules with every worked example, the
// flag, the data of each kind of record.
#include "Fixtures.h"
#include "HostilePictures.h"
#include "support/ProgramFolder.h"

#include "album/PictureCodec.h"
#include "album/PictureRecords.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"
#include "text/FileErrors.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <gtest/gtest.h>

using namespace album;
using namespace album_fixtures;

namespace {

void expectStored(const QString& file, const QString& typed, const QString& name, std::optional<int> flag)
{
    const StoredName stored = storedName(file, typed);
    EXPECT_EQ(stored.name, name) << file.toStdString() << " / " << typed.toStdString();
    EXPECT_EQ(stored.flag, flag) << file.toStdString() << " / " << typed.toStdString();
}

} // namespace

TEST(PictureRecords, ExtensionIsTheTextFromTheLastDotOfTheFileName)
{
    EXPECT_EQ(fileExtension("/a/b.c/Sea.JPG"), ".JPG");
    EXPECT_EQ(fileExtension("/a/b.c/Sea"), "");
    EXPECT_EQ(fileExtension("/x/archive.tar.jpeg"), ".jpeg");
    EXPECT_EQ(fileExtension("/x/dot."), ".");
}

TEST(PictureRecords, StoredNameKeepsAnExtensionOfTheFilesKindElseAddsTheFilesOwn)
{
    expectStored("/p/Sea.JPG", "Sea.JPG", "Sea.JPG", 1);
    expectStored("/p/Sea.JPG", "海边", "海边.jpg", 1);
    expectStored("/p/a.jpeg", "a", "a.jpeg", 1);
    expectStored("/p/a.jpg", "a.JPEG", "a.JPEG", 1);
    expectStored("/p/x.bmp", "x.jpg", "x.jpg.bmp", 0);
    expectStored("/p/y.bmp", "bmp", "bmp.bmp", 0);
    expectStored("/p/logo.ico", "logo", "Fail", std::nullopt);
}

TEST(PictureRecords, StoredNameComparesExtensionsWithoutCaseAndMarksOtherKindsFail)
{
    expectStored("/p/x.BMP", "x.Bmp", "x.Bmp", 0);
    expectStored("/p/photo.JPG", "photo.jpeg", "photo.jpeg", 1);
    expectStored("/p/photo.jpeg", "photo", "photo.jpeg", 1);
    expectStored("/p/photo.Jpg", "photo", "photo.jpg", 1);
    expectStored("/p/photo.JPEG", "photo", "photo.jpeg", 1);
    expectStored("/p/x.bmp", "x.bmp ", "x.bmp .bmp", 0);
    expectStored("/p/x.bmp", " x ", " x .bmp", 0);
    expectStored("/p/x.jpg", "jpg", "jpg.jpg", 1);  // shorter than ".jpg" with its dot
    expectStored("/p/x.png", "x.png", "Fail", std::nullopt);
    expectStored("/p/noextension", "n", "Fail", std::nullopt);
    expectStored("/p/x.bmp.txt", "x.bmp", "Fail", std::nullopt);
    expectStored("/p/x.jpe", "x.jpe", "Fail", std::nullopt);
}

class StorePictureTest : public ::testing::Test {
protected:
    StorePictureTest()
    {
        query.setStorePath(folder.storePath());
        query.setStatement(store::statements::allPictures());
        query.open();
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.file(name);
        writeFile(path, bytes);
        return path;
    }
    // The row as the store holds it, read by a fresh query.
    struct Row {
        QVariant name, description, flag, data;
    };
    Row lastRow()
    {
        store::Query check;
        check.setStorePath(folder.storePath());
        check.setStatement(store::statements::allPictures());
        check.open();
        check.last();
        return {check.field(0), check.field(1), check.field(2), check.field(3)};
    }

    testing_support::ProgramFolder folder;
    store::Query query;
};

TEST_F(StorePictureTest, JpegStreamIsStoredByteForByte)
{
    const QByteArray jpeg = jpegBytes(30, 20) + QByteArray("trailing bytes stay too");
    const QString path = file(QStringLiteral("Sea.JPG"), jpeg);
    const LoadedPicture picture = loadPictureFile(path);
    EXPECT_EQ(picture.kind, LoadedKind::Jpeg);
    EXPECT_EQ(picture.image.size(), QSize(30, 20));
    storePicture(query, path, picture, QStringLiteral("海边"), QStringLiteral(" 描述 "));
    const Row row = lastRow();
    EXPECT_EQ(row.name.toString(), "海边.jpg");
    EXPECT_EQ(row.description.toString(), " 描述 ");
    EXPECT_EQ(row.flag.toString(), "1");
    EXPECT_EQ(row.data.toByteArray(), jpeg);
    EXPECT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.recNo(), 1);  // the posted row is current
}

TEST_F(StorePictureTest, BitmapIsStoredAsABmpFileOfThePicture)
{
    const QString path = file(QStringLiteral("x.Bmp"), bmpBytes(12, 7));
    const LoadedPicture picture = loadPictureFile(path);
    EXPECT_EQ(picture.kind, LoadedKind::Bitmap);
    storePicture(query, path, picture, QStringLiteral("x.jpg"), QString());
    const Row row = lastRow();
    EXPECT_EQ(row.name.toString(), "x.jpg.bmp");
    EXPECT_EQ(row.flag.toString(), "0");  // the number 0 reads back as the text "0"
    const QByteArray data = row.data.toByteArray();
    EXPECT_TRUE(data.startsWith("BM"));
    const auto decoded = decodeRecord(data, row.flag);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->size(), QSize(12, 7));
    EXPECT_EQ(decoded->pixel(5, 3), pattern(12, 7).pixel(5, 3));
}

TEST_F(StorePictureTest, OtherFormatsBecomeFailRecordsWithTheirOwnBytes)
{
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        pattern(5, 5).save(&buffer, "PNG");
    }
    const QString path = file(QStringLiteral("logo.png"), png);
    const LoadedPicture picture = loadPictureFile(path);
    EXPECT_EQ(picture.kind, LoadedKind::Other);
    storePicture(query, path, picture, QStringLiteral("标志"), QStringLiteral("说明"));
    const Row row = lastRow();
    EXPECT_EQ(row.name.toString(), "Fail");
    EXPECT_TRUE(row.flag.isNull());
    EXPECT_EQ(row.description.toString(), "说明");
    EXPECT_EQ(row.data.toByteArray(), png);
    EXPECT_FALSE(decodeRecord(row.data.toByteArray(), row.flag).has_value());
}

TEST_F(StorePictureTest, FilesThatDoNotLoadAreErrors)
{
    EXPECT_THROW(loadPictureFile(file(QStringLiteral("bad.jpg"), QByteArray("not a jpeg"))), DecodeError);
    EXPECT_THROW(loadPictureFile(file(QStringLiteral("bad.bmp"), bmpClaiming(9000, 9000))), DecodeError);
    EXPECT_THROW(loadPictureFile(file(QStringLiteral("bad.ico"), QByteArray("xx"))), DecodeError);
    EXPECT_THROW(loadPictureFile(folder.file(QStringLiteral("missing.jpg"))), std::runtime_error);
}

TEST_F(StorePictureTest, TopDownBitmapIsLoadedAndStoredWithItsPixels)
{
    const QString path = file(QStringLiteral("top.bmp"), hostile_pictures::topDownBmp(pattern(12, 7)));
    const LoadedPicture picture = loadPictureFile(path);
    EXPECT_EQ(picture.image.convertToFormat(QImage::Format_RGB32), pattern(12, 7));
    storePicture(query, path, picture, QStringLiteral("top"), QString());
    const auto decoded = decodeRecord(lastRow().data.toByteArray(), 0);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->convertToFormat(QImage::Format_RGB32), pattern(12, 7));
}

// A folder, a device or a FIFO is refused at once, in the words of every other file reader.
TEST_F(StorePictureTest, OnlyRegularFilesAreReadAsPictures)
{
    const QString fifo = folder.file(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.bmp")));
    const QString folderPath = folder.file(QStringLiteral("folder.bmp"));
    const auto refusal = [](const QString& path) {
        try {
            loadPictureFile(path);
        } catch (const textfile::FileError& error) {
            return QString::fromUtf8(error.what());
        }
        return QString();
    };
    using namespace textfile;
    EXPECT_EQ(refusal(fifo), QString::fromUtf8(readFailure(fifo, reason::kNotARegularFile).what()));
    EXPECT_EQ(refusal(QStringLiteral("/dev/zero")),
              QString::fromUtf8(readFailure(QStringLiteral("/dev/zero"), reason::kNotARegularFile).what()));
    EXPECT_EQ(refusal(folderPath), QString::fromUtf8(readFailure(folderPath, reason::kIsAFolder).what()));
}

TEST_F(StorePictureTest, RefusedPostLeavesNoNewRow)
{
    const QString path = file(QStringLiteral("a.jpg"), jpegBytes(4, 4));
    const LoadedPicture picture = loadPictureFile(path);
    store::Connection(folder.storePath())
        .exec(QStringLiteral("create trigger refuse before insert on 图片 begin select raise(abort, 'refused'); end"));
    EXPECT_THROW(storePicture(query, path, picture, "a", ""), std::exception);
    EXPECT_FALSE(query.inserting());
    EXPECT_EQ(query.recordCount(), 0);
}
