// Moon phase panel: the phase angle, the shapes of the four ranges, the
// quarters, and the age text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "ephem/moon.h"
#include "events/newmoon.h"
#include "panels/panels.h"
#include "tests/core/observer.h"

namespace {
constexpr double kRhoPerEarthRadius = 6371012.0 / 1.4959787e11;  // AU

struct Area {
    WSCvdrawingArea area{nullptr, "a"};
    Recorder rec;
    Area() { area.setPainter(&rec); }
};

void ExpectArc(const DrawCall& c, DrawCall::Op op, int x, int y, int w, int h, int start,
               int extent, uint32_t color)
{
    EXPECT_EQ(c.op, op);
    EXPECT_EQ(c.a[0], x);
    EXPECT_EQ(c.a[1], y);
    EXPECT_EQ(c.a[2], w);
    EXPECT_EQ(c.a[3], h);
    EXPECT_EQ(c.a[4], start);
    EXPECT_EQ(c.a[5], extent);
    EXPECT_EQ(c.color, color);
}

void ExpectColor(const DrawCall& c, uint32_t color)
{
    EXPECT_EQ(c.op, DrawCall::Color);
    EXPECT_EQ(c.a[0], static_cast<int>(color));
}

void ExpectOutlineOnly(double P)
{
    Area a;
    DrawMoonPhase(&a.area, P);
    ASSERT_EQ(a.rec.calls.size(), 2u) << "P = " << P;
    ExpectColor(a.rec.calls[0], 0x000000);
    ExpectArc(a.rec.calls[1], DrawCall::Arc, 10, 75, 80, 80, 0, 23040, 0x000000);
}

// Shapes of one range: full disc, left half disc, terminator (21, 75, 56, 80
// at P = 45 + 90 k), outline; colours set only where they change.
void ExpectRange(double P, uint32_t full, uint32_t half, uint32_t term)
{
    SCOPED_TRACE(testing::Message() << "P = " << P);
    Area a;
    DrawMoonPhase(&a.area, P);
    const auto& c = a.rec.calls;
    size_t expected = 3 + 1 + 2 + (half != full) + (term != half);
    ASSERT_EQ(c.size(), expected);
    size_t i = 0;
    ExpectColor(c[i++], full);
    ExpectArc(c[i++], DrawCall::FillArc, 10, 75, 80, 80, 0, 23040, full);
    if (half != full) ExpectColor(c[i++], half);
    ExpectArc(c[i++], DrawCall::FillArc, 10, 75, 80, 80, 5760, 11520, half);
    if (term != half) ExpectColor(c[i++], term);
    ExpectArc(c[i++], DrawCall::FillArc, 21, 75, 56, 80, 0, 23040, term);
    ExpectColor(c[i++], 0x000000);
    ExpectArc(c[i++], DrawCall::Arc, 10, 75, 80, 80, 0, 23040, 0x000000);
}

void SetObserver(double jd_now)
{
    testing_observer::Observer();
    jd = jd0 = jdstart = jd_auto = jd_now;
    scale = 2;
    ss_s = 20;
}

std::string AgeText(const Recorder& rec)
{
    auto t = rec.texts();
    return t.empty() ? std::string() : t.back()->text;
}
}  // namespace

TEST(MoonPhaseAngle, QuadrantsAndParallax)
{
    // with the Moon at the Earth's centre P is the elongation itself
    for (double d : {20.0, 45.0, 135.0, 200.0, 225.0, 315.0})
        EXPECT_NEAR(MoonPhaseAngle(100 + d, 100, 1.0, 0.0), d, 1e-8) << d;  // 2 pi to ten decimals
    // the elongation is taken once into [0, 360]
    EXPECT_NEAR(MoonPhaseAngle(10, 350, 1.0, 0.0), 20.0, 1e-9);
    EXPECT_NEAR(MoonPhaseAngle(361.5, 1.0, 1.0, 0.0), 0.5, 1e-9);
    // at the elongation 90 the angle at the Moon is 90 + atan(rho / R)
    double r = 60.27, Rs = 0.9851;
    double expect = 90 + std::atan(r * kRhoPerEarthRadius / Rs) * 180 / std::numbers::pi;
    EXPECT_NEAR(MoonPhaseAngle(190, 100, Rs, r), expect, 1e-9);
    EXPECT_NEAR(expect, 90.1493, 5e-5);
    // at the elongation 270 the same on the other side
    EXPECT_NEAR(MoonPhaseAngle(10, 100, Rs, r), 360 - expect, 1e-8);
    // always within [0, 360]
    for (double d = 0; d < 360; d += 7.5) {
        double P = MoonPhaseAngle(d, 0, Rs, r);
        EXPECT_GE(P, 0.0);
        EXPECT_LE(P, 360.0);
    }
}

TEST(MoonPhaseShapes, QuartersDrawOnlyTheOutline)
{
    scale = 2;
    for (double P : {0.0, 90.0, 180.0, 270.0, 360.0}) ExpectOutlineOnly(P);
    ExpectOutlineOnly(std::nan(""));  // no range matches
}

TEST(MoonPhaseShapes, FourRangesInOrderAndColour)
{
    scale = 2;
    const uint32_t Y = 0xffff00, K = 0x000000;
    ExpectRange(45, Y, K, K);   // crescent lit on the right
    ExpectRange(135, Y, K, Y);  // gibbous lit on the right
    ExpectRange(225, K, Y, Y);  // gibbous lit on the left
    ExpectRange(315, K, Y, K);  // crescent lit on the left
}

TEST(MoonPhaseShapes, TerminatorBox)
{
    scale = 2;
    // trunc(2 * 40 * cos P) wide at x = trunc(50 + trunc(40 cos P) - 80 cos P)
    struct Case { double P; int x, w; };
    for (Case k : {Case{45, 21, 56}, Case{135, 21, 56}, Case{60, 29, 40} /* cos 60 just above 0.5 */, Case{1, 9, 79},
                   Case{89.9, 49, 0}, Case{269.5, 49, 0}}) {
        Area a;
        DrawMoonPhase(&a.area, k.P);
        const DrawCall* term = nullptr;
        int fills = 0;
        for (const DrawCall& c : a.rec.calls)
            if (c.op == DrawCall::FillArc && ++fills == 3) term = &c;
        ASSERT_NE(term, nullptr) << k.P;
        EXPECT_EQ(term->a[0], k.x) << k.P;
        EXPECT_EQ(term->a[1], 75) << k.P;
        EXPECT_EQ(term->a[2], k.w) << k.P;
        EXPECT_EQ(term->a[3], 80) << k.P;
    }
}

TEST(MoonPanel, DrawsTheDiscThenTheAge)
{
    // 2026-12-06 15:00 local: between last quarter and new moon
    SetObserver(2461380.75);
    Area a;
    DispMoon(&a.area);
    EXPECT_EQ(scale, 2.0);
    const auto& c = a.rec.calls;
    ASSERT_GE(c.size(), 3u);
    // outline, then the age in black in its box
    const DrawCall& outline = c[c.size() - 2];
    ExpectArc(outline, DrawCall::Arc, 10, 75, 80, 80, 0, 23040, 0x000000);
    const DrawCall& text = c.back();
    EXPECT_EQ(text.op, DrawCall::Text);
    EXPECT_EQ(text.a[0], 5);
    EXPECT_EQ(text.a[1], 160);
    EXPECT_EQ(text.a[2], 300);
    EXPECT_EQ(text.a[3], 20);
    EXPECT_EQ(text.color, 0x000000u);
    // from the new moon of 2026-11-09 (about 2461353.790)
    EXPECT_EQ(text.text, std::string("月齢 27.0"));
    // a crescent lit on the left: full disc black, half disc yellow
    ASSERT_EQ(c.size(), 9u);
    EXPECT_EQ(c[1].color, 0x000000u);
    EXPECT_EQ(c[3].color, 0xffff00u);
    EXPECT_EQ(c[5].color, 0x000000u);
}

TEST(MoonPanel, AgeFromTheLatestNewMoon)
{
    SetObserver(2461380.75);
    double nm1 = 0, nm2 = 0;
    FirstdayCal1(2461380.75, &nm1, &nm2);
    ASSERT_GT(nm1, 0.0);
    // the new moon of 2026 November 9 (local), the one before 2461380.75
    double newmoon = nm2 > 0 ? nm2 : nm1;
    EXPECT_NEAR(newmoon, 2461353.790, 0.01);  // 2026-11-09 about 07 h UT

    // 0.3 days after it: padded to four characters
    SetObserver(newmoon + 0.3);
    Area a;
    DispMoon(&a.area);
    EXPECT_EQ(AgeText(a.rec), std::string("月齢  0.3"));

    // a little before it on the same local day: the new moon later today is
    // the second result, and the age runs from the one a month earlier
    double before = newmoon - 0.05;
    SetObserver(before);
    FirstdayCal1(before, &nm1, &nm2);
    SetObserver(before);
    EXPECT_NEAR(nm2, newmoon, 1e-4);
    EXPECT_LT(nm1, before - 25);
    Area b;
    DispMoon(&b.area);
    char want[32];
    std::snprintf(want, sizeof want, "月齢 %4.1f", before - nm1);
    EXPECT_EQ(AgeText(b.rec), std::string(want));
    EXPECT_GT(before - nm1, 25.0);
}

// The same instant (2026-12-06 15:00 at Tokyo, the waning crescent) from
// 35.6 N and 33.9 S: the full disc black and the left half yellow from the
// north (lit on the left), the other way from the south.
TEST(MoonPanel, LitLimbMirroredSouthOfTheEquator)
{
    for (double lat : {35.6, -33.9}) {
        SetObserver(2461380.75);
        latitude = lat;
        Area a;
        DispMoon(&a.area);
        std::vector<uint32_t> fills;
        for (const DrawCall& c : a.rec.calls)
            if (c.op == DrawCall::FillArc) fills.push_back(c.color);
        const std::vector<uint32_t> north = {0x000000, 0xffff00, 0x000000};
        const std::vector<uint32_t> south = {0xffff00, 0x000000, 0x000000};
        EXPECT_EQ(fills, lat > 0 ? north : south);
    }
    EXPECT_EQ(MoonPhaseAsSeen(90, -10), 270.0);  // quarters stay quarters
}
