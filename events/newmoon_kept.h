// The new moons of the observer's local date, kept from one call to the
// next: FirstdayCal1 depends on nothing but the local date of its instant,
// so it runs again only when that date changes, and then replays the
// elongation samples of its previous run (consecutive dates share 40 of
// their 41 day windows).
#pragma once

// FirstdayCal1_Kept
//   Given:    jd  Julian day (UT)
//   Returned: newmoon1, newmoon2  FirstdayCal1's results for the local date
//             of jd (Calendar_Zone at longitude0, Observer_Zone0), bit for bit
//   Notes:    the search itself (and so its writes to year0, month0, day0,
//             hour0 and the Moon and Sun records) runs only for a date other
//             than the last one asked.
void FirstdayCal1_Kept(double jd, double* newmoon1, double* newmoon2);
// MoonAgeDays_Kept: MoonAgeDays(jd) from the kept new moons.
double MoonAgeDays_Kept(double jd);
// Forget the kept date and samples (tests, the state at start).
void FirstdayCal1_Forget();
