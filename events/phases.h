// The Moon's four principal phases, its illuminated fraction and the name of
// its phase: the same elongation as the new-moon search, followed forward.
#pragma once
#include <functional>
#include <vector>

// The principal phases: the Moon's elongation from the Sun's apparent
// longitude at 0, 90, 180 and 270 degrees.
enum class LunarPhase { New = 0, FirstQuarter = 1, Full = 2, LastQuarter = 3 };
constexpr int kLunarPhases = 4;
struct PhaseInstant {
    LunarPhase phase;
    double jd;  // Julian day (UT)
};

// The eight names of the Moon's phase, waxing from new.
enum class MoonPhaseName {
    New, WaxingCrescent, FirstQuarter, WaxingGibbous,
    Full, WaningGibbous, LastQuarter, WaningCrescent,
};

// The principal phases in (jd1, jd2], in time order.
std::vector<PhaseInstant> Moon_Phases_Between(double jd1, double jd2);
// The next n principal phases after jd, in time order.
std::vector<PhaseInstant> Moon_Phases_Next(double jd, int n);
// The same over any elongation function of the Julian day with values in
// (-20, 340] (tests, the measurement tool's count of samples).
std::vector<PhaseInstant> Moon_Phases_Between_With(double jd1, double jd2,
                                                   const std::function<double(double)>& elong);

// The Moon's illuminated fraction at jd, 0 to 1, geocentric.
double Moon_Illumination(double jd);
// The name of the Moon's phase on the day [day_start, day_end) (Julian
// days, UT) that holds jd.
MoonPhaseName Moon_Phase_Name(double jd, double day_start, double day_end);
// The English word of a phase name ("waxing crescent") and of a principal
// phase for the JSON ("first_quarter").
const char* Moon_Phase_English(MoonPhaseName name);
const char* Lunar_Phase_Key(LunarPhase phase);
