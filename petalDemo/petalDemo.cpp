// The petal demo's application module: the class, its picture, and the two
// names that every application module publishes.
#include "petalDemo.h"

#include <GL/glut.h>

namespace {

constexpr float degreesPerTick = 0.0025f;
constexpr int passes = 9;

// The axes of the seven turns between the petals of one pass, in order.
constexpr float petalAxes[7][3] = {
    {1.0f, 1.0f, 1.0f}, {0.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 0.0f},
    {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f},
};

// One petal: a square of side 30 across the x axis at distance x. The first
// petal of a pass sets the pass's colour; the others keep it.
void drawPetal(float x, const float* passHue = nullptr)
{
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    if (passHue != nullptr) {
        zruColorHsb(*passHue, 0.8f, 0.8f, 0.15f);
    }
    glVertex3f(x, -15.0f, 15.0f);
    glVertex3f(x, -15.0f, -15.0f);
    glVertex3f(x, 15.0f, -15.0f);
    glVertex3f(x, 15.0f, 15.0f);
    glEnd();
}

} // namespace

petalDemo::petalDemo() : epoch(static_cast<float>(zruCurrentTimeMillis())) {}

void petalDemo::draw()
{
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // Together: centre on pixel (360, 300), 4.8 pixels per petal unit.
    glScalef(0.3f, 0.3f, 0.3f);
    glTranslatef(1200.0f, 1000.0f, 0.0f);
    glScalef(16.0f, 16.0f, 16.0f);

    const double ticks = static_cast<double>(zruCurrentTimeMillis()) - static_cast<double>(epoch);
    const float t = static_cast<float>(ticks * static_cast<double>(degreesPerTick));

    // The turns accumulate on the modelview matrix for the whole call; the
    // next frame reloads the identity.
    glRotatef(t, 1.0f, 0.0f, 0.0f);
    for (int pass = 0; pass < passes; ++pass) {
        const float fuzz = static_cast<float>(pass);
        const float x = fuzz * 100.0f * 0.125f + -100.0f * 0.5f;
        const float hue = static_cast<float>(fuzz * 0.025f + 0.2);
        drawPetal(x, &hue);
        for (const auto& axis : petalAxes) {
            glRotatef(t, axis[0], axis[1], axis[2]);
            drawPetal(x);
        }
    }
}

zrApp* makeApp(void)
{
    return new petalDemo();
}

const char my_type[4] = "App";
