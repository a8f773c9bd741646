// Shared set-up for the unit tests: the framework opened against the
// recording double, and an application that logs its virtual calls.
#ifndef TEST_SUPPORT_H
#define TEST_SUPPORT_H

#include "glDouble.h"
#include "zruInternal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Opens the framework on the double and puts the application layer's
// variables back to their starting values, as in a new process.
inline void openFramework()
{
    glDouble::reset();
    zruOpen();
    for (zrApp*& entry : apps) {
        entry = nullptr;
    }
    aafullScreen = 1;
    aahaveShrunk = 0;
    aaWinX = aaWinY = aaWinW = aaWinH = 0;
    aafullWidth = aafullHeight = 0;
    aaLastMouseButton = 0;
    glDouble::clearCalls();
}

// Runs body in a freshly started copy of the test program, so that the
// process's variables hold their starting values, and expects it to pass.
// Use it from TEST, not TEST_F: a fixture's set-up would run there first.
template <class Body>
void expectInFreshProcess(Body body)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            std::exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, "fast");
}

// Logs every virtual call it receives, with its arguments.
class RecordingApp : public zrApp {
public:
    struct Event {
        std::string name;
        std::vector<double> args;
        bool operator==(const Event& other) const { return name == other.name && args == other.args; }
    };
    std::vector<Event> events;

    void idle() override { log("idle"); }
    void draw() override { log("draw"); }
    void setFocus(bool focused) override { log("setFocus", {double(focused)}); }
    void resize(float x, float y, float w, float h) override
    {
        log("resize", {x, y, w, h});
        zrApp::resize(x, y, w, h);
    }
    void mouseMove(float x, float y) override { log("mouseMove", {x, y}); }
    void mouseDown(float x, float y, int button) override { log("mouseDown", {x, y, double(button)}); }
    void mouseDrag(float x, float y) override { log("mouseDrag", {x, y}); }
    void mouseDrag(float x, float y, int button) override { log("mouseDrag", {x, y, double(button)}); }
    void mouseUp(float x, float y, int button) override { log("mouseUp", {x, y, double(button)}); }
    void keyDown(char key) override
    {
        log("keyDown", {double(key)});
        zrApp::keyDown(key);
    }
    void specialKeyDown(int key) override
    {
        log("specialKeyDown", {double(key)});
        zrApp::specialKeyDown(key);
    }

private:
    void log(const char* name, std::vector<double> args = {})
    {
        events.push_back(Event{name, std::move(args)});
    }
};

inline void PrintTo(const RecordingApp::Event& event, std::ostream* os)
{
    *os << event.name << "(";
    for (double arg : event.args) {
        *os << arg << " ";
    }
    *os << ")";
}

#endif // TEST_SUPPORT_H
