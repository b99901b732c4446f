// The star chart: projections, frame and grid, figures, catalogue pass.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "ephem/position.h"
#include "panels/constellations.h"
#include "panels/panels.h"
#include "panels/star_chart.h"
#include "panels/view_projection.h"
#include "tests/core/observer.h"
#include "timecal/julian.h"

namespace {
constexpr uint32_t kRed = 0xff0000, kGreen = 0x00ff00, kBlack = 0x000000, kCyan = 0x00ffff;

// The state the main panel and the planet panel leave for the chart.
class StarChart : public testing::Test {
protected:
    WSCvdrawingArea area{nullptr, "a"};
    Recorder rec;
    void SetUp() override
    {
        testing_observer::Observer();
        Star = tagPosition{};
        scale = 2;
        ss_s = 20;
        select_d = 4;
        X0 = m_input_center_x;
        Y0 = m_input_center_y;
        // 2026-12-07 00:00 at Tokyo: Orion near the meridian, toward the south
        jd_auto = JD(2026, 12, 7, 0, 0, m_input_lon);
        select_p = 7;
        area.setPainter(&rec);
    }
    std::vector<const DrawCall*> Calls(DrawCall::Op op) const
    {
        std::vector<const DrawCall*> v;
        for (const DrawCall& c : rec.calls)
            if (c.op == op) v.push_back(&c);
        return v;
    }
    int Count(DrawCall::Op op, uint32_t colour) const
    {
        int n = 0;
        for (const DrawCall* c : Calls(op)) n += c->color == colour;
        return n;
    }
    // Labels drawn, in order: texts that are Star3 entries.
    std::vector<int> Labels() const
    {
        std::vector<int> v;
        for (const DrawCall* t : rec.texts())
            for (int c = 0; c < kConstellations; ++c)
                if (t->text == Star3[c]) v.push_back(c);
        return v;
    }
};

int Figures()
{
    int n = 0;
    for (int c = 0; c < kConstellations; ++c) n += Star1[c] != 0;
    return n;
}

// Figure rows; a star at declination +90 stands at the north point, behind a
// viewer looking south; stars below -60 are always in the southern half.
FigureRow Row(double ra, double dec, double code, double mag = 2.0, int colour = 1)
{
    return FigureRow{ra, dec, colour, mag, code};
}
}  // namespace

// Initial settings, projection 4 toward the south: the figures whose first
// vertex is in front are labelled (Orion yes, the Little Bear behind the
// viewer no), and no catalogue star is drawn.
TEST_F(StarChart, InitialSettingsViewProjection)
{
    ASSERT_EQ(Figures(), 58);
    DispStar(&area);
    std::vector<int> labels = Labels();
    EXPECT_GT(labels.size(), 10u);
    EXPECT_LT(labels.size(), 58u);
    EXPECT_NE(rec.findText("Ori.ｵﾘｵﾝ"), nullptr);
    EXPECT_EQ(rec.findText("UMi.ｺｸﾞﾏ"), nullptr);
    for (int c : labels) EXPECT_NE(Star1[c], 0) << c;
    EXPECT_EQ(Count(DrawCall::FillArc, kGreen), 0);  // no catalogue pass
    EXPECT_EQ(Star.number, 0);                        // Star_Position never called
    EXPECT_DOUBLE_EQ(ss_s, 10);                       // 20 / scale
    EXPECT_EQ(X0, 250);
    EXPECT_EQ(Y0, 230);
    // with m_seiza2 every dot has its text: the empty name of the untouched record
    int empty = 0;
    for (const DrawCall* t : rec.texts()) empty += t->text.empty();
    EXPECT_EQ(empty, static_cast<int>(Calls(DrawCall::FillArc).size()));
}

// Without a horizon cut (projection 1) every figure is drawn whole: 58
// labels in constellation order and a dot for each of the 356 figure rows.
TEST_F(StarChart, AllFiguresAndLabels)
{
    select_d = 1;
    DispStar(&area);
    std::vector<int> labels = Labels();
    ASSERT_EQ(labels.size(), 58u);
    for (size_t i = 1; i < labels.size(); ++i) EXPECT_LT(labels[i - 1], labels[i]);
    EXPECT_EQ(Calls(DrawCall::FillArc).size(), 356u);
    EXPECT_EQ(Count(DrawCall::FillArc, kGreen), 0);
    // labels in black at the vertex; dots and lines keep their own colours
    for (const DrawCall* t : rec.texts()) {
        if (!t->text.empty()) {
            EXPECT_EQ(t->color, kBlack) << t->text;
        }
    }
    for (const DrawCall* l : Calls(DrawCall::Line)) EXPECT_EQ(l->color, kRed);
    // no text beside the stars outside projection 4
    EXPECT_EQ(rec.texts().size(), 58u);
    // the flags that switch the labels off
    rec.clear();
    m_seiza1 = 0;
    DispStar(&area);
    EXPECT_TRUE(Labels().empty());
    rec.clear();
    m_seiza1 = 1;
    m_input_disp_pla = 10;
    DispStar(&area);
    EXPECT_TRUE(Labels().empty());
    EXPECT_EQ(Calls(DrawCall::FillArc).size(), 356u);
}

// One constellation only; one without a figure draws nothing.
TEST_F(StarChart, OneConstellation)
{
    m_input_m_star_select = 1;
    m_input_m_star = 59;  // Ori: 10 rows, slots 1..7 close the figure
    DispStar(&area);
    EXPECT_EQ(Calls(DrawCall::FillArc).size(), 10u);
    EXPECT_EQ(Calls(DrawCall::Line).size(), 6u);
    ASSERT_EQ(Labels().size(), 1u);
    EXPECT_EQ(Labels()[0], 59);

    rec.clear();
    m_input_m_star = 1;  // Ant has no figure
    DispStar(&area);
    ASSERT_EQ(rec.calls.size(), 1u);  // only the colour set on entry
    EXPECT_EQ(rec.calls[0].op, DrawCall::Color);
    rec.clear();
    m_input_m_star = 88;  // no such constellation
    DispStar(&area);
    EXPECT_EQ(rec.calls.size(), 1u);
}

// Projection 4: a star behind the viewer gets no dot, no text and no
// vertex, so the polyline ends before its slot; in slot 1 it suppresses the
// label and every line.
TEST_F(StarChart, StarBehindTheViewer)
{
    std::strcpy(Star.name, "昴");  // the text beside each star: the Star record's name
    const FigureRow rows[] = {
        Row(0, -70, 1), Row(90, -60, 2), Row(45, 90, 3), Row(180, -80, 4),
    };
    StarChart_Figure(&area, 59, rows, 4, StarFrame{});
    EXPECT_EQ(Calls(DrawCall::FillArc).size(), 3u);
    EXPECT_EQ(Calls(DrawCall::Line).size(), 1u);  // slot 1 to 2; slot 3 empty
    ASSERT_EQ(Labels().size(), 1u);
    ASSERT_EQ(rec.texts().size(), 4u);  // three star texts and the label
    const DrawCall* text = rec.texts()[0];
    const DrawCall* dot = Calls(DrawCall::FillArc)[0];
    EXPECT_EQ(text->text, "昴");
    // dot at (trunc(x1 - R), trunc(y1 - R)), text at (trunc(x1) + 5, trunc(y1) - 10)
    EXPECT_NEAR(text->a[0] - 5, dot->a[0] + 2.5, 1.0);
    EXPECT_NEAR(text->a[1] + 10, dot->a[1] + 2.5, 1.0);
    // stars below the horizon are drawn below the centre
    for (const DrawCall* d : Calls(DrawCall::FillArc)) EXPECT_GT(d->a[1], 230);

    rec.clear();
    const FigureRow hidden_first[] = {Row(45, 90, 1), Row(0, -70, 2), Row(90, -60, 3)};
    StarChart_Figure(&area, 59, hidden_first, 3, StarFrame{});
    EXPECT_EQ(Calls(DrawCall::FillArc).size(), 2u);
    EXPECT_EQ(Calls(DrawCall::Line).size(), 0u);
    EXPECT_TRUE(Labels().empty());
}

// A vertex whose x is exactly 0 ends the polyline like an empty slot.
TEST_F(StarChart, ZeroVertexEndsPolyline)
{
    FigureSlots s;
    s.x[1] = 10; s.y[1] = 11;
    s.x[2] = 20; s.y[2] = 21;
    s.x[3] = 0;  s.y[3] = 31;  // a vertex at x = 0
    s.x[4] = 40; s.y[4] = 41;
    StarChart_FigureLines(&area, 59, s);
    ASSERT_EQ(Calls(DrawCall::Line).size(), 1u);
    const DrawCall* l = Calls(DrawCall::Line)[0];
    EXPECT_EQ(l->a[0], 10); EXPECT_EQ(l->a[1], 11); EXPECT_EQ(l->a[2], 20); EXPECT_EQ(l->a[3], 21);
    EXPECT_EQ(l->color, kRed);
    const DrawCall* t = rec.findText("Ori.ｵﾘｵﾝ");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->a[0], 10); EXPECT_EQ(t->a[1], 11);

    // end to end in the equatorial chart: right ascension 365 lands on x = 0
    rec.clear();
    select_d = 2;
    StarFrame f = StarChart_Frame();
    const FigureRow rows[] = {Row(0, 10, 1), Row(365, 20, 2), Row(100, 30, 3)};
    StarChart_Figure(&area, 59, rows, 3, f);
    EXPECT_EQ(Calls(DrawCall::FillArc).size(), 3u);
    EXPECT_EQ(Calls(DrawCall::Line).size(), 0u);
    EXPECT_EQ(Labels().size(), 1u);
    // slot 1 itself at x = 0: nothing at all
    rec.clear();
    const FigureRow first_zero[] = {Row(365, 20, 1), Row(0, 10, 2)};
    StarChart_Figure(&area, 59, first_zero, 2, f);
    EXPECT_EQ(Calls(DrawCall::Line).size(), 0u);
    EXPECT_TRUE(Labels().empty());
}

// Slots: a star visited twice holds two slots (the figure closes), code 0
// is a dot only.
TEST_F(StarChart, SlotsFromCodes)
{
    select_d = 1;
    const FigureRow rows[] = {Row(0, -70, 14), Row(90, -60, 2), Row(180, -80, 3), Row(270, -50, 0)};
    StarChart_Figure(&area, 59, rows, 4, StarFrame{});
    EXPECT_EQ(Calls(DrawCall::FillArc).size(), 4u);
    auto lines = Calls(DrawCall::Line);
    ASSERT_EQ(lines.size(), 3u);  // 1-2, 2-3, 3-4 back to the first star
    EXPECT_EQ(lines[2]->a[2], lines[0]->a[0]);
    EXPECT_EQ(lines[2]->a[3], lines[0]->a[1]);

}

// Dots: diameter trunc(7 - m) from R = (7 - m) / 2, 8 pixels at
// magnitude -1.5 down to 1 at 5.5; the colour by class, or the colour in
// force for a class outside 1..7.
TEST_F(StarChart, DotSizesAndColours)
{
    select_d = 1;
    const FigureRow rows[] = {
        Row(0, -70, 0, -1.5, 1), Row(0, -70, 0, 0.0, 6), Row(0, -70, 0, 4.5, 3),
        Row(0, -70, 0, 5.5, 0), Row(0, -70, 0, 3.0, 8), Row(0, -70, 0, 3.0, 2),
    };
    StarChart_Figure(&area, 0, rows, 6, StarFrame{});
    auto dots = Calls(DrawCall::FillArc);
    ASSERT_EQ(dots.size(), 6u);
    const int diameters[] = {8, 7, 2, 1, 4, 4};
    const uint32_t colours[] = {kCyan, 0xffff00, 0xff00ff, 0xff00ff, 0xff00ff, kRed};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(dots[i]->a[2], diameters[i]) << i;
        EXPECT_EQ(dots[i]->a[3], diameters[i]) << i;
        EXPECT_EQ(dots[i]->a[4], 0);
        EXPECT_EQ(dots[i]->a[5], 23040);
        EXPECT_EQ(dots[i]->color, colours[i]) << i;
    }
    EXPECT_DOUBLE_EQ(ss_s, 10);            // 20 / scale
    EXPECT_DOUBLE_EQ(SS, (7 - 3.0) / 40);  // the last star's
    // the dot box: (trunc(x1 - R), trunc(y1 - R)) with x1 = px - R
    StarPlace p;
    ASSERT_TRUE(StarChart_Project(1, 30, 40, 0, 0, 4.25, StarFrame{}, &p));
    EXPECT_DOUBLE_EQ(p.x1, p.px - 4.25);
    EXPECT_DOUBLE_EQ(p.y1, p.py - 4.25);
}

// Projections: vertex and anchor of each; unknown codes draw nothing.
TEST_F(StarChart, Projections)
{
    StarPlace p;
    // 1: zenith at the centre, south below, west to the right
    ASSERT_TRUE(StarChart_Project(1, 0, 90, 0, 0, 1, StarFrame{}, &p));
    EXPECT_DOUBLE_EQ(p.px, 250); EXPECT_DOUBLE_EQ(p.py, 230);
    ASSERT_TRUE(StarChart_Project(1, 0, 0, 0, 0, 1, StarFrame{}, &p));
    EXPECT_DOUBLE_EQ(p.py, 230 + 180);
    ASSERT_TRUE(StarChart_Project(1, 90, 0, 0, 0, 1, StarFrame{}, &p));
    EXPECT_DOUBLE_EQ(p.px, 250 + 180);
    EXPECT_EQ(p.dx, 5); EXPECT_EQ(p.dy, -10);
    // 4: horizon toward the south at the centre, the zenith 180 pixels above;
    // anchor below-left
    ASSERT_TRUE(StarChart_Project(4, 0, 45, 0, 0, 2, StarFrame{}, &p));
    EXPECT_NEAR(p.px, 250, 1e-3);
    EXPECT_NEAR(p.py, 230 - 45 / 3.14 * 3.141592653589793 * 2, 1e-3);
    EXPECT_DOUBLE_EQ(p.x1, p.px - 2); EXPECT_DOUBLE_EQ(p.y1, p.py + 2);
    EXPECT_TRUE(StarChart_Project(4, 90, 10, 0, 0, 2, StarFrame{}, &p));
    EXPECT_TRUE(StarChart_Project(4, -90, 10, 0, 0, 2, StarFrame{}, &p));
    EXPECT_FALSE(StarChart_Project(4, 90.5, 10, 0, 0, 2, StarFrame{}, &p));
    EXPECT_FALSE(StarChart_Project(4, 180, 10, 0, 0, 2, StarFrame{}, &p));
    // 2 and 3 in their frame
    StarFrame f = StarChart_Frame();
    ASSERT_TRUE(StarChart_Project(2, 0, 0, 100, -20, 3, f, &p));
    EXPECT_DOUBLE_EQ(p.px, 730 - 200); EXPECT_DOUBLE_EQ(p.py, 340 + 40);
    EXPECT_DOUBLE_EQ(p.x1, p.px + 3); EXPECT_DOUBLE_EQ(p.y1, p.py - 3);
    EXPECT_EQ(p.dx, 0); EXPECT_EQ(p.dy, 0);
    ASSERT_TRUE(StarChart_Project(3, -180, -10, 0, 0, 3, f, &p));
    EXPECT_DOUBLE_EQ(p.px, 10); EXPECT_DOUBLE_EQ(p.py, 340 + 20);
    EXPECT_DOUBLE_EQ(p.x1, p.px - 3); EXPECT_DOUBLE_EQ(p.y1, p.py - 3);
    // any other code draws no star
    select_d = 5;
    DispStar(&area);
    EXPECT_TRUE(Calls(DrawCall::FillArc).empty());
    EXPECT_TRUE(Calls(DrawCall::Line).empty());
    EXPECT_TRUE(rec.texts().empty());
}

// Frame and grid of projections 2 and 3: X0 10, Y0 340, left -710, right
// 730, top 160, bottom 520; 73 + 19 black lines, then the red axes, so that
// every dot drawn after the grid is red.
TEST_F(StarChart, FrameAndGrid)
{
    StarFrame f = StarChart_Frame();
    EXPECT_EQ(X0, 10);
    EXPECT_EQ(Y0, 340);
    EXPECT_EQ(f.left, -710);
    EXPECT_EQ(f.right, 730);
    EXPECT_EQ(f.top, 160);
    EXPECT_EQ(f.bottom, 520);

    StarChart_Grid(&area, f);
    auto lines = Calls(DrawCall::Line);
    ASSERT_EQ(lines.size(), 73u + 19u + 2u);
    for (int i = 0; i < 73; ++i) {
        const DrawCall* l = lines[i];
        EXPECT_EQ(l->color, kBlack);
        EXPECT_EQ(l->a[0], -710 + 20 * i); EXPECT_EQ(l->a[2], -710 + 20 * i);
        EXPECT_EQ(l->a[1], 160); EXPECT_EQ(l->a[3], 520);
    }
    for (int j = 0; j < 19; ++j) {
        const DrawCall* l = lines[73 + j];
        EXPECT_EQ(l->color, kBlack);
        EXPECT_EQ(l->a[1], 160 + 20 * j); EXPECT_EQ(l->a[3], 160 + 20 * j);
        EXPECT_EQ(l->a[0], -710); EXPECT_EQ(l->a[2], 730);
    }
    const int axis_x[4] = {10, 160, 10, 520}, axis_y[4] = {-710, 340, 730, 340};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(lines[92]->a[k], axis_x[k]);
        EXPECT_EQ(lines[93]->a[k], axis_y[k]);
    }
    EXPECT_EQ(lines[92]->color, kRed);
    EXPECT_EQ(lines[93]->color, kRed);

    // a whole chart in projection 3 with the grid: Orion, grid before each dot
    for (int sel : {2, 3}) {
        rec.clear();
        testing_observer::Observer();
        scale = 2; X0 = 250; Y0 = 230;
        jd_auto = 2461380.625;
        select_d = sel;
        select_p = 0;
        m_input_m_star_select = 1;
        m_input_m_star = 59;
        DispStar(&area);
        EXPECT_EQ(X0, 10);
        EXPECT_EQ(Y0, 340);
        auto dots = Calls(DrawCall::FillArc);
        ASSERT_EQ(dots.size(), 10u) << sel;
        for (const DrawCall* d : dots) EXPECT_EQ(d->color, kRed) << sel;
        EXPECT_EQ(Calls(DrawCall::Line).size(), 10u * 94u + 6u) << sel;
        EXPECT_EQ(rec.texts().size(), 1u);  // the label only
        // without the grid the dots keep their class colours
        rec.clear();
        select_p = 7;
        DispStar(&area);
        EXPECT_EQ(Calls(DrawCall::Line).size(), 6u);
        EXPECT_EQ(Count(DrawCall::FillArc, kRed), 0);
    }
}

// Catalogue pass (m_input_m_star_select 0): green dots of 4 pixels with
// "%4.0f%s%s" texts, after the figures; in projection 4 only the stars in
// front; the Star record is left with the last catalogue star.
TEST_F(StarChart, CataloguePass)
{
    m_input_m_star_select = 0;
    select_d = 1;  // no cut: all 219
    DispStar(&area);
    std::vector<const DrawCall*> green;
    for (const DrawCall* d : Calls(DrawCall::FillArc))
        if (d->color == kGreen) green.push_back(d);
    ASSERT_EQ(green.size(), 219u);
    for (const DrawCall* d : green) EXPECT_EQ(d->a[2], 4);
    EXPECT_NE(rec.findText("  39r Peg壁距星"), nullptr);
    EXPECT_NE(rec.findText("1457αTau畢大星"), nullptr);
    EXPECT_NE(rec.findText("2219κAur"), nullptr);
    const DrawCall* last = rec.findText("9089Psc壘壁陣");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->color, kGreen);
    EXPECT_EQ(Star.number, 9089);
    EXPECT_DOUBLE_EQ(SS, 0.1);
    // the text at the anchor plus (+5, -10); the dot 2 pixels about the anchor
    const DrawCall& dot = *green.back();
    EXPECT_NEAR(last->a[0] - 5, dot.a[0] + 2, 1.0);
    EXPECT_NEAR(last->a[1] + 10, dot.a[1] + 2, 1.0);
    // all 58 figures are drawn before it
    EXPECT_EQ(Labels().size(), 58u);

    rec.clear();
    select_d = 4;
    DispStar(&area);
    int in_front = Count(DrawCall::FillArc, kGreen);
    EXPECT_GT(in_front, 0);
    EXPECT_LT(in_front, 219);
    EXPECT_NE(rec.findText("1457αTau畢大星"), nullptr);  // Aldebaran high in the south
}
