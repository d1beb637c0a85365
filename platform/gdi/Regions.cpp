// The region calls over Region.

#include <cmath>
#include <cstring>

#include "platform/gdi/Paint.h"

namespace tarvel {

namespace {

// Shapes are built row by row; regions taller than this are refused rather
// than made to take gigabytes.
constexpr int64_t kMaxShapeRows = int64_t{1} << 20;

HRGN NewRegion(Region region) {
    auto object = NewRegionObject();
    object->region = std::move(region);
    return HRGN(AddObject(object));
}

HRGN NewRegionFromRects(const TRect* rects, size_t count) {
    auto object = NewRegionObject();
    object->region.SetRects(rects, count);
    return HRGN(AddObject(object));
}

HRGN RegionFromBox(const RoundBox& box) {
    if (box.b - box.t > kMaxShapeRows) return nullptr;
    std::vector<std::vector<Span>> rows;
    for (int64_t y = box.t; y < box.b; ++y) {
        std::vector<Span>& row = rows.emplace_back();
        int64_t x0, x1;
        if (box.Row(y, x0, x1)) row.push_back(Span{static_cast<int>(x0), static_cast<int>(x1)});
    }
    return NewRegion(Region::FromRows(static_cast<int>(box.t), rows));
}

// Rounded and elliptic regions leave out the right column and bottom row
// of their box, as the system's did; callers add one to compensate.
HRGN RoundedRegion(int left, int top, int right, int bottom, double w, double h) {
    RoundBox box;
    box.l = std::min(left, right);
    box.r = int64_t{std::max(left, right)} - 1;
    box.t = std::min(top, bottom);
    box.b = int64_t{std::max(top, bottom)} - 1;
    if (box.r <= box.l || box.b <= box.t) return NewRegion(Region());
    box.rx = std::min(w, static_cast<double>(box.r - box.l)) / 2;
    box.ry = std::min(h, static_cast<double>(box.b - box.t)) / 2;
    return RegionFromBox(box);
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(Region(
        TRect{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)}));
}

HRGN CreateRectRgnIndirect(const TRect& r) { return CreateRectRgn(r.left, r.top, r.right, r.bottom); }

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    return RoundedRegion(left, top, right, bottom, std::abs(static_cast<double>(ellipseWidth)),
                         std::abs(static_cast<double>(ellipseHeight)));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return RoundedRegion(left, top, right, bottom, std::abs(static_cast<double>(right) - left),
                         std::abs(static_cast<double>(bottom) - top));
}

HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode) {
    if (!points || count < 3 || count > (1 << 20) || (fillMode != ALTERNATE && fillMode != WINDING))
        return nullptr;
    std::vector<Point64> pts;
    int64_t top = INT64_MAX, bottom = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        pts.push_back(Point64{points[i].x, points[i].y});
        top = std::min<int64_t>(top, points[i].y);
        bottom = std::max<int64_t>(bottom, points[i].y);
    }
    // Each row visits every edge.
    if (bottom - top > kMaxShapeRows || (bottom - top) * int64_t{count} > kMaxShapeRows * 64) return nullptr;
    return NewRegion(Region::FromRows(static_cast<int>(top), PolygonRows(pts, fillMode, top, bottom)));
}

HRGN ExtCreateRegion(const void* transform, uint32_t size, const void* data) {
    if (transform || !data || size < sizeof(RGNDATAHEADER)) return nullptr;
    RGNDATAHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES) return nullptr;
    if (uint64_t{header.nCount} * sizeof(TRect) > uint64_t{size} - sizeof(RGNDATAHEADER)) return nullptr;
    std::vector<TRect> rects(header.nCount);
    if (header.nCount)
        std::memcpy(rects.data(), static_cast<const uint8_t*>(data) + sizeof header,
                    rects.size() * sizeof(TRect));
    return NewRegionFromRects(rects.data(), rects.size());
}

HRGN ExtCreateRegion(const TRect* rects, size_t count) {
    if (!rects && count) return nullptr;
    return NewRegionFromRects(rects, count);
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
    auto d = FindRegion(dest);
    auto ra = FindRegion(a);
    if (!d || !ra) return RGN_ERROR;
    if (mode == RGN_COPY) {
        d->region = ra->region;
        return d->region.Complexity();
    }
    auto rb = FindRegion(b);
    if (!rb) return RGN_ERROR;
    static constexpr RegionOp kOps[] = {RegionOp::And, RegionOp::Or, RegionOp::Xor, RegionOp::Diff};
    if (mode < RGN_AND || mode > RGN_DIFF) return RGN_ERROR;
    if (d == ra || d == rb) {
        d->region = ra->region.Combine(rb->region, kOps[mode - RGN_AND]);
    } else {
        Region::Combine(ra->region, rb->region, kOps[mode - RGN_AND], d->region);
    }
    return d->region.Complexity();
}

int OffsetRgn(HRGN region, int dx, int dy) {
    auto r = FindRegion(region);
    if (!r) return RGN_ERROR;
    r->region.Offset(dx, dy);
    return r->region.Complexity();
}

int GetRgnBox(HRGN region, TRect* box) {
    auto r = FindRegion(region);
    if (!r || !box) return RGN_ERROR;
    *box = r->region.Bounds();
    return r->region.Complexity();
}

bool PtInRegion(HRGN region, int x, int y) {
    auto r = FindRegion(region);
    return r && r->region.Contains(x, y);
}

bool RectInRegion(HRGN region, const TRect& rect) {
    auto r = FindRegion(region);
    return r && r->region.Meets(rect);
}

bool EqualRgn(HRGN a, HRGN b) {
    auto ra = FindRegion(a);
    auto rb = FindRegion(b);
    return ra && rb && ra->region == rb->region;
}

bool SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    auto r = FindRegion(region);
    if (!r) return false;
    r->region.SetRect(
        TRect{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
    return true;
}

size_t GetRegionRects(HRGN region, std::function<void(const TRect&)> visit) {
    auto r = FindRegion(region);
    if (!r) return 0;
    size_t count = 0;
    r->region.ForEachRect([&](const TRect& rect) {
        ++count;
        if (visit) visit(rect);
    });
    return count;
}

}  // namespace tarvel
