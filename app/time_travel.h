// Stepping the shown time of the window: by an hour, a day or a lunar
// month, within the calendar the clock counts in (years 1 to 9999, the
// Julian calendar up to 1582-10-04 and the Gregorian from 1582-10-15).
#pragma once
#include <cstdint>
#include <string>

enum class TravelStep { Hour, Day, LunarMonth };

// Seconds of one step (a lunar month: the mean synodic month, 29.53 days).
int64_t Travel_Seconds(TravelStep step);

// Travel_Step
//   Given:    from   civil seconds shown now (Clock_CivilSeconds)
//             step, count   the step and how many (negative: back)
//   Returned: the civil seconds to show. A step that would leave
//             0001-01-01 00:00:00 .. 9999-12-31 00:00:00 stops at the
//             bound (the clock then runs on into the last day), with a
//             message in *note; a step across the ten days
//             the calendar reform dropped goes over them (1582-10-04 plus a
//             day is 1582-10-15), with a note saying so; otherwise *note is
//             empty.
int64_t Travel_Step(int64_t from, TravelStep step, int count, std::string* note);

// The offset of the shown time from now, to the minute, in the messages'
// language: "1 h 0 min ahead of now", "29 d 12 h 44 min behind now".
std::string Travel_OffsetText(int64_t shown, int64_t now);
