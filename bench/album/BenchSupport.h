// What the album benchmarks share: timing, peak resident size, min and median.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace bench {

double millisecondsOf(const std::function<void()>& work);
// Processor time (user and system) that this process, or its ended children, have used so far,
// in milliseconds: on a machine shared with others it varies less than the time on the clock.
double ownCpuMilliseconds();
double childrenCpuMilliseconds();
// The peak resident size of this process so far, in MiB (VmHWM).
double peakResidentMiB();
// One line of /proc/self/status in MiB: "RssAnon", "RssFile" (now, not the peak).
double statusMiB(const char* field);
double minimum(std::vector<double> values);
double median(std::vector<double> values);
// A real JPEG picture (encoded here with Qt; the program itself never encodes JPEG).
QByteArray jpegOf(int width, int height, int quality);
// A store at path holding an album of the given number of pictures and total size. Each record:
// a real 320 × 240 JPEG followed by filler after its end marker, which the decoder never
// reaches, so that the record has the size of a large photograph. Names 照片NNNN.jpg in a mixed
// order; returns the bytes of one record.
QByteArray makeAlbumStore(const QString& path, int pictures, qint64 totalBytes);

} // namespace bench
