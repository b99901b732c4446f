#include "app/settings.h"

#include "app/view_turn.h"
#include "events/day_kept.h"

/*
**  Settings_Reset
**  Every setting and every shared per-repaint variable back to its value
**  at start, the kept searches of the day forgotten and the view's home
**  back to the default (tests).
**
**  Called:  KeptSearches_Forget, View_SetHome, Observer_Reset, TimeState_Reset,
**           DisplaySettings_Reset
*/
void Settings_Reset()
{
    KeptSearches_Forget();
    View_SetHome(kObserverDefaults.azmt);
    Observer_Reset();
    TimeState_Reset();
    DisplaySettings_Reset();
}
