// Tidal constituents by name: their astronomical arguments V, nodal angles u
// and node factors f at an instant, by the harmonic method.
#pragma once
#include <array>
#include <string>

// ---- the astronomical arguments of an instant, degrees in [0, 360)
struct TideAstro {
    double T;   // hour angle of the mean Sun + 180 (mean solar time at Greenwich)
    double s;   // mean longitude of the Moon
    double h;   // mean longitude of the Sun
    double p;   // longitude of the lunar perigee
    double N;   // longitude of the Moon's ascending node
    double p1;  // longitude of the solar perigee
};
TideAstro Tide_Astro(double jd);

// ---- the node terms of the Moon's orbit
// The kinds of nodal modulation: each constituent's u is a sum and its f a
// product of these, with whole multipliers.
enum TideNode { kNodeM2, kNodeO1, kNodeK1, kNodeK2, kNodeJ1, kNodeOO1, kNodeMm, kNodeMf,
                kNodeM3, kNodeL2, kNodeM1, kNodeKinds };
struct TideNodeTerms {
    double u[kNodeKinds];  // degrees
    double f[kNodeKinds];
};
TideNodeTerms Tide_NodeTerms(const TideAstro& a);

// ---- one constituent, resolved from its name
struct TideConstituent {
    int T, s, h, p, p1;  // multiples of the arguments in V
    int phase;           // constant of V, degrees
    std::array<int, kNodeKinds> node{};  // multiples of each node term in u (|k| powers of f)
};
// The constituent of a name as the databases write it ("M2", "2MK3",
// "LAM2", "SGM"), upper case; false for a name it cannot build.
bool Tide_Resolve(const std::string& name, TideConstituent* c);
// Speed, degrees per mean solar hour.
double Tide_Speed(const TideConstituent& c);
// V + u (degrees, [0, 360)) and f of c at the arguments a with node terms n.
void Tide_Argument(const TideConstituent& c, const TideAstro& a, const TideNodeTerms& n,
                   double* vu, double* f);
