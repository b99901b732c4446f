// Named time zones through GLib's GTimeZone.
#include "app/named_zone.h"

#include <glib.h>

#include <cstdint>

#include "timecal/observer.h"

namespace {

GTimeZone* g_zone = nullptr;
std::string g_name;
std::string g_place;

// A zone of GLib, or null: "system" is the local zone (TZ, else
// /etc/localtime); any other text an identifier of the tz database.
GTimeZone* Open(const std::string& text)
{
    if (text == "system") return g_time_zone_new_local();
    if (text.empty() || text.find("..") != std::string::npos || text[0] == '/' || text[0] == ':')
        return nullptr;
    return g_time_zone_new_identifier(text.c_str());
}

long RuleOffset(int64_t utc) { return NamedZone_Offset(utc); }

}  // namespace

/*
**  NamedZone_Valid
**  Whether a text names a zone of the system's tz database.
**
**  Given:
**     text   const std::string&   "system" or an identifier
**                                 ("Europe/London", "UTC")
**
**  Returned (function value):
**          bool   true when GLib opens it (g_time_zone_new_identifier);
**                 paths and ":" forms are refused
*/
bool NamedZone_Valid(const std::string& text)
{
    GTimeZone* z = Open(text);
    if (!z) return false;
    g_time_zone_unref(z);
    return true;
}

/*
**  NamedZone_Set
**  The named zone as the observer's zone rule.
**
**  Given:
**     text   const std::string&   a zone name, "system", or empty (none)
**
**  Returned (function value):
**          bool   false for a name GLib does not know (nothing changes)
**
**  Notes:
**  1) Sets m_input_zone_rule, and m_input_zone_set with m_input_zone to the
**     offset in force now (the main panel's reset takes the offset of each
**     reading). Empty: no rule; the zone settings stay as they are.
*/
bool NamedZone_Set(const std::string& text)
{
    if (text.empty()) {
        if (g_zone) g_time_zone_unref(g_zone);
        g_zone = nullptr;
        g_name.clear();
        m_input_zone_rule = nullptr;
        return true;
    }
    GTimeZone* z = Open(text);
    if (!z) return false;
    if (g_zone) g_time_zone_unref(g_zone);
    g_zone = z;
    g_name = text;
    m_input_zone_rule = RuleOffset;
    m_input_zone_set = true;
    m_input_zone = NamedZone_Offset(static_cast<int64_t>(g_get_real_time() / 1000000)) / 3600.0;
    return true;
}

const std::string& NamedZone_Name() { return g_name; }

/*
**  NamedZone_Offset
**  The named zone's offset at an instant.
**
**  Given:
**     utc   int64_t   seconds from 1970-01-01 00:00 UTC
**
**  Returned (function value):
**          long   seconds east of UTC in force at utc (daylight saving
**                 included); 0 without a named zone
*/
long NamedZone_Offset(int64_t utc)
{
    if (!g_zone) return 0;
    const gint interval = g_time_zone_find_interval(g_zone, G_TIME_TYPE_UNIVERSAL, utc);
    if (interval < 0) return 0;
    return g_time_zone_get_offset(g_zone, interval);
}

void NamedZone_SetPlaceName(const std::string& name) { g_place = name; }
const std::string& NamedZone_PlaceName() { return g_place; }
