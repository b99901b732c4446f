// Around the picture: the window's menu, keys, About, shortcuts window and
// Preferences, the widget mode's toggle, time travel with its bar below the
// picture, the tooltips over the picture, its accessible name and
// description, and the reminders. Every command is an action of the
// application with its keys; the menu, the keys and the shortcuts window
// all use the same actions.
#pragma once
#include <string>

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkWindow GtkWindow;
typedef struct _GtkApplication GtkApplication;
class WSCvdrawingArea;

// The settings file the program read (for Preferences and the reminders).
void WSGtkSetSettingsPath(const std::string& path);
const std::string& WSGtkSettingsPath();

// The first start (Config_FirstStart): an info bar above the picture offers
// to set the place; its close button, or a Save of the Preferences window,
// dismisses it for good ([window] welcomed = true into the settings file).
// Call before the window is made.
void WindowShell_OfferPlace(bool offer);

// The application's actions and their keys (at the application's startup).
void WindowShell_AddActions(GtkApplication* app);

// WindowShell_Wrap
//   Given:    window  the main window, area the drawing area's object, da its
//             widget, base_width/base_height the window's stated size
//   Returned: the widget to put into the window: the drawing area with the
//             time bar below it (hidden while the clock is live) and, on the
//             first start, the info bar above it (the window's default size
//             grows by it, so the picture keeps its size)
//   Notes:    gives the area its tooltips, accessible name, context menu
//             and focus.
GtkWidget* WindowShell_Wrap(GtkWindow* window, WSCvdrawingArea* area, GtkWidget* da,
                            int base_width, int base_height);

// After each repaint of the area: the accessible description when a
// read-out has changed, the bar's offset, the reminders that are due.
void WindowShell_Painted();

// Tests only (tenmado_testhooks, TENMADO_TEST_TOOLTIPS=1): each new
// tooltip's text to stderr.
void WSGtkSetTestTooltips(bool on);

// Preferences: the one function the menu and Ctrl+, call.
void WindowShell_ShowPreferences(GtkWindow* parent);
