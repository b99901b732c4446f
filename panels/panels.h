// The graphic panels and the routines they share.
#pragma once
class WSCbase;

// ---- analog clock
void DispClock(WSCbase* object);
double HourToRadian(double hour, double minute);
double MinToRadian(double minute, double second);
double CalcHourX(double hour, double minute);
double CalcHourY(double hour, double minute);
double CalcMinX(double minute, double second);
double CalcMinY(double minute, double second);
double CalcSecX(double second);
double CalcSecY(double second);

// ---- Moon phase
void DispMoon(WSCbase* widget);
class WSCvdrawingArea;
// Phase angle P of the Moon, degrees in [0, 360] (0 new, 90 first quarter,
// 180 full, 270 last quarter), from the ecliptic longitudes of the Moon and
// the Sun (degrees), the Sun's distance (AU) and the Moon's (Earth radii).
double MoonPhaseAngle(double lam_moon, double lam_sun, double sun_dist, double moon_dist);
// The phase angle the picture draws at latitude lat (degrees): P north of
// the equator, 360 - P south of it (the picture mirrored: the lit limb as
// seen from there).
double MoonPhaseAsSeen(double P, double lat);
// The three filled shapes of the phase P and the outline, into the disc of
// the Moon panel (radius 40 centred on (50, 115)).
void DrawMoonPhase(WSCvdrawingArea* area, double P);

// ---- planet panel (the view projection and the bodies it shares with the
// star chart and the almanac: panels/view_projection.h)
extern const char* const Pla1[8];
void Disp4(WSCbase* object);

// Computed pixel values reach the drawing operations through NarrowShort,
// NarrowUShort and NarrowLong (toolkit/ws.h), which clamp and count.

// ---- star chart
void DispStar(WSCbase* object);
