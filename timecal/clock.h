// The one clock source. Everything that reads the time of day reads it here;
// tests and the snapshot mode set it. Times are the observer's civil time:
// UTC now plus the observer's zone (Observer_ZoneHours: the zone set, or
// the zone of the longitude, 139.7 E gives +9 h; a named zone's rule gives
// the offset in force at the instant),
// counted in seconds from 1970-01-01 00:00 civil time.
//
// The count runs through the calendar that JD and Calendar compute in: the
// Julian calendar up to 1582-10-04, the Gregorian from the next day,
// 1582-10-15. The count's breakdown (Clock_Now), the fields' count
// (Clock_CivilFromFields) and the parser (Clock_Parse) all use it, so a date
// of the clock is the date JD reads: 1500-02-29 exists, 1700-02-29 does not,
// and 1582-10-04 23:59:59 is followed by 1582-10-15 00:00:00.
#pragma once
#include <cstdint>
#include <ctime>

// Broken-down civil time of the observer, now (tm_year, tm_mon, tm_mday,
// tm_hour, tm_min, tm_sec, tm_wday and tm_yday; no daylight saving time).
struct tm Clock_Now();
// Civil seconds now; never past 9999-12-31 23:59:59, where the clock stops.
int64_t Clock_CivilSeconds();
// Civil seconds of the system's clock now, whatever the clock is set to
// (the window's offset of a chosen instant from now).
int64_t Clock_SystemCivilSeconds();
// Whether the clock has stopped at 9999-12-31 23:59:59.
bool Clock_Stopped();

// Freeze the clock at a civil instant (tests, snapshot).
void Clock_Fix(int64_t civil_seconds);
// Start the clock at a civil instant and let it run on with the system clock.
void Clock_StartAt(int64_t civil_seconds);
// Follow the system clock again.
void Clock_UseSystem();
// Move a fixed clock on by seconds of time (across a named zone's change
// the reading jumps by the change).
void Clock_Step(int64_t seconds);
// The offset (seconds east of UTC) a civil count is read in: the clock's
// own when it is the clock's reading now (the second of a repeated hour
// too), else Observer_CivilOffset.
long Clock_ReadingOffset(int64_t civil);

// Civil seconds of a civil date and time: Julian dates before 1582-10-15,
// Gregorian from it. (The ten dates 1582-10-05 to 1582-10-14, which neither
// calendar of the program has, count on from 1582-10-04 as Julian dates;
// Clock_Parse refuses them.)
int64_t Clock_CivilFromFields(int year, int month, int day, int hour, int minute, int second);
// Broken-down civil time of a count of civil seconds (the inverse of
// Clock_CivilFromFields for every date the calendar has).
struct tm Clock_Fields(int64_t civil_seconds);

// Why Clock_Parse refused a text.
enum class ClockParseError {
    Ok,
    Form,        // not "YYYY-MM-DD HH:MM:SS", or a time outside 00:00:00 to 23:59:59
    Date,        // no such date (a month or day out of range, or 02-29 of a common year)
    DroppedDay,  // 1582-10-05 to 1582-10-14: skipped by the switch to the Gregorian calendar
};
// Parse "YYYY-MM-DD HH:MM:SS" strictly (years 0001 to 9999, dates of the
// calendar above, 00:00:00 to 23:59:59). Returns false on anything else,
// with the reason in *why when why is given.
bool Clock_Parse(const char* text, int64_t* civil_seconds, ClockParseError* why = nullptr);
