// The demo's frame path with no GL behind it: zruOpen, makeApp and the
// application's callbacks, run against entry points that do nothing
// (nullGl.cpp). Each frame is what the GLUT loop does per frame: one idle
// pass, then one display pass.
//
//   framePath [WARMUP] [FRAMES]
//
// It prints key=value lines: the heap allocations made while starting up
// (which shows that the count sees the project's allocations) and those made
// by the measured frames. Under callgrind, --toggle-collect=measuredFrames*
// gives the instructions of the measured frames alone.
#include "allocationHooks.h"
#include "petalDemo.h"
#include "zruInternal.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

bool counting = false;
long long allocations = 0;

} // namespace

void countAllocation()
{
    if (counting) {
        ++allocations;
    }
}

// The frames that are measured; callgrind collects inside this function only.
__attribute__((noinline)) void measuredFrames(long frames)
{
    for (long i = 0; i < frames; ++i) {
        idle_cb();
        display_cb();
    }
}

int main(int argc, char** argv)
{
    const long warmup = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100;
    const long frames = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1000;

    // Start-up as the launcher does it, except that the loop is driven here:
    // subStart binds the object and registers the callbacks and returns.
    counting = true;
    zruOpen();
    zrApp* app = makeApp();
    counting = false;
    const long long startupAllocations = allocations;
    app->subStart();
    reshape_cb(1024, 768);

    for (long i = 0; i < warmup; ++i) {
        idle_cb();
        display_cb();
    }

    allocations = 0;
    counting = true;
    measuredFrames(frames);
    counting = false;
    const long long frameAllocations = allocations;

    std::printf("startup_allocations=%lld\n", startupAllocations);
    std::printf("frames=%ld\n", frames);
    std::printf("frame_allocations=%lld\n", frameAllocations);
    std::printf("allocations_per_frame=%.3f\n",
                frames > 0 ? static_cast<double>(frameAllocations) / static_cast<double>(frames) : 0.0);

    // The count must have seen start-up's own allocations (the diagnostic
    // block and the application object), and the frames must have drawn.
    if (startupAllocations < 2) {
        std::fprintf(stderr, "framePath: the allocation count saw nothing at start-up\n");
        return 1;
    }
    if (aaValidWindowSize == 0 || frameDepth != 0) {
        std::fprintf(stderr, "framePath: the frames did not draw\n");
        return 1;
    }
    return 0;
}
