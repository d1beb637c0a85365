#include "skin/extctrls/te_extctrls_updown.h"

#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_edits.h"

namespace tarvel {

void TThemedUpDown::Update() const {
    if (HWND upDown = hook_.Window()) InvalidateRect(upDown, nullptr, false);
}

void TThemedUpDown::ClearHot() {
    if (!firstHot_ && !secondHot_) return;
    firstHot_ = secondHot_ = false;
    Update();
}

TRect TThemedUpDown::FirstHalf() const {
    const TRect c = ::tarvel::ClientRect(hook_.Window());
    return vertical_ ? TRect{c.left, c.top, c.right, c.top + c.Height() / 2}
                     : TRect{c.left, c.top, c.left + c.Width() / 2, c.bottom};
}

TRect TThemedUpDown::SecondHalf() const {
    const TRect c = ::tarvel::ClientRect(hook_.Window());
    return vertical_ ? TRect{c.left, c.bottom - c.Height() / 2, c.right, c.bottom}
                     : TRect{c.right - c.Width() / 2, c.top, c.right, c.bottom};
}

void TThemedUpDown::Proc(TMessage& m) {
    HWND upDown = hook_.Window();
    auto state = [](bool pressed, bool hot) { return pressed ? ksbdsPressed : hot ? ksbdsHot : ksbdsNormal; };
    switch (m.Msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(upDown, &ps);
            {
                TDcCanvas canvas(dc);
                TteTheme* theme = theme_();
                theme->ScrollDrawButton(ksscScrollBar, *canvas,
                                        ScrollButtonInfo(FirstHalf(), state(firstPressed_, firstHot_),
                                                         vertical_ ? ksbcUp : ksbcLeft),
                                        "default");
                theme->ScrollDrawButton(ksscScrollBar, *canvas,
                                        ScrollButtonInfo(SecondHalf(), state(secondPressed_, secondHot_),
                                                         vertical_ ? ksbcDown : ksbcRight),
                                        "default");
            }
            EndPaint(upDown, &ps);
            return;
        }
        case WM_ERASEBKGND: m.Result = 1; return;
        case WM_LBUTTONDOWN: {
            // The native stepping runs first.
            hook_.CallSaved(m);
            const TPoint p = PointFromLParam(m.LParam);
            firstPressed_ = FirstHalf().Contains(p);
            secondPressed_ = SecondHalf().Contains(p);
            Update();
            return;
        }
        case WM_LBUTTONUP:
            hook_.CallSaved(m);
            firstPressed_ = secondPressed_ = false;
            Update();
            return;
        case WM_MOUSEMOVE: {
            const TPoint p = PointFromLParam(m.LParam);
            firstHot_ = FirstHalf().Contains(p);
            secondHot_ = SecondHalf().Contains(p);
            Update();
            if (OnMouseMove) OnMouseMove();
            return;
        }
    }
    hook_.CallSaved(m);
}

}  // namespace tarvel
