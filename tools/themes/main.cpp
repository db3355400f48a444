// mozhou-themes FOLDER: writes the theme pictures (Left.bmp … About.bmp) into FOLDER.
#include "ThemePictures.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mozhou-themes FOLDER\n");
        return 2;
    }
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString error = themes::writeThemePictures(QString::fromLocal8Bit(argv[1]));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "mozhou-themes: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
