// An album of 10,000 pictures beside one of 10: switching to the album (the pane shown and
// painted with its grid) and stepping through it (the next-picture command, the first after the last, the grid following
// and the preview decoding each picture) must cost the same for both, since the grid reads the
// names only and the picture bytes of the current record alone are read. Each run is a fresh
// process per album, the two taken by turns; processor time and peak resident memory of each
// run are its own.
//   bench_album_large [PICTURES [RUNS]]        (10,000 and 5 by default)
//   bench_album_large --make STORE PICTURES    (only the store)
//   bench_album_large --run STORE              (one run on it; prints its figures)
#include "BenchSupport.h"

#include "album/AlbumPane.h"
#include "skin/Commands.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Statements.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kSteps = 200;

// Photograph-like pictures of 640 × 480 (noisy, so about 100 KB each), eight distinct ones.
QList<QByteArray> photos()
{
    QList<QByteArray> made;
    for (int i = 0; i < 8; ++i)
        made << bench::jpegOf(640 + 8 * i, 480, 90);
    return made;
}

// The next picture, or the first after the last, so that every step moves.
void stepOn(album::AlbumPane& pane, const store::Query& pictureQuery)
{
    const bool last = pictureQuery.recNo() == pictureQuery.recordCount();
    skin::command(&pane, last ? "MenuItem7" : "MenuItem9")->trigger();  // 第一张, 下一张
}

int runOnce(const QString& path)
{
    skin::RecordingSink messages;
    store::Query pictureQuery;
    album::AlbumPane pane(nullptr, pictureQuery);
    pane.resize(760, 480);
    const double cpuBefore = bench::ownCpuMilliseconds();
    const double open = bench::millisecondsOf([&] {
        pictureQuery.setStorePath(path);
        pictureQuery.setStatement(store::statements::allPictures());
        pictureQuery.open();
        if (pictureQuery.isEmpty())
            pictureQuery.first();
    });
    // The main window's switch to the album: the pane shown, the grid takes the focus, painted.
    const double show = bench::millisecondsOf([&] {
        pane.show();
        pane.categoryChanged(true);
        (void)pane.grab();
    });
    const double listSteps = bench::millisecondsOf([&] {
        for (int i = 0; i < kSteps; ++i)
            stepOn(pane, pictureQuery);
        (void)pane.grab();
    });
    skin::command(&pane, "N29")->trigger();  // 预览
    skin::command(&pane, "MenuItem7")->trigger();  // 第一张
    const double previewSteps = bench::millisecondsOf([&] {
        for (int i = 0; i < kSteps; ++i)
            stepOn(pane, pictureQuery);
        (void)pane.grab();
    });
    const double cpu = bench::ownCpuMilliseconds() - cpuBefore;
    std::printf("%.2f %.2f %.4f %.4f %.1f %.1f %zu\n", open, show, listSteps / kSteps,
                previewSteps / kSteps, cpu, bench::peakResidentMiB(), messages.messages.size());
    return 0;
}

std::vector<double> runIn(QCoreApplication& application, const QString& store)
{
    QProcess self;
    self.start(application.applicationFilePath(), {QStringLiteral("--run"), store});
    self.waitForFinished(-1);
    const QList<QByteArray> figures = self.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() < 7 || figures[6] != "0") {
        std::printf("a run on %s failed: %s\n", qPrintable(store), self.readAllStandardError().constData());
        std::exit(1);
    }
    std::vector<double> values;
    for (int i = 0; i < 6; ++i)
        values.push_back(figures[i].toDouble());
    return values;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() > 2 && args[1] == QLatin1String("--run"))
        return runOnce(args[2]);
    if (args.size() > 3 && args[1] == QLatin1String("--make")) {
        bench::makePhotoAlbumStore(args[2], photos(), args[3].toInt());
        return 0;
    }
    const int pictures = args.size() > 1 ? args[1].toInt() : 10000;
    const int runs = std::max(5, args.size() > 2 ? args[2].toInt() : 5);

    // Beside the current folder, not in /tmp: the large store is about 1 GB.
    QTemporaryDir work(QDir::currentPath() + QStringLiteral("/bench_album_large-XXXXXX"));
    const QString large = work.filePath(QStringLiteral("large.mdb"));
    const QString small = work.filePath(QStringLiteral("small.mdb"));
    const QList<QByteArray> pictureBytes = photos();
    bench::makePhotoAlbumStore(large, pictureBytes, pictures);
    bench::makePhotoAlbumStore(small, pictureBytes, 10);
    std::printf("an album of %d pictures (%.0f MB) beside one of 10; %d runs of each, by turns;"
                " %d steps each in the list and in the preview layout\n",
                pictures, QFileInfo(large).size() / 1e6, runs, kSteps);

    std::vector<std::vector<double>> ours(6), reference(6);
    for (int run = 0; run < runs; ++run) {
        const std::vector<double> one = runIn(application, large);
        const std::vector<double> other = runIn(application, small);
        for (size_t i = 0; i < 6; ++i) {
            ours[i].push_back(one[i]);
            reference[i].push_back(other[i]);
        }
    }
    std::printf("ours: %d pictures; reference: 10 pictures\n", pictures);
    bench::printTableHeader();
    bench::printFigure("open the picture query (ms)", ours[0], reference[0]);
    bench::printFigure("switch to the album, painted (ms)", ours[1], reference[1]);
    bench::printFigure("one step, list layout (ms)", ours[2], reference[2]);
    bench::printFigure("one step, preview layout (ms)", ours[3], reference[3]);
    bench::printFigure("processor, whole run (ms)", ours[4], reference[4]);
    bench::printFigure("peak resident (MiB)", ours[5], reference[5]);
    return 0;
}
