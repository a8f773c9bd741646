// The petal scene as a person sees it: the real framework and demo module
// drawing with the real GL into a real window, read back pixel by pixel and
// compared with what the geometry and the blending arithmetic predict.
//
// Runs on an X display (a private Xvfb without a window manager in CTest).
// The clock is pinned through the framework's own settings: a time step of
// INT_MAX milliseconds per tick keeps zruCurrentTimeMillis() at 0, and the
// demo's epoch then chooses the angle t = (0 - epoch) x 0.0025 degrees.
#include "petalDemo.h"
#include "petalModel.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using petalModel::blendOverBlack;
using petalModel::Vec2;

// Pixels closer than this to a petal's edge are left to the rasteriser.
constexpr double edgeMargin = 2.0;
// Allowed difference per channel, in 8-bit steps.
constexpr int tolerance = 3;
// The Tela frame's vertical field of view, degrees.
constexpr double fieldOfView = 60.0;

struct WindowSize {
    int width;
    int height;
};

// 1024 x 768 is the full-screen window on the test's 1024 x 768 display; the
// smaller one is asked for through ZRU_WINDOW_SIZE.
const WindowSize fullScreen{1024, 768};
const WindowSize smaller{800, 600};

std::string sizeName(const WindowSize& size)
{
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

// A frame read back from the window: RGBA rows from the bottom up.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;

    std::array<int, 3> at(int x, int y) const
    {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2]};
    }

    // Written for a person to look at when a comparison fails.
    std::string save(const std::string& name) const
    {
        std::string path = name + ".ppm";
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            return "(could not write " + path + ")";
        }
        std::fprintf(file, "P6\n%d %d\n255\n", width, height);
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                const auto pixel = at(x, y);
                for (int channel : pixel) {
                    std::fputc(channel, file);
                }
            }
        }
        std::fclose(file);
        return path;
    }
};

int channelDistance(const std::array<int, 3>& a, const std::array<int, 3>& b)
{
    int worst = 0;
    for (size_t i = 0; i < 3; ++i) {
        worst = std::max(worst, std::abs(a[i] - b[i]));
    }
    return worst;
}

std::string rgbText(const std::array<int, 3>& c)
{
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) + ")";
}

class PetalPixels : public ::testing::Test {
protected:
    static petalDemo* demo;

    static void SetUpTestSuite()
    {
        if (demo != nullptr) {
            return;
        }
        zruOpen();
        // The framework's own display callback comes with selfStart, which
        // would also enter the main loop; the tests draw their frames
        // themselves, and GLUT only needs something to call on expose.
        glutDisplayFunc([] {});
        const int hugeStep = INT_MAX;
        zruSetIntegerv(ZRU_TIME_STEP, &hugeStep);
        demo = static_cast<petalDemo*>(makeApp());
        std::printf("GL renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    }

    // Pumps GLUT's events until the window has the size and the framework's
    // start-up reshape callback has stored it. After a request, a reshape to
    // another size ends the wait at once.
    static bool settle(WindowSize size, bool requested)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            glutMainLoopEvent();
            if (glutGet(GLUT_WINDOW_WIDTH) == size.width && glutGet(GLUT_WINDOW_HEIGHT) == size.height &&
                zruWindowWidth == size.width && zruWindowHeight == size.height) {
                // The GL's drawable catches up with a new window size at a
                // buffer swap; until then a frame lands in buffers of the old
                // size. One empty frame brings it up to date, as the display
                // passes of a running program do.
                zruOpenTelaFrame();
                zruCloseTelaFrame();
                return true;
            }
            if (requested && (zruWindowWidth != size.width || zruWindowHeight != size.height)) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    static ::testing::AssertionResult useWindowSize(WindowSize size)
    {
        if (size.width == fullScreen.width && size.height == fullScreen.height &&
            (glutGet(GLUT_SCREEN_WIDTH) != size.width || glutGet(GLUT_SCREEN_HEIGHT) != size.height)) {
            return ::testing::AssertionFailure()
                   << "the display must be " << sizeName(fullScreen) << ", it is "
                   << glutGet(GLUT_SCREEN_WIDTH) << "x" << glutGet(GLUT_SCREEN_HEIGHT);
        }
        // Until a size is asked for, the window is (or is still becoming)
        // full screen.
        static bool sizeRequested = false;
        if (!sizeRequested && size.width == fullScreen.width && size.height == fullScreen.height &&
            settle(size, false)) {
            return ::testing::AssertionSuccess();
        }
        if (glutGet(GLUT_WINDOW_WIDTH) == size.width && glutGet(GLUT_WINDOW_HEIGHT) == size.height &&
            settle(size, false)) {
            return ::testing::AssertionSuccess();
        }
        // Leaving full screen without a window manager can bring back the
        // window's earlier size first; a second request then holds.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const int requested[2] = {size.width, size.height};
            zruSetIntegerv(ZRU_WINDOW_SIZE, requested);
            sizeRequested = true;
            if (settle(size, true)) {
                return ::testing::AssertionSuccess();
            }
        }
        return ::testing::AssertionFailure()
               << "the window did not become " << sizeName(size) << ": it is " << glutGet(GLUT_WINDOW_WIDTH)
               << "x" << glutGet(GLUT_WINDOW_HEIGHT);
    }

    // Draws one frame the way the display callback does and reads it back.
    // The read comes before zruCloseTelaFrame swaps: the back buffer holds
    // exactly what this frame drew (after a swap its contents are undefined),
    // while the front buffer of an X window only holds the parts that are
    // visible on the screen.
    static Frame render(float epoch)
    {
        demo->epoch = epoch;
        Frame frame;
        frame.width = zruWindowWidth;
        frame.height = zruWindowHeight;
        frame.rgba.assign(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height) * 4, 0);
        zruOpenTelaFrame();
        demo->draw();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, frame.width, frame.height, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
        zruCloseTelaFrame();
        return frame;
    }

    void SetUp() override
    {
        ASSERT_EQ(zruCurrentTimeMillis(), 0) << "the clock is not pinned";
        ASSERT_EQ(frameDepth, 0);
        GLint bits[3] = {};
        glGetIntegerv(GL_RED_BITS, &bits[0]);
        glGetIntegerv(GL_GREEN_BITS, &bits[1]);
        glGetIntegerv(GL_BLUE_BITS, &bits[2]);
        ASSERT_EQ(bits[0], 8);
        ASSERT_EQ(bits[1], 8);
        ASSERT_EQ(bits[2], 8);
    }
};

petalDemo* PetalPixels::demo = nullptr;

// ---------------------------------------------------------------------------
// At t = 0 every rotation is the identity: nine squares, one per pass, stand
// across the window's plane on the row y = 300, their z = 0 sections at
// x = 120, 180, ..., 600 and 144 pixels (30 units x 4.8) tall. Each shows
// its pass colour blended over black by its eight coincident petals.

class RowOfSquares : public PetalPixels, public ::testing::WithParamInterface<WindowSize> {};

TEST_P(RowOfSquares, NineSquaresInTheirPassColoursOnTheCentreRow)
{
    const WindowSize size = GetParam();
    ASSERT_TRUE(useWindowSize(size));
    ASSERT_EQ(petalModel::sceneAngle(0, 0.0f), 0.0f);
    const Frame frame = render(0.0f);
    const auto petals = petalModel::projectScene(0.0, size.width, size.height, fieldOfView);

    for (int pass = 0; pass < petalModel::passCount; ++pass) {
        SCOPED_TRACE("pass " + std::to_string(pass));
        // The square's section by the z = 0 plane, in window pixels.
        const double sectionX = 360.0 + 4.8 * petalModel::passOffset(pass);
        ASSERT_DOUBLE_EQ(sectionX, 120.0 + 60.0 * pass);
        const int column = static_cast<int>(sectionX);

        // On the centre row the column shows this pass alone, eight times over.
        const auto verdict = petalModel::classify(petals, {column + 0.5, 300.5}, edgeMargin);
        ASSERT_TRUE(verdict.certain);
        ASSERT_EQ(verdict.coveringPasses, std::vector<int>(8, pass));
        const auto expected = blendOverBlack(std::vector<int>(8, pass));
        EXPECT_LE(channelDistance(frame.at(column, 300), expected), tolerance)
            << "at (" << column << ", 300): " << rgbText(frame.at(column, 300)) << ", expected "
            << rgbText(expected);

        // Up and down the column the square ends at its top and bottom edges:
        // each runs from the corner nearest the viewer (z = 72) to the
        // farthest (z = -72), and crosses the z = 0 plane at y = 372 and 228.
        const auto edgeY = [&](double y) {
            const Vec2 nearEnd =
                petalModel::projectPoint(sectionX, y, 72.0, size.width, size.height, fieldOfView);
            const Vec2 farEnd =
                petalModel::projectPoint(sectionX, y, -72.0, size.width, size.height, fieldOfView);
            const double u = (column + 0.5 - nearEnd.x) / (farEnd.x - nearEnd.x);
            return nearEnd.y + u * (farEnd.y - nearEnd.y);
        };
        const double top = edgeY(300.0 + 72.0);
        const double bottom = edgeY(300.0 - 72.0);
        const int threshold = expected[1] / 2;
        int lastLit = 300;
        while (lastLit + 1 < size.height && frame.at(column, lastLit + 1)[1] > threshold) {
            ++lastLit;
        }
        int firstLit = 300;
        while (firstLit > 0 && frame.at(column, firstLit - 1)[1] > threshold) {
            --firstLit;
        }
        // A pixel is lit when its centre (y + 0.5) lies inside the square.
        EXPECT_NEAR(lastLit + 0.5, top, 1.0) << "top of the square in column " << column;
        EXPECT_NEAR(firstLit + 0.5, bottom, 1.0) << "bottom of the square in column " << column;
    }
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, RowOfSquares, ::testing::Values(fullScreen, smaller),
                         [](const auto& info) { return "w" + sizeName(info.param); });

// ---------------------------------------------------------------------------
// Every pixel of the window, at several angles and both window sizes, against
// the scene projected through the Tela frame: the turns of the scene piled up
// in drawing order, centred on (360, 300) at 4.8 pixels per unit, blended in
// drawing order over the black clear. Pixels within the edge margin of any
// petal are the rasteriser's business and are skipped.

struct SceneCase {
    WindowSize size;
    float epoch;
};

class WholeScene : public PetalPixels, public ::testing::WithParamInterface<SceneCase> {};

TEST_P(WholeScene, EveryPixelMatchesTheProjectedScene)
{
    const SceneCase scene = GetParam();
    ASSERT_TRUE(useWindowSize(scene.size));
    const float angle = petalModel::sceneAngle(zruCurrentTimeMillis(), scene.epoch);
    const Frame frame = render(scene.epoch);
    const auto petals = petalModel::projectScene(angle, scene.size.width, scene.size.height, fieldOfView);

    long background = 0;
    long covered = 0;
    long mismatches = 0;
    std::vector<long> coveredByPass(petalModel::passCount, 0);
    std::string firstMismatches;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const auto verdict = petalModel::classify(petals, {x + 0.5, y + 0.5}, edgeMargin);
            if (!verdict.certain) {
                continue;
            }
            if (verdict.coveringPasses.empty()) {
                ++background;
            } else {
                ++covered;
            }
            for (int pass : verdict.coveringPasses) {
                ++coveredByPass[static_cast<size_t>(pass)];
            }
            const auto expected = blendOverBlack(verdict.coveringPasses);
            const auto actual = frame.at(x, y);
            if (channelDistance(actual, expected) > tolerance) {
                if (++mismatches <= 5) {
                    firstMismatches += "\n  (" + std::to_string(x) + ", " + std::to_string(y) +
                                       "): " + rgbText(actual) + ", expected " + rgbText(expected) +
                                       " under " + std::to_string(verdict.coveringPasses.size()) + " petals";
                }
            }
        }
    }
    std::string saved;
    if (mismatches > 0) {
        saved = frame.save("petalPixels-" + sizeName(scene.size) + "-t" + std::to_string(angle));
    }
    EXPECT_EQ(mismatches, 0) << "at t = " << angle << " in " << sizeName(scene.size) << firstMismatches
                             << "\n  frame written to " << saved;
    // The comparison must have seen the figure and the background, and
    // every pass of the figure.
    const long windowPixels = static_cast<long>(frame.width) * frame.height;
    EXPECT_GT(covered, windowPixels / 50);
    EXPECT_GT(background, windowPixels / 2);
    for (int pass = 0; pass < petalModel::passCount; ++pass) {
        EXPECT_GT(coveredByPass[static_cast<size_t>(pass)], 200) << "pass " << pass;
    }
}

// Epochs for t = 0, 37.5, 90 and 151.25 degrees, and for several full turns.
INSTANTIATE_TEST_SUITE_P(AnglesAndSizes, WholeScene,
                         ::testing::Values(SceneCase{fullScreen, 0.0f}, SceneCase{fullScreen, -15000.0f},
                                           SceneCase{fullScreen, -36000.0f}, SceneCase{fullScreen, -60500.0f},
                                           SceneCase{smaller, 0.0f}, SceneCase{smaller, -15000.0f},
                                           SceneCase{smaller, -36000.0f}, SceneCase{smaller, -1000000.0f}),
                         [](const auto& info) {
                             return "w" + sizeName(info.param.size) + "_epoch" +
                                    std::to_string(static_cast<long>(-info.param.epoch));
                         });

} // namespace
