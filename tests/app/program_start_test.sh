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

# Waits up to 30 s for a copy's listening name to appear.
wait_for_listener() {
    for _ in $(seq 300); do
        for name in "$dir"/tmp/mozhou-*; do [[ -S $name ]] && return 0; done
        sleep 0.1
    done
    return 1
}

# Waits up to 30 s for the lock to be held by process $1.
wait_for_lock_of() {
    for _ in $(seq 300); do
        for lock in "$dir"/tmp/mozhou-*.lock; do
            [[ -f $lock && $(head -n 1 "$lock") == "$1" ]] && return 0
        done
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

timeout 20 "$program" >/dev/null 2>&1
status=$?
[[ $status -eq 0 ]] || fail "second start ended with $status"
kill -0 "$first" 2>/dev/null || fail "first copy did not survive the second start"

kill -9 "$first"
wait "$first" 2>/dev/null
compgen -G "$dir/tmp/mozhou-*" >/dev/null || fail "killed copy left no name behind (test setup)"
"$program" >/dev/null 2>&1 &
pids+=($!)
third=$!
wait_for_lock_of "$third" || fail "start after a killed copy did not take over"
wait_for_listener || fail "start after a killed copy never listened"
kill -0 "$third" 2>/dev/null || fail "start after a killed copy did not keep running"
timeout 20 "$program" >/dev/null 2>&1 || fail "start while the new copy runs did not end"
kill -0 "$third" 2>/dev/null || fail "the new copy did not survive a later start"

if [[ $failures -eq 0 ]]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; exit 1; fi
