#include "petalModel.h"

#include "matrix4.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace petalModel {

namespace {

constexpr double pi = 3.14159265358979323846;

using matrix4::apply;
using matrix4::Mat4;
using matrix4::rotation;
using matrix4::scaling;
using matrix4::translation;

double cross(Vec2 a, Vec2 b, Vec2 p)
{
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

double distanceToSegment(Vec2 a, Vec2 b, Vec2 p)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double u = 0.0;
    if (lengthSquared > 0.0) {
        u = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    }
    return std::hypot(p.x - (a.x + u * dx), p.y - (a.y + u * dy));
}

} // namespace

float sceneAngle(int ticks, float epoch)
{
    const double elapsed = static_cast<double>(ticks) - static_cast<double>(epoch);
    return static_cast<float>(elapsed * static_cast<double>(0.0025f));
}

Rgb hsbToRgb(double hue, double saturation, double brightness)
{
    const double h6 = (hue - std::floor(hue)) * 6.0;
    const double sector = std::floor(h6);
    const double f = h6 - sector;
    const double p = brightness * (1.0 - saturation);
    const double q = brightness * (1.0 - saturation * f);
    const double t = brightness * (1.0 - saturation * (1.0 - f));
    const double b = brightness;
    switch (static_cast<int>(sector)) {
    case 0: return {b, t, p};
    case 1: return {q, b, p};
    case 2: return {p, b, t};
    case 3: return {p, q, b};
    case 4: return {t, p, b};
    default: return {b, p, q};
    }
}

Rgb passColour(int pass)
{
    const float fuzz = static_cast<float>(pass);
    const float hue = static_cast<float>(fuzz * 0.025f + 0.2);
    return hsbToRgb(hue, 0.8f, 0.8f);
}

float passOffset(int pass)
{
    return static_cast<float>(pass) * 100.0f * 0.125f + -100.0f * 0.5f;
}

Vec2 projectPoint(double x, double y, double z, int width, int height, double fovDegrees)
{
    const double halfWidth = width * 0.5;
    const double halfHeight = height * 0.5;
    const double eyeDistance = halfHeight / std::tan(fovDegrees * pi / 360.0);
    const double toPlane = eyeDistance / (eyeDistance - z);
    return {halfWidth + (x - halfWidth) * toPlane, halfHeight + (y - halfHeight) * toPlane};
}

std::vector<ProjectedPetal> projectScene(double angleDegrees, int width, int height, double fovDegrees)
{
    static const double axes[7][3] = {
        {1, 1, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0},
    };
    // The turns pile up on one matrix through all nine passes.
    Mat4 modelView = scaling(0.3, 0.3, 0.3) * translation(1200, 1000, 0) * scaling(16, 16, 16) *
                     rotation(angleDegrees, 1, 0, 0);
    std::vector<ProjectedPetal> petals;
    for (int pass = 0; pass < passCount; ++pass) {
        const double x = passOffset(pass);
        for (int petal = 0; petal < petalsPerPass; ++petal) {
            if (petal > 0) {
                const double* axis = axes[petal - 1];
                modelView = modelView * rotation(angleDegrees, axis[0], axis[1], axis[2]);
            }
            static const double corners[4][2] = {{-15, 15}, {-15, -15}, {15, -15}, {15, 15}};
            ProjectedPetal projected{};
            projected.pass = pass;
            for (size_t i = 0; i < 4; ++i) {
                const auto world = apply(modelView, x, corners[i][0], corners[i][1]);
                projected.corners[i] = projectPoint(world[0], world[1], world[2], width, height, fovDegrees);
            }
            const auto& c = projected.corners;
            std::tie(projected.minX, projected.maxX) = std::minmax({c[0].x, c[1].x, c[2].x, c[3].x});
            std::tie(projected.minY, projected.maxY) = std::minmax({c[0].y, c[1].y, c[2].y, c[3].y});
            petals.push_back(projected);
        }
    }
    return petals;
}

PixelVerdict classify(const std::vector<ProjectedPetal>& petals, Vec2 point, double margin)
{
    PixelVerdict verdict{true, {}};
    for (const ProjectedPetal& petal : petals) {
        if (point.x < petal.minX - margin || point.x > petal.maxX + margin || point.y < petal.minY - margin ||
            point.y > petal.maxY + margin) {
            continue;
        }
        const auto& c = petal.corners;
        bool anyPositive = false;
        bool anyNegative = false;
        for (size_t i = 0; i < 4; ++i) {
            const Vec2 a = c[i];
            const Vec2 b = c[(i + 1) % 4];
            if (distanceToSegment(a, b, point) < margin) {
                return {false, {}};
            }
            const double side = cross(a, b, point);
            anyPositive = anyPositive || side > 0.0;
            anyNegative = anyNegative || side < 0.0;
        }
        // A projected square is convex: inside means on the same side of all four edges.
        if (!(anyPositive && anyNegative)) {
            verdict.coveringPasses.push_back(petal.pass);
        }
    }
    return verdict;
}

std::array<int, 3> blendOverBlack(const std::vector<int>& coveringPasses)
{
    // The colour and alpha reach the blender in the framebuffer's 8-bit
    // steps, and every blend is stored rounded to 8 bits.
    const auto toSteps = [](double value) { return static_cast<int>(std::lround(value * 255.0)); };
    const int a = toSteps(alpha);
    std::array<int, 3> pixel{0, 0, 0};
    for (int pass : coveringPasses) {
        const Rgb colour = passColour(pass);
        const int source[3] = {toSteps(colour.r), toSteps(colour.g), toSteps(colour.b)};
        for (size_t i = 0; i < 3; ++i) {
            const double blended = (source[i] * a + pixel[i] * (255 - a)) / 255.0;
            pixel[i] = static_cast<int>(std::lround(blended));
        }
    }
    return pixel;
}

} // namespace petalModel
