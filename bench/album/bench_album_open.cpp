// An album of 2,000 pictures totalling 2 GB: opening it as the main window does (the picture
// query over all pictures, the album pane showing the first picture), then stepping through
// every picture in the preview layout and sorting by name. The peak resident size must stay
// under 200 MB: the query reads each Myimage only when the refresh needs it. Beside it, the
// sqlite3 shell reading the same rows' names, descriptions and flags.
//   bench_album_open [PICTURES] [MEGABYTES] [RUNS]
//   bench_album_open --make PATH PICTURES MEGABYTES    (only the store)
//   bench_album_open --open PATH                       (one run on it)
// Each run is a fresh process (so that its peak resident size is its own); runs alternate with
// the reference.
#include "BenchSupport.h"

#include "album/AlbumPane.h"
#include "skin/Commands.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

int openAlbum(const QString& path)
{
    skin::RecordingSink messages;
    store::Query pictureQuery;
    album::AlbumPane pane(nullptr, pictureQuery);
    pane.resize(760, 480);
    (void)pane.grab();  // the font database and the style are warm in the program by now
    double open = 0, walk = 0, sort = 0;
    open = bench::millisecondsOf([&] {
        pictureQuery.setStorePath(path);
        pictureQuery.setStatement(store::statements::allPictures());
        pictureQuery.open();
        if (pictureQuery.isEmpty())
            pictureQuery.first();
    });
    const double openPeak = bench::peakResidentMiB();
    skin::command(&pane, "N29")->trigger();  // 预览
    walk = bench::millisecondsOf([&] {
        for (int i = 0; i < pictureQuery.recordCount(); ++i)
            skin::command(&pane, "MenuItem9")->trigger();
    });
    sort = bench::millisecondsOf([&] { skin::command(&pane, "N18")->trigger(); });
    std::printf("%.1f %.1f %.1f %.1f %.1f %s %zu %.1f %.1f\n", open, walk, sort, openPeak,
                bench::peakResidentMiB(), qPrintable(pane.positionText().replace(u' ', u'_')),
                messages.messages.size(), bench::statusMiB("RssAnon"), bench::statusMiB("RssFile"));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() > 2 && args[1] == QLatin1String("--open"))
        return openAlbum(args[2]);
    if (args.size() > 4 && args[1] == QLatin1String("--make")) {  // bench_album_open --make PATH N MB
        bench::makeAlbumStore(args[2], args[3].toInt(), args[4].toLongLong() << 20);
        return 0;
    }

    const int pictures = args.size() > 1 ? args[1].toInt() : 2000;
    const qint64 megabytes = args.size() > 2 ? args[2].toLongLong() : 2048;
    const int runs = args.size() > 3 ? args[3].toInt() : 5;
    QTemporaryDir folder;
    const QString store = folder.path() + QStringLiteral("/current.mdb");
    std::printf("making an album of %d pictures, %lld MB ...\n", pictures, megabytes);
    const double made = bench::millisecondsOf([&] { bench::makeAlbumStore(store, pictures, megabytes << 20); });
    std::printf("made in %.0f ms; store file %.0f MB\n", made, QFileInfo(store).size() / 1048576.0);

    std::vector<double> opens, walks, sorts, peaks, openPeaks, shells, anon, mapped;
    QString lastLine;
    for (int run = 0; run < runs; ++run) {
        QProcess self;
        self.start(application.applicationFilePath(), {QStringLiteral("--open"), store});
        self.waitForFinished(-1);
        const QList<QByteArray> figures = self.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() < 9) {
            std::printf("run %d failed: %s\n", run, self.readAllStandardError().constData());
            return 1;
        }
        opens.push_back(figures[0].toDouble());
        walks.push_back(figures[1].toDouble());
        sorts.push_back(figures[2].toDouble());
        openPeaks.push_back(figures[3].toDouble());
        peaks.push_back(figures[4].toDouble());
        anon.push_back(figures[7].toDouble());
        mapped.push_back(figures[8].toDouble());
        lastLine = QString::fromUtf8(figures[5]) + QStringLiteral(", messages: ") + QString::fromUtf8(figures[6]);

        QProcess shell;
        shell.setStandardOutputFile(QProcess::nullDevice());
        shells.push_back(bench::millisecondsOf([&] {
            shell.start(QStringLiteral("sqlite3"), {store, QStringLiteral("select rowid,图片名称,图片描述,Isbmp from 图片")});
            shell.waitForFinished(-1);
        }));
    }
    std::printf("runs: %d (alternating with the sqlite3 shell)\n", runs);
    std::printf("open (query + first preview): min %.1f ms, median %.1f ms\n", bench::minimum(opens), bench::median(opens));
    std::printf("sqlite3 shell, same columns:  min %.1f ms, median %.1f ms  (ratio of medians %.2f)\n",
                bench::minimum(shells), bench::median(shells), bench::median(opens) / bench::median(shells));
    std::printf("step through all %d in the preview: min %.0f ms, median %.0f ms\n", pictures,
                bench::minimum(walks), bench::median(walks));
    std::printf("sort by name + step back: min %.1f ms, median %.1f ms\n", bench::minimum(sorts), bench::median(sorts));
    std::printf("peak resident after opening: max %.1f MiB over the runs\n",
                *std::max_element(openPeaks.begin(), openPeaks.end()));
    std::printf("peak resident including the walk through every picture: min %.1f MiB, median %.1f MiB, max %.1f MiB (limit 200 MB)\n",
                bench::minimum(peaks), bench::median(peaks), *std::max_element(peaks.begin(), peaks.end()));
    std::printf("after the walk, resident now: anonymous max %.1f MiB, file-backed max %.1f MiB"
                " (the store's pages read through SQLite's memory map of %lld MiB)\n",
                *std::max_element(anon.begin(), anon.end()), *std::max_element(mapped.begin(), mapped.end()),
                static_cast<long long>(store::kMemoryMapBytes >> 20));
    std::printf("last position label: %s\n", qPrintable(lastLine));
    return 0;
}
