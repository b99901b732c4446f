#pragma once
#include "ephem/position.h"
void Moon_Position(double jd, tagPosition* rec, int topo, double lat, double lon);
