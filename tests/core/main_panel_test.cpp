// The main panel's background, date line, compass labels and clock and
// place read-outs, painted into the recorder at fixed instants.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/koyomi.h"
#include "app/readouts.h"
#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

namespace {

constexpr uint32_t kBackground = 0x64ffff;
constexpr uint32_t kRed = 0xff0000;
constexpr uint32_t kBlack = 0x000000;

// A recorder that also notes the symbol size factor at every text call.
class SettingsRecorder : public Recorder {
public:
    std::vector<double> ss_at_text;
    void text(int x, int y, int w, int h, const char* sjis, size_t length) override
    {
        ss_at_text.push_back(ss_s);
        Recorder::text(x, y, w, h, sjis, length);
    }
};

// One repaint at a civil instant of the observer.
void PaintAt(SettingsRecorder* rec, int y, int mo, int d, int h, int mi, int s)
{
    Settings_Reset();
    testing_clock::FixedClock clock(y, mo, d, h, mi, s);
    WSCvdrawingArea area(nullptr, "a");
    area.setPainter(rec);
    Koyomi_Pla(&area);
}

// Index among the texts of the first text with these bytes, or -1.
int TextIndex(const Recorder& rec, const std::string& sjis)
{
    auto texts = rec.texts();
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i]->text == sjis) return static_cast<int>(i);
    return -1;
}

void ExpectBox(const DrawCall* c, int x, int y, int w, int h, uint32_t color)
{
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->a[0], x);
    EXPECT_EQ(c->a[1], y);
    EXPECT_EQ(c->a[2], w);
    EXPECT_EQ(c->a[3], h);
    EXPECT_EQ(c->color, color) << c->text;
}

}  // namespace

TEST(KoyomiPla, ReadOutsAt20261206T150000)
{
    SettingsRecorder rec;
    PaintAt(&rec, 2026, 12, 6, 15, 0, 0);

    // background first, in "#64ffff"
    const DrawCall* fill = nullptr;
    for (const DrawCall& c : rec.calls)
        if (c.op == DrawCall::FillRect) { fill = &c; break; }
    ExpectBox(fill, 0, 0, 530, 300, kBackground);

    // the date line, then the compass labels in red
    const int at = TextIndex(rec, "        日時  2026/12/06 15:00:00   ユリウス通日 2461380.75000");
    ASSERT_GE(at, 0);
    auto texts = rec.texts();
    ExpectBox(texts[at], 20, 0, 600, 15, kBlack);
    ASSERT_GT(texts.size(), static_cast<size_t>(at + 3));
    EXPECT_EQ(texts[at + 1]->text, "東");
    ExpectBox(texts[at + 1], 50, 230, 300, 30, kRed);
    EXPECT_EQ(texts[at + 2]->text, "南");
    ExpectBox(texts[at + 2], 250, 230, 300, 30, kRed);
    EXPECT_EQ(texts[at + 3]->text, "西");
    ExpectBox(texts[at + 3], 435, 230, 300, 30, kRed);

    // local time, place and view in black
    ExpectBox(rec.findText("時刻 15:00:00"), 420, 5, 300, 30, kBlack);
    ExpectBox(rec.findText("東経 139.7"), 420, 20, 300, 30, kBlack);
    ExpectBox(rec.findText("北緯 35.6"), 420, 35, 300, 30, kBlack);
    ExpectBox(rec.findText("方位角   0"), 420, 50, 300, 30, kBlack);

    // the shared state of the repaint (jd0 and the working place are the
    // tide and new-moon searches' scratch afterwards)
    EXPECT_DOUBLE_EQ(jd, 2461380.75);
    EXPECT_DOUBLE_EQ(jdstart, 2461380.75);
    EXPECT_DOUBLE_EQ(jd_auto, 2461380.75);
    EXPECT_EQ(select_d, 4);
    EXPECT_EQ(m_input_disp, 4);
    EXPECT_DOUBLE_EQ(latitude, 35.6);
    EXPECT_DOUBLE_EQ(longitude, 139.7);
}

// ss_s starts at 10 but is 20 when the panels start, even on the first
// repaint: the last read-out before the tide rows and the panels sees 20.
TEST(KoyomiPla, SymbolSizeResetBeforePanels)
{
    Settings_Reset();
    EXPECT_DOUBLE_EQ(ss_s, 10.0);
    SettingsRecorder rec;
    PaintAt(&rec, 2026, 12, 6, 15, 0, 0);
    const int at = TextIndex(rec, "方位角   0");
    ASSERT_GE(at, 0);
    EXPECT_DOUBLE_EQ(rec.ss_at_text[static_cast<size_t>(at)], 20.0);
}

// The clock row shows the reading digit for digit; the date line the same.
TEST(KoyomiPla, ClockEdgeReadings)
{
    struct Case { int h, mi, s; const char* clock; const char* date; };
    const Case cases[] = {
        {1, 1, 0, "時刻 01:01:00", "2026/12/06 01:01:00"},
        {23, 59, 59, "時刻 23:59:59", "2026/12/06 23:59:59"},
        {0, 0, 0, "時刻 00:00:00", "2026/12/06 00:00:00"},
    };
    for (const Case& c : cases) {
        SettingsRecorder rec;
        PaintAt(&rec, 2026, 12, 6, c.h, c.mi, c.s);
        EXPECT_NE(rec.findText(c.clock), nullptr) << c.clock;
        auto texts = rec.texts();
        ASSERT_FALSE(texts.empty());
        EXPECT_NE(texts[0]->text.find(c.date), std::string::npos) << texts[0]->text;
    }
}

// For every whole-second reading of a day the date line's h:m:s equals the
// clock's: the Julian day as Koyomi_Pla computes it, split as the date line
// splits it. Days of the zone time and one of local mean time (before 1900).
TEST(KoyomiDateTime, SameSecondAsClockAllDay)
{
    struct Day { int y, m, d; };
    const Day days[] = {{2026, 12, 6}, {2000, 2, 29}, {1850, 6, 15}};
    for (const Day& day : days) {
        int mismatches = 0;
        for (int t = 0; t < 86400; ++t) {
            const int h = t / 3600, mi = t / 60 % 60, s = t % 60;
            const double H = h + mi * (1.0 / 60) + s * (1.0 / 3600);
            const double J = JD(day.y, day.m, day.d, H, 0, 139.7);
            double y, mo, d, Hr, Mi, Se;
            Koyomi_DateTime(J, 139.7, &y, &mo, &d, &Hr, &Mi, &Se);
            if ((int)y != day.y || (int)mo != day.m || (int)d != day.d || (int)Hr != h ||
                (int)Mi != mi || (int)Se != s) {
                if (++mismatches <= 3)
                    ADD_FAILURE() << day.y << "-" << day.m << "-" << day.d << " " << h << ":" << mi
                                  << ":" << s << " shows " << (int)Hr << ":" << (int)Mi << ":"
                                  << (int)Se;
            }
        }
        EXPECT_EQ(mismatches, 0) << day.y;
    }
}
