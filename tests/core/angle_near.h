// Angle comparison for the numerical tests: the difference wraps at 360 and
// a NaN never passes.
#pragma once
#include <gtest/gtest.h>

#include <cmath>

inline ::testing::AssertionResult AngleNear(double actual, double expected, double tol)
{
    if (std::isnan(actual)) return ::testing::AssertionFailure() << "NaN, expected " << expected;
    double d = std::fmod(actual - expected, 360.0);
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    if (std::fabs(d) <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " differs from " << expected << " by " << d << " (tolerance " << tol << ")";
}
