// The one painter interface behind the drawing area. Two implementations:
// the Cairo+Pango painter (window, PNG) and the recorder (tests).
#pragma once
#include <cstddef>
#include <cstdint>

// The extent of a whole circle in the arc operations, 360 degrees in 1/64
// degree.
constexpr short kFullCircle = 23040;

class Painter {
public:
    virtual ~Painter() = default;
    // Colour as 0xRRGGBB, converted from "#rrggbb" by the drawing area.
    virtual void setColor(uint32_t rgb) = 0;
    virtual void setLineWidth(int width) = 0;
    virtual void fillRect(int x, int y, int w, int h) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // count lines one after the other, xy holding x1, y1, x2, y2 of each:
    // the same as line() for each in turn (a painter may draw them faster).
    virtual void lines(const int* xy, size_t count)
    {
        for (size_t i = 0; i < count; ++i, xy += 4) line(xy[0], xy[1], xy[2], xy[3]);
    }
    // Ellipse inscribed in the box; angles in 1/64 degree from 3 o'clock,
    // counter-clockwise; extent 0 or kFullCircle is the whole circle.
    virtual void arc(int x, int y, int w, int h, int start, int extent, bool fill) = 0;
    // Shift_JIS text, left-aligned and vertically centred in the box.
    virtual void text(int x, int y, int w, int h, const char* sjis, size_t length) = 0;
    // End of one repaint: flush what is batched.
    virtual void flush() {}
};
