// Start-up of the program inside the toolkit: the font and cursor tables,
// the three init handlers, the main window with its drawing area, the repaint
// procedure `draw` and its periodic timer.
#pragma once

class WSCbase;
class WSCmainWindow;
class WSCvdrawingArea;
class WSDprivateTimer;

// ---- newproject.cpp: the tables and the first two init handlers
extern char* fon[9];  // font table, LOGFONT fields, face name in UTF-8; null-terminated
extern char* mou[2];  // cursor table; null-terminated
void _font_init_();
void _mouse_init_();

// ---- newwin000.cpp: the window, the repaint procedure and the timer
extern WSCmainWindow* newwin000;
extern WSCvdrawingArea* newvdra_000;
void _create_win_newwin000();
void draw(WSCbase* object);
void timerHandler(unsigned char, void* data);
void timer_start(int mode);
void _timer_proc(void*);
void event_procedure(WSCbase*);
