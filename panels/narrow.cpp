// Computed pixel values narrowed for the drawing operations (narrow.h).
#include "panels/narrow.h"

#include <cmath>

namespace {
NarrowCounts g_narrow;
}  // namespace

// The out-of-range side of the conversions (narrow.h): the kind of fault
// counted.
void NarrowCount(double v)
{
    if (std::isfinite(v)) ++g_narrow.out_of_range;
    else ++g_narrow.nonfinite;
}

/*
**  NarrowCounts_Get, NarrowCounts_Reset
**  The inputs the conversions above had to clamp since the last reset.
**
**  Returned (function value, NarrowCounts_Get):
**          NarrowCounts   nonfinite: not a number or infinite;
**                         out_of_range: finite but outside the type
*/
NarrowCounts NarrowCounts_Get() { return g_narrow; }
void NarrowCounts_Reset() { g_narrow = NarrowCounts(); }

