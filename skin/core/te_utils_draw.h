#pragma once
// The skin library's toolbox, part two: drawing primitives on a canvas or a
// DC, gradients, halftone and translucent fills, icons, frame-control
// glyphs, glyph shadows, regions from a bitmap's pixels, and wide text
// (also turned by 90 degrees or shortened with an ellipsis). Colours are
// TColor values (system colours resolved) unless a routine says otherwise.
// Each primitive sets the canvas's pen and brush as it needs and leaves
// them so.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/classlib/Graphics.h"
#include "platform/classlib/Icons.h"
#include "skin/core/te_bitmap.h"

namespace tarvel {

void MoveTo(TCanvas& canvas, int x, int y);
void LineTo(TCanvas& canvas, int x, int y, TColor color);
void DrawEdge(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight);
void DrawEdge(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor topLeft, TColor bottomRight);
void DrawRect(TCanvas& canvas, const TRect& r, TColor color);
void DrawRect(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color);
void DrawFocusRect(TCanvas& canvas, const TRect& r, TColor color);
void FillRect(TCanvas& canvas, const TRect& r, TColor color);
void FillRect(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color);
void FillRect(HDC dc, int x1, int y1, int x2, int y2, TColor color);
void FillEllipse(TCanvas& canvas, const TRect& r, TColor color);
void FillEllipse(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color);
void DrawRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color);
void FillRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color);
// Points[0..high].
void DrawPolygon(TCanvas& canvas, const TPoint* points, int high, TColor color);
void FillPolygon(TCanvas& canvas, const TPoint* points, int high, TColor color);
void FillHalftoneRect(TCanvas& canvas, TRect r, TColor color1, TColor color2);
void FillHalftonePolygon(TCanvas& canvas, const TPoint* points, int high, TColor color1, TColor color2);

// Windows MulDiv: a * b / c rounded to nearest (halves away from zero); -1 for c = 0.
int MulDiv(int a, int b, int c);
// The colour of band i of n between two resolved colours, per channel
// round((i * D / n + S) / 255).
TColor GradientBandColor(TColor from, TColor to, int i, int n);
void FillGradientRect(TCanvas& canvas, const TRect& r, TColor color1, TColor color2, bool vertical);
// Circles from large (color2) to small (color1); center in percent of r.
void FillRadialGradientRect(TCanvas& canvas, const TRect& r, TColor color1, TColor color2, TPoint center);
// color blended over the canvas at alpha.
void FillAlphaRect(TCanvas& canvas, const TRect& r, TColor color, uint8_t alpha);

constexpr int kSmallIconSize = 16;
// The icon at its own size, at the top-left of a small-icon square centred in r.
void DrawIcon(TCanvas& canvas, const TRect& r, TIcon* icon);
void DrawIcon(HDC dc, const TRect& r, TIcon* icon);
void DrawIcon(TCanvas& canvas, const TRect& r, HICON icon);
void DrawIcon(HDC dc, const TRect& r, HICON icon);

// The frame-control glyph (black in the system's drawing) in color on a
// transparent background.
void DrawFrameControlGlyph(TCanvas& canvas, const TRect& r, unsigned kind, unsigned state, TColor color);
// The glyph's shape in color at alpha 100.
void DrawGlyphShadow(TCanvas& canvas, int x, int y, const TteBitmap& bitmap, TColor color);

// Region data (32-byte header, then the rectangles) of the runs of opaque
// pixels, row by row: not key-coloured, or (byAlpha) alpha not 0.
std::vector<uint8_t> RegionDataFromBitmap(const TteBitmap& bitmap, int x, int y, bool byAlpha);
// Null for an empty bitmap; the caller owns the region.
HRGN CreateRegionFromBitmap(const TteBitmap& bitmap, int x, int y);
HRGN CreateRegionFromBitmap2(const TteBitmap& bitmap, int x, int y);

// Text, in the canvas's font, on a transparent background.
int DrawText(TCanvas& canvas, std::u16string_view text, TRect& r, unsigned format);
int DrawText(TCanvas& canvas, std::u16string_view text, int x, int y);
int DrawVerticalText(TCanvas& canvas, std::u16string_view text, const TRect& r, unsigned format,
                     bool topToBottom);
int TextWidth(TCanvas& canvas, std::u16string_view text, unsigned format = 0);
int TextHeight(TCanvas& canvas, std::u16string_view text);
// text, or its longest leading part followed by "..." that fits maxWidth.
WideString FormatStr(HDC dc, std::u16string_view text, int maxWidth);

}  // namespace tarvel
