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

/*
**  Cal_Now_Time
**  The time record of the present moment at the observer.
**
**  Returned:
**     t    tagTime_Day*   all eleven fields: year, month, day, spare 0.0,
**                         hour, Hour, minute, second, jd (UT), latitude and
**                         longitude (copies of latitude0, longitude0)
**
**  Notes:
**  1) The clock is read through Clock_Now (the one clock source) and
**     turned into a Julian day by JD_Zone at longitude0 in the zone of
**     Observer_Zone0; the date and time stored are those Calendar_Zone
**     derives back from that Julian day, in the same zone.
**
**  Called:  Clock_Now, JD_Zone, Calendar_Zone, Observer_Zone0, HourToHMS
*/
void Cal_Now_Time(tagTime_Day* t)
{
    struct tm now = Clock_Now();
    double Y = now.tm_year + 1900;
    double M = now.tm_mon + 1;
    double D = now.tm_mday;
    double H = now.tm_hour + now.tm_min * (1.0 / 60) + now.tm_sec * (1.0 / 3600);
    double J = JD_Zone(Y, M, D, H, longitude0, Observer_Zone0());
    double y, mo, d, hr;
    Calendar_Zone(J, &y, &mo, &d, &hr, longitude0, Observer_Zone0());
    Fill(t, y, mo, d, hr, J);
}

/*
**  Cal_Auto_Time
**  The time record of a Julian day at the observer.
**
**  Given:
**     jd   double         Julian day (UT)
**
**  Returned:
**     t    tagTime_Day*   all eleven fields: the civil date and time of jd
**                         at longitude0 in the zone of Observer_Zone0 (local
**                         mean time for jd up to 2415000.0), jd itself, and
**                         latitude0, longitude0
**
**  Notes:
**  1) The rise, set and culmination searches fill Auto_Time with it.
**
**  Called:  Calendar_Zone, Observer_Zone0, HourToHMS
*/
void Cal_Auto_Time(double jd, tagTime_Day* t)
{
    double y, mo, d, hr;
    Calendar_Zone(jd, &y, &mo, &d, &hr, longitude0, Observer_Zone0());
    Fill(t, y, mo, d, hr, jd);
}

/*
**  DateToYMD
**  A date written as one number split into year, month and day.
**
**  Given:
**     date    double    yyyymmdd (a negative year as -yyyymmdd)
**
**  Returned:
**     year    double*   year, with the sign of date
**     month   double*   month
**     day     double*   day, not rounded (it may carry a binary fraction)
*/
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

/*
**  HourToHMS
**  Decimal hours split into hours, minutes and seconds.
**
**  Given:
**     hours    double    decimal hours
**
**  Returned:
**     hour     double*   floor(hours)
**     minute   double*   floor((hours - hour) * 60)
**     second   double*   hours * 3600 - hour * 3600 - minute * 60, with its
**                        fraction, not rounded (23.999999 h gives 59.9964 s)
**
**  Notes:
**  1) No sign handling: negative hours give a negative hour and positive
**     minutes.
*/
void HourToHMS(double hours, double* hour, double* minute, double* second)
{
    *hour = std::floor(hours);
    *minute = std::floor((hours - *hour) * 60);
    *second = hours * 3600 - *hour * 3600 - *minute * 60;
}
