// sketchPad: a small drawing program. Dragging with the left button paints a
// stroke under the pointer; the key 'c' turns the hue of the next strokes one
// step further round the colour wheel. Esc quits and F1 switches between full
// screen and a window, as in every zrApp.
#ifndef SKETCH_PAD_H
#define SKETCH_PAD_H

#include "zru.h"

#include <vector>

class sketchPad final : public zrApp {
public:
    // The key that moves on to the next stroke colour.
    static constexpr char colourKey = 'c';
    // Hue turn per press of colourKey; eight presses come back to red.
    static constexpr float hueStep = 0.125f;
    static constexpr float saturation = 0.85f;
    static constexpr float brightness = 0.9f;
    // Stroke width in pixels.
    static constexpr float strokeWidth = 6.0f;
    // The paper: the window's clear colour.
    static constexpr float paper[3] = {0.95f, 0.95f, 0.9f};

    // A pointer position in window pixels, lower-left origin, y up.
    struct point {
        float x, y;
    };
    struct stroke {
        float hue;
        std::vector<point> points;
    };

    // Hue of the next stroke, in turns.
    float hue = 0.0f;
    // Everything painted so far, oldest first. The frame clears on every
    // pass, so draw() paints all of it each time.
    std::vector<stroke> strokes;
    // True between a left-button press and its release.
    bool painting = false;

    sketchPad();

    void draw() override;
    void mouseDown(float x, float y, int button) override;
    using zrApp::mouseDrag;
    void mouseDrag(float x, float y, int button) override;
    void mouseUp(float x, float y, int button) override;
    void keyDown(char key) override;

private:
    void extendStroke(float x, float y);
};

#endif // SKETCH_PAD_H
