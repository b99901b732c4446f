// The main panel: one whole repaint, its rows drawn from the read-outs.
#include "app/koyomi.h"

#include <cstring>

#include "app/readout_rows.h"
#include "app/readouts.h"
#include "panels/panels.h"
#include "timecal/clock.h"
#include "timecal/time_state.h"
#include "toolkit/picture.h"
#include "toolkit/ws.h"

namespace {
// The record of the last repaint (the window's tooltips and description).
KoyomiReadouts g_shown{};
}  // namespace

const KoyomiReadouts& Koyomi_Shown() { return g_shown; }

/*
**  Koyomi_DrawRows
**  The rows the main panel draws, in order.
**
**  Given:
**     area   WSCvdrawingArea*          the drawing area
**     rows   std::vector<ReadoutRow>   as Readout_Rows gives them
**
**  Notes:
**  1) Each drawn row's text in its box; the colour is set before the first
**     row and again only where it changes.
*/
void Koyomi_DrawRows(WSCvdrawingArea* area, const std::vector<ReadoutRow>& rows)
{
    const char* color = nullptr;
    for (const ReadoutRow& row : rows) {
        if (!row.drawn) continue;
        if (!color || std::strcmp(color, row.box.color) != 0) {
            color = row.box.color;
            area->setForeColor(color);
        }
        area->drawString(row.box.x, row.box.y, row.box.w, row.box.h, 1, 0, row.text.c_str(), -2);
    }
}

/*
**  Koyomi_Pla
**  One whole repaint of the dashboard.
**
**  Given:
**     object   WSCbase*   the drawing area
**
**  Notes:
**  1) Reads the clock once and makes the read-outs record of the reading
**     (Koyomi_Readouts: the shared state reset, the date line, the kept or
**     fresh searches of the day); fills the background "#64ffff"
**     530 x 300 and draws the rows of the record (Readout_Rows: the date
**     line with the Julian day, the horizon labels of the view, the sun
**     and moon event rows, the local time, the place and the viewing
**     azimuth, the tide rows); then the panels Disp4, DispStar, DispMoon
**     and DispClock, each over the earlier ones.
**  2) Between repaints only the searches of the day are kept (and run
**     again when the date, the place or the zone changes). Hour, minute
**     and second hold the last tide row's time afterwards.
**
**  Called:  Clock_Now, Koyomi_Readouts, Readout_Rows, Koyomi_DrawRows,
**           Readout_Tide, Disp4, DispStar, DispMoon, DispClock
*/
void Koyomi_Pla(WSCbase* object)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));

    // the clock, read once; the shared state from the settings and the
    // read-outs of the reading
    struct tm now = Clock_Now();
    KoyomiReadouts r;
    Koyomi_Readouts(now, false, &r);
    g_shown = r;

    // background
    area->setForeColor(kRepaintBackground);
    area->drawFillRect(0, 0, kRepaintWidth, kRepaintHeight);

    // the rows: date line, horizon labels, events, clock, place, tides
    Koyomi_DrawRows(area, Readout_Rows(r));
    Readout_Tide(3, r.tide[7], r.at.place.longitude, r.at.place.zone, &Hour, &minute, &second);

    // the graphic panels, each over the earlier ones
    Disp4(object);
    DispStar(object);
    DispMoon(object);
    DispClock(object);
}
