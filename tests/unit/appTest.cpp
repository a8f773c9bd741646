// The application classes and the GLUT callbacks that drive them.
#include "testSupport.h"

#include <climits>
#include <cmath>
#include <limits>
#include <string>

using Event = RecordingApp::Event;

namespace {

// An application started on window 1 of the double, as the launcher starts it.
class Dispatch : public testing::Test {
protected:
    RecordingApp app;

    void SetUp() override
    {
        openFramework();
        app.selfStart();
        app.events.clear();
        glDouble::clearCalls();
    }
    void TearDown() override
    {
        while (frameDepth > 0) {
            zruCloseTelaFrame();
        }
    }
    static const glDouble::Callbacks& glut() { return glDouble::callbacks(); }

    // The window as GLUT reports it: full screen at the given size.
    void showWindow(int width, int height)
    {
        glut().reshape(width, height);
        app.events.clear();
        glDouble::clearCalls();
    }
};

} // namespace

TEST_F(Dispatch, SelfStartBindsRegistersResizesFocusesAndRunsTheLoop)
{
    RecordingApp other;
    zruWindowWidth = 0;
    zruWindowHeight = 0;
    other.selfStart();
    EXPECT_EQ(apps[1], &other);
    const std::vector<std::string> expected = {
        "glutDisplayFunc",  "glutMouseFunc",   "glutMotionFunc",  "glutPassiveMotionFunc", "glutIdleFunc",
        "glutKeyboardFunc", "glutSpecialFunc", "glutReshapeFunc", "glutMainLoop",
    };
    EXPECT_EQ(glDouble::callNames(), expected);
    EXPECT_EQ(other.events, (std::vector<Event>{{"resize", {0, 0, 0, 0}}, {"setFocus", {1}}}));
    EXPECT_EQ(glut().display, &display_cb);
    EXPECT_EQ(glut().mouse, &mouse_cb);
    EXPECT_EQ(glut().motion, &motion_cb);
    EXPECT_EQ(glut().passiveMotion, &passive_motion_cb);
    EXPECT_EQ(glut().idle, &idle_cb);
    EXPECT_EQ(glut().keyboard, &keyboard_cb);
    EXPECT_EQ(glut().special, &special_key_cb);
    EXPECT_EQ(glut().reshape, &reshape_cb);
}

TEST_F(Dispatch, SubStartBindsAndRegistersOnly)
{
    RecordingApp other;
    glDouble::setWindow(2);
    other.subStart();
    EXPECT_EQ(apps[2], &other);
    EXPECT_EQ(apps[1], &app);
    EXPECT_TRUE(other.events.empty());
    EXPECT_EQ(glDouble::calls().size(), 8u);
    EXPECT_EQ(glDouble::calls().back().name, "glutReshapeFunc");

    // Each window's events reach its own object.
    glut().keyboard('a', 0, 0);
    glDouble::setWindow(1);
    glut().keyboard('b', 0, 0);
    EXPECT_EQ(other.events, (std::vector<Event>{{"keyDown", {'a'}}}));
    EXPECT_EQ(app.events, (std::vector<Event>{{"keyDown", {'b'}}}));
}

TEST_F(Dispatch, EventsOfWindowsWithoutAnObjectAreDropped)
{
    for (int window : {INT_MIN, -1, 0, 2, 9, 10, 11, 1000, INT_MAX}) {
        SCOPED_TRACE(window);
        glDouble::setWindow(window);
        zruWindowWidth = 640;
        glut().display();
        glut().mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 1, 1);
        glut().motion(1, 1);
        glut().passiveMotion(1, 1);
        glut().idle();
        glut().keyboard(27, 0, 0);
        glut().special(GLUT_KEY_F1, 0, 0);
        glut().reshape(10, 10);
        EXPECT_TRUE(app.events.empty());
        EXPECT_TRUE(glDouble::calls().empty());
        EXPECT_EQ(frameDepth, 0);
        EXPECT_EQ(zruWindowWidth, 640);
    }
}

TEST_F(Dispatch, BindingAWindowWithoutASlotBindsNothing)
{
    zrApp* before[10];
    std::copy(std::begin(apps), std::end(apps), before);
    for (int window : {INT_MIN, -1, 0, 10, INT_MAX}) {
        RecordingApp stray;
        glDouble::setWindow(window);
        testing::internal::CaptureStderr();
        stray.subStart();
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "zrApp: window " + std::to_string(window) + " has no application slot\n");
        EXPECT_TRUE(std::equal(std::begin(apps), std::end(apps), before)) << window;
    }
}

TEST_F(Dispatch, MousePositionsArriveWithYUp)
{
    showWindow(800, 600);
    glut().mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0); // top-left pixel
    glut().mouse(GLUT_LEFT_BUTTON, GLUT_UP, 0, 599); // bottom-left pixel
    glut().mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 799, 300);
    glut().mouse(GLUT_MIDDLE_BUTTON, 7, 5, 5); // neither down nor up: no handler
    glut().passiveMotion(12, 34);
    glut().mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, INT_MIN); // far outside, still no overflow
    const std::vector<Event> expected = {
        {"mouseDown", {0, 599, GLUT_LEFT_BUTTON}},
        {"mouseUp", {0, 0, GLUT_LEFT_BUTTON}},
        {"mouseDown", {799, 299, GLUT_RIGHT_BUTTON}},
        {"mouseMove", {12, 565}},
        {"mouseDown", {5, static_cast<float>(599.0 - INT_MIN), GLUT_LEFT_BUTTON}},
    };
    EXPECT_EQ(app.events, expected);
}

TEST_F(Dispatch, DragsCallBothOverloadsWithTheLastButton)
{
    showWindow(800, 600);
    glut().motion(10, 20); // before any button event the button is 0
    glut().mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 10, 20);
    glut().motion(11, 21);
    glut().mouse(GLUT_MIDDLE_BUTTON, 42, 10, 20); // an odd state still sets the button
    glut().motion(12, 22);
    const std::vector<Event> expected = {
        {"mouseDrag", {10, 579}},
        {"mouseDrag", {10, 579, 0}},
        {"mouseDown", {10, 579, GLUT_RIGHT_BUTTON}},
        {"mouseDrag", {11, 578}},
        {"mouseDrag", {11, 578, GLUT_RIGHT_BUTTON}},
        {"mouseDrag", {12, 577}},
        {"mouseDrag", {12, 577, GLUT_MIDDLE_BUTTON}},
    };
    EXPECT_EQ(app.events, expected);
}

TEST_F(Dispatch, ButtonHandlersStillSeeThePreviousButton)
{
    struct ButtonWatcher : RecordingApp {
        int seen = -1;
        void mouseDown(float, float, int) override { seen = aaLastMouseButton; }
    } watcher;
    watcher.subStart();
    glut().mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    glut().mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_EQ(watcher.seen, GLUT_LEFT_BUTTON);
    EXPECT_EQ(aaLastMouseButton, GLUT_RIGHT_BUTTON);
}

TEST_F(Dispatch, ReshapeStoresTheSizeBeforeResizing)
{
    struct SizeWatcher : RecordingApp {
        int seenWidth = 0, seenHeight = 0;
        void resize(float x, float y, float w, float h) override
        {
            seenWidth = zruWindowWidth;
            seenHeight = zruWindowHeight;
            RecordingApp::resize(x, y, w, h);
        }
    } watcher;
    watcher.subStart();
    glDouble::clearCalls();
    glut().reshape(640, 480);
    EXPECT_EQ(watcher.seenWidth, 640);
    EXPECT_EQ(watcher.seenHeight, 480);
    EXPECT_EQ(watcher.events, (std::vector<Event>{{"resize", {0, 0, 640, 480}}}));
    EXPECT_EQ(watcher.X, 0.0f);
    EXPECT_EQ(watcher.W, 640.0f);
    EXPECT_EQ(watcher.H, 480.0f);
    EXPECT_TRUE(glDouble::calls().empty()); // no viewport until the next frame
}

TEST_F(Dispatch, IdleAsksForAnotherDisplayPass)
{
    glut().idle();
    EXPECT_EQ(app.events, (std::vector<Event>{{"idle", {}}}));
    EXPECT_EQ(glDouble::callNames(), std::vector<std::string>{"glutPostRedisplay"});
}

TEST_F(Dispatch, DisplayWaitsForAWidthThenAlwaysDraws)
{
    zruWindowWidth = 0;
    zruWindowHeight = 480;
    glut().display();
    EXPECT_TRUE(app.events.empty());
    EXPECT_TRUE(glDouble::calls().empty());

    zruWindowWidth = 640;
    glut().display();
    EXPECT_EQ(app.events, (std::vector<Event>{{"draw", {}}}));
    EXPECT_EQ(glDouble::calls().front().name, "glViewport");
    EXPECT_EQ(glDouble::calls().back().name, "glutSwapBuffers");
    EXPECT_EQ(frameDepth, 0);

    zruWindowWidth = 0;
    glut().display();
    EXPECT_EQ(app.events.size(), 2u);

    // A new object must see a width again before it draws.
    RecordingApp next;
    EXPECT_EQ(aaValidWindowSize, 0);
    EXPECT_EQ(aaGrabCount, -1);
    next.subStart();
    glDouble::clearCalls();
    glut().display();
    EXPECT_TRUE(glDouble::calls().empty());
}

TEST_F(Dispatch, KeysReachTheObjectAndEscClosesTheFramework)
{
    showWindow(800, 600);
    glut().keyboard('q', 3, 4);
    glut().keyboard(200, 3, 4); // the same eight bits as a char
    glut().special(GLUT_KEY_F2, 3, 4);
    EXPECT_EQ(app.events, (std::vector<Event>{{"keyDown", {'q'}},
                                              {"keyDown", {double(static_cast<char>(200))}},
                                              {"specialKeyDown", {GLUT_KEY_F2}}}));
    EXPECT_TRUE(glDouble::calls().empty());
    EXPECT_EQ(glut().idle, &idle_cb);

    glut().keyboard(27, 0, 0);
    EXPECT_EQ(glDouble::callNames(), (std::vector<std::string>{"glutReshapeWindow", "glutIdleFunc"}));
    EXPECT_EQ(glut().idle, &winddown_cb);
    EXPECT_EQ(zruWindowWidth, 100);
}

TEST_F(Dispatch, F1SwitchesBetweenFullScreenAndTheSavedWindow)
{
    showWindow(800, 600);
    glDouble::setGet(GLUT_WINDOW_X, 41);
    glDouble::setGet(GLUT_WINDOW_Y, 77);
    struct Step {
        const char* what;
        std::vector<glDouble::Call> calls; // what reaches GLUT
        int fullScreen;
    };
    // Full screen at 800 x 600, then window, full, window, full, window.
    const auto press = [&] {
        glDouble::clearCalls();
        glut().special(GLUT_KEY_F1, 0, 0);
        return glDouble::calls();
    };
    const auto expectCalls = [](const std::vector<glDouble::Call>& got,
                                const std::vector<std::pair<std::string, std::vector<double>>>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].name, want[i].first);
            EXPECT_EQ(got[i].args, want[i].second) << want[i].first;
        }
    };

    // The first window: 35, 55 and 70 x 90 smaller than the screen.
    expectCalls(press(), {{"glutReshapeWindow", {730, 510}}, {"glutPositionWindow", {35, 55}}});
    EXPECT_EQ(aafullScreen, 0);
    EXPECT_EQ(zruWindowWidth, 730); // at once, before GLUT reports it
    EXPECT_EQ(aafullWidth, 800);
    glut().reshape(730, 510);

    // The user makes the window 640.9 x 480.2 (an object may hold fractions).
    app.resize(0, 0, 640.9f, 480.2f);
    expectCalls(press(), {{"glutFullScreen", {}}});
    EXPECT_EQ(aafullScreen, 1);
    glut().reshape(800, 600);

    // Back to the window saved at the last switch, not the first one.
    expectCalls(press(), {{"glutReshapeWindow", {640, 480}}, {"glutPositionWindow", {41, 77}}});
    glut().reshape(640, 480);
    glDouble::setGet(GLUT_WINDOW_X, 5);
    glDouble::setGet(GLUT_WINDOW_Y, 6);
    expectCalls(press(), {{"glutFullScreen", {}}});
    glut().reshape(1024, 768); // a bigger screen now: the saved window stays
    expectCalls(press(), {{"glutReshapeWindow", {640, 480}}, {"glutPositionWindow", {5, 6}}});
    EXPECT_EQ(aahaveShrunk, 1);
}

TEST_F(Dispatch, F1WithAnUnrepresentableSizeStaysDefined)
{
    showWindow(800, 600);
    glut().special(GLUT_KEY_F1, 0, 0);
    app.resize(0, 0, std::numeric_limits<float>::quiet_NaN(), 1e30f);
    glut().special(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(aaWinW, 0);
    EXPECT_EQ(aaWinH, INT_MAX);

    // A stored width far below zero cannot overflow the default window.
    aahaveShrunk = 0;
    const int tiny[2] = {INT_MIN, INT_MIN};
    zruSetIntegerv(ZRU_WINDOW_SIZE, tiny);
    glut().special(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(aaWinW, INT_MIN);
    EXPECT_EQ(aaWinH, INT_MIN);
}

TEST(TruncToInt, TruncatesTowardZeroAndSaturates)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, int> cases[] = {
        {640.9f, 640},  {-640.9f, -640}, {0.0f, 0},       {-0.5f, 0},       {nan, 0},
        {inf, INT_MAX}, {-inf, INT_MIN}, {3e9f, INT_MAX}, {-3e9f, INT_MIN}, {2147483520.0f, 2147483520},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(truncToInt(value), expected) << value;
    }
}

TEST(PointInside, UsesOnlyWidthAndHeight)
{
    zrApp app;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float x, y;
        bool inside;
    };
    const Case cases[] = {
        {0, 0, true},       {99.5f, 99.5f, true}, {100, 50, false}, {50, 100, false},
        {-0.1f, 50, false}, {50, -0.1f, false},   {nan, 50, false}, {50, nan, false},
    };
    for (float origin : {0.0f, 500.0f}) {
        app.X = app.Y = origin; // X and Y take no part
        for (const Case& c : cases) {
            EXPECT_EQ(app.pointInside(c.x, c.y), c.inside) << c.x << ", " << c.y;
        }
    }
    app.W = 0;
    EXPECT_FALSE(app.pointInside(0, 0));
    app.W = nan;
    EXPECT_FALSE(app.pointInside(0, 0));
}

TEST(ZrApp, ConstructionSetsTheRectangleAndResetsTheModuleFlags)
{
    aaGrabCount = 5;
    aaValidWindowSize = 1;
    zrApp first;
    EXPECT_EQ(first.X, 0.0f);
    EXPECT_EQ(first.Y, 0.0f);
    EXPECT_EQ(first.W, 100.0f);
    EXPECT_EQ(first.H, 100.0f);
    EXPECT_EQ(aaGrabCount, -1);
    EXPECT_EQ(aaValidWindowSize, 0);
    aaGrabCount = 5;
    aaValidWindowSize = 1;
    zrApp second; // an earlier object changes nothing
    EXPECT_EQ(aaGrabCount, -1);
    EXPECT_EQ(aaValidWindowSize, 0);
}
