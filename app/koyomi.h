// The main panel: one whole repaint of the dashboard.
#pragma once
#include <vector>

class WSCbase;
class WSCvdrawingArea;
struct ReadoutRow;
struct KoyomiReadouts;
// One whole repaint of the dashboard.
void Koyomi_Pla(WSCbase* object);
// The read-outs record the last repaint drew (zeros before the first).
const KoyomiReadouts& Koyomi_Shown();
// The rows of the read-outs the main panel draws (Readout_Rows), in order.
void Koyomi_DrawRows(WSCvdrawingArea* area, const std::vector<ReadoutRow>& rows);
