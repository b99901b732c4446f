// Named zones with daylight saving: sunrise and sunset at London, New York
// and Sydney against an independent library (tests/golden/
// riseset_zones_reference.txt, astronomy-engine by tools/planet_accuracy/
// riseset_reference.js --zones) in the offset in force at each event, on
// ordinary dates and on the days the clocks change; the clock and the date
// line across a change; zone names refused; the gazetteer's lookups.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/config.h"
#include "app/named_zone.h"
#include "app/readouts.h"
#include "app/settings.h"
#include "events/day_kept.h"
#include "events/riseset.h"
#include "fixed_clock.h"
#include "places/places.h"
#include "timecal/clock.h"
#include "timecal/observer.h"

namespace {

// The settings back to the defaults, and no named zone, when a test ends.
struct ZoneGuard {
    ~ZoneGuard()
    {
        NamedZone_Set("");
        Settings_Reset();
        KeptSearches_Forget();
    }
};

// A UTF-8 text whatever the execution character set (the sources compile to
// Shift_JIS; the gazetteer is UTF-8).
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

void Observe(double lat, double lon, const char* zone)
{
    Settings_Reset();
    KeptSearches_Forget();
    m_input_lat = lat;
    m_input_lon = lon;
    ASSERT_TRUE(NamedZone_Set(zone)) << zone;
}

}  // namespace

TEST(NamedZone, SunriseSunsetInTheOffsetInForceAgainstIndependentLibrary)
{
    ZoneGuard guard;
    std::ifstream in(TENMADO_SOURCE_DIR "/tests/golden/riseset_zones_reference.txt");
    ASSERT_TRUE(in.good());
    std::string text;
    int lines = 0;
    double worst = 0;
    while (std::getline(in, text)) {
        if (text.empty() || text[0] == '#') continue;
        char place[16], zone[40], event[8], ref[24], local[40];
        double lat, lon, hours;
        int y, m, d;
        ASSERT_EQ(std::sscanf(text.c_str(), "%15s %lf %lf %39s %d-%d-%d %lf %7s %23s %39s", place,
                              &lat, &lon, zone, &y, &m, &d, &hours, event, ref, local),
                  11)
            << text;
        int ly, lm, ld, hh, mm, ss, oh, om;
        char sign;
        ASSERT_EQ(std::sscanf(local, "%d-%d-%dT%d:%d:%d%c%d:%d", &ly, &lm, &ld, &hh, &mm, &ss, &sign,
                              &oh, &om),
                  9)
            << text;
        Observe(lat, lon, zone);
        testing_clock::FixedClock clock(y, m, d, 12, 0, 0);
        KoyomiReadouts r;
        Koyomi_Readouts(Clock_Now(), true, &r);
        const double got = std::string(event) == "rise" ? r.sunrise : r.sunset;
        ASSERT_NE(got, kNoEvent) << text;
        const double minutes = (got - (hh + mm / 60.0 + ss / 3600.0)) * 60;
        EXPECT_LT(std::fabs(minutes), 1.0) << text << ": " << minutes << " min";
        worst = std::fmax(worst, std::fabs(minutes));
        // the event's offset is the one the reference gives it
        const double offset = (sign == '-' ? -1 : 1) * (oh + om / 60.0);
        EXPECT_EQ(Observer_ZoneAt(std::stod(ref)), offset) << text;
        ++lines;
    }
    EXPECT_EQ(lines, 3 * 4 * 2);
    std::printf("sunrise and sunset in named zones: %d events, worst %.2f min\n", lines, worst);
}

TEST(NamedZone, ClockAndDateLineFollowTheChangeAtTheInstant)
{
    ZoneGuard guard;
    Observe(51.5085, -0.1257, "Europe/London");
    // spring: 00:59:59 GMT, then 02:00:00 BST one second later
    testing_clock::FixedClock clock(2026, 3, 29, 0, 59, 59);
    KoyomiReadouts a, b;
    Koyomi_Readouts(Clock_Now(), false, &a);
    Clock_Step(1);
    Koyomi_Readouts(Clock_Now(), false, &b);
    EXPECT_EQ(a.line_hour, 0);
    EXPECT_EQ(b.line_hour, 2);
    EXPECT_EQ(b.line_minute, 0);
    EXPECT_NEAR((b.at.jd - a.at.jd) * 86400, 1.0, 1e-3);
    EXPECT_EQ(b.at.place.zone, 1.0);

    // autumn: 01:59:59 BST, then 01:00:00 GMT; the hour read twice is two
    // instants an hour apart
    Clock_Fix(Clock_CivilFromFields(2026, 10, 25, 1, 59, 59));
    Koyomi_Readouts(Clock_Now(), false, &a);
    Clock_Step(1);
    Koyomi_Readouts(Clock_Now(), false, &b);
    EXPECT_EQ(a.at.place.zone, 1.0);
    EXPECT_EQ(b.at.place.zone, 0.0);
    EXPECT_EQ(b.line_hour, 1);
    EXPECT_EQ(b.line_minute, 0);
    EXPECT_NEAR((b.at.jd - a.at.jd) * 86400, 1.0, 1e-3);
    Clock_Step(3599);
    Koyomi_Readouts(Clock_Now(), false, &a);
    EXPECT_EQ(a.line_hour, 1);
    EXPECT_EQ(a.line_minute, 59);
    EXPECT_NEAR((a.at.jd - b.at.jd) * 86400, 3599.0, 1e-3);

    // a skipped civil time reads as the instant an hour on
    EXPECT_EQ(Observer_CivilOffset(Clock_CivilFromFields(2026, 3, 29, 1, 30, 0)), 0);
    EXPECT_EQ(Observer_CivilOffset(Clock_CivilFromFields(2026, 10, 25, 1, 30, 0)), 3600);
}

TEST(NamedZone, NamesRefusedAndHoursKept)
{
    ZoneGuard guard;
    for (const char* bad : {"Mars/Olympus_Mons", "", "../../etc/passwd", "/etc/localtime",
                            ":Europe/London", "Europe/Lon don", "9.1", "15"}) {
        ConfigLayer layer;
        EXPECT_FALSE(Config_ParseZone(bad, &layer)) << bad;
        EXPECT_FALSE(layer.zone || layer.zone_name) << bad;
    }
    ConfigLayer layer;
    ASSERT_TRUE(Config_ParseZone("-3.5", &layer));
    EXPECT_EQ(*layer.zone, -3.5);
    ASSERT_TRUE(Config_ParseZone("Asia/Kolkata", &layer));
    EXPECT_EQ(*layer.zone_name, "Asia/Kolkata");
    // the later layer's kind of zone wins
    ConfigValues v = Config_Defaults();
    Config_Over(layer, &v);
    EXPECT_FALSE(v.zone_set);
    EXPECT_EQ(v.zone_name, "Asia/Kolkata");
    ConfigLayer hours;
    hours.zone = 9.0;
    Config_Over(hours, &v);
    EXPECT_TRUE(v.zone_set);
    EXPECT_TRUE(v.zone_name.empty());
    // a named zone cleared leaves no rule
    ASSERT_TRUE(NamedZone_Set("Asia/Kolkata"));
    EXPECT_EQ(Observer_ZoneAt(2461212.5), 5.5);
    NamedZone_Set("");
    EXPECT_EQ(m_input_zone_rule, nullptr);
}

TEST(Places, EnglishJapaneseAmbiguousUnknownAndMissing)
{
    // Sapporo by its names in either script and any case; the most populous
    // by far
    for (const std::string& name : {std::string("Sapporo"), std::string("sapporo"),
                                    std::string("SAPPORO"), U8(u8"札幌"), U8(u8"さっぽろ"),
                                    std::string("Sapporo, JP"), std::string("Sapporo, Hokkaido"),
                                    std::string("Sapporo, Japan")}) {
        const PlaceSearch s = Places_Find(name);
        ASSERT_EQ(s.result, PlaceResult::Found) << name;
        EXPECT_EQ(s.matches[0].name, "Sapporo") << name;
        EXPECT_NEAR(s.matches[0].latitude, 43.0667, 5e-5);
        EXPECT_EQ(s.matches[0].zone, "Asia/Tokyo");
        EXPECT_EQ(s.matches[0].japanese, U8(u8"札幌"));
    }
    // London, England wins by far over London, Ontario
    EXPECT_EQ(Places_Find("london").matches.at(0).country, "GB");
    // Portland: no place ten times the next; the region or its code picks
    const PlaceSearch portland = Places_Find("Portland");
    ASSERT_EQ(portland.result, PlaceResult::Ambiguous);
    EXPECT_GE(portland.matches.size(), 10u);
    EXPECT_GE(portland.matches[0].population, portland.matches[1].population);
    for (const char* name : {"Portland, Oregon", "Portland, US-OR", "portland, us-or"}) {
        const PlaceSearch s = Places_Find(name);
        ASSERT_EQ(s.result, PlaceResult::Found) << name;
        EXPECT_EQ(s.matches[0].zone, "America/Los_Angeles") << name;
    }
    EXPECT_EQ(Places_Find("Portland, Maine").matches.at(0).zone, "America/New_York");
    // whole words only: "New York" finds New York City, "Sappor" nothing
    EXPECT_EQ(Places_Find("New York").matches.at(0).name, "New York City");
    EXPECT_EQ(Places_Find("Sappor").result, PlaceResult::Unknown);
    EXPECT_EQ(Places_Find("Xyzzy Nowhere").result, PlaceResult::Unknown);
    EXPECT_EQ(Places_Find("Portland, Narnia").result, PlaceResult::Unknown);
    EXPECT_EQ(Places_Find("  ").result, PlaceResult::Unknown);

    // the gazetteer missing: said, and nothing found
    setenv("TENMADO_PLACES", "/nonexistent/places.tsv", 1);
    const PlaceSearch missing = Places_Find("Sapporo");
    unsetenv("TENMADO_PLACES");
    EXPECT_EQ(missing.result, PlaceResult::NoData);
    EXPECT_NE(missing.why.find("/nonexistent/places.tsv"), std::string::npos);
}

// The gazetteer is generated: tools/gen_places.py gives the committed table
// again, byte for byte.
#include "shared_data.h"
#include <unistd.h>
#include <sstream>

TEST(Places, RegeneratedTableIsCommitted)
{
    const std::string source = TENMADO_SOURCE_DIR;
    const std::string data = TENMADO_SHARED_DATA;
    if (!std::ifstream(data + "/gazetteer/cities1000.txt.xz").good())
        TENMADO_SKIP_WITHOUT("no gazetteer at " << data);
    if (std::system("python3 -c 'import lzma' > /dev/null 2>&1") != 0) TENMADO_SKIP_WITHOUT("no python3");
    const std::string out = testing::TempDir() + "places_" + std::to_string(getpid()) + ".tsv";
    const std::string cmd = "python3 '" + source + "/tools/gen_places.py' --data '" + data +
                            "' --out '" + out + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    const std::string fresh = read(out);
    std::remove(out.c_str());
    EXPECT_FALSE(fresh.empty());
    EXPECT_TRUE(fresh == read(source + "/places/places.tsv"))
        << "places/places.tsv differs from tools/gen_places.py output";
}
