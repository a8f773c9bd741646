// Checks that the bare program is a fair floor: run against the recording
// GL/GLUT double of the tests, it must issue the same calls with the same
// arguments as petalDemo, both while it sets up its window and in a frame.
// scripts/bench.sh runs this before it measures anything.
#include "glDouble.h"
#include "petalDemo.h"
#include "zru.h"

#include <cstdio>
#include <string>
#include <vector>

int barePetalMain(); // bench/barePetal.cpp's main, renamed for this build

namespace {

struct Streams {
    std::vector<glDouble::Call> setUp;
    std::vector<glDouble::Call> frame;
};

// Set-up runs up to the main loop (the double's returns); the frame is one
// idle pass and one display pass in a 1024 x 768 window, 4 s after start.
template <typename Start>
Streams record(Start start)
{
    glDouble::reset();
    glDouble::setGet(GLUT_ELAPSED_TIME, 0);
    Streams streams;
    start();
    streams.setUp = glDouble::calls();
    const glDouble::Callbacks& callbacks = glDouble::callbacks();
    if (callbacks.reshape == nullptr || callbacks.idle == nullptr || callbacks.display == nullptr) {
        return streams;
    }
    callbacks.reshape(1024, 768);
    glDouble::setGet(GLUT_ELAPSED_TIME, 4000);
    glDouble::clearCalls();
    callbacks.idle();
    callbacks.display();
    streams.frame = glDouble::calls();
    return streams;
}

std::string describe(const glDouble::Call& call)
{
    std::string text = call.name + "(";
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%s%.9g", i > 0 ? ", " : "", call.args[i]);
        text += number;
    }
    if (!call.text.empty()) {
        text += (call.args.empty() ? "\"" : ", \"") + call.text + "\"";
    }
    return text + ")";
}

bool same(const char* what, const std::vector<glDouble::Call>& demo, const std::vector<glDouble::Call>& bare)
{
    const std::size_t common = demo.size() < bare.size() ? demo.size() : bare.size();
    for (std::size_t i = 0; i < common; ++i) {
        if (!(demo[i].name == bare[i].name && demo[i].args == bare[i].args && demo[i].text == bare[i].text)) {
            std::fprintf(stderr, "sameCalls: %s differs at call %zu: petalDemo %s, bare %s\n", what, i,
                         describe(demo[i]).c_str(), describe(bare[i]).c_str());
            return false;
        }
    }
    if (demo.size() != bare.size()) {
        std::fprintf(stderr, "sameCalls: %s: petalDemo makes %zu calls, bare %zu\n", what, demo.size(),
                     bare.size());
        return false;
    }
    std::printf("%s: the same %zu calls\n", what, demo.size());
    return true;
}

} // namespace

int main()
{
    const Streams demo = record([] {
        zruOpen();
        makeApp()->selfStart();
    });
    const Streams bare = record([] { barePetalMain(); });
    const bool setUpSame = same("set-up", demo.setUp, bare.setUp);
    const bool frameSame = same("frame", demo.frame, bare.frame);
    // A frame that drew nothing would compare equal and prove nothing.
    if (demo.frame.size() < std::size_t{72} * 7) {
        std::fprintf(stderr, "sameCalls: petalDemo's frame made only %zu calls\n", demo.frame.size());
        return 1;
    }
    return setUpSame && frameSame ? 0 : 1;
}
