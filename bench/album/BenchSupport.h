// What the album benchmarks share besides the measuring: pictures and albums to measure.
#pragma once

#include "support/Measure.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace bench {

// A real JPEG picture (encoded here with Qt; the program itself never encodes JPEG).
QByteArray jpegOf(int width, int height, int quality);
// A photograph as a camera gives it: smooth shapes of colour under sensor noise in each channel,
// so that at quality 90 it takes about a megabyte per megapixel. Each seed a different picture.
QByteArray photoJpeg(int width, int height, quint32 seed);
// Writes photo0.jpg ... into folder and a store at folder/Data/current.mdb holding the same
// pictures as records 照片0.jpg ...; returns the files' paths.
QStringList makePhotoAlbum(const QString& folder, int pictures, int width, int height);

// A store at path holding an album of the given number of pictures and total size. Each record:
// a real 320 × 240 JPEG followed by filler after its end marker, which the decoder never
// reaches, so that the record has the size of a large photograph. Names 照片NNNN.jpg in a mixed
// order; returns the bytes of one record.
QByteArray makeAlbumStore(const QString& path, int pictures, qint64 totalBytes);
// A store at path holding an album of the given number of JPEG records, the photographs in
// turn, named 照片NNNN.jpg in a mixed order; returns the name of each record in storing order.
QStringList makePhotoAlbumStore(const QString& path, const QList<QByteArray>& photos, int pictures);

} // namespace bench
