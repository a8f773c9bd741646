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

# Up to 10 s for the window to show and fill the screen.
window=""
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
full="IsViewable ${screen_w}x${screen_h}+0+0"
shown=""
for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || { echo "demo-screenshot.sh: the demo ended before its window showed" >&2; exit 1; }
    window=${window:-$(xdotool search --name '^zru$' 2>/dev/null | head -n 1 || true)}
    if [[ -n "$window" ]]; then
        shown=$(xwininfo -id "$window" 2>/dev/null | awk -F': *' '
            /Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
            /Width/ {w = $2} /Height/ {h = $2} /Map State/ {m = $2}
            END {printf "%s %sx%s+%s+%s", m, w, h, x, y}')
        [[ "$shown" == "$full" ]] && break
    fi
    sleep 0.05
done
[[ -n "$window" ]] || { echo "demo-screenshot.sh: no window titled 'zru' appeared" >&2; exit 1; }
[[ "$shown" == "$full" ]] || { echo "demo-screenshot.sh: the window does not fill the screen: $shown" >&2; exit 1; }

sleep "$seconds"
# A window the window manager is still busy with cannot be read for a moment.
for attempt in 1 2 3; do
    import -window "$window" "$png" && break
    [[ $attempt -lt 3 ]] || { echo "demo-screenshot.sh: no screenshot could be taken" >&2; exit 1; }
    sleep 1
done
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
