#pragma once
#include "ephem/position.h"
void Sun_Position(double jd, tagPosition* rec);
void Solar_Geo(double jd, double year, double* x, double* y, double* z);
