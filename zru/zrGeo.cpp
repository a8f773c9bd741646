// The root class: every operation does nothing until a subclass says otherwise.
#include "zru.h"

void zrGeo::idle() {}

void zrGeo::draw() {}

void zrGeo::message(const char* /*text*/) {}
