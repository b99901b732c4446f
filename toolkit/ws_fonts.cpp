// The toolkit's device, font and cursor tables.
#include "toolkit/ws_fonts.h"

#include <cstdlib>

// ---- device, fonts, cursors

namespace {
bool g_device = false;
std::vector<WSFont> g_fonts;
std::vector<std::string> g_cursors;
}

/*
**  WSGFdeviceInitialize, WSGdeviceInitialized
**  Mark the display device as initialised; whether it was.
*/
void WSGFdeviceInitialize() { g_device = true; }
bool WSGdeviceInitialized() { return g_device; }

/*
**  WSGFloadFontData, WSGloadedFonts
**  The font table of the program.
**
**  Given:
**     table   char**   null-terminated list of LOGFONT texts: height,
**                      width, escapement, orientation, weight, ..., the
**                      fourteenth field the face name (UTF-8)
**
**  Returned (function value, WSGloadedFonts):
**                      the fonts loaded: height, weight and face; an entry
**                      with fewer than fourteen fields keeps the defaults
**                      (14, 700, no face)
**
**  Notes:
**  1) Replaces the fonts loaded before.
*/
void WSGFloadFontData(char** table)
{
    g_fonts.clear();
    for (int i = 0; table && table[i]; ++i) {
        // LOGFONT order: height, width, escapement, orientation, weight, ...,
        // the fourteenth field the face name (UTF-8).
        std::string s = table[i];
        std::vector<std::string> f;
        size_t pos = 0;
        for (int k = 0; k < 13; ++k) {
            size_t comma = s.find(',', pos);
            if (comma == std::string::npos) break;
            f.push_back(s.substr(pos, comma - pos));
            pos = comma + 1;
        }
        WSFont font;
        if (f.size() == 13) {
            font.height = std::atoi(f[0].c_str());
            font.weight = std::atoi(f[4].c_str());
            font.face = s.substr(pos);
        }
        g_fonts.push_back(font);
    }
}

const std::vector<WSFont>& WSGloadedFonts() { return g_fonts; }

/*
**  WSGFloadMouseCursorData, WSGloadedCursors
**  The cursor table: a null-terminated list of texts, kept as given
**  (replacing those loaded before).
*/
void WSGFloadMouseCursorData(char** table)
{
    g_cursors.clear();
    for (int i = 0; table && table[i]; ++i) g_cursors.push_back(table[i]);
}

const std::vector<std::string>& WSGloadedCursors() { return g_cursors; }
