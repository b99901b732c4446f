// The Sun: its geocentric position, and its equatorial coordinates referred
// to the equinox of a given year.
#pragma once
#include "ephem/position.h"
// Geocentric position of the Sun at jd (UT), observer latitude0, longitude0.
void Sun_Position(double jd, tagPosition* rec);
// The Sun's geocentric equatorial x, y, z (AU), mean equinox of year.
void Solar_Geo(double jd, double year, double* x, double* y, double* z);
