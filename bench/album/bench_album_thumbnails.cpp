// One repaint of the thumbnail window's grid over seven 6000 × 4000 JPEG records: every
// visible cell reads its record and decodes it (libjpeg at the smallest DCT scale covering the
// cell) and stretches it over the cell. Measured in the same run beside djpeg -scale 1/8 of the
// same file once per cell (the fastest decode djpeg offers, one process each) and beside the
// same seven cells decoded at full size, as the preview decodes. The repaint should stay under
// 300 ms.
//   bench_album_thumbnails [RUNS]
// Runs alternate: djpeg, the repaint, the store reads alone, the full-size decodes, RUNS times
// each (at least 5).
#include "BenchSupport.h"

#include "album/AlbumGrid.h"
#include "album/AlbumPane.h"
#include "album/PictureCodec.h"
#include "album/ThumbnailLink.h"
#include "album/View.h"
#include "platform/ProgramFolder.h"
#include "skin/Messages.h"
#include "skin/TsuiDBGrid.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {
constexpr int kCells = 7;

void print(const char* what, const std::vector<double>& values, const char* unit)
{
    std::printf("%-44s min %8.1f %s, median %8.1f %s\n", what, bench::minimum(values), unit,
                bench::median(values), unit);
}

std::vector<double> ratios(const std::vector<double>& ours, const std::vector<double>& reference)
{
    std::vector<double> result;
    for (size_t i = 0; i < ours.size() && i < reference.size(); ++i)
        result.push_back(ours[i] / reference[i]);
    return result;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 5);
    if (QStandardPaths::findExecutable(QStringLiteral("djpeg")).isEmpty()) {
        std::printf("djpeg is missing (package libjpeg-turbo-progs)\n");
        return 1;
    }
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Data"));
    const platform::ProgramFolder program(folder.path());
    const QString file = folder.path() + QStringLiteral("/big.jpg");
    const QByteArray jpeg = bench::jpegOf(6000, 4000, 90);
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(jpeg) != jpeg.size())
            return 1;
        store::createStore(program.store());
        store::Connection connection(program.store());
        store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
        for (int i = 0; i < kCells; ++i) {
            insert.reset();
            insert.bindAll({QStringLiteral("照片%1.jpg").arg(i), QStringLiteral("6000 × 4000"), 1, jpeg});
            insert.step();
        }
        std::printf("%d records, each a 6000 x 4000 JPEG of %.1f MB\n", kCells, jpeg.size() / 1048576.0);
    }
    const double before = bench::peakResidentMiB();

    skin::RecordingSink messages;
    store::Query pictureQuery;
    album::AlbumPane pane(nullptr, pictureQuery);
    pictureQuery.setStorePath(program.store());
    pictureQuery.setStatement(store::statements::allPictures());
    pictureQuery.open();
    const std::unique_ptr<TForm14> window = album::makeThumbnailWindow(pane, program);
    TForm14& thumbnails = *window;
    thumbnails.showInFront();
    QWidget* cells = thumbnails.grid()->viewport();
    const int firstRow = thumbnails.grid()->rowAt(0);
    const int lastRow = thumbnails.grid()->rowAt(cells->height() - 1);
    std::printf("rows on show: %d to %d of %d\n", firstRow + 1, (lastRow < 0 ? kCells - 1 : lastRow) + 1, kCells);

    const double firstRepaint = bench::millisecondsOf([&] { (void)cells->grab(); });
    const double afterRepaint = bench::peakResidentMiB();
    const double anonymousAfterRepaint = bench::statusMiB("RssAnon");

    std::vector<double> djpeg, repaint, reads, fullSize, djpegCpu, repaintCpu;
    for (int run = 0; run < runs; ++run) {
        const double childrenBefore = bench::childrenCpuMilliseconds();
        djpeg.push_back(bench::millisecondsOf([&] {
            for (int i = 0; i < kCells; ++i) {
                QProcess process;
                process.setStandardOutputFile(QProcess::nullDevice());
                process.start(QStringLiteral("djpeg"), {QStringLiteral("-scale"), QStringLiteral("1/8"), file});
                process.waitForFinished(-1);
            }
        }));
        djpegCpu.push_back(bench::childrenCpuMilliseconds() - childrenBefore);
        const double ownBefore = bench::ownCpuMilliseconds();
        repaint.push_back(bench::millisecondsOf([&] { (void)cells->grab(); }));
        repaintCpu.push_back(bench::ownCpuMilliseconds() - ownBefore);
        reads.push_back(bench::millisecondsOf([&] {
            for (int i = 0; i < kCells; ++i)
                (void)pictureQuery.bytesAt(i, 3).size();
        }));
        fullSize.push_back(bench::millisecondsOf([&] {
            QImage canvas(96, 68, QImage::Format_RGB32);
            QPainter painter(&canvas);
            for (int i = 0; i < kCells; ++i)
                painter.drawImage(canvas.rect(), album::decodeJpeg(pictureQuery.bytesAt(i, 3)));
        }));
    }
    std::printf("runs: %d, alternating; time on the clock:\n", runs);
    print("djpeg -scale 1/8, 7 processes:", djpeg, "ms");
    print("thumbnail repaint, 7 cells:", repaint, "ms");
    print("  of which the store reads alone:", reads, "ms");
    print("full-size decodes, 7 cells:", fullSize, "ms");
    print("ratio repaint/djpeg:", ratios(repaint, djpeg), "  ");
    print("ratio repaint/full-size decodes:", ratios(repaint, fullSize), "  ");
    std::printf("processor time (steadier on a shared machine):\n");
    print("djpeg -scale 1/8, 7 processes:", djpegCpu, "ms");
    print("thumbnail repaint, 7 cells:", repaintCpu, "ms");
    print("ratio repaint/djpeg:", ratios(repaintCpu, djpegCpu), "  ");
    std::printf("goal: repaint under 300 ms (median on the clock %s, of processor time %s)\n",
                bench::median(repaint) < 300 ? "met" : "NOT met",
                bench::median(repaintCpu) < 300 ? "met" : "NOT met");
    std::printf("messages: %zu\n", messages.messages.size());
    std::printf("first repaint: %.1f ms\n", firstRepaint);
    std::printf("peak resident: %.1f MiB before the window, %.1f MiB after its first repaint "
                "(anonymous memory then %.1f MiB; the rest is the store file mapped by SQLite), "
                "%.1f MiB at the end (the full-size decodes: one picture is 92 MiB)\n",
                before, afterRepaint, anonymousAfterRepaint, bench::peakResidentMiB());
    return 0;
}
