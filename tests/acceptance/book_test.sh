#!/usr/bin/env bash
# The materials book as a user works it: add entries by typing (with the add dialog's refusals),
# read one, edit and save it, leave it with unsaved edits, search titles, delete, copy a title.
# Usage: book_test.sh PROGRAM STORE_TOOL THEMES_TOOL
# Exits 77 (skipped) only when a tool of the desktop tests is not installed.
set -euo pipefail
source "$(dirname "$0")/driver.sh"

start_display
make_program_folder

# The title list's pop-up menu, opened by the keyboard's menu key, and one of its items by its
# access key: l 读取, i 添加, d 删除, r 刷新, s 搜索标题, c 复制标题.
title_command() {
    focus "$main"
    menu_keys Menu "$1"
}

# The reading window's buttons have no access keys: a click at their place in the window
# (3-pixel border, 29-pixel title bar, the button row's middle at 6 + 12).
reading_button() {  # LEFT WIDTH
    click_in $((3 + $1 + $2 / 2)) $((29 + 6 + 12))
}
save_to_store() { reading_button 136 104; }
save_as_file() { reading_button 248 92; }
close_reading() { reading_button 428 72; }

rows_of() {  # TITLE: the entry's lines in order, one per line
    sql "select 内容 from 文本 where 标题='$1' order by 行数"
}

step "start with an empty store"
start_program
expect_window "墨舟札记" 640 478
main=$win

step "a second start wakes the first copy and ends"
second_status=0
(cd "$folder" && program_env timeout 20 "$program") >>"$log" 2>&1 || second_status=$?
((second_status == 0)) || fail "the second start ended with status $second_status"
is_child "$program_pid" || fail "the first copy ended"
(($(xdotool search --onlyvisible --name '^墨舟札记$' | wc -l) == 1)) ||
    fail "more than one main window is shown"

# Each opening of the add dialog starts empty with the focus in the title field; each refusal
# leaves it open, and 取消(&C) closes it.
cancel_add() {
    win=$(find_window "添加")
    focus
    keys alt+c
    wait_gone "添加"
}

step "add-entry dialog refuses an empty title, then an empty text"
title_command i
expect_window "添加" 438 410
focus
keys alt+o
expect_message warning "请输入资料的标题！"
cancel_add
title_command i
wait_window "添加"
focus
type_text "  读书笔记  "
keys alt+o
expect_message warning "请输入资料的内容！"
cancel_add
[[ "$(sql "select count(*) from 文本")" == 0 ]] || fail "a refused entry was written"

step "add an entry by typing Chinese text"
title_command i
wait_window "添加"
focus
type_text "  读书笔记  "
keys Tab
type_text "第一行：春眠不觉晓"
keys Return
type_text "第二行 second line"
keys alt+o
wait_gone "添加"
expect_no_message
expect_sql "select 行数 || ':' || 内容 from 文本 where 标题='读书笔记' order by 行数" \
    $'0:第一行：春眠不觉晓\n1:第二行 second line'

step "the add dialog opens empty and refuses a title that is stored"
title_command i
expect_window "添加" 438 410
focus
type_text "读书笔记"
keys Tab
type_text "重复"
keys alt+o
expect_message warning "该资料的标题已存在！"
cancel_add
expect_sql "select count(*) from 文本" 2

step "add a second entry"
title_command i
wait_window "添加"
focus
type_text "购物清单"
keys Tab
type_text "牛奶"
keys alt+o
wait_gone "添加"
expect_sql "select count(*) from 文本 where 标题='购物清单'" 1

step "read the entry in the reading window"
# The new entry is selected; the list is in title order, 读书笔记 before 购物清单.
title_command r
title_command l
expect_window "读取《读书笔记》" 536 360
reading=$win
reading_text_is $'第一行：春眠不觉晓\n第二行 second line' || fail "the editor shows '$(clipboard_text)'"

step "edit and save the entry"
# The editor holds each line followed by a line break: the end is the start of a new line.
keys ctrl+End
type_text "第三行 添加"
save_to_store
expect_message information "已成功保存对本篇资料的修改！"
[[ "$(rows_of 读书笔记)" == $'第一行：春眠不觉晓\n第二行 second line\n第三行 添加' ]] ||
    fail "the store holds '$(rows_of 读书笔记)' after the save"

step "write the entry to a text file"
mkdir -p "$work/files"
win=$reading
measure
choose_file "另存为" "$work/files/note" save_as_file
wait_for 10 test -s "$work/files/note.txt" || fail "no note.txt was written ($(ls "$work/files"))"
# The editor's text unchanged: its last line, typed at the end, has no line break after it.
printf '%s\r\n%s\r\n%s' "第一行：春眠不觉晓" "第二行 second line" "第三行 添加" >"$work/files/expected.utf8"
to_gb18030 "$work/files/expected.utf8" "$work/files/expected.txt"
cmp -s "$work/files/note.txt" "$work/files/expected.txt" ||
    fail "note.txt holds '$(iconv -f GB18030 -t UTF-8 "$work/files/note.txt" | od -c | head -n4)'"

step "writing onto an existing text file asks first"
echo "older" >"$work/files/note.txt"
win=$reading
measure
choose_file "另存为" "$work/files/note.txt" save_as_file
expect_window "确认" 320 172
focus
keys Return
wait_gone "确认"
[[ "$(cat "$work/files/note.txt")" == older ]] || fail "answering no replaced the file"
win=$reading
measure
choose_file "另存为" "$work/files/note.txt" save_as_file
wait_window "确认"
focus
keys alt+y
wait_gone "确认"
wait_for 10 cmp -s "$work/files/note.txt" "$work/files/expected.txt" || fail "answering yes did not write the file"

step "closing with unsaved edits asks first; Enter answers no"
win=$reading
measure
click_in 250 250
keys ctrl+End
type_text "不保存"
close_reading
expect_window "保存" 320 172
focus
keys Return
wait_gone "保存"
wait_gone "读取《读书笔记》"
[[ "$(rows_of 读书笔记 | tail -n1)" == "第三行 添加" ]] || fail "answering no saved the edit"

step "closing with unsaved edits and answering yes saves"
title_command l
wait_window "读取《读书笔记》"
click_in 250 250
keys ctrl+End
type_text "要保存"
close_reading
expect_window "保存" 320 172
focus
keys alt+y
expect_message information "已成功保存对本篇资料的修改！"
wait_gone "读取《读书笔记》"
[[ "$(rows_of 读书笔记 | tail -n1)" == "要保存" ]] ||
    fail "answering yes left '$(rows_of 读书笔记 | tail -n1)' as the last line"

step "search titles narrows the list"
title_command s
expect_window "搜索标题" 288 160
focus
type_text "购物"
keys Return
wait_gone "搜索标题"
title_command l
wait_window "读取《购物清单》"
focus
close_reading
wait_gone "读取《购物清单》"

step "delete an entry: Enter answers no, yes deletes its rows"
title_command r
title_command d
expect_window "删除" 320 160
focus
keys Return
wait_gone "删除"
expect_sql "select count(*) from 文本 where 标题='读书笔记'" 4
title_command d
wait_window "删除"
focus
keys alt+y
wait_gone "删除"
expect_no_message
expect_sql "select count(*) from 文本 where 标题='读书笔记'" 0
expect_sql "select 标题 from 文本" "购物清单"

step "copy a title to the clipboard shows the clipboard monitor"
title_command c
wait_for 10 clipboard_is "购物清单" || fail "the clipboard holds '$(clipboard_text)', not the title"
expect_window "监视剪贴板" 208 360
((X == 0 && Y == screen_height - 409)) || fail "the clipboard monitor is at $X,$Y"

echo "PASS"
