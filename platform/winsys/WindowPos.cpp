// Window geometry: coordinates, the non-client area, SetWindowPos, showing,
// states, z-order and shapes.

#include <algorithm>

#include "platform/winsys/InputApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

// A caption (both of its bits) or a sizing border; a thin border alone, as
// popup lists and hints have, sets no minimum.
bool HasTrackSizes(const Window* w) {
    return IsTopLevel(w) && ((w->style & WS_CAPTION) == WS_CAPTION || (w->style & WS_THICKFRAME));
}

}  // namespace

MINMAXINFO QueryMinMaxInfo(HWND hwnd) {
    MINMAXINFO mmi;
    TRect work = State().backend->WorkArea();
    mmi.ptMaxSize = TPoint{work.Width(), work.Height()};
    mmi.ptMaxPosition = TPoint{work.left, work.top};
    mmi.ptMinTrackSize = TPoint{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = TPoint{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    return mmi;
}

namespace {

TRect MaximizedRect(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!IsTopLevel(w)) {
        Window* p = FindWindow(w->parent);
        return p ? TRect{0, 0, p->client.Width(), p->client.Height()} : w->rect;
    }
    MINMAXINFO mmi = QueryMinMaxInfo(hwnd);
    return Bounds(mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, std::max(0, mmi.ptMaxSize.x),
                  std::max(0, mmi.ptMaxSize.y));
}

bool IsAbove(const Window* parent, HWND a, HWND b) {
    const auto& c = parent->children;
    return std::find(c.begin(), c.end(), a) < std::find(c.begin(), c.end(), b);
}

// Owned top-level windows stay above their owner.
void RaiseOwnedAbove(Window* w) {
    WinsysState& s = State();
    Window* desk = FindWindow(s.desktop);
    std::vector<HWND> owned;
    for (HWND h : desk->children) {
        Window* o = FindWindow(h);
        if (o && o->owner == w->hwnd && IsAbove(desk, w->hwnd, h)) owned.push_back(h);
    }
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        ZOrderInsert(desk, *it, HWND_TOP);
        RaiseOwnedAbove(FindWindow(*it));
    }
}

}  // namespace

void RaiseToTop(Window* w) {
    Window* desk = FindWindow(State().desktop);
    if (!desk || !IsTopLevel(w)) return;
    ZOrderInsert(desk, w->hwnd, HWND_TOP);
    RaiseOwnedAbove(w);
    RestackTopLevels();
}

// ---- coordinates ----

TPoint WindowOriginOnScreen(const Window* w) {
    if (w->hwnd == State().desktop || w->messageOnly) return TPoint{w->rect.left, w->rect.top};
    if (IsTopLevel(w)) return TPoint{w->rect.left, w->rect.top};
    TPoint p = ClientOriginOnScreen(FindWindow(w->parent));
    return TPoint{p.x + w->rect.left, p.y + w->rect.top};
}

TPoint ClientOriginOnScreen(const Window* w) {
    TPoint p = WindowOriginOnScreen(w);
    return TPoint{p.x + w->client.left, p.y + w->client.top};
}

TRect WindowRectOnScreen(const Window* w) {
    TPoint p = WindowOriginOnScreen(w);
    return Bounds(p.x, p.y, w->rect.Width(), w->rect.Height());
}

bool ShapeContains(const Window* w, TPoint wp) {
    if (!TRect{0, 0, w->rect.Width(), w->rect.Height()}.Contains(wp)) return false;
    if (w->shape.empty()) return true;
    return std::any_of(w->shape.begin(), w->shape.end(), [wp](const TRect& r) { return r.Contains(wp); });
}

bool GetWindowRect(HWND hwnd, TRect& out) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    out = WindowRectOnScreen(w);
    return true;
}

bool GetClientRect(HWND hwnd, TRect& out) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    out = TRect{0, 0, w->client.Width(), w->client.Height()};
    return true;
}

TRect WindowRect(HWND hwnd) {
    TRect r;
    GetWindowRect(hwnd, r);
    return r;
}

TRect ClientRect(HWND hwnd) {
    TRect r;
    GetClientRect(hwnd, r);
    return r;
}

bool ClientToScreen(HWND hwnd, TPoint& p) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    TPoint o = ClientOriginOnScreen(w);
    p = TPoint{p.x + o.x, p.y + o.y};
    return true;
}

bool ScreenToClient(HWND hwnd, TPoint& p) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    TPoint o = ClientOriginOnScreen(w);
    p = TPoint{p.x - o.x, p.y - o.y};
    return true;
}

int MapWindowPoints(HWND from, HWND to, TPoint* points, int count) {
    TPoint a{}, b{};
    if (from && !ClientToScreen(from, a)) return 0;
    if (to && !ClientToScreen(to, b)) return 0;
    int dx = a.x - b.x, dy = a.y - b.y;
    for (int i = 0; i < count; ++i) points[i] = TPoint{points[i].x + dx, points[i].y + dy};
    return static_cast<int>(MAKELPARAM(dx, dy));
}

int MapWindowPoints(HWND from, HWND to, TRect& rect) {
    TPoint p[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    int r = MapWindowPoints(from, to, p, 2);
    rect = TRect{p[0].x, p[0].y, p[1].x, p[1].y};
    return r;
}

// ---- non-client area ----

void RecalcClient(Window* w, WINDOWPOS* pos) {
    HWND hwnd = w->hwnd;
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = w->rect;
    params.rgrc[1] = w->rect;
    params.rgrc[2] = w->client;
    params.rgrc[2].Offset(w->rect.left, w->rect.top);
    params.lppos = pos;
    w->defaultFrame = false;
    SendMessage(hwnd, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params));
    if (!(w = FindWindow(hwnd))) return;
    // The answer is taken as it is, kept inside the window and never inverted.
    TRect c = params.rgrc[0];
    c.Offset(-w->rect.left, -w->rect.top);
    int W = w->rect.Width(), H = w->rect.Height();
    c.left = std::clamp(c.left, 0, W);
    c.top = std::clamp(c.top, 0, H);
    c.right = std::clamp(c.right, c.left, W);
    c.bottom = std::clamp(c.bottom, c.top, H);
    w->client = c;
}

// ---- z-order ----

void ZOrderInsert(Window* parent, HWND hwnd, HWND insertAfter) {
    auto& c = parent->children;
    c.erase(std::remove(c.begin(), c.end(), hwnd), c.end());
    Window* w = FindWindow(hwnd);
    bool topLevel = parent->hwnd == State().desktop;
    if (topLevel && insertAfter == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
    if (topLevel && insertAfter == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
    // Topmost windows keep the front of the desktop's list.
    auto firstOrdinary = c.begin();
    if (topLevel)
        firstOrdinary = std::find_if(c.begin(), c.end(), [](HWND h) {
            Window* o = FindWindow(h);
            return !o || !(o->exStyle & WS_EX_TOPMOST);
        });
    bool topmost = topLevel && (w->exStyle & WS_EX_TOPMOST);
    auto pos = topmost ? c.begin() : firstOrdinary;
    if (insertAfter == HWND_BOTTOM) {
        pos = topmost ? firstOrdinary : c.end();
    } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        auto it = std::find(c.begin(), c.end(), insertAfter);
        if (it != c.end()) {
            auto after = it + 1;
            // Never across the topmost boundary.
            pos = topmost ? std::min(after, firstOrdinary) : std::max(after, firstOrdinary);
        }
    }
    c.insert(pos, hwnd);
}

void RestackTopLevels() {
    WinsysState& s = State();
    Window* desk = FindWindow(s.desktop);
    if (desk && s.backend) s.backend->RestackSurfaces(desk->children);
}

// Menus, drop-downs and hints: asked not to activate, or topmost tool
// popups shown without activation. Dialogs are popups too, and take the
// keyboard like any form.
bool NeverActivates(const Window* w) {
    if (w->exStyle & WS_EX_NOACTIVATE) return true;
    const DWORD floating = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    return (w->style & WS_POPUP) && (w->exStyle & floating) == floating && w->shownNoActivate;
}

void SyncTopLevel(Window* w) {
    WinsysState& s = State();
    if (!IsTopLevel(w) || !s.backend) return;
    TopLevelInfo info;
    info.bounds = w->rect;
    info.visible = w->style & WS_VISIBLE;
    info.minimized = w->style & WS_MINIMIZE;
    info.maximized = w->style & WS_MAXIMIZE;
    info.topmost = w->exStyle & WS_EX_TOPMOST;
    info.decorated = w->defaultFrame && (w->style & WS_CAPTION) == WS_CAPTION;
    info.noActivate = NeverActivates(w);
    info.toolWindow = w->exStyle & WS_EX_TOOLWINDOW;
    info.sizable = w->style & WS_THICKFRAME;
    FillLayeredInfo(w, info);
    info.title = w->text;
    info.shape = w->shape;
    info.pixels = w->buffer;
    info.icon = w->iconPixels;
    s.backend->UpdateSurface(w->hwnd, info);
}

// ---- SetWindowPos ----

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!OnGuiThread()) return false;
    WinsysState& s = State();
    Window* w = FindWindow(hwnd);
    if (!w || hwnd == s.desktop || w->messageOnly) return false;

    WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        wp.x = w->rect.left;
        wp.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        wp.cx = w->rect.Width();
        wp.cy = w->rect.Height();
    } else if (HasTrackSizes(w) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) {
        MINMAXINFO mmi = QueryMinMaxInfo(hwnd);
        if (!(w = FindWindow(hwnd))) return false;
        if (mmi.ptMaxTrackSize.x > 0) wp.cx = std::min(wp.cx, mmi.ptMaxTrackSize.x);
        if (mmi.ptMaxTrackSize.y > 0) wp.cy = std::min(wp.cy, mmi.ptMaxTrackSize.y);
        wp.cx = std::max(wp.cx, mmi.ptMinTrackSize.x);
        wp.cy = std::max(wp.cy, mmi.ptMinTrackSize.y);
    }
    if (!(flags & SWP_NOSENDCHANGING)) {
        SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (!(w = FindWindow(hwnd))) return false;
        // What the handler changed holds, flags included.
        if (wp.flags & SWP_NOMOVE) {
            wp.x = w->rect.left;
            wp.y = w->rect.top;
        }
        if (wp.flags & SWP_NOSIZE) {
            wp.cx = w->rect.Width();
            wp.cy = w->rect.Height();
        }
    }
    flags = wp.flags;
    wp.hwnd = hwnd;

    const TRect oldRect = w->rect;
    const TRect newRect = Bounds(wp.x, wp.y, std::max(0, wp.cx), std::max(0, wp.cy));
    const bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
    const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    const bool wasVisible = w->style & WS_VISIBLE;
    const bool show = (flags & SWP_SHOWWINDOW) && !wasVisible;
    const bool hide = (flags & SWP_HIDEWINDOW) && wasVisible;
    const bool frameChanged = flags & SWP_FRAMECHANGED;
    const bool topLevel = IsTopLevel(w);
    const TRect oldClient = w->client;

    if (wasVisible && !topLevel && (moved || sized || hide || !(flags & SWP_NOZORDER)) &&
        !(flags & SWP_NOREDRAW))
        InvalidateParentArea(w, oldRect);

    w->rect = newRect;
    if (sized || frameChanged) {
        RecalcClient(w, &wp);
        if (!(w = FindWindow(hwnd))) return false;
    }
    if (!(flags & SWP_NOZORDER)) {
        Window* p = FindWindow(w->parent);
        if (p) ZOrderInsert(p, hwnd, wp.hwndInsertAfter);
        if (topLevel) RaiseOwnedAbove(w);
    }
    if (show) {
        w->style |= WS_VISIBLE;
        w->shownNoActivate = flags & SWP_NOACTIVATE;
    }
    if (hide) w->style &= ~WS_VISIBLE;

    if (topLevel) {
        if (sized) {
            ResizeBackBuffer(w);
            PresentWhole(w);  // the display holds a new surface of the new size
        }
        SyncTopLevel(w);
        if (!(flags & SWP_NOZORDER)) RestackTopLevels();
    }
    bool nowVisible = w->style & WS_VISIBLE;
    bool clientMoved = w->client.left != oldClient.left || w->client.top != oldClient.top;
    if (nowVisible && !(flags & SWP_NOREDRAW)) {
        // Children share their top-level window's buffer: anything that moves
        // them is drawn again where it lands.
        if (show || sized || frameChanged || (!topLevel && (moved || !(flags & SWP_NOZORDER))) || clientMoved)
            InvalidateWhole(w, true);
    } else if (nowVisible && (sized || frameChanged)) {
        w->ncDirty = true;
    }

    if (hide) {
        if (s.focus == hwnd || IsChild(hwnd, s.focus)) SetFocus(nullptr);
        if (s.capture == hwnd || IsChild(hwnd, s.capture)) ReleaseCapture();
        if (s.active == hwnd) ActivateNextAfter(hwnd);
    }
    if (show && topLevel && !(flags & SWP_NOACTIVATE) && !(w->exStyle & WS_EX_NOACTIVATE))
        SetActiveWindow(hwnd);
    else if (!(flags & SWP_NOACTIVATE) && topLevel && !(flags & SWP_NOZORDER) && nowVisible)
        SetActiveWindow(hwnd);
    if (!FindWindow(hwnd)) return true;

    if (sized || moved || frameChanged || show || hide || !(flags & SWP_NOZORDER)) MoveWindowDcs();
    if (!sized) wp.flags |= SWP_NOSIZE;
    if (!moved) wp.flags |= SWP_NOMOVE;
    wp.x = newRect.left;
    wp.y = newRect.top;
    wp.cx = newRect.Width();
    wp.cy = newRect.Height();
    SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

// ---- showing and states ----

void ApplyShowWindow(HWND hwnd, int cmd) {
    Window* w = FindWindow(hwnd);
    if (!w) return;
    const bool topLevel = IsTopLevel(w);
    const UINT noActivate = (cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE || cmd == SW_SHOWMINNOACTIVE ||
                             cmd == SW_MINIMIZE || !topLevel)
                                ? SWP_NOACTIVATE
                                : 0;
    switch (cmd) {
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE: {
            if (w->style & WS_MINIMIZE) break;
            if (!(w->style & WS_MAXIMIZE)) w->restoreRect = w->rect;
            w->restoreToMaximized = w->style & WS_MAXIMIZE;
            w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
            UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
            if (cmd != SW_MINIMIZE || (w->style & WS_VISIBLE)) flags |= SWP_SHOWWINDOW;
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
            if (!(w = FindWindow(hwnd))) return;
            WinsysState& s = State();
            if (s.focus == hwnd || IsChild(hwnd, s.focus)) SetFocus(nullptr);
            if (s.active == hwnd) ActivateNextAfter(hwnd);
            SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
            break;
        }
        case SW_SHOWMAXIMIZED: {
            if (!(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) w->restoreRect = w->rect;
            w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
            TRect r = MaximizedRect(hwnd);
            SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.Width(), r.Height(),
                         SWP_SHOWWINDOW | SWP_FRAMECHANGED | noActivate);
            break;
        }
        case SW_RESTORE:
        case SW_SHOWNORMAL: {
            if (w->style & WS_MINIMIZE) {
                w->style &= ~WS_MINIMIZE;
                if (w->restoreToMaximized) {
                    w->restoreToMaximized = false;
                    w->style |= WS_MAXIMIZE;  // keeps the bounds to restore to
                    ApplyShowWindow(hwnd, SW_SHOWMAXIMIZED);
                    return;
                }
                TRect r = w->restoreRect.IsEmpty() ? w->rect : w->restoreRect;
                SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.Width(), r.Height(),
                             SWP_SHOWWINDOW | SWP_FRAMECHANGED | noActivate);
                if (FindWindow(hwnd) && !(IsZoomed(hwnd)))
                    SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                                MAKELPARAM(ClientRect(hwnd).Width(), ClientRect(hwnd).Height()));
            } else if (w->style & WS_MAXIMIZE) {
                w->style &= ~WS_MAXIMIZE;
                TRect r = w->restoreRect;
                SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.Width(), r.Height(),
                             SWP_SHOWWINDOW | SWP_FRAMECHANGED | noActivate);
            } else {
                SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | noActivate);
            }
            break;
        }
        case SW_HIDE:
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
            break;
        default: {  // SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE
            UINT z = (cmd == SW_SHOW && topLevel) ? 0 : SWP_NOZORDER;
            SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | z | noActivate);
            break;
        }
    }
}

bool ShowWindow(HWND hwnd, int cmd) {
    Window* w = FindWindow(hwnd);
    if (!w || w->messageOnly || hwnd == State().desktop) return false;
    bool wasVisible = w->style & WS_VISIBLE;
    bool willShow = cmd != SW_HIDE && !(cmd == SW_MINIMIZE && !wasVisible);
    if (wasVisible != willShow) {
        SendMessage(hwnd, WM_SHOWWINDOW, willShow ? 1 : 0, 0);
        if (!FindWindow(hwnd)) return wasVisible;
    }
    ApplyShowWindow(hwnd, cmd);
    return wasVisible;
}

// ---- shapes ----

bool SetWindowShape(HWND hwnd, const std::vector<TRect>& shape, bool redraw) {
    Window* w = FindWindow(hwnd);
    if (!w || w->messageOnly) return false;
    bool visible = IsWindowVisible(hwnd);
    if (visible && redraw && !IsTopLevel(w)) InvalidateParentArea(w, w->rect);
    w->shape.clear();
    for (const TRect& r : shape)
        if (!r.IsEmpty()) w->shape.push_back(r);
    if (IsTopLevel(w)) SyncTopLevel(w);
    MoveWindowDcs();
    if (visible && redraw) InvalidateWhole(w, true);
    return true;
}

bool GetWindowShape(HWND hwnd, std::vector<TRect>& shape) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    shape = w->shape;
    return true;
}

// ---- finding windows ----

HWND ChildWindowFromPoint(HWND parent, TPoint client) {
    Window* p = FindWindow(parent);
    if (!p) return nullptr;
    for (HWND h : p->children) {
        Window* c = FindWindow(h);
        if (!c || !(c->style & WS_VISIBLE)) continue;
        if (ShapeContains(c, TPoint{client.x - c->rect.left, client.y - c->rect.top})) return h;
    }
    TRect cr{0, 0, p->client.Width(), p->client.Height()};
    return cr.Contains(client) ? parent : nullptr;
}

HWND WindowFromPoint(TPoint screen) {
    WinsysState& s = State();
    Window* desk = FindWindow(s.desktop);
    for (HWND h : desk->children) {
        Window* w = FindWindow(h);
        if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE)) continue;
        if (!ShapeContains(w, TPoint{screen.x - w->rect.left, screen.y - w->rect.top})) continue;
        // Descend into the deepest visible child under the point.
        for (;;) {
            TPoint o = ClientOriginOnScreen(w);
            TPoint c{screen.x - o.x, screen.y - o.y};
            Window* next = nullptr;
            for (HWND ch : w->children) {
                Window* cw = FindWindow(ch);
                if (cw && (cw->style & WS_VISIBLE) &&
                    ShapeContains(cw, TPoint{c.x - cw->rect.left, c.y - cw->rect.top}) &&
                    TRect{0, 0, w->client.Width(), w->client.Height()}.Contains(c)) {
                    next = cw;
                    break;
                }
            }
            if (!next) return w->hwnd;
            w = next;
        }
    }
    return nullptr;
}

}  // namespace tarvel
