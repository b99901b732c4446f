// The Preferences window (GTK 3).
#include "shell/gtk/preferences.h"

#include <gtk/gtk.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "places/places.h"

namespace {

// UTF-8 text whatever the execution character set.
const char* U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

const char8_t* const kDirections[8] = {u8"南 (south, 0)",       u8"南西 (south-west, 45)",
                                       u8"西 (west, 90)",        u8"北西 (north-west, 135)",
                                       u8"北 (north, 180)",      u8"北東 (north-east, -135)",
                                       u8"東 (east, -90)",       u8"南東 (south-east, -45)"};
const double kDirectionDegrees[8] = {0, 45, 90, 135, 180, -135, -90, -45};

struct Prefs {
    std::string path;
    ConfigLayer command_line;
    GtkWindow* parent = nullptr;
    GtkWidget* dialog = nullptr;
    GtkWidget *place = nullptr, *lat = nullptr, *lon = nullptr, *zone = nullptr;
    GtkWidget *direction = nullptr, *degrees = nullptr, *prints = nullptr, *widget = nullptr;
    GtkListStore* completions = nullptr;
    ConfigValues before{};  // the values in force when the window opened
    ConfigValues file{};    // the file's values (over the defaults): the fields
    std::string place_name;
    bool filling = false;   // fields being set by the program: no preview
};
Prefs g;

// The values of the fields.
ConfigValues Fields()
{
    ConfigValues v = g.file;
    v.latitude = gtk_spin_button_get_value(GTK_SPIN_BUTTON(g.lat));
    v.longitude = gtk_spin_button_get_value(GTK_SPIN_BUTTON(g.lon));
    v.azimuth = gtk_spin_button_get_value(GTK_SPIN_BUTTON(g.degrees));
    v.widget = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(g.widget));
    v.place_name = g.place_name;
    const std::string zone = gtk_entry_get_text(GTK_ENTRY(g.zone));
    ConfigLayer z;
    v.zone_set = false;
    v.zone_name.clear();
    if (!zone.empty() && Config_ParseZone(zone.c_str(), &z)) {
        if (z.zone) {
            v.zone_set = true;
            v.zone = *z.zone;
        } else {
            v.zone_name = *z.zone_name;
        }
    }
    return v;
}

// The fields shown in the picture at once, the command line's options over
// them; the zone entry marked when it holds no zone.
void Preview()
{
    if (g.filling) return;
    const std::string zone = gtk_entry_get_text(GTK_ENTRY(g.zone));
    ConfigLayer z;
    const bool zone_ok = zone.empty() || Config_ParseZone(zone.c_str(), &z);
    GtkStyleContext* style = gtk_widget_get_style_context(g.zone);
    if (zone_ok) gtk_style_context_remove_class(style, GTK_STYLE_CLASS_ERROR);
    else gtk_style_context_add_class(style, GTK_STYLE_CLASS_ERROR);
    ConfigValues v = Fields();
    Config_Over(g.command_line, &v);
    Config_Apply(v);
    char prints[64];
    std::snprintf(prints, sizeof prints, U8(u8"方位角 will print %3.0f"), v.azimuth);
    gtk_label_set_text(GTK_LABEL(g.prints), prints);
    if (g.parent) gtk_widget_queue_draw(GTK_WIDGET(g.parent));
}

void OnChanged(GtkWidget*, gpointer) { Preview(); }

void OnDirection(GtkComboBox* box, gpointer)
{
    const int k = gtk_combo_box_get_active(box);
    if (k < 0 || g.filling) return;
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(g.degrees), kDirectionDegrees[k]);
}

// The completion's list refilled from the gazetteer as the name is typed.
void OnPlaceTyped(GtkEditable*, gpointer)
{
    if (g.filling) return;
    const std::string text = gtk_entry_get_text(GTK_ENTRY(g.place));
    gtk_list_store_clear(g.completions);
    if (text.size() < 2) return;
    const PlaceSearch s = Places_Complete(text, 30);
    for (const Place& p : s.matches) {
        GtkTreeIter it;
        gtk_list_store_append(g.completions, &it);
        const std::string shown = Places_Describe(p);
        gtk_list_store_set(g.completions, &it, 0, shown.c_str(), 1, p.name.c_str(), 2,
                           p.latitude, 3, p.longitude, 4, p.zone.c_str(), -1);
    }
}

// A place chosen: its name, latitude, longitude and zone into the fields.
void Choose(const std::string& name, double lat, double lon, const std::string& zone)
{
    g.filling = true;
    g.place_name = name;
    gtk_entry_set_text(GTK_ENTRY(g.place), name.c_str());
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(g.lat), lat);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(g.lon), lon);
    gtk_entry_set_text(GTK_ENTRY(g.zone), zone.c_str());
    g.filling = false;
    Preview();
}

gboolean OnMatch(GtkEntryCompletion*, GtkTreeModel* model, GtkTreeIter* it, gpointer)
{
    gchar *name = nullptr, *zone = nullptr;
    double lat = 0, lon = 0;
    gtk_tree_model_get(model, it, 1, &name, 2, &lat, 3, &lon, 4, &zone, -1);
    Choose(name ? name : "", lat, lon, zone ? zone : "");
    g_free(name);
    g_free(zone);
    return TRUE;
}

// Enter in the place entry: the place of that name, as --place finds it.
void OnPlaceActivate(GtkEntry* entry, gpointer)
{
    const PlaceSearch s = Places_Find(gtk_entry_get_text(entry));
    if (s.result == PlaceResult::Found)
        Choose(s.matches[0].name, s.matches[0].latitude, s.matches[0].longitude, s.matches[0].zone);
}

// Every completion offered is a match (the list is the gazetteer's answer).
gboolean AnyMatch(GtkEntryCompletion*, const gchar*, GtkTreeIter*, gpointer) { return TRUE; }

void Message(GtkMessageType type, const std::string& text)
{
    GtkWidget* m = gtk_message_dialog_new(GTK_WINDOW(g.dialog), GTK_DIALOG_MODAL, type,
                                          GTK_BUTTONS_CLOSE, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(m), "tenmado");
    gtk_dialog_run(GTK_DIALOG(m));
    gtk_widget_destroy(m);
}

void OnResponse(GtkDialog* dialog, gint response, gpointer)
{
    if (response == GTK_RESPONSE_ACCEPT) {
        const std::string zone = gtk_entry_get_text(GTK_ENTRY(g.zone));
        ConfigLayer z;
        if (!zone.empty() && !Config_ParseZone(zone.c_str(), &z)) {
            Message(GTK_MESSAGE_ERROR, "The zone \"" + zone + "\" is not " + Config_ZoneAccepted() +
                                           " (or empty: from the longitude).");
            return;
        }
        std::string why;
        if (!SettingsFile_Write(g.path, Fields(), &why)) {
            Message(GTK_MESSAGE_ERROR, "The settings were not saved: " + why);
            return;
        }
        g.before = Fields();
        Config_Over(g.command_line, &g.before);
    }
    // Cancel (or closed): the picture as it was
    Config_Apply(g.before);
    if (g.parent) gtk_widget_queue_draw(GTK_WIDGET(g.parent));
    gtk_widget_destroy(GTK_WIDGET(dialog));
    g.dialog = nullptr;
}

// A row: its label, the field, and beside it what the command line says.
void Row(GtkGrid* grid, int row, const char* label, GtkWidget* field, bool overridden,
         const char* option)
{
    GtkWidget* l = gtk_label_new_with_mnemonic(label);
    gtk_label_set_mnemonic_widget(GTK_LABEL(l), field);
    gtk_widget_set_halign(l, GTK_ALIGN_END);
    gtk_grid_attach(grid, l, 0, row, 1, 1);
    gtk_grid_attach(grid, field, 1, row, 1, 1);
    gtk_widget_set_hexpand(field, TRUE);
    if (overridden) {
        const std::string note = std::string(option) + " on the command line wins for this run";
        GtkWidget* n = gtk_label_new(note.c_str());
        gtk_widget_set_name(n, option);
        gtk_grid_attach(grid, n, 2, row, 1, 1);
    }
}

GtkWidget* Spin(double lo, double hi, double step, int digits, double value)
{
    GtkWidget* s = gtk_spin_button_new_with_range(lo, hi, step);
    gtk_spin_button_set_digits(GTK_SPIN_BUTTON(s), digits);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(s), value);
    g_signal_connect(s, "value-changed", G_CALLBACK(OnChanged), nullptr);
    return s;
}

std::string ZoneText(const ConfigValues& v)
{
    if (!v.zone_name.empty()) return v.zone_name;
    if (!v.zone_set) return "";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v.zone);
    return buf;
}

}  // namespace

void Preferences_Setup(const std::string& settings_path, const ConfigLayer& command_line)
{
    g.path = settings_path;
    g.command_line = command_line;
}

/*
**  Preferences_Show
**  The Preferences window over the main window.
**
**  Notes:
**  1) The fields hold the settings file's values over the defaults (the
**     file read again now); the picture shows the fields with the command
**     line's options over them, at every change. Save writes the fields
**     (SettingsFile_Write) and keeps them in force; a failure leaves the
**     window open with the reason. Cancel or closing restores the values
**     in force when the window opened.
*/
void Preferences_Show(GtkWindow* parent)
{
    if (g.dialog) {
        gtk_window_present(GTK_WINDOW(g.dialog));
        return;
    }
    g.parent = parent;
    ConfigLayer file;
    std::vector<std::string> warnings;
    Config_ReadFile(g.path, false, &file, &warnings);
    g.file = Config_Defaults();
    Config_Over(file, &g.file);
    g.before = g.file;
    Config_Over(g.command_line, &g.before);
    g.place_name = g.file.place_name;

    g.dialog = gtk_dialog_new_with_buttons("tenmado: Preferences", parent,
                                           GTK_DIALOG_DESTROY_WITH_PARENT, "_Cancel",
                                           GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT,
                                           nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(g.dialog), GTK_RESPONSE_ACCEPT);
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
    gtk_container_set_border_width(GTK_CONTAINER(grid), 12);
    gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(g.dialog))), grid);
    g.filling = true;

    // the place, with completion from the gazetteer
    g.place = gtk_search_entry_new();
    gtk_widget_set_name(g.place, "place");
    gtk_entry_set_placeholder_text(GTK_ENTRY(g.place), U8(u8"Sapporo, 札幌, Portland, Oregon"));
    gtk_entry_set_text(GTK_ENTRY(g.place), g.place_name.c_str());
    g.completions = gtk_list_store_new(5, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_DOUBLE,
                                       G_TYPE_DOUBLE, G_TYPE_STRING);
    GtkEntryCompletion* completion = gtk_entry_completion_new();
    gtk_entry_completion_set_model(completion, GTK_TREE_MODEL(g.completions));
    g_object_unref(g.completions);
    gtk_entry_completion_set_text_column(completion, 0);
    gtk_entry_completion_set_match_func(completion, AnyMatch, nullptr, nullptr);
    gtk_entry_completion_set_minimum_key_length(completion, 2);
    g_signal_connect(completion, "match-selected", G_CALLBACK(OnMatch), nullptr);
    gtk_entry_set_completion(GTK_ENTRY(g.place), completion);
    g_object_unref(completion);
    g_signal_connect(g.place, "changed", G_CALLBACK(OnPlaceTyped), nullptr);
    g_signal_connect(g.place, "activate", G_CALLBACK(OnPlaceActivate), nullptr);
    const ConfigLayer& c = g.command_line;
    Row(GTK_GRID(grid), 0, "_Place", g.place, c.place.has_value(), "--place");

    g.lat = Spin(-90, 90, 0.1, 4, g.file.latitude);
    gtk_widget_set_name(g.lat, "latitude");
    Row(GTK_GRID(grid), 1, U8(u8"_Latitude (north +, 北緯)"), g.lat, c.latitude.has_value(), "--lat");
    g.lon = Spin(-180, 180, 0.1, 4, g.file.longitude);
    gtk_widget_set_name(g.lon, "longitude");
    Row(GTK_GRID(grid), 2, U8(u8"L_ongitude (east +, 東経)"), g.lon, c.longitude.has_value(), "--lon");

    // the zone: hours, a name, system, or empty (from the longitude)
    g.zone = gtk_entry_new();
    gtk_widget_set_name(g.zone, "zone");
    gtk_entry_set_placeholder_text(GTK_ENTRY(g.zone),
                                   "from the longitude; or 9, Asia/Tokyo, Europe/London, system");
    gtk_entry_set_text(GTK_ENTRY(g.zone), ZoneText(g.file).c_str());
    g_signal_connect(g.zone, "changed", G_CALLBACK(OnChanged), nullptr);
    Row(GTK_GRID(grid), 3, "_Zone", g.zone, c.zone.has_value() || c.zone_name.has_value(), "--zone");

    // the view
    g.direction = gtk_combo_box_text_new();
    for (const char8_t* d : kDirections) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(g.direction), U8(d));
    int nearest = -1;
    for (int k = 0; k < 8; k++)
        if (std::fabs(kDirectionDegrees[k] - g.file.azimuth) < 1e-9) nearest = k;
    gtk_combo_box_set_active(GTK_COMBO_BOX(g.direction), nearest);
    g_signal_connect(g.direction, "changed", G_CALLBACK(OnDirection), nullptr);
    Row(GTK_GRID(grid), 4, "_View toward", g.direction, c.azimuth.has_value(), "--azimuth");
    g.degrees = Spin(-360, 360, 1, 1, g.file.azimuth);
    gtk_widget_set_name(g.degrees, "azimuth");
    Row(GTK_GRID(grid), 5, "View, _degrees from the south toward the west", g.degrees, false, "");
    g.prints = gtk_label_new("");
    gtk_widget_set_halign(g.prints, GTK_ALIGN_START);
    gtk_grid_attach(GTK_GRID(grid), g.prints, 1, 6, 1, 1);

    g.widget = gtk_check_button_new_with_mnemonic("As a desktop _widget (from the next start)");
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g.widget), g.file.widget);
    gtk_grid_attach(GTK_GRID(grid), g.widget, 1, 7, 1, 1);

    GtkWidget* credit = gtk_label_new("Places: GeoNames (www.geonames.org), CC BY 4.0");
    gtk_widget_set_halign(credit, GTK_ALIGN_START);
    gtk_grid_attach(GTK_GRID(grid), credit, 0, 8, 3, 1);

    g.filling = false;
    g_signal_connect(g.dialog, "response", G_CALLBACK(OnResponse), nullptr);
    gtk_widget_show_all(g.dialog);
    Preview();
}
