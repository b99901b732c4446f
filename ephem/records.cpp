#include "ephem/position.h"

// Shared working records, zero at start.
tagPosition Sun;
tagPosition Moon;
tagPosition Planet;
tagPosition Star;
