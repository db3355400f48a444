#!/usr/bin/env bash
# The skinned frame on a real X display (Xvfb, no window manager): measures the main window
# (both books), the reading window normal and maximised, the book's dialogs and three message
# windows, and samples their border, corner and title bar pixels. With SHOTS_DIR set, the
# screenshots are kept there.
# Usage: frame_desktop_test.sh PROGRAM STORE_TOOL
# Exits 77 (skipped) only when Xvfb, xdotool, sqlite3 or ImageMagick is not installed.
set -euo pipefail
program=$1
store_tool=$2

required_tools=(Xvfb xdotool sqlite3 import convert)
source "$(dirname "$0")/../support/desktop_session.sh"

failures=0
check() {  # CONDITION-TEXT RESULT: counts a failed measurement and goes on
    if [[ "$2" == ok ]]; then
        echo "ok: $1"
    else
        echo "MISMATCH: $1 ($2)" >&2
        failures=$((failures + 1))
    fi
}

start_display

mkdir -p "$work/program/Data"
"$store_tool" create "$work/program/Data/current.mdb" >/dev/null
sqlite3 "$work/program/Data/current.mdb" \
    "insert into 文本 values ('日记', 0, '今天天气很好。'), ('日记', 1, '第二行');"
(cd "$work/program" && QT_QPA_PLATFORM=xcb USER="mozhou-frame-test-$$" exec "$program") \
    >"$work/program.log" 2>&1 &
background+=($!)

find_window() {  # NAME: the id of the shown window with exactly that name
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1
}
has_window() { [[ -n "$(find_window "$1")" ]]; }
no_window() { [[ -z "$(find_window "$1")" ]]; }

shot=0
screenshot() {  # NAME: the whole screen into $work/NAME.png (and SHOTS_DIR)
    sleep 0.4
    import -window root "$work/$1.png"
    if [[ -n "${SHOTS_DIR:-}" ]]; then
        mkdir -p "$SHOTS_DIR"
        cp "$work/$1.png" "$SHOTS_DIR/"
    fi
    shot=$1
}
pixel() {  # X Y: the colour at a screen point of the last screenshot, as rrggbb
    convert "$work/$shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n1 |
        sed -E 's/.*#([0-9A-Fa-f]{6}).*/\1/' | tr 'A-F' 'a-f'
}
measure() {  # NAME: X, Y, WIDTH, HEIGHT of that window
    eval "$(xdotool getwindowgeometry --shell "$(find_window "$1")")"
}
expect_size() {  # NAME WIDTH HEIGHT
    measure "$1"
    [[ "$WIDTH" == "$2" && "$HEIGHT" == "$3" ]] && check "$1 is $2x$3" ok ||
        check "$1 is $2x$3" "measured ${WIDTH}x$HEIGHT"
}
expect_pixel() {  # WHAT X Y COLOUR
    local found
    found=$(pixel "$2" "$3")
    [[ "$found" == "$4" ]] && check "$1 at $2,$3 is #$4" ok || check "$1 at $2,$3 is #$4" "#$found"
}
# The frame of a window measured last: blue border strips, cut top corners, blue title bar.
expect_frame() {  # NAME
    expect_pixel "$1 left border" "$X" $((Y + HEIGHT / 2)) 002cc8
    expect_pixel "$1 right border" $((X + WIDTH - 1)) $((Y + HEIGHT / 2)) 002cc8
    expect_pixel "$1 bottom border" $((X + WIDTH / 2)) $((Y + HEIGHT - 1)) 002cc8
    # The corner pixels show what lies behind the window, not its title bar.
    local title edge
    edge=$(pixel $((X + WIDTH / 2)) "$Y")
    [[ "$(pixel "$X" "$Y")" != "$edge" && "$(pixel $((X + WIDTH - 1)) "$Y")" != "$edge" ]] &&
        check "$1 top corners are cut round" ok || check "$1 top corners are cut round" "corner #$edge"
    title=$(pixel $((X + WIDTH / 2)) $((Y + 20)))
    (( 16#${title:4:2} > 200 && 16#${title:0:2} < 60 )) && check "$1 title bar is blue" ok ||
        check "$1 title bar is blue" "#$title"
}

wait_for 20 has_window "墨舟札记" || fail "the main window did not appear"
expect_size "墨舟札记" 640 478
screenshot main-materials
expect_frame "墨舟札记"
main_x=$X main_y=$Y

# The picture album: a click on its icon in the category bar (8 + 16, 93 + 16 in the bar,
# which starts 3 + 0, 29 + 22 + 6 into the window).
xdotool mousemove --sync $((main_x + 3 + 24)) $((main_y + 57 + 109)) click 1
screenshot main-album
xdotool mousemove --sync $((main_x + 3 + 24)) $((main_y + 57 + 53)) click 1

# The reading window: a double-click on the first title (toolbar 25, header 18, rows 17).
xdotool mousemove --sync $((main_x + 3 + 54 + 120)) $((main_y + 57 + 43 + 8)) click --repeat 2 1
wait_for 10 has_window "读取《日记》" || fail "the reading window did not open"
expect_size "读取《日记》" 536 360
screenshot reading-normal
expect_frame "读取《日记》"
read_x=$X read_y=$Y
# Maximise by a double-click on the empty title bar: the whole screen, no window manager
# keeping a task bar.
xdotool mousemove --sync $((read_x + 200)) $((read_y + 15)) click --repeat 2 1
sleep 0.5
expect_size "读取《日记》" 1024 768
screenshot reading-maximised
expect_pixel "maximised reading window bottom border" 512 767 002cc8
xdotool mousemove --sync 200 15 click --repeat 2 1
sleep 0.5
expect_size "读取《日记》" 536 360

# Message 1: saving after an edit confirms with an information message.
xdotool mousemove --sync $((read_x + 100)) $((read_y + 200)) click 1
xdotool type --delay 20 "x"
xdotool mousemove --sync $((read_x + 3 + 136 + 52)) $((read_y + 29 + 6 + 12)) click 1
wait_for 10 has_window "提示" || fail "saving showed no message"
expect_size "提示" 336 169
screenshot message-saved
expect_frame "提示"
xdotool key --window "$(find_window "提示")" Escape
sleep 0.3
has_window "提示" && check "Escape leaves the message open" ok || check "Escape leaves the message open" "closed"
measure "提示"
# The close button of the title bar: 307 + 3 + 10 across, 5 + 10 down.
xdotool mousemove --sync $((X + 320)) $((Y + 15)) click 1
wait_for 5 no_window "提示" || fail "the title bar's close button left the message open"
xdotool mousemove --sync $((read_x + 3 + 428 + 36)) $((read_y + 29 + 6 + 12)) click 1
wait_for 10 no_window "读取《日记》" || fail "the reading window did not close"

# Messages 2 and 3: the add dialog refuses an empty title, then a title already stored.
xdotool mousemove --sync $((main_x + 3 + 54 + 64 + 28)) $((main_y + 57 + 12)) click 1
wait_for 10 has_window "添加" || fail "the add dialog did not open"
expect_size "添加" 438 410
screenshot add-dialog
expect_frame "添加"
add_x=$X add_y=$Y
# Places in the dialog: the panel starts 3 pixels in; the title field at 16, 58, the editor at
# 16, 106 and the button row at 368 on it, 确定 at 266.
ok_button() { xdotool mousemove --sync $((add_x + 3 + 266 + 36)) $((add_y + 368 + 12)) click 1; }
title_field() { xdotool mousemove --sync $((add_x + 3 + 100)) $((add_y + 58 + 10)) click 1; }
editor() { xdotool mousemove --sync $((add_x + 3 + 100)) $((add_y + 106 + 50)) click 1; }
ok_button
wait_for 10 has_window "提示" || fail "an empty title showed no message"
expect_size "提示" 336 169
screenshot message-no-title
expect_frame "提示"
xdotool key --window "$(find_window "提示")" Return
wait_for 5 no_window "提示" || fail "Enter did not answer the message"
title_field
xdotool type --delay 20 "riji"
editor
xdotool type --delay 20 "a"
title_field
xdotool key ctrl+a BackSpace
xdotool type --delay 20 "rj"
ok_button
sleep 0.5
xdotool mousemove --sync $((main_x + 3 + 54 + 64 + 28)) $((main_y + 57 + 12)) click 1
wait_for 10 has_window "添加" || fail "the add dialog did not open again"
title_field
xdotool type --delay 20 "rj"
editor
xdotool type --delay 20 "b"
ok_button
wait_for 10 has_window "提示" || fail "a stored title showed no message"
expect_size "提示" 336 169
screenshot message-title-taken
xdotool key --window "$(find_window "提示")" Return
wait_for 5 no_window "提示" || fail "Enter did not answer the message"
xdotool mousemove --sync $((add_x + 3 + 346 + 36)) $((add_y + 368 + 12)) click 1
wait_for 5 no_window "添加" || fail "取消 left the add dialog open"

# A dialog opened from the toolbar at TOOL_X, measured, then closed by its button at
# BUTTON_X, BUTTON_Y on its panel.
toolbar_dialog() {  # NAME WIDTH HEIGHT SHOT TOOL_X BUTTON_X BUTTON_Y
    xdotool mousemove --sync $((main_x + 3 + 54 + $5)) $((main_y + 57 + 12)) click 1
    wait_for 10 has_window "$1" || fail "the dialog $1 did not open"
    expect_size "$1" "$2" "$3"
    screenshot "$4"
    expect_frame "$1"
    xdotool mousemove --sync $((X + 3 + $6)) $((Y + $7)) click 1
    wait_for 5 no_window "$1" || fail "its button left the dialog $1 open"
}
# 删除 at 120 with 否 at 168, 116; 搜索标题 at 232 with 取消 at 160, 116.
toolbar_dialog "删除" 320 160 delete-dialog $((120 + 28)) $((168 + 36)) $((116 + 12))
toolbar_dialog "搜索标题" 288 160 search-dialog $((232 + 40)) $((160 + 36)) $((116 + 12))

((failures == 0)) || fail "$failures measurements did not match"
echo "all measurements match"
