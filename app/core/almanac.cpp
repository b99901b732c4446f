// The almanac of the present instant for the command line: the picture's
// read-outs as UTF-8 text, or one JSON object with the raw results.
#include "app/core/almanac.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include <nlohmann/json.hpp>

#include "app/core/koyomi.h"
#include "app/core/settings.h"
#include "app/toolkit/recorder.h"
#include "app/toolkit/sjis.h"
#include "app/toolkit/ws.h"
#include "ephem/position.h"
#include "events/newmoon.h"
#include "events/riseset.h"
#include "events/tide.h"
#include "panels/panels.h"
#include "panels/view_projection.h"
#include "timecal/clock.h"

namespace {

const char* const kEnglish[kPanelBodies] = {"Moon", "Mercury", "Venus", "Sun",
                                            "Mars", "Jupiter", "Saturn"};

// Where the picture writes its read-outs and how each begins, in the order
// of the text (the panels' labels elsewhere never match both).
struct Readout { int x, y; const char* start; };
const Readout kReadouts[] = {
    {20, 0, "        日時"},                                  // date, time, Julian day
    {10, 5, "日の出"}, {10, 20, "日の入"},                      // sun
    {10, 35, "月の出"}, {10, 50, "月の入"},                     // moon
    {420, 5, "時刻"}, {420, 20, "東経"}, {420, 35, "北緯"}, {420, 50, "方位角"},
    {420, 170, "  東京湾潮汐"},                                 // tide heading
    {460, 185, "満"}, {460, 200, "満"}, {460, 215, "干"}, {460, 230, "干"},
    {5, 160, "月齢"},                                          // Moon's age
};

// null for the no-event value 23.0, else the time.
nlohmann::ordered_json TimeOrNull(double r)
{
    return r == kNoEvent ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(r);
}

nlohmann::ordered_json DayOrNull(double jd)
{
    return jd == 0.0 ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(jd);
}

}  // namespace

/*
**  Almanac_Text
**  The read-outs of the picture at the present instant, one per line.
**
**  Returned (function value):
**          std::string   UTF-8 text, each line ended by a newline
**
**  Notes:
**  1) One whole repaint is painted into a recorder; the read-outs (date
**     line, events, time and place, tides, Moon's age) are picked out by
**     place and first characters, in that order, and converted to UTF-8
**     without their leading blanks.
**  2) The present instant is the clock source's (Clock_Now); the shared
**     state is left as the repaint leaves it.
**
**  Called:  Koyomi_Pla, SjisToUtf8
*/
std::string Almanac_Text()
{
    WSCvdrawingArea area(nullptr, "almanac");
    Recorder rec;
    area.setPainter(&rec);
    Koyomi_Pla(&area);

    std::string out;
    for (const Readout& p : kReadouts) {
        for (const DrawCall* c : rec.texts()) {
            if (c->a[0] != p.x || c->a[1] != p.y || c->text.rfind(p.start, 0) != 0) continue;
            std::string line = SjisToUtf8(c->text);
            line.erase(0, line.find_first_not_of(' '));
            out += line;
            out += '\n';
            break;
        }
    }
    return out;
}

/*
**  Almanac_Json
**  The raw results of the searches and positions at the present instant.
**
**  Returned (function value):
**          std::string   one JSON object (indent 2) and a newline: jd,
**                        local, sunrise, sunset, moonrise, moonset,
**                        sun_transit, moon_transit, tides, new_moons,
**                        moon_age, bodies
**
**  Notes:
**  1) The state is reset as a repaint resets it (Koyomi_Reset); times are
**     local decimal hours as the searches return them, Julian days in UT.
**  2) The Sun's 23.0 stays; the Moon's rise and set and both transits
**     give null for 23.0. Tides in the record's order 4, 5, 6, 7, entries
**     0.0 left out; new moons of FirstdayCal1 with null for 0.0.
**  3) Bodies as the planet panel computes them (PanelBody).
**
**  Called:  Clock_Now, Koyomi_Reset, Cal_Rise_Time, Cal_Set_Time,
**           Cal_Top_Time, Tide_Cal, FirstdayCal1, MoonAgeDays, PanelBody
*/
std::string Almanac_Json()
{
    struct tm now = Clock_Now();
    Koyomi_Reset(now);
    const double J = jd;

    char local[80];
    std::snprintf(local, sizeof local, "%04d-%02d-%02d %02d:%02d:%02d", now.tm_year + 1900,
                  now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);

    nlohmann::ordered_json j;
    j["jd"] = J;
    j["local"] = local;
    j["sunrise"] = Cal_Rise_Time(J, kBodySun);
    j["sunset"] = Cal_Set_Time(J, kBodySun);
    j["moonrise"] = TimeOrNull(Cal_Rise_Time(J, kBodyMoon));
    j["moonset"] = TimeOrNull(Cal_Set_Time(J, kBodyMoon));
    j["sun_transit"] = TimeOrNull(Cal_Top_Time(J, kBodySun));
    j["moon_transit"] = TimeOrNull(Cal_Top_Time(J, kBodyMoon));

    Tide_Cal(J);
    nlohmann::ordered_json tides = nlohmann::ordered_json::array();
    for (int i = 0; i < 4; i++) {
        if (Tide[4 + i] == 0.0) continue;
        tides.push_back({{"kind", i < 2 ? "high" : "low"}, {"jd", Tide[4 + i]}, {"height", Tide[i]}});
    }
    j["tides"] = tides;

    double newmoon1, newmoon2;
    FirstdayCal1(J, &newmoon1, &newmoon2);
    j["new_moons"] = {DayOrNull(newmoon1), DayOrNull(newmoon2)};
    j["moon_age"] = MoonAgeDays(J);

    nlohmann::ordered_json bodies = nlohmann::ordered_json::array();
    for (int i = 0; i < kPanelBodies; i++) {
        double az, el;
        const tagPosition* p = PanelBody(i, J, &az, &el);
        bodies.push_back({{"name", SjisToUtf8(Pla1[i], std::strlen(Pla1[i]))}, {"english", kEnglish[i]},
                          {"lam", p->lam}, {"bet", p->bet}, {"ra", p->ra}, {"dec", p->dec},
                          {"az", az}, {"el", el}});
    }
    j["bodies"] = bodies;
    return j.dump(2) + "\n";
}
