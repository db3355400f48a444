// What the album benchmarks share: timing, peak resident size, min and median.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace bench {

double millisecondsOf(const std::function<void()>& work);
// The peak resident size of this process so far, in MiB (VmHWM).
double peakResidentMiB();
// One line of /proc/self/status in MiB: "RssAnon", "RssFile" (now, not the peak).
double statusMiB(const char* field);
double minimum(std::vector<double> values);
double median(std::vector<double> values);
// A real JPEG picture (encoded here with Qt; the program itself never encodes JPEG).
QByteArray jpegOf(int width, int height, int quality);

} // namespace bench
