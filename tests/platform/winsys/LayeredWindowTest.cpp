// Layered top-level windows (opacity, colour key, pixels with their own
// alpha) and reading the screen back through the screen DC.

#include <memory>

#include "WinsysFixture.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

class LayeredWindowTest : public WinsysTest {
protected:
    // A popup at `bounds` whose client area is `color`, and left of
    // `split` (client x) `left` when given.
    HWND Filled(TRect bounds, COLORREF color, DWORD exStyle = 0, int split = 0, COLORREF left = 0) {
        return Create(
            WS_POPUP | WS_VISIBLE, bounds, nullptr,
            [=](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                if (m != WM_PAINT) return std::nullopt;
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(h, &ps);
                FillWith(dc, ClientRect(h), color);
                if (split > 0) FillWith(dc, Rect(0, 0, split, ClientRect(h).bottom), left);
                EndPaint(h, &ps);
                return 0;
            },
            exStyle);
    }

    // `area` of the screen, read through the screen DC.
    static std::shared_ptr<Surface> ReadScreen(const TRect& area) {
        auto pixels = std::make_shared<Surface>(area.Width(), area.Height());
        HBITMAP bitmap = CreateBitmapFromSurface(pixels);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, bitmap);
        HDC screen = GetDC(nullptr);
        EXPECT_TRUE(BitBlt(mem, 0, 0, area.Width(), area.Height(), screen, area.left, area.top, SRCCOPY));
        ReleaseDC(nullptr, screen);
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(bitmap);
        return pixels;
    }
};

TEST_F(LayeredWindowTest, TheScreenDcReadsBackTheComposedScreen) {
    Filled(Bounds(100, 100, 200, 150), kRed);
    HWND top = Filled(Bounds(200, 150, 200, 150), kBlue, WS_EX_LAYERED);
    ASSERT_TRUE(SetLayeredWindowAttributes(top, 0, 128, LWA_ALPHA));
    Pump();

    const TRect area = Bounds(50, 60, 400, 300);
    std::shared_ptr<Surface> read = ReadScreen(area);
    std::unique_ptr<Surface> composed = backend->ScreenPixels();
    int differing = 0;
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            if ((read->Pixel(x, y) & 0xFFFFFF) != (composed->Pixel(x + area.left, y + area.top) & 0xFFFFFF))
                ++differing;
    EXPECT_EQ(differing, 0);

    // Half of the blue over the red.
    EXPECT_EQ(PixelToColorRef(read->Pixel(250 - area.left, 200 - area.top) & 0xFFFFFF), RGB(127, 0, 128));
    EXPECT_EQ(PixelToColorRef(read->Pixel(150 - area.left, 120 - area.top) & 0xFFFFFF), kRed);
}

TEST_F(LayeredWindowTest, PixelsWithTheirOwnAlphaBlendOverTheWindowBelow) {
    Filled(Bounds(0, 0, 100, 100), kRed);
    HWND top = Create(WS_POPUP | WS_VISIBLE, Bounds(500, 500, 10, 10), nullptr, {}, WS_EX_LAYERED);
    Pump();

    // Green at four alphas in a row: straight alpha, as AlphaBlend reads it.
    auto source = std::make_shared<Surface>(4, 1);
    const uint32_t alphas[] = {0, 64, 128, 255};
    for (int x = 0; x < 4; ++x) source->SetPixel(x, 0, alphas[x] << 24 | 0x00FF00u);
    HBITMAP bitmap = CreateBitmapFromSurface(source);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, bitmap);

    struct Case {
        uint8_t constant;
        COLORREF want[4];
    };
    const Case cases[] = {
        {255, {RGB(255, 0, 0), RGB(191, 64, 0), RGB(127, 128, 0), RGB(0, 255, 0)}},
        {128, {RGB(255, 0, 0), RGB(223, 32, 0), RGB(191, 64, 0), RGB(127, 128, 0)}},
    };
    const TPoint position{10, 20};
    const TSize size{4, 1};
    for (const Case& c : cases) {
        BLENDFUNCTION blend;
        blend.SourceConstantAlpha = c.constant;
        blend.AlphaFormat = AC_SRC_ALPHA;
        ASSERT_TRUE(UpdateLayeredWindow(top, nullptr, &position, &size, src, nullptr, 0, &blend, ULW_ALPHA));
        Pump();
        EXPECT_EQ(WindowRect(top), Bounds(10, 20, 4, 1));
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ScreenAt(10 + x, 20), c.want[x]) << int(c.constant) << " " << x;
    }

    // Painting never runs over the given pixels.
    log.clear();
    InvalidateRect(top, nullptr, true);
    Pump();
    EXPECT_TRUE(Messages(top, {WM_PAINT, WM_ERASEBKGND, WM_NCPAINT}).empty());
    EXPECT_EQ(ScreenAt(13, 20), RGB(127, 128, 0));

    // Opacity set the other way makes it paint its own pixels again.
    ASSERT_TRUE(SetLayeredWindowAttributes(top, 0, 255, LWA_ALPHA));
    Pump();
    EXPECT_EQ(Messages(top, {WM_PAINT}), (std::vector<UINT>{WM_PAINT}));

    SelectObject(src, old);
    DeleteDC(src);
    DeleteObject(bitmap);
}

TEST_F(LayeredWindowTest, TheKeyColourShowsTheWindowBelow) {
    Filled(Bounds(0, 0, 300, 100), kBlue);
    // Key colour on the left half, red on the right.
    HWND keyed = Filled(Bounds(50, 10, 100, 50), kRed, WS_EX_LAYERED, 50, kMagenta);
    ASSERT_TRUE(SetLayeredWindowAttributes(keyed, kMagenta, 0, LWA_COLORKEY));
    Pump();
    EXPECT_EQ(ScreenAt(60, 20), kBlue);
    EXPECT_EQ(ScreenAt(120, 20), kRed);
    COLORREF key = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(keyed, &key, nullptr, &flags));
    EXPECT_EQ(key, kMagenta);
    EXPECT_EQ(flags, LWA_COLORKEY);

    // The same through given pixels.
    auto source = std::make_shared<Surface>(2, 1);
    source->SetPixel(0, 0, ColorRefToPixel(kMagenta));
    source->SetPixel(1, 0, ColorRefToPixel(kRed));
    HBITMAP bitmap = CreateBitmapFromSurface(source);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, bitmap);
    const TPoint position{200, 40};
    const TSize size{2, 1};
    ASSERT_TRUE(
        UpdateLayeredWindow(keyed, nullptr, &position, &size, src, nullptr, kMagenta, nullptr, ULW_COLORKEY));
    EXPECT_EQ(ScreenAt(200, 40), kBlue);
    EXPECT_EQ(ScreenAt(201, 40), kRed);
    SelectObject(src, old);
    DeleteDC(src);
    DeleteObject(bitmap);
}

TEST_F(LayeredWindowTest, UpdateLayeredWindowRefusesWhatItCannotShow) {
    HWND plain = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    HWND layered = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10), nullptr, {}, WS_EX_LAYERED);
    HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 5, 5), plain, {}, WS_EX_LAYERED);
    BLENDFUNCTION subtract;
    subtract.BlendOp = 1;
    const TSize empty{0, 3};
    struct Case {
        const char* what;
        HWND hwnd;
        const TSize* size;
        const BLENDFUNCTION* blend;
        DWORD flags;
    };
    const Case cases[] = {
        {"not layered", plain, nullptr, nullptr, ULW_OPAQUE},
        {"a child", child, nullptr, nullptr, ULW_OPAQUE},
        {"alpha without a blend", layered, nullptr, nullptr, ULW_ALPHA},
        {"an unknown blend", layered, nullptr, &subtract, ULW_ALPHA},
        {"an empty size", layered, &empty, nullptr, ULW_OPAQUE},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(
            UpdateLayeredWindow(c.hwnd, nullptr, nullptr, c.size, nullptr, nullptr, 0, c.blend, c.flags))
            << c.what;
    EXPECT_EQ(WindowRect(layered), Bounds(0, 0, 10, 10));
}

}  // namespace
}  // namespace tarvel
