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

// Maps the font families the windows name (宋体, Tahoma, MS Sans Serif) to installed ones.
void installFontSubstitutes();

// True when the process has somewhere to show windows (an X or Wayland display, or a Qt
// platform chosen explicitly).
bool hasDisplay();

} // namespace app
