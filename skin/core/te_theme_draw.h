#pragma once
// The small strokes the themes drawn in code are made of: the base theme and
// the built-in themes share them, so a look stays the same wherever it shows.

#include "platform/classlib/Graphics.h"
#include "skin/core/te_bitmap.h"
#include "skin/core/te_theme_types.h"

namespace tarvel::tedraw {

TRect Shrink(const TRect& r, int dx, int dy);
inline TRect Shrink(const TRect& r, int d) { return Shrink(r, d, d); }
// A w x h box centred in r.
TRect CenteredBox(const TRect& r, int w, int h);

TColor Lighter(TColor c, int d);
TColor Darker(TColor c, int d);

void FillFramed(TCanvas& c, const TRect& r, TColor fill, TColor frame);
void DrawBitmapCentered(TCanvas& c, const TteBitmap* bitmap, const TRect& r);

void ScrollGlyph(TCanvas& c, const TRect& r, unsigned direction, TColor color);
void CaptionGlyph(TCanvas& c, const TRect& r, unsigned which, TColor color);

// The check mark: two polylines around the centre (cx, cy).
void DrawCheckMark(TCanvas& c, int cx, int cy, TColor color);
// The glyphs of menu and tool-bar items, in a 16 x 16 box centred in r: the
// check mark and the sub-menu arrow in the font's colour, and the radio dot.
void DrawItemCheckMark(TCanvas& c, const TRect& r);
void DrawItemRadioDot(TCanvas& c, const TRect& r);
void DrawSubMenuArrow(TCanvas& c, const TRect& r);
// A picture glyph centred in r; lifted (a hot item), it moves up-left over
// its grey shadow. The lifting works on a copy: the caller's bitmap keeps
// its alpha.
void DrawItemPicture(TCanvas& c, const TRect& r, const TteBitmap* bitmap, bool lifted);

// The glyph of a caption button (the system menu's picture, the frame-control
// glyphs, the roll triangle and the tray square); rollInset is how far the
// roll triangle stands in from the button's sides.
void DrawWindowButtonGlyph(TCanvas& c, const TteWindowButtonInfo& info, TSize rollInset);

}  // namespace tarvel::tedraw
