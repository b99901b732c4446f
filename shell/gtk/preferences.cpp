// The Preferences window (GTK 3).
#include "shell/gtk/preferences.h"

#include <gtk/gtk.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/i18n.h"
#include "app/settings_file.h"
#include "app/tide_choice.h"
#include "places/places.h"

namespace {

// UTF-8 text whatever the execution character set.
const char* U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

const char* const kDirections[8] = {N_("South (0)"),      N_("Southwest (45)"),
                                    N_("West (90)"),       N_("Northwest (135)"),
                                    N_("North (180)"),     N_("Northeast (-135)"),
                                    N_("East (-90)"),      N_("Southeast (-45)")};
const double kDirectionDegrees[8] = {0, 45, 90, 135, 180, -135, -90, -45};

// The tide station's list: so many of the nearest stations, and of the
// stations a search finds.
constexpr size_t kTideNearestShown = 30;
constexpr size_t kTideFound = 40;

// The labels' choices in the order of their list.
const LabelChoice kLabelChoices[3] = {LabelChoice::Japanese, LabelChoice::English,
                                      LabelChoice::Auto};
const char* const kLabelNames[3] = {N_("Japanese"), N_("English"),
                                    N_("By the desktop's language")};

// The tide list's columns: the text shown, the setting.
enum { kTideText, kTideId, kTideColumns };

struct Prefs {
    std::string path;
    ConfigLayer command_line;
    void (*saved)() = nullptr;
    GtkWindow* parent = nullptr;
    GtkWidget* dialog = nullptr;
    GtkWidget *place = nullptr, *lat = nullptr, *lon = nullptr, *zone = nullptr;
    GtkWidget *direction = nullptr, *degrees = nullptr, *prints = nullptr, *widget = nullptr;
    GtkWidget* labels = nullptr;
    GtkListStore* completions = nullptr;
    GtkListStore* tides = nullptr;       // the tide station's list (nearest first)
    GtkListStore* tide_found = nullptr;  // the tide search's completions
    double tides_lat = NAN, tides_lon = NAN;  // the place the list is nearest to
    ConfigValues before{};  // the values in force when the window opened
    ConfigValues file{};    // the file's values (over the defaults): the fields
    std::string place_name;
    std::string tide;       // the tide station's setting in the field
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
    v.tide_station = g.tide;
    const int label = gtk_combo_box_get_active(GTK_COMBO_BOX(g.labels));
    if (label >= 0) v.labels = kLabelChoices[label];
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

// The text of a tide setting in the field: the default model, the
// nearest station, or the station's name and distance.
std::string TideText(const std::string& setting, double lat, double lon)
{
    if (setting.empty() || setting == kTideTokyoBay)
        return _("Tokyo Bay (the built-in model)");
    if (setting == kTideNearest) return _("The nearest station (within 2,000 km)");
    TideOffer o;
    if (!TideChoice_OfferOf(setting, lat, lon, &o)) return setting;
    return Message(_("%s (%.0f km)"), o.label.c_str(), o.km);
}

// The tide list: the default, the nearest, then the stations nearest the
// place first; refilled when the place has moved.
void FillTides(double lat, double lon)
{
    if (lat == g.tides_lat && lon == g.tides_lon) return;
    g.tides_lat = lat;
    g.tides_lon = lon;
    const bool filling = g.filling;
    g.filling = true;
    gtk_list_store_clear(g.tides);
    GtkTreeIter it;
    for (const char* setting : {"", kTideNearest}) {
        gtk_list_store_append(g.tides, &it);
        gtk_list_store_set(g.tides, &it, kTideText, TideText(setting, lat, lon).c_str(), kTideId,
                           setting, -1);
    }
    for (const TideOffer& o : TideChoice_Offers("", lat, lon, kTideNearestShown)) {
        gtk_list_store_append(g.tides, &it);
        const std::string text = Message(_("%s (%.0f km)"), o.label.c_str(), o.km);
        gtk_list_store_set(g.tides, &it, kTideText, text.c_str(), kTideId, o.id.c_str(), -1);
    }
    g.filling = filling;
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
    std::string problem;
    std::vector<std::string> warnings;
    TideChoice_Choose(v.tide_station, v.latitude, v.longitude, &problem, &warnings);
    gtk_label_set_text(GTK_LABEL(g.prints),
                       Message(_("The picture prints the azimuth as %.0f"), v.azimuth).c_str());
    FillTides(Fields().latitude, Fields().longitude);
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

// ---- the tide station

void TideChosen(const std::string& setting)
{
    g.tide = setting;
    Preview();
}

// A row of the list chosen (a text typed leaves no row active).
void OnTideListChosen(GtkComboBox* box, gpointer)
{
    if (g.filling) return;
    GtkTreeIter it;
    if (!gtk_combo_box_get_active_iter(box, &it)) return;
    gchar* id = nullptr;
    gtk_tree_model_get(GTK_TREE_MODEL(g.tides), &it, kTideId, &id, -1);
    TideChosen(id ? id : "");
    g_free(id);
}

// The search's completions refilled as a name is typed: the stations
// whose name, region or country holds it, nearest first.
void OnTideTyped(GtkEditable* editable, gpointer)
{
    if (g.filling) return;
    const std::string text = gtk_entry_get_text(GTK_ENTRY(editable));
    gtk_list_store_clear(g.tide_found);
    if (text.size() < 2) return;
    const ConfigValues v = Fields();
    for (const TideOffer& o : TideChoice_Offers(text, v.latitude, v.longitude, kTideFound)) {
        GtkTreeIter it;
        gtk_list_store_append(g.tide_found, &it);
        const std::string shown = Message(_("%s (%.0f km)"), o.label.c_str(), o.km);
        gtk_list_store_set(g.tide_found, &it, kTideText, shown.c_str(), kTideId, o.id.c_str(), -1);
    }
}

gboolean OnTideMatch(GtkEntryCompletion* completion, GtkTreeModel* model, GtkTreeIter* it, gpointer)
{
    gchar *id = nullptr, *text = nullptr;
    gtk_tree_model_get(model, it, kTideText, &text, kTideId, &id, -1);
    g.filling = true;
    gtk_entry_set_text(GTK_ENTRY(gtk_entry_completion_get_entry(completion)), text ? text : "");
    g.filling = false;
    TideChosen(id ? id : "");
    g_free(id);
    g_free(text);
    return TRUE;
}

// Enter in the tide entry: the nearest station the search finds.
void OnTideActivate(GtkEntry* entry, gpointer)
{
    const ConfigValues v = Fields();
    const std::vector<TideOffer> found =
        TideChoice_Offers(gtk_entry_get_text(entry), v.latitude, v.longitude, 1);
    if (found.empty()) return;
    g.filling = true;
    gtk_entry_set_text(entry, Message(_("%s (%.0f km)"), found[0].label.c_str(), found[0].km).c_str());
    g.filling = false;
    TideChosen(found[0].id);
}

void Tell(GtkMessageType type, const std::string& text)
{
    GtkWidget* m = gtk_message_dialog_new(GTK_WINDOW(g.dialog), GTK_DIALOG_MODAL, type,
                                          GTK_BUTTONS_CLOSE, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(m), "tenmado");
    gtk_dialog_run(GTK_DIALOG(m));
    gtk_widget_destroy(m);
}

// The values v in force: the observer's and the tides'.
void ApplyAll(const ConfigValues& v)
{
    Config_Apply(v);
    std::string problem;
    std::vector<std::string> warnings;
    TideChoice_Choose(v.tide_station, v.latitude, v.longitude, &problem, &warnings);
}

void OnResponse(GtkDialog* dialog, gint response, gpointer)
{
    if (response == GTK_RESPONSE_ACCEPT) {
        const std::string zone = gtk_entry_get_text(GTK_ENTRY(g.zone));
        ConfigLayer z;
        if (!zone.empty() && !Config_ParseZone(zone.c_str(), &z)) {
            Tell(GTK_MESSAGE_ERROR,
                 Message(_("The zone \"%s\" is not %s (or empty: from the longitude)."),
                         zone.c_str(), Config_ZoneAccepted().c_str()));
            return;
        }
        std::string why;
        if (!SettingsFile_Write(g.path, Fields(), &why)) {
            Tell(GTK_MESSAGE_ERROR, Message(_("The settings were not saved: %s"), why.c_str()));
            return;
        }
        g.before = Fields();
        Config_Over(g.command_line, &g.before);
        if (g.saved) g.saved();
    }
    // Cancel (or closed): the picture as it was
    ApplyAll(g.before);
    if (g.parent) gtk_widget_queue_draw(GTK_WIDGET(g.parent));
    gtk_widget_destroy(GTK_WIDGET(dialog));
    g.dialog = nullptr;
}

// A row: its label, the field, and beside it, when an option of the
// command line sets the value for this run, a note saying which.
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
        GtkWidget* n = gtk_label_new(Message(_("Set by %s for this run"), option).c_str());
        gtk_widget_set_name(n, option);
        gtk_widget_set_tooltip_text(
            n, _("The option on the command line wins until tenmado is started again; Save "
                 "still writes this field into the settings file."));
        gtk_style_context_add_class(gtk_widget_get_style_context(n), GTK_STYLE_CLASS_DIM_LABEL);
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

// The tide station's field: a list (the default, the nearest, the
// stations nearest the place) with an entry searching all of them.
GtkWidget* TideField()
{
    g.tides = gtk_list_store_new(kTideColumns, G_TYPE_STRING, G_TYPE_STRING);
    g.tides_lat = g.tides_lon = NAN;
    GtkWidget* box = gtk_combo_box_new_with_model_and_entry(GTK_TREE_MODEL(g.tides));
    g_object_unref(g.tides);
    gtk_combo_box_set_entry_text_column(GTK_COMBO_BOX(box), kTideText);
    GtkWidget* entry = gtk_bin_get_child(GTK_BIN(box));
    gtk_widget_set_name(box, "tide-station");
    gtk_entry_set_placeholder_text(GTK_ENTRY(entry), _("Search the stations by name or country"));
    gtk_entry_set_text(GTK_ENTRY(entry), TideText(g.tide, g.file.latitude, g.file.longitude).c_str());
    gtk_entry_set_width_chars(GTK_ENTRY(entry), 36);
    g.tide_found = gtk_list_store_new(kTideColumns, G_TYPE_STRING, G_TYPE_STRING);
    GtkEntryCompletion* completion = gtk_entry_completion_new();
    gtk_entry_completion_set_model(completion, GTK_TREE_MODEL(g.tide_found));
    g_object_unref(g.tide_found);
    gtk_entry_completion_set_text_column(completion, kTideText);
    gtk_entry_completion_set_match_func(completion, AnyMatch, nullptr, nullptr);
    gtk_entry_completion_set_minimum_key_length(completion, 2);
    g_signal_connect(completion, "match-selected", G_CALLBACK(OnTideMatch), nullptr);
    gtk_entry_set_completion(GTK_ENTRY(entry), completion);
    g_object_unref(completion);
    g_signal_connect(entry, "changed", G_CALLBACK(OnTideTyped), nullptr);
    g_signal_connect(entry, "activate", G_CALLBACK(OnTideActivate), nullptr);
    g_signal_connect(box, "changed", G_CALLBACK(OnTideListChosen), nullptr);
    return box;
}

}  // namespace

void Preferences_Setup(const std::string& settings_path, const ConfigLayer& command_line)
{
    g.path = settings_path;
    g.command_line = command_line;
}

void Preferences_OnSaved(void (*saved)()) { g.saved = saved; }

/*
**  Preferences_Show
**  The Preferences window over the main window.
**
**  Notes:
**  1) The fields hold the settings file's values over the defaults (the
**     file read again now); the picture shows the fields with the command
**     line's options over them, at every change (the tide station too,
**     chosen again for the place). Save writes the fields
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
    g.tide = g.file.tide_station;

    g.dialog = gtk_dialog_new_with_buttons(_("tenmado: Preferences"), parent,
                                           GTK_DIALOG_DESTROY_WITH_PARENT, _("_Cancel"),
                                           GTK_RESPONSE_CANCEL, _("_Save"), GTK_RESPONSE_ACCEPT,
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
    GtkGrid* gr = GTK_GRID(grid);
    Row(gr, 0, _("_Place"), g.place, c.place.has_value(), "--place");

    g.lat = Spin(-90, 90, 0.1, 4, g.file.latitude);
    gtk_widget_set_name(g.lat, "latitude");
    Row(gr, 1, _("_Latitude (north +)"), g.lat, c.latitude.has_value(), "--lat");
    g.lon = Spin(-180, 180, 0.1, 4, g.file.longitude);
    gtk_widget_set_name(g.lon, "longitude");
    Row(gr, 2, _("L_ongitude (east +)"), g.lon, c.longitude.has_value(), "--lon");

    // the zone: hours, a name, system, or empty (from the longitude)
    g.zone = gtk_entry_new();
    gtk_widget_set_name(g.zone, "zone");
    gtk_entry_set_placeholder_text(GTK_ENTRY(g.zone),
                                   _("from the longitude; or 9, Asia/Tokyo, Europe/London, system"));
    gtk_entry_set_text(GTK_ENTRY(g.zone), ZoneText(g.file).c_str());
    g_signal_connect(g.zone, "changed", G_CALLBACK(OnChanged), nullptr);
    Row(gr, 3, _("_Zone"), g.zone, c.zone.has_value() || c.zone_name.has_value(), "--zone");

    // the view
    g.direction = gtk_combo_box_text_new();
    for (const char* d : kDirections)
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(g.direction), _(d));
    int nearest = -1;
    for (int k = 0; k < 8; k++)
        if (std::fabs(kDirectionDegrees[k] - g.file.azimuth) < 1e-9) nearest = k;
    gtk_combo_box_set_active(GTK_COMBO_BOX(g.direction), nearest);
    g_signal_connect(g.direction, "changed", G_CALLBACK(OnDirection), nullptr);
    Row(gr, 4, _("_View toward"), g.direction, c.azimuth.has_value(), "--azimuth");
    g.degrees = Spin(-360, 360, 1, 1, g.file.azimuth);
    gtk_widget_set_name(g.degrees, "azimuth");
    Row(gr, 5, _("View, _degrees from the south toward the west"), g.degrees, false, "");
    g.prints = gtk_label_new("");
    gtk_widget_set_halign(g.prints, GTK_ALIGN_START);
    gtk_grid_attach(gr, g.prints, 1, 6, 1, 1);

    // the tides
    Row(gr, 7, _("_Tide station"), TideField(), c.tide_station.has_value(), "--tide-station");

    // the labels
    g.labels = gtk_combo_box_text_new();
    gtk_widget_set_name(g.labels, "labels");
    int label = 0;
    for (int k = 0; k < 3; k++) {
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(g.labels), _(kLabelNames[k]));
        if (kLabelChoices[k] == g.file.labels) label = k;
    }
    gtk_combo_box_set_active(GTK_COMBO_BOX(g.labels), label);
    g_signal_connect(g.labels, "changed", G_CALLBACK(OnChanged), nullptr);
    Row(gr, 8, _("_Labels of the picture"), g.labels, c.labels.has_value(), "--labels");

    g.widget = gtk_check_button_new_with_mnemonic(_("As a desktop _widget (from the next start)"));
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g.widget), g.file.widget);
    gtk_grid_attach(gr, g.widget, 1, 9, 1, 1);

    GtkWidget* credit = gtk_label_new(_("Places: GeoNames (www.geonames.org), CC BY 4.0"));
    gtk_widget_set_halign(credit, GTK_ALIGN_START);
    gtk_grid_attach(gr, credit, 0, 10, 3, 1);

    g.filling = false;
    g_signal_connect(g.dialog, "response", G_CALLBACK(OnResponse), nullptr);
    gtk_widget_show_all(g.dialog);
    Preview();
}
