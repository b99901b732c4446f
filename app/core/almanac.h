// The almanac of the present instant (the clock source) as text for the
// command line: the read-outs of the picture, one per line (UTF-8), or one
// JSON object.
#pragma once
#include <string>

std::string Almanac_Text();
std::string Almanac_Json();
