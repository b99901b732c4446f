#include "toolkit/recorder.h"

// The next call record, with the colour and line width in force.
DrawCall& Recorder::push(DrawCall::Op op)
{
    DrawCall c;
    c.op = op;
    c.color = color_;
    c.width = width_;
    calls.push_back(std::move(c));
    return calls.back();
}

/*
**  Recorder::setColor, setLineWidth, fillRect, line, arc, text
**  The painter's operations, recorded.
**
**  Notes:
**  1) Each call appends one DrawCall with its op, its integer arguments
**     (x, y, w, h, start, extent; or x1, y1, x2, y2; the colour or width
**     in a[0]), the Shift_JIS bytes of a text, and the colour and line
**     width in force after it.
*/
void Recorder::setColor(uint32_t rgb) { color_ = rgb; push(DrawCall::Color).a[0] = static_cast<int>(rgb); }
void Recorder::setLineWidth(int w) { width_ = w; push(DrawCall::LineWidth).a[0] = w; }

void Recorder::fillRect(int x, int y, int w, int h)
{
    DrawCall& c = push(DrawCall::FillRect);
    c.a[0] = x; c.a[1] = y; c.a[2] = w; c.a[3] = h;
}

void Recorder::line(int x1, int y1, int x2, int y2)
{
    DrawCall& c = push(DrawCall::Line);
    c.a[0] = x1; c.a[1] = y1; c.a[2] = x2; c.a[3] = y2;
}

void Recorder::arc(int x, int y, int w, int h, int start, int extent, bool fill)
{
    DrawCall& c = push(fill ? DrawCall::FillArc : DrawCall::Arc);
    c.a[0] = x; c.a[1] = y; c.a[2] = w; c.a[3] = h; c.a[4] = start; c.a[5] = extent;
}

void Recorder::text(int x, int y, int w, int h, const char* sjis, size_t length)
{
    DrawCall& c = push(DrawCall::Text);
    c.a[0] = x; c.a[1] = y; c.a[2] = w; c.a[3] = h;
    c.text.assign(sjis, length);
}

/*
**  Recorder::texts, findText
**  The text calls recorded, in order; the first whose bytes equal the
**  given Shift_JIS text, or null.
*/
std::vector<const DrawCall*> Recorder::texts() const
{
    std::vector<const DrawCall*> out;
    for (const DrawCall& c : calls)
        if (c.op == DrawCall::Text) out.push_back(&c);
    return out;
}

const DrawCall* Recorder::findText(const std::string& sjis) const
{
    for (const DrawCall& c : calls)
        if (c.op == DrawCall::Text && c.text == sjis) return &c;
    return nullptr;
}

/*
**  ParseColor
**  A colour text to its value.
**
**  Given:
**     hex   const char*   "#rrggbb" (upper- or lower-case hex digits)
**
**  Returned (function value):
**           uint32_t      0xRRGGBB; 0 for null or a malformed text
*/
uint32_t ParseColor(const char* hex)
{
    if (!hex || hex[0] != '#') return 0;
    uint32_t v = 0;
    for (int i = 1; i <= 6; ++i) {
        char ch = hex[i];
        uint32_t d;
        if (ch >= '0' && ch <= '9') d = static_cast<uint32_t>(ch - '0');
        else if (ch >= 'a' && ch <= 'f') d = static_cast<uint32_t>(ch - 'a' + 10);
        else if (ch >= 'A' && ch <= 'F') d = static_cast<uint32_t>(ch - 'A' + 10);
        else return 0;
        v = v * 16 + d;
    }
    return v;
}
