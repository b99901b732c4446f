// The read-outs record and the searches of the day kept between repaints:
// a run of repaints that crosses midnight, the station's midnight and
// changes of place, zone and view, each repaint the same call for call as a
// fresh repaint of its instant; the read-outs of a west and south place;
// the horizon labels of the view; the almanac over a run of days.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/almanac.h"
#include "app/config.h"
#include "app/readouts.h"
#include "app/settings.h"
#include "events/day_kept.h"
#include "toolkit/sjis.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/repaint_capture.h"

namespace {

using repaint_capture::Instant;

struct Place {
    double lat, lon;
    bool zone_set;
    double zone, azimuth;
};
constexpr Place kTokyo{35.6, 139.7, false, 0, 0};

void SetPlace(const Place& p)
{
    Config_Apply(ConfigValues{p.lat, p.lon, p.zone_set, p.zone, p.azimuth, false});
}

// The texts of a repaint drawn at (x, y), in order.
std::vector<std::string> TextsAt(const std::vector<DrawCall>& calls, int x, int y)
{
    std::vector<std::string> out;
    for (const DrawCall& c : calls)
        if (c.op == DrawCall::Text && c.a[0] == x && c.a[1] == y) out.push_back(c.text);
    return out;
}

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

}  // namespace

// Each repaint of the run keeps what the previous ones left (the shared
// records, the kept day); a fresh repaint of the same instant starts from
// the state at start. The day's searches run only where the observer's
// date, the station's date or the place changes.
TEST(KeptDay, RunOfRepaintsEqualsFreshRepaints)
{
    const Place sapporo{43.06, 141.35, false, 0, 0};
    const Place sapporo_turned{43.06, 141.35, false, 0, 15};
    const Place kathmandu{27.7, 85.3, true, 5.75, 0};
    const Place new_york{40.71, -74.0, true, -5, -30};
    struct Step {
        Instant at;  // the observer's civil time
        Place place;
        bool searches;
    };
    const Step run[] = {
        {{2026, 12, 6, 23, 59, 58}, kTokyo, true},
        {{2026, 12, 6, 23, 59, 59}, kTokyo, false},
        {{2026, 12, 7, 0, 0, 0}, kTokyo, true},  // midnight
        {{2026, 12, 7, 0, 0, 1}, kTokyo, false},
        {{2026, 12, 7, 0, 0, 2}, sapporo, true},  // another place
        {{2026, 12, 7, 0, 0, 3}, sapporo, false},
        {{2026, 12, 7, 0, 0, 4}, sapporo_turned, false},  // only the view turns
        {{2026, 12, 7, 23, 59, 59}, kathmandu, true},  // a zone of 5 h 45 min
        {{2026, 12, 8, 0, 0, 0}, kathmandu, true},
        {{2026, 12, 7, 9, 59, 59}, new_york, true},   // west, zone -5
        {{2026, 12, 7, 10, 0, 0}, new_york, true},    // midnight at the station
        {{2026, 12, 7, 10, 0, 1}, new_york, false},
        {{2026, 12, 8, 12, 0, 0}, kTokyo, true},
        {{1899, 12, 31, 23, 59, 59}, kTokyo, true},  // local mean time ...
        // ... which Calendar reads back in zone time after JD 2415000.0: the
        // searches' date is 1899-12-31 until 00:18:48 local mean time
        {{1900, 1, 1, 0, 0, 0}, kTokyo, false},
        {{1900, 1, 1, 0, 18, 48}, kTokyo, true},
    };

    repaint_capture::ResetToStart();
    std::vector<std::string> kept;
    for (const Step& s : run) {
        SetPlace(s.place);
        const long before = DayEvents_Searches();
        testing_clock::FixedClock clock(s.at.year, s.at.month, s.at.day, s.at.hour, s.at.minute,
                                        s.at.second);
        Recorder rec;
        WSCvdrawingArea area(nullptr, "run");
        area.setPainter(&rec);
        Koyomi_Pla(&area);
        kept.push_back(repaint_capture::FullText(rec.calls));
        EXPECT_EQ(DayEvents_Searches() - before, s.searches ? 1 : 0)
            << repaint_capture::InstantText(s.at);
    }
    for (size_t i = 0; i < kept.size(); ++i) {
        const Step& s = run[i];
        const std::string fresh = repaint_capture::FullText(
            repaint_capture::CaptureRepaint(s.at, [&] { SetPlace(s.place); }));
        EXPECT_TRUE(kept[i] == fresh)
            << repaint_capture::InstantText(s.at) << ": the kept repaint differs at "
            << repaint_capture::FirstDifference(fresh, kept[i]);
    }
}

// West longitude and south latitude print 西経 and 南緯 with the absolute
// value, in the places of 東経 and 北緯.
TEST(Readouts, WestAndSouth)
{
    const Instant at{2026, 12, 22, 12, 0, 0};
    auto calls = repaint_capture::CaptureRepaint(at, [] {
        SetPlace(Place{-33.87, -70.65, true, -3, 0});  // Santiago de Chile
    });
    EXPECT_EQ(TextsAt(calls, 420, 20), std::vector<std::string>{"西経 70.7"});
    EXPECT_EQ(TextsAt(calls, 420, 35), std::vector<std::string>{"南緯 33.9"});
    calls = repaint_capture::CaptureRepaint(at, [] { SetPlace(Place{0.0, -0.04, false, 0, 0}); });
    EXPECT_EQ(TextsAt(calls, 420, 20), std::vector<std::string>{"西経 0.0"});
    EXPECT_EQ(TextsAt(calls, 420, 35), std::vector<std::string>{"北緯 0.0"});
}

// The three labels name the directions 90 degrees left of the view, at it
// and 90 degrees right, in red where 東 南 西 stand for the view south.
TEST(Readouts, HorizonLabelsOfTheView)
{
    struct Case { double azimuth; const char* left; const char* centre; const char* right; const char* shown; };
    const Case cases[] = {
        {0, "東", "南", "西", "方位角   0"},
        {90, "南", "西", "北", "方位角  90"},
        {180, "西", "北", "東", "方位角 180"},
        {270, "北", "東", "南", "方位角 270"},
        {45, "南東", "南西", "北西", "方位角  45"},
        {-30, "北東", "南東", "南西", "方位角 -30"},
    };
    for (const Case& c : cases) {
        auto calls = repaint_capture::CaptureRepaint({2026, 12, 6, 21, 0, 0}, [&] {
            m_input_azmt = c.azimuth;
        });
        SCOPED_TRACE(c.shown);
        int red = 0;
        for (const DrawCall& call : calls) {
            if (call.op != DrawCall::Text || call.a[1] != 230 || call.color != 0xff0000u) continue;
            const char* want = call.a[0] == 50 ? c.left : call.a[0] == 250 ? c.centre : c.right;
            EXPECT_EQ(call.text, want) << "at x " << call.a[0];
            EXPECT_TRUE(call.a[0] == 50 || call.a[0] == 250 || call.a[0] == 435);
            ++red;
        }
        EXPECT_EQ(red, 3);
        EXPECT_EQ(TextsAt(calls, 420, 50), std::vector<std::string>{c.shown});
    }
    // ties go toward the west; any azimuth folds
    EXPECT_STREQ(Readout_Direction(22.5), "南西");
    EXPECT_STREQ(Readout_Direction(-22.5), "南");
    EXPECT_STREQ(Readout_Direction(-450), "東");
    EXPECT_STREQ(Readout_Direction(359.9), "南");
}

// --days 1 is the almanac of the instant; a 31-day month gives 31 rows of
// consecutive dates, each the almanac of its own day at the same time.
TEST(AlmanacDays, OneDayAndAMonth)
{
    Settings_Reset();
    testing_clock::FixedClock clock(2026, 12, 6, 15, 0, 0);
    const nlohmann::json one = nlohmann::json::parse(Almanac_Json());
    const nlohmann::json days = nlohmann::json::parse(Almanac_DaysJson(1));
    ASSERT_TRUE(days.is_array());
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0], one);

    // the table's row holds the single-day text's values
    std::istringstream text(Almanac_Text());
    std::vector<std::string> lines;
    for (std::string l; std::getline(text, l);) lines.push_back(l);
    // the picture's 15 read-outs, the tide's name, then the planner's lines
    // (twilight ... the next events)
    ASSERT_GT(lines.size(), 16u);
    EXPECT_EQ(lines[16].substr(0, 12), U8(u8"市民薄明"));
    std::istringstream table(Almanac_DaysText(1));
    std::string header, row, more;
    std::getline(table, header);
    std::getline(table, row);
    EXPECT_FALSE(std::getline(table, more));
    EXPECT_EQ(header.substr(0, 6), U8(u8"日付"));
    EXPECT_EQ(row, "2026/12/06  06:35  16:27  03:52  14:13  03:52  15:14  09:33  22:13  27.0");
    EXPECT_EQ(lines[1], U8(u8"日の出 06:35"));
    EXPECT_EQ(lines[11], U8(u8"満15:14"));
    EXPECT_EQ(lines[14], U8(u8"月齢 27.0"));

    // January 2026 at 08:00: consecutive dates, each row the day's own
    // almanac (days 1, 16 and 31 compared with the single-day text)
    testing_clock::FixedClock january(2026, 1, 1, 8, 0, 0);
    std::istringstream month(Almanac_DaysText(31));
    std::vector<std::string> rows;
    for (std::string l; std::getline(month, l);) rows.push_back(l);
    ASSERT_EQ(rows.size(), 32u);
    for (int d = 1; d <= 31; ++d) {
        char date[16];
        std::snprintf(date, sizeof date, "2026/01/%02d", d);
        EXPECT_EQ(rows[d].substr(0, 10), date);
    }
    for (int d : {1, 16, 31}) {
        testing_clock::FixedClock day(2026, 1, d, 8, 0, 0);
        const std::string single = Almanac_Text();
        std::istringstream cells(rows[d].substr(12));
        std::string sunrise, sunset;
        cells >> sunrise >> sunset;
        EXPECT_NE(single.find(U8(u8"日の出 ") + sunrise), std::string::npos) << rows[d];
        EXPECT_NE(single.find(U8(u8"日の入 ") + sunset), std::string::npos) << rows[d];
    }
}
