// The main panel's rows of sunrise, sunset, moonrise, moonset and of the
// high and low waters of Tokyo Bay.
#include <cmath>
#include <cstdio>

#include "app/core/koyomi.h"
#include "app/core/koyomi_rows.h"
#include "app/core/settings.h"
#include "app/toolkit/ws.h"
#include "ephem/position.h"
#include "events/riseset.h"
#include "events/tide.h"
#include "timecal/julian.h"

namespace {

constexpr int kBoxW = 300, kBoxH = 30;

struct RowPlace { int x, y; };
constexpr RowPlace kSunrise{10, 5}, kSunset{10, 20}, kMoonrise{10, 35}, kMoonset{10, 50};
constexpr RowPlace kTideTitle{420, 170};
constexpr RowPlace kTideRows[4] = {{460, 185}, {460, 200}, {460, 215}, {460, 230}};

void Row(WSCvdrawingArea* area, RowPlace at, const char* text)
{
    area->drawString(at.x, at.y, kBoxW, kBoxH, 1, 0, text, -2);
}

// "label hh:mm" with the minutes truncated (5.999 h is 05:59), or
// "label --" when none is true.
void EventRow(WSCvdrawingArea* area, RowPlace at, const char* label, double r, bool none)
{
    char buf[64];
    if (none) {
        std::snprintf(buf, sizeof buf, "%s --", label);
    } else {
        int hh = (int)std::floor(r);
        int mm = (int)std::floor((r - std::floor(r)) * 60);
        std::snprintf(buf, sizeof buf, "%s %02d:%02d", label, hh, mm);
    }
    Row(area, at, buf);
}

}  // namespace

/*
**  Koyomi_EventRows
**  Sunrise, sunset, moonrise and moonset of the local date of jd.
**
**  Given:
**     area   WSCvdrawingArea*   the drawing area
**     jd, latitude0, longitude0 (globals)
**
**  Notes:
**  1) Each result is stored into rise_time or set_time of Sun or Moon and
**     printed "hh:mm" with the minutes truncated.
**  2) Only the Moon's rows test the no-event value 23.0 ("月の出 --",
**     "月の入 --"); a Sun result of 23.0 prints 23:00.
**
**  Called:  Cal_Rise_Time, Cal_Set_Time
*/
void Koyomi_EventRows(WSCvdrawingArea* area)
{
    double sunrise = Cal_Rise_Time(jd, kBodySun);
    Sun.rise_time = sunrise;
    double sunset = Cal_Set_Time(jd, kBodySun);
    Sun.set_time = sunset;
    double moonrise = Cal_Rise_Time(jd, kBodyMoon);
    Moon.rise_time = moonrise;
    double moonset = Cal_Set_Time(jd, kBodyMoon);
    Moon.set_time = moonset;
    Koyomi_DrawEventRows(area, sunrise, sunset, moonrise, moonset);
}

/*
**  Koyomi_DrawEventRows
**  The four event rows from given results.
**
**  Given:
**     area                 WSCvdrawingArea*   the drawing area
**     sunrise, sunset      double             local decimal hours
**     moonrise, moonset    double             local decimal hours, or 23.0
**
**  Notes:
**  1) "日の出", "日の入", "月の出", "月の入" at (10, 5), (10, 20), (10, 35),
**     (10, 50) with "hh:mm" (minutes truncated: 5.999 h is 05:59); the
**     Moon's rows print "--" for exactly 23.0, the Sun's print 23:00.
*/
void Koyomi_DrawEventRows(WSCvdrawingArea* area, double sunrise, double sunset,
                          double moonrise, double moonset)
{
    EventRow(area, kSunrise, "日の出", sunrise, false);
    EventRow(area, kSunset, "日の入", sunset, false);
    EventRow(area, kMoonrise, "月の出", moonrise, moonrise == kNoEvent);
    EventRow(area, kMoonset, "月の入", moonset, moonset == kNoEvent);
}

/*
**  Koyomi_TideRows
**  The heading and the first two high and low waters of Tokyo Bay.
**
**  Given:
**     area   WSCvdrawingArea*   the drawing area
**     jd, m_input_lon (globals)
**
**  Notes:
**  1) Each time is the Julian day of the record Tide (entries 4, 5 high,
**     6, 7 low) converted by Calendar at m_input_lon; hours and minutes
**     are truncated and left in Hour, minute, second. A tide of the
**     neighbouring day prints that day's clock time.
**  2) An entry 0.0 prints "満 --" or "干 --".
**
**  Called:  Tide_Cal, Calendar
*/
void Koyomi_TideRows(WSCvdrawingArea* area)
{
    Tide_Cal(jd);
    Koyomi_DrawTideRows(area, Tide);
}

/*
**  Koyomi_DrawTideRows
**  The tide heading and rows from a record laid out as Tide.
**
**  Given:
**     area     WSCvdrawingArea*   the drawing area
**     record   double[8]          as Tide: Julian days (UT) in 4..7
**
**  Notes:
**  1) "  東京湾潮汐" at (420, 170), then "満hh:mm" (entries 4, 5) and
**     "干hh:mm" (6, 7) at (460, 185) to (460, 230); "満 --" or "干 --"
**     for an entry 0.0. Writes Hour, minute, second.
**
**  Called:  Calendar
*/
void Koyomi_DrawTideRows(WSCvdrawingArea* area, const double record[8])
{
    Row(area, kTideTitle, "  東京湾潮汐");

    char buf[64];
    for (int i = 0; i < 4; i++) {
        double t = record[4 + i];
        bool high = i < 2;
        double y, mo, d, hr;
        Calendar(t, &y, &mo, &d, &hr, 0, m_input_lon);
        Hour = std::floor(hr);
        minute = std::floor((hr - Hour) * 60);
        second = hr * 3600 - Hour * 3600 - minute * 60;
        if (t == 0.0)
            std::snprintf(buf, sizeof buf, "%s", high ? "満 --" : "干 --");
        else
            std::snprintf(buf, sizeof buf, high ? "満%02.0f:%02.0f" : "干%02.0f:%02.0f", Hour, minute);
        Row(area, kTideRows[i], buf);
    }
}
