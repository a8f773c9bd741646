#!/usr/bin/env bash
# The no-display path of scripts/run-demo.sh: on a virtual display with a
# window manager, scripts/demo-screenshot.sh runs the real demo, saves a PNG
# of its full-screen window, ends the demo with Esc and succeeds only if the
# demo ended with status 0.
#
#   demoScreenshotTest.sh <petalDemo executable> <work dir>   (through xsession.sh --wm)
set -euo pipefail

exe=$1 work=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
png="$work/petalDemo.png"

fail() { echo "FAIL: $*" >&2; exit 1; }

"$root/scripts/demo-screenshot.sh" "$exe" "$png" 1 >"$work/out" 2>"$work/err" \
    || { cat "$work/out" "$work/err" >&2; fail "demo-screenshot.sh failed"; }
[[ ! -s "$work/err" ]] || { cat "$work/err" >&2; fail "demo-screenshot.sh wrote to standard error"; }
grep -qxF "Screenshot of the running demo: $png" "$work/out" || fail "it does not say where the screenshot is"

read -r screen_w screen_h < <(xdotool getdisplaygeometry)
[[ "$(identify -format '%m %w %h' "$png")" == "PNG $screen_w $screen_h" ]] \
    || fail "the screenshot is not a ${screen_w}x${screen_h} PNG: $(identify "$png")"
# Not an empty (all black) picture: the petals show.
[[ "$(convert "$png" -format '%[fx:maxima > 0]' info:)" == 1 ]] || fail "the screenshot is all black"
echo "ok: $png"
