// The local civil date under a named zone's rule: where the offset changes
// on the date (daylight saving), the date is 23 or 25 hours of UT long, and
// the day's rise, set and culmination searches cover exactly that span.
#pragma once

#include "events/riseset.h"

// The civil date of the observer as a span of UT.
struct CivilDay {
    double start;  // Julian day (UT) of the local 00:00
    double hours;  // hours of UT to the next local 00:00: 24, or 23 / 25 on a change
};

// The span of the local date (y, m, d) under the zone's rule, at the
// longitude lon (local mean time before 1900, 24 hours).
CivilDay CivilDay_Of(double y, double m, double d, double lon);
// Whether the date needs the span search: a zone's rule is set and the
// offsets at its start and end differ from the fixed zone of the searches.
bool CivilDay_Changes(const CivilDay& day, double zone);

// One event of one body in the span (the span searches of events/riseset);
// the local clock time in the offset in force at the event (hours), or
// kNoEvent when there is none (*found, when given, says which: an event at
// 23:00 is found).
double CivilDay_Event(const CivilDay& day, int body, EventKind kind, bool* found = nullptr);
