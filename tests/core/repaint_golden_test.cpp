// Whole repaints at fixed instants, call for call, against the golden data
// written by the program before the module split (tests/golden/repaints.txt,
// see tests/golden/README.md). Any change of a number, a colour, a text or
// the order of the calls fails here.
//
//   TENMADO_REPAINT_DUMP=DIR           also write every instant's full call
//                                      list to DIR/<instant>.calls
//   TENMADO_REPAINT_GOLDEN_WRITE=1     rewrite the golden file from this
//                                      build (only after an intended change)
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/core/repaint_capture.h"

namespace {

using repaint_capture::Instant;

const Instant kInstants[] = {
    {2026, 12, 6, 15, 0, 0},    // the README's afternoon
    {2026, 12, 31, 23, 59, 59}, // the last second of a year ...
    {2027, 1, 1, 0, 0, 0},      // ... and the first of the next
    {2026, 12, 2, 21, 30, 0},   // no moonrise on the date: "月の出 --"
    {2026, 12, 16, 4, 10, 0},   // the moonset at 22:59:57: "月の入 23:00"
    {2026, 12, 3, 9, 0, 0},     // a high water missing: "満 --"
    {1899, 12, 31, 21, 0, 0},   // before 1900: local mean time in JD
    {2100, 12, 31, 22, 30, 0},  // late in 2100
};

const char* const kHeader =
    "# Recorder calls of whole repaints (Koyomi_Pla) at the settings at start,\n"
    "# Tokyo civil time; written by tests/core/repaint_golden_test.cpp.\n";

std::string FileName(const Instant& t)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

}  // namespace

TEST(RepaintGolden, WholeRepaintsAtFixedInstants)
{
    const std::string path = TENMADO_SOURCE_DIR "/tests/golden/repaints.txt";
    const char* dump = std::getenv("TENMADO_REPAINT_DUMP");
    const char* write = std::getenv("TENMADO_REPAINT_GOLDEN_WRITE");

    std::vector<std::string> actual;
    for (const Instant& t : kInstants) {
        const std::vector<DrawCall> calls = repaint_capture::CaptureRepaint(t);
        actual.push_back(repaint_capture::SummaryText(t, calls));
        if (dump) {
            std::ofstream out(std::string(dump) + "/" + FileName(t) + ".calls", std::ios::binary);
            out << repaint_capture::FullText(calls);
        }
    }

    if (write && std::string(write) == "1") {
        std::ofstream out(path, std::ios::binary);
        out << kHeader;
        for (const std::string& block : actual) out << block;
        GTEST_SKIP() << "golden data written to " << path;
    }

    const std::vector<repaint_capture::GoldenBlock> expected =
        repaint_capture::GoldenBlocks(repaint_capture::ReadFile(path));
    ASSERT_EQ(expected.size(), actual.size()) << "instants in " << path;
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(repaint_capture::InstantText(expected[i].at),
                  repaint_capture::InstantText(kInstants[i]));
        EXPECT_EQ(expected[i].text == actual[i], true)
            << repaint_capture::InstantText(kInstants[i]) << ": the repaint differs at "
            << repaint_capture::FirstDifference(expected[i].text, actual[i])
            << "\n(TENMADO_REPAINT_DUMP=DIR writes the full call lists; see tests/golden/README.md)";
    }
}
