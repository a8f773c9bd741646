#!/usr/bin/env bash
# Benchmarks of the framework and the demo: installs what is missing, builds
# in Release in build-bench/, runs, prints a table and writes it to
# out/bench.md (raw figures beside it in out/bench/).
#
#   scripts/bench.sh           build, measure, print and write the table
#   scripts/bench.sh --check   only build the benchmarks with warnings as
#                              errors (build-bench-check/) and check that the
#                              bare program still makes the demo's GL calls;
#                              measures nothing (CI runs this)
#
# Environment: BENCH_STARTUP_ROUNDS and BENCH_ROUNDS (A/B rounds for start-up
# and frame rate, defaults 21 and 15), BENCH_WARMUP and BENCH_FRAMES (frames
# per frame-rate run, defaults 100 and 300), BENCH_CALLGRIND_FRAMES (frame-path
# frames under callgrind, default 1000), BENCH_CALLGRIND_GL_FRAMES (frames of
# each real program under callgrind, default 20; 0 skips those runs).
#
# 1. Frame rate and 2. start-up: the real petalDemo (A) against bench/barePetal
#    (B), which issues the same GL calls per frame with no framework, run in
#    turn A B A B ... at 1024 x 768 on a private Xvfb display with Mesa. A
#    preloaded shim stamps glutSwapBuffers; start-up runs from just before
#    exec to the return of the first swap.
#    Under callgrind the shim also counts every instruction of each process
#    per frame, the GL driver's included, with the clock pinned: a comparison
#    that other load on the machine cannot disturb.
#    Each run also gives the 10th percentile of its frame times: the frames
#    that ran undisturbed, a figure that other processes move less than the
#    rate.
# 3. Work per frame in the project's own code: bench/framePath runs the frame
#    path (idle pass + display pass) against GL entry points that do nothing,
#    counting heap allocations and, under callgrind, instructions.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-bench"
out="$root/out/bench"
table="$root/out/bench.md"
callgrind_frames=${BENCH_CALLGRIND_FRAMES:-1000}

# --- what the benchmarks need --------------------------------------------
# valgrind also brings callgrind.h, which the instruction-counting shim uses.
if [[ "${1:-}" == --check ]]; then
    "$root/scripts/ensure-packages.sh" build valgrind
    cmake -S "$root" -B "$root/build-bench-check" -DCMAKE_BUILD_TYPE=Release -DZRU_WERROR=ON \
        -DZRU_BUILD_BENCH=ON -DZRU_BUILD_TESTS=OFF >/dev/null
    cmake --build "$root/build-bench-check" -j2 --target petalDemo barePetal swapShim swapAllocShim \
        swapCountShim benchExec framePath sameCalls
    "$root/build-bench-check/bench/sameCalls"
    exit 0
fi
"$root/scripts/ensure-packages.sh" build headless valgrind

# --- build -----------------------------------------------------------------
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZRU_BUILD_BENCH=ON -DZRU_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target petalDemo barePetal swapShim swapAllocShim swapCountShim benchExec framePath sameCalls >/dev/null

mkdir -p "$out"

# The bare program is a fair floor only while it makes the demo's calls.
"$build/bench/sameCalls" >"$out/sameCalls.txt" || {
    echo "bench.sh: the bare program no longer makes the same GL calls as petalDemo" >&2
    exit 1
}

# --- 1, 2: frame rate and start-up under Xvfb --------------------------------
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
"$root/tests/tools/xsession.sh" --size 1024x768 -- "$root/bench/runRounds.sh" "$build" "$out"

# --- 3: the project's own work per frame ------------------------------------
"$build/bench/framePath" 100 "$callgrind_frames" >"$out/framePath.txt"
valgrind --tool=callgrind --toggle-collect='measuredFrames*' \
    --callgrind-out-file="$out/callgrind.out" \
    "$build/bench/framePath" 100 "$callgrind_frames" >/dev/null 2>"$out/callgrind.log"
collected=$(sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' "$out/callgrind.log")
# The share of the empty GL, GLU and GLUT bodies (every function whose name
# starts with gl): the framework's and the scene's calls into them stay in.
null_gl=""
if command -v callgrind_annotate >/dev/null 2>&1 &&
    callgrind_annotate --inclusive=no --threshold=100 "$out/callgrind.out" >"$out/callgrind.txt" 2>/dev/null; then
    null_gl=$(awk '/:gl[A-Za-z0-9_]* \[/ { gsub(",", "", $1); sum += $1 } END { print sum + 0 }' "$out/callgrind.txt")
fi

# --- table -------------------------------------------------------------------
median() { # of the numbers on standard input
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print "nan"; exit }
        if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
column_of() { # file, program, column
    awk -v p="$2" -v c="$3" '$2 == p { print $c }' "$out/$1"
}
paired_ratio() { # file, column: median over the rounds of A/B within a round
    awk -v c="$2" '{ v[$1, $2] = $c; r[$1] = 1 } END { for (i in r) printf "%.4f\n", v[i, "A"] / v[i, "B"] }' \
        "$out/$1" | median
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", a / b }'; }
met() { # value, operator, target
    awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN { ok = (op == ">=") ? (v >= t) : (op == "<=") ? (v <= t) : (v == t);
        print ok ? "met" : "NOT met" }'
}

fps_a=$(column_of rounds.txt A 3 | median)
fps_b=$(column_of rounds.txt B 3 | median)
fps_ratio=$(ratio "$fps_a" "$fps_b")
cpu_a=$(column_of rounds.txt A 4 | median)
cpu_b=$(column_of rounds.txt B 4 | median)
cpu_ratio=$(ratio "$cpu_a" "$cpu_b")
p10_a=$(column_of rounds.txt A 6 | median)
p10_b=$(column_of rounds.txt B 6 | median)
p10_ratio=$(ratio "$p10_b" "$p10_a")
start_a=$(column_of startup.txt A 3 | median)
start_b=$(column_of startup.txt B 3 | median)
start_ratio=$(ratio "$start_a" "$start_b")
rounds=$(awk 'END { print NR / 2 }' "$out/rounds.txt")
startup_rounds=$(awk 'END { print NR / 2 }' "$out/startup.txt")
windows=$(awk '{ print $5 }' "$out/rounds.txt" | sort -u | paste -sd' ')
if [[ "$windows" != 1024x768 ]]; then
    echo "bench.sh: warning: the windows were $windows, not 1024x768 alone" >&2
fi
allocs_own=$(sed -n 's/^allocations_per_frame=//p' "$out/framePath.txt")
allocs_startup=$(sed -n 's/^startup_allocations=//p' "$out/framePath.txt")
allocs_proc_a=$(awk '$1 == "A" { print $2 }' "$out/allocations.txt")
allocs_proc_b=$(awk '$1 == "B" { print $2 }' "$out/allocations.txt")
instr_a=$(awk '$1 == "A" { print $2 }' "$out/instructions.txt")
instr_b=$(awk '$1 == "B" { print $2 }' "$out/instructions.txt")
instr_ratio=""
if [[ -n "$instr_a" && -n "$instr_b" ]]; then
    instr_ratio=$(awk -v a="$instr_a" -v b="$instr_b" 'BEGIN { printf "%.4f\n", b / a }')
fi
start_instr_a=$(awk '$1 == "A" { print $2 }' "$out/startup-instructions.txt")
start_instr_b=$(awk '$1 == "B" { print $2 }' "$out/startup-instructions.txt")
start_instr_ratio=""
if [[ -n "$start_instr_a" && -n "$start_instr_b" ]]; then
    start_instr_ratio=$(awk -v a="$start_instr_a" -v b="$start_instr_b" 'BEGIN { printf "%.4f\n", a / b }')
fi
ipf=$(awk -v c="$collected" -v n="$callgrind_frames" 'BEGIN { printf "%.0f\n", c / n }')
if [[ -n "$null_gl" ]]; then
    ipf_gl=$(awk -v c="$null_gl" -v n="$callgrind_frames" 'BEGIN { printf "%.0f\n", c / n }')
    ipf_own=$((ipf - ipf_gl))
else
    ipf_gl="n/a"
    ipf_own="n/a"
fi

{
    echo "| Figure | Value | Target | |"
    echo "|---|---|---|---|"
    echo "| Frame rate, petalDemo (median of $rounds runs) | $fps_a frames/s | | |"
    echo "| Frame rate, bare GLUT program (median of $rounds runs) | $fps_b frames/s | | |"
    echo "| Frame-rate ratio petalDemo / bare | $fps_ratio | >= 0.98 | $(met "$fps_ratio" ">=" 0.98) |"
    echo "| Frame time, 10th percentile of each run, petalDemo (median of $rounds runs) | $p10_a ms | | |"
    echo "| Frame time, 10th percentile of each run, bare (median of $rounds runs) | $p10_b ms | | |"
    echo "| Frame-time ratio bare / petalDemo (as a rate: petalDemo's speed relative to bare) | $p10_ratio | >= 0.98 | $(met "$p10_ratio" ">=" 0.98) |"
    echo "| Start-up to first frame, petalDemo (median of $startup_rounds runs) | $start_a ms | | |"
    echo "| Start-up to first frame, bare GLUT program (median of $startup_rounds runs) | $start_b ms | | |"
    echo "| Start-up ratio petalDemo / bare | $start_ratio | <= 1.05 | $(met "$start_ratio" "<=" 1.05) |"
    if [[ -n "$instr_ratio" ]]; then
        echo "| Instructions per frame, whole process with Mesa, petalDemo (callgrind, pinned clock) | $instr_a | | |"
        echo "| Instructions per frame, whole process with Mesa, bare (callgrind, pinned clock) | $instr_b | | |"
        echo "| Instruction ratio bare / petalDemo: the frame-rate ratio that the work alone predicts | $instr_ratio | >= 0.98 | $(met "$instr_ratio" ">=" 0.98) |"
    fi
    if [[ -n "$start_instr_ratio" ]]; then
        echo "| Instructions up to the first frame, whole process with Mesa, petalDemo (callgrind) | $start_instr_a | | |"
        echo "| Instructions up to the first frame, whole process with Mesa, bare (callgrind) | $start_instr_b | | |"
        echo "| Start-up instruction ratio petalDemo / bare: the start-up ratio that the work alone predicts | $start_instr_ratio | <= 1.05 | $(met "$start_instr_ratio" "<=" 1.05) |"
    fi
    echo "| Heap allocations per frame, framework + scene | $allocs_own | 0 | $(met "$allocs_own" "==" 0) |"
    echo "| Instructions per frame, framework + scene, with their calls into empty GL | $ipf | <= 10000 | $(met "$ipf" "<=" 10000) |"
    echo "| ... of which inside the empty GL/GLU/GLUT bodies | $ipf_gl | | |"
    echo "| ... framework + scene alone | $ipf_own | | |"
    echo
    echo "- The bare program makes the same GL, GLU and GLUT calls as petalDemo (bench/sameCalls, against the tests' recording double): $(sed 's/$/;/' "$out/sameCalls.txt" | paste -sd' ' | sed 's/;$//')."
    echo "- Frame rate: $rounds rounds A B, each run ${BENCH_FRAMES:-300} frames after ${BENCH_WARMUP:-100} warm-up frames; window $windows on Xvfb with Mesa. Median of the per-round ratios: $(paired_ratio rounds.txt 3)."
    echo "- CPU time per frame of the whole process, all threads (not a target): petalDemo $cpu_a ms, bare $cpu_b ms, ratio $cpu_ratio."
    echo "- Start-up: $startup_rounds rounds A B, from just before exec to the return of the first glutSwapBuffers. Median of the per-round ratios: $(paired_ratio startup.txt 3)."
    echo "- Load average before the runs: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)."
    echo "- Heap allocations per frame of the whole process, GL driver included (not a target): petalDemo $allocs_proc_a, bare $allocs_proc_b."
    echo "- The allocation count of the frame path sees start-up's own allocations: $allocs_startup (diagnostic block and application object)."
    echo "- Whole-process instructions: callgrind over ${BENCH_CALLGRIND_GL_FRAMES:-20} frames after 5, llvmpipe on the main thread (LP_NUM_THREADS=0), clock pinned to 16 ms per frame by the shim so that both draw the same pictures."
    echo "- Frame-path instructions: callgrind over $callgrind_frames frames (one idle pass and one display pass each), collected inside measuredFrames only."
    echo
    echo "Frame-rate runs (round, program, frames/s, CPU ms per frame, window, frame time ms: 10th percentile, median):"
    echo
    sed 's/^/    /' "$out/rounds.txt"
    echo
    echo "Start-up runs (round, program, ms):"
    echo
    sed 's/^/    /' "$out/startup.txt"
} >"$table"

cat "$table"
echo
echo "Written to $table"
