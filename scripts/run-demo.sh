#!/usr/bin/env bash
# Installs the Debian packages that are missing, builds the demo in build/
# (Release) and runs it.
#
#   scripts/run-demo.sh
#
# With a reachable X display the demo simply runs there (Esc ends it, F1
# switches between full screen and a window). With none, it runs for a few
# seconds on a virtual display (Xvfb with openbox), a screenshot is saved as
# out/petalDemo.png, and Esc, pressed through xdotool, ends it; the script
# fails unless the demo then ends with status 0.
# ZRU_BUILD_DIR names another build directory.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ZRU_BUILD_DIR:-$root/build}

"$root/scripts/ensure-packages.sh" build display

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)" --target petalDemo
exe="$build/petalDemo/petalDemo"

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
    exec "$exe"
fi

echo "run-demo.sh: no display reachable; running the demo on a virtual display"
"$root/scripts/ensure-packages.sh" headless
mkdir -p "$root/out"
"$root/tests/tools/xsession.sh" --wm --size 1024x768 -- \
    "$root/scripts/demo-screenshot.sh" "$exe" "$root/out/petalDemo.png"
