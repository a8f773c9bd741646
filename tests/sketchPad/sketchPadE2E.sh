#!/usr/bin/env bash
# End-to-end test of the sketch pad on a real X display with a window manager
# (run it through tests/tools/xsession.sh --wm). The real pointer, moved by
# xdotool through XTEST, paints strokes; screenshots of the window must show
# each stroke where the pointer went, in the colour that zruColorHsb gives
# its hue, on plain paper everywhere else. The colour key changes the colour
# of the next stroke only. After F1 the window is smaller and the pointer
# still paints under itself. Esc ends the program with status 0, and nothing
# is written to standard error.
#
#   sketchPadE2E.sh <sketchPad executable> <sketchPixels checker> <work dir>
set -euo pipefail

app=$1 checker=$2 work=$3
rm -rf "$work"
mkdir -p "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../tools/demoSession.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tools/demoSession.sh"

"$app" >"$work/stdout" 2>"$work/stderr" &
pid=$!
cleanup() { kill "$pid" 2>/dev/null || true; }
trap cleanup EXIT

win=$(timeout 10 xdotool search --sync --onlyvisible --name '^zru$' | awk 'NR == 1') || fail "no window titled zru"

# Waits until the window's client area has the given size.
wait_size() { # <width> <height>
    for _ in $(seq 100); do
        eval "$(xdotool getwindowgeometry --shell "$win")"
        [[ "$WIDTH" == "$1" && "$HEIGHT" == "$2" ]] && return 0
        sleep 0.05
    done
    fail "the window is ${WIDTH}x${HEIGHT}, expected $1x$2"
}

read -r screen_w screen_h < <(xdotool getdisplaygeometry)
wait_size "$screen_w" "$screen_h"
sleep 0.5

# Presses a key as a user would: the pointer over the window first, since
# the keyboard focus follows the pointer.
press() { # <key>
    xdotool mousemove --window "$win" 5 5
    sleep 0.1
    xdotool key "$1"
    sleep 0.2
}

# Drags with the left button along a polyline of window coordinates, in
# steps of a few pixels, as a hand would.
drag() { # x0 y0 x1 y1 ...
    local -a p=("$@")
    xdotool mousemove --window "$win" "${p[0]}" "${p[1]}"
    sleep 0.1
    xdotool mousedown 1
    sleep 0.05
    local i k steps x y
    for ((i = 2; i < ${#p[@]}; i += 2)); do
        local ax=${p[i - 2]} ay=${p[i - 1]} bx=${p[i]} by=${p[i + 1]}
        local dx=$((bx - ax)) dy=$((by - ay))
        dx=${dx#-} dy=${dy#-}
        steps=$(((dx > dy ? dx : dy) / 8))
        ((steps < 1)) && steps=1
        for ((k = 1; k <= steps; k++)); do
            x=$((ax + (bx - ax) * k / steps))
            y=$((ay + (by - ay) * k / steps))
            xdotool mousemove --window "$win" "$x" "$y"
            sleep 0.01
        done
    done
    sleep 0.05
    xdotool mouseup 1
    sleep 0.1
}

# Takes screenshots of the window until the checker accepts one, for up to
# about three seconds (a loaded machine may not have drawn the last events
# yet); shows the checker's report of the last one when none passes.
expect_picture() { # <name> <what it shows> [checker arguments...]
    local name=$1 what=$2
    shift 2
    for _ in $(seq 10); do
        sleep 0.3
        import -window "$win" -depth 8 "ppm:$work/$name.ppm" || fail "screenshot $name"
        if "$checker" "$work/$name.ppm" "$@" >"$work/$name.log" 2>&1; then
            cat "$work/$name.log"
            return 0
        fi
    done
    cat "$work/$name.log" >&2
    fail "$what"
}

# A fresh pad is plain paper.
expect_picture blank "the fresh pad is not plain paper"

# First stroke: a zigzag in the upper left quarter, at the first hue. Its
# mirror image in the lower half must stay paper.
s1=(100 120 300 200 160 320 420 330)
drag "${s1[@]}"
expect_picture first "the first stroke is not where the pointer went" 0 "${s1[@]}"

# The colour key, then a second stroke that crosses the first one.
press c
s2=(250 110 250 420 600 420)
drag "${s2[@]}"
expect_picture second "the second stroke or the colour key" 0 "${s1[@]}" -- 1 "${s2[@]}"

# Two more presses, a third stroke.
press c
press c
s3=(700 600 900 650)
drag "${s3[@]}"
expect_picture third "the third stroke" 0 "${s1[@]}" -- 1 "${s2[@]}" -- 3 "${s3[@]}"

# F1: an ordinary window, 70 x 90 pixels smaller. The strokes keep their
# pixel coordinates from the lower-left corner, so in the smaller window
# they sit 90 pixels higher; a new stroke is painted under the pointer.
press F1
wait_size $((screen_w - 70)) $((screen_h - 90))
sleep 0.3
up() { # shifts the y of x y pairs by -90
    local -a out=() p=("$@")
    for ((i = 0; i < ${#p[@]}; i += 2)); do out+=("${p[i]}" "$((p[i + 1] - 90))"); done
    echo "${out[@]}"
}
s4=(500 150 800 250)
drag "${s4[@]}"
# shellcheck disable=SC2046
expect_picture windowed "strokes in the window after F1" \
    0 $(up "${s1[@]}") -- 1 $(up "${s2[@]}") -- 3 $(up "${s3[@]}") -- 3 "${s4[@]}"

# Esc: status 0 within two seconds.
press Escape
demo_pid=$pid
wait_exit 2 || fail "still running two seconds after Esc"
trap - EXIT
[[ "$demo_status" == 0 ]] || fail "exit status $demo_status after Esc"
[[ ! -s "$work/stderr" ]] || { cat "$work/stderr" >&2; fail "standard error is not empty"; }
echo "sketch pad end-to-end test passed"
