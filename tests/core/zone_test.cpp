// The civil zone given instead of derived from the longitude: the same bits
// as JD and Calendar for the zone of the longitude, a zone of 5 h 45 min, a
// west longitude, local mean time before 1900 untouched, the searches and
// the clock in the zone set, the view azimuth folded for the projection.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>

#include "app/koyomi.h"
#include "app/readouts.h"
#include "app/settings.h"
#include "events/riseset.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Civil { double y, m, d, h; };
Civil Back(double jd, double lon, double zone)
{
    Civil c{};
    Calendar_Zone(jd, &c.y, &c.m, &c.d, &c.h, lon, zone);
    return c;
}

}  // namespace

// With the zone of the longitude both routines give JD's and Calendar's
// bits: random instants of the years 1 to 3000 and longitudes of both signs.
TEST(CivilZone, ZoneOfTheLongitudeGivesTheSameBits)
{
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> year(1, 3000), hour(0, 24), lon(-180, 180);
    std::uniform_int_distribution<int> month(1, 12), day(1, 28);
    for (int i = 0; i < 200000; ++i) {
        const double Y = std::floor(year(rng)), M = month(rng), D = day(rng), H = hour(rng);
        const double L = i % 10 == 0 ? std::round(lon(rng)) : lon(rng);
        const double Z = ZoneHours(L);
        const double j = JD(Y, M, D, H, 0, L);
        ASSERT_TRUE(SameBits(JD_Zone(Y, M, D, H, L, Z), j)) << Y << "-" << M << "-" << D << " " << H << " " << L;
        double a[4], b[4];
        Calendar(j, &a[0], &a[1], &a[2], &a[3], 0, L);
        Calendar_Zone(j, &b[0], &b[1], &b[2], &b[3], L, Z);
        for (int k = 0; k < 4; ++k) ASSERT_TRUE(SameBits(a[k], b[k])) << j << " " << L;
    }
}

TEST(CivilZone, GivenZones)
{
    // Kathmandu, 5 h 45 min: local noon is 06:15 UT
    EXPECT_NEAR(JD_Zone(2026, 12, 22, 12, 85.3, 5.75), JD(2026, 12, 22, 6.25, 0, 0), 1e-9);
    Civil c = Back(JD(2026, 12, 22, 6.25, 0, 0), 85.3, 5.75);
    EXPECT_EQ(c.y, 2026); EXPECT_EQ(c.m, 12); EXPECT_EQ(c.d, 22);
    EXPECT_NEAR(c.h, 12.0, 1e-8);
    // New York, zone -5 (the zone of 74 W too): midnight is 05:00 UT
    EXPECT_NEAR(JD_Zone(2000, 1, 1, 0, -74.0, -5), 2451544.7083333335, 1e-9);
    EXPECT_TRUE(SameBits(JD_Zone(2000, 1, 1, 0, -74.0, -5), JD(2000, 1, 1, 0, 0, -74.0)));
    // a zone on the other side of the longitude's: Ishigaki (124.2 E, zone
    // of the longitude +8) in Japan time; and a west longitude east of UTC
    EXPECT_NEAR(JD_Zone(2026, 6, 1, 9, 124.2, 9), JD(2026, 6, 1, 0, 0, 0), 1e-9);
    EXPECT_NEAR(JD(2026, 6, 1, 8, 0, 124.2), JD(2026, 6, 1, 0, 0, 0), 1e-9);
    EXPECT_NEAR(JD_Zone(2026, 6, 1, 1, -10.0, 1), JD(2026, 6, 1, 0, 0, 0), 1e-9);
    c = Back(JD(2026, 6, 1, 23.5, 0, 0), -10.0, 1);
    EXPECT_EQ(c.d, 2);
    EXPECT_NEAR(c.h, 0.5, 1e-8);
    // before the switches the civil time is local mean time, whatever the zone
    EXPECT_TRUE(SameBits(JD_Zone(1899, 6, 1, 12, 139.7, 5.75), JD(1899, 6, 1, 12, 0, 139.7)));
    double a[4], b[4];
    Calendar(2414000.3, &a[0], &a[1], &a[2], &a[3], 0, 139.7);
    Calendar_Zone(2414000.3, &b[0], &b[1], &b[2], &b[3], 139.7, -11);
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(SameBits(a[k], b[k]));
}

// The searches take their date and hours in the zone set: an hour more of
// zone moves sunrise one hour later on the clock and not in time.
TEST(CivilZone, SearchesAndClockInTheZoneSet)
{
    Settings_Reset();
    struct tm noon = {};
    noon.tm_year = 2026 - 1900;
    noon.tm_mon = 11;
    noon.tm_mday = 6;
    noon.tm_hour = 12;
    Koyomi_Reset(RepaintInstant_At(noon));
    const double nine = Cal_Rise_Time(jd, kBodySun);
    EXPECT_TRUE(SameBits(Observer_Zone0(), 9.0));
    m_input_zone_set = true;
    m_input_zone = 9;
    Koyomi_Reset(RepaintInstant_At(noon));
    EXPECT_TRUE(SameBits(Cal_Rise_Time(jd, kBodySun), nine));
    m_input_zone = 10;
    Koyomi_Reset(RepaintInstant_At(noon));
    const double ten = Cal_Rise_Time(jd, kBodySun);
    EXPECT_NEAR(ten - nine, 1.0, 1.0 / 60);
    EXPECT_NEAR(JD_Zone(2026, 12, 6, ten, 139.7, 10), JD_Zone(2026, 12, 6, nine, 139.7, 9), 1.0 / 1440);

    // the clock's civil time is UTC plus the zone, to the second
    m_input_zone = 5.75;
    const int64_t offset = Clock_CivilSeconds() - static_cast<int64_t>(std::time(nullptr));
    EXPECT_TRUE(offset == 20700 || offset == 20699) << offset;
    m_input_zone = -3.5;
    const int64_t west = Clock_CivilSeconds() - static_cast<int64_t>(std::time(nullptr));
    EXPECT_TRUE(west == -12600 || west == -12601) << west;
    Settings_Reset();
}

// The azimuth the view projection turns to: m_input_azmt in (-180, 180],
// exactly the same direction.
TEST(CivilZone, ViewAzimuthFolded)
{
    Settings_Reset();
    const double in[] = {0, 180, 180.5, 270, 360, -180, -180.25, -360, 45, -30};
    const double out[] = {0, 180, -179.5, -90, 0, 180, 179.75, 0, 45, -30};
    for (int i = 0; i < 10; ++i) {
        m_input_azmt = in[i];
        EXPECT_EQ(Observer_ViewAzimuth(), out[i]) << in[i];
    }
    Settings_Reset();
}
