// The settings file written whole or not at all.
#include "app/settings_file.h"

#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "app/i18n.h"

namespace {

std::string Number(double v)
{
    char buf[G_ASCII_DTOSTR_BUF_SIZE];
    g_ascii_formatd(buf, sizeof buf, "%.10g", v);  // the C locale's point whatever the locale
    return buf;
}

// Every byte of data into fd.
bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

const char* LabelsText(LabelChoice c)
{
    return c == LabelChoice::English ? "en" : c == LabelChoice::Auto ? "auto" : "ja";
}

// The file at path_given loaded, changed by edit and written whole or not
// at all (SettingsFile_Write's notes).
bool Edit(const std::string& path_given, const std::function<void(GKeyFile*)>& edit,
          std::string* why);

}  // namespace

/*
**  SettingsFile_Write
**  The settings into the key file, whole or not at all.
**
**  Given:
**     path     const std::string&   the settings file
**     values   const ConfigValues&  the settings to keep
**
**  Returned:
**     why      std::string*   the reason when the result is false
**     (function value) bool   true when the file holds the values
**
**  Notes:
**  1) An existing file is loaded with its comments (G_KEY_FILE_KEEP_COMMENTS);
**     a file that cannot be read as a key file is not overwritten.
**  2) The new text goes to path.XXXXXX beside it (mkstemp), which gets the
**     old file's permission bits (0600 new), is synced and renamed over the
**     file; on any failure the temporary file is removed and the file is
**     untouched. A symbolic link is written through to its target.
**  3) A saved file is a welcomed one: the first start's offer is not made
**     again ([window] welcomed = true).
*/
bool SettingsFile_Write(const std::string& path, const ConfigValues& v, std::string* why)
{
    return Edit(path, [&](GKeyFile* file) {
        g_key_file_set_value(file, "observer", "latitude", Number(v.latitude).c_str());
        g_key_file_set_value(file, "observer", "longitude", Number(v.longitude).c_str());
        if (!v.zone_name.empty())
            g_key_file_set_value(file, "observer", "zone", v.zone_name.c_str());
        else if (v.zone_set)
            g_key_file_set_value(file, "observer", "zone", Number(v.zone).c_str());
        else
            g_key_file_remove_key(file, "observer", "zone", nullptr);
        if (!v.place_name.empty())
            g_key_file_set_value(file, "observer", "place", v.place_name.c_str());
        else
            g_key_file_remove_key(file, "observer", "place", nullptr);
        g_key_file_set_value(file, "observer", "azimuth", Number(v.azimuth).c_str());
        g_key_file_set_value(file, "window", "widget", v.widget ? "true" : "false");
        g_key_file_set_value(file, "window", kWelcomedKey, "true");
        if (!v.tide_station.empty())
            g_key_file_set_string(file, "tides", "station", v.tide_station.c_str());
        else
            g_key_file_remove_key(file, "tides", "station", nullptr);
        if (v.labels != Config_Defaults().labels || g_key_file_has_key(file, "display", "labels", nullptr))
            g_key_file_set_value(file, "display", "labels", LabelsText(v.labels));
    }, why);
}

/*
**  SettingsFile_Welcomed
**  [window] welcomed = true into the file, the rest as it was.
*/
bool SettingsFile_Welcomed(const std::string& path, std::string* why)
{
    return Edit(path, [](GKeyFile* file) {
        g_key_file_set_value(file, "window", kWelcomedKey, "true");
    }, why);
}

namespace {

bool Edit(const std::string& path_given, const std::function<void(GKeyFile*)>& edit,
          std::string* why)
{
    std::string path = path_given;
    if (gchar* target = g_file_read_link(path.c_str(), nullptr)) {
        // write the file the link points to; the link stays
        gchar* dir = g_path_get_dirname(path.c_str());
        gchar* full = g_path_is_absolute(target) ? g_strdup(target)
                                                 : g_build_filename(dir, target, nullptr);
        path = full;
        g_free(full);
        g_free(dir);
        g_free(target);
    }
    GKeyFile* file = g_key_file_new();
    GError* error = nullptr;
    mode_t mode = 0600;
    GStatBuf st;
    if (g_stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
        if (!g_key_file_load_from_file(file, path.c_str(),
                                       static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS |
                                                                  G_KEY_FILE_KEEP_TRANSLATIONS),
                                       &error)) {
            *why = Message(_("%s: %s; it is left as it is"), path.c_str(),
                           error ? error->message : _("cannot be read"));
            g_clear_error(&error);
            g_key_file_free(file);
            return false;
        }
    }

    edit(file);
    gsize length = 0;
    gchar* text = g_key_file_to_data(file, &length, nullptr);
    g_key_file_free(file);

    // the temporary file beside it, then the rename
    gchar* dir = g_path_get_dirname(path.c_str());
    if (g_mkdir_with_parents(dir, 0700) != 0) {
        *why = std::string(dir) + ": " + g_strerror(errno);
        g_free(dir);
        g_free(text);
        return false;
    }
    g_free(dir);
    std::string temp = path + ".XXXXXX";
    const int fd = g_mkstemp_full(temp.data(), O_WRONLY, mode);
    bool ok = fd >= 0;
    int saved = errno;
    if (ok) {
        ok = fchmod(fd, mode) == 0 && WriteAll(fd, text, length) && fsync(fd) == 0;
        saved = errno;
        ok = (close(fd) == 0) && ok;
        if (ok) ok = g_rename(temp.c_str(), path.c_str()) == 0;
        if (!ok) saved = saved ? saved : errno;
        if (!ok) g_unlink(temp.c_str());
    }
    g_free(text);
    if (!ok)
        *why = Message(_("%s: %s; nothing was written"), path.c_str(), g_strerror(saved ? saved : EIO));
    return ok;
}

}  // namespace
