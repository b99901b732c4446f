#include "ephem/position.h"
#include "timecal/timerec.h"

// Shared working records, zero at start.
tagPosition Sun;
tagPosition Moon;
tagPosition Planet;
tagPosition Star;
tagTime_Day Auto_Time;
