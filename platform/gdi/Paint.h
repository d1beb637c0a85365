#pragma once
// Inside the drawing layer: a DC resolved for one call (surface, clip,
// offset) and the writing of horizontal pixel runs through the clip. Every
// primitive, blit and glyph ends up here, so clipping is done once.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "platform/gdi/Objects.h"

namespace tarvel {

// Surface coordinates are computed in 64 bits; anything drawable is far
// inside int once clamped to the clip.
struct Canvas {
    std::shared_ptr<DcObject> dc;
    Surface* surface = nullptr;
    const Region* clip = nullptr;  // surface coordinates
    TRect limit;                   // a further rectangle every run is cut to
    int64_t ox = 0, oy = 0;        // surface = logical + (ox, oy)

    int64_t X(int64_t logicalX) const { return logicalX + ox; }
    int64_t Y(int64_t logicalY) const { return logicalY + oy; }
    // The pattern of a brush is aligned to the DC's device (0, 0).
    int PatternX(int x) const { return (x - dc->deviceOrigin.x) & 7; }
    int PatternY(int y) const { return (y - dc->deviceOrigin.y) & 7; }
    void CutTo(const TRect& surfaceRect) { limit = Intersect(limit, surfaceRect); }
};

// False for a bad handle. A DC without pixels resolves with an empty limit,
// so drawing on it succeeds and changes nothing.
bool ResolveCanvas(HDC dc, Canvas& canvas);

// A logical rectangle in surface coordinates, cut to the canvas limit.
TRect SurfaceRect(const Canvas& canvas, int64_t left, int64_t top, int64_t right, int64_t bottom);

enum class PaintKind : uint8_t { Set, Pattern, Xor, XorPattern, And, Or, Hatch, XorHatch };

// What a run writes: a value (alpha 0 for drawing), the brush pattern, or a
// hatch: `value` on the cell's lines and, when `opaque`, `back` between them.
struct PixelPaint {
    PaintKind kind = PaintKind::Set;
    uint32_t value = 0;
    const std::array<uint32_t, 64>* pattern = nullptr;
    uint64_t hatch = 0;
    uint32_t back = 0;
    bool opaque = false;
};

PixelPaint SolidPaint(COLORREF color);
// False for a null brush (nothing to fill). A hatch takes its background
// from the DC's state.
bool BrushPaint(const BrushObject* brush, const DcState& state, PixelPaint& paint);
// The same paint xored onto the pixels.
PixelPaint XorPaint(const PixelPaint& paint);

// Calls visit(x0, x1) for each visible part of [x0, x1) in row y (surface
// coordinates, half-open).
template <class Visit>
void ForVisible(const Canvas& c, int64_t y, int64_t x0, int64_t x1, Visit&& visit) {
    if (y < c.limit.top || y >= c.limit.bottom) return;
    x0 = std::max<int64_t>(x0, c.limit.left);
    x1 = std::min<int64_t>(x1, c.limit.right);
    if (x0 >= x1) return;
    for (const Span& s : c.clip->SpansAt(static_cast<int>(y))) {
        if (s.x1 <= x0) continue;
        if (s.x0 >= x1) break;
        visit(static_cast<int>(std::max<int64_t>(x0, s.x0)), static_cast<int>(std::min<int64_t>(x1, s.x1)));
    }
}

void PaintRun(const Canvas& c, int y, int x0, int x1, const PixelPaint& paint);

inline void PaintSpan(const Canvas& c, int64_t y, int64_t x0, int64_t x1, const PixelPaint& paint) {
    ForVisible(c, y, x0, x1, [&](int a, int b) { PaintRun(c, static_cast<int>(y), a, b, paint); });
}

inline void PaintRect(const Canvas& c, const TRect& surfaceRect, const PixelPaint& paint) {
    const TRect r = Intersect(surfaceRect, c.limit);
    for (int y = r.top; y < r.bottom; ++y) PaintSpan(c, y, r.left, r.right, paint);
}

// A picture of our own (an icon's) at logical (x, y), scaled to width x
// height, through the DC's clip: blended by its alpha, copied, or its mask
// (alpha 0 = transparent) ANDed in.
enum class ImageDraw { Blend, Copy, Mask };
bool DrawSurfaceImage(HDC dc, int x, int y, int width, int height, const Surface& image, ImageDraw how);

// Shapes, in surface coordinates.

// Rows [top, bottom) of a shape given by a function filling the spans of
// one row; only rows inside the limit are asked for.
template <class RowSpans>
void PaintRows(const Canvas& c, int64_t top, int64_t bottom, const PixelPaint& paint, RowSpans&& rowSpans) {
    top = std::max<int64_t>(top, c.limit.top);
    bottom = std::min<int64_t>(bottom, c.limit.bottom);
    std::vector<std::pair<int64_t, int64_t>> spans;
    for (int64_t y = top; y < bottom; ++y) {
        spans.clear();
        rowSpans(y, spans);
        for (const auto& s : spans) PaintSpan(c, y, s.first, s.second, paint);
    }
}

// The box [l, r) x [t, b) with elliptic corners of rx, ry (an ellipse when
// they are half the box): the x range of row y, false when the row is empty.
struct RoundBox {
    int64_t l = 0, t = 0, r = 0, b = 0;
    double rx = 0, ry = 0;
    bool Row(int64_t y, int64_t& x0, int64_t& x1) const;
    RoundBox Inset(int64_t by) const;
};

// A convex shape filled with `fill` and outlined `penWidth` wide with
// `outline` (either may be null).
void PaintRoundBox(const Canvas& c, const RoundBox& box, const PixelPaint* fill, const PixelPaint* outline,
                   int penWidth);

struct Point64 {
    int64_t x = 0, y = 0;
};

// The pixels whose own point (x, y) lies inside the polygon by the fill
// mode, top and left edges in, bottom and right out: vertices name pixels
// as the points of a line do, so a pen of one pixel outlines exactly this.
void PaintPolygon(const Canvas& c, const std::vector<Point64>& points, int fillMode, const PixelPaint& paint);
std::vector<std::vector<Span>> PolygonRows(const std::vector<Point64>& points, int fillMode, int64_t top,
                                           int64_t bottom);

// The dashes of a pen 1 pixel wide: bit i of `on` tells whether pixel i of
// each `period` pixels is drawn; the others take `gap` when there is one.
// `phase` counts the pixels drawn so far, so that a polyline runs on.
// A dash pattern: bit k of `on` says whether the k-th of `period` runs is
// ink; each run is `scale` steps long (a wide pen's dashes grow with it).
struct LineDash {
    uint64_t on = 0;
    int period = 0;
    const PixelPaint* gap = nullptr;
    int64_t phase = 0;
    int scale = 1;
    int64_t Length() const { return int64_t{period} * scale; }
    bool Ink(int64_t step) const { return (on >> ((step % Length()) / scale)) & 1; }
};

// A line from a to b without its end point, `width` pixels wide; dashed
// when `dash` is given (which then moves on by the line's length).
void PaintLine(const Canvas& c, Point64 a, Point64 b, int width, const PixelPaint& paint,
               LineDash* dash = nullptr);

}  // namespace tarvel
