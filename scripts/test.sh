#!/usr/bin/env bash
# Installs the Debian packages that are missing, builds everything with
# warnings as errors and runs every test (unit, pixel, end-to-end, ...).
# Exits non-zero when anything fails.
#
#   scripts/test.sh
#
# Builds in build/ (Release); ZRU_BUILD_DIR names another directory.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ZRU_BUILD_DIR:-$root/build}
jobs=$(nproc)

"$root/scripts/ensure-packages.sh" build e2e valgrind

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZRU_WERROR=ON
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
