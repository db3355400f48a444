// Writes every skin picture as NAME.bmp into the given folder, with a Qt resource collection
// that lists them under the prefix /skin.
#include "SkinPictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QString collection = QStringLiteral("<RCC>\n  <qresource prefix=\"/skin\">\n");
    for (const skingen::NamedPicture& named : skingen::allSkinPictures()) {
        const QString file = named.name + QStringLiteral(".bmp");
        if (!named.picture.save(folder + u'/' + file, "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        collection += QStringLiteral("    <file>%1</file>\n").arg(file);
    }
    collection += QStringLiteral("  </qresource>\n</RCC>\n");
    QFile qrc(folder + QStringLiteral("/skin_pictures.qrc"));
    if (!qrc.open(QIODevice::WriteOnly) || qrc.write(collection.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write skin_pictures.qrc\n");
        return 1;
    }
    return 0;
}
