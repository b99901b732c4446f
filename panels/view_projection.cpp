// The view projection shared by the planet panel and the star chart.
#include "panels/view_projection.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ephem/moon.h"
#include "ephem/planet.h"
#include "ephem/position.h"
#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "panels/display_settings.h"
#include "timecal/constants.h"
#include "timecal/observer.h"

namespace {

constexpr double kTiny = 0.000001;  // guard of the projection against 0
constexpr double kViewPi = 3.14;    // divisor of the radius (not pi)

// The guards that tell the two variants of the view projection apart.
struct ProjectionGuards {
    bool above_includes_horizon;  // el >= 0 (body) or el > 0 (grid) counts as above
    bool floor_sine;              // raise sqrt|1 - P^2| to kTiny
    bool guard_u;                 // u: flip at d = 270 (equatorial), raise to kTiny
    bool flip_at_270;             // equatorial grid only
    bool floor_T;                 // raise T to kTiny (grid) or replace 0 only (body)
};

constexpr ProjectionGuards kBodyGuards = {true, false, false, false, false};
constexpr ProjectionGuards kGridGuards = {false, true, true, false, true};
constexpr ProjectionGuards kEquatorialGuards = {false, true, true, true, true};

/*
**  ViewProject
**  The view projection, with the guards of one variant.
**
**  Given:
**     el   double             altitude, degrees
**     d    double             azimuth offset from the viewing azimuth,
**                             degrees (west positive)
**     g    ProjectionGuards   the variant's guards
**
**  Returned:
**     px, py   double*        pixel position about (X0, Y0) at scale
**                             pixels per degree
**
**  Notes:
**  1) Azimuthal equidistant projection centred on the horizon point at
**     the viewing azimuth: u is the angular distance from that point
**     (negative below the horizon), A the direction from the vertical;
**     the zenith lies 90 * scale pixels above the centre (the radius is
**     divided by 3.14, not pi, so slightly more).
**  2) In the body variant a point at the very centre (u = 0) would give
**     0/0; it is taken as the centre.
*/
void ViewProject(double el, double d, const ProjectionGuards& g, double* px, double* py)
{
    const double R = kDegToRad;
    // 1. cosine of the distance from the view centre, sign by the horizon
    bool above = g.above_includes_horizon ? el >= 0 : el > 0;
    const double cos_el = std::cos(el * R);  // (computed once: the same value twice)
    double P = above ? cos_el * std::cos(d * R) : -cos_el * std::cos(d * R);
    // 2. the distance u, radians
    double S = std::sqrt(std::fabs(1 - P * P));
    if (g.floor_sine && S < kTiny) S = kTiny;
    double u = std::atan(S / P);
    if (g.guard_u) {
        if (g.flip_at_270 && d == 270) u = -u;
        if (-kTiny < u && u < kTiny) u = kTiny;
    }
    // 3. the direction A from the vertical
    double sin_u = std::sin(u);
    double Q = sin_u != 0 ? std::sin(d * R) * cos_el / sin_u : 0.0;
    double T = std::sqrt(std::fabs(1 - Q * Q));
    if (g.floor_T ? T < kTiny : T == 0) T = kTiny;
    double A = std::atan(Q / T);
    if (-kTiny < A && A < kTiny) A = kTiny;
    // 4. to pixels
    double r = u / kViewPi * 180;
    *px = X0 + r * std::sin(A) * scale;
    *py = Y0 - r * std::cos(A) * scale;
}

}  // namespace

/*
**  ViewProjectBody
**  The view projection of a body or a figure star.
**
**  Given:
**     el   double    altitude, degrees
**     d    double    azimuth offset (ViewOffset), degrees
**
**  Returned:
**     px, py   double*   the point in the view (X0, Y0, scale), pixels
**
**  Notes:
**  1) The body variant: el >= 0 counts as above the horizon; T is replaced
**     by 0.000001 only when exactly 0.
*/
void ViewProjectBody(double el, double d, double* px, double* py)
{
    ViewProject(el, d, kBodyGuards, px, py);
}

/*
**  ViewProjectGrid
**  The view projection of a point of the grids.
**
**  Given:
**     el, d        double   as ViewProjectBody
**     equatorial   bool     true for the hour and declination circles
**
**  Returned:
**     px, py       double*  the point in the view, pixels
**
**  Notes:
**  1) The grid variant: el > 0 counts as above; the sine of the distance,
**     the distance and T are kept at least 0.000001; on the equatorial
**     grid the distance changes sign at d = 270.
*/
void ViewProjectGrid(double el, double d, bool equatorial, double* px, double* py)
{
    ViewProject(el, d, equatorial ? kEquatorialGuards : kGridGuards, px, py);
}

/*
**  ViewRadius
**  Radius in the view projection of a given distance from its centre.
**
**  Given:
**     degrees  double   angular distance from the view's centre
**
**  Returned (function value):
**              double   pixels: u / 3.14 * 180 * scale with u in radians
**                       (90 degrees: about 180 pixels at scale 2)
*/
double ViewRadius(double degrees)
{
    return degrees * kDegToRad / kViewPi * 180 * scale;
}

namespace {

constexpr double kViewStretch = 3.14159265358979323846 / 3.14 * 1.0001;  // with a margin
// pixels: the shift of a direction A lifted within 0.000001 of the
// vertical, at most 90 (pi / 3.14) scale x 0.000002, and the rounding of
// the floating steps (some 1e-12 pixels)
double GuardPixels() { return 0.001 + 0.0004 * scale; }
constexpr double kGuardDegrees = 1e-4;
constexpr double kFarPixels = 30000;   // beyond it a pixel is computed anew
constexpr double kCentreGuard = 1e-3;  // degrees about the view's centre

// Distance of v (|v| below 2^31) from the nearest whole number: the part
// after the point, v - trunc(v), is exact.
double FromWhole(double v)
{
    const double f = std::fabs(v - static_cast<double>(static_cast<long>(v)));
    return std::min(f, 1 - f);
}

// The stretch (pi / 3.14) u / sin u, with its margin, taken kViewMaxTurn
// beyond u, by |P| = cos u in kStretchSteps steps: each step's value is
// the one at its least |P|, the greatest u in it, so never below the
// stretch of any |P| in the step.
constexpr int kStretchSteps = 256;
const double* StretchByCosine()
{
    static const auto table = [] {
        std::array<double, kStretchSteps + 1> t{};
        for (int i = 0; i <= kStretchSteps; ++i) {
            const double u = std::acos(static_cast<double>(i) / kStretchSteps) / kDegToRad;
            const double reach = std::min(90.0, u + kViewMaxTurn) * kDegToRad;
            t[i] = kViewStretch * reach / std::sin(reach);
        }
        return t;
    }();
    return table.data();
}

}  // namespace

double ViewKeptArc(double P, double el, double px, double py, const double* xs, int nx,
                   const double* ys, int ny)
{
    if (!(scale > 0) || !(std::fabs(px) < kFarPixels && std::fabs(py) < kFarPixels)) return 0;
    const double plane = std::fabs(P) / kDegToRad - kGuardDegrees;
    // the stretch at the angle u from the view's centre (cos u = |P|)
    const double cos_u = std::min(1.0, std::fabs(P));
    const double stretch = StretchByCosine()[static_cast<int>(cos_u * kStretchSteps)];
    const double centre = std::sqrt(std::fabs(1 - P * P)) / kDegToRad - kCentreGuard;
    double whole = 1;
    for (int i = 0; i < nx; ++i) whole = std::min(whole, FromWhole(px + xs[i]));
    for (int j = 0; j < ny; ++j) whole = std::min(whole, FromWhole(py + ys[j]));
    const double pixels = (whole - GuardPixels()) / (stretch * scale);
    return std::min({plane, std::fabs(el) - kGuardDegrees, centre - kGuardDegrees, pixels});
}

