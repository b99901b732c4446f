// Observer and display settings, and the per-repaint shared state, as one
// set: the observer and the time state live with the time library
// (timecal/observer.h, timecal/time_state.h), the display settings with the
// panels (panels/display_settings.h).
#pragma once

#include "panels/display_settings.h"
#include "timecal/observer.h"
#include "timecal/time_state.h"

// Put every variable back to its value at start, the kept searches of the
// day and the view's home too (tests).
void Settings_Reset();
