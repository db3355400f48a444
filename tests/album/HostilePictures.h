// Pictures that once stalled or were refused, made from pictures Qt writes: a top-down BMP (rows
// stored from the top, a negative height in the header) and a progressive JPEG whose last scan is
// repeated many times. Header-only: the tests and the fuzzer's seed corpus both make them.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>
#include <algorithm>

namespace hostile_pictures {

inline QByteArray encodedAs(const QImage& picture, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    QImageWriter writer(&buffer, format);
    writer.setQuality(75);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(picture))
        return {};
    return bytes;
}

// The same picture as Qt's bottom-up BMP, with its rows in the opposite order and the height
// negated.
inline QByteArray topDownBmp(const QImage& picture)
{
    QByteArray bmp = encodedAs(picture, "BMP");
    if (bmp.size() < 54)
        return {};
    const quint32 offset = qFromLittleEndian<quint32>(bmp.constData() + 10);
    const qint32 width = qFromLittleEndian<qint32>(bmp.constData() + 18);
    const qint32 height = qFromLittleEndian<qint32>(bmp.constData() + 22);
    const quint16 bits = qFromLittleEndian<quint16>(bmp.constData() + 28);
    const qsizetype rowBytes = (qsizetype(width) * bits + 31) / 32 * 4;
    if (height <= 0 || qsizetype(offset) + rowBytes * height > bmp.size())
        return {};
    QByteArray flipped = bmp;
    for (qint32 row = 0; row < height; ++row)
        std::copy_n(bmp.constData() + offset + row * rowBytes, rowBytes,
                    flipped.data() + offset + (height - 1 - row) * rowBytes);
    qToLittleEndian<qint32>(-height, flipped.data() + 22);
    return flipped;
}

// A side × side progressive JPEG of one grey (its scans are short) whose last scan is repeated
// `repeats` times before the end marker. Each repeat makes a decoder pass over the whole
// picture once more.
inline QByteArray jpegScanBomb(int side, int repeats)
{
    QImage grey(side, side, QImage::Format_RGB32);
    grey.fill(qRgb(120, 130, 140));
    const QByteArray jpeg = encodedAs(grey, "JPG", true);
    const auto byteAt = [&](qsizetype i) { return quint8(jpeg[i]); };
    qsizetype position = 2, lastScan = -1, lastScanEnd = -1;
    while (position + 4 <= jpeg.size() && byteAt(position) == 0xFF) {
        const quint8 marker = byteAt(position + 1);
        if (marker == 0xD9)
            break;
        const qsizetype length = qFromBigEndian<quint16>(jpeg.constData() + position + 2);
        qsizetype next = position + 2 + length;
        if (marker == 0xDA) {  // a scan: its header, then coded data up to the next marker
            while (next + 1 < jpeg.size()
                   && !(byteAt(next) == 0xFF && byteAt(next + 1) != 0
                        && !(byteAt(next + 1) >= 0xD0 && byteAt(next + 1) <= 0xD7)))
                ++next;
            lastScan = position;
            lastScanEnd = next;
        }
        position = next;
    }
    if (lastScan < 0 || position + 2 > jpeg.size())
        return {};
    const QByteArray scan = jpeg.mid(lastScan, lastScanEnd - lastScan);
    QByteArray bomb = jpeg.left(position);
    bomb.reserve(bomb.size() + scan.size() * repeats + 2);
    for (int i = 0; i < repeats; ++i)
        bomb += scan;
    bomb += QByteArray("\xFF\xD9", 2);
    return bomb;
}

} // namespace hostile_pictures
