// The sketch pad's application module: the class and the two names that
// every application module publishes.
#include "sketchPad.h"

#include <GL/glut.h>

sketchPad::sketchPad()
{
    for (int i = 0; i < 3; ++i) {
        zruWindowBgColor[i] = paper[i];
    }
}

void sketchPad::draw()
{
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glLineWidth(strokeWidth);
    glPointSize(strokeWidth);
    for (const stroke& s : strokes) {
        zruColorHsb(s.hue, saturation, brightness, 1.0f);
        // Each position names a pixel; the line runs through pixel centres.
        // The line strip draws the segments and the points fill the joints
        // (and make a click without a drag a dot).
        for (GLenum mode : {GL_LINE_STRIP, GL_POINTS}) {
            glBegin(mode);
            for (const point& p : s.points) {
                glVertex3f(p.x + 0.5f, p.y + 0.5f, 0.0f);
            }
            glEnd();
        }
    }
}

void sketchPad::mouseDown(float x, float y, int button)
{
    if (button != GLUT_LEFT_BUTTON) {
        return;
    }
    painting = true;
    strokes.push_back(stroke{hue, {point{x, y}}});
}

void sketchPad::mouseDrag(float x, float y, int)
{
    extendStroke(x, y);
}

void sketchPad::mouseUp(float x, float y, int button)
{
    if (button != GLUT_LEFT_BUTTON) {
        return;
    }
    extendStroke(x, y);
    painting = false;
}

void sketchPad::keyDown(char key)
{
    if (key == colourKey) {
        hue += hueStep;
        if (hue >= 1.0f) {
            hue -= 1.0f;
        }
        return;
    }
    zrApp::keyDown(key);
}

void sketchPad::extendStroke(float x, float y)
{
    if (!painting || strokes.empty()) {
        return;
    }
    std::vector<point>& points = strokes.back().points;
    if (points.back().x != x || points.back().y != y) {
        points.push_back(point{x, y});
    }
}

zrApp* makeApp(void)
{
    return new sketchPad();
}

const char my_type[4] = "App";
