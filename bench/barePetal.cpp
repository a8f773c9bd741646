// The petal picture written straight onto GLUT, with no framework: the same
// window set-up and, every frame, the same GL calls with the same values as
// petalDemo (viewport, matrices, switches, clear, light, perspective and
// look-at, then the scene's scales, rotations, colours and quads, and the
// swap). What petalDemo costs beyond this program is the framework's cost.
#include <GL/glut.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr float fieldOfView = 60.0f;

int windowWidth = 0;
int windowHeight = 0;
bool sizeSeen = false;

// The view for the last window size seen.
int viewWidth = 0;
int viewHeight = 0;
float halfWidth = 320.0f;
float halfHeight = 240.0f;
float eyeDistance = 100.0f;
float nearPlane = 10.0f;
float farPlane = 1000.0f;
float aspect = 4.0f / 3.0f;

float epoch = 0.0f;

constexpr float axes[7][3] = {
    {1.0f, 1.0f, 1.0f}, {0.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 0.0f},
    {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f},
};

void updateView()
{
    constexpr double pi = 3.14159265358979323846;
    halfWidth = static_cast<float>(windowWidth * 0.5);
    halfHeight = static_cast<float>(windowHeight * 0.5);
    const float halfAngle = static_cast<float>(fieldOfView * pi * (1.0 / 360.0));
    const float tangent = static_cast<float>(std::tan(static_cast<double>(halfAngle)));
    eyeDistance = halfHeight / tangent;
    nearPlane = static_cast<float>(eyeDistance * 0.1);
    farPlane = static_cast<float>(eyeDistance * 10.0);
    aspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
}

// Hue, saturation, brightness to the current colour (hexcone model).
void colorHsb(float hue, float saturation, float brightness, float alpha)
{
    const double h = hue;
    const float h6 = static_cast<float>((h - std::floor(h)) * 6.0);
    if (!(h6 >= 0.0f && h6 < 6.0f)) {
        return;
    }
    const double s = saturation;
    const double b = brightness;
    const float f = static_cast<float>(h6 - std::floor(static_cast<double>(h6)));
    const float p = static_cast<float>(b * (1.0 - s));
    const float q = static_cast<float>(b * (1.0 - s * f));
    const float t = static_cast<float>(b * (1.0 - s * (1.0 - f)));
    switch (static_cast<int>(h6)) {
    case 0: glColor4f(brightness, t, p, alpha); break;
    case 1: glColor4f(q, brightness, p, alpha); break;
    case 2: glColor4f(p, brightness, t, alpha); break;
    case 3: glColor4f(p, q, brightness, alpha); break;
    case 4: glColor4f(t, p, brightness, alpha); break;
    default: glColor4f(brightness, p, q, alpha); break;
    }
}

void quad(float x)
{
    glVertex3f(x, -15.0f, 15.0f);
    glVertex3f(x, -15.0f, -15.0f);
    glVertex3f(x, 15.0f, -15.0f);
    glVertex3f(x, 15.0f, 15.0f);
}

void display()
{
    if (!sizeSeen) {
        sizeSeen = windowWidth != 0;
        if (!sizeSeen) {
            return;
        }
    }

    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (windowWidth != viewWidth || windowHeight != viewHeight) {
        viewWidth = windowWidth;
        viewHeight = windowHeight;
        updateView();
    }
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glDisable(GL_TEXTURE_2D);
    const GLfloat light[4] = {halfWidth, halfHeight, eyeDistance, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(fieldOfView, aspect, nearPlane, farPlane);
    gluLookAt(halfWidth, halfHeight, eyeDistance, halfWidth, halfHeight, 0.0, 0.0, 1.0, 0.0);
    glMatrixMode(GL_MODELVIEW);

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glScalef(0.3f, 0.3f, 0.3f);
    glTranslatef(1200.0f, 1000.0f, 0.0f);
    glScalef(16.0f, 16.0f, 16.0f);
    const int ticks = glutGet(GLUT_ELAPSED_TIME);
    const float t = static_cast<float>((static_cast<double>(ticks) - static_cast<double>(epoch)) *
                                       static_cast<double>(0.0025f));
    glRotatef(t, 1.0f, 0.0f, 0.0f);
    for (int pass = 0; pass < 9; ++pass) {
        const float fuzz = static_cast<float>(pass);
        const float x = fuzz * 100.0f * 0.125f + -100.0f * 0.5f;
        glBegin(GL_QUADS);
        glNormal3f(0.0f, 1.0f, 0.0f);
        colorHsb(static_cast<float>(fuzz * 0.025f + 0.2), 0.8f, 0.8f, 0.15f);
        quad(x);
        glEnd();
        for (const auto& axis : axes) {
            glRotatef(t, axis[0], axis[1], axis[2]);
            glBegin(GL_QUADS);
            glNormal3f(0.0f, 1.0f, 0.0f);
            quad(x);
            glEnd();
        }
    }

    glutSwapBuffers();
}

void reshape(int width, int height)
{
    windowWidth = width;
    windowHeight = height;
}

void idle()
{
    glutPostRedisplay();
}

void keyboard(unsigned char key, int, int)
{
    if (key == 27) {
        std::exit(0);
    }
}

void mouse(int, int, int, int) {}
void motion(int, int) {}
void special(int, int, int) {}

} // namespace

int main()
{
    static char name[] = "zru";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(name);
    glutFullScreen();
    glutReshapeFunc(reshape);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    epoch = static_cast<float>(glutGet(GLUT_ELAPSED_TIME));

    glutDisplayFunc(display);
    glutMouseFunc(mouse);
    glutMotionFunc(motion);
    glutPassiveMotionFunc(motion);
    glutIdleFunc(idle);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(special);
    glutReshapeFunc(reshape);
    glutMainLoop();
    return 0;
}
