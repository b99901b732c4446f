// What the window says about its picture, checked against the picture:
// the notes of where the bodies and labels went agree with the recorded
// drawing calls, the read-outs are found where they are drawn, the
// sentences carry the rows' times; the steps of time travel at the calendar's
// bounds and over the dropped days of 1582; the reminders once per event
// whatever the clock does; the [reminders] settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/koyomi.h"
#include "app/readouts.h"
#include "app/reminder_book.h"
#include "app/time_travel.h"
#include "app/window_texts.h"
#include "toolkit/sjis.h"
#include "panels/constellations.h"
#include "panels/labels.h"
#include "panels/panels.h"
#include "panels/scene_notes.h"
#include "tests/core/repaint_capture.h"
#include "timecal/clock.h"

namespace {

using repaint_capture::CaptureRepaint;
using repaint_capture::Instant;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

int64_t At(int y, int mo, int d, int h, int mi, int s) { return Clock_CivilFromFields(y, mo, d, h, mi, s); }

}  // namespace

// Every body the notes call shown was drawn as a disc centred where the
// note says, with its label beside it; every noted constellation label was
// drawn at its place with its text; the record kept is the one drawn.
TEST(SceneNotes, AgreeWithTheDrawingCalls)
{
    for (const Instant& t : {Instant{2026, 12, 6, 21, 0, 0}, Instant{2027, 3, 20, 4, 30, 0},
                             Instant{1850, 7, 1, 12, 0, 0}}) {
        SCOPED_TRACE(repaint_capture::InstantText(t));
        const std::vector<DrawCall> calls = CaptureRepaint(t);
        const SceneNotes& notes = Scene_Notes();
        int shown = 0;
        for (int i = 0; i < kPanelBodies; ++i) {
            const SceneBody& b = notes.bodies[i];
            if (!b.shown) continue;
            ++shown;
            const std::string label = std::string(Pla1[i]);
            bool disc = false, text = false;
            for (size_t k = 0; k < calls.size(); ++k) {
                const DrawCall& c = calls[k];
                if (c.op == DrawCall::Text && Has(c.text, label) && k + 1 < calls.size() &&
                    calls[k + 1].op == DrawCall::FillArc) {
                    text = true;
                    const DrawCall& a = calls[k + 1];
                    // the disc's box centre, to a pixel (the box is whole pixels)
                    disc = std::abs(a.a[0] + a.a[2] / 2.0 - b.x) <= 1.0 &&
                           std::abs(a.a[1] + a.a[3] / 2.0 - b.y) <= 1.0 &&
                           std::abs(a.a[2] / 2.0 - b.r) <= 0.5;
                }
            }
            EXPECT_TRUE(text) << "no label of body " << i;
            EXPECT_TRUE(disc) << "body " << i << " noted at " << b.x << "," << b.y;
            EXPECT_GE(b.el, -90.0);
            EXPECT_LE(b.el, 90.0);
        }
        EXPECT_GT(shown, 0);
        EXPECT_FALSE(notes.labels.empty());
        for (const SceneLabel& l : notes.labels) {
            bool drawn = false;
            for (const DrawCall& c : calls)
                drawn |= c.op == DrawCall::Text && c.a[0] == l.x && c.a[1] == l.y &&
                         c.text == Star3[l.constellation];
            EXPECT_TRUE(drawn) << "label " << l.constellation;
        }
        const KoyomiReadouts& r = Koyomi_Shown();
        EXPECT_EQ(r.at.civil.tm_hour, t.hour);
        EXPECT_EQ(r.line_year, t.year);
    }
}

// The read-outs are found under the middle of their drawn texts and not
// beside them; the sentences give the rows' hours and minutes.
TEST(ReadoutTexts, FoundWhereDrawnAndSaidAsDrawn)
{
    const std::vector<DrawCall> calls = CaptureRepaint(Instant{2026, 12, 6, 21, 0, 0});
    const KoyomiReadouts& r = Koyomi_Shown();
    struct Expect { const char* prefix; ReadoutSpot spot; int index; };
    const Expect expects[] = {
        {"日の出", ReadoutSpot::Sunrise, 0}, {"日の入", ReadoutSpot::Sunset, 0},
        {"月の出", ReadoutSpot::Moonrise, 0}, {"月の入", ReadoutSpot::Moonset, 0},
        {"時刻", ReadoutSpot::Clock, 0},     {"東経", ReadoutSpot::Longitude, 0},
        {"北緯", ReadoutSpot::Latitude, 0},  {"方位角", ReadoutSpot::Azimuth, 0},
        {"満", ReadoutSpot::Tide, 0},        {"干", ReadoutSpot::Tide, 2},
        {"月齢", ReadoutSpot::MoonAge, 0},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.prefix);
        const DrawCall* found = nullptr;
        for (const DrawCall& c : calls)
            if (c.op == DrawCall::Text && c.text.rfind(e.prefix, 0) == 0) { found = &c; break; }
        ASSERT_NE(found, nullptr);
        // the text is centred on its box's height; 7 pixels a column
        const double mid_x = found->a[0] + found->text.size() * 7 / 2.0;
        const double mid_y = found->a[1] + found->a[3] / 2.0;
        int index = -1;
        EXPECT_EQ(Readout_At(r, mid_x, mid_y, &index), e.spot);
        EXPECT_EQ(index, e.index);
        EXPECT_EQ(Readout_At(r, found->a[0] + found->text.size() * 7 + 3, mid_y, &index),
                  ReadoutSpot::None);
        EXPECT_FALSE(Readout_Tooltip(r, e.spot, e.index).empty());
    }
    // the sunrise row prints "日の出 06:35": the sentence says 6時35分
    char row[32];
    std::snprintf(row, sizeof row, "%d時%d分", static_cast<int>(r.sunrise),
                  static_cast<int>((r.sunrise - static_cast<int>(r.sunrise)) * 60));
    const std::string sentences = Readout_Sentences(r);
    EXPECT_TRUE(Has(sentences, U8(u8"日の出 ") + SjisToUtf8(row))) << sentences;
    EXPECT_TRUE(Has(sentences, U8(u8"日時 2026年12月6日 21時0分"))) << sentences;
    EXPECT_TRUE(Has(sentences, U8(u8"方位角 0度 (南)"))) << sentences;
    // a moment later in the same minute says the same (no change to announce)
    CaptureRepaint(Instant{2026, 12, 6, 21, 0, 59});
    EXPECT_EQ(Readout_Sentences(Koyomi_Shown()), sentences);
    EXPECT_EQ(Readout_HourMinute(23.0, false), U8(u8"なし"));
    EXPECT_EQ(Readout_HourMinute(23.0, true), U8(u8"23時0分"));  // an event at 23:00
}

// With the English labels the date line still splits into the date and the
// Julian day, the sentences are English, and no tooltip (in the C locale's
// messages) keeps a Japanese label.
TEST(ReadoutTexts, EnglishLabelsFoundAndSaid)
{
    const std::vector<DrawCall> calls =
        CaptureRepaint(Instant{2026, 12, 6, 21, 0, 0}, [] { Labels_Use(LabelSet::English); });
    const KoyomiReadouts& r = Koyomi_Shown();
    auto ascii = [](const std::string& s) {
        for (unsigned char c : s)
            if (c >= 0x80) return false;
        return true;
    };
    const DrawCall* line = nullptr;
    for (const DrawCall& c : calls)
        if (c.op == DrawCall::Text && Has(c.text, "Julian day")) line = &c;
    ASSERT_NE(line, nullptr);
    const double mid_y = line->a[1] + line->a[3] / 2.0;
    int index = -1;
    EXPECT_EQ(Readout_At(r, line->a[0] + 15 * 7, mid_y, &index), ReadoutSpot::DateTime);
    EXPECT_EQ(Readout_At(r, line->a[0] + (line->text.find("Julian") + 3) * 7, mid_y, &index),
              ReadoutSpot::JulianDay);
    const std::string sentences = Readout_Sentences(r);
    EXPECT_TRUE(ascii(sentences)) << sentences;
    EXPECT_TRUE(Has(sentences, "Date 2026-12-06 21:00")) << sentences;
    EXPECT_TRUE(Has(sentences, "azimuth 0 degrees (S)")) << sentences;
    for (ReadoutSpot spot : {ReadoutSpot::DateTime, ReadoutSpot::JulianDay, ReadoutSpot::Sunrise,
                             ReadoutSpot::Moonset, ReadoutSpot::Clock, ReadoutSpot::Longitude,
                             ReadoutSpot::Azimuth, ReadoutSpot::TideTitle, ReadoutSpot::Tide,
                             ReadoutSpot::MoonAge}) {
        const std::string tip = Readout_Tooltip(r, spot, 0);
        EXPECT_TRUE(ascii(tip) && !tip.empty()) << tip;
    }
    Labels_Use(LabelSet::Japanese);
}

// Every constellation's label has a Latin name and a Japanese name.
TEST(ReadoutTexts, ConstellationNames)
{
    for (int c = 0; c < kConstellations; ++c) {
        const std::string tip = Constellation_Tooltip(c);
        const std::string label = SjisToUtf8(Star3[c]);
        const std::string abbr = label.substr(0, label.find('.'));
        // (two constellations' Latin names are their abbreviations)
        if (abbr != "Ara" && abbr != "Leo") {
            EXPECT_FALSE(Has(tip, ": " + abbr + ",")) << "no Latin name: " << tip;
        }
        EXPECT_TRUE(Has(tip, U8(u8"座"))) << tip;
    }
    EXPECT_TRUE(Has(Constellation_Tooltip(59), U8(u8"Orion, オリオン座")))
        << Constellation_Tooltip(59);
}

// Steps of an hour, a day and a lunar month; the bounds of years 1 and
// 9999 stop the step with a note; the dropped days of 1582 are stepped over.
TEST(TimeTravel, StepsBoundsAndTheCalendarReform)
{
    std::string note;
    const int64_t t = At(2026, 12, 6, 21, 0, 0);
    EXPECT_EQ(Travel_Step(t, TravelStep::Hour, -1, &note), At(2026, 12, 6, 20, 0, 0));
    EXPECT_TRUE(note.empty());
    EXPECT_EQ(Travel_Step(t, TravelStep::Day, 1, &note), At(2026, 12, 7, 21, 0, 0));
    // 29.53 days = 29 d 12 h 43 min 12 s
    EXPECT_EQ(Travel_Step(t, TravelStep::LunarMonth, 1, &note), At(2027, 1, 5, 9, 43, 12));
    EXPECT_EQ(Travel_Step(t, TravelStep::LunarMonth, -1, &note), At(2026, 11, 7, 8, 16, 48));

    // the reform: Julian 1582-10-04 is followed by Gregorian 1582-10-15
    EXPECT_EQ(Travel_Step(At(1582, 10, 4, 12, 0, 0), TravelStep::Day, 1, &note),
              At(1582, 10, 15, 12, 0, 0));
    EXPECT_FALSE(note.empty());
    EXPECT_EQ(Travel_Step(At(1582, 10, 15, 0, 30, 0), TravelStep::Hour, -1, &note),
              At(1582, 10, 4, 23, 30, 0));
    EXPECT_FALSE(note.empty());
    EXPECT_EQ(Travel_Step(At(1582, 10, 16, 0, 0, 0), TravelStep::Day, -1, &note),
              At(1582, 10, 15, 0, 0, 0));
    EXPECT_TRUE(note.empty());

    // the bounds: the step stops there, with a message; a step back in is free
    const int64_t first = At(1, 1, 1, 0, 0, 0), last = At(9999, 12, 31, 0, 0, 0);
    EXPECT_EQ(Travel_Step(At(1, 1, 20, 0, 0, 0), TravelStep::LunarMonth, -1, &note), first);
    EXPECT_TRUE(Has(note, "0001")) << note;
    EXPECT_EQ(Travel_Step(first, TravelStep::Hour, -1, &note), first);
    EXPECT_FALSE(note.empty());
    EXPECT_EQ(Travel_Step(At(9999, 12, 30, 23, 0, 0), TravelStep::Hour, 2, &note), last);
    EXPECT_TRUE(Has(note, "9999")) << note;
    // the clock ran on past the bound: a step forward stays
    EXPECT_EQ(Travel_Step(At(9999, 12, 31, 5, 0, 0), TravelStep::Day, 1, &note),
              At(9999, 12, 31, 5, 0, 0));
    EXPECT_FALSE(note.empty());
    EXPECT_EQ(Travel_Step(last, TravelStep::Day, -1, &note), At(9999, 12, 30, 0, 0, 0));
    EXPECT_TRUE(note.empty());

    EXPECT_EQ(Travel_OffsetText(t + 3600, t), "1 h 0 min ahead of now");
    EXPECT_EQ(Travel_OffsetText(t - 86400 - 3600 - 61, t), "1 d 1 h 1 min behind now");
    EXPECT_EQ(Travel_OffsetText(t + 59, t), "0 min ahead of now");
}

// One reminder per event: due from the lead time up to the event, never for
// a past event, not again after the clock goes back, none after a jump past
// the event; nothing when off or for kinds not chosen.
TEST(Reminders, OncePerEventWhateverTheClockDoes)
{
    const int64_t rise = At(2026, 12, 7, 6, 35, 0), set = At(2026, 12, 7, 16, 27, 0);
    const std::vector<ReminderEvent> events = {{ReminderKind::Sunrise, rise},
                                               {ReminderKind::Sunset, set}};
    ReminderSettings on;
    on.enabled = true;
    on.minutes = 10;

    ReminderBook book;
    EXPECT_TRUE(book.due(events, rise - 601, on).empty());      // not yet
    ASSERT_EQ(book.due(events, rise - 600, on).size(), 1u);     // the lead reached
    EXPECT_TRUE(book.due(events, rise - 599, on).empty());      // once
    EXPECT_TRUE(book.due(events, rise - 3600, on).empty());     // the clock set back an hour
    EXPECT_TRUE(book.due(events, rise - 300, on).empty());      // ... and on into the lead again
    // a suspend over the sunset: resumed after it, nothing (it is past)
    EXPECT_TRUE(book.due(events, set + 1, on).empty());
    // the clock set back into the sunset's lead: never sent, and still to
    // come at this reading, so due once
    EXPECT_EQ(book.due(events, set - 300, on).size(), 1u);
    EXPECT_TRUE(book.due(events, set - 200, on).empty());

    ReminderBook fresh;
    EXPECT_TRUE(fresh.due(events, set, on).empty());            // at the event: past
    EXPECT_TRUE(fresh.due(events, set + 3600, on).empty());     // jumped past it
    const auto later = fresh.due(events, set - 60, on);         // clock back into its lead
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].kind, ReminderKind::Sunset);

    ReminderSettings off = on;
    off.enabled = false;
    ReminderBook quiet;
    EXPECT_TRUE(quiet.due(events, rise - 60, off).empty());
    ReminderSettings sunset_only = on;
    sunset_only.kinds[static_cast<int>(ReminderKind::Sunrise)] = false;
    EXPECT_TRUE(quiet.due(events, rise - 60, sunset_only).empty());

    // the events of a record: the rows' times, none for the no-event value
    CaptureRepaint(Instant{2026, 12, 6, 21, 0, 0});
    const KoyomiReadouts& r = Koyomi_Shown();
    const std::vector<ReminderEvent> day = Reminder_Events(r);
    ASSERT_FALSE(day.empty());
    EXPECT_EQ(day[0].kind, ReminderKind::Sunrise);
    const struct tm s = Clock_Fields(day[0].at);
    EXPECT_EQ(s.tm_mday, 6);
    EXPECT_EQ(s.tm_hour, static_cast<int>(r.sunrise));
}

// The [reminders] group: values read, bad ones warned about and left at
// their defaults, no group or no file: off.
TEST(Reminders, Settings)
{
    const std::string path = ::testing::TempDir() + "reminders_test.ini";
    std::vector<std::string> warnings;
    {
        std::ofstream(path) << "[reminders]\nenabled = true\nminutes = 25\nevents = sunrise;low\n";
        const ReminderSettings s = Reminder_ReadSettings(path, &warnings);
        EXPECT_TRUE(s.enabled);
        EXPECT_EQ(s.minutes, 25);
        EXPECT_TRUE(s.kinds[static_cast<int>(ReminderKind::Sunrise)]);
        EXPECT_TRUE(s.kinds[static_cast<int>(ReminderKind::LowWater)]);
        EXPECT_FALSE(s.kinds[static_cast<int>(ReminderKind::Sunset)]);
        EXPECT_TRUE(warnings.empty());
    }
    {
        std::ofstream(path) << "[reminders]\nenabled = yes\nminutes = 2000\nevents = dawn\n";
        const ReminderSettings s = Reminder_ReadSettings(path, &warnings);
        EXPECT_FALSE(s.enabled);
        EXPECT_EQ(s.minutes, 10);
        EXPECT_EQ(warnings.size(), 3u);
    }
    warnings.clear();
    std::ofstream(path) << "[observer]\nlatitude = 35\n";
    EXPECT_FALSE(Reminder_ReadSettings(path, &warnings).enabled);
    EXPECT_FALSE(Reminder_ReadSettings(path + ".none", &warnings).enabled);
    EXPECT_TRUE(warnings.empty());
    std::remove(path.c_str());
}
