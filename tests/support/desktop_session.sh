# Shared by the desktop tests that drive the real program on an X display of their own. Source
# it after setting $required_tools; it gives a work folder cleaned on exit, fail, wait_for,
# start_display (Xvfb on a free display number, exported as DISPLAY) and the window look-ups.
# Exits 77 (skipped) when a required tool is not installed.

for tool in "${required_tools[@]}"; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d)
background=()
# Whether PID is a process this shell started that is still there: on a busy machine the number
# of a process that has ended soon belongs to another program, which must not be stopped.
is_child() { [[ "$(ps -o ppid= -p "$1" 2>/dev/null | tr -d ' ')" == "$$" ]]; }
stop() { if is_child "$1"; then kill "$1" 2>/dev/null || true; fi; }
cleanup() {  # the last started first, so that the display goes after its clients
    local index
    for ((index = ${#background[@]} - 1; index >= 0; index--)); do
        stop "${background[index]}"
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [[ -s "$work/program.log" ]]; then
        echo "--- program output:" >&2
        cat "$work/program.log" >&2
    fi
    exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# A display of our own, kept as it is when its last client leaves (-noreset), so that a program
# restarted by a test finds it. Xvfb picks a free number and writes it to descriptor 3; on a shared
# machine DESKTOP_TEST_DISPLAYS may instead name the numbers to take from (e.g. "61 62 63"):
# the first one free is used.
start_display() {
    local number
    for number in ${DESKTOP_TEST_DISPLAYS:-any}; do
        [[ "$number" == any ]] && number="" || number=":$number"
        : >"$work/display"
        # shellcheck disable=SC2086
        Xvfb $number -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
            2>"$work/xvfb.log" &
        local server=$!
        if wait_for 10 display_ready "$server" && [[ -s "$work/display" ]]; then
            background+=("$server")
            export DISPLAY=":$(head -n1 "$work/display")"
            start_window_manager
            return 0
        fi
        stop "$server"
    done
    fail "Xvfb did not start"
}
# DESKTOP_TEST_WINDOW_MANAGER (e.g. openbox) names a window manager to run on the display, so
# that the windows meet a real one: frames, focus, stacking and minimising by the manager.
start_window_manager() {
    local manager=${DESKTOP_TEST_WINDOW_MANAGER:-}
    [[ -n $manager ]] || return 0
    command -v "$manager" >/dev/null || { echo "skipped: $manager is not installed"; exit 77; }
    "$manager" >"$work/window-manager.log" 2>&1 &
    background+=($!)
    wait_for 10 window_manager_running || fail "the window manager $manager did not start"
}
window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
display_ready() {  # SERVER-PID: the display number is written, or the server has ended
    [[ -s "$work/display" ]] || ! is_child "$1"
}
