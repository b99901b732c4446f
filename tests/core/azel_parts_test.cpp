// Az_El taken apart for the sky view's grids: parts computed once and reused
// must give every az and el bit for bit as Az_El does (exact comparison).
#include <gtest/gtest.h>

#include <cstring>

#include "ephem/transforms.h"

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(Az_El_Parts, ReusedPartsMatchAz_ElBitForBit)
{
    // instants around the clock and the years, places from pole to pole,
    // right ascensions beyond 0..360 and the poles of declination
    const double jds[] = {2415020.0, 2451545.0, 2461380.75, 2461381.123456789, 2488069.5};
    const double lats[] = {-90.0, -35.6, 0.0, 35.6, 89.9};
    const double lons[] = {-180.0, 0.0, 139.7};
    int mismatches = 0, samples = 0;
    for (double jd : jds)
        for (double lat : lats)
            for (double lon : lons) {
                const AzElSite site = Az_El_Site(jd, lat, lon);
                for (int ra = -30; ra <= 390; ra += 7) {
                    const AzElHour hour = Az_El_Hour(site, ra);  // once per right ascension
                    for (int dec = -90; dec <= 90; dec += 5) {
                        double az1, el1, az2, el2;
                        Az_El(jd, ra, dec, lat, lon, &az1, &el1);
                        Az_El_Parts(site, hour, Az_El_Dec(dec), &az2, &el2);
                        ++samples;
                        if (!SameBits(az1, az2) || !SameBits(el1, el2)) ++mismatches;
                    }
                }
            }
    EXPECT_EQ(mismatches, 0) << "of " << samples << " samples";
}
