// The window around its picture: actions and their keys, the context menu,
// About, the shortcuts window, Preferences, the widget mode's toggle, time
// travel and its bar. The tooltips, the accessible description and the
// reminders are in window_tooltips.cpp and window_reminders.cpp.
#include "shell/gtk/window_shell.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <string>

#include "app/i18n.h"
#include "app/settings_file.h"
#include "app/time_travel.h"
#include "app/view_turn.h"
#include "shell/gtk/application.h"
#include "shell/gtk/preferences.h"
#include "shell/gtk/window_shell_parts.h"
#include "toolkit/ws.h"
#include "timecal/clock.h"
#include "timecal/observer.h"

#ifndef TENMADO_VERSION
#error "the build defines TENMADO_VERSION"
#endif

namespace {

#define U8(s) reinterpret_cast<const char*>(u8##s)

std::string g_settings_path;
GtkApplication* g_app = nullptr;
ShellWindow g_shell;

// ---- the keys of every action (the menu and the shortcuts window show them)

struct ActionKeys {
    const char* action;  // detailed action name
    const char* keys[4];
};
const ActionKeys kKeys[] = {
    {"app.preferences", {"<Primary>comma", nullptr}},
    {"app.now", {"n", "End", nullptr}},
    {"app.hour-back", {"Page_Up", nullptr}},
    {"app.hour-ahead", {"Page_Down", nullptr}},
    {"app.day-back", {"<Primary>Left", nullptr}},
    {"app.day-ahead", {"<Primary>Right", nullptr}},
    {"app.month-back", {"<Primary>Page_Up", nullptr}},
    {"app.month-ahead", {"<Primary>Page_Down", nullptr}},
    {"app.widget-mode", {"<Primary><Shift>d", nullptr}},
    {"app.shortcuts", {"F1", "<Primary>question", nullptr}},
    {"app.about", {"<Shift>F1", nullptr}},
    {"app.menu", {"F10", "Menu", "<Shift>F10", nullptr}},
};

// ---- the view

// The eight directions of the menu as azimuths from the south toward the
// west.
struct Direction {
    const char* target;
    const char* label;
    double azimuth;
};
const Direction kDirections[8] = {
    {"n", N_("North"), 180},       {"ne", N_("Northeast"), -135},
    {"e", N_("East"), -90},        {"se", N_("Southeast"), -45},
    {"s", N_("South"), 0},         {"sw", N_("Southwest"), 45},
    {"w", N_("West"), 90},         {"nw", N_("Northwest"), 135},
};

void Repaint()
{
    if (g_shell.area) g_shell.area->askRepaint();
}

void OnTurn(GSimpleAction*, GVariant* parameter, gpointer)
{
    const char* target = g_variant_get_string(parameter, nullptr);
    double azimuth = View_Home();
    for (const Direction& d : kDirections)
        if (g_strcmp0(target, d.target) == 0) azimuth = d.azimuth;
    m_input_azmt = View_Turned(azimuth, 0);
    Repaint();
}

// ---- time travel

// The clock's state: live (the system's clock, or the instant of --at
// running on) until a step; then the chosen instant running on.
bool g_travelling = false;
std::string g_note;  // the last step's message

void Travel(TravelStep step, int count)
{
    const int64_t to = Travel_Step(Clock_CivilSeconds(), step, count, &g_note);
    Clock_StartAt(to);
    g_travelling = true;
    ShellBar_Update(&g_shell, true, Travel_OffsetText(to, Clock_SystemCivilSeconds()), g_note);
    Repaint();
}

void OnNow(GSimpleAction*, GVariant*, gpointer)
{
    Clock_UseSystem();
    g_travelling = false;
    g_note.clear();
    ShellBar_Update(&g_shell, false, "", "");
    Repaint();
}

void OnHourBack(GSimpleAction*, GVariant*, gpointer) { Travel(TravelStep::Hour, -1); }
void OnHourAhead(GSimpleAction*, GVariant*, gpointer) { Travel(TravelStep::Hour, 1); }
void OnDayBack(GSimpleAction*, GVariant*, gpointer) { Travel(TravelStep::Day, -1); }
void OnDayAhead(GSimpleAction*, GVariant*, gpointer) { Travel(TravelStep::Day, 1); }
void OnMonthBack(GSimpleAction*, GVariant*, gpointer) { Travel(TravelStep::LunarMonth, -1); }
void OnMonthAhead(GSimpleAction*, GVariant*, gpointer) { Travel(TravelStep::LunarMonth, 1); }

// ---- widget mode

void OnWidgetMode(GSimpleAction* action, GVariant* state, gpointer)
{
    g_simple_action_set_state(action, state);
    if (g_shell.window) WSGtkApplyWidgetMode(g_shell.window, g_variant_get_boolean(state));
}

// ---- the menu

GMenuModel* MenuModel()
{
    static GMenu* menu = nullptr;
    if (menu) return G_MENU_MODEL(menu);
    menu = g_menu_new();
    GMenu* first = g_menu_new();
    g_menu_append(first, U8_("Preferences…"), "app.preferences");
    g_menu_append(first, _("Now"), "app.now");
    GMenu* turn = g_menu_new();
    for (const Direction& d : kDirections) {
        GMenuItem* item = g_menu_item_new(_(d.label), nullptr);
        g_menu_item_set_action_and_target_value(item, "app.turn", g_variant_new_string(d.target));
        g_menu_append_item(turn, item);
        g_object_unref(item);
    }
    // TRANSLATORS: the view turned back to the setting's azimuth
    GMenuItem* reset = g_menu_item_new(_("Reset"), nullptr);
    g_menu_item_set_action_and_target_value(reset, "app.turn", g_variant_new_string("reset"));
    g_menu_append_item(turn, reset);
    g_object_unref(reset);
    g_menu_append_submenu(first, _("Turn view"), G_MENU_MODEL(turn));
    g_menu_append(first, _("Widget mode"), "app.widget-mode");
    g_menu_append_section(menu, nullptr, G_MENU_MODEL(first));
    GMenu* second = g_menu_new();
    g_menu_append(second, _("Keyboard shortcuts"), "app.shortcuts");
    g_menu_append(second, _("About tenmado"), "app.about");
    g_menu_append(second, _("Quit"), "app.quit");
    g_menu_append_section(menu, nullptr, G_MENU_MODEL(second));
    g_object_unref(turn);
    g_object_unref(first);
    g_object_unref(second);
    return G_MENU_MODEL(menu);
}

GtkWidget* g_menu = nullptr;

GtkMenu* Menu()
{
    if (!g_menu) {
        g_menu = gtk_menu_new_from_model(MenuModel());
        gtk_menu_attach_to_widget(GTK_MENU(g_menu), g_shell.da, nullptr);
    }
    return GTK_MENU(g_menu);
}

// The menu from a key: at the top left of the picture, the first item
// selected, so that the arrows and Return work at once.
void OnMenu(GSimpleAction*, GVariant*, gpointer)
{
    if (!g_shell.da) return;
    GtkMenu* menu = Menu();
    gtk_menu_popup_at_widget(menu, g_shell.da, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST,
                             nullptr);
    gtk_menu_shell_select_first(GTK_MENU_SHELL(menu), FALSE);
}

gboolean OnAreaPress(GtkWidget* widget, GdkEventButton* event, gpointer)
{
    if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_SECONDARY) return FALSE;
    gtk_widget_grab_focus(widget);
    gtk_menu_popup_at_pointer(Menu(), reinterpret_cast<GdkEvent*>(event));
    return TRUE;
}

gboolean OnPopupMenu(GtkWidget*, gpointer)
{
    OnMenu(nullptr, nullptr, nullptr);
    return TRUE;
}

// ---- About, shortcuts, Preferences

// Credits of the data the program carries, with their licences. Data that
// other parts of the program bring (tides, places) add their rows here.
struct Credit {
    const char* section;
    const char* people[4];
};
const Credit kCredits[] = {
    {N_("Constellation figures"),
     {"Olaf Frohn, d3-celestial stick figures (BSD 3-Clause) https://github.com/ofrohn/d3-celestial",
      nullptr}},
    {N_("Tide data"),
     {"TICON-4 tide gauge constituents (CC BY 4.0)",
      "NOAA CO-OPS harmonic constituents (U.S. public domain) https://tidesandcurrents.noaa.gov",
      nullptr}},
    {N_("Place names"), {"GeoNames (CC BY 4.0) https://www.geonames.org", nullptr}},
};

void OnAbout(GSimpleAction*, GVariant*, gpointer)
{
    GtkWidget* about = gtk_about_dialog_new();
    GtkAboutDialog* d = GTK_ABOUT_DIALOG(about);
    gtk_about_dialog_set_program_name(d, "tenmado");
    gtk_about_dialog_set_version(d, TENMADO_VERSION);
    gtk_about_dialog_set_comments(
        d, (U8("天窓: ") + std::string(_("an astronomical almanac and clock of the observer's sky"))).c_str());
    gtk_about_dialog_set_logo_icon_name(d, gtk_window_get_default_icon_name());
    gtk_about_dialog_set_license_type(d, GTK_LICENSE_BSD_3);
    gtk_about_dialog_set_copyright(d, "Copyright (c) 2026, The tenmado developers");
    for (const Credit& c : kCredits)
        gtk_about_dialog_add_credit_section(d, _(c.section), const_cast<const char**>(c.people));
    if (g_shell.window) gtk_window_set_transient_for(GTK_WINDOW(about), g_shell.window);
    gtk_window_set_modal(GTK_WINDOW(about), TRUE);
    g_signal_connect(about, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
    gtk_widget_show(about);
}

// The shortcuts window: the actions' keys from the actions themselves
// (action-name), the view's keys (handled by the picture) as keys.
const char8_t kShortcutsUi[] = u8R"(<interface>
<object class="GtkShortcutsWindow" id="shortcuts">
 <property name="modal">1</property>
 <child><object class="GtkShortcutsSection">
  <property name="visible">1</property>
  <property name="section-name">keys</property>
  <property name="max-height">12</property>
  <child><object class="GtkShortcutsGroup">
   <property name="visible">1</property><property name="title" translatable="yes">View (the mouse wheel over the sky turns it too)</property>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="accelerator">Left Right</property>
    <property name="title" translatable="yes">Turn the view by 15°</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="accelerator">&lt;Shift&gt;Left &lt;Shift&gt;Right</property>
    <property name="title" translatable="yes">Turn the view by 90°</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="accelerator">Home</property>
    <property name="title" translatable="yes">Turn the view back to the setting</property></object></child>
  </object></child>
  <child><object class="GtkShortcutsGroup">
   <property name="visible">1</property><property name="title" translatable="yes">Time</property>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.hour-back</property>
    <property name="title" translatable="yes">An hour back</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.hour-ahead</property>
    <property name="title" translatable="yes">An hour ahead</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.day-back</property>
    <property name="title" translatable="yes">A day back</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.day-ahead</property>
    <property name="title" translatable="yes">A day ahead</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.month-back</property>
    <property name="title" translatable="yes">A lunar month (29.53 days) back</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.month-ahead</property>
    <property name="title" translatable="yes">A lunar month (29.53 days) ahead</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.now</property>
    <property name="title" translatable="yes">Back to now</property></object></child>
  </object></child>
  <child><object class="GtkShortcutsGroup">
   <property name="visible">1</property><property name="title" translatable="yes">Window</property>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.menu</property>
    <property name="title" translatable="yes">Menu (or the right mouse button)</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.preferences</property>
    <property name="title" translatable="yes">Preferences</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.widget-mode</property>
    <property name="title" translatable="yes">Widget mode on or off</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.shortcuts</property>
    <property name="title" translatable="yes">Keyboard shortcuts</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.about</property>
    <property name="title" translatable="yes">About tenmado</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.close-window</property>
    <property name="title" translatable="yes">Close the window</property></object></child>
   <child><object class="GtkShortcutsShortcut"><property name="visible">1</property>
    <property name="action-name">app.quit</property>
    <property name="title" translatable="yes">Quit</property></object></child>
  </object></child>
 </object></child>
</object>
</interface>)";

// The shortcuts window's titles as messages (GtkBuilder translates them by
// the text domain; the template takes them from here).
[[maybe_unused]] const char* const kShortcutsTitles[] = {
    N_("View (the mouse wheel over the sky turns it too)"),
    N_("Turn the view by 15°"),
    N_("Turn the view by 90°"),
    N_("Turn the view back to the setting"),
    N_("Time"),
    N_("An hour back"),
    N_("An hour ahead"),
    N_("A day back"),
    N_("A day ahead"),
    N_("A lunar month (29.53 days) back"),
    N_("A lunar month (29.53 days) ahead"),
    N_("Back to now"),
    N_("Window"),
    N_("Menu (or the right mouse button)"),
    N_("Preferences"),
    N_("Widget mode on or off"),
    N_("Keyboard shortcuts"),
    N_("About tenmado"),
    N_("Close the window"),
    N_("Quit"),
};

void OnShortcuts(GSimpleAction*, GVariant*, gpointer)
{
    GtkBuilder* builder = gtk_builder_new();
    gtk_builder_set_translation_domain(builder, kTextDomain);
    gtk_builder_add_from_string(builder, reinterpret_cast<const char*>(kShortcutsUi), -1, nullptr);
    GtkWindow* w = GTK_WINDOW(gtk_builder_get_object(builder, "shortcuts"));
    g_object_ref(w);
    // each action's keys as the application has them (what an application
    // window's help overlay would look up itself)
    GSList* objects = gtk_builder_get_objects(builder);
    for (GSList* o = objects; o; o = o->next) {
        if (!GTK_IS_SHORTCUTS_SHORTCUT(o->data)) continue;
        gchar* action = nullptr;
        g_object_get(o->data, "action-name", &action, nullptr);
        if (action) {
            gchar** keys = gtk_application_get_accels_for_action(g_app, action);
            gchar* joined = g_strjoinv(" ", keys);
            g_object_set(o->data, "accelerator", joined, nullptr);
            g_free(joined);
            g_strfreev(keys);
        }
        g_free(action);
    }
    g_slist_free(objects);
    g_object_unref(builder);
    gtk_window_set_title(w, _("tenmado: keyboard shortcuts"));
    if (g_shell.window) gtk_window_set_transient_for(w, g_shell.window);
    gtk_window_set_application(w, g_app);
    gtk_widget_show_all(GTK_WIDGET(w));
    gtk_window_present(w);
    g_object_unref(w);
}

void OnPreferences(GSimpleAction*, GVariant*, gpointer)
{
    WindowShell_ShowPreferences(g_shell.window);
}

// ---- the first start's offer

bool g_offer_place = false;

// The info bar gone, the window shorter by its height (the picture keeps
// its size).
void WelcomeGone()
{
    GtkWidget* bar = g_shell.welcome;
    if (!bar) return;
    g_shell.welcome = nullptr;
    int w = 0, h = 0, bar_h = gtk_widget_get_allocated_height(bar);
    gtk_window_get_size(g_shell.window, &w, &h);
    gtk_widget_destroy(bar);
    gtk_window_resize(g_shell.window, w, std::max(1, h - bar_h));
}

// Closed: remembered in the settings file (a file that cannot be written
// says so once; the bar goes all the same).
void OnWelcomeResponse(GtkInfoBar*, gint response, gpointer)
{
    if (response == GTK_RESPONSE_ACCEPT) {
        WindowShell_ShowPreferences(g_shell.window);
        return;
    }
    std::string why;
    if (!SettingsFile_Welcomed(g_settings_path, &why))
        I18n_Print(Message(_("warning: %s"), why.c_str()));
    WelcomeGone();
}

GtkWidget* WelcomeBar()
{
    GtkWidget* bar = gtk_info_bar_new_with_buttons(_("Set _Place"), GTK_RESPONSE_ACCEPT, nullptr);
    gtk_widget_set_name(bar, "welcome");
    gtk_info_bar_set_message_type(GTK_INFO_BAR(bar), GTK_MESSAGE_INFO);
    gtk_info_bar_set_show_close_button(GTK_INFO_BAR(bar), TRUE);
    GtkWidget* label = gtk_label_new(_("The sky, the times and the tides are Tokyo's. Set your "
                                       "own place?"));
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 40);
    gtk_container_add(GTK_CONTAINER(gtk_info_bar_get_content_area(GTK_INFO_BAR(bar))), label);
    g_signal_connect(bar, "response", G_CALLBACK(OnWelcomeResponse), nullptr);
    gtk_widget_show_all(bar);
    return bar;
}

}  // namespace

void WSGtkSetSettingsPath(const std::string& path) { g_settings_path = path; }
void WindowShell_OfferPlace(bool offer) { g_offer_place = offer; }
const std::string& WSGtkSettingsPath() { return g_settings_path; }

/*
**  WindowShell_ShowPreferences
**  The Preferences window: the place, the zone, the view and widget mode.
*/
void WindowShell_ShowPreferences(GtkWindow* parent) { Preferences_Show(parent); }

void WindowShell_AddActions(GtkApplication* app)
{
    g_app = app;
    const GActionEntry actions[] = {
        {"preferences", OnPreferences, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"now", OnNow, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"hour-back", OnHourBack, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"hour-ahead", OnHourAhead, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"day-back", OnDayBack, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"day-ahead", OnDayAhead, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"month-back", OnMonthBack, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"month-ahead", OnMonthAhead, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"turn", OnTurn, "s", nullptr, nullptr, {0, 0, 0}},
        {"widget-mode", nullptr, nullptr, WSGtkWidgetMode() ? "true" : "false", OnWidgetMode,
         {0, 0, 0}},
        {"shortcuts", OnShortcuts, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"about", OnAbout, nullptr, nullptr, nullptr, {0, 0, 0}},
        {"menu", OnMenu, nullptr, nullptr, nullptr, {0, 0, 0}},
    };
    g_action_map_add_action_entries(G_ACTION_MAP(app), actions, G_N_ELEMENTS(actions), nullptr);
    for (const ActionKeys& k : kKeys) gtk_application_set_accels_for_action(app, k.action, k.keys);
}

GtkWidget* WindowShell_Wrap(GtkWindow* window, WSCvdrawingArea* area, GtkWidget* da,
                            int base_width, int base_height)
{
    g_shell.window = window;
    g_shell.area = area;
    g_shell.da = da;
    g_shell.base_width = base_width;
    g_shell.base_height = base_height;
    g_shell.title = gtk_window_get_title(window) ? gtk_window_get_title(window) : "";
    gtk_widget_set_can_focus(da, TRUE);
    gtk_widget_add_events(da, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(da, "button-press-event", G_CALLBACK(OnAreaPress), nullptr);
    g_signal_connect(da, "popup-menu", G_CALLBACK(OnPopupMenu), nullptr);
    ShellTooltips_Attach(&g_shell);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    if (g_offer_place) {
        // above the picture, never in it: the window as much taller
        g_shell.welcome = WelcomeBar();
        gtk_box_pack_start(GTK_BOX(box), g_shell.welcome, FALSE, FALSE, 0);
        int bar_h = 0;
        gtk_widget_get_preferred_height_for_width(g_shell.welcome, base_width, nullptr, &bar_h);
        gtk_window_set_default_size(window, base_width, base_height + bar_h);
        Preferences_OnSaved(WelcomeGone);
    }
    gtk_box_pack_start(GTK_BOX(box), da, TRUE, TRUE, 0);
    gtk_box_pack_end(GTK_BOX(box), ShellBar_New(&g_shell), FALSE, FALSE, 0);
    return box;
}

void WindowShell_Painted()
{
    if (g_travelling) {
        const std::string offset = Travel_OffsetText(Clock_CivilSeconds(), Clock_SystemCivilSeconds());
        ShellBar_Update(&g_shell, true, offset, g_note);
    }
    ShellTooltips_Painted(&g_shell);
    ShellReminders_Painted(g_app, !g_travelling);
}
