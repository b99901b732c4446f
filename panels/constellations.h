// Constellation tables: labels, figure stars, index.
#pragma once
#include <cstdint>

constexpr int kConstellations = 88;
constexpr int kStar2Rows = 528;
constexpr int kMaxSlot = 21;        // figure slots 1..21; slot 0 discards
constexpr int kMaxFigureRows = 21;  // rows the reader takes at most
extern const int32_t Star1[kConstellations];      // first Star2 row (from 1), 0 = no figure
// Columns of a Star2 row (Star2[row - 1][column]).
enum Star2Column : int {
    kStar2Constellation = 0,  // constellation number 1..88 (0 in the rows after the figures)
    kStar2Ra,                 // right ascension J2000, 0.001 h (Pegasus' two corners above 24 h)
    kStar2Dec,                // declination J2000, 0.01 degree
    kStar2PmRa,               // proper motion in right ascension, mas/yr (not read)
    kStar2PmDec,              // proper motion in declination, mas/yr (not read)
    kStar2Parallax,           // mas (not read)
    kStar2RadialVelocity,     // km/s (not read)
    kStar2Colour,             // colour class 1..7 of the dot
    kStar2Magnitude,          // visual magnitude, 0.1 mag
    kStar2Slots,              // slot code: the star's places in the figure (DecodeSlots)
    kStar2Columns
};
extern const double Star2[kStar2Rows][kStar2Columns];
extern const char* const Star3[kConstellations];   // "And.ｱﾝﾄﾞﾛﾒﾀﾞ" (Shift_JIS)

// Slots named by a packed slot code; returns how many (0..3) were written.
int DecodeSlots(double code, int slots[3]);

// One figure row as the chart reads it.
struct FigureRow { double ra, dec; int colour; double mag; double code; };
// Rows of constellation index c (0..87), at most 21; returns the count.
int ReadFigure(int c, FigureRow rows[21]);

int Seiza_XY(double jd, double ra, double dec, double lat, double lon, double* az, double* zd);
