// Classic edges and frame controls, in the colours of the system-colour
// table. The glyph shapes are our own; an active glyph is pure black and
// nothing else drawn here is, so callers can recolour glyphs by that alone.

#include <algorithm>
#include <string_view>

#include "platform/gdi/Paint.h"

namespace tarvel {

namespace {

void Fill(const Canvas& c, int64_t l, int64_t t, int64_t r, int64_t b, COLORREF color) {
    PaintRect(c, SurfaceRect(c, l, t, r, b), SolidPaint(color));
}

struct EdgeColours {
    COLORREF topLeft, bottomRight;
};

// One ring of an edge: top-left lines stop short of the far corners, which
// belong to the bottom-right lines.
void EdgeRing(const Canvas& c, const TRect& r, unsigned flags, EdgeColours colours) {
    if (flags & BF_TOP) Fill(c, r.left, r.top, int64_t{r.right} - 1, int64_t{r.top} + 1, colours.topLeft);
    if (flags & BF_LEFT) Fill(c, r.left, r.top, int64_t{r.left} + 1, int64_t{r.bottom} - 1, colours.topLeft);
    if (flags & BF_BOTTOM) Fill(c, r.left, int64_t{r.bottom} - 1, r.right, r.bottom, colours.bottomRight);
    if (flags & BF_RIGHT) Fill(c, int64_t{r.right} - 1, r.top, r.right, r.bottom, colours.bottomRight);
}

TRect Shrink(TRect r, unsigned flags) {
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
    return r;
}

bool Edge(const Canvas& c, TRect& r, unsigned edge, unsigned flags) {
    const unsigned outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
    const unsigned inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
    auto colours = [&](bool raised, bool isOuter) -> EdgeColours {
        if (flags & BF_MONO) return {GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME)};
        if (flags & BF_FLAT)
            return isOuter ? EdgeColours{GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW)}
                           : EdgeColours{GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_3DFACE)};
        if (isOuter)
            return raised ? EdgeColours{GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW)}
                          : EdgeColours{GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT)};
        return raised ? EdgeColours{GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW)}
                      : EdgeColours{GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT)};
    };
    if (outer) {
        EdgeRing(c, r, flags, colours(outer == BDR_RAISEDOUTER, true));
        r = Shrink(r, flags);
    }
    if (inner) {
        EdgeRing(c, r, flags, colours(inner == BDR_RAISEDINNER, false));
        r = Shrink(r, flags);
    }
    if (flags & BF_MIDDLE) Fill(c, r.left, r.top, r.right, r.bottom, GetSysColor(COLOR_3DFACE));
    return true;
}

// Glyph masks for a button of about 16 x 14 pixels; larger buttons scale
// them by whole pixels.
struct Mask {
    int width, height;
    const char* rows[9];
};

constexpr Mask kClose{
    8, 7, {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##"}};
constexpr Mask kMinimize{
    8, 7, {"........", "........", "........", "........", "........", "######..", "######.."}};
constexpr Mask kMaximize{
    9,
    8,
    {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#########"}};
constexpr Mask kRestore{9,
                        9,
                        {"...######", "...######", "...#....#", "######..#", "######..#", "#....#..#",
                         "#....####", "#....#...", "######..."}};
constexpr Mask kHelp{
    6, 9, {".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..", "..##.."}};

void PaintMask(const Canvas& c, const Mask& mask, const TRect& area, int64_t dx, int64_t dy, COLORREF color) {
    const int scale = std::max(1, std::min(area.Width() / 16, area.Height() / 14) + 1);
    const int64_t w = int64_t{mask.width} * scale, h = int64_t{mask.height} * scale;
    const int64_t left = area.left + (area.Width() - w) / 2 + dx;
    const int64_t top = area.top + (area.Height() - h) / 2 + dy;
    for (int y = 0; y < mask.height; ++y) {
        const std::string_view row = mask.rows[y];
        for (int x = 0; x < mask.width; ++x)
            if (row[static_cast<size_t>(x)] == '#')
                Fill(c, left + x * scale, top + y * scale, left + (x + 1) * scale, top + (y + 1) * scale,
                     color);
    }
}

enum class Arrow { Up, Down, Left, Right };

// Below this depth a triangle reads as a dot: the halves of a spin button
// are only a few pixels high, and their arrows keep this size, cut by the
// face if they must be.
constexpr int64_t kMinArrowDepth = 3;

// A solid triangle centred in the area, its size taken from the area.
void PaintArrow(const Canvas& c, Arrow dir, const TRect& area, int64_t dx, int64_t dy, COLORREF color) {
    const int64_t side = std::min(area.Width(), area.Height());
    const int64_t depth = std::max(kMinArrowDepth, side / 3);  // from apex to base
    const int64_t base = 2 * depth - 1;
    const bool vertical = dir == Arrow::Up || dir == Arrow::Down;
    const int64_t boxW = vertical ? base : depth, boxH = vertical ? depth : base;
    const int64_t left = area.left + (area.Width() - boxW) / 2 + dx;
    const int64_t top = area.top + (area.Height() - boxH) / 2 + dy;
    // Only the rows (or columns) that can reach the surface are walked.
    int64_t first = 0, last = depth;
    auto keep = [&](int64_t lo, int64_t hi) {
        first = std::max(first, lo);
        last = std::min(last, hi);
    };
    const TRect& L = c.limit;
    switch (dir) {
        case Arrow::Up: keep(L.top - c.Y(top), L.bottom - c.Y(top)); break;
        case Arrow::Down: keep(c.Y(top) + depth - L.bottom, c.Y(top) + depth - L.top); break;
        case Arrow::Left: keep(L.left - c.X(left), L.right - c.X(left)); break;
        case Arrow::Right: keep(c.X(left) + depth - L.right, c.X(left) + depth - L.left); break;
    }
    for (int64_t i = first; i < last; ++i) {
        // Row (or column) i from the apex is 2i + 1 pixels long.
        const int64_t from = depth - 1 - i, to = depth + i;
        switch (dir) {
            case Arrow::Up: Fill(c, left + from, top + i, left + to, top + i + 1, color); break;
            case Arrow::Down:
                Fill(c, left + from, top + depth - 1 - i, left + to, top + depth - i, color);
                break;
            case Arrow::Left: Fill(c, left + i, top + from, left + i + 1, top + to, color); break;
            case Arrow::Right:
                Fill(c, left + depth - 1 - i, top + from, left + depth - i, top + to, color);
                break;
        }
    }
}

// The glyph of a control: black when active; grey with a white relief
// when inactive.
template <class Paint>
void PaintGlyph(unsigned state, Paint&& paint) {
    if (state & DFCS_INACTIVE) {
        paint(1, 1, GetSysColor(COLOR_3DHILIGHT));
        paint(0, 0, GetSysColor(COLOR_3DSHADOW));
    } else {
        paint(0, 0, RGB(0, 0, 0));
    }
}

// Face and border of a button-like control; returns the glyph area.
TRect ButtonFace(const Canvas& c, TRect r, unsigned state, bool flatWhenPushed) {
    Fill(c, r.left, r.top, r.right, r.bottom, GetSysColor(COLOR_3DFACE));
    const bool pushed = state & (DFCS_PUSHED | DFCS_CHECKED);
    if ((state & DFCS_FLAT) || (pushed && flatWhenPushed)) {
        EdgeRing(c, r, BF_RECT, {GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW)});
        r = Shrink(r, BF_RECT);
    } else {
        Edge(c, r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    return r;
}

// Glyphs stay inside the face, whatever the size of the control.
Canvas GlyphCanvas(const Canvas& c, const TRect& area) {
    Canvas g = c;
    g.CutTo(SurfaceRect(c, area.left, area.top, area.right, area.bottom));
    return g;
}

const Mask* CaptionMask(unsigned kind) {
    switch (kind) {
        case DFCS_CAPTIONCLOSE: return &kClose;
        case DFCS_CAPTIONMIN: return &kMinimize;
        case DFCS_CAPTIONMAX: return &kMaximize;
        case DFCS_CAPTIONRESTORE: return &kRestore;
        case DFCS_CAPTIONHELP: return &kHelp;
        default: return nullptr;
    }
}

// Controls are drawn within these coordinates, so that widths and the
// one-pixel steps of the borders cannot overflow.
bool Drawable(const TRect& r) {
    constexpr int kLimit = 1 << 29;
    for (int v : {r.left, r.top, r.right, r.bottom})
        if (v < -kLimit || v > kLimit) return false;
    return true;
}

constexpr Mask kCheckMark{
    7, 7, {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."}};
constexpr Mask kRadioDot{4, 4, {".##.", "####", "####", ".##."}};

// A sunken square, white inside (face-coloured while pushed or inactive),
// with a mark when checked; the third state shows its mark in grey on a
// checker of face and white.
void CheckBox(const Canvas& c, TRect r, unsigned state) {
    Edge(c, r, EDGE_SUNKEN, BF_RECT);
    const bool third = (state & 0x1F) == DFCS_BUTTON3STATE && (state & DFCS_CHECKED);
    const bool dim = state & (DFCS_PUSHED | DFCS_INACTIVE);
    if (third) {
        for (int64_t y = r.top; y < r.bottom; ++y)
            for (int64_t x = r.left; x < r.right; ++x)
                Fill(c, x, y, x + 1, y + 1,
                     ((x + y) & 1) ? GetSysColor(COLOR_3DFACE) : GetSysColor(COLOR_WINDOW));
    } else {
        Fill(c, r.left, r.top, r.right, r.bottom, GetSysColor(dim ? COLOR_3DFACE : COLOR_WINDOW));
    }
    if (!(state & DFCS_CHECKED)) return;
    const COLORREF mark = third || (state & DFCS_INACTIVE) ? GetSysColor(COLOR_3DSHADOW) : RGB(0, 0, 0);
    PaintMask(GlyphCanvas(c, r), kCheckMark, r, 0, 0, mark);
}

// A sunken ring drawn as two arcs of the edge colours, with a dot when checked.
void RadioBox(const Canvas& c, const TRect& r, unsigned state) {
    const int64_t size = std::min(r.Width(), r.Height());
    const int64_t left = r.left + (r.Width() - size) / 2, top = r.top + (r.Height() - size) / 2;
    const double mid = (size - 1) / 2.0;
    const bool dim = state & (DFCS_PUSHED | DFCS_INACTIVE);
    for (int64_t y = 0; y < size; ++y)
        for (int64_t x = 0; x < size; ++x) {
            const double dx = x - mid, dy = y - mid, d = dx * dx + dy * dy, outer = (mid + 0.5) * (mid + 0.5);
            const double inner = (mid - 0.5) * (mid - 0.5), core = (mid - 1.5) * (mid - 1.5);
            if (d > outer) continue;
            const bool upperLeft = dx + dy < 0;
            COLORREF col = GetSysColor(dim ? COLOR_3DFACE : COLOR_WINDOW);
            if (d > inner)
                col = GetSysColor(upperLeft ? COLOR_3DSHADOW : COLOR_3DHILIGHT);
            else if (d > core)
                col = GetSysColor(upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
            Fill(c, left + x, top + y, left + x + 1, top + y + 1, col);
        }
    if (!(state & DFCS_CHECKED)) return;
    const COLORREF dot = (state & DFCS_INACTIVE) ? GetSysColor(COLOR_3DSHADOW) : RGB(0, 0, 0);
    const TRect area{static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + size),
                     static_cast<int>(top + size)};
    PaintMask(GlyphCanvas(c, area), kRadioDot, area, 0, 0, dot);
}

}  // namespace

bool DrawEdge(HDC dc, TRect* rect, unsigned edge, unsigned flags) {
    Canvas c;
    if (!rect || !Drawable(*rect) || !ResolveCanvas(dc, c)) return false;
    TRect r = *rect;
    Edge(c, r, edge, flags);
    if (flags & BF_ADJUST) *rect = r;
    return true;
}

bool DrawFrameControl(HDC dc, TRect* rect, unsigned type, unsigned state) {
    Canvas c;
    if (!rect || !Drawable(*rect) || !ResolveCanvas(dc, c)) return false;
    const TRect r = *rect;
    const unsigned kind = state & 0xFF;
    const int shift = (state & DFCS_PUSHED) ? 1 : 0;
    switch (type) {
        case DFC_CAPTION: {
            const Mask* mask = CaptionMask(kind);
            if (!mask) return false;
            const TRect area = ButtonFace(c, r, state, false);
            const Canvas g = GlyphCanvas(c, area);
            PaintGlyph(state, [&](int dx, int dy, COLORREF col) {
                PaintMask(g, *mask, area, dx + shift, dy + shift, col);
            });
            return true;
        }
        case DFC_SCROLL: {
            if (kind > DFCS_SCROLLRIGHT) return false;
            static constexpr Arrow kArrows[] = {Arrow::Up, Arrow::Down, Arrow::Left, Arrow::Right};
            const TRect area = ButtonFace(c, r, state, true);
            const Canvas g = GlyphCanvas(c, area);
            PaintGlyph(state, [&](int dx, int dy, COLORREF col) {
                PaintArrow(g, kArrows[kind], area, dx + shift, dy + shift, col);
            });
            return true;
        }
        case DFC_MENU: {
            if (kind != DFCS_MENUARROW) return false;
            Fill(c, r.left, r.top, r.right, r.bottom, RGB(255, 255, 255));
            PaintGlyph(state,
                       [&](int dx, int dy, COLORREF col) { PaintArrow(c, Arrow::Right, r, dx, dy, col); });
            return true;
        }
        case DFC_BUTTON:
            switch (state & 0x1F) {
                case DFCS_BUTTONPUSH: ButtonFace(c, r, state, false); return true;
                case DFCS_BUTTONCHECK:
                case DFCS_BUTTON3STATE: CheckBox(c, r, state); return true;
                case DFCS_BUTTONRADIO: RadioBox(c, r, state); return true;
                default: return false;
            }
        default: return false;
    }
}

}  // namespace tarvel
