// Fuzzes zruColorHsb with every bit pattern of its four floats: NaNs with any
// payload, infinities, subnormals, negative zero, huge and tiny hues.
// UndefinedBehaviorSanitizer reports any float-to-int conversion out of
// range (a NaN or an infinite sector). Beyond that, for each call:
//  - at most one glColor4f is issued;
//  - a saturation equal to zero (either sign) gives the grey (b, b, b, a);
//  - an infinite or NaN hue with any other saturation sets no colour, and a
//    finite hue fails to only for a negative hue within a rounding step of 0;
//  - alpha is passed on unchanged, and one of red, green and blue is the
//    brightness itself (the top of the hexcone).
#include "fuzzSupport.h"
#include "glDouble.h"
#include "zru.h"

#include <cmath>

namespace {

bool same(double recorded, float expected)
{
    return std::isnan(expected) ? std::isnan(recorded) : recorded == static_cast<double>(expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader in(data, size);
    do {
        const float h = in.value<float>();
        const float s = in.value<float>();
        const float b = in.value<float>();
        const float a = in.value<float>();

        glDouble::clearCalls();
        zruColorHsb(h, s, b, a);
        const auto& calls = glDouble::calls();
        FUZZ_CHECK(calls.size() <= 1);
        if (!calls.empty()) {
            FUZZ_CHECK(calls[0].name == "glColor4f");
        }

        if (s == 0.0f) {
            FUZZ_CHECK(calls.size() == 1);
            const auto& c = calls[0].args;
            FUZZ_CHECK(same(c[0], b) && same(c[1], b) && same(c[2], b) && same(c[3], a));
            continue;
        }
        if (!std::isfinite(h)) {
            FUZZ_CHECK(calls.empty());
            continue;
        }
        if (calls.empty()) {
            FUZZ_CHECK(h < 0.0f && h > -1e-6f);
            continue;
        }
        const auto& c = calls[0].args;
        FUZZ_CHECK(same(c[3], a));
        FUZZ_CHECK(same(c[0], b) || same(c[1], b) || same(c[2], b));
    } while (!in.empty());
    return 0;
}
