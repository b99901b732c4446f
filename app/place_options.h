// The command line's places: --places lists the gazetteer's matches.
#pragma once
#include <string>

// Print the places matching text, most populous first, one a line (name,
// Japanese name, region, country, latitude, longitude, zone, people);
// returns the exit status: 0 with matches, 1 without or without the
// gazetteer (a message on stderr).
int PlaceOptions_List(const char* text);
// Whether a problem of Config_ParsePlace is the gazetteer missing (a
// warning: the numbers still work) rather than a mistake in the name.
bool PlaceOptions_DataMissing(const std::string& problem);
