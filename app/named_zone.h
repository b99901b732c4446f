// Named time zones: an IANA name (Asia/Tokyo, Europe/London) or "system"
// (the desktop's own zone, as TZ or /etc/localtime give it), read from the
// system's tz database through GLib's GTimeZone. The zone becomes the
// observer's zone rule (m_input_zone_rule): every time shown is in the
// offset in force at its instant.
#pragma once
#include <cstdint>
#include <string>

// Whether text names a zone GLib knows ("system" always does); a number of
// hours is not a name.
bool NamedZone_Valid(const std::string& text);
// Set the observer's zone rule to the named zone (true), or clear it for an
// empty name (true); false, nothing changed, for a name GLib does not know.
bool NamedZone_Set(const std::string& text);
// The zone in force: its name as given ("Europe/London", "system"), empty
// without a named zone.
const std::string& NamedZone_Name();
// The offset, seconds east of UTC, of the named zone at an instant (seconds
// from 1970-01-01 00:00 UTC); 0 without one.
long NamedZone_Offset(int64_t utc_seconds);

// The name of the place chosen from the gazetteer, for the JSON (empty:
// none).
void NamedZone_SetPlaceName(const std::string& name);
const std::string& NamedZone_PlaceName();
