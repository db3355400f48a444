#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing needs, and only those that
# are missing: a machine that has them all is left alone. Run without root rights it goes
# through sudo; where there is no sudo it prints the command for root to run and stops.
set -euo pipefail

usage() {
    cat <<'USAGE'
usage: scripts/deps.sh [GROUP]   installs the Debian packages a GROUP needs (default: build)

  build    compile the program, the store tool and the tests: compiler, CMake, Qt, SQLite,
           libjpeg, ICU, the Chinese fonts, GoogleTest
  test     build, and what the tests run: the sqlite3 shell, Xvfb and the X tools of the desktop
           tests, the help compiler (chmcmd), the Debian tools that check the desktop entry,
           the AppStream file and the package (desktop-file-utils, appstream, lintian), and
           the Wayland session's test: weston, the toolkit's Wayland plugin, wl-clipboard
  package  build, and what the Debian package is made and checked with: the help compiler,
           dpkg-dev (dependencies, hardening flags), appstream and lintian
  bench    build, and the references the benchmarks measure against: the sqlite3 shell, djpeg,
           Xvfb for the start-up benchmark, time for peak memory, ImageMagick for photographs
  fuzz     build, and clang with its sanitizer and libFuzzer runtimes
USAGE
}

BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libsqlite3-dev
    libjpeg62-turbo-dev libicu-dev fonts-noto-cjk fonts-hanazono fonts-dejavu-core
    qt6-translations-l10n googletest libgtest-dev)
# The help compiler comes with the Free Pascal utilities; only the test and package groups
# want Help.chm, the program shows its help without it.
HELP_PACKAGES=(fp-utils)
TEST_PACKAGES=(sqlite3 xvfb xauth xdotool xclip x11-utils openbox imagemagick
    desktop-file-utils dpkg-dev appstream lintian "${HELP_PACKAGES[@]}"
    weston qt6-wayland wl-clipboard)
PACKAGE_PACKAGES=(dpkg-dev appstream lintian "${HELP_PACKAGES[@]}")
BENCH_PACKAGES=(sqlite3 libjpeg-turbo-progs xvfb time imagemagick)
FUZZ_PACKAGES=(clang libclang-rt-dev)

(($# <= 1)) || { usage >&2; exit 2; }
group=${1:-build}
wanted=("${BUILD_PACKAGES[@]}")
case $group in
build) ;;
test) wanted+=("${TEST_PACKAGES[@]}") ;;
package) wanted+=("${PACKAGE_PACKAGES[@]}") ;;
bench) wanted+=("${BENCH_PACKAGES[@]}") ;;
fuzz) wanted+=("${FUZZ_PACKAGES[@]}") ;;
-h | --help) usage; exit 0 ;;
*) echo "deps.sh: unknown group '$group'" >&2; usage >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

install=(apt-get install -y --no-install-recommends "${missing[@]}")
echo "deps.sh $group: installing the missing packages: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
        echo "deps.sh: these packages are missing and there is no sudo to install them with." >&2
        echo "Run this as root, then run the command again:" >&2
        echo "    apt-get update && ${install[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}"
