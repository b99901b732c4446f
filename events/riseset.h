#pragma once
#include <functional>

// Body codes of the searches: the Sun, the Moon; any other code is a planet
// code of Planet_Position.
constexpr int kBodySun = 0;
constexpr int kBodyMoon = 3;
// The result of Cal_Rise_Time, Cal_Set_Time and Cal_Top_Time without an event.
constexpr double kNoEvent = 23.0;

double Cal_Rise_Time(double jd, int body);
double Cal_Set_Time(double jd, int body);
double Cal_Top_Time(double jd, int body);

// ---- the hour scan and narrowing shared by the three routines
// The three events differ only in the sampled quantity, the direction of
// the crossing and how far the farther end of a bracket moves.
enum class EventKind {
    Rise,         // altitude passes -0.85 upward; ends move by a third
    Set,          // altitude passes -0.85 downward; ends move to the midpoint
    Culmination,  // azimuth passes 0 upward; ends move to the midpoint
};
// Work done by the last search: samples taken, narrowing steps over all
// bracketed hours, and the most steps spent on one narrowing.
struct EventSearchCount {
    int samples;
    int steps;
    int max_steps;
};
// Scan local hours 0..24 of one date with sample(t) (t in local hours) and
// narrow the first converging bracket (bisecting again an hour whose
// narrowing loses the crossing); returns the local time or, without
// an event, t0 as the last hour left it (23.0 unless the 23-24 bracket was
// narrowed). Any sample function can be given (tests).
double Event_Search(EventKind kind, const std::function<double(double)>& sample,
                    EventSearchCount* count = nullptr);
// Counts of the last Cal_Rise_Time, Cal_Set_Time or Cal_Top_Time call.
EventSearchCount Event_LastCount();
