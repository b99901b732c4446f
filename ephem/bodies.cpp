// The bodies of the view: their names and their positions as the planet
// panel and the almanac take them (bodies.h).
#include "ephem/bodies.h"

#include "ephem/moon.h"
#include "ephem/planet.h"
#include "ephem/position.h"
#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "timecal/observer.h"

namespace {

constexpr int kSunIndex = 3;
// Planet codes of Planet_Position, by body index (0: not a planet).
constexpr int kPlanetCode[kPanelBodies] = {0, kMercury, kVenus, 0, kMars, kJupiter, kSaturn};

}  // namespace

const char* const Pla1[8] = {"月", "水星", "金星", "太陽", "火星", "木星", "土星", nullptr};
const char* const kBodyEnglish[kPanelBodies] = {"Moon", "Mercury", "Venus", "Sun",
                                                "Mars", "Jupiter", "Saturn"};

/*
**  PanelBody
**  A body of the view at an instant, as the planet panel computes it.
**
**  Given:
**     index   int      body index 0..6: Moon, Mercury, Venus, Sun, Mars,
**                      Jupiter, Saturn
**     jd      double   Julian day (UT)
**
**  Returned:
**     az, el  double*  from Az_El with the record's ra, dec for latitude,
**                      longitude, degrees
**     (function value) const tagPosition*   the record written (Moon,
**                      Planet or Sun), or null (az, el untouched) for any
**                      other index
**
**  Notes:
**  1) The Moon is topocentric at latitude, longitude; every planet
**     overwrites Planet, and Planet_Position and Moon_Position also
**     rewrite Sun.
**
**  Called:  Moon_Position, Sun_Position, Planet_Position, Az_El
*/
const tagPosition* PanelBody(int index, double jd, double* az, double* el)
{
    tagPosition* rec;
    if (index == kPanelMoon) {
        Moon_Position(jd, &Moon, 1, latitude, longitude);
        rec = &Moon;
    } else if (index == kSunIndex) {
        Sun_Position(jd, &Sun);
        rec = &Sun;
    } else if (index > 0 && index < kPanelBodies) {
        Planet_Position(kPlanetCode[index], jd, &Planet);
        rec = &Planet;
    } else {
        return nullptr;
    }
    Az_El(jd, rec->ra, rec->dec, latitude, longitude, az, el);
    return rec;
}
