#pragma once
// The few strokes the flat look is made of, shared by the flat theme's
// files and the office-style theme.

#include <array>

#include "skin/core/te_bitmap.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel::flat {

inline TRect Shrink(const TRect& r, int dx, int dy) {
    return TRect{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
}
inline TRect Shrink(const TRect& r, int d) { return Shrink(r, d, d); }

inline void FillFramed(TCanvas& c, const TRect& r, TColor fill, TColor frame) {
    FillRect(c, r, fill);
    DrawRect(c, r, frame);
}

// A w x h box centred in r.
inline TRect CenteredBox(const TRect& r, int w, int h) {
    const int left = r.left + (r.Width() - w) / 2;
    const int top = r.top + (r.Height() - h) / 2;
    return TRect{left, top, left + w, top + h};
}

inline void DrawBitmapCentered(TCanvas& c, const TteBitmap* bitmap, const TRect& r) {
    if (!bitmap || bitmap->Empty()) return;
    const TRect box = CenteredBox(r, bitmap->Width(), bitmap->Height());
    bitmap->Draw(c.Handle(), box.left, box.top);
}

inline TColor Lighter(TColor c, int d) { return StdChangeColor(c, d); }
inline TColor Darker(TColor c, int d) { return StdChangeColor(c, -d); }

inline void ScrollGlyph(TCanvas& c, const TRect& r, unsigned direction, TColor color) {
    DrawFrameControlGlyph(c, r, DFC_SCROLL, direction, color);
}
inline void CaptionGlyph(TCanvas& c, const TRect& r, unsigned which, TColor color) {
    DrawFrameControlGlyph(c, r, DFC_CAPTION, which, color);
}

// The check mark: two polylines around the centre (cx, cy).
inline void DrawCheckMark(TCanvas& c, int cx, int cy, TColor color) {
    static constexpr std::array<TPoint, 7> kFirst = {{{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}}};
    static constexpr std::array<TPoint, 5> kSecond = {{{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}}};
    c.Pen()->SetColor(color);
    std::array<TPoint, 7> first;
    for (size_t i = 0; i < kFirst.size(); ++i) first[i] = {cx + kFirst[i].x, cy + kFirst[i].y};
    std::array<TPoint, 5> second;
    for (size_t i = 0; i < kSecond.size(); ++i) second[i] = {cx + kSecond[i].x, cy + kSecond[i].y};
    c.Polyline(first);
    c.Polyline(second);
}

}  // namespace tarvel::flat
