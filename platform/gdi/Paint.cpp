#include "platform/gdi/Paint.h"

#include <cmath>

namespace tarvel {

bool ResolveCanvas(HDC dc, Canvas& c) {
    c.dc = FindDc(dc);
    if (!c.dc) return false;
    c.surface = c.dc->Target();
    c.clip = &c.dc->SurfaceClip();
    c.limit = c.surface ? c.clip->Bounds() : TRect{};
    c.ox = int64_t{c.dc->deviceOrigin.x} - c.dc->state.windowOrg.x;
    c.oy = int64_t{c.dc->deviceOrigin.y} - c.dc->state.windowOrg.y;
    return true;
}

TRect SurfaceRect(const Canvas& c, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    auto fit = [](int64_t v, int lo, int hi) { return static_cast<int>(std::clamp<int64_t>(v, lo, hi)); };
    const TRect& L = c.limit;
    TRect r{fit(c.X(left), L.left, L.right), fit(c.Y(top), L.top, L.bottom), fit(c.X(right), L.left, L.right),
            fit(c.Y(bottom), L.top, L.bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

PixelPaint SolidPaint(COLORREF color) { return PixelPaint{PaintKind::Set, ColorRefToPixel(color), nullptr}; }

bool BrushPaint(const BrushObject* brush, const DcState& state, PixelPaint& paint) {
    if (!brush || brush->IsNull()) return false;
    if (brush->log.lbStyle == BS_SOLID) {
        paint = SolidPaint(brush->log.lbColor);
    } else if (brush->log.lbStyle == BS_HATCHED) {
        paint =
            PixelPaint{PaintKind::Hatch, ColorRefToPixel(brush->log.lbColor),       nullptr,
                       brush->hatch,     ColorRefToPixel(state.bkColor & 0xFFFFFF), state.bkMode == OPAQUE};
    } else {
        paint = PixelPaint{PaintKind::Pattern, 0, &brush->pattern};
    }
    return true;
}

PixelPaint XorPaint(const PixelPaint& paint) {
    PixelPaint x = paint;
    switch (paint.kind) {
        case PaintKind::Set: x.kind = PaintKind::Xor; break;
        case PaintKind::Pattern: x.kind = PaintKind::XorPattern; break;
        case PaintKind::Hatch: x.kind = PaintKind::XorHatch; break;
        default: break;
    }
    return x;
}

void PaintRun(const Canvas& c, int y, int x0, int x1, const PixelPaint& paint) {
    c.dc->Damage(y, x0, x1);
    uint32_t* row = c.surface->Row(y);
    switch (paint.kind) {
        case PaintKind::Set: std::fill(row + x0, row + x1, paint.value); break;
        case PaintKind::Xor:
            for (int x = x0; x < x1; ++x) row[x] ^= paint.value;
            break;
        case PaintKind::And:
            for (int x = x0; x < x1; ++x) row[x] &= paint.value;
            break;
        case PaintKind::Or:
            for (int x = x0; x < x1; ++x) row[x] |= paint.value;
            break;
        case PaintKind::Pattern:
        case PaintKind::XorPattern: {
            const uint32_t* pattern = paint.pattern->data() + c.PatternY(y) * 8;
            if (paint.kind == PaintKind::Pattern) {
                for (int x = x0; x < x1; ++x) row[x] = pattern[c.PatternX(x)];
            } else {
                for (int x = x0; x < x1; ++x) row[x] ^= pattern[c.PatternX(x)];
            }
            break;
        }
        case PaintKind::Hatch:
        case PaintKind::XorHatch: {
            const uint64_t cellRow = paint.hatch >> (c.PatternY(y) * 8);
            const bool xored = paint.kind == PaintKind::XorHatch;
            for (int x = x0; x < x1; ++x) {
                const bool line = (cellRow >> c.PatternX(x)) & 1;
                if (!line && !paint.opaque) continue;
                const uint32_t v = line ? paint.value : paint.back;
                row[x] = xored ? row[x] ^ v : v;
            }
            break;
        }
    }
}

// ---------------------------------------------------------------------------
// Convex boxes

bool RoundBox::Row(int64_t y, int64_t& x0, int64_t& x1) const {
    if (y < t || y >= b || r <= l) return false;
    const double py = static_cast<double>(y) + 0.5;
    double dy = 0;
    if (ry > 0) {
        if (py < static_cast<double>(t) + ry)
            dy = static_cast<double>(t) + ry - py;
        else if (py > static_cast<double>(b) - ry)
            dy = py - (static_cast<double>(b) - ry);
    }
    double shrink = 0;
    if (dy > 0) {
        const double f = std::max(0.0, 1.0 - (dy / ry) * (dy / ry));
        shrink = rx - rx * std::sqrt(f);
    }
    // A pixel belongs to the row when its centre lies within the bounds.
    const double left = static_cast<double>(l) + shrink;
    const double right = static_cast<double>(r) - shrink;
    x0 = static_cast<int64_t>(std::ceil(left - 0.5));
    x1 = static_cast<int64_t>(std::floor(right - 0.5)) + 1;
    return x1 > x0;
}

RoundBox RoundBox::Inset(int64_t by) const {
    RoundBox inner = *this;
    inner.l += by;
    inner.t += by;
    inner.r -= by;
    inner.b -= by;
    inner.rx = std::max(0.0, rx - static_cast<double>(by));
    inner.ry = std::max(0.0, ry - static_cast<double>(by));
    return inner;
}

void PaintRoundBox(const Canvas& c, const RoundBox& box, const PixelPaint* fill, const PixelPaint* outline,
                   int penWidth) {
    if (!fill && !outline) return;
    const RoundBox inner = outline ? box.Inset(penWidth) : box;
    const int64_t top = std::max<int64_t>(box.t, c.limit.top);
    const int64_t bottom = std::min<int64_t>(box.b, c.limit.bottom);
    for (int64_t y = top; y < bottom; ++y) {
        int64_t x0, x1;
        if (!box.Row(y, x0, x1)) continue;
        if (!outline) {
            PaintSpan(c, y, x0, x1, *fill);
            continue;
        }
        int64_t i0, i1;
        if (!inner.Row(y, i0, i1) || i0 < x0 || i1 > x1) {
            PaintSpan(c, y, x0, x1, *outline);
            continue;
        }
        PaintSpan(c, y, x0, i0, *outline);
        if (fill) PaintSpan(c, y, i0, i1, *fill);
        PaintSpan(c, y, i1, x1, *outline);
    }
}

// ---------------------------------------------------------------------------
// Polygons

namespace {

// A vertex names a pixel, as the points of a line do, so the pixel (x, y)
// is sampled at the point (x, y) itself. Sampling half a pixel further down
// and right put the inside half a pixel off its own outline: holes inside
// the pen along the falling edges, brush outside it along the rising ones,
// nothing at all inside an arrow of three rows.
struct Crossing {
    int64_t x;  // the first pixel at or right of the edge in this row
    int dir;
};

int64_t CeilDiv(__int128 num, __int128 den) {
    if (den < 0) num = -num, den = -den;
    const __int128 q = num / den;
    return static_cast<int64_t>(q + (num % den > 0 ? 1 : 0));
}

// Each edge counts for its rows [top, bottom), so a vertex row is counted
// once and the bottom row of the shape is left out.
void RowCrossings(const std::vector<Point64>& pts, int64_t y, std::vector<Crossing>& out) {
    out.clear();
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const Point64& a = pts[i];
        const Point64& b = pts[(i + 1) % n];
        if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) continue;
        const int64_t x = a.x + CeilDiv(static_cast<__int128>(y - a.y) * (b.x - a.x), b.y - a.y);
        out.push_back(Crossing{x, b.y > a.y ? 1 : -1});
    }
    // Which of two crossings between the same pixels comes first changes
    // nothing: the run between them is empty.
    std::sort(out.begin(), out.end(), [](const Crossing& p, const Crossing& q) { return p.x < q.x; });
}

// The pixels [from, to) of a row, left edge in and right edge out.
void AddInside(int64_t from, int64_t to, std::vector<std::pair<int64_t, int64_t>>& spans) {
    if (to > from) spans.emplace_back(from, to);
}

void PolygonRowSpans(const std::vector<Point64>& pts, int fillMode, int64_t y,
                     std::vector<Crossing>& crossings, std::vector<std::pair<int64_t, int64_t>>& spans) {
    RowCrossings(pts, y, crossings);
    if (fillMode == WINDING) {
        int winding = 0;
        int64_t start = 0;
        for (const Crossing& cr : crossings) {
            const int before = winding;
            winding += cr.dir;
            if (before == 0 && winding != 0)
                start = cr.x;
            else if (before != 0 && winding == 0)
                AddInside(start, cr.x, spans);
        }
    } else {
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
            AddInside(crossings[i].x, crossings[i + 1].x, spans);
    }
}

}  // namespace

void PaintPolygon(const Canvas& c, const std::vector<Point64>& pts, int fillMode, const PixelPaint& paint) {
    if (pts.size() < 3) return;
    int64_t top = INT64_MAX, bottom = INT64_MIN;
    for (const Point64& p : pts) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<Crossing> crossings;
    PaintRows(c, top, bottom, paint, [&](int64_t y, std::vector<std::pair<int64_t, int64_t>>& spans) {
        PolygonRowSpans(pts, fillMode, y, crossings, spans);
    });
}

std::vector<std::vector<Span>> PolygonRows(const std::vector<Point64>& pts, int fillMode, int64_t top,
                                           int64_t bottom) {
    std::vector<std::vector<Span>> rows;
    std::vector<Crossing> crossings;
    std::vector<std::pair<int64_t, int64_t>> spans;
    for (int64_t y = top; y < bottom; ++y) {
        spans.clear();
        PolygonRowSpans(pts, fillMode, y, crossings, spans);
        std::vector<Span>& row = rows.emplace_back();
        for (const auto& s : spans) {
            const auto clampX = [](int64_t v) {
                return static_cast<int>(std::clamp<int64_t>(v, -(1 << 29), 1 << 29));
            };
            row.push_back(Span{clampX(s.first), clampX(s.second)});
        }
    }
    return rows;
}

// ---------------------------------------------------------------------------
// Lines

void PaintLine(const Canvas& c, Point64 a, Point64 b, int width, const PixelPaint& paint, LineDash* dash) {
    const int64_t dx = b.x - a.x, dy = b.y - a.y;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const int64_t steps = std::max(adx, ady);
    if (steps == 0) return;
    const int64_t phase = dash ? dash->phase : 0;
    if (dash) dash->phase = (dash->phase + steps) % dash->Length();
    const int64_t before = (width - 1) / 2;
    const bool xMajor = adx >= ady;
    const int64_t sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t dMajor = xMajor ? adx : ady, dMinor = xMajor ? ady : adx;
    const int64_t major0 = xMajor ? a.x : a.y, minor0 = xMajor ? a.y : a.x;

    // Only the steps whose pixels can reach the limit are walked, so a line
    // across a billion pixels costs what its visible part costs.
    const int64_t lo = (xMajor ? c.limit.left : c.limit.top) - width;
    const int64_t hi = (xMajor ? c.limit.right : c.limit.bottom) + width;
    int64_t first = 0, last = steps;  // [first, last)
    if (sMajor > 0) {
        first = std::max<int64_t>(first, lo - major0);
        last = std::min<int64_t>(last, hi - major0 + 1);
    } else {
        first = std::max<int64_t>(first, major0 - hi);
        last = std::min<int64_t>(last, major0 - lo + 1);
    }
    for (int64_t i = first; i < last; ++i) {
        const int64_t major = major0 + sMajor * i;
        // The minor coordinate rounded to the nearest, halves away from the start.
        const auto along =
            (static_cast<__int128>(2) * i * dMinor + dMajor) / (2 * static_cast<__int128>(dMajor));
        const int64_t minor = minor0 + sMinor * static_cast<int64_t>(along);
        const int64_t x = xMajor ? major : minor;
        const int64_t y = xMajor ? minor : major;
        const PixelPaint* ink = &paint;
        if (dash) {
            // A wide pen's square covers `width` steps: it is stamped where
            // it lies wholly within a dash, or wholly within a gap.
            const bool first = dash->Ink(phase + i - before + dash->Length());
            const bool last = dash->Ink(phase + i + (width - 1 - before));
            if (first != last) continue;
            if (!first) {
                ink = dash->gap;
                if (!ink) continue;
            }
        }
        if (width == 1) {
            PaintSpan(c, y, x, x + 1, *ink);
        } else {
            for (int64_t row = y - before; row < y - before + width; ++row)
                PaintSpan(c, row, x - before, x - before + width, *ink);
        }
    }
}

}  // namespace tarvel
