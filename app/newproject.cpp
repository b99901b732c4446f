// Start-up, first unit: the font and cursor tables and the static
// initialisation that hands the toolkit its init handlers, the text encoding
// and the instance name before the program's entry runs.
#include "app/newproject.h"

#include "toolkit/ws.h"

namespace {

// The toolkit's code of the default text encoding (display text is Shift_JIS).
constexpr long kDefaultEncoding = 21;

// A UTF-8 literal as the char* of a toolkit table. Narrow literals are
// compiled to Shift_JIS; the face names of the font table are UTF-8.
char* Utf8(const char8_t* text) { return const_cast<char*>(reinterpret_cast<const char*>(text)); }
char* Ascii(const char* text) { return const_cast<char*>(text); }

}  // namespace

// Font table: LOGFONT fields height, width, escapement, orientation, weight,
// italic, underline, strike-out, character set (128 Shift_JIS), output
// precision, clip precision, quality, pitch and family, face name.
char* fon[9] = {
    Utf8(u8"12,0,0,0,700,0,0,0,128,3,2,1,49,ＭＳ ゴシック"),
    Utf8(u8"14,0,0,0,700,0,0,0,128,3,2,1,49,ＭＳ ゴシック"),  // every text of the picture
    Utf8(u8"16,0,0,0,700,0,0,0,128,3,2,1,49,ＭＳ ゴシック"),
    Utf8(u8"19,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック"),
    Utf8(u8"22,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック"),
    Utf8(u8"24,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック"),
    Utf8(u8"26,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック"),
    Utf8(u8"34,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック"),
    nullptr,
};
static_assert(sizeof fon / sizeof fon[0] == 9, "eight fonts and the null end");

// Cursor table: cursor 0, the platform's standard arrow.
char* mou[2] = {
    Ascii("0   IDC_ARROW"),
    nullptr,
};

/*
**  _font_init_, _mouse_init_
**  The first and second init handlers: the font table fon and the cursor
**  table mou handed to the toolkit.
**
**  Called:  WSGFloadFontData, WSGFloadMouseCursorData
*/
void _font_init_() { WSGFloadFontData(fon); }

void _mouse_init_() { WSGFloadMouseCursorData(mou); }

namespace {

// Static initialisation, before the program's entry: the handlers run later,
// in this order, when the toolkit's loop starts (fonts, cursors, window).
struct NewProjectStart {
    NewProjectStart()
    {
        WSGFdeviceInitialize();
        WSDappDev::setInitHandler(_font_init_);
        WSDappDev::setInitHandler(_mouse_init_);
        WSGIappLocaleSet()->setDefaultEncoding(kDefaultEncoding);
        WSGIappDev()->setInstanceName("newproject");
        WSDappDev::setInitHandler(_create_win_newwin000);
    }
};
const NewProjectStart start;

}  // namespace
