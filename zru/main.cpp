// The framework core: lifecycle, settings and their state interface,
// diagnostics and the drawing frames.
#include "zruInternal.h"

#include <GL/glut.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// Settings, at their values before zruOpen.
int zruDisplayMode = GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH;
char zruResourceLocation[256] = {};
int zruWindowWidth = 0;
int zruWindowHeight = 0;
bool zruWindowClear = false;
float zruWindowBgColor[3] = {0.0f, 0.0f, 0.0f};
int zruDebugLevel = 0;
char* zruDebugStr = nullptr;
float zruScreenNear = 0.0f;
float zruScreenFar = 0.0f;
float zruScreenFov = 0.0f;
int zruScreenGrabQuality = 0;
int zruScreenGrabFormat = 0;
int zruScreenGrabX = 0;
int zruScreenGrabY = 0;
int zruScreenGrabWidth = 0;
int zruScreenGrabHeight = 0;
bool zruScreenGrabFlip = false;
unsigned char* zruScreenGrabBuffer = nullptr;
unsigned char* zruScreenGrabFlipper = nullptr;
int zruTimeStep = 1;
bool zruVideoOpened = false;
bool zruVideoMirrorImage = false;
int zruVideoWidth = 0;
int zruVideoHeight = 0;
int zruVideoArrayWidth = 0;
int zruVideoArrayHeight = 0;
int zruVideoFPS = 0;
int zruVideoProxyCount = 0;
bool zruVideoProxyRepeating = false;
int zruVideoProxyRawWidth = 0;
int zruVideoProxyRawHeight = 0;
void* zruTesselator = nullptr;
bool zruTextInited = false;
int frameDepth = 0;

namespace {

int windDownCount = 0;

// The view constants belong to this window size; (0, 0) until a top-level
// frame first sees another.
int lastFrameWidth = 0;
int lastFrameHeight = 0;
TelaView tela = initialTelaView;

// One entry of the state-code table: the settings a code reads or writes,
// in array order.
struct StateCode {
    short code;
    bool settable;
    int count;
    int* settings[4];
};

const StateCode stateCodes[] = {
    {ZRU_DEBUG_LEVEL, true, 1, {&zruDebugLevel}},
    {ZRU_WINDOW_WIDTH, false, 1, {&zruWindowWidth}},
    {ZRU_WINDOW_HEIGHT, false, 1, {&zruWindowHeight}},
    {ZRU_WINDOW_SIZE, true, 2, {&zruWindowWidth, &zruWindowHeight}},
    {ZRU_SCREEN_GRAB_QUALITY, true, 1, {&zruScreenGrabQuality}},
    {ZRU_SCREEN_GRAB_FORMAT, true, 1, {&zruScreenGrabFormat}},
    {ZRU_SCREEN_GRAB_X, true, 1, {&zruScreenGrabX}},
    {ZRU_SCREEN_GRAB_Y, true, 1, {&zruScreenGrabY}},
    {ZRU_SCREEN_GRAB_WIDTH, true, 1, {&zruScreenGrabWidth}},
    {ZRU_SCREEN_GRAB_HEIGHT, true, 1, {&zruScreenGrabHeight}},
    // clang-format off
    {ZRU_SCREEN_GRAB_RECT, true, 4, {&zruScreenGrabX, &zruScreenGrabY, &zruScreenGrabWidth, &zruScreenGrabHeight}},
    // clang-format on
    {ZRU_TIME_STEP, true, 1, {&zruTimeStep}},
    {ZRU_VIDEO_WIDTH, false, 1, {&zruVideoWidth}},
    {ZRU_VIDEO_HEIGHT, false, 1, {&zruVideoHeight}},
    {ZRU_VIDEO_SIZE, false, 2, {&zruVideoWidth, &zruVideoHeight}},
    {ZRU_VIDEO_ARRAY_WIDTH, true, 1, {&zruVideoArrayWidth}},
    {ZRU_VIDEO_ARRAY_HEIGHT, true, 1, {&zruVideoArrayHeight}},
    {ZRU_VIDEO_ARRAY_SIZE, true, 2, {&zruVideoArrayWidth, &zruVideoArrayHeight}},
    {ZRU_VIDEO_FPS, true, 1, {&zruVideoFPS}},
    {ZRU_VIDEO_PROXY_COUNT, true, 1, {&zruVideoProxyCount}},
    {ZRU_VIDEO_PROXY_RAW_WIDTH, true, 1, {&zruVideoProxyRawWidth}},
    {ZRU_VIDEO_PROXY_RAW_HEIGHT, true, 1, {&zruVideoProxyRawHeight}},
};

const StateCode* findStateCode(short code)
{
    for (const StateCode& entry : stateCodes) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

void zruOpen(void)
{
    // GLUT gets a fixed one-word command line; the process's own is ignored.
    static char programName[] = "zru";
    static char* argv[] = {programName, nullptr};
    int argc = 1;

    zruWindowWidth = 0;
    zruWindowHeight = 0;
    frameDepth = 0;
    std::strcpy(zruResourceLocation, "C:/zrWindow/");

    glutInit(&argc, argv);
    glutInitDisplayMode(static_cast<unsigned int>(zruDisplayMode));
    glutCreateWindow(programName);
    glutFullScreen();
    glutReshapeFunc(reshape);

    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    zruDebugLevel = 3;
    zruDebugStr = new char[64]();
    zruWindowClear = true;
    zruWindowBgColor[0] = zruWindowBgColor[1] = zruWindowBgColor[2] = 0.0f;
    zruVideoOpened = false;
    zruVideoMirrorImage = false;
    zruVideoProxyCount = -1;
    zruVideoProxyRepeating = false;
    zruVideoProxyRawWidth = 0;
    zruVideoProxyRawHeight = 0;
    zruVideoFPS = 15;
    zruTesselator = nullptr;
    zruTextInited = false;
    zruTextInit();

    zruScreenNear = 1.5f;
    zruScreenFar = 20.0f;
    zruScreenFov = 60.0f;
    zruScreenGrabQuality = 100;
    zruScreenGrabBuffer = nullptr; // forgotten, not released: nothing has allocated them yet
    zruScreenGrabFlip = true;
    zruScreenGrabFlipper = nullptr;
    zruScreenGrabFormat = 40;
    zruScreenGrabX = zruScreenGrabY = zruScreenGrabWidth = zruScreenGrabHeight = 0;

    std::srand(static_cast<unsigned int>(std::time(nullptr)));
}

void reshape(int width, int height)
{
    zruWindowWidth = width;
    zruWindowHeight = height;
}

void zruClose(void)
{
    static const int closedSize[2] = {100, 100};
    zruSetIntegerv(ZRU_WINDOW_SIZE, closedSize);
    glutIdleFunc(winddown_cb);
    windDownCount = 5;
}

void winddown_cb()
{
    if (windDownCount == 1) {
        std::exit(0);
    }
    if (windDownCount > 1) {
        --windDownCount;
    }
}

void zruDebug(short level, const char* message)
{
    if (level <= zruDebugLevel) {
        std::fprintf(stderr, "%s\n", message != nullptr ? message : "(null message)");
        std::fflush(stderr); // stderr is unbuffered unless someone changed that
    }
    if (level == 1) {
        std::exit(-1);
    }
}

void zruGetIntegerv(short code, int* values)
{
    const StateCode* entry = findStateCode(code);
    if (entry == nullptr || values == nullptr) {
        zruDebug(2, "Bad parameter passed to zruGetIntegerv");
        return;
    }
    for (int i = 0; i < entry->count; ++i) {
        values[i] = *entry->settings[i];
    }
}

int zruGetInteger(short code)
{
    // Room for the widest code, so a code of several values cannot write
    // past the one int that is returned.
    int values[4] = {0, 0, 0, 0};
    zruGetIntegerv(code, values);
    return values[0];
}

void zruSetIntegerv(short code, const int* values)
{
    const StateCode* entry = findStateCode(code);
    // A time step of 0 would make the clock divide by zero.
    if (entry == nullptr || !entry->settable || values == nullptr ||
        (code == ZRU_TIME_STEP && values[0] == 0)) {
        zruDebug(2, "Bad parameter passed to zruSetIntegerv");
        return;
    }
    for (int i = 0; i < entry->count; ++i) {
        *entry->settings[i] = values[i];
    }
    if (code == ZRU_WINDOW_SIZE) {
        glutReshapeWindow(zruWindowWidth, zruWindowHeight);
        std::free(zruScreenGrabBuffer);
        std::free(zruScreenGrabFlipper);
        zruScreenGrabBuffer = nullptr;
        zruScreenGrabFlipper = nullptr;
    }
}

// ---------------------------------------------------------------------------
// Drawing frames.

void frameStepUp()
{
    if (frameDepth > 10) {
        char warning[80];
        std::snprintf(warning, sizeof warning, "Warning, frameDepth already at %d\n", frameDepth);
        zruDebug(2, warning);
    }
    if (frameDepth == 0) {
        glViewport(0, 0, zruWindowWidth, zruWindowHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    } else {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ++frameDepth;
}

void frameStepDown()
{
    // An unpaired close would make every later frame a nested one.
    if (frameDepth <= 0) {
        zruDebug(2, "Warning, frame closed with no frame open");
        return;
    }
    --frameDepth;
    if (frameDepth == 0) {
        glutSwapBuffers();
    } else {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
}

TelaView computeTelaView(int width, int height, float fovDegrees)
{
    // The half angle and its tangent are rounded to float before use; the
    // last digits of the eye distance depend on it.
    constexpr double pi = 3.14159265358979323846;
    TelaView view{};
    view.halfWidth = static_cast<float>(width * 0.5);
    view.halfHeight = static_cast<float>(height * 0.5);
    const float halfAngle = static_cast<float>(fovDegrees * pi * (1.0 / 360.0));
    const float tangent = static_cast<float>(std::tan(static_cast<double>(halfAngle)));
    // A zero field of view or height would divide by zero. The zero depth
    // range that results instead makes the perspective a no-op, just as the
    // infinite values would have.
    view.eyeDistance = tangent != 0.0f ? view.halfHeight / tangent : 0.0f;
    view.nearPlane = static_cast<float>(view.eyeDistance * 0.1);
    view.farPlane = static_cast<float>(view.eyeDistance * 10.0);
    view.aspect = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 0.0f;
    return view;
}

void updateTelaViewConstants()
{
    tela = computeTelaView(zruWindowWidth, zruWindowHeight, zruScreenFov);
}

void zruOpenTelaFrame(void)
{
    const bool topLevel = frameDepth == 0;
    frameStepUp();
    if (topLevel && (zruWindowHeight != lastFrameHeight || zruWindowWidth != lastFrameWidth)) {
        lastFrameHeight = zruWindowHeight;
        lastFrameWidth = zruWindowWidth;
        updateTelaViewConstants();
    }
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    if (topLevel && zruWindowClear) {
        glClearColor(zruWindowBgColor[0], zruWindowBgColor[1], zruWindowBgColor[2], 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glDisable(GL_TEXTURE_2D);
    if (topLevel) {
        // The modelview matrix is the identity here, so w = 0 makes light 0
        // shine from the eye's direction.
        const GLfloat lightPosition[4] = {tela.halfWidth, tela.halfHeight, tela.eyeDistance, 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
        // The look-at goes onto the projection matrix, leaving the modelview
        // matrix the identity for drawing code.
        glMatrixMode(GL_PROJECTION);
        gluPerspective(zruScreenFov, tela.aspect, tela.nearPlane, tela.farPlane);
        gluLookAt(tela.halfWidth, tela.halfHeight, tela.eyeDistance, // eye
                  tela.halfWidth, tela.halfHeight, 0.0,              // centre
                  0.0, 1.0, 0.0);                                    // up
        glMatrixMode(GL_MODELVIEW);
    }
}

void zruCloseTelaFrame(void)
{
    frameStepDown();
}
