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
constexpr int kMaxSteps = 100;        // narrowing steps per bracketed hour
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
**     t        double     local clock time, hours
**
**  Returned (function value):
**              double     degrees: altitude, or azimuth from the south, + west
**
**  Notes:
**  1) The trial instant is JD(y, m, d, t) at longitude0: zone time from the
**     adjusted year 1900 on, local mean time before.
**  2) The body's shared record (Sun, Moon or Planet) is overwritten; the
**     Moon's routine also rewrites Sun.
**
**  Called:  JD, Sun_Position, Moon_Position, Planet_Position, Az_El
*/
double Body_Sample(EventKind kind, int body, double y, double m, double d, double t)
{
    double jt = JD(y, m, d, t, 0, longitude0);
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
**  2) The date is taken by Calendar at longitude0 and stays fixed.
*/
double Body_Event(double jd, int body, EventKind kind)
{
    // Broken-down time of the given instant
    Cal_Auto_Time(jd, &Auto_Time);

    // Local date of the instant
    double y, m, d, hr;
    Calendar(jd, &y, &m, &d, &hr, 0, longitude0);

    last_count = EventSearchCount{};
    return Event_Search(
        kind, [=](double t) { return Body_Sample(kind, body, y, m, d, t); }, &last_count);
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
**     is tested and the scan goes on with the next hour: the earliest
**     converging bracket wins.
**  3) Without an event the result is t0 as the last hour left it: 23.0
**     when the 23-24 bracket failed its test, else its last lower end.
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
**           double   local clock time, hours 0..24; 23.0 when none
**
**  Notes:
**  1) Reads latitude0, longitude0; writes Auto_Time (the time of jd) and
**     the body's record, which holds the last trial instant afterwards.
**  2) The one horizon -0.85 serves every body; the Moon's parallax is in
**     its topocentric altitude. Brackets narrow by a third.
**
**  Called:  Event_Search, Cal_Auto_Time, Calendar, JD, position routines, Az_El
*/
double Cal_Rise_Time(double jd, int body)
{
    return Body_Event(jd, body, EventKind::Rise);
}

/*
**  Cal_Set_Time
**  Local time at which a body's altitude passes -0.85 degrees downward.
**  As Cal_Rise_Time, with brackets narrowed by halving.
*/
double Cal_Set_Time(double jd, int body)
{
    return Body_Event(jd, body, EventKind::Set);
}

/*
**  Cal_Top_Time
**  Local time at which a body's azimuth passes 0 (the meridian south)
**  from east to west. As Cal_Set_Time with the azimuth as the quantity.
**
**  Notes:
**  1) A culmination north of the zenith jumps from -180 to +180: it is
**     bracketed but never meets the tolerance, and is abandoned after
**     100 steps.
*/
double Cal_Top_Time(double jd, int body)
{
    return Body_Event(jd, body, EventKind::Culmination);
}

EventSearchCount Event_LastCount()
{
    return last_count;
}
