#pragma once
// A window system on the headless backend, with a recording window class:
// every message is logged, then given to the window's handler, if any, or to
// the default procedure.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/winsys/Winsys.h"
#include "platform/winsys/headless/HeadlessBackend.h"

namespace tarvel {

struct Logged {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// The messages a test window class recorded, with the look-ups tests make.
struct MessageLog : std::vector<Logged> {
    // The logged messages of `hwnd` (any window when null) that are in `only`.
    std::vector<UINT> Messages(HWND hwnd, const std::vector<UINT>& only) const {
        std::vector<UINT> out;
        for (const Logged& l : *this)
            if ((!hwnd || l.hwnd == hwnd) && std::find(only.begin(), only.end(), l.msg) != only.end())
                out.push_back(l.msg);
        return out;
    }

    const Logged* Last(HWND hwnd, UINT msg) const {
        for (auto it = rbegin(); it != rend(); ++it)
            if (it->hwnd == hwnd && it->msg == msg) return &*it;
        return nullptr;
    }
};

class WinsysTest : public ::testing::Test {
public:
    using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

    // Answers WM_NCCALCSIZE with a frame of insets.left, .top, .right and
    // .bottom pixels; false for any other message.
    static bool AnswerFrame(UINT m, WPARAM w, LPARAM l, TRect insets) {
        if (m != WM_NCCALCSIZE || !w) return false;
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
        TRect& r = p->rgrc[0];
        r = TRect{r.left + insets.left, r.top + insets.top, r.right - insets.right, r.bottom - insets.bottom};
        p->rgrc[1] = r;
        return true;
    }

    static void FillWith(HDC dc, const TRect& r, COLORREF c) {
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, r, b);
        DeleteObject(b);
    }

    // Paints its whole client area in `color` through BeginPaint, and far
    // beyond it, to show what the DC lets through.
    static LRESULT PaintAll(HWND h, COLORREF color) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        FillWith(dc, Rect(-50, -50, 2000, 2000), color);
        EndPaint(h, &ps);
        return 0;
    }
    static Handler Painter(COLORREF color) {
        return [color](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m != WM_PAINT) return std::nullopt;
            return PaintAll(h, color);
        };
    }
    // The same in the colour `*color` holds at the time.
    static Handler PaintsIn(const COLORREF* color) {
        return [color](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m != WM_PAINT) return std::nullopt;
            return PaintAll(h, *color);
        };
    }

    // A window with a frame of `insets` that it paints in `frame` on
    // WM_NCPAINT, and a client area it paints in `client`.
    static Handler FramedPainter(TRect insets, COLORREF frame, COLORREF client) {
        return [=](HWND h, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
            if (AnswerFrame(m, w, l, insets)) return 0;
            if (m == WM_NCPAINT) {
                HDC dc = GetWindowDC(h);
                FillWith(dc, Rect(0, 0, 2000, 2000), frame);
                ReleaseDC(h, dc);
                return 0;
            }
            return Painter(client)(h, m, w, l);
        };
    }

    // The colour of the screen at a point, drawn or not yet presented.
    COLORREF ScreenAt(int x, int y) const {
        return PixelToColorRef(backend->ScreenPixels()->Pixel(x, y) & 0xFFFFFF);
    }

    void SetUp() override {
        auto b = std::make_unique<HeadlessBackend>(TSize{800, 600});
        backend = b.get();
        InitWindowSystem(std::move(b));
        proc_ = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) { return Record(h, m, w, l); });
        WNDCLASS wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc_;
        wc.lpszClassName = "Recorder";
        wc.backgroundColor = COLOR_WINDOW;
        ASSERT_TRUE(RegisterClass(wc));
    }

protected:
    void TearDown() override {
        handlers_.clear();  // they may refer to the test's locals, gone by now
        ShutdownWindowSystem();
        FreeWindowProc(proc_);
    }

    HWND Create(DWORD style, TRect bounds, HWND parent = nullptr, Handler handler = {}, DWORD exStyle = 0) {
        pending_ = std::move(handler);
        HWND h = CreateWindowEx(exStyle, "Recorder", "", style, bounds.left, bounds.top, bounds.Width(),
                                bounds.Height(), parent);
        pending_ = {};
        return h;
    }

    void SetHandler(HWND h, Handler handler) { handlers_[h] = std::move(handler); }

    // Takes and dispatches messages until none is left.
    void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }

    std::vector<UINT> Messages(HWND hwnd, const std::vector<UINT>& only) const {
        return log.Messages(hwnd, only);
    }
    const Logged* Last(HWND hwnd, UINT msg) const { return log.Last(hwnd, msg); }

    HeadlessBackend* backend = nullptr;
    MessageLog log;

private:
    LRESULT Record(HWND h, UINT m, WPARAM w, LPARAM l) {
        log.push_back(Logged{h, m, w, l});
        auto it = handlers_.find(h);
        // The window being created is the one never seen before; others get
        // messages during its creation too (activation).
        if (it == handlers_.end() && pending_ && seen_.insert(h).second)
            it = handlers_.emplace(h, pending_).first;
        seen_.insert(h);
        if (it != handlers_.end() && it->second) {
            Handler handler = it->second;  // the handler may replace itself
            if (std::optional<LRESULT> r = handler(h, m, w, l)) return *r;
        }
        return DefWindowProc(h, m, w, l);
    }

    WNDPROC proc_ = nullptr;
    Handler pending_;
    std::map<HWND, Handler> handlers_;
    std::set<HWND> seen_;
};

}  // namespace tarvel
