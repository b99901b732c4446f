// The two label sets: the choice and its resolution, the English repaint
// drawing everything the Japanese one draws with only the texts changed
// (and all of them English), and the rows' labels in the table of days (the
// settings file and the options: tests/scripts/messages.sh).
#include <gtest/gtest.h>

#include <string>

#include "app/almanac.h"
#include "app/readout_rows.h"
#include "panels/labels.h"
#include "tests/core/repaint_capture.h"

TEST(Labels, ChoiceAndResolution)
{
    LabelChoice c = LabelChoice::Japanese;
    EXPECT_TRUE(Labels_ParseChoice("en", &c));
    EXPECT_EQ(c, LabelChoice::English);
    EXPECT_TRUE(Labels_ParseChoice("auto", &c));
    EXPECT_EQ(c, LabelChoice::Auto);
    for (const char* bad : {"", "EN", "ja ", "english", "jp"})
        EXPECT_FALSE(Labels_ParseChoice(bad, &c)) << bad;
    EXPECT_FALSE(Labels_ParseChoice(nullptr, &c));

    for (const char* ja : {"ja", "ja_JP", "ja_JP.UTF-8", "ja_JP.eucJP", "ja@x"})
        EXPECT_EQ(Labels_Resolve(LabelChoice::Auto, ja), LabelSet::Japanese) << ja;
    // jam (Jamaican) and jv are not Japanese
    for (const char* other : {"C", "en_US.UTF-8", "de", "jam", "jv", ""})
        EXPECT_EQ(Labels_Resolve(LabelChoice::Auto, other), LabelSet::English) << other;
    EXPECT_EQ(Labels_Resolve(LabelChoice::Auto, nullptr), LabelSet::English);
    EXPECT_EQ(Labels_Resolve(LabelChoice::Japanese, "en"), LabelSet::Japanese);
    EXPECT_EQ(Labels_Resolve(LabelChoice::English, "ja"), LabelSet::English);
}

// Every call of the English repaint is the Japanese one's but for the
// strings, which are printable ASCII: no Japanese text is left behind and
// nothing else moves.
TEST(Labels, EnglishRepaintChangesOnlyTheTexts)
{
    const repaint_capture::Instant instants[] = {
        {2026, 12, 6, 15, 0, 0}, {1899, 12, 31, 21, 0, 0}, {2026, 12, 31, 23, 59, 59}};
    for (const auto& t : instants) {
        const auto ja = repaint_capture::CaptureRepaint(t);
        const auto en =
            repaint_capture::CaptureRepaint(t, [] { Labels_Use(LabelSet::English); });
        ASSERT_EQ(ja.size(), en.size()) << repaint_capture::InstantText(t);
        int texts = 0;
        for (size_t i = 0; i < ja.size(); ++i) {
            const DrawCall &a = ja[i], &b = en[i];
            ASSERT_EQ(a.op, b.op) << i;
            for (int k = 0; k < 6; ++k) EXPECT_EQ(a.a[k], b.a[k]) << "call " << i;
            EXPECT_EQ(a.color, b.color) << i;
            if (a.op != DrawCall::Text) continue;
            ++texts;
            for (unsigned char ch : b.text)
                EXPECT_TRUE(ch >= 0x20 && ch < 0x7f) << "not English: " << b.text;
        }
        EXPECT_GT(texts, 20);
    }
    Settings_Reset();
}

// A row's label is the text before its value: the table of days heads its
// columns with them and cuts them off the values.
TEST(Labels, TableOfDaysInEnglish)
{
    Settings_Reset();
    Labels_Use(LabelSet::English);
    testing_clock::FixedClock clock(2026, 12, 6, 15, 0, 0);
    const std::string table = Almanac_DaysText(2);
    EXPECT_EQ(table.substr(0, table.find('\n')),
              "Date        S.rise S.set  M.rise M.set  H      H      L      L      Age");
    EXPECT_NE(table.find("\n2026/12/06  06:35  16:27  03:52  14:13  03:52  15:14  09:33  22:13  27.0\n"),
              std::string::npos)
        << table;
    Settings_Reset();
}
