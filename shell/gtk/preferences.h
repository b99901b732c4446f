// The Preferences window: the place (searched in the gazetteer, with
// completion), latitude and longitude, the zone (hours, a zone name, system,
// or from the longitude), the view (eight directions and degrees), the tide
// station (the stations nearest the place first, searchable), the labels
// and the widget mode. Changes show in the picture at once; Save writes the
// settings file whole (keeping its comments and the keys it does not know),
// Cancel puts the picture back and writes nothing. Options given on the
// command line still win for the run, and the window says so beside them.
#pragma once
#include <string>

#include "app/config.h"

typedef struct _GtkWindow GtkWindow;

// What the window needs from the start: the settings file's path and the
// command line's layer of settings.
void Preferences_Setup(const std::string& settings_path, const ConfigLayer& command_line);
// A function called after each Save that wrote the file (the first start's
// bar goes then).
void Preferences_OnSaved(void (*saved)());
// Open the window over parent (the menu's Preferences..., Ctrl+,); a second
// call while it is open brings it to the front.
void Preferences_Show(GtkWindow* parent);
