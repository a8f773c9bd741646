// The clock and HSB colour.
#include "zru.h"

#include <GL/glut.h>

#include <cmath>

int zruCurrentTimeMillis(void)
{
    // A step of 0 would divide by zero; it counts as 1. The division runs in
    // 64 bits so that INT_MIN / -1 cannot overflow.
    const long long step = zruTimeStep != 0 ? zruTimeStep : 1;
    return static_cast<int>(glutGet(GLUT_ELAPSED_TIME) / step);
}

void zruColorHsb(float hue, float saturation, float brightness, float alpha)
{
    if (saturation == 0.0f) {
        glColor4f(brightness, brightness, brightness, alpha);
        return;
    }
    // Every intermediate is worked in double and stored as float.
    const double h = hue;
    const float h6 = static_cast<float>((h - std::floor(h)) * 6.0);
    // NaN (an infinite or NaN hue) and an h6 rounded up to 6 name no sector;
    // a NaN must never reach the integer conversion below.
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
    default: glColor4f(brightness, p, q, alpha); break; // sector 5
    }
}
