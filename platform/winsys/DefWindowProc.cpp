// Default processing of messages, the default frame of windows that do not
// draw their own, and the move/size loop.

#include <algorithm>
#include <cstring>

#include "platform/winsys/InputApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

// Borders of the default frame. A top-level window with a caption is framed
// by the display itself, so its whole rectangle is client area.
TRect DefaultFrameInsets(const Window* w) {
    if (IsTopLevel(w) && (w->style & WS_CAPTION) == WS_CAPTION) return TRect{};
    int b = 0;
    if (w->style & WS_THICKFRAME)
        b = GetSystemMetrics(SM_CXFRAME);
    else if ((w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME))
        b = GetSystemMetrics(SM_CXDLGFRAME);
    else if (w->style & WS_BORDER)
        b = GetSystemMetrics(SM_CXBORDER);
    if (w->exStyle & WS_EX_CLIENTEDGE) b += GetSystemMetrics(SM_CXEDGE);
    if (w->exStyle & WS_EX_STATICEDGE) b += GetSystemMetrics(SM_CXBORDER);
    int caption = 0;
    if ((w->style & WS_CAPTION) == WS_CAPTION)
        caption = GetSystemMetrics((w->exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    return TRect{b, b + caption, b, b};
}

HWND Root(HWND hwnd) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    return root ? root : hwnd;
}

LRESULT NcHitTest(Window* w, TPoint screen) {
    TRect wr = WindowRectOnScreen(w);
    if (!wr.Contains(screen)) return HTNOWHERE;
    TPoint p{screen.x - wr.left, screen.y - wr.top};
    if (w->client.Contains(p)) return HTCLIENT;
    TRect in = DefaultFrameInsets(w);
    int W = wr.Width(), H = wr.Height();
    if (w->style & WS_THICKFRAME) {
        int corner = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CYSIZE);
        bool left = p.x < in.left, right = p.x >= W - in.right;
        bool top = p.y < in.left, bottom = p.y >= H - in.bottom;
        if (top) return p.x < corner ? HTTOPLEFT : (p.x >= W - corner ? HTTOPRIGHT : HTTOP);
        if (bottom) return p.x < corner ? HTBOTTOMLEFT : (p.x >= W - corner ? HTBOTTOMRIGHT : HTBOTTOM);
        if (left) return p.y < corner ? HTTOPLEFT : (p.y >= H - corner ? HTBOTTOMLEFT : HTLEFT);
        if (right) return p.y < corner ? HTTOPRIGHT : (p.y >= H - corner ? HTBOTTOMRIGHT : HTRIGHT);
    }
    if (p.y >= in.left && p.y < in.top && p.x >= in.left && p.x < W - in.right) return HTCAPTION;
    return HTBORDER;
}

void PaintDefaultFrame(Window* w) {
    TRect in = DefaultFrameInsets(w);
    if (in.left == 0 && in.top == 0) return;
    HDC dc = GetWindowDC(w->hwnd);
    if (!dc) return;
    TRect r{0, 0, w->rect.Width(), w->rect.Height()};
    ExcludeClipRect(dc, w->client.left, w->client.top, w->client.right, w->client.bottom);
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, r, face);
    DeleteObject(face);
    if (w->style & (WS_THICKFRAME | WS_DLGFRAME)) {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    } else if (w->style & WS_BORDER) {
        HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
        FrameRect(dc, r, frame);
        DeleteObject(frame);
    }
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
        int b = in.left;
        TRect cap{b, b, w->rect.Width() - b, in.top};
        // A child is never the active window: only what it was told (an
        // MDI child by its client) makes its caption active.
        const bool active = w->ncActive;
        HBRUSH fill = CreateSolidBrush(GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        FillRect(dc, cap, fill);
        DeleteObject(fill);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        TRect text{cap.left + 2, cap.top, cap.right - 2, cap.bottom};
        DrawTextA(dc, w->text, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (w->exStyle & WS_EX_CLIENTEDGE) {
        // Just inside the outer border, so the edge holds the window's
        // scroll bars as well as its client.
        const int inner = GetSystemMetrics(SM_CXEDGE) + ((w->exStyle & WS_EX_STATICEDGE) ? 1 : 0);
        TRect e{in.left - inner, in.top - inner, w->rect.Width() - in.right + inner,
                w->rect.Height() - in.bottom + inner};
        DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT);
    }
    ReleaseDC(w->hwnd, dc);
}

int CursorForHit(int hit) {
    switch (hit) {
        case HTLEFT:
        case HTRIGHT: return IDC_SIZEWE;
        case HTTOP:
        case HTBOTTOM: return IDC_SIZENS;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: return IDC_SIZENWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: return IDC_SIZENESW;
    }
    return IDC_ARROW;
}

LRESULT SysCommand(HWND hwnd, WPARAM cmd, LPARAM lParam) {
    switch (cmd & 0xFFF0) {
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MOVE:
        case SC_SIZE: RunMoveSizeLoop(hwnd, cmd, PointFromLParam(lParam)); break;
        default: break;  // SC_KEYMENU, SC_MOUSEMENU, SC_CONTEXTHELP: there is no system menu of our own
    }
    return 0;
}

}  // namespace

void DefaultNcCalcSize(Window* w, NCCALCSIZE_PARAMS* params) {
    w->defaultFrame = true;
    TRect in = DefaultFrameInsets(w);
    TRect& r = params->rgrc[0];
    r = TRect{r.left + in.left, r.top + in.top, std::max(r.left + in.left, r.right - in.right),
              std::max(r.top + in.top, r.bottom - in.bottom)};
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindow(hwnd);
    if (!w) return 0;
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
            if (cs) w->text = cs->lpszName;
            return 1;
        }
        case WM_NCCALCSIZE:
            if (lParam) DefaultNcCalcSize(w, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
            return 0;
        case WM_NCHITTEST: return NcHitTest(w, PointFromLParam(lParam));
        case WM_NCPAINT: PaintDefaultFrame(w); return 0;
        case WM_NCACTIVATE:
            w->ncActive = wParam != 0;
            if (IsWindowVisible(hwnd)) w->ncDirty = true;
            return 1;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
                HWND focus = GetFocus();
                if (focus != hwnd && !IsChild(hwnd, focus)) SetFocus(hwnd);
            }
            return 0;
        case WM_MOUSEACTIVATE:
            if (w->style & WS_CHILD) {
                if (LRESULT r = SendMessage(w->parent, msg, wParam, lParam)) return r;
            }
            return MA_ACTIVATE;
        case WM_SETCURSOR: {
            if (w->style & WS_CHILD) {
                if (SendMessage(w->parent, msg, wParam, lParam)) return 1;
                if (!(w = FindWindow(hwnd))) return 0;
            }
            int hit = static_cast<int16_t>(LOWORD(lParam));
            if (hit == HTCLIENT) {
                if (!w->cls || !w->cls->wc.hCursor) return 0;
                SetCursor(w->cls->wc.hCursor);
                return 1;
            }
            SetCursor(LoadCursor(CursorForHit(hit)));
            return 1;
        }
        case WM_SETTEXT: {
            const char* text = reinterpret_cast<const char*>(lParam);
            w->text = text ? text : "";
            if (IsTopLevel(w)) SyncTopLevel(w);
            if ((w->style & WS_CAPTION) == WS_CAPTION && IsWindowVisible(hwnd)) w->ncDirty = true;
            return 1;
        }
        case WM_GETTEXT: {
            char* buf = reinterpret_cast<char*>(lParam);
            if (!buf || wParam == 0) return 0;
            size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
            std::memcpy(buf, w->text.data(), n);
            buf[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_SETICON: {
            size_t which = wParam ? 1 : 0;
            LPARAM old = w->icons[which];
            w->icons[which] = lParam;
            if ((w->style & WS_CAPTION) == WS_CAPTION && IsWindowVisible(hwnd)) w->ncDirty = true;
            if (IsTopLevel(w)) {
                w->iconPixels = IconPixelsOf(w);
                SyncTopLevel(w);
            }
            return old;
        }
        case WM_GETICON: return w->icons[wParam ? 1 : 0];
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_QUERYENDSESSION: return 1;
        case WM_PAINT:
            if (!wParam) {
                PAINTSTRUCT ps;
                BeginPaint(hwnd, &ps);
                EndPaint(hwnd, &ps);
            }
            return 0;
        case WM_PRINT: DefaultPrint(hwnd, DcFromWParam(wParam), lParam); return 0;
        case WM_PRINTCLIENT:
            if (wParam) SendMessage(hwnd, WM_PAINT, wParam, 0);
            return 0;
        case WM_SETREDRAW: SetRedraw(w, wParam != 0); return 0;
        case WM_ERASEBKGND: {
            if (!w->cls || w->cls->wc.backgroundColor < 0 || !wParam) return 0;
            HBRUSH brush = CreateSolidBrush(GetSysColor(w->cls->wc.backgroundColor));
            FillRect(DcFromWParam(wParam), ClientRect(hwnd), brush);
            DeleteObject(brush);
            return 1;
        }
        case WM_WINDOWPOSCHANGED: {
            auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!wp) return 0;
            if (!(wp->flags & SWP_NOMOVE))
                SendMessage(hwnd, WM_MOVE, 0,
                            MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
            if (!(wp->flags & SWP_NOSIZE) || (wp->flags & SWP_FRAMECHANGED)) {
                if (!(w = FindWindow(hwnd))) return 0;
                WPARAM kind = (w->style & WS_MAXIMIZE)   ? SIZE_MAXIMIZED
                              : (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                         : SIZE_RESTORED;
                SendMessage(hwnd, WM_SIZE, kind, MAKELPARAM(w->client.Width(), w->client.Height()));
            }
            return 0;
        }
        case WM_SYSCOMMAND: return SysCommand(hwnd, wParam, lParam);
        case WM_NCLBUTTONDOWN: {
            int hit = static_cast<int>(wParam);
            if (hit == HTCAPTION)
                SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
            else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
                SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(hit - HTLEFT + 1), lParam);
            return 0;
        }
        case WM_NCLBUTTONDBLCLK: {
            int hit = static_cast<int>(wParam);
            if (hit == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
                SendMessage(hwnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
            else if (hit == HTSYSMENU)
                SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
            return 0;
        }
        case WM_NCLBUTTONUP: {
            int hit = static_cast<int>(wParam);
            if (hit == HTCLOSE)
                SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
            else if (hit == HTMINBUTTON)
                SendMessage(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, lParam);
            else if (hit == HTMAXBUTTON)
                SendMessage(hwnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
            return 0;
        }
        case WM_RBUTTONUP: {
            TPoint p = PointFromLParam(lParam);
            ClientToScreen(hwnd, p);
            SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), PointToLParam(p));
            return 0;
        }
        case WM_CONTEXTMENU:
        case WM_MOUSEWHEEL:
            if (w->style & WS_CHILD) return SendMessage(w->parent, msg, wParam, lParam);
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT)) {
                State().altAlone = false;  // a form that stays open gets no menu when Alt is let go
                SendMessage(Root(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
                return 0;
            }
            State().altAlone = wParam == VK_MENU && !(lParam & KF_REPEAT_BIT);
            return 0;
        case WM_KEYDOWN: State().altAlone = false; return 0;
        case WM_SYSKEYUP:
        case WM_KEYUP:
            // Alt pressed and released alone, or F10: the keyboard menu.
            if ((wParam == VK_MENU && State().altAlone) || wParam == VK_F10) {
                State().altAlone = false;
                SendMessage(Root(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
            }
            return 0;
        case WM_SYSCHAR:
            State().altAlone = false;
            SendMessage(Root(hwnd), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
            return 0;
        case WM_IME_COMPOSITION:
            // A window that does not read the result gets it as typed characters.
            if (lParam & GCS_RESULTSTR) {
                const std::u16string result =
                    State().imeWindow == hwnd ? State().imeResult : std::u16string();
                for (char16_t c : result) SendMessage(hwnd, WM_CHAR, c, 1);
            }
            return 0;
    }
    return 0;
}

// ---- the move/size loop ----

void RunMoveSizeLoop(HWND hwnd, WPARAM command, TPoint screen) {
    Window* w = FindWindow(hwnd);
    if (!w || (w->style & (WS_MAXIMIZE | WS_MINIMIZE))) return;
    const bool move = (command & 0xFFF0) == SC_MOVE;
    const int edge = static_cast<int>(command & 0x0F);  // 1 left ... 8 bottom-right
    const bool left = edge == 1 || edge == 4 || edge == 7;
    const bool right = edge == 2 || edge == 5 || edge == 8;
    const bool top = edge == 3 || edge == 4 || edge == 5;
    const bool bottom = edge == 6 || edge == 7 || edge == 8;
    const TRect start = w->rect;
    MINMAXINFO mmi = QueryMinMaxInfo(hwnd);

    SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(hwnd);
    bool done = false;
    while (!done && GetCapture() == hwnd && IsWindow(hwnd)) {
        MSG m;
        if (!GetMessage(&m, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (m.hwnd == hwnd && (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP)) {
            TPoint p = PointFromLParam(m.lParam);
            ClientToScreen(hwnd, p);
            int dx = p.x - screen.x, dy = p.y - screen.y;
            TRect r = start;
            if (move) {
                r.Offset(dx, dy);
            } else {
                if (left) r.left = std::min(start.left + dx, start.right - mmi.ptMinTrackSize.x);
                if (right) r.right = std::max(start.right + dx, start.left + mmi.ptMinTrackSize.x);
                if (top) r.top = std::min(start.top + dy, start.bottom - mmi.ptMinTrackSize.y);
                if (bottom) r.bottom = std::max(start.bottom + dy, start.top + mmi.ptMinTrackSize.y);
            }
            SetWindowPos(hwnd, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            done = m.message == WM_LBUTTONUP;
        } else if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
            SetWindowPos(hwnd, nullptr, start.left, start.top, start.Width(), start.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
            done = true;
        } else if (m.message < WM_KEYFIRST || m.message > WM_KEYLAST) {
            if (m.message < WM_MOUSEFIRST || m.message > WM_MOUSELAST) DispatchMessage(&m);
        }
    }
    if (GetCapture() == hwnd) ReleaseCapture();
    if (IsWindow(hwnd)) SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace tarvel
