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
