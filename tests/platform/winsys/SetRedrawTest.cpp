// WM_SETREDRAW: while it is off nothing of a window or its children reaches
// the screen; turned on again, each paints once.

#include <memory>

#include "WinsysFixture.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {
namespace {

class SetRedrawTest : public WinsysTest {
protected:
    size_t Paints(HWND h) const { return Messages(h, {WM_PAINT}).size(); }
};

TEST_F(SetRedrawTest, OffHoldsEveryPaintBackAndOnPaintsOnce) {
    COLORREF parentColor = RGB(255, 0, 0), childColor = RGB(0, 0, 255);
    HWND parent = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, PaintsIn(&parentColor));
    HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(50, 50, 20, 20), parent, PaintsIn(&childColor));
    Pump();
    log.clear();

    HDC kept = GetDC(parent);  // taken before, kept through it
    SendMessage(parent, WM_SETREDRAW, 0, 0);
    parentColor = RGB(0, 255, 0);
    childColor = RGB(255, 255, 0);
    for (int i = 0; i < 3; ++i) {
        InvalidateRect(parent, nullptr, true);
        InvalidateRect(child, nullptr, true);
        UpdateWindow(parent);
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump();
    }
    // Nor can a DC draw there meanwhile.
    HDC dc = GetDC(child);
    FillWith(dc, Rect(0, 0, 20, 20), RGB(0, 0, 0));
    ReleaseDC(child, dc);
    FillWith(kept, Rect(0, 0, 20, 20), RGB(0, 0, 0));
    EXPECT_EQ(Paints(parent), 0u);
    EXPECT_EQ(Paints(child), 0u);
    EXPECT_EQ(ScreenAt(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(60, 60), RGB(0, 0, 255));

    SendMessage(parent, WM_SETREDRAW, 1, 0);
    SendMessage(parent, WM_SETREDRAW, 1, 0);  // on already: nothing more
    Pump();
    EXPECT_EQ(Paints(parent), 1u);
    EXPECT_EQ(Paints(child), 1u);
    EXPECT_EQ(ScreenAt(10, 10), RGB(0, 255, 0));
    EXPECT_EQ(ScreenAt(60, 60), RGB(255, 255, 0));
    FillWith(kept, Rect(0, 0, 20, 20), RGB(0, 0, 0));
    EXPECT_EQ(ScreenAt(10, 10), RGB(0, 0, 0));
    ReleaseDC(parent, kept);
}

}  // namespace
}  // namespace tarvel
