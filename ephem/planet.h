#pragma once
#include "ephem/position.h"

// Perturbation grids of Jupiter and Saturn: [i][j] for B = 10 i, A = 10 j.
extern const double Jup_L8[37][37];
extern const double Jup_Ps8[37][37];
extern const double Jup_Ph8[37][37];
extern const double Sat_L8[37][37];
extern const double Sat_Ps8[37][37];
extern const double Sat_Ph8[37][37];
extern const double Sat_Ax8[37][37];

void Planet_Position(int code, double jd, tagPosition* rec);
