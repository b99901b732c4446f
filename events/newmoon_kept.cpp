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

/*
**  FirstdayCal1_Kept
**  FirstdayCal1 for the local date of jd, searched once a date.
**
**  Given:
**     jd   double   Julian day (UT)
**
**  Returned:
**     newmoon1, newmoon2   double*   FirstdayCal1's results, bit for bit
**
**  Notes:
**  1) The date is taken as FirstdayCal1 takes it (Calendar_Zone at
**     longitude0 and Observer_Zone0); its results depend on nothing else.
**     For the date of the last call they come back without a search (and
**     without its writes to year0, month0, day0, hour0 and the Moon and
**     Sun records).
**  2) A search takes the elongation at a Julian day from the samples of
**     the previous search where it has one (the same value Elongation
**     gives); consecutive dates share 40 of their 41 day windows.
**
**  Called:  Calendar_Zone, FirstdayCal1_With, Elongation
*/
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

/*
**  MoonAgeDays_Kept
**  MoonAgeDays(jd) from the kept new moons: jd less newmoon2 when that is
**  found and not later than jd, else less newmoon1.
**
**  Called:  FirstdayCal1_Kept
*/
double MoonAgeDays_Kept(double jd)
{
    double newmoon1, newmoon2;
    FirstdayCal1_Kept(jd, &newmoon1, &newmoon2);
    double reference = (newmoon2 > 0 && jd >= newmoon2) ? newmoon2 : newmoon1;
    return jd - reference;
}

/*
**  FirstdayCal1_Forget
**  The kept date and samples forgotten.
*/
void FirstdayCal1_Forget()
{
    g_kept = KeptDate{};
    g_previous.clear();
    g_current.clear();
}
