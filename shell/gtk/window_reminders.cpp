// Reminders as desktop notifications: a chosen number of minutes before the
// day's sunrise, sunset, moonrise, moonset, high and low water, each event
// once (ReminderBook), off unless the settings file's [reminders] group
// turns them on.
#include <gtk/gtk.h>

#include <cstdio>

#include "app/i18n.h"
#include "app/koyomi.h"
#include "app/readouts.h"
#include "app/reminder_book.h"
#include "app/window_texts.h"
#include "shell/gtk/window_shell.h"
#include "shell/gtk/window_shell_parts.h"
#include "timecal/clock.h"

namespace {


bool g_read = false;
ReminderSettings g_settings;
ReminderBook g_book;

const ReminderSettings& Settings()
{
    if (!g_read) {
        g_read = true;
        std::vector<std::string> warnings;
        if (!WSGtkSettingsPath().empty())
            g_settings = Reminder_ReadSettings(WSGtkSettingsPath(), &warnings);
        for (const std::string& w : warnings) I18n_Print(Message(_("warning: %s"), w.c_str()));
    }
    return g_settings;
}

}  // namespace

// Method: at each repaint of the live clock, the events of the record drawn
// (its day) that are due now by the clock; each one becomes a notification
// whose id names the event, so that one sent again would replace it.
void ShellReminders_Painted(GtkApplication* app, bool live)
{
    const ReminderSettings& settings = Settings();
    if (!settings.enabled || !live || !app) return;
    const KoyomiReadouts& r = Koyomi_Shown();
    if (r.at.jd == 0) return;
    const int64_t now = Clock_CivilSeconds();
    for (const ReminderEvent& e : g_book.due(Reminder_Events(r), now, settings)) {
        const struct tm t = Clock_Fields(e.at);
        char id[64];
        // TRANSLATORS: a reminder's title: the event and its hour and minute
        const std::string title = Message(_("%s at %02d:%02d"), Reminder_Name(e.kind), t.tm_hour, t.tm_min);
        const long minutes = static_cast<long>((e.at - now + 59) / 60);
        const std::string body = Message(ngettext("In %ld minute", "In %ld minutes", minutes), minutes);
        std::snprintf(id, sizeof id, "%s-%lld", Reminder_Key(e.kind),
                      static_cast<long long>(e.at / 60));
        GNotification* n = g_notification_new(title.c_str());
        g_notification_set_body(n, body.c_str());
        g_application_send_notification(G_APPLICATION(app), id, n);
        g_object_unref(n);
        std::fprintf(stderr, "tenmado: reminder %s\n", id);
    }
}
