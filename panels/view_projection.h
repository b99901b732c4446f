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
