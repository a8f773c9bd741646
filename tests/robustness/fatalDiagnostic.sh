#!/usr/bin/env bash
# A fatal diagnostic ends the process with status -1 (255 as the shell sees
# it), after writing its message and one newline to stderr when the debug
# level lets it, and through the standard exit, which flushes buffered
# output.
#
#   fatalDiagnostic.sh <fatalDiagnostic executable> <xsession.sh>
set -uo pipefail
exe=$1
xsession=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# check <name> <expected stderr> <command...>
check() {
    local name=$1 want_err=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local status=$?
    local got_err
    got_err=$(cat "$work/err"; echo x)
    got_err=${got_err%x}
    if [[ $status -ne 255 ]]; then
        echo "FAIL $name: status $status, expected 255"; failures=$((failures + 1))
    fi
    if [[ "$got_err" != "$want_err" ]]; then
        echo "FAIL $name: stderr was [$(cat "$work/err")], expected [${want_err%$'\n'}]"
        failures=$((failures + 1))
    fi
    if [[ "$(cat "$work/out")" != "pending output" ]]; then
        echo "FAIL $name: stdout was [$(cat "$work/out")], expected the pending line flushed and nothing after it"
        failures=$((failures + 1))
    fi
    echo "ran $name: status $status"
}

check "written at the default level" $'Fatal: 100% of %s gone\n' "$exe" 3 'Fatal: 100% of %s gone'
check "written at level 1" $'at level one\n' "$exe" 1 'at level one'
check "silent at level 0, still fatal" '' "$exe" 0 'not shown'
check "silent at a negative level, still fatal" '' "$exe" -5 'not shown'
check "empty message" $'\n' "$exe" 3 ''
# With the framework open on a real display and window manager.
check "after zruOpen on a display" $'fatal with a window open\n' \
    "$xsession" --wm -- "$exe" --open 3 'fatal with a window open'

[[ $failures -eq 0 ]] && echo "all fatal-diagnostic cases passed"
exit $((failures > 0))
