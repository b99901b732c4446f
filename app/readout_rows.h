// The read-outs of one record as one ordered list of rows: the main panel
// draws it, the almanac prints it, the table of a run of days picks its
// columns by id. A new read-out is one more entry in Readout_Rows (and, for
// a column of the table, one more id in the almanac's column list).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "app/readouts.h"

enum class RowId {
    DateLine,
    HorizonLeft, HorizonView, HorizonRight,  // 90 degrees left of the view, at it, right of it
    Sunrise, Sunset, Moonrise, Moonset,
    Clock, Longitude, Latitude, Azimuth,
    TideTitle, High1, High2, Low1, Low2,
    MoonAge,
    TideName,  // the day's tide name (潮名), printed only
};

// Where a row is drawn: the text box at (x, y), w x h pixels, in a colour.
struct RowBox {
    long x, y;
    unsigned long w, h;
    const char* color;  // "#rrggbb"
};

struct ReadoutRow {
    RowId id;
    std::string text;       // Shift_JIS, as drawn
    size_t label_bytes;     // the label before the value ("日の出", "満"), 0 none
    bool drawn;             // the main panel draws it at box (false: a panel
                            // draws it itself, as the Moon panel its age)
    RowBox box;
    bool printed;           // the almanac prints it (false: the picture's only)
};

// The rows of a record, in the order the main panel draws them.
std::vector<ReadoutRow> Readout_Rows(const KoyomiReadouts& r);
// The row of an id in a list (there is one of each).
const ReadoutRow& Readout_Row(const std::vector<ReadoutRow>& rows, RowId id);
