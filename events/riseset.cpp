// Rise, set and culmination times by hourly scan and bracket narrowing.
#include "events/riseset.h"

#include <cmath>

#include "ephem/moon.h"
#include "ephem/planet.h"
#include "ephem/position.h"
#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "timecal/constants.h"
#include "timecal/julian.h"
#include "timecal/observer.h"
#include "timecal/timerec.h"

namespace {

constexpr double kHorizon = -0.85;    // altitude of rise and set, degrees (all bodies)
constexpr double kMeridian = 0.0;     // azimuth of the meridian south, degrees
constexpr double kTolerance = 0.1;    // on the sampled quantity, degrees
constexpr int kMaxSteps = 100;        // steps of one narrowing (and of one bisection)
constexpr int kHours = 24;            // brackets h..h+1 for h = 0..23
constexpr double kTimeTolerance = 1.0 / 3600;  // the general searches: a bracket of 1 s, hours

EventSearchCount last_count{};

/*
**  Body_Place
**  A body's position at an instant, into its shared record.
**
**  Given:
**     body       int      0 Sun, 3 Moon (topocentric), any other a planet code
**     jt         double   Julian day (UT)
**     lat, lon   double   observer, degrees (the Moon's parallax)
**
**  Returned (function value):
**                const tagPosition*   Sun, Moon or Planet, just computed
**
**  Notes:
**  1) The Moon's routine also rewrites Sun.
**
**  Called:  Sun_Position, Moon_Position, Planet_Position
*/
const tagPosition* Body_Place(int body, double jt, double lat, double lon)
{
    if (body == kBodySun) {
        Sun_Position(jt, &Sun);
        return &Sun;
    }
    if (body == kBodyMoon) {
        Moon_Position(jt, &Moon, 1, lat, lon);
        return &Moon;
    }
    Planet_Position(body, jt, &Planet);
    return &Planet;
}

/*
**  Body_Sample
**  Altitude or azimuth of a body at a local clock time of a fixed date.
**
**  Given:
**     kind     EventKind  Culmination samples the azimuth, the others the altitude
**     body     int        0 Sun, 3 Moon (topocentric), any other a planet code
**     y, m, d  double     local date (stays fixed for a whole search)
**     zone     double     civil zone of the date, hours east (Observer_Zone0)
**     t        double     local clock time, hours
**
**  Returned (function value):
**              double     degrees: altitude, or azimuth from the south, + west
**
**  Notes:
**  1) The trial instant is JD_Zone(y, m, d, t) at longitude0 and zone: zone
**     time from the adjusted year 1900 on, local mean time before.
**  2) The body's shared record (Sun, Moon or Planet) is overwritten; the
**     Moon's routine also rewrites Sun.
**
**  Called:  JD_Zone, Sun_Position, Moon_Position, Planet_Position, Az_El
*/
double Body_Sample(EventKind kind, int body, double y, double m, double d, double zone, double t)
{
    double jt = JD_Zone(y, m, d, t, longitude0, zone);
    const tagPosition* rec = Body_Place(body, jt, latitude0, longitude0);
    double az, el;
    Az_El(jt, rec->ra, rec->dec, latitude0, longitude0, &az, &el);
    return kind == EventKind::Culmination ? az : el;
}

/*
**  Body_Event
**  The search of one event of one body on the local date of jd.
**
**  Given:
**     jd     double     Julian day (UT) of any instant of the date
**     body   int        body code (see Body_Sample)
**     kind   EventKind  rise, set or culmination
**
**  Returned (function value):
**            double     local clock time, hours; 23.0 without an event
**
**  Notes:
**  1) Auto_Time receives the broken-down time of jd first.
**  2) The date is taken by Calendar_Zone at longitude0 in the zone of
**     Observer_Zone0 and stays fixed.
*/
double Body_Event(double jd, int body, EventKind kind, bool* found = nullptr)
{
    // Broken-down time of the given instant
    Cal_Auto_Time(jd, &Auto_Time);

    // Local date of the instant
    const double zone = Observer_Zone0();
    double y, m, d, hr;
    Calendar_Zone(jd, &y, &m, &d, &hr, longitude0, zone);

    last_count = EventSearchCount{};
    return Event_Search(
        kind, [=](double t) { return Body_Sample(kind, body, y, m, d, zone, t); }, &last_count,
        found);
}

/*
**  Bisect_Bracket
**  Bisection of an hour bracket on the side of the target.
**
**  Given:
**     target     double     -0.85 (altitude) or 0 (azimuth), degrees
**     upward     bool       the sample passes the target upward
**     sample     function   sampled quantity at a local time t (hours)
**     lo, hi     double     the hour bracket, local hours
**     ylo, yhi   double     its samples, on either side of the target
**                           (the strict bracket test passed)
**
**  Given and returned:
**     n          EventSearchCount*   samples and steps added; max_steps
**                                    raised to this narrowing's steps
**
**     to_time    bool       narrow to 1 s of time, not 0.1 of the quantity
**
**  Returned:
**     t          double*    the lower end (to_time: the midpoint) when found
**     (function value) bool true when found
**
**  Notes:
**  1) Each step samples the midpoint and keeps the half whose ends still
**     lie on either side of the target (a midpoint exactly on the target
**     becomes the upper end), so the crossing stays inside.
**  2) The tolerance and the cap are those of the narrowing: before each
**     of at most 100 steps, both ends strictly within 0.1 of the target
**     end the search with the lower end.
**  3) A jump across the target (the azimuth of a culmination north of the
**     zenith, from -180 to +180) keeps both ends far from it: not found.
**  4) With to_time (the general searches) the test is on time instead:
**     the bracket narrower than 1 s ends the search with its midpoint
**     (a crossing is always found; the caller's sample has no jumps).
*/
bool Bisect_Bracket(double target, bool upward, const std::function<double(double)>& sample,
                    double lo, double hi, double ylo, double yhi, EventSearchCount* n,
                    double* t, bool to_time = false)
{
    for (int step = 0; step < kMaxSteps; step++) {
        if (to_time && hi - lo < kTimeTolerance) {
            *t = (lo + hi) / 2;
            return true;
        }
        if (!to_time && std::fabs(ylo - target) < kTolerance &&
            std::fabs(yhi - target) < kTolerance) {
            *t = lo;
            return true;
        }
        double mid = (lo + hi) / 2;
        double ym = sample(mid);
        n->samples += 1;
        n->steps++;
        if (step + 1 > n->max_steps) n->max_steps = step + 1;
        // the half that keeps the target between its ends
        if (upward ? ym < target : ym > target) {
            lo = mid;
            ylo = ym;
        } else {
            hi = mid;
            yhi = ym;
        }
    }
    return false;
}

}  // namespace

/*
**  Event_Search
**  Hour scan and narrowing of one crossing over a local date.
**
**  Given:
**     kind    EventKind    Rise: sample passes -0.85 upward, ends move a third;
**                          Set: passes -0.85 downward, ends move to the midpoint;
**                          Culmination: passes 0 upward, ends move to the midpoint
**     sample  function     sampled quantity (degrees) at a local time t (hours)
**
**  Returned:
**     count   EventSearchCount*  work done (may be null)
**     found   bool*              an event was found (may be null)
**     (function value)   double  local time of the event, hours
**
**  Notes:
**  1) For h = 0..23 the bracket [h, h+1] is tested strictly on both sides;
**     a sample exactly on the target fails the test.
**  2) A bracket is narrowed for at most 100 steps. Before each step, if both
**     ends lie strictly within 0.1 of the target, the lower end t0 is the
**     result. Otherwise the end farther from the target moves (t0 on a
**     tie), and both ends are sampled again. After the 100th step nothing
**     is tested.
**  3) Moving the farther end does not look at the side of the target the
**     new end lies on: a new end just past the crossing, farther than 0.1
**     from the target, leaves both ends on one side, and the narrowing
**     never converges (the sunset of 2036 December 18 at Tokyo). Such an
**     hour is searched again from its bracket by Bisect_Bracket, which
**     keeps the crossing between its ends; only when that does not
**     converge either does the scan go on with the next hour. The earliest
**     converging bracket wins. Hours that converge are untouched by this.
**  4) Without an event the result is t0 as the last hour left it: 23.0
**     when the 23-24 bracket failed its test, else the last lower end of
**     its narrowing.
**  5) count, when given, receives the samples taken, the narrowing steps
**     over all bracketed hours and the most steps spent on one narrowing;
**     found, when given, whether a bracket converged (the result is then
**     a time, 23.0 included).
**
**  Called:  Event_Scan
*/
double Event_Search(EventKind kind, const std::function<double(double)>& sample,
                    EventSearchCount* count, bool* found)
{
    const double target = kind == EventKind::Culmination ? kMeridian : kHorizon;
    return Event_Scan(kind, target, kHours, false, sample, count, found);
}

/*
**  Event_Scan
**  Hour scan of a span and narrowing of one crossing: the pattern of
**  Event_Search, over any length and to any target.
**
**  Given:
**     kind     EventKind   direction of the crossing (Set downward, the
**                          others upward) and, for the date's searches,
**                          how the farther end moves
**     target   double      the crossing's value, degrees
**     hours    double      length of the span, hours (> 0); the last
**                          bracket ends at the span's end
**     to_time  bool        false: the date's searches (Event_Search);
**                          true: the general searches (see Notes)
**     sample   function    sampled quantity (degrees) at t hours into the span
**
**  Returned:
**     count    EventSearchCount*  work done (may be null)
**     found    bool*       whether a crossing was found (may be null)
**     (function value)  double   hours into the span of the earliest
**                                crossing; without one as Event_Search
**
**  Notes:
**  1) to_time false: the brackets, their strict tests, the narrowing and
**     its bisection again are those of Event_Search, step for step.
**  2) to_time true: a bracket [t0, t1) holds the crossing when the sample
**     at t0 is on the target or before it and at t1 past it, so that an
**     event exactly on a whole hour, or in the first or last seconds of
**     the span, is found, in one span only; it is bisected on the side of
**     the target down to 1 s (Bisect_Bracket) and the middle of that
**     second returned. The moving of the farther end, which returns the
**     lower end at 0.1 of the quantity (a minute or more where a body
**     rises slowly), is not used.
**
**  Called:  Bisect_Bracket
*/
double Event_Scan(EventKind kind, double target, double hours, bool to_time,
                  const std::function<double(double)>& sample, EventSearchCount* count,
                  bool* found)
{
    const bool upward = kind != EventKind::Set;
    EventSearchCount n{};
    if (found) *found = false;

    double t0 = 0.0;
    for (int h = 0; h < hours; h++) {
        // One hour bracket
        t0 = h;
        double t1 = std::fmin(h + 1, hours);
        double y0 = sample(t0);
        double y1 = sample(t1);
        n.samples += 2;

        // The general searches: half-open bracket, bisected to a second
        if (to_time) {
            bool bracket = upward ? (y0 <= target && y1 > target) : (y0 >= target && y1 < target);
            double t;
            if (bracket && Bisect_Bracket(target, upward, sample, t0, t1, y0, y1, &n, &t, true)) {
                if (count) *count = n;
                if (found) *found = true;
                return t;
            }
            continue;
        }

        // Strict bracket test
        bool bracket = upward ? (y0 < target && y1 > target) : (y0 > target && y1 < target);
        if (!bracket) continue;
        const double y_start = y0, y_end = y1;

        // Narrowing: move the end farther from the target
        for (int step = 0; step < kMaxSteps; step++) {
            if (std::fabs(y0 - target) < kTolerance && std::fabs(y1 - target) < kTolerance) {
                if (count) *count = n;
                if (found) *found = true;
                return t0;
            }
            if (kind == EventKind::Rise) {
                if (std::fabs(y1 - target) > std::fabs(y0 - target))
                    t1 = (2 * t1 + t0) / 3;
                else
                    t0 = (2 * t0 + t1) / 3;
            } else {
                if (std::fabs(y1 - target) > std::fabs(y0 - target))
                    t1 = (t0 + t1) / 2;
                else
                    t0 = (t0 + t1) / 2;
            }
            y0 = sample(t0);
            y1 = sample(t1);
            n.samples += 2;
            n.steps++;
            if (step + 1 > n.max_steps) n.max_steps = step + 1;
        }

        // Not converged: the same hour again, by bisection on the side of
        // the target
        double t;
        if (Bisect_Bracket(target, upward, sample, h, h + 1, y_start, y_end, &n, &t)) {
            if (count) *count = n;
            if (found) *found = true;
            return t;
        }
    }
    if (count) *count = n;
    return t0;
}

/*
**  Cal_Rise_Time
**  Local time at which a body's altitude passes -0.85 degrees upward.
**
**  Given:
**     jd    double   Julian day (UT) of any instant of the local date
**     body  int      0 Sun, 3 Moon (topocentric, latitude0/longitude0),
**                    any other code a planet of Planet_Position
**
**  Returned (function value):
**           double   local clock time, hours 0..24 (zone of Observer_Zone0:
**                    the zone set, or that of longitude0); 23.0 when none
**
**  Notes:
**  1) Reads latitude0, longitude0 and the zone; writes Auto_Time (the time of jd) and
**     the body's record (Sun, Moon, which also rewrites Sun, or Planet),
**     which holds the last trial instant afterwards.
**  2) The one horizon -0.85 serves every body, for the centre of the body
**     with no refraction in the altitude; the Moon's parallax is in its
**     topocentric altitude. Brackets narrow by a third (Event_Search).
**  3) The earliest converging hour wins: a second rising on the date is
**     not reported; a crossing exactly on a whole hour is not found.
**
**  Reference:
**     Hour scan and narrowing: the program's own. The conventional
**     altitudes (-0.5667 degree for a star, -0.8333 for the Sun's upper
**     limb): Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell
**     (1998), ch. 15 (Rising, Transit, and Setting).
**
**  Accuracy:
**     At Tokyo, every local date 1900-2100, against astronomy-engine
**     2.1.19's search for the centre at -0.85 degree without refraction
**     (docs/ACCURACY.md), RMS / largest: sunrise 0.35 / 0.58 min (mean
**     -0.34: the lower end of the final bracket is returned), moonrise
**     0.36 / 1.16 min. Against the published convention (upper limb,
**     standard refraction): sunrise 0.44 / 0.70, moonrise 0.47 / 1.38 min.
**
**  Called:  Event_Search, Cal_Auto_Time, Calendar, JD, Sun_Position,
**           Moon_Position, Planet_Position, Az_El
*/
double Cal_Rise_Time(double jd, int body)
{
    return Body_Event(jd, body, EventKind::Rise);
}

/*
**  Cal_Set_Time
**  Local time at which a body's altitude passes -0.85 degrees downward.
**
**  Given:
**     jd    double   Julian day (UT) of any instant of the local date
**     body  int      body code, as Cal_Rise_Time
**
**  Returned (function value):
**           double   local clock time, hours 0..24; 23.0 when none
**
**  Notes:
**  1) As Cal_Rise_Time, with the farther end of a bracket moved to the
**     midpoint.
**  2) A midpoint just past the crossing can leave both ends on one side
**     of the horizon; such an hour is bisected again (Event_Search, note
**     3). At Tokyo this happens to the sunset of 18 or 19 December in
**     every fourth year of the runs 1902-1922, 1959-2003 and 2036-2076,
**     and to 14 moonsets of 1900-2100.
**
**  Reference:  as Cal_Rise_Time.
**
**  Accuracy:
**     At Tokyo, every local date 1900-2100, against astronomy-engine
**     2.1.19 (docs/ACCURACY.md), RMS / largest: sunset 0.26 / 0.55 min
**     (mean -0.22), moonset 0.40 / 1.34 min; no event of the reference is
**     missed except within two minutes of midnight. Against the published
**     convention: sunset 0.20 / 0.61, moonset 0.31 / 1.23 min.
**
**  Called:  Event_Search, Cal_Auto_Time, Calendar, JD, Sun_Position,
**           Moon_Position, Planet_Position, Az_El
*/
double Cal_Set_Time(double jd, int body)
{
    return Body_Event(jd, body, EventKind::Set);
}

/*
**  Cal_Top_Time
**  Local time at which a body's azimuth passes 0 (the meridian south)
**  from east to west.
**
**  Given:
**     jd    double   Julian day (UT) of any instant of the local date
**     body  int      body code, as Cal_Rise_Time
**
**  Returned (function value):
**           double   local clock time, hours 0..24; 23.0 when none
**
**  Notes:
**  1) As Cal_Set_Time with the azimuth (Az_El, from the south, + west)
**     as the quantity and 0 as the target; the 0.1 tolerance is in
**     degrees of azimuth.
**  2) A culmination north of the zenith jumps from -180 to +180: it is
**     bracketed but never meets the tolerance, and is abandoned after
**     100 steps of the narrowing and 100 of the bisection.
**
**  Reference:  as Cal_Rise_Time.
**
**  Accuracy:
**     Meridian passage at Tokyo, every local date 1900-2100, against
**     astronomy-engine 2.1.19's search for hour angle 0 (docs/ACCURACY.md),
**     RMS / largest: the Sun 0.12 / 0.36 min, the Moon 0.23 / 0.90 min;
**     none missed except within two minutes of midnight.
**
**  Called:  Event_Search, Cal_Auto_Time, Calendar, JD, Sun_Position,
**           Moon_Position, Planet_Position, Az_El
*/
double Cal_Top_Time(double jd, int body)
{
    return Body_Event(jd, body, EventKind::Culmination);
}

/*
**  Event_LastCount
**  The work done by the last Cal_Rise_Time, Cal_Set_Time or Cal_Top_Time.
**
**  Returned (function value):
**          EventSearchCount   samples, narrowing steps, and the most steps
**                             spent on one bracket
*/
EventSearchCount Event_LastCount()
{
    return last_count;
}

// ---- the date's searches with "found" beside the time

namespace {

// The shared records as they were, put back at the end of a scope: the
// general searches leave Sun, Moon and Planet untouched.
class KeepRecords {
public:
    KeepRecords() : sun_(Sun), moon_(Moon), planet_(Planet) {}
    ~KeepRecords()
    {
        Sun = sun_;
        Moon = moon_;
        Planet = planet_;
    }
    KeepRecords(const KeepRecords&) = delete;
    KeepRecords& operator=(const KeepRecords&) = delete;

private:
    tagPosition sun_, moon_, planet_;
};

// Hour angle of a body, degrees in (-180, 180], + west: 0 at the upper
// culmination, whichever side of the zenith.
double Body_HourAngle(int body, double jt, double lat, double lon)
{
    const tagPosition* rec = Body_Place(body, jt, lat, lon);
    const AzElSite site = Az_El_Site(jt, lat, lon);
    const AzElHour hour = Az_El_Hour(site, rec->ra);
    return std::atan2(hour.sin_H, hour.cos_H) / kDegToRad;
}

// The general search of one event in a span; hours into the span.
double Span_Event(EventKind kind, int body, double altitude, double lat, double lon,
                  double jd_start, double hours, bool* found)
{
    KeepRecords keep;
    auto sample = [&](double t) {
        const double jt = jd_start + t / 24;
        if (kind == EventKind::Culmination) return Body_HourAngle(body, jt, lat, lon);
        const tagPosition* rec = Body_Place(body, jt, lat, lon);
        double az, el;
        Az_El(jt, rec->ra, rec->dec, lat, lon, &az, &el);
        return el;
    };
    const double target = kind == EventKind::Culmination ? kMeridian : altitude;
    return Event_Scan(kind, target, hours, true, sample, nullptr, found);
}

EventTime Span_EventTime(EventKind kind, int body, double altitude, double lat, double lon,
                         double jd_start, double hours)
{
    bool found = false;
    const double t = Span_Event(kind, body, altitude, lat, lon, jd_start, hours, &found);
    return found ? EventTime{jd_start + t / 24, true} : EventTime{0.0, false};
}

// The date's search (the legacy result where it finds one), else the
// general search over the same local date.
double Date_Event(double jd, int body, EventKind kind, bool* found)
{
    bool f = false;
    double r = Body_Event(jd, body, kind, &f);
    if (!f) {
        // the date as Body_Event takes it, 0 h to 24 h
        const double zone = Observer_Zone0();
        double y, m, d, hr;
        Calendar_Zone(jd, &y, &m, &d, &hr, longitude0, zone);
        const double start = JD_Zone(y, m, d, 0, longitude0, zone);
        const double t = Span_Event(kind, body, kHorizon, latitude0, longitude0, start, kHours, &f);
        r = f ? t : kNoEvent;
    }
    if (found) *found = f;
    return r;
}

}  // namespace

/*
**  Cal_Rise_Found, Cal_Set_Found, Cal_Top_Found
**  Cal_Rise_Time, Cal_Set_Time, Cal_Top_Time with "found" beside the time:
**  events at 23:00 and at the ends of the date, and culminations north of
**  the zenith.
**
**  Given:
**     jd    double   Julian day (UT) of any instant of the local date
**     body  int      body code, as Cal_Rise_Time
**
**  Returned:
**     found   bool*    whether the date has the event
**     (function value) double   local clock time, hours 0..24 (23.0 is a
**                      time when found); 23.0 when not found
**
**  Notes:
**  1) Where the date's search finds the event its result stands, bit for
**     bit, and the shared state is left as it leaves it.
**  2) Where it finds none, the general search (Event_Rise, Event_Set, or
**     Event_Culmination by the hour angle) looks again over the local
**     date 0 h to 24 h, which finds the events in its first and last
**     seconds and the culmination north of the zenith; the shared
**     records stay as the date's search left them.
**  3) Two dates can then show one event: a moonset at 00:00:13 is found
**     on its date, while the date's search also returns it the evening
**     before as 23:59 (the lower end of its last bracket).
**
**  Accuracy:  as Cal_Rise_Time where the date's search finds the event;
**             as Event_Rise elsewhere.
**
**  Called:  Cal_Auto_Time, Calendar_Zone, JD_Zone, Event_Search,
**           Event_Scan
*/
double Cal_Rise_Found(double jd, int body, bool* found)
{
    return Date_Event(jd, body, EventKind::Rise, found);
}

double Cal_Set_Found(double jd, int body, bool* found)
{
    return Date_Event(jd, body, EventKind::Set, found);
}

double Cal_Top_Found(double jd, int body, bool* found)
{
    return Date_Event(jd, body, EventKind::Culmination, found);
}

// ---- the general searches

/*
**  Event_Rise, Event_Set
**  The first instant in a span of UT at which a body's centre passes an
**  altitude upward (rise) or downward (set).
**
**  Given:
**     body       int      0 Sun, 3 Moon (topocentric), other a planet code
**     altitude   double   degrees: kAltitudeHorizon (-0.85) for rise and
**                         set, kAltitudeCivil, kAltitudeNautical,
**                         kAltitudeAstronomical (-6, -12, -18) for the
**                         twilights of the Sun
**     lat, lon   double   observer, degrees, north and east positive
**     jd_start   double   Julian day (UT) where the span begins (a local
**                         date: its 0 h)
**     hours      double   length of the span, hours (24; 23 or 25 on a
**                         change of daylight saving; any length > 0)
**
**  Returned (function value):
**                EventTime   jd of the event (UT) and found; jd 0.0 and
**                            found false when the span has none
**
**  Notes:
**  1) Hour scan from jd_start (brackets [h, h+1), the last one ending at
**     the span's end), then bisection on the side of the altitude down to
**     one second (Event_Scan): an event at any time of the span is found,
**     also in its first and last seconds and on a whole hour, and an
**     event on the span's end belongs to the next span.
**  2) The altitude is the geometric one of the body's centre (no
**     refraction); the Moon's is topocentric.
**  3) Two crossings within one hour bracket (a body grazing the
**     altitude) are not seen; the first event of the span is returned.
**  4) Reads no globals of the observer; the shared records Sun, Moon and
**     Planet are left as they were.
**
**  Reference:
**     Hour scan and bisection: the program's own, as Cal_Rise_Time. The
**     twilight altitudes: Meeus, J., Astronomical Algorithms, 2nd ed.,
**     Willmann-Bell (1998), ch. 15.
**
**  Accuracy:
**     The time of the instant at which the computed altitude passes the
**     given one, to half a second; the positions' own errors add (see
**     Cal_Rise_Time): within a minute of astronomy-engine for the Sun and
**     the Moon (tests/golden/riseset_reference.txt).
**
**  Called:  Event_Scan, Sun_Position, Moon_Position, Planet_Position,
**           Az_El
*/
EventTime Event_Rise(int body, double altitude, double lat, double lon, double jd_start,
                     double hours)
{
    return Span_EventTime(EventKind::Rise, body, altitude, lat, lon, jd_start, hours);
}

EventTime Event_Set(int body, double altitude, double lat, double lon, double jd_start,
                    double hours)
{
    return Span_EventTime(EventKind::Set, body, altitude, lat, lon, jd_start, hours);
}

/*
**  Event_Culmination
**  The first upper culmination (meridian passage) of a body in a span of
**  UT, south or north of the zenith.
**
**  Given:
**     body, lat, lon, jd_start, hours   as Event_Rise
**
**  Returned (function value):
**                EventTime   jd (UT) and found; 0.0 and false when none
**
**  Notes:
**  1) The sampled quantity is the hour angle H = 15 theta - ra taken into
**     (-180, 180] (the steps of Az_El), which passes 0 upward at the upper
**     culmination on either side of the zenith; the lower culmination is
**     its jump from +180 to -180, never a bracket.
**  2) The Moon's hour angle is topocentric. The Moon culminates about
**     every 24 h 50 min: a day can have none, a 25-hour span two (the
**     first is returned).
**
**  Accuracy:
**     To half a second of the computed passage; within 2 minutes of
**     astronomy-engine's hour angle search (tests/golden/riseset_reference.txt).
**
**  Called:  Event_Scan, Sun_Position, Moon_Position, Planet_Position,
**           Az_El_Site, Az_El_Hour
*/
EventTime Event_Culmination(int body, double lat, double lon, double jd_start, double hours)
{
    return Span_EventTime(EventKind::Culmination, body, 0.0, lat, lon, jd_start, hours);
}

/*
**  Event_Altitude
**  A body's altitude at an instant (polar day or night: the Sun's at the
**  middle of a date without rise or set).
**
**  Given:
**     body, lat, lon   as Event_Rise;  jd  double  Julian day (UT)
**
**  Returned (function value):
**                double   geometric altitude of the centre, degrees
**
**  Notes:
**  1) The shared records are left as they were.
**
**  Called:  Sun_Position, Moon_Position, Planet_Position, Az_El
*/
double Event_Altitude(int body, double jd, double lat, double lon)
{
    KeepRecords keep;
    const tagPosition* rec = Body_Place(body, jd, lat, lon);
    double az, el;
    Az_El(jd, rec->ra, rec->dec, lat, lon, &az, &el);
    return el;
}
