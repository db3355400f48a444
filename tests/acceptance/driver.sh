# Shared by the acceptance scripts: they drive the real program on an X display of their own,
# with the keyboard first and the mouse only where no key reaches a control, and check what the
# user sees (window captions and sizes, message texts, pixels) and what lands on disk.
# Each script sources it with its own arguments, PROGRAM STORE_TOOL THEMES_TOOL; it sources the
# desktop session script.
#
# Every message the program shows reaches its log as one line (MOZHOU_ECHO_MESSAGES), which is
# how the scripts read message texts. A failure names the step that was running.

required_tools=(Xvfb xdotool xclip xprop sqlite3 import convert identify iconv)
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"

program=$(realpath "$1")
store_tool=$(realpath "$2")
themes_tool=$(realpath "$3")
screen_width=1024
screen_height=768
folder="$work/program"
store="$folder/Data/current.mdb"
home="$work/home"
log="$work/program.log"
program_pid=

# Windows whose size is known to differ until the re-layout of the older dialogs is merged, as
# CAPTION:WIDTHxHEIGHT with the size they should have: a mismatch of these is printed as pending
# instead of failing. A window that already has its size says so, so that it can be taken off
# the list.
pending_sizes=(${PENDING_SIZES-})

# A command that fails outside a check ends the test too: name it.
set -E
trap 'fail "the command \"$BASH_COMMAND\" failed"' ERR

# TRACE=1 traces every command with the seconds since the start.
[[ -n "${TRACE:-}" ]] && { PS4='+ $SECONDS '; set -x; }

current_step="setting up"
step() {  # NAME: the step that the following checks belong to
    current_step=$1
    echo "== $current_step ($SECONDS s)"
}

fail() {
    echo "FAIL in step '$current_step': $*" >&2
    if [[ -s "$log" ]]; then
        echo "--- program output:" >&2
        tail -n 40 "$log" >&2
    fi
    if [[ -n "${SHOTS_DIR:-}" && -n "${DISPLAY:-}" ]]; then
        mkdir -p "$SHOTS_DIR"
        local name
        name=failure-$(basename "$0" .sh)
        import -window root "$SHOTS_DIR/$name.png" 2>/dev/null || true
        cp "$store" "$SHOTS_DIR/$name.mdb" 2>/dev/null || true
        for id in $(program_windows); do
            echo "$id $(xdotool getwindowname "$id" 2>/dev/null) $(xdotool getwindowgeometry "$id" 2>/dev/null | tr '\n' ' ')"
        done >"$SHOTS_DIR/$name.windows"
        xdotool getwindowfocus >>"$SHOTS_DIR/$name.windows" 2>&1 || true
    fi
    exit 1
}

# ---- the program folder and the program ------------------------------------------------------

# A program folder as the run script makes one: an empty store, Temp and Themes.
make_program_folder() {
    mkdir -p "$folder/Data" "$folder/Temp" "$folder/Themes" "$home" "$work/runtime"
    chmod 700 "$work/runtime"
    "$store_tool" create "$store" >/dev/null || fail "the store tool could not create the store"
    XDG_RUNTIME_DIR="$work/runtime" "$themes_tool" "$folder/Themes" >/dev/null ||
        fail "the theme pictures could not be written"
}

# Runs a command (in a subshell, which it replaces) in the program's environment: a user name,
# run-time folder and home folder of this run alone, so that copies of other tests are not taken
# for a running copy; a stand-in for the desktop's opener (xdg-open) that notes what the
# program hands to it in $work/opened; and a stand-in for its MIME tool (xdg-mime) whose default
# applications are the lines "TYPE ENTRY" of $work/viewers (none at first).
program_env() {
    if [[ ! -x "$work/bin/xdg-open" ]]; then
        mkdir -p "$work/bin"
        printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
        printf '#!/bin/sh\n[ "$1 $2" = "query default" ] || exit 1\nawk -v type="$3" '"'"'$1 == type { print $2 }'"'"' "%s/viewers" 2>/dev/null\n' \
            "$work" >"$work/bin/xdg-mime"
        chmod +x "$work/bin/xdg-open" "$work/bin/xdg-mime"
    fi
    exec env PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb MOZHOU_SKIP_SPLASH_WAIT=1 MOZHOU_ECHO_MESSAGES=1 \
        USER="mozhou-acceptance-$$" HOME="$home" TMPDIR="$work/runtime" XDG_RUNTIME_DIR="$work/runtime" \
        LANG=C.UTF-8 "$@"
}

start_program() {
    (cd "$folder" && program_env "$program") >>"$log" 2>&1 &
    program_pid=$!
    background+=("$program_pid")
    wait_for 30 has_window "墨舟札记" || fail "the main window did not appear"
    is_child "$program_pid" || fail "the program ended at start"
}

# Waits for the program to end by itself; gives its exit status in $program_status.
wait_program_end() {
    wait_for 30 program_ended || fail "the program did not end"
    program_status=0
    wait "$program_pid" || program_status=$?
}
program_ended() { ! is_child "$program_pid"; }

# ---- windows -----------------------------------------------------------------------------------

find_window() {  # CAPTION: the id of the shown window with exactly that caption, or nothing
    window_ids "$1" | tail -n1
}
has_window() { [[ -n "$(find_window "$1")" ]]; }
no_window() { [[ -z "$(find_window "$1")" ]]; }

# wait_window CAPTION: waits for the window and sets $win, $X, $Y, $WIDTH and $HEIGHT.
wait_window() {
    wait_for 15 has_window "$1" || fail "no window '$1' appeared"
    win=$(find_window "$1")
    measure
}
measure() {  # the geometry of $win
    eval "$(xdotool getwindowgeometry --shell "$win")"
}
wait_gone() {  # CAPTION
    wait_for 15 no_window "$1" || fail "the window '$1' stayed open"
}

# expect_window CAPTION WIDTH HEIGHT: the window appears with that outer size.
expect_window() {
    wait_window "$1"
    local want="${2}x$3" seen="${WIDTH}x$HEIGHT" pending=false name
    for name in "${pending_sizes[@]}"; do
        [[ "$name" == "$1:$want" ]] && pending=true
    done
    if [[ "$seen" == "$want" ]]; then
        $pending && echo "note: '$1' now has its size $want; take it off the pending list"
        return 0
    fi
    $pending && { echo "PENDING re-layout: '$1' is $seen, not $want"; return 0; }
    fail "the window '$1' is $seen, not $want"
}

# Keyboard focus: without a window manager a window takes the keyboard only when told to.
focus() {  # [WINDOW]: $win by default
    wait_for 10 take_focus "${1:-$win}" || fail "window ${1:-$win} does not take the keyboard focus"
}
take_focus() {
    xdotool windowfocus "$1" 2>/dev/null
    [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]]
}
keys() {  # KEY...: into the window that has the focus
    xdotool key --clearmodifiers --delay 40 "$@"
}
# type_text TEXT: ASCII text is typed key by key. Other text is pasted as an input method would
# put it in: xdotool's typing of characters missing from the keyboard map remaps a key for each
# one, and the program may read a key under its previous meaning.
type_text() {
    if [[ "$1" =~ ^[\ -~]*$ ]]; then
        xdotool type --clearmodifiers --delay 30 -- "$1"
        return
    fi
    offer_clipboard "$1"
    keys ctrl+v
}

# offer_clipboard TEXT: another program takes the clipboard with the text; returns once the
# program has read it. The clipboard monitor reads every new content as it comes, so by then the
# program has also handled every key and click sent before: offer_clipboard is a way to wait
# until it is done with them.
offers=0
offer_clipboard() {
    offers=$((offers + 1))
    local file="$work/offer$offers"
    printf '%s' "$1" >"$file.txt"
    xclip -selection clipboard -verbose -i "$file.txt" 2>"$file.log" &
    background+=($!)
    wait_for 15 grep -qs "request number 2" "$file.log" || fail "the program did not read the clipboard ('$1')"
}
settle() { offer_clipboard "settle $offers"; }

# click_at X Y [BUTTON]: a click at a screen point. (xdotool's own wait for the pointer to move
# waits long when the pointer is there already.)
click_at() {
    xdotool mousemove "$1" "$2" || fail "could not move the pointer"
    wait_for 5 pointer_at "$1" "$2" || fail "the pointer did not reach $1,$2"
    xdotool click "${3:-1}" || fail "could not click"
}
pointer_at() {
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    ((X == $1 && Y == $2))
}

# Menus: the key (or click) that opens a menu, then the access keys of its items. Each key but
# the last opens a menu, and the next key waits until that menu is shown; after the last key
# the menus are waited out, so that the next menu is told apart even when it is the same one.
# The About window has no caption: it is the program's window of its size.
about_window() {
    local id X Y WIDTH HEIGHT SCREEN WINDOW
    for id in $(program_windows); do
        WIDTH=0 HEIGHT=0
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null || true)"
        ((WIDTH == 310 && HEIGHT == 220)) && { echo "$id"; return 0; }
    done
    return 0
}
about_shown() {
    win=$(about_window)
    [[ -n "$win" ]] && measure
}
about_closed() { [[ -z "$(about_window)" ]]; }
program_windows() { { xdotool search --onlyvisible --class '^mozhou$' 2>/dev/null || true; } | sort; }
menu_keys() {  # OPENING-KEY ACCESS-KEY...
    local opening=$1
    shift
    open_menu keys "$opening"
    while (($# > 1)); do
        open_menu keys "$1"
        shift
    done
    keys "$1"
    wait_for 10 menus_closed || fail "the menus stayed open after the key '$1'"
}
# open_menu COMMAND...: runs the command and waits for the menu it opens.
menus=""
open_menu() {
    local before
    before=$(program_windows)
    "$@"
    wait_for 10 menu_shown "$before" || fail "no menu opened after '$*'"
}
menu_shown() {  # KNOWN-WINDOWS
    local new
    new=$(comm -13 <(echo "$1") <(program_windows))
    [[ -n "$new" ]] && menus+=$'\n'"$new"
}
menus_closed() {
    local id
    for id in $menus; do
        program_windows | grep -qx "$id" && return 1
    done
    menus=""
}

# A point inside the window $win relative to its top left corner.
click_in() {  # DX DY [BUTTON]
    click_at $((X + $1)) $((Y + $2)) "${3:-1}"
}

# The reading window $win: its editor's whole text, as the user would copy it out after a click
# into it (the window opens with the focus on its first button).
reading_text_is() {  # TEXT
    measure
    click_in 250 250
    keys ctrl+a ctrl+c
    wait_for 5 clipboard_is "$1"
}

# ---- messages ----------------------------------------------------------------------------------

messages_seen=0
message_count() { grep -c '^mozhou message: ' "$log" || true; }
new_message() { (($(message_count) > messages_seen)); }

# expect_message KIND TEXT: the next message the program shows is the skinned "提示" window with
# that icon kind and text, of the message window's size; Enter answers it.
expect_message() {
    wait_for 15 new_message || fail "no message appeared (expected '$2')"
    messages_seen=$((messages_seen + 1))
    local line
    line=$(grep '^mozhou message: ' "$log" | sed -n "${messages_seen}p")
    [[ "$line" == "mozhou message: 提示 [$1] $2" ]] ||
        fail "the message was '${line#mozhou message: }', not '提示 [$1] $2'"
    expect_window "提示" 336 169
    focus
    keys Return
    wait_gone "提示"
}

# No message was shown since the last one checked.
expect_no_message() {
    new_message && fail "an unexpected message: $(grep '^mozhou message: ' "$log" | tail -n1)"
    return 0
}

# ---- file dialogs ------------------------------------------------------------------------------

# choose_file CAPTION PATH OPENER...: runs the opener (a command that opens the toolkit's file
# dialog of that caption, which may be the caption of the window that opens it too), types the
# path into the dialog's file name field and accepts it.
choose_file() {
    local caption=$1 path=$2 before
    shift 2
    before=$(window_ids "$caption")
    "$@"
    wait_for 15 new_window_of "$caption" "$before" || fail "no file dialog '$caption' appeared"
    local chooser=$new_window
    focus "$chooser"
    keys ctrl+a BackSpace
    type_text "$path"
    keys Return
    wait_for 15 window_hidden "$chooser" || fail "the file dialog '$caption' stayed open"
    # The window that opened the dialog goes on with the chosen file before it takes more keys.
    settle
}
window_ids() { { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; } | sort; }
new_window_of() {  # CAPTION KNOWN-IDS: sets $new_window to a shown window of that caption not known
    new_window=$(comm -13 <(echo "$2") <(window_ids "$1") | head -n1)
    [[ -n "$new_window" ]]
}
window_hidden() { ! xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"; }

# ---- store, clipboard and screen ---------------------------------------------------------------

sql() {  # STATEMENT: its result from the store, rows on lines, columns split by "|"
    sqlite3 -cmd ".timeout 5000" "$store" "$1" || fail "sqlite3 could not read the store: $1"
}
expect_sql() {  # STATEMENT EXPECTED
    local seen
    seen=$(sql "$1")
    [[ "$seen" == "$2" ]] || fail "the store gives '$seen' for '$1', not '$2'"
}

clipboard_text() { xclip -selection clipboard -o 2>/dev/null; }
clipboard_is() { [[ "$(clipboard_text)" == "$1" ]]; }
clipboard_empty() { [[ -z "$(xclip -selection clipboard -o -t TARGETS 2>/dev/null)" ]]; }
# The size of the picture on the clipboard as WIDTHxHEIGHT, empty when there is none.
clipboard_picture_size() {
    xclip -selection clipboard -o -t image/png 2>/dev/null | identify -format '%wx%h' - 2>/dev/null
}
clipboard_picture_is() { [[ "$(clipboard_picture_size)" == "$1" ]]; }

# The colour at a screen point, as rrggbb.
pixel() {  # X Y
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -n1 |
        sed -E 's/.*#([0-9A-Fa-f]{6}).*/\1/' | tr 'A-F' 'a-f'
}
pixel_is() { [[ "$(pixel "$1" "$2")" == "$3" ]]; }
not_pixel() { ! pixel_is "$@"; }

# Pictures made for the test: an uncompressed 24-bit BMP and a baseline JPEG of one colour.
make_picture() {  # PATH WIDTHxHEIGHT COLOUR
    local format=BMP3
    [[ "$1" == *.jpg || "$1" == *.jpeg ]] && format=JPEG
    convert -size "$2" "xc:$3" "$format:$1" || fail "could not make the picture $1"
}

# GB18030 bytes of a UTF-8 text file.
to_gb18030() {  # IN OUT
    iconv -f UTF-8 -t GB18030 "$1" >"$2" || fail "iconv could not convert $1"
}
