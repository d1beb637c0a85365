#include "skin/core/te_utils_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/classlib/Bitmaps.h"
#include "skin/core/te_canvas_state.h"
#include "skin/core/te_const.h"
#include "skin/core/te_utils.h"

namespace tarvel {

namespace {

void UsePen(TCanvas& c, TColor color) {
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetColor(color);
}

void UseClearPen(TCanvas& c) { c.Pen()->SetStyle(psClear); }

void UseBrush(TCanvas& c, TColor color) {
    if (c.Brush()->Bitmap()) c.Brush()->SetBitmap(nullptr);
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(color);
}

void UseClearBrush(TCanvas& c) {
    if (c.Brush()->Bitmap()) c.Brush()->SetBitmap(nullptr);
    c.Brush()->SetStyle(bsClear);
}

// The 8 x 8 checkerboard pattern of the halftone fills. The brush keeps a
// pointer to it, so it lives as long as the program.
void UseHalftoneBrush(TCanvas& c, TColor color1, TColor color2) {
    static TBitmap pattern(8, 8);
    const uint32_t p1 = FromRGB(ColorToRGB(color1)) & 0x00FFFFFFu;
    const uint32_t p2 = FromRGB(ColorToRGB(color2)) & 0x00FFFFFFu;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern.ScanLine(y)[x] = (x % 2 == y % 2) ? p2 : p1;
    c.Brush()->SetBitmap(nullptr);  // a new handle from the new pattern
    c.Brush()->SetBitmap(&pattern);
}

std::span<const TPoint> PointSpan(const TPoint* points, int high) {
    if (!points || high < 0) return {};
    return std::span<const TPoint>(points, static_cast<size_t>(high) + 1);
}

// Raw text calls on the canvas's DC: its font selected by the canvas, the
// background left alone for as long as the guard lives.
class TTransparentText {
public:
    explicit TTransparentText(TCanvas& canvas)
        : dc_(canvas.SelectObjects()), mode_(SetBkMode(dc_, TRANSPARENT)) {}
    ~TTransparentText() { SetBkMode(dc_, mode_); }
    TTransparentText(const TTransparentText&) = delete;
    TTransparentText& operator=(const TTransparentText&) = delete;
    HDC Dc() const { return dc_; }

private:
    HDC dc_;
    int mode_;
};

}  // namespace

// ---------------------------------------------------------------------------
// Primitives

void MoveTo(TCanvas& canvas, int x, int y) { canvas.MoveTo(x, y); }

void LineTo(TCanvas& canvas, int x, int y, TColor color) {
    UsePen(canvas, color);
    canvas.LineTo(x, y);
}

void DrawEdge(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
    UseClearBrush(canvas);
    UsePen(canvas, topLeft);
    canvas.MoveTo(r.left, r.bottom - 2);
    canvas.LineTo(r.left, r.top);
    canvas.LineTo(r.right - 1, r.top);
    UsePen(canvas, bottomRight);
    canvas.MoveTo(r.right - 1, r.top);
    canvas.LineTo(r.right - 1, r.bottom - 1);
    canvas.LineTo(r.left - 1, r.bottom - 1);
}

void DrawEdge(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor topLeft, TColor bottomRight) {
    DrawEdge(canvas, TRect{x1, y1, x2, y2}, topLeft, bottomRight);
}

void DrawRect(TCanvas& canvas, const TRect& r, TColor color) {
    UsePen(canvas, color);
    UseClearBrush(canvas);
    canvas.Rectangle(r);
}

void DrawRect(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color) {
    DrawRect(canvas, TRect{x1, y1, x2, y2}, color);
}

void DrawFocusRect(TCanvas& canvas, const TRect& r, TColor color) {
    UseBrush(canvas, color);
    canvas.DrawFocusRect(r);
}

void FillRect(TCanvas& canvas, const TRect& r, TColor color) {
    UseBrush(canvas, color);
    canvas.FillRect(r);
}

void FillRect(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color) {
    FillRect(canvas, TRect{x1, y1, x2, y2}, color);
}

void FillRect(HDC dc, int x1, int y1, int x2, int y2, TColor color) {
    if (!dc) return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    FillRect(canvas, TRect{x1, y1, x2, y2}, color);
    canvas.SetHandle(nullptr);
}

void FillEllipse(TCanvas& canvas, const TRect& r, TColor color) {
    UseClearPen(canvas);
    UseBrush(canvas, color);
    canvas.Ellipse(r);
}

void FillEllipse(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color) {
    FillEllipse(canvas, TRect{x1, y1, x2, y2}, color);
}

void DrawRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color) {
    UsePen(canvas, color);
    UseClearBrush(canvas);
    canvas.RoundRect(r.left, r.top, r.right, r.bottom, radius, radius);
}

void FillRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color) {
    UsePen(canvas, color);
    UseBrush(canvas, color);
    canvas.RoundRect(r.left, r.top, r.right, r.bottom, radius, radius);
}

void DrawPolygon(TCanvas& canvas, const TPoint* points, int high, TColor color) {
    UsePen(canvas, color);
    UseClearBrush(canvas);
    canvas.Polygon(PointSpan(points, high));
}

void FillPolygon(TCanvas& canvas, const TPoint* points, int high, TColor color) {
    UsePen(canvas, color);
    UseBrush(canvas, color);
    canvas.Polygon(PointSpan(points, high));
}

void FillHalftoneRect(TCanvas& canvas, TRect r, TColor color1, TColor color2) {
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    if (r.IsEmpty()) return;
    UseHalftoneBrush(canvas, color1, color2);
    canvas.FillRect(r);
}

void FillHalftonePolygon(TCanvas& canvas, const TPoint* points, int high, TColor color1, TColor color2) {
    UseClearPen(canvas);
    UseHalftoneBrush(canvas, color1, color2);
    canvas.Polygon(PointSpan(points, high));
}

// ---------------------------------------------------------------------------
// Gradients and translucent fills

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t p = static_cast<int64_t>(a) * b;
    const int64_t half = std::llabs(static_cast<int64_t>(c)) / 2;
    const int64_t q =
        ((p < 0) != (c < 0)) ? (p - (c < 0 ? -half : half)) / c : (p + (c < 0 ? -half : half)) / c;
    return static_cast<int>(q);
}

TColor GradientBandColor(TColor from, TColor to, int i, int n) {
    TColor out = 0;
    for (int shift : {0, 8, 16}) {
        const long double s = static_cast<long double>((from >> shift) & 0xFF) * 255;
        const long double d =
            (static_cast<long double>((to >> shift) & 0xFF) - ((from >> shift) & 0xFF)) * 255;
        const int v = RoundHalfEven((static_cast<long double>(i) * d / n + s) / 255);
        out |= static_cast<TColor>(std::clamp(v, 0, 255)) << shift;
    }
    return out;
}

void FillGradientRect(TCanvas& canvas, const TRect& r, TColor color1, TColor color2, bool vertical) {
    if (r.IsEmpty()) return;
    const int extent = vertical ? r.Height() : r.Width();
    const int n = std::min(255, extent);
    const TColor from = ColorToRGB(color1), to = ColorToRGB(color2);
    for (int i = 0; i <= n; ++i) {
        TRect band = r;
        if (vertical) {
            band.top = r.top + MulDiv(i, extent, n);
            band.bottom = r.top + MulDiv(i + 1, extent, n);
        } else {
            band.left = r.left + MulDiv(i, extent, n);
            band.right = r.left + MulDiv(i + 1, extent, n);
        }
        band = Intersect(band, r);
        if (!band.IsEmpty()) FillRect(canvas, band, GradientBandColor(from, to, i, n));
    }
}

void FillRadialGradientRect(TCanvas& canvas, const TRect& r, TColor color1, TColor color2, TPoint center) {
    if (r.IsEmpty()) return;
    constexpr int n = 50;
    // Within the caller's clip, which comes back afterwards.
    const TCanvasDCState state(canvas);
    IntersectClipRect(state.DC(), r.left, r.top, r.right, r.bottom);
    const int m = std::max(r.Width(), r.Height());
    const int cx = r.left + RoundHalfEven(static_cast<long double>(r.Width()) * center.x / 100);
    const int cy = r.top + RoundHalfEven(static_cast<long double>(r.Height()) * center.y / 100);
    for (int k = n; k >= 0; --k) {
        const int radius = MulDiv(k + 1, m, n);
        FillEllipse(canvas, TRect{cx - radius, cy - radius, cx + radius, cy + radius},
                    GradientBandColor(color1 & 0x00FFFFFFu, color2 & 0x00FFFFFFu, k, n));
    }
}

void FillAlphaRect(TCanvas& canvas, const TRect& r, TColor color, uint8_t alpha) {
    if (r.IsEmpty()) return;
    const TRect area{0, 0, r.Width(), r.Height()};
    TteBitmap& layer = ScratchBitmap(TScratch::Layer, area.right, area.bottom);
    layer.Transparent = false;
    layer.AlphaBlend = false;
    layer.FillRect(area, teColor(color, alpha));
    layer.AlphaBlend = true;
    layer.Draw(canvas.Handle(), r.left, r.top, area);
}

// ---------------------------------------------------------------------------
// Icons and glyphs

void DrawIcon(TCanvas& canvas, const TRect& r, TIcon* icon) {
    if (!icon || icon->Empty()) return;
    TRect square{0, 0, kSmallIconSize, kSmallIconSize};
    RectCenter(square, r);
    canvas.Draw(square.left, square.top, icon);
}

void DrawIcon(HDC dc, const TRect& r, TIcon* icon) {
    if (!dc) return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    DrawIcon(canvas, r, icon);
    canvas.SetHandle(nullptr);
}

void DrawIcon(HDC dc, const TRect& r, HICON icon) {
    if (!dc || !icon) return;
    TRect square{0, 0, kSmallIconSize, kSmallIconSize};
    RectCenter(square, r);
    DrawIconEx(dc, square.left, square.top, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

void DrawIcon(TCanvas& canvas, const TRect& r, HICON icon) { DrawIcon(canvas.Handle(), r, icon); }

void DrawFrameControlGlyph(TCanvas& canvas, const TRect& r, unsigned kind, unsigned state, TColor color) {
    if (r.IsEmpty()) return;
    TteBitmap glyph;
    glyph.SetSize(r.Width(), r.Height());
    TRect area = glyph.BoundsRect();
    DrawFrameControl(glyph.DC(), &area, kind, state);
    const uint32_t ink = teColor(color, 255);
    uint32_t* p = glyph.Bits();
    for (int64_t i = 0, n = static_cast<int64_t>(glyph.Width()) * glyph.Height(); i < n; ++i)
        p[i] = p[i] == 0 ? ink : teKeyColor;
    glyph.Transparent = true;
    glyph.Draw(canvas.Handle(), r.left, r.top);
}

void DrawGlyphShadow(TCanvas& canvas, int x, int y, const TteBitmap& bitmap, TColor color) {
    if (bitmap.Empty()) return;
    TteBitmap shadow;
    shadow.Assign(const_cast<TteBitmap*>(&bitmap));
    shadow.AlphaBlend = true;
    shadow.CheckingTransparent(teKeyColor);
    const uint32_t shade = teColor(color, 100);
    uint32_t* p = shadow.Bits();
    for (int64_t i = 0, n = static_cast<int64_t>(shadow.Width()) * shadow.Height(); i < n; ++i)
        if ((p[i] >> 24) != 0) p[i] = shade;
    shadow.Draw(canvas.Handle(), x, y);
}

// ---------------------------------------------------------------------------
// Regions

std::vector<uint8_t> RegionDataFromBitmap(const TteBitmap& bitmap, int x, int y, bool byAlpha) {
    std::vector<TRect> runs;  // grows with the picture: no fixed run buffer
    auto opaque = [byAlpha](uint32_t p) { return byAlpha ? (p >> 24) != 0 : !IsKeyColored(p); };
    for (int row = 0; row < bitmap.Height(); ++row) {
        const uint32_t* line = bitmap.GetScanLine(row);
        for (int j = 0; j < bitmap.Width();) {
            if (!opaque(line[j])) {
                ++j;
                continue;
            }
            int k = j;
            while (k < bitmap.Width() && opaque(line[k])) ++k;
            runs.push_back(TRect{x + j, y + row, x + k, y + row + 1});
            j = k;
        }
    }
    RGNDATAHEADER header;
    header.nCount = static_cast<uint32_t>(runs.size());
    header.rcBound = TRect{0, 0, bitmap.Width(), bitmap.Height()};
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(TRect));
    std::memcpy(data.data(), &header, sizeof header);
    if (!runs.empty()) std::memcpy(data.data() + sizeof header, runs.data(), runs.size() * sizeof(TRect));
    return data;
}

namespace {
HRGN RegionFromBitmap(const TteBitmap& bitmap, int x, int y, bool byAlpha) {
    if (bitmap.Empty()) return nullptr;
    const std::vector<uint8_t> data = RegionDataFromBitmap(bitmap, x, y, byAlpha);
    return ExtCreateRegion(nullptr, static_cast<uint32_t>(data.size()), data.data());
}
}  // namespace

HRGN CreateRegionFromBitmap(const TteBitmap& bitmap, int x, int y) {
    return RegionFromBitmap(bitmap, x, y, false);
}
HRGN CreateRegionFromBitmap2(const TteBitmap& bitmap, int x, int y) {
    return RegionFromBitmap(bitmap, x, y, true);
}

// ---------------------------------------------------------------------------
// Text

int DrawText(TCanvas& canvas, std::u16string_view text, TRect& r, unsigned format) {
    const TTransparentText transparent(canvas);
    return DrawTextW(transparent.Dc(), text, &r, format);
}

int DrawText(TCanvas& canvas, std::u16string_view text, int x, int y) {
    TRect r{x, y, x + TextWidth(canvas, text), y + TextHeight(canvas, text)};
    return DrawText(canvas, text, r, 0);
}

int TextWidth(TCanvas& canvas, std::u16string_view text, unsigned format) {
    HDC dc = canvas.SelectObjects();
    if (format == 0) {
        TSize size;
        GetTextExtentPoint32W(dc, text, &size);
        return size.cx;
    }
    TRect r{};
    DrawTextW(dc, text, &r, format | DT_CALCRECT);
    return r.right;
}

int TextHeight(TCanvas& canvas, std::u16string_view text) {
    TSize size;
    GetTextExtentPoint32W(canvas.SelectObjects(), text, &size);
    return size.cy;
}

int DrawVerticalText(TCanvas& canvas, std::u16string_view text, const TRect& r, unsigned format,
                     bool topToBottom) {
    if (r.IsEmpty()) return 0;
    TteBitmap upright, turned;
    upright.SetSize(r.Width(), r.Height());
    turned.SetSize(r.Height(), r.Width());
    upright.Clear(teKeyColor);
    turned.Clear(teKeyColor);
    int result;
    {
        // Aliased: the key colour must not be blended into the edges.
        TCanvas target;
        target.SetHandle(turned.DC());
        target.Font()->Assign(canvas.Font());
        target.Font()->SetQuality(fqNonAntialiased);
        const TTransparentText transparent(target);
        TRect area = turned.BoundsRect();
        result = DrawTextW(transparent.Dc(), text, &area, format);
    }
    for (int y = 0; y < turned.Height(); ++y) {
        for (int x = 0; x < turned.Width(); ++x) {
            const uint32_t p = turned.GetScanLine(y)[x];
            if (p == teKeyColor) continue;
            if (topToBottom)
                upright.SetPixel(upright.Width() - 1 - y, x, p);
            else
                upright.SetPixel(y, upright.Height() - 1 - x, p);
        }
    }
    upright.Transparent = true;
    upright.Draw(canvas.Handle(), r.left, r.top);
    return result;
}

WideString FormatStr(HDC dc, std::u16string_view text, int maxWidth) {
    auto width = [dc](std::u16string_view s) {
        TSize size;
        GetTextExtentPoint32W(dc, s, &size);
        return size.cx;
    };
    if (width(text) <= maxWidth) return WideString(text);
    const std::u16string_view ellipsis = u"...";
    size_t lo = 0, hi = text.size();  // the longest fitting prefix lies in [lo, hi)
    while (lo + 1 < hi) {
        const size_t mid = (lo + hi) / 2;
        if (width(WideString(text.substr(0, mid)) + WideString(ellipsis)) <= maxWidth)
            lo = mid;
        else
            hi = mid;
    }
    if (lo > 0 && text[lo - 1] >= 0xD800 && text[lo - 1] < 0xDC00) --lo;  // keep surrogate pairs whole
    return WideString(text.substr(0, lo)) + WideString(ellipsis);
}

}  // namespace tarvel
