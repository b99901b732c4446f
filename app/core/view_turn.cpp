// The window's view keys and wheel (view_turn.h).
#include "app/core/view_turn.h"

#include <cmath>

#include "app/core/settings.h"
#include "app/toolkit/ws.h"
#include "panels/view_projection.h"

namespace {
double g_home = kObserverDefaults.azmt;
}

void View_SetHome(double azimuth) { g_home = azimuth; }
double View_Home() { return g_home; }

double View_Turned(double azimuth, double degrees)
{
    double a = azimuth + degrees;
    a -= 360 * std::floor(a / 360);  // [0, 360]
    if (a > 180) a -= 360;
    return a + 0.0;  // never -0
}

bool View_OverSky(int x, int y)
{
    const double dx = x - m_input_center_x, dy = y - m_input_center_y;
    const double r = ViewRadius(90.0);
    return dx * dx + dy * dy <= r * r;
}

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

void view_turn(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));
    if (area && View_Apply(area->event(), &m_input_azmt)) area->askRepaint();
}
