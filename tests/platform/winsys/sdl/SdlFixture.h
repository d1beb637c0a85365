#pragma once
// Window trees for the SDL backend's tests: a probe window class that logs
// every message (as Logged records) and paints a fill colour and its text,
// a tree built the same way on any backend, and pumping with the real clock.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/Ticks.h"
#include "platform/winsys/Winsys.h"
#include "platform/winsys/headless/HeadlessBackend.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "tests/platform/winsys/WinsysFixture.h"

namespace tarvel {

// The probe class: windows fill their client area with the colour in
// GWL_USERDATA (when set) and write their text on it.
class ProbeWindows {
public:
    static constexpr const char* kClass = "Probe";

    ProbeWindows() {
        proc_ = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) { return Handle(h, m, w, l); });
        WNDCLASS wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc_;
        wc.lpszClassName = kClass;
        wc.backgroundColor = COLOR_BTNFACE;
        wc.hCursor = LoadCursor(IDC_ARROW);
        registered_ = RegisterClass(wc);
    }
    ~ProbeWindows() { FreeWindowProc(proc_); }
    bool Registered() const { return registered_; }

    HWND Create(DWORD style, TRect bounds, HWND parent = nullptr, COLORREF fill = 0,
                const std::string& text = "", DWORD exStyle = 0) {
        HWND h = CreateWindowEx(exStyle, kClass, text, style & ~WS_VISIBLE, bounds.left, bounds.top,
                                bounds.Width(), bounds.Height(), parent);
        if (!h) return h;
        if (fill) SetWindowLongPtr(h, GWL_USERDATA, static_cast<LONG_PTR>(fill));
        if (style & WS_VISIBLE) ShowWindow(h, (style & WS_CHILD) ? SW_SHOWNA : SW_SHOW);
        return h;
    }

    MessageLog log;

    std::vector<UINT> Messages(HWND hwnd, const std::vector<UINT>& only) const {
        return log.Messages(hwnd, only);
    }
    const Logged* Last(HWND hwnd, UINT msg) const { return log.Last(hwnd, msg); }

private:
    LRESULT Handle(HWND h, UINT m, WPARAM w, LPARAM l) {
        log.push_back(Logged{h, m, w, l});
        if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        if (auto fill = static_cast<COLORREF>(GetWindowLongPtr(h, GWL_USERDATA))) {
            HBRUSH brush = CreateSolidBrush(fill);
            FillRect(dc, ClientRect(h), brush);
            DeleteObject(brush);
        }
        std::string text = GetWindowText(h);
        if (!text.empty()) {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            TRect r = ClientRect(h);
            DrawTextA(dc, text, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        }
        EndPaint(h, &ps);
        return 0;
    }

    WNDPROC proc_ = nullptr;
    bool registered_ = false;
};

// A framed form at (100, 80) with a filled panel holding a labelled button,
// and a second child beside the panel.
struct WindowTree {
    HWND form = nullptr, panel = nullptr, button = nullptr, side = nullptr;

    void Build(ProbeWindows& probe) {
        form = probe.Create(WS_OVERLAPPED | WS_THICKFRAME | WS_CLIPCHILDREN | WS_VISIBLE,
                            Bounds(100, 80, 240, 160), nullptr, RGB(230, 230, 240));
        panel =
            probe.Create(WS_CHILD | WS_BORDER | WS_VISIBLE, Bounds(10, 10, 140, 90), form, RGB(40, 120, 200));
        button =
            probe.Create(WS_CHILD | WS_VISIBLE, Bounds(20, 20, 90, 30), panel, RGB(250, 210, 60), "Start");
        side = probe.Create(WS_CHILD | WS_VISIBLE, Bounds(160, 10, 60, 60), form, RGB(200, 40, 40), "X");
        SetFocus(button);
    }
};

// Takes and dispatches messages until `done` holds or `ms` passed on the
// real clock.
inline bool PumpUntil(const std::function<bool()>& done, uint32_t ms = 3000) {
    uint32_t start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        CurrentBackend()->WaitForEvents(10);
    }
}

// Takes and dispatches everything for a while.
inline void PumpFor(uint32_t ms) {
    PumpUntil([] { return false; }, ms);
}

// Two pictures are equal pixel for pixel (alpha aside); the first
// difference is reported.
inline ::testing::AssertionResult SamePixels(const Surface* a, const Surface* b) {
    if (!a || !b) return ::testing::AssertionFailure() << "a picture is missing";
    if (a->Width() != b->Width() || a->Height() != b->Height())
        return ::testing::AssertionFailure() << "sizes differ: " << a->Width() << "x" << a->Height()
                                             << " and " << b->Width() << "x" << b->Height();
    for (int y = 0; y < a->Height(); ++y)
        for (int x = 0; x < a->Width(); ++x)
            if ((a->Pixel(x, y) & 0xFFFFFF) != (b->Pixel(x, y) & 0xFFFFFF))
                return ::testing::AssertionFailure()
                       << "first difference at (" << x << ", " << y << "): " << std::hex << a->Pixel(x, y)
                       << " and " << b->Pixel(x, y);
    return ::testing::AssertionSuccess();
}

// A thread posts while the GUI thread waits with nothing else due but a
// long backstop timer (so that a lost wake-up fails instead of hanging).
inline void ExpectAPostFromAnotherThreadEndsTheWait() {
    UINT_PTR backstop = SetTimer(nullptr, 0, 5000);
    uint32_t start = GetTickCount();
    std::thread poster([] {
        Sleep(150);
        PostMessage(nullptr, WM_APP, 7, 0);
    });
    MSG m;
    do {
        ASSERT_EQ(GetMessage(&m, nullptr, 0, 0), 1);
        DispatchMessage(&m);
    } while (m.message != WM_APP && m.message != WM_TIMER);
    poster.join();
    EXPECT_EQ(m.message, WM_APP);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_LT(GetTickCount() - start, 2000u);
    KillTimer(nullptr, backstop);
}

// A tray icon on a message window that records the messages it gets.
struct TrayProbe {
    static constexpr UINT kNotify = WM_USER + 0x16C;
    std::vector<Logged> got;
    HWND window = nullptr;
    NOTIFYICONDATA data;

    explicit TrayProbe(const char* tip) {
        window = AllocateMessageWindow([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            got.push_back(Logged{h, m, w, l});
            return 0;
        });
        data.hWnd = window;
        data.uID = 1;
        data.uFlags = NIF_MESSAGE | NIF_TIP;
        data.uCallbackMessage = kNotify;
        SetTip(tip);
    }
    ~TrayProbe() { DestroyWindow(window); }  // its procedure records into this object
    TrayProbe(const TrayProbe&) = delete;
    TrayProbe& operator=(const TrayProbe&) = delete;

    void SetTip(const char* tip) { std::snprintf(data.szTip, sizeof data.szTip, "%s", tip); }
    bool Notify(DWORD message) { return Shell_NotifyIcon(message, &data); }
    // The last message is the icon's double click.
    ::testing::AssertionResult LastIsDoubleClick() const {
        if (got.empty()) return ::testing::AssertionFailure() << "nothing came";
        const Logged& l = got.back();
        if (l.msg != kNotify || l.wParam != data.uID || l.lParam != static_cast<LPARAM>(WM_LBUTTONDBLCLK))
            return ::testing::AssertionFailure()
                   << "message " << l.msg << " (" << l.wParam << ", " << l.lParam << ")";
        return ::testing::AssertionSuccess();
    }
};

// The tree's pixels as the headless backend shows them.
inline std::unique_ptr<Surface> HeadlessTreePixels() {
    auto owned = std::make_unique<HeadlessBackend>(TSize{1024, 768});
    HeadlessBackend* headless = owned.get();
    InitWindowSystem(std::move(owned));
    std::unique_ptr<Surface> pixels;
    {
        ProbeWindows probe;
        WindowTree tree;
        tree.Build(probe);
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
        pixels = headless->WindowPixels(tree.form);
        ShutdownWindowSystem();
    }
    return pixels;
}

}  // namespace tarvel

namespace tarvel {

// Environment variables set for one test and put back after it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// A window system on the SDL backend with the given video driver, the probe
// class registered, and SDL events pushed as a display would send them.
class SdlTest : public ::testing::Test {
protected:
    explicit SdlTest(const char* driver = "offscreen") : driver_(driver) {}

    void SetUp() override {
        std::string why;
        std::unique_ptr<SdlBackend> b = SdlBackend::Open(driver_, &why);
        ASSERT_TRUE(b) << why;
        backend = b.get();
        InitWindowSystem(std::move(b));
        probe = std::make_unique<ProbeWindows>();
        ASSERT_TRUE(probe->Registered());
    }

    void TearDown() override {
        ShutdownWindowSystem();  // before the probe: its windows call it to the end
        probe.reset();
    }

    uint32_t IdOf(HWND top) const { return SDL_GetWindowID(backend->SdlWindowOf(top)); }
    uint32_t FlagsOf(HWND top) const {
        SDL_Window* w = backend->SdlWindowOf(top);
        return w ? SDL_GetWindowFlags(w) : 0;
    }

    // A screen point as coordinates in the SDL window of `top`.
    TPoint InWindow(HWND top, TPoint screen) const {
        TRect r = WindowRect(top);
        return TPoint{screen.x - r.left, screen.y - r.top};
    }
    // The screen point of `client` in `hwnd`.
    static TPoint OnScreen(HWND hwnd, TPoint client) {
        ClientToScreen(hwnd, client);
        return client;
    }

    void PushMouseButton(HWND top, TPoint screen, bool down, uint8_t button = SDL_BUTTON_LEFT) {
        SDL_Event ev{};
        ev.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        ev.button.windowID = IdOf(top);
        ev.button.button = button;
        ev.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        TPoint p = InWindow(top, screen);
        ev.button.x = p.x;
        ev.button.y = p.y;
        SDL_PushEvent(&ev);
    }
    void PushClick(HWND top, TPoint screen) {
        PushMouseButton(top, screen, true);
        PushMouseButton(top, screen, false);
    }
    void PushWheel(HWND top, TPoint screen, int y, bool flipped = false) {
        SDL_Event ev{};
        ev.type = SDL_MOUSEWHEEL;
        ev.wheel.windowID = IdOf(top);
        ev.wheel.y = y;
        ev.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        TPoint p = InWindow(top, screen);
        ev.wheel.mouseX = p.x;
        ev.wheel.mouseY = p.y;
        SDL_PushEvent(&ev);
    }
    void PushKey(SDL_Keycode sym, bool down, uint16_t mod = 0) {
        SDL_Event ev{};
        ev.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        ev.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        ev.key.keysym.sym = sym;
        ev.key.keysym.mod = mod;
        SDL_PushEvent(&ev);
    }
    void PushText(const char* utf8) {
        SDL_Event ev{};
        ev.type = SDL_TEXTINPUT;
        SDL_strlcpy(ev.text.text, utf8, sizeof(ev.text.text));
        SDL_PushEvent(&ev);
    }
    void PushWindowEvent(HWND top, SDL_WindowEventID what) {
        SDL_Event ev{};
        ev.type = SDL_WINDOWEVENT;
        ev.window.windowID = IdOf(top);
        ev.window.event = static_cast<uint8_t>(what);
        SDL_PushEvent(&ev);
    }

    bool Got(HWND hwnd, UINT msg) const { return probe->Last(hwnd, msg) != nullptr; }

    SdlBackend* backend = nullptr;
    std::unique_ptr<ProbeWindows> probe;

private:
    const char* driver_;
};

}  // namespace tarvel
