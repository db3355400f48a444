#include "Startup.h"

#include "platform/Clock.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QStringList>

// The resource initialiser lives in the global namespace.
static void registerAppResources()
{
    Q_INIT_RESOURCE(app_resources);
}

namespace app {

void registerProgramResources()
{
    static const bool registered = (registerAppResources(), true);
    Q_UNUSED(registered);
}

void setDesktopIdentity()
{
    registerProgramResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral(MOZHOU_DESKTOP_NAME));
}

std::uint32_t waitOutSplash(platform::TickClock& clock)
{
    const std::uint32_t start = clock.tickCount();
    const std::uint64_t boundary = (std::uint64_t(start / 1000) + 2) * 1000;
    const std::uint32_t wait = std::uint32_t(boundary - start);  // in (1000, 2000]
    std::uint32_t waited = 0;
    while ((waited = clock.tickCount() - start) < wait)
        clock.sleepOneMillisecond();
    return waited;
}

namespace {

QString firstInstalled(const QStringList& candidates, const QStringList& families)
{
    for (const QString& candidate : candidates)
        if (families.contains(candidate, Qt::CaseInsensitive))
            return candidate;
    return {};
}

QString anyChineseFamily(const QStringList& families)
{
    for (const QString& family : families)
        if (QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese))
            return family;
    return {};
}

} // namespace

void installFontSubstitutes()
{
    const QStringList families = QFontDatabase::families();
    QString chinese = firstInstalled({QStringLiteral("Noto Serif CJK SC"),
                                      QStringLiteral("Noto Sans CJK SC")}, families);
    if (chinese.isEmpty())
        chinese = anyChineseFamily(families);
    if (!chinese.isEmpty()) {
        QFont::insertSubstitution(QStringLiteral("宋体"), chinese);
        QFont::insertSubstitution(QStringLiteral("SimSun"), chinese);
    }
    const QString latin = firstInstalled({QStringLiteral("DejaVu Sans")}, families);
    for (const QString& name : {QStringLiteral("Tahoma"), QStringLiteral("MS Sans Serif")}) {
        if (!latin.isEmpty())
            QFont::insertSubstitution(name, latin);
        if (!chinese.isEmpty())
            QFont::insertSubstitution(name, chinese);
    }
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace app
