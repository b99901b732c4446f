// Computed pixel values narrowed for the drawing operations: every panel
// converts through these.
#pragma once
#include <cmath>

// Counts one input the conversions below clamp (not a number or infinite,
// or finite but outside the type's range).
void NarrowCount(double v);

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
**  3) Inline: the sky view converts some 30,000 values a repaint.
*/
inline short NarrowShort(double v)
{
    constexpr double kLo = -32769.0, kHi = 32768.0;  // truncation stays in range
    if (v > kLo && v < kHi) return static_cast<short>(std::trunc(v));
    NarrowCount(v);
    return v > 0 ? 32767 : -32768;
}

inline unsigned short NarrowUShort(double v)
{
    constexpr double kLo = -1.0, kHi = 65536.0;
    if (v > kLo && v < kHi) return static_cast<unsigned short>(std::trunc(v));
    NarrowCount(v);
    return v > 0 ? 65535 : 0;
}

inline long NarrowLong(double v)
{
    // +-2147483647: the range every long holds, symmetric
    constexpr double kLo = -2147483648.0, kHi = 2147483648.0;
    if (v > kLo && v < kHi) return static_cast<long>(std::trunc(v));
    NarrowCount(v);
    return v > 0 ? 2147483647L : -2147483647L;
}
// Inputs the conversions above had to clamp since the last reset: not a
// number or infinite, and finite but outside the type's range.
struct NarrowCounts {
    long nonfinite = 0;
    long out_of_range = 0;
};
NarrowCounts NarrowCounts_Get();
void NarrowCounts_Reset();

