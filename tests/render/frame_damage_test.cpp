// The kept picture: the picture of one second with only the damage of the
// next repainted is, pixel for pixel, the whole repaint of the next, at
// scale 1 and 2, over a minute, an hour and a day's boundary and a turned
// view; and a second's damage is small.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "app/koyomi.h"
#include "shell/cairo/cairo_painter.h"
#include "shell/cairo/frame_damage.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/repaint_capture.h"
#include "timecal/observer.h"
#include "toolkit/picture.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"

namespace {

// The calls of a whole repaint at a civil instant (the state at start, the
// view turned by turn degrees).
std::vector<DrawCall> Record(int64_t civil, double turn = 0)
{
    repaint_capture::ResetToStart();
    m_input_azmt += turn;
    testing_clock::FixedClock clock(civil);
    Recorder rec;
    WSCvdrawingArea area(nullptr, "kept");
    area.setPainter(&rec);
    Koyomi_Pla(&area);
    return rec.calls;
}

struct Frame {
    cairo_surface_t* s;
    explicit Frame(double scale)
        : s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, PixelEdge(kRepaintWidth, scale),
                                       PixelEdge(kRepaintHeight, scale)))
    {
    }
    ~Frame() { cairo_surface_destroy(s); }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    // the calls replayed, clipped to a device rectangle (all of it when null)
    void paint(CairoPainter& p, const std::vector<DrawCall>& calls, double scale, const DeviceRect* r = nullptr)
    {
        cairo_t* cr = cairo_create(s);
        if (r) {
            cairo_rectangle(cr, r->x1, r->y1, r->x2 - r->x1, r->y2 - r->y1);
            cairo_clip(cr);
        }
        p.begin(cr, scale);
        ReplayCalls(calls, &p);
        p.end();
        cairo_destroy(cr);
    }
    long differing(const Frame& o) const
    {
        cairo_surface_flush(s);
        cairo_surface_flush(o.s);
        const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        long n = 0;
        for (int y = 0; y < h; ++y) {
            const auto* a = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) + y * stride);
            const auto* b = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(o.s) + y * stride);
            for (int x = 0; x < w; ++x) n += (a[x] & 0xffffff) != (b[x] & 0xffffff);
        }
        return n;
    }
};

// Paints before whole, then only after's damage over it, and compares with
// after painted whole; returns the damaged share of the picture.
double KeptMatchesWhole(const std::vector<DrawCall>& before, const std::vector<DrawCall>& after,
                        double scale, const char* what)
{
    CairoPainter painter;
    Frame kept(scale), whole(scale);
    kept.paint(painter, before, scale);
    whole.paint(painter, after, scale);
    const TextBoxFn box = [&](const DrawCall& c, DeviceRect* r) {
        int b[4];
        if (!painter.textInkBox(c.a[0], c.a[1], c.a[3], c.text.data(), c.text.size(), b)) return false;
        *r = DeviceRect{b[0], b[1], b[2], b[3]};
        return true;
    };
    long area = 0;
    const std::vector<RepaintRect> plan = PlanRepaint(FrameDamage(before, after, scale, box), after, scale, box);
    for (const RepaintRect& r : plan) area += r.copy.area();
    PaintPlan(kept.s, 0, 0, after, plan, scale, &painter, box);
    EXPECT_EQ(kept.differing(whole), 0) << what << " at scale " << scale;
    return static_cast<double>(area) / (PixelEdge(kRepaintWidth, scale) * PixelEdge(kRepaintHeight, scale));
}

}  // namespace

TEST(KeptPicture, DamageRepaintedEqualsWholeRepaint)
{
    struct Step { int64_t from, to; double turn; const char* what; bool small; };
    const int64_t minute = Clock_CivilFromFields(2026, 12, 6, 21, 13, 59);
    const int64_t hour = Clock_CivilFromFields(2027, 3, 21, 5, 59, 59);
    const int64_t midnight = Clock_CivilFromFields(2027, 6, 21, 23, 59, 59);
    const Step steps[] = {
        {minute, minute + 1, 0, "a minute's boundary", true},
        {hour, hour + 1, 0, "an hour's boundary", false},
        {midnight, midnight + 1, 0, "midnight", false},
        {minute + 1, minute + 2, 0, "a second within a minute", true},
        {minute, minute, 15, "the view turned", false},
        {minute, hour, 0, "time travel", false},
    };
    for (double scale : {1.0, 2.0}) {
        for (const Step& s : steps) {
            const double share = KeptMatchesWhole(Record(s.from), Record(s.to, s.turn), scale, s.what);
            // the clock's hands, the time texts and the Julian day, and a
            // pixel of a star here and there: far from the whole picture
            if (s.small) {
                EXPECT_LT(share, 0.35) << s.what << " at scale " << scale;
            }
        }
    }
    // nothing changed: no damage
    const std::vector<DrawCall> same = Record(minute);
    EXPECT_TRUE(FrameDamage(same, same, 1.0, nullptr).empty());
}

TEST(KeptPicture, MergedRectanglesCoverEveryInputPixel)
{
    std::vector<DeviceRect> in;
    for (int i = 0; i < 40; ++i)
        in.push_back({(i * 37) % 500, (i * 53) % 280, (i * 37) % 500 + 3 + i % 7, (i * 53) % 280 + 2 + i % 5});
    for (size_t most : {size_t{1}, size_t{5}, size_t{64}}) {
        const std::vector<DeviceRect> out = MergeRects(in, 256, most);
        EXPECT_LE(out.size(), most);
        for (const DeviceRect& r : in) {
            for (int y = r.y1; y < r.y2; ++y)
                for (int x = r.x1; x < r.x2; ++x) {
                    bool covered = false;
                    for (const DeviceRect& o : out) covered |= x >= o.x1 && x < o.x2 && y >= o.y1 && y < o.y2;
                    ASSERT_TRUE(covered) << x << "," << y << " most " << most;
                }
        }
    }
}

TEST(KeptPicture, KeptLayoutsDrawAsFreshOnesAcrossScales)
{
    // one painter kept across repaints at scale 1, 2 and 1 again (its text
    // layouts kept, dropped when the font's size changes) against a fresh
    // painter for each
    const std::vector<DrawCall> calls = Record(Clock_CivilFromFields(2026, 12, 6, 21, 13, 59));
    CairoPainter kept;
    for (double scale : {1.0, 2.0, 1.0, 2.0}) {
        CairoPainter fresh;
        Frame a(scale), b(scale);
        a.paint(kept, calls, scale);
        b.paint(fresh, calls, scale);
        EXPECT_EQ(a.differing(b), 0) << "scale " << scale;
    }
}
