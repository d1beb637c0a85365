// Layered windows on a real X server: a colour key cuts the window's shape,
// and the screen DC answers what the screen shows, composed by us where the
// server cannot blend.

#include <sys/stat.h>

#include "platform/gdi/Blend.h"
#include "tests/platform/winsys/sdl/SdlFixture.h"

namespace tarvel {
namespace {

class LayeredOnX11 : public SdlTest {
public:
    LayeredOnX11() : SdlTest("x11") {}

protected:
    void SetUp() override {
        SdlTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(backend->OnX11());
        tree.Build(*probe);
        ASSERT_TRUE(PumpUntil([&] { return backend->WindowPixels(tree.form) != nullptr; }));
        PumpFor(200);
    }

    // The colour (0x00RRGGBB) at a screen point, read through the screen DC.
    static uint32_t ScreenDcPixel(TPoint p) {
        auto pixel = std::make_shared<Surface>(1, 1);
        HBITMAP bitmap = CreateBitmapFromSurface(pixel);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, bitmap);
        HDC screen = GetDC(nullptr);
        BitBlt(mem, 0, 0, 1, 1, screen, p.x, p.y, SRCCOPY);
        ReleaseDC(nullptr, screen);
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(bitmap);
        return pixel->Pixel(0, 0) & 0xFFFFFFu;
    }

    WindowTree tree;
};

TEST_F(LayeredOnX11, TheKeyColourShowsTheFormBelowAndOpacityMixesWithIt) {
    const TRect f = WindowRect(tree.form);
    const TPoint left{f.left + 20, f.top + 30}, right{f.left + 70, f.top + 30};
    const uint32_t belowLeft = ScreenDcPixel(left), belowRight = ScreenDcPixel(right);
    ASSERT_NE(belowLeft, 0xFF00FFu);

    // Over the form's corner: the key colour, with a red child on the right half.
    HWND keyed = probe->Create(WS_POPUP | WS_VISIBLE, Bounds(f.left, f.top, 100, 60), tree.form,
                               RGB(255, 0, 255), "", WS_EX_LAYERED);
    probe->Create(WS_CHILD | WS_VISIBLE, Bounds(50, 0, 50, 60), keyed, RGB(255, 0, 0));
    ASSERT_TRUE(SetLayeredWindowAttributes(keyed, RGB(255, 0, 255), 0, LWA_COLORKEY));
    PumpFor(300);
    EXPECT_EQ(ScreenDcPixel(left), belowLeft);  // read back from the server
    EXPECT_EQ(ScreenDcPixel(right), 0xFF0000u);

    ASSERT_TRUE(SetLayeredWindowAttributes(keyed, RGB(255, 0, 255), 128, LWA_COLORKEY | LWA_ALPHA));
    PumpFor(300);
    EXPECT_EQ(ScreenDcPixel(left), belowLeft);
    EXPECT_EQ(ScreenDcPixel(right), MixPixels(0xFFFF0000u, 0xFF000000u | belowRight, 128) & 0xFFFFFFu);

    std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
    mkdir(dir.c_str(), 0755);
    EXPECT_TRUE(backend->SaveScreenPng(dir + "/sdl_xvfb_layered.png"));
}

}  // namespace
}  // namespace tarvel
