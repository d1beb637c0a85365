// What the display is told about a top-level window beyond its place:
// opacity, whether its own frame may size it, and its icon.

#include "WinsysFixture.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {
namespace {

using DisplayInfo = WinsysTest;

TEST_F(DisplayInfo, ALayeredWindowsAlphaReachesTheDisplay) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, {}, WS_EX_LAYERED);
    EXPECT_EQ(backend->SurfaceInfo(h).alpha, 255);
    ASSERT_TRUE(SetLayeredWindowAttributes(h, 0, 128, LWA_ALPHA));
    EXPECT_EQ(backend->SurfaceInfo(h).alpha, 128);
    uint8_t alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, LWA_ALPHA);

    // A colour key alone leaves it opaque.
    ASSERT_TRUE(SetLayeredWindowAttributes(h, RGB(255, 0, 255), 40, LWA_COLORKEY));
    EXPECT_EQ(backend->SurfaceInfo(h).alpha, 255);

    // No longer layered: opaque, and the opacity is forgotten.
    ASSERT_TRUE(SetLayeredWindowAttributes(h, 0, 90, LWA_ALPHA));
    SetWindowLongPtr(h, GWL_EXSTYLE, 0);
    EXPECT_EQ(backend->SurfaceInfo(h).alpha, 255);
    SetWindowLongPtr(h, GWL_EXSTYLE, WS_EX_LAYERED);
    EXPECT_EQ(backend->SurfaceInfo(h).alpha, 255);
}

TEST_F(DisplayInfo, OnlyLayeredTopLevelWindowsTakeAnOpacity) {
    HWND plain = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 128, LWA_ALPHA));
    EXPECT_EQ(backend->SurfaceInfo(plain).alpha, 255);
    EXPECT_FALSE(SetLayeredWindowAttributes(nullptr, 0, 128, LWA_ALPHA));
    EXPECT_FALSE(GetLayeredWindowAttributes(plain, nullptr, nullptr, nullptr));
}

TEST_F(DisplayInfo, OnlyAThickFrameLetsTheDisplaysFrameSizeTheWindow) {
    struct Case {
        const char* what;
        DWORD style;
        bool decorated, sizable;
    } cases[] = {
        {"a sizable form", WS_OVERLAPPEDWINDOW, true, true},
        {"a fixed-size dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, true, false},
    };
    for (const Case& c : cases) {
        HWND h = Create(c.style | WS_VISIBLE, Bounds(10, 10, 200, 150));
        TopLevelInfo info = backend->SurfaceInfo(h);
        EXPECT_EQ(info.decorated, c.decorated) << c.what;
        EXPECT_EQ(info.decorated && info.sizable, c.sizable) << c.what;
        DestroyWindow(h);
    }
    HWND h = Create(WS_POPUP | WS_CAPTION | WS_VISIBLE, Bounds(10, 10, 200, 150));
    SetWindowLongPtr(h, GWL_STYLE, WS_POPUP | WS_CAPTION | WS_THICKFRAME);
    EXPECT_TRUE(backend->SurfaceInfo(h).sizable);
}

TEST_F(DisplayInfo, TheBigIconOrElseTheSmallOneIsTheDisplaysIcon) {
    auto iconOf = [](uint32_t argb) {
        HBITMAP color = CreateCompatibleBitmap(nullptr, 2, 2);
        auto s = GetBitmapSurface(color);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) s->SetPixel(x, y, argb);
        ICONINFO info;
        info.hbmColor = color;
        HICON icon = CreateIconIndirect(&info);
        DeleteObject(color);
        return icon;
    };
    HICON small = iconOf(0xFF102030), big = iconOf(0x80A0B0C0);
    HWND h = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(10, 10, 200, 150));
    EXPECT_FALSE(backend->SurfaceInfo(h).icon);

    SendMessage(h, WM_SETICON, 0, static_cast<LPARAM>(small.Value()));
    std::shared_ptr<const Surface> icon = backend->SurfaceInfo(h).icon;
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Pixel(1, 1), 0xFF102030u);

    SendMessage(h, WM_SETICON, 1, static_cast<LPARAM>(big.Value()));
    icon = backend->SurfaceInfo(h).icon;
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Pixel(0, 0), 0x80A0B0C0u);  // its alpha kept

    SendMessage(h, WM_SETICON, 1, 0);
    SendMessage(h, WM_SETICON, 0, 0);
    EXPECT_FALSE(backend->SurfaceInfo(h).icon);
    DestroyIcon(small);
    DestroyIcon(big);
}

}  // namespace
}  // namespace tarvel
