// The application class, its module state and the GLUT callbacks that turn
// window events into calls of the application object's virtual operations.
#include "zruInternal.h"

#include <GL/glut.h>

#include <cmath>
#include <cstdio>
#include <limits>

zrApp* apps[10] = {};
int aafullScreen = 1; // zruOpen makes the window full screen
int aahaveShrunk = 0;
int aaWinX = 0;
int aaWinY = 0;
int aaWinW = 0;
int aaWinH = 0;
int aafullWidth = 0;
int aafullHeight = 0;
int aaLastMouseButton = 0;
int aaGrabCount = 0;
unsigned char aaValidWindowSize = 0;

namespace {

constexpr int appSlots = static_cast<int>(sizeof apps / sizeof apps[0]);

bool hasAppSlot(int windowId)
{
    return windowId >= 1 && windowId < appSlots;
}

// Every callback finds its object here, afresh for each call; a window with
// no slot or an empty slot has no object and its events are dropped.
zrApp* currentApp()
{
    const int windowId = glutGetWindow();
    return hasAppSlot(windowId) ? apps[windowId] : nullptr;
}

// Clamps a 64-bit result into the int range.
int clampToInt(long long value)
{
    constexpr long long lowest = std::numeric_limits<int>::min();
    constexpr long long highest = std::numeric_limits<int>::max();
    return static_cast<int>(value < lowest ? lowest : (value > highest ? highest : value));
}

void bindToCurrentWindow(zrApp* app)
{
    const int windowId = glutGetWindow();
    if (hasAppSlot(windowId)) {
        apps[windowId] = app;
    } else {
        char message[80];
        std::snprintf(message, sizeof message, "zrApp: window %d has no application slot", windowId);
        zruDebug(2, message);
    }
    glutDisplayFunc(display_cb);
    glutMouseFunc(mouse_cb);
    glutMotionFunc(motion_cb);
    glutPassiveMotionFunc(passive_motion_cb);
    glutIdleFunc(idle_cb);
    glutKeyboardFunc(keyboard_cb);
    glutSpecialFunc(special_key_cb);
    glutReshapeFunc(reshape_cb);
}

} // namespace

float flipMouseY(int y, int windowHeight)
{
    // In 64 bits, so that no window height or position can overflow.
    return static_cast<float>(static_cast<long long>(windowHeight) - 1 - y);
}

int truncToInt(float value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= static_cast<float>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    if (value >= static_cast<float>(std::numeric_limits<int>::max())) { // 2^31 as a float
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

// ---------------------------------------------------------------------------
// zrApp

zrApp::zrApp() : X(0.0f), Y(0.0f), W(100.0f), H(100.0f)
{
    aaGrabCount = -1;
    aaValidWindowSize = 0;
}

void zrApp::idle() {}

void zrApp::draw() {}

void zrApp::selfStart()
{
    bindToCurrentWindow(this);
    int size[2] = {0, 0};
    zruGetIntegerv(ZRU_WINDOW_SIZE, size);
    resize(0.0f, 0.0f, static_cast<float>(size[0]), static_cast<float>(size[1]));
    setFocus(true);
    glutMainLoop();
}

void zrApp::subStart()
{
    bindToCurrentWindow(this);
}

void zrApp::setFocus(bool /*focused*/) {}

void zrApp::setParent(void* /*parent*/) {}

void zrApp::resize(float x, float y, float w, float h)
{
    X = x;
    Y = y;
    W = w;
    H = h;
}

bool zrApp::pointInside(float x, float y)
{
    return x >= 0.0f && y >= 0.0f && x < W && y < H; // NaN fails every comparison
}

void zrApp::mouseMove(float /*x*/, float /*y*/) {}

void zrApp::mouseDown(float /*x*/, float /*y*/, int /*button*/) {}

void zrApp::mouseDrag(float /*x*/, float /*y*/) {}

void zrApp::mouseDrag(float /*x*/, float /*y*/, int /*button*/) {}

void zrApp::mouseUp(float /*x*/, float /*y*/, int /*button*/) {}

void zrApp::keyDown(char key)
{
    if (key == 27) { // Esc
        zruClose();
    }
}

void zrApp::specialKeyDown(int key)
{
    if (key != GLUT_KEY_F1) {
        return;
    }
    if (aafullScreen != 0) {
        if (aahaveShrunk == 0) {
            // The first window is derived from the full-screen size once.
            aahaveShrunk = 1;
            aaWinX = 35;
            aaWinY = 55;
            aaWinW = clampToInt(static_cast<long long>(zruWindowWidth) - 70);
            aaWinH = clampToInt(static_cast<long long>(zruWindowHeight) - 90);
        }
        aafullScreen = 0;
        aafullWidth = truncToInt(W);
        aafullHeight = truncToInt(H);
        const int size[2] = {aaWinW, aaWinH};
        zruSetIntegerv(ZRU_WINDOW_SIZE, size); // a reshape request also leaves full screen
        glutPositionWindow(aaWinX, aaWinY);
    } else {
        aafullScreen = 1;
        aaWinX = glutGet(GLUT_WINDOW_X);
        aaWinY = glutGet(GLUT_WINDOW_Y);
        aaWinW = truncToInt(W);
        aaWinH = truncToInt(H);
        glutFullScreen();
    }
}

// ---------------------------------------------------------------------------
// GLUT callbacks

void display_cb()
{
    zrApp* app = currentApp();
    if (app == nullptr) {
        return;
    }
    // Nothing is drawn until the window has had a width; after that, always.
    if (aaValidWindowSize == 0) {
        aaValidWindowSize = zruGetInteger(ZRU_WINDOW_WIDTH) != 0 ? 1 : 0;
    }
    if (aaValidWindowSize != 0) {
        zruOpenTelaFrame();
        app->draw();
        zruCloseTelaFrame();
    }
}

void mouse_cb(int button, int state, int x, int y)
{
    zrApp* app = currentApp();
    if (app == nullptr) {
        return;
    }
    const float fx = static_cast<float>(x);
    const float fy = flipMouseY(y, zruWindowHeight);
    if (state == GLUT_DOWN) {
        app->mouseDown(fx, fy, button);
    } else if (state == GLUT_UP) {
        app->mouseUp(fx, fy, button);
    }
    // After the handler, so that it still sees the previous button.
    aaLastMouseButton = button;
}

void motion_cb(int x, int y)
{
    // Looked up and converted afresh for each call: the first handler may
    // change the window or its size.
    if (zrApp* app = currentApp()) {
        app->mouseDrag(static_cast<float>(x), flipMouseY(y, zruWindowHeight));
    }
    if (zrApp* app = currentApp()) {
        app->mouseDrag(static_cast<float>(x), flipMouseY(y, zruWindowHeight), aaLastMouseButton);
    }
}

void passive_motion_cb(int x, int y)
{
    if (zrApp* app = currentApp()) {
        app->mouseMove(static_cast<float>(x), flipMouseY(y, zruWindowHeight));
    }
}

void idle_cb()
{
    if (zrApp* app = currentApp()) {
        app->idle();
        glutPostRedisplay();
    }
}

void keyboard_cb(unsigned char key, int /*x*/, int /*y*/)
{
    if (zrApp* app = currentApp()) {
        app->keyDown(static_cast<char>(key));
    }
}

void special_key_cb(int key, int /*x*/, int /*y*/)
{
    if (zrApp* app = currentApp()) {
        app->specialKeyDown(key);
    }
}

void reshape_cb(int width, int height)
{
    if (zrApp* app = currentApp()) {
        zruWindowWidth = width;
        zruWindowHeight = height;
        app->resize(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    }
}
