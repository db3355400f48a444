// mozhou-icon FOLDER NAME SIZE...: writes the program's icon as FOLDER/NxN/apps/NAME.png at each
// of the given pixel sizes.
#include "ProgramIcon.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: mozhou-icon FOLDER NAME SIZE...  (sizes 1 to 1024)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return usage();
    std::vector<int> sizes;
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024)
            return usage();
        sizes.push_back(size);
    }
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString error = icon::writeIconTheme(QString::fromLocal8Bit(argv[1]),
                                               QString::fromLocal8Bit(argv[2]), sizes);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "mozhou-icon: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
