// The Cairo+Pango painter on an image surface: Japanese faces for the font
// table's face name, crisp lines, arcs in 1/64 degree, text placement, and
// the PNG snapshot written whole or not at all.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "shell/cairo/cairo_painter.h"
#include "shell/cairo/snapshot.h"
#include "toolkit/ws.h"

namespace {

constexpr uint32_t kWhite = 0xffffff;
constexpr uint32_t kBlack = 0x000000;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// A white image surface with a painter attached.
struct Canvas {
    cairo_surface_t* surface;
    cairo_t* cr;
    CairoPainter painter;
    Canvas(int w, int h)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h)), cr(cairo_create(surface)),
          painter(cr)
    {
        painter.setColor(kWhite);
        painter.fillRect(0, 0, w, h);
        painter.setColor(kBlack);
        painter.setLineWidth(1);
    }
    ~Canvas()
    {
        painter.end();
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    uint32_t at(int x, int y)
    {
        painter.flush();
        const unsigned char* row = cairo_image_surface_get_data(surface) +
                                   y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xffffff;
    }
    bool inked(int x, int y) { return at(x, y) != kWhite; }
};

// The font table's entry 1 as the program loads it.
void LoadTableFont()
{
    static std::string entry = U8(u8"14,0,0,0,700,0,0,0,128,3,2,1,49,ＭＳ ゴシック");
    static char* table[] = {entry.data(), entry.data(), nullptr};
    WSGFloadFontData(table);
}

}  // namespace

TEST(SjisToUtf8, KanjiKatakanaAndBadBytes)
{
    EXPECT_EQ(SjisToUtf8("天窓", 4), U8(u8"天窓"));
    EXPECT_EQ(SjisToUtf8("\x93\x56\x91\x8b", 4), U8(u8"天窓"));
    EXPECT_EQ(SjisToUtf8("\xC3\xDD\xCF\xC4\xDE", 5), U8(u8"ﾃﾝﾏﾄﾞ"));  // half-width katakana
    EXPECT_EQ(SjisToUtf8("時刻 12:00", 10), U8(u8"時刻 12:00"));
    // a lone lead byte at the end, and a byte that is no character
    EXPECT_EQ(SjisToUtf8("A\x93", 2), U8(u8"A\uFFFD"));
    EXPECT_EQ(SjisToUtf8("\xA0" "B", 2), U8(u8"\uFFFDB"));
}

// "ＭＳ ゴシック" is unknown here; the painter must pick a Japanese face.
TEST(CairoPainterText, JapaneseFaceForTheTableFont)
{
    EXPECT_EQ(CairoFontFamily(U8(u8"ＭＳ ゴシック")), "IPAGothic");
    EXPECT_EQ(CairoFontFamily("MS Gothic"), "IPAGothic");
    EXPECT_EQ(CairoFontFamily("IPAGothic"), "IPAGothic");

    LoadTableFont();
    Canvas c(300, 40);
    const char* samples[] = {"天窓 月の出 東経", "ﾃﾝﾏﾄﾞ ｶﾞｯｺｳ", "満潮 干潮 ﾀﾞｲﾔ 12:34"};
    for (const char* s : samples) {
        c.painter.text(0, 0, 300, 30, s, std::strlen(s));
        const std::string families = c.painter.lastTextFamilies();
        EXPECT_EQ(c.painter.lastTextUnknownGlyphs(), 0) << s;
        ASSERT_FALSE(families.empty());
        // every run in the IPA gothic face, none in a Latin fallback
        size_t pos = 0;
        while (pos <= families.size()) {
            size_t comma = families.find(',', pos);
            std::string f = families.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
            EXPECT_EQ(f.rfind("IPA", 0), 0u) << families;
            if (comma == std::string::npos) break;
            pos = comma + 1;
        }
    }
}

// Text is left-aligned at x and its line box centred vertically in the box.
TEST(CairoPainterText, LeftAlignedAndCentredInBox)
{
    LoadTableFont();
    Canvas c(200, 80);
    c.painter.text(10, 20, 300, 30, "時刻 12:34:56", std::strlen("時刻 12:34:56"));
    const int h = c.painter.lastTextHeight();
    EXPECT_GE(h, 14);
    EXPECT_LE(h, 20);
    EXPECT_EQ(c.painter.lastTextX(), 10);
    EXPECT_EQ(c.painter.lastTextY(), 20 + (30 - h) / 2);
    int top = 80, bottom = -1, left = 200;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 200; ++x)
            if (c.inked(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
            }
    ASSERT_GE(bottom, 0);
    EXPECT_GE(left, 10);
    EXPECT_LE(left, 12);
    EXPECT_GE(top, c.painter.lastTextY());
    EXPECT_LT(bottom, c.painter.lastTextY() + h);
    // ink centred on the box's middle row (35) within 3 pixels
    EXPECT_NEAR((top + bottom) / 2.0, 35.0, 3.0);
}

// A one-pixel line is one row (column) of full colour, end points included.
TEST(CairoPainterLine, OnePixelLinesAreCrisp)
{
    Canvas c(40, 40);
    c.painter.line(5, 10, 30, 10);
    c.painter.line(20, 15, 20, 35);
    for (int x = 5; x <= 30; ++x) {
        EXPECT_EQ(c.at(x, 10), kBlack) << x;
        EXPECT_EQ(c.at(x, 9), kWhite) << x;
        EXPECT_EQ(c.at(x, 11), kWhite) << x;
    }
    EXPECT_EQ(c.at(4, 10), kWhite);
    EXPECT_EQ(c.at(31, 10), kWhite);
    for (int y = 15; y <= 35; ++y) {
        EXPECT_EQ(c.at(20, y), kBlack) << y;
        EXPECT_EQ(c.at(19, y), kWhite) << y;
        EXPECT_EQ(c.at(21, y), kWhite) << y;
    }
    // a diagonal is one pixel per column, end points set, nothing blended
    Canvas d(40, 40);
    d.painter.line(2, 3, 32, 13);
    for (int x = 2; x <= 32; ++x) {
        int inked = 0;
        for (int y = 0; y < 40; ++y) {
            uint32_t p = d.at(x, y);
            ASSERT_TRUE(p == kBlack || p == kWhite) << x << "," << y;
            inked += p == kBlack;
        }
        EXPECT_EQ(inked, 1) << x;
    }
    EXPECT_EQ(d.at(2, 3), kBlack);
    EXPECT_EQ(d.at(32, 13), kBlack);
    // width 2 covers two whole rows
    c.painter.setLineWidth(2);
    c.painter.line(5, 30, 15, 30);
    EXPECT_EQ(c.at(10, 29), kBlack);
    EXPECT_EQ(c.at(10, 30), kBlack);
    EXPECT_EQ(c.at(10, 28), kWhite);
    EXPECT_EQ(c.at(10, 31), kWhite);
}

// Lines handed over in a batch are set as line() sets them one by one:
// inside, across and beyond the clip, at scale 1 (the painter's own pixels)
// and 2, at widths 1 and 2 (Cairo's).
TEST(CairoPainterLine, BatchedLinesAreLineAfterLine)
{
    std::vector<int> xy;
    uint32_t seed = 12345;
    auto next = [&](int n) { return static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16) % n; };
    // long lines anywhere, and short ones (as the grids draw) all over
    for (int i = 0; i < 3000; ++i) {
        const int x = next(70) - 5, y = next(60) - 5;
        const bool is_short = i % 4 != 0;
        xy.insert(xy.end(), {x, y, is_short ? x + next(5) - 2 : next(80) - 10, is_short ? y + next(5) - 2 : next(70) - 10});
    }
    for (double scale : {1.0, 2.0}) {
        for (int width : {1, 2}) {
            std::vector<unsigned char> pixels[2];
            for (int batched = 0; batched <= 1; ++batched) {
                const int w = static_cast<int>(60 * scale), h = static_cast<int>(50 * scale);
                cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
                cairo_t* cr = cairo_create(surface);
                cairo_rectangle(cr, 5 * scale, 4 * scale, 45 * scale, 38 * scale);
                cairo_clip(cr);
                {
                    CairoPainter painter;
                    painter.begin(cr, scale);
                    painter.setColor(kWhite);
                    painter.fillRect(0, 0, 60, 50);
                    painter.setColor(0x2040ff);
                    painter.setLineWidth(width);
                    if (batched) painter.lines(xy.data(), xy.size() / 4);
                    else
                        for (size_t i = 0; i < xy.size(); i += 4) painter.line(xy[i], xy[i + 1], xy[i + 2], xy[i + 3]);
                    painter.flush();
                    painter.end();
                }
                cairo_surface_flush(surface);
                const unsigned char* data = cairo_image_surface_get_data(surface);
                pixels[batched].assign(data, data + static_cast<size_t>(cairo_image_surface_get_stride(surface)) * h);
                cairo_destroy(cr);
                cairo_surface_destroy(surface);
            }
            EXPECT_TRUE(pixels[0] == pixels[1]) << "scale " << scale << ", width " << width;
        }
    }
}

// Arcs: 1/64 degree from 3 o'clock, counter-clockwise on the screen.
TEST(CairoPainterArc, HalfDiscQuarterAndBoundingBox)
{
    Canvas c(60, 60);
    c.painter.arc(10, 10, 20, 20, 5760, 11520, true);  // left half disc
    EXPECT_EQ(c.at(14, 20), kBlack);
    EXPECT_EQ(c.at(19, 12), kBlack);
    EXPECT_EQ(c.at(19, 28), kBlack);
    EXPECT_EQ(c.at(25, 20), kWhite);
    EXPECT_EQ(c.at(25, 14), kWhite);

    Canvas q(60, 60);
    q.painter.arc(10, 10, 20, 20, 0, 5760, true);  // quarter from 3 to 12 o'clock
    EXPECT_EQ(q.at(25, 15), kBlack);                // upper right
    EXPECT_EQ(q.at(25, 25), kWhite);                // lower right
    EXPECT_EQ(q.at(15, 15), kWhite);                // upper left

    Canvas f(60, 60);
    f.painter.arc(10, 10, 20, 20, 0, 0, true);  // extent 0: whole disc
    EXPECT_EQ(f.at(14, 20), kBlack);
    EXPECT_EQ(f.at(25, 20), kBlack);
    f.painter.setColor(0xff0000);
    f.painter.arc(10, 10, 20, 20, 0, 23040, true);
    EXPECT_EQ(f.at(25, 25), 0xff0000u);

    // an outline stays inside its box: ink in columns 10 and 30, none at 9 or 31
    Canvas o(60, 60);
    o.painter.arc(10, 10, 21, 21, 0, 23040, false);
    bool left = false, right = false, outside = false;
    for (int y = 0; y < 60; ++y) {
        left = left || o.inked(10, y);
        right = right || o.inked(30, y);
        outside = outside || o.inked(9, y) || o.inked(31, y) || o.inked(y, 9) || o.inked(y, 31);
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
    EXPECT_FALSE(outside);
    EXPECT_EQ(o.at(20, 20), kWhite);  // not filled

    // a zero-size box draws nothing and leaves the context usable
    Canvas z(20, 20);
    z.painter.arc(5, 5, 0, 0, 0, 23040, false);
    EXPECT_EQ(cairo_status(z.cr), CAIRO_STATUS_SUCCESS);
    z.painter.fillRect(1, 1, 2, 2);
    EXPECT_EQ(z.at(1, 1), kBlack);
}

namespace {

// The picture drawn twice on a surface of many shades (each channel a
// slope across and down, so that blends meet many levels), clipped inside
// its edges (or by clip, when given) and moved by whole pixels: with the
// painter's kept coverages off, then on. True when every byte is the same.
bool SameKeptOrNot(cairo_format_t format, int w, int h, bool down, double scale,
                   const std::function<void(CairoPainter&, bool kept)>& draw,
                   const std::function<void(cairo_t*)>& clip = {})
{
    cairo_surface_t* img[2];
    for (int m = 0; m < 2; ++m) {
        img[m] = cairo_image_surface_create(format, w, h);
        unsigned char* data = cairo_image_surface_get_data(img[m]);
        const int stride = cairo_image_surface_get_stride(img[m]);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                reinterpret_cast<uint32_t*>(data + j * stride)[i] =
                    0xff000000u | ((i * 37 + j * 11) & 0xff) << 16 | ((i * 5 + j * 29) & 0xff) << 8 |
                    ((i * 13 + j * 3) & 0xff);
        cairo_surface_mark_dirty(img[m]);
        cairo_t* cr = cairo_create(img[m]);
        if (clip) {
            clip(cr);
        } else {
            cairo_rectangle(cr, 3, 2, w - 7, h - 5);
        }
        cairo_clip(cr);
        cairo_translate(cr, down ? 0 : 1, down ? 3 : 0);
        CairoPainter p;
        p.begin(cr, scale);
        draw(p, m == 1);
        p.end();
        cairo_destroy(cr);
        cairo_surface_flush(img[m]);
    }
    const bool same = std::memcmp(cairo_image_surface_get_data(img[0]), cairo_image_surface_get_data(img[1]),
                                  static_cast<size_t>(cairo_image_surface_get_stride(img[0])) * h) == 0;
    cairo_surface_destroy(img[0]);
    cairo_surface_destroy(img[1]);
    return same;
}

}  // namespace

// A shape set from its kept coverage is Cairo's own fill or stroke, pixel
// for pixel: discs of every size the panels draw, an ellipse, the dial's
// and the Moon's outlines, the Moon's half disc, slanted hands of widths 2
// to 6 (and a level one, Cairo's), at scales 1, 2 and 3, moved a pixel at a
// time across and down a surface, in both image formats, overlapping and
// crossing the clip (Cairo's there).
TEST(CairoPainterArc, KeptShapesAreCairosFillsAndStrokes)
{
    struct Shape {
        char kind;  // d disc, o outline, h half disc, l line
        int w, h, width;
    };
    const Shape kShapes[] = {{'d', 1, 1, 1},  {'d', 2, 2, 1},  {'d', 3, 3, 1},   {'d', 4, 4, 1},
                             {'d', 5, 5, 1},  {'d', 7, 7, 1},  {'d', 8, 8, 1},   {'d', 9, 9, 1},
                             {'d', 16, 16, 1}, {'d', 17, 17, 1}, {'d', 80, 80, 1}, {'d', 12, 7, 1},
                             {'o', 80, 80, 3}, {'o', 80, 80, 1}, {'o', 9, 9, 2},   {'h', 80, 80, 1},
                             {'l', 19, -7, 6}, {'l', -24, 5, 4}, {'l', 31, 9, 2},  {'l', 3, 28, 3},
                             {'l', -11, -11, 2}, {'l', 20, 0, 4}};
    const uint32_t kColours[] = {0xffff00, 0xff0000, 0x0000ff, 0xffffff, 0x000000, 0x64ffff};
    for (cairo_format_t format : {CAIRO_FORMAT_RGB24, CAIRO_FORMAT_ARGB32})
    for (int k : {1, 2, 3})
    for (const Shape& shape : kShapes)
    for (int down = 0; down <= 1; ++down) {
        const int ext = std::max(std::abs(shape.w), std::abs(shape.h)) + 8;
        const int span = (down ? 300 : 500) / k;  // places, picture pixels
        const int sw = down ? (ext + 8) * k : (span + 2 * ext) * k;
        const int sh = down ? (span + 2 * ext) * k : (ext + 8) * k;
        EXPECT_TRUE(SameKeptOrNot(format, sw, sh, down, k, [&](CairoPainter& p, bool kept) {
            p.setKeptShapes(kept);
            p.setLineWidth(shape.width);
            for (int n = 0; n <= span; ++n) {
                p.setColor(kColours[n % 6]);
                const int x = down ? ext / 2 : n - ext / 2, y = down ? n - ext / 2 : ext / 2;
                switch (shape.kind) {
                case 'd': p.arc(x - shape.w / 2, y - shape.h / 2, shape.w, shape.h, 0, 23040, true); break;
                case 'o': p.arc(x - shape.w / 2, y - shape.h / 2, shape.w, shape.h, 0, 23040, false); break;
                case 'h': p.arc(x - shape.w / 2, y - shape.h / 2, shape.w, shape.h, 5760, 11520, true); break;
                default: p.line(x, y, x + shape.w, y + shape.h); break;
                }
            }
        })) << shape.kind << " " << shape.w << "x" << shape.h << " width " << shape.width << " at scale "
            << k << (down ? " down" : " across") << ", format " << format;
    }
}

// A text set from its kept coverage is what Pango and Cairo draw, pixel for
// pixel: texts of the picture (kana, kanji, digits) moved a pixel at a time
// across and down a surface, at scales 1 and 2, in both image formats,
// overlapping and crossing the clip (a rectangle on whole pixels: set
// within it).
TEST(CairoPainterText, KeptTextsAreCairosGlyphs)
{
    const char* const kTexts[] = {"Ori.ｵﾘｵﾝ", "2461381.375000", "月の入 23:00", "東京湾潮汐", "W"};
    const uint32_t kColours[] = {0x000000, 0xff0000, 0x0000ff, 0xffffff, 0xffff00};
    for (cairo_format_t format : {CAIRO_FORMAT_RGB24, CAIRO_FORMAT_ARGB32})
    for (int k : {1, 2})
    for (int down = 0; down <= 1; ++down) {
        const int span = (down ? 400 : 700) / k;  // places, picture pixels
        const int sw = down ? 260 * k : (span + 200) * k;
        const int sh = down ? (span + 60) * k : 70 * k;
        EXPECT_TRUE(SameKeptOrNot(format, sw, sh, down, k, [&](CairoPainter& p, bool kept) {
            p.setKeptTexts(kept);
            for (int n = 0; n <= span; ++n) {
                const char* t = kTexts[n % 5];
                p.setColor(kColours[n % 5]);
                p.text(down ? 2 : n - 20, down ? n - 10 : 4 + n % 17, 300, 30, t, std::strlen(t));
            }
        })) << "scale " << k << (down ? " down" : " across") << ", format " << format;
    }
}

// Texts crossing a clip that is not one rectangle on whole pixels (two
// rectangles: the painter sets no pixel itself then; edges within a pixel)
// come out as Cairo draws them: the same pixels with the kept texts on and
// off.
TEST(CairoPainterText, TextsAcrossOtherClipsAreCairos)
{
    const char* const kTexts[] = {"Ori.ｵﾘｵﾝ", "月の入 23:00", "2461381.375000"};
    const std::function<void(cairo_t*)> kClips[] = {
        [](cairo_t* cr) {  // two rectangles: an L
            cairo_rectangle(cr, 3, 2, 200, 30);
            cairo_rectangle(cr, 3, 32, 90, 30);
        },
        [](cairo_t* cr) { cairo_rectangle(cr, 3.5, 2.25, 190, 55.5); },  // within pixels
    };
    for (const auto& clip : kClips) {
        EXPECT_TRUE(SameKeptOrNot(CAIRO_FORMAT_RGB24, 260, 70, false, 1, [&](CairoPainter& p, bool kept) {
            p.setKeptTexts(kept);
            for (int n = 0; n <= 240; ++n) {
                const char* t = kTexts[n % 3];
                p.setColor(n % 2 ? 0x000000 : 0xff0000);
                p.text(n - 30, n % 60, 300, 30, t, std::strlen(t));
            }
        }, clip)) << (&clip == &kClips[0] ? "two rectangles" : "within pixels");
    }
}

namespace {
void PaintBackground(WSCbase* object)
{
    WSCvdrawingArea* a = static_cast<WSCvdrawingArea*>(object->viewAsClass("WSCvdrawingArea"));
    a->setForeColor("#64ffff");
    a->drawFillRect(0, 0, 530, 300);
    a->setForeColor("#000000");
    a->drawLine(0, 299, 529, 299);
}

// Names in dir that begin with prefix.
int CountNames(const std::string& dir, const std::string& prefix)
{
    int n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name).rfind(prefix, 0) == 0) ++n;
        closedir(d);
    }
    return n;
}
}  // namespace

TEST(RenderSnapshotPng, WholeFileOrNone)
{
    WSCvdrawingArea area(nullptr, "snap");
    WSCprocedure proc("p", WSEV_EXPOSE);
    proc.setFunction(PaintBackground, "paint");
    area.bindProcedure(&proc);

    char tmpl[] = "/tmp/tenmado-render-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const std::string good = dir + "/s.png";
    std::string error;
    ASSERT_TRUE(RenderSnapshotPng(&area, good, &error)) << error;
    cairo_surface_t* png = cairo_image_surface_create_from_png(good.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 530);
    EXPECT_EQ(cairo_image_surface_get_height(png), 300);
    const unsigned char* data = cairo_image_surface_get_data(png);
    const int stride = cairo_image_surface_get_stride(png);
    auto px = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(data + y * stride)[x]; };
    EXPECT_EQ(px(2, 2), 0xff64ffffu);  // opaque background
    EXPECT_EQ(px(529, 298), 0xff64ffffu);
    EXPECT_EQ(px(529, 299), 0xff000000u);  // the last row, crisp
    cairo_surface_destroy(png);

    // a missing folder and a folder in the way: false, a message, no file
    error.clear();
    EXPECT_FALSE(RenderSnapshotPng(&area, dir + "/missing/s.png", &error));
    EXPECT_NE(error.find("missing/s.png"), std::string::npos) << error;
    ASSERT_EQ(mkdir((dir + "/taken.png").c_str(), 0755), 0);
    error.clear();
    EXPECT_FALSE(RenderSnapshotPng(&area, dir + "/taken.png", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(RenderSnapshotPng(&area, "", &error));
    EXPECT_EQ(CountNames(dir, ".tenmado-snapshot-"), 0);

    // overwriting keeps a whole picture
    ASSERT_TRUE(RenderSnapshotPng(&area, good, &error)) << error;
    EXPECT_EQ(CountNames(dir, ".tenmado-snapshot-"), 0);
    std::remove(good.c_str());
    rmdir((dir + "/taken.png").c_str());
    rmdir(dir.c_str());
}
