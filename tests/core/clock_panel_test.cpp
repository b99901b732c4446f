// Analog clock panel: hand tips with pi = 3.14159 and truncation, and the
// recorded drawing of one clock.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "panels/panels.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"

namespace {
struct Tip { int x, y; };
Tip HourTip(double h, double m) { return {(int)CalcHourX(h, m), (int)CalcHourY(h, m)}; }
Tip MinTip(double m, double s) { return {(int)CalcMinX(m, s), (int)CalcMinY(m, s)}; }
Tip SecTip(double s) { return {(int)CalcSecX(s), (int)CalcSecY(s)}; }

#define EXPECT_TIP(tip, X, Y)      \
    do {                           \
        Tip t_ = (tip);            \
        EXPECT_EQ(t_.x, X);        \
        EXPECT_EQ(t_.y, Y);        \
    } while (0)

void ExpectCall(const DrawCall& c, DrawCall::Op op, std::initializer_list<int> args)
{
    EXPECT_EQ(c.op, op);
    int i = 0;
    for (int v : args) EXPECT_EQ(c.a[i++], v) << "argument " << i - 1;
}
}  // namespace

// Tips are exact integers after truncation: no tolerance.
TEST(ClockHands, TipsOfTheEdgeCases)
{
    Settings_Reset();
    EXPECT_TIP(HourTip(3, 0), 480, 115);
    EXPECT_TIP(HourTip(9, 0), 440, 115);
    EXPECT_TIP(HourTip(12, 0), 460, 95);
    EXPECT_TIP(HourTip(0, 0), 460, 95);
    EXPECT_TIP(MinTip(0, 0), 460, 90);
    EXPECT_TIP(SecTip(0), 460, 83);
    // just below 135 with pi = 3.14159
    EXPECT_TIP(HourTip(6, 0), 460, 134);
    EXPECT_LT(CalcHourY(6, 0), 135.0);
    EXPECT_GT(CalcHourY(6, 0), 134.99);
    EXPECT_TIP(SecTip(15), 492, 115);
    EXPECT_TIP(SecTip(30), 460, 146);
    EXPECT_TIP(SecTip(45), 428, 115);
    EXPECT_TIP(HourTip(15, 30), 479, 120);
    EXPECT_TIP(MinTip(30, 0), 460, 139);
}

TEST(ClockHands, AnglesUsePiOfFiveDecimals)
{
    Settings_Reset();
    // hours are taken modulo 12 on the integer hour; minutes move the hour hand
    EXPECT_EQ(HourToRadian(15, 30), HourToRadian(3, 30));
    EXPECT_EQ(HourToRadian(15.9, 30), HourToRadian(15, 30));
    EXPECT_NEAR(HourToRadian(15, 30), -15 * 3.14159 / 180, 1e-15);
    EXPECT_NEAR(MinToRadian(0, 0), 1.570795, 5e-7);  // 90 degrees with pi = 3.14159
    EXPECT_NEAR(MinToRadian(7, 30), 45 * 3.14159 / 180, 1e-15);
}

TEST(ClockPanel, RecordedCallsAt153000)
{
    Settings_Reset();
    WSCvdrawingArea area(nullptr, "a");
    Recorder rec;
    area.setPainter(&rec);
    {
        testing_clock::FixedClock clock(2026, 12, 6, 15, 30, 0);
        DispClock(&area);
    }

    const auto& c = rec.calls;
    ASSERT_EQ(c.size(), 23u);
    using O = DrawCall;
    // dial and rim
    ExpectCall(c[0], O::Color, {0xffff00});
    ExpectCall(c[1], O::LineWidth, {3});
    ExpectCall(c[2], O::FillArc, {420, 75, 80, 80, 0, 23040});
    ExpectCall(c[3], O::Color, {0x000000});
    ExpectCall(c[4], O::Arc, {420, 75, 80, 80, 0, 23040});
    EXPECT_EQ(c[4].width, 3);
    // hour hand (479, 120): shadow 2 px right and down, then the hand
    ExpectCall(c[5], O::Color, {0x000000});
    ExpectCall(c[6], O::LineWidth, {6});
    ExpectCall(c[7], O::Line, {462, 117, 481, 122});
    ExpectCall(c[8], O::Color, {0xff0000});
    ExpectCall(c[9], O::LineWidth, {6});
    ExpectCall(c[10], O::Line, {460, 115, 479, 120});
    // minute hand (460, 139)
    ExpectCall(c[11], O::Color, {0x000000});
    ExpectCall(c[12], O::LineWidth, {4});
    ExpectCall(c[13], O::Line, {462, 117, 462, 141});
    ExpectCall(c[14], O::Color, {0x00ff00});
    ExpectCall(c[15], O::LineWidth, {4});
    ExpectCall(c[16], O::Line, {460, 115, 460, 139});
    // second hand (460, 83)
    ExpectCall(c[17], O::Color, {0x000000});
    ExpectCall(c[18], O::LineWidth, {2});
    ExpectCall(c[19], O::Line, {462, 117, 462, 85});
    ExpectCall(c[20], O::Color, {0x0000ff});
    ExpectCall(c[21], O::LineWidth, {2});
    ExpectCall(c[22], O::Line, {460, 115, 460, 83});
    // colour and width left in force
    EXPECT_EQ(c[22].color, 0x0000ffu);
    EXPECT_EQ(c[22].width, 2);
    // shadows black, hands in their colours
    EXPECT_EQ(c[7].color, 0u);
    EXPECT_EQ(c[10].color, 0xff0000u);
    EXPECT_EQ(c[16].color, 0x00ff00u);
}

TEST(ClockPanel, ReadsTheClockSource)
{
    Settings_Reset();
    WSCvdrawingArea area(nullptr, "a");
    Recorder rec;
    area.setPainter(&rec);
    // 06:00:45: hour tip (460, 134), second tip (428, 115)
    {
        testing_clock::FixedClock clock(2026, 12, 6, 6, 0, 45);
        DispClock(&area);
    }
    ASSERT_EQ(rec.calls.size(), 23u);
    ExpectCall(rec.calls[10], DrawCall::Line, {460, 115, 460, 134});
    ExpectCall(rec.calls[7], DrawCall::Line, {462, 117, 462, 136});
    ExpectCall(rec.calls[16], DrawCall::Line,
               {460, 115, (int)CalcMinX(0, 45), (int)CalcMinY(0, 45)});
    ExpectCall(rec.calls[22], DrawCall::Line, {460, 115, 428, 115});
    ExpectCall(rec.calls[19], DrawCall::Line, {462, 117, 430, 117});
}
