#!/usr/bin/env bash
# Makes docs/petals.gif, the animated picture of the demo in the README, from
# real frames: the framework and the demo module draw into a real window on a
# private Xvfb display (Mesa), with the clock pinned at evenly spaced angles
# over one full turn (tools/petalFrames.cpp), and ImageMagick crops the
# figure, scales it down and puts the frames together in a loop.
#
#   scripts/make-gif.sh [output.gif]      (default: docs/petals.gif)
#
# Settings through the environment: FRAMES (60), WIDTH in pixels (320),
# COLORS (48), DELAY between frames in 1/100 s (10), BUILD_DIR (build-gif).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$root/docs/petals.gif}
frames=${FRAMES:-60}
width=${WIDTH:-320}
colors=${COLORS:-48}
delay=${DELAY:-10}
build=${BUILD_DIR:-$root/build-gif}

"$root/scripts/ensure-packages.sh" build headless

# ImageMagick 6's own convert, by its versioned name where there is one.
convert=$(command -v convert-im6.q16 || command -v convert)

# The render program: the framework and the demo module compiled as they are,
# with a main of its own instead of the launcher.
mkdir -p "$build"
# shellcheck disable=SC2046 # the GL flags are word lists
g++ -std=c++17 -O2 -Wall -Wextra -Wpedantic -Werror -DGLUT_DISABLE_ATEXIT_HACK \
    -I"$root/zru" -I"$root/petalDemo" \
    "$root/tools/petalFrames.cpp" "$root/petalDemo/petalDemo.cpp" \
    "$root"/zru/{main,misc,text,zrApp,zrGeo}.cpp \
    -o "$build/petalFrames" -lglut -lGLU -lGL

rm -rf "$build/frames"
mkdir -p "$build/frames"
screen_w=1024
screen_h=768
timeout 120 "$root/tests/tools/xsession.sh" --size "${screen_w}x${screen_h}" -- \
    "$build/petalFrames" "$build/frames" "$frames"
count=$(find "$build/frames" -name 'frame-*.ppm' | wc -l)
[[ "$count" -eq "$frames" ]] || { echo "make-gif.sh: got $count frames of $frames" >&2; exit 1; }

# The figure turns about window pixel (360, 300), 300 pixels above the
# bottom edge: a square of side 600 centred there holds all of it that the
# window shows. Image rows count from the top.
side=600
crop_x=$((360 - side / 2))
crop_y=$((screen_h - 300 - side / 2))
mkdir -p "$(dirname "$output")"
# One palette for all frames (+map) and no dithering keep the frames' common
# parts identical, so the GIF stores mostly what changes.
"$convert" -delay "$delay" -loop 0 "$build"/frames/frame-*.ppm \
    -crop "${side}x${side}+${crop_x}+${crop_y}" +repage -resize "${width}x${width}" \
    +dither -colors "$colors" +map -layers Optimize "$output"

echo "make-gif.sh: wrote $output ($frames frames, $(stat -c %s "$output") bytes)"
