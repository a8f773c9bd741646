#!/usr/bin/env bash
# Robustness checks beside the ordinary test command (scripts/test.sh, which
# already runs the robustness-labelled tests of the ordinary build: long runs,
# fatal exit, Esc exits in a row, the input storm and valgrind):
#
#  1. a clang build with AddressSanitizer and UndefinedBehaviorSanitizer
#     (build-asan/, ZRU_SANITIZE=ON) that runs every test: unit, pixel,
#     end-to-end and robustness tests, and the fuzz targets over their seeds;
#  2. a bounded libFuzzer campaign of each fuzz target from its committed
#     seed corpus (ZRU_FUZZ_SECONDS each, default 30).
#
#   scripts/robustness.sh
#
# Exits non-zero when anything fails. A crashing fuzz input is kept under
# build-asan/fuzz-artifacts/ and printed in base64.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ZRU_ASAN_BUILD_DIR:-$root/build-asan}
seconds=${ZRU_FUZZ_SECONDS:-30}
jobs=$(nproc)
(( jobs > 2 )) && jobs=2

"$root/scripts/ensure-packages.sh" build e2e clang valgrind

echo "== sanitized build (clang, AddressSanitizer + UndefinedBehaviorSanitizer) in $build"
CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZRU_WERROR=ON -DZRU_SANITIZE=ON -DZRU_FUZZ=ON
cmake --build "$build" -j "$jobs"

# The sanitizer runtime exports its interceptors from every executable, so
# the check of the demo's exported names belongs to the ordinary build.
echo "== every test in the sanitized build"
ctest --test-dir "$build" --output-on-failure -j "$jobs" -E '^e2e\.exports$'

echo "== fuzzing, $seconds s per target"
status=0
for target in fuzzState fuzzColor fuzzDispatch; do
    work=$build/fuzz-work/$target
    artifacts=$build/fuzz-artifacts/$target
    rm -rf "$work"
    mkdir -p "$work" "$artifacts"
    # New inputs go to the scratch corpus; the committed seeds are only read.
    if "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$work" "$root/tests/fuzz/corpus/$target" >"$work.log" 2>&1; then
        echo "$target: $(grep -E '^stat::number_of_executed_units' "$work.log" | awk '{print $2}') inputs, no fault"
    else
        status=1
        echo "$target: FAILED"
        tail -n 60 "$work.log"
        for crash in "$artifacts"/*; do
            [[ -f "$crash" ]] && echo "input $crash (base64): $(base64 -w0 "$crash")"
        done
    fi
done
exit $status
