// Sanitizer defaults for the processes that load the real GL (every program
// linked with the `zru` library) in a sanitized build. The unit tests and the
// fuzzers link the recording GL double instead and keep every default.
//
// Leak checking is off in these processes, and only there: the Mesa driver
// keeps its context, screen and buffer allocations until the process ends and
// is unloaded before LeakSanitizer runs, so its blocks are reported with
// frames in "<unknown module>" that no suppression pattern can name (the slow
// unwinder that would name them makes every allocation in the driver too slow
// to run the demo). The framework's own allocations are leak-checked by the
// unit tests and the fuzzers, which run the same code against the double.
//
// AddressSanitizer and UndefinedBehaviorSanitizer stay fully on: an invalid
// access or undefined operation anywhere in the project's code still ends
// the process with a report.

extern "C" const char* __lsan_default_options()
{
    return "detect_leaks=0";
}

extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
