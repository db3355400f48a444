#!/usr/bin/env bash
# The wallpaper commands in the running program on a real X server, driven from outside: a store
# with one JPEG picture, Ctrl+G for the album, the grid menu's 模式 → 预览, then the preview
# picture's menu 设为墙纸 → 居中 and → 还原. A stand-in gsettings on PATH records what reaches the
# desktop; Temp/mozhou.bmp must be the picture as a BMP file.
#   wallpaper_desktop_test.sh PROGRAM STORE_TOOL
# Exits 77 (skipped) only when Xvfb, xdotool, sqlite3 or ImageMagick is not installed.
set -euo pipefail
program=$1
store_tool=$2

required_tools=(Xvfb xdotool sqlite3 convert)
source "$(dirname "$0")/../support/desktop_session.sh"
start_display

# The stand-in desktop settings tool: one line per call.
mkdir -p "$work/bin"
cat >"$work/bin/gsettings" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$work/gsettings.log"
EOF
chmod +x "$work/bin/gsettings"

mkdir -p "$work/program/Data" "$work/program/Temp"
store="$work/program/Data/current.mdb"
"$store_tool" create "$store" >/dev/null
convert -size 64x48 gradient:red-blue "$work/picture.jpg"
sqlite3 "$store" "insert into 图片 values ('海边.jpg', '夏天', 1, readfile('$work/picture.jpg'), NULL);"
(cd "$work/program" && PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb MOZHOU_SKIP_SPLASH_WAIT=1 \
    USER="mozhou-wallpaper-test-$$" exec "$program") >"$work/program.log" 2>&1 &
background+=($!)
program_pid=$!

find_window() {  # NAME: the id of the shown window with exactly that name
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}
has_window() { [[ -n "$(find_window "$1")" ]]; }
wait_for 20 has_window "墨舟札记" || fail "the main window did not appear"
main_window=$(find_window "墨舟札记")
xdotool windowfocus --sync "$main_window"
sleep 0.3

# The album, then the preview layout through the grid menu (the grid has the focus).
xdotool key --clearmodifiers ctrl+g
sleep 0.3
xdotool key --delay 150 Menu m p
sleep 0.5

# The preview picture sits at the top-left corner of the picture area: the 3-pixel border, the
# 54-pixel category bar, the 180-pixel grid and the 6-pixel strip to its left; the 29-pixel title
# bar, the 22-pixel menu bar, the 6-pixel strip, the album's 26-pixel toolbar strip and the
# 19-pixel title strip above it.
eval "$(xdotool getwindowgeometry --shell "$main_window")"
picture_x=$((X + 3 + 54 + 180 + 6 + 20))
picture_y=$((Y + 29 + 22 + 6 + 26 + 19 + 20))
wallpaper() {  # KEY: the picture menu's 设为墙纸 submenu item with that mnemonic
    xdotool mousemove --sync "$picture_x" "$picture_y" click 3
    sleep 0.4
    xdotool key --delay 150 w "$1"
}
calls() { [[ -s "$work/gsettings.log" ]] && (($(wc -l <"$work/gsettings.log") >= $1)); }

wallpaper m
wait_for 10 calls 3 || fail "居中 reached no gsettings call: $(cat "$work/gsettings.log" 2>/dev/null)"
wallpaper_file="$work/program/Temp/mozhou.bmp"
uri="file://$wallpaper_file"
expected="set org.gnome.desktop.background picture-uri $uri
set org.gnome.desktop.background picture-uri-dark $uri
set org.gnome.desktop.background picture-options centered"
[[ "$(cat "$work/gsettings.log")" == "$expected" ]] ||
    fail "居中 gave the calls:
$(cat "$work/gsettings.log")"

# The temporary file is the decoded JPEG written as a BMP file of the picture's size.
[[ "$(head -c 2 "$wallpaper_file")" == BM ]] || fail "Temp/mozhou.bmp is not a BMP file"
read -r width height < <(od -An -tu4 -j18 -N8 "$wallpaper_file")
[[ "$width" == 64 && "$height" == 48 ]] || fail "Temp/mozhou.bmp is ${width}x$height, not 64x48"

wallpaper r
wait_for 10 calls 6 || fail "还原 reached no gsettings call"
expected="set org.gnome.desktop.background picture-uri 
set org.gnome.desktop.background picture-uri-dark 
set org.gnome.desktop.background picture-options none"
[[ "$(tail -n3 "$work/gsettings.log")" == "$expected" ]] ||
    fail "还原 gave the calls:
$(tail -n3 "$work/gsettings.log")"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
echo "PASS"
