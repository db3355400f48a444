// Which window system the program's windows live on, for the few things that differ there.
#pragma once

namespace platform {

// A Wayland session: the compositor places the windows (a window cannot set its position), keeps
// no window on top of all others, and shows a window the clipboard only while it has the focus.
bool onWayland();

} // namespace platform
