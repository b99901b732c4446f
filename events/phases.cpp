// The Moon's principal phases by a day-by-day scan of the elongation and
// bisection; its illuminated fraction from the elongation; the phase names.
#include "events/phases.h"

#include <algorithm>
#include <cmath>

#include "ephem/moon.h"
#include "ephem/position.h"
#include "events/newmoon.h"
#include "timecal/constants.h"

namespace {

constexpr double kPhaseElong[kLunarPhases] = {0.0, 90.0, 180.0, 270.0};  // degrees
constexpr double kStep = 1.0;          // scan step, days (about 12 degrees of elongation)
constexpr double kConverge = 0.001;    // |eB - eA| at which a bracket is taken, degrees
constexpr int kMaxBisections = 60;     // far more than the 14 a one-day bracket needs
constexpr double kLunation = 29.530589;  // mean synodic month, days
constexpr double kEarthRadiusKm = 6378.14;
constexpr double kAuKm = 149597870.7;

// Narrow the upward crossing of target in [a, b] (eA < target <= eB) by
// bisection until the elongations at the ends differ by less than 0.001
// degree, and take the instant where the chord between the ends meets it.
double Narrow(double a, double b, double eA, double eB, double target,
              const std::function<double(double)>& elong)
{
    for (int i = 0; i < kMaxBisections && eB - eA >= kConverge; i++) {
        const double m = (a + b) / 2;
        const double eM = elong(m);
        if (eM < target) {
            a = m;
            eA = eM;
        } else {
            b = m;
            eB = eM;
        }
    }
    return a + (target - eA) / (eB - eA) * (b - a);
}

}  // namespace

/*
**  Moon_Phases_Between_With
**  The principal phases in a span, over an elongation function.
**
**  Given:
**     jd1, jd2   double     the span (jd1, jd2], Julian days (UT)
**     elong      function   elongation at a Julian day, degrees, in (-20, 340]
**
**  Returned (function value):
**                vector     the phases found, in time order
**
**  Notes:
**  1) The span is sampled every day (the last step shorter). A step
**     [a, b] holds a phase when eA < T <= eB for its elongation T (0, 90,
**     180 or 270): the Moon gains about 12 degrees a day, so one step
**     holds at most one phase, and the fold of the elongation at 340
**     degrees lies far from all four.
**  2) The step is bisected until the elongations at its ends differ by
**     less than 0.001 degree (the new-moon search's test, about 7 s;
**     about 14 bisections of a day), then the chord gives the instant.
**  3) An instant equal to jd1 is left out, one equal to jd2 kept.
**
**  Called:  elong
*/
std::vector<PhaseInstant> Moon_Phases_Between_With(double jd1, double jd2,
                                                   const std::function<double(double)>& elong)
{
    std::vector<PhaseInstant> out;
    double a = jd1;
    double eA = elong(a);
    while (a < jd2) {
        const double b = std::min(a + kStep, jd2);
        const double eB = elong(b);
        for (int p = 0; p < kLunarPhases; p++) {
            const double target = kPhaseElong[p];
            if (eA < target && target <= eB) {
                const double t = Narrow(a, b, eA, eB, target, elong);
                if (t > jd1 && t <= jd2) out.push_back({static_cast<LunarPhase>(p), t});
            }
        }
        a = b;
        eA = eB;
    }
    return out;
}

/*
**  Moon_Phases_Between
**  The Moon's principal phases (new, first quarter, full, last quarter) in
**  a span of time.
**
**  Given:
**     jd1, jd2   double   the span (jd1, jd2], Julian days (UT)
**
**  Returned (function value):
**                vector   {phase, jd} in time order
**
**  Notes:
**  1) The phase is the instant at which the Moon's geocentric longitude
**     exceeds the Sun's apparent longitude (less 0.0057 degree of
**     aberration) by 0, 90, 180 or 270 degrees: Elongation, the new-moon
**     search's definition. The new moons agree with FirstdayCal1's within
**     its 7-second window.
**  2) Overwrites the shared records Moon and Sun. About 1.5 elongations a
**     day of the span: 100 years take about 110,000 (bench/).
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 49 (the phases as the excess of the Moon's geocentric longitude
**     over the Sun's); the search is the program's own.
**
**  Accuracy:
**     Against the same definition evaluated with astronomy-engine 2.1.19's
**     positions, all 9,845 phases of 1901-2099 (docs/ACCURACY.md): new
**     moon 4.42 min RMS, 11.42 at most; first quarter 7.06 / 16.96 (mean
**     -5.20); full moon 4.39 / 13.87; last quarter 6.06 / 15.44 (mean
**     +3.72). The search itself is good to about 7 s; the rest is the
**     Moon's theory, which lacks the parallactic inequality (-0.035 degree
**     sin D), largest at the quarters.
**
**  Called:  Moon_Phases_Between_With, Elongation
*/
std::vector<PhaseInstant> Moon_Phases_Between(double jd1, double jd2)
{
    return Moon_Phases_Between_With(jd1, jd2, Elongation);
}

/*
**  Moon_Phases_Next
**  The next principal phases after an instant.
**
**  Given:
**     jd   double   Julian day (UT)
**     n    int      how many (0 or more)
**
**  Returned (function value):
**          vector   the first n phases after jd, in time order
**
**  Notes:
**  1) Spans of a quarter lunation and a little more are searched in turn
**     until n are found.
**
**  Called:  Moon_Phases_Between
*/
std::vector<PhaseInstant> Moon_Phases_Next(double jd, int n)
{
    std::vector<PhaseInstant> out;
    const double span = std::ceil(kLunation * n / kLunarPhases) + 2;
    double from = jd;
    while (static_cast<int>(out.size()) < n) {
        for (const PhaseInstant& p : Moon_Phases_Between(from, from + span)) {
            if (static_cast<int>(out.size()) < n) out.push_back(p);
        }
        from += span;
    }
    return out;
}

/*
**  Moon_Illumination
**  The illuminated fraction of the Moon's disc.
**
**  Given:
**     jd   double   Julian day (UT)
**
**  Returned (function value):
**          double   fraction of the disc lit, 0 to 1, seen from the
**                   centre of the Earth
**
**  Notes:
**  1) From the geocentric elongation psi of the Moon from the Sun,
**     cos psi = cos beta cos(lamM - lamS), the phase angle i by
**     tan i = R sin psi / (Delta - R cos psi) with R the Sun's distance
**     and Delta the Moon's, and k = (1 + cos i) / 2.
**  2) Overwrites the shared records Moon and Sun (Moon_Position, topo 0).
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 48, eqs. 48.1 to 48.3 (the elongation form).
**
**  Accuracy:
**     Against astronomy-engine 2.1.19's illuminated fraction every 1.3
**     days of 1900-2100 (55,911 instants, docs/ACCURACY.md): 0.031
**     percentage point RMS, 0.132 at most.
**
**  Called:  Moon_Position
*/
double Moon_Illumination(double jd)
{
    Moon_Position(jd, &Moon, 0, 0.0, 0.0);  // topo 0: the place is not used
    const double R = Sun.dist * kAuKm;
    const double delta = Moon.dist * kEarthRadiusKm;
    const double cos_psi = std::cos(Moon.bet * kDegToRad) * std::cos((Moon.lam - Sun.lam) * kDegToRad);
    const double psi = std::acos(std::clamp(cos_psi, -1.0, 1.0));
    const double i = std::atan2(R * std::sin(psi), delta - R * std::cos(psi));
    return (1 + std::cos(i)) / 2;
}

/*
**  Moon_Phase_Name
**  The name of the Moon's phase on a day.
**
**  Given:
**     jd                   double   the instant, Julian day (UT)
**     day_start, day_end   double   the day that holds it, Julian days (UT)
**
**  Returned (function value):
**                          MoonPhaseName
**
**  Notes:
**  1) A principal phase in [day_start, day_end) names the whole day (new,
**     first quarter, full, last quarter), as calendars print them.
**  2) Otherwise the elongation lamM - lamS at jd in [0, 360): below 90
**     waxing crescent, below 180 waxing gibbous, below 270 waning gibbous,
**     else waning crescent.
**  3) Overwrites the shared records Moon and Sun.
**
**  Called:  Moon_Phases_Between, Elongation
*/
MoonPhaseName Moon_Phase_Name(double jd, double day_start, double day_end)
{
    static constexpr MoonPhaseName kPrincipal[kLunarPhases] = {
        MoonPhaseName::New, MoonPhaseName::FirstQuarter, MoonPhaseName::Full,
        MoonPhaseName::LastQuarter};
    // (day_start - a hair, day_end - a hair]: [day_start, day_end) in practice
    constexpr double kHair = 1e-9;
    const std::vector<PhaseInstant> today = Moon_Phases_Between(day_start - kHair, day_end - kHair);
    if (!today.empty()) return kPrincipal[static_cast<int>(today.front().phase)];
    double e = Elongation(jd);
    if (e < 0) e += 360;
    if (e < 90) return MoonPhaseName::WaxingCrescent;
    if (e < 180) return MoonPhaseName::WaxingGibbous;
    if (e < 270) return MoonPhaseName::WaningGibbous;
    return MoonPhaseName::WaningCrescent;
}

const char* Moon_Phase_English(MoonPhaseName name)
{
    static const char* const kNames[] = {"new moon", "waxing crescent", "first quarter",
                                         "waxing gibbous", "full moon", "waning gibbous",
                                         "last quarter", "waning crescent"};
    return kNames[static_cast<int>(name)];
}

const char* Lunar_Phase_Key(LunarPhase phase)
{
    static const char* const kKeys[kLunarPhases] = {"new", "first_quarter", "full", "last_quarter"};
    return kKeys[static_cast<int>(phase)];
}
