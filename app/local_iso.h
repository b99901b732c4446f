// A local time as ISO 8601 with its offset: the almanac's JSON and the
// planner's fields.
#pragma once
#include <string>

// The local time of an event or instant as ISO 8601 with the offset of the
// civil time in force ("2026-12-22T06:46:54+09:00"): date, decimal hours
// (truncated to the second) and the offset in seconds east of UTC (seconds
// shown only when not whole minutes).
std::string Almanac_LocalIso(int year, int month, int day, double hours, long offset_seconds);
