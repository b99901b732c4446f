// STUB: placeholder so the tree links; replaced by the real routine.
#include "events/riseset.h"
double Cal_Rise_Time(double, int) { return 23.0; }
double Cal_Set_Time(double, int) { return 23.0; }
double Cal_Top_Time(double, int) { return 23.0; }
