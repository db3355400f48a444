// The message echo: with it on, every message box and error report that is shown is also
// written to the standard error stream as one line, so that a test driving the program from
// outside reads what the user was told. Off unless switched on (main() does so when
// MOZHOU_ECHO_MESSAGES is set).
#pragma once

#include "ShownMessage.h"

namespace skin {

void setMessageEcho(bool on);
// The echoed line: "mozhou message: " + caption + " [" + kind + "] " + text, line breaks as
// blanks.
QString echoLine(const ShownMessage& message);
// Writes the echoed line when the echo is on.
void echoMessage(const ShownMessage& message);

} // namespace skin
