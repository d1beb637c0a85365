#pragma once
// An area made of disjoint rectangles: update regions and window shapes of
// the window system. Small and exact; most areas hold a handful of pieces
// and keep them inline, and an area reused paint after paint keeps its
// storage.

#include "platform/base/SmallVector.h"
#include "platform/gdi/Geometry.h"

namespace tarvel {

class RectList {
public:
    using Storage = SmallVector<TRect, 4>;

    RectList() = default;
    explicit RectList(const TRect& r) { Add(r); }

    bool IsEmpty() const { return rects_.empty(); }
    const Storage& Rects() const { return rects_; }
    TRect Bounds() const;
    bool Contains(TPoint p) const;
    bool Intersects(const TRect& r) const;

    void Clear() { rects_.clear(); }
    // Makes the area `r` alone, keeping the storage.
    void Reset(const TRect& r);
    void Add(const TRect& r);
    void Subtract(const TRect& r);
    void IntersectWith(const TRect& r);
    void IntersectWith(const RectList& other);
    void Offset(int dx, int dy);

    friend bool operator==(const RectList&, const RectList&) = default;

private:
    Storage rects_;
};

}  // namespace tarvel
