#include "timecal/clock.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "timecal/observer.h"

namespace {
enum class Mode { System, Fixed, Offset };
Mode g_mode = Mode::System;
int64_t g_value = 0;  // fixed instant, or offset from the system's civil time

int64_t SystemCivil()
{
    // the zone is a multiple of a quarter hour: whole seconds
    return static_cast<int64_t>(std::time(nullptr)) +
           static_cast<int64_t>(std::llround(Observer_ZoneHours() * 3600));
}

// days from 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm)
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}
}  // namespace

/*
**  Clock_CivilSeconds
**  The observer's civil time now.
**
**  Returned (function value):
**          int64_t   seconds from 1970-01-01 00:00 civil time: the system's
**                    UTC plus the observer's zone (Observer_ZoneHours); a
**                    fixed instant (Clock_Fix) or the system's time plus an
**                    offset (Clock_StartAt) when one is set
**
**  Notes:
**  1) The one clock source: nothing else reads the time of day.
*/
int64_t Clock_CivilSeconds()
{
    switch (g_mode) {
    case Mode::Fixed: return g_value;
    case Mode::Offset: return SystemCivil() + g_value;
    default: return SystemCivil();
    }
}

/*
**  Clock_Now
**  The observer's civil time now, broken down.
**
**  Returned (function value):
**          struct tm   fields of Clock_CivilSeconds() (tm_year from 1900,
**                      tm_mon 0..11, whole seconds); tm_isdst 0
*/
struct tm Clock_Now()
{
    time_t t = static_cast<time_t>(Clock_CivilSeconds());
    struct tm out;
    std::memset(&out, 0, sizeof out);
    gmtime_r(&t, &out);
    return out;
}

/*
**  Clock_Fix, Clock_StartAt, Clock_UseSystem
**  Set the clock source.
**
**  Given:
**     civil   int64_t   civil seconds from 1970-01-01 00:00 (Clock_Fix,
**                       Clock_StartAt)
**
**  Notes:
**  1) Clock_Fix freezes the clock at civil (tests, the snapshot);
**     Clock_StartAt lets it run on from civil with the system clock (the
**     offset is taken now); Clock_UseSystem follows the system clock again.
*/
void Clock_Fix(int64_t civil) { g_mode = Mode::Fixed; g_value = civil; }
void Clock_StartAt(int64_t civil) { g_mode = Mode::Offset; g_value = civil - SystemCivil(); }
void Clock_UseSystem() { g_mode = Mode::System; g_value = 0; }

/*
**  Clock_CivilFromFields
**  Civil seconds of a civil date and time.
**
**  Given:
**     year, month, day        int   proleptic Gregorian date, any year
**     hour, minute, second    int   time of day
**
**  Returned (function value):
**          int64_t   seconds from 1970-01-01 00:00 (negative before)
**
**  Reference:
**     The days from the civil date: H. Hinnant, "chrono-Compatible
**     Low-Level Date Algorithms" (days_from_civil).
*/
int64_t Clock_CivilFromFields(int year, int month, int day, int hour, int minute, int second)
{
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
           hour * 3600 + minute * 60 + second;
}

/*
**  Clock_Parse
**  Read a civil instant written "YYYY-MM-DD HH:MM:SS".
**
**  Given:
**     text    const char*   the text (null allowed)
**
**  Returned:
**     civil   int64_t*      civil seconds (Clock_CivilFromFields), written
**                           only on success
**     (function value) bool  false for anything but exactly that form with
**                            a real date of the years 1 to 9999 and a time
**                            00:00:00 to 23:59:59
*/
bool Clock_Parse(const char* text, int64_t* civil)
{
    if (!text) return false;
    // exactly "YYYY-MM-DD HH:MM:SS"
    if (std::strlen(text) != 19) return false;
    const char* pat = "dddd-dd-dd dd:dd:dd";
    for (int i = 0; i < 19; ++i) {
        if (pat[i] == 'd') {
            if (text[i] < '0' || text[i] > '9') return false;
        } else if (text[i] != pat[i]) {
            return false;
        }
    }
    auto num = [&](int at, int n) {
        int v = 0;
        for (int i = 0; i < n; ++i) v = v * 10 + (text[at + i] - '0');
        return v;
    };
    int Y = num(0, 4), M = num(5, 2), D = num(8, 2), h = num(11, 2), m = num(14, 2), s = num(17, 2);
    if (Y < 1 || M < 1 || M > 12 || D < 1 || h > 23 || m > 59 || s > 59) return false;
    static const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (Y % 4 == 0 && Y % 100 != 0) || Y % 400 == 0;
    int dim = mdays[M - 1] + (M == 2 && leap ? 1 : 0);
    if (D > dim) return false;
    *civil = Clock_CivilFromFields(Y, M, D, h, m, s);
    return true;
}
