// The toolkit layer on GTK 3: the main windows and their drawing areas are
// realised as GTK widgets after the init handlers have run; every expose,
// and every tick's repaint (on X11 drawn at once, outside GTK's frame cycle),
// repaints the area through the one Cairo painter, at the size of the window
// and the device's resolution; periodic timers become a tick aligned to the
// wall clock's second; key presses and the mouse wheel go to the procedures
// bound to the areas; the windows belong to the application, whose loop
// ends when the last one closes. A lost connection to the X display ends
// the program with a message.
#include "shell/gtk/gtk_backend.h"
#include "shell/gtk/preferences.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <limits>
#include <map>
#include <unordered_map>
#include <vector>

#include "app/i18n.h"
#include "shell/cairo/cairo_painter.h"
#include "shell/cairo/frame_damage.h"
#include "shell/gtk/application.h"
#include "shell/gtk/window_shell.h"
#include "timecal/clock.h"
#include "toolkit/picture.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"

namespace {

constexpr int kTickPeriodMs = 1000;  // rate 2: once a second
// Beside and below the picture: its own background colour continued, so a
// window of another shape than the picture shows no band of another colour.
constexpr double kBesideRgb[3] = {(kRepaintBackgroundRgb >> 16) / 255.0,
                                   (kRepaintBackgroundRgb >> 8 & 0xff) / 255.0,
                                   (kRepaintBackgroundRgb & 0xff) / 255.0};
constexpr int kExitFailure = 1;      // no display, or the display lost
constexpr size_t kShownMax = 80;     // bytes of a display's name quoted in a message

// The painter of every expose, made once the display is open.
CairoPainter* g_painter = nullptr;
// Widgets of the realised objects (windows and drawing areas).
std::map<const WSCbase*, GtkWidget*> g_widgets;
struct AreaView;
// The views of the realised drawing areas.
std::map<const WSCbase*, const AreaView*> g_views;

// ---- the tick

struct Tick {
    void (*proc)(unsigned char, void*);
    unsigned char rate;
    void* data;
    bool periodic = false;
    int64_t last_second = std::numeric_limits<int64_t>::min();
};

gboolean OnTick(gpointer p);
void RunTick(Tick* t);

// Once, when the window's clock has run to the end of the calendar.
void SayIfClockStopped()
{
    static bool said = false;
    if (said || !Clock_Stopped()) return;
    said = true;
    I18n_Print(_("the clock stops at 9999-12-31 23:59:59, the end of its calendar"));
}

// ---- the test tick
//
// Tests only (WSGtkSetTestTick, the tests' binary): N ms (1 to 1000) makes the repaint timer
// tick every N ms instead of once a second of the wall clock, and every tick
// moves the clock on by one second, so the window shows in seconds the
// repaints of minutes. A tick waits for the repaint of the one before (ticks
// while a repaint is pending do nothing), so ticks and repaints are one to
// one; their count goes to stderr at the end.
int g_test_tick_ms = 0;  // 0: the wall clock's second
bool g_test_preferences = false;  // the tests' binary: open the Preferences window at start
int TestTickMs() { return g_test_tick_ms; }
bool g_drawn = true;    // the last test tick's repaint has happened
long g_test_ticks = 0;

const char* g_test_hold = nullptr;  // while this file exists, test ticks wait
int g_test_repaint_cpu = 0;         // WSGtkSetTestRepaintCpu

// CPU time of the calling thread, microseconds.
double ThreadCpuMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

gboolean OnTestTick(gpointer p)
{
    if (!g_drawn) return G_SOURCE_CONTINUE;
    if (g_test_hold && g_file_test(g_test_hold, G_FILE_TEST_EXISTS)) return G_SOURCE_CONTINUE;
    g_drawn = false;
    ++g_test_ticks;
    Clock_Step(1);
    Tick* t = static_cast<Tick*>(p);
    RunTick(t);
    SayIfClockStopped();
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
        RunTick(t);
        SayIfClockStopped();
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

// A drawing area on the screen, and the window size that shows its picture
// at scale 1 (the window's stated size).
struct AreaView {
    WSCvdrawingArea* area;
    int base_width, base_height;
};

// The area is painted into an image of its size in device pixels, then
// copied to the window in one operation: the painter then sets one-pixel
// lines directly in the image, and the display server receives one picture
// instead of thousands of strokes.
cairo_surface_t* g_image = nullptr;

// ---- the kept picture
//
// The repaint's computation runs every second and its drawing calls are
// recorded; the image keeps the picture painted from the calls before.
// Where the new calls differ from those (FrameDamage), only those
// rectangles are painted again, each on a small surface of its own that
// holds every antialiased shape and text reaching it whole (PlanRepaint),
// and only they are invalidated, so GTK and the display server copy no
// more. Every pixel of the image is then what a whole repaint of the new
// second paints. A new size or scale factor, or an expose that no tick asked
// for (Preferences, a window uncovered), computes the calls again in the
// draw handler; a new size or scale paints the whole image.
bool g_kept_on = false;  // measured slower than the whole repaint (docs/PERFORMANCE.md)
struct Kept {
    Recorder frames[2];
    int shown = -1;                     // frames[shown]: the calls of the image's picture
    bool fresh = false;                 // calls computed since the last draw
    bool image_valid = false;           // the image holds frames[shown] at fit
    PictureFit fit{0, 0, 0, 0};
    std::vector<DeviceRect> pending;    // damage not yet painted (the picture's device pixels)
} g_kept;

bool SameFit(const PictureFit& a, const PictureFit& b)
{
    return a.scale == b.scale && a.x == b.x && a.width == b.width && a.height == b.height;
}

PictureFit FitOf(GtkWidget* widget, const AreaView* view, int* factor)
{
    *factor = std::max(1, gtk_widget_get_scale_factor(widget));
    return FitPicture(gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget),
                      *factor, view->base_width, view->base_height);
}

// The device box of a text, laid out by the window's painter at the scale
// it last painted at (the kept image's).
// Kept by the text and its place at the scale (most texts stay from one
// second to the next).
std::unordered_map<std::string, DeviceRect> g_text_boxes;
double g_text_boxes_scale = 0;
bool TextBox(const DrawCall& c, DeviceRect* r)
{
    constexpr size_t kTextBoxesKept = 4096;
    const double scale = g_kept.fit.scale;
    if (scale != g_text_boxes_scale || g_text_boxes.size() > kTextBoxesKept) {
        g_text_boxes.clear();
        g_text_boxes_scale = scale;
    }
    std::string key(reinterpret_cast<const char*>(c.a), 4 * sizeof(int));
    key += c.text;
    const auto it = g_text_boxes.find(key);
    if (it != g_text_boxes.end()) {
        *r = it->second;
        return true;
    }
    int b[4];
    if (!g_painter->textInkBox(c.a[0], c.a[1], c.a[3], c.text.data(), c.text.size(), b)) return false;
    *r = DeviceRect{b[0], b[1], b[2], b[3]};
    g_text_boxes.emplace(std::move(key), *r);
    return true;
}

// The repaint's computation into the next recorder; its damage against the
// calls shown joins the pending damage. Returns the new damage.
std::vector<DeviceRect> ComputeFrame(const AreaView* view)
{
    const int next = g_kept.shown == 0 ? 1 : 0;
    Recorder& rec = g_kept.frames[next];
    rec.clear();
    view->area->repaint(&rec);
    std::vector<DeviceRect> damage;
    if (g_kept.shown >= 0 && g_kept.image_valid)
        damage = FrameDamage(g_kept.frames[g_kept.shown].calls, rec.calls, g_kept.fit.scale, TextBox);
    g_kept.shown = next;
    g_kept.fresh = true;
    g_kept.pending.insert(g_kept.pending.end(), damage.begin(), damage.end());
    return damage;
}

// The tick's repaint with the kept picture: computed now, and only its
// damage invalidated (in the widget's pixels, grown outward); nothing
// changed, nothing is drawn, and what follows a repaint follows now.
void AskKeptRepaint(GtkWidget* widget, const AreaView* view)
{
    int factor = 1;
    const PictureFit fit = FitOf(widget, view, &factor);
    if (!gtk_widget_get_realized(widget) || !g_kept.image_valid || !SameFit(fit, g_kept.fit)) {
        g_kept.image_valid = false;
        ComputeFrame(view);
        gtk_widget_queue_draw(widget);
        return;
    }
    const std::vector<DeviceRect> damage = MergeRects(ComputeFrame(view), 1024, 32);
    if (damage.empty()) {
        WindowShell_Painted();
        g_drawn = true;
        return;
    }
    for (const DeviceRect& r : damage) {
        const int x1 = (fit.x + r.x1) / factor, y1 = r.y1 / factor;
        const int x2 = (fit.x + r.x2 + factor - 1) / factor, y2 = (r.y2 + factor - 1) / factor;
        gtk_widget_queue_draw_area(widget, x1, y1, x2 - x1, y2 - y1);
    }
}

// The calls of frames[shown] drawn into the image within the picture,
// whole, as the painter draws them straight (fit: the picture's place).
void PaintWholeKept(cairo_t* icr, const PictureFit& fit)
{
    cairo_save(icr);
    cairo_translate(icr, fit.x, 0);
    cairo_rectangle(icr, 0, 0, fit.width, fit.height);
    cairo_clip(icr);
    g_painter->begin(icr, fit.scale);
    ReplayCalls(g_kept.frames[g_kept.shown].calls, g_painter);
    g_painter->end();
    cairo_restore(icr);
}

// The pending damage painted into the image, rectangle by rectangle.
void PaintDamageKept(const PictureFit& fit)
{
    const std::vector<DrawCall>& calls = g_kept.frames[g_kept.shown].calls;
    PaintPlan(g_image, fit.x, 0, calls, PlanRepaint(g_kept.pending, calls, fit.scale, TextBox), fit.scale,
              g_painter, TextBox);
}

// The image to the window at one device pixel per pixel (GTK's clip: the
// exposed part), and what follows a repaint.
void ShowImage(cairo_t* cr, int factor)
{
    cairo_save(cr);
    cairo_scale(cr, 1.0 / factor, 1.0 / factor);
    cairo_set_source_surface(cr, g_image, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    CairoWarnMissingGlyphs(*g_painter);
    WindowShell_Painted();
    if (g_test_hold) {
        const struct tm t = Clock_Fields(Clock_CivilSeconds());
        std::fprintf(stderr, "tenmado: painted %04d-%02d-%02d %02d:%02d:%02d\n", t.tm_year + 1900, t.tm_mon + 1,
                     t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    }
    g_drawn = true;
}

// Method: the picture's scale and place from the area's size and the
// device's scale factor (FitPicture); the image is the area in device
// pixels; the exposed part of it is filled with the background beside and
// below the picture, and the picture painted at its scale, clipped to
// itself; the image goes to the window at one device pixel per pixel. With
// the kept picture, the image is painted whole only when it is new (or the
// picture's place in it changed), else only the damage pending.
gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer p)
{
    const AreaView* view = static_cast<const AreaView*>(p);
    const int factor = std::max(1, gtk_widget_get_scale_factor(widget));
    const int w = gtk_widget_get_allocated_width(widget);
    const int h = gtk_widget_get_allocated_height(widget);
    const int dw = w * factor, dh = h * factor;
    bool resized = false;
    if (!g_image || cairo_image_surface_get_width(g_image) != dw ||
        cairo_image_surface_get_height(g_image) != dh) {
        if (g_image) cairo_surface_destroy(g_image);
        g_image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, dw, dh);
        resized = true;
    }
    const PictureFit fit = FitPicture(w, h, factor, view->base_width, view->base_height);
    if (g_kept_on) {
        // the kept image: a new size or scale, or an image not painted yet,
        // is painted whole; otherwise only the damage, and the window's
        // exposed part copied from the image
        if (!SameFit(fit, g_kept.fit) || !g_image || resized) g_kept.image_valid = false;
        g_kept.fit = fit;
        if (!g_kept.fresh || g_kept.shown < 0) ComputeFrame(view);
        if (g_kept.image_valid) {
            PaintDamageKept(fit);
            g_kept.pending.clear();
            g_kept.fresh = false;
            ShowImage(cr, factor);
            return TRUE;
        }
        g_kept.pending.clear();
        g_kept.fresh = false;
        g_kept.image_valid = true;
    }
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    if (g_kept_on) {
        // the whole image
        x1 = y1 = 0;
        x2 = w;
        y2 = h;
    }
    cairo_t* icr = cairo_create(g_image);
    cairo_rectangle(icr, std::floor(x1 * factor), std::floor(y1 * factor),
                    std::ceil(x2 * factor) - std::floor(x1 * factor),
                    std::ceil(y2 * factor) - std::floor(y1 * factor));
    cairo_clip(icr);
    if (fit.x > 0 || fit.width < dw || fit.height < dh) {
        cairo_set_source_rgb(icr, kBesideRgb[0], kBesideRgb[1], kBesideRgb[2]);
        cairo_rectangle(icr, 0, 0, fit.x, dh);
        cairo_rectangle(icr, fit.x + fit.width, 0, std::max(0, dw - fit.x - fit.width), dh);
        cairo_rectangle(icr, fit.x, fit.height, fit.width, std::max(0, dh - fit.height));
        cairo_fill(icr);
    }
    if (g_kept_on) {
        PaintWholeKept(icr, fit);
    } else {
        cairo_translate(icr, fit.x, 0);
        cairo_rectangle(icr, 0, 0, fit.width, fit.height);
        cairo_clip(icr);
        g_painter->begin(icr, fit.scale);
        const double cpu = g_test_repaint_cpu > 0 ? ThreadCpuMicroseconds() : 0;
        view->area->repaint(g_painter);
        if (g_test_repaint_cpu > 0) {
            // the repaint as the window runs it, and (2) the same repaint
            // again at once, with everything it touches fresh in the caches
            const double first = ThreadCpuMicroseconds() - cpu;
            std::fprintf(stderr, "tenmado: repaint cpu %.0f us\n", first);
            if (g_test_repaint_cpu == 2) {
                const double again = ThreadCpuMicroseconds();
                view->area->repaint(g_painter);
                std::fprintf(stderr, "tenmado: repaint again cpu %.0f us\n", ThreadCpuMicroseconds() - again);
            }
        }
        g_painter->end();
    }
    cairo_destroy(icr);
    ShowImage(cr, factor);
    return TRUE;
}

// ---- the tick's repaint, drawn at once
//
// A repaint the tick asks for is drawn at once into the area's window,
// through the draw handler, on X11 (gdk_window_begin_draw_frame, with GDK's
// own double buffer), not through GTK's frame cycle: the cycle (the frame
// clock, the widget tree's drawing, its styles) cost a window that repaints
// once a second as much CPU again as the drawing itself (docs/PERFORMANCE.md).
// The window's other repaints (an expose, a new size, Preferences, a key)
// go through GTK as before, as does every repaint on another display
// (Wayland commits a frame only in the frame cycle), with the kept picture,
// and of a window GTK would not draw (hidden, not mapped, minimised).
bool g_draw_at_once = true;               // WSGtkSetFrameCycle
bool g_in_tick = false;                   // the tick's procedure is running
// the areas it asked to repaint
std::vector<std::pair<GtkWidget*, const AreaView*>> g_tick_repaints;

bool CanDrawAtOnce(GtkWidget* widget)
{
#ifdef GDK_WINDOWING_X11
    GdkWindow* w = gtk_widget_get_window(widget);
    if (!w || !gtk_widget_is_drawable(widget) || !gtk_widget_get_has_window(widget) ||
        !GDK_IS_X11_DISPLAY(gdk_window_get_display(w)) || !gdk_window_is_viewable(w))
        return false;
    return (gdk_window_get_state(gdk_window_get_toplevel(w)) &
            (GDK_WINDOW_STATE_WITHDRAWN | GDK_WINDOW_STATE_ICONIFIED)) == 0;
#else
    (void)widget;
    return false;
#endif
}

// The whole area drawn now, as an expose of all of it draws it.
void DrawAtOnce(GtkWidget* widget, const AreaView* view)
{
    GdkWindow* w = gtk_widget_get_window(widget);
    const cairo_rectangle_int_t all{0, 0, gdk_window_get_width(w), gdk_window_get_height(w)};
    cairo_region_t* region = cairo_region_create_rectangle(&all);
    GdkDrawingContext* context = gdk_window_begin_draw_frame(w, region);
    cairo_region_destroy(region);
    if (!context) {
        gtk_widget_queue_draw(widget);
        return;
    }
    OnDraw(widget, gdk_drawing_context_get_cairo_context(context), const_cast<AreaView*>(view));
    gdk_window_end_draw_frame(w, context);
}

void DrawTickRepaints()
{
    std::vector<std::pair<GtkWidget*, const AreaView*>> asked;
    asked.swap(g_tick_repaints);
    for (const auto& [widget, view] : asked) {
        if (CanDrawAtOnce(widget)) DrawAtOnce(widget, view);
        else gtk_widget_queue_draw(widget);
    }
}

void RunTick(Tick* t)
{
    g_in_tick = true;
    t->proc(t->rate, t->data);
    g_in_tick = false;
    DrawTickRepaints();
}

// ---- keys and the mouse wheel, forwarded to the procedures of the areas

WSKey KeyOf(guint keyval)
{
    switch (keyval) {
    case GDK_KEY_Left: case GDK_KEY_KP_Left: return WSKey::Left;
    case GDK_KEY_Right: case GDK_KEY_KP_Right: return WSKey::Right;
    case GDK_KEY_Home: case GDK_KEY_KP_Home: return WSKey::Home;
    default: return WSKey::Other;
    }
}

// A key press in a window goes to its drawing areas; a key with Ctrl, Alt
// or Super stays with GTK (the application's Ctrl+Q and Ctrl+W).
gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer p)
{
    const guint held = event->state & gtk_accelerator_get_default_mod_mask();
    const WSKey key = KeyOf(event->keyval);
    if (key == WSKey::Other || (held & ~GDK_SHIFT_MASK) != 0) return FALSE;
    WSEvent e;
    e.trigger = WSEV_KEY_PRESS;
    e.key = key;
    e.shift = (held & GDK_SHIFT_MASK) != 0;
    for (WSCbase* child : static_cast<WSCmainWindow*>(p)->children())
        if (auto* area = static_cast<WSCvdrawingArea*>(child->viewAsClass("WSCvdrawingArea")))
            area->deliver(e);
    return TRUE;
}

// A turn of the wheel over an area goes to its procedures with the pointer's
// place in the picture (the area's pixels taken back through the picture's
// scale and place, FitPicture): up or right +1, down or left -1 (a smooth
// scroll by the sign of its delta).
gboolean OnScroll(GtkWidget* widget, GdkEventScroll* event, gpointer p)
{
    const AreaView* view = static_cast<const AreaView*>(p);
    WSEvent e;
    e.trigger = WSEV_MOUSE_WHEEL;
    switch (event->direction) {
    case GDK_SCROLL_UP: case GDK_SCROLL_RIGHT: e.wheel = 1; break;
    case GDK_SCROLL_DOWN: case GDK_SCROLL_LEFT: e.wheel = -1; break;
    default: {
        double dx = 0, dy = 0;
        gdk_event_get_scroll_deltas(reinterpret_cast<GdkEvent*>(event), &dx, &dy);
        const double d = dy != 0 ? -dy : dx;
        e.wheel = d > 0 ? 1 : d < 0 ? -1 : 0;
    }
    }
    const int factor = std::max(1, gtk_widget_get_scale_factor(widget));
    const PictureFit fit = FitPicture(gtk_widget_get_allocated_width(widget),
                                      gtk_widget_get_allocated_height(widget), factor,
                                      view->base_width, view->base_height);
    e.x = static_cast<int>(std::floor((event->x * factor - fit.x) / fit.scale));
    e.y = static_cast<int>(std::floor(event->y * factor / fit.scale));
    view->area->deliver(e);
    return TRUE;
}

class GtkBackend : public WSBackend {
public:
    void askRepaint(WSCvdrawingArea* area) override
    {
        auto it = g_widgets.find(area);
        if (it == g_widgets.end()) return;
        const auto view = g_views.find(area);
        if (g_kept_on && view != g_views.end()) {
            AskKeptRepaint(it->second, view->second);
        } else if (g_in_tick && g_draw_at_once && view != g_views.end()) {
            const std::pair<GtkWidget*, const AreaView*> asked{it->second, view->second};
            if (std::find(g_tick_repaints.begin(), g_tick_repaints.end(), asked) == g_tick_repaints.end())
                g_tick_repaints.push_back(asked);
        } else {
            gtk_widget_queue_draw(it->second);
        }
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
void OnWidgetDestroyed(GtkWidget*, gpointer object)
{
    g_widgets.erase(static_cast<const WSCbase*>(object));
    g_views.erase(static_cast<const WSCbase*>(object));
}

// Method: the window gets the title (Shift_JIS property, shown as UTF-8),
// the position and the client size of its properties. Its drawing area (the
// program's window has one) fills the window at any size, and the picture
// follows the window's size (OnDraw), so the area's own stated size is not
// asked for; the window can be made as small as half its stated size.
void RealiseWindow(WSCmainWindow* w)
{
    if (g_widgets.count(w)) return;
    GtkWidget* win = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    WSGtkAdoptWindow(GTK_WINDOW(win));
    const std::string title = w->stringProperty(_WSNtitleString());
    gtk_window_set_title(GTK_WINDOW(win), SjisToUtf8(title.data(), title.size()).c_str());
    gtk_window_move(GTK_WINDOW(win), static_cast<int>(w->intProperty(_WSNx(), 0)),
                    static_cast<int>(w->intProperty(_WSNy(), 0)));
    const int width = static_cast<int>(w->intProperty(_WSNwidth(), 530));
    const int height = static_cast<int>(w->intProperty(_WSNheight(), 257));
    gtk_window_set_default_size(GTK_WINDOW(win), width, height);
    for (WSCbase* child : w->children()) {
        WSCvdrawingArea* area = static_cast<WSCvdrawingArea*>(child->viewAsClass("WSCvdrawingArea"));
        if (!area || gtk_bin_get_child(GTK_BIN(win))) continue;
        GtkWidget* da = gtk_drawing_area_new();
        gtk_widget_set_size_request(da, std::max(1, width / 2), std::max(1, height / 2));
        // the area with the bar below it, its tooltips, menu and accessible name
        gtk_container_add(GTK_CONTAINER(win), WindowShell_Wrap(GTK_WINDOW(win), area, da, width, height));
        // lives as long as the program, as the area does
        AreaView* view = new AreaView{area, width, height};
        g_views[area] = view;
        g_signal_connect(da, "draw", G_CALLBACK(OnDraw), view);
        gtk_widget_add_events(da, GDK_SCROLL_MASK);
        g_signal_connect(da, "scroll-event", G_CALLBACK(OnScroll), view);
        if (area->intProperty(_WSNvis(), 1) == 0) gtk_widget_set_no_show_all(da, TRUE);
        g_widgets[area] = da;
        g_signal_connect(da, "destroy", G_CALLBACK(OnWidgetDestroyed), area);
    }
    g_signal_connect(win, "key-press-event", G_CALLBACK(OnKey), w);
    g_widgets[w] = win;
    g_signal_connect(win, "destroy", G_CALLBACK(OnWidgetDestroyed), w);
    if (w->visible()) gtk_widget_show_all(win);
    // tests of the Preferences window open it with the main window
    if (w->visible() && g_test_preferences) Preferences_Show(GTK_WINDOW(win));
}

// A name from the environment for a message: printable ASCII, other bytes
// escaped, cut.
std::string Escaped(const char* text)
{
    std::string v(text);
    const bool cut = v.size() > kShownMax;
    if (cut) v.resize(kShownMax);
    gchar* escaped = g_strescape(v.c_str(), nullptr);
    std::string out = std::string(escaped) + (cut ? "..." : "");
    g_free(escaped);
    return out;
}
std::string Quoted(const char* text) { return "'" + Escaped(text) + "'"; }

// GLib's log writer: GDK's message of the Wayland connection lost (GDK
// ends the program with status 1 after it) gives our line; everything else
// is written as GLib writes it.
GLogWriterOutput OnLog(GLogLevelFlags level, const GLogField* fields, gsize n, gpointer data)
{
    const char* domain = nullptr;
    const char* message = nullptr;
    for (gsize i = 0; i < n; ++i) {
        if (fields[i].length >= 0) continue;  // strings end with NUL
        if (std::strcmp(fields[i].key, "GLIB_DOMAIN") == 0) domain = static_cast<const char*>(fields[i].value);
        if (std::strcmp(fields[i].key, "MESSAGE") == 0) message = static_cast<const char*>(fields[i].value);
    }
    if (domain && message && std::strcmp(domain, "Gdk") == 0 &&
        (g_str_has_prefix(message, "Error reading events from display") ||
         g_str_has_prefix(message, "Error flushing display") ||
         std::strstr(message, "dispatching to Wayland display"))) {
        const char* wayland = g_getenv("WAYLAND_DISPLAY");
        I18n_Print(Message(_("lost the connection to the display %s"),
                           Escaped(wayland && *wayland ? wayland : "wayland-0").c_str()));
        return G_LOG_WRITER_HANDLED;
    }
    return g_log_writer_default(level, fields, n, data);
}

#ifdef GDK_WINDOWING_X11
// The X server has gone (killed, or the connection broken): one line, then
// the end, as GDK's own handler ends the program (_exit: nothing more may
// talk to the dead connection).
int OnDisplayLost(Display* display)
{
    I18n_Print(Message(_("lost the connection to the display %s"),
                       display ? Escaped(DisplayString(display)).c_str() : ""));
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
        WSGtkPlainWithoutSessionBus();
        // GDK's Wayland backend says "Error reading events from display:
        // Broken pipe" when the compositor goes, then ends the program: our
        // line instead, as for X11
        g_log_set_writer_func(OnLog, nullptr, nullptr);
        state = gtk_init_check(nullptr, nullptr) ? 1 : 2;
#ifdef GDK_WINDOWING_X11
        // after GDK's, which is silent
        if (state == 1 && GDK_IS_X11_DISPLAY(gdk_display_get_default())) XSetIOErrorHandler(OnDisplayLost);
#endif
    }
    if (state == 2 && why) {
        const char* display = g_getenv("DISPLAY");
        const char* wayland = g_getenv("WAYLAND_DISPLAY");
        const char* backend = g_getenv("GDK_BACKEND");
        const bool wayland_only = backend && g_str_has_prefix(backend, "wayland") &&
                                  !std::strstr(backend, "x11");
        const bool has_x = display && *display;
        if (wayland_only || (!has_x && wayland && *wayland))
            *why = Message(_("cannot open the Wayland display %s"),
                           Quoted(wayland && *wayland ? wayland : "wayland-0").c_str());
        else if (has_x)
            *why = Message(_("cannot open display %s"), Quoted(display).c_str());
        else
            *why = _("no display (DISPLAY is not set)");
    }
    return state == 1;
}

void WSGtkSetTestPreferences(bool on) { g_test_preferences = on; }
void WSGtkSetTestHold(const char* path) { g_test_hold = path; }
void WSGtkSetKeptPicture(bool on) { g_kept_on = on; }
void WSGtkSetFrameCycle(bool on) { g_draw_at_once = !on; }
void WSGtkSetTestRepaintCpu(int mode) { g_test_repaint_cpu = mode == 1 || mode == 2 ? mode : 0; }
void WSGtkSetTestTick(long ms) { g_test_tick_ms = ms >= 1 && ms <= 1000 ? static_cast<int>(ms) : 0; }

int _win_main(void*, void*, char*, int)
{
    std::string why;
    if (!WSGtkOpenDisplay(&why)) {
        I18n_Print(why);
        return kExitFailure;
    }
    // The application's first activation runs the init handlers and realises
    // the windows; the loop ends with the last window.
    WSGtkAddActionsAtStartup(WindowShell_AddActions);
    const int status = WSGtkRunApplication([] {
        g_painter = new CairoPainter();
        WSSetBackend(&g_backend);
        WSDappDev::runInitHandlers();
        for (WSCmainWindow* w : WSCmainWindow::all()) RealiseWindow(w);
    });
    if (TestTickMs()) std::fprintf(stderr, "tenmado: %ld test ticks\n", g_test_ticks);
    return status;
}
