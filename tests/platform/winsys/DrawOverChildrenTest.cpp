// DCs that draw over a window's child windows, as tracking lines of
// splitters and headers do, and DCs that keep to the window's own part.

#include <memory>

#include "WinsysFixture.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {
namespace {

using DrawOverChildrenTest = WinsysTest;

TEST_F(DrawOverChildrenTest, OnlyADcAskedForWithoutChildClippingDrawsOverChildWindows) {
    COLORREF white = RGB(255, 255, 255), blue = RGB(0, 0, 255);
    HWND parent =
        Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 100), nullptr, PaintsIn(&white));
    Create(WS_CHILD | WS_VISIBLE, Bounds(40, 40, 20, 20), parent, PaintsIn(&blue));
    Pump();
    struct Case {
        const char* what;
        DWORD flags;
        COLORREF overChild;
    };
    // A tracking line across the whole parent, drawn by inverting.
    const Case cases[] = {
        {"the window's style", DCX_USESTYLE, blue},
        {"children clipped on request", DCX_CLIPCHILDREN, blue},
        {"over the children", DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE, RGB(255, 255, 0)},
    };
    for (const Case& c : cases) {
        HDC dc = GetDCEx(parent, nullptr, c.flags);
        PatBlt(dc, 0, 45, 100, 2, DSTINVERT);
        EXPECT_EQ(ScreenAt(10, 45), RGB(0, 0, 0)) << c.what;
        EXPECT_EQ(ScreenAt(50, 45), c.overChild) << c.what;
        PatBlt(dc, 0, 45, 100, 2, DSTINVERT);  // and away again
        ReleaseDC(parent, dc);
        EXPECT_EQ(ScreenAt(50, 45), blue) << c.what;
    }
}

}  // namespace
}  // namespace tarvel
