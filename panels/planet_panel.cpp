// The planet panel: the sky toward the viewing azimuth in an azimuthal
// equidistant view centred on the horizon, with the altitude-azimuth grid,
// the hour and declination circles of the moment, and the Moon, the Sun and
// the five naked-eye planets as labelled discs. The view projection here is
// shared with the star chart.
#include <cmath>
#include <cstdio>

#include "panels/display_settings.h"
#include "timecal/observer.h"
#include "timecal/time_state.h"
#include "app/toolkit/ws.h"
#include "ephem/moon.h"
#include "ephem/planet.h"
#include "ephem/position.h"
#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "panels/panels.h"
#include "timecal/constants.h"

// Names of the bodies by body index (Shift_JIS); place 7 is never used.
const char* const Pla1[8] = {"月", "水星", "金星", "太陽", "火星", "木星", "土星", nullptr};

namespace {

constexpr int kBodies = 7;
constexpr int kMoonIndex = 0;
constexpr int kSunIndex = 3;

// Colour of each body, by body index.
constexpr const char* kBodyColor[kBodies] = {
    "#ffff00",  // Moon
    "#ff00ff",  // Mercury
    "#ffffff",  // Venus
    "#ff0000",  // Sun
    "#0000ff",  // Mars
    "#00ff00",  // Jupiter
    "#000000",  // Saturn
};
// Planet codes of Planet_Position, by body index (0: not a planet).
constexpr int kPlanetCode[kBodies] = {0, kMercury, kVenus, 0, kMars, kJupiter, kSaturn};

constexpr double kTiny = 0.000001;      // guard of the projection against 0
constexpr double kViewPi = 3.14;        // divisor of the radius (not pi)
constexpr unsigned long kTextW = 300, kTextH = 30;
constexpr int kRaSteps = 361;           // right ascensions 0..360 of the grid
constexpr int kDecSteps = 181;          // declinations -90..90 of the grid

// The guards that tell the two variants of the view projection apart.
struct ProjectionGuards {
    bool above_includes_horizon;  // el >= 0 (body) or el > 0 (grid) counts as above
    bool floor_sine;              // raise sqrt|1 - P^2| to kTiny
    bool guard_u;                 // u: flip at d = 270 (equatorial), raise to kTiny
    bool flip_at_270;             // equatorial grid only
    bool floor_T;                 // raise T to kTiny (grid) or replace 0 only (body)
};

constexpr ProjectionGuards kBodyGuards = {true, false, false, false, false};
constexpr ProjectionGuards kGridGuards = {false, true, true, false, true};
constexpr ProjectionGuards kEquatorialGuards = {false, true, true, true, true};

// ViewProject
//   Given:    el  altitude, degrees
//             d   azimuth offset from the viewing azimuth, degrees (west positive)
//             g   the variant's guards
//   Returned: px, py  pixel position about (X0, Y0) at scale pixels per degree
//   Notes:    azimuthal equidistant projection centred on the horizon point
//             at the viewing azimuth: u is the angular distance from that
//             point (negative below the horizon), A the direction; the zenith
//             lies 90 * scale pixels above the centre (the radius is divided
//             by 3.14, so slightly more). In the body variant a point at the
//             very centre (u = 0) would give 0/0; it is taken as the centre.
void ViewProject(double el, double d, const ProjectionGuards& g, double* px, double* py)
{
    const double R = kDegToRad;
    // 1. cosine of the distance from the view centre, sign by the horizon
    bool above = g.above_includes_horizon ? el >= 0 : el > 0;
    double P = above ? std::cos(el * R) * std::cos(d * R) : -std::cos(el * R) * std::cos(d * R);
    // 2. the distance u, radians
    double S = std::sqrt(std::fabs(1 - P * P));
    if (g.floor_sine && S < kTiny) S = kTiny;
    double u = std::atan(S / P);
    if (g.guard_u) {
        if (g.flip_at_270 && d == 270) u = -u;
        if (-kTiny < u && u < kTiny) u = kTiny;
    }
    // 3. the direction A from the vertical
    double sin_u = std::sin(u);
    double Q = sin_u != 0 ? std::sin(d * R) * std::cos(el * R) / sin_u : 0.0;
    double T = std::sqrt(std::fabs(1 - Q * Q));
    if (g.floor_T ? T < kTiny : T == 0) T = kTiny;
    double A = std::atan(Q / T);
    if (-kTiny < A && A < kTiny) A = kTiny;
    // 4. to pixels
    double r = u / kViewPi * 180;
    *px = X0 + r * std::sin(A) * scale;
    *py = Y0 - r * std::cos(A) * scale;
}

// One line of the grids: joins successive visible points, breaking where a
// point is not drawn.
struct Polyline {
    WSCvdrawingArea* area;
    bool have = false;
    short x = 0, y = 0;
    void to(double px, double py)
    {
        short nx = NarrowShort(px), ny = NarrowShort(py);
        if (have) area->drawLine(x, y, nx, ny);
        else area->drawLine(nx, ny, nx, ny);  // the first point joined to itself
        have = true;
        x = nx;
        y = ny;
    }
    void equatorialTo(bool front, double px, double py)
    {
        short nx = NarrowShort(px), ny = NarrowShort(py);
        if (front && have) area->drawLine(x, y, nx, ny);
        have = front;
        x = nx;
        y = ny;
    }
};

// One sample of an hour or declination circle: Az_El at jdstart from its
// parts (the caller computes each part once), then the grid projection when
// it is in the front half (the altitude is needed only there).
void EquatorialSample(Polyline& line, const AzElSite& site, const AzElHour& hour,
                      const AzElDec& dec, double azmt)
{
    double az = Az_El_Azimuth(site, hour, dec);
    double d = ViewOffset(az, azmt);
    if (InFrontHalf(d)) {
        double el = Az_El_Altitude(site, hour, dec);
        double px, py;
        ViewProjectGrid(el, d, true, &px, &py);
        line.equatorialTo(true, px, py);
    } else {
        line.equatorialTo(false, 0, 0);
    }
}

}  // namespace

// ViewOffset
//   Given:    az            azimuth from the south, positive west, degrees
//             view_azimuth  the viewing azimuth, degrees
//   Returned: the offset d = az - view_azimuth taken once into [0, 360]
double ViewOffset(double az, double view_azimuth)
{
    double d = az - view_azimuth;
    if (d < 0) d += 360;
    if (d > 360) d -= 360;
    return d;
}

// InFrontHalf
//   Given:    d  azimuth offset from ViewOffset, degrees
//   Returned: true when the direction is within 90 degrees of the view
bool InFrontHalf(double d)
{
    return d <= 90 || d >= 270;
}

// ViewProjectBody
//   Given:    el  altitude, degrees; d  azimuth offset (ViewOffset), degrees
//   Returned: px, py  the point in the view (X0, Y0, scale)
//   Notes:    the variant for the bodies and the figure stars: el >= 0 counts
//             as above the horizon, T is replaced only when exactly 0.
void ViewProjectBody(double el, double d, double* px, double* py)
{
    ViewProject(el, d, kBodyGuards, px, py);
}

// ViewProjectGrid
//   Given:    el, d as ViewProjectBody; equatorial  true for the hour and
//             declination circles
//   Returned: px, py
//   Notes:    the variant for the grids: el > 0 counts as above, the sine of
//             the distance, the distance and T are kept at least 0.000001,
//             and on the equatorial grid the distance changes sign at d = 270.
void ViewProjectGrid(double el, double d, bool equatorial, double* px, double* py)
{
    ViewProject(el, d, equatorial ? kEquatorialGuards : kGridGuards, px, py);
}

// PanelBody
//   Given:    index  body index 0..6: Moon, Mercury, Venus, Sun, Mars,
//                    Jupiter, Saturn
//             jd     Julian day (UT)
//   Returned: az, el  from Az_El with the record's ra, dec for latitude,
//                     longitude; the record written (Moon, Planet or Sun),
//                     or null (az, el untouched) for any other index
//   Notes:    the Moon is topocentric; every planet overwrites Planet, and
//             Planet_Position and Moon_Position also rewrite Sun.
const tagPosition* PanelBody(int index, double jd, double* az, double* el)
{
    tagPosition* rec;
    if (index == kMoonIndex) {
        Moon_Position(jd, &Moon, 1, latitude, longitude);
        rec = &Moon;
    } else if (index == kSunIndex) {
        Sun_Position(jd, &Sun);
        rec = &Sun;
    } else if (index > 0 && index < kBodies) {
        Planet_Position(kPlanetCode[index], jd, &Planet);
        rec = &Planet;
    } else {
        return nullptr;
    }
    Az_El(jd, rec->ra, rec->dec, latitude, longitude, az, el);
    return rec;
}

// Disp4
//   Given:    object  the drawing area
//   Notes:    the altitude-azimuth grid (black), the hour and declination
//             circles at jdstart (blue, broken outside the front half) and
//             the seven bodies at jd_auto, labelled "%3s " and drawn as discs.
//             Leaves line width 1, the last body's colour, SS 0.5, ss_s of
//             the Moon's step and select_p 7 for the star chart.
void Disp4(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));
    char buf[32];

    // 1. the view and the grid's pen
    double azmt = m_input_azmt;
    area->setForeColor("#000000");
    area->setLineWidth(1);

    // 2. altitude lines, 10 degrees apart, each from d = -90 to 90
    for (int i = 0; i <= 18; ++i) {
        double el = -90 + 10 * i;
        Polyline line{area};
        for (int j = 0; j <= 18; ++j) {
            double px, py;
            ViewProjectGrid(el, -90 + 10 * j, false, &px, &py);
            line.to(px, py);
        }
    }
    // 3. azimuth lines, each from the zenith down to the nadir
    for (int j = 0; j <= 18; ++j) {
        double d = -90 + 10 * j;
        Polyline line{area};
        for (int i = 0; i <= 18; ++i) {
            double px, py;
            ViewProjectGrid(90 - 10 * i, d, false, &px, &py);
            line.to(px, py);
        }
    }

    // 4. equatorial grid of the moment jdstart
    area->setForeColor("#0000ff");
    // The 13,556 samples share one instant and place, and each has one of
    // 361 whole-degree right ascensions and 181 whole-degree declinations:
    // the sidereal time, the latitude's, the hour angles' and the
    // declinations' sines, cosines and tangents are computed once here
    // (Az_El's own steps, so every az and el is bit for bit Az_El's).
    const AzElSite site = Az_El_Site(jdstart, latitude, longitude);
    AzElHour hour[kRaSteps];   // [k]: right ascension k degrees
    AzElDec dec[kDecSteps];    // [k]: declination -90 + k degrees
    for (int k = 0; k < kRaSteps; ++k) hour[k] = Az_El_Hour(site, k);
    for (int k = 0; k < kDecSteps; ++k) dec[k] = Az_El_Dec(-90 + k);
    // hour circles every 10 degrees of right ascension (0 and 360 coincide)
    for (int i = 0; i <= 36; ++i) {
        area->setForeColor("#0000ff");
        Polyline line{area};
        for (int k = 0; k <= 180; ++k) EquatorialSample(line, site, hour[10 * i], dec[k], azmt);
    }
    // declination circles every 10 degrees
    for (int i = 0; i <= 18; ++i) {
        area->setForeColor("#0000ff");
        Polyline line{area};
        for (int k = 0; k <= 360; ++k) EquatorialSample(line, site, hour[k], dec[10 * i], azmt);
    }

    // 5. the bodies at jd_auto
    for (select_p = 0; select_p < kBodies; ++select_p) {
        double az = 0, el = 0;
        PanelBody(select_p, jd_auto, &az, &el);
        SS = 0.5;
        if (select_p == kMoonIndex) ss_s = scale < 6 ? 8 : 8 / scale;
        area->setForeColor(kBodyColor[select_p]);
        double d = ViewOffset(az, azmt);
        if (!InFrontHalf(d)) continue;
        double px, py;
        ViewProjectBody(el, d, &px, &py);
        double R = SS * ss_s * scale;
        unsigned short D = NarrowUShort(2 * SS * ss_s * scale);
        double x1 = px - R, y1 = py + R;
        std::snprintf(buf, sizeof buf, "%3s ", Pla1[select_p]);
        area->drawString(NarrowLong(x1 + 10), NarrowLong(y1 - 20), kTextW, kTextH, 1, 0, buf, -2);
        area->drawFillArc(NarrowShort(x1 - R), NarrowShort(y1 - R), D, D, 0, kFullCircle, 1);
    }
    // 6. select_p is 7 here
}
