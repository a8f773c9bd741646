// Framework internals shared between the zru modules (and their tests):
// the frame steps, the view arithmetic and the GLUT callbacks.
#ifndef ZRU_INTERNAL_H
#define ZRU_INTERNAL_H

#include "zru.h"

// The view constants of a top-level Tela frame for one window size.
struct TelaView {
    float halfWidth;
    float halfHeight;
    float eyeDistance;
    float nearPlane;
    float farPlane;
    float aspect;
};

// The constants that every frame uses before the first window size is seen.
constexpr TelaView initialTelaView = {320.0f, 240.0f, 100.0f, 10.0f, 1000.0f, 4.0f / 3.0f};

// Pure view arithmetic: the eye sits where the z = 0 plane maps one unit to
// one pixel at the given vertical field of view (degrees).
TelaView computeTelaView(int width, int height, float fovDegrees);

// Mouse y from GLUT's top-left origin to the framework's bottom-left origin.
float flipMouseY(int y, int windowHeight);

// Converts to int by truncation toward zero; NaN gives 0, and values beyond
// the int range give its nearest end.
int truncToInt(float value);

void frameStepUp();
void frameStepDown();
void updateTelaViewConstants();

// GLUT callbacks of the core.
void reshape(int width, int height);
void winddown_cb();

// GLUT callbacks of the application layer.
void display_cb();
void mouse_cb(int button, int state, int x, int y);
void motion_cb(int x, int y);
void passive_motion_cb(int x, int y);
void idle_cb();
void keyboard_cb(unsigned char key, int x, int y);
void special_key_cb(int key, int x, int y);
void reshape_cb(int width, int height);

#endif // ZRU_INTERNAL_H
