#!/usr/bin/env bash
# Runs the real petalDemo (A) and the bare program (B) in turn, A B A B ...,
# each as a fresh process with the swap shim preloaded, on the X display of
# the caller (scripts/bench.sh runs this under tests/tools/xsession.sh).
#
#   runRounds.sh BUILD_DIR OUT_DIR
#
# Environment: BENCH_STARTUP_ROUNDS (default 21), BENCH_ROUNDS (frame-rate
# rounds, default 15), BENCH_WARMUP (frames, default 100), BENCH_FRAMES
# (frames measured, default 300).
#
# BENCH_CALLGRIND_GL_FRAMES (frames counted under callgrind, default 20; 0
# skips it).
#
# Writes to OUT_DIR:
#   startup.txt      <round> <A|B> <ms from exec to the first frame>
#   rounds.txt       <round> <A|B> <frames/s> <CPU ms per frame> <window>
#                    <frame time ms, 10th percentile> <frame time ms, median>
#   allocations.txt  <A|B> <heap allocations per frame, whole process>
#   instructions.txt <A|B> <instructions per frame, whole process, pinned clock>
#   startup-instructions.txt <A|B> <instructions up to the first frame>
set -euo pipefail

build=$(cd "$1" && pwd)
out=$2
startup_rounds=${BENCH_STARTUP_ROUNDS:-21}
rounds=${BENCH_ROUNDS:-15}
warmup=${BENCH_WARMUP:-100}
frames=${BENCH_FRAMES:-300}

exec_tool="$build/bench/benchExec"
shim="$build/bench/libswapShim.so"
alloc_shim="$build/bench/libswapAllocShim.so"
count_shim="$build/bench/libswapCountShim.so"
callgrind_frames=${BENCH_CALLGRIND_GL_FRAMES:-20}
declare -A program=([A]="$build/petalDemo/petalDemo" [B]="$build/bench/barePetal")

for f in "$exec_tool" "$shim" "$alloc_shim" "$count_shim" "${program[A]}" "${program[B]}"; do
    [[ -x "$f" || -f "$f" ]] || { echo "runRounds.sh: missing $f" >&2; exit 1; }
done

# One run: the shim ends the process after the frames, or the timeout does.
# Prints the shim's key=value lines.
run_one() { # shim, program, warm-up frames, measured frames
    local shim_lib=$1 prog=$2 warmup=$3 frames=$4 result
    result=$(mktemp)
    rm -f "$result"
    if ! timeout 120 "$exec_tool" "$shim_lib" "$result" "$warmup" "$frames" "$prog" >/dev/null 2>"$result.err"; then
        echo "runRounds.sh: $prog did not finish its frames" >&2
        cat "$result.err" >&2
        rm -f "$result" "$result.err"
        return 1
    fi
    if [[ -s "$result.err" ]]; then
        echo "runRounds.sh: $prog wrote to standard error:" >&2
        cat "$result.err" >&2
    fi
    cat "$result"
    rm -f "$result" "$result.err"
}

value() { # key, from the lines on standard input
    sed -n "s/^$1=//p"
}

: >"$out/startup.txt"
: >"$out/rounds.txt"
: >"$out/allocations.txt"

# One unmeasured run of each first, so that neither pays alone for cold
# caches (disk, shader compiler, X server).
for p in A B; do
    run_one "$shim" "${program[$p]}" 0 0 >/dev/null
done

# Start-up: each process ends at its first frame.
for ((r = 1; r <= startup_rounds; r++)); do
    for p in A B; do
        lines=$(run_one "$shim" "${program[$p]}" 0 0)
        echo "$r $p $(value startup_ms <<<"$lines")" >>"$out/startup.txt"
    done
done
echo "start-up: $startup_rounds rounds done" >&2

# Frame rate: the frames after the warm-up.
for ((r = 1; r <= rounds; r++)); do
    for p in A B; do
        lines=$(run_one "$shim" "${program[$p]}" "$warmup" "$frames")
        fps=$(value fps <<<"$lines")
        cpu=$(value cpu_ms_per_frame <<<"$lines")
        window=$(value window <<<"$lines")
        p10=$(value frame_ms_p10 <<<"$lines")
        med=$(value frame_ms_median <<<"$lines")
        echo "$r $p $fps $cpu $window $p10 $med" >>"$out/rounds.txt"
        echo "round $r $p: $fps frames/s, $cpu CPU ms per frame, frame times $p10 ms (10th percentile), $med ms (median), window $window" >&2
    done
done

# Every heap allocation of the process per steady-state frame, the GL
# driver's included: a separate run, since counting costs time.
for p in A B; do
    lines=$(run_one "$alloc_shim" "${program[$p]}" "$warmup" "$frames")
    echo "$p $(value allocations_per_frame <<<"$lines")" >>"$out/allocations.txt"
done

# Instructions of the whole process under callgrind, the GL driver's
# included: figures that other load on the machine cannot move. The shim pins
# the clock to the frame count, so both programs draw the same pictures;
# llvmpipe rasterises on the main thread. Per frame: collected over the
# frames after 5 warm-up frames. Start-up: everything up to the first frame.
: >"$out/instructions.txt"
: >"$out/startup-instructions.txt"
callgrind_run() { # program, log, warm-up, frames, callgrind options...
    local prog=$1 log=$2 warm=$3 count=$4 result
    shift 4
    result=$(mktemp)
    LD_PRELOAD="$count_shim" BENCH_OUT="$result" BENCH_WARMUP="$warm" BENCH_FRAMES="$count" \
        LP_NUM_THREADS=0 timeout 900 valgrind --tool=callgrind "$@" "$prog" >/dev/null 2>"$log"
    rm -f "$result"
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' "$log"
}
if [[ $callgrind_frames -gt 0 ]]; then
    for p in A B; do
        collected=$(callgrind_run "${program[$p]}" "$out/callgrind-gl-$p.log" 5 "$callgrind_frames" \
            --collect-atstart=no --callgrind-out-file="$out/callgrind-gl-$p.out")
        echo "$p $(awk -v c="$collected" -v n="$callgrind_frames" 'BEGIN { printf "%.0f\n", c / n }')" >>"$out/instructions.txt"
        echo "callgrind $p: $collected instructions in $callgrind_frames frames" >&2
        collected=$(callgrind_run "${program[$p]}" "$out/callgrind-start-$p.log" 0 0 \
            --callgrind-out-file="$out/callgrind-start-$p.out")
        echo "$p $collected" >>"$out/startup-instructions.txt"
        echo "callgrind $p: $collected instructions up to the first frame" >&2
    done
fi
