#!/usr/bin/env bash
# Configures (once) and builds the project in ./build. Extra arguments are passed to cmake --build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" "$@"
