// The clock held at one civil instant for the life of a guard, and given
// back to the system when the guard goes (also when a test fails early).
#pragma once
#include <cstdint>

#include "timecal/clock.h"

namespace testing_clock {

class FixedClock {
public:
    explicit FixedClock(int64_t civil_seconds) { Clock_Fix(civil_seconds); }
    FixedClock(int year, int month, int day, int hour, int minute, int second)
        : FixedClock(Clock_CivilFromFields(year, month, day, hour, minute, second))
    {
    }
    ~FixedClock() { Clock_UseSystem(); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};

}  // namespace testing_clock
