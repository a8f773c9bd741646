#!/usr/bin/env bash
# A storm of real input: for <seconds> seconds, random keys (never Esc),
# pointer moves, clicks of every button including the wheel, drags, and F1
# every few seconds, all through XTEST and inside the demo's client area.
# Every few seconds the storm pauses for a moment and the window's pixels are
# read twice: the demo must still be presenting new frames. Afterwards Esc
# must end it with status 0, and nothing may have been written to stderr.
#
#   inputStorm.sh <petalDemo> <seconds> [seed]   (on a display with a window manager)
set -uo pipefail
exe=$1
seconds=${2:-30}
seed=${3:-$(( $(date +%s) % 32768 ))}
here=$(dirname "$0")
# shellcheck source=../tools/demoSession.sh
source "$here/../tools/demoSession.sh"
work=$(mktemp -d)
trap 'stop_demo; rm -rf "$work"' EXIT
RANDOM=$seed
echo "input storm of $seconds s, seed $seed"

# Plain keys without modifiers: no window-manager binding uses one, and none
# of them is Esc (nor makes 27 without Ctrl).
keys=(a b c d e f g h i j k l m n o p q r s t u v w x y z 0 1 2 3 4 5 6 7 8 9
      space Return Tab BackSpace Delete Insert Home End Prior Next Left Right Up Down
      F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 comma period slash minus equal semicolon
      apostrophe grave backslash bracketleft bracketright KP_Enter KP_0 KP_5 KP_Add
      shift_l)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

start_demo "$work/err" "$exe" || exit 1
client_area

start=$(now_ns)
end=$(( start + seconds * 1000000000 ))
next_f1=$(( start + 3000000000 ))
next_check=$(( start + 5000000000 ))
actions=0 f1s=0 checks=0
while [[ $(now_ns) -lt $end ]]; do
    if ! kill -0 "$demo_pid" 2>/dev/null; then
        fail "the demo ended during the storm"
        break
    fi
    now=$(now_ns)
    if [[ $now -ge $next_f1 ]]; then
        press_over_demo F1
        f1s=$((f1s + 1))
        # Let the window manager settle the new geometry before aiming at it.
        sleep 0.3
        client_area
        next_f1=$(( now + (2 + RANDOM % 3) * 1000000000 ))
        continue
    fi
    if [[ $now -ge $next_check ]]; then
        a=$(window_checksum)
        sleep 0.4
        b=$(window_checksum)
        checks=$((checks + 1))
        if [[ "$a" == unreadable || "$b" == unreadable ]]; then
            fail "the window could not be read at check $checks"
        elif [[ "$a" == "$b" ]]; then
            fail "no new frame within 0.4 s at check $checks"
        fi
        next_check=$(( $(now_ns) + 5000000000 ))
        continue
    fi
    random_point
    case $(( RANDOM % 6 )) in
        0|1) xdotool mousemove "$px" "$py" key "${keys[RANDOM % ${#keys[@]}]}" ;;
        2) xdotool mousemove "$px" "$py" ;;
        3) xdotool mousemove "$px" "$py" click $(( 1 + RANDOM % 5 )) ;;
        4) button=$(( 1 + RANDOM % 3 ))
           drag=(mousemove "$px" "$py" mousedown "$button")
           for _ in 1 2 3 4; do
               random_point
               drag+=(mousemove "$px" "$py")
           done
           xdotool "${drag[@]}" mouseup "$button" ;;
        5) xdotool mousemove "$px" "$py" mousedown 1 mousemove $(( px + 1 )) "$py" mouseup 1 \
               key "${keys[RANDOM % ${#keys[@]}]}" ;;
    esac
    actions=$((actions + 1))
done
echo "sent $actions actions, $f1s F1 presses; $checks frame checks"
(( checks >= seconds / 6 )) || fail "only $checks frame checks ran"

if kill -0 "$demo_pid" 2>/dev/null; then
    press_over_demo Escape
    if wait_exit 5; then
        [[ $demo_status -eq 0 ]] || fail "Esc ended the demo with status $demo_status"
    else
        fail "still running 5 s after Esc"
    fi
fi
if [[ -s "$work/err" ]]; then
    fail "the demo wrote to stderr:"
    cat "$work/err"
fi
[[ $failures -eq 0 ]] && echo "the demo survived the storm and ended with status 0"
exit $((failures > 0))
