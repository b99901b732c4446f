#pragma once
#include <functional>

// Tide[0..3]: heights of high 1, high 2, low 1, low 2; Tide[4..7]: their JDs. 0.0 = none.
extern double Tide[8];
// East longitude of the station, degrees: the tide search takes its date and
// its hours in the zone of this longitude (9 h), whatever the observer.
constexpr double kTideStationLon = 139.7;
void Tide1_Loop(double jd, double t, double* height, double* height_datum);
void Tide_Cal(double jd);

// ---- parts of the harmonic method (tests)
// Nodal factors f and angles u (degrees) of M2, K1 and O1 for the
// longitude N of the Moon's node (degrees); S2 has f = 1, u = 0.
struct TideNodal {
    double fM2, uM2;
    double fK1, uK1;
    double fO1, uO1;
};
TideNodal Tide_Nodal(double node);
// An angle reduced into [0, 360) the way the phase constants are.
double Tide_Reduce(double x);
// The day scan and narrowing of Tide_Cal over any height function y(s) of
// the local hour s, with jd_of(s) the Julian day stored for an extremum
// found at the hour s. Fills record[8] as Tide.
void Tide_Search(const std::function<double(double)>& y,
                 const std::function<double(double)>& jd_of, double record[8]);
