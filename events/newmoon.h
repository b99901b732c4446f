#pragma once
// Elongation of the Moon from the Sun (aberration 0.0057), in (-20, 340].
double Elongation(double jd);
void FirstdayCal1(double jd, double* newmoon1, double* newmoon2);
void FirstdayCal2(double jd, double target, double* result);
