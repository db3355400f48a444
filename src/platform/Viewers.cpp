#include "Viewers.h"

#include <QProcess>
#include <QStandardPaths>

namespace platform {

namespace {
constexpr int kToolWaitMs = 3000;
}

// "xdg-mime query default TYPE" prints the desktop entry of the default application, or
// nothing when none is registered.
bool SystemViewers::hasViewerFor(const QString& mediaType) const
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty())
        return false;
    QProcess process;
    process.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mediaType});
    if (!process.waitForStarted(kToolWaitMs) || !process.waitForFinished(kToolWaitMs)) {
        process.kill();
        process.waitForFinished(kToolWaitMs);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return false;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed().endsWith(u".desktop");
}

bool hasViewerForAny(const Viewers& viewers, const QStringList& mediaTypes)
{
    for (const QString& type : mediaTypes)
        if (viewers.hasViewerFor(type))
            return true;
    return false;
}

} // namespace platform
