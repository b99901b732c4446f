// A local time as ISO 8601 with its offset.
#include "app/local_iso.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr long kSecondsPerDay = 86400;
}  // namespace

/*
**  Almanac_LocalIso
**  A local time as ISO 8601 with its offset.
**
**  Given:
**     year, month, day   int      the civil date
**     hours              double   time of day, decimal hours
**     offset             long     the civil time's offset, seconds east of UTC
**
**  Returned (function value):
**          std::string   "YYYY-MM-DDTHH:MM:SS+hh:mm", the seconds truncated
**                        (as the picture truncates the minutes) and kept
**                        within the day; "+hh:mm:ss" when the offset is no
**                        whole minute (local mean time before 1900)
*/
std::string Almanac_LocalIso(int year, int month, int day, double hours, long offset)
{
    long s = static_cast<long>(std::floor(hours * 3600));
    s = std::clamp(s, 0L, kSecondsPerDay - 1);
    const char sign = offset < 0 ? '-' : '+';
    const long o = std::labs(offset);
    char zone[64];
    if (o % 60 == 0)
        std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", sign, o / 3600, o / 60 % 60);
    else
        std::snprintf(zone, sizeof zone, "%c%02ld:%02ld:%02ld", sign, o / 3600, o / 60 % 60, o % 60);
    char buf[160];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02ld:%02ld:%02ld%s", year, month, day, s / 3600,
                  s / 60 % 60, s % 60, zone);
    return buf;
}
