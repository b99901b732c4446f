#pragma once
class WSCbase;
class WSCvdrawingArea;
struct tm;
// One whole repaint of the dashboard.
void Koyomi_Pla(WSCbase* object);
// Steps 2 and 4 to 7 of the repaint: the shared state reset from the
// settings and the Julian day of the clock reading now (jd, jd0, jdstart,
// jd_auto).
void Koyomi_Reset(const struct tm& now);
// The sun and moon event rows, and the tide rows (main panel steps 10 and 13).
void Koyomi_EventRows(WSCvdrawingArea* area);
void Koyomi_TideRows(WSCvdrawingArea* area);
// The date line's date and time of day of a Julian day (UT): the civil date
// and whole hours, minutes and seconds at the observer, the same h:m:s the
// clock read for a whole-second reading.
void Koyomi_DateTime(double jd, double longitude, double* year, double* month, double* day,
                     double* hour, double* minute, double* second);
