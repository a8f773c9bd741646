// Long runs: the demo after about 24.8 days, when GLUT's int clock reaches
// the end of its range (and beyond, where it wraps to negative readings).
// The clock is pinned through the recording double; each case runs one
// whole display pass through the registered callback and replays the
// modelview transformations the scene issued, so the check is on where the
// petals end up, not on the calls alone. Run in the sanitized build,
// UndefinedBehaviorSanitizer reports any overflow or bad conversion on the way.
#include "glDouble.h"
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

// Column-major 4 x 4 matrices, as GL keeps them.
using Matrix = std::array<double, 16>;

Matrix identity()
{
    Matrix m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

Matrix multiply(const Matrix& a, const Matrix& b)
{
    Matrix r{};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[col * 4 + k];
            }
            r[col * 4 + row] = sum;
        }
    }
    return r;
}

Matrix scaling(double x, double y, double z)
{
    Matrix m = identity();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Matrix translation(double x, double y, double z)
{
    Matrix m = identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

// The rotation glRotatef makes: angle in degrees about a normalised axis.
Matrix rotation(double degrees, double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    x /= length;
    y /= length;
    z /= length;
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double t = 1.0 - c;
    Matrix m = identity();
    m[0] = x * x * t + c;
    m[1] = y * x * t + z * s;
    m[2] = x * z * t - y * s;
    m[4] = x * y * t - z * s;
    m[5] = y * y * t + c;
    m[6] = y * z * t + x * s;
    m[8] = x * z * t + y * s;
    m[9] = y * z * t - x * s;
    m[10] = z * z * t + c;
    return m;
}

struct Point {
    double x, y, z;
};

// Replays the recorded modelview transformations and returns every vertex
// in window-pixel space. The frame leaves the identity modelview current,
// so the replay starts from it at the frame's last glLoadIdentity.
std::vector<Point> transformedVertices()
{
    Matrix modelview = identity();
    std::vector<Matrix> stack;
    bool modelviewMode = true;
    std::vector<Point> points;
    for (const glDouble::Call& call : glDouble::calls()) {
        const std::vector<double>& a = call.args;
        if (call.name == "glMatrixMode") {
            modelviewMode = a[0] == GL_MODELVIEW;
        } else if (!modelviewMode) {
            continue;
        } else if (call.name == "glLoadIdentity") {
            modelview = identity();
        } else if (call.name == "glPushMatrix") {
            stack.push_back(modelview);
        } else if (call.name == "glPopMatrix") {
            modelview = stack.back();
            stack.pop_back();
        } else if (call.name == "glScalef") {
            modelview = multiply(modelview, scaling(a[0], a[1], a[2]));
        } else if (call.name == "glTranslatef") {
            modelview = multiply(modelview, translation(a[0], a[1], a[2]));
        } else if (call.name == "glRotatef") {
            modelview = multiply(modelview, rotation(a[0], a[1], a[2], a[3]));
        } else if (call.name == "glVertex3f") {
            const Matrix& m = modelview;
            points.push_back({m[0] * a[0] + m[4] * a[1] + m[8] * a[2] + m[12],
                              m[1] * a[0] + m[5] * a[1] + m[9] * a[2] + m[13],
                              m[2] * a[0] + m[6] * a[1] + m[10] * a[2] + m[14]});
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
