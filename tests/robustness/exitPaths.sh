#!/usr/bin/env bash
# Esc ends the demo with status 0 within a second, every time: <runs> runs in
# a row, each started afresh, shown presenting frames, then sent Esc. Nothing
# may be written to stderr.
#
#   exitPaths.sh <petalDemo> <runs>      (on a display with a window manager)
set -uo pipefail
exe=$1
runs=${2:-20}
here=$(dirname "$0")
# shellcheck source=../tools/demoSession.sh
source "$here/../tools/demoSession.sh"
work=$(mktemp -d)
trap 'stop_demo; rm -rf "$work"' EXIT

failures=0
slowest=0
for run in $(seq "$runs"); do
    if ! start_demo "$work/err" "$exe"; then
        echo "FAIL run $run: no active window"; failures=$((failures + 1)); stop_demo; continue
    fi
    # Presenting frames before Esc: the window's pixels change.
    first=$(window_checksum)
    sleep 0.3
    if [[ "$first" == unreadable || "$(window_checksum)" == "$first" ]]; then
        echo "FAIL run $run: no new frame within 0.3 s"; failures=$((failures + 1))
    fi
    client_area
    xdotool mousemove $(( area_x + area_w / 2 )) $(( area_y + area_h / 2 ))
    sent=$(now_ns)
    xdotool key Escape
    if ! wait_exit 5; then
        echo "FAIL run $run: still running 5 s after Esc"; failures=$((failures + 1)); stop_demo; continue
    fi
    took=$(( ($(now_ns) - sent) / 1000000 ))
    (( took > slowest )) && slowest=$took
    if [[ $demo_status -ne 0 ]]; then
        echo "FAIL run $run: status $demo_status"; failures=$((failures + 1))
    fi
    if (( took > 1000 )); then
        echo "FAIL run $run: ended ${took} ms after Esc"; failures=$((failures + 1))
    fi
    if [[ -s "$work/err" ]]; then
        echo "FAIL run $run: wrote to stderr:"; cat "$work/err"; failures=$((failures + 1))
    fi
    echo "run $run: status $demo_status, ended ${took} ms after Esc"
done
echo "slowest exit: ${slowest} ms after Esc over $runs runs"
exit $((failures > 0))
