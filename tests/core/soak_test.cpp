// Soak: the whole picture at thousands of instants over two centuries.
//
// Every instant is painted into the recorder with Koyomi_Pla, then checked:
// the four rise/set searches and the new-moon search return, every value
// handed to the drawing operations was finite and inside the 16-bit range
// (the counters of NarrowShort and friends), every text is valid Shift_JIS
// without "nan" or "inf", the clock hands end where the clock reading puts
// them and the Moon's shapes stay in its disc.
//
// TENMADO_SOAK_COUNT sets the number of random instants (default 2000);
// TENMADO_SOAK_SECONDS, when set, keeps drawing random instants until that
// much time has passed (the long soak, see README.md).
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <ctime>
#include <string>
#include <vector>

#include "app/koyomi.h"
#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "events/newmoon.h"
#include "events/riseset.h"
#include "panels/narrow.h"
#include "panels/panels.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"

namespace {

constexpr long kDefaultCount = 2000;       // random instants in CI
constexpr uint64_t kSeed = 20261207;       // the random instants are the same every run

// The clock: dial box and the start points of hands and shadows.
constexpr int kDialX = 420, kDialY = 75, kDialSize = 80;
constexpr int kHandX = 460, kHandY = 115, kShadowShift = 2;
// The Moon's disc: the outline's box.
constexpr int kDiscX = 10, kDiscY = 75, kDiscSize = 80;
constexpr int kTerminatorSlack = 1;  // pixels the terminator may reach left of it

// Shift_JIS (code page 932): ASCII, half-width katakana, or a lead byte
// followed by a trail byte. On success *ascii holds the single-byte
// characters (a double-byte character as one blank), so that "nan" is not
// found across the trail byte of a kanji.
bool ValidShiftJis(const std::string& s, std::string* ascii, std::string* why)
{
    ascii->clear();
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c <= 0x7e) { *ascii += static_cast<char>(c); continue; }
        if (c >= 0xa1 && c <= 0xdf) { *ascii += ' '; continue; }
        if ((c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc)) {
            if (i + 1 >= s.size()) { *why = "lead byte at the end"; return false; }
            unsigned char t = static_cast<unsigned char>(s[i + 1]);
            if (t < 0x40 || t == 0x7f || t > 0xfc) { *why = "bad trail byte"; return false; }
            *ascii += ' ';
            ++i;
            continue;
        }
        *why = "byte outside Shift_JIS";
        return false;
    }
    return true;
}

// The text converts from CP932 to UTF-8 (every character is defined).
bool ConvertsToUtf8(const std::string& s)
{
    static iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return true;  // no converter: structure only
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string in = s;
    char out[512];
    char* ip = in.data();
    size_t il = in.size();
    char* op = out;
    size_t ol = sizeof out;
    return iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1) && il == 0;
}

bool HasNonNumber(const std::string& ascii)
{
    std::string low;
    for (char c : ascii) low += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return low.find("nan") != std::string::npos || low.find("inf") != std::string::npos;
}

// Monotonic seconds (<chrono> does not compile under the Shift_JIS
// execution character set: it spells "\u00b5s").
double Seconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

bool In16Bits(int v) { return v >= -32768 && v <= 32767; }

struct Stats {
    long instants = 0;
    long searches = 0;           // rise/set, tide and new-moon searches run
    int max_steps = 0;           // most narrowing steps of one rise/set search
    int max_samples = 0;         // most samples of one rise/set search
    double longest_ms = 0;       // longest repaint (reported, not checked)
    double longest_search_ms = 0;  // longest rise/set search (reported, not checked)
};

// A rise/set search (at the repaint's jd) returns a local time of the date
// in [0, 24] or the no-event value; its work is bounded.
void CheckSearch(double (*search)(double, int), int body, int64_t civil, const char* what, Stats& st)
{
    double t0 = Seconds();
    double t = search(jd, body);
    st.longest_search_ms = std::max(st.longest_search_ms, (Seconds() - t0) * 1000);
    ASSERT_TRUE(std::isfinite(t)) << what << " at " << civil;
    ASSERT_TRUE((t >= 0 && t <= 24) || t == kNoEvent) << what << " = " << t << " at " << civil;
    EventSearchCount n = Event_LastCount();
    st.max_steps = std::max(st.max_steps, n.max_steps);
    st.max_samples = std::max(st.max_samples, n.samples);
    ++st.searches;
}

// One repaint at a civil instant, checked call by call.
void CheckInstant(int64_t civil, Recorder& rec, WSCvdrawingArea& area, Stats& st)
{
    Clock_Fix(civil);
    rec.clear();
    NarrowCounts_Reset();
    double t0 = Seconds();
    Koyomi_Pla(&area);
    double ms = (Seconds() - t0) * 1000;
    st.longest_ms = std::max(st.longest_ms, ms);
    ++st.instants;
    st.searches += 6;  // four rise/set searches, the tides, the new moons

    // every value narrowed for the drawing operations was a number in range
    NarrowCounts nc = NarrowCounts_Get();
    ASSERT_EQ(nc.nonfinite, 0) << "NaN or infinite pixel value at " << civil;
    ASSERT_EQ(nc.out_of_range, 0) << "pixel value outside 16 bits at " << civil;

    struct tm now = Clock_Now();
    int dial = -1, outline = -1;
    for (size_t i = 0; i < rec.calls.size(); ++i) {
        const DrawCall& c = rec.calls[i];
        for (int k = 0; k < 6; ++k)
            ASSERT_TRUE(In16Bits(c.a[k]) || c.op == DrawCall::Color)
                << "argument " << k << " = " << c.a[k] << " of call " << i << " at " << civil;
        if (c.op == DrawCall::Text) {
            std::string ascii, why;
            ASSERT_TRUE(ValidShiftJis(c.text, &ascii, &why)) << why << " in text at " << civil;
            ASSERT_TRUE(ConvertsToUtf8(c.text)) << "text not convertible at " << civil;
            ASSERT_FALSE(HasNonNumber(ascii)) << "'" << ascii << "' at " << civil;
        }
        if (c.op == DrawCall::FillArc && c.a[0] == kDialX && c.a[1] == kDialY && c.a[2] == kDialSize &&
            c.a[3] == kDialSize)
            dial = static_cast<int>(i);
        if (c.op == DrawCall::Arc && c.a[0] == kDiscX && c.a[1] == kDiscY && c.a[2] == kDiscSize &&
            c.a[3] == kDiscSize)
            outline = static_cast<int>(i);
    }

    // the clock: after the dial and its rim, hour, minute and second hands,
    // each shadow first, from the centre to the truncated tip of the reading
    ASSERT_GE(dial, 0) << "no clock dial at " << civil;
    const double tips[3][2] = {
        {std::trunc(CalcHourX(now.tm_hour, now.tm_min)), std::trunc(CalcHourY(now.tm_hour, now.tm_min))},
        {std::trunc(CalcMinX(now.tm_min, now.tm_sec)), std::trunc(CalcMinY(now.tm_min, now.tm_sec))},
        {std::trunc(CalcSecX(now.tm_sec)), std::trunc(CalcSecY(now.tm_sec))},
    };
    std::vector<const DrawCall*> lines;
    for (size_t i = dial; i < rec.calls.size(); ++i)
        if (rec.calls[i].op == DrawCall::Line) lines.push_back(&rec.calls[i]);
    ASSERT_EQ(lines.size(), 6u) << "clock hands at " << civil;
    for (int h = 0; h < 3; ++h) {
        for (int shadow = 0; shadow < 2; ++shadow) {
            const DrawCall& l = *lines[2 * h + (shadow ? 0 : 1)];
            int shift = shadow ? kShadowShift : 0;
            int tx = static_cast<int>(tips[h][0]) + shift, ty = static_cast<int>(tips[h][1]) + shift;
            ASSERT_EQ(l.a[0], kHandX + shift) << "hand " << h << " at " << civil;
            ASSERT_EQ(l.a[1], kHandY + shift) << "hand " << h << " at " << civil;
            ASSERT_EQ(l.a[2], tx) << "hand " << h << " at " << civil;
            ASSERT_EQ(l.a[3], ty) << "hand " << h << " at " << civil;
            ASSERT_TRUE(tx >= kDialX && tx <= kDialX + kDialSize + shift && ty >= kDialY &&
                        ty <= kDialY + kDialSize + shift)
                << "hand " << h << " leaves the dial at " << civil;
        }
    }

    // the Moon: the outline in its box, the shapes drawn just before it
    // (colours between them) inside the same box; the terminator, at
    // x = trunc(50 + trunc(R|cos P|) - 2R|cos P|), may start one pixel left
    // of it (x 9 when R|cos P| is near 40)
    ASSERT_GE(outline, 0) << "no Moon outline at " << civil;
    int shapes = 0;
    for (int i = outline - 1; i >= 0; --i) {
        const DrawCall& c = rec.calls[i];
        if (c.op == DrawCall::Color) continue;
        if (c.op != DrawCall::FillArc || c.a[1] != kDiscY || c.a[3] != kDiscSize) break;
        ASSERT_TRUE(c.a[0] >= kDiscX - kTerminatorSlack && c.a[0] + c.a[2] <= kDiscX + kDiscSize)
            << "Moon shape x " << c.a[0] << " w " << c.a[2] << " at " << civil;
        ++shapes;
    }
    ASSERT_TRUE(shapes == 0 || shapes == 3) << shapes << " Moon shapes at " << civil;

    // the searches the repaint ran, once more with their counts: they
    // return, within the date or with the no-event value
    CheckSearch(Cal_Rise_Time, kBodySun, civil, "sunrise", st);
    CheckSearch(Cal_Set_Time, kBodySun, civil, "sunset", st);
    CheckSearch(Cal_Rise_Time, kBodyMoon, civil, "moonrise", st);
    CheckSearch(Cal_Set_Time, kBodyMoon, civil, "moonset", st);
    // the Moon's age counts from a new moon found in the 41 days searched
    double age = MoonAgeDays(jd_auto);
    ++st.searches;
    ASSERT_TRUE(age >= 0 && age < 30) << "Moon age " << age << " at " << civil;
}

// The edges: first and last instants, New Year's Eves, leap days, the day
// 1900 has no February 29, the solstices and the days of a new moon.
std::vector<int64_t> EdgeInstants()
{
    std::vector<int64_t> t = {
        Clock_CivilFromFields(1900, 1, 1, 0, 0, 0),      Clock_CivilFromFields(1900, 2, 28, 23, 59, 59),
        Clock_CivilFromFields(1900, 3, 1, 0, 0, 0),      Clock_CivilFromFields(1904, 2, 29, 12, 0, 0),
        Clock_CivilFromFields(1999, 12, 31, 23, 59, 59), Clock_CivilFromFields(2000, 1, 1, 0, 0, 0),
        Clock_CivilFromFields(2000, 2, 29, 12, 0, 0),    Clock_CivilFromFields(2024, 2, 29, 0, 0, 0),
        Clock_CivilFromFields(2026, 12, 31, 23, 59, 59), Clock_CivilFromFields(2096, 2, 29, 23, 59, 59),
        Clock_CivilFromFields(2100, 2, 28, 23, 59, 59),  Clock_CivilFromFields(2100, 3, 1, 0, 0, 0),
        Clock_CivilFromFields(2100, 12, 31, 23, 59, 59),
    };
    // New Year's Eve 23:59:59 every ten years
    for (int y = 1900; y <= 2100; y += 10) t.push_back(Clock_CivilFromFields(y, 12, 31, 23, 59, 59));
    // the solstices of 2026 and 1950 (Tokyo dates), every three hours
    for (int64_t day : {Clock_CivilFromFields(2026, 6, 21, 0, 0, 0), Clock_CivilFromFields(2026, 12, 22, 0, 0, 0),
                        Clock_CivilFromFields(1950, 6, 22, 0, 0, 0), Clock_CivilFromFields(1950, 12, 22, 0, 0, 0)})
        for (int h = 0; h < 24; h += 3) t.push_back(day + h * 3600);
    // every six hours over three months: the new moons of 2026-11-09,
    // 2026-12-09 and 2027-01-08 and the days around them
    for (int64_t s = Clock_CivilFromFields(2026, 11, 1, 0, 0, 0); s < Clock_CivilFromFields(2027, 2, 1, 0, 0, 0);
         s += 6 * 3600)
        t.push_back(s);
    // minute by minute over the hour of the new moon of 2026-12-09 (09:52 JST)
    for (int m = 0; m < 60; ++m) t.push_back(Clock_CivilFromFields(2026, 12, 9, 9, 30, 0) + m * 60);
    return t;
}

}  // namespace

TEST(Soak, NarrowingCountsWhatItClamps)
{
    NarrowCounts_Reset();
    EXPECT_EQ(NarrowShort(229.9998), 229);
    EXPECT_EQ(NarrowShort(-32768.9), -32768);  // truncates into range: not counted
    EXPECT_EQ(NarrowUShort(-0.5), 0);
    EXPECT_EQ(NarrowLong(-12.9), -12);
    EXPECT_EQ(NarrowCounts_Get().nonfinite, 0);
    EXPECT_EQ(NarrowCounts_Get().out_of_range, 0);

    EXPECT_EQ(NarrowShort(32768.0), 32767);
    EXPECT_EQ(NarrowShort(-1e12), -32768);
    EXPECT_EQ(NarrowUShort(-1.0), 0);
    EXPECT_EQ(NarrowUShort(65536.0), 65535);
    EXPECT_EQ(NarrowLong(-1e300), -2147483647L);
    EXPECT_EQ(NarrowCounts_Get().out_of_range, 5);
    EXPECT_EQ(NarrowShort(std::nan("")), -32768);
    EXPECT_EQ(NarrowShort(INFINITY), 32767);
    EXPECT_EQ(NarrowUShort(-INFINITY), 0);
    EXPECT_EQ(NarrowLong(std::nan("")), -2147483647L);
    EXPECT_EQ(NarrowCounts_Get().nonfinite, 4);
    EXPECT_EQ(NarrowCounts_Get().out_of_range, 5);
    NarrowCounts_Reset();
    EXPECT_EQ(NarrowCounts_Get().nonfinite + NarrowCounts_Get().out_of_range, 0);
}

TEST(Soak, TwoCenturiesOfRepaints)
{
    long count = kDefaultCount;
    if (const char* e = std::getenv("TENMADO_SOAK_COUNT")) count = std::atol(e);
    double seconds = 0;
    if (const char* e = std::getenv("TENMADO_SOAK_SECONDS")) seconds = std::atof(e);

    Settings_Reset();
    testing_clock::FixedClock clock(0);  // each instant fixes its own; given back at the end
    WSCvdrawingArea area(nullptr, "soak");
    Recorder rec;
    area.setPainter(&rec);
    Stats st;

    for (int64_t e : EdgeInstants()) {
        CheckInstant(e, rec, area, st);
        if (HasFatalFailure()) return;
    }

    std::mt19937_64 rng(kSeed);
    std::uniform_int_distribution<int64_t> pick(Clock_CivilFromFields(1900, 1, 1, 0, 0, 0),
                                                Clock_CivilFromFields(2100, 12, 31, 23, 59, 59));
    double start = Seconds();
    double next_note = 600;  // long soak: a line every ten minutes
    for (long n = 0;; ++n) {
        if (seconds > 0) {
            double spent = Seconds() - start;
            if (spent > seconds) break;
            if (spent > next_note) {
                std::printf("soak: %.0f s, %ld instants\n", spent, st.instants);
                std::fflush(stdout);
                next_note += 600;
            }
        } else if (n >= count) {
            break;
        }
        CheckInstant(pick(rng), rec, area, st);
        if (HasFatalFailure()) return;
    }
    RecordProperty("instants", static_cast<int>(st.instants));
    RecordProperty("searches", static_cast<int>(st.searches));
    std::printf("soak: %ld instants, %ld searches, most steps of one rise/set search %d (%d samples), "
                "longest search %.2f ms, longest repaint %.2f ms\n",
                st.instants, st.searches, st.max_steps, st.max_samples, st.longest_search_ms,
                st.longest_ms);
}

// The years the command line takes, 0001 to 9999 (with the Julian calendar
// switch of 1582): fewer instants, the same checks.
TEST(Soak, YearsOneToNineThousand)
{
    constexpr int kFarCount = 400;
    Settings_Reset();
    testing_clock::FixedClock clock(0);  // each instant fixes its own; given back at the end
    WSCvdrawingArea area(nullptr, "soak");
    Recorder rec;
    area.setPainter(&rec);
    Stats st;
    for (int64_t e : {Clock_CivilFromFields(1, 1, 1, 0, 0, 0), Clock_CivilFromFields(9999, 12, 31, 23, 59, 59),
                      Clock_CivilFromFields(1582, 10, 4, 23, 59, 59), Clock_CivilFromFields(1582, 10, 15, 0, 0, 0)}) {
        CheckInstant(e, rec, area, st);
        if (HasFatalFailure()) return;
    }
    std::mt19937_64 rng(kSeed + 1);
    std::uniform_int_distribution<int64_t> pick(Clock_CivilFromFields(1, 1, 1, 0, 0, 0),
                                                Clock_CivilFromFields(9999, 12, 31, 23, 59, 59));
    for (int n = 0; n < kFarCount; ++n) {
        CheckInstant(pick(rng), rec, area, st);
        if (HasFatalFailure()) break;
    }
}
