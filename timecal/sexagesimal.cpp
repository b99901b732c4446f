// Angle, sexagesimal and small numeric helpers of the time library.
// Packed sexagesimal notation: h + m/100 + s/10000 (12.3045 = 12h 30m 45s).
// Every routine that takes a signed value works on its magnitude and gives
// the result the sign of the input (zero counts as positive).
#include "timecal/sexagesimal.h"

#include <cmath>

#include "timecal/constants.h"

namespace {
inline double WithSign(double x, double magnitude) { return (x < 0) ? -magnitude : magnitude; }

// Magnitude a rounded to 1/scale, halves away from zero: (int)(a*scale + 0.5)
// / scale. For a value too large for a 32-bit int the truncation is taken in
// double (floor equals the int truncation for every non-negative value that
// fits), so the result stays defined.
double RoundMagnitude(double a, double scale)
{
    double s = a * scale + 0.5;
    double whole = (s < 2147483648.0) ? static_cast<double>(static_cast<int>(s)) : std::floor(s);
    return whole / scale;
}

// A magnitude in packed sexagesimal (a.mmss) to decimal; carry: seconds
// above 99 go into the minutes.
double Unpack(double a, bool carry)
{
    double H = std::floor(a);
    double M = std::floor((a - H) * 100);
    double S = a * 10000 - H * 10000 - M * 100;
    if (carry && S > 99) {
        S = S - 100;
        M = M + 1;
    }
    return H + M / 60 + S / 3600;
}

// A decimal magnitude to packed sexagesimal a.mmss.
double Pack(double a)
{
    double H = std::floor(a);
    double M = std::floor((a - H) * 60);
    double S = a * 3600 - H * 3600 - M * 60;
    return H + M / 100 + S / 10000;
}
}  // namespace

// HMSToHour
//   Given:    x  packed h.mmss
//   Returned: decimal hours, sign of x
//   Notes:    no correction of seconds that come out near 100 (see DMSToDeg).
double HMSToHour(double x) { return WithSign(x, Unpack(std::fabs(x), false)); }

// HMSToDeg
//   Given:    x  packed h.mmss
//   Returned: degrees (15 per hour), sign of x
double HMSToDeg(double x) { return HMSToHour(x) * 15; }

// DMSToDeg
//   Given:    x  packed d.mmss
//   Returned: decimal degrees, sign of x
//   Notes:    seconds above 99 (a decimal fraction not exact in binary: 0.29
//             splits into 28 m 100 s) are carried into the minutes.
double DMSToDeg(double x) { return WithSign(x, Unpack(std::fabs(x), true)); }

// DegToHMS
//   Given:    x  degrees
//   Returned: packed h.mmss of x/15 hours, sign of x
double DegToHMS(double x) { return WithSign(x, Pack(std::fabs(x) / 15)); }

// DegToDMS
//   Given:    x  degrees
//   Returned: packed d.mmss, sign of x
double DegToDMS(double x) { return WithSign(x, Pack(std::fabs(x))); }

// Digit2, Digit3
//   Given:    x
//   Returned: x rounded to 2 (3) decimals, halves away from zero
//   Notes:    defined for every x: beyond the range of a 32-bit int the
//             rounding is floor(|x|*100 + 0.5)/100 in double, with the sign.
double Digit2(double x) { return WithSign(x, RoundMagnitude(std::fabs(x), 100)); }
double Digit3(double x) { return WithSign(x, RoundMagnitude(std::fabs(x), 1000)); }

// Datn2
//   Given:    y, x
//   Returned: atan(y/x) with quadrant offsets, radians: first quadrant in
//             (0, pi/2); second and third in (-3pi/2, -pi/2); fourth and the
//             positive x-axis in (-5pi/2, -2pi]. Congruent to the direction
//             angle of (x, y) modulo 2 pi.
//   Notes:    x = 0 gives atan(y/0) unchanged: +pi/2 for y > 0, -pi/2 for
//             y < 0 (a negative zero x counts as zero). The origin itself has
//             no direction: (0, 0) gives 0 instead of the NaN of 0/0.
double Datn2(double y, double x)
{
    if (x == 0) {
        if (y == 0) return 0.0;
        x = 0.0;  // -0.0 would turn +y into -pi/2
    }
    double r = std::atan(y / x);
    if (x < 0) r = r - kPi10;
    if (x > 0 && y <= 0) r = r - kTwoPi10;
    return r;
}

// Table_Value
//   Given:    a, b, c, d  values at the corners (0,0), (10,0), (0,10), (10,10)
//             p, q        offsets along the first and second side, 0..10
//   Returned: the bilinear interpolate; p = q = 0 gives a
double Table_Value(double a, double b, double c, double d, double p, double q)
{
    double u = a + (c - a) * q / 10;
    double v = b + (d - b) * q / 10;
    return u + (v - u) * p / 10;
}
