// Computed pixel values narrowed for the drawing operations (narrow.h).
#include "panels/narrow.h"

#include <cmath>

namespace {
NarrowCounts g_narrow;

// Count an input that has to be clamped: true when v is a number inside
// (lo, hi), else the kind of fault is counted.
bool NarrowInRange(double v, double lo, double hi)
{
    if (v > lo && v < hi) return true;
    if (std::isfinite(v)) ++g_narrow.out_of_range;
    else ++g_narrow.nonfinite;
    return false;
}
}  // namespace

/*
**  NarrowShort, NarrowUShort, NarrowLong
**  A computed pixel value converted for the drawing operations.
**
**  Given:
**     v    double   a computed pixel value
**
**  Returned (function value):
**          short, unsigned short or long   v truncated toward zero and
**                   clamped into the type's range: signed 16 bits for
**                   coordinates, unsigned 16 bits for sizes, +-2147483647
**                   for text positions; NaN gives the lowest value
**
**  Notes:
**  1) The one conversion of every panel: a point far off the area is
**     clamped (it stays off the area, not wrapped back into it).
**  2) Each NaN, infinite or out-of-range input is counted
**     (NarrowCounts_Get).
*/
short NarrowShort(double v)
{
    constexpr double kLo = -32769.0, kHi = 32768.0;  // truncation stays in range
    if (!NarrowInRange(v, kLo, kHi)) return v > 0 ? 32767 : -32768;
    return static_cast<short>(std::trunc(v));
}

unsigned short NarrowUShort(double v)
{
    constexpr double kLo = -1.0, kHi = 65536.0;
    if (!NarrowInRange(v, kLo, kHi)) return v > 0 ? 65535 : 0;
    return static_cast<unsigned short>(std::trunc(v));
}

long NarrowLong(double v)
{
    // +-2147483647: the range every long holds, symmetric
    constexpr double kLo = -2147483648.0, kHi = 2147483648.0;
    if (!NarrowInRange(v, kLo, kHi)) return v > 0 ? 2147483647L : -2147483647L;
    return static_cast<long>(std::trunc(v));
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

