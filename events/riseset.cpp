// Rise, set and culmination times by hourly scan and bracket narrowing.
#include "events/riseset.h"

#include <cmath>

#include "ephem/moon.h"
#include "ephem/planet.h"
#include "ephem/position.h"
#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "timecal/julian.h"
#include "timecal/observer.h"
#include "timecal/timerec.h"

namespace {

constexpr double kHorizon = -0.85;    // altitude of rise and set, degrees (all bodies)
constexpr double kMeridian = 0.0;     // azimuth of the meridian south, degrees
constexpr double kTolerance = 0.1;    // on the sampled quantity, degrees
constexpr int kMaxSteps = 100;        // steps of one narrowing (and of one bisection)
constexpr int kHours = 24;            // brackets h..h+1 for h = 0..23

EventSearchCount last_count{};

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
    const tagPosition* rec;
    if (body == kBodySun) {
        Sun_Position(jt, &Sun);
        rec = &Sun;
    } else if (body == kBodyMoon) {
        Moon_Position(jt, &Moon, 1, latitude0, longitude0);
        rec = &Moon;
    } else {
        Planet_Position(body, jt, &Planet);
        rec = &Planet;
    }
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
double Body_Event(double jd, int body, EventKind kind)
{
    // Broken-down time of the given instant
    Cal_Auto_Time(jd, &Auto_Time);

    // Local date of the instant
    const double zone = Observer_Zone0();
    double y, m, d, hr;
    Calendar_Zone(jd, &y, &m, &d, &hr, longitude0, zone);

    last_count = EventSearchCount{};
    return Event_Search(
        kind, [=](double t) { return Body_Sample(kind, body, y, m, d, zone, t); }, &last_count);
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
**  Returned:
**     t          double*    the lower end when found
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
*/
bool Bisect_Bracket(double target, bool upward, const std::function<double(double)>& sample,
                    double lo, double hi, double ylo, double yhi, EventSearchCount* n,
                    double* t)
{
    for (int step = 0; step < kMaxSteps; step++) {
        if (std::fabs(ylo - target) < kTolerance && std::fabs(yhi - target) < kTolerance) {
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
**     over all bracketed hours and the most steps spent on one narrowing.
*/
double Event_Search(EventKind kind, const std::function<double(double)>& sample,
                    EventSearchCount* count)
{
    const double target = kind == EventKind::Culmination ? kMeridian : kHorizon;
    const bool upward = kind != EventKind::Set;
    EventSearchCount n{};

    double t0 = 0.0;
    for (int h = 0; h < kHours; h++) {
        // One hour bracket
        t0 = h;
        double t1 = h + 1;
        double y0 = sample(t0);
        double y1 = sample(t1);
        n.samples += 2;

        // Strict bracket test
        bool bracket = upward ? (y0 < target && y1 > target) : (y0 > target && y1 < target);
        if (!bracket) continue;
        const double y_start = y0, y_end = y1;

        // Narrowing: move the end farther from the target
        for (int step = 0; step < kMaxSteps; step++) {
            if (std::fabs(y0 - target) < kTolerance && std::fabs(y1 - target) < kTolerance) {
                if (count) *count = n;
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
        double found;
        if (Bisect_Bracket(target, upward, sample, h, h + 1, y_start, y_end, &n, &found)) {
            if (count) *count = n;
            return found;
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
