// Definitions of the GL, GLU and GLUT entry points that record instead of draw.
#include "glDouble.h"

#include <initializer_list>
#include <map>
#include <utility>

namespace glDouble {
namespace {

std::vector<Call> log;
Callbacks registered;
std::map<GLenum, int> answers;
int window = 1;

void record(const char* name, std::initializer_list<double> args = {}, std::string text = {})
{
    log.push_back(Call{name, args, std::move(text)});
}

} // namespace

void reset()
{
    log.clear();
    registered = Callbacks{};
    answers.clear();
    window = 1;
}

const std::vector<Call>& calls()
{
    return log;
}

void clearCalls()
{
    log.clear();
}

std::vector<Call> callsNamed(const std::string& name)
{
    std::vector<Call> found;
    for (const Call& call : log) {
        if (call.name == name) {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<std::string> callNames()
{
    std::vector<std::string> names;
    names.reserve(log.size());
    for (const Call& call : log) {
        names.push_back(call.name);
    }
    return names;
}

const Callbacks& callbacks()
{
    return registered;
}

void PrintTo(const Call& call, std::ostream* os)
{
    *os << call.name << "(";
    for (double arg : call.args) {
        *os << arg << " ";
    }
    *os << call.text << ")";
}

void setWindow(int id)
{
    window = id;
}

void setGet(GLenum state, int value)
{
    answers[state] = value;
}

} // namespace glDouble

using glDouble::record;

// GL
void glBegin(GLenum mode)
{
    record("glBegin", {double(mode)});
}
void glEnd()
{
    record("glEnd");
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    record("glVertex3f", {x, y, z});
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z)
{
    record("glNormal3f", {x, y, z});
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    record("glColor4f", {r, g, b, a});
}
void glLineWidth(GLfloat width)
{
    record("glLineWidth", {width});
}
void glPointSize(GLfloat size)
{
    record("glPointSize", {size});
}
void glEnable(GLenum cap)
{
    record("glEnable", {double(cap)});
}
void glDisable(GLenum cap)
{
    record("glDisable", {double(cap)});
}
void glBlendFunc(GLenum src, GLenum dst)
{
    record("glBlendFunc", {double(src), double(dst)});
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h)
{
    record("glViewport", {double(x), double(y), double(w), double(h)});
}
void glMatrixMode(GLenum mode)
{
    record("glMatrixMode", {double(mode)});
}
void glLoadIdentity()
{
    record("glLoadIdentity");
}
void glPushMatrix()
{
    record("glPushMatrix");
}
void glPopMatrix()
{
    record("glPopMatrix");
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    record("glTranslatef", {x, y, z});
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    record("glRotatef", {angle, x, y, z});
}
void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    record("glScalef", {x, y, z});
}
void glDepthFunc(GLenum func)
{
    record("glDepthFunc", {double(func)});
}
void glShadeModel(GLenum mode)
{
    record("glShadeModel", {double(mode)});
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    record("glClearColor", {r, g, b, a});
}
void glClear(GLbitfield mask)
{
    record("glClear", {double(mask)});
}
void glColorMaterial(GLenum face, GLenum mode)
{
    record("glColorMaterial", {double(face), double(mode)});
}
void glLightfv(GLenum light, GLenum name, const GLfloat* v)
{
    record("glLightfv", {double(light), double(name), v[0], v[1], v[2], v[3]});
}

// GLU
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    record("gluPerspective", {fovy, aspect, zNear, zFar});
}
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux,
               GLdouble uy, GLdouble uz)
{
    record("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
}

// GLUT
void glutInit(int* argc, char** argv)
{
    record("glutInit", {double(*argc)}, argv[0]);
}
void glutInitDisplayMode(unsigned int mode)
{
    record("glutInitDisplayMode", {double(mode)});
}
int glutCreateWindow(const char* title)
{
    record("glutCreateWindow", {}, title);
    return glDouble::window;
}
void glutFullScreen()
{
    record("glutFullScreen");
}
void glutReshapeWindow(int w, int h)
{
    record("glutReshapeWindow", {double(w), double(h)});
}
void glutPositionWindow(int x, int y)
{
    record("glutPositionWindow", {double(x), double(y)});
}
void glutSwapBuffers()
{
    record("glutSwapBuffers");
}
void glutPostRedisplay()
{
    record("glutPostRedisplay");
}
void glutMainLoop()
{
    record("glutMainLoop");
} // returns, so a test can go on
int glutGetWindow()
{
    return glDouble::window;
}
int glutGet(GLenum state)
{
    const auto found = glDouble::answers.find(state);
    return found != glDouble::answers.end() ? found->second : 0;
}

// Registration is logged by name and the callback kept.
void glutDisplayFunc(void (*f)())
{
    record("glutDisplayFunc");
    glDouble::registered.display = f;
}
void glutReshapeFunc(void (*f)(int, int))
{
    record("glutReshapeFunc");
    glDouble::registered.reshape = f;
}
void glutMouseFunc(void (*f)(int, int, int, int))
{
    record("glutMouseFunc");
    glDouble::registered.mouse = f;
}
void glutMotionFunc(void (*f)(int, int))
{
    record("glutMotionFunc");
    glDouble::registered.motion = f;
}
void glutPassiveMotionFunc(void (*f)(int, int))
{
    record("glutPassiveMotionFunc");
    glDouble::registered.passiveMotion = f;
}
void glutIdleFunc(void (*f)())
{
    record("glutIdleFunc");
    glDouble::registered.idle = f;
}
void glutKeyboardFunc(void (*f)(unsigned char, int, int))
{
    record("glutKeyboardFunc");
    glDouble::registered.keyboard = f;
}
void glutSpecialFunc(void (*f)(int, int, int))
{
    record("glutSpecialFunc");
    glDouble::registered.special = f;
}
