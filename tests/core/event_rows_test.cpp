// The main panel's rows (Readout_Rows, drawn by Koyomi_DrawRows): texts,
// places, the "--" rules and the truncated minutes, through the recorder.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "app/koyomi.h"
#include "app/readout_rows.h"
#include "app/readouts.h"
#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "ephem/position.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/observer.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

namespace {

// A text drawn at (x, y) in a 300 x 30 box, in black.
void ExpectRow(const Recorder& rec, const std::string& sjis, int x, int y)
{
    const DrawCall* c = rec.findText(sjis);
    ASSERT_NE(c, nullptr) << "missing text at " << x << "," << y;
    EXPECT_EQ(c->a[0], x);
    EXPECT_EQ(c->a[1], y);
    EXPECT_EQ(c->a[2], 300);
    EXPECT_EQ(c->a[3], 30);
    EXPECT_EQ(c->color, 0x000000u);
}

// The text drawn at (x, y), or "" when none.
std::string TextAt(const Recorder& rec, int x, int y)
{
    for (const DrawCall* c : rec.texts())
        if (c->a[0] == x && c->a[1] == y) return c->text;
    return "";
}

// The rows of the record of a civil instant, drawn.
void DrawRowsAt(WSCvdrawingArea* area, int y, int mo, int d, int h, int mi, int s)
{
    Settings_Reset();
    testing_clock::FixedClock clock(y, mo, d, h, mi, s);
    KoyomiReadouts r;
    Koyomi_Readouts(Clock_Now(), false, &r);
    Koyomi_DrawRows(area, Readout_Rows(r));
}

// The rows of a record with the given events (found unless said) and tides
// (Tokyo), drawn.
struct Found { bool sunrise = true, sunset = true, moonrise = true, moonset = true; };
void DrawRowsOf(WSCvdrawingArea* area, double sunrise, double sunset, double moonrise,
                double moonset, const double tide[8], Found found = {})
{
    Settings_Reset();
    KoyomiReadouts r{};
    r.sunrise = sunrise;
    r.sunset = sunset;
    r.moonrise = moonrise;
    r.moonset = moonset;
    r.sunrise_found = found.sunrise;
    r.sunset_found = found.sunset;
    r.moonrise_found = found.moonrise;
    r.moonset_found = found.moonset;
    for (int i = 0; i < 8; i++) r.tide[i] = tide[i];
    r.at.place = KoyomiPlace{35.6, 139.7, Observer_ZoneHours(), false, 0};
    Koyomi_DrawRows(area, Readout_Rows(r));
}

constexpr double kNoTides[8] = {};

using testing_observer::Tokyo;

}  // namespace

// 2026-12-06 15:00 through a whole repaint: every row in place, and the
// event times left in the Sun and Moon records.
TEST(Koyomi_Rows, WholeRepaintAtFixedInstant)
{
    Settings_Reset();
    testing_clock::FixedClock clock(2026, 12, 6, 15, 0, 0);
    WSCvdrawingArea area(nullptr, "a");
    Recorder rec;
    area.setPainter(&rec);
    Koyomi_Pla(&area);

    ExpectRow(rec, "日の出 06:35", 10, 5);
    ExpectRow(rec, "日の入 16:27", 10, 20);
    ExpectRow(rec, "月の出 03:52", 10, 35);
    ExpectRow(rec, "月の入 14:13", 10, 50);
    ExpectRow(rec, "  東京湾潮汐", 420, 170);
    ExpectRow(rec, "満03:52", 460, 185);
    ExpectRow(rec, "満15:14", 460, 200);
    ExpectRow(rec, "干09:33", 460, 215);
    ExpectRow(rec, "干22:13", 460, 230);

    EXPECT_NEAR(Sun.rise_time, 6.59537559, 5e-9);
    EXPECT_NEAR(Sun.set_time, 16.4609375, 5e-9);
    EXPECT_NEAR(Moon.rise_time, 3.86804180, 5e-9);
    EXPECT_NEAR(Moon.set_time, 14.2265625, 5e-9);
}

// 2026-12-02: no moonrise on the date: "月の出 --" and 23.0 in the record.
// 2026-12-03: one high water: the second high row reads "満 --".
TEST(Koyomi_Rows, NoMoonriseAndOneHighWater)
{
    WSCvdrawingArea area(nullptr, "a");
    Recorder rec;
    area.setPainter(&rec);
    DrawRowsAt(&area, 2026, 12, 2, 12, 0, 0);
    ExpectRow(rec, "月の出 --", 10, 35);
    EXPECT_EQ(Moon.rise_time, 23.0);
    ExpectRow(rec, "月の入 12:23", 10, 50);

    rec.clear();
    DrawRowsAt(&area, 2026, 12, 3, 12, 0, 0);
    ExpectRow(rec, "満13:03", 460, 185);
    ExpectRow(rec, "満 --", 460, 200);
    ExpectRow(rec, "干06:00", 460, 215);
    ExpectRow(rec, "干20:13", 460, 230);
}

// Minutes truncate (5.999 h is 05:59); an event not found prints "--", the
// Sun's as the Moon's, and a found 23.0 prints 23:00.
TEST(Readout_Rows, TruncationAndNoEvent)
{
    WSCvdrawingArea area(nullptr, "a");
    Recorder rec;
    area.setPainter(&rec);
    DrawRowsOf(&area, 5.999, 23.0, 23.0, 23.0, kNoTides, Found{true, true, true, false});
    ExpectRow(rec, "日の出 05:59", 10, 5);
    ExpectRow(rec, "日の入 23:00", 10, 20);
    ExpectRow(rec, "月の出 23:00", 10, 35);
    ExpectRow(rec, "月の入 --", 10, 50);

    rec.clear();
    DrawRowsOf(&area, 23.0, 23.0, 23.0, 23.0, kNoTides, Found{false, false, false, false});
    ExpectRow(rec, "日の出 --", 10, 5);
    ExpectRow(rec, "日の入 --", 10, 20);
    ExpectRow(rec, "月の出 --", 10, 35);

    rec.clear();
    DrawRowsOf(&area, 0.0, 23.999, 22.999999, 23.5, kNoTides);
    ExpectRow(rec, "日の出 00:00", 10, 5);
    ExpectRow(rec, "日の入 23:59", 10, 20);
    ExpectRow(rec, "月の出 22:59", 10, 35);
    ExpectRow(rec, "月の入 23:30", 10, 50);
}

// Entries 0.0 print "満 --" / "干 --" in their own rows; a time of the
// neighbouring day prints that day's clock time; minutes truncate.
TEST(Readout_Rows, EmptyTidesAndNeighbouringDays)
{
    WSCvdrawingArea area(nullptr, "a");
    Recorder rec;
    area.setPainter(&rec);
    const double record[8] = {1.5, 0, 0.5, 0.3,
                              Tokyo(2026, 12, 6, 5.999), 0.0,
                              Tokyo(2026, 12, 5, 23.705), Tokyo(2026, 12, 7, 1.555)};
    DrawRowsOf(&area, 6, 16, 3, 14, record);
    ExpectRow(rec, "  東京湾潮汐", 420, 170);
    ExpectRow(rec, "満05:59", 460, 185);
    ExpectRow(rec, "満 --", 460, 200);
    ExpectRow(rec, "干23:42", 460, 215);
    ExpectRow(rec, "干01:33", 460, 230);

    rec.clear();
    DrawRowsOf(&area, 6, 16, 3, 14, kNoTides);
    ExpectRow(rec, "満 --", 460, 185);
    EXPECT_EQ(TextAt(rec, 460, 200), std::string("満 --"));
    EXPECT_EQ(TextAt(rec, 460, 215), std::string("干 --"));
    EXPECT_EQ(TextAt(rec, 460, 230), std::string("干 --"));
}
