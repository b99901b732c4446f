// Steps of the shown time, and the offset of the shown time from now.
#include "app/time_travel.h"

#include <cstdio>

#include "app/i18n.h"
#include "timecal/clock.h"

namespace {

constexpr int64_t kHour = 3600;
constexpr int64_t kDay = 86400;
// The mean synodic month, 29.53 days, in whole seconds (29.53 x 86400).
constexpr int64_t kLunarMonth = 2551392;

}  // namespace

int64_t Travel_Seconds(TravelStep step)
{
    switch (step) {
    case TravelStep::Hour: return kHour;
    case TravelStep::Day: return kDay;
    default: return kLunarMonth;
    }
}

/*
**  Travel_Step
**  The shown time moved by a number of steps.
**
**  Notes:
**  1) A step forward stops at 9999-12-31 00:00:00 (or where the shown
**     time already is, past it), a step back at 0001-01-01 00:00:00.
**  2) The clock's count runs on through the calendar reform (1582-10-04
**     23:59:59 is followed by 1582-10-15 00:00:00), so steps of the count
**     go over the dropped days by themselves; the note only says so.
*/
int64_t Travel_Step(int64_t from, TravelStep step, int count, std::string* note)
{
    note->clear();
    const int64_t first = Clock_CivilFromFields(1, 1, 1, 0, 0, 0);
    // the last day's start: the clock runs on from the instant shown, and
    // from there it has a day before the calendar's end
    const int64_t last = Clock_CivilFromFields(9999, 12, 31, 0, 0, 0);
    int64_t to = from + Travel_Seconds(step) * count;
    if (to < first) {
        *note = _("the calendar begins at 0001-01-01");
        return first;
    }
    if (to > last) {
        *note = _("the calendar ends at 9999-12-31");
        return from > last ? from : last;
    }
    const int64_t reform = Clock_CivilFromFields(1582, 10, 15, 0, 0, 0);
    if ((from < reform) != (to < reform))
        *note = _("1582-10-05 to 10-14 were dropped by the calendar reform: the Julian calendar's "
                  "October 4 was followed by the Gregorian October 15");
    return to;
}

/*
**  Travel_OffsetText
**  The shown time's offset from now in days, hours and minutes.
*/
std::string Travel_OffsetText(int64_t shown, int64_t now)
{
    const int64_t d = shown - now;
    const bool ahead = d >= 0;
    const int64_t a = (ahead ? d : -d) / 60;  // whole minutes
    const long long days = a / 1440, hours = a / 60 % 24, minutes = a % 60;
    std::string span;
    // TRANSLATORS: days, hours and minutes of the time shown from now
    if (days) span += Message(_("%lld d "), days);
    if (hours || days) span += Message(_("%lld h "), hours);
    span += Message(_("%lld min"), minutes);
    return Message(ahead ? _("%s ahead of now") : _("%s behind now"), span.c_str());
}
