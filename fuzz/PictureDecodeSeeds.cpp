// Writes the seed corpus of the picture decoding fuzzer into the given folder: small BMP and
// JPEG pictures (colour, grey, progressive, several bit depths, a top-down BMP) behind their flag
// byte, and a 4000 × 4000 progressive JPEG whose last scan is repeated 2,000 times.
#include "album/HostilePictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdio>

namespace {

QImage pattern(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 16, y * 16, (x ^ y) * 8));
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(75);
    if (progressive)
        writer.setProgressiveScanWrite(true);
    writer.write(image);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const QList<QPair<QString, QByteArray>> seeds = {
        {"bmp24", QByteArray(1, '\0') + encoded(pattern(9, 7, QImage::Format_RGB888), "BMP")},
        {"bmp32", QByteArray(1, '\0') + encoded(pattern(5, 3, QImage::Format_ARGB32), "BMP")},
        {"bmp8", QByteArray(1, '\0') + encoded(pattern(6, 6, QImage::Format_Indexed8), "BMP")},
        {"bmp1", QByteArray(1, '\0') + encoded(pattern(17, 2, QImage::Format_Mono), "BMP")},
        {"jpeg", QByteArray(1, '\1') + encoded(pattern(16, 16, QImage::Format_RGB32), "JPG")},
        {"jpeg_odd", QByteArray(1, '\1') + encoded(pattern(13, 5, QImage::Format_RGB32), "JPG")},
        {"jpeg_grey", QByteArray(1, '\1') + encoded(pattern(8, 8, QImage::Format_Grayscale8), "JPG")},
        {"jpeg_progressive", QByteArray(1, '\1') + encoded(pattern(24, 16, QImage::Format_RGB32), "JPG", true)},
        {"bmp_top_down", QByteArray(1, '\0') + hostile_pictures::topDownBmp(pattern(9, 7, QImage::Format_RGB888))},
        {"bmp8_top_down", QByteArray(1, '\0') + hostile_pictures::topDownBmp(pattern(6, 5, QImage::Format_Indexed8))},
        {"jpeg_scan_bomb", QByteArray(1, '\1') + hostile_pictures::jpegScanBomb(4000, 2000)},
        {"fail", QByteArray(1, '\2') + QByteArray("icon")},
    };
    for (const auto& [name, bytes] : seeds) {
        QFile file(folder + u'/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
