// What every benchmark shares: timing, peak resident size, min and median, and the table line
// that prints one figure of ours beside the reference's.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
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
// The peak resident size of one run of a command, in MiB, measured by /usr/bin/time in a run of
// its own (a child's own figure would include this process, which it starts as a copy of).
double peakResidentOfRunMiB(const QString& program, const QStringList& arguments,
                            const QByteArray& input = {});
double minimum(std::vector<double> values);
double median(std::vector<double> values);

// Prints the header of a table of figures: min and median of ours, of the reference and of
// the ratio of each pair of runs.
void printTableHeader();
// One line of that table. The runs are paired: ours[i] and reference[i] ran one after the other.
void printFigure(const char* label, const std::vector<double>& ours,
                 const std::vector<double>& reference);

} // namespace bench
