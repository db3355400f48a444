// The preview of a large photograph from a fresh start, as one whole process: the album pane
// opens the store, the preview refresh reads the first record, decodes it (on the preview's
// thread, at the DCT scale that covers the fitted size), and the preview is painted once.
// bench/album/bench_album_view.py times it beside djpeg decoding the same file.
//   bench_album_jpeg make FOLDER [PICTURES [WIDTH HEIGHT]]   photographs and their store
//   bench_album_jpeg preview STORE REPORT                      one preview, then exit
// REPORT receives the preview's own share of the process, from the refresh to the painted
// picture: "wall_ms processor_ms" (processor time of all the process's threads).
// The platform is QT_QPA_PLATFORM's (offscreen when unset).
#include "BenchSupport.h"

#include "album/AlbumPane.h"
#include "skin/Commands.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Statements.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

int make(int argc, char** argv)
{
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const int pictures = argc > 3 ? std::atoi(argv[3]) : 1;
    const int width = argc > 5 ? std::atoi(argv[4]) : 6000;
    const int height = argc > 5 ? std::atoi(argv[5]) : 4000;
    for (const QString& file : bench::makePhotoAlbum(folder, pictures, width, height))
        std::printf("%s\n", qPrintable(file));
    return 0;
}

int preview(const QString& store, const QString& reportPath)
{
    skin::RecordingSink messages;
    store::Query pictureQuery;
    album::AlbumPane pane(nullptr, pictureQuery);
    pane.resize(760, 480);
    skin::command(&pane, "N29")->trigger();  // the preview layout, laid out
    pane.show();
    pictureQuery.setStorePath(store);
    pictureQuery.setStatement(store::statements::allPictures());
    const double cpuBefore = bench::ownCpuMilliseconds();
    const double wall = bench::millisecondsOf([&] {
        pictureQuery.open();  // the refresh on the first record
        pane.waitForPreview();
        (void)pane.previewPane()->grab();  // one paint of the fitted picture
    });
    const double cpu = bench::ownCpuMilliseconds() - cpuBefore;
    QFile report(reportPath);
    if (!report.open(QIODevice::WriteOnly) || report.write(QByteArray::number(wall) + ' ' + QByteArray::number(cpu) + '\n') <= 0)
        return 4;
    if (!messages.messages.empty() || !pane.positionText().startsWith(QStringLiteral("1/"))
        || pane.positionText().endsWith(QStringLiteral("0x0"))) {
        std::fprintf(stderr, "no preview: %s\n", qPrintable(pane.positionText()));
        return 3;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 1) {  // as bench/run-all lists it: its figures come in their own section
        std::printf("measured by bench/album/bench_album_view.py (section \"album: preview and thumbnails\")\n");
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "make") == 0)
        return make(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "preview") == 0)
        return preview(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    std::fprintf(stderr, "usage: bench_album_jpeg make FOLDER [PICTURES [WIDTH HEIGHT]] | preview STORE REPORT\n");
    return 2;
}
