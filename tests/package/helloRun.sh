#!/usr/bin/env bash
# Runs the example application that package.outOfTreeApp built against the
# installed package, on a real X display with a window manager (run it
# through tests/tools/xsession.sh --wm): the square follows the real pointer,
# the rest of the window is the default black, Esc ends it with status 0 and
# nothing is written to standard error.
#
#   helloRun.sh <hello executable> <work dir>
set -euo pipefail

exe=$1 work=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../tools/demoSession.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tools/demoSession.sh"
[[ -x "$exe" ]] || fail "no executable $exe (package.outOfTreeApp builds it)"
rm -rf "$work"
mkdir -p "$work"

"$exe" extra arguments >"$work/stdout" 2>"$work/stderr" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

win=$(timeout 10 xdotool search --sync --onlyvisible --name '^zru$' | awk 'NR == 1') || fail "no window titled zru"

# The red, green and blue bytes of one pixel of a binary PPM with maxval 255.
pixel() { # <file> <x> <y>
    local magic w h max
    read -r magic w h max < <(head -n 3 "$1" | tr '\n' ' '; echo)
    [[ "$magic" == P6 && "$max" == 255 ]] || fail "$1 is not an 8-bit binary PPM"
    local header=$(( ${#magic} + ${#w} + ${#h} + ${#max} + 4 ))
    od -An -tu1 -j $((header + 3 * ($3 * w + $2))) -N3 "$1"
}

ok=0
for _ in $(seq 20); do
    xdotool mousemove --window "$win" 300 200
    sleep 0.3
    import -window "$win" -depth 8 "ppm:$work/shot.ppm"
    read -r r g b < <(pixel "$work/shot.ppm" 300 200)
    read -r fr fg fb < <(pixel "$work/shot.ppm" 600 500)
    # Under the pointer: a colour of brightness 1, so its largest component
    # is full; far from it: the black of an untouched frame.
    max=$((r > g ? r : g)); max=$((max > b ? max : b))
    if ((max >= 253 && fr + fg + fb == 0)); then
        ok=1
        break
    fi
done
((ok)) || fail "under the pointer ($r, $g, $b), elsewhere ($fr, $fg, $fb)"

xdotool key Escape
demo_pid=$pid
wait_exit 2 || fail "still running two seconds after Esc"
trap - EXIT
[[ "$demo_status" == 0 ]] || fail "exit status $demo_status after Esc"
[[ ! -s "$work/stderr" ]] || { cat "$work/stderr" >&2; fail "standard error is not empty"; }
echo "the installed example runs"
