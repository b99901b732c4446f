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
// The three filled shapes of the phase P and the outline, into the disc of
// the Moon panel (radius 40 centred on (50, 115)).
void DrawMoonPhase(WSCvdrawingArea* area, double P);

// ---- planet panel and the view projection it shares with the star chart
extern const char* const Pla1[8];
void Disp4(WSCbase* object);
struct tagPosition;
// Position of body index 0..6 (Moon, Mercury, Venus, Sun, Mars, Jupiter,
// Saturn) at jd as the planet panel computes it, into its shared record;
// az and el from Az_El with latitude, longitude. Returns the record.
const tagPosition* PanelBody(int index, double jd, double* az, double* el);
// Azimuth offset from the viewing azimuth, in [0, 360].
double ViewOffset(double az, double view_azimuth);
// Front half of the view: d <= 90 or d >= 270.
bool InFrontHalf(double d);
// Body variant of the view projection (bodies, figure stars).
void ViewProjectBody(double el, double d, double* px, double* py);
// Grid variant; equatorial is true for the hour and declination circles.
void ViewProjectGrid(double el, double d, bool equatorial, double* px, double* py);

// Computed pixel values reach the drawing operations through NarrowShort,
// NarrowUShort and NarrowLong (app/toolkit/ws.h), which clamp and count.

// ---- star chart
void DispStar(WSCbase* object);
