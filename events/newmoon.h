#pragma once
#include <functional>

// Elongation of the Moon from the Sun (aberration 0.0057), in (-20, 340].
double Elongation(double jd);
void FirstdayCal1(double jd, double* newmoon1, double* newmoon2);
void FirstdayCal2(double jd, double target, double* result);
// Age of the Moon in days at jd as the Moon panel shows it: jd minus the
// latest new moon of FirstdayCal1 not later than jd (0.0 reference when none).
double MoonAgeDays(double jd);

// ---- the day windows over any elongation function (tests)
// One local day [jdA, jdB]: narrow an upward crossing of target by elong,
// spending rounds from *rounds_left (one per round, the bracket test
// included). Returns the lower end of the final window, or 0.0 when the
// day has no crossing or the rounds run out.
double NewMoon_Window(double jdA, double jdB, double target,
                      const std::function<double(double)>& elong, int* rounds_left);
// FirstdayCal1 and FirstdayCal2 with the elongation given.
void FirstdayCal1_With(double jd, const std::function<double(double)>& elong,
                       double* newmoon1, double* newmoon2);
void FirstdayCal2_With(double jd, double target, const std::function<double(double)>& elong,
                       double* result);
