#pragma once
#include <functional>

// Body codes of the searches: the Sun, the Moon; any other code is a planet
// code of Planet_Position.
constexpr int kBodySun = 0;
constexpr int kBodyMoon = 3;
// The result of Cal_Rise_Time, Cal_Set_Time and Cal_Top_Time without an event.
constexpr double kNoEvent = 23.0;

double Cal_Rise_Time(double jd, int body);
double Cal_Set_Time(double jd, int body);
double Cal_Top_Time(double jd, int body);

// The same with "found" beside the time (23.0 is then a time like any
// other): the date's search where it finds the event (bit for bit), else
// the general search below over the local date 0 h to 24 h (events in its
// first and last seconds; the upper culmination north of the zenith).
double Cal_Rise_Found(double jd, int body, bool* found);
double Cal_Set_Found(double jd, int body, bool* found);
double Cal_Top_Found(double jd, int body, bool* found);

// ---- the general searches: any altitude, any span of UT, found or not
// Altitudes of the body's centre, degrees (geometric, no refraction).
constexpr double kAltitudeHorizon = -0.85;      // rise and set, every body
constexpr double kAltitudeCivil = -6.0;         // the Sun: civil twilight
constexpr double kAltitudeNautical = -12.0;     // nautical twilight
constexpr double kAltitudeAstronomical = -18.0; // astronomical twilight
// An event: its Julian day (UT), and whether the span has one (jd 0.0 if not).
struct EventTime {
    double jd;
    bool found;
};
// The first rise or set (the centre passing altitude upward or downward) or
// upper culmination (hour angle 0, south or north of the zenith) of a body
// at latitude lat, east longitude lon (degrees) in the span from jd_start
// (UT) of the given length in hours (24, or 23 or 25 on a change of
// daylight saving). Found to a second, also in the span's first and last
// seconds. Read no observer globals; Sun, Moon, Planet left as they were.
EventTime Event_Rise(int body, double altitude, double lat, double lon, double jd_start,
                     double hours);
EventTime Event_Set(int body, double altitude, double lat, double lon, double jd_start,
                    double hours);
EventTime Event_Culmination(int body, double lat, double lon, double jd_start, double hours);
// The body's altitude (centre, degrees) at jd (polar day or night of the Sun).
double Event_Altitude(int body, double jd, double lat, double lon);

// ---- the hour scan and narrowing shared by the three routines
// The three events differ only in the sampled quantity, the direction of
// the crossing and how far the farther end of a bracket moves.
enum class EventKind {
    Rise,         // altitude passes -0.85 upward; ends move by a third
    Set,          // altitude passes -0.85 downward; ends move to the midpoint
    Culmination,  // azimuth passes 0 upward; ends move to the midpoint
};
// Work done by the last search: samples taken, narrowing steps over all
// bracketed hours, and the most steps spent on one narrowing.
struct EventSearchCount {
    int samples;
    int steps;
    int max_steps;
};
// Scan local hours 0..24 of one date with sample(t) (t in local hours) and
// narrow the first converging bracket (bisecting again an hour whose
// narrowing loses the crossing); returns the local time or, without
// an event, t0 as the last hour left it (23.0 unless the 23-24 bracket was
// narrowed); found (if given) tells which. Any sample function can be
// given (tests).
double Event_Search(EventKind kind, const std::function<double(double)>& sample,
                    EventSearchCount* count = nullptr, bool* found = nullptr);
// The scan of Event_Search over a span of any length in hours to any
// target; with to_time the general searches' half-open brackets bisected to
// one second (the result the middle of that second). Hours into the span.
double Event_Scan(EventKind kind, double target, double hours, bool to_time,
                  const std::function<double(double)>& sample, EventSearchCount* count,
                  bool* found);
// Counts of the last Cal_Rise_Time, Cal_Set_Time or Cal_Top_Time call.
EventSearchCount Event_LastCount();
