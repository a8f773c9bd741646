// Preloaded (LD_PRELOAD) into a GLUT program under measurement. It wraps
// glutSwapBuffers, stamps the moment each swap returns, and once the program
// has presented BENCH_WARMUP + BENCH_FRAMES frames after its first, writes
// what it measured to BENCH_OUT and ends the process. The program itself is
// not changed.
//
//   BENCH_T0_NS   CLOCK_MONOTONIC time just before the program was exec'd
//   BENCH_WARMUP  frames after the first one that are not measured
//   BENCH_FRAMES  frames measured
//   BENCH_OUT     file that receives key=value lines
//
// With BENCH_FRAMES 0 and BENCH_WARMUP 0 the process ends at its first frame.
//
// Built with BENCH_COUNT_ALLOCATIONS it also counts every heap allocation of
// the process, on all its threads, during the measured frames.
//
// Built with BENCH_COUNT_INSTRUCTIONS it is meant for a run under callgrind
// with --collect-atstart=no: it switches collection on for the measured
// frames only, and pins GLUT's clock to 16 ms per presented frame, so that
// every program draws the same sequence of pictures however slowly it runs.
// With BENCH_FRAMES 0 it switches nothing: run with --collect-atstart=yes,
// callgrind then counts everything up to the first frame.
#include <ctime>
#include <dlfcn.h>
#include <unistd.h>

#include <GL/glut.h>

#include "allocationHooks.h"

#ifdef BENCH_COUNT_INSTRUCTIONS
#include <valgrind/callgrind.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

long long nowNs(clockid_t clock = CLOCK_MONOTONIC)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long long envNumber(const char* name, long long fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoll(text, nullptr, 10) : fallback;
}

// Frames presented so far.
long long presented = 0;

// The durations of the measured frames, swap to swap (the first ones, if
// there are more than this).
constexpr long long maxTimedFrames = 1 << 16;
long long frameNs[maxTimedFrames];

// The duration that a given fraction of the timed frames do not exceed, in ms.
double frameTimeMs(long long count, double fraction)
{
    const long long index = static_cast<long long>(fraction * static_cast<double>(count - 1));
    std::nth_element(frameNs, frameNs + index, frameNs + count);
    return static_cast<double>(frameNs[index]) * 1e-6;
}

#ifdef BENCH_COUNT_ALLOCATIONS
std::atomic<long long> allocations{0};
#endif

} // namespace

#ifdef BENCH_COUNT_ALLOCATIONS
void countAllocation()
{
    allocations.fetch_add(1, std::memory_order_relaxed);
}
#endif

#ifdef BENCH_COUNT_INSTRUCTIONS
extern "C" int glutGet(GLenum state)
{
    using GetFunction = int (*)(GLenum);
    static const auto realGet = reinterpret_cast<GetFunction>(dlsym(RTLD_NEXT, "glutGet"));
    if (state == GLUT_ELAPSED_TIME) {
        return static_cast<int>(presented * 16);
    }
    return realGet(state);
}
#endif

extern "C" void glutSwapBuffers(void)
{
    using SwapFunction = void (*)();
    using GetFunction = int (*)(GLenum);
    static const auto realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    static const long long t0 = envNumber("BENCH_T0_NS", 0);
    static const long long warmup = envNumber("BENCH_WARMUP", 100);
    static const long long frames = envNumber("BENCH_FRAMES", 500);
    static long long firstSwapNs = 0;
    static long long measureStartNs = 0;
    static long long measureStartCpuNs = 0;
    static long long previousNs = 0;
#ifdef BENCH_COUNT_ALLOCATIONS
    static long long allocationsAtStart = 0;
#endif

    realSwap();
    const long long now = nowNs();
    ++presented;
    if (presented == 1) {
        firstSwapNs = now;
    }
    if (presented > 1 + warmup && presented - 2 - warmup < maxTimedFrames) {
        frameNs[presented - 2 - warmup] = now - previousNs;
    }
    previousNs = now;
    if (presented == 1 + warmup) {
        measureStartNs = now;
        measureStartCpuNs = nowNs(CLOCK_PROCESS_CPUTIME_ID);
#ifdef BENCH_COUNT_INSTRUCTIONS
        if (frames > 0) {
            CALLGRIND_TOGGLE_COLLECT;
        }
#endif
#ifdef BENCH_COUNT_ALLOCATIONS
        allocationsAtStart = allocations.load();
#endif
    }
    if (presented < 1 + warmup + frames) {
        return;
    }
#ifdef BENCH_COUNT_INSTRUCTIONS
    if (frames > 0) {
        CALLGRIND_TOGGLE_COLLECT;
    }
#endif

#ifdef BENCH_COUNT_ALLOCATIONS
    const long long measuredAllocations = allocations.load() - allocationsAtStart;
#endif
    const double seconds = static_cast<double>(now - measureStartNs) * 1e-9;
    const double cpuSeconds = static_cast<double>(nowNs(CLOCK_PROCESS_CPUTIME_ID) - measureStartCpuNs) * 1e-9;
    const auto glutGetFunction = reinterpret_cast<GetFunction>(dlsym(RTLD_DEFAULT, "glutGet"));
    const int width = glutGetFunction != nullptr ? glutGetFunction(GLUT_WINDOW_WIDTH) : -1;
    const int height = glutGetFunction != nullptr ? glutGetFunction(GLUT_WINDOW_HEIGHT) : -1;

    const char* path = std::getenv("BENCH_OUT");
    FILE* out = path != nullptr ? std::fopen(path, "w") : stderr;
    if (out != nullptr) {
        std::fprintf(out, "startup_ms=%.3f\n", t0 > 0 ? static_cast<double>(firstSwapNs - t0) * 1e-6 : -1.0);
        std::fprintf(out, "frames=%lld\n", frames);
        std::fprintf(out, "seconds=%.6f\n", seconds);
        std::fprintf(out, "fps=%.3f\n", frames > 0 ? static_cast<double>(frames) / seconds : 0.0);
        // CPU time of all the process's threads, the GL driver's included.
        std::fprintf(out, "cpu_ms_per_frame=%.4f\n",
                     frames > 0 ? cpuSeconds * 1e3 / static_cast<double>(frames) : 0.0);
        // Frame times are less disturbed than the rate by other processes
        // that take the CPU now and then: the fast frames are the ones that
        // ran undisturbed.
        const long long timed = std::min(frames, maxTimedFrames);
        if (timed > 0) {
            std::fprintf(out, "frame_ms_p10=%.4f\n", frameTimeMs(timed, 0.1));
            std::fprintf(out, "frame_ms_median=%.4f\n", frameTimeMs(timed, 0.5));
        }
        std::fprintf(out, "window=%dx%d\n", width, height);
#ifdef BENCH_COUNT_ALLOCATIONS
        std::fprintf(out, "allocations_per_frame=%.3f\n",
                     frames > 0 ? static_cast<double>(measuredAllocations) / static_cast<double>(frames)
                                : 0.0);
#endif
        std::fclose(out);
    }
    _exit(0);
}
