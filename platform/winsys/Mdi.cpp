// The MDI client window and the default processing of its children.

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/winsys/InputApi.h"
#include "platform/winsys/MdiApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

constexpr char kActiveProp[] = "MdiActive";
constexpr char kShowingProp[] = "MdiShowing";
// From a child to its client: it is hidden or goes, so another one takes
// the activation.
constexpr UINT kChildGone = 0x022A;
// From a child to its client: it moved, was sized, shown or hidden.
constexpr UINT kChildMoved = 0x022B;
constexpr UINT kQuiet = SWP_NOZORDER | SWP_NOACTIVATE;

bool IsMdiChildOf(HWND client, const Window* c) {
    return c && c->parent == client && (c->exStyle & WS_EX_MDICHILD) && !c->destroying;
}

bool Usable(HWND client, HWND child) {
    const Window* c = FindWindow(child);
    return IsMdiChildOf(client, c) && (c->style & WS_VISIBLE);
}

HWND ActiveChild(HWND client) {
    HWND a = reinterpret_cast<HWND>(GetProp(client, kActiveProp));
    return a && IsMdiChildOf(client, FindWindow(a)) ? a : nullptr;
}

std::vector<HWND> UsableChildren(HWND client) {
    std::vector<HWND> out;
    for (HWND h : MdiChildren(client))
        if (Usable(client, h)) out.push_back(h);
    return out;
}

// `leaving`: the active child is hidden or goes; it keeps its state.
void Activate(HWND client, HWND child, bool leaving = false) {
    if (child && !Usable(client, child)) return;
    const HWND raw = reinterpret_cast<HWND>(GetProp(client, kActiveProp));
    const HWND old = leaving && IsWindow(raw) ? raw : ActiveChild(client);
    if (child == old) {
        if (child) SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    // A maximized child hands its state on to the one that follows it.
    const bool carry = old && child && IsZoomed(old);
    SetProp(client, kActiveProp, reinterpret_cast<intptr_t>(child));
    if (old) {
        SendMessage(old, WM_NCACTIVATE, 0, 0);
        SendMessage(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
        if (carry && !leaving && IsWindow(old)) ShowWindow(old, SW_RESTORE);
    }
    if (!child || !IsWindow(child)) return;
    if (carry) ShowWindow(child, SW_SHOWMAXIMIZED);
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The caption shows active only while the frame window is.
    const HWND root = GetAncestor(client, GA_ROOT);
    SendMessage(child, WM_NCACTIVATE, root && GetActiveWindow() == root, 0);
    SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    // The keyboard follows when the frame window has it.
    const HWND focus = GetFocus();
    if (IsWindow(child) && root && GetActiveWindow() == root && focus != child && !IsChild(child, focus))
        SetFocus(child);
}

// The next child below `from` (the active one when null) becomes active and
// `from` goes to the bottom; backwards, the bottom child becomes active.
void Next(HWND client, HWND from, bool previous) {
    const std::vector<HWND> list = UsableChildren(client);
    if (list.size() < 2) return;
    if (!from) from = ActiveChild(client);
    const auto at = std::find(list.begin(), list.end(), from);
    const size_t i = at == list.end() ? 0 : static_cast<size_t>(at - list.begin());
    const HWND target = previous ? list.back() : list[(i + 1) % list.size()];
    Activate(client, target);
    if (!previous && from && IsWindow(from))
        SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The children to arrange: visible and not minimized, top first; a
// maximized one is restored first.
std::vector<HWND> Arrangeable(HWND client, TRect& area) {
    if (HWND a = ActiveChild(client); a && IsZoomed(a)) ShowWindow(a, SW_RESTORE);
    area = ClientRect(client);
    std::vector<HWND> out;
    bool icons = false;
    for (HWND h : UsableChildren(client)) {
        if (IsIconic(h))
            icons = true;
        else
            out.push_back(h);
    }
    if (icons) area.bottom = std::max(area.top, area.bottom - MdiIconSize().cy);
    return out;
}

void Tile(HWND client, WPARAM how) {
    TRect area;
    const std::vector<HWND> list = Arrangeable(client, area);
    const int n = static_cast<int>(list.size());
    if (n == 0) return;
    // Vertical tiling sets the windows side by side, horizontal one above
    // the other; a grid when there are more.
    int across = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    if (how & MDITILE_HORIZONTAL) across = (n + across - 1) / across;
    const int rows = (n + across - 1) / across;
    for (int i = 0; i < n; ++i) {
        const int row = i / across, col = i % across;
        const int inRow = std::min(across, n - row * across);
        const int x0 = area.left + area.Width() * col / inRow,
                  x1 = area.left + area.Width() * (col + 1) / inRow;
        const int y0 = area.top + area.Height() * row / rows,
                  y1 = area.top + area.Height() * (row + 1) / rows;
        SetWindowPos(list[static_cast<size_t>(i)], nullptr, x0, y0, x1 - x0, y1 - y0, kQuiet);
    }
}

void Cascade(HWND client) {
    TRect area;
    const std::vector<HWND> list = Arrangeable(client, area);
    if (list.empty()) return;
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const int w = std::max(1, area.Width() * 3 / 4), h = std::max(1, area.Height() * 3 / 4);
    // The bottom child starts at the corner, the top one ends furthest in;
    // a step that would leave the area starts over at the corner.
    int k = 0;
    for (auto it = list.rbegin(); it != list.rend(); ++it, ++k) {
        if (area.left + k * step + w > area.right || area.top + k * step + h > area.bottom) k = 0;
        SetWindowPos(*it, nullptr, area.left + k * step, area.top + k * step, w, h, kQuiet);
    }
}

// A minimized child takes the first free place along the client's bottom.
void PlaceIcon(HWND child) {
    Window* c = FindWindow(child);
    if (!c || !(c->style & WS_MINIMIZE)) return;
    const HWND client = c->parent;
    const TSize s = MdiIconSize();
    const TRect area = ClientRect(client);
    const int perRow = std::max(1, area.Width() / std::max(1, s.cx));
    for (int k = 0;; ++k) {
        const TPoint slot{area.left + (k % perRow) * s.cx, area.bottom - (k / perRow + 1) * s.cy};
        bool taken = false;
        for (HWND h : MdiChildren(client)) {
            const Window* o = FindWindow(h);
            if (h != child && o && (o->style & WS_MINIMIZE) && o->rect.left == slot.x &&
                o->rect.top == slot.y)
                taken = true;
        }
        if (taken && k < 1000) continue;
        if (c->rect.left != slot.x || c->rect.top != slot.y || c->rect.Width() != s.cx ||
            c->rect.Height() != s.cy)
            SetWindowPos(child, nullptr, slot.x, slot.y, s.cx, s.cy, kQuiet);
        return;
    }
}

// ---- the client's scroll bars ----

struct ScrollRanges {
    int min[2] = {0, 0}, max[2] = {0, 0}, page[2] = {0, 0};  // by SB_HORZ, SB_VERT
    bool busy = false;  // the client moves its children or changes its frame
};

std::map<HWND, ScrollRanges>& Scrolls() {
    static std::map<HWND, ScrollRanges> scrolls;
    return scrolls;
}

DWORD BarBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }
int BarSize(int bar) { return GetSystemMetrics(bar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL); }

void UpdateScrollBars(HWND client) {
    Window* w = FindWindow(client);
    if (!w || w->destroying) return;
    ScrollRanges& s = Scrolls()[client];
    if (s.busy) return;
    // The area the client would have without bars.
    const TRect c = ClientRect(client);
    const int fullW = c.Width() + ((w->style & WS_VSCROLL) ? BarSize(SB_VERT) : 0);
    const int fullH = c.Height() + ((w->style & WS_HSCROLL) ? BarSize(SB_HORZ) : 0);
    const HWND active = ActiveChild(client);
    TRect extent{0, 0, 0, 0};
    bool any = false;
    if (!(active && IsZoomed(active)))
        for (HWND h : UsableChildren(client)) {
            const TRect r = FindWindow(h)->rect;
            extent = any ? TRect{std::min(extent.left, r.left), std::min(extent.top, r.top),
                                 std::max(extent.right, r.right), std::max(extent.bottom, r.bottom)}
                         : r;
            any = true;
        }
    // One bar narrows the area and may call for the other.
    bool need[2] = {false, false};
    int view[2] = {fullW, fullH};
    for (int pass = 0; any && pass < 3; ++pass) {
        view[SB_HORZ] = std::max(0, fullW - (need[SB_VERT] ? BarSize(SB_VERT) : 0));
        view[SB_VERT] = std::max(0, fullH - (need[SB_HORZ] ? BarSize(SB_HORZ) : 0));
        need[SB_HORZ] = extent.left < 0 || extent.right > view[SB_HORZ];
        need[SB_VERT] = extent.top < 0 || extent.bottom > view[SB_VERT];
    }
    view[SB_HORZ] = std::max(0, fullW - (need[SB_VERT] ? BarSize(SB_VERT) : 0));
    view[SB_VERT] = std::max(0, fullH - (need[SB_HORZ] ? BarSize(SB_HORZ) : 0));
    const int lo[2] = {extent.left, extent.top}, hi[2] = {extent.right, extent.bottom};
    bool moved = false;
    for (int bar : {SB_HORZ, SB_VERT}) {
        const ScrollRanges was = s;
        s.page[bar] = view[bar];
        s.min[bar] = std::min(lo[bar], 0);
        s.max[bar] = std::max(hi[bar], view[bar]) - 1;
        moved |= was.page[bar] != s.page[bar] || was.min[bar] != s.min[bar] || was.max[bar] != s.max[bar];
    }
    const DWORD style = (w->style & ~(WS_VSCROLL | WS_HSCROLL)) | (need[SB_VERT] ? WS_VSCROLL : 0) |
                        (need[SB_HORZ] ? WS_HSCROLL : 0);
    const bool changed = style != w->style;
    if (changed) {
        s.busy = true;
        SetWindowLongPtr(client, GWL_STYLE, static_cast<LONG_PTR>(style));
        SetWindowPos(client, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (Window* again = FindWindow(client)) Scrolls()[again->hwnd].busy = false;
    }
    // The bars show the new ranges.
    if (changed || (moved && (need[SB_HORZ] || need[SB_VERT])))
        RedrawWindow(client, nullptr, HRGN{}, RDW_FRAME | RDW_INVALIDATE);
}

void ScrollClient(HWND client, int bar, WORD code, int thumb) {
    Window* w = FindWindow(client);
    if (!w || !(w->style & BarBit(bar))) return;
    ScrollRanges& s = Scrolls()[client];
    const int line = BarSize(bar == SB_VERT ? SB_HORZ : SB_VERT);
    const int last = std::max(s.min[bar], s.max[bar] - s.page[bar] + 1);
    int to = 0;
    switch (code) {
        case SB_LINEUP: to = -line; break;
        case SB_LINEDOWN: to = line; break;
        case SB_PAGEUP: to = -s.page[bar]; break;
        case SB_PAGEDOWN: to = s.page[bar]; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: to = thumb; break;
        case SB_TOP: to = s.min[bar]; break;
        case SB_BOTTOM: to = last; break;
        default: return;
    }
    to = std::clamp(to, s.min[bar], last);
    if (to == 0) return;
    s.busy = true;
    for (HWND h : MdiChildren(client)) {
        const TRect r = FindWindow(h)->rect;
        SetWindowPos(h, nullptr, r.left - (bar == SB_HORZ ? to : 0), r.top - (bar == SB_VERT ? to : 0), 0, 0,
                     kQuiet | SWP_NOSIZE);
    }
    if (!IsWindow(client)) return;
    Scrolls()[client].busy = false;
    InvalidateRect(client, nullptr, true);
    UpdateScrollBars(client);
}

LRESULT ClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND child = reinterpret_cast<HWND>(wParam);
    switch (msg) {
        case WM_MDIACTIVATE: Activate(hwnd, child); return 0;
        case WM_MDIGETACTIVE: {
            const HWND a = ActiveChild(hwnd);
            if (auto* maximized = reinterpret_cast<bool*>(lParam)) *maximized = a && IsZoomed(a);
            return reinterpret_cast<LRESULT>(a);
        }
        case WM_MDIMAXIMIZE:
            if (!IsMdiChildOf(hwnd, FindWindow(child))) return 0;
            if (child != ActiveChild(hwnd)) Activate(hwnd, child);
            if (IsWindow(child) && !IsZoomed(child)) ShowWindow(child, SW_SHOWMAXIMIZED);
            return 0;
        case WM_MDIRESTORE:
            if (IsMdiChildOf(hwnd, FindWindow(child))) ShowWindow(child, SW_RESTORE);
            return 0;
        case WM_MDINEXT: Next(hwnd, child, lParam != 0); return 0;
        case WM_MDITILE: Tile(hwnd, wParam); return 1;
        case WM_MDICASCADE: Cascade(hwnd); return 1;
        case WM_MDIDESTROY:
            if (IsMdiChildOf(hwnd, FindWindow(child))) DestroyWindow(child);
            return 0;
        case kChildGone:
            // The child may be past answering as one (being destroyed).
            if (child == reinterpret_cast<HWND>(GetProp(hwnd, kActiveProp))) {
                HWND next = nullptr;
                for (HWND h : UsableChildren(hwnd))
                    if (h != child) {
                        next = h;
                        break;
                    }
                Activate(hwnd, next, true);
            }
            UpdateScrollBars(hwnd);
            return 0;
        case kChildMoved: UpdateScrollBars(hwnd); return 0;
        case WM_SIZE:
            if (HWND a = ActiveChild(hwnd); a && IsZoomed(a))
                SetWindowPos(a, nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), kQuiet);
            UpdateScrollBars(hwnd);
            return 0;
        case WM_NCCALCSIZE: {
            const LRESULT r = DefWindowProc(hwnd, msg, wParam, lParam);
            if (auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)) {
                const Window* w = FindWindow(hwnd);
                TRect& c = params->rgrc[0];
                if (w && (w->style & WS_VSCROLL)) c.right = std::max(c.left, c.right - BarSize(SB_VERT));
                if (w && (w->style & WS_HSCROLL)) c.bottom = std::max(c.top, c.bottom - BarSize(SB_HORZ));
            }
            return r;
        }
        case WM_VSCROLL:
        case WM_HSCROLL:
            ScrollClient(hwnd, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam),
                         static_cast<int16_t>(HIWORD(wParam)));
            return 0;
        case WM_NCDESTROY: Scrolls().erase(hwnd); break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterMdiClientClass() {
    static const WNDPROC proc = MakeWindowProc(ClientProc);
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = kMdiClientClass;
    wc.hCursor = LoadCursor(IDC_ARROW);
    wc.backgroundColor = COLOR_APPWORKSPACE;
    RegisterClass(wc);
}

std::vector<HWND> MdiChildren(HWND client) {
    std::vector<HWND> out;
    for (HWND h : GetChildWindows(client))
        if (IsMdiChildOf(client, FindWindow(h))) out.push_back(h);
    return out;
}

MdiScrollBar MdiClientScrollBar(HWND client, int bar) {
    MdiScrollBar out;
    const Window* w = FindWindow(client);
    const auto it = Scrolls().find(client);
    if (!w || it == Scrolls().end() || (bar != SB_HORZ && bar != SB_VERT)) return out;
    out.visible = (w->style & BarBit(bar)) != 0;
    out.min = it->second.min[bar];
    out.max = it->second.max[bar];
    out.page = it->second.page[bar];
    return out;
}

TSize MdiIconSize() {
    return TSize{GetSystemMetrics(SM_CXMINIMIZED),
                 GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME)};
}

void MdiChildGoing(HWND child) {
    const Window* w = FindWindow(child);
    if (w && (w->exStyle & WS_EX_MDICHILD) && w->parent)
        SendMessage(w->parent, kChildGone, reinterpret_cast<WPARAM>(child), 0);
}

void MdiFrameActivated(HWND top, bool active) {
    for (HWND h : GetChildWindows(top)) {
        const Window* w = FindWindow(h);
        if (!w || w->destroying) continue;
        if (w->cls && w->cls->wc.lpszClassName == kMdiClientClass) {
            if (HWND child = ActiveChild(h)) SendMessage(child, WM_NCACTIVATE, active, 0);
        } else if (!(w->exStyle & WS_EX_MDICHILD)) {
            // A client may sit deeper, in a panel of the frame.
            MdiFrameActivated(h, active);
        }
    }
}

void ActivateMdiChildAt(HWND target) {
    for (Window* w = FindWindow(target); w && (w->style & WS_CHILD); w = FindWindow(w->parent)) {
        if (!(w->exStyle & WS_EX_MDICHILD)) continue;
        const HWND client = w->parent;
        if (ActiveChild(client) != w->hwnd)
            SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w->hwnd), 0);
        return;
    }
}

LRESULT DefMDIChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindow(hwnd);
    if (!w) return 0;
    const HWND client = w->parent;
    const WPARAM self = reinterpret_cast<WPARAM>(hwnd);
    switch (msg) {
        case WM_NCCALCSIZE:
            // A maximized child fills the client with its own client area.
            if (w->style & WS_MAXIMIZE) {
                w->defaultFrame = true;
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_MAXIMIZE: SendMessage(client, WM_MDIMAXIMIZE, self, 0); return 0;
                case SC_RESTORE: SendMessage(client, WM_MDIRESTORE, self, 0); return 0;
                case SC_NEXTWINDOW: SendMessage(client, WM_MDINEXT, self, 0); return 0;
                case SC_PREVWINDOW: SendMessage(client, WM_MDINEXT, self, 1); return 0;
            }
            break;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) PlaceIcon(hwnd);
            break;
        case WM_SHOWWINDOW:
            if (wParam) SetProp(hwnd, kShowingProp, 1);
            break;
        case WM_WINDOWPOSCHANGED: {
            auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (wp && (wp->flags & SWP_HIDEWINDOW)) SendMessage(client, kChildGone, self, 0);
            // A child that comes into view is activated.
            if (wp && (wp->flags & SWP_SHOWWINDOW) && RemoveProp(hwnd, kShowingProp))
                SendMessage(client, WM_MDIACTIVATE, self, 0);
            const UINT still = SWP_NOMOVE | SWP_NOSIZE;
            if (wp && ((wp->flags & still) != still || (wp->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))))
                SendMessage(client, kChildMoved, self, 0);
            break;
        }
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace tarvel
