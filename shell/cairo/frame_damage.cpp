// What changed between two repaints, in device pixels.
#include "shell/cairo/frame_damage.h"

#include <algorithm>
#include <cmath>

#include "shell/cairo/cairo_painter.h"
#include "toolkit/painter.h"
#include "toolkit/picture.h"

namespace {

constexpr int kReachPx = 2;  // antialiasing and square caps beyond a line's half width

bool Draws(const DrawCall& c) { return c.op != DrawCall::Color && c.op != DrawCall::LineWidth; }

bool SameCall(const DrawCall& a, const DrawCall& b)
{
    return a.op == b.op && a.color == b.color && a.width == b.width &&
           std::equal(a.a, a.a + 6, b.a) && a.text == b.text;
}

// A box of the picture's pixels (left, top, right, bottom, inclusive of its
// reach) as device pixels, grown outward to whole pixels and by one more.
DeviceRect DeviceBox(int left, int top, int right, int bottom, double scale)
{
    if (scale == 1.0) return DeviceRect{left - 1, top - 1, right + 1, bottom + 1};
    if (scale == 2.0) return DeviceRect{2 * left - 1, 2 * top - 1, 2 * right + 1, 2 * bottom + 1};
    return DeviceRect{static_cast<int>(std::floor(left * scale)) - 1, static_cast<int>(std::floor(top * scale)) - 1,
                      static_cast<int>(std::ceil(right * scale)) + 1, static_cast<int>(std::ceil(bottom * scale)) + 1};
}

// The device pixels one drawing call can mark.
DeviceRect CallBox(const DrawCall& c, double scale, const TextBoxFn& text_box, const DeviceRect& whole)
{
    const int* a = c.a;
    const int reach = std::max(1, c.width) + kReachPx;
    switch (c.op) {
    case DrawCall::FillRect:
        return DeviceBox(std::min(a[0], a[0] + a[2]), std::min(a[1], a[1] + a[3]),
                         std::max(a[0], a[0] + a[2]), std::max(a[1], a[1] + a[3]), scale);
    case DrawCall::Line:
        return DeviceBox(std::min(a[0], a[2]) - reach, std::min(a[1], a[3]) - reach,
                         std::max(a[0], a[2]) + 1 + reach, std::max(a[1], a[3]) + 1 + reach, scale);
    case DrawCall::Arc:
    case DrawCall::FillArc:
        return DeviceBox(std::min(a[0], a[0] + a[2]) - reach, std::min(a[1], a[1] + a[3]) - reach,
                         std::max(a[0], a[0] + a[2]) + 1 + reach,
                         std::max(a[1], a[1] + a[3]) + 1 + reach, scale);
    case DrawCall::Text: {
        if (c.text.empty()) return DeviceRect{};  // an empty text draws nothing
        DeviceRect r;
        if (text_box && text_box(c, &r)) {
            r.x1 -= kReachPx; r.y1 -= kReachPx; r.x2 += kReachPx; r.y2 += kReachPx;
            return r;
        }
        return whole;
    }
    default:
        return DeviceRect{};
    }
}

// Whether a line call is stroked antialiased by the painter (at scale 1 an
// odd width over a pixel, or a slanted line wider than a pixel; at any
// other scale the same, less the even-width lines set as rectangles).
bool Antialiased(const DrawCall& c)
{
    if (c.op == DrawCall::Arc || c.op == DrawCall::FillArc) return true;
    if (c.op != DrawCall::Line || c.width <= 1) return false;
    const bool axis = c.a[0] == c.a[2] || c.a[1] == c.a[3];
    return !(axis && c.width % 2 == 0);
}

// Whether a whole ellipse's band (centre cx, cy, radii rx, ry, device
// pixels; the band reach either side of the curve) can meet the edge of
// the rectangle: false when the rectangle lies wholly inside the band's
// inner ellipse or wholly outside its outer one.
bool BandMeetsRect(double cx, double cy, double rx, double ry, double reach, const DeviceRect& r)
{
    const double ix = rx - reach, iy = ry - reach;
    if (ix > 0 && iy > 0) {
        bool inside = true;
        for (double px : {double(r.x1), double(r.x2)})
            for (double py : {double(r.y1), double(r.y2)}) {
                const double u = (px - cx) / ix, v = (py - cy) / iy;
                inside = inside && u * u + v * v < 1.0;
            }
        if (inside) return false;
    }
    const double ox = rx + reach, oy = ry + reach;
    // the nearest point of the rectangle to the centre, in units of the outer radii
    const double nx = (std::clamp(cx, double(r.x1), double(r.x2)) - cx) / ox;
    const double ny = (std::clamp(cy, double(r.y1), double(r.y2)) - cy) / oy;
    return nx * nx + ny * ny < 1.0;
}

// Distance from a point to a segment.
double PointSegment(double px, double py, double x1, double y1, double x2, double y2)
{
    const double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - x1) * dx + (py - y1) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

// Whether a segment's band (reach either side, device pixels) meets the
// rectangle's edge: it reaches the rectangle and is not wholly inside it.
bool SegmentMeetsEdge(double x1, double y1, double x2, double y2, double reach, const DeviceRect& r)
{
    const bool inside = std::min(x1, x2) - reach > r.x1 && std::max(x1, x2) + reach < r.x2 &&
                        std::min(y1, y2) - reach > r.y1 && std::max(y1, y2) + reach < r.y2;
    if (inside) return false;
    // the four edges of the rectangle against the segment
    const double ex[4][4] = {{double(r.x1), double(r.y1), double(r.x2), double(r.y1)},
                             {double(r.x2), double(r.y1), double(r.x2), double(r.y2)},
                             {double(r.x1), double(r.y2), double(r.x2), double(r.y2)},
                             {double(r.x1), double(r.y1), double(r.x1), double(r.y2)}};
    for (const auto& e : ex) {
        // two segments meet within reach: they cross, or an end lies within reach of the other
        const double d1 = (x2 - x1) * (e[1] - y1) - (y2 - y1) * (e[0] - x1);
        const double d2 = (x2 - x1) * (e[3] - y1) - (y2 - y1) * (e[2] - x1);
        const double d3 = (e[2] - e[0]) * (y1 - e[1]) - (e[3] - e[1]) * (x1 - e[0]);
        const double d4 = (e[2] - e[0]) * (y2 - e[1]) - (e[3] - e[1]) * (x2 - e[0]);
        if (((d1 <= 0 && d2 >= 0) || (d1 >= 0 && d2 <= 0)) && ((d3 <= 0 && d4 >= 0) || (d3 >= 0 && d4 <= 0)))
            return true;
        if (PointSegment(e[0], e[1], x1, y1, x2, y2) <= reach || PointSegment(e[2], e[3], x1, y1, x2, y2) <= reach ||
            PointSegment(x1, y1, e[0], e[1], e[2], e[3]) <= reach || PointSegment(x2, y2, e[0], e[1], e[2], e[3]) <= reach)
            return true;
    }
    return false;
}

DeviceRect Clamped(DeviceRect r, const DeviceRect& whole)
{
    r.x1 = std::max(r.x1, whole.x1);
    r.y1 = std::max(r.y1, whole.y1);
    r.x2 = std::min(r.x2, whole.x2);
    r.y2 = std::min(r.y2, whole.y2);
    return r;
}

}  // namespace

DeviceRect Union(const DeviceRect& a, const DeviceRect& b)
{
    if (a.empty()) return b;
    if (b.empty()) return a;
    return DeviceRect{std::min(a.x1, b.x1), std::min(a.y1, b.y1), std::max(a.x2, b.x2),
                      std::max(a.y2, b.y2)};
}

// Method: the drawing calls of both lists (the settings of colour and width
// left out) matched from the start and from the end; what lies between is
// compared call by call when it has the same length in both, and is damage
// whole otherwise. Each differing call adds its box, the old call's and the
// new call's, clamped to the picture.
std::vector<DeviceRect> FrameDamage(const std::vector<DrawCall>& before,
                                    const std::vector<DrawCall>& after, double scale,
                                    const TextBoxFn& text_box)
{
    std::vector<const DrawCall*> a, b;
    a.reserve(before.size());
    b.reserve(after.size());
    for (const DrawCall& c : before)
        if (Draws(c)) a.push_back(&c);
    for (const DrawCall& c : after)
        if (Draws(c)) b.push_back(&c);

    const DeviceRect whole{0, 0, PixelEdge(kRepaintWidth, scale), PixelEdge(kRepaintHeight, scale)};
    std::vector<DeviceRect> out;
    auto add = [&](const DrawCall& c) {
        const DeviceRect r = Clamped(CallBox(c, scale, text_box, whole), whole);
        if (!r.empty()) out.push_back(r);
    };
    size_t head = 0;
    while (head < a.size() && head < b.size() && SameCall(*a[head], *b[head])) ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           SameCall(*a[a.size() - 1 - tail], *b[b.size() - 1 - tail]))
        ++tail;
    const size_t na = a.size() - head - tail, nb = b.size() - head - tail;
    if (na == nb) {
        for (size_t i = head; i < head + na; ++i) {
            if (SameCall(*a[i], *b[i])) continue;
            add(*a[i]);
            add(*b[i]);
        }
    } else {
        for (size_t i = head; i < head + na; ++i) add(*a[i]);
        for (size_t i = head; i < head + nb; ++i) add(*b[i]);
    }
    return out;
}

// Method: many rectangles are first taken to the tiles of 8 device pixels
// they touch, and the tiles of a row joined into runs, a run joined with the
// one of the same columns in the row above; then, greedily, a pair whose
// bounding box exceeds the two rectangles' areas by no more than the slack
// is merged, until no pair is; then, while there are more than most, the
// pair whose bounding box adds the least.
std::vector<DeviceRect> MergeRects(std::vector<DeviceRect> rects, long slack, size_t most)
{
    constexpr size_t kManyRects = 48;
    constexpr int kTile = 8;
    rects.erase(std::remove_if(rects.begin(), rects.end(), [](const DeviceRect& r) { return r.empty(); }),
                rects.end());
    if (rects.size() > kManyRects) {
        DeviceRect all;
        for (const DeviceRect& r : rects) all = Union(all, r);
        const int x0 = all.x1 - ((all.x1 % kTile) + kTile) % kTile, y0 = all.y1 - ((all.y1 % kTile) + kTile) % kTile;
        const int cols = (all.x2 - x0 + kTile - 1) / kTile, rows = (all.y2 - y0 + kTile - 1) / kTile;
        std::vector<char> tile(static_cast<size_t>(cols) * rows, 0);
        for (const DeviceRect& r : rects)
            for (int ty = (r.y1 - y0) / kTile; ty <= (r.y2 - 1 - y0) / kTile; ++ty)
                for (int tx = (r.x1 - x0) / kTile; tx <= (r.x2 - 1 - x0) / kTile; ++tx)
                    tile[static_cast<size_t>(ty) * cols + tx] = 1;
        std::vector<DeviceRect> runs, open;
        for (int ty = 0; ty < rows; ++ty) {
            std::vector<DeviceRect> row;
            for (int tx = 0; tx < cols;) {
                if (!tile[static_cast<size_t>(ty) * cols + tx]) { ++tx; continue; }
                int end = tx;
                while (end < cols && tile[static_cast<size_t>(ty) * cols + end]) ++end;
                DeviceRect run{x0 + tx * kTile, y0 + ty * kTile, x0 + end * kTile, y0 + (ty + 1) * kTile};
                // the same columns open from the row above: one rectangle
                auto above = std::find_if(open.begin(), open.end(), [&](const DeviceRect& o) {
                    return o.x1 == run.x1 && o.x2 == run.x2 && o.y2 == run.y1;
                });
                if (above != open.end()) {
                    run.y1 = above->y1;
                    open.erase(above);
                }
                row.push_back(run);
                tx = end;
            }
            runs.insert(runs.end(), open.begin(), open.end());
            open = std::move(row);
        }
        runs.insert(runs.end(), open.begin(), open.end());
        rects = std::move(runs);
    }
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < rects.size(); ++i) {
            for (size_t j = i + 1; j < rects.size();) {
                const DeviceRect u = Union(rects[i], rects[j]);
                if (u.area() > rects[i].area() + rects[j].area() + slack) { ++j; continue; }
                rects[i] = u;
                rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
                merged = true;
            }
        }
    }
    while (rects.size() > std::max<size_t>(most, 1)) {
        size_t bi = 0, bj = 1;
        long best = -1;
        for (size_t i = 0; i < rects.size(); ++i)
            for (size_t j = i + 1; j < rects.size(); ++j) {
                const long added = Union(rects[i], rects[j]).area() - rects[i].area() - rects[j].area();
                if (best < 0 || added < best) { best = added; bi = i; bj = j; }
            }
        rects[bi] = Union(rects[bi], rects[bj]);
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bj));
    }
    return rects;
}

std::vector<DeviceRect> CallBoxes(const std::vector<DrawCall>& calls, double scale, const TextBoxFn& text_box)
{
    const DeviceRect whole{0, 0, PixelEdge(kRepaintWidth, scale), PixelEdge(kRepaintHeight, scale)};
    std::vector<DeviceRect> boxes(calls.size());
    for (size_t i = 0; i < calls.size(); ++i)
        if (Draws(calls[i])) boxes[i] = Clamped(CallBox(calls[i], scale, text_box, whole), whole);
    return boxes;
}

// Method: one pass over the calls, each drawing call's box tested against
// every rectangle (after the box of them all).
std::vector<std::vector<uint32_t>> CallsWithin(const std::vector<DrawCall>& calls,
                                               const std::vector<DeviceRect>& boxes,
                                               const std::vector<DeviceRect>& rects)
{
    std::vector<std::vector<uint32_t>> lists(rects.size());
    DeviceRect all;
    for (const DeviceRect& r : rects) all = Union(all, r);
    for (size_t i = 0; i < calls.size(); ++i) {
        const DeviceRect& b = boxes[i];
        if (b.empty() || !(b.x1 < all.x2 && all.x1 < b.x2 && b.y1 < all.y2 && all.y1 < b.y2)) continue;
        for (size_t j = 0; j < rects.size(); ++j) {
            const DeviceRect& r = rects[j];
            if (b.x1 < r.x2 && r.x1 < b.x2 && b.y1 < r.y2 && r.y1 < b.y2) lists[j].push_back(static_cast<uint32_t>(i));
        }
    }
    return lists;
}

// Method: each listed call with the colour and width recorded with it,
// given to the painter only where they differ from those given last (and
// only once the calls have set them, as a whole replay gives them).
void ReplayListed(const std::vector<DrawCall>& calls, const std::vector<uint32_t>& list, Painter* painter)
{
    size_t next = 0;  // calls before this index scanned for the first settings
    bool color_set = false, width_set = false;
    bool color_given = false, width_given = false;
    uint32_t given_color = 0;
    int given_width = 0;
    for (uint32_t i : list) {
        for (; next < i && !(color_set && width_set); ++next) {
            color_set = color_set || calls[next].op == DrawCall::Color;
            width_set = width_set || calls[next].op == DrawCall::LineWidth;
        }
        const DrawCall& c = calls[i];
        const int* a = c.a;
        if (color_set && (!color_given || c.color != given_color)) {
            painter->setColor(c.color);
            given_color = c.color;
            color_given = true;
        }
        if (width_set && (!width_given || c.width != given_width)) {
            painter->setLineWidth(c.width);
            given_width = c.width;
            width_given = true;
        }
        switch (c.op) {
        case DrawCall::FillRect: painter->fillRect(a[0], a[1], a[2], a[3]); break;
        case DrawCall::Line: painter->line(a[0], a[1], a[2], a[3]); break;
        case DrawCall::Arc: painter->arc(a[0], a[1], a[2], a[3], a[4], a[5], false); break;
        case DrawCall::FillArc: painter->arc(a[0], a[1], a[2], a[3], a[4], a[5], true); break;
        case DrawCall::Text: painter->text(a[0], a[1], a[2], a[3], c.text.data(), c.text.size()); break;
        default: break;
        }
    }
    painter->flush();
}

// Method: the shapes whose marks Cairo antialiases (arcs, discs, wide
// slanted lines) and the texts, each with its device box; each rectangle
// takes in the box of every shape that meets it (whole ellipses: the band
// of the curve, tested exactly; lines: the band along the segment; other
// shapes and texts: their box). A text is measured only where the reach of
// its line (a line height around it, to the picture's right edge) meets a
// rectangle.
std::vector<RepaintRect> PlanRepaint(const std::vector<DeviceRect>& damage,
                                     const std::vector<DrawCall>& calls, double scale,
                                     const TextBoxFn& text_box)
{
    constexpr long kSlack = 1024;  // device pixels a merge may add (a rectangle's own cost)
    constexpr size_t kMost = 32;
    enum Kind { Box, Ellipse, Segment };
    struct Shape { DeviceRect box; Kind kind; double cx, cy, rx, ry, reach; };
    const DeviceRect whole{0, 0, PixelEdge(kRepaintWidth, scale), PixelEdge(kRepaintHeight, scale)};
    std::vector<Shape> shapes;
    std::vector<const DrawCall*> texts;
    for (const DrawCall& c : calls) {
        if (c.op == DrawCall::Text && !c.text.empty()) texts.push_back(&c);
        if (!Antialiased(c)) continue;
        Shape s{Clamped(CallBox(c, scale, nullptr, whole), whole), Box, 0, 0, 0, 0, 0};
        if (s.box.empty()) continue;
        const int* a = c.a;
        const bool whole_turn = a[5] == 0 || a[5] >= kFullCircle || a[5] <= -kFullCircle;
        if (c.op != DrawCall::Line && whole_turn) {
            const double inset = c.op == DrawCall::FillArc ? 0.0 : std::max(1, c.width);
            s.kind = Ellipse;
            s.cx = (a[0] + a[2] / 2.0) * scale;
            s.cy = (a[1] + a[3] / 2.0) * scale;
            s.rx = (a[2] - inset) / 2.0 * scale;
            s.ry = (a[3] - inset) / 2.0 * scale;
            s.reach = (c.op == DrawCall::FillArc ? 0.0 : std::max(1, c.width) * scale / 2.0) + kReachPx + 1;
        } else if (c.op == DrawCall::Line) {
            // the stroke's centre line on the device (odd widths on pixel centres)
            const double off = c.width % 2 == 1 ? 0.5 : 0.0;
            s.kind = Segment;
            s.cx = (a[0] + off) * scale;
            s.cy = (a[1] + off) * scale;
            s.rx = (a[2] + off) * scale;
            s.ry = (a[3] + off) * scale;
            s.reach = c.width * scale / 2.0 * std::sqrt(2.0) + kReachPx + 1;
        }
        shapes.push_back(s);
    }
    auto overlap = [](const DeviceRect& p, const DeviceRect& q) {
        return p.x1 < q.x2 && q.x1 < p.x2 && p.y1 < q.y2 && q.y1 < p.y2;
    };
    std::vector<RepaintRect> plan;
    for (const DeviceRect& r : MergeRects(damage, kSlack, kMost)) {
        RepaintRect p{r, r};
        for (const Shape& s : shapes) {
            if (!overlap(s.box, r)) continue;
            if (s.kind == Ellipse && !BandMeetsRect(s.cx, s.cy, s.rx, s.ry, s.reach, r)) continue;
            if (s.kind == Segment) {
                const bool inside = std::min(s.cx, s.rx) - s.reach > r.x1 && std::max(s.cx, s.rx) + s.reach < r.x2 &&
                                    std::min(s.cy, s.ry) - s.reach > r.y1 && std::max(s.cy, s.ry) + s.reach < r.y2;
                if (!inside && !SegmentMeetsEdge(s.cx, s.cy, s.rx, s.ry, s.reach, r)) continue;
            }
            p.drawn = Union(p.drawn, s.box);
        }
        for (const DrawCall* c : texts) {
            const DeviceRect reach = DeviceBox(c->a[0] - c->a[3], c->a[1] - c->a[3], kRepaintWidth,
                                               c->a[1] + 2 * c->a[3], scale);
            if (!overlap(reach, r)) continue;
            const DeviceRect box = Clamped(CallBox(*c, scale, text_box, whole), whole);
            if (overlap(box, r)) p.drawn = Union(p.drawn, box);
        }
        plan.push_back(p);
    }
    return plan;
}

void ReplayCalls(const std::vector<DrawCall>& calls, Painter* painter)
{
    for (const DrawCall& c : calls) {
        const int* a = c.a;
        switch (c.op) {
        case DrawCall::Color: painter->setColor(static_cast<uint32_t>(a[0])); break;
        case DrawCall::LineWidth: painter->setLineWidth(a[0]); break;
        case DrawCall::FillRect: painter->fillRect(a[0], a[1], a[2], a[3]); break;
        case DrawCall::Line: painter->line(a[0], a[1], a[2], a[3]); break;
        case DrawCall::Arc: painter->arc(a[0], a[1], a[2], a[3], a[4], a[5], false); break;
        case DrawCall::FillArc: painter->arc(a[0], a[1], a[2], a[3], a[4], a[5], true); break;
        case DrawCall::Text: painter->text(a[0], a[1], a[2], a[3], c.text.data(), c.text.size()); break;
        }
    }
    painter->flush();
}

void PaintPlan(cairo_surface_t* image, int x, int y, const std::vector<DrawCall>& calls,
               const std::vector<RepaintRect>& plan, double scale, CairoPainter* painter,
               const TextBoxFn& text_box)
{
    if (plan.empty()) return;
    const std::vector<DeviceRect> boxes = CallBoxes(calls, scale, text_box);
    std::vector<DeviceRect> copies;
    for (const RepaintRect& r : plan) copies.push_back(r.copy);
    const std::vector<std::vector<uint32_t>> lists = CallsWithin(calls, boxes, copies);
    for (size_t k = 0; k < plan.size(); ++k) {
        const RepaintRect& r = plan[k];
        cairo_surface_t* part =
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, r.drawn.x2 - r.drawn.x1, r.drawn.y2 - r.drawn.y1);
        cairo_t* pcr = cairo_create(part);
        cairo_translate(pcr, -r.drawn.x1, -r.drawn.y1);
        painter->begin(pcr, scale);
        ReplayListed(calls, lists[k], painter);
        painter->end();
        cairo_destroy(pcr);
        cairo_t* icr = cairo_create(image);
        cairo_set_source_surface(icr, part, x + r.drawn.x1, y + r.drawn.y1);
        cairo_set_operator(icr, CAIRO_OPERATOR_SOURCE);
        cairo_rectangle(icr, x + r.copy.x1, y + r.copy.y1, r.copy.x2 - r.copy.x1, r.copy.y2 - r.copy.y1);
        cairo_fill(icr);
        cairo_destroy(icr);
        cairo_surface_destroy(part);
    }
}
