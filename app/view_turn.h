// The window's view keys: ← and → turn the view by 15 degrees (with Shift
// by 90), Home returns it to the setting, and the mouse wheel over the sky
// turns it by 15 degrees; the picture repaints at once. Nothing is saved.
#pragma once
class WSCbase;
struct WSEvent;

constexpr double kViewStep = 15.0;       // degrees a key or wheel step turns
constexpr double kViewShiftStep = 90.0;  // with Shift

// The azimuth Home returns to: the setting at start (kObserverDefaults.azmt
// until the settings are applied).
void View_SetHome(double azimuth);
double View_Home();

// azimuth + degrees, taken into (-180, 180].
double View_Turned(double azimuth, double degrees);
// The point (x, y) of the picture lies in the sky view.
bool View_OverSky(int x, int y);
// A key or wheel event applied to the view; true when it is one of the view's.
bool View_Apply(const WSEvent& event, double* azimuth);

// view_turn: the procedure of the area's key and wheel triggers: turns
// m_input_azmt by the event and asks for a repaint.
void view_turn(WSCbase* object);
