// Tide prediction at a station of the database: the height at an instant,
// the high and low waters of a span and of the station's local date.
#pragma once
#include <vector>

#include "tides/constituents.h"
#include "tides/stations.h"

// A reference station's constituents resolved for prediction.
struct TideModel {
    double z0 = 0;                          // mean sea level above the datum, metres
    std::vector<TideConstituent> constituents;
    std::vector<double> amplitude, phase;   // metres, degrees (Greenwich lag)
    int unknown = 0;                        // constituents left out (names not built)
};
// The model of a reference station (of the reference, for a subordinate);
// no constituents when the station's terms do not read.
TideModel Tide_Model(const TideDatabase& db, const TideStation& station);

// Height above the datum at jd (UT), metres: f and u taken at jd.
double Tide_Height(const TideModel& m, double jd);

struct TideWater {
    bool high;
    double jd;      // UT
    double height;  // metres above the station's datum
};
// The high and low waters of a reference model with jd in [jd1, jd2), in
// time order.
std::vector<TideWater> Tide_Waters(const TideModel& m, double jd1, double jd2);
// The same at a station: a subordinate station's from its reference's,
// moved by its time offsets and scaled or raised by its height offsets.
std::vector<TideWater> Tide_StationWaters(const TideDatabase& db, const TideStation& station,
                                          const TideModel& m, double jd1, double jd2);

// The station's local date of jd: its start and end (Julian days UT) in
// the station's zone (the zone of its longitude when the zone's file
// cannot be read).
void Tide_LocalDay(const TideStation& station, double jd, double* start, double* end);
// The day record (laid out as the Tokyo Bay search's: heights of high 1,
// high 2, low 1, low 2 in 0..3, their Julian days in 4..7, 0.0 where none)
// of the station's local date of jd: the first two high and the first two
// low waters of the date.
void Tide_StationDay(const TideDatabase& db, const TideStation& station, const TideModel& m,
                     double jd, double record[8]);
