// The command-line almanac: text and JSON of fixed instants against the
// committed expected output, and the null and omission rules of the JSON.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "app/almanac.h"
#include "app/settings.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"

namespace {

std::string Golden(const char* name)
{
    std::ifstream in(std::string(TENMADO_SOURCE_DIR) + "/tests/golden/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Utf8Literal(const char8_t* s)
{
    return reinterpret_cast<const char*>(s);
}

nlohmann::json JsonAt(int y, int mo, int d, int h, int mi, int s)
{
    Settings_Reset();
    testing_clock::FixedClock clock(y, mo, d, h, mi, s);
    return nlohmann::json::parse(Almanac_Json());
}

// Same structure, same strings and nulls; numbers within 1e-7 (Julian days
// to 0.01 s, angles and hours to 1e-7).
void ExpectSame(const nlohmann::json& got, const nlohmann::json& want, const std::string& path)
{
    if (want.is_number()) {
        ASSERT_TRUE(got.is_number()) << path;
        EXPECT_NEAR(got.get<double>(), want.get<double>(), 1e-7) << path;
        return;
    }
    ASSERT_EQ(got.type(), want.type()) << path;
    if (want.is_object()) {
        ASSERT_EQ(got.size(), want.size()) << path;
        for (auto it = want.begin(); it != want.end(); ++it) {
            ASSERT_TRUE(got.contains(it.key())) << path << "." << it.key();
            ExpectSame(got[it.key()], it.value(), path + "." + it.key());
        }
    } else if (want.is_array()) {
        ASSERT_EQ(got.size(), want.size()) << path;
        for (size_t i = 0; i < want.size(); i++)
            ExpectSame(got[i], want[i], path + "[" + std::to_string(i) + "]");
    } else {
        EXPECT_EQ(got, want) << path;
    }
}

}  // namespace

// 2026-12-06 15:00:00 at Tokyo: the read-outs of the picture, one per line.
TEST(Almanac_Text, FixedInstant)
{
    Settings_Reset();
    testing_clock::FixedClock clock(2026, 12, 6, 15, 0, 0);
    std::string text = Almanac_Text();
    EXPECT_EQ(text, Golden("almanac_2026-12-06_150000.txt"));
}

TEST(Almanac_Json, FixedInstant)
{
    nlohmann::json j = JsonAt(2026, 12, 6, 15, 0, 0);
    ExpectSame(j, nlohmann::json::parse(Golden("almanac_2026-12-06_150000.json")), "");
    EXPECT_EQ(j["local"], "2026-12-06 15:00:00");
    EXPECT_EQ(j["jd"], 2461380.75);
    ASSERT_EQ(j["bodies"].size(), 7u);
    // names in UTF-8 (u8 literals: plain ones are compiled to Shift_JIS)
    EXPECT_EQ(j["bodies"][0]["name"].get<std::string>(), Utf8Literal(u8"月"));
    EXPECT_EQ(j["bodies"][6]["name"].get<std::string>(), Utf8Literal(u8"土星"));
    EXPECT_EQ(j["bodies"][6]["english"], "Saturn");
}

// No moonrise: null (the Sun's 23.0 would stay a number). One high water:
// three tides, in time order. A new moon later on the date: both new moons,
// the age counted from the first.
TEST(Almanac_Json, NullsAndOmissions)
{
    nlohmann::json j = JsonAt(2026, 12, 2, 12, 0, 0);
    EXPECT_TRUE(j["moonrise"].is_null());
    EXPECT_TRUE(j["moonset"].is_number());
    EXPECT_TRUE(j["sunrise"].is_number());

    j = JsonAt(2026, 12, 3, 12, 0, 0);
    ASSERT_EQ(j["tides"].size(), 3u);
    EXPECT_EQ(j["tides"][0]["kind"], "low");   // 06:00
    EXPECT_EQ(j["tides"][1]["kind"], "high");  // 13:03
    EXPECT_EQ(j["tides"][2]["kind"], "low");   // 20:13
    EXPECT_EQ(j["tides"][1]["jd_local"].get<std::string>().substr(0, 16), "2026-12-03T13:03");

    j = JsonAt(2026, 12, 9, 6, 0, 0);
    ASSERT_TRUE(j["new_moons"][1].is_number());
    EXPECT_NEAR(j["moon_age"].get<double>(),
                j["jd"].get<double>() - j["new_moons"][0].get<double>(), 1e-9);

    j = JsonAt(2026, 12, 24, 12, 0, 0);  // no lunar transit on the date
    EXPECT_TRUE(j["moon_transit"].is_null());
}

namespace {
// The almanac at noon of a date at a place with its zone.
nlohmann::json JsonAtPlace(double lat, double lon, double zone, int y, int mo, int d,
                           std::string* text = nullptr)
{
    Settings_Reset();
    m_input_lat = lat;
    m_input_lon = lon;
    m_input_zone_set = true;
    m_input_zone = zone;
    testing_clock::FixedClock clock(y, mo, d, 12, 0, 0);
    if (text) *text = Almanac_Text();
    nlohmann::json j = nlohmann::json::parse(Almanac_Json());
    Settings_Reset();
    return j;
}
}  // namespace

// Every latitude: at Tromsø (69.65 N, 18.96 E, UTC+1) no sunrise nor sunset
// at midsummer and midwinter ("--", null, "polar"); the Moon culminating
// north of the zenith at Canberra at 23:15, the Sun at 35 S 172 W (both
// once missed). At Tokyo the moonset at 22:59:57 of 2026-12-16 is 23.0.
TEST(Almanac_Json, EveryLatitudeAndTwentyThreeHundred)
{
    std::string text;
    nlohmann::json j = JsonAtPlace(69.65, 18.96, 1, 2026, 6, 21, &text);
    EXPECT_TRUE(j["sunrise"].is_null());
    EXPECT_TRUE(j["sunset_local"].is_null());
    EXPECT_EQ(j["polar"], "day");
    EXPECT_NE(text.find(Utf8Literal(u8"日の出 --\n日の入 --\n")), std::string::npos) << text;
    EXPECT_NEAR(j["moonset"].get<double>(), 23.23, 0.02);  // the Moon still sets
    j = JsonAtPlace(69.65, 18.96, 1, 2026, 12, 21);
    EXPECT_TRUE(j["sunset"].is_null());
    EXPECT_EQ(j["polar"], "night");

    j = JsonAtPlace(-35, 149, 10, 2026, 1, 2);
    EXPECT_EQ(j["moon_transit_local"].get<std::string>().substr(0, 16), "2026-01-02T23:15");
    EXPECT_NEAR(JsonAtPlace(-35, -172, -11, 2026, 1, 2)["sun_transit"].get<double>(), 12.54, 0.02);

    j = JsonAt(2026, 12, 16, 12, 0, 0);
    EXPECT_EQ(j["moonset"], 23.0);
    EXPECT_EQ(j["moonset_local"], "2026-12-16T23:00:00+09:00");
    EXPECT_TRUE(j["polar"].is_null());
}
