// Fills, outlines, shapes, lines, pixels and pattern blits.

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "platform/gdi/Paint.h"

namespace tarvel {

namespace {

// More points than any drawing needs; a count read from a file must not
// make us walk gigabytes.
constexpr int kMaxPoints = 1 << 20;

constexpr uint32_t kColourBits = 0x00FFFFFF;
constexpr double kPi = std::numbers::pi;

// The ink of the DC's pen, its width, and for a dashed pen its dashes with
// the gap paint (kept here, so the pen holds no DC state).
struct PenInk {
    PixelPaint paint;
    int width = 1;
    PixelPaint gapPaint;
    LineDash dash;
    bool dashed = false;
    LineDash* Dash() { return dashed ? &dash : nullptr; }
};

// Runs of on and off pixels, starting with on.
constexpr uint64_t DashBits(std::initializer_list<int> runs, int& period) {
    uint64_t bits = 0;
    int at = 0;
    bool on = true;
    for (int run : runs) {
        for (int i = 0; i < run; ++i, ++at)
            if (on) bits |= uint64_t{1} << at;
        on = !on;
    }
    period = at;
    return bits;
}

bool PenPaint(const Canvas& c, PenInk& ink) {
    const PenObject* pen = c.dc->state.pen.get();
    if (!pen || pen->IsNull()) return false;
    ink.paint = SolidPaint(pen->log.lopnColor);
    ink.width = pen->Width();
    ink.dashed = false;
    int period = 0;
    uint64_t on = 0;
    // A one-pixel pen has the screen's fine pattern; a wider one dashes of
    // three widths, dots of one and gaps of one, so each dot is a square.
    const bool fine = ink.width == 1;
    switch (pen->log.lopnStyle) {
        case PS_DASH: on = fine ? DashBits({18, 6}, period) : DashBits({3, 1}, period); break;
        case PS_DOT: on = fine ? DashBits({3, 3}, period) : DashBits({1, 1}, period); break;
        case PS_DASHDOT: on = fine ? DashBits({9, 6, 3, 6}, period) : DashBits({3, 1, 1, 1}, period); break;
        case PS_DASHDOTDOT:
            on = fine ? DashBits({9, 3, 3, 3, 3, 3}, period) : DashBits({3, 1, 1, 1, 1, 1}, period);
            break;
        default: return true;
    }
    ink.gapPaint = SolidPaint(c.dc->state.bkColor);
    ink.dash =
        LineDash{on, period, c.dc->state.bkMode == OPAQUE ? &ink.gapPaint : nullptr, 0, fine ? 1 : ink.width};
    ink.dashed = true;
    return true;
}

bool DcBrushPaint(const Canvas& c, PixelPaint& paint) {
    return BrushPaint(c.dc->state.brush.get(), c.dc->state, paint);
}

Point64 Logical(const Canvas& c, int x, int y) { return Point64{c.X(x), c.Y(y)}; }

void Frame(const Canvas& c, const TRect& r, const PixelPaint& paint) {
    if (r.IsEmpty()) return;
    PaintSpan(c, r.top, r.left, r.right, paint);
    if (r.bottom - 1 > r.top) PaintSpan(c, r.bottom - 1, r.left, r.right, paint);
    for (int64_t y = std::max(r.top + 1, c.limit.top); y < std::min(r.bottom - 1, c.limit.bottom); ++y) {
        PaintSpan(c, y, r.left, r.left + 1, paint);
        if (r.right - 1 > r.left) PaintSpan(c, y, r.right - 1, r.right, paint);
    }
}

// Logical box corners in surface coordinates, normalised so left <= right.
RoundBox Box(const Canvas& c, int left, int top, int right, int bottom) {
    RoundBox box;
    box.l = c.X(std::min(left, right));
    box.r = c.X(std::max(left, right));
    box.t = c.Y(std::min(top, bottom));
    box.b = c.Y(std::max(top, bottom));
    return box;
}

// The closed path of a stroke `width` wide that stays inside the box: the
// pixel centres of its middle line, straight along the edges and in short
// steps round the (elliptic) corners.
std::vector<Point64> OutlinePath(const RoundBox& box, int width) {
    const int64_t before = (width - 1) / 2, after = width - 1 - before;
    const double l = static_cast<double>(box.l + before), t = static_cast<double>(box.t + before);
    const double r = static_cast<double>(box.r - 1 - after), b = static_cast<double>(box.b - 1 - after);
    const double rx = std::clamp(box.rx - static_cast<double>(before), 0.0, std::max(0.0, (r - l) / 2));
    const double ry = std::clamp(box.ry - static_cast<double>(before), 0.0, std::max(0.0, (b - t) / 2));
    // Corner centres clockwise from the top-right, with the angle each
    // quarter starts at (y grows downwards).
    const struct {
        double cx, cy, from;
    } corners[] = {
        {r - rx, t + ry, -kPi / 2}, {r - rx, b - ry, 0}, {l + rx, b - ry, kPi / 2}, {l + rx, t + ry, kPi}};
    const int steps = std::clamp(static_cast<int>((rx + ry) / 2), rx > 0 || ry > 0 ? 2 : 1, 4096);
    std::vector<Point64> path;
    auto add = [&](double x, double y) {
        const Point64 p{static_cast<int64_t>(std::lround(x)), static_cast<int64_t>(std::lround(y))};
        if (path.empty() || path.back().x != p.x || path.back().y != p.y) path.push_back(p);
    };
    add(l + rx, t);
    for (const auto& k : corners)
        for (int i = 0; i <= steps; ++i) {
            const double a = k.from + kPi / 2 * i / steps;
            add(k.cx + rx * std::cos(a), k.cy + ry * std::sin(a));
        }
    add(l + rx, t);  // back to the start, which the first step painted
    return path;
}

bool PaintShape(HDC dc, int left, int top, int right, int bottom, double cornerW, double cornerH) {
    Canvas c;
    if (!ResolveCanvas(dc, c)) return false;
    RoundBox box = Box(c, left, top, right, bottom);
    box.rx = std::clamp(cornerW, 0.0, static_cast<double>(box.r - box.l)) / 2;
    box.ry = std::clamp(cornerH, 0.0, static_cast<double>(box.b - box.t)) / 2;
    PixelPaint fill;
    PenInk pen;
    const bool hasFill = DcBrushPaint(c, fill);
    const bool hasPen = PenPaint(c, pen);
    if (hasPen && pen.dashed) {
        // A dashed outline: the fill inside, the outline one dash pattern
        // round the edge, clockwise from the end of the top-left corner.
        if (hasFill) PaintRoundBox(c, box.Inset(pen.width), &fill, nullptr, 1);
        if (box.r > box.l && box.b > box.t) {
            const std::vector<Point64> path = OutlinePath(box, pen.width);
            for (size_t i = 0; i + 1 < path.size(); ++i)
                PaintLine(c, path[i], path[i + 1], pen.width, pen.paint, pen.Dash());
        }
        return true;
    }
    PaintRoundBox(c, box, hasFill ? &fill : nullptr, hasPen ? &pen.paint : nullptr, pen.width);
    return true;
}

bool PointsValid(const TPoint* points, int count, int least) {
    return points && count >= least && count <= kMaxPoints;
}

void PaintPolyline(const Canvas& c, const TPoint* points, int count, bool close, PenInk& pen) {
    for (int i = 0; i + 1 < count; ++i)
        PaintLine(c, Logical(c, points[i].x, points[i].y), Logical(c, points[i + 1].x, points[i + 1].y),
                  pen.width, pen.paint, pen.Dash());
    if (close)
        PaintLine(c, Logical(c, points[count - 1].x, points[count - 1].y),
                  Logical(c, points[0].x, points[0].y), pen.width, pen.paint, pen.Dash());
}

}  // namespace

bool FillRect(HDC dc, const TRect& rect, HBRUSH brush) {
    Canvas c;
    auto b = FindBrush(brush);
    if (!ResolveCanvas(dc, c) || !b) return false;
    PixelPaint paint;
    if (BrushPaint(b.get(), c.dc->state, paint))
        PaintRect(c, SurfaceRect(c, rect.left, rect.top, rect.right, rect.bottom), paint);
    return true;
}

bool FrameRect(HDC dc, const TRect& rect, HBRUSH brush) {
    Canvas c;
    auto b = FindBrush(brush);
    if (!ResolveCanvas(dc, c) || !b) return false;
    PixelPaint paint;
    if (!BrushPaint(b.get(), c.dc->state, paint)) return true;
    const Point64 tl = Logical(c, rect.left, rect.top), br = Logical(c, rect.right, rect.bottom);
    if (tl.x >= br.x || tl.y >= br.y) return true;
    // Clamped a pixel beyond the limit so the frame's far sides stay outside.
    auto fit = [](int64_t v, int lo, int hi) {
        return static_cast<int>(std::clamp<int64_t>(v, lo - 1, hi + 1));
    };
    const TRect r{fit(tl.x, c.limit.left, c.limit.right), fit(tl.y, c.limit.top, c.limit.bottom),
                  fit(br.x, c.limit.left, c.limit.right), fit(br.y, c.limit.top, c.limit.bottom)};
    Frame(c, r, paint);
    return true;
}

bool InvertRect(HDC dc, const TRect& rect) {
    Canvas c;
    if (!ResolveCanvas(dc, c)) return false;
    PaintRect(c, SurfaceRect(c, rect.left, rect.top, rect.right, rect.bottom),
              PixelPaint{PaintKind::Xor, kColourBits, nullptr});
    return true;
}

bool FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    Canvas c;
    auto r = FindRegion(region);
    auto b = FindBrush(brush);
    if (!ResolveCanvas(dc, c) || !r || !b) return false;
    PixelPaint paint;
    if (!BrushPaint(b.get(), c.dc->state, paint)) return true;
    for (const Band& band : r->region.Bands()) {
        const int64_t top = std::max<int64_t>(c.Y(band.top), c.limit.top);
        const int64_t bottom = std::min<int64_t>(c.Y(band.bottom), c.limit.bottom);
        for (int64_t y = top; y < bottom; ++y)
            for (const Span& s : band.spans) PaintSpan(c, y, c.X(s.x0), c.X(s.x1), paint);
    }
    return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return PaintShape(dc, left, top, right, bottom, 0, 0);
}

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
    const double w = std::abs(static_cast<double>(right) - left),
                 h = std::abs(static_cast<double>(bottom) - top);
    return PaintShape(dc, left, top, right, bottom, w, h);
}

bool RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    return PaintShape(dc, left, top, right, bottom, std::abs(static_cast<double>(ellipseWidth)),
                      std::abs(static_cast<double>(ellipseHeight)));
}

bool Polygon(HDC dc, const TPoint* points, int count) {
    Canvas c;
    if (!ResolveCanvas(dc, c) || !PointsValid(points, count, 2)) return false;
    PixelPaint paint;
    if (DcBrushPaint(c, paint)) {
        std::vector<Point64> pts;
        pts.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) pts.push_back(Logical(c, points[i].x, points[i].y));
        PaintPolygon(c, pts, c.dc->state.polyFillMode, paint);
    }
    PenInk pen;
    if (PenPaint(c, pen)) PaintPolyline(c, points, count, true, pen);
    return true;
}

bool Polyline(HDC dc, const TPoint* points, int count) {
    Canvas c;
    if (!ResolveCanvas(dc, c) || !PointsValid(points, count, 2)) return false;
    PenInk pen;
    if (PenPaint(c, pen)) PaintPolyline(c, points, count, false, pen);
    return true;
}

bool LineTo(HDC dc, int x, int y) {
    Canvas c;
    if (!ResolveCanvas(dc, c)) return false;
    PenInk pen;
    const TPoint from = c.dc->state.position;
    if (PenPaint(c, pen))
        PaintLine(c, Logical(c, from.x, from.y), Logical(c, x, y), pen.width, pen.paint, pen.Dash());
    c.dc->state.position = TPoint{x, y};
    return true;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    Canvas c;
    if (!ResolveCanvas(dc, c)) return CLR_INVALID;
    bool drawn = false;
    ForVisible(c, c.Y(y), c.X(x), c.X(x) + 1, [&](int a, int) {
        c.surface->SetPixel(a, static_cast<int>(c.Y(y)), ColorRefToPixel(color));
        c.dc->Damage(static_cast<int>(c.Y(y)), a, a + 1);
        drawn = true;
    });
    return drawn ? (color & kColourBits) : CLR_INVALID;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    Canvas c;
    if (!ResolveCanvas(dc, c)) return CLR_INVALID;
    COLORREF result = CLR_INVALID;
    ForVisible(c, c.Y(y), c.X(x), c.X(x) + 1,
               [&](int a, int) { result = PixelToColorRef(c.surface->Pixel(a, static_cast<int>(c.Y(y)))); });
    return result;
}

bool DrawFocusRect(HDC dc, const TRect& rect) {
    Canvas c;
    if (!ResolveCanvas(dc, c)) return false;
    const Point64 tl = Logical(c, rect.left, rect.top), br = Logical(c, rect.right, rect.bottom);
    if (tl.x >= br.x || tl.y >= br.y) return true;
    // Every other pixel of the frame, each exactly once, so that a second
    // call undoes the first.
    auto dot = [&](int64_t x, int64_t y) {
        if (((x + y) & 1) == 0) PaintSpan(c, y, x, x + 1, PixelPaint{PaintKind::Xor, kColourBits, nullptr});
    };
    const int64_t x0 = std::max<int64_t>(tl.x, c.limit.left - 1),
                  x1 = std::min<int64_t>(br.x, c.limit.right + 1);
    const int64_t y0 = std::max<int64_t>(tl.y + 1, c.limit.top - 1),
                  y1 = std::min<int64_t>(br.y - 1, c.limit.bottom + 1);
    for (int64_t x = x0; x < x1; ++x) {
        dot(x, tl.y);
        if (br.y - 1 > tl.y) dot(x, br.y - 1);
    }
    for (int64_t y = y0; y < y1; ++y) {
        dot(tl.x, y);
        if (br.x - 1 > tl.x) dot(br.x - 1, y);
    }
    return true;
}

bool PatBlt(HDC dc, int x, int y, int width, int height, uint32_t rop) {
    Canvas c;
    if (!ResolveCanvas(dc, c) || width < 0 || height < 0) return false;
    const TRect r = SurfaceRect(c, x, y, int64_t{x} + width, int64_t{y} + height);
    PixelPaint paint;
    switch (rop) {
        case PATCOPY:
            if (!DcBrushPaint(c, paint)) return true;
            break;
        case PATINVERT:
            if (!DcBrushPaint(c, paint)) return true;
            paint = XorPaint(paint);
            break;
        case DSTINVERT: paint = PixelPaint{PaintKind::Xor, kColourBits, nullptr}; break;
        case BLACKNESS: paint = SolidPaint(0); break;
        case WHITENESS: paint = SolidPaint(0xFFFFFF); break;
        default: return false;
    }
    PaintRect(c, r, paint);
    return true;
}

}  // namespace tarvel
