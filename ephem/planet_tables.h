// Mean orbital elements of the planets (referred to 1900 and the mean
// equinox of date) and their apparent semi-diameters at 1 AU.
#pragma once
#include <array>

namespace PlanetTables {

// An element as a cubic in T, Julian centuries from 2415021.0:
// c0 + c1 T + c2 T^2 + c3 T^3.
struct ElementPoly {
    double c0, c1, c2, c3;
};

constexpr int kRows = 6;  // planet codes 1..6 (row = code - 1; code 3 all zero)

extern const std::array<ElementPoly, kRows> Ax;   // semi-major axis a, AU (c0 only)
extern const std::array<ElementPoly, kRows> Ec;   // eccentricity e
extern const std::array<ElementPoly, kRows> Ml;   // mean longitude L, degrees
extern const std::array<ElementPoly, kRows> Pnl;  // longitude of perihelion, degrees
extern const std::array<ElementPoly, kRows> Omg;  // longitude of the node, degrees
extern const std::array<ElementPoly, kRows> Inc;  // inclination, degrees

// Semi-diameter at 1 AU, degrees, indexed by the planet code 0..6
// (0 and 3 are no planet).
extern const std::array<double, 7> SemiDiameter1AU;

/*
**  Eval
**  Value of an element polynomial.
**
**  Given:
**     p   ElementPoly   c0..c3
**     T   double        Julian centuries from 2415021.0
**
**  Returned (function value):
**         double        c0 + c1 T + c2 T^2 + c3 T^3, evaluated in that
**                       order (T * T * T, not Horner: the values depend on
**                       it)
*/
inline double Eval(const ElementPoly& p, double T)
{
    return p.c0 + p.c1 * T + p.c2 * T * T + p.c3 * T * T * T;
}

}  // namespace PlanetTables
