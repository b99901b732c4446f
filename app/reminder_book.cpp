// Which reminders are due, each once.
#include "app/reminder_book.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>

#include <cmath>

#include "app/i18n.h"
#include "app/readouts.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

namespace {

constexpr int64_t kMinute = 60;
constexpr long kSettingsMax = 64 * 1024;  // bytes, as the settings reader allows

// Civil seconds of local decimal hours on a civil date (truncated to the
// second).
int64_t At(double year, double month, double day, double hours)
{
    return Clock_CivilFromFields(static_cast<int>(year), static_cast<int>(month),
                                 static_cast<int>(day), 0, 0, 0) +
           static_cast<int64_t>(std::floor(hours * 3600));
}

}  // namespace

/*
**  Reminder_Events
**  The events of the record's day as instants.
**
**  Notes:
**  1) Rise and set are local hours on the record's event date, none when
**     not found; tides are Julian days (0.0 none), taken to the observer's civil
**     time in its zone as the tide rows print them.
*/
std::vector<ReminderEvent> Reminder_Events(const KoyomiReadouts& r)
{
    std::vector<ReminderEvent> out;
    const struct { ReminderKind kind; double hours; bool found; } day[] = {
        {ReminderKind::Sunrise, r.sunrise, r.sunrise_found},
        {ReminderKind::Sunset, r.sunset, r.sunset_found},
        {ReminderKind::Moonrise, r.moonrise, r.moonrise_found},
        {ReminderKind::Moonset, r.moonset, r.moonset_found}};
    for (const auto& e : day)
        if (e.found && r.event_year >= 1)
            out.push_back({e.kind, At(r.event_year, r.event_month, r.event_day, e.hours)});
    for (int i = 0; i < 4; ++i) {
        const double t = r.tide[4 + i];
        if (t == 0.0) continue;
        double y, mo, d, hr;
        Calendar_Zone(t, &y, &mo, &d, &hr, r.at.place.longitude, r.at.place.zone);
        out.push_back({i < 2 ? ReminderKind::HighWater : ReminderKind::LowWater, At(y, mo, d, hr)});
    }
    return out;
}

std::vector<ReminderEvent> ReminderBook::due(const std::vector<ReminderEvent>& events, int64_t now,
                                             const ReminderSettings& settings)
{
    std::vector<ReminderEvent> out;
    if (!settings.enabled) return out;
    const int64_t lead = int64_t{settings.minutes} * kMinute;
    for (const ReminderEvent& e : events) {
        if (!settings.kinds[static_cast<int>(e.kind)]) continue;
        if (now < e.at - lead || now >= e.at) continue;  // not yet, or past
        // an event is its kind and minute: the same event found again by
        // another record's search is not sent again
        const auto key = std::make_pair(static_cast<int>(e.kind), e.at / kMinute);
        if (!sent_.insert(key).second) continue;
        out.push_back(e);
    }
    return out;
}

const char* Reminder_Name(ReminderKind kind)
{
    static const char* const names[kReminderKinds] = {N_("Sunrise"), N_("Sunset"), N_("Moonrise"),
                                                      N_("Moonset"), N_("High water"),
                                                      N_("Low water")};
    return _(names[static_cast<int>(kind)]);
}

const char* Reminder_Key(ReminderKind kind)
{
    static const char* const keys[kReminderKinds] = {"sunrise", "sunset", "moonrise",
                                                     "moonset", "high",   "low"};
    return keys[static_cast<int>(kind)];
}

/*
**  Reminder_ReadSettings
**  The reminder settings of a settings file.
*/
ReminderSettings Reminder_ReadSettings(const std::string& path, std::vector<std::string>* warnings)
{
    ReminderSettings s;
    // only a regular file of a settings file's size (the settings reader
    // has said what is wrong with any other): a FIFO would never end
    GStatBuf st;
    if (g_stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kSettingsMax)
        return s;
    GKeyFile* file = g_key_file_new();
    if (!g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr) ||
        !g_key_file_has_group(file, "reminders")) {
        g_key_file_free(file);
        return s;
    }
    const char* where = path.c_str();
    GError* error = nullptr;
    if (g_key_file_has_key(file, "reminders", "enabled", nullptr)) {
        const gboolean on = g_key_file_get_boolean(file, "reminders", "enabled", &error);
        if (error)
            warnings->push_back(Message(_("%s: [reminders] enabled is not true or false; reminders stay off"),
                                        where));
        else s.enabled = on;
        g_clear_error(&error);
    }
    if (g_key_file_has_key(file, "reminders", "minutes", nullptr)) {
        const gint m = g_key_file_get_integer(file, "reminders", "minutes", &error);
        if (error || m < 0 || m > 1440)
            warnings->push_back(Message(_("%s: [reminders] minutes is not a whole number from 0 to 1440; "
                                          "10 is used"),
                                        where));
        else s.minutes = m;
        g_clear_error(&error);
    }
    if (g_key_file_has_key(file, "reminders", "events", nullptr)) {
        gsize n = 0;
        gchar** list = g_key_file_get_string_list(file, "reminders", "events", &n, nullptr);
        bool kinds[kReminderKinds] = {};
        for (gsize i = 0; list && i < n; ++i) {
            const std::string name = g_strstrip(list[i]);
            bool known = false;
            for (int k = 0; k < kReminderKinds; ++k)
                if (name == Reminder_Key(static_cast<ReminderKind>(k))) kinds[k] = known = true;
            if (!known && !name.empty())
                warnings->push_back(Message(_("%s: [reminders] events: %s is not an event (sunrise, "
                                              "sunset, moonrise, moonset, high, low)"),
                                            where, name.c_str()));
        }
        g_strfreev(list);
        for (int k = 0; k < kReminderKinds; ++k) s.kinds[k] = kinds[k];
    }
    g_key_file_free(file);
    return s;
}
