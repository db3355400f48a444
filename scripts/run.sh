#!/usr/bin/env bash
# Builds 墨舟札记 and starts it in a ready program folder (default ./program, or $MOZHOU_HOME):
# the store Data/current.mdb is created there when absent, with the Temp and Themes folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" build
"$root/scripts/build.sh" --target mozhou mozhou-store mozhou-themes

folder=${MOZHOU_HOME:-$root/program}
mkdir -p "$folder/Data" "$folder/Temp" "$folder/Themes"
[[ -e "$folder/Data/current.mdb" ]] || "$root/build/tools/mozhou-store" create "$folder/Data/current.mdb"
"$root/build/tools/themes/mozhou-themes" "$folder/Themes"
if "$root/scripts/build.sh" --target mozhou-help >/dev/null 2>&1; then
    cp "$root/build/Help.chm" "$folder/Help.chm"
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "mozhou: no display to show the window on (DISPLAY is not set); run it from a desktop session or under Xvfb." >&2
    exit 1
fi
cd "$folder"
exec "$root/build/src/app/mozhou"
