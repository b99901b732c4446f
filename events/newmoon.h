#pragma once
// Elongation of the Moon from the Sun (aberration 0.0057), in (-20, 340].
double Elongation(double jd);
void FirstdayCal1(double jd, double* newmoon1, double* newmoon2);
void FirstdayCal2(double jd, double target, double* result);
// Age of the Moon in days at jd as the Moon panel shows it: jd minus the
// latest new moon of FirstdayCal1 not later than jd (0.0 reference when none).
double MoonAgeDays(double jd);
