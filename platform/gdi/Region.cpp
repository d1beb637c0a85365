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

// Sorted, possibly overlapping intervals made disjoint and merged.
std::vector<Span> Normalise(std::vector<Span> spans) {
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.x0 < b.x0; });
    std::vector<Span> out;
    for (const Span& s : spans) {
        if (s.x1 <= s.x0) continue;
        if (!out.empty() && s.x0 <= out.back().x1) {
            out.back().x1 = std::max(out.back().x1, s.x1);
        } else {
            out.push_back(s);
        }
    }
    return out;
}

}  // namespace

std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, RegionOp op) {
    std::vector<Span> out;
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
            if (!out.empty() && out.back().x1 == start)
                out.back().x1 = x;
            else
                out.push_back(Span{start, x});
        }
        inside = now;
    }
    return out;
}

Region::Region(const TRect& rect) {
    const TRect r = ClampRect(rect);
    if (!r.IsEmpty()) bands_.push_back(Band{r.top, r.bottom, {Span{r.left, r.right}}});
}

Region Region::FromBounds(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return Region(TRect{Clamp(left), Clamp(top), Clamp(right), Clamp(bottom)});
}

void Region::Append(int top, int bottom, std::vector<Span>&& spans) {
    if (bottom <= top || spans.empty()) return;
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back(Band{top, bottom, std::move(spans)});
}

Region Region::FromRects(const std::vector<TRect>& input) {
    std::vector<TRect> rects;
    rects.reserve(input.size());
    for (const TRect& r : input) {
        const TRect c = ClampRect(r);
        if (!c.IsEmpty()) rects.push_back(c);
    }
    std::sort(rects.begin(), rects.end(), [](const TRect& a, const TRect& b) { return a.top < b.top; });
    std::vector<int> edges;
    edges.reserve(rects.size() * 2);
    for (const TRect& r : rects) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    // Sweep the bands keeping the rectangles that cover the current one.
    Region out;
    std::vector<const TRect*> active;
    size_t next = 0;
    for (size_t e = 0; e + 1 < edges.size(); ++e) {
        const int y0 = edges[e], y1 = edges[e + 1];
        while (next < rects.size() && rects[next].top <= y0) active.push_back(&rects[next++]);
        std::erase_if(active, [y0](const TRect* r) { return r->bottom <= y0; });
        std::vector<Span> spans;
        spans.reserve(active.size());
        for (const TRect* r : active) spans.push_back(Span{r->left, r->right});
        out.Append(y0, y1, Normalise(std::move(spans)));
    }
    return out;
}

Region Region::FromRows(int firstRow, const std::vector<std::vector<Span>>& rows) {
    Region out;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int y = Clamp(int64_t{firstRow} + static_cast<int64_t>(i));
        if (y >= kCoordLimit) break;
        out.Append(y, y + 1, Normalise(rows[i]));
    }
    return out;
}

TRect Region::Bounds() const {
    if (bands_.empty()) return TRect{};
    TRect r{INT32_MAX, bands_.front().top, INT32_MIN, bands_.back().bottom};
    for (const Band& b : bands_) {
        r.left = std::min(r.left, b.spans.front().x0);
        r.right = std::max(r.right, b.spans.back().x1);
    }
    return r;
}

int Region::Complexity() const {
    if (IsEmpty()) return NULLREGION;
    return IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

const Band* Region::BandAt(int y) const {
    auto it =
        std::upper_bound(bands_.begin(), bands_.end(), y, [](int v, const Band& b) { return v < b.bottom; });
    if (it == bands_.end() || y < it->top) return nullptr;
    return &*it;
}

bool Region::Contains(int x, int y) const {
    const Band* band = BandAt(y);
    if (!band) return false;
    auto it = std::upper_bound(band->spans.begin(), band->spans.end(), x,
                               [](int v, const Span& s) { return v < s.x1; });
    return it != band->spans.end() && x >= it->x0;
}

bool Region::Meets(const TRect& rect) const {
    const TRect r = ClampRect(rect);
    if (r.IsEmpty()) return false;
    for (const Band& b : bands_) {
        if (b.bottom <= r.top) continue;
        if (b.top >= r.bottom) break;
        for (const Span& s : b.spans)
            if (s.x0 < r.right && s.x1 > r.left) return true;
    }
    return false;
}

void Region::Offset(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    std::vector<Band> old = std::move(bands_);
    bands_.clear();
    for (Band& b : old) {
        for (Span& s : b.spans) {
            s.x0 = Clamp(int64_t{s.x0} + dx);
            s.x1 = Clamp(int64_t{s.x1} + dx);
        }
        std::erase_if(b.spans, [](const Span& s) { return s.x1 <= s.x0; });
        Append(Clamp(int64_t{b.top} + dy), Clamp(int64_t{b.bottom} + dy), std::move(b.spans));
    }
}

std::vector<TRect> Region::Rects() const {
    std::vector<TRect> out;
    for (const Band& b : bands_)
        for (const Span& s : b.spans) out.push_back(TRect{s.x0, b.top, s.x1, b.bottom});
    return out;
}

Region Region::Combine(const Region& other, RegionOp op) const {
    // Band edges of both regions; between two edges each side has one span
    // list (possibly none).
    std::vector<int> edges;
    edges.reserve((bands_.size() + other.bands_.size()) * 2);
    for (const Band& b : bands_) {
        edges.push_back(b.top);
        edges.push_back(b.bottom);
    }
    for (const Band& b : other.bands_) {
        edges.push_back(b.top);
        edges.push_back(b.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    static const std::vector<Span> kNone;
    Region out;
    size_t i = 0, j = 0;
    for (size_t e = 0; e + 1 < edges.size(); ++e) {
        const int y0 = edges[e], y1 = edges[e + 1];
        while (i < bands_.size() && bands_[i].bottom <= y0) ++i;
        while (j < other.bands_.size() && other.bands_[j].bottom <= y0) ++j;
        const std::vector<Span>& a = (i < bands_.size() && bands_[i].top <= y0) ? bands_[i].spans : kNone;
        const std::vector<Span>& b =
            (j < other.bands_.size() && other.bands_[j].top <= y0) ? other.bands_[j].spans : kNone;
        out.Append(y0, y1, CombineSpans(a, b, op));
    }
    return out;
}

}  // namespace tarvel
