// Pictures decoded while they are read piece by piece (from the store, on a decoding thread):
// the same pictures and the same refusals as a decode from memory, never more than one piece in
// memory, and the reader's own failures passed on as what they are.
#include "Fixtures.h"
#include "HostilePictures.h"
#include "support/ProgramFolder.h"

#include "album/PictureCodec.h"
#include "album/PictureReader.h"
#include "album/PictureView.h"
#include "store/Sqlite.h"
#include "store/Tables.h"

#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <gtest/gtest.h>
#include <cstring>
#include <stdexcept>
#include <vector>

using namespace album;
using namespace album_fixtures;

namespace {

// A stream in memory served piece by piece, as the store serves it, with what was asked of it.
class Pieces : public PictureBytes {
public:
    explicit Pieces(QByteArray bytes, qint64 failAt = -1) : bytes_(std::move(bytes)), failAt_(failAt) {}
    qint64 size() const override { return bytes_.size(); }
    void read(qint64 offset, char* into, qint64 length) override
    {
        EXPECT_GE(offset, 0);
        EXPECT_LE(offset + length, bytes_.size());
        if (failAt_ >= 0 && offset + length > failAt_)
            throw store::StoreError("读取“Myimage”时出错：磁盘 I/O 错误");
        std::memcpy(into, bytes_.constData() + offset, size_t(length));
        largestRead = std::max(largestRead, length);
        bytesRead += length;
    }
    qint64 largestRead = 0;
    qint64 bytesRead = 0;

private:
    QByteArray bytes_;
    qint64 failAt_;
};

// Noise does not compress away, so the stream spans many pieces.
QByteArray noisyJpeg(int width, int height, bool progressive = false)
{
    QImage picture(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, random.generate() | 0xff000000u);
    return hostile_pictures::encodedAs(picture, "JPG", progressive);
}

// The picture, or the message it was refused with.
template <typename Decode>
std::pair<QImage, QString> outcome(Decode decode)
{
    try {
        return {decode(), QString()};
    } catch (const DecodeError& error) {
        return {QImage(), QString::fromUtf8(error.what())};
    }
}

} // namespace

TEST(StreamedDecode, GivesThePicturesAndRefusalsOfTheDecodeFromMemory)
{
    const QByteArray baseline = noisyJpeg(640, 480);
    const QByteArray progressive = noisyJpeg(640, 480, true);
    ASSERT_GT(baseline.size(), 2 * 64 * 1024);
    std::vector<QByteArray> streams = {baseline, progressive, jpegBytes(33, 17, true),
                                       hostile_pictures::jpegScanBomb(64, kMaxJpegScans - 9),
                                       jpegClaiming(20000, 20000), bmpBytes(8, 8), QByteArray("\xff\xd8", 2)};
    for (const QByteArray& whole : {baseline, progressive})
        for (int eighths = 1; eighths < 8; ++eighths)
            streams.push_back(whole.left(whole.size() * eighths / 8));
    for (size_t i = 0; i < streams.size(); ++i) {
        for (const QSize least : {QSize(96, 68), QSize(640, 480)}) {
            Pieces pieces(streams[i]);
            const auto fromMemory = outcome([&] { return decodeJpegAtLeast(streams[i], least); });
            const auto streamed = outcome([&] { return decodeJpegAtLeast(pieces, least); });
            EXPECT_EQ(streamed.second, fromMemory.second) << "stream " << i;
            EXPECT_TRUE(streamed.first == fromMemory.first) << "stream " << i;
            EXPECT_LE(pieces.largestRead, 64 * 1024) << "stream " << i;
            EXPECT_LE(pieces.bytesRead, streams[i].size()) << "stream " << i;  // nothing read twice
        }
    }
    Pieces empty{QByteArray()};
    EXPECT_EQ(outcome([&] { return decodeJpegAtLeast(empty, QSize(8, 8)); }).second,
              QStringLiteral("JPEG 图片数据为空，无法解码"));
}

// A stream that cannot be read is no broken picture: what the reader threw comes through as it
// is, so that its callers can tell a store that could not be read from a picture that is broken.
TEST(StreamedDecode, AFailedReadEndsTheDecodingWithTheReadersMessage)
{
    const QByteArray jpeg = noisyJpeg(640, 480);
    for (const qint64 failAt : {qint64(0), qint64(100 * 1024)}) {
        Pieces pieces(jpeg, failAt);
        try {
            decodeJpegAtLeast(pieces, QSize(96, 68));
            ADD_FAILURE() << failAt;
        } catch (const DecodeError&) {
            ADD_FAILURE() << "a read failure reported as a broken picture";
        } catch (const store::StoreError& error) {
            EXPECT_STREQ(error.what(), "读取“Myimage”时出错：磁盘 I/O 错误");
        }
    }
    std::atomic<bool> cancelled = true;
    Pieces pieces(jpeg);
    EXPECT_THROW(decodeJpegAtLeast(pieces, QSize(96, 68), &cancelled), DecodeCancelled);
}

// The preview reads the stream once: its own size from the header, then the pixels at the
// smallest scale that covers the size it is shown at.
TEST(StreamedDecode, ThePreviewTakesTheScaleCoveringItsFittedSize)
{
    const QByteArray jpeg = jpegBytes(1600, 1200);
    Pieces pieces(jpeg);
    const JpegForArea forArea = decodeJpegForArea(pieces, QSize(300, 400));
    EXPECT_EQ(forArea.natural, QSize(1600, 1200));
    EXPECT_EQ(forArea.decoded.size(), QSize(400, 300));  // 2/8 covers the fitted 300 × 225
    EXPECT_EQ(pieces.bytesRead, jpeg.size());
    EXPECT_EQ(decodeJpegForArea(jpeg, QSize(2000, 2000)).decoded.size(), QSize(1600, 1200));

    Pieces again(jpeg);
    const PreviewImage preview = decodePreview(again, 1, QSize(300, 400));
    EXPECT_EQ(preview.natural, QSize(1600, 1200));
    EXPECT_EQ(preview.shown.size(), QSize(300, 225));
    EXPECT_TRUE(preview.full.isNull());
    Pieces bitmap(bmpBytes(40, 30));
    EXPECT_EQ(decodePreview(bitmap, 0, QSize(20, 20)).full.size(), QSize(40, 30));
}

class PictureReaderTest : public ::testing::Test {
protected:
    qint64 add(const QString& name, const QVariant& data)
    {
        store::Connection connection(folder.storePath());
        store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values (?, '', 1, ?, null)"));
        insert.bind(1, name);
        insert.bind(2, data);
        insert.step();
        store::SqliteStatement last(connection, QStringLiteral("select last_insert_rowid()"));
        last.step();
        return last.columnInt(0);
    }
    testing_support::ProgramFolder folder;
};

TEST_F(PictureReaderTest, ReadsTheStoredBytesOfARowAndTellsAMissingRow)
{
    const QByteArray jpeg = noisyJpeg(400, 300);
    const qint64 picture = add(QStringLiteral("照片 ' % _"), jpeg);
    const qint64 none = add(QStringLiteral("空"), QVariant());
    const qint64 number = add(QStringLiteral("数"), 42);
    PictureReader reader(folder.storePath());

    const std::unique_ptr<PictureBytes> bytes = reader.open(picture);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->readAll(), jpeg);
    EXPECT_EQ(decodeJpegAtLeast(*bytes, QSize(96, 68)), decodeJpegAtLeast(jpeg, QSize(96, 68)));
    ASSERT_TRUE(reader.open(none));
    EXPECT_EQ(reader.open(none)->size(), 0);
    EXPECT_EQ(reader.open(number)->readAll(), QByteArray("42"));  // as the picture query reads it
    EXPECT_FALSE(reader.open(number + 100));
}

// The reader only reads: its connection takes no write lock, and a write elsewhere goes through
// once the picture being read is done.
TEST_F(PictureReaderTest, ReadsBesideTheProgramsOwnWrites)
{
    const qint64 picture = add(QStringLiteral("a"), noisyJpeg(200, 150));
    PictureReader reader(folder.storePath());
    {
        const std::unique_ptr<PictureBytes> bytes = reader.open(picture);
        ASSERT_TRUE(bytes);
        store::Connection writer(folder.storePath());
        writer.setBusyTime(50);
        EXPECT_THROW(writer.exec(QStringLiteral("delete from 图片")), store::StoreError);
    }
    store::Connection writer(folder.storePath());
    writer.exec(QStringLiteral("delete from 图片"));
    EXPECT_FALSE(reader.open(picture));

    // Another file takes the store's name (as a compacted copy does): the reader reads that one.
    const QString other = folder.path() + QStringLiteral("/Data/copy.mdb");
    ASSERT_TRUE(QFile::copy(folder.storePath(), other));
    {
        store::Connection copy(other);
        store::SqliteStatement insert(copy, QStringLiteral("insert into 图片(rowid, Isbmp, Myimage) values (?, 1, x'FFD8')"));
        insert.bindInteger(1, picture);
        insert.step();
    }
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(folder.storePath()).constData()), 0);
    ASSERT_TRUE(reader.open(picture));
    EXPECT_EQ(reader.open(picture)->readAll(), QByteArray("\xff\xd8", 2));

    PictureReader missing(folder.path() + QStringLiteral("/Data/没有.mdb"));
    EXPECT_THROW(missing.open(1), store::StoreError);
}
