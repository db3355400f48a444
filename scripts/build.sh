#!/usr/bin/env bash
# Configures (once) and builds the project in ./build. Extra arguments are passed to cmake --build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
launcher=()
# A compiler cache, when the machine has one, lets several checkouts of the tree share objects.
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
fi
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$root/build" "$@"
