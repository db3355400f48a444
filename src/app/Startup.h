// Start-up helpers that need no window: the splash wait, the fonts, the program folder's paths.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {
class TickClock;
}

namespace app {

// Waits until the second whole-second boundary of the tick count after entry: a little over
// one second to two seconds, never longer, also when the counter wraps meanwhile.
// Returns the milliseconds waited as the clock counted them.
std::uint32_t waitOutSplash(platform::TickClock& clock);

// The font names the windows ask for.
inline const QString kWindowFontNames[] = {QStringLiteral("宋体"), QStringLiteral("SimSun"),
                                           QStringLiteral("Tahoma"), QStringLiteral("MS Sans Serif")};
// The one installed family every text of the program is drawn in: a Chinese sans family, which
// reads best at the windows' 11- to 13-pixel sizes (Noto Sans CJK SC where installed).
QString programFamily();
// Maps every name of kWindowFontNames, and the application's own font, to programFamily(), so
// that labels, menus and controls of one window agree.
void installFontSubstitutes();

// Installs the toolkit's own texts (file dialogs, standard buttons) in Chinese, from Qt's
// translations where they are installed. False when none are found.
bool installToolkitTexts();

// True when the process has somewhere to show windows (an X or Wayland display, or a Qt
// platform chosen explicitly).
bool hasDisplay();

// Makes the program's own resources (the window icon, the help pages) reachable; may be called
// more than once.
void registerProgramResources();

// The window icon of every window, and the desktop entry the windows belong to, so that the
// desktop's task list shows the program's icon and name.
void setDesktopIdentity();

} // namespace app
