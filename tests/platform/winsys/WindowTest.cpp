// Windows, classes, procedures, subclassing, properties, creation and
// destruction.

#include "WinsysFixture.h"

namespace tarvel {
namespace {

using WindowTests = WinsysTest;

TEST_F(WindowTests, CreationSendsItsMessagesInOrder) {
    HWND h = Create(WS_POPUP, Bounds(10, 10, 100, 50));
    ASSERT_TRUE(h);
    EXPECT_EQ(Messages(h, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}),
              (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
    EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(WindowTests, CreateFailsWhenTheProcedureRefuses) {
    HWND refused = Create(WS_POPUP, Bounds(0, 0, 10, 10), nullptr,
                          [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                              if (m == WM_CREATE) return -1;
                              return std::nullopt;
                          });
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(Messages(nullptr, {WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr), nullptr);
}

TEST_F(WindowTests, DestroyReachesChildrenAfterTheirParent) {
    HWND top = Create(WS_POPUP, Bounds(0, 0, 100, 100));
    HWND child = Create(WS_CHILD, Bounds(0, 0, 10, 10), top);
    HWND grandChild = Create(WS_CHILD, Bounds(0, 0, 5, 5), child);
    log.clear();
    EXPECT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> seen;
    for (const Logged& l : log)
        if (l.msg == WM_DESTROY || l.msg == WM_NCDESTROY) seen.emplace_back(l.hwnd, l.msg);
    std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY},        {child, WM_DESTROY},
                                                {grandChild, WM_DESTROY}, {grandChild, WM_NCDESTROY},
                                                {child, WM_NCDESTROY},    {top, WM_NCDESTROY}};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(grandChild));
    EXPECT_FALSE(DestroyWindow(top));
}

TEST_F(WindowTests, OwnedWindowsDieWithTheirOwner) {
    HWND owner = Create(WS_OVERLAPPEDWINDOW, Bounds(0, 0, 200, 200));
    HWND popup = Create(WS_POPUP, Bounds(0, 0, 50, 50), owner);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
    EXPECT_EQ(GetParent(popup), owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(popup));
}

TEST_F(WindowTests, WindowDataIsStoredAndReadBack) {
    HWND h = Create(WS_POPUP | WS_CAPTION, Bounds(0, 0, 100, 100));
    SetWindowLongPtr(h, GWL_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_USERDATA), 1234);
    // Frame bits are stored for the frames to read; visibility is not set this way.
    LONG_PTR style = GetWindowLongPtr(h, GWL_STYLE);
    SetWindowLongPtr(h, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_VISIBLE);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_FALSE(IsWindowVisible(h));
    SetWindowLongPtr(h, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_TOOLWINDOW));

    EXPECT_TRUE(SetWindowText(h, "Caption ü"));
    EXPECT_EQ(GetWindowText(h), "Caption ü");
    EXPECT_EQ(GetClassName(h), "Recorder");

    EXPECT_TRUE(SetProp(h, "Owner", 77));
    EXPECT_EQ(GetProp(h, "OWNER"), 77);
    EXPECT_EQ(RemoveProp(h, "owner"), 77);
    EXPECT_EQ(GetProp(h, "Owner"), 0);
}

TEST_F(WindowTests, FindWindowExWalksTheChildrenByClassAndText) {
    WNDCLASS spin;
    spin.lpfnWndProc =
        MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); });
    spin.lpszClassName = "Spinner";
    ASSERT_TRUE(RegisterClass(spin));
    HWND top = Create(WS_POPUP, Bounds(0, 0, 100, 100));
    HWND plain = Create(WS_CHILD, Bounds(0, 0, 10, 10), top);
    HWND first = CreateWindowEx(0, "Spinner", "a", WS_CHILD, 0, 0, 5, 5, top);
    HWND second = CreateWindowEx(0, "Spinner", "b", WS_CHILD, 0, 0, 5, 5, top);
    HWND grandChild = CreateWindowEx(0, "Spinner", "a", WS_CHILD, 0, 0, 5, 5, plain);
    ASSERT_TRUE(first && second && grandChild);
    // Children come top of the z-order first: the latest made is on top.
    struct Case {
        HWND parent, after;
        const char* cls;
        const char* text;
        HWND expected;
    } cases[] = {
        {top, nullptr, "spinner", "", second},  // the class name ignores case
        {top, second, "SPINNER", "", first},
        {top, first, "Spinner", "", nullptr},
        {top, nullptr, "Spinner", "a", first},
        {top, nullptr, "", "", second},
        {top, nullptr, "Recorder", "", plain},
        {top, grandChild, "Spinner", "", nullptr},  // not a direct child
        {plain, nullptr, "Spinner", "", grandChild},
        {top, nullptr, "Unknown", "", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindWindowEx(c.parent, c.after, c.cls, c.text), c.expected)
            << c.cls << " after " << c.after;
    DestroyWindow(top);
    UnregisterClass("Spinner");
}

TEST_F(WindowTests, MessageOnlyWindowRunsAnyCallable) {
    int themeChanges = 0;
    HWND hidden = AllocateMessageWindow([&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_THEMECHANGED) return ++themeChanges;
        return DefWindowProc(h, m, w, l);
    });
    ASSERT_TRUE(hidden);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(WindowFromPoint(TPoint{0, 0}), nullptr);
    EXPECT_EQ(SendMessage(hidden, WM_THEMECHANGED, 0, 0), 1);
    PostMessage(hidden, WM_THEMECHANGED, 0, 0);
    Pump();
    EXPECT_EQ(themeChanges, 2);
    EXPECT_TRUE(DestroyWindow(hidden));
}

TEST_F(WindowTests, PostedMessagesToADestroyedWindowVanish) {
    HWND popup = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    HWND other = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    PostMessage(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessage(other, WM_USER, 1, 0);
    DestroyWindow(popup);
    log.clear();
    Pump();
    EXPECT_TRUE(Messages(popup, {WM_KEYDOWN}).empty());
    EXPECT_EQ(Messages(other, {WM_USER}).size(), 1u);
    EXPECT_FALSE(PostMessage(popup, WM_USER, 0, 0));
}

// Subclassing as the frames do it: each hook saves the procedure it replaced
// and chains to it. A hook leaves by restoring what it saved, but only while
// it is still on top; otherwise it stays in the chain and only passes on.
struct Hook {
    std::vector<std::string>* trace;
    std::string name;
    WNDPROC saved = nullptr;
    WNDPROC mine = nullptr;
    bool active = true;

    void Attach(HWND h) {
        mine = MakeWindowProc([this](HWND hw, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_USER && active) trace->push_back(name);
            return CallWindowProc(saved, hw, m, w, l);
        });
        saved = reinterpret_cast<WNDPROC>(SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(mine)));
    }
    void Detach(HWND h) {
        active = false;
        if (GetWindowLongPtr(h, GWL_WNDPROC) == reinterpret_cast<LONG_PTR>(mine))
            SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
    }
    ~Hook() { FreeWindowProc(mine); }
};

TEST_F(WindowTests, TwoHooksChainInOrderAndUnhookingTheInnerKeepsTheChain) {
    std::vector<std::string> trace;
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10), nullptr,
                    [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                        if (m == WM_USER) trace.push_back("window");
                        return std::nullopt;
                    });
    WNDPROC original = GetWindowProc(h);
    Hook first{&trace, "first"}, second{&trace, "second"};
    first.Attach(h);
    second.Attach(h);
    EXPECT_EQ(first.saved, original);
    EXPECT_EQ(second.saved, first.mine);

    SendMessage(h, WM_USER, 0, 0);
    EXPECT_EQ(trace, (std::vector<std::string>{"second", "first", "window"}));

    // The inner hook leaves while the outer one sits above it.
    first.Detach(h);
    EXPECT_EQ(GetWindowProc(h), second.mine);
    trace.clear();
    SendMessage(h, WM_USER, 0, 0);
    EXPECT_EQ(trace, (std::vector<std::string>{"second", "window"}));

    // The outer hook leaves and puts back what it saved; the chain still
    // ends at the window's own procedure.
    second.Detach(h);
    EXPECT_EQ(GetWindowProc(h), first.mine);
    trace.clear();
    SendMessage(h, WM_USER, 0, 0);
    EXPECT_EQ(trace, (std::vector<std::string>{"window"}));
    DestroyWindow(h);  // before the hooks go
}

TEST_F(WindowTests, AFreedProcedureFallsBackToTheDefault) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    WNDPROC gone = MakeWindowProc([](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 99; });
    FreeWindowProc(gone);
    EXPECT_EQ(CallWindowProc(gone, h, WM_USER, 0, 0), 0);
    EXPECT_EQ(SetWindowLongPtr(h, GWL_WNDPROC, 12345), 0);  // not a procedure: refused
    EXPECT_NE(GetWindowProc(h), nullptr);
}

TEST_F(WindowTests, AProcedureReplacedDuringItsOwnCallFinishesSafely) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    WNDPROC original = GetWindowProc(h);
    WNDPROC temporary = MakeWindowProc([&](HWND hw, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        SetWindowProc(hw, original);
        return CallWindowProc(original, hw, m, w, l) + 5;
    });
    SetWindowProc(h, temporary);
    FreeWindowProc(temporary);  // only the window keeps it now
    EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 5);
    EXPECT_EQ(GetWindowProc(h), original);
}

}  // namespace
}  // namespace tarvel
