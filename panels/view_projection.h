// The view projection: the sky toward the viewing azimuth as an azimuthal
// equidistant view centred on the horizon, shared by the planet panel (its
// grids and bodies) and the star chart (projection 4). The bodies of the
// view: ephem/bodies.h.
#pragma once

// Azimuth offset from the viewing azimuth, in [0, 360].
double ViewOffset(double az, double view_azimuth);
// Front half of the view: d <= 90 or d >= 270.
bool InFrontHalf(double d);
// Body variant of the view projection (bodies, figure stars).
void ViewProjectBody(double el, double d, double* px, double* py);
// Grid variant; equatorial is true for the hour and declination circles.
void ViewProjectGrid(double el, double d, bool equatorial, double* px, double* py);
// Distance in pixels from the view's centre of a point the given angle
// (degrees) away from it, at the scale in force.
double ViewRadius(double degrees);
