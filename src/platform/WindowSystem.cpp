#include "WindowSystem.h"

#include <QGuiApplication>

namespace platform {

// The toolkit names its Wayland plugins "wayland", "wayland-egl" and so on.
bool onWayland()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

} // namespace platform
