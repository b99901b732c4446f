// The main panel: one whole repaint, and the clock read-outs.
#include "app/core/koyomi.h"

#include <cmath>
#include <cstdio>

#include "app/core/settings.h"
#include "app/toolkit/ws.h"
#include "panels/panels.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

/*
**  Koyomi_DateTime
**  The date line's date and time of day of a Julian day.
**
**  Given:
**     jd          double    Julian day (UT)
**     longitude   double    east longitude, degrees; fixes the zone
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
**  Called:  Calendar
*/
void Koyomi_DateTime(double jd, double longitude, double* year, double* month, double* day,
                     double* hour, double* minute, double* second)
{
    double hr;
    Calendar(jd + 0.5 / 86400, year, month, day, &hr, 1, longitude);
    *hour = std::floor(hr);
    *minute = std::floor((hr - *hour) * 60);
    *second = hr * 3600 - *hour * 3600 - *minute * 60;
}

/*
**  Koyomi_Reset
**  The shared state of a repaint, reset from the settings.
**
**  Given:
**     now   struct tm   the clock reading (Clock_Now)
**
**  Notes:
**  1) The chart geometry, the projection and the chart centre
**     (DisplaySettings_StartRepaint); latitude, latitude0 from m_input_lat
**     and longitude, longitude0 from m_input_lon; the Julian day of the
**     reading (JD at m_input_lon) into jd, jd0, jdstart and jd_auto.
**  2) The command-line almanac resets the same way.
**
**  Called:  DisplaySettings_StartRepaint, JD
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

    // Julian day of the present moment
    double J = JD(year, month, day, H, 0, m_input_lon);
    jd = jd0 = jdstart = J;
    jd_auto = jd0;
}

/*
**  Koyomi_Pla
**  One whole repaint of the dashboard.
**
**  Given:
**     object   WSCbase*   the drawing area
**
**  Notes:
**  1) Reads the clock once, resets the shared state (Koyomi_Reset), fills
**     the background "#64ffff" 530 x 300, writes the date line with the
**     Julian day, the compass labels, the sun and moon event rows, the
**     local time, the place and the viewing azimuth, and the tide rows;
**     then the panels Disp4, DispStar, DispMoon and DispClock, each over
**     the earlier ones.
**  2) Keeps nothing between repaints; Hour, minute and second hold the
**     clock reading afterwards.
**
**  Called:  Clock_Now, Koyomi_Reset, Koyomi_DateTime, Koyomi_EventRows,
**           Koyomi_TideRows, Disp4, DispStar, DispMoon, DispClock
*/
void Koyomi_Pla(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));
    char buf[128];

    // the clock, read once
    struct tm now = Clock_Now();

    // the shared state from the settings and the Julian day of the reading
    Koyomi_Reset(now);

    // background
    area->setForeColor("#64ffff");
    area->drawFillRect(0, 0, 530, 300);

    // date line
    double y, mo, d;
    Koyomi_DateTime(jd0, longitude, &y, &mo, &d, &Hour, &minute, &second);
    area->setForeColor("#000000");
    std::snprintf(buf, sizeof buf, "        日時  %04d/%02d/%02d %02d:%02d:%02d   ユリウス通日 %12.5f",
                  (int)y, (int)mo, (int)d, (int)Hour, (int)minute, (int)second, jd);
    area->drawString(20, 0, 600, 15, 1, 0, buf, -2);

    // compass labels
    area->setForeColor("#ff0000");
    area->drawString(50, 230, 300, 30, 1, 0, "東", -2);
    area->drawString(250, 230, 300, 30, 1, 0, "南", -2);
    area->drawString(435, 230, 300, 30, 1, 0, "西", -2);
    area->setForeColor("#000000");

    // sunrise, sunset, moonrise, moonset
    Koyomi_EventRows(area);

    // local time, from the clock reading above
    Hour = now.tm_hour;
    minute = now.tm_min;
    second = now.tm_sec;
    std::snprintf(buf, sizeof buf, "時刻 %02.0f:%02.0f:%02.0f", Hour, minute, second);
    area->drawString(420, 5, 300, 30, 1, 0, buf, -2);

    // the place and the view
    std::snprintf(buf, sizeof buf, "東経 %3.1f", m_input_lon);
    area->drawString(420, 20, 300, 30, 1, 0, buf, -2);
    std::snprintf(buf, sizeof buf, "北緯 %3.1f", m_input_lat);
    area->drawString(420, 35, 300, 30, 1, 0, buf, -2);
    std::snprintf(buf, sizeof buf, "方位角 %3.0f", m_input_azmt);
    area->drawString(420, 50, 300, 30, 1, 0, buf, -2);

    // tides of Tokyo Bay
    Koyomi_TideRows(area);

    // the graphic panels, each over the earlier ones
    Disp4(object);
    DispStar(object);
    DispMoon(object);
    DispClock(object);
}
