// The analog clock: a yellow dial with a black rim and three hands, each
// with a black drop shadow, read from the observer's civil time.
#include <cmath>
#include <ctime>

#include "toolkit/ws.h"
#include "panels/narrow.h"
#include "panels/display_settings.h"
#include "panels/panels.h"
#include "timecal/clock.h"

namespace {

// One hand of the clock.
struct Hand {
    double radius;      // length from the centre, pixels
    short width;        // line width
    const char* color;  // colour of the hand
};

constexpr Hand kHourHand = {20, 6, "#ff0000"};
constexpr Hand kMinuteHand = {25, 4, "#00ff00"};
constexpr Hand kSecondHand = {32, 2, "#0000ff"};

// Dial: the circle of diameter 80 centred on (460, 115).
constexpr short kDialX = 420, kDialY = 75;
constexpr unsigned short kDialSize = 80;
constexpr short kDialWidth = 3;

// Fixed start points of the hands and of their shadows (2 px right, 2 px down).
constexpr short kHandX = 460, kHandY = 115;
constexpr short kShadowShift = 2;

/*
**  SecToRadian
**  Angle of the second hand.
**
**  Given:
**     second   double   seconds of the minute
**
**  Returned (function value):
**              double   radians from 3 o'clock, counter-clockwise:
**                       (90 - 6 second) pi / 180 with the clock's pi
*/
double SecToRadian(double second)
{
    return (90 - second * 6) * pi / 180;
}

/*
**  HandTipX, HandTipY
**  The tip of a hand.
**
**  Given:
**     angle    double   radians from 3 o'clock, counter-clockwise (y up)
**     radius   double   hand length, pixels
**
**  Returned (function value):
**              double   x (center_x + radius cos angle) or y (center_y -
**                       radius sin angle) of the tip, pixels (y down), not
**                       truncated
**
**  Notes:
**  1) The one place where a hand tip is computed; the panel and the Calc*
**     routines both use it.
*/
double HandTipX(double angle, double radius)
{
    return center_x + radius * std::cos(angle);
}

double HandTipY(double angle, double radius)
{
    return center_y - radius * std::sin(angle);
}

// Draw one hand: its shadow first, then the hand over it.
void DrawHand(WSCvdrawingArea* area, const Hand& hand, double angle)
{
    // tip, truncated toward zero
    double X = std::trunc(HandTipX(angle, hand.radius));
    double Y = std::trunc(HandTipY(angle, hand.radius));
    // shadow
    area->setForeColor("#000000");
    area->setLineWidth(hand.width);
    area->drawLine(kHandX + kShadowShift, kHandY + kShadowShift, NarrowShort(X + kShadowShift),
                   NarrowShort(Y + kShadowShift));
    // hand
    area->setForeColor(hand.color);
    area->setLineWidth(hand.width);
    area->drawLine(kHandX, kHandY, NarrowShort(X), NarrowShort(Y));
}

}  // namespace

/*
**  HourToRadian
**  Angle of the hour hand.
**
**  Given:
**     hour     double   hour of the day (its integer part is taken modulo 12)
**     minute   double   minutes of the hour
**
**  Returned (function value):
**              double   radians from 3 o'clock, counter-clockwise:
**                       (90 - 30 (h12 + minute/60)) pi / 180
**
**  Notes:
**  1) Uses the clock's pi = 3.14159, not the full constant; the truncated
**     hand tips depend on it.
*/
double HourToRadian(double hour, double minute)
{
    // the integer hour modulo 12 (fmod of the truncated hour: the same value
    // as an integer remainder, and defined for any double)
    double h12 = std::fmod(std::trunc(hour), 12.0);
    return (90 - (h12 + minute / 60) * 30) * pi / 180;
}

/*
**  MinToRadian
**  Angle of the minute hand.
**
**  Given:
**     minute, second   double   of the hour
**
**  Returned (function value):
**                      double   radians from 3 o'clock, counter-clockwise:
**                               (90 - 6 (minute + second/60)) pi / 180
*/
double MinToRadian(double minute, double second)
{
    return (90 - (minute + second / 60) * 6) * pi / 180;
}

/*
**  CalcHourX, CalcHourY, CalcMinX, CalcMinY, CalcSecX, CalcSecY
**  The tips of the three hands.
**
**  Given:
**     hour, minute, second   double   the time, as for HourToRadian,
**                                     MinToRadian and SecToRadian
**
**  Returned (function value):
**                            double   x or y of the tip of the hour
**                                     (radius 20), minute (25) or second
**                                     (32) hand, pixels, not truncated
*/
double CalcHourX(double hour, double minute) { return HandTipX(HourToRadian(hour, minute), kHourHand.radius); }
double CalcHourY(double hour, double minute) { return HandTipY(HourToRadian(hour, minute), kHourHand.radius); }
double CalcMinX(double minute, double second) { return HandTipX(MinToRadian(minute, second), kMinuteHand.radius); }
double CalcMinY(double minute, double second) { return HandTipY(MinToRadian(minute, second), kMinuteHand.radius); }
double CalcSecX(double second) { return HandTipX(SecToRadian(second), kSecondHand.radius); }
double CalcSecY(double second) { return HandTipY(SecToRadian(second), kSecondHand.radius); }

/*
**  DispClock
**  The analog clock panel.
**
**  Given:
**     object   WSCbase*   the drawing area
**
**  Notes:
**  1) Reads the clock itself (Clock_Now, the observer's civil time, whole
**     seconds), then draws the yellow dial of diameter 80 about
**     (460, 115) with its black rim, and the hour, minute and second hands,
**     each over its black shadow 2 pixels right and down.
**  2) Leaves the colour "#0000ff" and the line width 2 in force.
**
**  Called:  Clock_Now, HourToRadian, MinToRadian, SecToRadian, HandTipX,
**           HandTipY
*/
void DispClock(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));

    // 1. the clock reading
    struct tm now = Clock_Now();
    int h = now.tm_hour, m = now.tm_min, s = now.tm_sec;

    // 2. the dial and its rim
    area->setForeColor("#ffff00");
    area->setLineWidth(kDialWidth);
    area->drawFillArc(kDialX, kDialY, kDialSize, kDialSize, 0, kFullCircle, 1);
    area->setForeColor("#000000");
    area->drawArc(kDialX, kDialY, kDialSize, kDialSize, 0, kFullCircle);

    // 3. the hands, hour, minute, second
    DrawHand(area, kHourHand, HourToRadian(h, m));
    DrawHand(area, kMinuteHand, MinToRadian(m, s));
    DrawHand(area, kSecondHand, SecToRadian(s));
}
