// The searches that depend only on the local date and the place (rise and
// set of the Sun and the Moon, the tides of the station), kept from one call
// to the next and run again only when the observer's date, the station's
// date or the place or zone changes; beside the new moons kept by date
// (newmoon_kept.h). Results taken from the kept day leave the shared state
// (Sun, Moon, Tide, Auto_Time, jd0 and the calendar scratch) exactly as the
// searches leave it.
#pragma once

struct DayKept {
    double year, month, day;                   // the observer's local date of the searches
    double sunrise, sunset, moonrise, moonset; // local decimal hours (23.0 when not found)
    bool sunrise_found, sunset_found, moonrise_found, moonset_found;
    int polar;                                 // no sunrise nor sunset: +1 polar day, -1 polar night
    double tide[8];                            // laid out as Tide
};

// Another source of the day's tides than the Tokyo Bay search (the
// application's station): key(jd) gives the Julian day (UT) of 0 h of the
// source's local date of jd, day(jd, record) fills the record laid out as
// Tide; owner tells one source from another. Null (the default): Tokyo Bay.
struct DayTides {
    const void* owner;
    double (*key)(double jd);
    void (*day)(double jd, double record[8]);
};
void DayEvents_SetTides(const DayTides* tides);

// The searches of the local date of jd at the observer (latitude0,
// longitude0, Observer_Zone0), kept.
const DayKept& DayEvents_Kept(double jd);
// How many times the day's searches have run (tests, benchmarks).
long DayEvents_Searches();
// The kept day and the kept new moons forgotten (tests; the state at start).
void KeptSearches_Forget();
