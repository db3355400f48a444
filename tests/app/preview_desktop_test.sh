#!/usr/bin/env bash
# Runs the preview's desktop test on an X display of its own (Xvfb), with Qt on X.
#   preview_desktop_test.sh TEST_PROGRAM
# Exits 77 (skipped) when Xvfb or xdotool is not installed.
set -euo pipefail
test_program=$1
required_tools=(Xvfb xdotool)
source "$(dirname "$0")/../support/desktop_session.sh"
start_display
QT_QPA_PLATFORM=xcb "$test_program"
