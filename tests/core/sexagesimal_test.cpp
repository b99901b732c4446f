// Angle, sexagesimal and small numeric helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "timecal/sexagesimal.h"

TEST(HMSToHour, PackedToDecimal)
{
    EXPECT_NEAR(HMSToHour(12.3045), 12.5125, 1e-9);
    EXPECT_NEAR(HMSToHour(-12.3045), -12.5125, 1e-9);
    EXPECT_NEAR(HMSToDeg(1.0), 15.0, 1e-12);
    EXPECT_NEAR(HMSToDeg(-1.0), -15.0, 1e-12);
    // 0.29 splits into 28 minutes and 100 seconds: corrected only in DMSToDeg
    EXPECT_NEAR(DMSToDeg(0.29), 29.0 / 60, 1e-9);
    EXPECT_NEAR(HMSToHour(0.29), 28.0 / 60 + 100.0 / 3600, 1e-9);
    EXPECT_NEAR(DMSToDeg(-10.3030), -(10 + 30.0 / 60 + 30.0 / 3600), 1e-9);
}

TEST(DegToHMS, DecimalToPacked)
{
    EXPECT_NEAR(DegToHMS(180), 12.0, 1e-12);
    EXPECT_NEAR(DegToHMS(-187.6875), -12.3045, 1e-9);  // 12h 30m 45s
    EXPECT_NEAR(DegToDMS(-0.5), -0.3, 1e-12);
    EXPECT_NEAR(DegToDMS(12.5125), 12.3045, 1e-9);
}

TEST(Digit2, RoundsHalvesAwayFromZero)
{
    EXPECT_NEAR(Digit2(1.234), 1.23, 1e-12);
    EXPECT_NEAR(Digit2(-1.236), -1.24, 1e-12);
    EXPECT_NEAR(Digit3(0.0005), 0.001, 1e-12);
    EXPECT_NEAR(Digit3(-0.0005), -0.001, 1e-12);
    EXPECT_EQ(Digit2(0.0), 0.0);
    // beyond the 32-bit range the rounding stays defined, with the sign
    EXPECT_EQ(Digit2(3e7 + 0.126), 30000000.13);
    EXPECT_EQ(Digit2(-1e12 - 0.004), -1e12);
    EXPECT_EQ(Digit3(5e9 + 0.25), 5000000000.25);
    EXPECT_DOUBLE_EQ(Digit2(1e300), 1e300);
}

TEST(Datn2, QuadrantOffsets)
{
    EXPECT_NEAR(Datn2(1, -1), std::atan(-1.0) - 3.1415926536, 1e-12);
    // the digits given are cut, not rounded: within one unit of the last
    EXPECT_NEAR(Datn2(1, -1), -3.9269908, 1e-7);
    EXPECT_NEAR(Datn2(-1, 1), -7.0685834, 1e-7);
    EXPECT_NEAR(Datn2(1, 1), 0.7853981, 1e-7);
    EXPECT_NEAR(Datn2(-1, -1), std::atan(1.0) - 3.1415926536, 1e-12);  // third quadrant
    EXPECT_NEAR(Datn2(0, 1), -6.2831853072, 1e-12);                    // positive x-axis
    // on the y-axis atan(y/0); the origin has no direction and gives 0, not NaN
    EXPECT_NEAR(Datn2(2, 0), 1.5707963268, 1e-10);
    EXPECT_NEAR(Datn2(-2, 0), -1.5707963268, 1e-10);
    EXPECT_NEAR(Datn2(2, -0.0), 1.5707963268, 1e-10);
    EXPECT_EQ(Datn2(0, 0), 0.0);
}

TEST(Table_Value, BilinearInATenCell)
{
    EXPECT_EQ(Table_Value(1, 2, 3, 4, 10, 10), 4.0);
    EXPECT_EQ(Table_Value(1, 2, 3, 4, 5, 0), 1.5);
    EXPECT_EQ(Table_Value(1, 2, 3, 4, 0, 0), 1.0);
    EXPECT_EQ(Table_Value(1, 2, 3, 4, 0, 10), 3.0);  // q runs from a toward c
}
