// The tide's name of a date by the Moon's elongation at its 0 h.
#include "tides/tide_name.h"

#include <cmath>

#include "ephem/moon.h"
#include "ephem/position.h"

namespace {

// Lower ends of the ranges, degrees; each range runs to the next lower
// end and includes its own.
struct NameRange { double from; const char* name; };
constexpr NameRange kRanges[] = {
    {31, "中潮"},  {67, "小潮"},  {103, "長潮"}, {115, "若潮"}, {127, "中潮"},
    {163, "大潮"}, {211, "中潮"}, {247, "小潮"}, {283, "長潮"}, {295, "若潮"},
    {307, "中潮"}, {343, "大潮"},
};
constexpr const char* kBelowFirst = "大潮";  // 343 through 360 and 0 to 31

}  // namespace

/*
**  Tide_Elongation
**  The Moon's elongation in longitude from the Sun.
**
**  Given:
**     jd    double   Julian day (UT)
**
**  Returned (function value):
**           double   geocentric ecliptic longitude of the Moon less the
**                    Sun's, degrees in [0, 360)
**
**  Notes:
**  1) The Moon by Moon_Position (geocentric), which computes the Sun on
**     its way; the shared Sun and Moon records are saved and put back.
**
**  Called:  Moon_Position
*/
double Tide_Elongation(double jd)
{
    const tagPosition sun = Sun, moon = Moon;
    tagPosition m = Moon;
    Moon_Position(jd, &m, 0, 0.0, 0.0);
    double d = std::fmod(m.lam - Sun.lam, 360.0);
    if (d < 0) d += 360.0;
    Sun = sun;
    Moon = moon;
    return d;
}

/*
**  Tide_NameOf
**  The tide's name of an elongation.
**
**  Given:
**     elongation   double   the Moon's longitude less the Sun's, degrees
**
**  Returned (function value):
**                  const char*   大潮 343-31, 中潮 31-67, 小潮 67-103,
**                                長潮 103-115, 若潮 115-127, 中潮 127-163,
**                                大潮 163-211, 中潮 211-247, 小潮 247-283,
**                                長潮 283-295, 若潮 295-307, 中潮 307-343;
**                                each range's lower end belongs to it
**
**  Notes:
**  1) The ranges lie a little after new and full moon (0 and 180
**     degrees): around Japan the spring tides come about a day after them.
**
**  Reference:
**     Japan Hydrographic Association, marine information service: the
**     rule of the tide names (潮名) of its tide tables, from the Moon's
**     ecliptic longitude less the Sun's at 0 h of the date.
*/
const char* Tide_NameOf(double elongation)
{
    double e = std::fmod(elongation, 360.0);
    if (e < 0) e += 360.0;
    const char* name = kBelowFirst;
    for (const NameRange& r : kRanges)
        if (e >= r.from) name = r.name;
    return name;
}

const char* Tide_NameOfDate(double jd0) { return Tide_NameOf(Tide_Elongation(jd0)); }
