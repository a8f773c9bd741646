// Fuzzes event dispatch: random sequences of the eight GLUT callbacks, each
// for any window id, with any button, state, coordinates, key, size and
// clock reading, driven the way GLUT drives them.
//
// Two demo objects are bound to two window ids taken from the input (any
// int; ids outside 1 to 9 must bind nothing). `apps` is a global array, so
// AddressSanitizer reports any read or write outside it. After every event
// the fuzzer checks that exactly the object of the current window, and no
// other, saw exactly the calls the event stands for, with y flipped against
// the window height of that moment; that reshape, F1 and Esc had their
// effects; that a display pass draws the whole scene (72 quads inside one
// balanced frame) or nothing at all; and that nothing is written to stderr.
//
// Esc starts the wind-down, whose fifth idle pass would end the process: the
// fuzzer counts the wind-down's idle passes and withholds the fatal fifth,
// so the countdown itself is exercised but never completes.
#include "fuzzSupport.h"
#include "glDouble.h"
#include "petalDemo.h"
#include "zruInternal.h"

#include <GL/glut.h>

#include <cmath>
#include <vector>

namespace {

enum class Seen { Idle, Draw, Resize, Move, Down, Up, Drag, DragButton, Key, SpecialKey };

struct Event {
    Seen what;
    float x = 0.0f;
    float y = 0.0f;
    int button = 0; // also the key
};

// The demo with every handler recorded before the inherited one runs.
class ProbeApp : public petalDemo {
public:
    std::vector<Event> seen;

    void idle() override
    {
        seen.push_back({Seen::Idle});
        petalDemo::idle();
    }
    void draw() override
    {
        seen.push_back({Seen::Draw});
        petalDemo::draw();
    }
    void resize(float x, float y, float w, float h) override
    {
        seen.push_back({Seen::Resize, w, h});
        FUZZ_CHECK(x == 0.0f && y == 0.0f);
        petalDemo::resize(x, y, w, h);
    }
    void mouseMove(float x, float y) override { seen.push_back({Seen::Move, x, y}); }
    void mouseDown(float x, float y, int button) override { seen.push_back({Seen::Down, x, y, button}); }
    void mouseUp(float x, float y, int button) override { seen.push_back({Seen::Up, x, y, button}); }
    void mouseDrag(float x, float y) override { seen.push_back({Seen::Drag, x, y}); }
    void mouseDrag(float x, float y, int button) override
    {
        seen.push_back({Seen::DragButton, x, y, button});
    }
    void keyDown(char key) override
    {
        seen.push_back({Seen::Key, 0.0f, 0.0f, static_cast<unsigned char>(key)});
        petalDemo::keyDown(key);
    }
    void specialKeyDown(int key) override
    {
        seen.push_back({Seen::SpecialKey, 0.0f, 0.0f, key});
        petalDemo::specialKeyDown(key);
    }
};

bool hasSlot(int id)
{
    return id >= 1 && id <= 9;
}

float flippedY(int y)
{
    return static_cast<float>(static_cast<long long>(zruWindowHeight) - 1 - y);
}

// The window id of the next event: mostly the ids near the table, at times
// any int at all.
int readWindowId(InputReader& in)
{
    const std::uint8_t pick = in.byte();
    return (pick & 0x80) != 0 ? in.value<int>() : static_cast<int>(pick % 14) - 2;
}

void bind(ProbeApp& app, int id)
{
    glDouble::setWindow(id);
    StderrCapture captured;
    app.subStart();
    const std::string written = captured.finish();
    FUZZ_CHECK(hasSlot(id) ? written.empty() : !written.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader in(data, size);

    // A fresh process, as far as dispatch can tell.
    glDouble::reset();
    for (zrApp*& slot : apps) {
        slot = nullptr;
    }
    zruDebugLevel = 3;
    zruTimeStep = 1;
    zruScreenFov = 60.0f;
    zruWindowClear = true;
    frameDepth = 0;
    zruWindowWidth = in.value<short>();
    zruWindowHeight = in.value<short>();
    aafullScreen = 1;
    aahaveShrunk = 0;
    aaWinX = aaWinY = aaWinW = aaWinH = 0;
    aaLastMouseButton = 0;

    ProbeApp first;
    ProbeApp second;
    const int firstId = readWindowId(in);
    const int secondId = readWindowId(in);
    bind(first, firstId);
    bind(second, secondId);
    for (int id = 0; id < 10; ++id) {
        ProbeApp* expected =
            !hasSlot(id) ? nullptr : (id == secondId ? &second : (id == firstId ? &first : nullptr));
        FUZZ_CHECK(apps[id] == expected);
    }
    const auto callbacks = glDouble::callbacks();
    FUZZ_CHECK(callbacks.display == display_cb && callbacks.reshape == reshape_cb &&
               callbacks.mouse == mouse_cb && callbacks.motion == motion_cb &&
               callbacks.passiveMotion == passive_motion_cb && callbacks.idle == idle_cb &&
               callbacks.keyboard == keyboard_cb && callbacks.special == special_key_cb);

    int windDownLeft = 0; // idle passes before the wind-down would exit; 0 while none runs

    for (int events = 0; !in.empty() && events < 256; ++events) {
        const std::uint8_t kind = in.byte() % 8;
        const int window = readWindowId(in);
        const int a = in.value<int>();
        const int b = in.value<int>();
        const int c = in.value<int>();
        const int d = in.value<int>();

        glDouble::setWindow(window);
        glDouble::clearCalls();
        first.seen.clear();
        second.seen.clear();
        ProbeApp* target = hasSlot(window) ? static_cast<ProbeApp*>(apps[window]) : nullptr;
        const int lastButton = aaLastMouseButton;
        const int fullScreen = aafullScreen;
        const unsigned char wasValid = aaValidWindowSize;
        std::vector<Event> expected;

        StderrCapture captured;
        switch (kind) {
        case 0: { // display, at any clock reading
            glDouble::setGet(GLUT_ELAPSED_TIME, a);
            const bool draws = target != nullptr && (wasValid != 0 || zruWindowWidth != 0);
            glDouble::callbacks().display();
            if (draws) {
                expected.push_back({Seen::Draw});
            }
            FUZZ_CHECK(frameDepth == 0);
            FUZZ_CHECK(glDouble::callsNamed("glutSwapBuffers").size() == (draws ? 1u : 0u));
            FUZZ_CHECK(glDouble::callsNamed("glBegin").size() == (draws ? 72u : 0u));
            for (const auto& rotation : glDouble::callsNamed("glRotatef")) {
                FUZZ_CHECK(std::isfinite(rotation.args[0]));
            }
            break;
        }
        case 1: // reshape
            glDouble::callbacks().reshape(a, b);
            if (target != nullptr) {
                expected.push_back({Seen::Resize, static_cast<float>(a), static_cast<float>(b)});
                FUZZ_CHECK(zruWindowWidth == a && zruWindowHeight == b);
                FUZZ_CHECK(target->W == static_cast<float>(a) && target->H == static_cast<float>(b));
            }
            break;
        case 2: { // mouse button
            const float y = flippedY(d);
            glDouble::callbacks().mouse(a, b, c, d);
            if (target != nullptr && (b == GLUT_DOWN || b == GLUT_UP)) {
                expected.push_back({b == GLUT_DOWN ? Seen::Down : Seen::Up, static_cast<float>(c), y, a});
            }
            FUZZ_CHECK(aaLastMouseButton == (target != nullptr ? a : lastButton));
            break;
        }
        case 3: { // drag
            const float y = flippedY(b);
            glDouble::callbacks().motion(a, b);
            if (target != nullptr) {
                expected.push_back({Seen::Drag, static_cast<float>(a), y});
                expected.push_back({Seen::DragButton, static_cast<float>(a), y, lastButton});
            }
            break;
        }
        case 4: { // pointer moved with no button held
            const float y = flippedY(b);
            glDouble::callbacks().passiveMotion(a, b);
            if (target != nullptr) {
                expected.push_back({Seen::Move, static_cast<float>(a), y});
            }
            break;
        }
        case 5: // idle
            if (glDouble::callbacks().idle == idle_cb) {
                idle_cb();
                if (target != nullptr) {
                    expected.push_back({Seen::Idle});
                }
                FUZZ_CHECK(glDouble::callsNamed("glutPostRedisplay").size() == (target != nullptr ? 1u : 0u));
            } else if (windDownLeft > 1) {
                FUZZ_CHECK(glDouble::callbacks().idle == winddown_cb);
                glDouble::callbacks().idle();
                --windDownLeft;
            }
            break;
        case 6: { // key
            const unsigned char key = static_cast<unsigned char>(a);
            glDouble::callbacks().keyboard(key, b, c);
            if (target != nullptr) {
                expected.push_back({Seen::Key, 0.0f, 0.0f, key});
                if (key == 27) {
                    FUZZ_CHECK(glDouble::callbacks().idle == winddown_cb);
                    FUZZ_CHECK(zruWindowWidth == 100 && zruWindowHeight == 100);
                    windDownLeft = 5;
                }
            }
            break;
        }
        default: // special key
            glDouble::callbacks().special(a, b, c);
            if (target != nullptr) {
                expected.push_back({Seen::SpecialKey, 0.0f, 0.0f, a});
            }
            FUZZ_CHECK(aafullScreen == ((target != nullptr && a == GLUT_KEY_F1) ? !fullScreen : fullScreen));
            break;
        }
        FUZZ_CHECK(captured.finish().empty());

        for (ProbeApp* app : {&first, &second}) {
            const std::vector<Event>& want = app == target ? expected : std::vector<Event>{};
            FUZZ_CHECK(app->seen.size() == want.size());
            for (std::size_t i = 0; i < want.size(); ++i) {
                const Event& got = app->seen[i];
                FUZZ_CHECK(got.what == want[i].what);
                FUZZ_CHECK(got.x == want[i].x && got.y == want[i].y && got.button == want[i].button);
            }
        }
    }

    for (zrApp*& slot : apps) {
        slot = nullptr;
    }
    return 0;
}
