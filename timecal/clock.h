// The one clock source. Everything that reads the time of day reads it here;
// tests and the snapshot mode set it. Times are the observer's civil time:
// UTC now plus the observer's zone (Observer_ZoneHours: the zone set, or
// the zone of the longitude, 139.7 E gives +9 h),
// counted in seconds from 1970-01-01 00:00 civil time.
#pragma once
#include <cstdint>
#include <ctime>

// Broken-down civil time of the observer, now.
struct tm Clock_Now();
// Civil seconds now.
int64_t Clock_CivilSeconds();

// Freeze the clock at a civil instant (tests, snapshot).
void Clock_Fix(int64_t civil_seconds);
// Start the clock at a civil instant and let it run on with the system clock.
void Clock_StartAt(int64_t civil_seconds);
// Follow the system clock again.
void Clock_UseSystem();

// Civil seconds of a civil date and time (proleptic Gregorian, any year).
int64_t Clock_CivilFromFields(int year, int month, int day, int hour, int minute, int second);
// Parse "YYYY-MM-DD HH:MM:SS" strictly (real dates only, 00:00:00 to 23:59:59,
// years 1 to 9999). Returns false on anything else.
bool Clock_Parse(const char* text, int64_t* civil_seconds);
