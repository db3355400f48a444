// Program entry: one running copy per user, the splash window, the windows in their fixed
// order, then the main window's message loop.
#include "Main.h"
#include "Splash.h"
#include "Startup.h"
#include "clipmon/Show.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (!app::hasDisplay()) {
        std::fputs("mozhou: no display to show the window on (DISPLAY is not set).\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    platform::SingleInstance instance(QStringLiteral("墨舟札记2.0"));
    if (instance.wakeRunningCopy())
        return 0;
    TForm1* form1 = nullptr;
    QObject::connect(&instance, &platform::SingleInstance::wakeUpReceived, [&form1] {
        if (form1)
            form1->wakeUp();
    });
    instance.listen();
    app::installFontSubstitutes();

    TForm11 splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    platform::SystemClock clock;
    platform::SystemClipboard clipboard;
    TForm1 mainWindow(clock, clipboard);
    form1 = &mainWindow;
    TForm8 clipboardMonitor(clipboard);
    mainWindow.setClipboardMonitor(&clipboardMonitor);

    splash.hide();
    mainWindow.show();
    return application.exec();
}
