#!/usr/bin/env bash
# A session from start to restart: the clipboard monitor following another program's copies,
# the category switch and view toggles by their short-cuts, a compaction that fails on a copy
# left behind, a compaction that succeeds, and the next start on the compacted store.
# Usage: session_test.sh PROGRAM STORE_TOOL THEMES_TOOL
# Exits 77 (skipped) only when a tool of the desktop tests is not installed.
set -euo pipefail
source "$(dirname "$0")/driver.sh"

start_display
make_program_folder
sql "insert into 文本 values ('日记', 0, '今天天气很好。'), ('日记', 1, '第二行');"
make_picture "$work/red.bmp" 40x30 "#ff0000"
sql "insert into 图片 values ('red.bmp', '红色', 0, readfile('$work/red.bmp'), null);"
store_contents() {
    sql "select * from 文本 order by 标题, 行数; select 图片名称, 图片描述, Isbmp, hex(Myimage) from 图片;"
}
contents_before=$(store_contents)

# The button of history slot 1 to 4 of the monitor $win: slot boxes 80 pixels apart from 8, 37
# on the frame panel, which starts 3 pixels in; the button's middle 48, 40 inside a box.
press_slot() {
    click_in $((3 + 8 + 48)) $((37 + 80 * ($1 - 1) + 40))
}


step "start"
start_program
expect_window "墨舟札记" 640 478
main=$win

# The share of dark (text) pixels in a part of the screen, in thousandths.
dark_share() {  # X Y WIDTH HEIGHT
    import -window root -crop "$3x$4+$1+$2" png:- 2>/dev/null |
        convert - -colorspace gray -threshold 50% -format '%[fx:int(1000*(1-mean))]' info:
}
# grep reads all of xprop's long output: a pipe closed early would fail the pipeline.
has_icon() { xprop -id "$1" _NET_WM_ICON 2>/dev/null | grep 'Icon (32 x 32)' >/dev/null; }

step "F1 without a viewer for the help file shows the help window with its first page"
focus "$main"
keys F1
expect_window "墨舟札记 帮助" 766 523
help=$win
# The page beside the contents list: a heading and paragraphs of text.
shown=$(dark_share $((X + 220)) $((Y + 70)) 500 200)
echo "the help page: ${shown}‰ dark pixels"
((shown > 20)) || fail "the help page shows almost no text (${shown}‰ dark)"
[[ ! -s "$work/opened" ]] || fail "F1 handed '$(cat "$work/opened")' to the desktop without a viewer"
for window in "$main" "$help"; do
    has_icon "$window" || fail "window $window carries no 32-pixel icon (_NET_WM_ICON)"
done
focus "$help"
keys Escape
wait_gone "墨舟札记 帮助"

step "F1 with a viewer for the help file hands the file to the desktop's opener"
echo "application/vnd.ms-htmlhelp kchmviewer.desktop" >"$work/viewers"
echo "ITSF" >"$folder/Help.chm"
focus "$main"
keys F1
wait_for 10 grep -qs "Help.chm" "$work/opened" || fail "F1 opened nothing"
[[ "$(cat "$work/opened")" == "file://$folder/Help.chm" ]] || fail "F1 opened '$(cat "$work/opened")'"

step "the About window opens from the help menu and closes on a click"
focus "$main"
menu_keys alt+h a
wait_for 10 about_shown || fail "no 310x220 About window appeared"
click_in 20 20
wait_for 10 about_closed || fail "a click on the About picture left it open"

step "the view menu hides and shows the category bar"
# A point of the category bar, below its icons; with the bar hidden the title list lies there.
win=$main
measure
bar_x=$((X + 3 + 27)) bar_y=$((Y + 57 + 300))
focus "$main"
menu_keys alt+v s
wait_for 10 pixel_is "$bar_x" "$bar_y" ffffff || fail "the category bar is still shown"
menu_keys alt+v s
wait_for 10 not_pixel "$bar_x" "$bar_y" ffffff || fail "the category bar did not come back"

step "the clipboard monitor follows copies while hidden and puts an older one back"
offer_clipboard "第一条 one"
offer_clipboard "第二条 two"
offer_clipboard "第三条 three"
focus "$main"
keys ctrl+p
expect_window "监视剪贴板" 208 360
((X == 0 && Y == screen_height - 409)) ||
    fail "the monitor is at $X,$Y, not at the left edge 409 pixels above the screen's bottom"
press_slot 3
wait_for 10 clipboard_is "第一条 one" || fail "设置为当前 of slot 3 gave '$(clipboard_text)'"
press_slot 1
wait_for 10 clipboard_empty || fail "清空剪贴板 left '$(clipboard_text)' on the clipboard"

step "the picture album and back by short-cuts"
# The album's first picture is the preview's once the preview layout is chosen from the grid's
# pop-up menu (模式 → 预览); its red then shows at the top left of the picture area.
focus "$main"
keys ctrl+g
menu_keys Menu m p
win=$main
measure
picture_x=$((X + 3 + 54 + 180 + 6 + 10))
picture_y=$((Y + 57 + 26 + 19 + 10))
wait_for 10 pixel_is "$picture_x" "$picture_y" ff0000 ||
    fail "the preview shows #$(pixel "$picture_x" "$picture_y"), not the red picture"
focus "$main"
keys ctrl+t
wait_for 10 not_pixel "$picture_x" "$picture_y" ff0000 || fail "Ctrl+T left the album shown"

step "compaction fails while a copy file is left behind"
: >"$folder/Data/current1.mdb"
focus "$main"
menu_keys alt+f r
expect_message stop "压缩数据库失败！请重新启动软件！"
wait_program_end
((program_status == 0)) || fail "the program ended with status $program_status"
[[ "$(store_contents)" == "$contents_before" ]] || fail "the failed compaction changed the store"
rm "$folder/Data/current1.mdb"

step "the settings file is written at the close"
[[ "$(tr -d '\r' <"$folder/quillo.ini" | head -n1)" == "[Font]" ]] ||
    fail "quillo.ini holds '$(cat "$folder/quillo.ini" 2>&1)'"

step "restart and compact the store"
start_program
expect_window "墨舟札记" 640 478
main=$win
focus "$main"
menu_keys alt+f r
expect_message information "压缩数据库成功！请重新启动软件！"
wait_program_end
((program_status == 0)) || fail "the program ended with status $program_status"
[[ ! -e "$folder/Data/current1.mdb" ]] || fail "the copy current1.mdb is left in Data"
[[ "$(store_contents)" == "$contents_before" ]] || fail "the compacted store differs: $(store_contents)"
[[ "$(sql "pragma integrity_check")" == ok ]] || fail "the compacted store is damaged"

step "restart on the compacted store"
start_program
expect_window "墨舟札记" 640 478
main=$win
focus "$main"
menu_keys Menu l
wait_window "读取《日记》"
reading_text_is $'今天天气很好。\n第二行' || fail "the reading window shows '$(clipboard_text)'"

echo "PASS"
