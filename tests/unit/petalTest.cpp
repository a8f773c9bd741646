// The petal scene as one draw call's stream of GL calls.
#include "petalDemo.h"
#include "testSupport.h"

#include <cmath>
#include <string>

using glDouble::Call;

namespace {

// The turns between the petals of one pass, in order.
const float axes[7][3] = {{1, 1, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}};

// Red, green and blue of each pass, from hue 0.2 + 0.025 per pass at
// saturation and brightness 0.8.
const float passColours[9][3] = {
    {0.672f, 0.8f, 0.16f}, {0.576f, 0.8f, 0.16f}, {0.48f, 0.8f, 0.16f},
    {0.384f, 0.8f, 0.16f}, {0.288f, 0.8f, 0.16f}, {0.192f, 0.8f, 0.16f},
    {0.16f, 0.8f, 0.224f}, {0.16f, 0.8f, 0.32f},  {0.16f, 0.8f, 0.416f},
};

// The stream that one draw must send at angle t, colours compared apart.
std::vector<Call> expectedStream(float t)
{
    std::vector<Call> calls = {
        {"glDisable", {GL_LIGHTING}, ""},     {"glDisable", {GL_DEPTH_TEST}, ""},
        {"glScalef", {0.3f, 0.3f, 0.3f}, ""}, {"glTranslatef", {1200, 1000, 0}, ""},
        {"glScalef", {16, 16, 16}, ""},       {"glRotatef", {t, 1, 0, 0}, ""},
    };
    const auto petal = [&](float x, bool coloured) {
        calls.push_back({"glBegin", {GL_QUADS}, ""});
        calls.push_back({"glNormal3f", {0, 1, 0}, ""});
        if (coloured) {
            calls.push_back({"glColor4f", {}, ""});
        }
        for (const auto& corner : {std::pair{-15, 15}, {-15, -15}, {15, -15}, {15, 15}}) {
            calls.push_back({"glVertex3f", {x, double(corner.first), double(corner.second)}, ""});
        }
        calls.push_back({"glEnd", {}, ""});
    };
    for (int pass = 0; pass < 9; ++pass) {
        const float x = -50.0f + 12.5f * float(pass);
        petal(x, true);
        for (const auto& axis : axes) {
            calls.push_back({"glRotatef", {t, axis[0], axis[1], axis[2]}, ""});
            petal(x, false);
        }
    }
    return calls;
}

class PetalScene : public testing::Test {
protected:
    void SetUp() override { glDouble::reset(); }

    // Draws once with the clock at elapsed milliseconds, the object made at madeAt.
    static std::vector<Call> drawAt(int madeAt, int elapsed)
    {
        glDouble::setGet(GLUT_ELAPSED_TIME, madeAt);
        petalDemo demo;
        EXPECT_EQ(demo.epoch, float(madeAt));
        glDouble::setGet(GLUT_ELAPSED_TIME, elapsed);
        glDouble::clearCalls();
        demo.draw();
        return glDouble::calls();
    }
};

} // namespace

TEST_F(PetalScene, OneDrawSendsNinePassesOfEightPetals)
{
    // 4000 ticks after the object was made: 10 degrees.
    const std::vector<Call> got = drawAt(1000, 5000);
    const std::vector<Call> expected = expectedStream(10.0f);
    ASSERT_EQ(got.size(), expected.size());
    int colour = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(got[i].name, expected[i].name) << "call " << i;
        if (got[i].name == "glColor4f") {
            ASSERT_EQ(got[i].args.size(), 4u);
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(got[i].args[c], passColours[colour][c], 1e-6) << "pass " << colour;
            }
            EXPECT_FLOAT_EQ(float(got[i].args[3]), 0.15f);
            ++colour;
        } else {
            EXPECT_EQ(got[i].args, expected[i].args) << "call " << i << " " << got[i].name;
        }
    }
    EXPECT_EQ(colour, 9);
    EXPECT_EQ(glDouble::callsNamed("glRotatef").size(), 64u);
    EXPECT_EQ(glDouble::callsNamed("glBegin").size(), 72u);
    EXPECT_EQ(glDouble::callsNamed("glVertex3f").size(), 288u);
}

TEST_F(PetalScene, TheAngleGrowsWithTheClockAndIsNeverWrapped)
{
    struct Case {
        int madeAt, elapsed;
        float angle;
    };
    const Case cases[] = {
        {0, 0, 0.0f},
        {250, 250, 0.0f},            // the first pass after start-up: a row of squares
        {0, 1000, 2.5f},             // 2.5 degrees a second
        {0, 400000, 1000.0f},        // past a full turn, not reduced
        {0, 2000000000, 5000000.0f}, // after 23 days
        {2000000000, 1000, -4999997.5f},
    };
    for (const Case& c : cases) {
        const auto rotations = [&] {
            drawAt(c.madeAt, c.elapsed);
            return glDouble::callsNamed("glRotatef");
        }();
        ASSERT_EQ(rotations.size(), 64u);
        for (const Call& rotation : rotations) {
            EXPECT_NEAR(rotation.args[0], c.angle, std::fabs(c.angle) * 1e-6) << c.elapsed;
        }
    }
}

TEST_F(PetalScene, FactoryMakesADemoAndTheTagReadsApp)
{
    glDouble::setGet(GLUT_ELAPSED_TIME, 321);
    static zrApp* const app = makeApp(); // lives to the end, like the launcher's
    ASSERT_NE(dynamic_cast<petalDemo*>(app), nullptr);
    EXPECT_EQ(static_cast<petalDemo*>(app)->epoch, 321.0f);
    EXPECT_EQ(app->W, 100.0f);
    EXPECT_EQ(sizeof my_type, 4u);
    EXPECT_EQ(std::string(my_type, 4), std::string("App\0", 4));
}
