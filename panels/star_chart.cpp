// The star chart: the constellation figures (dots by magnitude and colour
// class, red polylines through their slots, labels) drawn over the planet
// panel's sky view, and optionally every catalogue star as a green dot with
// its number, designation and name. Four projections: the polar horizon
// chart, the equatorial chart, the horizon strip and the view projection
// shared with the planet panel.
#include "panels/narrow.h"
#include "panels/star_chart.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "toolkit/ws.h"
#include "ephem/star.h"
#include "ephem/transforms.h"
#include "panels/display_settings.h"
#include "panels/panels.h"
#include "panels/scene_notes.h"
#include "panels/view_projection.h"
#include "panels/labels.h"
#include "timecal/constants.h"
#include "timecal/observer.h"
#include "timecal/time_state.h"

namespace {
// projections (select_d)
constexpr int kPolar = 1;       // zenith at the centre, south below
constexpr int kEquatorial = 2;  // right ascension growing to the left
constexpr int kStrip = 3;       // azimuth -180 at X0, growing to the right
constexpr int kView = 4;        // the view toward m_input_azmt (planet panel)

constexpr double kFigureSymbol = 10;  // ss_s = 10/scale + 10/scale: R = (7 - m)/2 pixels
constexpr double kCatalogueSS = 0.1;  // catalogue dot, R = 2 pixels
constexpr unsigned long kTextW = 300, kTextH = 30;
constexpr int kLabelsOn = 11;         // m_input_disp_pla value that writes labels
constexpr double kMaxGridLines = 10000;  // a grid spacing of 0 or less draws no lines

inline bool Framed(int select) { return select == kEquatorial || select == kStrip; }

// Az_El for the stars of one repaint: the part that depends on the instant
// and the place alone (the sidereal time, the latitude's sine and cosine)
// computed once for them all, bit for bit as Az_El computes it.
const AzElSite& StarSite(double jd, double lat, double lon)
{
    static AzElSite site;
    static uint64_t key[3] = {};
    static bool have = false;
    const uint64_t now[3] = {std::bit_cast<uint64_t>(jd), std::bit_cast<uint64_t>(lat),
                             std::bit_cast<uint64_t>(lon)};
    if (!have || !std::equal(now, now + 3, key)) {
        site = Az_El_Site(jd, lat, lon);
        std::copy(now, now + 3, key);
        have = true;
    }
    return site;
}

void StarAzEl(double jd, double ra, double dec, double lat, double lon, double* az, double* el)
{
    const AzElSite& site = StarSite(jd, lat, lon);
    Az_El_Parts(site, Az_El_Hour(site, ra), Az_El_Dec(dec), az, el);
}

// The figure stars of the view as last placed, each with the local sidereal
// time it was placed at and how far its hour angle may change before its
// drawing could (ViewKeptArc: its vertex px, py, its dot's box at px - 2R,
// py and its text at px - R, py + R; behind, its angle from the plane that
// bounds the front half): a star within that is drawn from here, any other
// placed anew. Everything else a place depends on (latitude, longitude,
// viewing azimuth, X0, Y0, scale, the star's own position and its dot's
// radius) must be the same, bit for bit, or it is placed anew.
bool g_keep_places = true;
constexpr double kPlaneGuard = 1e-4;  // degrees: the rounding of az and d

struct KeptStar {
    double ra = 0, dec = 0, R = 0;  // the star and its dot's radius
    double theta = 0;   // local sidereal time, hours
    double slack = -1;  // hours of hour angle; below 0: not placed
    bool front = false;
    double px = 0, py = 0;
};

struct KeptStars {
    uint64_t key[6] = {};
    KeptStar star[kConstellations][kMaxFigureRows];
};

// Row k of figure c placed in the view (as StarChart_Project places it) at
// jd_auto, from the kept place when the sky cannot have moved it.
bool ViewPlace(int c, int k, const FigureRow& row, double R, StarPlace* place)
{
    static KeptStars kept;
    const double azmt = Observer_ViewAzimuth();
    const uint64_t key[6] = {std::bit_cast<uint64_t>(latitude), std::bit_cast<uint64_t>(longitude),
                             std::bit_cast<uint64_t>(azmt),     std::bit_cast<uint64_t>(X0),
                             std::bit_cast<uint64_t>(Y0),       std::bit_cast<uint64_t>(scale)};
    if (!std::equal(key, key + 6, kept.key)) {
        std::copy(key, key + 6, kept.key);
        for (auto& figure : kept.star)
            for (KeptStar& ks : figure) ks.slack = -1;
    }
    const AzElSite& site = StarSite(jd_auto, latitude, longitude);
    KeptStar& ks = kept.star[c][k];
    double turned = site.theta - ks.theta;
    if (turned > 12) turned -= 24;
    else if (turned < -12) turned += 24;
    if (g_keep_places && ks.slack > 0 && std::fabs(turned) < ks.slack && ks.ra == row.ra &&
        ks.dec == row.dec && ks.R == R) {
        if (!ks.front) return false;
        StarPlace p;
        p.px = ks.px;
        p.py = ks.py;
        p.x1 = p.px - R;
        p.y1 = p.py + R;
        p.dx = 5;
        p.dy = -10;
        *place = p;
        return true;
    }
    double az, el;
    Az_El_Parts(site, Az_El_Hour(site, row.ra), Az_El_Dec(row.dec), &az, &el);
    const bool front = StarChart_Project(kView, az, el, row.ra, row.dec, R, StarFrame{}, place);
    ks = KeptStar{row.ra, row.dec, R, site.theta, -1, front, front ? place->px : 0, front ? place->py : 0};
    if (!g_keep_places) return front;
    const double d = ViewOffset(az, azmt);
    const double P = std::cos(el * kDegToRad) * std::cos(d * kDegToRad);
    const double xs[3] = {0, -R, -2 * R}, ys[2] = {0, R};
    const double arc = front ? ViewKeptArc(P, el, place->px, place->py, xs, 3, ys, 2)
                             : std::fabs(P) / kDegToRad - kPlaneGuard;
    ks.slack = std::min(kViewMaxTurn, arc / std::cos(row.dec * kDegToRad)) / 15;
    return front;
}

void Text(WSCvdrawingArea* area, long x, long y, const char* text)
{
    area->drawString(x, y, kTextW, kTextH, 1, 0, text, -2);
}

void Line(WSCvdrawingArea* area, double x1, double y1, double x2, double y2)
{
    area->drawLine(NarrowShort(x1), NarrowShort(y1), NarrowShort(x2), NarrowShort(y2));
}

// The grid comes before each dot of projections 2 and 3 when select_p is 0.
void GridBeforeDot(WSCvdrawingArea* area, const StarFrame& frame)
{
    if (Framed(select_d) && select_p == 0) StarChart_Grid(area, frame);
}
}  // namespace

/*
**  StarChart_Frame
**  The frame of the straight-axis charts (projections 2 and 3).
**
**  Given:
**     X_MIN, X_MAX, Y_MIN, Y_MAX (degrees), scale (globals)
**
**  Returned (function value):
**          StarFrame   left, right, top, bottom of the chart, pixels: the
**                      bounds box scaled about its centre
**
**  Notes:
**  1) X0, Y0 become the centre of the bounds box.
**  2) With the values in use X0 10, Y0 340, left -710, right 730, top 160,
**     bottom 520.
*/
StarFrame StarChart_Frame()
{
    X0 = (X_MIN + X_MAX) * 0.5;
    Y0 = (Y_MIN + Y_MAX) * 0.5;
    StarFrame f;
    f.left = X0 - (X0 - X_MIN) * scale;
    f.right = X0 + (X_MAX - X0) * scale;
    f.top = Y0 - (Y0 - Y_MIN) * scale;
    f.bottom = Y0 + (Y_MAX - Y0) * scale;
    return f;
}

/*
**  StarChart_Grid
**  The grid and axes of projections 2 and 3.
**
**  Given:
**     area    WSCvdrawingArea*   the drawing area
**     frame   StarFrame          from StarChart_Frame
**     X0, Y0, X_MIN..Y_MAX, X_DISP, Y_DISP, scale (globals)
**
**  Notes:
**  1) trunc((X_MAX - X_MIN) / X_DISP) + 1 vertical and
**     trunc((Y_MAX - Y_MIN) / Y_DISP) + 1 horizontal lines (73 and 19
**     with the values in use), black; a count below 0 or above 10000 (a
**     spacing of 0 or less, or not a number) draws no lines.
**  2) Then the axes through X0, Y0 in red, which stays the colour in
**     force.
*/
void StarChart_Grid(WSCvdrawingArea* area, const StarFrame& frame)
{
    area->setForeColor("#000000");
    // vertical lines
    double nx = std::trunc((X_MAX - X_MIN) / X_DISP);
    if (nx >= 0 && nx <= kMaxGridLines) {
        for (int i = 0; i <= static_cast<int>(nx); ++i) {
            double x = std::trunc(i * X_DISP * scale + frame.left);
            Line(area, x, frame.top, x, frame.bottom);
        }
    }
    // horizontal lines
    double ny = std::trunc((Y_MAX - Y_MIN) / Y_DISP);
    if (ny >= 0 && ny <= kMaxGridLines) {
        for (int j = 0; j <= static_cast<int>(ny); ++j) {
            double y = std::trunc(j * Y_DISP * scale + frame.top);
            Line(area, frame.left, y, frame.right, y);
        }
    }
    // axes
    area->setForeColor("#ff0000");
    Line(area, X0, frame.top, X0, frame.bottom);
    Line(area, frame.left, Y0, frame.right, Y0);
}

void StarChart_KeepPlaces(bool on) { g_keep_places = on; }

/*
**  StarChart_Project
**  A star placed by one of the four projections.
**
**  Given:
**     select    int         projection 1..4
**     az, el    double      azimuth and altitude, degrees (Az_El)
**     ra, dec   double      degrees (projection 2)
**     R         double      dot radius, pixels
**     frame     StarFrame   the frame (projections 2 and 3)
**
**  Returned:
**     place     StarPlace*  vertex, dot anchor, text offset (written only
**                           when drawn)
**     (function value) bool true when the star is drawn
**
**  Notes:
**  1) 1 polar horizon chart: the zenith at (X0, Y0), south below, west to
**     the right; anchor (px - R, py - R), texts (+5, -10).
**     2 equatorial chart from the frame's right edge; anchor
**     (px + R, py - R), texts (0, 0).
**     3 horizon strip: north at X0; anchor (px - R, py - R).
**     4 the view projection (ViewProjectBody) toward m_input_azmt, front
**     half only; anchor (px - R, py + R), texts (+5, -10).
**  2) Projections 1, 3 and 4 have no horizon cut; any other select is not
**     drawn.
*/
bool StarChart_Project(int select, double az, double el, double ra, double dec, double R,
                       const StarFrame& frame, StarPlace* place)
{
    const double rad = kDegToRad;
    StarPlace p;
    switch (select) {
    case kPolar:
        p.px = X0 + (90 - el) * std::sin(az * rad) * scale;
        p.py = Y0 + (90 - el) * std::cos(az * rad) * scale;
        p.x1 = p.px - R;
        p.y1 = p.py - R;
        p.dx = 5;
        p.dy = -10;
        break;
    case kEquatorial:
        p.px = frame.right - ra * scale;
        p.py = Y0 - dec * scale;
        p.x1 = p.px + R;
        p.y1 = p.py - R;
        break;
    case kStrip:
        p.px = X0 + (az + 180) * scale;
        p.py = Y0 - el * scale;
        p.x1 = p.px - R;
        p.y1 = p.py - R;
        break;
    case kView: {
        double d = ViewOffset(az, Observer_ViewAzimuth());
        if (!InFrontHalf(d)) return false;
        ViewProjectBody(el, d, &p.px, &p.py);
        p.x1 = p.px - R;
        p.y1 = p.py + R;
        p.dx = 5;
        p.dy = -10;
        break;
    }
    default:
        return false;
    }
    *place = p;
    return true;
}

/*
**  StarChart_Dot
**  The dot of the star being drawn.
**
**  Given:
**     area    WSCvdrawingArea*   the drawing area
**     place   StarPlace          the dot anchor (x1, y1)
**     SS, ss_s, scale (globals)
**
**  Notes:
**  1) Radius R = SS * ss_s * scale, box at (trunc(x1 - R), trunc(y1 - R)),
**     width and height trunc(2 * SS * ss_s * scale): 8 pixels for a
**     figure star of magnitude -1.5, 1 for 5.5. The colour in force.
*/
void StarChart_Dot(WSCvdrawingArea* area, const StarPlace& place)
{
    double R = SS * ss_s * scale;
    unsigned short D = NarrowUShort(2 * SS * ss_s * scale);
    area->drawFillArc(NarrowShort(place.x1 - R), NarrowShort(place.y1 - R), D, D, 0,
                      kFullCircle, 1);
}

/*
**  StarChart_ClassColour
**  Dot colour of a colour class.
**
**  Given:
**     colour_class   int   1 B, 2 Wolf-Rayet, 3 M, 4 (unused), 5 O,
**                          6 G and K, 7 A and F
**
**  Returned (function value):
**              const char*   "#rrggbb", or null for any other class (the
**                            colour in force stays)
*/
const char* StarChart_ClassColour(int colour_class)
{
    static const char* const kClassColours[8] = {
        nullptr, "#00ffff", "#ff0000", "#ff00ff", "#00ff00", "#000000", "#ffff00", "#ffffff",
    };
    if (colour_class < 1 || colour_class > 7) return nullptr;
    return kClassColours[colour_class];
}

/*
**  StarChart_Figure
**  One constellation figure from its rows.
**
**  Given:
**     area      WSCvdrawingArea*   the drawing area
**     c         int                constellation index 0..87 (its label)
**     rows, n   FigureRow*, int    the figure rows (ReadFigure)
**     frame     StarFrame          the frame (projections 2 and 3)
**     select_d, select_p, m_seiza2, jd_auto, latitude, longitude, scale
**     (globals)
**
**  Notes:
**  1) Per row: Az_El; ss_s = 20 / scale and SS = (7 - m) / 40, so the dot
**     radius is (7 - m) / 2 pixels; the class colour; the grid in
**     projections 2 and 3 when select_p is 0; the dot; in projection 4
**     with m_seiza2 1 the name held in the shared record Star beside it;
**     the vertex into every slot of the row's code.
**  2) A star that is not drawn leaves its slots empty; slot numbers
**     beyond 21 name no slot. Then StarChart_FigureLines.
**  3) Leaves ss_s and SS as the last row set them.
**
**  Called:  Az_El, StarChart_ClassColour, StarChart_Project,
**           StarChart_Grid, StarChart_Dot, DecodeSlots,
**           StarChart_FigureLines
*/
void StarChart_Figure(WSCvdrawingArea* area, int c, const FigureRow* rows, int n,
                      const StarFrame& frame)
{
    FigureSlots slots;
    char buf[64];
    for (int k = 0; k < n; ++k) {
        const FigureRow& row = rows[k];
        ss_s = kFigureSymbol / scale + kFigureSymbol / scale;
        SS = (7 - row.mag) / 40;
        if (const char* colour = StarChart_ClassColour(row.colour)) area->setForeColor(colour);

        StarPlace place;
        double R = SS * ss_s * scale;
        if (select_d == kView && c >= 0 && c < kConstellations && k < kMaxFigureRows) {
            if (!ViewPlace(c, k, row, R, &place)) continue;
        } else {
            double az, el;
            StarAzEl(jd_auto, row.ra, row.dec, latitude, longitude, &az, &el);
            if (!StarChart_Project(select_d, az, el, row.ra, row.dec, R, frame, &place)) continue;
        }
        GridBeforeDot(area, frame);
        StarChart_Dot(area, place);
        if (select_d == kView && m_seiza2 == 1) {
            // the name as "%.*s" prints it (empty before a catalogue pass)
            const size_t n = std::min(strnlen(Star.name, sizeof Star.name), sizeof buf - 1);
            std::memcpy(buf, Star.name, n);
            buf[n] = '\0';
            Text(area, NarrowLong(place.x1) + place.dx, NarrowLong(place.y1) + place.dy, buf);
        }

        int named[3];
        int count = DecodeSlots(row.code, named);
        for (int s = 0; s < count && s < 3; ++s) {
            if (named[s] < 0 || named[s] > kMaxSlot) continue;
            slots.x[named[s]] = place.px;
            slots.y[named[s]] = place.py;
        }
    }
    StarChart_FigureLines(area, c, slots);
}

/*
**  StarChart_FigureLines
**  The label and the red polyline of one figure.
**
**  Given:
**     area    WSCvdrawingArea*   the drawing area
**     c       int                constellation index 0..87
**     slots   FigureSlots        vertices of slots 0..21; x = 0 is empty
**     m_input_disp_pla, m_seiza1 (globals)
**
**  Notes:
**  1) Nothing when slot 1 is empty (x exactly 0). Otherwise the Star3
**     label in black at slot 1 (when m_input_disp_pla is 11 and m_seiza1
**     is 1), then red lines from slot to slot, 2 up to 21, ending at the
**     first empty slot.
*/
void StarChart_FigureLines(WSCvdrawingArea* area, int c, const FigureSlots& slots)
{
    if (slots.x[1] == 0) return;
    int prev = 1;
    if (m_input_disp_pla == kLabelsOn && m_seiza1 == 1) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s", Labels_Constellation(c));
        area->setForeColor("#000000");
        Text(area, NarrowLong(slots.x[1]), NarrowLong(slots.y[1]), buf);
        Scene_NotesToWrite().labels.push_back(
            SceneLabel{c, NarrowLong(slots.x[1]), NarrowLong(slots.y[1])});
    }
    for (int k = 2; k <= kMaxSlot; ++k) {
        if (slots.x[k] == 0) break;
        area->setForeColor("#ff0000");
        Line(area, slots.x[prev], slots.y[prev], slots.x[k], slots.y[k]);
        prev = k;
    }
}

/*
**  StarChart_Catalogue
**  Every catalogue star as a green dot with its number, designation and
**  name.
**
**  Given:
**     area    WSCvdrawingArea*   the drawing area
**     frame   StarFrame          the frame (projections 2 and 3)
**     select_d, select_p, jd_auto, latitude, longitude, ss_s (left by the
**     figure pass), scale (globals)
**
**  Notes:
**  1) Green is set once; per star Star_Position, Az_El, SS = 0.1, the grid
**     (projections 2 and 3, select_p 0), the dot and the text "%4.0f%s%s"
**     of number, designation and name at the anchor plus the projection's
**     offset. Stars behind the viewer in projection 4 get neither.
**  2) The shared record Star holds the last catalogue star afterwards.
**
**  Called:  Star_Position, Az_El, StarChart_Project, StarChart_Grid,
**           StarChart_Dot
*/
void StarChart_Catalogue(WSCvdrawingArea* area, const StarFrame& frame)
{
    char buf[80];
    area->setForeColor("#00ff00");
    for (int i = 0; i < kStarCount; ++i) {
        Star_Position(jd_auto, i, &Star);
        double az, el;
        StarAzEl(jd_auto, Star.ra, Star.dec, latitude, longitude, &az, &el);
        SS = kCatalogueSS;
        StarPlace place;
        double R = SS * ss_s * scale;
        if (!StarChart_Project(select_d, az, el, Star.ra, Star.dec, R, frame, &place)) continue;
        GridBeforeDot(area, frame);
        StarChart_Dot(area, place);
        std::snprintf(buf, sizeof buf, "%4.0f%s%s", Star.number, Star.label, Star.name);
        Text(area, NarrowLong(place.x1) + place.dx, NarrowLong(place.y1) + place.dy, buf);
    }
}

/*
**  DispStar
**  The star chart panel: the constellation figures over the sky view.
**
**  Given:
**     object   WSCbase*   the drawing area
**     the settings and per-repaint state: select_d, scale, X0, Y0, the
**     bounds, m_input_*, m_seiza1, m_seiza2, select_p, jd_auto, latitude,
**     longitude (globals)
**
**  Notes:
**  1) Projections 2 and 3 first derive their frame (X0, Y0 move to the
**     centre of the bounds box).
**  2) The figure pass: constellation m_input_m_star only when
**     m_input_m_star_select is 1, else all 88 in order; those without a
**     figure draw nothing.
**  3) The catalogue pass when m_input_m_star_select is 0.
**  4) Leaves ss_s at 20 / scale and SS at the last star's value.
**
**  Called:  StarChart_Frame, ReadFigure, StarChart_Figure,
**           StarChart_Catalogue
*/
void DispStar(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));
    StarFrame frame;
    if (Framed(select_d)) frame = StarChart_Frame();

    // figure pass (its labels noted afresh)
    Scene_NotesToWrite().labels.clear();
    area->setForeColor("#000000");
    int first = 0, last = kConstellations - 1;
    if (m_input_m_star_select == 1) {
        first = last = m_input_m_star;
        if (first < 0 || first >= kConstellations) last = first - 1;  // no such constellation
    }
    FigureRow rows[kMaxFigureRows];
    for (int c = first; c <= last; ++c) {
        if (Star1[c] == 0) continue;
        int n = ReadFigure(c, rows);
        StarChart_Figure(area, c, rows, n, frame);
    }

    // catalogue pass
    if (m_input_m_star_select == 0) StarChart_Catalogue(area, frame);
}
