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

/*
**  HMSToHour
**  Packed h.mmss to decimal hours.
**
**  Given:
**     x    double   h + m/100 + s/10000 (12.3045 is 12h 30m 45s)
**
**  Returned (function value):
**          double   h + m/60 + s/3600, with the sign of x
**
**  Notes:
**  1) No correction of seconds that the binary fraction turns into about
**     100 (0.29 gives 28 m 100 s, that is 0.49444 h; see DMSToDeg).
*/
double HMSToHour(double x) { return WithSign(x, Unpack(std::fabs(x), false)); }

/*
**  HMSToDeg
**  Packed h.mmss to degrees.
**
**  Given:
**     x    double   packed h.mmss
**
**  Returned (function value):
**          double   HMSToHour(x) * 15, degrees, with the sign of x
*/
double HMSToDeg(double x) { return HMSToHour(x) * 15; }

/*
**  DMSToDeg
**  Packed d.mmss to decimal degrees.
**
**  Given:
**     x    double   d + m/100 + s/10000
**
**  Returned (function value):
**          double   d + m/60 + s/3600, with the sign of x
**
**  Notes:
**  1) Seconds above 99 (a decimal fraction not exact in binary: 0.29
**     splits into 28 m 100 s) are carried into the minutes, so 0.29 is
**     29' 00" and 31.59 is 31 59' 00".
*/
double DMSToDeg(double x) { return WithSign(x, Unpack(std::fabs(x), true)); }

/*
**  DegToHMS
**  Degrees to packed h.mmss.
**
**  Given:
**     x    double   degrees
**
**  Returned (function value):
**          double   x/15 hours packed as h + m/100 + s/10000, with the sign
**                   of x (180 gives 12.0)
*/
double DegToHMS(double x) { return WithSign(x, Pack(std::fabs(x) / 15)); }

/*
**  DegToDMS
**  Degrees to packed d.mmss.
**
**  Given:
**     x    double   degrees
**
**  Returned (function value):
**          double   packed d + m/100 + s/10000, with the sign of x (-0.5
**                   gives -0.3)
*/
double DegToDMS(double x) { return WithSign(x, Pack(std::fabs(x))); }

/*
**  Digit2, Digit3
**  Rounding to two or three decimals.
**
**  Given:
**     x    double   value
**
**  Returned (function value):
**          double   (int)(|x| * 100 + 0.5) / 100 (Digit3: 1000), with the
**                   sign of x: halves away from zero
**
**  Notes:
**  1) Defined for every x: beyond the range of a 32-bit int the rounding
**     is floor(|x| * 100 + 0.5) / 100 in double, with the sign.
**  2) The planet routine rounds its perturbation terms with them.
*/
double Digit2(double x) { return WithSign(x, RoundMagnitude(std::fabs(x), 100)); }
double Digit3(double x) { return WithSign(x, RoundMagnitude(std::fabs(x), 1000)); }

/*
**  Datn2
**  Arctangent of y/x with quadrant offsets.
**
**  Given:
**     y, x   double   the two sides
**
**  Returned (function value):
**            double   atan(y/x), radians, minus pi (3.1415926536) when x < 0
**                     and minus 2 pi (6.2831853072) when x > 0 and y <= 0:
**                     first quadrant in (0, pi/2), second and third in
**                     (-3pi/2, -pi/2), fourth and the positive x-axis in
**                     (-5pi/2, -2pi]; congruent to the direction angle of
**                     (x, y) modulo 2 pi
**
**  Notes:
**  1) x = 0 gives atan(y/0) unchanged: +pi/2 for y > 0, -pi/2 for y < 0
**     (a negative zero x counts as zero).
**  2) The origin has no direction: (0, 0) gives 0 instead of the NaN of
**     0/0.
*/
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

/*
**  Table_Value
**  Bilinear interpolation in a cell of side 10.
**
**  Given:
**     a, b, c, d   double   values at the corners (0,0), (10,0), (0,10),
**                           (10,10)
**     p, q         double   offsets along the first and second side, 0..10
**
**  Returned (function value):
**                  double   u + (v - u) p/10 with u = a + (c - a) q/10 and
**                           v = b + (d - b) q/10; p = q = 0 gives a
*/
double Table_Value(double a, double b, double c, double d, double p, double q)
{
    double u = a + (c - a) * q / 10;
    double v = b + (d - b) * q / 10;
    return u + (v - u) * p / 10;
}
