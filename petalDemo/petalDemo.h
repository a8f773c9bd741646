// The petal demo: 72 translucent squares that fan out from a row and keep turning.
#ifndef PETAL_DEMO_H
#define PETAL_DEMO_H

#include "zru.h"

class petalDemo : public zrApp {
public:
    // The clock reading at construction: the zero point of the animation.
    float epoch;

    petalDemo();
    // Nine passes of eight petals, centred on window pixel (360, 300).
    void draw() override;
};

#endif // PETAL_DEMO_H
