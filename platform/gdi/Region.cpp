#include "platform/gdi/Region.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"

namespace tarvel {

namespace {

// Region coordinates are kept well inside int so that offsets and widths
// never overflow; nothing drawable lies beyond this.
constexpr int64_t kCoordLimit = int64_t{1} << 29;

int Clamp(int64_t v) { return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit)); }

TRect ClampRect(const TRect& r) {
    return TRect{Clamp(r.left), Clamp(r.top), Clamp(r.right), Clamp(r.bottom)};
}

bool Inside(bool inA, bool inB, RegionOp op) {
    switch (op) {
        case RegionOp::And: return inA && inB;
        case RegionOp::Or: return inA || inB;
        case RegionOp::Xor: return inA != inB;
        case RegionOp::Diff: return inA && !inB;
    }
    return false;
}

// Possibly overlapping intervals, sorted in place, appended to `out` disjoint
// and merged.
template <class Out>
void AppendNormalised(std::span<Span> spans, Out& out) {
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.x0 < b.x0; });
    const size_t first = out.size();
    for (const Span& s : spans) {
        if (s.x1 <= s.x0) continue;
        if (out.size() > first && s.x0 <= out.back().x1) {
            out.back().x1 = std::max(out.back().x1, s.x1);
        } else {
            out.push_back(s);
        }
    }
}

// The spans of `a` combined with those of `b` by `op`, appended to `out`.
template <class Out>
void AppendCombinedSpans(std::span<const Span> a, std::span<const Span> b, RegionOp op, Out& out) {
    const size_t first = out.size();
    size_t i = 0, j = 0;
    bool inA = false, inB = false;
    bool inside = false;
    int start = 0;
    // Walk every edge of both lists in x order, tracking membership.
    while (i < a.size() * 2 || j < b.size() * 2) {
        const int ea = i < a.size() * 2 ? (i % 2 == 0 ? a[i / 2].x0 : a[i / 2].x1) : INT32_MAX;
        const int eb = j < b.size() * 2 ? (j % 2 == 0 ? b[j / 2].x0 : b[j / 2].x1) : INT32_MAX;
        const int x = std::min(ea, eb);
        if (ea == x) {
            inA = (i % 2 == 0);
            ++i;
        }
        if (eb == x) {
            inB = (j % 2 == 0);
            ++j;
        }
        const bool now = Inside(inA, inB, op);
        if (now && !inside) start = x;
        if (!now && inside && x > start) {
            if (out.size() > first && out.back().x1 == start)
                out.back().x1 = x;
            else
                out.push_back(Span{start, x});
        }
        inside = now;
    }
}

// Working lists of the builders below, kept between calls; none of them
// calls out, so one set per thread is enough.
struct Scratch {
    std::vector<TRect> rects;
    std::vector<int> edges;
    std::vector<const TRect*> active;
    std::vector<Span> row;
};

Scratch& TheScratch() {
    thread_local Scratch scratch;
    return scratch;
}

}  // namespace

void Region::CloseBand(int top, int bottom, size_t first) {
    const size_t count = spans_.size() - first;
    if (bottom <= top || count == 0) {
        spans_.resize(first);
        return;
    }
    if (!bands_.empty()) {
        BandRec& above = bands_.back();
        if (above.bottom == top && above.count == count &&
            std::equal(spans_.begin() + first, spans_.end(), spans_.begin() + above.first)) {
            above.bottom = bottom;
            spans_.resize(first);
            return;
        }
    }
    bands_.push_back(BandRec{top, bottom, static_cast<uint32_t>(first), static_cast<uint32_t>(count)});
}

void Region::Compact() {
    const size_t bandCount = bands_.size();
    bands_.clear();
    size_t written = 0;
    // Writing never overtakes reading: bands_ and spans_ are rebuilt over
    // themselves.
    for (size_t rb = 0; rb < bandCount; ++rb) {
        const BandRec b = bands_.data()[rb];
        const size_t first = written;
        for (uint32_t k = b.first; k < b.first + b.count; ++k) {
            const Span s = spans_[k];
            if (s.x1 > s.x0) spans_[written++] = s;
        }
        spans_.resize(written);
        CloseBand(b.top, b.bottom, first);
        written = spans_.size();
    }
}

void Region::SetRect(const TRect& rect) {
    bands_.clear();
    spans_.clear();
    const TRect r = ClampRect(rect);
    if (r.IsEmpty()) return;
    spans_.push_back(Span{r.left, r.right});
    bands_.push_back(BandRec{r.top, r.bottom, 0, 1});
}

Region Region::FromBounds(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return Region(TRect{Clamp(left), Clamp(top), Clamp(right), Clamp(bottom)});
}

void Region::SetRects(const TRect* input, size_t count) {
    bands_.clear();
    spans_.clear();
    Scratch& s = TheScratch();
    std::vector<TRect>& rects = s.rects;
    rects.clear();
    for (size_t i = 0; i < count; ++i) {
        const TRect c = ClampRect(input[i]);
        if (!c.IsEmpty()) rects.push_back(c);
    }
    std::sort(rects.begin(), rects.end(), [](const TRect& a, const TRect& b) { return a.top < b.top; });
    std::vector<int>& edges = s.edges;
    edges.clear();
    for (const TRect& r : rects) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    // Sweep the bands keeping the rectangles that cover the current one.
    std::vector<const TRect*>& active = s.active;
    active.clear();
    size_t next = 0;
    for (size_t e = 0; e + 1 < edges.size(); ++e) {
        const int y0 = edges[e], y1 = edges[e + 1];
        while (next < rects.size() && rects[next].top <= y0) active.push_back(&rects[next++]);
        std::erase_if(active, [y0](const TRect* r) { return r->bottom <= y0; });
        s.row.clear();
        for (const TRect* r : active) s.row.push_back(Span{r->left, r->right});
        const size_t first = spans_.size();
        AppendNormalised(std::span<Span>(s.row), spans_);
        CloseBand(y0, y1, first);
    }
}

Region Region::FromRects(const std::vector<TRect>& rects) {
    Region out;
    out.SetRects(rects.data(), rects.size());
    return out;
}

Region Region::FromRows(int firstRow, const std::vector<std::vector<Span>>& rows) {
    Region out;
    std::vector<Span>& row = TheScratch().row;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int y = Clamp(int64_t{firstRow} + static_cast<int64_t>(i));
        if (y >= kCoordLimit) break;
        row.assign(rows[i].begin(), rows[i].end());
        const size_t first = out.spans_.size();
        AppendNormalised(std::span<Span>(row), out.spans_);
        out.CloseBand(y, y + 1, first);
    }
    return out;
}

TRect Region::Bounds() const {
    if (bands_.empty()) return TRect{};
    TRect r{INT32_MAX, bands_.front().top, INT32_MIN, bands_.back().bottom};
    for (const BandRec& b : bands_) {
        r.left = std::min(r.left, spans_[b.first].x0);
        r.right = std::max(r.right, spans_[b.first + b.count - 1].x1);
    }
    return r;
}

int Region::Complexity() const {
    if (IsEmpty()) return NULLREGION;
    return IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

std::span<const Span> Region::SpansAt(int y) const {
    const BandRec* it = std::upper_bound(bands_.begin(), bands_.end(), y,
                                         [](int v, const BandRec& b) { return v < b.bottom; });
    if (it == bands_.end() || y < it->top) return {};
    return MakeBand(*it).spans;
}

bool Region::Contains(int x, int y) const {
    const std::span<const Span> spans = SpansAt(y);
    auto it = std::upper_bound(spans.begin(), spans.end(), x, [](int v, const Span& s) { return v < s.x1; });
    return it != spans.end() && x >= it->x0;
}

bool Region::Meets(const TRect& rect) const {
    const TRect r = ClampRect(rect);
    if (r.IsEmpty()) return false;
    for (const BandRec& b : bands_) {
        if (b.bottom <= r.top) continue;
        if (b.top >= r.bottom) break;
        for (uint32_t k = b.first; k < b.first + b.count; ++k)
            if (spans_[k].x0 < r.right && spans_[k].x1 > r.left) return true;
    }
    return false;
}

void Region::Offset(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    for (Span& s : spans_) {
        s.x0 = Clamp(int64_t{s.x0} + dx);
        s.x1 = Clamp(int64_t{s.x1} + dx);
    }
    for (BandRec& b : bands_) {
        b.top = Clamp(int64_t{b.top} + dy);
        b.bottom = Clamp(int64_t{b.bottom} + dy);
    }
    // Only what saturated can have become empty or come to touch.
    Compact();
}

std::vector<TRect> Region::Rects() const {
    std::vector<TRect> out;
    out.reserve(spans_.size());
    ForEachRect([&out](const TRect& r) { out.push_back(r); });
    return out;
}

void Region::IntersectWith(const TRect& rect) {
    const TRect r = ClampRect(rect);
    for (BandRec& b : bands_) {
        b.top = std::max(b.top, r.top);
        b.bottom = std::min(b.bottom, r.bottom);
    }
    for (Span& s : spans_) {
        s.x0 = std::max(s.x0, r.left);
        s.x1 = std::min(s.x1, r.right);
    }
    Compact();
}

Region Region::Intersect(const TRect& rect) const {
    Region out = *this;
    out.IntersectWith(rect);
    return out;
}

void Region::Combine(const Region& a, const Region& b, RegionOp op, Region& out) {
    out.bands_.clear();
    out.spans_.clear();
    // Between two consecutive band edges of either region each side has one
    // span list, possibly none.
    const size_t na = a.bands_.size(), nb = b.bands_.size();
    size_t i = 0, j = 0;
    int y = INT32_MIN;
    while (i < na || j < nb) {
        const BandRec* ba = i < na ? &a.bands_[i] : nullptr;
        const BandRec* bb = j < nb ? &b.bands_[j] : nullptr;
        const bool inA = ba && ba->top <= y;
        const bool inB = bb && bb->top <= y;
        if (!inA && !inB) {
            // A gap in both: on to the next band that starts.
            y = std::min(ba ? ba->top : INT32_MAX, bb ? bb->top : INT32_MAX);
            continue;
        }
        int next = INT32_MAX;
        if (ba) next = std::min(next, inA ? ba->bottom : ba->top);
        if (bb) next = std::min(next, inB ? bb->bottom : bb->top);
        const size_t first = out.spans_.size();
        AppendCombinedSpans(inA ? a.MakeBand(*ba).spans : std::span<const Span>(),
                            inB ? b.MakeBand(*bb).spans : std::span<const Span>(), op, out.spans_);
        out.CloseBand(y, next, first);
        y = next;
        if (ba && ba->bottom <= y) ++i;
        if (bb && bb->bottom <= y) ++j;
    }
}

Region Region::Combine(const Region& other, RegionOp op) const {
    Region out;
    Combine(*this, other, op, out);
    return out;
}

}  // namespace tarvel
