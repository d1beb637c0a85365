#include "platform/winsys/RectList.h"

#include <algorithm>

namespace tarvel {

namespace {

// Up to four pieces of `a` that lie outside `b`.
void AppendDifference(const TRect& a, const TRect& b, std::vector<TRect>& out) {
    TRect cut = Intersect(a, b);
    if (cut.IsEmpty()) {
        out.push_back(a);
        return;
    }
    if (a.top < cut.top) out.push_back(TRect{a.left, a.top, a.right, cut.top});
    if (cut.bottom < a.bottom) out.push_back(TRect{a.left, cut.bottom, a.right, a.bottom});
    if (a.left < cut.left) out.push_back(TRect{a.left, cut.top, cut.left, cut.bottom});
    if (cut.right < a.right) out.push_back(TRect{cut.right, cut.top, a.right, cut.bottom});
}

}  // namespace

TRect RectList::Bounds() const {
    if (rects_.empty()) return TRect{};
    TRect b = rects_.front();
    for (const TRect& r : rects_) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

bool RectList::Contains(TPoint p) const {
    return std::any_of(rects_.begin(), rects_.end(), [p](const TRect& r) { return r.Contains(p); });
}

bool RectList::Intersects(const TRect& rect) const {
    return std::any_of(rects_.begin(), rects_.end(),
                       [&rect](const TRect& r) { return !Intersect(r, rect).IsEmpty(); });
}

void RectList::Add(const TRect& r) {
    if (r.IsEmpty()) return;
    // Keep the pieces disjoint: add only what is not covered yet.
    std::vector<TRect> pieces{r};
    for (const TRect& have : rects_) {
        std::vector<TRect> next;
        for (const TRect& p : pieces) AppendDifference(p, have, next);
        pieces.swap(next);
        if (pieces.empty()) return;
    }
    rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void RectList::Subtract(const TRect& r) {
    if (r.IsEmpty()) return;
    std::vector<TRect> next;
    for (const TRect& have : rects_) AppendDifference(have, r, next);
    rects_.swap(next);
}

void RectList::IntersectWith(const TRect& r) {
    std::vector<TRect> next;
    for (const TRect& have : rects_) {
        TRect cut = Intersect(have, r);
        if (!cut.IsEmpty()) next.push_back(cut);
    }
    rects_.swap(next);
}

void RectList::IntersectWith(const RectList& other) {
    RectList out;
    for (const TRect& a : rects_)
        for (const TRect& b : other.rects_) out.Add(Intersect(a, b));
    rects_.swap(out.rects_);
}

void RectList::Offset(int dx, int dy) {
    for (TRect& r : rects_) r.Offset(dx, dy);
}

}  // namespace tarvel
