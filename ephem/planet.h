#pragma once
#include "ephem/position.h"

// Perturbation grids of Jupiter and Saturn: [i][j] for B = 10 i, A = 10 j.
extern const double Jup_L8[37][37];
extern const double Jup_Ps8[37][37];
extern const double Jup_Ph8[37][37];
extern const double Sat_L8[37][37];
extern const double Sat_Ps8[37][37];
extern const double Sat_Ph8[37][37];
extern const double Sat_Ax8[37][37];

// Planet codes.
constexpr int kMercury = 1, kVenus = 2, kMars = 4, kJupiter = 5, kSaturn = 6;

// Geocentric position of planet code at jd (UT).
void Planet_Position(int code, double jd, tagPosition* rec);

// ---- the stages of Planet_Position, exposed for tests

// Perturbations of Jupiter and Saturn (all zero for the other planets):
// long-period terms (1) and grid terms (2), degrees; phi0, degrees;
// Saturn's axis terms da1, da2, AU.
struct PlanetTerms {
    double dL1, dL2, dP1, dP2, dphi1, dphi2, phi0, da1, da2;
};
void Planet_Terms(int code, double jd, PlanetTerms* p);

// Elements used for the orbit: mean longitude L, longitude of perihelion w,
// eccentricity e, semi-major axis a (AU), node Om, inclination i (degrees),
// after the perturbations of Jupiter and Saturn.
struct PlanetElements {
    double L, w, e, a, Om, i;
};
void Planet_Elements(int code, double jd, PlanetElements* el);

// Bilinear interpolation in a 37 x 37 grid at A, B in [0, 360) degrees.
double Planet_Grid(const double g[37][37], double A, double B);
