// The observer as the main panel leaves it for the searches: the settings at
// start and the working copies of the place; Julian days of Tokyo civil time.
#pragma once
#include "app/settings.h"
#include "timecal/julian.h"

namespace testing_observer {

inline void Observer()
{
    Settings_Reset();
    latitude = latitude0 = m_input_lat;
    longitude = longitude0 = m_input_lon;
}

inline double Tokyo(int y, int m, int d, double h)
{
    return JD(y, m, d, h, 0, 139.7);
}

}  // namespace testing_observer
