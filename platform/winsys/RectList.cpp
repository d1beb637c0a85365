#include "platform/winsys/RectList.h"

#include <algorithm>

namespace tarvel {

namespace {

// Up to four pieces of `a` that lie outside `b`.
void AppendDifference(const TRect& a, const TRect& b, RectList::Storage& out) {
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

// Working lists of the operations below, kept between calls; none of them
// calls out, so one set per thread is enough.
struct Scratch {
    RectList::Storage pieces, next;
};

Scratch& TheScratch() {
    thread_local Scratch scratch;
    return scratch;
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

void RectList::Reset(const TRect& r) {
    rects_.clear();
    if (!r.IsEmpty()) rects_.push_back(r);
}

void RectList::Add(const TRect& r) {
    if (r.IsEmpty()) return;
    // Keep the pieces disjoint: add only what is not covered yet.
    Scratch& s = TheScratch();
    s.pieces.clear();
    s.pieces.push_back(r);
    for (const TRect& have : rects_) {
        s.next.clear();
        for (const TRect& p : s.pieces) AppendDifference(p, have, s.next);
        s.pieces.swap(s.next);
        if (s.pieces.empty()) return;
    }
    rects_.append(s.pieces.begin(), s.pieces.end());
}

void RectList::Subtract(const TRect& r) {
    if (r.IsEmpty()) return;
    Storage& next = TheScratch().next;
    next.clear();
    for (const TRect& have : rects_) AppendDifference(have, r, next);
    rects_.assign(next.begin(), next.end());
}

void RectList::IntersectWith(const TRect& r) {
    size_t kept = 0;
    for (const TRect& have : rects_) {
        const TRect cut = Intersect(have, r);
        if (!cut.IsEmpty()) rects_[kept++] = cut;
    }
    rects_.resize(kept);
}

void RectList::IntersectWith(const RectList& other) {
    // Pieces of two disjoint lists meet in disjoint pieces: no overlap to
    // take out.
    Storage& next = TheScratch().next;
    next.clear();
    for (const TRect& a : rects_)
        for (const TRect& b : other.rects_) {
            const TRect cut = Intersect(a, b);
            if (!cut.IsEmpty()) next.push_back(cut);
        }
    rects_.assign(next.begin(), next.end());
}

void RectList::Offset(int dx, int dy) {
    for (TRect& r : rects_) r.Offset(dx, dy);
}

}  // namespace tarvel
