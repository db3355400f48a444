#!/usr/bin/env bash
# The Debian package made by `cpack -G DEB`: its control fields (name, version, architecture,
# the libraries and fonts it depends on) and its contents (the installation under /usr, owned
# by root, programs stripped), and that it holds exactly what `cmake --install` installs.
# Usage: package_test.sh CMAKE CPACK BUILD_FOLDER with-help|without-help
# Also the documents a distribution asks for: the copyright file, the Debian changelog and the
# manual pages (compressed without a name or time in them), and the AppStream metainfo.
# Exits 77 (skipped) only when a tool it uses (dpkg-deb, dpkg-shlibdeps, readelf,
# desktop-file-validate, appstreamcli, man) is not installed.
set -euo pipefail
cmake_command=$1
cpack_command=$2
build=$3
help_state=$4

for tool in dpkg-deb dpkg-shlibdeps readelf desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/../support/checks.sh"

"$cpack_command" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack did not make the package" >&2
    exit 1
}
packages=("$work"/out/mozhou_*.deb)
[[ ${#packages[@]} -eq 1 && -f ${packages[0]} ]] || { echo "FAIL: not one mozhou_*.deb: ${packages[*]}" >&2; exit 1; }
package=${packages[0]}

# --- Control fields -------------------------------------------------------------------------
field() { dpkg-deb -f "$package" "$1"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
architecture=$(dpkg --print-architecture)
check "the file is named mozhou_<version>_<architecture>.deb" \
    test "${package##*/}" = "mozhou_$(field Version)_$architecture.deb"
check "the package is called mozhou" test "$(field Package)" = mozhou
check "the version is the project's version $version with a Debian revision" \
    test "${version:-none}-1" = "$(field Version)"
check "the architecture is this machine's" test "$(field Architecture)" = "$architecture"
check "a maintainer is named" test -n "$(field Maintainer)"
check "the description has a summary and a long text" \
    test -n "$(field Description | head -n1)" -a "$(field Description | wc -l)" -gt 2
check "the installed size is given" test "$(field Installed-Size)" -gt 0

depends=$(field Depends)
depends_on() {  # PACKAGE-PATTERN: a dependency on a package whose whole name matches
    tr ',|' '\n\n' <<<"$depends" | sed -E 's/^ *//; s/ .*//' | grep -qxE "$1"
}
for needed in libc6 libstdc\\+\\+6 libqt6core6 libqt6gui6 libqt6widgets6 \
    libsqlite3-0 libjpeg62-turbo 'libicu[0-9]+' fonts-noto-cjk fonts-dejavu-core qt6-translations-l10n; do
    check "the package depends on $needed" depends_on "$needed"
done
check "no dependency on a development package" bash -c '! grep -q -- "-dev\\b" <<<"$1"' _ "$depends"
check "the package suggests a help viewer that reads the help file's encoding" \
    test "$(field Suggests)" = kchmviewer
check "every line of the description fits in 80 columns" \
    test "$(field Description | LC_ALL=C.UTF-8 wc -L)" -le 80

# --- Contents -------------------------------------------------------------------------------
dpkg-deb -c "$package" >"$work/contents"
files() { awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' "$work/contents" | sort; }
has_file() { files | grep -qxF "$1"; }
mode_of() { awk -v path="./$1" '$6 == path { print $1 }' "$work/contents"; }

for program in usr/bin/mozhou usr/bin/mozhou-store usr/libexec/mozhou/mozhou; do
    check "$program is an executable of the package" test "$(mode_of "$program")" = -rwxr-xr-x
done
check "the desktop entry is in the package" has_file usr/share/applications/mozhou.desktop
for size in 16 22 24 32 48 64 128 256; do
    check "the $size-pixel icon is in the package" \
        has_file "usr/share/icons/hicolor/${size}x$size/apps/mozhou.png"
done
check "the theme pictures are in the package" \
    test "$(files | grep -c '^usr/share/mozhou/Themes/.*\.bmp$')" -eq "$(find "$build/Themes" -name '*.bmp' | wc -l)"
if [[ $help_state == with-help ]]; then
    check "the help file is in the package" has_file usr/share/mozhou/Help.chm
fi
check "everything lies under /usr" test "$(files | grep -vc '^usr/')" -eq 0
check "everything belongs to root" test "$(awk '$2 != "root/root"' "$work/contents" | wc -l)" -eq 0

# The package holds what an installation into /usr holds, nothing more or less.
DESTDIR=$work/staged "$cmake_command" --install "$build" --prefix /usr >/dev/null
(cd "$work/staged" && find . ! -type d | sed 's|^\./||' | sort) >"$work/installed"
check "the package holds exactly the installed files" diff <(files) "$work/installed"

mkdir "$work/unpacked"
dpkg-deb -x "$package" "$work/unpacked"
for program in usr/bin/mozhou-store usr/libexec/mozhou/mozhou; do
    check "$program is stripped of debugging information" \
        bash -c '! readelf -S "$1" | grep -q "\.debug_info"' _ "$work/unpacked/$program"
done
check "the packaged desktop entry passes desktop-file-validate" \
    test -z "$(desktop-file-validate "$work/unpacked/usr/share/applications/mozhou.desktop" 2>&1)"

# --- Documents ------------------------------------------------------------------------------
doc=$work/unpacked/usr/share/doc/mozhou
check "the copyright file is machine-readable and names the licence and its holder" \
    bash -c 'head -n1 "$1" | grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" &&
             grep -q "^License: MIT" "$1" && grep -q "^Copyright: .*墨舟工作室" "$1"' _ "$doc/copyright"
# gzip -n: no file name (flag byte 3 without FNAME) and no time (bytes 4 to 7 zero).
reproducible_gzip() {
    [[ $(od -An -tx1 -N8 "$1" | tr -d ' \n') == 1f8b080000000000 ]] || return 1
    gzip -t "$1"
}
check "the Debian changelog is compressed reproducibly" reproducible_gzip "$doc/changelog.Debian.gz"
check "the changelog's latest entry is this version" \
    bash -c 'zcat "$1" | head -n1 | grep -qF "mozhou ($2) "' _ "$doc/changelog.Debian.gz" "$(field Version)"
for page in man/man1/mozhou.1.gz man/man1/mozhou-store.1.gz man/zh_CN/man1/mozhou.1.gz \
    man/zh_CN/man1/mozhou-store.1.gz; do
    check "the manual page $page is compressed reproducibly" \
        reproducible_gzip "$work/unpacked/usr/share/$page"
    check "the manual page $page formats and names its command" \
        bash -c 'out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$1" 2>&1) && grep -q "mozhou" <<<"$out"' _ \
        "$work/unpacked/usr/share/$page"
done
check "the English manual pages format without a warning" \
    test -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
        "$work/unpacked/usr/share/man/man1/"*.gz 2>&1 >/dev/null)"
metainfo=("$work"/unpacked/usr/share/metainfo/*.metainfo.xml)
check "one AppStream metainfo file is in the package" test "${#metainfo[@]}" -eq 1 -a -f "${metainfo[0]}"
check "the metainfo file passes appstreamcli validate" appstreamcli validate --no-net "${metainfo[0]}"
check "the metainfo file's launchable is the packaged desktop entry" \
    grep -q '<launchable type="desktop-id">mozhou.desktop</launchable>' "${metainfo[0]}"

((failures == 0)) || exit 1
echo "all checks pass"
