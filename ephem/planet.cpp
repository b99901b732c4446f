// STUB: placeholder so the tree links; replaced by the real routine.
#include "ephem/planet.h"
void Planet_Position(int, double, tagPosition*) {}
