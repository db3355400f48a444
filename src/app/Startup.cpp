#include "Startup.h"

#include "platform/Clock.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

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
    // Every window hands each size to the window system as pixels when it is made: the large
    // sizes come from the installed desktop entry's icon instead.
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
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

QString programFamily()
{
    const QStringList families = QFontDatabase::families();
    QString family = firstInstalled({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")},
                                    families);
    if (family.isEmpty())
        family = anyChineseFamily(families);
    if (family.isEmpty())
        family = firstInstalled({QStringLiteral("DejaVu Sans")}, families);
    return family;
}

void installFontSubstitutes()
{
    const QString family = programFamily();
    if (family.isEmpty())
        return;
    for (const QString& name : kWindowFontNames)
        QFont::insertSubstitution(name, family);
    QFont applicationFont = QGuiApplication::font();
    applicationFont.setFamily(family);
    QGuiApplication::setFont(applicationFont);
}

bool installToolkitTexts()
{
    static QTranslator toolkitTexts;
    if (!toolkitTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&toolkitTexts);
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace app
