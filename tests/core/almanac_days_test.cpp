// The almanac's run of days where the Julian day and its way back disagree
// (1899-12-11 to 1900-02-28: local mean time one way, the zone the other),
// and zeros printed without a sign.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "app/almanac.h"
#include "app/readouts.h"
#include "app/settings.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"

namespace {

std::string DateOf(int64_t civil, char sep)
{
    const struct tm t = Clock_Fields(civil);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%c%02d%c%02d", t.tm_year + 1900, sep, t.tm_mon + 1, sep,
                  t.tm_mday);
    return buf;
}

}  // namespace

// From 1899-11-28 to 1900-03-06, at 00:05 and 23:55, in Tokyo and at 80 W
// (where the way back runs 20 min ahead): every row is the next civil date,
// in the table and in the JSON, and every event of a row lies on its date.
TEST(Almanac_Days, CivilDatesAround1900)
{
    constexpr int kDays = 99;
    for (double lon : {139.7, -80.0}) {
        for (int minute_of_day : {5, 23 * 60 + 55}) {
            Settings_Reset();
            m_input_lon = lon;
            const int64_t start =
                Clock_CivilFromFields(1899, 11, 28, minute_of_day / 60, minute_of_day % 60, 0);
            testing_clock::FixedClock clock(start);
            const std::string where = "lon " + std::to_string(lon) + " minute " +
                                      std::to_string(minute_of_day);

            std::istringstream text(Almanac_DaysText(kDays));
            std::string row;
            std::getline(text, row);  // the header
            for (int k = 0; k < kDays && std::getline(text, row); ++k)
                ASSERT_EQ(row.substr(0, 10), DateOf(start + int64_t{86400} * k, '/')) << where;

            const nlohmann::json days = nlohmann::json::parse(Almanac_DaysJson(kDays));
            ASSERT_EQ(days.size(), static_cast<size_t>(kDays));
            for (int k = 0; k < kDays; ++k) {
                const std::string date = DateOf(start + int64_t{86400} * k, '-');
                const nlohmann::json& d = days[k];
                ASSERT_EQ(d["local"].get<std::string>().substr(0, 10), date) << where;
                for (const char* f : {"sunrise_local", "sunset_local", "moonrise_local",
                                      "moonset_local", "sun_transit_local", "moon_transit_local"}) {
                    if (d[f].is_null()) continue;
                    ASSERT_EQ(d[f].get<std::string>().substr(0, 10), date) << where << " " << f;
                }
            }
        }
    }
    Settings_Reset();
}

// A zero prints as 0: the view from -0.5 to 0 (方位角), and the zone of a
// longitude just west of Greenwich (JSON); other values keep their sign.
TEST(Almanac_Days, ZeroWithoutSign)
{
    const std::string zero = Readout_Azimuth(0.0);
    for (double a : {-0.0, -0.2, -0.5}) EXPECT_EQ(Readout_Azimuth(a), zero) << a;
    const std::string minus_one = Readout_Azimuth(-0.6);
    EXPECT_EQ(minus_one.substr(minus_one.size() - 3), " -1");

    Settings_Reset();
    m_input_lon = -0.1;
    testing_clock::FixedClock clock(2026, 12, 6, 15, 0, 0);
    const std::string json = Almanac_Json();
    const nlohmann::json j = nlohmann::json::parse(json);
    EXPECT_EQ(j["place"]["zone"].get<double>(), 0.0);
    EXPECT_FALSE(std::signbit(j["place"]["zone"].get<double>()));
    EXPECT_EQ(json.find("-0.0,"), std::string::npos);
    Settings_Reset();
}
