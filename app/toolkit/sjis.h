// Shift_JIS (code page 932) to UTF-8: the one conversion of the display
// text, for the painters (Pango wants UTF-8), the window title and the
// command-line almanac.
#pragma once
#include <iconv.h>

#include <cstddef>
#include <string>

// SjisToUtf8: convert length bytes of Shift_JIS text to UTF-8.
//   Given:    sjis, length   bytes of code page 932 text
//   Returned: UTF-8 text; a byte that does not convert becomes U+FFFD and the
//             conversion goes on after it. Without a CP932 converter the bytes
//             come back unchanged.
std::string SjisToUtf8(const char* sjis, size_t length);
std::string SjisToUtf8(const std::string& sjis);

// SjisToUtf8With: the same through a descriptor of iconv_open("UTF-8",
//   "CP932") that the caller keeps open (a painter converts every text of
//   every repaint); the result replaces *out. A descriptor of (iconv_t)-1
//   copies the bytes.
void SjisToUtf8With(iconv_t cd, const char* sjis, size_t length, std::string* out);
