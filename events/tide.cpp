// STUB: placeholder so the tree links; replaced by the real routine.
#include "events/tide.h"
double Tide[8];
void Tide_Cal(double) {}
