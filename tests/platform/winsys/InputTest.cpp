// Mouse routing, capture, tracking, double clicks, the default move loop,
// focus and the keyboard.

#include "WinsysFixture.h"

namespace tarvel {
namespace {

class InputTests : public WinsysTest {
protected:
    // A visible top-level window at (100, 100) with two children side by side.
    void BuildTree() {
        parent = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(100, 100, 200, 150));
        auto child = [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m == WM_MOUSEMOVE) {
                TRACKMOUSEEVENT tme;
                tme.dwFlags = TME_LEAVE;
                tme.hwndTrack = h;
                TrackMouseEvent(&tme);
            }
            if (m == WM_LBUTTONDOWN) SetCapture(h);
            if (m == WM_LBUTTONUP && GetCapture() == h) ReleaseCapture();
            return std::nullopt;
        };
        a = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 50), parent, child);
        b = Create(WS_CHILD | WS_VISIBLE, Bounds(100, 10, 50, 50), parent, child);
        Pump();
        log.clear();
    }

    std::vector<std::pair<HWND, UINT>> MouseTrace() const {
        static const std::vector<UINT> kinds{
            WM_NCHITTEST, WM_SETCURSOR,     WM_MOUSEMOVE,      WM_MOUSELEAVE,  WM_LBUTTONDOWN,
            WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_CAPTURECHANGED, WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN};
        std::vector<std::pair<HWND, UINT>> out;
        for (const Logged& l : log)
            if ((l.hwnd == a || l.hwnd == b) && std::find(kinds.begin(), kinds.end(), l.msg) != kinds.end())
                out.emplace_back(l.hwnd, l.msg);
        return out;
    }

    HWND parent = nullptr, a = nullptr, b = nullptr;
};

TEST_F(InputTests, AScriptedMouseSequenceGivesTheMessagesInOrder) {
    BuildTree();
    backend->MouseMove(TPoint{135, 135});  // over a
    backend->MouseMove(TPoint{235, 135});  // over b: a is left
    backend->MouseDown(TPoint{235, 135});  // b takes the capture
    backend->MouseMove(TPoint{20, 30});    // far outside every window
    backend->MouseUp(TPoint{20, 30});
    Pump();
    std::vector<std::pair<HWND, UINT>> expected{
        {a, WM_NCHITTEST},      {a, WM_SETCURSOR},   {a, WM_MOUSEMOVE},  {b, WM_NCHITTEST},
        {b, WM_SETCURSOR},      {b, WM_MOUSEMOVE},   {a, WM_MOUSELEAVE}, {b, WM_NCHITTEST},
        {b, WM_SETCURSOR},      {b, WM_LBUTTONDOWN}, {b, WM_MOUSEMOVE},  {b, WM_LBUTTONUP},
        {b, WM_CAPTURECHANGED}, {b, WM_MOUSELEAVE},  // the capture is gone and the mouse is elsewhere
    };
    EXPECT_EQ(MouseTrace(), expected);
    // The captured messages are in b's client coordinates, outside it too.
    const Logged* up = Last(b, WM_LBUTTONUP);
    ASSERT_TRUE(up);
    EXPECT_EQ(PointFromLParam(up->lParam), (TPoint{20 - 200, 30 - 110}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTests, DoubleClicksNeedTheClassStyleTimeAndPlace) {
    BuildTree();
    struct Case {
        uint32_t gapMs;
        int dx;
        bool doubled;
    } cases[] = {{100, 0, true}, {100, 2, true}, {600, 0, false}, {100, 5, false}};
    for (const Case& c : cases) {
        log.clear();
        backend->AdvanceClock(2000);  // forget earlier clicks
        backend->Click(TPoint{135, 135});
        Pump();
        backend->AdvanceClock(c.gapMs);
        backend->Click(TPoint{135 + c.dx, 135});
        Pump();
        bool doubled = !Messages(a, {WM_LBUTTONDBLCLK}).empty();
        EXPECT_EQ(doubled, c.doubled) << c.gapMs << " ms, " << c.dx << " px";
    }
}

TEST_F(InputTests, LookingAtInputWithOtherFiltersChangesNothing) {
    BuildTree();
    backend->Click(TPoint{135, 135});
    MSG m;
    // Filters that the click does not pass, and a look that leaves it queued.
    EXPECT_FALSE(PeekMessage(&m, b, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessage(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.hwnd, a);
    EXPECT_EQ(m.message, WM_LBUTTONDOWN);
    Pump();
    EXPECT_EQ(Messages(a, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(InputTests, TheWheelGoesToTheFocusWindowAndUpToItsParents) {
    BuildTree();
    SetFocus(a);
    backend->Wheel(TPoint{235, 135}, -WHEEL_DELTA);
    Pump();
    const Logged* wheel = Last(parent, WM_MOUSEWHEEL);
    ASSERT_TRUE(wheel);
    EXPECT_EQ(Messages(a, {WM_MOUSEWHEEL}).size(), 1u);
    EXPECT_TRUE(Messages(b, {WM_MOUSEWHEEL}).empty());
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel->wParam), -WHEEL_DELTA);
    EXPECT_EQ(PointFromLParam(wheel->lParam), (TPoint{235, 135}));
}

TEST_F(InputTests, DisabledChildrenLetTheirParentHaveTheClickAndDisabledFormsSwallowIt) {
    BuildTree();
    EnableWindow(a, false);
    backend->Click(TPoint{135, 135});
    Pump();
    EXPECT_TRUE(Messages(a, {WM_NCHITTEST, WM_LBUTTONDOWN}).empty());
    EXPECT_EQ(Messages(parent, {WM_LBUTTONDOWN}).size(), 1u);

    EnableWindow(parent, false);
    log.clear();
    backend->Click(TPoint{235, 135});
    Pump();
    EXPECT_TRUE(Messages(nullptr, {WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
}

TEST_F(InputTests, TransparentHitTestsPassToTheWindowBelow) {
    BuildTree();
    HWND glass = Create(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 200, 150), parent,
                        [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                            if (m == WM_NCHITTEST) return HTTRANSPARENT;
                            return std::nullopt;
                        });
    BringWindowToTop(glass);
    SetWindowPos(glass, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    log.clear();
    backend->Click(TPoint{135, 135});
    Pump();
    // The down, and the move that follows the end of a's capture; the up
    // went to a as it held the capture.
    EXPECT_EQ(Messages(glass, {WM_NCHITTEST}).size(), 2u);
    EXPECT_TRUE(Messages(glass, {WM_LBUTTONDOWN}).empty());
    EXPECT_EQ(Messages(a, {WM_LBUTTONDOWN}).size(), 1u);
}

TEST_F(InputTests, NonClientHitsGiveNonClientMessagesInScreenCoordinates) {
    HWND framed = Create(WS_POPUP | WS_VISIBLE, Bounds(300, 300, 100, 100), nullptr,
                         [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
                             if (m == WM_NCHITTEST && GET_Y_LPARAM(l) < 320) return HTCAPTION;
                             if (m == WM_NCLBUTTONDOWN) return 0;  // handled: no move loop
                             return std::nullopt;
                         });
    Pump();
    log.clear();
    backend->MouseDown(TPoint{350, 310});
    Pump();
    const Logged* down = Last(framed, WM_NCLBUTTONDOWN);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(PointFromLParam(down->lParam), (TPoint{350, 310}));
    backend->MouseUp(TPoint{350, 310});
    backend->MouseDown(TPoint{350, 310});
    Pump();
    EXPECT_EQ(Messages(framed, {WM_NCLBUTTONDBLCLK}).size(), 1u);  // no class style needed
}

TEST_F(InputTests, TheDefaultProcedureMovesAndSizesUntilTheButtonIsReleased) {
    HWND h = Create(WS_POPUP | WS_VISIBLE | WS_THICKFRAME, Bounds(300, 300, 200, 100), nullptr,
                    [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
                        if (m == WM_NCHITTEST && GET_Y_LPARAM(l) < 320 && GET_Y_LPARAM(l) >= 304)
                            return HTCAPTION;
                        return std::nullopt;
                    });
    Pump();
    backend->MouseDown(TPoint{350, 310});
    backend->MouseMove(TPoint{360, 330});
    backend->MouseMove(TPoint{380, 350});
    backend->MouseUp(TPoint{380, 350});
    Pump();
    EXPECT_EQ(WindowRect(h), Bounds(330, 340, 200, 100));
    EXPECT_EQ(Messages(h, {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}),
              (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
    EXPECT_EQ(GetCapture(), nullptr);

    // The bottom-right corner of the thick frame sizes, not below the minimum.
    backend->MouseDown(TPoint{529, 439});
    backend->MouseMove(TPoint{100, 100});
    backend->MouseUp(TPoint{100, 100});
    Pump();
    EXPECT_EQ(WindowRect(h),
              Bounds(330, 340, GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)));
}

TEST_F(InputTests, SysCommandMinimizeIconifiesAndKeyMenuDoesNothing) {
    HWND h = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 200, 200));
    TRect before = WindowRect(h);
    SendMessage(h, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    SendMessage(h, WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_FALSE(IsIconic(h));
    EXPECT_EQ(WindowRect(h), before);
    PostMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(IsIconic(h));
}

TEST_F(InputTests, FocusMovesWithItsMessages) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND e1 = Create(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), top);
    HWND e2 = Create(WS_CHILD | WS_VISIBLE, Bounds(20, 0, 10, 10), top);
    SetFocus(e1);
    log.clear();
    EXPECT_EQ(SetFocus(e2), e1);
    EXPECT_EQ(GetFocus(), e2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].hwnd, e1);
    EXPECT_EQ(log[0].msg, WM_KILLFOCUS);
    EXPECT_EQ(reinterpret_cast<HWND>(log[0].wParam), e2);
    EXPECT_EQ(log[1].hwnd, e2);
    EXPECT_EQ(log[1].msg, WM_SETFOCUS);
    EXPECT_EQ(reinterpret_cast<HWND>(log[1].wParam), e1);
    ShowWindow(e2, SW_HIDE);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(InputTests, KeysBecomeKeyAndCharacterMessages) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND edit = Create(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), top);
    SetFocus(edit);
    log.clear();
    int16_t shiftSeen = 0;
    SetHandler(edit, [&](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_CHAR && w == 'A') shiftSeen = GetKeyState(VK_SHIFT);
        return std::nullopt;
    });
    backend->KeyDown(VK_SHIFT);
    backend->PressKey('A');
    backend->KeyUp(VK_SHIFT);
    backend->PressKey('B');
    Pump();
    std::vector<WPARAM> chars;
    for (const Logged& l : log)
        if (l.hwnd == edit && l.msg == WM_CHAR) chars.push_back(l.wParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{'A', 'b'}));
    EXPECT_LT(shiftSeen, 0);  // as of the message, not of now
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    const Logged* up = Last(edit, WM_KEYUP);
    ASSERT_TRUE(up);
    EXPECT_TRUE(up->lParam & KF_UP_BIT);
}

TEST_F(InputTests, AltLetterIsASystemKeyAndReachesTheKeyboardMenu) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND edit = Create(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), top);
    SetFocus(edit);
    log.clear();
    backend->KeyDown(VK_MENU);
    backend->PressKey('F');
    backend->KeyUp(VK_MENU);
    Pump();
    const Logged* down = Last(edit, WM_SYSKEYDOWN);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->wParam, static_cast<WPARAM>('F'));
    EXPECT_TRUE(down->lParam & KF_ALTDOWN_BIT);
    const Logged* ch = Last(edit, WM_SYSCHAR);
    ASSERT_TRUE(ch);
    EXPECT_EQ(ch->wParam, static_cast<WPARAM>('f'));
    const Logged* menu = Last(top, WM_SYSCOMMAND);
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->wParam, SC_KEYMENU);
    EXPECT_EQ(menu->lParam, 'f');
    EXPECT_EQ(Messages(top, {WM_SYSCOMMAND}).size(), 1u);  // Alt was not alone

    log.clear();
    backend->PressKey(VK_MENU);
    Pump();
    menu = Last(top, WM_SYSCOMMAND);
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->lParam, 0);
}

TEST_F(InputTests, AltReleasedAfterAltF4OfAFormThatStaysOpenOpensNoMenu) {
    struct Case {
        const char* what;
        bool formTakesF4;  // the form handles the key itself, the default procedure never sees it
    } cases[] = {{"closed by the default procedure", false}, {"closed by the form", true}};
    for (const Case& c : cases) {
        HWND form = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200), nullptr,
                           [&](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
                               if (m == WM_CLOSE) return 0;  // the form refuses to close
                               if (c.formTakesF4 && m == WM_SYSKEYDOWN && w == VK_F4) {
                                   SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0);
                                   return 0;
                               }
                               return std::nullopt;
                           });
        SetActiveWindow(form);
        Pump();
        log.clear();
        backend->KeyDown(VK_MENU);
        backend->PressKey(VK_F4);
        backend->KeyUp(VK_MENU);
        Pump();
        std::vector<WPARAM> commands;
        for (const Logged& l : log)
            if (l.hwnd == form && l.msg == WM_SYSCOMMAND) commands.push_back(l.wParam);
        EXPECT_EQ(commands, std::vector<WPARAM>{SC_CLOSE}) << c.what;
        EXPECT_TRUE(IsWindow(form)) << c.what;

        // Alt alone still is the menu key afterwards.
        log.clear();
        backend->PressKey(VK_MENU);
        Pump();
        const Logged* menu = Last(form, WM_SYSCOMMAND);
        ASSERT_TRUE(menu) << c.what;
        EXPECT_EQ(menu->wParam, SC_KEYMENU) << c.what;
        DestroyWindow(form);
    }
}

TEST_F(InputTests, ActivationByClickAsksMouseActivate) {
    HWND first = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    HWND second = Create(WS_POPUP | WS_VISIBLE, Bounds(200, 0, 100, 100), nullptr,
                         [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                             if (m == WM_MOUSEACTIVATE) return MA_NOACTIVATEANDEAT;
                             return std::nullopt;
                         });
    SetActiveWindow(first);
    Pump();
    log.clear();
    backend->Click(TPoint{250, 50});
    Pump();
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_TRUE(Messages(second, {WM_LBUTTONDOWN}).empty());
    EXPECT_EQ(Messages(second, {WM_LBUTTONUP}).size(), 1u);

    SetActiveWindow(second);
    EXPECT_EQ(GetActiveWindow(), second);
    log.clear();
    backend->Click(TPoint{50, 50});
    Pump();
    EXPECT_EQ(GetActiveWindow(), first);
    const Logged* act = Last(first, WM_ACTIVATE);
    ASSERT_TRUE(act);
    EXPECT_EQ(LOWORD(act->wParam), WA_CLICKACTIVE);
}

TEST_F(InputTests, TheCursorPositionIsNowAndTheMessagePositionIsThen) {
    BuildTree();
    backend->MouseMove(TPoint{135, 135});
    backend->MouseMove(TPoint{400, 400});
    TPoint now;
    ASSERT_TRUE(GetCursorPos(now));
    EXPECT_EQ(now, (TPoint{400, 400}));
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.pt, (TPoint{135, 135}));
    EXPECT_EQ(GetMessagePos(), (TPoint{135, 135}));
}

TEST_F(InputTests, SetCursorPicksTheShapeOfTheHit) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr,
                    [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                        if (m == WM_NCHITTEST) return HTBOTTOMRIGHT;
                        return std::nullopt;
                    });
    (void)h;
    backend->MouseMove(TPoint{50, 50});
    Pump();
    EXPECT_EQ(backend->CursorShape(), IDC_SIZENWSE);
}

}  // namespace
}  // namespace tarvel
