// The pieces of the window's shell that share its state (window_shell.cpp,
// window_tooltips.cpp, window_reminders.cpp); not for the rest of the
// program.
#pragma once
#include <gtk/gtk.h>

#include <string>

class WSCvdrawingArea;

struct ShellWindow {
    GtkWindow* window = nullptr;
    WSCvdrawingArea* area = nullptr;
    GtkWidget* da = nullptr;               // the drawing area's widget
    int base_width = 530, base_height = 257;  // the window's stated size
    std::string title;                     // the window's own title, UTF-8
    GtkWidget* bar = nullptr;              // the time bar below the picture
    GtkWidget* bar_label = nullptr;
    bool bar_shown = false;
    GtkWidget* welcome = nullptr;          // the first start's info bar above the picture
    std::string description;               // the accessible description set last
};

// ---- the time bar (window_tooltips.cpp)
GtkWidget* ShellBar_New(ShellWindow* shell);
// Live: the bar hidden and the window's own title; otherwise the bar shown
// with the offset and the note, and the title saying that the picture is not
// live. The window grows by the bar's height and shrinks back, so the
// picture keeps its size.
void ShellBar_Update(ShellWindow* shell, bool travelling, const std::string& offset,
                     const std::string& note);

// ---- tooltips and the accessible name and description (window_tooltips.cpp)
void ShellTooltips_Attach(ShellWindow* shell);
void ShellTooltips_Painted(ShellWindow* shell);
// The point (x, y) of the area's widget in picture pixels.
void Shell_PicturePoint(const ShellWindow& shell, double x, double y, double* px, double* py);

// ---- reminders (window_reminders.cpp): the due reminders sent; live false
// while the window shows another time than the clock's
void ShellReminders_Painted(GtkApplication* app, bool live);
