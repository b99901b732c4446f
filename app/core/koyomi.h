#pragma once
class WSCbase;
class WSCvdrawingArea;
struct tm;
struct KoyomiReadouts;
// One whole repaint of the dashboard.
void Koyomi_Pla(WSCbase* object);
// The read-outs record the last repaint drew (zeros before the first).
const KoyomiReadouts& Koyomi_Shown();
// The shared state of a repaint reset from the settings (chart geometry,
// projection, chart centre, the observer's working copies of the place and
// zone) and the Julian day of the clock reading now (jd, jd0, jdstart,
// jd_auto).
void Koyomi_Reset(const struct tm& now);
// The rows of sunrise, sunset, moonrise and moonset (under the date line,
// left), and the rows of the tides of Tokyo Bay (right, under the clock).
void Koyomi_EventRows(WSCvdrawingArea* area);
void Koyomi_TideRows(WSCvdrawingArea* area);
// The date line's date and time of day of a Julian day (UT): the civil date
// and whole hours, minutes and seconds at the observer, the same h:m:s the
// clock read for a whole-second reading; in the zone of the longitude, or
// in the zone given.
void Koyomi_DateTime(double jd, double longitude, double* year, double* month, double* day,
                     double* hour, double* minute, double* second);
void Koyomi_DateTimeZone(double jd, double longitude, double zone, double* year, double* month,
                         double* day, double* hour, double* minute, double* second);
// The three horizon labels of the sky view, 90 degrees left of the view, at
// it and 90 degrees right of it, where 東, 南 and 西 stand for the view to
// the south.
void Koyomi_HorizonLabels(WSCvdrawingArea* area, double azimuth);
