#pragma once
// A set of pixels kept as bands: runs of rows that share the same sorted,
// disjoint x-intervals. Bands are sorted, never touch with equal spans (they
// are merged), and never hold an empty span list, so two equal sets have
// equal representations. Everything grows as needed.

#include <cstdint>
#include <vector>

#include "platform/gdi/Geometry.h"

namespace tarvel {

struct Span {
    int x0 = 0, x1 = 0;  // half-open
    friend bool operator==(const Span&, const Span&) = default;
};

struct Band {
    int top = 0, bottom = 0;  // half-open rows
    std::vector<Span> spans;
    friend bool operator==(const Band&, const Band&) = default;
};

enum class RegionOp { And, Or, Xor, Diff };

class Region {
public:
    Region() = default;
    explicit Region(const TRect& rect);
    // A rectangle given in 64 bits, clamped to the region's coordinate range.
    static Region FromBounds(int64_t left, int64_t top, int64_t right, int64_t bottom);

    static Region FromRects(const std::vector<TRect>& rects);
    // Row spans, one row at a time from `firstRow`; each row's spans sorted
    // and disjoint.
    static Region FromRows(int firstRow, const std::vector<std::vector<Span>>& rows);

    bool IsEmpty() const { return bands_.empty(); }
    bool IsRect() const { return bands_.size() == 1 && bands_[0].spans.size() == 1; }
    TRect Bounds() const;
    int Complexity() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
    const std::vector<Band>& Bands() const { return bands_; }
    // The band holding row y, or null.
    const Band* BandAt(int y) const;

    bool Contains(int x, int y) const;
    bool Meets(const TRect& rect) const;
    void Offset(int dx, int dy);  // saturates instead of overflowing
    std::vector<TRect> Rects() const;

    Region Combine(const Region& other, RegionOp op) const;
    Region Intersect(const TRect& rect) const { return Combine(Region(rect), RegionOp::And); }

    friend bool operator==(const Region&, const Region&) = default;

private:
    void Append(int top, int bottom, std::vector<Span>&& spans);

    std::vector<Band> bands_;
};

// The spans of `a` combined with those of `b` by `op`.
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, RegionOp op);

}  // namespace tarvel
