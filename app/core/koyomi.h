#pragma once
class WSCbase;
class WSCvdrawingArea;
struct tm;
// One whole repaint of the dashboard.
void Koyomi_Pla(WSCbase* object);
// The shared state of a repaint reset from the settings (chart geometry,
// projection, chart centre, the observer's working copies) and the Julian
// day of the clock reading now (jd, jd0, jdstart, jd_auto).
void Koyomi_Reset(const struct tm& now);
// The rows of sunrise, sunset, moonrise and moonset (under the date line,
// left), and the rows of the tides of Tokyo Bay (right, under the clock).
void Koyomi_EventRows(WSCvdrawingArea* area);
void Koyomi_TideRows(WSCvdrawingArea* area);
// The date line's date and time of day of a Julian day (UT): the civil date
// and whole hours, minutes and seconds at the observer, the same h:m:s the
// clock read for a whole-second reading.
void Koyomi_DateTime(double jd, double longitude, double* year, double* month, double* day,
                     double* hour, double* minute, double* second);
