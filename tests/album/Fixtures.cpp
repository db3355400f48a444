#include "Fixtures.h"

#include "album/AlbumPane.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

namespace album_fixtures {

album::AlbumPane& settled(album::AlbumPane& pane)
{
    pane.waitForPreview();
    return pane;
}

QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 255) / std::max(1, width - 1), (y * 255) / std::max(1, height - 1), 128));
    return image;
}

namespace {
QByteArray encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}
} // namespace

QByteArray bmpBytes(int width, int height)
{
    return encoded(pattern(width, height), "BMP");
}

QByteArray jpegBytes(int width, int height, bool grayscale)
{
    QImage image = pattern(width, height);
    if (grayscale)
        image = image.convertToFormat(QImage::Format_Grayscale8);
    return encoded(image, "JPG", 90);
}

QByteArray jpegOf(const QImage& picture)
{
    return encoded(picture, "JPG", 95);
}

QByteArray jpegClaiming(int width, int height)
{
    QByteArray bytes = jpegBytes(16, 16);
    // The baseline frame header: FF C0, length (2), precision (1), height (2), width (2).
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return {};
    qToBigEndian<quint16>(quint16(height), bytes.data() + sof + 5);
    qToBigEndian<quint16>(quint16(width), bytes.data() + sof + 7);
    return bytes;
}

QByteArray bmpClaiming(int width, int height)
{
    QByteArray bytes = bmpBytes(4, 4);
    qToLittleEndian<qint32>(width, bytes.data() + 18);
    qToLittleEndian<qint32>(height, bytes.data() + 22);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace album_fixtures
