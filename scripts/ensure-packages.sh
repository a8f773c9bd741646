#!/usr/bin/env bash
# Installs the Debian packages of the named groups that are not installed yet.
#
#   scripts/ensure-packages.sh <group>...
#
# Packages already installed are left alone; `apt-get update` runs once, and
# only when something has to be installed. Needs root (or sudo) only then.
# Run with no group to list the groups.
set -euo pipefail

declare -A groups=(
    # Compiler, CMake, GLUT, GL, GLU, GoogleTest, Mesa's software renderer, and
    # Python, which configuring the tests looks for.
    [build]="g++ cmake make freeglut3-dev libglu1-mesa-dev libgl-dev libgl1-mesa-dri libgtest-dev python3"
    # Telling whether a display is reachable (xdpyinfo).
    [display]="x11-utils"
    # Running the demo on a virtual display and taking a screenshot of it.
    [headless]="xvfb openbox xdotool x11-utils imagemagick"
    # The end-to-end tests: the above, plus nm/readelf and the test runner.
    [e2e]="xvfb openbox xdotool x11-utils imagemagick binutils python3"
    # Sanitizer builds and libFuzzer targets.
    [clang]="clang libclang-rt-14-dev"
    [valgrind]="valgrind"
    # Checking the sources' formatting and running clang-tidy.
    [lint]="clang-format clang-tidy"
    # Cross-building the Windows executable.
    [mingw]="mingw-w64"
)

if [[ $# -eq 0 ]]; then
    echo "usage: $0 <group>..." >&2
    for g in $(printf '%s\n' "${!groups[@]}" | sort); do
        printf '  %-10s %s\n' "$g" "${groups[$g]}" >&2
    done
    exit 2
fi

wanted=()
for g in "$@"; do
    if [[ -z "${groups[$g]+set}" ]]; then
        echo "ensure-packages.sh: unknown group '$g' (run with no argument for the list)" >&2
        exit 2
    fi
    # shellcheck disable=SC2206 # the lists are plain words
    wanted+=(${groups[$g]})
done

missing=()
for p in $(printf '%s\n' "${wanted[@]}" | sort -u); do
    if [[ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]]; then
        missing+=("$p")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "ensure-packages.sh: installing ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null 2>&1; then
        sudo=(sudo)
    else
        echo "ensure-packages.sh: these packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
