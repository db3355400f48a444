// Program entry: one running copy per user, the splash window, the windows in their fixed
// order, then the main window's message loop.
#include "Main.h"
#include "ProgramWindows.h"
#include "Splash.h"
#include "Startup.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/SingleInstance.h"
#include "skin/MessageEcho.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (!app::hasDisplay()) {
        std::fputs("mozhou: no display to show the window on (DISPLAY is not set).\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    platform::SingleInstance instance(QStringLiteral("墨舟札记2.0"));
    if (instance.wakeRunningCopy())
        return 0;
    TForm1* mainWindow = nullptr;
    QObject::connect(&instance, &platform::SingleInstance::wakeUpReceived, [&mainWindow] {
        if (mainWindow)
            mainWindow->wakeUp();
    });
    // Without a listening name this copy still holds the lock, so a later start ends at once
    // (unable to wake this one) instead of running beside it.
    if (!instance.listen())
        std::fputs("mozhou: cannot listen for later starts; they will end without waking this window.\n",
                   stderr);
    app::installFontSubstitutes();
    app::setDesktopIdentity();
    app::installToolkitTexts();

    const platform::ProgramFolder folder = platform::ProgramFolder::current();
    TForm11 splash(folder);
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    // Tests and benchmarks set MOZHOU_SKIP_SPLASH_WAIT to time start-up without the splash's
    // wait: their clock passes two seconds at the first pause.
    platform::SystemClock systemClock;
    platform::FakeClock skippingClock(0, 2000);
    platform::TickClock& clock = qEnvironmentVariableIsSet("MOZHOU_SKIP_SPLASH_WAIT")
                                     ? static_cast<platform::TickClock&>(skippingClock)
                                     : systemClock;
    // The desktop tests set MOZHOU_ECHO_MESSAGES to read every message the program shows from
    // its standard error stream.
    skin::setMessageEcho(qEnvironmentVariableIsSet("MOZHOU_ECHO_MESSAGES"));
    platform::SystemClipboard clipboard;
    app::ProgramWindows windows(folder, clock, clipboard);
    mainWindow = &windows.main();

    splash.hide();
    mainWindow->show();
    return application.exec();
}
