# Shell helpers for driving the real demo on the current X display (sourced
# by the end-to-end and robustness scripts; run them through
# tests/tools/xsession.sh --wm).
#
# Keys and buttons go through XTEST (xdotool), as a user's would; the pointer
# stays inside the demo's client area, so nothing lands on the window
# manager's decorations or desktop.

# now_ns: monotonic enough for sub-second intervals.
now_ns() { date +%s%N; }

# start_demo <stderr file> <command...>: starts the demo (or a command that
# runs it); sets demo_pid and demo_wid once its window is mapped and active
# (has the keyboard focus). DEMO_START_TIMEOUT seconds at most (30).
start_demo() {
    local err=$1
    shift
    "$@" >/dev/null 2>"$err" &
    demo_pid=$!
    demo_wid=""
    local deadline=$(( $(now_ns) + ${DEMO_START_TIMEOUT:-30} * 1000000000 ))
    while [[ $(now_ns) -lt $deadline ]]; do
        if ! kill -0 "$demo_pid" 2>/dev/null; then
            echo "the demo ended before its window appeared" >&2
            return 1
        fi
        if [[ -z "$demo_wid" ]]; then
            demo_wid=$(xdotool search --onlyvisible --name '^zru$' 2>/dev/null | head -n 1 || true)
        fi
        if [[ -n "$demo_wid" && "$(xdotool getactivewindow 2>/dev/null || true)" == "$demo_wid" ]]; then
            return 0
        fi
        sleep 0.05
    done
    echo "the demo's window did not become active within ${DEMO_START_TIMEOUT:-30} s" >&2
    return 1
}

# client_area: sets area_x, area_y, area_w, area_h to the demo window's
# client area in root coordinates (xwininfo's absolute position; xdotool's
# own geometry is off by the frame for a reparented window).
client_area() {
    local info
    info=$(xwininfo -id "$demo_wid")
    area_x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    area_y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    area_w=$(awk '/^ *Width:/ {print $2}' <<<"$info")
    area_h=$(awk '/^ *Height:/ {print $2}' <<<"$info")
}

# random_point: sets px, py to a random pixel inside the client area, at
# least 4 pixels from its edges.
random_point() {
    local w=$(( area_w > 8 ? area_w - 8 : 1 )) h=$(( area_h > 8 ? area_h - 8 : 1 ))
    px=$(( area_x + 4 + (RANDOM * 32768 + RANDOM) % w ))
    py=$(( area_y + 4 + (RANDOM * 32768 + RANDOM) % h ))
}

# press_over_demo <xdotool key args...>: moves the pointer over the window
# first, so the key goes to the demo.
press_over_demo() {
    client_area
    xdotool mousemove $(( area_x + area_w / 2 )) $(( area_y + area_h / 2 )) key "$@"
}

# wait_exit <timeout seconds>: waits for the demo to end; sets demo_status
# (or returns 1 on timeout, leaving the demo running).
wait_exit() {
    local deadline=$(( $(now_ns) + $1 * 1000000000 ))
    while kill -0 "$demo_pid" 2>/dev/null; do
        if [[ $(now_ns) -ge $deadline ]]; then
            return 1
        fi
        sleep 0.01
    done
    wait "$demo_pid"
    demo_status=$?
    return 0
}

# stop_demo: ends a demo that is still running (after a failure).
stop_demo() {
    if [[ -n "${demo_pid:-}" ]] && kill -0 "$demo_pid" 2>/dev/null; then
        kill "$demo_pid" 2>/dev/null
        wait "$demo_pid" 2>/dev/null
    fi
}

# window_checksum: a checksum of the demo window's pixels as presented now,
# or "unreadable" when the window cannot be read three times in a row.
window_checksum() {
    local sum
    for _ in 1 2 3; do
        sum=$(import -silent -window "$demo_wid" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1)
        # The checksum of no bytes at all: nothing was read.
        if [[ "$sum" != d41d8cd98f00b204e9800998ecf8427e ]]; then
            echo "$sum"
            return 0
        fi
        sleep 0.1
    done
    echo unreadable
}
