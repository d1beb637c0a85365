// The SDL backend on a real X server: clicks and keys made by the server
// (XTest), pixels read back from it, popups over forms, layered windows, and
// the real wait.

#include <sys/stat.h>

#include "XServerFixture.h"
#include "platform/gdi/Blend.h"
#include "tests/platform/winsys/sdl/SdlFixture.h"

namespace tarvel {
namespace {

std::string ScreenshotPath(const std::string& name) {
    std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
    mkdir(dir.c_str(), 0755);
    return dir + "/" + name;
}

class OnX11 : public SdlTest {
public:
    OnX11() : SdlTest("x11") {}
    static void SetUpTestSuite() { headless_ = HeadlessTreePixels().release(); }
    static void TearDownTestSuite() {
        delete headless_;
        headless_ = nullptr;
    }

protected:
    void SetUp() override {
        SdlTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(backend->OnX11());
        tree.Build(*probe);
        // Mapped, painted and presented.
        ASSERT_TRUE(PumpUntil([&] { return backend->WindowPixels(tree.form) != nullptr; }));
        PumpFor(200);
        probe->log.clear();
    }

    static TPoint Center(HWND hwnd) {
        TRect r = WindowRect(hwnd);
        return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
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

    static Surface* headless_;
    WindowTree tree;

    // A per-pixel-alpha popup over `at`, not yet shown: five clear columns,
    // then red at half opacity.
    HWND HalfRedLayeredWindow(const TRect& at) {
        HWND top = probe->Create(WS_POPUP, at, tree.form, 0, "", WS_EX_LAYERED | WS_EX_TOOLWINDOW);
        auto source = std::make_shared<Surface>(at.Width(), at.Height());
        for (int y = 0; y < at.Height(); ++y)
            for (int x = 0; x < at.Width(); ++x) source->SetPixel(x, y, x < 5 ? 0x00000000u : 0x80FF0000u);
        HBITMAP bitmap = CreateBitmapFromSurface(source);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, bitmap);
        BLENDFUNCTION blend;
        blend.BlendOp = AC_SRC_OVER;
        blend.SourceConstantAlpha = 255;
        blend.AlphaFormat = AC_SRC_ALPHA;
        const TPoint origin{0, 0};
        EXPECT_TRUE(UpdateLayeredWindow(top, nullptr, nullptr, nullptr, mem, &origin, 0, &blend, ULW_ALPHA));
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(bitmap);
        return top;
    }
    // Colours within 2 of each other in every channel.
    static bool near(uint32_t a, uint32_t b) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2)
                return false;
        return true;
    }
};
Surface* OnX11::headless_ = nullptr;

TEST_F(OnX11, AClickMadeByTheServerReachesTheChild) {
    TPoint target = OnScreen(tree.button, TPoint{7, 9});
    ASSERT_TRUE(XMovePointer(target.x, target.y));
    ASSERT_TRUE(XButton(1, true));
    ASSERT_TRUE(XButton(1, false));
    ASSERT_TRUE(PumpUntil([&] { return Got(tree.button, WM_LBUTTONUP); }));
    EXPECT_EQ(probe->Messages(tree.button, {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}).back(),
              WM_LBUTTONUP);
    const Logged* down = probe->Last(tree.button, WM_LBUTTONDOWN);
    ASSERT_TRUE(down);
    EXPECT_EQ(PointFromLParam(down->lParam), (TPoint{7, 9}));
    EXPECT_FALSE(Got(tree.panel, WM_LBUTTONDOWN));
    EXPECT_TRUE(backend->SaveWindowPng(tree.form, ScreenshotPath("sdl_xvfb_form.png")));
    EXPECT_TRUE(backend->SaveScreenPng(ScreenshotPath("sdl_xvfb_screen.png")));
}

TEST_F(OnX11, TheServerShowsThePixelsTheHeadlessDisplayShows) {
    std::unique_ptr<Surface> shown = backend->WindowPixels(tree.form);
    EXPECT_TRUE(SamePixels(shown.get(), headless_));
    // The whole screen, read from the root window, holds the same pixels.
    std::unique_ptr<Surface> screen = backend->ScreenPixels();
    ASSERT_TRUE(screen);
    TRect r = WindowRect(tree.form);
    for (TPoint p : {TPoint{0, 0}, TPoint{r.Width() - 1, r.Height() - 1}, TPoint{60, 40}})
        EXPECT_EQ(screen->Pixel(r.left + p.x, r.top + p.y) & 0xFFFFFF, headless_->Pixel(p.x, p.y) & 0xFFFFFF);
}

TEST_F(OnX11, AWindowPartlyOffTheScreenCanStillBeSaved) {
    SetWindowPos(tree.form, nullptr, -60, 700, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(200);
    std::unique_ptr<Surface> shown = backend->WindowPixels(tree.form);
    EXPECT_TRUE(SamePixels(shown.get(), headless_));
}

TEST_F(OnX11, APopupShowsAboveTheFormAndTypingStillGoesToTheForm) {
    TPoint over = Center(tree.side);
    HWND popup = probe->Create(WS_POPUP | WS_BORDER, Bounds(over.x - 40, over.y - 30, 120, 80), tree.form,
                               RGB(20, 160, 60), "", WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    ASSERT_TRUE(popup);
    SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    PumpFor(200);
    EXPECT_TRUE(FlagsOf(popup) & SDL_WINDOW_POPUP_MENU);
    EXPECT_EQ(GetActiveWindow(), tree.form);
    EXPECT_EQ(GetFocus(), tree.button);

    // Above: where the two overlap, the screen shows the popup.
    std::unique_ptr<Surface> screen = backend->ScreenPixels();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->Pixel(over.x, over.y) & 0xFFFFFF, 0x14A03Cu);
    EXPECT_TRUE(backend->SaveScreenPng(ScreenshotPath("sdl_xvfb_popup.png")));

    // Keys typed with the pointer over the popup belong to the form's focus.
    ASSERT_TRUE(XMovePointer(over.x, over.y));
    ASSERT_TRUE(XKey("a", true));
    ASSERT_TRUE(XKey("a", false));
    ASSERT_TRUE(PumpUntil([&] { return Got(tree.button, WM_KEYUP); }));
    const Logged* ch = probe->Last(tree.button, WM_CHAR);
    ASSERT_TRUE(ch);
    EXPECT_EQ(ch->wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(probe->Messages(tree.button, {WM_CHAR}).size(), 1u);
    EXPECT_EQ(probe->Messages(popup, {WM_KEYDOWN, WM_CHAR, WM_ACTIVATE, WM_SETFOCUS}), std::vector<UINT>{});
    EXPECT_EQ(GetActiveWindow(), tree.form);

    // Gone again, it leaves the keyboard with the form.
    ShowWindow(popup, SW_HIDE);
    PumpFor(100);
    probe->log.clear();
    TPoint onForm = OnScreen(tree.form, TPoint{100, 120});
    ASSERT_TRUE(XMovePointer(onForm.x, onForm.y));
    ASSERT_TRUE(XKey("b", true));
    ASSERT_TRUE(XKey("b", false));
    ASSERT_TRUE(PumpUntil([&] { return Got(tree.button, WM_KEYUP); }));
    ch = probe->Last(tree.button, WM_CHAR);
    ASSERT_TRUE(ch);
    EXPECT_EQ(ch->wParam, static_cast<WPARAM>('b'));
}

TEST_F(OnX11, TheKeyboardGivenToAFormActivatesItUnlessAModalWindowIsOverIt) {
    HWND dialog =
        probe->Create(WS_OVERLAPPED | WS_THICKFRAME | WS_VISIBLE, Bounds(420, 100, 160, 120), tree.form);
    PumpFor(200);
    ASSERT_EQ(GetActiveWindow(), dialog);

    ASSERT_TRUE(XGiveFocus(backend->SdlWindowOf(tree.form)));
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == tree.form; }));

    // Disabled under a modal dialog, it sends the keyboard back.
    SetActiveWindow(dialog);
    EnableWindow(tree.form, false);
    PumpFor(200);
    ASSERT_TRUE(XGiveFocus(backend->SdlWindowOf(tree.form)));
    ASSERT_TRUE(PumpUntil([&] { return SDL_GetKeyboardFocus() == backend->SdlWindowOf(dialog); }));
    EXPECT_EQ(GetActiveWindow(), dialog);
}

TEST_F(OnX11, CaptureTakesTheClicksOnOurOtherWindows) {
    HWND other =
        probe->Create(WS_OVERLAPPED | WS_VISIBLE, Bounds(500, 300, 120, 90), nullptr, RGB(90, 90, 90));
    PumpFor(200);
    SetActiveWindow(tree.form);
    SetCapture(tree.button);
    PumpFor(50);
    probe->log.clear();
    TPoint p = OnScreen(other, TPoint{30, 20});
    ASSERT_TRUE(XMovePointer(p.x, p.y));
    ASSERT_TRUE(XButton(1, true));
    ASSERT_TRUE(XButton(1, false));
    ASSERT_TRUE(PumpUntil([&] { return Got(tree.button, WM_LBUTTONUP); }));
    const Logged* down = probe->Last(tree.button, WM_LBUTTONDOWN);
    ASSERT_TRUE(down);
    TPoint expected = p;
    ScreenToClient(tree.button, expected);
    EXPECT_EQ(PointFromLParam(down->lParam), expected);
    EXPECT_FALSE(Got(other, WM_LBUTTONDOWN));
}

TEST_F(OnX11, DraggingTheLeftEdgeMovesItWithThePointer) {
    // Our own size loop on the server: the window moves under a captured
    // pointer, and the edge ends exactly where the pointer let go.
    TRect start = WindowRect(tree.form);
    int y = start.top + start.Height() / 2;
    ASSERT_TRUE(XMovePointer(start.left + 1, y));
    ASSERT_TRUE(XButton(1, true));
    for (int step = 1; step <= 6; ++step) ASSERT_TRUE(XMovePointer(start.left + 1 - 5 * step, y));
    ASSERT_TRUE(XButton(1, false));
    ASSERT_TRUE(PumpUntil([&] { return Got(tree.form, WM_EXITSIZEMOVE); }));
    EXPECT_EQ(WindowRect(tree.form), (TRect{start.left - 30, start.top, start.right, start.bottom}));
}

TEST_F(OnX11, CursorsAndOpacityReachTheDisplay) {
    SetCursor(LoadCursor(IDC_SIZEWE));
    EXPECT_NE(SDL_GetCursor(), SDL_GetDefaultCursor());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    SetCursor(nullptr);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    SetWindowLongPtr(tree.form, GWL_EXSTYLE, GetWindowLongPtr(tree.form, GWL_EXSTYLE) | WS_EX_LAYERED);
    ASSERT_TRUE(SetLayeredWindowAttributes(tree.form, 0, 128, LWA_ALPHA));
    float opacity = 0;
    ASSERT_EQ(SDL_GetWindowOpacity(backend->SdlWindowOf(tree.form), &opacity), 0);
    EXPECT_NEAR(opacity, 128 / 255.0f, 0.01);
}

TEST_F(OnX11, AFramedDialogIsSizableOnlyWithAThickFrame) {
    HWND dialog =
        probe->Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, Bounds(420, 100, 160, 120), tree.form);
    PumpFor(200);
    EXPECT_FALSE(FlagsOf(dialog) & (SDL_WINDOW_RESIZABLE | SDL_WINDOW_POPUP_MENU | SDL_WINDOW_BORDERLESS));
    EXPECT_EQ(GetActiveWindow(), dialog);  // a dialog takes the keyboard
    SetWindowLongPtr(dialog, GWL_STYLE, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_TRUE(FlagsOf(dialog) & SDL_WINDOW_RESIZABLE);
}

TEST_F(OnX11, TheFormsIconIsTheWindowsIconOnTheServer) {
    HBITMAP color = CreateCompatibleBitmap(nullptr, 4, 3);
    GetBitmapSurface(color)->SetPixel(1, 2, 0xFF00C000);
    ICONINFO info;
    info.hbmColor = color;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(color);
    SendMessage(tree.form, WM_SETICON, 1, static_cast<LPARAM>(icon.Value()));
    std::vector<unsigned long> shown = XWindowIcon(backend->SdlWindowOf(tree.form));
    ASSERT_EQ(shown.size(), 2u + 4 * 3);
    EXPECT_EQ(shown[0], 4u);
    EXPECT_EQ(shown[1], 3u);
    EXPECT_EQ(shown[2 + 2 * 4 + 1] & 0xFFFFFFFFu, 0xFF00C000u);
    EXPECT_EQ(shown[2] & 0xFF000000u, 0u);  // transparent stays transparent
    DestroyIcon(icon);
}

TEST_F(OnX11, ATrayIconDocksInTheNotificationAreaShowsItsPictureAndHandsOnTheMouse) {
    // A red 16 x 16 icon whose top-left quarter is transparent.
    HBITMAP color = CreateCompatibleBitmap(nullptr, 16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (x >= 8 || y >= 8) GetBitmapSurface(color)->SetPixel(x, y, 0xFFE02020);
    ICONINFO info;
    info.hbmColor = color;
    HICON picture = CreateIconIndirect(&info);
    DeleteObject(color);
    TrayProbe tray("BMS host");
    tray.data.uFlags |= NIF_ICON;
    tray.data.hIcon = picture.Value();

    // No notification area yet: no icon, nothing fails.
    EXPECT_FALSE(tray.Notify(NIM_ADD));
    EXPECT_EQ(backend->TrayIconWindow(tray.window, 1), nullptr);

    std::string why;
    const TRect area = Bounds(500, 0, 120, 24);
    std::unique_ptr<XTrayHost> host = XTrayHost::Start(area, 24, why);
    ASSERT_TRUE(host) << why;
    ASSERT_TRUE(tray.Notify(NIM_ADD));
    ASSERT_TRUE(backend->TrayIconWindow(tray.window, 1));
    ASSERT_TRUE(PumpUntil([&] { return host->Icons().size() == 1; }));
    const XTrayHost::Icon icon = host->Icons()[0];
    EXPECT_TRUE(icon.xembedInfo);
    EXPECT_EQ(host->IconName(icon.window), "BMS host");
    // The picture, scaled to the area's size; its transparent part shows the area.
    auto shown = [&](int x, int y) {
        std::unique_ptr<Surface> screen = backend->ScreenPixels();
        return screen ? screen->Pixel(icon.place.left + x, icon.place.top + y) & 0xFFFFFF : 0u;
    };
    ASSERT_TRUE(PumpUntil([&] { return shown(18, 18) == 0xE02020u; })) << std::hex << shown(18, 18);
    EXPECT_EQ(shown(4, 4), 0x304050u);
    EXPECT_EQ(shown(18, 4), 0xE02020u);
    EXPECT_TRUE(backend->SaveScreenPng(ScreenshotPath("tray_icon_platform.png")));

    tray.data.uFlags = NIF_TIP;
    tray.SetTip("BMS host: module 3");
    ASSERT_TRUE(tray.Notify(NIM_MODIFY));
    EXPECT_EQ(host->IconName(icon.window), "BMS host: module 3");

    // The user's mouse on the icon: its callback, with the pointer's place known.
    const TPoint on{icon.place.left + 12, icon.place.top + 12};
    tray.got.clear();
    ASSERT_TRUE(XMovePointer(on.x, on.y));
    ASSERT_TRUE(XButton(3, true) && XButton(3, false));
    auto got = [&](UINT mouse) {
        for (const Logged& l : tray.got)
            if (l.msg == TrayProbe::kNotify && l.wParam == 1 && l.lParam == static_cast<LPARAM>(mouse))
                return true;
        return false;
    };
    ASSERT_TRUE(PumpUntil([&] { return got(WM_RBUTTONUP); }));
    EXPECT_TRUE(got(WM_RBUTTONDOWN));
    TPoint cursor;
    ASSERT_TRUE(GetCursorPos(cursor));
    EXPECT_EQ(cursor, on);
    ASSERT_TRUE(XButton(1, true) && XButton(1, false) && XButton(1, true) && XButton(1, false));
    ASSERT_TRUE(PumpUntil([&] { return got(WM_LBUTTONDBLCLK); }));
    EXPECT_TRUE(got(WM_LBUTTONDOWN));

    ASSERT_TRUE(tray.Notify(NIM_DELETE));
    EXPECT_EQ(backend->TrayIconWindow(tray.window, 1), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return host->Icons().empty(); }));
    DestroyIcon(picture);
}

TEST_F(OnX11, AShapedFormShowsOnlyItsShape) {
    TRect r = WindowRect(tree.form);
    SetWindowShape(tree.form, {Bounds(0, 0, r.Width() / 2, r.Height())}, true);
    PumpFor(200);
    std::unique_ptr<Surface> screen = backend->ScreenPixels();
    ASSERT_TRUE(screen);
    TPoint inside{r.left + 5, r.bottom - 5}, outside{r.right - 5, r.bottom - 5};
    EXPECT_EQ(screen->Pixel(inside.x, inside.y) & 0xFFFFFF, headless_->Pixel(5, r.Height() - 5) & 0xFFFFFF);
    EXPECT_EQ(screen->Pixel(outside.x, outside.y) & 0xFFFFFF, 0u);  // the bare root window
}

TEST_F(OnX11, TheKeyColourShowsTheFormBelowAndOpacityMixesWithIt) {
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

    EXPECT_TRUE(backend->SaveScreenPng(ScreenshotPath("sdl_xvfb_layered.png")));
}

TEST_F(OnX11, WithACompositorAPerPixelAlphaWindowMixesWithTheLiveScreenThroughA32BitVisual) {
    std::string why;
    ASSERT_TRUE(StartCompositor(why)) << why;
    struct Stop {
        ~Stop() { StopCompositor(); }
    } stop;
    EXPECT_TRUE(backend->ComposesWindows());
    EXPECT_TRUE(DesktopComposited());
    // Over the panel, right of its button: five clear columns, then red at half opacity.
    const TRect panel = WindowRect(tree.panel);
    const TRect at = Bounds(panel.left + 115, panel.top + 40, 20, 40);
    HWND top = HalfRedLayeredWindow(at);
    const TPoint clear{at.left + 2, at.top + 20}, red{at.left + 12, at.top + 20};
    const uint32_t below = ScreenDcPixel(red);
    ShowWindow(top, SW_SHOWNA);
    PumpFor(400);
    EXPECT_EQ(XWindowDepth(backend->SdlWindowOf(top)), 32);

    const uint32_t mixed = MixPixels(0xFFFF0000u, 0xFF000000u | below, 128) & 0xFFFFFFu;
    EXPECT_PRED2(near, ScreenDcPixel(red), mixed);  // read back from the root window
    EXPECT_EQ(ScreenDcPixel(clear), below);
    // The panel turns green beneath the window: the mix follows.
    SetWindowLongPtr(tree.panel, GWL_USERDATA, static_cast<LONG_PTR>(RGB(0, 200, 0)));
    InvalidateRect(tree.panel, nullptr, true);
    PumpFor(400);
    EXPECT_PRED2(near, ScreenDcPixel(red), MixPixels(0xFFFF0000u, 0xFF00C800u, 128) & 0xFFFFFFu);
    EXPECT_EQ(ScreenDcPixel(clear), 0x00C800u);
    EXPECT_TRUE(backend->SaveScreenPng(ScreenshotPath("sdl_xvfb_composited.png")));

    StopCompositor();
    EXPECT_FALSE(backend->ComposesWindows());
    DestroyWindow(top);
}

// A per-pixel-alpha window open while a compositing manager comes and goes:
// made anew with the 32-bit visual when it comes, at the same place, it
// mixes with the live screen; when it goes the window keeps that visual and
// shows its pixels opaque, its clear ones still cut out.
TEST_F(OnX11, APerPixelAlphaWindowFollowsACompositorThatComesAndGoesWhileItIsShown) {
    struct Stop {
        ~Stop() { StopCompositor(); }
    } stop;
    const TRect panel = WindowRect(tree.panel);
    const TRect at = Bounds(panel.left + 115, panel.top + 40, 20, 40);
    HWND top = HalfRedLayeredWindow(at);
    const TPoint clear{at.left + 2, at.top + 20}, red{at.left + 12, at.top + 20};
    const uint32_t below = ScreenDcPixel(red);
    ShowWindow(top, SW_SHOWNA);
    PumpFor(400);
    EXPECT_EQ(XWindowDepth(backend->SdlWindowOf(top)), 24);
    auto placedAt = [&] {
        int x = 0, y = 0;
        SDL_GetWindowPosition(backend->SdlWindowOf(top), &x, &y);
        return TPoint{x, y};
    };

    std::string why;
    ASSERT_TRUE(StartCompositor(why)) << why;
    for (int i = 0; i < 50 && XWindowDepth(backend->SdlWindowOf(top)) != 32; ++i) PumpFor(100);
    PumpFor(300);
    EXPECT_EQ(XWindowDepth(backend->SdlWindowOf(top)), 32);
    EXPECT_EQ(placedAt(), (TPoint{at.left, at.top}));
    EXPECT_PRED2(near, ScreenDcPixel(red), MixPixels(0xFFFF0000u, 0xFF000000u | below, 128) & 0xFFFFFFu);
    EXPECT_EQ(ScreenDcPixel(clear), below);
    SetWindowLongPtr(tree.panel, GWL_USERDATA, static_cast<LONG_PTR>(RGB(0, 200, 0)));
    InvalidateRect(tree.panel, nullptr, true);
    PumpFor(400);
    EXPECT_PRED2(near, ScreenDcPixel(red), MixPixels(0xFFFF0000u, 0xFF00C800u, 128) & 0xFFFFFFu);

    StopCompositor();
    PumpFor(400);
    EXPECT_FALSE(backend->ComposesWindows());
    EXPECT_EQ(placedAt(), (TPoint{at.left, at.top}));
    // As the server holds the window now: red, not red darkened by its alpha.
    std::unique_ptr<Surface> shown = backend->WindowPixels(top);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->Pixel(red.x - at.left, red.y - at.top) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(ScreenDcPixel(clear), 0x00C800u);
    EXPECT_TRUE(backend->SaveScreenPng(ScreenshotPath("sdl_xvfb_compositor_gone.png")));
    DestroyWindow(top);
}

TEST_F(OnX11, APostFromAnotherThreadEndsTheServerWait) { ExpectAPostFromAnotherThreadEndsTheWait(); }

TEST(OnX11Choice, WithAnXDisplayTheProgramGetsRealWindowsOnX11) {
    ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
    ScopedEnv headless("BMS_HEADLESS", nullptr);
    std::unique_ptr<DisplayBackend> display = OpenRealDisplay();
    ASSERT_TRUE(display);
    EXPECT_EQ(static_cast<SdlBackend*>(display.get())->VideoDriver(), "x11");
}

}  // namespace
}  // namespace tarvel
