#pragma once
// Classic-look pieces the standard controls of this library share: bevels,
// arrow buttons, check marks, radio dots and the chequered scroll track.

#include "platform/classlib/Graphics.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

inline TRect InflatedRect(TRect r, int dx, int dy) {
    return TRect{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
}

// A one-pixel ring: `topLeft` on the top and left edges, `bottomRight` on
// the others.
void Frame3D(HDC dc, TRect& r, TColor topLeft, TColor bottomRight);
void FrameColor(HDC dc, const TRect& r, TColor color);
// A push button face (raised, or sunk when pressed), shrunk to its inside.
void DrawButtonFace(HDC dc, TRect& r, bool pressed, bool flat = false);
// An arrow button of a scroll bar or an up-down (DFCS_SCROLL... kind).
void DrawArrowButton(HDC dc, const TRect& r, unsigned scrollKind, bool pressed, bool enabled);
// A 13x13 check box at (x, y): 0 unchecked, 1 checked, 2 grayed.
void DrawCheckBox(HDC dc, int x, int y, int state, bool enabled, bool pushed);
void DrawRadioBox(HDC dc, int x, int y, bool checked, bool enabled, bool pushed);
// The etched line of group boxes and bevels.
void DrawEtchedFrame(HDC dc, TRect r);
void DrawLine(HDC dc, int x1, int y1, int x2, int y2, TColor color);

}  // namespace tarvel
