// Tides of Tokyo Bay by the harmonic method with four constituents
// (M2, S2, K1, O1): height at an instant, high and low waters of a day.
#include "events/tide.h"

#include <cmath>

#include "ephem/moon.h"
#include "ephem/position.h"
#include "timecal/constants.h"
#include "timecal/julian.h"
#include "timecal/observer.h"
#include "timecal/time_state.h"

double Tide[8];

namespace {

// ---- station constants of Tokyo Bay (heights in the unit of the amplitudes)
constexpr double Mean_Level = 1.17;  // mean water level above datum
constexpr double HM2 = 0.482;        // M2 amplitude
constexpr double XM2 = 154.2;        // M2 phase lag, degrees
constexpr double HS2 = 0.238;        // S2 amplitude
constexpr double HK1 = 0.252;        // K1 amplitude
constexpr double XK1 = 179.5;        // K1 phase lag, degrees
constexpr double HO1 = 0.198;        // O1 amplitude
constexpr double XO1 = 160.98;       // O1 phase lag, degrees

constexpr double kStationLon = kTideStationLon;  // station east longitude, degrees (zone 9 h)

// Angular speeds, degrees per hour
constexpr double kSpeedM2 = 28.98;
constexpr double kSpeedS2 = 30.0;
constexpr double kSpeedK1 = 15.0;
constexpr double kSpeedO1 = 13.9;

// Species number times the station longitude, and 9 h times the speed
constexpr double kLonM2 = 279.4;     // 2 x 139.7
constexpr double kZoneM2 = 260.82;   // 9 x 28.98
constexpr double kLonK1 = 139.7;     // 1 x 139.7
constexpr double kZoneK1 = 135.0;    // 9 x 15
constexpr double kLonO1 = 139.7;     // 1 x 139.7
constexpr double kZoneO1 = 125.1;    // 9 x 13.9
constexpr double kPhaseS2 = 186.7;   // whole constant phase of S2, degrees

// Day search
constexpr int kFirstHour = -1;        // scan t = -1..25: samples -1 h..27 h
constexpr int kLastHour = 25;
constexpr int kRounds = 31;           // narrowing rounds per extremum
constexpr double kFlat = 0.00001;     // |ya - yb| at which an extremum is taken
constexpr int kStopCount = 3;         // a third high or low water ends the scan

// Record layout
constexpr int kHeightHigh = 0, kHeightLow = 2, kTimeHigh = 4, kTimeLow = 6;

// The heights the search asks for, each computed once: the scan asks for
// every hour three times (as y0, y1 and y2), and each halving round asks
// again for the end that did not move. y must be a function of the hour
// alone. What a height function leaves behind (Tide1_Loop's Moon and Sun,
// jd0) is that of the last height it computed, so finish() computes the
// last height asked for once more when it was a kept one: the search then
// leaves what it would leave asking anew every time.
class Heights {
public:
    explicit Heights(const std::function<double(double)>& y) : y_(y) {}

    double operator()(double s)
    {
        last_asked_ = s;
        if (s == std::trunc(s) && s >= kFirstHour && s <= kLastHour + 2) {
            HourHeight& h = hours_[static_cast<int>(s) - kFirstHour];
            if (!h.have) h = HourHeight{true, compute(s)};
            return h.y;
        }
        ++asked_;
        Kept* oldest = &recent_[0];
        for (Kept& k : recent_) {
            if (k.have && k.s == s) {
                k.asked = asked_;
                return k.y;
            }
            if (k.asked < oldest->asked) oldest = &k;
        }
        const double v = compute(s);
        *oldest = Kept{true, s, v, asked_};  // the one asked for longest ago goes
        return v;
    }

    void finish()
    {
        if (any_ && last_asked_ != last_computed_) y_(last_asked_);
    }

private:
    double compute(double s)
    {
        any_ = true;
        last_computed_ = s;
        return y_(s);
    }

    struct HourHeight {
        bool have = false;
        double y = 0;
    };
    struct Kept {
        bool have = false;
        double s = 0, y = 0;
        unsigned long asked = 0;  // when last asked for
    };
    const std::function<double(double)>& y_;
    HourHeight hours_[kLastHour + 3 - kFirstHour];  // hours -1..27
    static constexpr int kRecent = 4;
    Kept recent_[kRecent];  // the points last asked for: the bracket's ends
    unsigned long asked_ = 0;
    bool any_ = false;
    double last_asked_ = 0, last_computed_ = 0;
};

// Narrow [a, b] onto an extremum: for a maximum the lower end moves to the
// midpoint, for a minimum the higher end. Stores ya and jd_of(b) into the
// record at slot (0 or 1) when |ya - yb| < kFlat within kRounds rounds.
void Narrow(bool maximum, double a, double b, Heights& y,
            const std::function<double(double)>& jd_of, double record[8], int slot)
{
    for (int round = 0; round < kRounds; round++) {
        double ya = y(a);
        double yb = y(b);
        if (std::fabs(ya - yb) < kFlat) {
            record[(maximum ? kHeightHigh : kHeightLow) + slot] = ya;
            record[(maximum ? kTimeHigh : kTimeLow) + slot] = jd_of(b);
            return;
        }
        if (maximum) {
            if (yb < ya) b = (a + b) / 2;
            else a = (a + b) / 2;
        } else {
            if (yb < ya) a = (a + b) / 2;
            else b = (a + b) / 2;
        }
    }
}

}  // namespace

/*
**  Tide_Nodal
**  Nodal factors and angles of M2, K1 and O1.
**
**  Given:
**     node   double      longitude of the Moon's ascending node N, degrees
**
**  Returned (function value):
**            TideNodal   f (factors) and u (angles, degrees)
**
**  Notes:
**  1) M2: f = 1.0004 - 0.0373 cos N + 0.0002 cos 2N, u = -2.14 sin N;
**     K1: f = 1.006 + 0.115 cos N - 0.0088 cos 2N + 0.0006 cos 3N,
**         u = -8.86 sin N + 0.68 sin 2N - 0.07 sin 3N;
**     O1: f = 1.0089 + 0.1871 cos N - 0.0147 cos 2N + 0.0014 cos 3N,
**         u = 10.8 sin N - 1.34 sin 2N + 0.19 sin 3N.
**  2) S2 has f = 1, u = 0.
**
**  Reference:
**     Schureman, P., Manual of Harmonic Analysis and Prediction of Tides,
**     U.S. Coast and Geodetic Survey Special Publication No. 98, revised
**     ed. (1940): the node factors f and u, here as the short series
**     in N usual for prediction.
*/
TideNodal Tide_Nodal(double node)
{
    double n1 = node * kDegToRad;
    double n2 = (2 * node) * kDegToRad;
    double n3 = (3 * node) * kDegToRad;
    TideNodal r;
    r.fM2 = 1.0004 - 0.0373 * std::cos(n1) + 0.0002 * std::cos(n2);
    r.uM2 = -2.14 * std::sin(n1);
    r.fK1 = 1.006 + 0.115 * std::cos(n1) - 0.0088 * std::cos(n2) + 0.0006 * std::cos(n3);
    r.uK1 = -8.86 * std::sin(n1) + 0.68 * std::sin(n2) - 0.07 * std::sin(n3);
    r.fO1 = 1.0089 + 0.1871 * std::cos(n1) - 0.0147 * std::cos(n2) + 0.0014 * std::cos(n3);
    r.uO1 = 10.8 * std::sin(n1) - 1.34 * std::sin(n2) + 0.19 * std::sin(n3);
    return r;
}

/*
**  Tide_Reduce
**  Angle into [0, 360): x/360 less its integer part (truncated toward
**  zero), times 360, plus 360 when negative.
*/
double Tide_Reduce(double x)
{
    double q = x / 360;
    double r = (q - std::trunc(q)) * 360;
    if (r < 0) r += 360;
    return r;
}

/*
**  Tide1_Loop
**  Tide height of Tokyo Bay at one instant.
**
**  Given:
**     jd    double   Julian day (UT) at which the Sun's and the Moon's
**                    longitudes and the Moon's node are taken
**     t     double   local standard time (zone 9 h), hours from 0 h of the
**                    local date; may lie outside 0..24
**
**  Returned:
**     height        double*   height about mean level
**     height_datum  double*   height above datum (height + Mean_Level)
**
**  Notes:
**  1) The true longitudes lamS, lamM (topocentric, at the observer's
**     latitude and the station longitude) stand for the mean longitudes of
**     the equilibrium arguments; N is the node's mean longitude.
**  2) The speed terms count from 0 h local time and are referred to 0 h UT
**     by the terms 9 x speed in the phase constants.
**  3) Overwrites the shared records Moon and Sun.
**  4) The station's amplitudes and phase lags are fixed constants for
**     Tokyo of the four principal constituents; the speeds are rounded
**     (28.98, 30, 15, 13.9 degrees an hour).
**
**  Reference:
**     The harmonic method of tidal prediction: Schureman, P., Manual of
**     Harmonic Analysis and Prediction of Tides, U.S. Coast and Geodetic
**     Survey Special Publication No. 98, revised ed. (1940).
**
**  Accuracy:
**     Not measured against observed or officially predicted tides.
**
**  Called:  Moon_Position (which computes Sun), Tide_Nodal, Tide_Reduce
*/
void Tide1_Loop(double jd, double t, double* height, double* height_datum)
{
    // Longitudes of the Sun, the Moon and its node
    // Moon_Position brings the Sun record to the same jd on its way: no
    // second Sun_Position.
    Moon_Position(jd, &Moon, 1, latitude0, kStationLon);
    double lamS = Sun.lam;
    double lamM = Moon.lam;
    double N = Moon.node;

    // Nodal factors and angles
    TideNodal nf = Tide_Nodal(N);

    // Phase constants, each reduced into [0, 360)
    double pM2 = Tide_Reduce(2 * lamS - 2 * lamM + nf.uM2 + kLonM2 - kZoneM2 - XM2);
    double pK1 = Tide_Reduce(lamS + 90 + nf.uK1 + kLonK1 - kZoneK1 - XK1);
    double pO1 = Tide_Reduce(lamS - 2 * lamM + 270 + nf.uO1 + kLonO1 - kZoneO1 - XO1);

    // Sum of the four constituents
    double h = HM2 * nf.fM2 * std::cos((pM2 + kSpeedM2 * t) * kDegToRad)
             + HS2 * std::cos((kSpeedS2 * t + kPhaseS2) * kDegToRad)
             + HK1 * nf.fK1 * std::cos((pK1 + kSpeedK1 * t) * kDegToRad)
             + HO1 * nf.fO1 * std::cos((pO1 + kSpeedO1 * t) * kDegToRad);
    *height = h;
    *height_datum = h + Mean_Level;
}

/*
**  Tide_Search
**  High and low waters of one day from hourly samples.
**
**  Given:
**     y       function   height at local hour s
**     jd_of   function   Julian day of the local hour s
**
**  Returned:
**     record  double[8]  heights (0..3) and Julian days (4..7) of high 1,
**                        high 2, low 1, low 2; 0.0 where none
**
**  Notes:
**  1) For t = -1..25: y0 = y(t), y1 = y(t+1), y2 = y(t+2). A high water
**     needs y0 < y1 > y2 strictly, a low water y0 > y1 < y2; equal samples
**     at a crest detect nothing.
**  2) Each extremum is counted; the third of a kind ends the scan at once.
**     The first two are narrowed on [t, t+2] by halving (at most 31
**     rounds) until |ya - yb| < 0.00001; ya and jd_of(b) are stored. One
**     that does not converge is counted but not stored.
**  3) y must depend on s alone: each height is computed once and kept
**     for the search (Heights); y is called last for the last hour asked
**     for, as when every height is computed anew.
*/
void Tide_Search(const std::function<double(double)>& height,
                 const std::function<double(double)>& jd_of, double record[8])
{
    for (int i = 0; i < 8; i++) record[i] = 0.0;
    int highs = 0, lows = 0;
    Heights y(height);

    for (int t = kFirstHour; t <= kLastHour; t++) {
        double y0 = y(t);
        double y1 = y(t + 1);
        double y2 = y(t + 2);
        if (y0 < y1 && y2 < y1) {
            // High water
            highs++;
            if (highs == kStopCount) break;
            Narrow(true, t, t + 2, y, jd_of, record, highs - 1);
        } else if (y1 < y0 && y1 < y2) {
            // Low water
            lows++;
            if (lows == kStopCount) break;
            Narrow(false, t, t + 2, y, jd_of, record, lows - 1);
        }
    }
    y.finish();
}

/*
**  Tide_Cal
**  The first two high and the first two low waters of Tokyo Bay on the
**  local date of jd, into Tide.
**
**  Given:
**     jd     double      Julian day (UT) of any instant of the date
**
**  Returned:
**     Tide   double[8]   heights above datum (0..3) and Julian days (UT,
**                        4..7) of high 1, high 2, low 1, low 2; 0.0 where
**                        none (Tide_Search)
**
**  Notes:
**  1) The date is Calendar(jd) in the station's zone (139.7 E, 9 h),
**     kept in year0, month0, day0, hour0, whatever the observer.
**  2) The sample at local hour s is the height above datum of
**     Tide1_Loop(J(s), s), J(s) = JD(date, s) at 139.7: the Julian day of
**     the sample instant itself. jd0 holds the last J(s) sampled.
**  3) Samples span -1 h to 27 h: extrema of the neighbouring days near
**     midnight are found and stored with their own Julian days.
**  4) Overwrites the shared records Moon and Sun (Tide1_Loop).
**
**  Reference:  the height of Tide1_Loop.
**
**  Called:  Calendar, JD, Tide1_Loop, Tide_Search
*/
void Tide_Cal(double jd)
{
    Calendar(jd, &year0, &month0, &day0, &hour0, 0, kStationLon);
    auto jd_of = [](double s) { return JD(year0, month0, day0, s, 0, kStationLon); };
    auto y = [&](double s) {
        jd0 = jd_of(s);
        double height, height_datum;
        Tide1_Loop(jd0, s, &height, &height_datum);
        return height_datum;
    };
    Tide_Search(y, jd_of, Tide);
}
