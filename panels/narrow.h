// Computed pixel values narrowed for the drawing operations: every panel
// converts through these.
#pragma once

// v truncated toward zero and clamped into the type's range (NaN: the
// lowest value); every clamped input is counted.
short NarrowShort(double v);
unsigned short NarrowUShort(double v);
long NarrowLong(double v);
// Inputs the conversions above had to clamp since the last reset: not a
// number or infinite, and finite but outside the type's range.
struct NarrowCounts {
    long nonfinite = 0;
    long out_of_range = 0;
};
NarrowCounts NarrowCounts_Get();
void NarrowCounts_Reset();

