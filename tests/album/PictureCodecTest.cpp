// Decoding a record by its flag (read side), and bad data of every kind: each gives a
// decode error with a Chinese message or, for a Fail record, silently no picture.
#include "Fixtures.h"
#include "HostilePictures.h"

#include "album/PictureCodec.h"

#include <gtest/gtest.h>
#include <vector>

using namespace album;
using namespace album_fixtures;

namespace {

QString decodeFailure(const QByteArray& data, const QVariant& flag)
{
    try {
        decodeRecord(data, flag);
    } catch (const DecodeError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

} // namespace

TEST(PictureCodec, FlagDecidesTheFormat)
{
    EXPECT_EQ(formatOfFlag(QVariant(0)), PictureFormat::Bmp);
    EXPECT_EQ(formatOfFlag(QVariant(qint64(1))), PictureFormat::Jpeg);
    EXPECT_EQ(formatOfFlag(QVariant(QStringLiteral("0"))), PictureFormat::Bmp);
    EXPECT_EQ(formatOfFlag(QVariant()), PictureFormat::None);
    EXPECT_EQ(formatOfFlag(QVariant(7)), PictureFormat::None);
    EXPECT_EQ(formatOfFlag(QVariant(QString())), PictureFormat::None);
}

TEST(PictureCodec, BmpRecordDecodesThroughTheBmpReader)
{
    const auto picture = decodeRecord(bmpBytes(40, 30), 0);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->size(), QSize(40, 30));
    EXPECT_EQ(picture->pixel(39, 0), pattern(40, 30).pixel(39, 0));
}

TEST(PictureCodec, JpegRecordDecodesAtFullSize)
{
    const auto picture = decodeRecord(jpegBytes(64, 48), 1);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->size(), QSize(64, 48));
    EXPECT_EQ(picture->format(), QImage::Format_RGB32);
    // Close to the original colours (JPEG is lossy).
    const QRgb got = picture->pixel(63, 47), want = pattern(64, 48).pixel(63, 47);
    EXPECT_NEAR(qRed(got), qRed(want), 12);
    EXPECT_NEAR(qGreen(got), qGreen(want), 12);
    EXPECT_NEAR(qBlue(got), qBlue(want), 12);
}

TEST(PictureCodec, GrayscaleJpegDecodes)
{
    const auto picture = decodeRecord(jpegBytes(20, 10, true), 1);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->size(), QSize(20, 10));
    const QRgb pixel = picture->pixel(10, 5);
    EXPECT_EQ(qRed(pixel), qGreen(pixel));
}

TEST(PictureCodec, AnyOtherFlagGivesNoPictureAndNoError)
{
    const QByteArray jpeg = jpegBytes(8, 8);
    EXPECT_FALSE(decodeRecord(jpeg, QVariant()).has_value());
    EXPECT_FALSE(decodeRecord(jpeg, 7).has_value());
    EXPECT_FALSE(decodeRecord({}, QVariant()).has_value());
    EXPECT_FALSE(decodeRecord(QByteArray("garbage"), 2).has_value());
}

TEST(PictureCodec, TruncatedJpegIsADecodeError)
{
    const QByteArray jpeg = jpegBytes(64, 64);
    const QString message = decodeFailure(jpeg.left(jpeg.size() / 2), 1);
    EXPECT_TRUE(message.startsWith(QStringLiteral("JPEG 图片数据无法解码"))) << message.toStdString();
    EXPECT_FALSE(decodeFailure(jpeg.left(20), 1).isEmpty());
    EXPECT_FALSE(decodeFailure(jpeg.left(2), 1).isEmpty());
    EXPECT_TRUE(decodeFailure(QByteArray("\xe8\xbf\x99 is text", 12), 1)
                    .startsWith(QStringLiteral("JPEG 图片数据无法解码（不是 JPEG 数据：Not a JPEG file")));
}

TEST(PictureCodec, HugeJpegHeaderIsRefusedBeforeAnyPixelMemory)
{
    // libjpeg itself refuses a side over 65,500 pixels, before our check; the same message.
    EXPECT_EQ(decodeFailure(jpegClaiming(65535, 65535), 1),
              QStringLiteral("图片过大：65535×65535 像素，超过了一亿像素的上限，无法显示"));
    const QString message = decodeFailure(jpegClaiming(20000, 20000), 1);
    EXPECT_EQ(message, QStringLiteral("图片过大：20000×20000 像素，超过了一亿像素的上限，无法显示"));
    EXPECT_EQ(jpegSize(jpegClaiming(10000, 10001)), QSize(10000, 10001));  // the header's claim
    EXPECT_EQ(jpegSize(jpegClaiming(65000, 65000)), QSize(65000, 65000));
    EXPECT_FALSE(decodeFailure(jpegClaiming(10000, 10001), 1).isEmpty());
}

TEST(PictureCodec, JpegOfExactly100MegapixelsPassesTheSizeCheck)
{
    // 10000 × 10000 is allowed by the check; the data then is too short, which libjpeg reports.
    const QString message = decodeFailure(jpegClaiming(10000, 10000), 1);
    EXPECT_FALSE(message.startsWith(QStringLiteral("图片过大"))) << message.toStdString();
}

TEST(PictureCodec, EmptyDataIsADecodeErrorUnderEitherFlag)
{
    EXPECT_EQ(decodeFailure({}, 1), QStringLiteral("JPEG 图片数据为空，无法解码"));
    EXPECT_EQ(decodeFailure({}, 0), QStringLiteral("BMP 图片数据为空，无法解码"));
}

TEST(PictureCodec, NonJpegDataUnderTheJpegFlagIsADecodeError)
{
    EXPECT_FALSE(decodeFailure(bmpBytes(4, 4), 1).isEmpty());
    EXPECT_FALSE(decodeFailure(QByteArray(1000, '\xFF'), 1).isEmpty());
}

TEST(PictureCodec, LyingBmpHeadersAreRefused)
{
    EXPECT_TRUE(decodeFailure(bmpClaiming(60000, 60000), 0).startsWith(QStringLiteral("图片过大")));
    EXPECT_TRUE(decodeFailure(bmpClaiming(5000, 5000), 0).contains(QStringLiteral("超出了数据的长度")));
    EXPECT_FALSE(decodeFailure(bmpClaiming(0, 4), 0).isEmpty());
    EXPECT_FALSE(decodeFailure(bmpClaiming(4, 0), 0).isEmpty());
    EXPECT_FALSE(decodeFailure(bmpClaiming(-4, 4), 0).isEmpty());
    EXPECT_FALSE(decodeFailure(bmpBytes(4, 4).left(30), 0).isEmpty());
    EXPECT_FALSE(decodeFailure(jpegBytes(4, 4), 0).isEmpty());
    EXPECT_TRUE(decodeFailure(bmpClaiming(5000, -5000), 0).contains(QStringLiteral("超出了数据的长度")));
}

// Rows stored from the top (a negative height, as several Linux tools write them) read the right
// way up, at every depth.
TEST(PictureCodec, TopDownBmpReadsTheRightWayUp)
{
    for (const QImage::Format format : {QImage::Format_RGB888, QImage::Format_ARGB32,
                                        QImage::Format_Indexed8, QImage::Format_Mono}) {
        const QImage original = pattern(13, 7).convertToFormat(format);
        const QByteArray topDown = hostile_pictures::topDownBmp(original);
        ASSERT_FALSE(topDown.isEmpty());
        const auto picture = decodeRecord(topDown, 0);
        ASSERT_TRUE(picture.has_value()) << format;
        EXPECT_EQ(picture->size(), QSize(13, 7));
        EXPECT_EQ(picture->convertToFormat(QImage::Format_RGB32),
                  original.convertToFormat(QImage::Format_RGB32)) << format;
    }
}

// A kind of bitmap the reader cannot decode is named: compression, bit depth, planes.
TEST(PictureCodec, UnsupportedBmpKindsAreNamed)
{
    const auto withField = [](int at, quint32 value, int bytes) {
        QByteArray bmp = bmpBytes(4, 4);  // 24 bits, uncompressed
        for (int i = 0; i < bytes; ++i)
            bmp[at + i] = char((value >> (8 * i)) & 0xFF);
        return bmp;
    };
    const QString prefix = QStringLiteral("BMP 图片数据无法解码（不支持这种 BMP：");
    EXPECT_EQ(decodeFailure(withField(30, 2, 4), 0), prefix + QStringLiteral("RLE4, 24 位）"));
    EXPECT_EQ(decodeFailure(withField(30, 1, 4), 0), prefix + QStringLiteral("RLE8, 24 位）"));
    EXPECT_EQ(decodeFailure(withField(30, 4, 4), 0), prefix + QStringLiteral("内含 JPEG, 24 位）"));
    EXPECT_EQ(decodeFailure(withField(30, 3, 4), 0), prefix + QStringLiteral("BITFIELDS, 24 位）"));
    EXPECT_EQ(decodeFailure(withField(30, 77, 4), 0), prefix + QStringLiteral("压缩方式 77, 24 位）"));
    EXPECT_EQ(decodeFailure(withField(28, 7, 2), 0), prefix + QStringLiteral("不压缩, 7 位）"));
    EXPECT_EQ(decodeFailure(withField(26, 2, 2), 0), prefix + QStringLiteral("2 个位面）"));
}

// A progressive stream whose last scan repeats: decoded while it has no more scans than
// kMaxJpegScans, a decode error from the first scan over it, at full size and reduced alike.
TEST(PictureCodec, JpegWithTooManyScansIsADecodeError)
{
    const QByteArray atTheLimit = hostile_pictures::jpegScanBomb(64, kMaxJpegScans - 10);
    const QByteArray overIt = hostile_pictures::jpegScanBomb(64, kMaxJpegScans - 9);
    ASSERT_FALSE(overIt.isEmpty());
    EXPECT_EQ(decodeRecord(atTheLimit, 1)->size(), QSize(64, 64));
    const QString tooMany = QStringLiteral("JPEG 图片数据无法解码（扫描多于 100 遍，不是正常的图片）");
    EXPECT_EQ(decodeFailure(overIt, 1), tooMany);

    // 4000 × 4000 pixels, the last scan 2,000 times: refused after 100 scans, not decoded for
    // half a minute.
    const QByteArray bomb = hostile_pictures::jpegScanBomb(4000, 2000);
    EXPECT_LT(bomb.size(), 200 * 1024);
    EXPECT_EQ(jpegSize(bomb), QSize(4000, 4000));
    EXPECT_EQ(decodeFailure(bomb, 1), tooMany);
    try {
        decodeJpegAtLeast(bomb, QSize(96, 68));
        ADD_FAILURE();
    } catch (const DecodeError& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), tooMany);
    }
}

// A decoding whose result is no longer wanted stops with no picture and no error message.
TEST(PictureCodec, ACancelledDecodingEndsWithoutAPictureOrAnError)
{
    const QByteArray jpeg = jpegBytes(800, 600);
    std::atomic<bool> cancelled = true;
    EXPECT_THROW(decodeJpegAtLeast(jpeg, QSize(96, 68), &cancelled), DecodeCancelled);
    EXPECT_THROW(decodeRecordAtLeast(jpeg, 1, QSize(800, 600), &cancelled), DecodeCancelled);
    // A broken stream cancelled before its fault is reached is cancelled, not broken.
    EXPECT_THROW(decodeJpegAtLeast(jpeg.left(jpeg.size() / 2), QSize(96, 68), &cancelled), DecodeCancelled);
    cancelled = false;
    EXPECT_EQ(decodeJpegAtLeast(jpeg, QSize(96, 68), &cancelled).size(), QSize(100, 75));
}

// The thumbnails' reduced decode: the smallest DCT scale (in eighths) that still covers the
// cell, so the stretched picture never has fewer pixels than the cell.
TEST(PictureCodec, ReducedJpegDecodeTakesTheSmallestScaleCoveringTheCell)
{
    const QSize cell(96, 68);
    EXPECT_EQ(decodeJpegAtLeast(jpegBytes(800, 600), cell).size(), QSize(100, 75));   // 1/8
    EXPECT_EQ(decodeJpegAtLeast(jpegBytes(400, 300), cell).size(), QSize(100, 75));   // 2/8
    EXPECT_EQ(decodeJpegAtLeast(jpegBytes(2000, 100), cell).size(), QSize(1500, 75)); // 6/8 for the height
    EXPECT_EQ(decodeJpegAtLeast(jpegBytes(96, 68), cell).size(), QSize(96, 68));      // 8/8
    EXPECT_EQ(decodeJpegAtLeast(jpegBytes(60, 40), cell).size(), QSize(60, 40));      // smaller: full size

    // Still the same picture: its corners keep their colours.
    const QImage reduced = decodeJpegAtLeast(jpegBytes(800, 600), cell);
    const QImage original = pattern(800, 600);
    for (const QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 74), QPoint(99, 74)}) {
        const QRgb got = reduced.pixel(corner);
        const QRgb want = original.pixel(corner.x() * 8, corner.y() * 8);
        EXPECT_NEAR(qRed(got), qRed(want), 16);
        EXPECT_NEAR(qGreen(got), qGreen(want), 16);
    }
}

TEST(PictureCodec, ReducedJpegDecodeRefusesWhatTheFullDecodeRefuses)
{
    const QSize cell(96, 68);
    auto failure = [&](const QByteArray& data) {
        try {
            decodeJpegAtLeast(data, cell);
        } catch (const DecodeError& error) {
            return QString::fromUtf8(error.what());
        }
        return QString();
    };
    const QByteArray jpeg = jpegBytes(640, 480);
    EXPECT_TRUE(failure(jpeg.left(jpeg.size() / 2)).startsWith(QStringLiteral("JPEG 图片数据无法解码")));
    EXPECT_EQ(failure(jpegClaiming(20000, 20000)),
              QStringLiteral("图片过大：20000×20000 像素，超过了一亿像素的上限，无法显示"));
    EXPECT_EQ(failure({}), QStringLiteral("JPEG 图片数据为空，无法解码"));
    EXPECT_FALSE(failure(bmpBytes(40, 40)).isEmpty());

    // By record: a BMP at its own size, no picture for any other flag.
    EXPECT_EQ(decodeRecordAtLeast(bmpBytes(400, 300), 0, cell)->size(), QSize(400, 300));
    EXPECT_EQ(decodeRecordAtLeast(jpeg, 1, cell)->size(), QSize(160, 120));
    EXPECT_FALSE(decodeRecordAtLeast(jpeg, QVariant(), cell).has_value());
}

// The album export's check reads every scan at the smallest scale: it must refuse exactly the
// streams that the full decode refuses (cut short anywhere, a scan bomb, a claimed size over the
// limit, no JPEG at all) and pass every stream that the full decode shows.
TEST(PictureCodec, TheDecodeCheckRefusesExactlyWhatTheFullDecodeRefuses)
{
    const auto refused = [](const auto& decode, const QByteArray& data) {
        try {
            decode(data);
        } catch (const DecodeError&) {
            return true;
        }
        return false;
    };
    const auto full = [](const QByteArray& data) { (void)decodeJpeg(data); };
    const auto check = [](const QByteArray& data) { checkJpeg(data); };

    const QByteArray baseline = jpegBytes(200, 150);
    const QByteArray progressive = hostile_pictures::encodedAs(pattern(200, 150), "JPG", true);
    ASSERT_FALSE(progressive.isEmpty());
    std::vector<QByteArray> streams = {baseline, progressive, jpegBytes(33, 17, true),
                                       hostile_pictures::jpegScanBomb(64, kMaxJpegScans - 10),
                                       hostile_pictures::jpegScanBomb(64, kMaxJpegScans - 9),
                                       jpegClaiming(20000, 20000), bmpBytes(8, 8), QByteArray(),
                                       baseline.left(baseline.size() - 2)};
    for (const QByteArray& whole : {baseline, progressive}) {
        for (int sixteenths = 1; sixteenths < 16; ++sixteenths)
            streams.push_back(whole.left(whole.size() * sixteenths / 16));
        // A scan that ends early but the stream still closes with its end marker.
        streams.push_back(whole.left(whole.size() * 3 / 4) + whole.right(2));
    }
    int refusals = 0;
    for (size_t i = 0; i < streams.size(); ++i) {
        const bool byFullDecode = refused(full, streams[i]);
        EXPECT_EQ(refused(check, streams[i]), byFullDecode) << "stream " << i;
        refusals += byFullDecode;
    }
    // Every cut or shortened stream, the bomb, the huge claim, the BMP, the empty one.
    EXPECT_GE(refusals, 32);

    // A bomb stops at the scan limit here too, with the full decode's message.
    try {
        checkJpeg(hostile_pictures::jpegScanBomb(64, kMaxJpegScans - 9));
        ADD_FAILURE();
    } catch (const DecodeError& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  QStringLiteral("JPEG 图片数据无法解码（扫描多于 100 遍，不是正常的图片）"));
    }
}
