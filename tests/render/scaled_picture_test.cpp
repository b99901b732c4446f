// The picture at a scale: at 1 the pictures the painter made before it could
// scale, pixel for pixel; at 2 redrawn (one-pixel lines two device pixels
// wide, text laid out anew) where a doubled picture would be blocky, the
// same where the picture is flat; at 1.5 one-pixel lines still crisp and
// tiling; and the window's fit of the picture.
#include <gtest/gtest.h>

#include <cairo.h>
#include <pango/pango.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "shell/cairo/cairo_painter.h"
#include "app/koyomi.h"
#include "toolkit/ws.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/repaint_capture.h"

namespace {

constexpr uint32_t kWhite = 0xffffff, kBlack = 0x000000, kRed = 0xff0000, kBlue = 0x0000ff;
constexpr uint32_t kBackground = 0x64ffff;

struct Image {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x] & 0xffffff; }
};

Image Pixels(cairo_surface_t* s)
{
    cairo_surface_flush(s);
    Image img{cairo_image_surface_get_width(s), cairo_image_surface_get_height(s), {}};
    img.px.resize(static_cast<size_t>(img.w) * img.h);
    for (int y = 0; y < img.h; ++y)
        std::memcpy(&img.px[static_cast<size_t>(y) * img.w],
                    cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s),
                    static_cast<size_t>(img.w) * 4);
    return img;
}

// Drawing calls on a white w x h picture (picture pixels) painted at a scale.
template <typename Draw>
Image Paint(int w, int h, double scale, Draw draw)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, PixelEdge(w, scale),
                                                    PixelEdge(h, scale));
    cairo_t* cr = cairo_create(s);
    {
        CairoPainter painter;
        painter.begin(cr, scale);
        painter.setColor(kWhite);
        painter.fillRect(0, 0, w, h);
        painter.setColor(kBlack);
        draw(painter);
        painter.end();
    }
    cairo_destroy(cr);
    Image img = Pixels(s);
    cairo_surface_destroy(s);
    return img;
}

// The whole repaint at a civil instant, from the state at start, at a scale.
Image Repaint(const repaint_capture::Instant& t, double scale)
{
    repaint_capture::ResetToStart();
    testing_clock::FixedClock clock(t.year, t.month, t.day, t.hour, t.minute, t.second);
    WSCvdrawingArea area(nullptr, "scaled");
    return Paint(kRepaintWidth, kRepaintHeight, scale, [&](CairoPainter& p) {
        area.setPainter(&p);
        Koyomi_Pla(&area);
    });
}

}  // namespace

TEST(ScaledPainter, OnePixelLinesOnDeviceEdges)
{
    // scale 2: each pixel of the line a whole 2 x 2 block, end points too
    Image a = Paint(40, 20, 2.0, [](Painter& p) { p.line(5, 10, 30, 10); p.line(2, 3, 12, 8); });
    for (int x = 10; x <= 61; ++x) {
        EXPECT_EQ(a.at(x, 20), kBlack) << x;
        EXPECT_EQ(a.at(x, 21), kBlack) << x;
        EXPECT_EQ(a.at(x, 19), kWhite) << x;
        EXPECT_EQ(a.at(x, 22), kWhite) << x;
    }
    EXPECT_EQ(a.at(9, 20), kWhite);
    EXPECT_EQ(a.at(62, 20), kWhite);
    for (int x = 4; x < 26; ++x) {  // the diagonal: two device pixels per column, never blended
        int black = 0;
        for (int y = 0; y < 19; ++y) {
            ASSERT_TRUE(a.at(x, y) == kBlack || a.at(x, y) == kWhite) << x << "," << y;
            black += a.at(x, y) == kBlack;
        }
        EXPECT_EQ(black, 2) << x;
    }

    // scale 1.5: columns of alternating colours tile the device columns
    // without gap or overlap, each 1 or 2 device pixels wide, and a filled
    // rectangle meets the line beside it as at scale 1
    Image b = Paint(40, 12, 1.5, [](Painter& p) {
        for (int x = 10; x < 40; ++x) {
            p.setColor(x % 2 ? kRed : kBlack);
            p.line(x, 0, x, 11);
        }
        p.setColor(kBlue);
        p.fillRect(0, 2, 10, 5);
        p.setColor(kRed);
        p.setLineWidth(2);  // an even width across: the rows 8 and 9, crisp
        p.line(0, 9, 9, 9);
    });
    for (int x = 10; x < 40; ++x) {
        const int x1 = PixelEdge(x, 1.5), x2 = PixelEdge(x + 1, 1.5);
        EXPECT_TRUE(x2 - x1 == 1 || x2 - x1 == 2) << x;
        for (int d = x1; d < x2; ++d) EXPECT_EQ(b.at(d, 5), x % 2 ? kRed : kBlack) << d;
    }
    EXPECT_EQ(b.at(PixelEdge(10, 1.5) - 1, 5), kBlue);
    EXPECT_EQ(b.at(PixelEdge(2, 1.5), 5), kBlue);
    EXPECT_EQ(b.at(5, PixelEdge(2, 1.5) - 1), kWhite);
    EXPECT_EQ(b.at(5, PixelEdge(7, 1.5)), kWhite);
    for (int y = 0; y < b.h; ++y) {
        const bool blue = y >= PixelEdge(2, 1.5) && y < PixelEdge(7, 1.5);
        const bool red = y >= PixelEdge(8, 1.5) && y < PixelEdge(10, 1.5);
        EXPECT_EQ(b.at(3, y), blue ? kBlue : red ? kRed : kWhite) << y;
    }
}

// The window's picture: scale from the window's size and the device's factor,
// centred across.
TEST(FitPicture, ScaleAndPlace)
{
    const PictureFit same = FitPicture(530, 257, 1, 530, 257);
    EXPECT_EQ(same.scale, 1.0);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.width, 530);
    EXPECT_EQ(same.height, 300);
    const PictureFit hidpi = FitPicture(530, 257, 2, 530, 257);
    const PictureFit large = FitPicture(1060, 514, 1, 530, 257);
    EXPECT_EQ(hidpi.scale, 2.0);
    EXPECT_EQ(large.scale, 2.0);
    EXPECT_EQ(hidpi.width, 1060);
    EXPECT_EQ(large.height, 600);
    const PictureFit wide = FitPicture(1200, 300, 1, 530, 257);  // height decides
    EXPECT_NEAR(wide.scale, 300.0 / 257, 1e-12);
    EXPECT_EQ(wide.width, 619);
    EXPECT_EQ(wide.x, 290);
    const PictureFit tall = FitPicture(795, 900, 2, 530, 257);  // width decides
    EXPECT_EQ(tall.scale, 3.0);
    EXPECT_EQ(tall.x, 0);
    EXPECT_EQ(tall.height, 900);
}

// Scale 1 is the painter before scaling: the committed pictures were written
// by it (see tests/golden/README.md). Other versions of Cairo, Pango or the
// font draw text and edges differently: the comparison needs those it was
// made with.
TEST(ScaledPicture, ScaleOneIsThePictureOfBefore)
{
    if (std::string(cairo_version_string()) != "1.16.0" ||
        std::string(pango_version_string()) != "1.50.12")
        GTEST_SKIP() << "reference pictures made with cairo 1.16.0 and pango 1.50.12, not "
                     << cairo_version_string() << " and " << pango_version_string();
    const repaint_capture::Instant instants[] = {
        {2026, 12, 6, 15, 0, 0}, {2026, 12, 31, 23, 59, 59}, {1899, 12, 31, 21, 0, 0}};
    for (const auto& t : instants) {
        char name[64];
        std::snprintf(name, sizeof name, "%04d%02d%02d_%02d%02d%02d.png", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        const std::string path = std::string(TENMADO_SOURCE_DIR "/tests/golden/pictures/") + name;
        cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
        ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << path;
        const Image want = Pixels(png);
        cairo_surface_destroy(png);
        const Image got = Repaint(t, 1.0);
        ASSERT_EQ(got.w, want.w);
        ASSERT_EQ(got.h, want.h);
        int differ = 0, first = -1;
        for (size_t i = 0; i < got.px.size(); ++i)
            if (got.px[i] != want.px[i] && differ++ == 0) first = static_cast<int>(i);
        EXPECT_EQ(differ, 0) << name << ": first at (" << first % want.w << ", " << first / want.w
                             << ")";
    }
}

TEST(ScaledPicture, ScaleTwoIsRedrawnNotEnlarged)
{
    const repaint_capture::Instant t{2026, 12, 6, 15, 0, 0};
    const Image one = Repaint(t, 1.0), two = Repaint(t, 2.0);
    ASSERT_EQ(two.w, 1060);
    ASSERT_EQ(two.h, 600);
    // Nearest-neighbour doubling of the 1x picture, for comparison.
    auto doubled = [&](int x, int y) { return one.at(x / 2, y / 2); };

    // The grid's one-pixel lines: the horizon (y 230) across the sky and the
    // meridian (x 250) below the zenith are exactly two device pixels wide
    // wherever the picture has them alone between background pixels.
    int rows = 0, columns = 0;
    for (int x = 100; x < 200; ++x) {
        if (one.at(x, 229) != kBackground || one.at(x, 230) != kBlack || one.at(x, 231) != kBackground)
            continue;
        ++rows;
        for (int d : {2 * x, 2 * x + 1}) {
            EXPECT_EQ(two.at(d, 459), kBackground) << d;
            EXPECT_EQ(two.at(d, 460), kBlack) << d;
            EXPECT_EQ(two.at(d, 461), kBlack) << d;
            EXPECT_EQ(two.at(d, 462), kBackground) << d;
        }
    }
    for (int y = 120; y < 220; ++y) {
        if (one.at(249, y) != kBackground || one.at(250, y) != kBlack || one.at(251, y) != kBackground)
            continue;
        ++columns;
        for (int d : {2 * y, 2 * y + 1}) {
            EXPECT_EQ(two.at(499, d), kBackground) << d;
            EXPECT_EQ(two.at(500, d), kBlack) << d;
            EXPECT_EQ(two.at(501, d), kBlack) << d;
            EXPECT_EQ(two.at(502, d), kBackground) << d;
        }
    }
    EXPECT_GT(rows, 20);
    EXPECT_GT(columns, 20);

    // The date line (box 20, 0, 600 x 15): its text is laid out at 28 px,
    // not doubled from 14 px.
    int inked = 0, redrawn = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 40; x < 1060; ++x) {
            inked += doubled(x, y) == kBlack;
            redrawn += two.at(x, y) != doubled(x, y);
        }
    EXPECT_GT(inked, 1000);
    EXPECT_GT(redrawn, inked / 4) << "of " << inked << " inked pixels doubled";

    // Flat areas are the same: the background left of the sky and right of
    // the clock, the inside of the Moon's disc (dark three days before new
    // moon).
    struct Box { int x1, y1, x2, y2; uint32_t colour; };
    for (const Box& b : {Box{0, 180, 60, 225, kBackground}, Box{470, 160, 530, 175, kBackground},
                         Box{30, 100, 76, 131, kBlack}})
        for (int y = 2 * b.y1; y < 2 * b.y2; ++y)
            for (int x = 2 * b.x1; x < 2 * b.x2; ++x) {
                ASSERT_EQ(doubled(x, y), b.colour) << x / 2 << "," << y / 2;
                ASSERT_EQ(two.at(x, y), b.colour) << x << "," << y;
            }
}
