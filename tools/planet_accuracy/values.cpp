// values: the almanac's own positions, rise, set and meridian times and new
// moons over a span of Julian days, for comparison with a reference.
//
// Given:
//     argv[1]  positions | events | newmoons
//     argv[2]  first Julian day (UT)
//     argv[3]  step in days (positions: between instants; events: between
//              local dates; newmoons: between calls of FirstdayCal1)
//     argv[4]  end Julian day (UT), not included
// Returned:
//     on stdout, one JSON object a line; the first line names the observer:
//     {"k":"observer","lat":..,"lon":..}
//     positions (degrees; dist in AU, the Moon's in Earth radii):
//       {"k":"pos","jd":..,"body":"sun","lam","bet","ra","dec","dist","el","az"}
//       {"k":"pos","jd":..,"body":"moon","lam","bet","ra","dec","dist"}
//       {"k":"pos","jd":..,"body":"moontopo","lam","bet","ra","dec","el","az"}
//       {"k":"pos","jd":..,"body":"mercury".."saturn","lam","bet","ra","dec",
//        "dist","hl","hr"}        (hl, hr: heliocentric longitude and radius)
//     events, per sampled local date, for the Sun and the Moon:
//       {"k":"event","ev":"rise"|"set"|"top","body":"sun"|"moon",
//        "start":..,"end":..,"t":..,"jd":..}
//       start, end: Julian days of 0 h and 24 h of the local date; t: the
//       local hours the search returns (23.0 when none); jd: t as a Julian day
//     newmoons: {"k":"span","first":..,"end":..}, then {"k":"newmoon","jd":..}
//       once for every instant in the span that FirstdayCal1 returns, in
//       time order
// Notes:
//  1) The observer is the program's own place, set as every repaint sets it
//     (latitude0/longitude0 and latitude/longitude from the settings).
//  2) Julian days are converted to local dates and back with Calendar and JD,
//     so the local times of January and February 1900 are local mean time
//     exactly as in the searches.
//  3) Built twice: against the committed perturbation grids, and with
//     all-zero grids (Saturn's at their +50 offset) linked in their place.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/settings.h"
#include "ephem/moon.h"
#include "ephem/planet.h"
#include "ephem/position.h"
#include "ephem/sun.h"
#include "events/newmoon.h"
#include "events/riseset.h"
#include "timecal/julian.h"

namespace {

constexpr int kSun = 0, kMoon = 3;

struct NamedPlanet {
    int code;
    const char* name;
};
constexpr NamedPlanet kPlanets[] = {
    {kMercury, "mercury"}, {kVenus, "venus"}, {kMars, "mars"},
    {kJupiter, "jupiter"}, {kSaturn, "saturn"},
};

void Positions(double jd)
{
    tagPosition p{};
    Sun_Position(jd, &p);
    std::printf("{\"k\":\"pos\",\"jd\":%.6f,\"body\":\"sun\",\"lam\":%.9f,\"bet\":%.9f,"
                "\"ra\":%.9f,\"dec\":%.9f,\"dist\":%.10f,\"el\":%.9f,\"az\":%.9f}\n",
                jd, p.lam, p.bet, p.ra, p.dec, p.dist, p.el, p.az);

    // Geocentric, as the new-moon search takes it
    p = tagPosition{};
    Moon_Position(jd, &p, 0, latitude0, longitude0);
    std::printf("{\"k\":\"pos\",\"jd\":%.6f,\"body\":\"moon\",\"lam\":%.9f,\"bet\":%.9f,"
                "\"ra\":%.9f,\"dec\":%.9f,\"dist\":%.8f}\n",
                jd, p.lam, p.bet, p.ra, p.dec, p.dist);

    // Topocentric, as the panels and the rise and set search take it
    p = tagPosition{};
    Moon_Position(jd, &p, 1, latitude, longitude);
    std::printf("{\"k\":\"pos\",\"jd\":%.6f,\"body\":\"moontopo\",\"lam\":%.9f,\"bet\":%.9f,"
                "\"ra\":%.9f,\"dec\":%.9f,\"el\":%.9f,\"az\":%.9f}\n",
                jd, p.lam, p.bet, p.ra, p.dec, p.el, p.az);

    for (const NamedPlanet& planet : kPlanets) {
        p = tagPosition{};
        Planet_Position(planet.code, jd, &p);
        double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        std::printf("{\"k\":\"pos\",\"jd\":%.6f,\"body\":\"%s\",\"lam\":%.9f,\"bet\":%.9f,"
                    "\"ra\":%.9f,\"dec\":%.9f,\"dist\":%.10f,\"hl\":%.9f,\"hr\":%.10f}\n",
                    jd, planet.name, p.lam, p.bet, p.ra, p.dec, p.dist, p.hlong, r);
    }
}

void Events(double jd)
{
    double y, m, d, h;
    Calendar(jd, &y, &m, &d, &h, 0, longitude0);
    double start = JD(y, m, d, 0, 0, longitude0);
    double end = JD(y, m, d, 24, 0, longitude0);

    struct Search {
        const char* ev;
        double (*routine)(double, int);
    };
    const Search searches[] = {
        {"rise", Cal_Rise_Time}, {"set", Cal_Set_Time}, {"top", Cal_Top_Time}};
    const NamedPlanet bodies[] = {{kSun, "sun"}, {kMoon, "moon"}};
    for (const NamedPlanet& body : bodies) {
        for (const Search& s : searches) {
            double t = s.routine(jd, body.code);
            std::printf("{\"k\":\"event\",\"ev\":\"%s\",\"body\":\"%s\",\"start\":%.8f,"
                        "\"end\":%.8f,\"t\":%.9f,\"jd\":%.8f}\n",
                        s.ev, body.name, start, end, t, JD(y, m, d, t, 0, longitude0));
        }
    }
}

// New moons of FirstdayCal1 called every step days; each call looks 41 local
// days back, so a step up to 40 days misses none. Repeats are dropped.
void NewMoons(double first, double step, double end)
{
    std::vector<double> found;
    for (double jd = first; jd < end + step; jd += step) {
        double n1, n2;
        FirstdayCal1(jd, &n1, &n2);
        for (double n : {n1, n2}) {
            if (!(n > 0) || n < first || n >= end) continue;
            bool seen = false;
            for (auto it = found.rbegin(); it != found.rend() && !seen && *it > n - 60; ++it)
                seen = std::fabs(*it - n) < 1.0;
            if (!seen) found.push_back(n);
        }
    }
    std::printf("{\"k\":\"span\",\"first\":%.8f,\"end\":%.8f}\n", first, end);
    for (double n : found) std::printf("{\"k\":\"newmoon\",\"jd\":%.8f}\n", n);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: values positions|events|newmoons FIRST_JD STEP END_JD\n");
        return 2;
    }
    const char* what = argv[1];
    double first = std::atof(argv[2]), step = std::atof(argv[3]), end = std::atof(argv[4]);
    if (!(step > 0)) {
        std::fprintf(stderr, "values: the step must be positive\n");
        return 2;
    }

    // The observer as every repaint sets it
    Settings_Reset();
    latitude = latitude0 = m_input_lat;
    longitude = longitude0 = m_input_lon;
    std::printf("{\"k\":\"observer\",\"lat\":%.6f,\"lon\":%.6f}\n", latitude0, longitude0);

    if (std::strcmp(what, "newmoons") == 0) {
        NewMoons(first, step, end);
        return 0;
    }
    void (*each)(double);
    if (std::strcmp(what, "positions") == 0) {
        each = Positions;
    } else if (std::strcmp(what, "events") == 0) {
        each = Events;
    } else {
        std::fprintf(stderr, "values: unknown quantity %s\n", what);
        return 2;
    }
    // Instants counted from the first, so the step does not accumulate error
    for (long k = 0;; k++) {
        double jd = first + k * step;
        if (jd >= end) break;
        each(jd);
    }
    return 0;
}
