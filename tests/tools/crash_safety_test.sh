#!/usr/bin/env bash
# Kills the store tool's import and export with SIGKILL at seeded random moments. After every kill
# the store passes the engine's integrity check and holds exactly the old or exactly the new book,
# and the exchange file being written is either byte for byte the old one or a whole new export.
#   crash_safety_test.sh TOOL [SEED]
set -u
tool=$1
RANDOM=${2:-20240611}
kills=32
# Memory-backed storage where there is some: a kill tests the same, and flushes cost nothing.
dir=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A book as an exchange file: stamp, then entries of GB18030 lines (中 is D6 D0).
make_book() {  # name entries lines-per-entry
    awk -v name="$1" -v entries="$2" -v lines="$3" 'BEGIN {
        printf "2008-03-15 10:05:09\r\n"
        for (e = 0; e < entries; e++) {
            printf "~0~1~%s \326\320 %05d\r\n", name, e
            for (l = 0; l < lines; l++) printf "%s line %d of %d \326\320\326\320\326\320\r\n", name, l, e
        }
    }' > "$dir/$1.mz"
}
body() { tail -c +20 "$1"; }  # everything after the 19-byte stamp

make_book old 150 5
make_book new 200 4
store="$dir/current.mdb"
"$tool" create "$store" >/dev/null || { echo "FAIL: create"; exit 1; }
"$tool" import "$store" "$dir/old.mz" >/dev/null || { echo "FAIL: first import"; exit 1; }
"$tool" export "$store" "$dir/ref-old.mz" >/dev/null
"$tool" import "$store" "$dir/new.mz" >/dev/null
"$tool" export "$store" "$dir/ref-new.mz" >/dev/null
cmp -s <(body "$dir/ref-old.mz") <(body "$dir/ref-new.mz") && fail "the two books export alike"
current=new
"$tool" export "$store" "$dir/target.mz" >/dev/null
cp "$dir/target.mz" "$dir/target-before.mz"

# The time one import takes bounds the random moments, so that kills land before, during and after.
start=$(date +%s%N)
"$tool" import "$store" "$dir/new.mz" >/dev/null
span_ms=$(( ($(date +%s%N) - start) / 1000000 + 5 ))

for ((i = 0; i < kills; i++)); do
    if ((RANDOM % 2)); then
        action=import
        [[ $current == old ]] && next=new || next=old
        "$tool" import "$store" "$dir/$next.mz" >/dev/null 2>&1 &
    else
        action=export
        "$tool" export "$store" "$dir/target.mz" >/dev/null 2>&1 &
    fi
    pid=$!
    delay_ms=$((RANDOM % span_ms))
    sleep "$(printf '0.%03d' "$delay_ms")"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null

    if ! out=$("$tool" check "$store" 2>&1); then
        fail "kill $i ($action after $delay_ms ms): integrity check: $out"
        continue
    fi
    "$tool" export "$store" "$dir/probe.mz" >/dev/null || { fail "kill $i: probe export"; continue; }
    if cmp -s <(body "$dir/probe.mz") <(body "$dir/ref-old.mz"); then
        current=old
    elif cmp -s <(body "$dir/probe.mz") <(body "$dir/ref-new.mz"); then
        current=new
    else
        fail "kill $i ($action after $delay_ms ms): the book is neither the old nor the new one"
    fi
    if [[ $action == export ]]; then
        if cmp -s "$dir/target.mz" "$dir/target-before.mz"; then
            :
        elif [[ $(head -c 19 "$dir/target.mz" | wc -c) -eq 19 ]] \
            && cmp -s <(body "$dir/target.mz") <(body "$dir/ref-$current.mz"); then
            cp "$dir/target.mz" "$dir/target-before.mz"
        else
            fail "kill $i (export after $delay_ms ms): the exchange file is neither old nor whole"
        fi
    fi
done

# The next export that completes replaces the file and clears what killed exports left behind.
"$tool" export "$store" "$dir/target.mz" >/dev/null || fail "final export"
leftovers=$(find "$dir" -name '.target.mz.*' | wc -l)
[[ $leftovers -eq 0 ]] || fail "$leftovers temporary files left beside the exchange file"

if [[ $failures -eq 0 ]]; then echo "$kills kills, 0 failed"; else echo "$failures of $kills kills failed"; exit 1; fi
