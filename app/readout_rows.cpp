// The read-outs of one record as one ordered list of rows (readout_rows.h).
#include "app/readout_rows.h"

#include <cstdlib>
#include <cstring>

#include "panels/labels.h"
#include "app/tide_choice.h"
#include "timecal/observer.h"

namespace {

constexpr unsigned long kBoxW = 300, kBoxH = 30;  // the boxes of every row but the date line
constexpr const char* kBlack = "#000000";
constexpr const char* kRed = "#ff0000";

ReadoutRow Drawn(RowId id, std::string text, size_t label_bytes, long x, long y,
                 const char* color = kBlack, bool printed = true)
{
    return ReadoutRow{id, std::move(text), label_bytes, true, RowBox{x, y, kBoxW, kBoxH, color},
                      printed};
}

}  // namespace

/*
**  Readout_Rows
**  The read-outs of a record as rows, in the order the main panel draws
**  them.
**
**  Given:
**     r   KoyomiReadouts   the record of one instant
**
**  Returned (function value):
**          std::vector<ReadoutRow>   the date line at (20, 0) in a 600 x 15
**                        box; in red the directions 90 degrees left of the
**                        view at (50, 230), at it (250, 230) and 90 degrees
**                        right (435, 230), the picture's only; "日の出",
**                        "日の入", "月の出", "月の入" at (10, 5) to (10, 50);
**                        the clock, the longitude, the latitude and the
**                        azimuth at (420, 5) to (420, 50); "  東京湾潮汐" at
**                        (420, 170) (with a station chosen its name, 潮汐
**                        and the day's tide name; with none "  潮汐") and
**                        the two high and two low waters at (460, 185) to
**                        (460, 230); the Moon's age, which the Moon panel
**                        draws itself; last "潮名 ..." the day's tide name,
**                        printed only. Boxes 300 x 30, black but for the
**                        directions.
**
**  Notes:
**  1) An event not found on the date prints "--", the Sun's (polar day
**     or night) as the Moon's; 23.0 is a time when found.
**  2) The tide times are converted at the observer's longitude in the
**     observer's zone (the record's place; a named zone's offset in force
**     at each tide).
**
**  Called:  Readout_DateLine, Readout_Direction, Readout_Event,
**           Readout_Clock, Readout_Longitude, Readout_Latitude,
**           Readout_Azimuth, Readout_Tide, Readout_MoonAge, TideChoice_NameAt
*/
namespace {
// The zone of a record's time t: the place's, or a named zone's offset then.
double ZoneAt(const KoyomiPlace& p, double t) { return m_input_zone_rule ? Observer_ZoneAt(t) : p.zone; }
}  // namespace

std::vector<ReadoutRow> Readout_Rows(const KoyomiReadouts& r)
{
    const KoyomiPlace& p = r.at.place;
    // the labels before the values, in the set in use (Shift_JIS bytes)
    auto bytes = [](LabelId id) { return std::strlen(Label(id)); };
    const size_t tide_label = bytes(LabelId::High);
    double h, m, s;
    // the tide heading: Tokyo Bay's, or the station's with the day's tide name
    const TideChoice& tides = TideChoice_Current();
    const char* tide_name = TideChoice_NameAt(r.at.jd);
    // (in English the name, a blank and the brief tide name: 8 + 1 + 6 cells)
    const bool english = Labels_InUse() == LabelSet::English;
    std::string tide_title = Label(LabelId::TideHeading);
    if (tides.source == TideSource::Station)
        tide_title = english ? tides.heading_en + " " + Labels_TideName(tide_name, true)
                             : tides.heading + tides.gap + tide_name;
    else if (tides.source == TideSource::None)
        tide_title = english ? Label(LabelId::TidesNone) : tides.heading;
    std::vector<ReadoutRow> rows = {
        {RowId::DateLine, Readout_DateLine(r), 0, true, RowBox{20, 0, 600, 15, kBlack}, true},
        Drawn(RowId::HorizonLeft, Readout_Direction(p.azimuth - 90), 0, 50, 230, kRed, false),
        Drawn(RowId::HorizonView, Readout_Direction(p.azimuth + 0), 0, 250, 230, kRed, false),
        Drawn(RowId::HorizonRight, Readout_Direction(p.azimuth + 90), 0, 435, 230, kRed, false),
        Drawn(RowId::Sunrise, Readout_Event(Label(LabelId::Sunrise), r.sunrise, !r.sunrise_found),
              bytes(LabelId::Sunrise), 10, 5),
        Drawn(RowId::Sunset, Readout_Event(Label(LabelId::Sunset), r.sunset, !r.sunset_found),
              bytes(LabelId::Sunset), 10, 20),
        Drawn(RowId::Moonrise, Readout_Event(Label(LabelId::Moonrise), r.moonrise, !r.moonrise_found),
              bytes(LabelId::Moonrise), 10, 35),
        Drawn(RowId::Moonset, Readout_Event(Label(LabelId::Moonset), r.moonset, !r.moonset_found),
              bytes(LabelId::Moonset), 10, 50),
        Drawn(RowId::Clock, Readout_Clock(r.at.civil), 0, 420, 5),
        Drawn(RowId::Longitude, Readout_Longitude(p.longitude), 0, 420, 20),
        Drawn(RowId::Latitude, Readout_Latitude(p.latitude), 0, 420, 35),
        Drawn(RowId::Azimuth, Readout_Azimuth(p.azimuth), 0, 420, 50),
        Drawn(RowId::TideTitle, tide_title, 0, 420, 170),
        Drawn(RowId::High1, Readout_Tide(0, r.tide[4], p.longitude, ZoneAt(p, r.tide[4]), &h, &m, &s), tide_label,
              460, 185),
        Drawn(RowId::High2, Readout_Tide(1, r.tide[5], p.longitude, ZoneAt(p, r.tide[5]), &h, &m, &s), tide_label,
              460, 200),
        Drawn(RowId::Low1, Readout_Tide(2, r.tide[6], p.longitude, ZoneAt(p, r.tide[6]), &h, &m, &s), tide_label,
              460, 215),
        Drawn(RowId::Low2, Readout_Tide(3, r.tide[7], p.longitude, ZoneAt(p, r.tide[7]), &h, &m, &s), tide_label,
              460, 230),
        {RowId::MoonAge, Readout_MoonAge(r.moon_age), bytes(LabelId::MoonAgeLabel), false, RowBox{}, true},
        {RowId::TideName, std::string(Label(LabelId::TideNameLabel)) + Labels_TideName(tide_name, false),
         bytes(LabelId::TideNameLabel), false, RowBox{}, true},
    };
    return rows;
}

/*
**  Readout_Row
**  The row of an id in a list of Readout_Rows.
*/
const ReadoutRow& Readout_Row(const std::vector<ReadoutRow>& rows, RowId id)
{
    for (const ReadoutRow& row : rows)
        if (row.id == id) return row;
    std::abort();  // every list holds every id
}
