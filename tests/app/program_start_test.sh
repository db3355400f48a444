#!/usr/bin/env bash
# The program from the outside: one clear line without a display, one running copy per user,
# and a name left by a killed copy that does not block the next start.
set -u
program=$1
store_tool=$2
dir=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done; rm -rf "$dir"; }
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$dir/folder/Data" "$dir/tmp"
"$store_tool" create "$dir/folder/Data/current.mdb" >/dev/null
cd "$dir/folder"
export TMPDIR="$dir/tmp" XDG_RUNTIME_DIR="$dir/tmp"

# Waits up to 15 s for the running copy's listening name to appear.
wait_for_listener() {
    for _ in $(seq 150); do
        compgen -G "$dir/tmp/mozhou-*" >/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# No display: one line, no toolkit dump.
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1)
status=$?
[[ $status -ne 0 ]] || fail "start without a display succeeded"
[[ $(wc -l <<<"$err") -eq 1 && "$err" == *"no display"* ]] || fail "no-display message: $err"

export QT_QPA_PLATFORM=offscreen
"$program" >/dev/null 2>&1 &
pids+=($!)
first=$!
wait_for_listener || fail "first copy never listened"

start=$(date +%s)
timeout 10 "$program" >/dev/null 2>&1
status=$?
[[ $status -eq 0 ]] || fail "second start ended with $status"
(( $(date +%s) - start <= 3 )) || fail "second start took too long"
kill -0 "$first" 2>/dev/null || fail "first copy did not survive the second start"

kill -9 "$first"
wait "$first" 2>/dev/null
compgen -G "$dir/tmp/mozhou-*" >/dev/null || fail "killed copy left no name behind (test setup)"
"$program" >/dev/null 2>&1 &
pids+=($!)
third=$!
sleep 3
kill -0 "$third" 2>/dev/null || fail "start after a killed copy did not keep running"
timeout 10 "$program" >/dev/null 2>&1 || fail "start while the new copy runs did not end at once"

if [[ $failures -eq 0 ]]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; exit 1; fi
