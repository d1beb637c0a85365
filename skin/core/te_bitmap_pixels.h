#pragma once
// The pixel routines behind TteBitmap: copying, filling, blending, key-colour
// transparency and nearest-neighbour stretching of 32-bit pixels. Each gives
// the same pixels on every processor: blending keeps the background under
// alpha 0, copies the foreground at alpha 255 and otherwise mixes each colour
// channel (F*a + B*(255-a)) >> 8 with alpha 255, through the drawing layer's
// vector loops where the processor has them.

#include <cstdint>

#include "platform/gdi/Gdi.h"

namespace tarvel {

class TteBitmap;

// Fore over Back by Fore's alpha.
uint32_t PixelAlphaBlendFunc(uint32_t fore, uint32_t back);
void LineAlphaBlendFunc(const uint32_t* src, uint32_t* dst, int count);
// Key-coloured source pixels leave dst; the others are written with alpha 255.
void LineTransparentFunc(const uint32_t* src, uint32_t* dst, int count);
void MoveLongwordFunc(const uint32_t* src, uint32_t* dst, int count);
void FillLongwordFunc(uint32_t* dst, int count, uint32_t value);
// The inclusive rectangle (x1, y1)..(x2, y2) of a w-wide, h-high top-down
// image, cut to the image.
void FillLongwordRectFunc(uint32_t* bits, int w, int h, int x1, int y1, int x2, int y2, uint32_t value);
void FillAlphaFunc(uint32_t* dst, int count, uint8_t alpha);
void FillAlphaRectFunc(uint32_t* bits, int w, int h, int x1, int y1, int x2, int y2, uint8_t alpha);
// Pixels whose red, green and blue equal colour's get alpha 0.
void ClearAlphaFunc(uint32_t* dst, int count, uint32_t colour);

// The processor test of the pixel routines: answered false, since no loop
// leaves the MMX registers in use, so EMMS has nothing to do.
bool HasMMX();
void EMMS();

// Rows of 32-bit pixels: a TteBitmap (top-down) or a bottom-up DIB.
struct TPixelRows {
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    bool bottomUp = false;
    uint32_t* Row(int y) const { return bits + static_cast<int64_t>(bottomUp ? height - 1 - y : y) * width; }
};

enum class TDrawMode { Opaque, AlphaBlend, Transparent };
// Source columns and rows are found by truncation for bitmap targets and by
// rounding (ties to even) for DIB targets.
enum class TMapRounding { Truncate, HalfEven };

// Stretches `srcRect` of `src` into `dstRect` of `dst`, drawing only within
// clip ∩ dst ∩ dstRect. A source rectangle not wholly inside the source
// draws nothing. Source and target may be the same pixels.
void StretchPixels(const TPixelRows& dst, const TRect& dstRect, const TRect& clip, const TPixelRows& src,
                   const TRect& srcRect, TDrawMode mode, TMapRounding rounding);

// Tiles `dstRect` of `dst` with copies of `srcRect` of `src` laid from its
// top-left corner, drawing only within clip ∩ dst ∩ dstRect: the same pixels
// as a StretchPixels of each cell, in one pass however small the tile.
void TilePixels(const TPixelRows& dst, const TRect& dstRect, const TRect& clip, const TPixelRows& src,
                const TRect& srcRect, TDrawMode mode);

// The source column (or row) of each destination column of dstRect.
int MapSourceIndex(int x, const TRect& dstRect, const TRect& srcRect, bool horizontal, TMapRounding rounding);

TPixelRows RowsOf(const TteBitmap& bitmap);

void StretchOpaqueFunc(TteBitmap& target, const TRect& dstRect, const TRect& clipRect,
                       const TteBitmap& source, const TRect& srcRect);
void StretchAlphaBlendFunc(TteBitmap& target, const TRect& dstRect, const TRect& clipRect,
                           const TteBitmap& source, const TRect& srcRect);
void StretchTransparentFunc(TteBitmap& target, const TRect& dstRect, const TRect& clipRect,
                            const TteBitmap& source, const TRect& srcRect);

// Into the pixels of a 32-bit bottom-up DIB of dibWidth x dibHeight.
void StretchToDibOpaqueFunc(uint32_t* bits, const TRect& dstRect, const TRect& clipRect, int dibWidth,
                            int dibHeight, const TteBitmap& bitmap, const TRect& srcRect);
void StretchToDibAlphaBlendFunc(uint32_t* bits, const TRect& dstRect, const TRect& clipRect, int dibWidth,
                                int dibHeight, const TteBitmap& bitmap, const TRect& srcRect);
void StretchToDibTransparentFunc(uint32_t* bits, const TRect& dstRect, const TRect& clipRect, int dibWidth,
                                 int dibHeight, const TteBitmap& bitmap, const TRect& srcRect);

// Unscaled blocks of dstRect's size from (srcX, srcY); the caller keeps both
// inside their bitmaps.
void BltOpaqueFunc(TteBitmap& target, const TRect& dstRect, const TteBitmap& source, int srcX, int srcY);
void BltAlphaBlendFunc(TteBitmap& target, const TRect& dstRect, const TteBitmap& source, int srcX, int srcY);
void BltTransparentFunc(TteBitmap& target, const TRect& dstRect, const TteBitmap& source, int srcX, int srcY);

// Onto a device context.
void StretchToDCOpaqueFunc(HDC dc, int dstX, int dstY, int dstW, int dstH, const TteBitmap& bitmap, int srcX,
                           int srcY, int srcW, int srcH);
void StretchToDCAlphaBlendFunc(HDC dc, int dstX, int dstY, int dstW, int dstH, const TteBitmap& bitmap,
                               int srcX, int srcY, int srcW, int srcH);
void StretchToDCTransparentFunc(HDC dc, int dstX, int dstY, int dstW, int dstH, const TteBitmap& bitmap,
                                int srcX, int srcY, int srcW, int srcH);

// The pixels of the DIB section selected into dc (with its width, height,
// positive for bottom-up, and bit count), or null and three zeros.
uint32_t* GetBitsFromDCFunc(HDC dc, int& width, int& height, int& bitCount);

}  // namespace tarvel
