// The offset of a station's civil time from UTC, from the system's time
// zone files (IANA names such as "Asia/Tokyo").
#pragma once
#include <string>

// Hours east of UTC in force at the Julian day jd (UT) in the zone; false
// when the zone's file cannot be read (offset untouched).
bool TideZone_Offset(const std::string& zone, double jd, double* hours);
// The folder of the zone files (tests): /usr/share/zoneinfo unless TZDIR
// is set.
std::string TideZone_Folder();
