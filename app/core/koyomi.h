#pragma once
class WSCbase;
class WSCvdrawingArea;
// One whole repaint of the dashboard.
void Koyomi_Pla(WSCbase* object);
// The sun and moon event rows, and the tide rows (main panel steps 10 and 13).
void Koyomi_EventRows(WSCvdrawingArea* area);
void Koyomi_TideRows(WSCvdrawingArea* area);
