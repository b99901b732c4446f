// The name of the day's tide (潮名: 大潮, 中潮, 小潮, 長潮, 若潮) from the
// Moon's elongation.
#pragma once

// The Moon's ecliptic longitude less the Sun's (geocentric), degrees in
// [0, 360), at jd (UT). The shared Sun and Moon records are left as they were.
double Tide_Elongation(double jd);
// The tide's name (Shift_JIS) for an elongation in degrees (any value).
const char* Tide_NameOf(double elongation);
// The tide's name of the civil date that begins at jd0 (UT of its 0 h).
const char* Tide_NameOfDate(double jd0);
