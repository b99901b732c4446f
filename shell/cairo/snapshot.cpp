// The PNG snapshot: one repaint painted offscreen and written (snapshot.h).
#include "shell/cairo/snapshot.h"

#include <cairo.h>
#include <glib.h>
#include <unistd.h>

#include <cstring>

#include "shell/cairo/cairo_painter.h"
#include "shell/cairo/snapshot_file.h"
#include "toolkit/picture.h"
#include "toolkit/ws.h"

namespace {

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// One repaint of the area at a scale as PNG bytes, painted and encoded
// before any file is touched. The image is the picture's right and bottom
// edges at the scale: each side rounded to whole pixels.
bool PaintPng(WSCvdrawingArea* area, double scale, std::string* png, std::string* why)
{
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, PixelEdge(kRepaintWidth, scale), PixelEdge(kRepaintHeight, scale));
    cairo_t* cr = cairo_create(surface);
    {
        CairoPainter painter;
        painter.begin(cr, scale);
        area->repaint(&painter);
        painter.end();
        CairoWarnMissingGlyphs(painter);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    png->reserve(128 * 1024);
    const cairo_status_t st = cairo_surface_write_to_png_stream(surface, AppendPng, png);
    cairo_surface_destroy(surface);
    if (st == CAIRO_STATUS_SUCCESS) return true;
    *why = cairo_status_to_string(st);
    return false;
}

// A path as a message shows it: control bytes and bytes that are not UTF-8
// escaped, and cut after kShownPathMax bytes (at a character boundary).
constexpr size_t kShownPathMax = 200;
std::string ShownPath(const std::string& path)
{
    std::string p = path;
    bool control = false;
    for (unsigned char c : p) control = control || c < 0x20 || c == 0x7f;
    if (control || !g_utf8_validate(p.c_str(), static_cast<gssize>(p.size()), nullptr)) {
        gchar* escaped = g_strescape(p.c_str(), nullptr);
        p = escaped;
        g_free(escaped);
    }
    if (p.size() <= kShownPathMax) return p;
    const gchar* end = nullptr;
    g_utf8_validate(p.c_str(), static_cast<gssize>(kShownPathMax), &end);
    return p.substr(0, static_cast<size_t>(end - p.c_str())) + "...";
}

bool Fail(std::string* error, const std::string& path, const std::string& why)
{
    if (error) *error = "cannot write snapshot '" + ShownPath(path) + "': " + why;
    return false;
}

}  // namespace

bool RenderSnapshotPng(WSCvdrawingArea* area, const std::string& path, std::string* error,
                       double scale)
{
    if (path.empty()) return Fail(error, path, "empty file name");
    if (!area) return Fail(error, path, "no drawing area");
    // a target that cannot be written is refused before the painting; the
    // file is made only once the picture is ready
    std::string png, why;
    if (!CanReplaceFile(path, &why) || !PaintPng(area, scale, &png, &why) ||
        !ReplaceFile(path, png.data(), png.size(), &why))
        return Fail(error, path, why);
    return true;
}

bool RenderSnapshotPngTo(WSCvdrawingArea* area, int fd, std::string* error, double scale)
{
    const std::string where =
        fd == STDOUT_FILENO ? "standard output" : "file descriptor " + std::to_string(fd);
    std::string png, why;
    if (!area) why = "no drawing area";
    else if (PaintPng(area, scale, &png, &why)) {
        if (const int e = WriteAll(fd, png.data(), png.size())) why = std::strerror(e);
        else return true;
    }
    if (error) *error = "cannot write the snapshot to " + where + ": " + why;
    return false;
}
