// Messages by gettext (i18n.h).
#include "app/i18n.h"

#include <glib.h>
#include <unistd.h>

#include <clocale>
#include <cstdarg>
#include <climits>

namespace {

std::string g_catalogs;

// The folder of the running program, or "".
std::string ProgramDir()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "";
    path[n] = '\0';
    gchar* dir = g_path_get_dirname(path);
    std::string out = dir;
    g_free(dir);
    return out;
}

}  // namespace

/*
**  I18n_Init
**  The locale's messages and character set, and the text domain bound.
**
**  Given:
**     localedir   const char*   the installed catalogs (share/locale)
**
**  Notes:
**  1) The build writes its catalogs to locale/ beside the program
**     (locale/ja/LC_MESSAGES/tenmado.mo): a program run from the build
**     tree finds them there (the tests' program, in a folder below it,
**     one folder up); one installed under another prefix than it
**     was built for finds them in ../share/locale; otherwise localedir.
**  2) Only LC_CTYPE and LC_MESSAGES follow the environment: the read-outs
**     print "139.7" in every locale.
*/
void I18n_Init(const char* localedir)
{
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    const std::string dir = ProgramDir();
    g_catalogs = localedir;
    for (const std::string& candidate : {dir + "/locale", dir + "/../locale", dir + "/../share/locale"}) {
        if (g_file_test((candidate + "/ja/LC_MESSAGES/tenmado.mo").c_str(), G_FILE_TEST_IS_REGULAR)) {
            g_catalogs = candidate;
            break;
        }
    }
    bindtextdomain(kTextDomain, g_catalogs.c_str());
    bind_textdomain_codeset(kTextDomain, "UTF-8");
    textdomain(kTextDomain);
}

std::string I18n_CatalogDir() { return g_catalogs; }

std::string Message(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    gchar* text = g_strdup_vprintf(format, args);
    va_end(args);
    std::string out = text ? text : "";
    g_free(text);
    return out;
}

/*
**  I18n_Print
**  One message line on stderr: g_printerr converts UTF-8 to the locale's
**  character set.
*/
void I18n_Print(const std::string& message)
{
    g_printerr("tenmado: %s\n", message.c_str());
}
