#include "app/core/settings.h"

/*
**  Settings_Reset
**  Every setting and every shared per-repaint variable back to its value
**  at start (tests).
**
**  Called:  Observer_Reset, TimeState_Reset, DisplaySettings_Reset
*/
void Settings_Reset()
{
    Observer_Reset();
    TimeState_Reset();
    DisplaySettings_Reset();
}
