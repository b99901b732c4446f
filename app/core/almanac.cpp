// STUB: placeholder so the tree links; replaced by the real routine.
#include "app/core/almanac.h"
std::string Almanac_Text() { return {}; }
std::string Almanac_Json() { return "{}"; }
