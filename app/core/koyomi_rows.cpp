// The main panel's rows of sunrise, sunset, moonrise, moonset and of the
// high and low waters of Tokyo Bay.
#include <cmath>
#include <cstdio>

#include "app/core/koyomi.h"
#include "app/core/koyomi_rows.h"
#include "app/core/readouts.h"
#include "app/core/settings.h"
#include "app/toolkit/ws.h"
#include "events/riseset.h"
#include "events/tide.h"

namespace {

constexpr int kBoxW = 300, kBoxH = 30;

struct RowPlace { int x, y; };
constexpr RowPlace kSunrise{10, 5}, kSunset{10, 20}, kMoonrise{10, 35}, kMoonset{10, 50};
constexpr RowPlace kTideTitle{420, 170};
constexpr RowPlace kTideRows[4] = {{460, 185}, {460, 200}, {460, 215}, {460, 230}};

void Row(WSCvdrawingArea* area, RowPlace at, const std::string& text)
{
    area->drawString(at.x, at.y, kBoxW, kBoxH, 1, 0, text.c_str(), -2);
}

}  // namespace

/*
**  Koyomi_EventRows
**  Sunrise, sunset, moonrise and moonset of the local date of jd.
**
**  Given:
**     area   WSCvdrawingArea*   the drawing area
**     jd, latitude0, longitude0, the zone (globals)
**
**  Notes:
**  1) The searches of the day (Koyomi_DayEvents: run when the date, the
**     place or the zone changes, kept otherwise) store each result into
**     rise_time or set_time of Sun or Moon; each prints "hh:mm" with the
**     minutes truncated.
**  2) Only the Moon's rows test the no-event value 23.0 ("月の出 --",
**     "月の入 --"); a Sun result of 23.0 prints 23:00.
**
**  Called:  Koyomi_DayEvents, Koyomi_DrawEventRows
*/
void Koyomi_EventRows(WSCvdrawingArea* area)
{
    double sunrise, sunset, moonrise, moonset;
    Koyomi_DayEvents(jd, &sunrise, &sunset, &moonrise, &moonset);
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
**
**  Called:  Readout_Event
*/
void Koyomi_DrawEventRows(WSCvdrawingArea* area, double sunrise, double sunset,
                          double moonrise, double moonset)
{
    Row(area, kSunrise, Readout_Event("日の出", sunrise, false));
    Row(area, kSunset, Readout_Event("日の入", sunset, false));
    Row(area, kMoonrise, Readout_Event("月の出", moonrise, moonrise == kNoEvent));
    Row(area, kMoonset, Readout_Event("月の入", moonset, moonset == kNoEvent));
}

/*
**  Koyomi_TideRows
**  The heading and the first two high and low waters of Tokyo Bay.
**
**  Given:
**     area   WSCvdrawingArea*   the drawing area
**     jd, latitude0, longitude0, the zone (globals)
**
**  Notes:
**  1) The tide search of the day (Koyomi_DayEvents, kept while the date
**     and place stay) fills Tide; the rows are drawn from it.
**
**  Called:  Koyomi_DayEvents, Koyomi_DrawTideRows
*/
void Koyomi_TideRows(WSCvdrawingArea* area)
{
    Koyomi_DayEvents(jd, nullptr, nullptr, nullptr, nullptr);
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
**     for an entry 0.0. Each time is the Julian day converted at
**     m_input_lon in the observer's zone in force at it (Observer_ZoneAt:
**     the fixed zone, or a named zone's offset then); a tide of
**     the neighbouring day prints that day's clock time. Writes Hour,
**     minute, second.
**
**  Called:  Readout_Tide, Observer_ZoneAt
*/
void Koyomi_DrawTideRows(WSCvdrawingArea* area, const double record[8])
{
    Row(area, kTideTitle, "  東京湾潮汐");
    for (int i = 0; i < 4; i++)
        Row(area, kTideRows[i], Readout_Tide(i, record[4 + i], m_input_lon,
                                             Observer_ZoneAt(record[4 + i]), &Hour, &minute,
                                             &second));
}
