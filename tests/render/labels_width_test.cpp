// The English texts of the picture in the real face at scale 1 and 2: each
// read-out, heading and direction no wider than its Japanese text with the
// same values, so that it stays inside the column the Japanese one keeps.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <string>

#include "panels/labels.h"
#include "shell/cairo/cairo_painter.h"
#include "toolkit/ws.h"

namespace {

// The width in device pixels of a Shift_JIS text as the picture draws it
// (font table entry 1, as the program loads it).
int Width(const std::string& sjis, double scale)
{
    static std::string entry =
        reinterpret_cast<const char*>(u8"14,0,0,0,700,0,0,0,128,3,2,1,49,ＭＳ ゴシック");
    static char* table[] = {entry.data(), entry.data(), nullptr};
    WSGFloadFontData(table);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2200, 100);
    cairo_t* cr = cairo_create(s);
    int w = 0;
    {
        CairoPainter painter;
        painter.begin(cr, scale);
        painter.text(0, 10, 600, 30, sjis.data(), sjis.size());
        w = painter.lastTextWidth();
        EXPECT_EQ(painter.lastTextUnknownGlyphs(), 0) << "a glyph missing in the face";
        painter.end();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return w;
}

// A label or format of both sets with sample values, as the rows print it.
struct Sample {
    LabelId id;
    std::string (*text)(const char* label);
};

std::string Print(const char* format, double a, double b = 0, double c = 0)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, format, a, b, c);
    return buf;
}

}  // namespace

TEST(LabelWidths, EnglishStaysInsideTheJapaneseColumn)
{
    const Sample samples[] = {
        {LabelId::DateLine,
         [](const char* f) {
             char buf[128];
             std::snprintf(buf, sizeof buf, f, 2026, 12, 6, 21, 0, 0, 2461381.0);
             return std::string(buf);
         }},
        {LabelId::Sunrise, [](const char* l) { return std::string(l) + " 06:35"; }},
        {LabelId::Sunset, [](const char* l) { return std::string(l) + " 16:27"; }},
        {LabelId::Moonrise, [](const char* l) { return std::string(l) + " 03:52"; }},
        {LabelId::Moonset, [](const char* l) { return std::string(l) + " --"; }},
        {LabelId::Clock, [](const char* f) { return Print(f, 21, 0, 0); }},
        {LabelId::EastLongitude, [](const char* f) { return Print(f, 139.7); }},
        {LabelId::WestLongitude, [](const char* f) { return Print(f, 179.9); }},
        {LabelId::NorthLatitude, [](const char* f) { return Print(f, 35.6); }},
        {LabelId::SouthLatitude, [](const char* f) { return Print(f, 89.9); }},
        {LabelId::Azimuth, [](const char* f) { return Print(f, -360); }},
        {LabelId::TideHeading, [](const char* l) { return std::string(l); }},
        {LabelId::TidesNone, [](const char* l) { return std::string(l); }},
        {LabelId::HighTime, [](const char* f) { return Print(f, 3, 52); }},
        {LabelId::LowTime, [](const char* f) { return Print(f, 22, 13); }},
        {LabelId::HighNone, [](const char* l) { return std::string(l); }},
        {LabelId::LowNone, [](const char* l) { return std::string(l); }},
        {LabelId::MoonAge, [](const char* f) { return Print(f, 29.5); }},
    };
    for (double scale : {1.0, 2.0}) {
        for (const Sample& s : samples) {
            const LabelPair& p = Labels_Pair(s.id);
            const std::string ja = s.text(p.japanese), en = s.text(p.english);
            const int wj = Width(ja, scale), we = Width(en, scale);
            EXPECT_GT(we, 0) << en;
            EXPECT_LE(we, wj) << "\"" << en << "\" at scale " << scale << ": " << we
                              << " pixels, its Japanese text " << wj;
        }
        for (int k = 0; k < 8; ++k) {
            const LabelPair& p = Labels_DirectionPair(k);
            EXPECT_LE(Width(p.english, scale), Width(p.japanese, scale)) << p.english;
        }
        // a station's heading at its widest: eight cells of name, then 潮汐
        // and the tide's name, or in English a blank and the brief name
        for (const char* name : {"大潮", "中潮", "小潮", "長潮", "若潮"}) {
            const std::string ja = std::string("Kushimot潮汐") + name;
            Labels_Use(LabelSet::English);
            const std::string en = std::string("Kushimot ") + Labels_TideName(name, true);
            Labels_Use(LabelSet::Japanese);
            EXPECT_NE(en.substr(9), name) << "no English name for a tide";
            EXPECT_LE(Width(en, scale), Width(ja, scale)) << en << " at scale " << scale;
        }
    }
}
