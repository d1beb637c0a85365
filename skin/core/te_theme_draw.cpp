#include "skin/core/te_theme_draw.h"

#include <array>

#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel::tedraw {

TRect Shrink(const TRect& r, int dx, int dy) {
    return TRect{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
}

TRect CenteredBox(const TRect& r, int w, int h) {
    const int left = r.left + (r.Width() - w) / 2;
    const int top = r.top + (r.Height() - h) / 2;
    return TRect{left, top, left + w, top + h};
}

TColor Lighter(TColor c, int d) { return StdChangeColor(c, d); }
TColor Darker(TColor c, int d) { return StdChangeColor(c, -d); }

void FillFramed(TCanvas& c, const TRect& r, TColor fill, TColor frame) {
    FillRect(c, r, fill);
    DrawRect(c, r, frame);
}

void DrawBitmapCentered(TCanvas& c, const TteBitmap* bitmap, const TRect& r) {
    if (!bitmap || bitmap->Empty()) return;
    const TRect box = CenteredBox(r, bitmap->Width(), bitmap->Height());
    bitmap->Draw(c.Handle(), box.left, box.top);
}

void ScrollGlyph(TCanvas& c, const TRect& r, unsigned direction, TColor color) {
    DrawFrameControlGlyph(c, r, DFC_SCROLL, direction, color);
}

void CaptionGlyph(TCanvas& c, const TRect& r, unsigned which, TColor color) {
    DrawFrameControlGlyph(c, r, DFC_CAPTION, which, color);
}

void DrawCheckMark(TCanvas& c, int cx, int cy, TColor color) {
    static constexpr std::array<TPoint, 7> kFirst = {
        {{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}}};
    static constexpr std::array<TPoint, 5> kSecond = {{{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}}};
    c.Pen()->SetColor(color);
    std::array<TPoint, 7> first;
    for (size_t i = 0; i < kFirst.size(); ++i) first[i] = {cx + kFirst[i].x, cy + kFirst[i].y};
    std::array<TPoint, 5> second;
    for (size_t i = 0; i < kSecond.size(); ++i) second[i] = {cx + kSecond[i].x, cy + kSecond[i].y};
    c.Polyline(first);
    c.Polyline(second);
}

void DrawItemCheckMark(TCanvas& c, const TRect& r) {
    const TRect box = CenteredBox(r, 16, 16);
    DrawCheckMark(c, (box.left + box.right) / 2 - 2, (box.top + box.bottom) / 2 + 1, c.Font()->Color());
}

void DrawItemRadioDot(TCanvas& c, const TRect& r) { FillRoundRect(c, CenteredBox(r, 6, 6), 3, clBlack); }

void DrawSubMenuArrow(TCanvas& c, const TRect& r) {
    DrawFrameControlGlyph(c, CenteredBox(r, 16, 16), DFC_MENU, DFCS_MENUARROW, c.Font()->Color());
}

void DrawItemPicture(TCanvas& c, const TRect& glyphRect, const TteBitmap* bitmap, bool lifted) {
    if (!bitmap || bitmap->Empty()) return;
    TRect r = CenteredBox(glyphRect, bitmap->Width(), bitmap->Height());
    if (!lifted) {
        bitmap->Draw(c.Handle(), r);
        return;
    }
    r.Offset(-1, -1);
    TteBitmap opaque;
    opaque.Assign(const_cast<TteBitmap*>(bitmap));
    opaque.SetAlpha(255);
    DrawGlyphShadow(c, r.left + 2, r.top + 2, opaque, TColor(0x808080));
    opaque.Draw(c.Handle(), r);
}

void DrawWindowButtonGlyph(TCanvas& c, const TteWindowButtonInfo& info, TSize rollInset) {
    const TRect& r = info.Rect;
    const bool pressed = info.DrawState == kwbdsPressed;
    const unsigned pushed = pressed ? unsigned{DFCS_PUSHED} : 0u;
    switch (info.ButtonClass) {
        case kwbSysMenu: DrawBitmapCentered(c, info.Bitmap, r); break;
        case kwbClose: CaptionGlyph(c, r, DFCS_CAPTIONCLOSE | pushed, clBlack); break;
        case kwbHelp: CaptionGlyph(c, r, DFCS_CAPTIONHELP | pushed, clBlack); break;
        case kwbMin: CaptionGlyph(c, r, DFCS_CAPTIONMIN | pushed, clBlack); break;
        case kwbMax: CaptionGlyph(c, r, DFCS_CAPTIONMAX | pushed, clBlack); break;
        case kwbMinRestore:
        case kwbMaxRestore: CaptionGlyph(c, r, DFCS_CAPTIONRESTORE | pushed, clBlack); break;
        case kwbRoll:
        case kwbRollRestore: {
            TRect g = Shrink(r, rollInset.cx, rollInset.cy);
            if (pressed) g.Offset(-1, -1);
            const int mid = (g.left + g.right) / 2;
            TPoint up[] = {{g.left, g.bottom}, {g.right, g.bottom}, {mid, g.top}};
            TPoint down[] = {{g.left, g.top}, {g.right, g.top}, {mid, g.bottom}};
            FillPolygon(c, info.ButtonClass == kwbRoll ? up : down, 2, clBlack);
            break;
        }
        case kwbTray: {
            const TRect g = Shrink(r, 3);
            TRect square{g.right - 3, g.bottom - 3, g.right, g.bottom};
            if (!pressed) square.Offset(1, 1);
            FillRect(c, square, clBlack);
            break;
        }
        default: break;
    }
}

}  // namespace tarvel::tedraw
