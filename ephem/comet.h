// Comets and other bodies on Keplerian orbits.
#pragma once
#include "ephem/position.h"

struct tagParameter {
    double spare0;
    double peri_jd;    // time of perihelion, JD
    double spare2, spare3;
    double q;          // perihelion distance, AU
    double asc_node;   // degrees
    double peri;       // argument of perihelion, degrees
    double inc;        // degrees
    double a;          // semi-major axis, AU
    double e;
    double equinox;    // year
    double abs_mag;
    double mag_slope;
    double spare13, spare14, spare15;
};
extern tagParameter Comet;  // the program holds no elements: stays zero

void Keplar(double M, double e, double* E);  // Kepler's equation; M, E degrees
// Geocentric position of a comet from its elements at jd (UT).
void Comet_Position(double jd, tagPosition* rec, tagParameter elements);
