// The main panel: one whole repaint, and the clock read-outs.
#include "app/core/koyomi.h"

#include <cmath>
#include <cstdio>

#include "app/core/koyomi_rows.h"
#include "app/core/readouts.h"
#include "app/core/settings.h"
#include "app/toolkit/ws.h"
#include "panels/panels.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

namespace {

constexpr unsigned long kBoxW = 300, kBoxH = 30;

// The record of the last repaint (the window's tooltips and description).
KoyomiReadouts g_shown{};

// The horizon labels: 90 degrees left of the view, at it, 90 degrees right.
struct LabelPlace { long x, y; double offset; };
constexpr LabelPlace kHorizon[3] = {{50, 230, -90}, {250, 230, 0}, {435, 230, 90}};

void Text(WSCvdrawingArea* area, long x, long y, const std::string& text)
{
    area->drawString(x, y, kBoxW, kBoxH, 1, 0, text.c_str(), -2);
}

}  // namespace

/*
**  Koyomi_DateTimeZone
**  The date line's date and time of day of a Julian day, in a zone given.
**
**  Given:
**     jd          double    Julian day (UT)
**     longitude   double    east longitude, degrees (local mean time)
**     zone        double    civil zone, hours east of UTC
**
**  Returned:
**     year, month, day        double*   civil date at the observer
**     hour, minute, second    double*   whole hours, minutes and seconds
**
**  Notes:
**  1) The clock reads whole seconds; the round trip through the Julian day
**     loses some microseconds, so the time is split half a second on and
**     truncated: the line then shows the same second as the clock.
**
**  Called:  Calendar_Zone
*/
void Koyomi_DateTimeZone(double jd, double longitude, double zone, double* year, double* month,
                         double* day, double* hour, double* minute, double* second)
{
    double hr;
    Calendar_Zone(jd + 0.5 / 86400, year, month, day, &hr, longitude, zone);
    *hour = std::floor(hr);
    *minute = std::floor((hr - *hour) * 60);
    *second = hr * 3600 - *hour * 3600 - *minute * 60;
}

/*
**  Koyomi_DateTime
**  The date line's date and time of day of a Julian day, in the zone of
**  the longitude (Koyomi_DateTimeZone with ZoneHours(longitude)).
*/
void Koyomi_DateTime(double jd, double longitude, double* year, double* month, double* day,
                     double* hour, double* minute, double* second)
{
    Koyomi_DateTimeZone(jd, longitude, ZoneHours(longitude), year, month, day, hour, minute,
                        second);
}

/*
**  Koyomi_Reset
**  The shared state of a repaint, reset from the settings.
**
**  Given:
**     now   struct tm   the clock reading (Clock_Now): the observer's civil
**                       date and time
**
**  Notes:
**  1) The chart geometry, the projection and the chart centre
**     (DisplaySettings_StartRepaint); latitude, latitude0 from m_input_lat,
**     longitude, longitude0 from m_input_lon, zone0_set, zone0 from
**     m_input_zone_set, m_input_zone; the Julian day of the reading
**     (JD_Zone at m_input_lon in the observer's zone) into jd, jd0,
**     jdstart and jd_auto.
**  2) The command-line almanac resets the same way (Koyomi_Readouts).
**
**  Called:  DisplaySettings_StartRepaint, JD_Zone, Observer_ZoneHours
*/
void Koyomi_Reset(const struct tm& now)
{
    double year = now.tm_year + 1900.0;
    double month = now.tm_mon + 1.0;
    double day = now.tm_mday;
    double H = now.tm_hour + now.tm_min * (1.0 / 60) + now.tm_sec * (1.0 / 3600);

    // chart geometry, projection and centre
    DisplaySettings_StartRepaint();

    // observer
    latitude = latitude0 = m_input_lat;
    longitude = longitude0 = m_input_lon;
    zone0_set = m_input_zone_set;
    zone0 = m_input_zone;

    // Julian day of the present moment
    double J = JD_Zone(year, month, day, H, m_input_lon, Observer_ZoneHours());
    jd = jd0 = jdstart = J;
    jd_auto = jd0;
}

/*
**  Koyomi_HorizonLabels
**  The three directions on the horizon of the sky view.
**
**  Given:
**     area      WSCvdrawingArea*   the drawing area
**     azimuth   double             the view, degrees from the south toward
**                                  the west
**
**  Notes:
**  1) In "#ff0000", the nearest of the eight directions (Readout_Direction)
**     to the azimuth 90 degrees left of the view at (50, 230), to the view
**     at (250, 230) and 90 degrees right of it at (435, 230), boxes
**     300 x 30: for the view to the south 東, 南 and 西. The colour stays
**     red.
**
**  Called:  Readout_Direction
*/
void Koyomi_HorizonLabels(WSCvdrawingArea* area, double azimuth)
{
    area->setForeColor("#ff0000");
    for (const LabelPlace& p : kHorizon) Text(area, p.x, p.y, Readout_Direction(azimuth + p.offset));
}

const KoyomiReadouts& Koyomi_Shown() { return g_shown; }

/*
**  Koyomi_Pla
**  One whole repaint of the dashboard.
**
**  Given:
**     object   WSCbase*   the drawing area
**
**  Notes:
**  1) Reads the clock once and makes the read-outs record of the reading
**     (Koyomi_Readouts: the shared state reset, the date line, the kept or
**     fresh searches of the day); fills the background "#64ffff"
**     530 x 300, writes the date line with the Julian day, the horizon
**     labels of the view, the sun and moon event rows, the local time,
**     the place and the viewing azimuth, and the tide rows, all from the
**     record; then the panels Disp4, DispStar, DispMoon and DispClock, each
**     over the earlier ones.
**  2) Between repaints only the searches of the day are kept (and run
**     again when the date, the place or the zone changes); Hour, minute
**     and second hold the last tide row's time afterwards, as before.
**
**  Called:  Clock_Now, Koyomi_Readouts, Readout_DateLine,
**           Koyomi_HorizonLabels, Koyomi_DrawEventRows, Readout_Clock,
**           Readout_Longitude, Readout_Latitude, Readout_Azimuth,
**           Koyomi_DrawTideRows, Disp4, DispStar, DispMoon, DispClock
*/
void Koyomi_Pla(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));

    // the clock, read once; the shared state from the settings and the
    // read-outs of the reading
    struct tm now = Clock_Now();
    KoyomiReadouts r;
    Koyomi_Readouts(now, false, &r);
    g_shown = r;

    // background
    area->setForeColor("#64ffff");
    area->drawFillRect(0, 0, 530, 300);

    // date line
    area->setForeColor("#000000");
    area->drawString(20, 0, 600, 15, 1, 0, Readout_DateLine(r).c_str(), -2);

    // the directions on the horizon of the view
    Koyomi_HorizonLabels(area, r.place.azimuth);
    area->setForeColor("#000000");

    // sunrise, sunset, moonrise, moonset
    Koyomi_DrawEventRows(area, r.sunrise, r.sunset, r.moonrise, r.moonset);

    // local time, from the clock reading above
    Hour = now.tm_hour;
    minute = now.tm_min;
    second = now.tm_sec;
    Text(area, 420, 5, Readout_Clock(now));

    // the place and the view
    Text(area, 420, 20, Readout_Longitude(r.place.longitude));
    Text(area, 420, 35, Readout_Latitude(r.place.latitude));
    Text(area, 420, 50, Readout_Azimuth(r.place.azimuth));

    // tides of Tokyo Bay
    Koyomi_DrawTideRows(area, r.tide);

    // the graphic panels, each over the earlier ones
    Disp4(object);
    DispStar(object);
    DispMoon(object);
    DispClock(object);
}
