// Whole repaints captured into the recorder, and a compact text form of
// them that catches any change of a call: every text call in full, the
// number of calls of each kind, a 64-bit hash of the whole list and one of
// each run of kSegment calls (which tells where a change begins).
//
// Used by repaint_golden_test.cpp against tests/golden/repaints.txt; any
// test that must prove "the picture at the defaults is unchanged" can take
// the blocks of that file (GoldenBlocks), capture each instant after its own
// preparation (CaptureRepaint with prepare) and compare SummaryText.
#pragma once
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/koyomi.h"
#include "app/settings.h"
#include "toolkit/recorder.h"
#include "toolkit/ws.h"
#include "ephem/position.h"
#include "events/tide.h"
#include "tests/core/fixed_clock.h"
#include "timecal/timerec.h"

namespace repaint_capture {

// A civil instant of the observer (Tokyo civil time at the defaults).
struct Instant {
    int year, month, day, hour, minute, second;
};

inline std::string InstantText(const Instant& t)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

// The state the program starts with: the settings and the shared records
// (the star chart draws the Star record's name beside each figure star,
// empty until a catalogue pass fills it).
inline void ResetToStart()
{
    Settings_Reset();
    Sun = Moon = Planet = Star = tagPosition{};
    Auto_Time = tagTime_Day{};
    for (double& v : Tide) v = 0.0;
}

// One whole repaint (Koyomi_Pla) at the instant, from the state at start;
// prepare, when given, runs after the reset (a test that sets settings of
// its own and expects the picture of the defaults).
inline std::vector<DrawCall> CaptureRepaint(const Instant& t,
                                            const std::function<void()>& prepare = {})
{
    ResetToStart();
    if (prepare) prepare();
    testing_clock::FixedClock clock(t.year, t.month, t.day, t.hour, t.minute, t.second);
    Recorder rec;
    WSCvdrawingArea area(nullptr, "capture");
    area.setPainter(&rec);
    Koyomi_Pla(&area);
    return rec.calls;
}

constexpr int kKinds = 7;
inline const char* KindName(DrawCall::Op op)
{
    static const char* const names[kKinds] = {"Color", "LineWidth", "FillRect", "Line",
                                              "Arc",   "FillArc",   "Text"};
    return names[op];
}

// Text bytes (Shift_JIS) with every byte outside printable ASCII, the quote
// and the backslash written \xHH.
inline std::string Escaped(const std::string& bytes)
{
    std::string out;
    for (unsigned char ch : bytes) {
        if (ch >= 0x20 && ch < 0x7f && ch != '"' && ch != '\\') {
            out += static_cast<char>(ch);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", ch);
            out += hex;
        }
    }
    return out;
}

// One call as one line: kind, its arguments, the colour and line width in
// force, and for a text its bytes.
inline std::string FormatCall(const DrawCall& c)
{
    char buf[160];
    switch (c.op) {
    case DrawCall::Color:
        std::snprintf(buf, sizeof buf, "Color %06x", static_cast<unsigned>(c.a[0]));
        return buf;
    case DrawCall::LineWidth:
        std::snprintf(buf, sizeof buf, "LineWidth %d", c.a[0]);
        return buf;
    case DrawCall::FillRect:
    case DrawCall::Line:
        std::snprintf(buf, sizeof buf, "%s %d %d %d %d c=%06x w=%d", KindName(c.op), c.a[0],
                      c.a[1], c.a[2], c.a[3], static_cast<unsigned>(c.color), c.width);
        return buf;
    case DrawCall::Arc:
    case DrawCall::FillArc:
        std::snprintf(buf, sizeof buf, "%s %d %d %d %d %d %d c=%06x w=%d", KindName(c.op), c.a[0],
                      c.a[1], c.a[2], c.a[3], c.a[4], c.a[5], static_cast<unsigned>(c.color),
                      c.width);
        return buf;
    case DrawCall::Text:
        std::snprintf(buf, sizeof buf, "Text %d %d %d %d c=%06x ", c.a[0], c.a[1], c.a[2], c.a[3],
                      static_cast<unsigned>(c.color));
        return buf + ("\"" + Escaped(c.text) + "\"");
    }
    return "?";
}

// FNV-1a, 64 bits, over the formatted lines (each ended by a newline).
class Hash64 {
public:
    void add(const std::string& line)
    {
        for (unsigned char ch : line) step(ch);
        step('\n');
    }
    uint64_t value() const { return h_; }

private:
    void step(unsigned char ch)
    {
        h_ ^= ch;
        h_ *= 0x100000001b3ULL;
    }
    uint64_t h_ = 0xcbf29ce484222325ULL;
};

constexpr size_t kSegment = 512;  // calls per segment hash

// The compact form of one repaint (see the top of this file), as lines.
inline std::string SummaryText(const Instant& t, const std::vector<DrawCall>& calls)
{
    long counts[kKinds] = {};
    Hash64 whole, segment;
    std::vector<uint64_t> segments;
    std::string texts;
    for (size_t i = 0; i < calls.size(); ++i) {
        const std::string line = FormatCall(calls[i]);
        ++counts[calls[i].op];
        whole.add(line);
        segment.add(line);
        if ((i + 1) % kSegment == 0 || i + 1 == calls.size()) {
            segments.push_back(segment.value());
            segment = Hash64();
        }
        if (calls[i].op == DrawCall::Text) texts += "  " + line + "\n";
    }
    std::ostringstream out;
    char hex[24];
    out << "instant " << InstantText(t) << "\n";
    out << "calls " << calls.size();
    for (int k = 0; k < kKinds; ++k)
        out << " " << KindName(static_cast<DrawCall::Op>(k)) << "=" << counts[k];
    out << "\n";
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(whole.value()));
    out << "hash " << hex << "\n";
    for (size_t s = 0; s < segments.size(); ++s) {
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(segments[s]));
        out << "segment " << s * kSegment << " " << hex << "\n";
    }
    out << texts;
    out << "end\n";
    return out.str();
}

inline std::string RepaintSummaryText(const Instant& t)
{
    return SummaryText(t, CaptureRepaint(t));
}

// The full list of calls, one line each (for a diff against another build).
inline std::string FullText(const std::vector<DrawCall>& calls)
{
    std::string out;
    for (const DrawCall& c : calls) out += FormatCall(c) + "\n";
    return out;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The blocks of a golden text (tests/golden/repaints.txt): each from its
// "instant" line to its "end" line, with the instant it names.
struct GoldenBlock {
    Instant at;
    std::string text;
};
inline std::vector<GoldenBlock> GoldenBlocks(const std::string& text)
{
    std::vector<GoldenBlock> blocks;
    size_t at = text.find("instant ");
    while (at != std::string::npos) {
        size_t end = text.find("\nend\n", at);
        if (end == std::string::npos) break;
        GoldenBlock b{};
        std::sscanf(text.c_str() + at, "instant %d-%d-%d %d:%d:%d", &b.at.year, &b.at.month,
                    &b.at.day, &b.at.hour, &b.at.minute, &b.at.second);
        b.text = text.substr(at, end + 5 - at);
        blocks.push_back(b);
        at = text.find("instant ", end);
    }
    return blocks;
}

// Line number (from 1) and both lines where two texts first differ.
inline std::string FirstDifference(const std::string& expected, const std::string& actual)
{
    std::istringstream e(expected), a(actual);
    std::string le, la;
    for (int n = 1;; ++n) {
        bool he = static_cast<bool>(std::getline(e, le));
        bool ha = static_cast<bool>(std::getline(a, la));
        if (!he && !ha) return "no difference";
        if (le != la || he != ha)
            return "line " + std::to_string(n) + "\n  expected: " + (he ? le : "(none)") +
                   "\n  actual:   " + (ha ? la : "(none)");
    }
}

}  // namespace repaint_capture
