// The generic launcher: it knows no application, only the module's factory.
#include "zru.h"

int main()
{
    zruOpen();
    zrApp* a = makeApp();
    a->selfStart(); // runs the GLUT main loop and never comes back
    return 0;
}
