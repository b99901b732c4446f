// What the window says about its picture: the tooltips over the bodies,
// the read-outs and the constellation labels, the accessible name and
// description of the drawing area, and the time bar below the picture.
// Everything comes from what the last repaint drew: its read-outs record
// (Koyomi_Shown) and its notes of where it put the bodies and labels
// (Scene_Notes).
#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "shell/cairo/cairo_painter.h"
#include "app/i18n.h"
#include "app/koyomi.h"
#include "app/readouts.h"
#include "app/window_texts.h"
#include "shell/gtk/window_shell.h"
#include "shell/gtk/window_shell_parts.h"
#include "panels/constellations.h"
#include "panels/labels.h"
#include "toolkit/sjis.h"
#include "panels/scene_notes.h"

namespace {

#define U8(s) reinterpret_cast<const char*>(u8##s)

// The Moon panel's disc (centre and radius in picture pixels).
constexpr double kPhaseX = 50, kPhaseY = 115, kPhaseR = 40;
// A body's disc answers a little beyond its edge: the small ones are a few
// pixels across.
constexpr double kBodyMargin = 3, kBodyMinRadius = 6;
// A constellation label: the columns of its text (7 pixels each, as the
// 14-pixel face draws them) and 16 pixels of height about the middle of its
// 30-pixel box.
constexpr double kColumn = 7, kLabelTop = 7, kLabelBottom = 23;

// The tooltip's area, from picture pixels back to the widget's.
void TipArea(const ShellWindow& shell, GtkTooltip* tooltip, double x, double y, double w,
             double h)
{
    const int factor = std::max(1, gtk_widget_get_scale_factor(shell.da));
    const PictureFit fit = FitPicture(gtk_widget_get_allocated_width(shell.da),
                                      gtk_widget_get_allocated_height(shell.da), factor,
                                      shell.base_width, shell.base_height);
    GdkRectangle r;
    r.x = static_cast<int>(std::floor((x * fit.scale + fit.x) / factor));
    r.y = static_cast<int>(std::floor(y * fit.scale / factor));
    r.width = std::max(1, static_cast<int>(std::ceil(w * fit.scale / factor)));
    r.height = std::max(1, static_cast<int>(std::ceil(h * fit.scale / factor)));
    gtk_tooltip_set_tip_area(tooltip, &r);
}

std::string BodyText(int index)
{
    const SceneBody& b = Scene_Notes().bodies[index];
    DayEvent rise, transit, set;
    Body_Day(Koyomi_Shown(), index, &rise, &transit, &set);
    return Body_Tooltip(index, b.az, b.el, rise, transit, set);
}

// Tests only (WSGtkSetTestTooltips): each new tooltip's text to stderr
// ("tenmado: tooltip: ..."), since a tooltip window is not among the
// accessible objects a test can read.
bool g_log_tips = false;
std::string g_last_tip;
gboolean Tip(GtkTooltip* tooltip, const std::string& text)
{
    gtk_tooltip_set_text(tooltip, text.c_str());
    if (text != g_last_tip && g_log_tips) {
        std::string line = text;
        for (char& c : line) if (c == '\n') c = '|';
        std::fprintf(stderr, "tenmado: tooltip: %s\n", line.c_str());
    }
    g_last_tip = text;
    return TRUE;
}

// Method: the point in picture pixels (FitPicture, as the draw handler
// places the picture); then the bodies' discs (the last drawn first, as
// it lies on top), the Moon panel's disc, the read-outs, the constellation
// labels (the last drawn first).
gboolean OnQueryTooltip(GtkWidget*, gint x, gint y, gboolean keyboard, GtkTooltip* tooltip,
                        gpointer p)
{
    const ShellWindow& shell = *static_cast<const ShellWindow*>(p);
    const KoyomiReadouts& r = Koyomi_Shown();
    if (r.at.jd == 0) return FALSE;  // nothing painted yet
    if (keyboard) {
        return Tip(tooltip, Readout_Sentences(r));
    }
    double px, py;
    Shell_PicturePoint(shell, x, y, &px, &py);
    const SceneNotes& notes = Scene_Notes();
    for (int i = kPanelBodies - 1; i >= 0; --i) {
        const SceneBody& b = notes.bodies[i];
        if (!b.shown) continue;
        const double reach = std::max(b.r + kBodyMargin, kBodyMinRadius);
        if (std::hypot(px - b.x, py - b.y) > reach) continue;
        TipArea(shell, tooltip, b.x - reach, b.y - reach, 2 * reach, 2 * reach);
        return Tip(tooltip, BodyText(i));
    }
    if (std::hypot(px - kPhaseX, py - kPhaseY) <= kPhaseR) {
        const std::string phase =
            BodyText(kPanelMoon) + "\n" + SjisToUtf8(std::string(Label(LabelId::MoonAgeLabel))) + ": " +
            Message(_("the Moon's age, %.1f days since the new moon"), r.moon_age);
        TipArea(shell, tooltip, kPhaseX - kPhaseR, kPhaseY - kPhaseR, 2 * kPhaseR, 2 * kPhaseR);
        return Tip(tooltip, phase);
    }
    int index = 0;
    const ReadoutSpot spot = Readout_At(r, px, py, &index);
    if (spot != ReadoutSpot::None) {
        // a read-out's tooltip changes with the point only at its edges
        TipArea(shell, tooltip, std::floor(px), std::floor(py), 1, 1);
        return Tip(tooltip, Readout_Tooltip(r, spot, index));
    }
    for (auto it = notes.labels.rbegin(); it != notes.labels.rend(); ++it) {
        const double w = std::strlen(Labels_Constellation(it->constellation)) * kColumn;
        if (px < it->x || px >= it->x + w || py < it->y + kLabelTop || py >= it->y + kLabelBottom)
            continue;
        TipArea(shell, tooltip, it->x, it->y + kLabelTop, w, kLabelBottom - kLabelTop);
        return Tip(tooltip, Constellation_Tooltip(it->constellation));
    }
    return FALSE;
}

}  // namespace

void WSGtkSetTestTooltips(bool on) { g_log_tips = on; }

void Shell_PicturePoint(const ShellWindow& shell, double x, double y, double* px, double* py)
{
    const int factor = std::max(1, gtk_widget_get_scale_factor(shell.da));
    const PictureFit fit = FitPicture(gtk_widget_get_allocated_width(shell.da),
                                      gtk_widget_get_allocated_height(shell.da), factor,
                                      shell.base_width, shell.base_height);
    *px = (x * factor - fit.x) / fit.scale;
    *py = y * factor / fit.scale;
}

void ShellTooltips_Attach(ShellWindow* shell)
{
    gtk_widget_set_has_tooltip(shell->da, TRUE);
    g_signal_connect(shell->da, "query-tooltip", G_CALLBACK(OnQueryTooltip), shell);
    AtkObject* access = gtk_widget_get_accessible(shell->da);
    atk_object_set_name(access, U8("天窓"));
    atk_object_set_role(access, ATK_ROLE_IMAGE);
}

// Method: the sentences of the record drawn last, set when they differ from
// the ones set before: they are to the minute, so a screen reader hears a
// change once a minute at most, not at every repaint.
void ShellTooltips_Painted(ShellWindow* shell)
{
    const std::string text = Readout_Sentences(Koyomi_Shown());
    if (text == shell->description) return;
    shell->description = text;
    atk_object_set_description(gtk_widget_get_accessible(shell->da), text.c_str());
}

// ---- the time bar

GtkWidget* ShellBar_New(ShellWindow* shell)
{
    GtkWidget* bar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_container_set_border_width(GTK_CONTAINER(bar), 0);
    GtkWidget* label = gtk_label_new("");
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    GtkWidget* now = gtk_button_new_with_label(_("Now"));
    gtk_actionable_set_action_name(GTK_ACTIONABLE(now), "app.now");
    gtk_button_set_relief(GTK_BUTTON(now), GTK_RELIEF_NONE);
    gtk_widget_set_tooltip_text(now, _("Back to now (N or End)"));
    gtk_box_pack_start(GTK_BOX(bar), label, TRUE, TRUE, 4);
    gtk_box_pack_end(GTK_BOX(bar), now, FALSE, FALSE, 0);
    gtk_widget_show_all(bar);
    gtk_widget_set_no_show_all(bar, TRUE);
    gtk_widget_hide(bar);
    shell->bar = bar;
    shell->bar_label = label;
    AtkObject* access = gtk_widget_get_accessible(bar);
    atk_object_set_name(access, _("Time travel"));
    return bar;
}

void ShellBar_Update(ShellWindow* shell, bool travelling, const std::string& offset,
                     const std::string& note)
{
    if (!shell->bar) return;
    if (travelling) {
        // the offset in the bar, and in its tooltip with the note on a line of its own
        std::string text = Message(_("Not live: %s"), offset.c_str());
        if (!note.empty()) text += U8(" — ") + note;
        if (text != gtk_label_get_text(GTK_LABEL(shell->bar_label))) {
            gtk_label_set_text(GTK_LABEL(shell->bar_label), text.c_str());
            const std::string tip = Message(_("Not live: the time shown is %s"), offset.c_str()) +
                                    (note.empty() ? "" : "\n" + note);
            gtk_widget_set_tooltip_text(shell->bar_label, tip.c_str());
        }
        const std::string title = shell->title + U8(" — ") + _("not live");
        if (title != gtk_window_get_title(shell->window))
            gtk_window_set_title(shell->window, title.c_str());
    } else {
        gtk_window_set_title(shell->window, shell->title.c_str());
    }
    if (travelling == shell->bar_shown) return;
    // the window grows or shrinks by the bar, so the picture keeps its size
    int w = 0, h = 0;
    gtk_window_get_size(shell->window, &w, &h);
    int bar_h = 0;
    gtk_widget_show(shell->bar);  // measured while shown (a hidden widget is 0 high)
    gtk_widget_get_preferred_height(shell->bar, nullptr, &bar_h);
    shell->bar_shown = travelling;
    if (travelling) {
        gtk_window_resize(shell->window, w, h + bar_h);
    } else {
        gtk_widget_hide(shell->bar);
        gtk_window_resize(shell->window, w, std::max(1, h - bar_h));
    }
}
