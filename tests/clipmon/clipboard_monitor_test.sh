#!/usr/bin/env bash
# The clipboard monitor in the running program on a real X server, driven from outside: another
# program copies four texts and a picture while the monitor is hidden, Ctrl+P shows it, the mouse
# presses "设置为当前" of two older slots and "清空剪贴板", and the clipboard is read back each time.
#   clipboard_monitor_test.sh PROGRAM STORE_TOOL
# Exits 77 (skipped) only when Xvfb, xdotool or xclip is not installed.
set -euo pipefail
program=$1
store_tool=$2

required_tools=(Xvfb xdotool xclip)
source "$(dirname "$0")/../support/desktop_session.sh"
start_display
screen_height=768

# A program folder with an empty store. A user name of its own keeps a copy that runs elsewhere
# from taking this start for a second one.
mkdir -p "$work/program/Data"
"$store_tool" create "$work/program/Data/current.mdb" >/dev/null
(cd "$work/program" && QT_QPA_PLATFORM=xcb USER="mozhou-clipmon-test-$$" exec "$program") \
    >"$work/program.log" 2>&1 &
background+=($!)
program_pid=$!

find_window() {  # NAME: the id of the shown window with exactly that name
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}
has_window() {
    [[ -n "$(find_window "$1")" ]]
}
wait_for 20 has_window "墨舟札记" || fail "the main window did not appear"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended at start"

# copy FILE [TYPE]: another program owns the clipboard with FILE's bytes; returns once the
# program has fetched them (xclip then waits for its second request).
copies=0
copy() {
    copies=$((copies + 1))
    local log="$work/xclip$copies.log"
    xclip -selection clipboard -verbose -t "${2:-UTF8_STRING}" -i "$1" 2>"$log" &
    background+=($!)
    wait_for 10 grep -qs "request number 2" "$log" ||
        fail "the program did not read copy $copies ($1)"
}

texts=("第一条 one" "第二条 two" "第三条 three" "第四条 four")
for i in "${!texts[@]}"; do
    printf '%s' "${texts[$i]}" >"$work/text$i.txt"
    copy "$work/text$i.txt"
done

# A 32 x 20 red picture as an uncompressed 24-bit BMP.
{
    printf 'BM\xb6\x07\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00'
    printf '\x28\x00\x00\x00\x20\x00\x00\x00\x14\x00\x00\x00\x01\x00\x18\x00'
    printf '\x00\x00\x00\x00\x80\x07\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00'
    printf '\x00\x00\x00\x00\x00\x00\x00\x00'
    for ((pixel = 0; pixel < 32 * 20; pixel++)); do printf '\x00\x00\xff'; done
} >"$work/picture.bmp"
copy "$work/picture.bmp" image/bmp

# The slots now hold the picture and texts 4, 3 and 2. Ctrl+P in the main window shows them.
main_window=$(find_window "墨舟札记")
xdotool windowfocus --sync "$main_window"
xdotool key --clearmodifiers ctrl+p
wait_for 10 has_window "监视剪贴板" || fail "Ctrl+P did not show the clipboard monitor"
monitor=$(find_window "监视剪贴板")
eval "$(xdotool getwindowgeometry --shell "$monitor")"
[[ "$X" == 0 && "$Y" == $((screen_height - 409)) ]] ||
    fail "the monitor is at $X,$Y, not at the left edge 409 pixels above the screen's bottom"
# The skinned frame's title bar and border strips lie within the window's 208 x 360.
[[ "$WIDTH" == 208 && "$HEIGHT" == 360 ]] || fail "the monitor is ${WIDTH}x$HEIGHT, not 208x360"

# press SLOT: clicks the button of history slot 1 to 4 (slot boxes 80 pixels apart from 8, 37 on
# the frame panel, which starts 3 pixels in; the button's centre 48, 40 inside a box).
press() {
    xdotool mousemove --sync $((X + 3 + 8 + 48)) $((Y + 37 + 80 * ($1 - 1) + 40)) click 1
}
clipboard_is() {
    [[ "$(xclip -selection clipboard -o 2>/dev/null)" == "$1" ]]
}
clipboard_offers() {
    xclip -selection clipboard -o -t TARGETS 2>/dev/null | grep -qx "$1"
}
clipboard_empty() {
    [[ -z "$(xclip -selection clipboard -o -t TARGETS 2>/dev/null)" ]]
}

press 3
wait_for 10 clipboard_is "${texts[2]}" ||
    fail "设置为当前 of slot 3 gave '$(xclip -selection clipboard -o 2>&1)', not '${texts[2]}'"

# Slots: text 3, the picture, text 4, text 3. The picture comes back whole.
press 2
wait_for 10 clipboard_offers image/png || fail "设置为当前 of slot 2 put no picture back"
read -r -a size < <(xclip -selection clipboard -o -t image/png | od -An -tu1 -j16 -N8)
width=$(((size[2] << 8) + size[3]))
height=$(((size[6] << 8) + size[7]))
[[ "$width" == 32 && "$height" == 20 ]] || fail "the restored picture is ${width}x$height, not 32x20"

press 1
wait_for 10 clipboard_empty || fail "清空剪贴板 left '$(xclip -selection clipboard -o -t TARGETS 2>&1)'"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
echo "PASS"
