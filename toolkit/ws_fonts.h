// The toolkit's device, font and cursor tables.
#pragma once
#include <string>
#include <vector>

void WSGFdeviceInitialize();
void WSGFloadFontData(char** table);
void WSGFloadMouseCursorData(char** table);

// A font of the loaded table (LOGFONT fields: height, weight, face name).
struct WSFont { int height = 14; int weight = 700; std::string face; };
const std::vector<WSFont>& WSGloadedFonts();
const std::vector<std::string>& WSGloadedCursors();
bool WSGdeviceInitialized();

