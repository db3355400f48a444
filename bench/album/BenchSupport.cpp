#include "BenchSupport.h"

#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <algorithm>
#include <sys/resource.h>

namespace bench {

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

namespace {
double cpuMilliseconds(int who)
{
    rusage usage{};
    if (getrusage(who, &usage) != 0)
        return -1;
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}
} // namespace

double ownCpuMilliseconds()
{
    return cpuMilliseconds(RUSAGE_SELF);
}

double childrenCpuMilliseconds()
{
    return cpuMilliseconds(RUSAGE_CHILDREN);
}

double statusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

double peakResidentMiB()
{
    return statusMiB("VmHWM");
}

double minimum(std::vector<double> values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

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

} // namespace bench
