// STUB: placeholder so the tree links; replaced by the real routine.
#include "panels/panels.h"
void DispMoon(WSCbase*) {}
