// The broken-down time record: filled from the clock or from a Julian day,
// and the two small splitting routines of the time library.
#include "timecal/timerec.h"

#include <cmath>
#include <ctime>

#include "timecal/clock.h"
#include "timecal/julian.h"
#include "timecal/observer.h"

tagTime_Day Auto_Time;

namespace {
// Fill every field of t from the civil date and decimal hours that Calendar
// gave for jd, with the observer's place.
void Fill(tagTime_Day* t, double y, double mo, double d, double hr, double jd)
{
    t->year = y;
    t->month = mo;
    t->day = d;
    t->spare = 0.0;
    t->Hour = hr;
    HourToHMS(hr, &t->hour, &t->minute, &t->second);
    t->jd = jd;
    t->latitude = latitude0;
    t->longitude = longitude0;
}
}  // namespace

// Cal_Now_Time
//   Returned: t  all eleven fields for the present moment at the observer
//   Notes:    the clock is read through Clock_Now (the one clock source);
//             the date and time stored are those Calendar derives back from
//             the Julian day, in the zone of longitude0.
//   Called:   Clock_Now, JD, Calendar, HourToHMS
void Cal_Now_Time(tagTime_Day* t)
{
    struct tm now = Clock_Now();
    double Y = now.tm_year + 1900;
    double M = now.tm_mon + 1;
    double D = now.tm_mday;
    double H = now.tm_hour + now.tm_min * (1.0 / 60) + now.tm_sec * (1.0 / 3600);
    double J = JD(Y, M, D, H, 0, longitude0);
    double y, mo, d, hr;
    Calendar(J, &y, &mo, &d, &hr, 0, longitude0);
    Fill(t, y, mo, d, hr, J);
}

// Cal_Auto_Time
//   Given:    jd  Julian day (UT)
//   Returned: t   all eleven fields: the civil date and time of jd at the
//                 observer (local mean time for jd up to 2415000.0), jd itself
//                 and the observer's place
//   Called:   Calendar, HourToHMS
void Cal_Auto_Time(double jd, tagTime_Day* t)
{
    double y, mo, d, hr;
    Calendar(jd, &y, &mo, &d, &hr, 0, longitude0);
    Fill(t, y, mo, d, hr, jd);
}

// DateToYMD
//   Given:    date  a date written as the number yyyymmdd (negative years
//                   as -yyyymmdd)
//   Returned: year (signed), month, day (not rounded)
void DateToYMD(double date, double* year, double* month, double* day)
{
    bool negative = date < 0;
    if (negative) date = -date;
    double x = date / 10000;
    *year = std::floor(x);
    *month = std::floor((x - *year) * 100);
    *day = x * 10000 - *year * 10000 - *month * 100;
    if (negative) *year = -*year;
}

// HourToHMS
//   Given:    hours  decimal hours
//   Returned: hour, minute (whole), second (with fraction, not rounded)
//   Notes:    no sign handling: negative hours give a negative hour and
//             positive minutes.
void HourToHMS(double hours, double* hour, double* minute, double* second)
{
    *hour = std::floor(hours);
    *minute = std::floor((hours - *hour) * 60);
    *second = hours * 3600 - *hour * 3600 - *minute * 60;
}
