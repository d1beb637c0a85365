// WM_PRINT: a window paints its frame, background, client and child windows
// into a DC of the caller's, whatever is on the screen.

#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

// Runs the window's own painting with its DCs drawing into `target`: the
// frame through WM_NCPAINT, the client through WM_ERASEBKGND and
// WM_PRINTCLIENT, as `flags` ask.
void PaintRedirected(HWND hwnd, const std::shared_ptr<Surface>& target, LPARAM flags) {
    RedirectWindowDcs(hwnd, target);
    try {
        if (flags & PRF_NONCLIENT) SendMessage(hwnd, WM_NCPAINT, 1, 0);
        if (IsWindow(hwnd) && (flags & (PRF_ERASEBKGND | PRF_CLIENT))) {
            HDC dc = GetDC(hwnd);
            if (flags & PRF_ERASEBKGND) SendMessage(hwnd, WM_ERASEBKGND, DcToWParam(dc), 0);
            if (IsWindow(hwnd) && (flags & PRF_CLIENT))
                SendMessage(hwnd, WM_PRINTCLIENT, DcToWParam(dc), flags);
            ReleaseDC(hwnd, dc);
        }
    } catch (...) {
        RedirectWindowDcs(hwnd, nullptr);
        throw;
    }
    RedirectWindowDcs(hwnd, nullptr);
}

// The parts of the window that were asked for, window coordinates, within
// its region.
RectList PrintedArea(const Window* w, LPARAM flags) {
    RectList area;
    if (flags & PRF_NONCLIENT) {
        area.Add(TRect{0, 0, w->rect.Width(), w->rect.Height()});
        area.Subtract(w->client);
    }
    if (flags & (PRF_ERASEBKGND | PRF_CLIENT)) area.Add(w->client);
    if (!w->shape.empty()) area.IntersectWith(ShapeArea(w, TPoint{}));
    return area;
}

void PrintChildren(HWND hwnd, HDC dc, LPARAM flags) {
    Window* w = FindWindow(hwnd);
    if (!w) return;
    const TRect client = w->client;
    const std::vector<HWND> children = w->children;
    // The bottom one first: upper ones cover it, as on the screen.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Window* c = FindWindow(*it);
        if (!c || !(c->style & WS_VISIBLE)) continue;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
        MoveWindowOrg(dc, client.left + c->rect.left, client.top + c->rect.top);
        IntersectClipRect(dc, 0, 0, c->rect.Width(), c->rect.Height());
        try {
            SendMessage(*it, WM_PRINT, DcToWParam(dc), flags & ~PRF_CHECKVISIBLE);
        } catch (...) {
            RestoreDC(dc, saved);
            throw;
        }
        RestoreDC(dc, saved);
    }
}

}  // namespace

void DefaultPrint(HWND hwnd, HDC dc, LPARAM flags) {
    Window* w = FindWindow(hwnd);
    if (!w || w->messageOnly || !dc) return;
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) return;
    const RectList area = PrintedArea(w, flags);
    if (!area.IsEmpty()) {
        auto pixels = std::make_shared<Surface>(w->rect.Width(), w->rect.Height());
        if (!pixels->Valid()) return;
        PaintRedirected(hwnd, pixels, flags);
        HDC from = CreateSurfaceDC(pixels, TPoint{}, pixels->BoundsRect());
        for (const TRect& r : area.Rects())
            BitBlt(dc, r.left, r.top, r.Width(), r.Height(), from, r.left, r.top, SRCCOPY);
        DeleteDC(from);
    }
    if (flags & PRF_CHILDREN) PrintChildren(hwnd, dc, flags);
}

}  // namespace tarvel
