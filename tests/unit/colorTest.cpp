// HSB colour: the hexcone conversion, its edges and what it refuses.
#include "testSupport.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

struct Rgba {
    float r, g, b, a;
};

// The colour that reached GL, or none.
std::optional<Rgba> colourOf(float h, float s, float v, float a)
{
    glDouble::reset();
    zruColorHsb(h, s, v, a);
    const auto calls = glDouble::callsNamed("glColor4f");
    EXPECT_EQ(glDouble::calls().size(), calls.size()) << "only colours reach GL";
    if (calls.empty()) {
        return std::nullopt;
    }
    EXPECT_EQ(calls.size(), 1u);
    const auto& c = calls[0].args;
    return Rgba{float(c[0]), float(c[1]), float(c[2]), float(c[3])};
}

bool same(float expected, float got)
{
    return std::isnan(expected) ? std::isnan(got) : std::fabs(expected - got) <= 1e-6f;
}

} // namespace

TEST(ColorHsb, ConvertsEachSectorAndEdge)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float h, s, v, a;
        Rgba rgba;
    };
    const Case cases[] = {
        // One per sector, at full saturation and brightness.
        {0.0f, 1, 1, 1, {1, 0, 0, 1}},
        {1.0f / 12, 1, 1, 1, {1, 0.5f, 0, 1}},
        {0.25f, 1, 1, 1, {0.5f, 1, 0, 1}},
        {0.5f, 1, 1, 1, {0, 1, 1, 1}},
        {0.75f, 1, 1, 1, {0.5f, 0, 1, 1}},
        {11.0f / 12, 1, 1, 0.3f, {1, 0, 0.5f, 0.3f}},
        // Integer hues are red; only the fraction of a hue counts.
        {1.0f, 0.5f, 1, 1, {1, 0.5f, 0.5f, 1}},
        {-1.0f, 0.5f, 1, 1, {1, 0.5f, 0.5f, 1}},
        {2.0f, 0.5f, 1, 1, {1, 0.5f, 0.5f, 1}},
        {-0.25f, 1, 1, 1, {0.5f, 0, 1, 1}},
        {1.25f, 1, 1, 1, {0.5f, 1, 0, 1}},
        // The first colour of the petals.
        {0.2f, 0.8f, 0.8f, 0.15f, {0.672f, 0.8f, 0.16f, 0.15f}},
        // Nothing is clamped.
        {0.0f, 2, 1, 1, {1, -1, -1, 1}},
        {0.0f, 0.5f, 3, -2, {3, 1.5f, 1.5f, -2}},
        // A saturation of zero is grey, whatever the hue.
        {0.3f, 0, 0.4f, 0.5f, {0.4f, 0.4f, 0.4f, 0.5f}},
        {nan, 0, 0.4f, 0.5f, {0.4f, 0.4f, 0.4f, 0.5f}},
        {inf, -0.0f, 0.7f, 1, {0.7f, 0.7f, 0.7f, 1}},
        // A saturation that is not a number is not zero.
        {0.2f, nan, 0.8f, 1, {nan, 0.8f, nan, 1}},
    };
    for (const Case& c : cases) {
        const auto got = colourOf(c.h, c.s, c.v, c.a);
        ASSERT_TRUE(got.has_value()) << "hue " << c.h;
        EXPECT_TRUE(same(c.rgba.r, got->r) && same(c.rgba.g, got->g) && same(c.rgba.b, got->b) &&
                    same(c.rgba.a, got->a))
            << "hsb " << c.h << " " << c.s << " " << c.v << " gave " << got->r << " " << got->g << " "
            << got->b << " " << got->a;
    }
}

TEST(ColorHsb, SetsNoColourForHuesWithoutASector)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // Infinite and NaN hues, and a tiny negative hue whose sixfold fraction
    // rounds up to 6.
    for (float hue : {inf, -inf, nan, -nan, -1e-9f, -std::numeric_limits<float>::denorm_min()}) {
        EXPECT_FALSE(colourOf(hue, 0.5f, 0.5f, 1).has_value()) << hue;
    }
    // Just far enough below zero, the hue is magenta again.
    EXPECT_TRUE(colourOf(-1e-6f, 1, 1, 1).has_value());
}
