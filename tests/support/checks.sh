# Shared by the shell tests that make many checks and report each: check DESCRIPTION COMMAND...
# runs COMMAND, prints "ok: DESCRIPTION" or "FAIL: DESCRIPTION" and counts the failures in
# $failures, so that one run reports every broken check.
failures=0
check() {
    local description=$1
    shift
    if "$@"; then
        echo "ok: $description"
    else
        echo "FAIL: $description" >&2
        failures=$((failures + 1))
    fi
}
