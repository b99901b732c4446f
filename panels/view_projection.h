// The view projection: the sky toward the viewing azimuth as an azimuthal
// equidistant view centred on the horizon, shared by the planet panel (its
// grids and bodies) and the star chart (projection 4), and the bodies of
// the view as the planet panel and the almanac compute them.
#pragma once

struct tagPosition;

// Bodies of the view by body index: 0 Moon, 1 Mercury, 2 Venus, 3 Sun,
// 4 Mars, 5 Jupiter, 6 Saturn.
constexpr int kPanelBodies = 7;
constexpr int kPanelMoon = 0;

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

// Position of body index 0..6 (Moon, Mercury, Venus, Sun, Mars, Jupiter,
// Saturn) at jd as the planet panel computes it, into its shared record;
// az and el from Az_El with latitude, longitude. Returns the record.
const tagPosition* PanelBody(int index, double jd, double* az, double* el);
