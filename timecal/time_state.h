// The time state of the current repaint and the calendar scratch: 0 at
// start, written by the main panel at the start of every repaint (the time
// state) and through the Calendar calls of the new-moon and tide searches
// (the scratch).
#pragma once

// ---- time state of the current repaint
// jd: the Julian day (UT) of the present moment, passed to the rise, set
// and tide searches; jd0 the same (the tide search also uses it as its own
// working value); jdstart the same, the instant of the planet panel's
// equatorial grid; jd_auto the same, the instant of the panels' bodies.
extern double jd, jd0, jdstart, jd_auto;
// The time of day last broken down by the main panel.
extern double Hour, minute, second;

// ---- calendar scratch of the new-moon and tide searches
extern double year0, month0, day0, hour0, minute0, second0, Hour0;

// Everything above back to 0, as at start.
void TimeState_Reset();
