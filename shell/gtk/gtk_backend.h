// The toolkit layer on the screen: GTK 3 windows, repaints through the Cairo
// painter, and the repaint tick aligned to the wall clock's second.
#pragma once
#include <string>

// Open the display once (gtk_init_check). Returns false, with the reason in
// *why, when there is none (no DISPLAY, or the server cannot be reached).
bool WSGtkOpenDisplay(std::string* why);
// The tests' binary only: the repaint timer ticks every ms (1 to 1000; other
// values: the wall clock's second) and each tick moves the clock on by one
// second; the count of ticks goes to stderr at the end. Never set by the
// program.
void WSGtkSetTestTick(long ms);
// The tests' binary: open the Preferences window with the main window.
void WSGtkSetTestPreferences(bool on);
// The tests' binary: while the file at path exists, test ticks do nothing
// (the picture holds still to be looked at); every repaint's second goes to
// stderr as "tenmado: painted YYYY-MM-DD HH:MM:SS". Null: no hold.
void WSGtkSetTestHold(const char* path);
// The kept picture (off unless the tests' binary turns it on): the window
// keeps the picture it painted and repaints, each second, only where the
// new second's drawing calls differ from the last one's; off, every
// repaint paints the whole picture. The sky's grid and stars change a
// pixel here and there every second, so the damage is spread over the
// picture and the kept picture costs more than the whole repaint
// (docs/PERFORMANCE.md): it stays off.
void WSGtkSetKeptPicture(bool on);
// The tests' binary: the tick's repaints go through GTK's frame cycle, as
// every other repaint does (on: measured beside the repaint drawn at once).
void WSGtkSetFrameCycle(bool on);
// The tests' binary: each whole repaint's CPU (the calling thread's) goes to
// stderr as "tenmado: repaint cpu N us"; with mode 2 the repaint is made
// again at once and its CPU follows as "tenmado: repaint again cpu N us"
// (the same work with the caches warm). 0: off.
void WSGtkSetTestRepaintCpu(int mode);
