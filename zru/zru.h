// zru: a small application framework over GLUT, OpenGL 1.1 and GLU.
//
// The framework is a set of plain functions on global settings, in the manner
// of the GL, plus two classes: zrGeo, the root, and zrApp, the base of every
// application. An application module derives from zrApp, overrides the
// virtual operations it needs and publishes a factory makeApp(); the generic
// launcher calls zruOpen(), makeApp() and selfStart(), and from then on every
// call into the application arrives through a GLUT callback.
//
// Coordinates are window pixels as floats, x to the right and y up from the
// lower-left pixel. Colours are red, green, blue and alpha in [0, 1].
// Nothing here is thread-safe: everything runs on the GLUT thread.
#ifndef ZRU_H
#define ZRU_H

// ---------------------------------------------------------------------------
// State codes for zruGetInteger, zruGetIntegerv and zruSetIntegerv.
// The number after each name is how many ints the code reads or writes.

constexpr short ZRU_DEBUG_LEVEL = 10;             // 1: zruDebugLevel
constexpr short ZRU_WINDOW_WIDTH = 22;            // 1, read only
constexpr short ZRU_WINDOW_HEIGHT = 23;           // 1, read only
constexpr short ZRU_WINDOW_SIZE = 24;             // 2: width, height; Set reshapes the window
constexpr short ZRU_SCREEN_GRAB_QUALITY = 29;     // 1
constexpr short ZRU_SCREEN_GRAB_FORMAT = 31;      // 1
constexpr short ZRU_SCREEN_GRAB_X = 32;           // 1
constexpr short ZRU_SCREEN_GRAB_Y = 33;           // 1
constexpr short ZRU_SCREEN_GRAB_WIDTH = 34;       // 1
constexpr short ZRU_SCREEN_GRAB_HEIGHT = 35;      // 1
constexpr short ZRU_SCREEN_GRAB_RECT = 36;        // 4: x, y, width, height
constexpr short ZRU_TIME_STEP = 42;               // 1: milliseconds per clock tick, never 0
constexpr short ZRU_VIDEO_WIDTH = 200;            // 1, read only
constexpr short ZRU_VIDEO_HEIGHT = 201;           // 1, read only
constexpr short ZRU_VIDEO_SIZE = 202;             // 2: width, height, read only
constexpr short ZRU_VIDEO_ARRAY_WIDTH = 203;      // 1
constexpr short ZRU_VIDEO_ARRAY_HEIGHT = 204;     // 1
constexpr short ZRU_VIDEO_ARRAY_SIZE = 205;       // 2: width, height
constexpr short ZRU_VIDEO_FPS = 207;              // 1
constexpr short ZRU_VIDEO_PROXY_COUNT = 208;      // 1
constexpr short ZRU_VIDEO_PROXY_RAW_WIDTH = 210;  // 1
constexpr short ZRU_VIDEO_PROXY_RAW_HEIGHT = 211; // 1

class zrApp;
class zrFont;

extern "C" {

// ---------------------------------------------------------------------------
// Settings. Read and assign them directly after zruOpen (zruDisplayMode only
// before it); those with a state code are also reachable through it.

extern int zruDisplayMode;            // GLUT display-mode bits given to glutInitDisplayMode
extern char zruResourceLocation[256]; // zero-terminated path text
extern int zruWindowWidth;            // window size in pixels, kept by the reshape callbacks
extern int zruWindowHeight;
extern bool zruWindowClear;       // top-level frames clear colour and depth
extern float zruWindowBgColor[3]; // clear colour: red, green, blue
extern int zruDebugLevel;         // zruDebug writes levels up to this one
extern char* zruDebugStr;         // 64-byte scratch block, allocated by zruOpen
extern float zruScreenNear;
extern float zruScreenFar;
extern float zruScreenFov; // vertical field of view of the Tela frame, degrees
extern int zruScreenGrabQuality;
extern int zruScreenGrabFormat;
extern int zruScreenGrabX;
extern int zruScreenGrabY;
extern int zruScreenGrabWidth;
extern int zruScreenGrabHeight;
extern bool zruScreenGrabFlip;
extern unsigned char* zruScreenGrabBuffer;  // std::malloc'd; freed by a Set of ZRU_WINDOW_SIZE
extern unsigned char* zruScreenGrabFlipper; // std::malloc'd; freed by a Set of ZRU_WINDOW_SIZE
extern int zruTimeStep;                     // milliseconds per clock tick; 0 counts as 1
extern bool zruVideoOpened;
extern bool zruVideoMirrorImage;
extern int zruVideoWidth;
extern int zruVideoHeight;
extern int zruVideoArrayWidth;
extern int zruVideoArrayHeight;
extern int zruVideoFPS;
extern int zruVideoProxyCount;
extern bool zruVideoProxyRepeating;
extern int zruVideoProxyRawWidth;
extern int zruVideoProxyRawHeight;
extern void* zruTesselator;
extern bool zruTextInited;
extern int frameDepth; // number of open drawing frames

// Font registry, emptied by zruTextInit.
extern zrFont* zrutFontList[50];
extern char zrutFontNames[50][128];
extern int zrutCurrentFont; // index into zrutFontList, or -1 for none

// ---------------------------------------------------------------------------
// Lifecycle.

// Initialises GLUT, creates the full-screen window "zru", sets the fixed GL
// state and gives the settings their defaults. Call once, before anything else.
void zruOpen(void);
// Shrinks the window to 100 x 100 and ends the process with status 0 on the
// fifth idle pass after this call.
void zruClose(void);

// Writes message and a newline to stderr when level <= zruDebugLevel.
// Level 1 is fatal: the process then ends with status -1, written or not.
void zruDebug(short level, const char* message);

// State interface. A rejected code reports "Bad parameter passed to
// zruGetIntegerv" (or zruSetIntegerv) at level 2 and touches nothing.
// Writes the code's values into values, first value first.
void zruGetIntegerv(short code, int* values);
// Returns the first value of code, or 0 when the code is rejected.
int zruGetInteger(short code);
// Assigns the code's settings from values, unchecked (a time step of 0 is refused).
void zruSetIntegerv(short code, const int* values);

// The clock: GLUT's elapsed milliseconds divided by zruTimeStep, truncated.
int zruCurrentTimeMillis(void);

// Opens a drawing frame. A top-level frame sets the viewport and a
// perspective view whose z = 0 plane lies on the window's pixels, one unit
// per pixel, origin at the lower-left corner; it clears when zruWindowClear
// is set and turns lighting and depth testing on. A nested frame pushes both
// matrices instead. Returns with the identity modelview matrix current.
void zruOpenTelaFrame(void);
// Closes the innermost frame: pops both matrices, or swaps the buffers when
// it was the top-level one.
void zruCloseTelaFrame(void);

// Empties the font registry.
void zruTextInit(void);

// Makes hue (in turns, any value), saturation, brightness and alpha the
// current GL colour. An infinite or NaN hue sets no colour; nothing is clamped.
void zruColorHsb(float hue, float saturation, float brightness, float alpha);

// ---------------------------------------------------------------------------
// Application module interface: every application module defines these two,
// and the launcher's main calls makeApp. zru_add_app exports both by name.

// Creates the application object; the caller owns it.
zrApp* makeApp(void);
// The application's type tag: "App" and a zero byte.
extern const char my_type[4];

} // extern "C"

// ---------------------------------------------------------------------------
// The root class: no data, three operations that do nothing by default.
class zrGeo {
public:
    virtual void idle();
    virtual void draw();
    virtual void message(const char* text);
};

// The base class of every application. Its rectangle (X, Y, W, H) follows the
// window through resize. Defaults do nothing, except that Esc calls zruClose
// and F1 switches between full screen and a window. An override of one
// mouseDrag overload hides the other: add `using zrApp::mouseDrag;`.
class zrApp : public zrGeo {
public:
    float X, Y, W, H;

    // X = Y = 0, W = H = 100.
    zrApp();

    void idle() override;
    // Called once per display pass inside an open top-level Tela frame.
    void draw() override;
    // Binds this object to the current window, registers the GLUT callbacks,
    // resizes to the window, takes the focus and runs the GLUT main loop.
    virtual void selfStart();
    // Binds this object to the current window and registers the callbacks only.
    virtual void subStart();
    virtual void setFocus(bool focused);
    virtual void setParent(void* parent);
    // Stores x, y, w, h in X, Y, W, H.
    virtual void resize(float x, float y, float w, float h);
    // True when 0 <= x < W and 0 <= y < H (X and Y take no part).
    virtual bool pointInside(float x, float y);
    // Pointer moved with no button held.
    virtual void mouseMove(float x, float y);
    virtual void mouseDown(float x, float y, int button);
    // Pointer moved with a button held: both overloads are called, this first.
    virtual void mouseDrag(float x, float y);
    // The second drag call, with the button of the last button event.
    virtual void mouseDrag(float x, float y, int button);
    virtual void mouseUp(float x, float y, int button);
    // Esc (27) calls zruClose; other keys are ignored.
    virtual void keyDown(char key);
    // GLUT_KEY_F1 toggles full screen; other keys are ignored.
    virtual void specialKeyDown(int key);
};

// ---------------------------------------------------------------------------
// Application-layer state, one instance for the program.

extern zrApp* apps[10];    // application object by GLUT window id (1 to 9)
extern int aafullScreen;   // 1 while full screen
extern int aahaveShrunk;   // 1 once the window has left full screen
extern int aaWinX, aaWinY; // geometry the window takes when it next leaves full screen
extern int aaWinW, aaWinH;
extern int aafullWidth, aafullHeight;
extern int aaLastMouseButton; // button of the last button event
extern int aaGrabCount;
extern unsigned char aaValidWindowSize; // 1 once a display pass saw a non-zero width

#endif // ZRU_H
