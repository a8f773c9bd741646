// GL, GLU and GLUT entry points that do nothing, so that a profile of the
// framework and the demo module shows their own work and nothing else.
// glutGetWindow names window 1, and the elapsed time advances 16 ms per
// reading so that the scene turns as it does on screen.
#include <GL/glut.h>

// GL
void glBegin(GLenum) {}
void glEnd() {}
void glVertex3f(GLfloat, GLfloat, GLfloat) {}
void glNormal3f(GLfloat, GLfloat, GLfloat) {}
void glColor4f(GLfloat, GLfloat, GLfloat, GLfloat) {}
void glEnable(GLenum) {}
void glDisable(GLenum) {}
void glBlendFunc(GLenum, GLenum) {}
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glMatrixMode(GLenum) {}
void glLoadIdentity() {}
void glPushMatrix() {}
void glPopMatrix() {}
void glTranslatef(GLfloat, GLfloat, GLfloat) {}
void glRotatef(GLfloat, GLfloat, GLfloat, GLfloat) {}
void glScalef(GLfloat, GLfloat, GLfloat) {}
void glDepthFunc(GLenum) {}
void glShadeModel(GLenum) {}
void glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void glClear(GLbitfield) {}
void glColorMaterial(GLenum, GLenum) {}
void glLightfv(GLenum, GLenum, const GLfloat*) {}

// GLU
void gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) {}
void gluLookAt(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}

// GLUT
void glutInit(int*, char**) {}
void glutInitDisplayMode(unsigned int) {}
int glutCreateWindow(const char*)
{
    return 1;
}
void glutFullScreen() {}
void glutReshapeWindow(int, int) {}
void glutPositionWindow(int, int) {}
void glutSwapBuffers() {}
void glutPostRedisplay() {}
void glutMainLoop() {}
int glutGetWindow()
{
    return 1;
}
int glutGet(GLenum state)
{
    static int elapsed = 0;
    return state == GLUT_ELAPSED_TIME ? (elapsed += 16) : 0;
}
void glutDisplayFunc(void (*)()) {}
void glutReshapeFunc(void (*)(int, int)) {}
void glutMouseFunc(void (*)(int, int, int, int)) {}
void glutMotionFunc(void (*)(int, int)) {}
void glutPassiveMotionFunc(void (*)(int, int)) {}
void glutIdleFunc(void (*)()) {}
void glutKeyboardFunc(void (*)(unsigned char, int, int)) {}
void glutSpecialFunc(void (*)(int, int, int)) {}
