// The new moons of a local date, kept between calls (newmoon_kept.h).
#include "events/newmoon_kept.h"

#include <unordered_map>
#include <utility>

#include "events/newmoon.h"
#include "timecal/julian.h"
#include "timecal/observer.h"

namespace {

struct KeptDate {
    bool valid = false;
    double year = 0, month = 0, day = 0;  // the local date searched
    double newmoon1 = 0, newmoon2 = 0;
};
KeptDate g_kept;

// Elongation samples of the last search, and those of the search running.
std::unordered_map<double, double> g_previous, g_current;

double KeptElongation(double jd)
{
    auto it = g_previous.find(jd);
    double e = it != g_previous.end() ? it->second : Elongation(jd);
    g_current.emplace(jd, e);
    return e;
}

}  // namespace

void FirstdayCal1_Kept(double jd, double* newmoon1, double* newmoon2)
{
    // the date exactly as FirstdayCal1 takes it
    double y, m, d, h;
    Calendar_Zone(jd, &y, &m, &d, &h, longitude0, Observer_Zone0());
    if (!(g_kept.valid && y == g_kept.year && m == g_kept.month && d == g_kept.day)) {
        g_current.clear();
        KeptDate k{true, y, m, d, 0, 0};
        FirstdayCal1_With(jd, KeptElongation, &k.newmoon1, &k.newmoon2);
        std::swap(g_previous, g_current);
        g_kept = k;
    }
    *newmoon1 = g_kept.newmoon1;
    *newmoon2 = g_kept.newmoon2;
}

double MoonAgeDays_Kept(double jd)
{
    double newmoon1, newmoon2;
    FirstdayCal1_Kept(jd, &newmoon1, &newmoon2);
    double reference = (newmoon2 > 0 && jd >= newmoon2) ? newmoon2 : newmoon1;
    return jd - reference;
}

void FirstdayCal1_Forget()
{
    g_kept = KeptDate{};
    g_previous.clear();
    g_current.clear();
}
