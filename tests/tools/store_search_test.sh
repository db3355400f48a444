#!/usr/bin/env bash
# mozhou-store search: one match per line (title, tab, line number, tab, line) in title order,
# with tabs, line breaks and backslashes escaped; exit 0 with matches, 1 with none, 2 on a usage
# error or a store that cannot be searched; rows written by the sqlite3 shell count. Then check
# and reindex on an index out of step.
# Usage: store_search_test.sh STORE_TOOL
set -euo pipefail
tool=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
store="$work/current.mdb"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tool" create "$store" >/dev/null
sqlite3 "$store" "insert into 文本 values('张三', 0, '会议 Hello'), ('张三', 1, '50% done'),
                  ('Abc', 0, 'say HELLO'), ('Abc', 1, 'tab	inside')"

out=$("$tool" search "$store" hello) || fail "a search with matches exited $?"
[[ "$out" == $'Abc\t0\tsay HELLO\n张三\t0\t会议 Hello' ]] || fail "hello gave: $out"
out=$("$tool" search "$store" '%') || fail "% exited $?"
[[ "$out" == $'张三\t1\t50% done' ]] || fail "% gave: $out"
out=$("$tool" search "$store" 会) || fail "one Chinese character exited $?"
[[ "$out" == $'张三\t0\t会议 Hello' ]] || fail "会 gave: $out"

# A tab, a line break or a backslash in a title or a line would split or shift the fields.
sqlite3 "$store" "insert into 文本 values('制表	符\', 0, 'a	tab' || char(10) || 'and C:\dir' || char(13))"
out=$("$tool" search "$store" 'tab') || fail "tab exited $?"
[[ "$out" == $'Abc\t1\ttab\\tinside\n制表\\t符\\\\\t0\ta\\ttab\\nand C:\\\\dir\\r' ]] \
    || fail "escaping gave: $out"

status=0
out=$("$tool" search "$store" nowhere) || status=$?
((status == 1)) && [[ -z "$out" ]] || fail "no match exited $status with '$out'"
for args in "search $store" "search"; do
    status=0
    "$tool" $args >/dev/null 2>&1 || status=$?
    ((status == 2)) || fail "'$args' exited $status, not 2"
done
status=0
"$tool" search "$store" "" >/dev/null 2>&1 || status=$?
((status == 2)) || fail "an empty text exited $status, not 2"
# A store that cannot be read is a failure, never "no match".
echo "not a store" > "$work/plain.txt"
status=0
"$tool" search "$work/plain.txt" hello >/dev/null 2>&1 || status=$?
((status == 2)) || fail "a file that is no store exited $status, not 2"
status=0
"$tool" search "$work/missing.mdb" hello >/dev/null 2>&1 || status=$?
((status == 2)) || fail "a missing store exited $status, not 2"

# check names an index out of step with the rows and the command that mends it; reindex does.
"$tool" check "$store" >/dev/null || fail "check of a sound store exited $?"
sqlite3 "$store" "drop trigger 全文记增; delete from 全文待办"
status=0
err=$("$tool" check "$store" 2>&1 >/dev/null) || status=$?
((status == 1)) && [[ "$err" == *全文记增* && "$err" == *"reindex $store"* ]] \
    || fail "check of a broken index exited $status with: $err"
"$tool" reindex "$store" >/dev/null || fail "reindex exited $?"
"$tool" check "$store" >/dev/null || fail "check after reindex exited $?"
out=$("$tool" search "$store" 'inside') || fail "a search after reindex exited $?"
[[ "$out" == $'Abc\t1\ttab\\tinside' ]] || fail "a search after reindex gave: $out"
echo PASS
