// Start-up: the static initialisation, the font and cursor tables, the
// window and its drawing area, and the repaint timer registered once.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/newproject.h"
#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"

namespace {
using Calls = std::vector<std::pair<std::string, std::string>>;
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }
}  // namespace

TEST(Startup, StaticInitialisation)
{
    const auto& handlers = WSDappDev::initHandlers();
    ASSERT_EQ(handlers.size(), 3u);
    EXPECT_EQ(handlers[0], &_font_init_);
    EXPECT_EQ(handlers[1], &_mouse_init_);
    EXPECT_EQ(handlers[2], &_create_win_newwin000);
    EXPECT_TRUE(WSGdeviceInitialized());
    EXPECT_EQ(WSGIappLocaleSet()->defaultEncoding(), 21);
    EXPECT_EQ(WSGIappDev()->instanceName(), "newproject");
    EXPECT_EQ(WSCfunctionRegister::lookup("draw"), reinterpret_cast<void*>(&draw));
}

TEST(Startup, FontAndCursorTables)
{
    const char8_t* expected[8] = {
        u8"12,0,0,0,700,0,0,0,128,3,2,1,49,ＭＳ ゴシック",
        u8"14,0,0,0,700,0,0,0,128,3,2,1,49,ＭＳ ゴシック",
        u8"16,0,0,0,700,0,0,0,128,3,2,1,49,ＭＳ ゴシック",
        u8"19,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック",
        u8"22,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック",
        u8"24,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック",
        u8"26,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック",
        u8"34,0,0,0,400,0,0,0,128,3,2,1,1,ＭＳ ゴシック",
    };
    for (int k = 0; k < 8; ++k) {
        ASSERT_NE(fon[k], nullptr);
        EXPECT_EQ(std::string(fon[k]), U8(expected[k])) << "entry " << k;
    }
    EXPECT_EQ(fon[8], nullptr);
    // the face name is UTF-8: ＭＳ is U+FF2D U+FF33
    EXPECT_NE(std::string(fon[1]).find("\xEF\xBC\xAD\xEF\xBC\xB3"), std::string::npos);
    ASSERT_NE(mou[0], nullptr);
    EXPECT_STREQ(mou[0], "0   IDC_ARROW");
    EXPECT_EQ(mou[1], nullptr);

    _font_init_();
    ASSERT_EQ(WSGloadedFonts().size(), 8u);
    EXPECT_EQ(WSGloadedFonts()[1].height, 14);
    EXPECT_EQ(WSGloadedFonts()[1].weight, 700);
    EXPECT_EQ(WSGloadedFonts()[1].face, U8(u8"ＭＳ ゴシック"));
    EXPECT_EQ(WSGloadedFonts()[3].weight, 400);
    _mouse_init_();
    ASSERT_EQ(WSGloadedCursors().size(), 1u);
    EXPECT_EQ(WSGloadedCursors()[0], "0   IDC_ARROW");
}

TEST(Startup, WindowAreaAndRepaintTimer)
{
    WSDappDev::runInitHandlers();
    ASSERT_NE(newwin000, nullptr);
    ASSERT_NE(newvdra_000, nullptr);

    const Calls window = {
        {"name", "newwin000"}, {"titleString", "天窓"}, {"x", "100"}, {"y", "100"},
        {"width", "530"}, {"height", "257"}, {"titleBar", "3"}, {"vis", "1"}, {"det", "0"},
        {"pixmapStyle", "1"},
    };
    EXPECT_EQ(newwin000->propertyCalls(), window);
    EXPECT_EQ(newwin000->stringProperty("titleString"), "\x93\x56\x91\x8b");  // 天窓 in Shift_JIS
    EXPECT_TRUE(newwin000->created());
    EXPECT_TRUE(newwin000->visible());
    EXPECT_EQ(newwin000->parent(), nullptr);

    const Calls area = {
        {"usePixmap", "1"}, {"name", "newvdra_000"}, {"vis", "1"}, {"det", "0"},
        {"width", "559"}, {"height", "309"},
    };
    EXPECT_EQ(newvdra_000->propertyCalls(), area);
    EXPECT_TRUE(newvdra_000->created());
    EXPECT_EQ(newvdra_000->parent(), newwin000);
    ASSERT_EQ(newwin000->children().size(), 1u);
    EXPECT_EQ(newwin000->children()[0], newvdra_000);
    ASSERT_EQ(newvdra_000->procedures().size(), 3u);
    EXPECT_EQ(newvdra_000->procedures()[0]->trigger(), 9);
    EXPECT_EQ(newvdra_000->procedures()[0]->functionName(), "draw");
    // the view's keys and wheel
    EXPECT_EQ(newvdra_000->procedures()[1]->trigger(), WSEV_KEY_PRESS);
    EXPECT_EQ(newvdra_000->procedures()[1]->functionName(), "view_turn");
    EXPECT_EQ(newvdra_000->procedures()[2]->trigger(), WSEV_MOUSE_WHEEL);
    EXPECT_EQ(newvdra_000->procedures()[2]->functionName(), "view_turn");

    // no timer before the first repaint of the process (this test's first
    // run: nothing else repaints the area); many repaints register it once,
    // also when the test runs again in the same process
    static int runs = 0;
    if (runs++ == 0) {
        EXPECT_TRUE(WSGIappTimer()->procs().empty());
    }
    Recorder rec;
    {
        testing_clock::FixedClock clock(2026, 12, 6, 15, 0, 0);
        for (int k = 0; k < 4; ++k) newvdra_000->repaint(&rec);
    }
    ASSERT_EQ(WSGIappTimer()->procs().size(), 1u);
    const WSDtimer::Proc& p = WSGIappTimer()->procs()[0];
    EXPECT_EQ(p.proc, &timerHandler);
    EXPECT_EQ(p.rate, 2);
    EXPECT_EQ(p.data, static_cast<void*>(static_cast<WSCbase*>(newvdra_000)));
    // every repaint painted the whole picture through draw
    int backgrounds = 0;
    for (const DrawCall& c : rec.calls)
        if (c.op == DrawCall::FillRect && c.a[2] == 530 && c.a[3] == 300) ++backgrounds;
    EXPECT_EQ(backgrounds, 4);

    // a tick asks the area for one repaint
    const long before = newvdra_000->repaintRequests();
    timerHandler(0, p.data);
    EXPECT_EQ(newvdra_000->repaintRequests(), before + 1);
}

// The tick falls 20 ms after the whole second (delays in ms, rounded up).
TEST(RepaintTick, DelayToNextSecond)
{
    const int64_t s = 1796622409LL * kUsPerSecond;
    EXPECT_EQ(WSTickDelayMs(s), 20);                 // on the second
    EXPECT_EQ(WSTickDelayMs(s + 19999), 1);          // just before the tick
    EXPECT_EQ(WSTickDelayMs(s + 20000), 1000);       // on the tick: the next one
    EXPECT_EQ(WSTickDelayMs(s + 21840), 999);        // 998.16 ms rounded up
    EXPECT_EQ(WSTickDelayMs(s + 999999), 21);        // 20.001 ms rounded up
    EXPECT_EQ(WSTickDelayMs(s + 500000), 520);
    // before 1970 the second is floored
    EXPECT_EQ(WSTickSecond(-1), -1);
    EXPECT_EQ(WSTickPhase(-1), 999999);
    EXPECT_EQ(WSTickDelayMs(-1), 21);
    EXPECT_EQ(WSTickSecond(s + 999999), 1796622409LL);
}
