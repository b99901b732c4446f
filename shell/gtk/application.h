// The program as a desktop application: one GtkApplication under the
// application id ties the window to its menu entry and icon, keeps a single
// instance on the session bus, and gives the window its keys and its
// widget mode.
#pragma once
#include <string>

typedef struct _GtkWindow GtkWindow;
typedef struct _GtkApplication GtkApplication;

// The reverse-DNS application id (desktop file, metainfo, icon, D-Bus name,
// WM_CLASS).
extern const char* const kTenmadoAppId;

// Widget mode: the window undecorated, below other windows, on every
// workspace and out of the task bar and pager. Off by default; set before
// the window is realised.
void WSGtkSetWidgetMode(bool on);
bool WSGtkWidgetMode();
// Widget mode switched on or off for a window (and the mode with it): the
// decorations, keep-below, sticky and the task bar and pager hints at once.
void WSGtkApplyWidgetMode(GtkWindow* window, bool on);

// WSGtkPlainWithoutSessionBus: without a session bus (no address, no
// $XDG_RUNTIME_DIR/bus) the program runs as a plain instance, and no bus
// or accessibility service is started for it. Called before GTK starts.
void WSGtkPlainWithoutSessionBus();

// WSGtkSetGivenOptions: the options of this launch that a window already
// running would not take ("--lat, --at"), said on stderr when one runs.
void WSGtkSetGivenOptions(const std::string& options);

// WSGtkRunApplication
//   Given:    start  run once, at the first activation: the init handlers
//                    and the windows (each passed to WSGtkAdoptWindow)
//   Returned: the exit status, 0 when the last window has closed
//   Notes:    a later activation (the program launched again while a window
//             runs) presents the running windows; the launch says which of
//             its options were ignored and ends with 0. Without a session
//             bus the program runs as a plain instance, silently. When the
//             application cannot register (a running instance that does not
//             answer: stopped), one line says so and the status is 1.
int WSGtkRunApplication(void (*start)());
// The window's own actions, added with the application's at its startup
// (set before WSGtkRunApplication).
void WSGtkAddActionsAtStartup(void (*add)(GtkApplication* app));

// WSGtkAdoptWindow: a top-level window joins the application (its icon,
// Ctrl+Q and Ctrl+W, the widget mode's hints); it ends with the last window.
void WSGtkAdoptWindow(GtkWindow* window);
