#pragma once
// A set of pixels kept as bands: runs of rows that share the same sorted,
// disjoint x-intervals. Bands are sorted, never touch with equal spans (they
// are merged), and never hold an empty span list, so two equal sets have
// equal representations.
//
// The spans of all bands lie in one list, and small regions (a rectangle, a
// rectangle with a hole) fit inline. Assigning into a region and the
// in-place operations keep its storage, so a region reused paint after
// paint stops allocating.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/base/SmallVector.h"
#include "platform/gdi/Geometry.h"

namespace tarvel {

struct Span {
    int x0 = 0, x1 = 0;  // half-open
    friend bool operator==(const Span&, const Span&) = default;
};

// One band as the region shows it.
struct Band {
    int top = 0, bottom = 0;  // half-open rows
    std::span<const Span> spans;
};

enum class RegionOp { And, Or, Xor, Diff };

class Region {
    struct BandRec {
        int top = 0, bottom = 0;
        uint32_t first = 0, count = 0;  // its spans in spans_
        friend bool operator==(const BandRec&, const BandRec&) = default;
    };

public:
    Region() = default;
    explicit Region(const TRect& rect) { SetRect(rect); }
    // A rectangle given in 64 bits, clamped to the region's coordinate range.
    static Region FromBounds(int64_t left, int64_t top, int64_t right, int64_t bottom);

    static Region FromRects(const std::vector<TRect>& rects);
    // Row spans, one row at a time from `firstRow`; each row's spans sorted
    // and disjoint.
    static Region FromRows(int firstRow, const std::vector<std::vector<Span>>& rows);

    // The same, into this region's storage.
    void SetRect(const TRect& rect);
    void SetRects(const TRect* rects, size_t count);

    class BandRange {
    public:
        class Iterator {
        public:
            Band operator*() const { return region_->MakeBand(*rec_); }
            Iterator& operator++() {
                ++rec_;
                return *this;
            }
            bool operator!=(const Iterator& other) const { return rec_ != other.rec_; }

        private:
            friend class BandRange;
            Iterator(const Region* region, const BandRec* rec) : region_(region), rec_(rec) {}
            const Region* region_;
            const BandRec* rec_;
        };
        Iterator begin() const { return Iterator(region_, region_->bands_.begin()); }
        Iterator end() const { return Iterator(region_, region_->bands_.end()); }
        size_t size() const { return region_->bands_.size(); }

    private:
        friend class Region;
        explicit BandRange(const Region* region) : region_(region) {}
        const Region* region_;
    };

    bool IsEmpty() const { return bands_.empty(); }
    bool IsRect() const { return bands_.size() == 1 && bands_[0].count == 1; }
    TRect Bounds() const;
    int Complexity() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
    BandRange Bands() const { return BandRange(this); }
    // The spans of row y; empty where the region has none.
    std::span<const Span> SpansAt(int y) const;

    bool Contains(int x, int y) const;
    bool Meets(const TRect& rect) const;
    void Offset(int dx, int dy);  // saturates instead of overflowing
    std::vector<TRect> Rects() const;
    template <class Visit>
    void ForEachRect(Visit&& visit) const {
        for (const BandRec& b : bands_)
            for (uint32_t k = b.first; k < b.first + b.count; ++k)
                visit(TRect{spans_[k].x0, b.top, spans_[k].x1, b.bottom});
    }

    Region Combine(const Region& other, RegionOp op) const;
    // a op b into `out`, which must be neither of them.
    static void Combine(const Region& a, const Region& b, RegionOp op, Region& out);
    Region Intersect(const TRect& rect) const;
    void IntersectWith(const TRect& rect);

    void swap(Region& other) noexcept {
        bands_.swap(other.bands_);
        spans_.swap(other.spans_);
    }

    friend bool operator==(const Region&, const Region&) = default;

private:
    Band MakeBand(const BandRec& b) const {
        return Band{b.top, b.bottom, {spans_.data() + b.first, b.count}};
    }
    // Closes the band of rows [top, bottom) whose spans were appended from
    // index `first` on: dropped when empty, merged into the band above when
    // that one touches it with the same spans.
    void CloseBand(int top, int bottom, size_t first);
    // Drops empty spans and bands and merges what now touches, in place.
    void Compact();

    SmallVector<BandRec, 4> bands_;
    SmallVector<Span, 8> spans_;
};

}  // namespace tarvel
