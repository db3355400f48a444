#include "Desktop.h"

#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace platform {

namespace {
constexpr int kToolWaitMs = 5000;

// Runs a desktop tool and waits a little for it; what it answers is not examined.
void runTool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (process.waitForStarted(kToolWaitMs))
        process.waitForFinished(kToolWaitMs);
}

QString gnomeOption(const WallpaperValues& values, const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("none");
    if (values.wallpaperStyle == u'2')
        return QStringLiteral("stretched");
    return values.tileWallpaper == u'1' ? QStringLiteral("wallpaper") : QStringLiteral("centered");
}

QString fehOption(const WallpaperValues& values)
{
    if (values.wallpaperStyle == u'2')
        return QStringLiteral("--bg-scale");
    return values.tileWallpaper == u'1' ? QStringLiteral("--bg-tile") : QStringLiteral("--bg-center");
}
} // namespace

// One value a line, in the order of the struct; the file is replaced whole.
bool SystemDesktop::writeValues(const WallpaperValues& values)
{
    QSaveFile file(valuesFile_);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString text = values.tileWallpaper + u'\n' + values.wallpaperStyle + u'\n' + values.wallPaper + u'\n';
    return file.write(text.toUtf8()) >= 0 && file.commit();
}

WallpaperValues SystemDesktop::values() const
{
    QFile file(valuesFile_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    return {lines.value(0), lines.value(1), lines.value(2)};
}

void SystemDesktop::setWallpaper(const QString& path)
{
    const WallpaperValues kept = values();
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (!gsettings.isEmpty()) {
        const QString uri = path.isEmpty() ? QString() : QUrl::fromLocalFile(path).toString();
        const QString schema = QStringLiteral("org.gnome.desktop.background");
        runTool(gsettings, {QStringLiteral("set"), schema, QStringLiteral("picture-uri"), uri});
        runTool(gsettings, {QStringLiteral("set"), schema, QStringLiteral("picture-uri-dark"), uri});
        runTool(gsettings, {QStringLiteral("set"), schema, QStringLiteral("picture-options"),
                            gnomeOption(kept, path)});
        return;
    }
    const QString feh = QStandardPaths::findExecutable(QStringLiteral("feh"));
    if (!feh.isEmpty() && !path.isEmpty())
        runTool(feh, {fehOption(kept), path});
}

} // namespace platform
