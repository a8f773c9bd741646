// The sketch pad driven through the framework's GLUT callbacks, as GLUT would
// drive it, with GL recorded by the test double.
#include "sketchPad.h"
#include "glDouble.h"
#include "zruInternal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct vertex {
    double x, y, z;
    bool operator==(const vertex& o) const { return x == o.x && y == o.y && z == o.z; }
};

void PrintTo(const vertex& v, std::ostream* os)
{
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

// One glBegin ... glEnd block of a display pass.
struct primitive {
    double mode;
    std::vector<vertex> vertices;
    std::vector<double> colour; // the current colour when it began
};

class SketchPadTest : public ::testing::Test {
protected:
    static constexpr int width = 800, height = 600;
    std::unique_ptr<sketchPad> pad;

    void SetUp() override
    {
        glDouble::reset();
        zruOpen();
        aaLastMouseButton = 0;
        aafullScreen = 1;
        aahaveShrunk = 0;
        pad = std::make_unique<sketchPad>();
        pad->subStart();
        glDouble::callbacks().reshape(width, height);
        glDouble::clearCalls();
    }

    void TearDown() override { apps[1] = nullptr; }

    static void press(int button, int x, int y) { glDouble::callbacks().mouse(button, GLUT_DOWN, x, y); }
    static void release(int button, int x, int y) { glDouble::callbacks().mouse(button, GLUT_UP, x, y); }
    static void move(int x, int y) { glDouble::callbacks().motion(x, y); }
    static void key(unsigned char k) { glDouble::callbacks().keyboard(k, 0, 0); }

    // A left-button drag through GLUT positions (top-left origin).
    static void drag(const std::vector<std::pair<int, int>>& path)
    {
        press(GLUT_LEFT_BUTTON, path.front().first, path.front().second);
        for (size_t i = 1; i < path.size(); ++i) {
            move(path[i].first, path[i].second);
        }
        release(GLUT_LEFT_BUTTON, path.back().first, path.back().second);
    }

    // Runs one display pass and returns what it drew between glBegin and glEnd.
    static std::vector<primitive> displayPass()
    {
        glDouble::clearCalls();
        glDouble::callbacks().display();
        std::vector<primitive> drawn;
        std::vector<double> colour;
        bool open = false;
        for (const glDouble::Call& c : glDouble::calls()) {
            if (c.name == "glColor4f") {
                colour = c.args;
            } else if (c.name == "glBegin") {
                EXPECT_FALSE(open) << "glBegin inside glBegin";
                drawn.push_back({c.args[0], {}, colour});
                open = true;
            } else if (c.name == "glEnd") {
                EXPECT_TRUE(open) << "glEnd without glBegin";
                open = false;
            } else if (c.name == "glVertex3f") {
                EXPECT_TRUE(open) << "vertex outside glBegin";
                drawn.back().vertices.push_back({c.args[0], c.args[1], c.args[2]});
            }
        }
        EXPECT_FALSE(open) << "glBegin without glEnd";
        return drawn;
    }

    // What zruColorHsb makes the current colour for this stroke hue.
    static std::vector<double> hsbColour(float hue)
    {
        glDouble::clearCalls();
        zruColorHsb(hue, sketchPad::saturation, sketchPad::brightness, 1.0f);
        const auto set = glDouble::callsNamed("glColor4f");
        EXPECT_EQ(set.size(), 1u);
        return set.empty() ? std::vector<double>{} : set[0].args;
    }

    // The centres of the pixels under GLUT positions, in frame coordinates.
    static std::vector<vertex> centres(const std::vector<std::pair<int, int>>& path)
    {
        std::vector<vertex> out;
        out.reserve(path.size());
        for (const auto& p : path) {
            out.push_back({p.first + 0.5, height - 1 - p.second + 0.5, 0.0});
        }
        return out;
    }
};

TEST_F(SketchPadTest, LeftDragPaintsThroughPixelCentresUnderThePointerWithYUp)
{
    // Corners of the window, and a repeated position that adds no point.
    drag({{0, 0}, {799, 0}, {799, 0}, {799, 599}, {0, 599}});
    const std::vector<primitive> drawn = displayPass();
    const std::vector<vertex> expected = centres({{0, 0}, {799, 0}, {799, 599}, {0, 599}});
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].mode, GL_LINE_STRIP);
    EXPECT_EQ(drawn[1].mode, GL_POINTS);
    EXPECT_EQ(drawn[0].vertices, expected);
    EXPECT_EQ(drawn[1].vertices, expected);
    EXPECT_EQ(expected.front(), (vertex{0.5, 599.5, 0.0})); // top-left pixel
    EXPECT_EQ(expected[2], (vertex{799.5, 0.5, 0.0}));      // bottom-right pixel
}

TEST_F(SketchPadTest, EachPressStartsAStrokeAndAClickLeavesADot)
{
    drag({{10, 10}, {20, 20}});
    press(GLUT_LEFT_BUTTON, 300, 200);
    release(GLUT_LEFT_BUTTON, 300, 200);
    ASSERT_EQ(pad->strokes.size(), 2u);
    const std::vector<primitive> drawn = displayPass();
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].vertices, centres({{10, 10}, {20, 20}}));
    EXPECT_EQ(drawn[3].mode, GL_POINTS);
    EXPECT_EQ(drawn[3].vertices, centres({{300, 200}}));
}

TEST_F(SketchPadTest, OnlyTheLeftButtonPaints)
{
    for (int button : {GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
        SCOPED_TRACE(button);
        press(button, 10, 10);
        move(50, 60);
        release(button, 50, 60);
        move(70, 80); // a drag with no press, too
        EXPECT_TRUE(pad->strokes.empty());
        EXPECT_TRUE(displayPass().empty());
    }
    // Another button pressed and released in the middle of a left drag
    // neither ends nor splits the stroke.
    press(GLUT_LEFT_BUTTON, 10, 10);
    press(GLUT_RIGHT_BUTTON, 20, 20);
    release(GLUT_RIGHT_BUTTON, 20, 20);
    move(30, 30);
    release(GLUT_LEFT_BUTTON, 30, 30);
    move(40, 40);
    ASSERT_EQ(pad->strokes.size(), 1u);
    EXPECT_EQ(displayPass()[0].vertices, centres({{10, 10}, {30, 30}}));
}

TEST_F(SketchPadTest, ColourKeyTurnsTheHueOfLaterStrokesOnly)
{
    drag({{10, 10}, {20, 10}});
    key(sketchPad::colourKey);
    drag({{10, 30}, {20, 30}});
    for (unsigned char other : {'x', 'C', ' ', '\r'}) {
        key(other);
    }
    drag({{10, 50}, {20, 50}});
    key(sketchPad::colourKey);
    key(sketchPad::colourKey);
    drag({{10, 70}, {20, 70}});

    const std::vector<float> hues = {0.0f, sketchPad::hueStep, sketchPad::hueStep, 3 * sketchPad::hueStep};
    const std::vector<primitive> drawn = displayPass();
    ASSERT_EQ(drawn.size(), 2 * hues.size());
    for (size_t i = 0; i < hues.size(); ++i) {
        SCOPED_TRACE(i);
        const std::vector<double> colour = hsbColour(hues[i]);
        EXPECT_EQ(drawn[2 * i].colour, colour);
        EXPECT_EQ(drawn[2 * i + 1].colour, colour);
        EXPECT_EQ(colour[3], 1.0); // opaque
    }
    EXPECT_NE(drawn[0].colour, drawn[2].colour);
    EXPECT_NE(drawn[2].colour, drawn[6].colour);
}

TEST_F(SketchPadTest, EightPressesComeBackToTheFirstHue)
{
    const float first = pad->hue;
    std::vector<float> seen;
    for (int i = 0; i < 8; ++i) {
        key(sketchPad::colourKey);
        seen.push_back(pad->hue);
        EXPECT_GE(pad->hue, 0.0f);
        EXPECT_LT(pad->hue, 1.0f);
    }
    EXPECT_EQ(seen.back(), first);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end()) << "a hue came round twice";
}

TEST_F(SketchPadTest, EveryPassRedrawsAllStrokesOnThePaper)
{
    drag({{100, 100}, {200, 150}});
    const std::vector<primitive> first = displayPass();
    const std::vector<glDouble::Call> clears = glDouble::callsNamed("glClearColor");
    const std::vector<primitive> second = displayPass();
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].vertices, first[0].vertices);
    EXPECT_EQ(second[0].colour, first[0].colour);
    ASSERT_EQ(clears.size(), 1u);
    EXPECT_EQ(clears[0].args,
              (std::vector<double>{sketchPad::paper[0], sketchPad::paper[1], sketchPad::paper[2], 1.0}));
    // Flat colour, no depth test, strokes of the given width.
    for (const char* name : {"glLineWidth", "glPointSize"}) {
        const auto set = glDouble::callsNamed(name);
        ASSERT_EQ(set.size(), 1u) << name;
        EXPECT_EQ(set[0].args[0], sketchPad::strokeWidth) << name;
    }
    const auto disabled = glDouble::callsNamed("glDisable");
    bool lighting = false, depth = false;
    for (const auto& c : disabled) {
        lighting = lighting || c.args[0] == GL_LIGHTING;
        depth = depth || c.args[0] == GL_DEPTH_TEST;
    }
    EXPECT_TRUE(lighting && depth);
}

TEST_F(SketchPadTest, EscAndF1AreInherited)
{
    glDouble::callbacks().special(GLUT_KEY_F1, 0, 0);
    const auto moved = glDouble::callsNamed("glutPositionWindow");
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].args, (std::vector<double>{35, 55}));

    glDouble::clearCalls();
    key(27);
    const auto reshaped = glDouble::callsNamed("glutReshapeWindow");
    ASSERT_EQ(reshaped.size(), 1u);
    EXPECT_EQ(reshaped[0].args, (std::vector<double>{100, 100}));
    EXPECT_EQ(glDouble::callbacks().idle, &winddown_cb);
}

TEST(SketchPadModule, MakeAppCreatesASketchPadAndTheTypeTagIsApp)
{
    glDouble::reset();
    zruOpen();
    sketchPad* pad = dynamic_cast<sketchPad*>(makeApp());
    EXPECT_NE(pad, nullptr);
    delete pad;
    EXPECT_EQ(sizeof my_type, 4u);
    EXPECT_STREQ(my_type, "App");
}

} // namespace
