// The star catalogue and the position of a catalogue star.
#pragma once
#include <cstdint>
#include "ephem/position.h"

// One catalogue record: B1900 position packed as h.mmss / d.mmss.
struct tagStarData {
    int32_t hr;
    double ra_hms;
    double dec_dms;
    double vmag;
    double pm_ra;   // arcsec/yr, arc of great circle
    double pm_dec;  // arcsec/yr
    char label[8];  // Shift_JIS
    char name[24];  // Shift_JIS
};
constexpr int kStarCount = 219;
extern const tagStarData Star_table[kStarCount];

// Star_table[index] brought to the mean equinox of jd; returns 0.
int Star_Position(double jd, int index, tagPosition* rec);
