// Text the user typed: numbers, and values quoted in messages (input_text.h).
#include "app/input_text.h"

#include <glib.h>

#include <cmath>
#include <cstring>

namespace {

// The syntax of ParseNumber, checked before any conversion.
bool DecimalSyntax(const char* t)
{
    if (*t == '+' || *t == '-') ++t;
    int digits = 0;
    while (*t >= '0' && *t <= '9') { ++t; ++digits; }
    if (*t == '.') {
        ++t;
        while (*t >= '0' && *t <= '9') { ++t; ++digits; }
    }
    if (digits == 0) return false;
    if (*t == 'e' || *t == 'E') {
        ++t;
        if (*t == '+' || *t == '-') ++t;
        if (!(*t >= '0' && *t <= '9')) return false;
        while (*t >= '0' && *t <= '9') ++t;
    }
    return *t == '\0';
}

std::string Escaped(const std::string& text)
{
    gchar* escaped = g_strescape(text.c_str(), nullptr);
    std::string out = escaped;
    g_free(escaped);
    return out;
}

}  // namespace

/*
**  ParseNumber
**  A decimal number from its text.
**
**  Given:
**     text   const char*   the text (null: refused)
**
**  Returned:
**     value  double*       the value, only when the result is true
**     (function value) bool   true for the syntax of input_text.h and a
**                          finite value
**
**  Notes:
**  1) g_ascii_strtod converts (correctly rounded, with the C locale's point
**     whatever the locale); an underflow gives its nearest value (0 or a
**     subnormal), an overflow is refused.
*/
bool ParseNumber(const char* text, double* value)
{
    if (!text || !DecimalSyntax(text)) return false;
    char* end = nullptr;
    const double v = g_ascii_strtod(text, &end);
    if (end != text + std::strlen(text) || !std::isfinite(v)) return false;
    *value = v + 0.0;  // -0 prints as 0
    return true;
}

/*
**  Shown, Printable
**  A value quoted for a message, and a message made printable.
*/
std::string Shown(const char* value, size_t max)
{
    std::string v(value ? value : "");
    const bool cut = v.size() > max;
    if (cut) v.resize(max);
    return "\"" + Escaped(v) + (cut ? "...\"" : "\"");
}

std::string Printable(const std::string& text, size_t max)
{
    std::string out = Escaped(text);
    if (out.size() > max) {
        out.resize(max);
        out += "...";
    }
    return out;
}
