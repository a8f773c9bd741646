// Runs a program under measurement with a preloaded shim:
//
//   benchExec SHIM OUT WARMUP FRAMES PROGRAM [ARGS...]
//
// It passes the shim its settings through the environment and, as its last
// act before exec, notes CLOCK_MONOTONIC in BENCH_T0_NS, so that the shim
// can tell how long the program took from process start to its first frame.
#include <ctime>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s SHIM OUT WARMUP FRAMES PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    std::string preload = argv[1];
    if (const char* earlier = std::getenv("LD_PRELOAD"); earlier != nullptr && *earlier != '\0') {
        preload += ':';
        preload += earlier;
    }
    setenv("LD_PRELOAD", preload.c_str(), 1);
    setenv("BENCH_OUT", argv[2], 1);
    setenv("BENCH_WARMUP", argv[3], 1);
    setenv("BENCH_FRAMES", argv[4], 1);
    // Reserve the variable first, so that the last step before exec only
    // writes digits into it.
    setenv("BENCH_T0_NS", "00000000000000000000", 1);
    char* stamp = std::getenv("BENCH_T0_NS");

    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::snprintf(stamp, 21, "%020lld", static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
    execv(argv[5], argv + 5);
    std::perror("benchExec: exec");
    return 127;
}
