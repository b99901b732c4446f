// Messages in the user's language by gettext, text domain "tenmado": _()
// translates a message, N_() marks one that is translated where it is used.
// The catalogs give UTF-8 (the messages' source texts are ASCII, or UTF-8
// through U8_); a message is written in the terminal's character set by
// I18n_Print.
#pragma once
#include <libintl.h>

#include <string>

#define _(text) gettext(text)
#define N_(text) text
// A message whose source text is not all ASCII ("Preferences…", "90°"):
// the sources are compiled to Shift_JIS, the template and the catalogs
// hold UTF-8, so its text is looked up as a UTF-8 literal.
#define U8_(text) gettext(reinterpret_cast<const char*>(u8##text))

constexpr const char* kTextDomain = "tenmado";

// Binds the text domain (UTF-8) to the catalogs: those of the build tree
// when the program runs from it (locale/ beside the program), those of
// ../share/locale beside it, otherwise localedir. Sets LC_MESSAGES and LC_CTYPE from the
// environment; numbers stay in the C locale.
void I18n_Init(const char* localedir);
// The folder the catalogs were bound to.
std::string I18n_CatalogDir();

// printf into a string; the format is usually _("...").
std::string Message(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "tenmado: " and a UTF-8 message and a newline on stderr, in the
// terminal's character set (characters it lacks escaped, as GLib does).
void I18n_Print(const std::string& message);
