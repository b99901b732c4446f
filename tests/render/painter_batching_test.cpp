// The Cairo painter's batching and leaving out must not change a pixel: the
// same drawing calls with batching on and off give the same image, for whole
// repaints and for awkward sequences (lines and arcs across and beside the
// clip's edge, crisp and antialiased lines interleaved, widths 1 to 4,
// points, texts beside the clip and empty texts).
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "shell/cairo/cairo_painter.h"
#include "app/koyomi.h"
#include "app/settings.h"
#include "toolkit/ws.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"

namespace {

constexpr int kPictureWidth = 530, kPictureHeight = 300;

// Pixels of one drawing through the painter, batching on or off; clip, when
// given, is a rectangle x, y, w, h (device pixels) set on the context first
// (as an expose of part of the window does); scale, the painter's.
template <typename Draw>
std::vector<uint32_t> Render(int w, int h, bool batching, const int* clip, Draw draw,
                             double scale = 1.0)
{
    w = PixelEdge(w, scale);
    h = PixelEdge(h, scale);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    if (clip) {
        cairo_rectangle(cr, clip[0], clip[1], clip[2], clip[3]);
        cairo_clip(cr);
    }
    {
        CairoPainter painter;
        painter.setBatching(batching);
        painter.begin(cr, scale);
        draw(painter);
        painter.flush();
        painter.end();
    }
    cairo_surface_flush(surface);
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < h; ++y)
        std::memcpy(&px[static_cast<size_t>(y) * w], cairo_image_surface_get_data(surface) + y * stride,
                    static_cast<size_t>(w) * 4);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return px;
}

int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

// A small deterministic generator (no library state shared with others).
struct Lcg {
    uint32_t s;
    int next(int n)
    {
        s = s * 1664525u + 1013904223u;
        return static_cast<int>((s >> 8) % static_cast<uint32_t>(n));
    }
};

// A mixed sequence on a w x h area: coordinates run 8 pixels beyond every
// edge, so lines and arcs fall wholly outside, across and just inside.
void Mixed(Painter& p, int w, int h, uint32_t seed)
{
    static const uint32_t kColors[] = {0x000000, 0x0000ff, 0xff0000, 0x00ff00};
    Lcg g{seed};
    for (int i = 0; i < 600; ++i) {
        const int kind = g.next(20);
        if (kind == 0) p.setColor(kColors[g.next(4)]);
        else if (kind == 1) p.setLineWidth(g.next(5));  // 0 is the thin line
        else if (kind == 2) {
            const int x = g.next(w + 16) - 8, y = g.next(h + 16) - 8, d = 1 + g.next(12);
            p.arc(x, y, d, d, 0, 23040, g.next(2) == 0);
        } else if (kind == 3) {
            p.text(g.next(w) - 4, g.next(h) - 4, 30, 15, "", 0);
        } else if (kind == 4) {
            // a line of text from 40 pixels beyond every edge: left out only
            // where none of it can show
            static const char kText[] = "月の出 Jg";
            p.text(g.next(w + 80) - 40, g.next(h + 80) - 40, 30, 1 + g.next(30), kText,
                   sizeof kText - 1);
        } else {
            const int x1 = g.next(w + 16) - 8, y1 = g.next(h + 16) - 8;
            int x2 = x1, y2 = y1;
            switch (g.next(4)) {
                case 0: x2 += g.next(9) - 4; break;                       // horizontal
                case 1: y2 += g.next(9) - 4; break;                       // vertical
                case 2: x2 += g.next(9) - 4; y2 += g.next(9) - 4; break;  // short, any slope
                default: x2 = g.next(w + 16) - 8; y2 = g.next(h + 16) - 8;
            }
            p.line(x1, y1, x2, y2);
        }
    }
}

}  // namespace

TEST(CairoPainterBatching, WholeRepaintsSamePixels)
{
    // four instants a season apart, day and night
    const int64_t kInstants[] = {
        Clock_CivilFromFields(2026, 12, 6, 21, 0, 0), Clock_CivilFromFields(2027, 3, 21, 5, 30, 0),
        Clock_CivilFromFields(2027, 6, 21, 12, 0, 0), Clock_CivilFromFields(2027, 9, 23, 18, 45, 30)};
    WSCvdrawingArea area(nullptr, "a");
    for (int64_t t : kInstants) {
        auto repaint = [&](CairoPainter& p) {
            Settings_Reset();
            testing_clock::FixedClock clock(t);
            area.setPainter(&p);
            Koyomi_Pla(&area);
            area.setPainter(nullptr);
        };
        const auto on = Render(kPictureWidth, kPictureHeight, true, nullptr, repaint);
        const auto off = Render(kPictureWidth, kPictureHeight, false, nullptr, repaint);
        EXPECT_EQ(Differing(on, off), 0) << "instant " << t;
    }
}

TEST(CairoPainterBatching, EdgesAndMixedSequencesSamePixels)
{
    constexpr int kW = 64, kH = 48;
    const int kClip[] = {9, 7, 30, 20};  // part of the area, as a partial expose
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        auto draw = [&](CairoPainter& p) { Mixed(p, kW, kH, seed); };
        EXPECT_EQ(Differing(Render(kW, kH, true, nullptr, draw), Render(kW, kH, false, nullptr, draw)), 0)
            << "seed " << seed;
        EXPECT_EQ(Differing(Render(kW, kH, true, kClip, draw), Render(kW, kH, false, kClip, draw)), 0)
            << "seed " << seed << " clipped";
        // at a scale the clip is in device pixels, the drawing in the picture's
        for (double scale : {1.5, 2.0})
            EXPECT_EQ(Differing(Render(kW, kH, true, kClip, draw, scale),
                                Render(kW, kH, false, kClip, draw, scale)),
                      0)
                << "seed " << seed << " clipped at scale " << scale;
    }
}

TEST(CairoPainterBatching, EmptyTextKeepsTheLineBox)
{
    // an empty text is not laid out, but reports the line box as before
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 40);
    cairo_t* cr = cairo_create(surface);
    int height[2], top[2];
    for (int on = 0; on < 2; ++on) {
        CairoPainter painter;
        painter.setBatching(on == 1);
        painter.begin(cr);
        painter.text(3, 4, 30, 30, "A", 1);
        painter.text(5, 6, 30, 30, "", 0);
        EXPECT_EQ(painter.lastTextX(), 5);
        EXPECT_EQ(painter.lastTextFamilies(), "");
        EXPECT_EQ(painter.lastTextUnknownGlyphs(), 0);
        height[on] = painter.lastTextHeight();
        top[on] = painter.lastTextY();
        painter.end();
    }
    EXPECT_GT(height[1], 0);
    EXPECT_EQ(height[1], height[0]);
    EXPECT_EQ(top[1], top[0]);
    // the line box is known from an earlier begin only while the font and
    // the scale stay: begun again at another scale, the painter gives what
    // one laying the empty text out at that scale gives
    CairoPainter kept;
    for (double scale : {1.0, 2.0, 1.0, 3.0}) {
        kept.begin(cr, scale);
        kept.text(5, 6, 30, 30, "", 0);
        CairoPainter fresh;
        fresh.setBatching(false);
        fresh.begin(cr, scale);
        fresh.text(5, 6, 30, 30, "", 0);
        EXPECT_EQ(kept.lastTextHeight(), fresh.lastTextHeight()) << "scale " << scale;
        EXPECT_EQ(kept.lastTextY(), fresh.lastTextY()) << "scale " << scale;
        fresh.end();
        kept.end();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
