#!/usr/bin/env bash
# The program as a Wayland client of weston, with the toolkit's Wayland plugin and no X display
# of its own. What it checks comes from the compositor: its scene graph (weston --debug) gives
# each window's title, size and place, and its protocol log the requests the program makes.
#
# WAYLAND_TEST_BACKEND=x11 (the default) runs weston on an Xvfb display of the test's own: that
# gives the compositor a seat with a pointer and a keyboard, which xdotool drives. There the
# test drags the title bar (a Wayland client cannot place its windows, so only the compositor
# can have moved it), opens the clipboard monitor and copies with wl-copy from another client.
# WAYLAND_TEST_BACKEND=headless runs weston's headless backend, which has no seat at all: no
# pointer, no keyboard and so no clipboard; there the test checks the start and the main window,
# also in the compositor's own picture of its output.
# Usage: wayland_test.sh PROGRAM STORE_TOOL THEMES_TOOL
# Exits 77 (skipped) only when a tool is missing or the compositor cannot run on the machine.
set -euo pipefail
backend=${WAYLAND_TEST_BACKEND:-x11}
for tool in weston weston-debug weston-screenshooter wl-copy wl-paste; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
export DESKTOP_TEST_WINDOW_MANAGER=""  # the compositor is the window manager
source "$(dirname "$0")/driver.sh"

socket=mozhou-test
# weston's own look kept out of the way: a black background, no panel, no animations.
write_compositor_settings() {
    cat >"$work/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff000000
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
[keyboard]
keymap_layout=us
INI
}

# Starts weston with the debug protocol (its scene graph and protocol log) on $socket in the
# program's run-time folder, and exports what the Wayland tools need to find it.
start_compositor() {
    write_compositor_settings
    local options=(--backend="$backend-backend.so" --use-pixman --width="$screen_width"
        --height="$screen_height" --socket="$socket" --debug --config="$work/weston.ini"
        --log="$work/weston.log")
    export XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY="$socket"
    weston "${options[@]}" >"$work/weston.out" 2>&1 &
    compositor=$!
    background+=("$compositor")
    if ! wait_for 20 compositor_ready; then
        echo "skipped: weston could not run on this machine ($backend backend):"
        tail -n 20 "$work/weston.log" "$work/weston.out" 2>/dev/null
        exit 77
    fi
}
compositor_ready() {
    is_child "$compositor" || return 1
    weston-debug --list 2>&1 | grep -q scene-graph
}

# The program's windows as the compositor has them, the topmost first: one line each,
# "X Y WIDTH HEIGHT TITLE".
views() {
    weston-debug scene-graph 2>/dev/null | awk -v q="'" '
        /role xdg_toplevel/ && index($0, q " of mozhou, ") {
            title = substr($0, index($0, "top-level window " q) + length("top-level window " q))
            title = substr(title, 1, index(title, q " of mozhou, ") - 1)
            wanted = 1
            next
        }
        wanted && /position:/ {
            gsub(/[(),]/, " ")
            printf "%d %d %d %d %s\n", $2, $3, $5 - $2, $6 - $3, title
            wanted = 0
        }'
}
# wayland_window TITLE: the window is shown; sets $X, $Y, $WIDTH and $HEIGHT.
wayland_window() {
    local x y width height title
    while read -r x y width height title; do
        [[ "$title" == "$1" ]] || continue
        X=$x Y=$y WIDTH=$width HEIGHT=$height
        return 0
    done < <(views)
    return 1
}
expect_wayland_window() {  # TITLE WIDTH HEIGHT
    wait_for 20 wayland_window "$1" || fail "the compositor shows no window '$1' ($(views | tr '\n' ';'))"
    [[ "${WIDTH}x$HEIGHT" == "$2x$3" ]] || fail "the window '$1' is ${WIDTH}x$HEIGHT, not $2x$3"
}
at() {  # X Y TITLE: the window of that title lies at X,Y
    wayland_window "$3" && ((X == $1 && Y == $2))
}
size_is() {  # TITLE WIDTH HEIGHT
    wayland_window "$1" && ((WIDTH == $2 && HEIGHT == $3))
}
window_closed() { ! wayland_window "$1"; }
topmost() {  # TITLE: the program's window on top of the others
    [[ "$(views | head -n1 | cut -d' ' -f5-)" == "$1" ]]
}

# The path of a picture of the whole output, taken by the compositor (weston-screenshooter,
# which the debug protocol allows).
compositor_screenshot() {
    local folder="$work/screenshots"
    rm -rf "$folder" && mkdir -p "$folder"
    (cd "$folder" && weston-screenshooter >/dev/null 2>&1) || fail "weston-screenshooter failed"
    local taken=("$folder"/*.png)
    [[ -s "${taken[0]}" ]] || fail "weston-screenshooter wrote no picture"
    echo "${taken[0]}"
}
picture_pixel() {  # PICTURE X Y: the colour there as rrggbb
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null | tail -n1 |
        sed -E 's/.*#([0-9A-Fa-f]{6}).*/\1/' | tr 'A-F' 'a-f'
}

start_wayland_program() {
    (cd "$folder" && program_env env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" \
        "$program") >>"$log" 2>&1 &
    program_pid=$!
    background+=("$program_pid")
}

# drag FROM-X FROM-Y DX DY: a left press, the pointer moved in steps, a release.
drag() {
    xdotool mousemove "$1" "$2"
    wait_for 5 pointer_at "$1" "$2" || fail "the pointer did not reach $1,$2"
    xdotool mousedown 1
    local step
    for step in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove $(($1 + $3 * step / 10)) $(($2 + $4 * step / 10))
        sleep 0.05
    done
    xdotool mouseup 1
}

# The clipboard monitor at $monitor_x,$monitor_y: whether the button of slot N (2 to 4) is
# shown, which it is once the history holds N contents. A shown button's face is lighter than
# the window's ground beside it.
monitor_button_shown() {  # N
    local y=$((monitor_y + 150 + 80 * ($1 - 2)))
    [[ "$(pixel $((monitor_x + 24)) "$y")" != "$(pixel $((monitor_x + 10)) "$y")" ]]
}
monitor_level_is() {  # N: exactly N contents
    local slot
    for slot in 2 3 4; do
        if ((slot <= $1)); then monitor_button_shown "$slot" || return 1
        else ! monitor_button_shown "$slot" || return 1; fi
    done
}
monitor_holds_content() {  # slot 1's view shows something: more than its ground colour
    local colours
    colours=$(import -window root -crop "70x40+$((monitor_x + 110))+$((monitor_y + 53))" png:- 2>/dev/null |
        convert - -format %k info: 2>/dev/null)
    ((${colours:-0} > 1))
}
pasted_is() { [[ "$(wl-paste --no-newline 2>/dev/null)" == "$1" ]]; }
# copy_from_other_client TEXT: wl-copy takes the clipboard until the next copy, when it ends.
# The caller waits for the monitor to take it before the next copy: a content whose owner has
# ended can no longer be read.
copy_from_other_client() {
    wl-copy --foreground -- "$1" 2>>"$work/wl-copy.log" &
    background+=($!)
}

[[ "$backend" == x11 ]] && start_display
make_program_folder
start_compositor

step "start as a Wayland client ($backend backend)"
start_wayland_program
expect_wayland_window "墨舟札记" 640 478
is_child "$program_pid" || fail "the program ended at start"
grep -q 'platform plugin' "$log" && fail "the toolkit's Wayland plugin did not load"
echo "the main window is at $X,$Y"

if [[ "$backend" == headless ]]; then
    step "the compositor's own picture of its output shows the window drawn where it has it"
    screenshot=$(compositor_screenshot)
    # The title bar's blue, the white list and the black ground just beside the window.
    title=$(picture_pixel "$screenshot" $((X + 300)) $((Y + 10)))
    [[ "$title" != 000000 ]] || fail "the title bar at $((X + 300)),$((Y + 10)) is not drawn"
    [[ "$(picture_pixel "$screenshot" $((X + 400)) $((Y + 300)))" == ffffff ]] ||
        fail "the title list at $((X + 400)),$((Y + 300)) is not white"
    [[ "$(picture_pixel "$screenshot" $((X + WIDTH)) $((Y + 10)))" == 000000 ]] ||
        fail "the window is drawn beyond its right edge"
    [[ -z "${SHOTS_DIR:-}" ]] || { mkdir -p "$SHOTS_DIR"; cp "$screenshot" "$SHOTS_DIR/wayland-headless.png"; }
    echo "PASS (the headless backend has no seat: no pointer, keyboard or clipboard to try)"
    exit 0
fi

step "dragging the title bar moves the window through the compositor"
main_x=$X main_y=$Y
# Room to move by (+150, +100) or, near the far edges, by (-150, -100).
dx=150 dy=100
((X + WIDTH + dx > screen_width || Y + HEIGHT + dy > screen_height)) && dx=-150 dy=-100
weston-debug -o "$work/protocol.log" proto &
protocol_log=$!
background+=("$protocol_log")
# A hand reaches the title bar after the window is drawn and the pointer has entered it, not in
# the milliseconds after it maps.
sleep 1
drag $((X + 200)) $((Y + 14)) "$dx" "$dy"
wait_for 10 at $((main_x + dx)) $((main_y + dy)) "墨舟札记" ||
    fail "after the drag by $dx,$dy from $main_x,$main_y the window is at $X,$Y"
stop "$protocol_log"
grep -q 'rq xdg_toplevel@[0-9]*\.move(' "$work/protocol.log" ||
    fail "the program asked the compositor for no interactive move"
main_x=$X main_y=$Y
echo "moved to $X,$Y by the compositor's interactive move"

step "the clipboard monitor opens in front"
keys ctrl+p
expect_wayland_window "监视剪贴板" 208 360
monitor_x=$X monitor_y=$Y
wait_for 10 topmost "监视剪贴板" || fail "the monitor is not on top: $(views | tr '\n' ';')"

step "the monitor follows copies made by another Wayland client"
monitor_level_is 0 && ! monitor_holds_content || fail "the new monitor already holds contents"
copy_from_other_client "甲一"
wait_for 10 monitor_holds_content || fail "the monitor did not take the first copy"
copy_from_other_client "乙二"
# Each copy moved the keyboard focus to the other client and back: the compositor announced
# the clipboard again every time, and those repeats are no copies.
wait_for 10 monitor_level_is 2 || fail "the monitor does not show the two copies as two contents"
pasted_is "乙二" || fail "other clients paste '$(wl-paste -n 2>/dev/null)', not the last copy 乙二"

step "set as current puts an older content back for other clients"
click_at $((monitor_x + 59)) $((monitor_y + 157))
wait_for 10 pasted_is "甲一" || fail "after 设置为当前 other clients paste '$(wl-paste -n 2>/dev/null)', not 甲一"
wait_for 10 monitor_level_is 3 || fail "the restored content is not one new entry"
sleep 0.5
monitor_level_is 3 || fail "the focus changes added entries of their own"
# Now 甲一, 乙二, 甲一: the second slot holds the other client's second copy.
click_at $((monitor_x + 59)) $((monitor_y + 157))
wait_for 10 pasted_is "乙二" || fail "the second slot did not hold 乙二"

step "a click on the main window's title bar gives it the keyboard back from the monitor"
# A part of the title bar that the monitor leaves free.
if ((monitor_x > main_x + 240)); then free_x=$((main_x + 100)); else free_x=$((main_x + 500)); fi
click_at "$free_x" $((main_y + 14))
wait_for 10 at "$main_x" "$main_y" "墨舟札记" || fail "a click on the title bar moved the main window to $X,$Y"
keys F1

step "the help window: its corner resizes it and its title bar maximises it through the compositor"
expect_wayland_window "墨舟札记 帮助" 766 523
help_x=$X help_y=$Y
# Made smaller, so that the pointer stays on the screen wherever the compositor put the window.
drag $((X + WIDTH - 2)) $((Y + HEIGHT - 2)) -60 -40
wait_for 10 size_is "墨舟札记 帮助" 706 483 ||
    fail "after a drag of its corner by -60,-40 the help window is ${WIDTH}x$HEIGHT"
((X == help_x && Y == help_y)) || fail "the resize moved the help window to $X,$Y"
# The maximise button, second from the right.
click_at $((X + WIDTH - 38)) $((Y + 14))
wait_for 10 at 0 0 "墨舟札记 帮助" && size_is "墨舟札记 帮助" "$screen_width" "$screen_height" ||
    fail "the maximised help window is ${WIDTH}x$HEIGHT at $X,$Y"
click_at $((screen_width - 38)) 14
wait_for 10 at "$help_x" "$help_y" "墨舟札记 帮助" && size_is "墨舟札记 帮助" 706 483 ||
    fail "the restored help window is ${WIDTH}x$HEIGHT at $X,$Y"
click_at $((X + WIDTH - 16)) $((Y + 14))
wait_for 10 window_closed "墨舟札记 帮助" || fail "the help window's close button left it open"

step "the close button ends the program"
click_at $((main_x + 640 - 16)) $((main_y + 14))
wait_program_end
((program_status == 0)) || fail "the program ended with status $program_status"
echo "PASS"
