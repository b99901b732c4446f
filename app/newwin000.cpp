// Start-up, second unit: the main window "天窓" with its drawing area, the
// repaint procedure `draw` (registered by name at static initialisation) and
// the periodic timer that keeps the picture moving.
#include "app/koyomi.h"
#include "app/newproject.h"
#include "app/view_turn.h"
#include "toolkit/ws.h"

namespace {

// ---- window and area geometry, pixels
constexpr short kWindowX = 100;
constexpr short kWindowY = 100;
constexpr unsigned short kWindowWidth = 530;   // client size
constexpr unsigned short kWindowHeight = 257;
constexpr unsigned short kAreaWidth = 559;
constexpr unsigned short kAreaHeight = 309;
// ---- toolkit codes
constexpr char kTitleBar = 3;
constexpr unsigned char kTimerRate = 2;        // the backend ticks once a second
constexpr long kPrivateTimerMs = 1000;
void* const kPrivateTimerData = reinterpret_cast<void*>(1234);

WSDprivateTimer* _timer = nullptr;

// Registers `draw` under its name; lives until the program exits.
const WSCfunctionRegister op("draw", reinterpret_cast<void*>(draw));

}  // namespace

WSCmainWindow* newwin000 = nullptr;
WSCvdrawingArea* newvdra_000 = nullptr;

/*
**  _create_win_newwin000
**  The third init handler: the main window and its drawing area.
**
**  Returned:
**     newwin000, newvdra_000   the window "天窓" and its drawing area
**
**  Notes:
**  1) The main window's properties in this order: name, title "天窓",
**     x 100, y 100, width 530, height 257, title bar, visible, detail,
**     pixmap style; the area's: pixmap, name, visible, detail, width 559,
**     height 309. The expose procedure binds `draw` to the area's
**     repaint, the key and wheel procedures `view_turn` to its keys and
**     mouse wheel; then the window is shown.
*/
void _create_win_newwin000()
{
    newwin000 = new WSCmainWindow(nullptr, "newwin000");
    newwin000->completeCreation();
    newwin000->setPropertyV(_WSNname(), "newwin000");
    newwin000->setPropertyV(_WSNtitleString(), "天窓");
    newwin000->setPropertyV(_WSNx(), kWindowX);
    newwin000->setPropertyV(_WSNy(), kWindowY);
    newwin000->setPropertyV(_WSNwidth(), kWindowWidth);
    newwin000->setPropertyV(_WSNheight(), kWindowHeight);
    newwin000->setPropertyV(_WSNtitleBar(), kTitleBar);
    newwin000->setPropertyV(_WSNvis(), static_cast<unsigned char>(1));
    newwin000->setPropertyV(_WSNdet(), static_cast<unsigned char>(0));
    newwin000->setPropertyV(_WSNpixmapStyle(), static_cast<unsigned char>(1));

    newvdra_000 = new WSCvdrawingArea(newwin000, "newvdra_000");
    newvdra_000->completeCreation();
    newvdra_000->setPropertyV(_WSNusePixmap(), static_cast<unsigned char>(1));
    newvdra_000->setPropertyV(_WSNname(), "newvdra_000");
    newvdra_000->setPropertyV(_WSNvis(), static_cast<unsigned char>(1));
    newvdra_000->setPropertyV(_WSNdet(), static_cast<unsigned char>(0));
    newvdra_000->setPropertyV(_WSNwidth(), kAreaWidth);
    newvdra_000->setPropertyV(_WSNheight(), kAreaHeight);

    WSCprocedure* ep = new WSCprocedure("new_ep", WSEV_EXPOSE);  // runs at every repaint
    ep->setFunction(draw, "draw");
    newvdra_000->bindProcedure(ep);
    WSCprocedure* kp = new WSCprocedure("new_kp", WSEV_KEY_PRESS);  // ← → Home turn the view
    kp->setFunction(view_turn, "view_turn");
    newvdra_000->bindProcedure(kp);
    WSCprocedure* wp = new WSCprocedure("new_wp", WSEV_MOUSE_WHEEL);  // so does the wheel
    wp->setFunction(view_turn, "view_turn");
    newvdra_000->bindProcedure(wp);

    newwin000->setVisible(1);
}

/*
**  draw
**  The repaint procedure of the drawing area.
**
**  Given:
**     object   WSCbase*   the drawing area
**
**  Notes:
**  1) The first call registers the periodic timer (first-call flag i: 1
**     until then, 2 after) with the area as its data; every call paints
**     the whole picture.
**
**  Called:  WSGIappTimer, Koyomi_Pla
*/
void draw(WSCbase* object)
{
    static int i = 1;
    if (i == 1) WSGIappTimer()->addTimerProc(timerHandler, kTimerRate, object);
    i = 2;
    Koyomi_Pla(object);
}

/*
**  timerHandler
**  The periodic timer's procedure: every tick asks the drawing area (data)
**  for a repaint; the repaint itself comes through draw.
*/
void timerHandler(unsigned char, void* data)
{
    WSCbase* object = static_cast<WSCbase*>(data);
    static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"))->askRepaint();
}

/*
**  timer_start
**  A private one-second timer, run (mode 1) or halted (any other mode).
**
**  Notes:
**  1) Created on the first call; its work procedure _timer_proc does
**     nothing. Nothing calls timer_start.
*/
void timer_start(int mode)
{
    if (_timer == nullptr) {
        _timer = WSDprivateTimer::getNewInstance();
        _timer->setRate(kPrivateTimerMs);
    }
    if (mode == 1) {
        _timer->setWorkProc(_timer_proc, kPrivateTimerData);
        _timer->setCont(1);
        _timer->runTimer();
    } else {
        _timer->haltTimer();
    }
}

/*
**  _timer_proc, event_procedure
**  Empty procedures: the private timer's work procedure and an event
**  procedure that nothing binds.
*/
void _timer_proc(void*) {}

void event_procedure(WSCbase*) {}
