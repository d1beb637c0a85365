#include <functional>
#include <string>

#include "WinsysFixture.h"

namespace tarvel {
namespace {

class MdiTests : public WinsysTest {
protected:
    void SetUp() override {
        WinsysTest::SetUp();
        frame = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(50, 50, 600, 450));
        client = CreateWindowEx(0, kMdiClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 600,
                                450, frame);
        ASSERT_NE(client, nullptr);
    }

    // A shown child that leaves everything to the MDI default.
    HWND Child(TRect bounds) {
        HWND h = Create(
            WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, bounds,
            client,
            [](HWND h, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
                return DefMDIChildProc(h, m, w, l);
            },
            WS_EX_MDICHILD);
        ShowWindow(h, SW_SHOW);
        Pump();
        return h;
    }

    HWND Active(bool* maximized = nullptr) {
        return reinterpret_cast<HWND>(
            SendMessage(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
    }
    LPARAM Pair(HWND losing, HWND gaining) {
        const Logged* l = nullptr;
        for (const Logged& e : log)
            if (e.msg == WM_MDIACTIVATE && e.wParam == reinterpret_cast<WPARAM>(losing) &&
                e.lParam == reinterpret_cast<LPARAM>(gaining))
                l = &e;
        return l != nullptr;
    }
    TRect InClient(HWND h) {
        TRect r = WindowRect(h);
        MapWindowPoints(nullptr, client, r);
        return r;
    }

    HWND frame = nullptr;
    HWND client = nullptr;
};

TEST_F(MdiTests, ShownChildrenAreActivatedInTurnAndAPressActivatesAnother) {
    HWND a = Child(Bounds(10, 10, 200, 150));
    HWND b = Child(Bounds(250, 10, 200, 150));
    EXPECT_EQ(Active(), b);
    EXPECT_EQ(MdiChildren(client).front(), b);
    EXPECT_TRUE(Pair(a, b));
    EXPECT_EQ(Last(a, WM_NCACTIVATE)->wParam, 0u);
    EXPECT_EQ(Last(b, WM_NCACTIVATE)->wParam, 1u);
    EXPECT_EQ(GetFocus(), b);

    // A press in a's client area brings it forward.
    const TRect ar = WindowRect(a);
    backend->MouseDown(TPoint{ar.left + 50, ar.top + 80});
    backend->MouseUp(TPoint{ar.left + 50, ar.top + 80});
    Pump();
    EXPECT_EQ(Active(), a);
    EXPECT_EQ(MdiChildren(client).front(), a);
    EXPECT_TRUE(Pair(b, a));
}

TEST_F(MdiTests, ACaptionDragMovesAChildWithinTheClient) {
    HWND a = Child(Bounds(40, 30, 200, 150));
    const TRect r = WindowRect(a);
    const TPoint caption{r.left + 60, r.top + GetSystemMetrics(SM_CYFRAME) + 5};
    ASSERT_EQ(SendMessage(a, WM_NCHITTEST, 0, PointToLParam(caption)), HTCAPTION);
    backend->MouseDown(caption);
    backend->MouseMove(TPoint{caption.x + 30, caption.y + 20});
    backend->MouseUp(TPoint{caption.x + 30, caption.y + 20});
    Pump();
    EXPECT_EQ(InClient(a), Bounds(70, 50, 200, 150));
}

TEST_F(MdiTests, AMaximizedChildFillsTheClientAndHandsItsStateOn) {
    HWND a = Child(Bounds(10, 10, 200, 150));
    HWND b = Child(Bounds(50, 50, 200, 150));
    SendMessage(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
    bool maximized = false;
    EXPECT_EQ(Active(&maximized), b);
    EXPECT_TRUE(maximized);
    EXPECT_EQ(InClient(b), ClientRect(client));
    EXPECT_EQ(ClientRect(b), ClientRect(client));  // no frame shows

    // The client grows: so does the maximized child.
    SetWindowPos(client, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(InClient(b), Bounds(0, 0, 500, 400));

    // Another child activated is maximized in its place; b is restored.
    SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_TRUE(IsZoomed(a));
    EXPECT_FALSE(IsZoomed(b));
    EXPECT_EQ(InClient(b), Bounds(50, 50, 200, 150));

    SendMessage(a, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(a));
    EXPECT_EQ(InClient(a), Bounds(10, 10, 200, 150));

    // A maximized child that closes hands the state to the next one.
    SendMessage(a, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    DestroyWindow(a);
    EXPECT_EQ(Active(&maximized), b);
    EXPECT_TRUE(maximized);
}

TEST_F(MdiTests, NextAndPreviousWalkTheChildren) {
    HWND a = Child(Bounds(0, 0, 100, 100));
    HWND b = Child(Bounds(20, 20, 100, 100));
    HWND c = Child(Bounds(40, 40, 100, 100));
    ASSERT_EQ(MdiChildren(client), (std::vector<HWND>{c, b, a}));
    SendMessage(client, WM_MDINEXT, 0, 0);
    EXPECT_EQ(Active(), b);
    EXPECT_EQ(MdiChildren(client), (std::vector<HWND>{b, a, c}));
    SendMessage(b, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
    EXPECT_EQ(Active(), a);
    SendMessage(client, WM_MDINEXT, 0, 1);
    EXPECT_EQ(Active(), b);
    EXPECT_EQ(MdiChildren(client).front(), b);
}

TEST_F(MdiTests, HidingOrDestroyingTheActiveChildActivatesTheNext) {
    HWND a = Child(Bounds(0, 0, 100, 100));
    HWND b = Child(Bounds(20, 20, 100, 100));
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(Active(), a);
    SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(Active(), nullptr);
    ShowWindow(b, SW_SHOW);
    EXPECT_EQ(Active(), b);
}

// Only the active child of an active frame shows an active caption: each
// step names the child that should, or none.
TEST_F(MdiTests, OnlyTheActiveChildOfAnActiveFrameHasAnActiveCaption) {
    HWND kids[3] = {};
    const char* names[3] = {"a", "b", "c"};
    auto make = [&](int i) {
        kids[i] = Child(Bounds(10 + 190 * i, 10, 180, 120));
        SetWindowText(kids[i], names[i]);
    };
    HWND other = nullptr;
    struct Step {
        const char* what;
        std::function<void()> act;
        int active;  // index into kids, -1: none
    };
    const std::vector<Step> steps{
        {"create a", [&] { make(0); }, 0},
        {"create b", [&] { make(1); }, 1},
        {"create c", [&] { make(2); }, 2},
        {"next", [&] { SendMessage(client, WM_MDINEXT, 0, 0); }, 1},
        {"activate a", [&] { SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(kids[0]), 0); }, 0},
        {"destroy the active a",
         [&] {
             SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(kids[0]), 0);
             kids[0] = nullptr;
         },
         1},
        {"another window takes the activation",
         [&] { other = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(700, 520, 80, 60)); }, -1},
        {"activate c while the frame is inactive",
         [&] { SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(kids[2]), 0); }, -1},
        {"the frame is activated again", [&] { SetActiveWindow(frame); }, 2},
    };
    const int captionY = GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        Pump();
        if (step.active >= 0) EXPECT_EQ(Active(), kids[step.active]);
        for (int i = 0; i < 3; ++i) {
            if (!kids[i]) continue;
            SCOPED_TRACE(names[i]);
            const bool active = i == step.active;
            const Logged* told = Last(kids[i], WM_NCACTIVATE);
            ASSERT_NE(told, nullptr);
            EXPECT_EQ(told->wParam != 0, active);
            const TRect r = WindowRect(kids[i]);
            EXPECT_EQ(ScreenAt(r.left + 90, r.top + captionY),
                      GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        }
        if (std::string(step.what) == "create b")
            EXPECT_TRUE(
                backend->SaveWindowPng(frame, std::string(TARVEL_BINARY_DIR) + "/winsys_mdi_captions.png"));
    }
    ASSERT_NE(other, nullptr);
}

TEST_F(MdiTests, TileAndCascadeArrangeTheChildrenInTheClient) {
    std::vector<HWND> kids;
    for (int i = 0; i < 3; ++i) kids.push_back(Child(Bounds(10 * i, 10 * i, 120, 90)));
    SendMessage(client, WM_MDITILE, MDITILE_VERTICAL, 0);
    // Two across on the first row, the third alone on the second.
    EXPECT_EQ(InClient(kids[2]), Bounds(0, 0, 300, 225));
    EXPECT_EQ(InClient(kids[1]), Bounds(300, 0, 300, 225));
    EXPECT_EQ(InClient(kids[0]), Bounds(0, 225, 600, 225));

    SendMessage(client, WM_MDICASCADE, 0, 0);
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    EXPECT_EQ(InClient(kids[0]), Bounds(0, 0, 450, 337));
    EXPECT_EQ(InClient(kids[2]), Bounds(2 * step, 2 * step, 450, 337));
    EXPECT_EQ(MdiChildren(client).front(), kids[2]);
}

TEST_F(MdiTests, MinimizedChildrenLineTheBottomAndRestoreToTheirBounds) {
    HWND a = Child(Bounds(30, 30, 200, 150));
    HWND b = Child(Bounds(60, 60, 200, 150));
    ShowWindow(a, SW_MINIMIZE);
    ShowWindow(b, SW_MINIMIZE);
    const TSize icon = MdiIconSize();
    EXPECT_EQ(InClient(a), Bounds(0, 450 - icon.cy, icon.cx, icon.cy));
    EXPECT_EQ(InClient(b), Bounds(icon.cx, 450 - icon.cy, icon.cx, icon.cy));
    ShowWindow(a, SW_RESTORE);
    EXPECT_EQ(InClient(a), Bounds(30, 30, 200, 150));
    // Tiling leaves the icons' row free.
    SendMessage(client, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    EXPECT_EQ(InClient(a), Bounds(0, 0, 600, 450 - icon.cy));
}

TEST_F(MdiTests, ChildrenOutsideTheClientBringScrollBarsThatMoveThem) {
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    HWND a = Child(Bounds(10, 10, 200, 150));
    EXPECT_FALSE(MdiClientScrollBar(client, SB_VERT).visible);
    EXPECT_FALSE(MdiClientScrollBar(client, SB_HORZ).visible);

    // Below the bottom edge: a vertical bar; the narrower client needs no other.
    HWND b = Child(Bounds(100, 380, 200, 150));
    MdiScrollBar v = MdiClientScrollBar(client, SB_VERT);
    ASSERT_TRUE(v.visible);
    EXPECT_FALSE(MdiClientScrollBar(client, SB_HORZ).visible);
    EXPECT_EQ(ClientRect(client), Bounds(0, 0, 600 - bar, 450));
    EXPECT_EQ(v.min, 0);
    EXPECT_EQ(v.max, 529);
    EXPECT_EQ(v.page, 450);
    EXPECT_EQ(v.pos, 0);

    // Scrolling moves the children; the range follows, the position stays 0.
    SendMessage(client, WM_VSCROLL, SB_LINEDOWN, 0);
    const int line = GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(InClient(a), Bounds(10, 10 - line, 200, 150));
    EXPECT_EQ(InClient(b), Bounds(100, 380 - line, 200, 150));
    v = MdiClientScrollBar(client, SB_VERT);
    EXPECT_EQ(v.min, 10 - line);
    EXPECT_EQ(v.max, 529 - line);
    SendMessage(client, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(InClient(b).bottom, 450);
    SendMessage(client, WM_VSCROLL, SB_PAGEDOWN, 0);  // nothing further down
    EXPECT_EQ(InClient(b).bottom, 450);
    SendMessage(client, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(-80)), 0);
    EXPECT_EQ(InClient(a).top, 0);  // the thumb stops at the range's start
    EXPECT_EQ(InClient(b).top, 370);

    // Left of the client: a horizontal bar whose range starts below 0.
    SetWindowPos(a, nullptr, -50, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    MdiScrollBar h = MdiClientScrollBar(client, SB_HORZ);
    ASSERT_TRUE(h.visible);
    EXPECT_EQ(h.min, -50);
    SendMessage(client, WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(InClient(a).left, 0);
    EXPECT_FALSE(MdiClientScrollBar(client, SB_HORZ).visible);

    // A maximized child shows no bars; a closed one takes its need with it.
    SendMessage(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_FALSE(MdiClientScrollBar(client, SB_VERT).visible);
    EXPECT_EQ(InClient(a), Bounds(0, 0, 600, 450));
    SendMessage(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_TRUE(MdiClientScrollBar(client, SB_VERT).visible);
    DestroyWindow(b);
    EXPECT_FALSE(MdiClientScrollBar(client, SB_VERT).visible);
    EXPECT_EQ(ClientRect(client), Bounds(0, 0, 600, 450));
}

}  // namespace
}  // namespace tarvel
