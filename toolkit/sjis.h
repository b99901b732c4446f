// Shift_JIS (code page 932) to UTF-8: the one conversion of the display
// text, for the painters (Pango wants UTF-8), the window title and the
// command-line almanac.
#pragma once
#include <iconv.h>

#include <cstddef>
#include <string>

// length bytes of Shift_JIS text as UTF-8 (U+FFFD for a byte that does not
// convert).
std::string SjisToUtf8(const char* sjis, size_t length);
std::string SjisToUtf8(const std::string& sjis);

// The same through a descriptor of iconv_open("UTF-8", "CP932") that the
// caller keeps open; the result replaces *out.
void SjisToUtf8With(iconv_t cd, const char* sjis, size_t length, std::string* out);
