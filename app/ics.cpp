// The iCalendar writer: content lines escaped, folded and ended as RFC 5545
// asks, times in UTC.
#include "app/ics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr size_t kFoldOctets = 75;       // longest line, CRLF not counted
constexpr double kJdUnixEpoch = 2440587.5;  // 1970-01-01 00:00 UT
constexpr int64_t kSecondsPerDay = 86400;

// The proleptic Gregorian date of a day count from 1970-01-01 (the
// civil-from-days algorithm of H. Hinnant, "chrono-compatible low-level date
// algorithms").
void CivilFromDays(int64_t z, int64_t* y, int* m, int* d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = yoe + era * 400 + (*m <= 2 ? 1 : 0);
}

// The length of the UTF-8 character that starts with byte c (1 for a byte
// that starts none).
size_t Utf8Length(unsigned char c)
{
    if (c >= 0xF0 && c < 0xF8) return 4;
    if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::string Ics_UtcSeconds(int64_t s)
{
    int64_t days = s / kSecondsPerDay;
    int64_t rest = s % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        days -= 1;
    }
    int64_t y;
    int m, d;
    CivilFromDays(days, &y, &m, &d);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04lld%02d%02dT%02d%02d%02dZ", static_cast<long long>(y), m, d,
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return buf;
}

std::string Ics_UtcTime(double jd)
{
    return Ics_UtcSeconds(std::llround((jd - kJdUnixEpoch) * kSecondsPerDay));
}

std::string Ics_Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case ';': out += "\\;"; break;
        case ',': out += "\\,"; break;
        case '\n': out += "\\n"; break;
        case '\r': break;
        default: out += c;
        }
    }
    return out;
}

/*
**  Ics_Fold
**  One content line folded as RFC 5545 asks.
**
**  Given:
**     line   std::string   the content line, UTF-8, without its end
**
**  Returned (function value):
**            std::string   lines of at most 75 octets each, CRLF ended;
**                          each continuation begins with one space (which
**                          counts in its 75)
**
**  Notes:
**  1) A line is cut only between UTF-8 characters, so a reader that
**     unfolds before decoding and one that decodes first both get the text
**     back.
**
**  Reference:
**     RFC 5545 (iCalendar), section 3.1, Content Lines.
*/
std::string Ics_Fold(const std::string& line)
{
    std::string out;
    size_t i = 0;
    size_t room = kFoldOctets;  // octets left on the current line
    while (i < line.size()) {
        const size_t n = Utf8Length(static_cast<unsigned char>(line[i]));
        if (n > room) {
            out += "\r\n ";
            room = kFoldOctets - 1;
        }
        out.append(line, i, n);
        i += n;
        room -= std::min(n, room);
    }
    return out + "\r\n";
}

/*
**  Ics_Calendar
**  An iCalendar object holding the events.
**
**  Given:
**     events    vector    the events (uid, start, end, summary,
**                         description, category)
**     dtstamp   int64_t   the export's instant, seconds since 1970 UTC
**     name      string    the calendar's name (X-WR-CALNAME, which GNOME
**                         Calendar and Thunderbird show)
**
**  Returned (function value):
**               string    VCALENDAR (VERSION 2.0, PRODID, CALSCALE
**                         GREGORIAN, METHOD PUBLISH) with one VEVENT per
**                         event: UID, DTSTAMP, DTSTART and, for a span,
**                         DTEND, in UTC; SUMMARY, DESCRIPTION, CATEGORIES;
**                         TRANSP TRANSPARENT (an almanac entry does not
**                         make its owner busy)
**
**  Notes:
**  1) An instant has DTSTART alone: RFC 5545 gives such an event no
**     duration.
**  2) Times are rounded to the second.
**
**  Reference:
**     RFC 5545, sections 3.4 (the object), 3.6.1 (VEVENT), 3.8 (properties).
**
**  Called:  Ics_Fold, Ics_Escape, Ics_UtcTime, Ics_UtcSeconds
*/
std::string Ics_Calendar(const std::vector<IcsEvent>& events, int64_t dtstamp, const std::string& name)
{
    const std::string stamp = Ics_UtcSeconds(dtstamp);
    std::string out;
    auto put = [&out](const std::string& line) { out += Ics_Fold(line); };
    put("BEGIN:VCALENDAR");
    put("VERSION:2.0");
    put("PRODID:-//tenmado//almanac//JA");
    put("CALSCALE:GREGORIAN");
    put("METHOD:PUBLISH");
    put("X-WR-CALNAME:" + Ics_Escape(name));
    for (const IcsEvent& e : events) {
        put("BEGIN:VEVENT");
        put("UID:" + e.uid);
        put("DTSTAMP:" + stamp);
        put("DTSTART:" + Ics_UtcTime(e.start));
        if (e.end > e.start) put("DTEND:" + Ics_UtcTime(e.end));
        put("SUMMARY:" + Ics_Escape(e.summary));
        if (!e.description.empty()) put("DESCRIPTION:" + Ics_Escape(e.description));
        if (!e.category.empty()) put("CATEGORIES:" + Ics_Escape(e.category));
        put("TRANSP:TRANSPARENT");
        put("END:VEVENT");
    }
    put("END:VCALENDAR");
    return out;
}
