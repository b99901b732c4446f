// The planet panel: the sky toward the viewing azimuth in an azimuthal
// equidistant view centred on the horizon, with the altitude-azimuth grid,
// the hour and declination circles of the moment, and the Moon, the Sun and
// the five naked-eye planets as labelled discs, in the view projection it
// shares with the star chart (view_projection.h).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "toolkit/ws.h"
#include "ephem/bodies.h"
#include "ephem/transforms.h"
#include "panels/narrow.h"
#include "panels/display_settings.h"
#include "panels/panels.h"
#include "panels/scene_notes.h"
#include "panels/view_projection.h"
#include "panels/labels.h"
#include "timecal/constants.h"
#include "timecal/observer.h"
#include "timecal/time_state.h"

// Names of the bodies by body index (Shift_JIS); place 7 is never used.

namespace {

// Colour of each body, by body index.
constexpr const char* kBodyColor[kPanelBodies] = {
    "#ffff00",  // Moon
    "#ff00ff",  // Mercury
    "#ffffff",  // Venus
    "#ff0000",  // Sun
    "#0000ff",  // Mars
    "#00ff00",  // Jupiter
    "#000000",  // Saturn
};
constexpr unsigned long kTextW = 300, kTextH = 30;
constexpr int kRaSteps = 361;           // right ascensions 0..360 of the grid
constexpr int kDecSteps = 181;          // declinations -90..90 of the grid

// One line of the grids: joins successive visible points, breaking where a
// point is not drawn. Its lines go to the area in batches (drawLines), the
// last when it ends; nothing else is drawn while it is in use.
struct Polyline {
    static constexpr size_t kBatch = 64;
    WSCvdrawingArea* area;
    bool have = false;
    short x = 0, y = 0;
    size_t n = 0;
    int xy[4 * kBatch];
    explicit Polyline(WSCvdrawingArea* a) : area(a) {}
    Polyline(const Polyline&) = delete;
    Polyline& operator=(const Polyline&) = delete;
    ~Polyline() { flush(); }
    void line(short x1, short y1, short x2, short y2)
    {
        int* p = xy + 4 * n;
        p[0] = x1;
        p[1] = y1;
        p[2] = x2;
        p[3] = y2;
        if (++n == kBatch) flush();
    }
    void flush()
    {
        if (n > 0) area->drawLines(xy, n);
        n = 0;
    }
    void to(double px, double py)
    {
        short nx = NarrowShort(px), ny = NarrowShort(py);
        if (have) line(x, y, nx, ny);
        else line(nx, ny, nx, ny);  // the first point joined to itself
        have = true;
        x = nx;
        y = ny;
    }
    // a sample of an hour or declination circle: joined to the last when
    // both are in front; one behind breaks the circle
    void equatorialTo(bool front, short nx, short ny)
    {
        if (!front) {
            have = false;
            return;
        }
        if (have) line(x, y, nx, ny);
        have = true;
        x = nx;
        y = ny;
    }
};

// Where the view faces: the sine and cosine of the viewing azimuth.
struct Facing {
    double azmt;
    double cos_azmt, sin_azmt;
};

// A direction more than this (radians) beyond the side lines of the view
// is behind it whatever the rounding: Az_El's azimuth and the offset from
// the viewing azimuth are good to some 1e-14 radians, far less.
constexpr double kBehind = 1e-9;
constexpr double kTinyArgument = 1e-200;  // below it the test is not made

// A sample of an hour or declination circle keeps its drawing, bit for bit,
// while its hour angle has changed by less than its slack (ViewKeptArc):
// in front, how far it may move before its pixel or the projection's branch
// could change; behind, its angle from the plane that bounds the front half
// (the sine of that angle is cos(el) cos(d), which is cos(dec) times the
// share toward the view of the azimuth's (x, y)). Less kGuardDegrees, over
// cos(dec), and at most kViewMaxTurn.
constexpr double kGuardDegrees = 1e-4;

// One sample of an hour or declination circle: Az_El at jdstart from its
// parts (the caller computes each part once), then the grid projection when
// it is in the front half (the altitude is needed only there).
struct EquatorialPoint {
    bool front;
    double px, py;
};

bool g_keep_grid = true;  // Disp4_KeepGrid

EquatorialPoint EquatorialProject(const AzElSite& site, const AzElHour& hour, const AzElDec& dec,
                                  const Facing& view, double* slack)
{
    // A sample plainly behind the viewer needs neither its azimuth nor its
    // altitude: (x, y) points along the azimuth, and the cosine of its
    // angle from the viewing azimuth has the sign of x cos + y sin.
    const double x = Az_El_AzimuthX(site, hour, dec), y = hour.sin_H;
    const double size = std::fabs(x) + std::fabs(y);
    const double toward = x * view.cos_azmt + y * view.sin_azmt;
    // sine of the angle from the front half's bounding plane
    const double P = dec.cos_d * toward;
    const double plane = std::fabs(P) / kDegToRad - kGuardDegrees;
    *slack = std::min(kViewMaxTurn, plane / dec.cos_d);
    if (size > kTinyArgument && toward < -kBehind * size) return {false, 0, 0};
    double az = Az_El_Azimuth(site, hour, dec);
    double d = ViewOffset(az, view.azmt);
    if (!InFrontHalf(d)) return {false, 0, 0};
    double el = Az_El_Altitude(site, hour, dec);
    EquatorialPoint p{true, 0, 0};
    ViewProjectGrid(el, d, true, &p.px, &p.py);
    if (!g_keep_grid) return p;  // computed anew every second: no slack
    const double zero = 0;
    *slack = std::min(kViewMaxTurn, ViewKeptArc(P, el, p.px, p.py, &zero, 1, &zero, 1) / dec.cos_d);
    return p;
}

// The samples of the equatorial grid as last computed, each with the local
// sidereal times between which its drawing cannot have changed: the
// sidereal time it was computed for, less and plus how far its hour angle
// may change before its drawing could (ViewKeptArc), each taken inward to
// a float (16 bytes a sample instead of 24: the grid's 13,556 are gone
// through every second). A sample within them is drawn from here, any
// other computed anew. Everything else a sample depends on (latitude,
// longitude, viewing azimuth, X0, Y0, scale) must be the same, bit for
// bit, or all are computed anew.
struct KeptSample {
    float lo = 1, hi = 0;  // local sidereal times, hours (about the computed one: lo may be
                           // below 0, hi above 24); none between: not kept
    short nx = 0, ny = 0;  // the pixel, in front
    bool front = false;
    // whether the local sidereal time t (hours, [0, 24)) lies between
    bool keeps(double t) const
    {
        return (t > lo && t < hi) || (t + 24 > lo && t + 24 < hi) || (t - 24 > lo && t - 24 < hi);
    }
};

// v as a float not below it (up) or not above it (down).
float FloatUp(double v)
{
    const float f = static_cast<float>(v);
    return static_cast<double>(f) < v ? std::nextafter(f, HUGE_VALF) : f;
}
float FloatDown(double v)
{
    const float f = static_cast<float>(v);
    return static_cast<double>(f) > v ? std::nextafter(f, -HUGE_VALF) : f;
}

struct KeptGrid {
    uint64_t key[6] = {};
    std::vector<KeptSample> hour_circles;  // [i * 181 + k]: ra 10 i, dec -90 + k
    std::vector<KeptSample> dec_circles;   // [i * 361 + k]: dec -90 + 10 i, ra k
};

// A sample as drawn: in front or not, its pixel, and, when computed anew,
// the point it was narrowed from.
struct Sampled {
    bool front;
    bool fresh;
    short nx, ny;
    double px, py;
};

// A sample computed anew, and kept with its slack.
Sampled FreshSample(KeptSample& kept, const AzElSite& site, const AzElHour& hour,
                    const AzElDec& dec, const Facing& view)
{
    double slack = 0;
    const EquatorialPoint p = EquatorialProject(site, hour, dec, view, &slack);
    Sampled s{p.front, true, 0, 0, p.px, p.py};
    if (p.front) {
        s.nx = NarrowShort(p.px);
        s.ny = NarrowShort(p.py);
    }
    kept = KeptSample{1, 0, s.nx, s.ny, p.front};
    if (g_keep_grid && slack > 0) {
        kept.lo = FloatUp(site.theta - slack / 15);
        kept.hi = FloatDown(site.theta + slack / 15);
    }
    return s;
}

// The altitude-azimuth grid's 19 x 19 points (el, d) = (-90 + 10 i,
// -90 + 10 j): the altitude lines and the azimuth lines pass through the
// same points, and where a point falls depends on X0, Y0 and scale alone,
// so the points are projected once and kept while those three stay the
// same, bit for bit.
struct AltAzPoints {
    bool have = false;
    uint64_t x0 = 0, y0 = 0, scale = 0;
    double px[19][19], py[19][19];  // [i][j]: el = -90 + 10 i, d = -90 + 10 j
};

const AltAzPoints& AltAzGrid()
{
    static AltAzPoints g;
    const uint64_t x0 = std::bit_cast<uint64_t>(X0), y0 = std::bit_cast<uint64_t>(Y0),
                   sc = std::bit_cast<uint64_t>(scale);
    if (g.have && g.x0 == x0 && g.y0 == y0 && g.scale == sc) return g;
    for (int i = 0; i <= 18; ++i)
        for (int j = 0; j <= 18; ++j)
            ViewProjectGrid(-90 + 10 * i, -90 + 10 * j, false, &g.px[i][j], &g.py[i][j]);
    g.have = true;
    g.x0 = x0;
    g.y0 = y0;
    g.scale = sc;
    return g;
}

}  // namespace

void Disp4_KeepGrid(bool on) { g_keep_grid = on; }

/*
**  Disp4
**  The planet panel: the sky toward the viewing azimuth.
**
**  Given:
**     object   WSCbase*   the drawing area
**
**  Notes:
**  1) In the view projection (view_projection.h) toward m_input_azmt:
**     the altitude-azimuth grid every 10 degrees (black, line width 1);
**     the hour and declination circles every 10 degrees at jdstart (blue,
**     broken outside the front half); then the seven bodies at jd_auto
**     (PanelBody) in the front half, each as a disc of its colour labelled
**     "%3s " with its name of Pla1.
**  2) Leaves line width 1, the last body's colour, SS 0.5, ss_s as the
**     Moon's step set it (8 when scale < 6) and select_p 7 for the star
**     chart; rewrites the shared records Moon, Sun and Planet.
**
**  Called:  ViewProjectGrid, ViewProjectBody, ViewOffset, InFrontHalf,
**           Az_El_Site, Az_El_Hour, Az_El_Dec, Az_El_Azimuth,
**           Az_El_Altitude, PanelBody
*/
void Disp4(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));
    char buf[32];

    // 1. the view (m_input_azmt taken into (-180, 180]) and the grid's pen
    double azmt = Observer_ViewAzimuth();
    area->setForeColor("#000000");
    area->setLineWidth(1);

    // 2. altitude lines, 10 degrees apart, each from d = -90 to 90
    const AltAzPoints& grid = AltAzGrid();
    for (int i = 0; i <= 18; ++i) {
        Polyline line{area};
        for (int j = 0; j <= 18; ++j) line.to(grid.px[i][j], grid.py[i][j]);
    }
    // 3. azimuth lines, each from the zenith (el = 90) down to the nadir
    for (int j = 0; j <= 18; ++j) {
        Polyline line{area};
        for (int i = 18; i >= 0; --i) line.to(grid.px[i][j], grid.py[i][j]);
    }

    // 4. equatorial grid of the moment jdstart
    area->setForeColor("#0000ff");
    // The 13,556 samples share one instant and place, and each has one of
    // 361 whole-degree right ascensions and 181 whole-degree declinations:
    // the sidereal time, the latitude's, the hour angles' and the
    // declinations' sines, cosines and tangents are computed once here
    // (Az_El's own steps, so every az and el is bit for bit Az_El's).
    const AzElSite site = Az_El_Site(jdstart, latitude, longitude);
    static const std::vector<AzElDec> dec = [] {  // [k]: declination -90 + k degrees
        std::vector<AzElDec> d(kDecSteps);
        for (int k = 0; k < kDecSteps; ++k) d[k] = Az_El_Dec(-90 + k);
        return d;
    }();
    // [k]: right ascension k degrees, computed when a sample needs it
    AzElHour hours[kRaSteps];
    bool have_hour[kRaSteps] = {};
    auto hour = [&](int k) -> const AzElHour& {
        if (!have_hour[k]) {
            hours[k] = Az_El_Hour(site, k);
            have_hour[k] = true;
        }
        return hours[k];
    };
    const Facing view{azmt, std::cos(azmt * kDegToRad), std::sin(azmt * kDegToRad)};
    static KeptGrid kept;
    const uint64_t key[6] = {std::bit_cast<uint64_t>(latitude), std::bit_cast<uint64_t>(longitude),
                             std::bit_cast<uint64_t>(azmt),     std::bit_cast<uint64_t>(X0),
                             std::bit_cast<uint64_t>(Y0),       std::bit_cast<uint64_t>(scale)};
    if (kept.hour_circles.empty() || !std::equal(key, key + 6, kept.key)) {
        std::copy(key, key + 6, kept.key);
        kept.hour_circles.assign(37 * kDecSteps, KeptSample{});
        kept.dec_circles.assign(19 * kRaSteps, KeptSample{});
    }
    // a sample drawn as kept while the sky has turned less than its slack,
    // else anew
    auto sample = [&](KeptSample& ks, int ra, int k) {
        if (g_keep_grid && ks.keeps(site.theta)) return Sampled{ks.front, false, ks.nx, ks.ny, 0, 0};
        return FreshSample(ks, site, hour(ra), dec[k], view);
    };
    // The 37 x 19 crossings of the hour and declination circles are
    // samples of both: projected on the hour circles, taken from there for
    // the others (narrowed again when computed anew, as each circle
    // narrows its own samples).
    Sampled crossing[37][19];  // [i][m]: ra 10 i, dec -90 + 10 m
    // hour circles every 10 degrees of right ascension (0 and 360 coincide)
    for (int i = 0; i <= 36; ++i) {
        area->setForeColor("#0000ff");
        Polyline line{area};
        KeptSample* ks = &kept.hour_circles[i * kDecSteps];
        for (int k = 0; k <= 180; ++k) {
            const Sampled p = sample(ks[k], 10 * i, k);
            if (k % 10 == 0) crossing[i][k / 10] = p;
            line.equatorialTo(p.front, p.nx, p.ny);
        }
    }
    // declination circles every 10 degrees
    for (int i = 0; i <= 18; ++i) {
        area->setForeColor("#0000ff");
        Polyline line{area};
        KeptSample* ks = &kept.dec_circles[i * kRaSteps];
        for (int k = 0; k <= 360; ++k) {
            if (k % 10 == 0) {
                const Sampled& p = crossing[k / 10][i];
                if (p.front && p.fresh) line.equatorialTo(true, NarrowShort(p.px), NarrowShort(p.py));
                else line.equatorialTo(p.front, p.nx, p.ny);
                continue;
            }
            const Sampled p = sample(ks[k], k, 10 * i);
            line.equatorialTo(p.front, p.nx, p.ny);
        }
    }

    // 5. the bodies at jd_auto (and where they go, for the window's notes)
    SceneNotes& notes = Scene_NotesToWrite();
    for (select_p = 0; select_p < kPanelBodies; ++select_p) {
        double az = 0, el = 0;
        PanelBody(select_p, jd_auto, &az, &el);
        notes.bodies[select_p] = SceneBody{false, az, el, 0, 0, 0};
        SS = 0.5;
        if (select_p == kPanelMoon) ss_s = scale < 6 ? 8 : 8 / scale;
        area->setForeColor(kBodyColor[select_p]);
        double d = ViewOffset(az, azmt);
        if (!InFrontHalf(d)) continue;
        double px, py;
        ViewProjectBody(el, d, &px, &py);
        double R = SS * ss_s * scale;
        unsigned short D = NarrowUShort(2 * SS * ss_s * scale);
        double x1 = px - R, y1 = py + R;
        std::snprintf(buf, sizeof buf, "%3s ", Labels_Body(select_p));
        area->drawString(NarrowLong(x1 + 10), NarrowLong(y1 - 20), kTextW, kTextH, 1, 0, buf, -2);
        area->drawFillArc(NarrowShort(x1 - R), NarrowShort(y1 - R), D, D, 0, kFullCircle, 1);
        notes.bodies[select_p] = SceneBody{true, az, el, x1 - R + D / 2.0, y1 - R + D / 2.0, D / 2.0};
    }
    // 6. select_p is 7 here
}
