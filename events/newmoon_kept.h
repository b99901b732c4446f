// The new moons of the observer's local date, kept from one call to the
// next: FirstdayCal1 depends on nothing but the local date of its instant,
// so it runs again only when that date changes, and then replays the
// elongation samples of its previous run (consecutive dates share 40 of
// their 41 day windows).
#pragma once

// FirstdayCal1's new moons of the local date of jd, searched once a date.
void FirstdayCal1_Kept(double jd, double* newmoon1, double* newmoon2);
// MoonAgeDays_Kept: MoonAgeDays(jd) from the kept new moons.
double MoonAgeDays_Kept(double jd);
// Forget the kept date and samples (tests, the state at start).
void FirstdayCal1_Forget();
