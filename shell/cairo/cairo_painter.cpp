// The Cairo+Pango painter.
#include "shell/cairo/cairo_painter.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string_view>

#include "app/i18n.h"
#include "toolkit/ws.h"

namespace {

// ---- constants of the drawing surface
constexpr double kRadPer64th = M_PI / 180.0 / 64.0;
constexpr int kTableFontEntry = 1;   // the face every drawString uses
constexpr int kDefaultFontHeight = 14;
constexpr int kDefaultFontWeight = 700;
// UTF-8 of the table's face name, "ＭＳ ゴシック"
const char* const kDefaultFace = reinterpret_cast<const char*>(u8"ＭＳ ゴシック");
// Japanese gothic faces to stand in for a face the machine does not have,
// most alike first (IPAGothic is fixed-pitch like the table's face).
constexpr std::array<const char*, 6> kJapaneseGothic = {
    "IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP", "Noto Sans CJK JP", "VL Gothic",
    "TakaoGothic"};

// Whether fontconfig has a face of exactly this family.
constexpr rlim_t kFewFiles = 64;  // a limit of open files under which fontconfig may fail

bool HaveFamily(const char* family)
{
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fs = FcFontList(nullptr, pat, os);
    bool found = fs && fs->nfont > 0;
    if (fs) FcFontSetDestroy(fs);
    FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
    return found;
}

// The family fontconfig matches for a Japanese sans-serif text.
std::string JapaneseFallback()
{
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    FcPattern* match = FcFontMatch(nullptr, pat, &res);
    std::string family = "sans-serif";
    FcChar8* name = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        family = reinterpret_cast<const char*>(name);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pat);
    return family;
}

}  // namespace

std::string CairoFontFamily(const std::string& face)
{
    // A name fontconfig knows is used as it is; the table's Windows face
    // "ＭＳ ゴシック" (or "MS Gothic") is not, and fontconfig would answer a
    // Latin face without kanji: take an installed Japanese gothic instead.
    if (!face.empty() && HaveFamily(face.c_str())) return face;
    for (const char* family : kJapaneseGothic)
        if (HaveFamily(family)) return family;
    return JapaneseFallback();
}

// ---- CairoPainter

CairoPainter::CairoPainter(cairo_t* cr)
    : fontmap_(pango_cairo_font_map_get_default()),
      context_(pango_font_map_create_context(fontmap_)),
      cd_(iconv_open("UTF-8", "CP932"))
{
    // Japanese text: fallback and shaping choose Japanese forms.
    pango_context_set_language(context_, pango_language_from_string("ja"));
    layout_ = pango_layout_new(context_);
    pango_layout_set_alignment(layout_, PANGO_ALIGN_LEFT);
    pango_layout_set_single_paragraph_mode(layout_, TRUE);
    last_ = layout_;
    utf8_.reserve(256);
    if (cr) begin(cr);
}

CairoPainter::~CairoPainter()
{
    end();
    dropKeptLayouts();
    if (desc_) pango_font_description_free(desc_);
    if (options_) cairo_font_options_destroy(options_);
    if (layout_) g_object_unref(layout_);
    if (context_) g_object_unref(context_);
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
}

int PixelEdge(int v, double scale)
{
    if (scale == 1.0) return v;
    return static_cast<int>(std::floor(v * scale + 0.5));
}

PictureFit FitPicture(int width, int height, int factor, int base_width, int base_height)
{
    PictureFit fit{};
    if (base_width <= 0 || base_height <= 0) base_width = base_height = 1;
    fit.scale = std::min(static_cast<double>(width) / base_width,
                         static_cast<double>(height) / base_height) * factor;
    fit.width = PixelEdge(kRepaintWidth, fit.scale);
    fit.height = PixelEdge(kRepaintHeight, fit.scale);
    fit.x = std::max(0, (width * factor - fit.width) / 2);
    return fit;
}

int CairoPainter::edge(int v) const { return PixelEdge(v, scale_); }

void CairoPainter::begin(cairo_t* cr, double scale)
{
    end();
    cr_ = cr;
    if (!cr_) return;
    scale_ = scale > 0 && std::isfinite(scale) ? scale : 1.0;
    // The context from the target and the matrix without its move: a
    // repaint moved by whole pixels (a part of the picture painted on a
    // surface of its own) keeps the context, and the layouts kept with it.
    // Pango marks its context changed at every update, so it is updated
    // only when the matrix or the target's font options differ from the
    // last.
    cairo_matrix_t linear;
    cairo_get_matrix(cr_, &linear);
    const cairo_matrix_t moved = linear;
    linear.x0 = linear.y0 = 0;
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_surface_get_font_options(cairo_get_target(cr_), options);
    const bool same = options_ && cairo_font_options_equal(options, options_) &&
                      std::memcmp(&linear, &context_matrix_, sizeof linear) == 0;
    if (same) {
        cairo_font_options_destroy(options);
    } else {
        if (options_) cairo_font_options_destroy(options_);
        options_ = options;
        context_matrix_ = linear;
        cairo_set_matrix(cr_, &linear);
        pango_cairo_update_context(cr_, context_);
        cairo_set_matrix(cr_, &moved);
    }
    pango_layout_context_changed(layout_);
    // the layouts of texts no longer drawn, looked for every kKeptBegins
    // begins (going through them all is slow, each in a node of its own)
    constexpr unsigned long kKeptBegins = 64;
    ++begins_;
    for (auto it = begins_ % kKeptBegins == 0 ? kept_.begin() : kept_.end(); it != kept_.end();) {
        if (it->second.drawn + kKeptBegins >= begins_) {
            ++it;
            continue;
        }
        if (last_ == it->second.layout) last_ = layout_;
        if (last_kept_ == &it->second) last_kept_ = nullptr;
        g_object_unref(it->second.layout);
        it = kept_.erase(it);
    }
    if (pango_context_get_serial(context_) != context_serial_) {
        context_serial_ = pango_context_get_serial(context_);
        dropKeptLayouts();
    }
    applyFont();
    begun_ = true;
    applySource();
    applyLineWidth();
    cairo_clip_extents(cr_, &clip_[0], &clip_[1], &clip_[2], &clip_[3]);

    // direct pixels: an image target, no scaling, a whole-pixel offset, and
    // a clip that is no more than one rectangle (the pixels set directly
    // are kept within the clip's box; a clip of several rectangles is
    // Cairo's to keep)
    pixels_ = nullptr;
    pixels_flushed_ = pixels_dirty_ = false;
    cairo_surface_t* target = cairo_get_target(cr_);
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    double dx = 0, dy = 0;
    cairo_user_to_device(cr_, &dx, &dy);
    cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr_);
    const bool one_rectangle = list->status == CAIRO_STATUS_SUCCESS && list->num_rectangles == 1;
    const bool several = list->status == CAIRO_STATUS_SUCCESS && list->num_rectangles != 1;
    if (!several && cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE &&
        (cairo_image_surface_get_format(target) == CAIRO_FORMAT_ARGB32 ||
         cairo_image_surface_get_format(target) == CAIRO_FORMAT_RGB24) &&
        m.xx == 1 && m.yy == 1 && m.xy == 0 && m.yx == 0 && dx == std::floor(dx) &&
        dy == std::floor(dy)) {
        cairo_surface_flush(target);
        pixels_ = cairo_image_surface_get_data(target);
        stride_ = cairo_image_surface_get_stride(target);
        ox_ = static_cast<int>(dx);
        oy_ = static_cast<int>(dy);
        const int w = cairo_image_surface_get_width(target);
        const int h = cairo_image_surface_get_height(target);
        pixels_end_ = pixels_ + static_cast<ptrdiff_t>(h) * stride_;
        // the clip's whole pixels inside the image, in user space
        pclip_[0] = std::max(static_cast<int>(std::ceil(clip_[0])), -ox_);
        pclip_[1] = std::max(static_cast<int>(std::ceil(clip_[1])), -oy_);
        pclip_[2] = std::min(static_cast<int>(std::floor(clip_[2])), w - ox_);
        pclip_[3] = std::min(static_cast<int>(std::floor(clip_[3])), h - oy_);
        // the clip one rectangle on whole pixels, within the image
        clip_whole_pixels_ = false;
        if (one_rectangle) {
            const cairo_rectangle_t& r = list->rectangles[0];
            clip_whole_pixels_ = r.x == pclip_[0] && r.y == pclip_[1] && r.x + r.width == pclip_[2] &&
                                 r.y + r.height == pclip_[3];
        }
        pixels_flushed_ = true;
    }
    cairo_rectangle_list_destroy(list);
}

// Cairo draws next: what was set pixel by pixel becomes known to it.
void CairoPainter::syncCairo()
{
    if (!pixels_dirty_) return;
    cairo_surface_mark_dirty(cairo_get_target(cr_));
    pixels_dirty_ = false;
    pixels_flushed_ = false;
}

// The painter sets pixels next: what Cairo drew is in them.
void CairoPainter::readyPixels()
{
    if (pixels_flushed_) return;
    cairo_surface_flush(cairo_get_target(cr_));
    pixels_flushed_ = true;
}

// A line's ends wholly inside the clip's whole pixels (so is every pixel
// of it), or both beyond one of its edges (no pixel of it is inside).
bool CairoPainter::insideClip(int x1, int y1, int x2, int y2) const
{
    return std::min(x1, x2) >= pclip_[0] && std::max(x1, x2) < pclip_[2] &&
           std::min(y1, y2) >= pclip_[1] && std::max(y1, y2) < pclip_[3];
}

bool CairoPainter::beyondClip(int x1, int y1, int x2, int y2) const
{
    return (x1 < pclip_[0] && x2 < pclip_[0]) || (x1 >= pclip_[2] && x2 >= pclip_[2]) ||
           (y1 < pclip_[1] && y2 < pclip_[1]) || (y1 >= pclip_[3] && y2 >= pclip_[3]);
}

namespace {

// Bresenham's line in pixels wholly inside the clip (origin: the pixel of
// user space (0, 0); row: pixels from one row to the next): the steps of
// pixelLine() with no test per pixel.
inline void InsideLine(uint32_t* origin, ptrdiff_t row, int x1, int y1, int x2, int y2,
                       uint32_t colour)
{
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    uint32_t* p = origin + y1 * row + x1;
    const ptrdiff_t down = sy * row;
    for (;;) {
        *p = colour;
        if (x1 == x2 && y1 == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x1 += sx; p += sx; }
        if (e2 <= dx) { err += dx; y1 += sy; p += down; }
    }
}

}  // namespace

// Method: Bresenham's line, both end points set, in the colour in force;
// pixels outside the clip are skipped. A one-pixel line is then exactly the
// pixels of the line as a raster device draws it, with no antialiasing.
void CairoPainter::pixelLine(int x1, int y1, int x2, int y2)
{
    strokePending();
    readyPixels();
    const uint32_t colour = 0xff000000u | rgb_;
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    if (insideClip(x1, y1, x2, y2)) {
        InsideLine(reinterpret_cast<uint32_t*>(pixels_ + static_cast<ptrdiff_t>(oy_) * stride_) + ox_,
                   stride_ / 4, x1, y1, x2, y2, colour);
        pixels_dirty_ = true;
        return;
    }
    for (;;) {
        if (x1 >= pclip_[0] && x1 < pclip_[2] && y1 >= pclip_[1] && y1 < pclip_[3]) {
            auto* row = reinterpret_cast<uint32_t*>(pixels_ + static_cast<ptrdiff_t>(y1 + oy_) * stride_);
            row[x1 + ox_] = colour;
        }
        if (x1 == x2 && y1 == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x1 += sx; }
        if (e2 <= dx) { err += dx; y1 += sy; }
    }
    pixels_dirty_ = true;
}

// A device rectangle (user space, whole pixels, right and bottom exclusive)
// in the colour in force: written into the image where the painter has its
// pixels (clipped), added to the path otherwise.
void CairoPainter::fillDeviceRect(int x1, int y1, int x2, int y2)
{
    if (!pixels_) {
        cairo_rectangle(cr_, x1, y1, x2 - x1, y2 - y1);
        return;
    }
    x1 = std::max(x1, pclip_[0]);
    y1 = std::max(y1, pclip_[1]);
    x2 = std::min(x2, pclip_[2]);
    y2 = std::min(y2, pclip_[3]);
    if (x1 >= x2 || y1 >= y2) return;
    const uint32_t colour = 0xff000000u | rgb_;
    for (int y = y1; y < y2; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(pixels_ + static_cast<ptrdiff_t>(y + oy_) * stride_);
        std::fill(row + x1 + ox_, row + x2 + ox_, colour);
    }
}

// Method: Bresenham's line in the picture's pixels, exactly as at scale 1;
// each of its pixels becomes the device area it covers, from PixelEdge(x) to
// PixelEdge(x + 1) across and the same down (at least one device pixel, so
// that no line vanishes below scale 1). On an image target the areas are
// written into the pixels; elsewhere they are filled aliased, in one path.
void CairoPainter::scaledPixelLine(int x1, int y1, int x2, int y2)
{
    strokePending();
    if (pixels_) readyPixels();
    if (!pixels_) cairo_new_path(cr_);
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        const int left = edge(x1), top = edge(y1);
        fillDeviceRect(left, top, std::max(edge(x1 + 1), left + 1), std::max(edge(y1 + 1), top + 1));
        if (x1 == x2 && y1 == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x1 += sx; }
        if (e2 <= dx) { err += dx; y1 += sy; }
    }
    if (pixels_) {
        pixels_dirty_ = true;
        return;
    }
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    useSource();
    cairo_fill(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
}

void CairoPainter::end()
{
    if (!cr_) return;
    strokePending();
    syncCairo();
    pixels_ = nullptr;
    cr_ = nullptr;
}

// Method: the face of font table entry 1 (14 px, weight 700) once the table
// is loaded, the same values before; the face name resolved once.
void CairoPainter::applyFont()
{
    int height = kDefaultFontHeight;
    int weight = kDefaultFontWeight;
    std::string face = kDefaultFace;
    const std::vector<WSFont>& fonts = WSGloadedFonts();
    if (static_cast<int>(fonts.size()) > kTableFontEntry) {
        const WSFont& f = fonts[kTableFontEntry];
        if (f.height > 0) height = f.height;
        if (f.weight > 0) weight = f.weight;
        if (!f.face.empty()) face = f.face;
    }
    static std::string resolved_face, resolved_family;
    if (face != resolved_face) {
        resolved_family = CairoFontFamily(face);
        resolved_face = face;
    }
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, resolved_family.c_str());
    // laid out at the device's resolution: the height times the scale
    pango_font_description_set_absolute_size(desc, height * scale_ * PANGO_SCALE);
    pango_font_description_set_weight(desc, static_cast<PangoWeight>(weight));
    if (desc_ && pango_font_description_equal(desc, desc_)) {
        pango_font_description_free(desc);  // the font in force
    } else {
        // another family, size or weight: the kept layouts have the old one
        pango_layout_set_font_description(layout_, desc);
        dropKeptLayouts();
        if (desc_) pango_font_description_free(desc_);
        desc_ = desc;
    }
    // the line box of an empty text, for text() without laying it out;
    // found again when the font or the context changed (the kept layouts
    // are dropped then)
    if (!empty_height_known_) {
        pango_layout_set_text(layout_, "", 0);
        PangoRectangle logical;
        pango_layout_get_pixel_extents(layout_, nullptr, &logical);
        empty_height_ = logical.height;
        empty_height_known_ = true;
    }
}

// Whether a box (the picture's pixels) lies wholly outside the clip.
bool CairoPainter::outsideClip(double left, double top, double right, double bottom) const
{
    return outsideDeviceClip(left * scale_, top * scale_, right * scale_, bottom * scale_);
}

// The same for a box in user space (device pixels).
bool CairoPainter::outsideDeviceClip(double left, double top, double right, double bottom) const
{
    return right < clip_[0] || left > clip_[2] || bottom < clip_[1] || top > clip_[3];
}

void CairoPainter::setBatching(bool on)
{
    strokePending();
    batching_ = on;
}

void CairoPainter::strokePending()
{
    if (!pending_ || !cr_) return;
    syncCairo();
    if (width_ == 1) {
        // one-pixel lines are drawn aliased: every pixel wholly or not at all
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
        useSource();
        cairo_stroke(cr_);
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
    } else {
        useSource();
        cairo_stroke(cr_);
    }
    pending_ = false;
}

// Method: the panels set the colour before each drawing, mostly the one in
// force already; only a change ends the open stroke.
void CairoPainter::setColor(uint32_t rgb)
{
    if (rgb == rgb_) return;
    strokePending();
    rgb_ = rgb;
    applySource();
}

// The colour becomes Cairo's source when Cairo next draws (useSource): most
// colours of a repaint are set for pixels the painter sets itself.
void CairoPainter::applySource() { source_set_ = false; }

void CairoPainter::useSource()
{
    if (source_set_ || !cr_) return;
    const double r = ((rgb_ >> 16) & 0xff) / 255.0;
    const double g = ((rgb_ >> 8) & 0xff) / 255.0;
    const double b = (rgb_ & 0xff) / 255.0;
    cairo_set_source_rgb(cr_, r, g, b);
    source_set_ = true;
}

void CairoPainter::setLineWidth(int width)
{
    width = width < 1 ? 1 : width;  // 0 is the thin line
    if (width == width_) return;
    strokePending();
    width_ = width;
    applyLineWidth();
}

void CairoPainter::applyLineWidth()
{
    if (!cr_) return;
    cairo_set_line_width(cr_, width_ * scale_);
    // A one-pixel line covers both end points exactly; wider lines end flat.
    cairo_set_line_cap(cr_, width_ == 1 ? CAIRO_LINE_CAP_SQUARE : CAIRO_LINE_CAP_BUTT);
}

void CairoPainter::fillRect(int x, int y, int w, int h)
{
    if (!cr_) return;
    strokePending();
    syncCairo();
    // the picture's edges on device edges, as a one-pixel line's are
    const int left = edge(x), top = edge(y);
    cairo_rectangle(cr_, left, top, edge(x + w) - left, edge(y + h) - top);
    useSource();
    cairo_fill(cr_);
}

// Method: an odd width centred on a pixel centre (half-pixel offset) covers
// whole pixels, so a one-pixel line is one crisp row or column. A crisp line
// (horizontal, vertical or a point, of width 1 with square caps or of an
// even width with flat caps on whole pixels) covers every pixel wholly or not
// at all: it joins the open path as a subpath of its own (its own caps, as
// when stroked alone), and the path is stroked once before anything else is
// drawn. Any other line is antialiased, and where two such lines share a
// pixel one stroke of both is not two strokes one over the other: it is
// stroked alone, after the open path. A line whose stroke (half the width
// and the cap beyond its ends, a pixel of antialiasing) misses the clip
// draws nothing and is left out.
//
// At another scale than 1 a one-pixel line is set pixel by pixel (each pixel
// the device area it covers); an even-width horizontal or vertical line is
// the rectangle of the pixels it covers at scale 1, its sides on device
// edges; any other line is stroked alone at its scaled geometry.
void CairoPainter::line(int x1, int y1, int x2, int y2)
{
    if (!cr_) return;
    if (width_ == 1 && pixels_ && scale_ == 1.0) {
        if (beyondClip(x1, y1, x2, y2)) return;  // nothing to set
        pixelLine(x1, y1, x2, y2);
        return;
    }
    if (batching_) {
        const double reach = width_ + 1;
        if (outsideClip(std::min(x1, x2) - reach, std::min(y1, y2) - reach, std::max(x1, x2) + reach,
                        std::max(y1, y2) + reach))
            return;
    }
    if (scale_ != 1.0) {
        scaledLine(x1, y1, x2, y2);
        return;
    }
    const bool crisp = width_ == 1 || ((x1 == x2 || y1 == y2) && width_ % 2 == 0);
    const bool alone = !batching_ || !crisp;
    if (alone) strokePending();
    if (alone && keptLine(x1, y1, x2, y2)) return;
    const double off = (width_ % 2 == 1) ? 0.5 : 0.0;
    cairo_move_to(cr_, x1 + off, y1 + off);
    cairo_line_to(cr_, x2 + off, y2 + off);
    pending_ = true;
    if (alone) strokePending();
}

// Method: one-pixel lines at scale 1 on the painter's own pixels have the
// checks of line() and pixelLine() made once for them all; each is then set
// as line() sets it. Any other lines are line()'s, one by one.
void CairoPainter::lines(const int* xy, size_t count)
{
    if (!cr_ || count == 0) return;
    if (width_ != 1 || !pixels_ || scale_ != 1.0) {
        Painter::lines(xy, count);
        return;
    }
    strokePending();
    readyPixels();
    const uint32_t colour = 0xff000000u | rgb_;
    uint32_t* origin = reinterpret_cast<uint32_t*>(pixels_ + static_cast<ptrdiff_t>(oy_) * stride_) + ox_;
    for (size_t i = 0; i < count; ++i, xy += 4) {
        const int x1 = xy[0], y1 = xy[1], x2 = xy[2], y2 = xy[3];
        if (insideClip(x1, y1, x2, y2)) {
            InsideLine(origin, stride_ / 4, x1, y1, x2, y2, colour);
            pixels_dirty_ = true;
            continue;
        }
        if (beyondClip(x1, y1, x2, y2)) continue;  // nothing to set
        pixelLine(x1, y1, x2, y2);
    }
}

void CairoPainter::scaledLine(int x1, int y1, int x2, int y2)
{
    if (width_ == 1) {
        scaledPixelLine(x1, y1, x2, y2);
        return;
    }
    strokePending();
    syncCairo();
    if ((x1 == x2 || y1 == y2) && width_ % 2 == 0) {
        if (x1 == x2 && y1 == y2) return;  // flat caps: a point covers nothing
        // the rows (columns) y - width/2 to y + width/2 and the columns
        // (rows) from the lower end up to the higher, as at scale 1
        const int half = width_ / 2;
        const bool across = y1 == y2;
        const int l = across ? std::min(x1, x2) : x1 - half;
        const int r = across ? std::max(x1, x2) : x1 + half;
        const int t = across ? y1 - half : std::min(y1, y2);
        const int b = across ? y1 + half : std::max(y1, y2);
        cairo_rectangle(cr_, edge(l), edge(t), edge(r) - edge(l), edge(b) - edge(t));
        useSource();
        cairo_fill(cr_);
        return;
    }
    if (keptLine(x1, y1, x2, y2)) return;
    const double off = (width_ % 2 == 1) ? 0.5 : 0.0;
    cairo_move_to(cr_, (x1 + off) * scale_, (y1 + off) * scale_);
    cairo_line_to(cr_, (x2 + off) * scale_, (y2 + off) * scale_);
    useSource();
    cairo_stroke(cr_);
}

// Method: the ellipse inscribed in the box; angles in 1/64 degree from 3
// o'clock, counter-clockwise as seen on the screen (y down, so Cairo's
// negative direction); extent 0 or a whole turn is the full ellipse. The
// outline is drawn inside the box, so the box is the bounding box of what is
// painted; a filled arc is a pie slice.
void CairoPainter::arc(int x, int y, int w, int h, int start, int extent, bool fill)
{
    if (!cr_) return;
    strokePending();
    const double cx = (x + w / 2.0) * scale_;
    const double cy = (y + h / 2.0) * scale_;
    const double inset = fill ? 0.0 : width_;
    const double rx = (w - inset) / 2.0 * scale_;
    const double ry = (h - inset) / 2.0 * scale_;
    if (rx <= 0 || ry <= 0) return;  // nothing to draw (and no singular matrix)
    // wholly outside the clip: nothing to draw
    if (batching_ && outsideClip(x - 1.0, y - 1.0, x + w + 1.0, y + h + 1.0)) return;
    const bool whole = extent == 0 || extent >= kFullCircle || extent <= -kFullCircle;
    if (keptArc(x, y, w, h, whole ? 0 : start, whole ? 0 : extent, fill)) return;
    syncCairo();
    ArcPath(cr_, cx, cy, rx, ry, start, extent, fill);
    useSource();
    if (fill) cairo_fill(cr_);
    else cairo_stroke(cr_);
}

// The path of an arc: the ellipse of radii rx, ry about (cx, cy) in the
// context's space, whole (extent 0 or a whole turn) or from start through
// extent (1/64 degree, counter-clockwise on the screen), a pie slice when
// filled.
void CairoPainter::ArcPath(cairo_t* c, double cx, double cy, double rx, double ry, int start,
                           int extent, bool fill)
{
    const bool whole = extent == 0 || extent >= kFullCircle || extent <= -kFullCircle;
    const double a0 = -start * kRadPer64th;
    const double a1 = -(start + extent) * kRadPer64th;
    cairo_new_path(c);
    cairo_save(c);
    cairo_translate(c, cx, cy);
    cairo_scale(c, rx, ry);
    if (whole) {
        cairo_arc(c, 0, 0, 1, 0, 2 * M_PI);
        cairo_close_path(c);
    } else {
        if (fill) cairo_move_to(c, 0, 0);
        if (extent > 0) cairo_arc_negative(c, 0, 0, 1, a0, a1);
        else cairo_arc(c, 0, 0, 1, a0, a1);
        if (fill) cairo_close_path(c);
    }
    cairo_restore(c);  // stroke width in device pixels, not in the unit circle
}

namespace {

// Two 8-bit channels at once (bits 0-7 and 16-23): their sum, saturated.
inline uint32_t Add8x2(uint32_t x, uint32_t y)
{
    uint32_t t = x + y;
    t |= 0x1000100u - ((t >> 8) & 0xff00ffu);
    return t & 0xff00ffu;
}

// n pixels blended with an opaque colour by their coverages a[0..n-1], as
// Cairo's image compositor fills and pixman composites glyphs: on each
// channel c' = (src a + half) / 255 + (dst (255 - a) + half) / 255, each
// division as (t + t / 256) / 256, the sum saturated; half is 0x7f for
// Cairo's fills and strokes, 0x80 for pixman's glyphs. A coverage of 0 leaves the pixel, 255 sets the
// colour. With SSE2 four pixels at a time, the same arithmetic in 16-bit
// lanes ((t + t / 256) / 256 is t * 257 / 65536 for t < 65536).
//
// overrun: the pixels up to the next multiple of four after the run may be
// read and written back (a coverage of 0 leaves them as they are), so the
// last one to three pixels go four at a time too.
void BlendRun(uint32_t* dst, const uint8_t* a, int n, uint32_t colour, uint32_t half,
              bool overrun = false)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i src = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), zero);
    const __m128i full = _mm_set1_epi16(255);
    const __m128i round = _mm_set1_epi16(static_cast<short>(half));
    const __m128i m257 = _mm_set1_epi16(257);
    auto mul = [&](__m128i x, __m128i c) {
        return _mm_mulhi_epu16(_mm_add_epi16(_mm_mullo_epi16(x, c), round), m257);
    };
    auto four = [&](uint32_t* p, int32_t coverages) {
        __m128i m = _mm_cvtsi32_si128(coverages);
        m = _mm_unpacklo_epi8(m, m);
        m = _mm_unpacklo_epi16(m, m);  // each coverage in its pixel's four bytes
        const __m128i mlo = _mm_unpacklo_epi8(m, zero), mhi = _mm_unpackhi_epi8(m, zero);
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
        const __m128i lo = _mm_add_epi16(mul(src, mlo), mul(dlo, _mm_sub_epi16(full, mlo)));
        const __m128i hi = _mm_add_epi16(mul(src, mhi), mul(dhi, _mm_sub_epi16(full, mhi)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(lo, hi));
    };
    for (; i + 4 <= n; i += 4) {
        int32_t c;
        std::memcpy(&c, a + i, 4);
        four(dst + i, c);
    }
    if (overrun && i < n) {
        uint8_t last[4] = {0, 0, 0, 0};
        std::memcpy(last, a + i, static_cast<size_t>(n - i));
        int32_t c;
        std::memcpy(&c, last, 4);
        four(dst + i, c);
        return;
    }
#else
    (void)overrun;
#endif
    for (; i < n; ++i) {
        const uint32_t na = 255 - a[i];
        const uint32_t rb = 0x00ff00ffu, h2 = half * 0x10001u;
        auto mul2 = [&](uint32_t x, uint32_t c) {
            const uint32_t t = (x & rb) * c + h2;
            return ((t + ((t >> 8) & rb)) >> 8) & rb;
        };
        dst[i] = Add8x2(mul2(colour, a[i]), mul2(dst[i], na)) |
                 Add8x2(mul2(colour >> 8, a[i]), mul2(dst[i] >> 8, na)) << 8;
    }
}

constexpr int kShapeMax = 255;        // kept: at most this many device pixels across
constexpr size_t kShapesKept = 512;   // shapes kept at once
constexpr double kShapeScaleMax = 8;  // kept at the whole scales 1 to 8

// Half of a whole number, rounded down.
int FloorHalf(long twice) { return static_cast<int>(twice >= 0 ? twice / 2 : -((1 - twice) / 2)); }

}  // namespace

// Method: the surface holds a mark drawn white on black, so its red
// channel is the coverage. Read row by row into runs from the pixel
// (ox, oy); box: the covered pixels' box from there (x1, y1, x2, y2,
// exclusive). False, with nothing kept, when a covered pixel lies on the
// surface's edge (the mark may have been cut).
bool CairoPainter::Coverage::take(cairo_surface_t* s, int ox, int oy, int box[4])
{
    clear();
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    box[0] = box[1] = box[2] = box[3] = 0;
    bool first = true;
    std::vector<uint8_t> a(static_cast<size_t>(w));
    for (int j = 0; j < h; ++j) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(j) * stride);
        int i1 = w, i2 = 0;
        for (int i = 0; i < w; ++i) {
            a[static_cast<size_t>(i)] = static_cast<uint8_t>((row[i] >> 16) & 0xff);
            if (a[static_cast<size_t>(i)] == 0) continue;
            if (i == 0 || j == 0 || i == w - 1 || j == h - 1) {
                clear();
                return false;
            }
            i1 = std::min(i1, i);
            i2 = i + 1;
        }
        if (i1 >= i2) continue;
        if (first) {
            box[0] = i1 - ox;
            box[1] = j - oy;
            box[2] = i2 - ox;
            first = false;
        }
        box[0] = std::min(box[0], i1 - ox);
        box[2] = std::max(box[2], i2 - ox);
        box[3] = j - oy + 1;
        addRow(a.data(), w, -ox, j - oy);
    }
    return true;
}

// Method: each stretch of covered pixels in the row (across gaps of a few
// uncovered pixels) is a run; within it,
// kSolidRun or more wholly covered pixels in a row are a solid run of their
// own (set, not blended: a coverage of 255 gives the colour itself).
void CairoPainter::Coverage::addRow(const uint8_t* a, int n, int dx, int dy)
{
    constexpr int kSolidRun = 8;
    constexpr int kGap = 4;
    int i = 0;
    while (i < n) {
        if (a[i] == 0) {
            ++i;
            continue;
        }
        // covered pixels, with gaps of fewer than kGap uncovered ones
        // (blended with a coverage of 0: left as they are)
        int end = i;
        for (;;) {
            while (end < n && a[end] != 0) ++end;
            int gap = end;
            while (gap < n && gap - end < kGap && a[gap] == 0) ++gap;
            if (gap < n && gap - end < kGap && a[gap] != 0) end = gap;
            else break;
        }
        // [i, end): covered; solid stretches of it apart
        int from = i;
        for (int s = i; s < end;) {
            if (a[s] != 255) {
                ++s;
                continue;
            }
            int e = s;
            while (e < end && a[e] == 255) ++e;
            if (e - s >= kSolidRun) {
                if (s > from) {
                    runs.push_back(CoveredRun{static_cast<int16_t>(dx + from), static_cast<int16_t>(dy),
                                              static_cast<uint16_t>(s - from), false,
                                              static_cast<uint32_t>(cover.size())});
                    cover.insert(cover.end(), a + from, a + s);
                }
                runs.push_back(CoveredRun{static_cast<int16_t>(dx + s), static_cast<int16_t>(dy),
                                          static_cast<uint16_t>(e - s), true, 0});
                from = e;
            }
            s = e;
        }
        if (end > from) {
            runs.push_back(CoveredRun{static_cast<int16_t>(dx + from), static_cast<int16_t>(dy),
                                      static_cast<uint16_t>(end - from), false,
                                      static_cast<uint32_t>(cover.size())});
            cover.insert(cover.end(), a + from, a + end);
        }
        i = end;
    }
}

// The runs' pixels within x1 <= x < x2, y1 <= y < y2 (from the origin)
// blended into the pixels at origin; none beyond.
void CairoPainter::Coverage::blendWithin(unsigned char* origin, int stride, int x1, int y1, int x2,
                                         int y2, uint32_t colour, uint32_t half) const
{
    for (const CoveredRun& r : runs) {
        if (r.dy < y1 || r.dy >= y2) continue;
        const int from = std::max<int>(r.dx, x1), to = std::min<int>(r.dx + r.length, x2);
        if (from >= to) continue;
        auto* p = reinterpret_cast<uint32_t*>(origin + static_cast<ptrdiff_t>(r.dy) * stride +
                                              static_cast<ptrdiff_t>(from) * 4);
        if (r.solid) std::fill_n(p, to - from, colour);
        else BlendRun(p, cover.data() + r.first + (from - r.dx), to - from, colour, half);
    }
}

// The runs blended into the pixels at origin (rows stride bytes apart) of
// an image that ends at end.
void CairoPainter::Coverage::blend(unsigned char* origin, int stride, const unsigned char* end,
                                   uint32_t colour, uint32_t half) const
{
    for (const CoveredRun& r : runs) {
        auto* p = reinterpret_cast<uint32_t*>(origin + static_cast<ptrdiff_t>(r.dy) * stride +
                                              static_cast<ptrdiff_t>(r.dx) * 4);
        if (r.solid) {
            std::fill_n(p, r.length, colour);
            continue;
        }
        const bool overrun = reinterpret_cast<const unsigned char*>(p + (r.length + 3) / 4 * 4) <= end;
        BlendRun(p, cover.data() + r.first, r.length, colour, half, overrun);
    }
}

// The kept coverage of a shape by its key (taken on first use), set at the
// device pixel (px, py) of its reference point. before_x, before_y: room on
// the surface it is taken on left of and above the reference point;
// after_x, after_y right of and below it (as much as before when 0).
template <class Draw>
bool CairoPainter::keptShape(const int* key, size_t key_size, int px, int py, int before_x,
                             int before_y, const Draw& draw, int after_x, int after_y)
{
    key_.assign(reinterpret_cast<const char*>(key), key_size);
    auto it = shapes_.find(key_);
    if (it == shapes_.end()) {
        if (shapes_.size() >= kShapesKept) shapes_.clear();
        if (after_x == 0) after_x = before_x;
        if (after_y == 0) after_y = before_y;
        it = shapes_.emplace(key_, CoverageOf(before_x, before_y, after_x, after_y, draw)).first;
    }
    const ShapeCoverage& d = it->second;
    if (!d.kept) return false;
    if (d.a.empty()) return true;  // Cairo marks no pixel
    // the box in user space: wholly inside the clip, or Cairo's
    if (px + d.box[0] - ox_ < pclip_[0] || py + d.box[1] - oy_ < pclip_[1] ||
        px + d.box[2] - ox_ > pclip_[2] || py + d.box[3] - oy_ > pclip_[3])
        return false;
    readyPixels();
    d.a.blend(pixels_ + static_cast<ptrdiff_t>(py) * stride_ + static_cast<ptrdiff_t>(px) * 4, stride_,
              pixels_end_, 0xff000000u | rgb_, 0x7f);
    pixels_dirty_ = true;
    return true;
}

// Method: Cairo draws the shape once, white on black, with its reference
// point (an ellipse's centre, a line's start) at the same place within a
// device pixel and the path the painter makes (the same fraction of the
// move, the same scale, arc, line width and caps); the red channel is then
// the coverage (white times a is a). Every later shape of that kind, size
// and place blends its colour with that coverage pixel by pixel, as Cairo's
// fill and stroke do (one antialiased pass over the shape's polygon). Only
// on the painter's own pixels (an image, a whole-pixel move), at a whole
// scale (the reference point on a whole or half pixel) and wholly inside
// the clip; anything else is Cairo's, and so is a shape whose coverage
// reached the edge of the surface it was taken on.
bool CairoPainter::keptArc(int x, int y, int w, int h, int start, int extent, bool fill)
{
    if (!kept_shapes_on_ || !pixels_ || scale_ != std::floor(scale_) || scale_ > kShapeScaleMax)
        return false;
    const int k = static_cast<int>(scale_);
    if (w <= 0 || h <= 0 || w * k > kShapeMax || h * k > kShapeMax) return false;
    // twice the centre in device pixels: a whole number at a whole scale
    const long cx2 = (2L * x + w) * k + 2L * ox_, cy2 = (2L * y + h) * k + 2L * oy_;
    const int px = FloorHalf(cx2), py = FloorHalf(cy2);
    const int fx = static_cast<int>(cx2 - 2L * px), fy = static_cast<int>(cy2 - 2L * py);
    const int width = fill ? 0 : width_;
    const int key[] = {fill ? 1 : 2, w, h, start, extent, width, k, fx, fy};
    const double inset = fill ? 0.0 : width_;
    const double rx = (w - inset) / 2.0 * scale_, ry = (h - inset) / 2.0 * scale_;
    const int margin = static_cast<int>(std::ceil(std::max(rx, ry))) + width * k + 3;
    return keptShape(key, sizeof key, px, py, margin, margin, [&](cairo_t* c, int ox, int oy) {
        ArcPath(c, ox + fx / 2.0, oy + fy / 2.0, rx, ry, start, extent, fill);
        if (fill) {
            cairo_fill(c);
            return;
        }
        cairo_set_line_width(c, width_ * scale_);
        cairo_set_line_cap(c, width_ == 1 ? CAIRO_LINE_CAP_SQUARE : CAIRO_LINE_CAP_BUTT);
        cairo_stroke(c);
    });
}

// A wide line stroked alone, as line() strokes it: slanted only (Cairo
// draws a level or upright one as boxes, another way).
bool CairoPainter::keptLine(int x1, int y1, int x2, int y2)
{
    if (!kept_shapes_on_ || !pixels_ || scale_ != std::floor(scale_) || scale_ > kShapeScaleMax)
        return false;
    if (x1 == x2 || y1 == y2 || width_ < 2) return false;
    const int k = static_cast<int>(scale_);
    const int dx = (x2 - x1) * k, dy = (y2 - y1) * k;
    if (std::abs(dx) > kShapeMax || std::abs(dy) > kShapeMax) return false;
    const int odd = width_ % 2;  // a half-pixel offset of odd widths
    const long sx2 = (2L * x1 + odd) * k + 2L * ox_, sy2 = (2L * y1 + odd) * k + 2L * oy_;
    const int px = FloorHalf(sx2), py = FloorHalf(sy2);
    const int fx = static_cast<int>(sx2 - 2L * px), fy = static_cast<int>(sy2 - 2L * py);
    const int key[] = {3, dx, dy, width_, k, fx, fy};
    const int reach = width_ * k + 3;
    return keptShape(key, sizeof key, px, py, reach + std::max(0, -dx), reach + std::max(0, -dy),
                     [&](cairo_t* c, int ox, int oy) {
                         cairo_move_to(c, ox + fx / 2.0, oy + fy / 2.0);
                         cairo_line_to(c, ox + fx / 2.0 + dx, oy + fy / 2.0 + dy);
                         cairo_set_line_width(c, width_ * scale_);
                         cairo_set_line_cap(c, CAIRO_LINE_CAP_BUTT);
                         cairo_stroke(c);
                     },
                     reach + std::max(0, dx), reach + std::max(0, dy));
}

// Cairo's coverage of a shape drawn by draw(c, ox, oy) in white on black
// with its reference point in the pixel (ox, oy) of a surface with the
// given room around that pixel, read back.
CairoPainter::ShapeCoverage CairoPainter::CoverageOf(
    int before_x, int before_y, int after_x, int after_y,
    const std::function<void(cairo_t*, int, int)>& draw)
{
    const int sw = before_x + after_x + 1, sh = before_y + after_y + 1;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sw, sh);
    cairo_t* c = cairo_create(s);
    cairo_set_source_rgb(c, 1, 1, 1);
    draw(c, before_x, before_y);
    cairo_destroy(c);
    ShapeCoverage d;
    d.kept = d.a.take(s, before_x, before_y, d.box);
    cairo_surface_destroy(s);
    return d;
}

// Method: Shift_JIS to UTF-8 into a reused buffer, laid out once in the
// reused layout; the line box (logical extents: the font's ascent and
// descent, the same for every text) is left-aligned at x and centred
// vertically in the box, on whole pixels. Text is not clipped to its box.
// At a scale the box's left, top and bottom are taken to device edges and
// the line box, laid out at the device's resolution, is placed in it so.
void CairoPainter::text(int x, int y, int, int h, const char* sjis, size_t length)
{
    if (!cr_ || !sjis) return;
    strokePending();
    const int left = edge(x), box_top = edge(y), box_h = edge(y + h) - box_top;
    if (batching_) {
        // An empty text draws nothing. Any text is drawn from x rightwards
        // in a line box about one line high: when that box, with a line
        // height around it for ink beyond the box, misses the clip, nothing
        // of it can show. Either is not laid out, and reports the line box
        // of an empty text.
        const int height = empty_height_;
        const int top = box_top + (box_h - height) / 2;
        if (length == 0 ||
            outsideDeviceClip(left - height, top - height, HUGE_VAL, top + 2 * height)) {
            last_ = layout_;  // (its text is always the empty one)
            last_x_ = left;
            last_y_ = top;
            last_h_ = height;
            last_w_ = 0;
            return;
        }
    }
    bool made = false;
    last_ = keptLayout(sjis, length, &made);
    if (made && pango_layout_get_unknown_glyphs_count(last_) > 0) noteMissingGlyphs();
    KeptLayout& k = *last_kept_;
    if (!k.have_logical) {
        pango_layout_get_pixel_extents(last_, nullptr, &k.logical);
        k.have_logical = true;
    }
    const PangoRectangle& logical = k.logical;
    last_x_ = left;
    last_y_ = box_top + (box_h - logical.height) / 2;
    last_h_ = logical.height;
    last_w_ = logical.width;
    if (keptText(left - logical.x, last_y_ - logical.y)) return;
    syncCairo();
    cairo_move_to(cr_, left - logical.x, last_y_ - logical.y);
    useSource();
    pango_cairo_show_layout(cr_, last_);
    cairo_new_path(cr_);
}

namespace {

constexpr int kTextCoverMax = 4000;  // kept texts: at most this many device pixels across

}  // namespace

// Method: the text's coverage is taken once, at its second drawing, from
// Cairo itself: the kept layout drawn white on black with its origin on a whole pixel (the red
// channel is then the coverage of its glyphs, composited together as
// pixman does). Drawn again with its origin on a whole pixel, wholly inside
// the clip, each covered pixel is blended with the colour as pixman
// composites it. A layout with glyphs no font has (drawn as boxes by
// Cairo's fills) is not kept.
bool CairoPainter::keptText(int ox, int oy)
{
    if (!kept_texts_on_ || !pixels_ || !last_kept_ || scale_ != std::floor(scale_)) return false;
    KeptLayout& k = *last_kept_;
    // a text drawn once (the clock's) is Cairo's; one drawn again is kept
    if (k.cover_state == 0 && ++k.uses >= 2) takeTextCoverage(&k);
    if (k.cover_state <= 0) return false;
    if (k.cover.empty()) return true;  // no glyph marks a pixel
    const bool inside = ox + k.box[0] >= pclip_[0] && oy + k.box[1] >= pclip_[1] &&
                        ox + k.box[2] <= pclip_[2] && oy + k.box[3] <= pclip_[3];
    // a text crossing the clip: its pixels inside it, when the clip is one
    // rectangle on whole pixels (Cairo then composites the glyphs within it)
    if (!inside && !clip_whole_pixels_) return false;
    readyPixels();
    unsigned char* origin =
        pixels_ + static_cast<ptrdiff_t>(oy + oy_) * stride_ + static_cast<ptrdiff_t>(ox + ox_) * 4;
    if (inside)
        k.cover.blend(origin, stride_, pixels_end_, 0xff000000u | rgb_, 0x80);
    else
        k.cover.blendWithin(origin, stride_, pclip_[0] - ox, pclip_[1] - oy, pclip_[2] - ox, pclip_[3] - oy,
                            0xff000000u | rgb_, 0x80);
    pixels_dirty_ = true;
    return true;
}

void CairoPainter::takeTextCoverage(KeptLayout* k)
{
    k->cover_state = -1;
    k->cover.clear();
    if (pango_layout_get_unknown_glyphs_count(k->layout) > 0) return;
    PangoRectangle ink;
    pango_layout_get_pixel_extents(k->layout, &ink, nullptr);
    // room for ink beyond the extents (a mark on the edge is not kept)
    const int margin = 4 * static_cast<int>(scale_);
    const int w = std::max(0, ink.width) + 2 * margin, h = std::max(0, ink.height) + 2 * margin;
    if (w > kTextCoverMax || h > kTextCoverMax) return;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_surface_mark_dirty(s);
    cairo_t* c = cairo_create(s);
    cairo_set_source_rgb(c, 1, 1, 1);
    const int x0 = margin - ink.x, y0 = margin - ink.y;  // the layout's origin
    cairo_move_to(c, x0, y0);
    pango_cairo_show_layout(c, k->layout);
    cairo_destroy(c);
    const bool taken = k->cover.take(s, x0, y0, k->box);
    cairo_surface_destroy(s);
    if (!taken) return;
    k->cover_state = 1;
}

// Method: a layout of the text in the font of every text, laid out once and
// kept while it is drawn (dropped at every kKeptBegins-th begin() when it
// was not drawn in the last kKeptBegins ones, so the texts of a running
// clock do not pile up; all dropped beyond kKept); all dropped when the
// font or the context (the target's font options, resolution) changes, so
// a kept layout is the layout the text would get anew.
PangoLayout* CairoPainter::keptLayout(const char* sjis, size_t length, bool* made)
{
    constexpr size_t kKept = 1024;
    key_.assign(sjis, length);
    const auto it = kept_.find(key_);
    if (it != kept_.end()) {
        it->second.drawn = begins_;
        last_kept_ = &it->second;
        return it->second.layout;
    }
    if (kept_.size() >= kKept) dropKeptLayouts();
    PangoLayout* l = pango_layout_new(context_);
    pango_layout_set_alignment(l, PANGO_ALIGN_LEFT);
    pango_layout_set_single_paragraph_mode(l, TRUE);
    if (desc_) pango_layout_set_font_description(l, desc_);
    SjisToUtf8With(cd_, sjis, length, &utf8_);
    pango_layout_set_text(l, utf8_.data(), static_cast<int>(utf8_.size()));
    KeptLayout entry;
    entry.layout = l;
    entry.drawn = begins_;
    last_kept_ = &kept_.emplace(key_, std::move(entry)).first->second;
    *made = true;
    return l;
}

void CairoPainter::dropKeptLayouts()
{
    empty_height_known_ = false;
    if (last_ != layout_) last_ = layout_;
    last_kept_ = nullptr;
    for (auto& [text, k] : kept_) g_object_unref(k.layout);
    kept_.clear();
}

// Method: the layout and placement of text(), with the ink extents of the
// layout instead of drawing it.
bool CairoPainter::textInkBox(int x, int y, int h, const char* sjis, size_t length, int box[4])
{
    if (!begun_) return false;
    box[0] = box[1] = box[2] = box[3] = 0;
    if (!sjis || length == 0) return true;
    bool made = false;
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(keptLayout(sjis, length, &made), &ink, &logical);
    const int left = edge(x), box_top = edge(y), box_h = edge(y + h) - box_top;
    const int top = box_top + (box_h - logical.height) / 2;
    // the layout's origin on the device, as text() moves to it
    const int ox = left - logical.x, oy = top - logical.y;
    box[0] = ox + std::min(ink.x, logical.x);
    box[1] = oy + std::min(ink.y, logical.y);
    box[2] = ox + std::max(ink.x + ink.width, logical.x + logical.width);
    box[3] = oy + std::max(ink.y + ink.height, logical.y + logical.height);
    return true;
}

void CairoPainter::flush()
{
    strokePending();
    if (!cr_) return;
    syncCairo();
    cairo_surface_flush(cairo_get_target(cr_));
    pixels_flushed_ = pixels_ != nullptr;
}

std::string CairoPainter::lastTextFamilies() const
{
    std::string families;
    PangoLayoutIter* it = pango_layout_get_iter(last_);
    do {
        PangoLayoutRun* run = pango_layout_iter_get_run_readonly(it);
        if (!run) continue;
        PangoFontDescription* d = pango_font_describe(run->item->analysis.font);
        const char* family = pango_font_description_get_family(d);
        if (!families.empty()) families += ",";
        families += family ? family : "";
        pango_font_description_free(d);
    } while (pango_layout_iter_next_run(it));
    pango_layout_iter_free(it);
    return families;
}

int CairoPainter::lastTextUnknownGlyphs() const
{
    return pango_layout_get_unknown_glyphs_count(last_);
}

// Method: Pango marks a character that no font has with an unknown glyph,
// the character's code with PANGO_GLYPH_UNKNOWN_FLAG set.
void CairoPainter::noteMissingGlyphs()
{
    PangoLayoutIter* it = pango_layout_get_iter(last_);
    do {
        PangoLayoutRun* run = pango_layout_iter_get_run_readonly(it);
        if (!run) continue;
        for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
            const PangoGlyph g = run->glyphs->glyphs[i].glyph;
            if (g == PANGO_GLYPH_EMPTY || !(g & PANGO_GLYPH_UNKNOWN_FLAG)) continue;
            const char32_t c = g & ~PANGO_GLYPH_UNKNOWN_FLAG;
            if (missing_.size() < kMissingGlyphsKept && missing_.find(c) == std::u32string::npos)
                missing_.push_back(c);
        }
    } while (pango_layout_iter_next_run(it));
    pango_layout_iter_free(it);
}

void CairoWarnMissingGlyphs(const CairoPainter& painter)
{
    constexpr size_t kShown = 12;  // characters named in the warning
    static bool warned = false;
    const std::u32string& missing = painter.missingGlyphs();
    if (warned || missing.empty()) return;
    warned = true;
    std::string shown;
    for (size_t i = 0; i < missing.size() && i < kShown; ++i) {
        char utf8[8];
        shown.append(utf8, static_cast<size_t>(g_unichar_to_utf8(missing[i], utf8)));
    }
    if (missing.size() > kShown) shown += "...";
    // No font at all: fontconfig failed (its configuration unread, as with
    // too few file descriptors); installing a font would not help.
    const FcFontSet* all = FcConfigGetFonts(nullptr, FcSetSystem);
    if (!all || all->nfont == 0) {
        struct rlimit files {};
        getrlimit(RLIMIT_NOFILE, &files);
        std::string why = _("fontconfig could not read its configuration or its fonts");
        if (files.rlim_cur < kFewFiles)
            why += Message(_(" (at most %lu open files: ulimit -n)"),
                           static_cast<unsigned long>(files.rlim_cur));
        I18n_Print(Message(_("warning: no font could be loaded: %s; the text of the picture is "
                             "drawn as boxes"),
                           why.c_str()));
        return;
    }
    const std::string count =
        missing.size() >= CairoPainter::kMissingGlyphsKept
            ? Message(_("at least %zu"), missing.size())
            : std::to_string(missing.size());
    // A Japanese font installed but not taken: say so rather than advise it
    for (const char* family : kJapaneseGothic) {
        if (!HaveFamily(family)) continue;
        I18n_Print(Message(_("warning: the font %s is installed but gave no glyphs for %s "
                             "characters of the picture (%s), drawn as boxes"),
                           family, count.c_str(), shown.c_str()));
        return;
    }
    // (I18n_Print: in the terminal's character set, escaped where it has none)
    I18n_Print(Message(_("warning: no installed font has glyphs for %s characters of the picture "
                         "(%s), drawn as boxes: install the package fonts-ipafont-gothic"),
                       count.c_str(), shown.c_str()));
}
