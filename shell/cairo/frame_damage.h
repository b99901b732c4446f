// What changed between two repaints, in device pixels: the window keeps the
// picture it painted and repaints only the rectangles where the drawing
// calls of the new second differ from those of the last, so that every
// pixel of the kept picture is still what a whole repaint of the new second
// paints.
//
// Why that holds: a pixel of the picture is the work of the drawing calls
// whose marks can reach it, in their order, each with the colour and width
// in force. Outside the marks of every call that differs (the old call's
// and the new call's), the calls that reach a pixel are the same calls in
// the same order in both seconds, so the pixel is the same; inside, the
// whole list of the new second is drawn again, clipped to the rectangle.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "toolkit/recorder.h"

class CairoPainter;
class Painter;
typedef struct _cairo_surface cairo_surface_t;

// A rectangle of device pixels, right and bottom exclusive.
struct DeviceRect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool empty() const { return x1 >= x2 || y1 >= y2; }
    long area() const { return empty() ? 0 : static_cast<long>(x2 - x1) * (y2 - y1); }
};
DeviceRect Union(const DeviceRect& a, const DeviceRect& b);

// The device box a text call can mark at the scale (its ink, laid out), or
// false when it cannot be told (the caller then takes the whole picture).
using TextBoxFn = std::function<bool(const DrawCall&, DeviceRect*)>;

// FrameDamage
//   Given:    before, after  the calls of two whole repaints (a Recorder's)
//             scale          picture pixels to device pixels
//             text_box       the device box of a text call
//   Returned: rectangles (device pixels, the picture's top left at 0, 0,
//             clamped to the picture) outside which every pixel of a whole
//             repaint of after equals that of before; empty when the two
//             draw the same.
//   Notes:    1) Only the calls that draw are compared (their colour and
//                width in force are part of them); the colour and width
//                settings themselves mark nothing.
//             2) The calls are matched from the start and from the end; a
//                middle part of the same length in both is compared call
//                by call, one of another length is wholly damage.
//             3) Each call's box is conservative: its geometry grown by its
//                line width and two pixels of antialiasing and caps.
std::vector<DeviceRect> FrameDamage(const std::vector<DrawCall>& before,
                                    const std::vector<DrawCall>& after, double scale,
                                    const TextBoxFn& text_box);

// MergeRects: rectangles merged where the merged box costs little more than
//   the two (slack device pixels), then fewer than most, the pair that adds
//   the least area first; more than 48 are first taken to the 8-pixel
//   tiles they touch. Every pixel of the input stays covered.
std::vector<DeviceRect> MergeRects(std::vector<DeviceRect> rects, long slack, size_t most);

// A rectangle of the kept picture to repaint: the calls are drawn into the
// drawn rectangle (on a surface of its own) and only copy is taken.
struct RepaintRect {
    DeviceRect copy;   // the pixels taken into the kept picture
    DeviceRect drawn;  // holds copy and every shape that can mark it, whole
};

// PlanRepaint
//   Given:    damage    rectangles from FrameDamage
//             calls     the repaint drawn into them
//             scale     picture pixels to device pixels
//             text_box  the device box of a text call
//   Returned: the damage merged (MergeRects: a merge may add 1,024 device
//             pixels; at most 32), each with the rectangle to draw it in:
//             grown over every antialiased shape of the calls (an arc or
//             disc, a line wider than a pixel that is not a crisp
//             rectangle of pixels) and every text that can mark it.
//   Notes:    Cairo rasterises a shape cut by the clip (or by the edge of
//             its surface) from the cut polygon, whose edges round
//             differently, and composites a cut text's glyphs another way:
//             the pixels of such a shape inside the clip may differ by a few
//             levels from those of the shape drawn whole. A shape wholly
//             inside the drawn rectangle is drawn as it is without a clip;
//             one that cannot mark the copied pixels may be cut.
std::vector<RepaintRect> PlanRepaint(const std::vector<DeviceRect>& damage,
                                     const std::vector<DrawCall>& calls, double scale,
                                     const TextBoxFn& text_box);

// CallBoxes: the device box of each call (as FrameDamage takes them; empty
//   for the settings of colour and width), for CallsWithin.
std::vector<DeviceRect> CallBoxes(const std::vector<DrawCall>& calls, double scale, const TextBoxFn& text_box);

// CallsWithin: for each rectangle, the indices of the drawing calls whose
//   box (CallBoxes) meets it, in their order: the calls that can mark its
//   pixels.
std::vector<std::vector<uint32_t>> CallsWithin(const std::vector<DrawCall>& calls,
                                               const std::vector<DeviceRect>& boxes,
                                               const std::vector<DeviceRect>& rects);
// ReplayListed: the listed calls drawn into a painter, each with the colour
//   and width recorded with it; within the list's rectangle the pixels are
//   those of the whole replay.
void ReplayListed(const std::vector<DrawCall>& calls, const std::vector<uint32_t>& list, Painter* painter);

// ReplayCalls: a recorded repaint drawn again into a painter, call for call,
//   then the painter flushed.
void ReplayCalls(const std::vector<DrawCall>& calls, Painter* painter);

// PaintPlan: the rectangles of a plan (PlanRepaint) painted into a kept
//   image: each drawn rectangle on an image surface of its own with the
//   calls that can mark its copy rectangle (CallsWithin), then the copy
//   rectangle taken into the image, the picture's top left at (x, y) of it.
void PaintPlan(cairo_surface_t* image, int x, int y, const std::vector<DrawCall>& calls,
               const std::vector<RepaintRect>& plan, double scale, CairoPainter* painter,
               const TextBoxFn& text_box);
