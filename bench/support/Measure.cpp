#include "Measure.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <algorithm>
#include <cassert>
#include <cstdio>
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

double peakResidentOfRunMiB(const QString& program, const QStringList& arguments,
                            const QByteArray& input)
{
    QTemporaryFile report;
    if (!report.open())
        return -1;
    QProcess run;
    run.setStandardOutputFile(QProcess::nullDevice());
    run.start(QStringLiteral("/usr/bin/time"),
              QStringList{QStringLiteral("-f"), QStringLiteral("%M"), QStringLiteral("-o"), report.fileName(), program}
                  + arguments);
    run.write(input);
    run.closeWriteChannel();
    if (!run.waitForFinished(-1) || run.exitCode() != 0)
        return -1;
    return report.readAll().trimmed().toDouble() / 1024.0;
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

void printTableHeader()
{
    std::printf("%-44s%20s%20s%20s\n", "", "ours", "reference", "ratio");
    std::printf("%-44s%10s%10s%10s%10s%10s%10s\n", "", "min", "median", "min", "median", "min", "median");
}

void printFigure(const char* label, const std::vector<double>& ours,
                 const std::vector<double>& reference)
{
    assert(ours.size() == reference.size());
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.size(); ++i)
        ratios.push_back(reference[i] > 0 ? ours[i] / reference[i] : 0);
    std::printf("%-44s%10.1f%10.1f%10.1f%10.1f%10.2f%10.2f\n", label, minimum(ours), median(ours),
                minimum(reference), median(reference), minimum(ratios), median(ratios));
    std::fflush(stdout);
}

} // namespace bench
