// Planet panel: the view projection, the grids and the bodies.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "ephem/bodies.h"
#include "ephem/position.h"
#include "ephem/transforms.h"
#include "panels/narrow.h"
#include "panels/panels.h"
#include "panels/star_chart.h"
#include "panels/view_projection.h"
#include "tests/core/observer.h"
#include "tests/core/repaint_capture.h"

namespace {
constexpr double kJd = 2461380.75;  // 2026-12-06 15:00 local

void SetRepaint(double jd_now, double view_azimuth)
{
    testing_observer::Observer();
    jd = jd0 = jdstart = jd_auto = jd_now;
    X0 = 250;
    Y0 = 230;
    scale = 2;
    ss_s = 20;
    select_d = 4;
    m_input_azmt = view_azimuth;
}

struct Area {
    WSCvdrawingArea area{nullptr, "a"};
    Recorder rec;
    Area() { area.setPainter(&rec); }
};

// The recorded calls between the n-th and the (n+1)-th colour call.
std::vector<DrawCall> Segment(const Recorder& rec, size_t n)
{
    std::vector<DrawCall> out;
    size_t colors = 0;
    for (const DrawCall& c : rec.calls) {
        if (c.op == DrawCall::Color) {
            if (colors++ > n) break;
            continue;
        }
        if (colors == n + 1) out.push_back(c);
    }
    return out;
}

const DrawCall* FindText(const Recorder& rec, const std::string& s) { return rec.findText(s); }

// The disc drawn in a colour, or null.
const DrawCall* FindDisc(const Recorder& rec, uint32_t color)
{
    for (const DrawCall& c : rec.calls)
        if (c.op == DrawCall::FillArc && c.color == color) return &c;
    return nullptr;
}
}  // namespace

TEST(ViewProjection, HorizonAndZenith)
{
    SetRepaint(kJd, 0);
    double px, py;
    // horizon from about x = 70 to 430 at y = 230 (radius divided by 3.14)
    ViewProjectGrid(0, -90, false, &px, &py);
    EXPECT_NEAR(px, 70, 0.5);
    EXPECT_NEAR(py, 230, 0.5);
    ViewProjectGrid(0, 90, false, &px, &py);
    EXPECT_NEAR(px, 430, 0.5);
    EXPECT_NEAR(py, 230, 0.5);
    ViewProjectGrid(0, 0, false, &px, &py);
    EXPECT_NEAR(px, 250, 0.5);
    EXPECT_NEAR(py, 230, 0.5);
    // 90 * 2 * pi / 3.14 = 180.09 pixels: x 69.91 and 430.09
    ViewProjectGrid(0, -90, false, &px, &py);
    EXPECT_NEAR(px, 69.909, 5e-4);
    // the zenith at about (250, 50), whatever the azimuth offset
    for (double d : {-90.0, -40.0, 0.0, 30.0, 90.0}) {
        ViewProjectGrid(90, d, false, &px, &py);
        EXPECT_NEAR(px, 250, 0.5) << d;
        EXPECT_NEAR(py, 50, 0.5) << d;
        EXPECT_NEAR(py, 49.909, 5e-4) << d;
    }
    ViewProjectBody(90, 0, &px, &py);
    EXPECT_NEAR(px, 250, 0.5);
    EXPECT_NEAR(py, 50, 0.5);
    // east of the view on the left, west on the right, 1 degree = scale px
    ViewProjectBody(0, 10, &px, &py);
    EXPECT_NEAR(px, 250 + 20 * 3.14159265 / 3.14, 1e-3);
    ViewProjectBody(0, 350, &px, &py);
    EXPECT_NEAR(px, 250 - 20 * 3.14159265 / 3.14, 1e-3);
    // altitude 30 straight ahead: 60 px (and a little) above the centre
    ViewProjectBody(30, 0, &px, &py);
    EXPECT_NEAR(px, 250, 1e-3);
    EXPECT_NEAR(py, 230 - 60 * 3.14159265 / 3.14, 1e-3);
    // below the horizon: below the centre, same side
    ViewProjectBody(-20, 20, &px, &py);
    EXPECT_GT(py, 230);
    EXPECT_GT(px, 250);
    ViewProjectGrid(-20, 20, false, &px, &py);
    EXPECT_GT(py, 230);
    EXPECT_GT(px, 250);
}

TEST(ViewProjection, CentreOfTheViewIsFinite)
{
    // at the very centre the body variant meets 0/0; it gives the centre
    SetRepaint(kJd, 0);
    double px, py;
    ViewProjectBody(0, 0, &px, &py);
    EXPECT_NEAR(px, 250, 1e-9);
    EXPECT_NEAR(py, 230, 1e-9);
    ViewProjectBody(0, 360, &px, &py);
    EXPECT_TRUE(std::isfinite(px) && std::isfinite(py));
    ViewProjectGrid(0, 0, true, &px, &py);
    EXPECT_TRUE(std::isfinite(px) && std::isfinite(py));
}

TEST(ViewProjection, OffsetAndFrontHalf)
{
    EXPECT_DOUBLE_EQ(ViewOffset(-30, 0), 330);
    EXPECT_DOUBLE_EQ(ViewOffset(170, -100), 270);
    EXPECT_DOUBLE_EQ(ViewOffset(10, 20), 350);
    EXPECT_DOUBLE_EQ(ViewOffset(180, 0), 180);
    EXPECT_TRUE(InFrontHalf(90));
    EXPECT_TRUE(InFrontHalf(270));
    EXPECT_TRUE(InFrontHalf(0));
    EXPECT_TRUE(InFrontHalf(360));
    EXPECT_FALSE(InFrontHalf(90.001));
    EXPECT_FALSE(InFrontHalf(269.999));
}

TEST(Narrowing, ClampsInsteadOfWrapping)
{
    EXPECT_EQ(NarrowShort(229.9998), 229);
    EXPECT_EQ(NarrowShort(-3.7), -3);
    EXPECT_EQ(NarrowShort(40000.0), 32767);
    EXPECT_EQ(NarrowShort(-1e12), -32768);
    EXPECT_EQ(NarrowShort(std::nan("")), -32768);
    EXPECT_EQ(NarrowUShort(16.9), 16);
    EXPECT_EQ(NarrowUShort(-2.0), 0);
    EXPECT_EQ(NarrowUShort(70000.0), 65535);
    EXPECT_EQ(NarrowLong(-12.9), -12);
    EXPECT_EQ(NarrowLong(1e300), 2147483647L);
}

TEST(PlanetPanel, AltitudeAzimuthGrid)
{
    SetRepaint(kJd, 0);
    Area a;
    Disp4(&a.area);
    const auto& c = a.rec.calls;
    ASSERT_GE(c.size(), 2u + 2 * 19 * 19);
    EXPECT_EQ(c[0].op, DrawCall::Color);
    EXPECT_EQ(c[0].a[0], 0x000000);
    EXPECT_EQ(c[1].op, DrawCall::LineWidth);
    EXPECT_EQ(c[1].a[0], 1);
    // 19 altitude lines then 19 azimuth lines of 19 points, black, width 1
    std::vector<DrawCall> grid = Segment(a.rec, 0);
    ASSERT_EQ(grid.size(), 1u + 2 * 19 * 19);
    for (size_t i = 1; i < grid.size(); ++i) {
        const DrawCall& l = grid[i];
        ASSERT_EQ(l.op, DrawCall::Line);
        EXPECT_EQ(l.color, 0u);
        EXPECT_EQ(l.width, 1);
        size_t k = (i - 1) % 19;
        if (k == 0) {  // the first point of a line joined to itself
            EXPECT_EQ(l.a[0], l.a[2]);
            EXPECT_EQ(l.a[1], l.a[3]);
        } else {       // later points joined to the previous one
            EXPECT_EQ(l.a[0], grid[i - 1].a[2]);
            EXPECT_EQ(l.a[1], grid[i - 1].a[3]);
        }
    }
    // the horizon (altitude line 10, el = 0) runs at y 230 from x 69 to 430
    // (229 at the centre point, 229.9998 truncated)
    const DrawCall* horizon = &grid[1 + 9 * 19];
    EXPECT_EQ(horizon[0].a[2], 69);
    EXPECT_EQ(horizon[18].a[2], 430);
    for (int k = 0; k < 19; ++k) {
        EXPECT_GE(horizon[k].a[3], 229);
        EXPECT_LE(horizon[k].a[3], 230);
    }
    // the line el = 90 collapses to the zenith (250, 49)
    const DrawCall* top = &grid[1 + 18 * 19];
    for (int k = 0; k < 19; ++k) {
        EXPECT_EQ(top[k].a[2], 250);
        EXPECT_EQ(top[k].a[3], 49);
    }
}

TEST(PlanetPanel, EquatorialCirclesBreakOutsideTheFrontHalf)
{
    SetRepaint(kJd, 0);
    Area a;
    Disp4(&a.area);
    // colour calls: 1 black, 1 for the grid, 37 hour circles, 19 declination
    // circles, then one per body
    size_t colors = 0;
    for (const DrawCall& c : a.rec.calls) colors += c.op == DrawCall::Color;
    EXPECT_EQ(colors, 1u + 1 + 37 + 19 + 7);
    EXPECT_TRUE(Segment(a.rec, 1).empty());  // nothing between the grid's colour and the first circle's

    // the celestial equator (declination circle 10): at this instant the
    // front half holds right ascensions 0 to about 35 and from about 215 to
    // 360, two runs that must not be joined across the back half
    std::vector<bool> front;
    for (int ra = 0; ra <= 360; ++ra) {
        double az, el;
        Az_El(kJd, ra, 0, 35.6, 139.7, &az, &el);
        front.push_back(InFrontHalf(ViewOffset(az, 0)));
    }
    size_t pairs = 0, runs = 0;
    for (size_t k = 0; k < front.size(); ++k) {
        if (front[k] && (k == 0 || !front[k - 1])) ++runs;
        if (k > 0 && front[k] && front[k - 1]) ++pairs;
    }
    ASSERT_EQ(runs, 2u);
    ASSERT_TRUE(front.front() && front.back() && !front[180]);
    std::vector<DrawCall> equator = Segment(a.rec, 2 + 37 + 9);
    EXPECT_EQ(equator.size(), pairs);
    for (const DrawCall& l : equator) {
        EXPECT_EQ(l.op, DrawCall::Line);
        EXPECT_EQ(l.color, 0x0000ffu);
        // neighbouring samples are a few pixels apart; a join across the
        // gap would span the picture
        EXPECT_LT(std::abs(l.a[0] - l.a[2]) + std::abs(l.a[1] - l.a[3]), 12);
    }
    // no blue line anywhere is long
    for (size_t n = 2; n < 2 + 37 + 19; ++n)
        for (const DrawCall& l : Segment(a.rec, n))
            EXPECT_LT(std::abs(l.a[0] - l.a[2]) + std::abs(l.a[1] - l.a[3]), 40) << "circle " << n;
}

TEST(PlanetPanel, BodiesLabelsAndDiscs)
{
    // look straight at the Moon
    SetRepaint(kJd, 0);
    double az, el;
    const tagPosition* moon = PanelBody(0, kJd, &az, &el);
    ASSERT_EQ(moon, &Moon);
    SetRepaint(kJd, az);
    Area a;
    Disp4(&a.area);
    EXPECT_EQ(select_p, 7);
    EXPECT_EQ(SS, 0.5);
    EXPECT_EQ(ss_s, 8.0);
    // "%3s " pads the two-byte name with one space
    const DrawCall* label = FindText(a.rec, std::string(" ") + "月" + " ");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text.size(), 4u);
    EXPECT_EQ(label->color, 0xffff00u);
    const DrawCall* disc = FindDisc(a.rec, 0xffff00);
    ASSERT_NE(disc, nullptr);
    // label first, then the disc; D = 16, the disc at (px - 16, py), the
    // label at (px - 8 + 10, py + 8 - 20)
    EXPECT_LT(label, disc);
    EXPECT_EQ(disc->a[2], 16);
    EXPECT_EQ(disc->a[3], 16);
    EXPECT_EQ(disc->a[4], 0);
    EXPECT_EQ(disc->a[5], 23040);
    double px, py;
    ViewProjectBody(el, ViewOffset(az, az), &px, &py);
    EXPECT_EQ(disc->a[0], (int)(px - 16));
    EXPECT_EQ(disc->a[1], (int)py);
    EXPECT_EQ(label->a[0], (int)(px - 8 + 10));
    EXPECT_EQ(label->a[1], (int)(py + 8 - 20));
    EXPECT_EQ(label->a[2], 300);
    EXPECT_EQ(label->a[3], 30);
}

TEST(PlanetPanel, BodyBehindTheViewerIsSkipped)
{
    SetRepaint(kJd, 0);
    double az, el;
    ASSERT_EQ(PanelBody(3, kJd, &az, &el), &Sun);
    // the Sun straight ahead: label "太陽 " and a red disc
    SetRepaint(kJd, az);
    Area ahead;
    Disp4(&ahead.area);
    EXPECT_NE(FindText(ahead.rec, "太陽 "), nullptr);
    EXPECT_NE(FindDisc(ahead.rec, 0xff0000), nullptr);
    // the Sun 180 and 91 degrees away: no label, no disc, but the colour is
    // still set and the loop runs on to 7
    for (double away : {180.0, 91.0, -91.0}) {
        SetRepaint(kJd, az + away);
        Area behind;
        Disp4(&behind.area);
        EXPECT_EQ(FindText(behind.rec, "太陽 "), nullptr) << away;
        EXPECT_EQ(FindDisc(behind.rec, 0xff0000), nullptr) << away;
        EXPECT_EQ(select_p, 7);
        size_t reds = 0;
        for (const DrawCall& c : behind.rec.calls)
            reds += c.op == DrawCall::Color && c.a[0] == 0xff0000;
        EXPECT_EQ(reds, 1u) << away;
    }
}

TEST(PlanetPanel, BodyBelowTheHorizonIsDrawnBelowIt)
{
    // local midnight: the Sun far below the horizon; look toward it
    double night = kJd - 15.0 / 24;
    SetRepaint(night, 0);
    double az, el;
    PanelBody(3, night, &az, &el);
    ASSERT_LT(el, -20);
    SetRepaint(night, az);
    Area a;
    Disp4(&a.area);
    const DrawCall* disc = FindDisc(a.rec, 0xff0000);
    ASSERT_NE(disc, nullptr);
    EXPECT_GT(disc->a[1], 230);  // the disc's top is py, below y0
    // the last body's colour (Saturn, black) and width 1 are left in force
    EXPECT_EQ(a.rec.calls.back().color, 0x000000u);
    EXPECT_EQ(a.rec.calls.back().width, 1);
}

// The equatorial grid's samples and the figure stars kept from an earlier
// second are those computed anew: second after second for five minutes
// (each is kept for some seconds and computed again many times), and across
// jumps of the clock, at three places and views (one inside the Arctic
// circle looking south-east, where the pole's circles stand high), every
// repaint's calls are those of the repaints with nothing kept.
TEST(PlanetPanel, KeptGridSamplesAndStarsAreTheComputedOnes)
{
    struct View {
        double lat, lon, azmt;
    };
    const View kViews[] = {{35.7, 139.7, 0}, {71.0, 25.8, 150}, {-33.9, 151.2, -90}};
    const int64_t start = Clock_CivilFromFields(2026, 12, 7, 21, 59, 30);
    std::vector<int64_t> seconds;
    for (int s = 0; s < 300; ++s) seconds.push_back(start + s);
    for (int64_t jump : {3600, -7, 86400, 1, 2, 40}) seconds.push_back(seconds.back() + jump);
    for (const View& v : kViews) {
        std::vector<size_t> repaints[2];  // a hash of each repaint's calls, one line each
        for (int keep = 0; keep <= 1; ++keep) {
            Disp4_KeepGrid(keep == 1);
            StarChart_KeepPlaces(keep == 1);
            for (int64_t civil : seconds) {
                repaint_capture::ResetToStart();
                m_input_lat = v.lat;
                m_input_lon = v.lon;
                m_input_azmt = v.azmt;
                testing_clock::FixedClock clock(civil);
                Recorder rec;
                WSCvdrawingArea area(nullptr, "kept grid");
                area.setPainter(&rec);
                Koyomi_Pla(&area);
                std::string all;
                for (const DrawCall& c : rec.calls) all += repaint_capture::FormatCall(c) + "\n";
                repaints[keep].push_back(std::hash<std::string>{}(all));
            }
        }
        for (size_t i = 0; i < seconds.size(); ++i)
            ASSERT_EQ(repaints[0][i], repaints[1][i]) << "lat " << v.lat << ", repaint " << i;
    }
    Disp4_KeepGrid(true);
    StarChart_KeepPlaces(true);
}
