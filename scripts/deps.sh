#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing needs, and only those that
# are missing: a machine that has them all is left alone.
#   deps.sh build   compiler, Qt, SQLite, libjpeg, fonts, GoogleTest (every build has the tests)
#   deps.sh test    the above, the sqlite3 shell, the X tools of the desktop tests, and the
#                   Debian tools that check the desktop entry and the package
#   deps.sh package the build set and dpkg-shlibdeps, which the Debian package's dependencies
#                   are derived with
#   deps.sh bench   the build set and the references the benchmarks measure against (the
#                   sqlite3 shell, djpeg, Xvfb for the start-up benchmark, time for peak memory)
#   deps.sh fuzz    the build set, and clang with its sanitizer and libFuzzer runtimes
set -euo pipefail

BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libsqlite3-dev
    libjpeg62-turbo-dev libicu-dev fonts-noto-cjk fonts-hanazono fonts-dejavu-core fp-utils
    qt6-translations-l10n googletest libgtest-dev)
TEST_PACKAGES=(sqlite3 xvfb xauth xdotool xclip imagemagick
    desktop-file-utils dpkg-dev)
PACKAGE_PACKAGES=(dpkg-dev)
BENCH_PACKAGES=(sqlite3 libjpeg-turbo-progs xvfb time)
FUZZ_PACKAGES=(clang libclang-rt-dev)

wanted=("${BUILD_PACKAGES[@]}")
if [[ "${1:-build}" == test ]]; then
    wanted+=("${TEST_PACKAGES[@]}")
elif [[ "${1:-build}" == package ]]; then
    wanted+=("${PACKAGE_PACKAGES[@]}")
elif [[ "${1:-build}" == bench ]]; then
    wanted+=("${BENCH_PACKAGES[@]}")
elif [[ "${1:-build}" == fuzz ]]; then
    wanted+=("${FUZZ_PACKAGES[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
