// Ends through a fatal diagnostic, the way an application would:
//
//   fatalDiagnostic [--open] <debug level> <message>
//
// With --open the framework is opened first (a real window, so a display is
// needed). Then the debug level is set, a line is left pending in the
// buffered standard output, and zruDebug(1, message) is called; it must not
// return.
#include "zru.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    int arg = 1;
    if (arg < argc && std::strcmp(argv[arg], "--open") == 0) {
        zruOpen();
        ++arg;
    }
    if (argc - arg != 2) {
        std::fprintf(stderr, "usage: fatalDiagnostic [--open] <debug level> <message>\n");
        return 2;
    }
    zruDebugLevel = std::atoi(argv[arg]);
    std::printf("pending output");
    zruDebug(1, argv[arg + 1]);
    std::printf(" after the fatal diagnostic\n");
    return 3;
}
