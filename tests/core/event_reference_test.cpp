// The event searches over many dates against an independent library
// (tests/golden/events_reference.txt: astronomy-engine, by
// tools/planet_accuracy/events_reference.js). Rise and set on every date of
// 2021-2030 at Tokyo and Sapporo, the upper culmination on every date of
// 2026 at Canberra and Darwin. Events are paired in time order, so that one
// a few seconds across midnight pairs with the neighbouring date's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "events/riseset.h"
#include "tests/core/observer.h"
#include "timecal/julian.h"
#include "timecal/observer.h"

namespace {

constexpr double kMinute = 1.0 / 1440;  // days

// The paired instants (Julian days UT) of one place and event: the
// reference's, the general search's, the date's search with found.
struct Series { std::vector<double> ref, general, dated; };

// Unpaired instants of both lists (sorted) with tol, and the largest
// difference of a pair, minutes.
int Unpaired(std::vector<double> a, std::vector<double> b, double tol, double* worst)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    int unpaired = 0;
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && std::fabs(a[i] - b[j]) < tol) {
            *worst = std::fmax(*worst, std::fabs(a[i] - b[j]) * 1440);
            i++, j++;
        } else {
            unpaired++;
            (j == b.size() || (i < a.size() && a[i] < b[j])) ? i++ : j++;
        }
    }
    return unpaired;
}

}  // namespace

TEST(EventReference, RiseSetAndCulminationAgainstIndependentLibrary)
{
    std::ifstream in(TENMADO_SOURCE_DIR "/tests/golden/events_reference.txt");
    ASSERT_TRUE(in.good());
    std::map<std::string, Series> series;
    int days = 0, tops = 0;
    for (std::string text; std::getline(in, text);) {
        if (text.empty() || text[0] == '#') continue;
        std::istringstream s(text);
        std::string kind, place, c[4];
        double lat, lon, zone;
        int y, m, d;
        char dash;
        s >> kind >> place >> lat >> lon >> zone >> y >> dash >> m >> dash >> d;
        const bool day = kind == "day";
        (day ? days : tops)++;
        for (int k = 0; k < (day ? 4 : 2); k++) s >> c[k];
        ASSERT_FALSE(s.fail()) << text;

        // the observer as the read-outs set it
        testing_observer::Observer();
        latitude0 = lat;
        longitude0 = lon;
        zone0_set = true;
        zone0 = zone;
        const double start = JD_Zone(y, m, std::abs(d), 0, lon, zone);
        for (int k = 0; k < (day ? 4 : 2); k++) {
            static const char* const kNames[] = {" sunrise", " sunset", " moonrise", " moonset"};
            const int body = (day ? k < 2 : k == 0) ? kBodySun : kBodyMoon;
            const bool rise = k % 2 == 0;
            Series& sr = series[place + (day ? kNames[k] : k == 0 ? " Sun" : " Moon")];
            if (c[k] != "-") sr.ref.push_back(start + std::stod(c[k]) / 86400);
            const EventTime e =
                !day ? Event_Culmination(body, lat, lon, start, 24)
                     : rise ? Event_Rise(body, kAltitudeHorizon, lat, lon, start, 24)
                            : Event_Set(body, kAltitudeHorizon, lat, lon, start, 24);
            if (e.found) sr.general.push_back(e.jd);
            bool found = false;
            const double h = !day ? Cal_Top_Found(start + 0.5, body, &found)
                             : rise ? Cal_Rise_Found(start + 0.5, body, &found)
                                    : Cal_Set_Found(start + 0.5, body, &found);
            if (found) sr.dated.push_back(JD_Zone(y, m, std::abs(d), h, lon, zone));
        }
    }
    EXPECT_EQ(days, 2 * 3652);
    EXPECT_EQ(tops, 2 * 365);
    testing_observer::Observer();

    // every event found, no other: rise and set within a minute by the
    // general search, within 2 by the date's search (the lower end of its
    // bracket); culmination within 2 minutes by both
    for (const auto& [name, sr] : series) {
        const bool top = name.ends_with(" Sun") || name.ends_with(" Moon");
        double worst_general = 0, worst_dated = 0;
        EXPECT_EQ(Unpaired(sr.ref, sr.general, (top ? 2 : 1) * kMinute, &worst_general), 0) << name;
        EXPECT_EQ(Unpaired(sr.ref, sr.dated, 2 * kMinute, &worst_dated), 0) << name;
        std::printf("%-17s %4zu events, worst %.2f min (date's search %.2f)\n", name.c_str(),
                    sr.ref.size(), worst_general, worst_dated);
    }
}
