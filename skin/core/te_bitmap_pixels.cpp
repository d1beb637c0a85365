#include "skin/core/te_bitmap_pixels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Blend.h"
#include "skin/core/te_bitmap.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_const.h"

namespace tarvel {

uint32_t PixelAlphaBlendFunc(uint32_t fore, uint32_t back) { return BlendTruncated(fore, back); }

void LineAlphaBlendFunc(const uint32_t* src, uint32_t* dst, int count) {
    BlendTruncatedLine(src, dst, count);
}

void LineTransparentFunc(const uint32_t* src, uint32_t* dst, int count) {
    for (int i = 0; i < count; ++i)
        if (!IsKeyColored(src[i])) dst[i] = src[i] | 0xFF000000u;
}

void MoveLongwordFunc(const uint32_t* src, uint32_t* dst, int count) {
    if (count <= 0 || src == dst) return;
    std::memmove(dst, src, static_cast<size_t>(count) * 4);
}

void FillLongwordFunc(uint32_t* dst, int count, uint32_t value) {
    if (count > 0) std::fill_n(dst, count, value);
}

namespace {

// The inclusive rectangle cut to a w x h image; false when nothing is left.
bool CutInclusive(int w, int h, int& x1, int& y1, int& x2, int& y2) {
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, w - 1);
    y2 = std::min(y2, h - 1);
    return x2 >= x1 && y2 >= y1;
}

}  // namespace

void FillLongwordRectFunc(uint32_t* bits, int w, int h, int x1, int y1, int x2, int y2, uint32_t value) {
    if (!bits || !CutInclusive(w, h, x1, y1, x2, y2)) return;
    for (int y = y1; y <= y2; ++y)
        FillLongwordFunc(bits + static_cast<int64_t>(y) * w + x1, x2 - x1 + 1, value);
}

void FillAlphaFunc(uint32_t* dst, int count, uint8_t alpha) {
    const uint32_t a = static_cast<uint32_t>(alpha) << 24;
    for (int i = 0; i < count; ++i) dst[i] = (dst[i] & 0x00FFFFFFu) | a;
}

void FillAlphaRectFunc(uint32_t* bits, int w, int h, int x1, int y1, int x2, int y2, uint8_t alpha) {
    if (!bits || !CutInclusive(w, h, x1, y1, x2, y2)) return;
    for (int y = y1; y <= y2; ++y) FillAlphaFunc(bits + static_cast<int64_t>(y) * w + x1, x2 - x1 + 1, alpha);
}

void ClearAlphaFunc(uint32_t* dst, int count, uint32_t colour) {
    for (int i = 0; i < count; ++i)
        if ((dst[i] & 0x00FFFFFFu) == (colour & 0x00FFFFFFu)) dst[i] &= 0x00FFFFFFu;
}

bool HasMMX() { return false; }
void EMMS() {}

// ---------------------------------------------------------------------------
// Stretching

namespace {

void DrawRow(TDrawMode mode, const uint32_t* src, uint32_t* dst, int count) {
    switch (mode) {
        case TDrawMode::Opaque: MoveLongwordFunc(src, dst, count); break;
        case TDrawMode::AlphaBlend: LineAlphaBlendFunc(src, dst, count); break;
        case TDrawMode::Transparent: LineTransparentFunc(src, dst, count); break;
    }
}

bool InsideSource(const TPixelRows& src, const TRect& r) {
    return r.left >= 0 && r.top >= 0 && r.right <= src.width && r.bottom <= src.height;
}

bool SameMemory(const TPixelRows& a, const TPixelRows& b) { return a.bits && a.bits == b.bits; }

}  // namespace

int MapSourceIndex(int x, const TRect& dstRect, const TRect& srcRect, bool horizontal,
                   TMapRounding rounding) {
    const int dstLo = horizontal ? dstRect.left : dstRect.top;
    const int dstSize = horizontal ? dstRect.Width() : dstRect.Height();
    const int srcLo = horizontal ? srcRect.left : srcRect.top;
    const int srcHi = horizontal ? srcRect.right : srcRect.bottom;
    if (dstSize < 2) return (srcLo + srcHi - 1) / 2;
    const float ratio = static_cast<float>(srcHi - srcLo - 1) / static_cast<float>(dstSize - 1);
    const long double at = static_cast<long double>(x - dstLo) * ratio + srcLo;
    return rounding == TMapRounding::HalfEven ? RoundHalfEven(at) : static_cast<int>(at);
}

void StretchPixels(const TPixelRows& dst, const TRect& dstRect, const TRect& clip, const TPixelRows& src,
                   const TRect& srcRect, TDrawMode mode, TMapRounding rounding) {
    if (srcRect.IsEmpty() || !dst.bits || !src.bits) return;
    const TRect visible = Intersect(Intersect(clip, TRect{0, 0, dst.width, dst.height}), dstRect);
    if (visible.IsEmpty()) return;
    if (!InsideSource(src, srcRect)) return;

    if (SameMemory(dst, src)) {
        // Drawing a bitmap onto itself: read from a copy so the moved
        // picture comes out whole where source and target overlap.
        std::vector<uint32_t> copy(static_cast<size_t>(srcRect.Width()) * srcRect.Height());
        for (int y = 0; y < srcRect.Height(); ++y)
            std::memcpy(copy.data() + static_cast<size_t>(y) * srcRect.Width(),
                        src.Row(srcRect.top + y) + srcRect.left, static_cast<size_t>(srcRect.Width()) * 4);
        const TPixelRows temp{copy.data(), srcRect.Width(), srcRect.Height(), false};
        StretchPixels(dst, dstRect, clip, temp, TRect{0, 0, srcRect.Width(), srcRect.Height()}, mode,
                      rounding);
        return;
    }

    const int visW = visible.Width();
    if (dstRect.Width() == srcRect.Width() && dstRect.Height() == srcRect.Height()) {
        const int sx = srcRect.left + visible.left - dstRect.left;
        for (int y = visible.top; y < visible.bottom; ++y) {
            const int sy = srcRect.top + y - dstRect.top;
            DrawRow(mode, src.Row(sy) + sx, dst.Row(y) + visible.left, visW);
        }
        return;
    }

    // Kept between calls: stretching allocates nothing once warm.
    thread_local std::vector<int> columns;
    thread_local std::vector<uint32_t> gathered;
    columns.resize(static_cast<size_t>(visW));
    gathered.resize(static_cast<size_t>(visW));
    for (int x = visible.left; x < visible.right; ++x)
        columns[static_cast<size_t>(x - visible.left)] = MapSourceIndex(x, dstRect, srcRect, true, rounding);
    int previous = -1;
    for (int y = visible.top; y < visible.bottom; ++y) {
        const int sy = MapSourceIndex(y, dstRect, srcRect, false, rounding);
        uint32_t* out = dst.Row(y) + visible.left;
        if (mode == TDrawMode::Opaque && sy == previous) {
            MoveLongwordFunc(dst.Row(y - 1) + visible.left, out, visW);
            continue;
        }
        if (sy != previous) {
            const uint32_t* in = src.Row(sy);
            for (int i = 0; i < visW; ++i)
                gathered[static_cast<size_t>(i)] = in[columns[static_cast<size_t>(i)]];
            previous = sy;
        }
        DrawRow(mode, gathered.data(), out, visW);
    }
}

void TilePixels(const TPixelRows& dst, const TRect& dstRect, const TRect& clip, const TPixelRows& src,
                const TRect& srcRect, TDrawMode mode) {
    const int tw = srcRect.Width(), th = srcRect.Height();
    if (tw <= 0 || th <= 0 || !dst.bits || !src.bits) return;
    const TRect visible = Intersect(Intersect(clip, TRect{0, 0, dst.width, dst.height}), dstRect);
    if (visible.IsEmpty()) return;
    if (SameMemory(dst, src) || !InsideSource(src, srcRect)) {
        // Cell by cell: a tile read from the picture it lands on, or one
        // whose edge cells alone fit the source.
        ForEachTileCellWithin(dstRect, srcRect, visible, [&](const TTileCell& c) {
            StretchPixels(dst, c.dst, visible, src, c.src, mode, TMapRounding::Truncate);
        });
        return;
    }
    const int visW = visible.Width();
    // One row of the pattern as wide as the visible part, built once for
    // each source row it needs.
    thread_local std::vector<uint32_t> pattern;
    pattern.resize(static_cast<size_t>(visW));
    const int firstColumn = static_cast<int>((int64_t{visible.left} - dstRect.left) % tw);
    int previous = -1;
    for (int y = visible.top; y < visible.bottom; ++y) {
        const int sy = srcRect.top + static_cast<int>((int64_t{y} - dstRect.top) % th);
        if (sy != previous) {
            const uint32_t* in = src.Row(sy) + srcRect.left;
            for (int i = 0, column = firstColumn; i < visW; ++i) {
                pattern[static_cast<size_t>(i)] = in[column];
                if (++column == tw) column = 0;
            }
            previous = sy;
        }
        DrawRow(mode, pattern.data(), dst.Row(y) + visible.left, visW);
    }
}

TPixelRows RowsOf(const TteBitmap& bitmap) {
    return TPixelRows{const_cast<uint32_t*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(), false};
}

namespace {

void StretchBitmap(TteBitmap& target, const TRect& dstRect, const TRect& clipRect, const TteBitmap& source,
                   const TRect& srcRect, TDrawMode mode) {
    StretchPixels(RowsOf(target), dstRect, clipRect, RowsOf(source), srcRect, mode, TMapRounding::Truncate);
}

void StretchDib(uint32_t* bits, const TRect& dstRect, const TRect& clipRect, int dibWidth, int dibHeight,
                const TteBitmap& bitmap, const TRect& srcRect, TDrawMode mode) {
    if (dibWidth <= 0 || dibHeight <= 0) return;
    StretchPixels(TPixelRows{bits, dibWidth, dibHeight, true}, dstRect, clipRect, RowsOf(bitmap), srcRect,
                  mode, TMapRounding::HalfEven);
}

void Blt(TteBitmap& target, const TRect& dstRect, const TteBitmap& source, int srcX, int srcY,
         TDrawMode mode) {
    for (int y = dstRect.top; y < dstRect.bottom; ++y)
        DrawRow(mode, source.GetScanLine(srcY + y - dstRect.top) + srcX, target.GetScanLine(y) + dstRect.left,
                dstRect.Width());
}

}  // namespace

void StretchOpaqueFunc(TteBitmap& target, const TRect& dstRect, const TRect& clipRect,
                       const TteBitmap& source, const TRect& srcRect) {
    StretchBitmap(target, dstRect, clipRect, source, srcRect, TDrawMode::Opaque);
}
void StretchAlphaBlendFunc(TteBitmap& target, const TRect& dstRect, const TRect& clipRect,
                           const TteBitmap& source, const TRect& srcRect) {
    StretchBitmap(target, dstRect, clipRect, source, srcRect, TDrawMode::AlphaBlend);
}
void StretchTransparentFunc(TteBitmap& target, const TRect& dstRect, const TRect& clipRect,
                            const TteBitmap& source, const TRect& srcRect) {
    StretchBitmap(target, dstRect, clipRect, source, srcRect, TDrawMode::Transparent);
}

void StretchToDibOpaqueFunc(uint32_t* bits, const TRect& dstRect, const TRect& clipRect, int dibWidth,
                            int dibHeight, const TteBitmap& bitmap, const TRect& srcRect) {
    StretchDib(bits, dstRect, clipRect, dibWidth, dibHeight, bitmap, srcRect, TDrawMode::Opaque);
}
void StretchToDibAlphaBlendFunc(uint32_t* bits, const TRect& dstRect, const TRect& clipRect, int dibWidth,
                                int dibHeight, const TteBitmap& bitmap, const TRect& srcRect) {
    StretchDib(bits, dstRect, clipRect, dibWidth, dibHeight, bitmap, srcRect, TDrawMode::AlphaBlend);
}
void StretchToDibTransparentFunc(uint32_t* bits, const TRect& dstRect, const TRect& clipRect, int dibWidth,
                                 int dibHeight, const TteBitmap& bitmap, const TRect& srcRect) {
    StretchDib(bits, dstRect, clipRect, dibWidth, dibHeight, bitmap, srcRect, TDrawMode::Transparent);
}

void BltOpaqueFunc(TteBitmap& target, const TRect& dstRect, const TteBitmap& source, int srcX, int srcY) {
    Blt(target, dstRect, source, srcX, srcY, TDrawMode::Opaque);
}
void BltAlphaBlendFunc(TteBitmap& target, const TRect& dstRect, const TteBitmap& source, int srcX, int srcY) {
    Blt(target, dstRect, source, srcX, srcY, TDrawMode::AlphaBlend);
}
void BltTransparentFunc(TteBitmap& target, const TRect& dstRect, const TteBitmap& source, int srcX,
                        int srcY) {
    Blt(target, dstRect, source, srcX, srcY, TDrawMode::Transparent);
}

// ---------------------------------------------------------------------------
// Device contexts

void StretchToDCOpaqueFunc(HDC dc, int dstX, int dstY, int dstW, int dstH, const TteBitmap& bitmap, int srcX,
                           int srcY, int srcW, int srcH) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dstX, dstY, dstW, dstH, bitmap.DC(), srcX, srcY, srcW, srcH, SRCCOPY);
}

namespace {

// Reads the target area back, composes in memory by the bitmap's flags and
// writes the result to the device.
void ComposeThroughMemory(HDC dc, int dstX, int dstY, int dstW, int dstH, const TteBitmap& bitmap, int srcX,
                          int srcY, int srcW, int srcH) {
    if (dstW <= 0 || dstH <= 0) return;
    // Pixels the first copy does not reach (outside the device's surface)
    // are never copied back, so what the scratch held there does not matter.
    TteBitmap& temp = ScratchBitmap(TScratch::Compose, dstW, dstH);
    BitBlt(temp.DC(), 0, 0, dstW, dstH, dc, dstX, dstY, SRCCOPY);
    bitmap.Draw(temp, TRect{0, 0, dstW, dstH}, TRect{srcX, srcY, srcX + srcW, srcY + srcH});
    BitBlt(dc, dstX, dstY, dstW, dstH, temp.DC(), 0, 0, SRCCOPY);
}

}  // namespace

void StretchToDCAlphaBlendFunc(HDC dc, int dstX, int dstY, int dstW, int dstH, const TteBitmap& bitmap,
                               int srcX, int srcY, int srcW, int srcH) {
    ComposeThroughMemory(dc, dstX, dstY, dstW, dstH, bitmap, srcX, srcY, srcW, srcH);
}

void StretchToDCTransparentFunc(HDC dc, int dstX, int dstY, int dstW, int dstH, const TteBitmap& bitmap,
                                int srcX, int srcY, int srcW, int srcH) {
    ComposeThroughMemory(dc, dstX, dstY, dstW, dstH, bitmap, srcX, srcY, srcW, srcH);
}

uint32_t* GetBitsFromDCFunc(HDC dc, int& width, int& height, int& bitCount) {
    width = height = bitCount = 0;
    const HBITMAP selected(GetCurrentObject(dc, OBJ_BITMAP));
    DIBSECTION ds;
    if (!selected || GetObject(selected, ds) != static_cast<int>(sizeof(DIBSECTION))) return nullptr;
    width = ds.dsBmih.biWidth;
    height = ds.dsBmih.biHeight;
    bitCount = ds.dsBmih.biBitCount;
    return static_cast<uint32_t*>(ds.dsBm.bmBits);
}

}  // namespace tarvel
