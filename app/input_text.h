// Text the user typed (the command line, the settings file): one number
// syntax for every numeric option and setting, and one way of quoting a
// value in a message.
#pragma once
#include <cstddef>
#include <string>

// A decimal number and nothing else: an optional sign (+ or -), digits with
// an optional point (at least one digit), an optional exponent (e or E, an
// optional sign, digits); no blanks, no hexadecimal, no nan or inf. A value
// too large for a double is refused; one too small to tell from zero is
// zero (9e-999999), the nearest double otherwise. -0 gives 0. Any locale.
bool ParseNumber(const char* text, double* value);

// A value for a message: in double quotes, printable ASCII (other bytes
// escaped as C does), cut after max bytes with "..." inside the quotes.
constexpr size_t kShownValueMax = 40;
std::string Shown(const char* value, size_t max = kShownValueMax);
// A message as printable ASCII (other bytes escaped), cut after max bytes
// with "..." after it.
std::string Printable(const std::string& text, size_t max);
