#!/usr/bin/env bash
# The windows under a real window manager (DESKTOP_TEST_WINDOW_MANAGER, openbox by default):
# the keyboard focus back at the main window when a modal window closes, the clipboard monitor
# kept above the main window, minimising from the title bar, and a second start that brings
# the first copy's window back and to the front, also from under another program's window.
# Usage: window_manager_test.sh PROGRAM STORE_TOOL THEMES_TOOL
# Exits 77 (skipped) only when a tool of the desktop tests or the window manager is missing.
set -euo pipefail
export DESKTOP_TEST_WINDOW_MANAGER=${DESKTOP_TEST_WINDOW_MANAGER:-openbox}
command -v "$DESKTOP_TEST_WINDOW_MANAGER" >/dev/null ||
    { echo "skipped: $DESKTOP_TEST_WINDOW_MANAGER is not installed"; exit 77; }
source "$(dirname "$0")/driver.sh"

active_window() { xdotool getactivewindow 2>/dev/null || true; }
is_active() { [[ "$(active_window)" == "$1" ]]; }
# The client windows from the bottom of the stack to its top, as the manager keeps them.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,//g'; }
above() {  # UPPER LOWER: window UPPER lies above window LOWER
    local order=() index upper=-1 lower=-1
    read -ra order <<<"$(stacking)"
    for index in "${!order[@]}"; do
        (( order[index] == $1 )) && upper=$index
        (( order[index] == $2 )) && lower=$index
    done
    ((upper >= 0 && lower >= 0 && upper > lower))
}
iconic() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
normal() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Normal'; }
second_start() {
    local status=0
    (cd "$folder" && program_env timeout 20 "$program") >>"$log" 2>&1 || status=$?
    ((status == 0)) || fail "the second start ended with status $status"
}

start_display
make_program_folder

step "start under $DESKTOP_TEST_WINDOW_MANAGER"
start_program
expect_window "墨舟札记" 640 478
main=$win
wait_for 10 is_active "$main" || xdotool windowactivate "$main"
wait_for 10 is_active "$main" || fail "the main window is not the active window ($(active_window))"

step "the focus returns to the main window when the modal About window closes"
menu_keys alt+h a
wait_for 10 about_shown || fail "no 310x220 About window appeared"
click_in 20 20
wait_for 10 about_closed || fail "a click on the About picture left it open"
wait_for 10 is_active "$main" || fail "after the About window the active window is $(active_window)"

step "the clipboard monitor stays above the main window"
keys ctrl+p
expect_window "监视剪贴板" 208 360
monitor=$win
xdotool windowactivate "$main"
wait_for 10 is_active "$main" || fail "the main window could not be activated"
wait_for 10 above "$monitor" "$main" || fail "the clipboard monitor went below the main window: $(stacking)"

step "minimise from the title bar, then a second start brings the window back"
win=$main
measure
# The minimise button: the third from the right of the title bar.
click_at $((X + WIDTH - 61)) $((Y + 14))
wait_for 10 iconic "$main" || fail "the title bar's minimise button left the window $(xprop -id "$main" WM_STATE | tail -n1)"
second_start
wait_for 10 normal "$main" || fail "the second start left the window $(xprop -id "$main" WM_STATE | tail -n1)"
wait_for 10 is_active "$main" || fail "the restored window is not active ($(active_window))"

step "a second start brings the window to the front from under another program's window"
xmessage -geometry 800x600+0+0 "another program" &
background+=($!)
wait_for 10 has_window "xmessage" || fail "the other program's window did not appear"
other=$(find_window "xmessage")
xdotool windowactivate "$other"
wait_for 10 above "$other" "$main" || fail "the other program's window is not above the main window"
second_start
wait_for 10 above "$main" "$other" || fail "the second start left the main window below: $(stacking)"

echo "PASS"
