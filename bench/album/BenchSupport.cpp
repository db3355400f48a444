#include "BenchSupport.h"

#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace bench {

// A photograph-like picture: smooth gradients with fine noise, so the stream is of a realistic
// size (a few MB for 24 megapixels) rather than a flat colour.
QByteArray jpegOf(int width, int height, int quality)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(random.bounded(24));
            line[x] = qRgb((x * 255 / width + noise) & 255, (y * 255 / height + noise) & 255,
                           ((x + y) / 16 + noise) & 255);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

QByteArray photoJpeg(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    const double phase = random.bounded(6.28);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            // Broad light and shade, then noise of up to ±48 levels in each channel.
            const double shade = 0.5 + 0.5 * std::sin(6.0 * u + 4.0 * v + phase);
            const quint32 noise = random.generate();
            const auto channel = [&](double level, int shift) {
                return std::clamp(int(level * 255.0) + int((noise >> shift) & 255) * 97 / 256 - 48, 0, 255);
            };
            line[x] = qRgb(channel(0.2 + 0.6 * shade * u, 0), channel(0.3 + 0.5 * shade * v, 8),
                           channel(0.7 - 0.5 * shade, 16));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

QStringList makePhotoAlbum(const QString& folder, int pictures, int width, int height)
{
    QDir(folder).mkpath(QStringLiteral("Data"));
    const QString path = folder + QStringLiteral("/Data/current.mdb");
    store::createStore(path);
    store::Connection connection(path);
    store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
    QStringList files;
    for (int i = 0; i < pictures; ++i) {
        const QByteArray jpeg = photoJpeg(width, height, quint32(i + 1));
        const QString file = folder + QStringLiteral("/photo%1.jpg").arg(i);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(jpeg) != jpeg.size() || !out.flush())
            throw std::runtime_error("cannot write " + file.toStdString());
        insert.reset();
        insert.bindAll({QStringLiteral("照片%1.jpg").arg(i), QStringLiteral("%1 × %2").arg(width).arg(height), 1, jpeg});
        insert.step();
        files << file;
    }
    insert.reset();
    return files;
}

QByteArray makeAlbumStore(const QString& path, int pictures, qint64 totalBytes)
{
    store::createStore(path);
    store::Connection connection(path);
    connection.exec(QStringLiteral("begin"));
    store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
    const QByteArray jpeg = jpegOf(320, 240, 85);
    const qint64 each = totalBytes / pictures;
    const QByteArray record = jpeg + QByteArray(std::max<qint64>(0, each - jpeg.size()), '\x5A');
    for (int i = 0; i < pictures; ++i) {
        insert.reset();
        insert.bindAll({QStringLiteral("照片%1.jpg").arg((i * 7919) % pictures, 4, 10, QChar(u'0')),
                        QStringLiteral("第 %1 张照片的说明").arg(i), 1, record});
        insert.step();
    }
    insert.reset();
    connection.exec(QStringLiteral("commit"));
    return record;
}

QStringList makePhotoAlbumStore(const QString& path, const QList<QByteArray>& photos, int pictures)
{
    Q_ASSERT(!photos.isEmpty());
    store::createStore(path);
    store::Connection connection(path);
    connection.exec(QStringLiteral("begin"));
    store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
    QStringList names;
    for (int i = 0; i < pictures; ++i) {
        names << QStringLiteral("照片%1.jpg").arg((i * 7919) % pictures, 5, 10, QChar(u'0'));
        insert.reset();
        insert.bindAll({names.back(), QStringLiteral("第 %1 张照片的说明").arg(i), 1,
                        photos[i % photos.size()]});
        insert.step();
    }
    insert.reset();
    connection.exec(QStringLiteral("commit"));
    return names;
}

} // namespace bench
