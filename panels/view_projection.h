// The view projection: the sky toward the viewing azimuth as an azimuthal
// equidistant view centred on the horizon, shared by the planet panel (its
// grids and bodies) and the star chart (projection 4). The bodies of the
// view: ephem/bodies.h.
#pragma once

/*
**  ViewOffset
**  Azimuth offset from the viewing azimuth.
**
**  Given:
**     az             double   azimuth from the south, positive west, degrees
**     view_azimuth   double   the viewing azimuth, degrees
**
**  Returned (function value):
**                    double   d = az - view_azimuth, taken once into
**                             [0, 360] (360 added if negative, subtracted
**                             if above 360)
**
**  Notes:
**  1) Inline, as InFrontHalf: the grids of a repaint take both some
**     15,000 times.
*/
inline double ViewOffset(double az, double view_azimuth)
{
    double d = az - view_azimuth;
    if (d < 0) d += 360;
    if (d > 360) d -= 360;
    return d;
}

/*
**  InFrontHalf
**  Whether a direction lies in the front half of the view.
**
**  Given:
**     d    double   azimuth offset from ViewOffset, degrees
**
**  Returned (function value):
**          bool     d <= 90 or d >= 270: within 90 degrees of the view
*/
inline bool InFrontHalf(double d)
{
    return d <= 90 || d >= 270;
}

// Body variant of the view projection (bodies, figure stars).
void ViewProjectBody(double el, double d, double* px, double* py);
// Grid variant; equatorial is true for the hour and declination circles.
void ViewProjectGrid(double el, double d, bool equatorial, double* px, double* py);
// Distance in pixels from the view's centre of a point the given angle
// (degrees) away from it, at the scale in force.
double ViewRadius(double degrees);

// ---- points kept while the sky turns
//
// A point of fixed right ascension and declination (a sample of the hour
// and declination circles, a figure star) moves along its parallel as the
// sidereal time goes on: a change of its hour angle by h degrees moves it
// by h cos(dec) degrees of arc. ViewKeptArc says how many degrees of arc it
// may move before anything drawn from it could change; a caller keeps the
// point's pixel while the hour angle has changed by less than that over
// cos(dec), and by at most kViewMaxTurn degrees.
constexpr double kViewMaxTurn = 1.0;

/*
**  ViewKeptArc
**  How far a point in front may move before its drawing could change.
**
**  Given:
**     P        double   cos(el) cos(d): the cosine of its angle from the
**                       view's centre, the sine of its angle from the
**                       plane that bounds the front half
**     el       double   altitude, degrees
**     px, py   double   the point in the view, pixels
**     xs, ys   double*  offsets (nx and ny of them) added to px and to py
**                       before each truncation to a pixel
**
**  Returned (function value):
**              double   degrees of arc (0 or less: not to be kept)
**
**  Notes:
**  1) The least of: the distance of each px + xs[i] and py + ys[j] from
**     the nearest whole number, less a guard for the projection's own
**     guards and the rounding, over the view's stretch (below) times
**     scale; the angle from the bounding plane; the altitude (the horizon,
**     where the projection changes its branch); the angle from the view's
**     centre (its guards); each less a small guard. 0 beyond 30,000 pixels.
**  2) The view is azimuthal equidistant with its radius divided by 3.14,
**     not pi: a point u degrees from the centre moves at most
**     (pi / 3.14) u / sin u pixels per degree of arc and unit of scale,
**     and u / sin u grows with u; it is taken kViewMaxTurn beyond the
**     greatest u of a step of 1/256 in cos u = |P| (a table).
*/
double ViewKeptArc(double P, double el, double px, double py, const double* xs, int nx,
                   const double* ys, int ny);

