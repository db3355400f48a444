// Writes the seed corpus of the theme file fuzzer into the given folder.
#include "skin/ThemeFileBuilder.h"

#include <QDir>
#include <QFile>
#include <cstdio>

using testing_support::ThemeFileBuilder;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QByteArray looping = ThemeFileBuilder().integer("FormBorderWidthInt", 3).build();
    testing_support::putInt32(looping, ThemeFileBuilder::recordOffset(0) + 73, ThemeFileBuilder::recordOffset(0));
    const QList<QPair<QString, QByteArray>> seeds = {
        {"empty", ThemeFileBuilder().build()},
        {"values", ThemeFileBuilder()
                       .integer("FormBackgroundColor", 14609391)
                       .integer("FormBorderWidthInt", 3)
                       .byte("ButtonTransparentBool", 1)
                       .string("Author", "somebody")
                       .picture("ButtonImage", QByteArray("BM") + QByteArray(60, '\x11'))
                       .build()},
        {"looping", looping},
    };
    for (const auto& [name, bytes] : seeds) {
        QFile file(folder + u'/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
