#pragma once
// Tide[0..3]: heights of high 1, high 2, low 1, low 2; Tide[4..7]: their JDs. 0.0 = none.
extern double Tide[8];
void Tide1_Loop(double jd, double t, double* height, double* height_datum);
void Tide_Cal(double jd);
