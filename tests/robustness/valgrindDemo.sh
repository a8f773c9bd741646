#!/usr/bin/env bash
# valgrind memcheck over the real demo: start-up, a run of <seconds> seconds
# of presented frames with some pointer and key input, F1 there and back,
# and the wind-down after Esc. Any invalid read or write, use of an
# uninitialised value or invalid free outside the suppressions (which cover
# only the GL stack's own reports) fails the run, as does a status other
# than 0 or anything the demo writes to stderr.
#
#   valgrindDemo.sh <petalDemo> <suppressions> <seconds>   (on a display with a window manager)
set -uo pipefail
exe=$1
suppressions=$2
seconds=${3:-5}
if ! command -v valgrind >/dev/null 2>&1; then
    echo "valgrind is not installed (scripts/ensure-packages.sh valgrind): skipped"
    exit 77
fi
here=$(dirname "$0")
# shellcheck source=../tools/demoSession.sh
source "$here/../tools/demoSession.sh"
work=$(mktemp -d)
trap 'stop_demo; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Under valgrind the software GL renders slowly: allow a long start.
DEMO_START_TIMEOUT=240 start_demo "$work/err" \
    valgrind --tool=memcheck --error-exitcode=99 --track-origins=yes --num-callers=40 \
        --suppressions="$suppressions" --gen-suppressions=all --log-file="$work/valgrind.log" \
        "$exe" || { cat "$work/valgrind.log"; exit 1; }

# Frames are presented: the window's pixels change (a frame may take seconds).
first=$(window_checksum)
changed=0
for _ in $(seq 120); do
    sleep 0.5
    now=$(window_checksum)
    if [[ "$first" == unreadable ]]; then
        first=$now
    elif [[ "$now" != unreadable && "$now" != "$first" ]]; then
        changed=1
        break
    fi
done
[[ $changed -eq 1 ]] || fail "no new frame presented within 60 s"

# A few seconds of running with input through every callback.
client_area
end=$(( $(now_ns) + seconds * 1000000000 ))
press_over_demo F1
sleep 1
client_area
while [[ $(now_ns) -lt $end ]]; do
    random_point
    xdotool mousemove "$px" "$py" click 1 mousedown 3 mousemove $(( px + 3 )) $(( py + 2 )) mouseup 3 key a Left
    sleep 0.5
done
press_over_demo F1
sleep 1

press_over_demo Escape
if wait_exit 180; then
    if [[ $demo_status -eq 99 ]]; then
        fail "valgrind reported errors"
    elif [[ $demo_status -ne 0 ]]; then
        fail "the demo ended with status $demo_status"
    fi
else
    fail "still running 180 s after Esc"
fi
grep -E 'ERROR SUMMARY' "$work/valgrind.log"
if [[ $failures -gt 0 ]]; then
    cat "$work/valgrind.log"
fi
if [[ -s "$work/err" ]]; then
    fail "the demo wrote to stderr:"
    cat "$work/err"
fi
[[ $failures -eq 0 ]] && echo "memcheck: no error in the demo's run"
exit $((failures > 0))
