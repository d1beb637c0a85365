// Classic-look pieces shared by the standard controls.

#include "platform/classlib/ControlPaint.h"

#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

void FrameColor(HDC dc, const TRect& r, TColor color) {
    HBRUSH brush = CreateSolidBrush(ColorToColorRef(color));
    FrameRect(dc, r, brush);
    DeleteObject(brush);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, TColor color) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToColorRef(color));
    HPEN old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void Frame3D(HDC dc, TRect& r, TColor topLeft, TColor bottomRight) {
    if (r.IsEmpty()) return;
    FillColor(dc, TRect{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillColor(dc, TRect{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillColor(dc, TRect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    FillColor(dc, TRect{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    r = InflatedRect(r, -1, -1);
}

void DrawButtonFace(HDC dc, TRect& r, bool pressed, bool flat) {
    FillColor(dc, r, clBtnFace);
    if (flat) {
        if (pressed)
            Frame3D(dc, r, clBtnShadow, clBtnHighlight);
        else
            r = InflatedRect(r, -1, -1);
        return;
    }
    DrawEdge(dc, &r, pressed ? unsigned{EDGE_SUNKEN} : unsigned{EDGE_RAISED}, BF_RECT | BF_ADJUST);
}

void DrawArrowButton(HDC dc, const TRect& r, unsigned scrollKind, bool pressed, bool enabled) {
    TRect box = r;
    DrawFrameControl(
        dc, &box, DFC_SCROLL,
        scrollKind | (pressed ? unsigned{DFCS_PUSHED} : 0u) | (enabled ? 0u : unsigned{DFCS_INACTIVE}));
}

void DrawCheckBox(HDC dc, int x, int y, int state, bool enabled, bool pushed) {
    TRect box{x, y, x + 13, y + 13};
    DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillColor(dc, box, (enabled && !pushed && state != 2) ? clWindow : clBtnFace);
    if (state == 0) return;
    const TColor mark = (enabled && state == 1) ? clWindowText : clBtnShadow;
    // The tick: a short stroke down and a long one up, three pixels thick.
    for (int i = 0; i < 3; ++i) {
        DrawLine(dc, x + 3, y + 5 + i, x + 5, y + 7 + i, mark);
        DrawLine(dc, x + 5, y + 7 + i, x + 10, y + 2 + i, mark);
    }
}

void DrawRadioBox(HDC dc, int x, int y, bool checked, bool enabled, bool pushed) {
    int saved = SaveDC(dc);
    auto ring = [&](int inset, TColor pen, TColor fill) {
        HPEN p = CreatePen(PS_SOLID, 1, ColorToColorRef(pen));
        HBRUSH b = CreateSolidBrush(ColorToColorRef(fill));
        SelectObject(dc, p);
        SelectObject(dc, b);
        Ellipse(dc, x + inset, y + inset, x + 12 - inset, y + 12 - inset);
        SelectObject(dc, GetStockObject(NULL_PEN));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        DeleteObject(p);
        DeleteObject(b);
    };
    ring(0, clBtnShadow, clBtnHighlight);
    ring(1, cl3DDkShadow, (enabled && !pushed) ? clWindow : clBtnFace);
    if (checked) ring(4, enabled ? clWindowText : clBtnShadow, enabled ? clWindowText : clBtnShadow);
    RestoreDC(dc, saved);
}

void DrawEtchedFrame(HDC dc, TRect r) { DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT); }

}  // namespace tarvel
