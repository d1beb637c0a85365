// Window and client rectangles, the non-client protocol, SetWindowPos and
// window states.

#include "WinsysFixture.h"

namespace tarvel {
namespace {

using GeometryTests = WinsysTest;

// A procedure that answers WM_NCCALCSIZE with a frame of `border` pixels.
WinsysTest::Handler FrameOf(int border) {
    return [border](HWND, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        if (WinsysTest::AnswerFrame(m, w, l, TRect{border, border, border, border})) return 0;
        return std::nullopt;
    };
}

TEST_F(GeometryTests, TheAnswerToNcCalcSizeIsTheClientArea) {
    HWND top = Create(WS_POPUP, Bounds(100, 50, 200, 120), nullptr, FrameOf(4));
    HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 20, 60, 40), top, FrameOf(4));
    EXPECT_EQ(ClientRect(top), Rect(0, 0, 192, 112));
    EXPECT_EQ(ClientRect(child), Rect(0, 0, 52, 32));
    EXPECT_EQ(WindowRect(child), Bounds(100 + 4 + 10, 50 + 4 + 20, 60, 40));

    TPoint p{0, 0};
    ClientToScreen(child, p);
    EXPECT_EQ(p, (TPoint{100 + 4 + 10 + 4, 50 + 4 + 20 + 4}));
    ScreenToClient(top, p);
    EXPECT_EQ(p, (TPoint{10 + 4, 20 + 4}));
    TRect r{0, 0, 5, 5};
    MapWindowPoints(child, top, r);
    EXPECT_EQ(r, Rect(14, 24, 19, 29));

    // Every size change asks again.
    SetWindowPos(top, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ClientRect(top), Rect(0, 0, 292, 192));
}

TEST_F(GeometryTests, AnInvertedAnswerGivesAnEmptyClientInsideTheWindow) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 20, 20), nullptr, FrameOf(15));
    EXPECT_EQ(ClientRect(h), Rect(0, 0, 0, 0));
}

TEST_F(GeometryTests, FrameChangedRecomputesWithoutASizeChange) {
    int border = 2;
    HWND h = Create(WS_POPUP, Bounds(0, 0, 50, 50), nullptr,
                    [&border](HWND hw, UINT m, WPARAM w, LPARAM l) { return FrameOf(border)(hw, m, w, l); });
    EXPECT_EQ(ClientRect(h).Width(), 46);
    border = 5;
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(ClientRect(h).Width(), 40);
}

TEST_F(GeometryTests, TheChangingHandlerDecidesSizeAndFlags) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 100, 100), nullptr,
                    [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
                        if (m == WM_WINDOWPOSCHANGING) {
                            auto* wp = reinterpret_cast<WINDOWPOS*>(l);
                            wp->cx = std::min(wp->cx, 150);
                            wp->flags |= SWP_NOMOVE;
                        }
                        return std::nullopt;
                    });
    SetWindowPos(h, nullptr, 30, 40, 400, 90, SWP_NOZORDER);
    EXPECT_EQ(WindowRect(h), Bounds(0, 0, 150, 90));
    EXPECT_FALSE(Messages(h, {WM_MOVE}).size() > 1);  // only the one of creation
    const Logged* size = Last(h, WM_SIZE);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->lParam, MAKELPARAM(150, 90));
}

TEST_F(GeometryTests, MinMaxInfoBoundsTheSizeOfFramedTopLevelWindows) {
    HWND h = Create(WS_OVERLAPPEDWINDOW, Bounds(0, 0, 300, 300), nullptr,
                    [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
                        if (m == WM_GETMINMAXINFO) {
                            auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
                            mmi->ptMinTrackSize = TPoint{140, 60};
                            mmi->ptMaxTrackSize = TPoint{500, 400};
                        }
                        return std::nullopt;
                    });
    MoveWindow(h, 0, 0, 50, 1000, true);
    EXPECT_EQ(WindowRect(h), Bounds(0, 0, 140, 400));
}

TEST_F(GeometryTests, OnlyACaptionOrASizingBorderGivesATopLevelWindowAMinimumSize) {
    struct Case {
        DWORD style;
        TRect expected;  // after sizing to 20 x 10
    };
    const Case cases[] = {
        {WS_POPUP | WS_BORDER, Bounds(0, 0, 20, 10)},  // a dropped list, a hint
        {WS_POPUP, Bounds(0, 0, 20, 10)},
        {WS_POPUP | WS_CAPTION,
         Bounds(0, 0, GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK))},
        {WS_POPUP | WS_THICKFRAME,
         Bounds(0, 0, GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK))},
    };
    for (const Case& c : cases) {
        HWND h = Create(c.style, Bounds(0, 0, 300, 300), nullptr, nullptr);
        MoveWindow(h, 0, 0, 20, 10, true);
        EXPECT_EQ(WindowRect(h), c.expected) << std::hex << c.style;
        DestroyWindow(h);
    }
}

TEST_F(GeometryTests, ShowWindowStatesAndTheirSizes) {
    HWND h = Create(WS_OVERLAPPEDWINDOW, Bounds(20, 30, 300, 200));
    EXPECT_FALSE(ShowWindow(h, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(GetActiveWindow(), h);

    ShowWindow(h, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(h));
    EXPECT_EQ(WindowRect(h), backend->WorkArea());
    EXPECT_EQ(Last(h, WM_SIZE)->wParam, SIZE_MAXIMIZED);

    ShowWindow(h, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_TRUE(backend->SurfaceInfo(h).minimized);
    EXPECT_EQ(Last(h, WM_SIZE)->wParam, SIZE_MINIMIZED);
    EXPECT_NE(GetActiveWindow(), h);

    ShowWindow(h, SW_RESTORE);  // back to maximized, as it was before
    EXPECT_TRUE(IsZoomed(h));
    ShowWindow(h, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_EQ(WindowRect(h), Bounds(20, 30, 300, 200));
    EXPECT_EQ(Last(h, WM_SIZE)->wParam, SIZE_RESTORED);

    EXPECT_TRUE(ShowWindow(h, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_FALSE(backend->SurfaceInfo(h).visible);
}

TEST_F(GeometryTests, PopupsShownWithoutActivationLeaveTheActiveWindow) {
    HWND main = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 300));
    HWND popup = Create(WS_POPUP, Bounds(10, 10, 50, 50), main, {}, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    log.clear();
    SetWindowPos(popup, HWND_TOPMOST, 40, 40, 80, 80, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_TRUE(Messages(popup, {WM_ACTIVATE, WM_NCACTIVATE}).empty());
    EXPECT_EQ(backend->ZOrder().front(), popup);
    SetWindowPos(popup, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_FALSE(IsWindowVisible(popup));
}

TEST_F(GeometryTests, TopmostWindowsStayAboveOrdinaryOnes) {
    HWND a = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10), nullptr, {}, WS_EX_TOPMOST);
    HWND b = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    BringWindowToTop(b);
    std::vector<HWND> order = GetChildWindows(GetDesktopWindow());
    EXPECT_EQ(order[0], a);
    EXPECT_EQ(order[1], b);
    SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BringWindowToTop(b);
    EXPECT_EQ(GetChildWindows(GetDesktopWindow())[0], b);
}

TEST_F(GeometryTests, ActivationMessagesGoToBothWindows) {
    HWND a = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 100, 100));
    HWND b = Create(WS_OVERLAPPEDWINDOW, Bounds(0, 0, 100, 100));
    log.clear();
    ShowWindow(b, SW_SHOW);
    std::vector<std::pair<HWND, UINT>> seen;
    for (const Logged& l : log)
        if (l.msg == WM_NCACTIVATE || l.msg == WM_ACTIVATE || l.msg == WM_SETFOCUS || l.msg == WM_KILLFOCUS)
            seen.emplace_back(l.hwnd, l.msg);
    std::vector<std::pair<HWND, UINT>> expected{{a, WM_NCACTIVATE}, {a, WM_ACTIVATE}, {a, WM_KILLFOCUS},
                                                {b, WM_NCACTIVATE}, {b, WM_ACTIVATE}, {b, WM_SETFOCUS}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(GetFocus(), b);
}

TEST_F(GeometryTests, WindowShapeLimitsHitTesting) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(100, 100, 100, 100));
    EXPECT_EQ(WindowFromPoint(TPoint{105, 105}), h);
    SetWindowShape(h, {Rect(10, 10, 90, 90)}, true);
    EXPECT_EQ(WindowFromPoint(TPoint{105, 105}), nullptr);
    EXPECT_EQ(WindowFromPoint(TPoint{150, 150}), h);
    EXPECT_EQ(backend->SurfaceInfo(h).shape.size(), 1u);
}

TEST_F(GeometryTests, DefaultFramesOfChildWindowsComeFromTheirStyle) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 300, 300));
    struct Case {
        DWORD style, exStyle;
        int inset;
    } cases[] = {
        {0, 0, 0},
        {WS_BORDER, 0, 1},
        {0, WS_EX_CLIENTEDGE, 2},
        {WS_BORDER, WS_EX_CLIENTEDGE, 3},
        {WS_THICKFRAME, 0, 4},
    };
    for (const Case& c : cases) {
        HWND child = Create(WS_CHILD | WS_VISIBLE | c.style, Bounds(0, 0, 100, 100), top, {}, c.exStyle);
        EXPECT_EQ(ClientRect(child).Width(), 100 - 2 * c.inset) << c.style << " " << c.exStyle;
    }
    // A captioned top-level window is framed by the display.
    HWND framed = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 100, 100));
    EXPECT_EQ(ClientRect(framed), Rect(0, 0, 100, 100));
    EXPECT_TRUE(backend->SurfaceInfo(framed).decorated);
    EXPECT_FALSE(backend->SurfaceInfo(top).decorated);
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

TEST_F(GeometryTests, WhatTheUserDoesToADecoratedWindowReachesItsProcedure) {
    HWND h = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(10, 10, 200, 150));
    Pump();
    log.clear();
    backend->MoveByUser(h, Bounds(50, 60, 300, 200));
    backend->RequestSysCommand(h, SC_MINIMIZE);
    Pump();
    std::vector<UINT> seen = Messages(h, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SYSCOMMAND});
    seen.resize(3);  // minimizing repositions once more
    EXPECT_EQ(seen, (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SYSCOMMAND}));
    EXPECT_TRUE(IsIconic(h));
    backend->RequestSysCommand(h, SC_RESTORE);
    Pump();
    EXPECT_EQ(WindowRect(h), Bounds(50, 60, 300, 200));
    backend->RequestClose(h);
    Pump();
    EXPECT_FALSE(IsWindow(h));
}

}  // namespace
}  // namespace tarvel
