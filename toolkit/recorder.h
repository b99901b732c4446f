// A painter that records every call with its exact integer arguments and
// the colour and line width in force.
#pragma once
#include <string>
#include <vector>

#include "toolkit/painter.h"

struct DrawCall {
    enum Op { Color, LineWidth, FillRect, Line, Arc, FillArc, Text } op;
    int a[6] = {0, 0, 0, 0, 0, 0};  // x, y, w, h, start, extent (or x1, y1, x2, y2)
    uint32_t color = 0;             // colour in force
    int width = 0;                  // line width in force
    std::string text;               // Shift_JIS bytes (Text)
};

class Recorder : public Painter {
public:
    std::vector<DrawCall> calls;
    void clear() { calls.clear(); color_ = 0; width_ = 0; }
    void setColor(uint32_t rgb) override;
    void setLineWidth(int w) override;
    void fillRect(int x, int y, int w, int h) override;
    void line(int x1, int y1, int x2, int y2) override;
    void arc(int x, int y, int w, int h, int start, int extent, bool fill) override;
    void text(int x, int y, int w, int h, const char* sjis, size_t length) override;

    // Texts drawn, in order (Shift_JIS).
    std::vector<const DrawCall*> texts() const;
    // First text call whose bytes equal s, or null.
    const DrawCall* findText(const std::string& sjis) const;
private:
    uint32_t color_ = 0;
    int width_ = 0;
    DrawCall& push(DrawCall::Op op);
};

// "#rrggbb" to 0xRRGGBB (0 for a malformed string).
uint32_t ParseColor(const char* hex);
