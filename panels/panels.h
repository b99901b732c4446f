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
// (the phase angle: MoonPhaseAngle, ephem/moon.h)
// The phase angle the picture draws at latitude lat (degrees): P north of
// the equator, 360 - P south of it (the picture mirrored: the lit limb as
// seen from there).
double MoonPhaseAsSeen(double P, double lat);
// The three filled shapes of the phase P and the outline, into the disc of
// the Moon panel (radius 40 centred on (50, 115)).
void DrawMoonPhase(WSCvdrawingArea* area, double P);

// ---- planet panel (the view projection it shares with the star chart:
// panels/view_projection.h; the bodies and their names: ephem/bodies.h)
void Disp4(WSCbase* object);
// Whether the equatorial grid's samples that cannot have moved by a pixel
// since they were computed are drawn as they were (on by default; off,
// every sample is computed anew each repaint, for the tests' comparison).
void Disp4_KeepGrid(bool on);

// Computed pixel values reach the drawing operations through NarrowShort,
// NarrowUShort and NarrowLong (panels/narrow.h), which clamp and count.

// ---- star chart
void DispStar(WSCbase* object);
