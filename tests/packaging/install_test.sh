#!/usr/bin/env bash
# `cmake --install` into a fresh prefix, and the installed launcher from the outside: the files
# of an installation, the desktop entry and its icons, the per-user program folder made on first
# start around the real program, and later starts that keep the store and the user's files.
# Usage: install_test.sh CMAKE BUILD_FOLDER with-help|without-help
# Exits 77 (skipped) only when desktop-file-validate or sqlite3 is not installed.
set -euo pipefail
cmake_command=$1
build=$2
help_state=$3

for tool in desktop-file-validate sqlite3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
program_pid=
cleanup() {
    [[ -z $program_pid ]] || kill "$program_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/../support/checks.sh"

prefix=$work/prefix
"$cmake_command" --install "$build" --prefix "$prefix" >"$work/install.log"

# --- The installed files ------------------------------------------------------------------
launcher=$prefix/bin/mozhou
store_tool=$prefix/bin/mozhou-store
program=$prefix/libexec/mozhou/mozhou
shared=$prefix/share/mozhou
for file in "$launcher" "$store_tool" "$program"; do
    check "${file#"$prefix"/} is an executable file" test -f "$file" -a -x "$file"
done

same_themes() {  # FOLDER: holds exactly the build's theme pictures, byte for byte
    local built=("$build"/Themes/*.bmp) picture
    [[ ${#built[@]} -gt 0 && -e ${built[0]} ]] || return 1
    [[ $(find "$1" -maxdepth 1 -name '*.bmp' | wc -l) -eq ${#built[@]} ]] || return 1
    for picture in "${built[@]}"; do
        cmp -s "$picture" "$1/${picture##*/}" || return 1
    done
}
check "the shared folder holds the theme pictures" same_themes "$shared/Themes"
if [[ $help_state == with-help ]]; then
    check "the shared folder holds the help file" cmp -s "$build/Help.chm" "$shared/Help.chm"
fi

# --- The launcher's own options ----------------------------------------------------------
check "mozhou --help names the program folder and the manual pages" \
    bash -c '"$1" --help | grep -q "local/share}/mozhou" && "$1" --help | grep -q "mozhou(1)"' _ "$launcher"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
check "mozhou --version prints the project's version" test "$("$launcher" --version)" = "mozhou $version"

# --- The desktop entry and its icon -------------------------------------------------------
entry=$prefix/share/applications/mozhou.desktop
entry_value() { sed -n "s/^$1=//p" "$entry"; }
check "the desktop entry passes desktop-file-validate without a remark" \
    test -z "$(desktop-file-validate "$entry" 2>&1)"
check "the desktop entry names 墨舟札记 and an English name" \
    test "$(entry_value Name)" = 墨舟札记 -a -n "$(entry_value 'Name\[en\]')"
check "the desktop entry has a Chinese and an English comment" \
    test -n "$(entry_value Comment)" -a -n "$(entry_value 'Comment\[en\]')"
check "the desktop entry starts the installed launcher" test -x "$prefix/bin/$(entry_value Exec)"
check "the desktop entry is in the Office category" test "$(entry_value Categories)" = "Office;"

png_size() {  # FILE: "WIDTHxHEIGHT" from a PNG file's header, nothing for another file
    local bytes
    [[ $(head -c 8 "$1" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || return 0
    read -ra bytes < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(( (bytes[0] << 24) + (bytes[1] << 16) + (bytes[2] << 8) + bytes[3] ))x$((
        (bytes[4] << 24) + (bytes[5] << 16) + (bytes[6] << 8) + bytes[7] ))"
}
icon=$(entry_value Icon)
for size in 16 22 24 32 48 64 128 256; do
    file=$prefix/share/icons/hicolor/${size}x$size/apps/$icon.png
    check "the $size-pixel icon is a ${size}x$size PNG picture" \
        test "$([[ -f $file ]] && png_size "$file")" = "${size}x$size"
done

# --- First start: the real program in a new program folder --------------------------------
# A folder name with a space and Chinese characters; a private runtime folder, so the program
# does not meet a running copy of this user.
export XDG_DATA_HOME="$work/数据 目录" TMPDIR=$work/run XDG_RUNTIME_DIR=$work/run HOME=$work/home
mkdir -p "$TMPDIR" "$HOME"
chmod 700 "$TMPDIR"
folder=$XDG_DATA_HOME/mozhou
QT_QPA_PLATFORM=offscreen MOZHOU_SKIP_SPLASH_WAIT=1 "$launcher" >"$work/program.log" 2>&1 &
program_pid=$!
listening() { compgen -G "$TMPDIR/mozhou-*" >/dev/null; }
for _ in $(seq 300); do
    listening && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
check "the installed program runs from its launcher" listening
check "the program runs in the program folder" \
    test "$(readlink -f "/proc/$program_pid/cwd" 2>/dev/null)" = "$(readlink -f "$folder")"
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=

for sub in Data Temp Themes; do
    check "the first start made $sub/" test -d "$folder/$sub"
done
check "the first start copied the theme pictures" same_themes "$folder/Themes"
check "the first start made an empty store that passes the store tool's check" \
    "$store_tool" check "$folder/Data/current.mdb"
if [[ $help_state == with-help ]]; then
    check "the first start linked the installed help file" \
        test "$(readlink -f "$folder/Help.chm")" = "$(readlink -f "$shared/Help.chm")"
fi

# --- Later starts: a stand-in program that reports where and how it was started -----------
cat >"$program" <<'STANDIN'
#!/bin/sh
pwd >"$STANDIN_REPORT"
echo "$#" >>"$STANDIN_REPORT"
STANDIN
export STANDIN_REPORT=$work/report
started_in() {  # FOLDER: the stand-in ran there, with no arguments
    [[ -f $STANDIN_REPORT ]] && [[ $(sed -n 1p "$STANDIN_REPORT") == "$(readlink -f "$1")" ]] &&
        [[ $(sed -n 2p "$STANDIN_REPORT") == 0 ]]
}

# The user's own things: entries in the store, a changed and an own theme picture, a lost
# one, a settings file and a file in Temp.
sqlite3 "$folder/Data/current.mdb" "insert into 文本 values ('日记', 0, '今天天气很好。');"
cp "$folder/Data/current.mdb" "$work/store-before"
echo "my own picture" >"$folder/Themes/Left.bmp"
echo "another picture" >"$folder/Themes/Mine.bmp"
rm "$folder/Themes/Top.bmp"
printf '[Font]\r\nFontName=宋体\r\nFontSize=12\r\n' >"$folder/quillo.ini"
cp "$folder/quillo.ini" "$work/settings-before"
echo "note" >"$folder/Temp/note.txt"

rm -f "$STANDIN_REPORT"
"$launcher" >"$work/launcher.log" 2>&1 extra arguments
check "a later start runs the program in the folder without arguments" started_in "$folder"
check "a later start keeps the store byte for byte" cmp -s "$work/store-before" "$folder/Data/current.mdb"
check "a later start keeps a changed theme picture" \
    test "$(cat "$folder/Themes/Left.bmp")" = "my own picture"
check "a later start keeps the user's own theme picture" \
    test "$(cat "$folder/Themes/Mine.bmp")" = "another picture"
check "a later start puts back a missing theme picture" cmp -s "$shared/Themes/Top.bmp" "$folder/Themes/Top.bmp"
check "a later start keeps the settings file" cmp -s "$work/settings-before" "$folder/quillo.ini"
check "a later start keeps the files in Temp" test "$(cat "$folder/Temp/note.txt")" = note
check "a later start leaves no temporary files behind" \
    test "$(find "$folder" -name '*.??????' | wc -l)" -eq 0

# A store that is a link to a missing place (a disk not mounted) is not made anew.
mv "$folder/Data/current.mdb" "$work/store-elsewhere"
ln -s "$work/unmounted/current.mdb" "$folder/Data/current.mdb"
rm -f "$STANDIN_REPORT"
"$launcher" >"$work/launcher.log" 2>&1
check "a dangling store link is left alone and the program still starts" \
    test -L "$folder/Data/current.mdb" -a ! -e "$work/unmounted" -a -f "$STANDIN_REPORT"
rm "$folder/Data/current.mdb"
mv "$work/store-elsewhere" "$folder/Data/current.mdb"

if [[ $help_state == with-help ]]; then
    rm "$folder/Help.chm"
    ln -s /gone/share/mozhou/Help.chm "$folder/Help.chm"
    "$launcher" >"$work/launcher.log" 2>&1
    check "a help link of an earlier installation is renewed" \
        test "$(readlink -f "$folder/Help.chm")" = "$(readlink -f "$shared/Help.chm")"
    rm "$folder/Help.chm"
    echo "my help" >"$folder/Help.chm"
    "$launcher" >"$work/launcher.log" 2>&1
    check "a help file of the user's own is kept" test "$(cat "$folder/Help.chm")" = "my help"
fi

# Started through a link of the user's own, the launcher still finds the installation.
mkdir -p "$work/bin"
ln -s "$launcher" "$work/bin/mozhou"
rm -f "$STANDIN_REPORT"
"$work/bin/mozhou" >"$work/launcher.log" 2>&1
check "a start through a link finds the installation" started_in "$folder"

# A relative XDG_DATA_HOME is ignored in favour of ~/.local/share.
rm -f "$STANDIN_REPORT"
(cd "$work" && XDG_DATA_HOME=relative "$launcher" >"$work/launcher.log" 2>&1)
check "a relative XDG_DATA_HOME means ~/.local/share" started_in "$HOME/.local/share/mozhou"
check "the folder of the relative XDG_DATA_HOME is not made" test ! -e "$work/relative"
check "the store under ~/.local/share is a store" "$store_tool" check "$HOME/.local/share/mozhou/Data/current.mdb"

# Neither XDG_DATA_HOME nor HOME: no guessing at a folder.
status=0
env -u XDG_DATA_HOME -u HOME "$launcher" >"$work/launcher.log" 2>&1 || status=$?
check "without XDG_DATA_HOME and HOME the launcher stops with an error" \
    test "$status" -ne 0 -a "$(wc -l <"$work/launcher.log")" -eq 1

# A file where the program folder belongs: one message, the file kept, no program.
blocked=$work/blocked
mkdir -p "$blocked"
echo "not a folder" >"$blocked/mozhou"
rm -f "$STANDIN_REPORT"
status=0
XDG_DATA_HOME=$blocked "$launcher" >"$work/launcher.log" 2>&1 || status=$?
check "a file in the folder's place stops the launcher with an error" test "$status" -ne 0
check "the error names the folder" grep -q "cannot make the program folder $blocked/mozhou" "$work/launcher.log"
check "the file in the folder's place is kept" test "$(cat "$blocked/mozhou")" = "not a folder"
check "the program is not started without its folder" test ! -e "$STANDIN_REPORT"

if ((failures > 0)); then
    echo "--- program output:" >&2
    cat "$work/program.log" >&2
    exit 1
fi
echo "all checks pass"
