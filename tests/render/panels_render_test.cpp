// A snapshot of the whole picture at a fixed instant shows the graphic
// panels: the clock's dial, the Moon's disc and the sky view with its bodies.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cairo.h>

#include <cstdio>
#include <string>

#include "shell/cairo/cairo_painter.h"
#include "shell/cairo/snapshot.h"
#include "app/koyomi.h"
#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"

namespace {

constexpr uint32_t kYellow = 0xffff00;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0xff0000;
constexpr uint32_t kBackground = 0x64ffff;

// Every channel below a quarter: black or nearly (antialiased edges).
bool Dark(uint32_t rgb)
{
    return ((rgb >> 16) & 0xff) < 0x40 && ((rgb >> 8) & 0xff) < 0x40 && (rgb & 0xff) < 0x40;
}

// The picture of one repaint at 2026-12-06 15:00:00 local, read back from
// the PNG that the snapshot wrote.
class PanelsSnapshot : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Settings_Reset();
        testing_clock::FixedClock clock(2026, 12, 6, 15, 0, 0);
        static WSCvdrawingArea area(nullptr, "panels");
        static WSCprocedure proc("draw", WSEV_EXPOSE);
        proc.setFunction(Koyomi_Pla, "Koyomi_Pla");
        area.bindProcedure(&proc);

        // where the planet panel put the Sun's disc
        Recorder rec;
        area.repaint(&rec);
        for (const DrawCall& c : rec.calls)
            if (c.op == DrawCall::FillArc && c.color == kRed && c.a[2] == 16) {
                sun_x = c.a[0];
                sun_y = c.a[1];
            }

        char path[] = "/tmp/tenmado-panels-XXXXXX";
        int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        close(fd);
        std::string why;
        ASSERT_TRUE(RenderSnapshotPng(&area, std::string(path) + ".png", &why)) << why;
        surface = cairo_image_surface_create_from_png((std::string(path) + ".png").c_str());
        std::remove(path);
        std::remove((std::string(path) + ".png").c_str());
    }
    static void TearDownTestSuite()
    {
        if (surface) cairo_surface_destroy(surface);
        surface = nullptr;
    }

    static uint32_t at(int x, int y)
    {
        const unsigned char* row = cairo_image_surface_get_data(surface) +
                                   y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xffffff;
    }

    static inline cairo_surface_t* surface = nullptr;
    static inline int sun_x = -1, sun_y = -1;
};

}  // namespace

TEST_F(PanelsSnapshot, PictureSize)
{
    ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(surface), 530);
    EXPECT_EQ(cairo_image_surface_get_height(surface), 300);
}

TEST_F(PanelsSnapshot, ClockDial)
{
    ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
    // 15:00:00: the hour hand points right, the minute and second hands up;
    // the lower-left quarter of the dial shows only its yellow face
    for (int d : {8, 15, 22}) {
        EXPECT_EQ(at(460 - d, 115 + d), kYellow) << d;
        EXPECT_EQ(at(460 - d, 115 - d), kYellow) << d;
    }
    // the hour hand is red along its middle, its shadow black below it
    EXPECT_EQ(at(470, 115), kRed);
    // the rim (antialiased: nearly black), and the background outside it
    EXPECT_TRUE(Dark(at(460, 75))) << std::hex << at(460, 75);
    EXPECT_TRUE(Dark(at(420, 115))) << std::hex << at(420, 115);
    EXPECT_EQ(at(460, 71), kBackground);
}

TEST_F(PanelsSnapshot, MoonDisc)
{
    ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
    // three days before new moon: a thin crescent lit on the left of the
    // disc in the box (10, 75, 80, 80); the rest of the disc is dark
    EXPECT_EQ(at(50, 115), kBlack);
    EXPECT_EQ(at(70, 115), kBlack);
    EXPECT_EQ(at(13, 115), kYellow);
    // outside the box: the background
    EXPECT_EQ(at(6, 115), kBackground);
    EXPECT_EQ(at(94, 115), kBackground);
}

TEST_F(PanelsSnapshot, SkyViewAndTheSun)
{
    ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
    // the azimuth lines meet at the zenith (250, 49)
    EXPECT_NE(at(250, 49), kBackground);
    // the Sun, above the horizon in the south-west, is a red disc of 16 px
    ASSERT_GE(sun_x, 250);
    ASSERT_LT(sun_y + 8, 230);
    int red = 0;
    for (int y = sun_y; y < sun_y + 16; ++y)
        for (int x = sun_x; x < sun_x + 16; ++x) red += at(x, y) == kRed;
    EXPECT_GT(red, 120);
}
