// The Moon phase panel: a disc of 80 pixels showing the lit part of the
// Moon as seen by the observer, and the Moon's age in days below it.
#include <cmath>
#include <cstdio>

#include "toolkit/ws.h"
#include "ephem/moon.h"
#include "ephem/position.h"
#include "events/newmoon_kept.h"
#include "panels/narrow.h"
#include "panels/display_settings.h"
#include "panels/panels.h"
#include "timecal/constants.h"
#include "timecal/observer.h"
#include "timecal/time_state.h"

namespace {

// The disc: radius 20 * scale, centred on (50, 115).
constexpr double kDiscRadius = 20.0;
constexpr double kDiscX = 50.0, kDiscY = 115.0;
constexpr short kFullStart = 0;                         // 1/64 degree; the extent kFullCircle
constexpr short kHalfStart = 5760, kHalfExtent = 11520; // the left half disc

// Age text box.
constexpr long kAgeX = 5, kAgeY = 160;
constexpr unsigned long kAgeW = 300, kAgeH = 20;

const char* const kLit = "#ffff00";
const char* const kDark = "#000000";

// Colours of the full disc, the left half disc and the terminator ellipse
// for one range of the phase angle.
struct PhaseColors {
    const char* full;
    const char* half;
    const char* terminator;
};

// 0 < P < 90, 90 < P < 180, 180 < P < 270, 270 < P < 360
constexpr PhaseColors kPhaseColors[4] = {
    {kLit, kDark, kDark},   // crescent lit on the right
    {kLit, kDark, kLit},    // gibbous lit on the right
    {kDark, kLit, kLit},    // gibbous lit on the left
    {kDark, kLit, kDark},   // crescent lit on the left
};

}  // namespace

/*
**  MoonPhaseAsSeen
**  The phase angle of the picture for an observer north or south of the
**  equator.
**
**  Given:
**     P     double   phase angle, degrees in [0, 360] (MoonPhaseAngle)
**     lat   double   observer's latitude, degrees, north positive
**
**  Returned (function value):
**           double   P north of the equator and on it; 360 - P south of
**                    it, which draws the picture mirrored left to right
**
**  Notes:
**  1) Seen from the south the Moon stands upside down against the view
**     from the north: the waxing Moon is lit on the left. 360 - P has the
**     same |cos P| (the terminator's box) in the mirrored range, and keeps
**     the quarters on the quarters.
*/
double MoonPhaseAsSeen(double P, double lat)
{
    return lat < 0 ? 360 - P : P;
}

/*
**  DrawMoonPhase
**  The lit part of the Moon's disc.
**
**  Given:
**     area   WSCvdrawingArea*   the drawing area
**     P      double             phase angle, degrees (MoonPhaseAngle)
**
**  Notes:
**  1) Inside one of the four open ranges of P, draws the full disc, the
**     left half disc and the terminator ellipse (width 2R |cos P|) in the
**     colours of the range, setting the colour only where it changes; P
**     exactly on a quarter (or not a number) draws none of them. Then the
**     black outline.
**  2) The disc is centred on (50, 115) with radius 20 * scale (scale is
**     2.0 in the panel).
*/
void DrawMoonPhase(WSCvdrawingArea* area, double P)
{
    double R = kDiscRadius * scale;
    short bx = NarrowShort(kDiscX - R);
    short by = NarrowShort(kDiscY - R);
    unsigned short bw = NarrowUShort(2 * R);

    int range = -1;
    if (0 < P && P < 90) range = 0;
    else if (90 < P && P < 180) range = 1;
    else if (180 < P && P < 270) range = 2;
    else if (270 < P && P < 360) range = 3;

    if (range >= 0) {
        const PhaseColors& c = kPhaseColors[range];
        // terminator: an ellipse of the disc's height and width 2R|cos P|
        double half = R * std::fabs(std::cos(P * kDegToRad));
        double width = 2 * R * std::fabs(std::cos(P * kDegToRad));
        short tx = NarrowShort(kDiscX + std::trunc(half) - width);
        unsigned short tw = NarrowUShort(width);

        area->setForeColor(c.full);
        area->drawFillArc(bx, by, bw, bw, kFullStart, kFullCircle, 1);
        if (c.half != c.full) area->setForeColor(c.half);
        area->drawFillArc(bx, by, bw, bw, kHalfStart, kHalfExtent, 1);
        if (c.terminator != c.half) area->setForeColor(c.terminator);
        area->drawFillArc(tx, by, tw, bw, kFullStart, kFullCircle, 1);
    }

    // outline
    area->setForeColor("#000000");
    area->drawArc(bx, by, bw, bw, kFullStart, kFullCircle);
}

/*
**  DispMoon
**  The Moon phase panel.
**
**  Given:
**     widget   WSCbase*   the drawing area
**
**  Notes:
**  1) The Moon (topocentric) and the Sun at jd_auto for the observer's
**     latitude, longitude; the phase picture, mirrored south of the
**     equator (MoonPhaseAsSeen); then the age since the
**     latest new moon not later than jd_auto (MoonAgeDays_Kept, from the
**     new-moon search FirstdayCal1 of the date, run once a date),
**     "月齢 %4.1f" at (5, 160) in black, the colour the outline left in
**     force.
**  2) Sets scale to 2.0; rewrites the shared records Moon and Sun.
**
**  Called:  Moon_Position, MoonPhaseAngle, MoonPhaseAsSeen, DrawMoonPhase,
**           MoonAgeDays_Kept
*/
void DispMoon(WSCbase* widget)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(widget->viewAsClass("WSCvdrawingArea"));
    scale = 2.0;

    // positions; Moon_Position also brings the Sun record to jd_auto
    Moon_Position(jd_auto, &Moon, 1, latitude, longitude);

    // phase angle (mirrored south of the equator), shapes and outline
    DrawMoonPhase(area, MoonPhaseAsSeen(MoonPhaseAngle(Moon.lam, Sun.lam, Sun.dist, Moon.dist),
                                        latitude));

    // the Moon's age
    char buf[64];
    std::snprintf(buf, sizeof buf, "月齢 %4.1f", MoonAgeDays_Kept(jd_auto));
    area->drawString(kAgeX, kAgeY, kAgeW, kAgeH, 1, 0, buf, -2);
}
