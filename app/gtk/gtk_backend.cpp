// The toolkit layer on GTK 3: the main windows and their drawing areas are
// realised as GTK widgets after the init handlers have run; every expose
// repaints the area through the one Cairo painter; periodic timers become a
// tick aligned to the wall clock's second; the windows belong to the
// application, whose loop ends when the last one closes. A lost connection
// to the X display ends the program with a message.
#include "app/gtk/gtk_backend.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#endif
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>

#include "app/cairo/cairo_painter.h"
#include "app/toolkit/ws.h"
#include "app/gtk/application.h"
#include "timecal/clock.h"

namespace {

constexpr int kTickPeriodMs = 1000;  // rate 2: once a second
constexpr int kExitFailure = 1;      // no display, or the display lost

// The painter of every expose, made once the display is open.
CairoPainter* g_painter = nullptr;
// Widgets of the realised objects (windows and drawing areas).
std::map<const WSCbase*, GtkWidget*> g_widgets;

// ---- the tick

struct Tick {
    void (*proc)(unsigned char, void*);
    unsigned char rate;
    void* data;
    bool periodic = false;
    int64_t last_second = std::numeric_limits<int64_t>::min();
};

gboolean OnTick(gpointer p);

// ---- the test tick
//
// Tests only: TENMADO_TEST_TICK_MS=N (1 to 1000) makes the repaint timer
// tick every N ms instead of once a second of the wall clock, and every tick
// moves the clock on by one second, so the window shows in seconds the
// repaints of minutes. A tick waits for the repaint of the one before (ticks
// while a repaint is pending do nothing), so ticks and repaints are one to
// one; their count goes to stderr at the end.
int TestTickMs()
{
    const char* v = std::getenv("TENMADO_TEST_TICK_MS");
    const long ms = v ? std::strtol(v, nullptr, 10) : 0;
    return ms >= 1 && ms <= 1000 ? static_cast<int>(ms) : 0;
}
bool g_drawn = true;    // the last test tick's repaint has happened
long g_test_ticks = 0;

gboolean OnTestTick(gpointer p)
{
    if (!g_drawn) return G_SOURCE_CONTINUE;
    g_drawn = false;
    ++g_test_ticks;
    Clock_Fix(Clock_CivilSeconds() + 1);
    Tick* t = static_cast<Tick*>(p);
    t->proc(t->rate, t->data);
    return G_SOURCE_CONTINUE;
}

void ArmOneShot(Tick* t)
{
    t->periodic = false;
    g_timeout_add(static_cast<guint>(WSTickDelayMs(g_get_real_time())), OnTick, t);
}

// Method: a tick runs the handler once for every new wall-clock second (a
// tick that comes early, still in the second already shown, runs nothing).
// A tick in time keeps (or starts) the periodic timeout; a late one, or an
// early one, arms a one-shot to the next tick instant instead.
gboolean OnTick(gpointer p)
{
    Tick* t = static_cast<Tick*>(p);
    const int64_t now = g_get_real_time();
    const int64_t second = WSTickSecond(now);
    const bool fresh = second != t->last_second;
    if (fresh) {
        t->last_second = second;
        t->proc(t->rate, t->data);
    }
    const bool aligned = fresh && WSTickPhase(now) <= kTickResyncUs;
    if (aligned && t->periodic) return G_SOURCE_CONTINUE;
    if (aligned) {
        t->periodic = true;
        g_timeout_add(kTickPeriodMs, OnTick, t);
    } else {
        ArmOneShot(t);
    }
    return G_SOURCE_REMOVE;
}

// ---- expose

// The area is painted into an image of its own size, then copied to the
// window in one operation: the painter then sets one-pixel lines directly in
// the image, and the X server receives one picture instead of thousands of
// strokes.
cairo_surface_t* g_image = nullptr;

gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer p)
{
    WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(p);
    const int w = gtk_widget_get_allocated_width(widget);
    const int h = gtk_widget_get_allocated_height(widget);
    if (!g_image || cairo_image_surface_get_width(g_image) != w ||
        cairo_image_surface_get_height(g_image) != h) {
        if (g_image) cairo_surface_destroy(g_image);
        g_image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    }
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    cairo_t* icr = cairo_create(g_image);
    cairo_rectangle(icr, x1, y1, x2 - x1, y2 - y1);
    cairo_clip(icr);
    g_painter->begin(icr);
    area->repaint(g_painter);
    g_painter->end();
    cairo_destroy(icr);
    cairo_set_source_surface(cr, g_image, 0, 0);
    cairo_paint(cr);
    CairoWarnMissingGlyphs(*g_painter);
    g_drawn = true;
    return TRUE;
}

class GtkBackend : public WSBackend {
public:
    void askRepaint(WSCvdrawingArea* area) override
    {
        auto it = g_widgets.find(area);
        if (it != g_widgets.end()) gtk_widget_queue_draw(it->second);
    }
    void addTimer(void (*proc)(unsigned char, void*), unsigned char rate, void* data) override
    {
        Tick* t = new Tick{proc, rate, data};  // lives as long as the program
        if (const int ms = TestTickMs()) g_timeout_add(static_cast<guint>(ms), OnTestTick, t);
        else ArmOneShot(t);
    }
    void setVisible(WSCbase* object, bool visible) override
    {
        // Before realisation the object keeps the flag; realising shows it.
        auto it = g_widgets.find(object);
        if (it == g_widgets.end()) return;
        if (visible) gtk_widget_show_all(it->second);
        else gtk_widget_hide(it->second);
    }
};

GtkBackend g_backend;

// A destroyed widget leaves the map: a tick between the window's close and
// the end of the loop finds no widget to repaint.
void OnWidgetDestroyed(GtkWidget*, gpointer object) { g_widgets.erase(static_cast<const WSCbase*>(object)); }

// Method: the window gets the title (Shift_JIS property, shown as UTF-8),
// the position and the client size of its properties. Its drawing areas sit
// in a GtkLayout, which does not ask for its children's size, so an area
// larger than the window (559 x 309 in 530 x 257) leaves the window its size
// and shows the area's top-left part.
void RealiseWindow(WSCmainWindow* w)
{
    if (g_widgets.count(w)) return;
    GtkWidget* win = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    WSGtkAdoptWindow(GTK_WINDOW(win));
    const std::string title = w->stringProperty(_WSNtitleString());
    gtk_window_set_title(GTK_WINDOW(win), SjisToUtf8(title.data(), title.size()).c_str());
    gtk_window_move(GTK_WINDOW(win), static_cast<int>(w->intProperty(_WSNx(), 0)),
                    static_cast<int>(w->intProperty(_WSNy(), 0)));
    gtk_window_set_default_size(GTK_WINDOW(win), static_cast<int>(w->intProperty(_WSNwidth(), 530)),
                                static_cast<int>(w->intProperty(_WSNheight(), 257)));
    GtkWidget* layout = gtk_layout_new(nullptr, nullptr);
    gtk_container_add(GTK_CONTAINER(win), layout);
    for (WSCbase* child : w->children()) {
        WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(child->viewAsClass("WSCvdrawingArea"));
        if (!area) continue;
        const int aw = static_cast<int>(area->intProperty(_WSNwidth(), 100));
        const int ah = static_cast<int>(area->intProperty(_WSNheight(), 100));
        GtkWidget* da = gtk_drawing_area_new();
        gtk_widget_set_size_request(da, aw, ah);
        gtk_layout_put(GTK_LAYOUT(layout), da, static_cast<int>(area->intProperty(_WSNx(), 0)),
                       static_cast<int>(area->intProperty(_WSNy(), 0)));
        gtk_layout_set_size(GTK_LAYOUT(layout), static_cast<guint>(aw), static_cast<guint>(ah));
        g_signal_connect(da, "draw", G_CALLBACK(OnDraw), area);
        if (area->intProperty(_WSNvis(), 1) == 0) gtk_widget_set_no_show_all(da, TRUE);
        g_widgets[area] = da;
        g_signal_connect(da, "destroy", G_CALLBACK(OnWidgetDestroyed), area);
    }
    g_widgets[w] = win;
    g_signal_connect(win, "destroy", G_CALLBACK(OnWidgetDestroyed), w);
    if (w->visible()) gtk_widget_show_all(win);
}

#ifdef GDK_WINDOWING_X11
// The X server has gone (killed, or the connection broken): one line, then
// the end, as GDK's own handler ends the program (_exit: nothing more may
// talk to the dead connection).
int OnDisplayLost(Display* display)
{
    std::fprintf(stderr, "tenmado: lost the connection to the display %s\n",
                 display ? DisplayString(display) : "");
    _exit(kExitFailure);
}
#endif

}  // namespace

bool WSGtkOpenDisplay(std::string* why)
{
    static int state = 0;  // 0 not tried, 1 open, 2 none
    if (state == 0) {
        // GTK would set every locale category from the environment; the
        // read-outs format numbers with printf and need the C locale's point.
        gtk_disable_setlocale();
        state = gtk_init_check(nullptr, nullptr) ? 1 : 2;
#ifdef GDK_WINDOWING_X11
        // after GDK's, which is silent
        if (state == 1 && GDK_IS_X11_DISPLAY(gdk_display_get_default())) XSetIOErrorHandler(OnDisplayLost);
#endif
    }
    if (state == 2 && why) {
        const char* display = g_getenv("DISPLAY");
        *why = (display && *display) ? std::string("cannot open display '") + display + "'"
                                     : std::string("no display (DISPLAY is not set)");
    }
    return state == 1;
}

int _win_main(void*, void*, char*, int)
{
    std::string why;
    if (!WSGtkOpenDisplay(&why)) {
        std::fprintf(stderr, "tenmado: %s\n", why.c_str());
        return kExitFailure;
    }
    // The application's first activation runs the init handlers and realises
    // the windows; the loop ends with the last window.
    const int status = WSGtkRunApplication([] {
        g_painter = new CairoPainter();
        WSSetBackend(&g_backend);
        WSDappDev::runInitHandlers();
        for (WSCmainWindow* w : WSCmainWindow::all()) RealiseWindow(w);
    });
    if (TestTickMs()) std::fprintf(stderr, "tenmado: %ld test ticks\n", g_test_ticks);
    return status;
}
