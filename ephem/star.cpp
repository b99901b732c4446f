// Catalogue stars brought to the date: the packed B1900 position decoded,
// proper motion and precession from 1900.0 to the mean equinox of date, and
// the ecliptic position.
#include "ephem/star.h"

#include <cstring>

#include "ephem/transforms.h"
#include "timecal/sexagesimal.h"

namespace {
constexpr double kCatalogueEpoch = 1900.0;  // equinox and epoch of Star_table (Julian day 2415021.0)

// Copy a NUL-terminated string into a field of n bytes, always terminated.
void CopyField(char* dst, const char* src, size_t n)
{
    std::strncpy(dst, src, n - 1);
    dst[n - 1] = '\0';
}
}  // namespace

/*
**  Star_Position
**  A catalogue star brought to the mean equinox of date.
**
**  Given:
**     jd      double         Julian day (UT)
**     index   int            Star_table entry, 0..kStarCount-1 (not checked)
**
**  Returned:
**     rec     tagPosition*   ra, dec (degrees, mean equinox of date), lam,
**                            bet (degrees, obliquity of date), mag, number
**                            (the HR number), label, name
**     (function value) int   always 0
**
**  Notes:
**  1) The right ascension is decoded as packed h.mmss (HMSToDeg), the
**     declination as packed d.mmss with the correction for seconds that
**     the binary fraction turns into 100 (DMSToDeg: 31.59 is 31 59' 00",
**     not 31 58' 100"); the sign is the packed value's.
**  2) Proper motion and precession (IAU 1976 angles) run from 1900.0
**     (Julian day 2415021.0) to jd over the same interval: at the epoch
**     the decoded catalogue place comes back unchanged.
**  3) az and el are not computed here; no other field is written.
**
**  Reference:
**     Positions, magnitudes and proper motions: Hoffleit, D., Warren, W.H.,
**     The Bright Star Catalogue, 5th revised ed. (1991), B1900 (see
**     ephem/star_catalog.cpp); the reduction: Precession.
**
**  Called:  HMSToDeg, DMSToDeg, Precession, RaToLam
*/
int Star_Position(double jd, int index, tagPosition* rec)
{
    const tagStarData& s = Star_table[index];
    // the packed catalogue position, degrees
    double ra0 = HMSToDeg(s.ra_hms);
    double dec0 = DMSToDeg(s.dec_dms);
    // proper motion and precession to the mean equinox of date
    double ra, dec;
    Precession(jd, kCatalogueEpoch, ra0, dec0, s.pm_ra, s.pm_dec, &ra, &dec);
    // ecliptic coordinates
    double lam, bet;
    RaToLam(jd, ra, dec, &lam, &bet);
    // the record
    rec->ra = ra;
    rec->dec = dec;
    rec->lam = lam;
    rec->bet = bet;
    rec->mag = s.vmag;
    rec->number = s.hr;
    CopyField(rec->name, s.name, sizeof rec->name);
    CopyField(rec->label, s.label, sizeof rec->label);
    return 0;
}
