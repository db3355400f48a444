#!/usr/bin/env bash
# The thumbnail window: shown by the mode 缩略图+预览 at the lower right of the screen, one
# stretched thumbnail per picture, a click on a row makes that picture the preview's, and the
# switch to the materials book closes it.
# Usage: thumbnails_test.sh PROGRAM STORE_TOOL THEMES_TOOL
# Exits 77 (skipped) only when a tool of the desktop tests is not installed.
set -euo pipefail
source "$(dirname "$0")/driver.sh"
source "$(dirname "$0")/album_driver.sh"

start_display
make_program_folder
make_picture "$work/red.bmp" 40x30 "#ff0000"
make_picture "$work/blue.jpg" 64x48 "#0000ff"
sql "insert into 图片 values ('red.bmp', '红色', 0, readfile('$work/red.bmp'), null),
    ('blue.jpg', '蓝色', 1, readfile('$work/blue.jpg'), null);"

# The number of pixels of the window $win near a colour.
pixels_of() {  # COLOUR
    import -window "$win" "$work/window.png" 2>/dev/null || fail "could not take the window's picture"
    convert "$work/window.png" -fuzz 20% -fill black +opaque "$1" -fill white -opaque "$1" \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

step "start in the album"
start_program
main=$(find_window "墨舟札记")
focus "$main"
keys ctrl+g

step "the mode 缩略图+预览 shows the thumbnail window at the lower right"
grid_command m u
expect_window "缩略图" 150 483
thumbnails=$win
((X == screen_width - 150 && Y == screen_height - 483 - 49)) ||
    fail "the thumbnail window is at $X,$Y, not at the lower right"
expect_preview red

step "each picture is a thumbnail of 96 x 68 pixels"
# Each thumbnail fills its cell, the picture stretched over it (less the grid's lines).
red=$(pixels_of "#ff0000")
blue=$(pixels_of "#0000ff")
((red > 96 * 68 * 9 / 10 && red < 2 * 96 * 68)) || fail "$red pixels of the window are red"
((blue > 96 * 68 * 9 / 10 && blue < 2 * 96 * 68)) || fail "$blue pixels of the window are blue"

step "a click on a thumbnail makes it the current picture"
# The second row: under the title row, one 68-pixel row further down.
win=$thumbnails
measure
click_in $((3 + 60)) $((29 + 20 + 68 + 34))
expect_preview blue

step "switching to the materials book closes the thumbnail window"
focus "$main"
keys ctrl+t
wait_gone "缩略图"

echo "PASS"
