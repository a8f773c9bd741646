// Long runs: the demo after about 24.8 days, when GLUT's int clock reaches
// the end of its range (and beyond, where it wraps to negative readings).
// The clock is pinned through the recording double; each case runs one
// whole display pass through the registered callback and replays the
// modelview transformations the scene issued, so the check is on where the
// petals end up, not on the calls alone. Run in the sanitized build,
// UndefinedBehaviorSanitizer reports any overflow or bad conversion on the way.
#include "glDouble.h"
#include "matrix4.h"
#include "petalDemo.h"
#include "zruInternal.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

namespace {

using matrix4::Mat4;

struct Point {
    double x, y, z;
};

// Replays the recorded modelview transformations and returns every vertex
// in window-pixel space. The frame leaves the identity modelview current,
// so the replay starts from it at the frame's last glLoadIdentity.
std::vector<Point> transformedVertices()
{
    Mat4 modelview = matrix4::identity();
    std::vector<Mat4> stack;
    bool modelviewMode = true;
    std::vector<Point> points;
    for (const glDouble::Call& call : glDouble::calls()) {
        const std::vector<double>& a = call.args;
        if (call.name == "glMatrixMode") {
            modelviewMode = a[0] == GL_MODELVIEW;
        } else if (!modelviewMode) {
            continue;
        } else if (call.name == "glLoadIdentity") {
            modelview = matrix4::identity();
        } else if (call.name == "glPushMatrix") {
            stack.push_back(modelview);
        } else if (call.name == "glPopMatrix") {
            modelview = stack.back();
            stack.pop_back();
        } else if (call.name == "glScalef") {
            modelview = modelview * matrix4::scaling(a[0], a[1], a[2]);
        } else if (call.name == "glTranslatef") {
            modelview = modelview * matrix4::translation(a[0], a[1], a[2]);
        } else if (call.name == "glRotatef") {
            modelview = modelview * matrix4::rotation(a[0], a[1], a[2], a[3]);
        } else if (call.name == "glVertex3f") {
            const auto p = matrix4::apply(modelview, a[0], a[1], a[2]);
            points.push_back({p[0], p[1], p[2]});
        }
    }
    return points;
}

struct LongRunCase {
    const char* name;
    int startMillis; // GLUT's clock when the demo object is made
    int frameMillis; // GLUT's clock at the display pass
    int startStep;   // zruTimeStep at each of the two readings
    int frameStep;
};

// Restores the clock step whatever a case leaves behind.
struct TimeStepGuard {
    ~TimeStepGuard() { zruTimeStep = 1; }
};

// One display pass at the case's clock readings, checked whole.
void checkLongRun(const LongRunCase& c)
{
    TimeStepGuard restoreStep;
    glDouble::reset();
    for (zrApp*& slot : apps) {
        slot = nullptr;
    }
    zruScreenFov = 60.0f;
    zruWindowClear = true;
    frameDepth = 0;

    zruTimeStep = c.startStep;
    glDouble::setGet(GLUT_ELAPSED_TIME, c.startMillis);
    petalDemo demo;
    glDouble::setWindow(1);
    demo.subStart();
    glDouble::callbacks().reshape(1024, 768);

    zruTimeStep = c.frameStep;
    glDouble::setGet(GLUT_ELAPSED_TIME, c.frameMillis);
    glDouble::clearCalls();
    glDouble::callbacks().display();

    // One whole, balanced frame.
    EXPECT_EQ(frameDepth, 0);
    EXPECT_EQ(glDouble::callsNamed("glutSwapBuffers").size(), 1u);
    EXPECT_EQ(glDouble::callsNamed("glBegin").size(), 72u);
    EXPECT_EQ(glDouble::callsNamed("glEnd").size(), 72u);

    // Every turn by the same finite angle: the clock's ticks since the demo
    // started, at 0.0025 degree each, never reduced modulo 360. The start is
    // kept as a float, which rounds a large one to within 128 ticks.
    // (INT_MIN / -1 is the one tick count outside the int range; there only
    // finiteness is asked.)
    const auto rotations = glDouble::callsNamed("glRotatef");
    ASSERT_EQ(rotations.size(), 64u);
    for (const auto& r : rotations) {
        ASSERT_TRUE(std::isfinite(r.args[0]));
        EXPECT_EQ(r.args[0], rotations[0].args[0]);
    }
    const long long startTicks = c.startMillis / static_cast<long long>(c.startStep);
    const long long frameTicks = c.frameMillis / static_cast<long long>(c.frameStep);
    if (frameTicks <= INT_MAX && startTicks <= INT_MAX) {
        const double expectedAngle =
            (static_cast<double>(frameTicks) - static_cast<double>(startTicks)) * 0.0025;
        EXPECT_NEAR(rotations[0].args[0], expectedAngle, std::abs(expectedAngle) * 1e-6 + 128 * 0.0025);
    }

    // 288 vertices, all finite, none farther from the centre pixel (360, 300)
    // than the farthest petal corner: (50, 15, 15) petal units at 4.8 pixels
    // per unit; the turns move the petals, never away from the centre.
    const std::vector<Point> points = transformedVertices();
    ASSERT_EQ(points.size(), 288u);
    const double reach = 4.8 * std::sqrt(50.0 * 50.0 + 15.0 * 15.0 + 15.0 * 15.0);
    double farthest = 0.0;
    for (const Point& p : points) {
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
        const double distance =
            std::sqrt((p.x - 360.0) * (p.x - 360.0) + (p.y - 300.0) * (p.y - 300.0) + p.z * p.z);
        EXPECT_LE(distance, reach + 1e-3);
        farthest = std::max(farthest, distance);
    }
    // The outermost passes (offset 50) keep their full distance: the figure
    // has not collapsed onto its centre.
    EXPECT_GT(farthest, 4.8 * 50.0);
}

const LongRunCase longRunCases[] = {
    {"day zero", 0, 1000, 1, 1},
    {"clock at INT_MAX, about 24.8 days", 0, INT_MAX, 1, 1},
    {"started late, clock at INT_MAX", INT_MAX - 1000, INT_MAX, 1, 1},
    {"clock wrapped to INT_MIN", 0, INT_MIN, 1, 1},
    {"started at INT_MAX, clock wrapped", INT_MAX, INT_MIN, 1, 1},
    {"started at INT_MIN, clock at INT_MAX", INT_MIN, INT_MAX, 1, 1},
    {"step -1, clock at INT_MAX", 0, INT_MAX, -1, -1},
    {"step -1, clock at INT_MIN", 0, INT_MIN, 1, -1},
    {"step 1000, clock at INT_MAX", 5, INT_MAX, 1000, 1000},
};

TEST(LongRun, DrawsAllPetalsAroundTheCentreWithFiniteGeometry)
{
    for (const LongRunCase& c : longRunCases) {
        SCOPED_TRACE(c.name);
        checkLongRun(c);
    }
}

} // namespace
