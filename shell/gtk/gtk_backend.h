// The toolkit layer on the screen: GTK 3 windows, repaints through the Cairo
// painter, and the repaint tick aligned to the wall clock's second.
#pragma once
#include <string>

// Open the display once (gtk_init_check). Returns false, with the reason in
// *why, when there is none (no DISPLAY, or the server cannot be reached).
bool WSGtkOpenDisplay(std::string* why);
