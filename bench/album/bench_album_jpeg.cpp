// The preview of a 6000 × 4000 JPEG: the after-scroll refresh (reading the record, decoding it
// with libjpeg at full size, fitting it) and one paint of the preview, beside djpeg decoding the
// same file, measured in the same run. Must take at most 1.2 times djpeg's time.
//   bench_album_jpeg [RUNS]
// Runs alternate: djpeg, then the preview, RUNS times each.
#include "BenchSupport.h"

#include "album/AlbumPane.h"
#include "skin/Commands.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 7);
    if (QStandardPaths::findExecutable(QStringLiteral("djpeg")).isEmpty()) {
        std::printf("djpeg is missing (package libjpeg-turbo-progs)\n");
        return 1;
    }
    QTemporaryDir folder;
    const QString file = folder.path() + QStringLiteral("/big.jpg");
    const QString store = folder.path() + QStringLiteral("/current.mdb");
    {
        const QByteArray jpeg = bench::jpegOf(6000, 4000, 90);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(jpeg);
        store::createStore(store);
        store::Connection connection(store);
        store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
        insert.bindAll({QStringLiteral("big.jpg"), QStringLiteral("6000 × 4000"), 1, jpeg});
        insert.step();
        std::printf("6000 x 4000 JPEG of %.1f MB\n", jpeg.size() / 1048576.0);
    }
    const double before = bench::peakResidentMiB();

    skin::RecordingSink messages;
    store::Query pictureQuery;
    album::AlbumPane pane(nullptr, pictureQuery);
    pane.resize(760, 480);
    pictureQuery.setStorePath(store);
    pictureQuery.setStatement(store::statements::allPictures());
    pictureQuery.open();
    skin::command(&pane, "N29")->trigger();  // the preview layout, laid out
    pane.show();

    std::vector<double> djpeg, refresh, preview;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        djpeg.push_back(bench::millisecondsOf([&] {
            process.start(QStringLiteral("djpeg"), {file});
            process.waitForFinished(-1);
        }));
        double refreshOnly = 0;
        preview.push_back(bench::millisecondsOf([&] {
            refreshOnly = bench::millisecondsOf([&] { pictureQuery.first(); });
            (void)pane.previewPane()->grab();  // one paint of the fitted picture
        }));
        refresh.push_back(refreshOnly);
    }
    std::printf("runs: %d, alternating\n", runs);
    std::printf("djpeg (process, PPM to /dev/null): min %.1f ms, median %.1f ms\n", bench::minimum(djpeg), bench::median(djpeg));
    std::printf("after-scroll refresh:              min %.1f ms, median %.1f ms\n", bench::minimum(refresh), bench::median(refresh));
    std::printf("refresh + one paint (the preview): min %.1f ms, median %.1f ms\n", bench::minimum(preview), bench::median(preview));
    std::printf("ratio preview/djpeg: min %.2f, median %.2f (limit 1.20)\n",
                bench::minimum(preview) / bench::minimum(djpeg), bench::median(preview) / bench::median(djpeg));
    std::printf("label %s, fitted %dx%d, messages %zu\n", qPrintable(pane.positionText()),
                pane.previewSize().width(), pane.previewSize().height(), messages.messages.size());
    std::printf("peak resident: %.1f MiB (%.1f MiB before the pane; the 24-megapixel picture is 92 MiB)\n",
                bench::peakResidentMiB(), before);
    return 0;
}
