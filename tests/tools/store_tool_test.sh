#!/usr/bin/env bash
# The store tool from the outside: create refuses existing files and makes a store whole or not
# at all, check reports counts or names the damage.
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$tool" create "$dir/new.mdb" >/dev/null || fail "create of a new store"
out=$("$tool" check "$dir/new.mdb") || fail "check of a new store"
grep -q $'^文本\t0 行$' <<<"$out" || fail "check lists 文本: $out"
grep -q $'^图片\t0 行$' <<<"$out" || fail "check lists 图片: $out"

echo "keep me" > "$dir/existing.mdb"
if err=$("$tool" create "$dir/existing.mdb" 2>&1); then fail "create over an existing file"; fi
grep -q "文件已存在" <<<"$err" || fail "message for an existing file: $err"
[[ $(cat "$dir/existing.mdb") == "keep me" ]] || fail "existing file was changed"

if err=$("$tool" check "$dir/existing.mdb" 2>&1); then fail "check of a file that is no store"; fi
grep -q "不是本程序的数据文件：这不是数据库文件" <<<"$err" || fail "message for no store: $err"
: > "$dir/empty.mdb"
if err=$("$tool" check "$dir/empty.mdb" 2>&1); then fail "check of an empty file"; fi
grep -q "不是本程序的数据文件：文件是空的" <<<"$err" || fail "message for an empty file: $err"
sqlite3 "$dir/foreign.mdb" "create table t(x)"
if err=$("$tool" check "$dir/foreign.mdb" 2>&1); then fail "check of another program's database"; fi
grep -q "不是本程序的数据文件：其中没有“文本”表" <<<"$err" || fail "message for a foreign database: $err"

# A store whose 文本 lacks its columns is named as damaged; a store of a newer version is refused
# by every command, unchanged.
sqlite3 "$dir/thin.mdb" "create table 文本(标题 TEXT); create table 图片(图片名称, 图片描述, Isbmp, Myimage, 备注)"
if err=$("$tool" check "$dir/thin.mdb" 2>&1); then fail "check passed a 文本 without its columns"; fi
grep -q "“文本”表缺少第 2 列“行数”" <<<"$err" || fail "message for missing columns: $err"
"$tool" create "$dir/newer.mdb" >/dev/null || fail "create of a store to make newer"
sqlite3 "$dir/newer.mdb" "pragma user_version=2"
newer=$(md5sum < "$dir/newer.mdb")
printf '2008-03-15 10:05:09\r\n~0~1~t\r\nx\r\n' > "$dir/one.mz"
for command in "check $dir/newer.mdb" "export $dir/newer.mdb $dir/out.mz" "import $dir/newer.mdb $dir/one.mz"; do
    # shellcheck disable=SC2086
    if err=$("$tool" $command 2>&1); then fail "$command on a newer store"; fi
    grep -q "较新版本" <<<"$err" || fail "message of $command for a newer store: $err"
done
[[ $(md5sum < "$dir/newer.mdb") == "$newer" ]] || fail "a newer store was changed"
[[ -e "$dir/out.mz" ]] && fail "export of a newer store wrote a file"
[[ $(sqlite3 "$dir/new.mdb" "pragma application_id; pragma user_version") == $'1297762906\n1' ]] \
    || fail "create does not mark the store with its version"
if err=$("$tool" check "$dir/missing.mdb" 2>&1); then fail "check of a missing file"; fi
[[ -e "$dir/missing.mdb" ]] && fail "check created a missing store"
if "$tool" frobnicate x >/dev/null 2>&1; then fail "unknown command accepted"; fi
out=$("$tool" --help 2>&1) || fail "--help ends with an error"
for command in create check export import; do
    grep -q "^  $command " <<<"$out" || fail "--help does not explain $command: $out"
done
[[ $("$tool" --version 2>&1) =~ ^mozhou-store\ [0-9]+\.[0-9]+$ ]] || fail "--version: $("$tool" --version 2>&1)"
if "$tool" --help extra >/dev/null 2>&1; then fail "--help with an extra argument accepted"; fi

# What a killed create left behind neither blocks the next create nor survives it.
dead_pid=$(sh -c 'echo $$')
echo "half" > "$dir/.made.mdb.$dead_pid.0.tmp"
echo "half" > "$dir/.made.mdb.$dead_pid.0.tmp-journal"
"$tool" create "$dir/made.mdb" >/dev/null || fail "create beside a killed create's leftovers"
"$tool" check "$dir/made.mdb" >/dev/null || fail "check of a store made beside leftovers"
[[ -e "$dir/.made.mdb.$dead_pid.0.tmp" || -e "$dir/.made.mdb.$dead_pid.0.tmp-journal" ]] \
    && fail "a killed create's leftovers stayed"
if err=$("$tool" create "$dir/missing/new.mdb" 2>&1); then fail "create in a missing folder"; fi
grep -q "No such file or directory" <<<"$err" || fail "message for a missing folder: $err"
ln -s "$dir/nowhere.mdb" "$dir/dangling.mdb"
if "$tool" create "$dir/dangling.mdb" >/dev/null 2>&1; then fail "create through a dangling link"; fi
[[ -e "$dir/nowhere.mdb" ]] && fail "create wrote where a dangling link leads"

# A damaged page: the integrity check names it and check fails.
{
    printf '2008-03-15 10:05:09\r\n'
    for ((e = 0; e < 200; e++)); do
        printf '~0~1~entry %d\r\n' "$e"
        for ((l = 0; l < 5; l++)); do printf 'line %d of entry %d with some words\r\n' "$l" "$e"; done
    done
} > "$dir/book.mz"
"$tool" import "$dir/new.mdb" "$dir/book.mz" >/dev/null || fail "import of a book"
pages=$(( $(stat -c %s "$dir/new.mdb") / 4096 ))
head -c 4096 /dev/zero | tr '\0' '\377' | dd of="$dir/new.mdb" bs=4096 seek=$((pages / 2)) count=1 conv=notrunc 2>/dev/null
if err=$("$tool" check "$dir/new.mdb" 2>&1); then fail "check passed a damaged store: $err"; fi
grep -q "已损坏" <<<"$err" || fail "message for a damaged store: $err"

if [[ $failures -eq 0 ]]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; exit 1; fi
