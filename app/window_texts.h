// The texts the window says about its picture, beside the picture itself:
// the read-outs as sentences (the accessible description), what a read-out
// means and where it stands (tooltips), the bodies' and constellations'
// names. All UTF-8, all from the read-outs record a repaint drew; nothing
// here draws.
#pragma once
#include <string>

struct KoyomiReadouts;

// The read-outs as sentences in the picture's language, to the minute:
// "日時 2026年12月7日 15時39分, 日の出 6時35分, 日の入 16時27分, 月の出 なし,
// ..., 月齢 27.2, 東経 139.7度, 北緯 35.6度, 方位角 0度 (南)".
std::string Readout_Sentences(const KoyomiReadouts& r);
// The same with the English labels (what Readout_Sentences gives when they
// are in use): "Date 2026-12-07 15:39, sunrise 6:35, ...".
std::string Readout_SentencesEnglish(const KoyomiReadouts& r);

// The read-outs of the picture that a pointer can be over.
enum class ReadoutSpot {
    None, DateTime, JulianDay, Sunrise, Sunset, Moonrise, Moonset, Clock, Longitude, Latitude,
    Azimuth, Horizon, TideTitle, Tide, MoonAge
};
// The read-out at a point of the picture (pixels of the 530 x 300 picture)
// for the texts of r, with the tide row (0..3) or horizon label (0..2) in
// *index.
ReadoutSpot Readout_At(const KoyomiReadouts& r, double x, double y, int* index);
// What a read-out means, and its value in r as a sentence: the tooltip.
std::string Readout_Tooltip(const KoyomiReadouts& r, ReadoutSpot spot, int index);

// Body index 0..6 (Moon, Mercury, Venus, Sun, Mars, Jupiter, Saturn).
const char* Body_English(int index);
std::string Body_Japanese(int index);
// An event of the day: local hours, and whether the search found one.
struct DayEvent {
    double hours;
    bool found;
};
// A body's tooltip: names, altitude and azimuth as drawn, and the day's
// rise, meridian passage and set.
std::string Body_Tooltip(int index, double az, double el, DayEvent rise, DayEvent transit,
                         DayEvent set);
// The day of the record's date for body index: the rise and set the
// read-outs show for the Sun and the Moon, the searches of the day for the
// meridian passages and the planets (kept for the date and place; the
// shared records are the next repaint's to set again).
void Body_Day(const KoyomiReadouts& r, int index, DayEvent* rise, DayEvent* transit,
              DayEvent* set);

// A constellation label's tooltip: the label, the Latin name and the
// Japanese name (index 0..87).
std::string Constellation_Tooltip(int index);

// "6時35分" ("6:35" with the English labels) of local decimal hours
// (truncated as the rows are), "なし" ("none") when not found.
std::string Readout_HourMinute(double hours, bool found);
