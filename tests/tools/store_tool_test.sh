#!/usr/bin/env bash
# The store tool from the outside: create refuses existing files, check reports counts or errors.
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$tool" create "$dir/new.mdb" >/dev/null || fail "create of a new store"
out=$("$tool" check "$dir/new.mdb") || fail "check of a new store"
grep -q $'^文本\t0 rows$' <<<"$out" || fail "check lists 文本: $out"
grep -q $'^图片\t0 rows$' <<<"$out" || fail "check lists 图片: $out"

echo "keep me" > "$dir/existing.mdb"
if err=$("$tool" create "$dir/existing.mdb" 2>&1); then fail "create over an existing file"; fi
grep -q "文件已存在" <<<"$err" || fail "message for an existing file: $err"
[[ $(cat "$dir/existing.mdb") == "keep me" ]] || fail "existing file was changed"

if err=$("$tool" check "$dir/existing.mdb" 2>&1); then fail "check of a file that is no store"; fi
grep -q "file is not a database" <<<"$err" || fail "message for no store: $err"
if err=$("$tool" check "$dir/missing.mdb" 2>&1); then fail "check of a missing file"; fi
[[ -e "$dir/missing.mdb" ]] && fail "check created a missing store"
if "$tool" frobnicate x >/dev/null 2>&1; then fail "unknown command accepted"; fi

if [[ $failures -eq 0 ]]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; exit 1; fi
