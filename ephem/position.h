// The position record of one body and the shared records.
#pragma once

// tagPosition: one body's position at one instant. Each position routine
// writes only its own fields; every other field keeps what it held.
struct tagPosition {
    char label[8];     // catalogue star designation (Shift_JIS)
    char name[24];     // catalogue star asterism name (Shift_JIS)
    double lam;        // ecliptic longitude, degrees
    double bet;        // ecliptic latitude, degrees
    double sd;         // semi-diameter, degrees
    double x, y, z;    // rectangular coordinates, AU (frame per body)
    double delta;      // comet: geocentric distance, AU
    double dist;       // Sun AU, Moon Earth radii, planet geocentric AU, comet heliocentric AU
    double mag;        // magnitude; the Moon's age in days for the Moon
    double ra;         // right ascension, degrees [0, 360)
    double dec;        // declination, degrees
    double elong;      // comet: elongation, degrees
    double phase;      // Moon: elongation in radians (topocentric); comet: phase angle, degrees
    double axis;       // planet: semi-major axis used, AU
    double mlong;      // planet: mean longitude used, degrees
    double hlong;      // planet: heliocentric longitude, degrees
    double number;     // star: HR number
    double rise_time;  // local decimal hours (main panel)
    double az;         // azimuth from the south, positive west, degrees
    double el;         // altitude, degrees
    double set_time;   // local decimal hours (main panel)
    double node;       // Moon: longitude of the ascending node, degrees
    double ecc;        // Moon: eccentricity
    double ecc_anom;   // Moon: eccentric anomaly, radians
};

// Shared working records: every search and panel that samples a body
// overwrites them; each reader reads a record right after computing it.
extern tagPosition Sun;
extern tagPosition Moon;
extern tagPosition Planet;
extern tagPosition Star;
