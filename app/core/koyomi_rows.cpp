// STUB: placeholder so the tree links; replaced by the real routine.
#include "app/core/koyomi.h"
void Koyomi_EventRows(WSCvdrawingArea*) {}
void Koyomi_TideRows(WSCvdrawingArea*) {}
