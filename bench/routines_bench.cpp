// Speed of the routines every repaint runs, and of one whole repaint.
//
// Run (Release or RelWithDebInfo build, nothing else busy):
//   build/bench/tenmado_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// The figures and the machine are kept in docs/PERFORMANCE.md.
//
// Every benchmark starts from the state a repaint starts from: the settings
// reset and the clock fixed at 2026-12-06 15:00:00 civil time (JD 2461380.75),
// the reading the tests use. The routines recompute in every iteration. A
// whole repaint keeps the searches of the day (rise, set, tides, new moons)
// from one repaint to the next, as the window does within a date: the
// repaint benchmarks measure that tick, and BM_Koyomi_Pla_NewDate the first
// repaint of a date, which runs them all.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>

#include "app/koyomi.h"
#include "app/readouts.h"
#include "app/settings.h"
#include "toolkit/picture.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "ephem/moon.h"
#include "ephem/planet.h"
#include "ephem/position.h"
#include "ephem/sun.h"
#include "events/day_kept.h"
#include "events/newmoon.h"
#include "events/riseset.h"
#include "events/tide.h"
#include "panels/panels.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

#ifdef TENMADO_HAVE_CAIRO
#include <cairo.h>

#include "shell/cairo/cairo_painter.h"
#endif

namespace {

// The fixed reading: 2026-12-06 15:00:00 at the observer (06:00 UT).
constexpr int kYear = 2026, kMonth = 12, kDay = 6, kHour = 15;
constexpr double kJ = 2461380.75;
constexpr int kSunCode = 0, kMoonCode = 3;  // body codes of the rise/set search


// The state at the start of a repaint at the fixed reading: settings reset,
// clock fixed, and the per-repaint globals set as the main panel sets them.
void Observer(int64_t seconds = 0)
{
    Settings_Reset();
    Clock_Fix(Clock_CivilFromFields(kYear, kMonth, kDay, kHour, 0, 0) + seconds);
    Koyomi_Reset(RepaintInstant_At(Clock_Now()));
}

// The panels and the repaints run second after second from the fixed
// reading, as in the running window: what a repaint keeps from the last
// one (the sky's grid samples, the painter's shapes and texts) is kept as
// it is there, not more.
void NextSecond(int64_t* tick)
{
    Clock_Fix(Clock_CivilFromFields(kYear, kMonth, kDay, kHour, 0, 0) + ++*tick);
}

// A painter that does nothing: the cost of the computation and of the
// drawing area's calls alone, without the recorder's log.
class NullPainter final : public Painter {
public:
    void setColor(uint32_t) override {}
    void setLineWidth(int) override {}
    void fillRect(int, int, int, int) override {}
    void line(int, int, int, int) override {}
    void arc(int, int, int, int, int, int, bool) override {}
    void text(int, int, int, int, const char*, size_t) override {}
};

// ---- time and positions

void BM_JD(benchmark::State& s)
{
    double h = kHour;
    for (auto _ : s) {
        benchmark::DoNotOptimize(JD(kYear, kMonth, kDay, h, 0, 139.7));
        h += 1e-9;  // a new argument each time, nothing to hoist
    }
}
BENCHMARK(BM_JD);

void BM_Sun_Position(benchmark::State& s)
{
    Observer();
    tagPosition p{};
    for (auto _ : s) {
        Sun_Position(kJ, &p);
        benchmark::DoNotOptimize(p.lam);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Sun_Position);

// Arg 0: geocentric stage only; 1: with the topocentric stage.
void BM_Moon_Position(benchmark::State& s)
{
    Observer();
    tagPosition p{};
    const int topo = static_cast<int>(s.range(0));
    for (auto _ : s) {
        Moon_Position(kJ, &p, topo, latitude0, longitude0);
        benchmark::DoNotOptimize(p.lam);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Moon_Position)->ArgName("topo")->Arg(0)->Arg(1);

void BM_Planet_Position_Jupiter(benchmark::State& s)
{
    Observer();
    tagPosition p{};
    for (auto _ : s) {
        Planet_Position(kJupiter, kJ, &p);
        benchmark::DoNotOptimize(p.ra);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Planet_Position_Jupiter);

// ---- event searches

// Arg: body code, 0 the Sun, 3 the Moon.
void BM_Cal_Rise_Time(benchmark::State& s)
{
    Observer();
    const int body = static_cast<int>(s.range(0));
    for (auto _ : s) benchmark::DoNotOptimize(Cal_Rise_Time(jd, body));
}
BENCHMARK(BM_Cal_Rise_Time)->ArgName("body")->Arg(kSunCode)->Arg(kMoonCode);

void BM_Tide_Cal(benchmark::State& s)
{
    Observer();
    for (auto _ : s) {
        Tide_Cal(jd);
        benchmark::DoNotOptimize(Tide[4]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Tide_Cal);

void BM_FirstdayCal1(benchmark::State& s)
{
    Observer();
    double a = 0, b = 0;
    for (auto _ : s) {
        FirstdayCal1(jd, &a, &b);
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_FirstdayCal1);

// ---- panels into the recorder

void BM_Disp4(benchmark::State& s)
{
    WSCvdrawingArea area(nullptr, "bench");
    Recorder rec;
    area.setPainter(&rec);
    size_t calls = 0;
    int64_t tick = 0;
    for (auto _ : s) {
        Observer(++tick);
        rec.clear();
        Disp4(&area);
        calls = rec.calls.size();
    }
    s.counters["calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_Disp4)->Unit(benchmark::kMicrosecond);

// The same with every grid sample computed anew each second.
void BM_Disp4_EveryAnew(benchmark::State& s)
{
    Disp4_KeepGrid(false);
    BM_Disp4(s);
    Disp4_KeepGrid(true);
}
BENCHMARK(BM_Disp4_EveryAnew)->Unit(benchmark::kMicrosecond);

// The star chart over the state the planet panel leaves (SS, ss_s,
// select_p); that state is set once per iteration by running Disp4 outside
// the timing.
void BM_DispStar(benchmark::State& s)
{
    WSCvdrawingArea area(nullptr, "bench");
    Recorder rec;
    area.setPainter(&rec);
    NullPainter none;
    size_t calls = 0;
    for (auto _ : s) {
        s.PauseTiming();
        Observer();
        area.setPainter(&none);
        Disp4(&area);
        area.setPainter(&rec);
        rec.clear();
        s.ResumeTiming();
        DispStar(&area);
        calls = rec.calls.size();
    }
    s.counters["calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_DispStar)->Unit(benchmark::kMicrosecond);

// ---- one whole repaint

// Into the recorder: the computation and the drawing calls, logged.
void BM_Koyomi_Pla_Recorder(benchmark::State& s)
{
    Observer();
    WSCvdrawingArea area(nullptr, "bench");
    Recorder rec;
    area.setPainter(&rec);
    size_t calls = 0;
    int64_t tick = 0;
    for (auto _ : s) {
        NextSecond(&tick);
        rec.clear();
        Koyomi_Pla(&area);
        calls = rec.calls.size();
    }
    s.counters["calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_Koyomi_Pla_Recorder)->Unit(benchmark::kMillisecond);

// The first repaint of a date (or place): the searches of the day run.
void BM_Koyomi_Pla_NewDate(benchmark::State& s)
{
    Observer();
    WSCvdrawingArea area(nullptr, "bench");
    NullPainter none;
    area.setPainter(&none);
    for (auto _ : s) {
        KeptSearches_Forget();
        Koyomi_Pla(&area);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Koyomi_Pla_NewDate)->Unit(benchmark::kMillisecond);

// Into a painter that does nothing: the computation alone.
void BM_Koyomi_Pla_Null(benchmark::State& s)
{
    Observer();
    WSCvdrawingArea area(nullptr, "bench");
    NullPainter none;
    area.setPainter(&none);
    int64_t tick = 0;
    for (auto _ : s) {
        NextSecond(&tick);
        Koyomi_Pla(&area);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Koyomi_Pla_Null)->Unit(benchmark::kMillisecond);

#ifdef TENMADO_HAVE_CAIRO
// Into the Cairo painter on a 530 x 300 image surface, as the window paints:
// one painter for the life of the program, attached to the context for each
// repaint. Arg batch 1: lines batched into shared strokes (the painter as
// shipped); 0: one stroke per line (the painter before batching), in the
// same run for the ratio.
void BM_Koyomi_Pla_Cairo(benchmark::State& s)
{
    Observer();
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kRepaintWidth, kRepaintHeight);
    cairo_t* cr = cairo_create(surface);
    WSCvdrawingArea area(nullptr, "bench");
    CairoPainter painter;
    painter.setBatching(s.range(0) != 0);
    area.setPainter(&painter);
    int64_t tick = 0;
    for (auto _ : s) {
        NextSecond(&tick);
        painter.begin(cr);
        Koyomi_Pla(&area);
        painter.flush();
        painter.end();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_Koyomi_Pla_Cairo)->ArgName("batch")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The same at a scale (arg: percent), into an image of the picture's size at
// that scale, as a HiDPI or enlarged window paints: 100 in the same run for
// the ratio.
void BM_Koyomi_Pla_Cairo_Scale(benchmark::State& s)
{
    Observer();
    const double scale = static_cast<double>(s.range(0)) / 100.0;
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, PixelEdge(kRepaintWidth, scale), PixelEdge(kRepaintHeight, scale));
    cairo_t* cr = cairo_create(surface);
    WSCvdrawingArea area(nullptr, "bench");
    CairoPainter painter;
    area.setPainter(&painter);
    int64_t tick = 0;
    for (auto _ : s) {
        NextSecond(&tick);
        painter.begin(cr, scale);
        Koyomi_Pla(&area);
        painter.flush();
        painter.end();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_Koyomi_Pla_Cairo_Scale)->ArgName("percent")->Arg(100)->Arg(150)->Arg(200)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
