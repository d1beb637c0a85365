#pragma once
// An area made of disjoint rectangles: update regions and window shapes of
// the window system. Small and exact; areas here hold a handful of pieces.

#include <vector>

#include "platform/gdi/Geometry.h"

namespace tarvel {

class RectList {
public:
    RectList() = default;
    explicit RectList(const TRect& r) { Add(r); }

    bool IsEmpty() const { return rects_.empty(); }
    const std::vector<TRect>& Rects() const { return rects_; }
    TRect Bounds() const;
    bool Contains(TPoint p) const;
    bool Intersects(const TRect& r) const;

    void Clear() { rects_.clear(); }
    void Add(const TRect& r);
    void Subtract(const TRect& r);
    void IntersectWith(const TRect& r);
    void IntersectWith(const RectList& other);
    void Offset(int dx, int dy);

private:
    std::vector<TRect> rects_;
};

}  // namespace tarvel
