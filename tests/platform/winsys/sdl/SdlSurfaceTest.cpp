// Top-level windows as SDL windows: kinds, geometry, showing, hiding,
// destruction, clipboard, and choosing the display.

#include "tests/platform/winsys/sdl/SdlFixture.h"

namespace tarvel {
namespace {

using SdlSurfaces = SdlTest;

TEST_F(SdlSurfaces, EachKindOfTopLevelWindowGetsItsKindOfSdlWindow) {
    struct Case {
        const char* what;
        DWORD style, exStyle;
        int show;
        uint32_t present, absent;
    } cases[] = {
        {"a form whose frame we draw", WS_OVERLAPPED | WS_THICKFRAME, 0, SW_SHOW, SDL_WINDOW_BORDERLESS,
         SDL_WINDOW_POPUP_MENU | SDL_WINDOW_ALWAYS_ON_TOP},
        {"a form with the display's own frame", WS_OVERLAPPEDWINDOW, 0, SW_SHOW, SDL_WINDOW_RESIZABLE,
         SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU},
        {"a fixed-size dialog in the display's frame", WS_POPUP | WS_CAPTION | WS_SYSMENU,
         WS_EX_DLGMODALFRAME, SW_SHOW, 0,
         SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU | SDL_WINDOW_RESIZABLE},
        {"a borderless popup form", WS_POPUP, 0, SW_SHOW, SDL_WINDOW_BORDERLESS, SDL_WINDOW_POPUP_MENU},
        {"a popup menu", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, SW_SHOWNA,
         SDL_WINDOW_POPUP_MENU | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_BORDERLESS,
         0},
        {"a hint", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, SW_SHOWNOACTIVATE,
         SDL_WINDOW_POPUP_MENU | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR, 0},
        {"a window that never activates", WS_OVERLAPPED, WS_EX_NOACTIVATE, SW_SHOW, SDL_WINDOW_POPUP_MENU, 0},
    };
    for (const Case& c : cases) {
        HWND h = probe->Create(c.style, Bounds(50, 60, 120, 90), nullptr, 0, "", c.exStyle);
        ASSERT_TRUE(h) << c.what;
        ShowWindow(h, c.show);
        uint32_t flags = FlagsOf(h);
        EXPECT_EQ(flags & c.present, c.present) << c.what;
        EXPECT_EQ(flags & c.absent, 0u) << c.what;
        int x = 0, y = 0, w = 0, hgt = 0;
        SDL_GetWindowPosition(backend->SdlWindowOf(h), &x, &y);
        SDL_GetWindowSize(backend->SdlWindowOf(h), &w, &hgt);
        EXPECT_EQ(Bounds(x, y, w, hgt), WindowRect(h)) << c.what;
        DestroyWindow(h);
    }
}

TEST_F(SdlSurfaces, AWindowAppearsWhenShownAndFollowsMovesAndHiding) {
    HWND h = probe->Create(WS_OVERLAPPED | WS_THICKFRAME, Bounds(10, 20, 100, 80));
    EXPECT_EQ(backend->SdlWindowOf(h), nullptr);  // nothing on the display while hidden
    ShowWindow(h, SW_SHOW);
    ASSERT_NE(backend->SdlWindowOf(h), nullptr);
    EXPECT_TRUE(FlagsOf(h) & SDL_WINDOW_SHOWN);

    SetWindowPos(h, nullptr, 30, 40, 150, 110, SWP_NOZORDER);
    int x = 0, y = 0, w = 0, hgt = 0;
    SDL_GetWindowPosition(backend->SdlWindowOf(h), &x, &y);
    SDL_GetWindowSize(backend->SdlWindowOf(h), &w, &hgt);
    EXPECT_EQ(Bounds(x, y, w, hgt), Bounds(30, 40, 150, 110));

    ShowWindow(h, SW_HIDE);
    EXPECT_TRUE(FlagsOf(h) & SDL_WINDOW_HIDDEN);
    DestroyWindow(h);
    EXPECT_EQ(backend->SdlWindowOf(h), nullptr);
}

TEST_F(SdlSurfaces, ShowingAFormMakesAPopupOfItNeverAndAPopupOfAFormNever) {
    // A window that changes between popup and ordinary is made again.
    HWND h = probe->Create(WS_OVERLAPPED | WS_VISIBLE, Bounds(10, 20, 100, 80));
    EXPECT_FALSE(FlagsOf(h) & SDL_WINDOW_POPUP_MENU);
    SetWindowLongPtr(h, GWL_EXSTYLE, WS_EX_NOACTIVATE);
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    EXPECT_TRUE(FlagsOf(h) & SDL_WINDOW_POPUP_MENU);
    EXPECT_TRUE(FlagsOf(h) & SDL_WINDOW_SHOWN);
}

TEST_F(SdlSurfaces, AFormInTheDisplaysFrameFollowsWhereTheDisplayMovesAndSizesIt) {
    HWND h = probe->Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(10, 20, 200, 150));
    PumpFor(300);  // past the echoes of our own placing
    SDL_Window* w = backend->SdlWindowOf(h);
    SDL_SetWindowPosition(w, 300, 200);
    SDL_SetWindowSize(w, 260, 180);
    PushWindowEvent(h, SDL_WINDOWEVENT_MOVED);
    ASSERT_TRUE(PumpUntil([&] { return WindowRect(h) == Bounds(300, 200, 260, 180); }));
    const Logged* size = probe->Last(h, WM_SIZE);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->lParam, MAKELPARAM(260, 180));  // all client: the display draws the frame
}

TEST_F(SdlSurfaces, WithoutANotificationAreaNoTrayIconIsAdded) {
    TrayProbe tray("BMS host");
    EXPECT_FALSE(tray.Notify(NIM_ADD));
    EXPECT_EQ(backend->TrayIconWindow(tray.window, 1), nullptr);
    EXPECT_FALSE(tray.Notify(NIM_MODIFY));
    EXPECT_FALSE(tray.Notify(NIM_DELETE));
}

TEST_F(SdlSurfaces, TheClipboardKeepsUtf8Text) {
    ASSERT_TRUE(SetClipboardText("电池 module 3"));
    EXPECT_EQ(GetClipboardText(), "电池 module 3");
}

TEST_F(SdlSurfaces, TheScreenAndWorkAreaComeFromTheDisplay) {
    SDL_Rect r;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &r), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.w);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.h);
    TRect work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_FALSE(work.IsEmpty());
}

TEST(SdlChoice, TheProgramRunsHeadlessWhenAskedOrWithoutADisplay) {
    {
        ScopedEnv headless("BMS_HEADLESS", "1");
        ScopedEnv display("DISPLAY", ":0");
        EXPECT_EQ(OpenRealDisplay(), nullptr);
    }
    {
        ScopedEnv headless("BMS_HEADLESS", nullptr);
        ScopedEnv display("DISPLAY", nullptr);
        ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
        EXPECT_EQ(OpenRealDisplay(), nullptr);
    }
    {
        ScopedEnv headless("BMS_HEADLESS", nullptr);
        ScopedEnv display("DISPLAY", ":0");
        ScopedEnv driver("SDL_VIDEODRIVER", "offscreen");
        EXPECT_EQ(OpenRealDisplay(), nullptr);
    }
}

}  // namespace
}  // namespace tarvel
