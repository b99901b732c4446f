// The almanac for the command line, from the read-outs record: the present
// instant of the clock source as text (the picture's read-outs, one per
// line, UTF-8) or one JSON object; or a run of days from it as a table, one
// line a day, or a JSON array of the one-day objects.
#pragma once
#include <string>

#include "app/local_iso.h"

std::string Almanac_Text();
std::string Almanac_Json();

// The most days one run prints.
constexpr int kAlmanacDaysMax = 3660;
// days >= 1: the present instant and the same time of day on the days that
// follow (civil dates of the observer).
std::string Almanac_DaysText(int days);
std::string Almanac_DaysJson(int days);

// Almanac_LocalIso: app/local_iso.h.
