#!/usr/bin/env bash
# Full-text search as a user works it: lines written by another tool are found after the start,
# Ctrl+F opens the search, typing lists the matches, Enter opens the reading window at the line
# with the match selected, Escape closes each window again.
# Usage: fulltext_test.sh PROGRAM STORE_TOOL THEMES_TOOL
# Exits 77 (skipped) only when a tool of the desktop tests is not installed.
set -euo pipefail
source "$(dirname "$0")/driver.sh"

start_display
make_program_folder

step "entries written by the sqlite3 shell are indexed at the start"
sql "insert into 文本 values('Zeta', 0, 'nothing here'), ('阿里', 0, '第一行'), ('阿里', 1, '第二行'),
     ('阿里', 2, '会议定在下午三点'), ('阿里', 3, '第四行')"
start_program
expect_window "墨舟札记" 640 478
main=$win
expect_sql "select count(*) from 全文待办" 0

step "Ctrl+F opens the search; typing lists the match"
focus "$main"
keys ctrl+f
expect_window "全文搜索" 600 420
search=$win
focus
type_text "下午"
sleep 1  # the search starts when typing pauses

step "Enter opens the reading window at the line with the match selected"
keys Return
expect_window "读取《阿里》" 536 360
focus
keys ctrl+c
wait_for 5 clipboard_is "下午" || fail "the selection is '$(clipboard_text)', not the match"

step "Escape closes the reading window, then the search"
keys Escape
wait_gone "读取《阿里》"
focus "$search"
keys Escape
wait_gone "全文搜索"
is_child "$program_pid" || fail "the program ended"

echo "PASS"
