// STUB: placeholder so the tree links; replaced by the real routine.
#include "events/newmoon.h"
void FirstdayCal1(double, double* a, double* b) { *a = *b = 0; }
