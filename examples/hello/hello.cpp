// hello: a square that follows the pointer and slowly changes colour.
#include <zru.h>

#include <GL/gl.h>

class hello : public zrApp {
public:
    float x = 100.0f, y = 100.0f; // the square's centre, in window pixels

    // Called on every display pass, inside a frame whose z = 0 plane lies on
    // the window's pixels (origin at the lower left, y up).
    void draw() override
    {
        glDisable(GL_LIGHTING);
        zruColorHsb(static_cast<float>(zruCurrentTimeMillis() % 10000) / 10000.0f, 0.7f, 1.0f, 1.0f);
        glBegin(GL_QUADS);
        glVertex3f(x - 20.0f, y - 20.0f, 0.0f);
        glVertex3f(x + 20.0f, y - 20.0f, 0.0f);
        glVertex3f(x + 20.0f, y + 20.0f, 0.0f);
        glVertex3f(x - 20.0f, y + 20.0f, 0.0f);
        glEnd();
    }

    // Pointer positions arrive in the same pixel coordinates.
    void mouseMove(float px, float py) override
    {
        x = px;
        y = py;
    }
    // Esc (quit) and F1 (full screen or window) are inherited from zrApp.
};

// The two names every application module publishes.
zrApp* makeApp(void)
{
    return new hello();
}

const char my_type[4] = "App";
