// The album export's two halves for bench_album_export.py, each a process of its own:
//   bench_album_export --make STORE SOURCES PICTURES PHOTO...
//       an album of PICTURES records, the given photographs in turn, named 照片NNNN.jpg in a
//       mixed order, and the same bytes as files in the folder SOURCES, for the shell's loop
//   bench_album_export --export STORE FOLDER [descriptions]
//       one export through the dialog as the user runs it (the album open in the preview
//       layout, the folder clicked, 导出 clicked); prints the message it ended with
#include "BenchSupport.h"

#include "album/AlbumPane.h"
#include "album/OutPIC.h"
#include "skin/Commands.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Statements.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QPushButton>
#include <cstdio>

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
    dialog.findChild<QPushButton*>(QStringLiteral("suiButton1"))->click();
    const QString last = messages.messages.empty() ? QStringLiteral("none")
                                                   : messages.messages.back().text;
    std::printf("%s\n", qPrintable(last));
    return 0;
}

int make(const QString& store, const QString& sources, int pictures, const QStringList& photoPaths)
{
    QList<QByteArray> photos;
    for (const QString& path : photoPaths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        photos << file.readAll();
    }
    const QStringList names = bench::makePhotoAlbumStore(store, photos, pictures);
    QDir().mkpath(sources);
    for (int i = 0; i < pictures; ++i) {
        QFile file(sources + u'/' + names[i]);
        const QByteArray& bytes = photos[i % photos.size()];
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
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
    if (args.size() > 5 && args[1] == QLatin1String("--make"))
        return make(args[2], args[3], args[4].toInt(), args.mid(5));
    std::fprintf(stderr, "usage: bench_album_export --make STORE SOURCES PICTURES PHOTO... |"
                         " --export STORE FOLDER [descriptions]\n"
                         "(bench/album/bench_album_export.py runs the benchmark)\n");
    return 2;
}
