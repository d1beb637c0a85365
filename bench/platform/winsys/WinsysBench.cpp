// Costs of the window system's hot paths on the headless backend: a posted
// message through the queue, a mouse move routed through a window tree, and
// a repaint of a window with many children.

#include <benchmark/benchmark.h>

#include "platform/winsys/Winsys.h"
#include "platform/winsys/headless/HeadlessBackend.h"

namespace tarvel {
namespace {

struct Session {
    HeadlessBackend* backend = nullptr;
    WNDPROC proc = nullptr;

    Session() {
        auto b = std::make_unique<HeadlessBackend>(TSize{1024, 768});
        backend = b.get();
        InitWindowSystem(std::move(b));
        proc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            HBRUSH brush = CreateSolidBrush(RGB(200, 200, 200));
            FillRect(dc, ps.rcPaint, brush);
            DeleteObject(brush);
            EndPaint(h, &ps);
            return 0;
        });
        WNDCLASS wc;
        wc.lpfnWndProc = proc;
        wc.lpszClassName = "Bench";
        RegisterClass(wc);
    }
    ~Session() {
        ShutdownWindowSystem();
        FreeWindowProc(proc);
    }
    static void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
    }
};

void BM_PostAndDispatch(benchmark::State& state) {
    Session s;
    HWND h = CreateWindowEx(0, "Bench", "", WS_POPUP, 0, 0, 10, 10, nullptr);
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) PostMessage(h, WM_USER, i, 0);
        Session::Pump();
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_PostAndDispatch);

// A form with nested panels, eight deep, four children at each level.
void BM_MouseMoveThroughTree(benchmark::State& state) {
    Session s;
    HWND top = CreateWindowEx(0, "Bench", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr);
    HWND parent = top;
    for (int depth = 0; depth < 8; ++depth) {
        HWND next = nullptr;
        for (int i = 0; i < 4; ++i) {
            HWND c = CreateWindowEx(0, "Bench", "", WS_CHILD | WS_VISIBLE, i * 40, 0, 400 - depth * 40,
                                    500 - depth * 50, parent);
            if (i == 0) next = c;
        }
        parent = next;
    }
    Session::Pump();
    int x = 0;
    for (auto _ : state) {
        s.backend->MouseMove(TPoint{5 + (x++ & 7), 5});
        Session::Pump();
    }
}
BENCHMARK(BM_MouseMoveThroughTree);

void BM_RepaintWithChildren(benchmark::State& state) {
    Session s;
    HWND top =
        CreateWindowEx(0, "Bench", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 800, 600, nullptr);
    for (int i = 0; i < 64; ++i)
        CreateWindowEx(0, "Bench", "", WS_CHILD | WS_VISIBLE, (i % 8) * 100, (i / 8) * 75, 90, 65, top);
    Session::Pump();
    for (auto _ : state) {
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        Session::Pump();
    }
}
BENCHMARK(BM_RepaintWithChildren);

}  // namespace
}  // namespace tarvel
