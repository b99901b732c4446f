#include "app/core/settings.h"

void Settings_Reset()
{
    Observer_Reset();
    TimeState_Reset();
    DisplaySettings_Reset();
}
