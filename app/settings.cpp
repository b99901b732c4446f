#include "app/settings.h"

#include "app/readouts.h"
#include "app/view_turn.h"

/*
**  Settings_Reset
**  Every setting and every shared per-repaint variable back to its value
**  at start, the kept searches of the day forgotten and the view's home
**  back to the default (tests).
**
**  Called:  Koyomi_ForgetDay, View_SetHome, Observer_Reset, TimeState_Reset,
**           DisplaySettings_Reset
*/
void Settings_Reset()
{
    Koyomi_ForgetDay();
    View_SetHome(kObserverDefaults.azmt);
    Observer_Reset();
    TimeState_Reset();
    DisplaySettings_Reset();
}
