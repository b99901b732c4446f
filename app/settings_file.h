// The settings file written (the Preferences window's Save): the observer's
// keys and the widget mode into the key file, the file's comments, groups
// and keys the program does not know kept; written whole or not at all.
#pragma once
#include <string>

#include "app/config.h"

// Write values into the settings file at path: [observer] latitude,
// longitude, zone (hours, a zone's name, or no key for the zone from the
// longitude), place (the name, or no key), azimuth; [window] widget and
// welcomed = true; [tides] station (no key for the default); [display]
// labels (no key while it is the default and the file has none).
// Everything else of an existing file stays as it was, comments included.
// The file goes to a temporary file in its folder (created when missing),
// synced and renamed over it, with the old file's permission bits (0600 for
// a new one). Returns false with the reason in *why when nothing was
// written.
bool SettingsFile_Write(const std::string& path, const ConfigValues& values, std::string* why);
// Only [window] welcomed = true into the file at path (the first start's
// offer dismissed), everything else as it was; written as SettingsFile_Write
// writes.
bool SettingsFile_Welcomed(const std::string& path, std::string* why);
