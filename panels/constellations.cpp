// Constellation tables: slot-code decoding, the figure reader, and the
// horizon-cut conversion Seiza_XY. The tables themselves (Star1, Star2,
// Star3) are generated into panels/constellation_tables.cpp.
#include "panels/constellations.h"

#include <cmath>

#include "timecal/constants.h"
#include "timecal/julian.h"

static_assert(sizeof(Star1) / sizeof(Star1[0]) == 88, "Star1: one entry per constellation");
static_assert(sizeof(Star3) / sizeof(Star3[0]) == 88, "Star3: one label per constellation");
static_assert(kStar2Columns == 10, "Star2: ten columns");
static_assert(sizeof(Star2) == 528 * 10 * sizeof(double), "Star2: 528 rows of 10 doubles");
static_assert(sizeof(Star2[0]) == 80, "Star2: 80 bytes a row");

namespace {
constexpr double R = kDegToRad;
constexpr double kHorizonCut = -15.0;  // Seiza_XY: altitude at or below which a star is dropped
}  // namespace

/*
**  DecodeSlots
**  The slot numbers packed into one slot code of a Star2 row.
**
**  Given:
**     code   double   slot code (kStar2Slots of a Star2 row)
**
**  Returned:
**     slots  int[3]   the slots named, in packing order
**     (function value) int   how many slots were written, 0..3
**
**  Notes:
**  1) The packing, each division truncated toward zero:
**       code < 14           one slot: the code itself (0: dot only, no slot)
**       14 <= code < 999    two: a = code / 10, code - 10 a        (37 -> 3, 7)
**       999 <= code < 9999  two: a = code / 100, code - 100 a      (1416 -> 14, 16)
**       code > 9999         three: a = code / 10000,
**                           b = (code - 10000 a) / 100, code - 100 b - 10000 a
**                           (30509 -> 3, 5, 9)
**       code == 9999        no slot.
**  2) Slot 0 is the discard place: a zero digit (1500 -> 15, 0) puts nothing
**     into the figure. A slot number outside 0..kMaxSlot, which only a code
**     foreign to the tables can produce (9998 -> 99, 98), is returned as 0 so
**     that a caller indexing its kMaxSlot + 1 slots stays inside them.
*/
int DecodeSlots(double code, int slots[3])
{
    int n;
    if (code < 14) {
        // rule 1: one slot
        slots[0] = static_cast<int>(code);
        n = 1;
    } else if (code < 999) {
        // rule 2: two slots, tens and units
        double a = std::trunc(code / 10);
        slots[0] = static_cast<int>(a);
        slots[1] = static_cast<int>(code - 10 * a);
        n = 2;
    } else if (code < 9999) {
        // rule 3: two slots, hundreds and the last two digits
        double a = std::trunc(code / 100);
        slots[0] = static_cast<int>(a);
        slots[1] = static_cast<int>(code - 100 * a);
        n = 2;
    } else if (code > 9999) {
        // rule 4: three slots of two digits each
        double a = std::trunc(code / 10000);
        double b = std::trunc((code - 10000 * a) / 100);
        slots[0] = static_cast<int>(a);
        slots[1] = static_cast<int>(b);
        slots[2] = static_cast<int>(code - 100 * b - 10000 * a);
        n = 3;
    } else {
        // rule 5: 9999 (and a NaN) names no slot
        n = 0;
    }
    for (int i = 0; i < n; ++i)
        if (slots[i] < 0 || slots[i] > kMaxSlot) slots[i] = 0;
    return n;
}

/*
**  ReadFigure
**  The rows of one constellation's figure as the star chart reads them.
**
**  Given:
**     c      int            constellation index 0..87 (constellation
**                           number - 1)
**
**  Returned:
**     rows   FigureRow[21]  ra, dec (degrees, J2000), colour class,
**                           magnitude, slot code
**     (function value) int  number of rows, 0 when the constellation has
**                           no figure
**
**  Notes:
**  1) The figure starts at Star2 row Star1[c] (rows counted from 1); reading
**     stops before the first row whose constellation number
**     differs from the previous row's, after kMaxFigureRows rows, or at the
**     end of Star2. The zero rows after the last figure end it.
**  2) ra = kStar2Ra / 1000 * 360 / 24 degrees, dec = kStar2Dec / 100 degrees,
**     colour = kStar2Colour, mag = kStar2Magnitude / 10, code = kStar2Slots.
**  3) An index outside 0..87 yields no rows.
*/
int ReadFigure(int c, FigureRow rows[21])
{
    if (c < 0 || c >= kConstellations) return 0;
    const int first = Star1[c];
    if (first < 1 || first > kStar2Rows) return 0;

    int n = 0;
    double previous = Star2[first - 1][kStar2Constellation];  // the first row is always taken
    for (int row = first; row <= kStar2Rows && n < kMaxFigureRows; ++row) {
        const double* r = Star2[row - 1];
        // the next constellation (or the zero rows) ends the figure
        if (r[kStar2Constellation] != previous) break;
        previous = r[kStar2Constellation];
        rows[n].ra = r[kStar2Ra] / 1000 * 360 / 24;
        rows[n].dec = r[kStar2Dec] / 100;
        rows[n].colour = static_cast<int>(r[kStar2Colour]);
        rows[n].mag = r[kStar2Magnitude] / 10;
        rows[n].code = r[kStar2Slots];
        ++n;
    }
    return n;
}

/*
**  Seiza_XY
**  Azimuth and zenith distance of a star, dropping stars more than 15
**  degrees below the horizon.
**
**  Given:
**     jd     double   Julian day (UT)
**     ra     double   right ascension, degrees
**     dec    double   declination, degrees
**     lat    double   observer's north latitude, degrees
**     lon    double   observer's east longitude, degrees
**
**  Returned:
**     az     double*  azimuth, degrees from the south toward the west, -90..90
**     zd     double*  zenith distance, degrees
**     (function value) int   0, or -1 (outputs untouched) when the altitude
**                            is -15 degrees or lower
**
**  Notes:
**  1) Hour angle H = LST(jd, lon) * 15 - ra. sin h = x = sin dec sin lat +
**     cos dec cos lat cos H; h = atan(x / sqrt(1 - x^2)).
**  2) The azimuth is the plain arctangent of cos dec sin H /
**     (cos H sin lat cos dec - sin dec cos lat): it folds the half of the
**     sky beyond the prime vertical onto -90..90 (an azimuth of 150 comes
**     back as -30).
**  3) x is held inside -1..1 so that rounding at the zenith or the nadir
**     cannot take the square root of a negative number; at the zenith itself
**     (both terms of the azimuth zero) the azimuth is returned as 0.
**  4) No panel calls it.
**
**  Called:  LST
*/
int Seiza_XY(double jd, double ra, double dec, double lat, double lon, double* az, double* zd)
{
    // local sidereal time and hour angle
    double st = LST(jd, lon);
    double H = st * 15 - ra;

    // altitude
    double x = std::sin(dec * R) * std::sin(lat * R) + std::cos(dec * R) * std::cos(lat * R) * std::cos(H * R);
    if (x > 1) x = 1;
    if (x < -1) x = -1;
    double h = std::atan(x / std::sqrt(1 - x * x)) / R;

    // the horizon cut
    if (h <= kHorizonCut) return -1;

    // azimuth (plain arctangent) and zenith distance
    double num = std::cos(dec * R) * std::sin(H * R);
    double den = std::cos(H * R) * std::sin(lat * R) * std::cos(dec * R) - std::sin(dec * R) * std::cos(lat * R);
    *az = (num == 0 && den == 0) ? 0.0 : std::atan(num / den) / R;
    *zd = 90 - h;
    return 0;
}
