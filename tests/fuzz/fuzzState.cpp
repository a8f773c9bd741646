// Fuzzes the integer state interface: any code, any four ints, Get, Set,
// GetInteger and the clock interleaved in any order.
//
// Every array handed to the interface is a heap block of exactly the size
// the caller owes for that code (none at all for a code that takes none), so
// AddressSanitizer reports a single int read or written past it. Beyond
// that, each operation is checked against the table of codes:
//  - a Get of a known code writes its values, an unknown one writes nothing;
//  - a Set that is accepted is read back unchanged by Get; a refused one
//    changes no setting and calls no GL/GLUT function;
//  - every refusal writes exactly its message, and only under a debug level
//    of at least 2;
//  - GetInteger returns the first value, or 0 for a refused code;
//  - the clock is the elapsed time divided by the step (0 counting as 1).
#include "fuzzSupport.h"
#include "glDouble.h"
#include "zru.h"

#include <GL/glut.h>

#include <climits>
#include <vector>

namespace {

struct Code {
    short code;
    int count;
    bool settable;
};

// The complete table: every other code is refused by both Get and Set.
constexpr Code knownCodes[] = {
    {10, 1, true},   {22, 1, false},  {23, 1, false},  {24, 2, true},  {29, 1, true},  {31, 1, true},
    {32, 1, true},   {33, 1, true},   {34, 1, true},   {35, 1, true},  {36, 4, true},  {42, 1, true},
    {200, 1, false}, {201, 1, false}, {202, 2, false}, {203, 1, true}, {204, 1, true}, {205, 2, true},
    {207, 1, true},  {208, 1, true},  {210, 1, true},  {211, 1, true},
};

const Code* lookUp(short code)
{
    for (const Code& known : knownCodes) {
        if (known.code == code) {
            return &known;
        }
    }
    return nullptr;
}

// Every setting the interface reaches, read through it.
std::vector<int> snapshot()
{
    std::vector<int> all;
    StderrCapture quiet;
    for (const Code& known : knownCodes) {
        int values[4] = {};
        zruGetIntegerv(known.code, values);
        all.insert(all.end(), values, values + known.count);
    }
    FUZZ_CHECK(quiet.finish().empty());
    return all;
}

std::string expectedMessage(const char* function)
{
    return zruDebugLevel >= 2 ? std::string("Bad parameter passed to ") + function + "\n" : std::string();
}

void fuzzGet(short code)
{
    const Code* known = lookUp(code);
    const int room = known != nullptr ? known->count : 4;
    int* values = new int[room];
    for (int i = 0; i < room; ++i) {
        values[i] = 0x5a5a5a5a;
    }
    const std::vector<int> before = snapshot();
    StderrCapture captured;
    zruGetIntegerv(code, values);
    const std::string written = captured.finish();
    if (known != nullptr) {
        FUZZ_CHECK(written.empty());
        // The values are those of the settings, which a Get leaves alone.
        int again[4] = {};
        zruGetIntegerv(code, again);
        for (int i = 0; i < room; ++i) {
            FUZZ_CHECK(values[i] == again[i]);
        }
    } else {
        FUZZ_CHECK(written == expectedMessage("zruGetIntegerv"));
        for (int i = 0; i < room; ++i) {
            FUZZ_CHECK(values[i] == 0x5a5a5a5a);
        }
    }
    FUZZ_CHECK(snapshot() == before);
    delete[] values;
}

void fuzzGetInteger(short code)
{
    const Code* known = lookUp(code);
    int first = 0;
    if (known != nullptr) {
        int values[4] = {};
        zruGetIntegerv(code, values);
        first = values[0];
    }
    StderrCapture captured;
    const int result = zruGetInteger(code);
    const std::string written = captured.finish();
    FUZZ_CHECK(result == first);
    FUZZ_CHECK(written == (known != nullptr ? std::string() : expectedMessage("zruGetIntegerv")));
}

void fuzzSet(short code, const int (&input)[4], bool grabBuffers)
{
    const Code* known = lookUp(code);
    // A refused code owes no values at all; a zero-sized block makes any
    // read of one a sanitizer report.
    const int owed = known != nullptr ? known->count : 0;
    int* values = new int[owed];
    for (int i = 0; i < owed; ++i) {
        values[i] = input[i];
    }
    if (grabBuffers) {
        // Only a Set of the window size releases these; the sanitizer reports
        // a leak if it forgets them and a double free if it frees twice.
        std::free(zruScreenGrabBuffer);
        std::free(zruScreenGrabFlipper);
        zruScreenGrabBuffer = static_cast<unsigned char*>(std::malloc(16));
        zruScreenGrabFlipper = static_cast<unsigned char*>(std::malloc(16));
    }
    const int levelBefore = zruDebugLevel;
    const std::vector<int> before = snapshot();
    glDouble::clearCalls();
    StderrCapture captured;
    zruSetIntegerv(code, values);
    const std::string written = captured.finish();

    const bool accepted = known != nullptr && known->settable && !(code == ZRU_TIME_STEP && input[0] == 0);
    if (accepted) {
        FUZZ_CHECK(written.empty());
        int readBack[4] = {};
        zruGetIntegerv(code, readBack);
        for (int i = 0; i < owed; ++i) {
            FUZZ_CHECK(readBack[i] == input[i]);
        }
        if (code == ZRU_WINDOW_SIZE) {
            const auto reshapes = glDouble::callsNamed("glutReshapeWindow");
            FUZZ_CHECK(reshapes.size() == 1);
            FUZZ_CHECK(reshapes[0].args[0] == input[0] && reshapes[0].args[1] == input[1]);
            FUZZ_CHECK(zruScreenGrabBuffer == nullptr && zruScreenGrabFlipper == nullptr);
        } else {
            FUZZ_CHECK(glDouble::calls().empty());
        }
    } else {
        FUZZ_CHECK(zruDebugLevel == levelBefore);
        FUZZ_CHECK(written == expectedMessage("zruSetIntegerv"));
        FUZZ_CHECK(snapshot() == before);
        FUZZ_CHECK(glDouble::calls().empty());
    }
    delete[] values;
}

void fuzzClock(int elapsed, int step)
{
    glDouble::setGet(GLUT_ELAPSED_TIME, elapsed);
    zruTimeStep = step; // assigned directly, so 0 is possible here
    const long long divisor = step != 0 ? step : 1;
    const long long quotient = static_cast<long long>(elapsed) / divisor;
    const int result = zruCurrentTimeMillis();
    // INT_MIN / -1 is the one quotient outside the int range.
    if (quotient <= INT_MAX) {
        FUZZ_CHECK(result == quotient);
    }
    zruTimeStep = 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    glDouble::reset();
    zruDebugLevel = 3;
    zruTimeStep = 1;

    InputReader in(data, size);
    while (!in.empty()) {
        const std::uint8_t op = in.byte();
        const short code = in.value<short>();
        int values[4];
        for (int& v : values) {
            v = in.value<int>();
        }
        switch (op % 5) {
        case 0: fuzzGet(code); break;
        case 1: fuzzSet(code, values, false); break;
        case 2: fuzzSet(code, values, true); break;
        case 3: fuzzGetInteger(code); break;
        default: fuzzClock(values[0], values[1]); break;
        }
    }

    // Leave nothing behind for the next input.
    std::free(zruScreenGrabBuffer);
    std::free(zruScreenGrabFlipper);
    zruScreenGrabBuffer = nullptr;
    zruScreenGrabFlipper = nullptr;
    return 0;
}
