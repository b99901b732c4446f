// The event searches over many dates against an independent library: the
// times of tests/golden/events_reference.txt (the npm package
// astronomy-engine, by tools/planet_accuracy/events_reference.js). Ten years
// of sunrise, sunset, moonrise and moonset at Tokyo and Sapporo: every event
// of the reference found, none more, each within a minute; the date's
// searches with "found" (what the read-outs print) find the same events.
// A year of the Sun's and the Moon's upper culmination at Canberra and
// Darwin, within 2 minutes.
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

struct Date {
    std::string kind, place;
    double lat, lon, zone;
    int y, m, d;
    std::vector<std::string> cells;  // seconds after 0 h, or "-"
};

std::vector<Date> ReadReference()
{
    std::vector<Date> out;
    std::ifstream in(TENMADO_SOURCE_DIR "/tests/golden/events_reference.txt");
    std::string text;
    while (std::getline(in, text)) {
        if (text.empty() || text[0] == '#') continue;
        std::istringstream s(text);
        Date l;
        char dash1, dash2;
        s >> l.kind >> l.place >> l.lat >> l.lon >> l.zone >> l.y >> dash1 >> l.m >> dash2 >> l.d;
        l.m = std::abs(l.m);
        l.d = std::abs(l.d);
        for (std::string c; s >> c;) l.cells.push_back(c);
        out.push_back(l);
    }
    return out;
}

// Two lists of instants (Julian days) paired in time order: how many of
// each find no partner within tol, and the largest difference of a pair.
struct Pairing {
    int unpaired_ref = 0, unpaired_ours = 0;
    double worst = 0;  // days
};
Pairing Pair(std::vector<double> ref, std::vector<double> ours, double tol)
{
    std::sort(ref.begin(), ref.end());
    std::sort(ours.begin(), ours.end());
    Pairing p;
    size_t i = 0, j = 0;
    while (i < ref.size() || j < ours.size()) {
        if (i < ref.size() && j < ours.size() && std::fabs(ref[i] - ours[j]) < tol) {
            p.worst = std::fmax(p.worst, std::fabs(ref[i] - ours[j]));
            i++;
            j++;
        } else if (j == ours.size() || (i < ref.size() && ref[i] < ours[j])) {
            p.unpaired_ref++;
            i++;
        } else {
            p.unpaired_ours++;
            j++;
        }
    }
    return p;
}

// The observer's globals as the read-outs set them, for a place.
void Place(const Date& l)
{
    testing_observer::Observer();
    latitude = latitude0 = l.lat;
    longitude = longitude0 = l.lon;
    zone0_set = true;
    zone0 = l.zone;
}

}  // namespace

TEST(EventReference, TenYearsOfRiseAndSet)
{
    const std::vector<Date> dates = ReadReference();
    ASSERT_GT(dates.size(), 7000u);
    // per place and event: the reference's instants, the general search's,
    // and the date's search with found
    std::map<std::string, std::vector<double>> ref, general, dated;
    int n = 0;
    for (const Date& l : dates) {
        if (l.kind != "day") continue;
        ASSERT_EQ(l.cells.size(), 4u);
        ++n;
        Place(l);
        const double start = JD_Zone(l.y, l.m, l.d, 0, l.lon, l.zone);
        const double noon = start + 0.5;
        const char* names[4] = {"sunrise", "sunset", "moonrise", "moonset"};
        for (int k = 0; k < 4; k++) {
            const std::string key = l.place + " " + names[k];
            if (l.cells[k] != "-") ref[key].push_back(start + std::stod(l.cells[k]) / 86400);
            const int body = k < 2 ? kBodySun : kBodyMoon;
            const bool rise = k % 2 == 0;
            EventTime e = rise ? Event_Rise(body, kAltitudeHorizon, l.lat, l.lon, start, 24)
                               : Event_Set(body, kAltitudeHorizon, l.lat, l.lon, start, 24);
            if (e.found) general[key].push_back(e.jd);
            bool found = false;
            const double h = rise ? Cal_Rise_Found(noon, body, &found) : Cal_Set_Found(noon, body, &found);
            if (found) dated[key].push_back(JD_Zone(l.y, l.m, l.d, h, l.lon, l.zone));
        }
    }
    EXPECT_EQ(n, 2 * 3652);
    for (const auto& [key, instants] : ref) {
        const Pairing g = Pair(instants, general[key], kMinute);
        EXPECT_EQ(g.unpaired_ref, 0) << key;
        EXPECT_EQ(g.unpaired_ours, 0) << key;
        // the date's search: the lower end of a bracket 0.1 degree wide
        const Pairing d = Pair(instants, dated[key], 2 * kMinute);
        EXPECT_EQ(d.unpaired_ref, 0) << key;
        EXPECT_LE(d.unpaired_ours, 2) << key;
        std::printf("%-17s %5zu events: general worst %.2f min, date's search worst %.2f min "
                    "(%d more)\n",
                    key.c_str(), instants.size(), g.worst * 1440, d.worst * 1440, d.unpaired_ours);
    }
    Observer_Reset();
}

TEST(EventReference, CulminationAtTwoSouthernPlaces)
{
    std::map<std::string, std::vector<double>> ref, general, dated;
    int n = 0;
    for (const Date& l : ReadReference()) {
        if (l.kind != "top") continue;
        ASSERT_EQ(l.cells.size(), 2u);
        ++n;
        Place(l);
        const double start = JD_Zone(l.y, l.m, l.d, 0, l.lon, l.zone);
        for (int k = 0; k < 2; k++) {
            const std::string key = l.place + (k == 0 ? " Sun" : " Moon");
            const int body = k == 0 ? kBodySun : kBodyMoon;
            if (l.cells[k] != "-") ref[key].push_back(start + std::stod(l.cells[k]) / 86400);
            EventTime e = Event_Culmination(body, l.lat, l.lon, start, 24);
            if (e.found) general[key].push_back(e.jd);
            bool found = false;
            const double h = Cal_Top_Found(start + 0.5, body, &found);
            if (found) dated[key].push_back(JD_Zone(l.y, l.m, l.d, h, l.lon, l.zone));
        }
    }
    EXPECT_EQ(n, 2 * 365);
    for (const auto& [key, instants] : ref) {
        const Pairing g = Pair(instants, general[key], 2 * kMinute);
        const Pairing d = Pair(instants, dated[key], 2 * kMinute);
        EXPECT_EQ(g.unpaired_ref + g.unpaired_ours, 0) << key;
        EXPECT_EQ(d.unpaired_ref + d.unpaired_ours, 0) << key;
        std::printf("%-14s %4zu passages: general worst %.2f min, date's search worst %.2f min\n",
                    key.c_str(), instants.size(), g.worst * 1440, d.worst * 1440);
    }
    Observer_Reset();
}
