// The drawing of one window tick: the whole picture painted from the calls
// of the second, beside the kept picture (only the damage against the last
// second painted: FrameDamage, PlanRepaint, PaintPlan), for a tick where
// only the clock's panel changed and for a real next second (the sky's
// grids and stars move a pixel here and there). The computation of the
// second (BM_Koyomi_Pla_Recorder) is the same for both and not counted.
//
// Run: build/bench/tenmado_bench --benchmark_filter=Tick --benchmark_repetitions=9
#ifdef TENMADO_HAVE_CAIRO
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdint>
#include <vector>

#include "app/koyomi.h"
#include "app/settings.h"
#include "panels/panels.h"
#include "shell/cairo/cairo_painter.h"
#include "shell/cairo/frame_damage.h"
#include "timecal/clock.h"
#include "toolkit/picture.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"

namespace {

// The calls of a whole repaint at a civil instant; clock: the calls of the
// clock's panel alone (drawn last, over the rest).
std::vector<DrawCall> Record(int64_t civil, size_t* clock)
{
    Settings_Reset();
    Clock_Fix(civil);
    Recorder rec;
    WSCvdrawingArea area(nullptr, "tick");
    area.setPainter(&rec);
    Koyomi_Pla(&area);
    Recorder dial;
    area.setPainter(&dial);
    DispClock(&area);
    area.setPainter(nullptr);
    Clock_UseSystem();
    *clock = dial.calls.size();
    return rec.calls;
}

struct Frames {
    std::vector<DrawCall> before, next, clock_only;
};

// 2026-12-06 21:13:58 and :59; the clock-only frame is the first second's
// calls with the second's clock panel in place of the first's.
const Frames& TheFrames()
{
    static const Frames f = [] {
        Frames r;
        const int64_t t = Clock_CivilFromFields(2026, 12, 6, 21, 13, 58);
        size_t na = 0, nb = 0;
        r.before = Record(t, &na);
        r.next = Record(t + 1, &nb);
        r.clock_only.assign(r.before.begin(), r.before.end() - static_cast<std::ptrdiff_t>(na));
        r.clock_only.insert(r.clock_only.end(), r.next.end() - static_cast<std::ptrdiff_t>(nb), r.next.end());
        return r;
    }();
    return f;
}

const std::vector<DrawCall>& After(int which)
{
    return which == 0 ? TheFrames().clock_only : TheFrames().next;
}

// The whole picture from the calls of the second.
void BM_Tick_Whole(benchmark::State& s)
{
    const double scale = static_cast<double>(s.range(1));
    cairo_surface_t* image = cairo_image_surface_create(
        CAIRO_FORMAT_RGB24, PixelEdge(kRepaintWidth, scale), PixelEdge(kRepaintHeight, scale));
    CairoPainter painter;
    for (auto _ : s) {
        cairo_t* cr = cairo_create(image);
        painter.begin(cr, scale);
        ReplayCalls(After(static_cast<int>(s.range(0))), &painter);
        painter.end();
        cairo_destroy(cr);
    }
    cairo_surface_destroy(image);
}
BENCHMARK(BM_Tick_Whole)->ArgNames({"next", "scale"})->Args({0, 1})->Args({1, 1})->Args({0, 2})->Args({1, 2})
    ->Unit(benchmark::kMicrosecond);

// The kept picture: the last second's picture in the image, the damage
// found and painted over it.
void BM_Tick_Kept(benchmark::State& s)
{
    const double scale = static_cast<double>(s.range(1));
    const std::vector<DrawCall>& before = TheFrames().before;
    const std::vector<DrawCall>& after = After(static_cast<int>(s.range(0)));
    cairo_surface_t* image = cairo_image_surface_create(
        CAIRO_FORMAT_RGB24, PixelEdge(kRepaintWidth, scale), PixelEdge(kRepaintHeight, scale));
    CairoPainter painter;
    cairo_t* cr = cairo_create(image);
    painter.begin(cr, scale);
    ReplayCalls(before, &painter);
    painter.end();
    cairo_destroy(cr);
    const TextBoxFn box = [&](const DrawCall& c, DeviceRect* r) {
        int b[4];
        if (!painter.textInkBox(c.a[0], c.a[1], c.a[3], c.text.data(), c.text.size(), b)) return false;
        *r = DeviceRect{b[0], b[1], b[2], b[3]};
        return true;
    };
    size_t rects = 0;
    for (auto _ : s) {
        const std::vector<RepaintRect> plan = PlanRepaint(FrameDamage(before, after, scale, box), after, scale, box);
        PaintPlan(image, 0, 0, after, plan, scale, &painter, box);
        rects = plan.size();
    }
    s.counters["rects"] = static_cast<double>(rects);
    cairo_surface_destroy(image);
}
BENCHMARK(BM_Tick_Kept)->ArgNames({"next", "scale"})->Args({0, 1})->Args({1, 1})->Args({0, 2})->Args({1, 2})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
#endif
