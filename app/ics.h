// An iCalendar (RFC 5545) file of events: the writer only; what goes in is
// chosen by the almanac.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct IcsEvent {
    std::string uid;          // stable: the same event gets the same UID on every export
    double start;             // Julian day (UT)
    double end;               // Julian day (UT); equal to start for an instant
    std::string summary;      // UTF-8
    std::string description;  // UTF-8, may hold newlines
    std::string category;     // UTF-8 ("sun", "moon", ...), empty for none
};

// A whole calendar: VCALENDAR with one VEVENT per event, CRLF line ends,
// lines folded at 75 octets. dtstamp: the export's instant, seconds since
// 1970-01-01 00:00 UTC. name: the calendar's name for applications.
std::string Ics_Calendar(const std::vector<IcsEvent>& events, int64_t dtstamp, const std::string& name);

// ---- the pieces (tests)
// TEXT escaped: backslash, semicolon, comma, newline.
std::string Ics_Escape(const std::string& text);
// One content line folded to 75 octets a line (never inside a UTF-8
// character), each line ended by CRLF.
std::string Ics_Fold(const std::string& line);
// A Julian day (UT) as a UTC DATE-TIME "YYYYMMDDTHHMMSSZ" in the proleptic
// Gregorian calendar, to the nearest second.
std::string Ics_UtcTime(double jd);
// Seconds since 1970-01-01 00:00 UTC as the same form.
std::string Ics_UtcSeconds(int64_t seconds);
