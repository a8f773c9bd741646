#!/usr/bin/env bash
# Runs the demo on the current X display for a few seconds, saves a PNG
# screenshot of its window, then ends it with Esc as a user would (pointer
# over the window, the key through XTEST) and checks that it ends with
# status 0.
#
#   scripts/demo-screenshot.sh <petalDemo executable> <png> [seconds, default 3]
#
# Used by run-demo.sh on a virtual display; also makes docs/petalDemo.png:
#   tests/tools/xsession.sh --wm -- scripts/demo-screenshot.sh build/petalDemo/petalDemo docs/petalDemo.png
set -euo pipefail

[[ $# -ge 2 ]] || { echo "usage: $0 <executable> <png> [seconds]" >&2; exit 2; }
exe=$1
png=$2
seconds=${3:-3}

"$exe" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 200); do # up to 10 s for the window
    window=$(xdotool search --name '^zru$' 2>/dev/null | head -n 1 || true)
    [[ -n "$window" ]] && break
    kill -0 "$pid" 2>/dev/null || { echo "demo-screenshot.sh: the demo ended before its window appeared" >&2; exit 1; }
    sleep 0.05
done
[[ -n "$window" ]] || { echo "demo-screenshot.sh: no window titled 'zru' appeared" >&2; exit 1; }

sleep "$seconds"
import -window "$window" "$png"
echo "Screenshot of the running demo: $png"

xdotool mousemove --window "$window" 100 100
xdotool key Escape
for _ in $(seq 100); do # up to 5 s to end
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
set +e
wait "$pid"
status=$?
set -e
trap - EXIT
if [[ $status -ne 0 ]]; then
    echo "demo-screenshot.sh: the demo ended with status $status after Esc" >&2
    exit 1
fi
echo "The demo ended with status 0 after Esc."
