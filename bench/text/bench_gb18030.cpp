// The GB18030 encoder on its own: UTF-8 text as the store hands it over, encoded line by line as
// the export does, beside the C library's iconv converting the same bytes in one call. Each side
// runs by turns; the rate counts the UTF-8 bytes read per second of processor time.
//   bench_gb18030 [MiB]      (default 64 MiB of text per run)
#include "support/Measure.h"
#include "text/Gb18030.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iconv.h>

namespace {

constexpr int kRuns = 7;

// Processor time of the work: on a machine shared with others it varies less than wall time.
double processorMillisecondsOf(const std::function<void()>& work)
{
    const double start = bench::ownCpuMilliseconds();
    work();
    return bench::ownCpuMilliseconds() - start;
}

// Lines of about 200 bytes: all Chinese with Chinese punctuation, or Chinese with some Latin text,
// digits and ASCII punctuation between, as the exchange benchmark's lines.
QByteArray makeText(qsizetype bytes, bool mixed, std::vector<qsizetype>& lineEnds)
{
    const QString chinese = QStringLiteral("今天的会议讨论了项目进度与下一阶段的安排，下一步计划整理资料、核对数据并撰写总结报告，"
                                           "预计在本周五之前完成全部工作。春眠不觉晓，处处闻啼鸟。");
    QByteArray text;
    text.reserve(bytes + 512);
    for (int n = 0; text.size() < bytes; ++n) {
        const QString line = mixed ? QStringLiteral("第%1篇第%2行：今天的会议讨论了项目进度与下一阶段的安排, it's 100% done "
                                                    "\"as planned\"; 下一步计划整理资料、核对数据并撰写总结报告。参考编号 %3")
                                         .arg(n / 100).arg(n % 100).arg(n * 131)
                                   : chinese.mid(n % 7);
        text += line.toUtf8();
        lineEnds.push_back(text.size());
    }
    return text;
}

// Both sides write into one buffer, touched beforehand: the export, too, reuses its buffer.
qsizetype ourMilliseconds(const QByteArray& text, const std::vector<qsizetype>& lineEnds, QByteArray& out, double& ms)
{
    char* o = nullptr;
    ms = processorMillisecondsOf([&] {
        o = out.data();
        qsizetype start = 0;
        for (const qsizetype end : lineEnds) {
            o = textfile::writeGb18030FromUtf8(o, QByteArrayView(text.constData() + start, end - start));
            if (!o)
                std::abort();
            start = end;
        }
    });
    return o - out.constData();
}

qsizetype iconvMilliseconds(const QByteArray& text, QByteArray& out, double& ms)
{
    iconv_t converter = iconv_open("GB18030", "UTF-8");
    if (converter == iconv_t(-1))
        std::abort();
    char* o = nullptr;
    ms = processorMillisecondsOf([&] {
        char* in = const_cast<char*>(text.constData());
        size_t inLeft = size_t(text.size());
        o = out.data();
        size_t outLeft = size_t(out.size());
        if (iconv(converter, &in, &inLeft, &o, &outLeft) == size_t(-1))
            std::abort();
    });
    iconv_close(converter);
    return o - out.constData();
}

void measure(const char* label, bool mixed, qsizetype bytes)
{
    std::vector<qsizetype> lineEnds;
    const QByteArray text = makeText(bytes, mixed, lineEnds);
    const double mib = double(text.size()) / (1 << 20);
    std::vector<double> ours, reference;
    QByteArray out(textfile::maxGb18030SizeOfUtf8(text), '\0');
    QByteArray first, second;
    for (int run = 0; run < kRuns; ++run) {
        // Which side goes first alternates, so that neither always finds the caches warm.
        for (int side = 0; side < 2; ++side) {
            double ms = 0;
            if ((side + run) % 2 == 0) {
                const qsizetype size = ourMilliseconds(text, lineEnds, out, ms);
                ours.push_back(mib / 1024 / (ms / 1000));
                if (run == 0)
                    first = out.left(size);
            } else {
                const qsizetype size = iconvMilliseconds(text, out, ms);
                reference.push_back(mib / 1024 / (ms / 1000));
                if (run == 0)
                    second = out.left(size);
            }
        }
    }
    if (first != second) {
        std::fprintf(stderr, "the encoder and iconv wrote different bytes\n");
        std::exit(1);
    }
    std::printf("%s (%.0f MiB of UTF-8 per run; GiB/s of processor time, higher is better; goal: ours >= 1.5 GB/s = 1.40 GiB/s)\n", label, mib);
    bench::printFigure("rate (GiB/s)", ours, reference);
}

} // namespace

int main(int argc, char** argv)
{
    const qsizetype mib = argc > 1 ? std::atoi(argv[1]) : 64;
    bench::printTableHeader();
    measure("GB18030 encoder, Chinese lines", false, mib << 20);
    measure("GB18030 encoder, mixed Chinese and Latin lines", true, mib << 20);
    std::printf("peak resident: %.0f MiB\n", bench::peakResidentMiB());
    return 0;
}
