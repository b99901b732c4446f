#include "timecal/clock.h"

#include <cmath>
#include <cstring>

#include "timecal/observer.h"

namespace {
enum class Mode { System, Fixed, Offset };
Mode g_mode = Mode::System;
int64_t g_value = 0;  // fixed instant, or offset from the system's civil time
bool g_stopped = false;  // the clock has reached 9999-12-31 23:59:59

constexpr int64_t kSecondsPerDay = 86400;

// With a named zone's rule: the offset of the last reading (g_offset) and,
// for a fixed clock, whether g_offset belongs to g_value (a clock stepped
// through a change keeps the offset the step gave); a running clock from
// an instant counts in UT (g_utc_delta from the system's UTC).
long g_offset = 0;
bool g_offset_known = false;
int64_t g_utc_delta = 0;

int64_t SystemUtc() { return static_cast<int64_t>(std::time(nullptr)); }

int64_t SystemCivil()
{
    // the zone is a multiple of a quarter hour: whole seconds
    return SystemUtc() + static_cast<int64_t>(std::llround(Observer_ZoneHours() * 3600));
}

// The civil reading of a UT instant under the rule; its offset into g_offset.
int64_t RuleCivil(int64_t utc)
{
    g_offset = m_input_zone_rule(utc);
    return utc + g_offset;
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Both calendars counted in years that begin on 1 March, so that the leap
// day is the last day of a year (Howard Hinnant's day algorithms); day 0 is
// 1970-01-01 (Gregorian).
//
// Days from 1970-01-01 of a Gregorian date: 400-year eras of 146097 days.
int64_t DaysFromGregorian(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;                          // [0, 399]
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;  // [0, 365]
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // [0, 146096]
    return era * 146097 + doe - 719468;
}

// Days from 1970-01-01 of a Julian date: 4-year cycles of 1461 days. Julian
// 0000-03-01 is Gregorian 0000-02-28, two days before the Gregorian origin.
int64_t DaysFromJulian(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t cycle = FloorDiv(y, 4);
    const int64_t yoc = y - cycle * 4;                          // [0, 3]
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    return cycle * 1461 + yoc * 365 + doy - 719470;
}

// Month and day of a day of a March-based year (0 = 1 March).
void MonthDay(int64_t doy, int* m, int* d)
{
    const int64_t mp = (5 * doy + 2) / 153;  // [0, 11], 0 = March
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
}

void GregorianFromDays(int64_t z, int64_t* y, int* m, int* d)
{
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;                                     // [0, 146096]
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    MonthDay(doe - (365 * yoe + yoe / 4 - yoe / 100), m, d);
    *y = yoe + era * 400 + (*m <= 2);
}

void JulianFromDays(int64_t z, int64_t* y, int* m, int* d)
{
    z += 719470;
    const int64_t cycle = FloorDiv(z, 1461);
    const int64_t doc = z - cycle * 1461;            // [0, 1460]
    const int64_t yoc = (doc - doc / 1460) / 365;    // [0, 3]; the leap day ends year 3
    MonthDay(doc - 365 * yoc, m, d);
    *y = yoc + cycle * 4 + (*m <= 2);
}

// 1582-10-15, the first Gregorian day (JD 2299161), counted from 1970-01-01.
const int64_t kFirstGregorianDay = DaysFromGregorian(1582, 10, 15);

// Whether a date comes before the first Gregorian day, 1582-10-15.
bool BeforeGregorian(int64_t y, int m, int d)
{
    return y < 1582 || (y == 1582 && (m < 10 || (m == 10 && d < 15)));
}

int64_t DaysFromCivil(int64_t y, int m, int d)
{
    return BeforeGregorian(y, m, d) ? DaysFromJulian(y, m, d) : DaysFromGregorian(y, m, d);
}

bool Leap(int y, bool julian) { return y % 4 == 0 && (julian || y % 100 != 0 || y % 400 == 0); }
}  // namespace

// Clock_SystemCivilSeconds: the system's civil time, never fixed nor offset.
int64_t Clock_SystemCivilSeconds() { return SystemCivil(); }

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
**  2) It stops at 9999-12-31 23:59:59, the last second of the calendar
**     (Clock_Stopped then tells it).
*/
int64_t Clock_CivilSeconds()
{
    int64_t now;
    if (m_input_zone_rule) {
        switch (g_mode) {
        case Mode::Fixed:
            if (!g_offset_known) g_offset = Observer_CivilOffset(g_value);
            now = g_value;
            break;
        case Mode::Offset: now = RuleCivil(SystemUtc() + g_utc_delta); break;
        default: now = RuleCivil(SystemUtc());
        }
    } else {
    switch (g_mode) {
    case Mode::Fixed: now = g_value; break;
    case Mode::Offset: now = SystemCivil() + g_value; break;
    default: now = SystemCivil();
    }
    }
    // the calendar ends with 9999: the clock stops at its last second
    static const int64_t last = Clock_CivilFromFields(9999, 12, 31, 23, 59, 59);
    if (now <= last) return now;
    g_stopped = true;
    return last;
}

/*
**  Clock_Stopped
**  Whether the clock has reached the end of its calendar, 9999-12-31
**  23:59:59, and stopped there (Clock_CivilSeconds gives no later second).
*/
bool Clock_Stopped() { return g_stopped; }

/*
**  Clock_Fields
**  A count of civil seconds, broken down.
**
**  Given:
**     civil   int64_t   civil seconds from 1970-01-01 00:00
**
**  Returned (function value):
**          struct tm   tm_year from 1900, tm_mon 0..11, tm_mday, whole
**                      seconds, tm_wday, tm_yday; tm_isdst 0
**
**  Notes:
**  1) The date is Julian before 1582-10-15 and Gregorian from it, the
**     calendar JD and Calendar compute in.
*/
struct tm Clock_Fields(int64_t civil)
{
    const int64_t days = FloorDiv(civil, kSecondsPerDay);
    const int64_t secs = civil - days * kSecondsPerDay;
    int64_t y;
    int m, d;
    if (days >= kFirstGregorianDay) GregorianFromDays(days, &y, &m, &d);
    else JulianFromDays(days, &y, &m, &d);
    struct tm out;
    std::memset(&out, 0, sizeof out);
    out.tm_year = static_cast<int>(y - 1900);
    out.tm_mon = m - 1;
    out.tm_mday = d;
    out.tm_hour = static_cast<int>(secs / 3600);
    out.tm_min = static_cast<int>(secs / 60 % 60);
    out.tm_sec = static_cast<int>(secs % 60);
    out.tm_wday = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
    out.tm_yday = static_cast<int>(days - DaysFromCivil(y, 1, 1));
    return out;
}

/*
**  Clock_Now
**  The observer's civil time now, broken down: Clock_Fields of
**  Clock_CivilSeconds().
*/
struct tm Clock_Now() { return Clock_Fields(Clock_CivilSeconds()); }

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
void Clock_Fix(int64_t civil) { g_mode = Mode::Fixed; g_value = civil; g_offset_known = false; }
void Clock_StartAt(int64_t civil)
{
    g_mode = Mode::Offset;
    g_value = civil - SystemCivil();
    g_utc_delta = civil - Observer_CivilOffset(civil) - SystemUtc();
}
void Clock_UseSystem() { g_mode = Mode::System; g_value = 0; g_stopped = false; }

/*
**  Clock_Step
**  A fixed clock moved on by a number of seconds of time.
**
**  Given:
**     seconds   int64_t   seconds to add (tests of the running window)
**
**  Notes:
**  1) Without a zone's rule the civil count moves by seconds. With one the
**     instant does: across a change of offset the reading jumps by the
**     change (01:59:59 to 03:00:00 in spring, 01:59:59 to 01:00:00 in
**     autumn), and the offset of the reading goes with it.
*/
void Clock_Step(int64_t seconds)
{
    const int64_t civil = Clock_CivilSeconds();
    if (!m_input_zone_rule) {
        Clock_Fix(civil + seconds);
        return;
    }
    const int64_t utc = civil - g_offset + seconds;
    Clock_Fix(RuleCivil(utc));
    g_offset_known = true;
}

/*
**  Clock_ReadingOffset
**  The offset of the clock's last reading.
**
**  Given:
**     civil   int64_t   a civil count
**
**  Returned (function value):
**          long     seconds east of UTC: with a zone's rule, the offset
**                   the clock read civil with when it is its last
**                   reading, else Observer_CivilOffset(civil); without a
**                   rule the fixed zone
*/
long Clock_ReadingOffset(int64_t civil)
{
    if (!m_input_zone_rule) return Observer_CivilOffset(civil);
    const int64_t last = Clock_CivilSeconds();
    return last == civil ? g_offset : Observer_CivilOffset(civil);
}

/*
**  Clock_CivilFromFields
**  Civil seconds of a civil date and time.
**
**  Given:
**     year, month, day        int   date: Julian before 1582-10-15,
**                                   Gregorian from it
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
    return DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

/*
**  Clock_Parse
**  Read a civil instant written "YYYY-MM-DD HH:MM:SS".
**
**  Given:
**     text    const char*   the text (null allowed)
**
**  Returned:
**     civil   int64_t*          civil seconds (Clock_CivilFromFields),
**                               written only on success
**     why     ClockParseError*  why the text was refused (null allowed)
**     (function value) bool  false for anything but exactly that form with
**                            a date of the calendar of Clock_Fields in the
**                            years 1 to 9999 and a time 00:00:00 to 23:59:59
**
**  Notes:
**  1) 1582-10-05 to 1582-10-14 are refused as DroppedDay: the switch from
**     the Julian to the Gregorian calendar skipped them.
*/
bool Clock_Parse(const char* text, int64_t* civil, ClockParseError* why)
{
    ClockParseError ignored;
    ClockParseError& reason = why ? *why : ignored;
    reason = ClockParseError::Form;
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
    if (h > 23 || m > 59 || s > 59) return false;
    reason = ClockParseError::Date;
    if (Y < 1 || M < 1 || M > 12 || D < 1) return false;
    static const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool julian = BeforeGregorian(Y, M, D);
    const int dim = mdays[M - 1] + (M == 2 && Leap(Y, julian) ? 1 : 0);
    if (D > dim) return false;
    reason = ClockParseError::DroppedDay;
    if (Y == 1582 && M == 10 && D >= 5 && D <= 14) return false;
    reason = ClockParseError::Ok;
    *civil = Clock_CivilFromFields(Y, M, D, h, m, s);
    return true;
}
