// The album export of 2,000 pictures totalling 2 GB, through the dialog as the user runs it
// (refresh, sort by name, the preview decoded at every step, each file replaced whole with a
// checked flush; descriptions off, as the loop writes none), beside a shell loop doing the same
// work: djpeg decoding each JPEG to /dev/null and cp copying its stored bytes into the folder;
// and beside the same loop followed by a sync of the folder, which like the export leaves the
// files on the disk rather than in memory.
// Goal: at most 1.2 times the loop's time; the peak resident size must stay under 200 MB.
//   bench_album_export [PICTURES] [MEGABYTES] [RUNS]
//   bench_album_export --export STORE FOLDER [descriptions]   (one run, a fresh process)
// Runs alternate: the loop, then the export, each into an emptied folder.
#include "BenchSupport.h"

#include "album/AlbumPane.h"
#include "skin/Commands.h"
#include "album/OutPIC.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Statements.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

int exportOnce(const QString& storePath, const QString& folder, bool descriptions)
{
    skin::RecordingSink messages;
    store::Query pictureQuery;
    album::AlbumPane pane(nullptr, pictureQuery);
    pane.resize(760, 480);
    pictureQuery.setStorePath(storePath);
    pictureQuery.setStatement(store::statements::allPictures());
    pictureQuery.open();
    skin::command(&pane, "N29")->trigger();  // the preview layout, as the user most likely has it
    TForm17 dialog(pane);
    dialog.ShellTreeView1Click(dialog.folderModel()->index(folder));
    dialog.findChild<QCheckBox*>(QStringLiteral("suiCheckBox1"))->setChecked(descriptions);
    dialog.show();
    const double ms = bench::millisecondsOf(
        [&] { dialog.findChild<QPushButton*>(QStringLiteral("suiButton1"))->click(); });
    const QString last = messages.messages.empty() ? QStringLiteral("none")
                                                   : messages.messages.back().text;
    std::printf("%.1f %.1f %s\n", ms, bench::peakResidentMiB(), qPrintable(last));
    return 0;
}

void emptyFolder(const QString& path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() > 3 && args[1] == QLatin1String("--export"))
        return exportOnce(args[2], args[3], args.size() > 4);
    if (QStandardPaths::findExecutable(QStringLiteral("djpeg")).isEmpty()) {
        std::printf("djpeg is missing (package libjpeg-turbo-progs)\n");
        return 1;
    }
    const int pictures = args.size() > 1 ? args[1].toInt() : 2000;
    const qint64 megabytes = args.size() > 2 ? args[2].toLongLong() : 2048;
    const int runs = std::max(5, args.size() > 3 ? args[3].toInt() : 5);

    // Beside the build, not in /tmp: a tmpfs would make every flush free.
    QTemporaryDir work(QDir::currentPath() + QStringLiteral("/bench_album_export-XXXXXX"));
    const QString store = work.filePath(QStringLiteral("current.mdb"));
    const QString sources = work.filePath(QStringLiteral("stored"));
    const QString out = work.filePath(QStringLiteral("out"));
    std::printf("making an album of %d pictures, %lld MB, and its stored bytes as files ...\n",
                pictures, megabytes);
    const QByteArray record = bench::makeAlbumStore(store, pictures, megabytes << 20);
    QDir().mkpath(sources);
    for (int i = 0; i < pictures; ++i) {
        QFile file(sources + QStringLiteral("/照片%1.jpg").arg(i, 4, 10, QChar(u'0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(record) != record.size()) {
            std::printf("cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    const QString loop = QStringLiteral("for f in '%1'/*.jpg; do djpeg \"$f\" > /dev/null && cp \"$f\" '%2'/ || exit 1; done")
                             .arg(sources, out);
    // The same loop with its files on the disk at the end, as the export leaves its own (each
    // file's flush checked before it is renamed into place).
    const QString durableLoop = loop + QStringLiteral("; sync -f '%1'").arg(out);
    const auto runLoop = [&](const QString& script) {
        emptyFolder(out);
        QProcess shell;
        const double ms = bench::millisecondsOf([&] {
            shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), script});
            shell.waitForFinished(-1);
        });
        if (shell.exitCode() != 0 || QDir(out).entryList(QDir::Files).size() != pictures) {
            std::printf("the shell loop failed: %s\n", shell.readAllStandardError().constData());
            std::exit(1);
        }
        return ms;
    };
    const auto settle = [&] { QProcess::execute(QStringLiteral("sync"), {}); };

    std::vector<double> shells, durableShells, exports, peaks, ratios, durableRatios;
    QString lastMessage;
    for (int run = 0; run < runs; ++run) {
        shells.push_back(runLoop(loop));
        settle();  // the loop's files reach the disk before the export starts
        emptyFolder(out);
        QProcess self;
        self.start(application.applicationFilePath(), {QStringLiteral("--export"), store, out});
        self.waitForFinished(-1);
        const QList<QByteArray> figures = self.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() < 3) {
            std::printf("export run %d failed: %s\n", run, self.readAllStandardError().constData());
            return 1;
        }
        exports.push_back(figures[0].toDouble());
        peaks.push_back(figures[1].toDouble());
        ratios.push_back(exports.back() / shells.back());
        lastMessage = QString::fromUtf8(figures[2]);
        durableShells.push_back(runLoop(durableLoop));
        durableRatios.push_back(exports.back() / durableShells.back());
    }
    std::printf("runs: %d, alternating (shell loop, the export, shell loop + sync)\n", runs);
    std::printf("shell loop (djpeg to /dev/null + cp): min %.0f ms, median %.0f ms\n",
                bench::minimum(shells), bench::median(shells));
    std::printf("the same loop + sync of its folder:   min %.0f ms, median %.0f ms\n",
                bench::minimum(durableShells), bench::median(durableShells));
    std::printf("ratio export/(loop + sync) per run: min %.2f, median %.2f\n",
                bench::minimum(durableRatios), bench::median(durableRatios));
    std::printf("album export (no descriptions):      min %.0f ms, median %.0f ms\n",
                bench::minimum(exports), bench::median(exports));
    std::printf("ratio export/loop per run: min %.2f, median %.2f; of the minima %.2f (goal at most 1.20)\n",
                bench::minimum(ratios), bench::median(ratios),
                bench::minimum(exports) / bench::minimum(shells));
    std::printf("peak resident of the export: min %.1f MiB, median %.1f MiB, max %.1f MiB (limit 200 MB)\n",
                bench::minimum(peaks), bench::median(peaks), *std::max_element(peaks.begin(), peaks.end()));
    std::printf("last message: %s\n", qPrintable(lastMessage));
    return 0;
}
