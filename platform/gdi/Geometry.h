#pragma once
// Points, sizes and half-open rectangles (right and bottom are exclusive),
// shared by the drawing layer, the window system and everything above.

#include <algorithm>
#include <cstdint>

namespace tarvel {

struct TPoint {
    int x = 0, y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0, cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void Offset(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

// Empty when the rectangles do not meet.
inline TRect Intersect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
    if (r.IsEmpty()) return TRect{};
    return r;
}

}  // namespace tarvel
