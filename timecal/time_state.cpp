#include "timecal/time_state.h"

double jd = 0, jd0 = 0, jdstart = 0, jd_auto = 0;
double Hour = 0, minute = 0, second = 0;

double year0 = 0, month0 = 0, day0 = 0, hour0 = 0, minute0 = 0, second0 = 0, Hour0 = 0;

/*
**  TimeState_Reset
**  The time state and the calendar scratch back to their values at start.
**
**  Notes:
**  1) jd, jd0, jdstart, jd_auto, Hour, minute, second and year0 ... Hour0
**     all to 0.
*/
void TimeState_Reset()
{
    jd = jd0 = jdstart = jd_auto = 0;
    Hour = minute = second = 0;
    year0 = month0 = day0 = hour0 = minute0 = second0 = Hour0 = 0;
}
