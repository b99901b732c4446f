// The Moon: its position, geocentric or seen from the observer.
#pragma once
#include "ephem/position.h"
// Position of the Moon at jd (UT); topo non-zero adds the parallax to
// (lat, lon) and the azimuth and altitude.
void Moon_Position(double jd, tagPosition* rec, int topo, double lat, double lon);
// Phase angle P of the Moon, degrees in [0, 360] (0 new, 90 first quarter,
// 180 full, 270 last quarter), from the ecliptic longitudes of the Moon and
// the Sun (degrees), the Sun's distance (AU) and the Moon's (Earth radii).
double MoonPhaseAngle(double lam_moon, double lam_sun, double sun_dist, double moon_dist);

// ---- the mean elements and Kepler solution of Moon_Position, for tests
// L, G (perigee), N (node) degrees in [0, 360); S the periodic terms of the
// mean anomaly, degrees; M the mean anomaly, degrees in [0, 360); A6 the
// argument of the latitude term, degrees; E the eccentric anomaly, radians;
// kepler_steps the number of Newton corrections made.
struct MoonElements {
    double L, G, N, S, M, A6, E;
    int kepler_steps;
};
void Moon_Elements(double jd, MoonElements* m);
