// The Cairo+Pango painter: the drawing area's operations on a Cairo context
// (the window's, or an offscreen image for a snapshot). Every conversion the
// panels must not see lives here: 0xRRGGBB to Cairo's sources, the half-pixel
// alignment of odd line widths, 1/64 degree angles, Shift_JIS to UTF-8, the
// face of the font table, and the scale from the picture's pixels to the
// device's.
#pragma once
#include <cairo.h>
#include <iconv.h>
#include <pango/pangocairo.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/painter.h"
#include "toolkit/picture.h"
#include "toolkit/sjis.h"  // SjisToUtf8, the window title's too


// ---- the face of the font table
// CairoFontFamily: the family the painter asks Pango for, given a face name
//   of the font table (UTF-8). "ＭＳ ゴシック" and "MS Gothic" are not families
//   a Debian machine knows: on first use the painter loads a fontconfig alias
//   of its own that maps them to an installed Japanese gothic face (IPAGothic
//   first), so Pango resolves the table's name to a face with kanji and
//   half-width katakana. Other names are passed through.
std::string CairoFontFamily(const std::string& face);

class CairoPainter final : public Painter {
public:
    // cr may be null: begin() attaches a context later (the window gets a new
    // one for every expose).
    explicit CairoPainter(cairo_t* cr = nullptr);
    ~CairoPainter() override;
    CairoPainter(const CairoPainter&) = delete;
    CairoPainter& operator=(const CairoPainter&) = delete;

    // Attach the painter to a context for one repaint; end() leaves it.
    // scale maps the picture's pixels to the context's user space, which is
    // expected to be the device's pixels (an identity matrix, perhaps moved
    // by whole pixels): the picture's pixel (x, y) is then the device area
    // from (x * scale, y * scale) to ((x + 1) * scale, (y + 1) * scale).
    //
    // Painting at a scale other than 1 draws the same picture redrawn at the
    // device's resolution, not enlarged:
    //  - a crisp edge of the picture (the sides of a filled rectangle, of a
    //    one-pixel line's pixels, of an even-width horizontal or vertical
    //    line) falls on the device edge PixelEdge(v, scale), the nearest to
    //    v * scale; the picture's pixel x covers the device columns
    //    PixelEdge(x) to PixelEdge(x + 1), so neighbouring pixels cover
    //    neighbouring columns without gap or overlap at any scale, and a
    //    line and the rectangle beside it meet as they do at scale 1;
    //  - a one-pixel line is Bresenham's line in the picture's pixels, each
    //    pixel set as the whole device area it covers (1 or 2 device pixels
    //    wide at 1.5, exactly 2 at 2), never blended;
    //  - text is laid out at the device's resolution (the same face, the
    //    font height times the scale), its box placed on the device edges of
    //    the picture's box;
    //  - arcs, discs and the other wide lines are drawn at their exact
    //    scaled geometry, antialiased at the device's resolution.
    // At scale 1 every pixel is what it was before scaling existed.
    void begin(cairo_t* cr, double scale = 1.0);
    void end();

    void setColor(uint32_t rgb) override;
    void setLineWidth(int width) override;
    void fillRect(int x, int y, int w, int h) override;
    void line(int x1, int y1, int x2, int y2) override;
    void lines(const int* xy, size_t count) override;
    void arc(int x, int y, int w, int h, int start, int extent, bool fill) override;
    void text(int x, int y, int w, int h, const char* sjis, size_t length) override;
    void flush() override;

    // One-pixel lines are drawn aliased, every pixel wholly or not at all,
    // as a raster display draws them: on an image target (the snapshot, and
    // the window, which paints into an image first) pixel by pixel with
    // Bresenham's line, both end points set; elsewhere as an aliased stroke.
    //
    // What the painter leaves out or batches, all of it without changing a
    // pixel (on by default):
    //  - consecutive crisp lines (horizontal, vertical or a point, of width 1
    //    or an even width, so every pixel is covered wholly or not at all) of
    //    one colour and width share one path and one stroke; an antialiased
    //    line is stroked on its own, since a shared stroke would cover the
    //    pixels where two lines overlap differently from two strokes;
    //  - lines and arcs wholly outside the clip are left out;
    //  - an empty text, and a text whose line box lies a line height or more
    //    beyond the clip's top, bottom or right edge, is not laid out.
    // Off, every call is drawn as it comes, one stroke per line: the painter
    // before batching, for the benchmark's ratio and the pixel comparison.
    void setBatching(bool on);
    bool batching() const { return batching_; }

    // Arcs, discs and wide slanted lines on an image target at a whole
    // scale are set pixel by pixel from Cairo's own coverage of the same
    // shape at the same place within a pixel, taken from Cairo once and
    // kept, and blended as Cairo's image compositor blends an opaque
    // colour: the same pixels as Cairo's fill or stroke, at a fraction of
    // its cost (on by default; off, every shape is Cairo's, for the tests'
    // comparison).
    void setKeptShapes(bool on) { kept_shapes_on_ = on; }
    // Texts likewise: a text drawn again on an image target at a whole
    // scale is set from Cairo's coverage of its glyphs, taken once with its
    // kept layout, blended as pixman composites glyphs (on by default).
    void setKeptTexts(bool on) { kept_texts_on_ = on; }

    // The device pixels a text would mark, drawn as text() draws it at the
    // scale of the last begin(): its ink, from its kept layout,
    // placed as text() places it (x1, y1, x2, y2, right and bottom
    // exclusive, in the user space of that begin()). False before any
    // begin(); an empty box for an empty text.
    bool textInkBox(int x, int y, int h, const char* sjis, size_t length, int box[4]);

    // ---- for tests: what the last text() call laid out
    // Families of the fonts Pango chose for the runs of the last text, joined
    // by ",", and the number of glyphs no font had.
    std::string lastTextFamilies() const;
    int lastTextUnknownGlyphs() const;
    // Characters of every text so far that no font had, in the order first
    // met (at most kMissingGlyphsKept of them).
    const std::u32string& missingGlyphs() const { return missing_; }
    static constexpr size_t kMissingGlyphsKept = 64;
    // Top-left corner where the last text's line box was placed, and its
    // height (device pixels).
    int lastTextX() const { return last_x_; }
    int lastTextY() const { return last_y_; }
    int lastTextHeight() const { return last_h_; }
    // Width of the last text's line box (device pixels; 0 for a text not
    // laid out).
    int lastTextWidth() const { return last_w_; }

private:
    void applyFont();
    void applyLineWidth();
    void applySource();
    void useSource();
    bool outsideClip(double left, double top, double right, double bottom) const;
    bool outsideDeviceClip(double left, double top, double right, double bottom) const;
    void strokePending();
    void pixelLine(int x1, int y1, int x2, int y2);
    void scaledPixelLine(int x1, int y1, int x2, int y2);
    void scaledLine(int x1, int y1, int x2, int y2);
    void fillDeviceRect(int x1, int y1, int x2, int y2);
    void syncCairo();
    void readyPixels();
    bool insideClip(int x1, int y1, int x2, int y2) const;
    bool beyondClip(int x1, int y1, int x2, int y2) const;
    int edge(int v) const;
    void noteMissingGlyphs();
    PangoLayout* keptLayout(const char* sjis, size_t length, bool* made);
    void dropKeptLayouts();
    bool keptArc(int x, int y, int w, int h, int start, int extent, bool fill);
    bool keptLine(int x1, int y1, int x2, int y2);
    // (draw becomes a std::function only when a shape is new)
    template <class Draw>
    bool keptShape(const int* key, size_t key_size, int px, int py, int before_x, int before_y,
                   const Draw& draw, int after_x = 0, int after_y = 0);
    struct ShapeCoverage;
    static ShapeCoverage CoverageOf(int before_x, int before_y, int after_x, int after_y,
                                    const std::function<void(cairo_t*, int, int)>& draw);
    static void ArcPath(cairo_t* c, double cx, double cy, double rx, double ry, int start,
                        int extent, bool fill);
    bool keptText(int ox, int oy);
    struct KeptLayout;
    void takeTextCoverage(KeptLayout* k);

    cairo_t* cr_ = nullptr;
    // Cairo's coverage of a shape, by its kind, size, line width, scale and
    // its reference point's place within a device pixel (whole or half),
    // from the pixel of the reference point; not kept when it could not be
    // taken.
    // Coverages as runs along rows: a run's first pixel from the origin,
    // its length, and where its coverages start in cover; a solid run is
    // wholly covered (the colour itself, nothing stored). Pixels not
    // covered are in no run.
    struct CoveredRun {
        int16_t dx, dy;
        uint16_t length;
        bool solid;
        uint32_t first;
    };
    struct Coverage {
        std::vector<CoveredRun> runs;
        std::vector<uint8_t> cover;
        bool take(cairo_surface_t* s, int ox, int oy, int box[4]);
        void addRow(const uint8_t* a, int n, int dx, int dy);
        void blend(unsigned char* origin, int stride, const unsigned char* end, uint32_t colour,
                   uint32_t half) const;
        void blendWithin(unsigned char* origin, int stride, int x1, int y1, int x2, int y2,
                         uint32_t colour, uint32_t half) const;
        bool empty() const { return runs.empty(); }
        void clear() { runs.clear(); cover.clear(); }
    };
    struct ShapeCoverage {
        bool kept = false;
        int box[4] = {0, 0, 0, 0};  // the covered pixels from the reference point
        Coverage a;                 // from the reference point
    };
    std::unordered_map<std::string, ShapeCoverage> shapes_;
    bool kept_shapes_on_ = true;
    bool kept_texts_on_ = true;
    // Direct pixel access when the target is an ARGB32/RGB24 image drawn at
    // a whole-pixel offset: one-pixel lines are set pixel by pixel there.
    unsigned char* pixels_ = nullptr;
    const unsigned char* pixels_end_ = nullptr;  // the image's end
    int stride_ = 0;
    int ox_ = 0, oy_ = 0;              // user space to image pixels
    int pclip_[4] = {0, 0, 0, 0};      // writable pixels, user space: x1, y1, x2, y2 (exclusive)
    bool clip_whole_pixels_ = false;   // the clip is pclip_ exactly (one rectangle, whole pixels)
    double scale_ = 1.0;               // picture pixels to user space
    bool pixels_flushed_ = false;      // Cairo's pending drawing is in the pixels
    bool pixels_dirty_ = false;        // pixels written that Cairo does not know of
    bool source_set_ = false;          // the colour in force is Cairo's source
    PangoFontMap* fontmap_ = nullptr;  // borrowed default map
    PangoContext* context_ = nullptr;  // owned, reused across repaints
    PangoLayout* layout_ = nullptr;    // owned, reused for every text
    PangoLayout* last_ = nullptr;      // the layout of the last text (layout_ or a kept one)
    // Layouts of the texts drawn, by their Shift_JIS bytes (converted only
    // when a text is new), kept while the font and the context stay (a text
    // drawn again is not laid out again), each with the count of begin() it
    // was last drawn in; owned. With each, once taken, its logical extents
    // and Cairo's coverage of its glyphs drawn at a whole-pixel origin, as
    // runs of covered pixels along rows (see keptText).
    struct KeptLayout {
        PangoLayout* layout = nullptr;
        unsigned long drawn = 0;
        bool have_logical = false;
        PangoRectangle logical{};
        int cover_state = 0;  // 0 not taken, 1 taken, -1 not to be kept
        int uses = 0;         // texts drawn with it (taken at the second)
        int box[4] = {0, 0, 0, 0};  // the covered pixels' box from the origin
        Coverage cover;  // from the layout's origin
    };
    KeptLayout* last_kept_ = nullptr;  // the kept layout of the last text, or null
    std::unordered_map<std::string, KeptLayout> kept_;
    unsigned long begins_ = 0;
    guint context_serial_ = 0;
    cairo_font_options_t* options_ = nullptr;  // the target's font options at the last update, owned
    cairo_matrix_t context_matrix_{};          // the matrix (without its move) at the last update
    bool begun_ = false;               // begin() has set the font at scale_
    PangoFontDescription* desc_ = nullptr;  // the font of every text, owned
    iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
    std::string utf8_;                 // conversion buffer, reused
    std::string key_;                  // a key of the kept layouts or shapes, reused
    uint32_t rgb_ = 0;                 // colour in force, 0xRRGGBB
    int width_ = 1;
    bool pending_ = false;             // a stroke path of crisp lines is open
    bool batching_ = true;
    double clip_[4] = {0, 0, 0, 0};    // clip extents of the context (user space): x1, y1, x2, y2
    int empty_height_ = 0;             // logical height of an empty line
    bool empty_height_known_ = false;  // empty_height_ is that of the font and context in force
    int last_x_ = 0, last_y_ = 0, last_h_ = 0, last_w_ = 0;
    std::u32string missing_;           // characters drawn as boxes
};

// PixelEdge: the device edge of the picture's pixel edge v at a scale, the
//   nearest whole device pixel to v * scale (halves rounded up); v itself at
//   scale 1.
int PixelEdge(int v, double scale);

// ---- the picture in a window of any size
struct PictureFit {
    double scale;       // picture pixels to device pixels
    int x;              // the picture's left edge in the area (device pixels); its top is 0
    int width, height;  // the picture at the scale (device pixels)
};
// FitPicture
//   Given:    width, height  an area of the window (the window's pixels)
//             factor         device pixels per window pixel (2 on a HiDPI screen)
//             base_width, base_height  the window's size that shows the
//                            picture at scale 1 (530 x 257: its top part)
//   Returned: the scale min(width / base_width, height / base_height) times
//             factor, so the picture follows the window and shows the same
//             part of it at every size; the picture centred across the area
//             (the left-over device columns halved, rounded down) and at
//             its top; its size each side PixelEdge of the picture's.
//   Notes:    the part of the area the picture leaves is the caller's to
//             fill (beside it when the area is wide, below it when tall).
PictureFit FitPicture(int width, int height, int factor, int base_width, int base_height);

// CairoWarnMissingGlyphs: once per process, when the painter has drawn
//   characters that no installed font has (as boxes), one line on stderr
//   naming them and the package with the Japanese face.
void CairoWarnMissingGlyphs(const CairoPainter& painter);
