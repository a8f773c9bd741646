#!/usr/bin/env bash
# Runs a command on a private virtual X display (Xvfb), optionally with the
# openbox window manager, and returns the command's exit status.
#
#   xsession.sh [--wm] [--size WIDTHxHEIGHT] -- command [args...]
#
# The display number is picked by Xvfb itself (-displayfd), so several
# sessions can run side by side.
set -euo pipefail

wm=0
size=1024x768
while [[ $# -gt 0 ]]; do
    case "$1" in
        --wm) wm=1; shift ;;
        --size) size="$2"; shift 2 ;;
        --) shift; break ;;
        *) echo "xsession.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
[[ $# -gt 0 ]] || { echo "xsession.sh: no command given" >&2; exit 2; }

tmp=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

mkfifo "$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$tmp/displayfd" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 20 display <"$tmp/displayfd" || { echo "xsession.sh: Xvfb did not start" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display"

if [[ $wm -eq 1 ]]; then
    # Without a font cache (just after the fonts were installed, say) openbox
    # builds one at start, after it has announced itself and before it maps
    # any window; windows then stay unmapped for many seconds. Building the
    # cache first takes a fraction of a second, and nothing once it is there.
    if command -v fc-cache >/dev/null 2>&1; then
        fc-cache >/dev/null 2>&1 || true
    fi
    openbox >"$tmp/openbox.log" 2>&1 &
    wm_pid=$!
    # Ready once the window manager has announced itself on the root window.
    wm_ready=0
    for _ in $(seq 200); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            wm_ready=1
            break
        fi
        kill -0 "$wm_pid" 2>/dev/null || break
        sleep 0.05
    done
    if [[ $wm_ready -ne 1 ]]; then
        echo "xsession.sh: openbox did not start" >&2
        cat "$tmp/openbox.log" >&2
        exit 1
    fi
fi

set +e
"$@"
status=$?
set -e
exit $status
