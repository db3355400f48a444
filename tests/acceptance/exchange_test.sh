#!/usr/bin/env bash
# The materials book through the exchange dialogs: export to a file chosen in the save dialog,
# then import a file that replaces the whole book, with each dialog's refusals.
# Usage: exchange_test.sh PROGRAM STORE_TOOL THEMES_TOOL
# Exits 77 (skipped) only when a tool of the desktop tests is not installed.
set -euo pipefail
source "$(dirname "$0")/driver.sh"

start_display
make_program_folder
sql "insert into 文本 values ('会议', 0, '周一'), ('会议', 1, ''), ('购物', 0, '牛奶'),
    ('购物', 1, '面包 bread');"
mkdir -p "$work/files"

# A menu of the main window by its access keys, e.g. file_menu o t for 导出 → 资料本.
file_menu() {
    focus "$main"
    menu_keys alt+f "$@"
}
# The dialogs open with the focus in the path field; Tab reaches "浏览", which has no access
# key. Closing (关闭(&C)) puts the focus back there for the next opening.
browse() {
    focus
    keys Tab space
}
close_dialog() {  # CAPTION
    win=$(find_window "$1")
    focus
    keys alt+c
    wait_gone "$1"
}
# The file's lines as text, GB18030 bytes decoded and CR LF line ends checked.
exchange_lines() {  # FILE
    if grep -qv $'\r$' "$1"; then
        fail "a line of $1 does not end in CR LF"
    fi
    iconv -f GB18030 -t UTF-8 "$1" | tr -d '\r'
}

step "start"
start_program
expect_window "墨舟札记" 640 478
main=$win

step "export refuses to run without a path"
file_menu o t
expect_window "导出资料本" 384 184
focus
keys alt+o
expect_message warning "请选择导出的路径和文件名！"
close_dialog "导出资料本"

step "export the book to a file chosen in the save dialog"
file_menu o t
wait_window "导出资料本"
export_dialog=$win
choose_file "导出资料本" "$work/files/book" browse
focus "$export_dialog"
keys alt+o
wait_for 15 new_message || fail "the export showed no message"
[[ -f "$work/files/book.mz" ]] || fail "no book.mz was written ($(ls "$work/files"))"
stamp=$(exchange_lines "$work/files/book.mz" | head -n1)
[[ "$stamp" =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] ||
    fail "the first line '$stamp' is no time stamp"
expect_message information "$stamp 的资料本数据导出成功！"
# Entries in the title list's Chinese order, 购物 (gou) before 会议 (hui); 会议 ends in an empty
# line, which the file keeps.
[[ "$(exchange_lines "$work/files/book.mz" | tail -n +2; echo end)" == $'~0~1~购物\n牛奶\n面包 bread\n~0~1~会议\n周一\n\nend' ]] ||
    fail "book.mz holds: $(exchange_lines "$work/files/book.mz")"
close_dialog "导出资料本"

step "import refuses to run without a file"
file_menu i t
expect_window "导入资料本" 384 200
focus
keys alt+i
expect_message warning "请选择一个导入的文件！"
close_dialog "导入资料本"

step "import rejects a file that is not an exchange file"
printf '%s\r\n' "not a time stamp" "~0~1~x" >"$work/files/broken.mz"
file_menu i t
wait_window "导入资料本"
import_dialog=$win
choose_file "导入资料本" "$work/files/broken.mz" browse
expect_message stop "选择的文件已损坏或格式不正确！"
win=$import_dialog
focus
keys alt+i
expect_message warning "请选择一个导入的文件！"
expect_sql "select count(*) from 文本" 4
close_dialog "导入资料本"

step "import replaces the whole book"
printf '%s\r\n' "2026-01-02 03:04:05" "~0~1~旅行" "北京" "上海" "~0~1~会议" "周五" >"$work/files/new.utf8"
to_gb18030 "$work/files/new.utf8" "$work/files/new.mz"
file_menu i t
wait_window "导入资料本"
import_dialog=$win
choose_file "导入资料本" "$work/files/new.mz" browse
expect_no_message
focus "$import_dialog"
keys alt+i
expect_message information "2026-01-02 03:04:05 的资料本数据导入成功！"
expect_sql "select 标题 || '|' || 行数 || '|' || 内容 from 文本 order by 标题 collate binary, 行数" \
    $'会议|0|周五\n旅行|0|北京\n旅行|1|上海'
close_dialog "导入资料本"

step "the title list shows the imported book"
# 会议 (hui) comes before 旅行 (lü) in the list's Chinese order; the first item is read.
focus "$main"
menu_keys Menu l
wait_window "读取《会议》"
reading_text_is "周五" || fail "the reading window shows '$(clipboard_text)'"

echo "PASS"
