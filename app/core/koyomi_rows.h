// Drawing of the main panel's event and tide rows from given results
// (Koyomi_EventRows and Koyomi_TideRows compute them, then call these).
#pragma once
class WSCvdrawingArea;

// The four event rows for results in local decimal hours; only the Moon's
// rows print "--" for the no-event value 23.0.
void Koyomi_DrawEventRows(WSCvdrawingArea* area, double sunrise, double sunset,
                          double moonrise, double moonset);
// The four event rows of a record, "--" for an event not found.
struct KoyomiReadouts;
void Koyomi_DrawEventRowsOf(WSCvdrawingArea* area, const KoyomiReadouts& r);
// The tide heading and rows from a record laid out as Tide.
void Koyomi_DrawTideRows(WSCvdrawingArea* area, const double record[8]);
