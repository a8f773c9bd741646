// A recording double of the GL, GLU and GLUT functions the framework calls.
// Each call is logged with its name and arguments (as doubles; enums and ints
// convert exactly), glutGet and glutGetWindow answer what a test sets, and
// every registered callback is kept so a test can drive the framework the
// way GLUT would.
#ifndef GL_DOUBLE_H
#define GL_DOUBLE_H

#include <GL/glut.h>

#include <ostream>
#include <string>
#include <vector>

namespace glDouble {

struct Call {
    std::string name;
    std::vector<double> args;
    std::string text; // the string argument, for the calls that take one

    bool operator==(const Call& other) const
    {
        return name == other.name && args == other.args && text == other.text;
    }
};

void PrintTo(const Call& call, std::ostream* os);

struct Callbacks {
    void (*display)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
    void (*passiveMotion)(int, int) = nullptr;
    void (*idle)() = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
};

// Forgets every call, callback and answer; the current window becomes 1.
void reset();

const std::vector<Call>& calls();
void clearCalls();
// The calls of one name, in order.
std::vector<Call> callsNamed(const std::string& name);
// The names of all calls, in order.
std::vector<std::string> callNames();

const Callbacks& callbacks();

// What glutGetWindow returns.
void setWindow(int id);
// What glutGet returns for a state (0 for any state never set).
void setGet(GLenum state, int value);

} // namespace glDouble

#endif // GL_DOUBLE_H
