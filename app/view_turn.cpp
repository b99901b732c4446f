// The window's view keys and wheel (view_turn.h).
#include "app/view_turn.h"

#include <cmath>

#include "toolkit/ws.h"
#include "panels/display_settings.h"
#include "panels/view_projection.h"
#include "timecal/observer.h"

namespace {
double g_home = kObserverDefaults.azmt;
}

/*
**  View_SetHome, View_Home
**  The azimuth Home returns to (the setting applied at start).
*/
void View_SetHome(double azimuth) { g_home = azimuth; }
double View_Home() { return g_home; }

/*
**  View_Turned
**  The view turned: azimuth + degrees taken into (-180, 180] (never -0).
*/
double View_Turned(double azimuth, double degrees)
{
    double a = azimuth + degrees;
    a -= 360 * std::floor(a / 360);  // [0, 360]
    if (a > 180) a -= 360;
    return a + 0.0;  // never -0
}

/*
**  View_OverSky
**  A point of the picture within the sky view.
**
**  Given:
**     x, y   int   pixels of the drawing area
**
**  Returned (function value):
**          bool    true within 90 degrees of the view's centre
**                  (m_input_center_x, m_input_center_y): the radius of
**                  ViewRadius(90), about 180 pixels
*/
bool View_OverSky(int x, int y)
{
    const double dx = x - m_input_center_x, dy = y - m_input_center_y;
    const double r = ViewRadius(90.0);
    return dx * dx + dy * dy <= r * r;
}

/*
**  View_Apply
**  A key press or a turn of the wheel applied to the view.
**
**  Given:
**     e         const WSEvent&   the event of a key or wheel procedure
**
**  Given and returned:
**     azimuth   double*          the view, degrees
**
**  Returned (function value):
**               bool             true when the event is one of the view's
**
**  Notes:
**  1) Left and Right turn by 15 degrees (Shift: 90), Home sets the home
**     azimuth; the wheel turns by 15 degrees (up: toward the west) only
**     over the sky (View_OverSky). Other keys and a wheel elsewhere leave
**     the azimuth.
**
**  Called:  View_Turned, View_OverSky
*/
bool View_Apply(const WSEvent& e, double* azimuth)
{
    if (e.trigger == WSEV_KEY_PRESS) {
        const double step = e.shift ? kViewShiftStep : kViewStep;
        switch (e.key) {
        case WSKey::Left: *azimuth = View_Turned(*azimuth, -step); return true;
        case WSKey::Right: *azimuth = View_Turned(*azimuth, step); return true;
        case WSKey::Home: *azimuth = g_home; return true;
        default: return false;
        }
    }
    if (e.trigger == WSEV_MOUSE_WHEEL && e.wheel != 0 && View_OverSky(e.x, e.y)) {
        *azimuth = View_Turned(*azimuth, e.wheel > 0 ? kViewStep : -kViewStep);
        return true;
    }
    return false;
}

/*
**  view_turn
**  The procedure bound to the drawing area's keys and mouse wheel.
**
**  Given:
**     object   WSCbase*   the drawing area; its event() is the key or wheel
**
**  Notes:
**  1) Applies the event to m_input_azmt (View_Apply) and asks the area for
**     a repaint when the view turned. Nothing is saved.
*/
void view_turn(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));
    if (area && View_Apply(area->event(), &m_input_azmt)) area->askRepaint();
}
