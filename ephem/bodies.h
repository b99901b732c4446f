// The bodies of the view by body index: 0 Moon, 1 Mercury, 2 Venus, 3 Sun,
// 4 Mars, 5 Jupiter, 6 Saturn; their names and their positions as the
// planet panel and the almanac take them.
#pragma once

struct tagPosition;

constexpr int kPanelBodies = 7;
constexpr int kPanelMoon = 0;

// Names by body index, Shift_JIS ("月", "水星", ...; null after the last),
// and in English for the almanac's JSON.
extern const char* const Pla1[8];
extern const char* const kBodyEnglish[kPanelBodies];

// Position of body index 0..6 (Moon, Mercury, Venus, Sun, Mars, Jupiter,
// Saturn) at jd as the planet panel computes it, into its shared record;
// az and el from Az_El with latitude, longitude. Returns the record.
const tagPosition* PanelBody(int index, double jd, double* az, double* el);
