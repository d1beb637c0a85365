// Window scroll bars in the non-client area.

#include "platform/classlib/WindowScrollBars.h"

#include <algorithm>

#include "platform/classlib/ScrollBars.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {

const char kScrollBarsProp[] = "TarvelScrollBars";

int BarSize(int bar) { return GetSystemMetrics(bar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL); }
DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

}  // namespace

TWindowScrollBars::~TWindowScrollBars() {
    if (HWND h = Wnd(); h && WindowScrollBarsOf(h) == this) RemoveProp(h, kScrollBarsProp);
}

HWND TWindowScrollBars::Wnd() const {
    if (!owner_) return IsWindow(window_) ? window_ : nullptr;
    return owner_->HandleAllocated() ? const_cast<TWinControl*>(owner_)->Handle() : nullptr;
}

bool TWindowScrollBars::WindowEnabled() const { return owner_ ? owner_->Enabled() : IsWindowEnabled(Wnd()); }

void TWindowScrollBars::Attach() {
    if (HWND h = Wnd()) SetProp(h, kScrollBarsProp, reinterpret_cast<intptr_t>(this));
}

TWindowScrollBars* WindowScrollBarsOf(HWND hwnd) {
    return reinterpret_cast<TWindowScrollBars*>(GetProp(hwnd, kScrollBarsProp));
}

namespace {

IScrollBarsAnswer* AnswerOf(HWND hwnd) { return dynamic_cast<IScrollBarsAnswer*>(FindControl(hwnd)); }

}  // namespace

bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info) {
    if (IScrollBarsAnswer* answer = AnswerOf(hwnd)) {
        info = answer->ScrollInfoOf(bar);
        return true;
    }
    TWindowScrollBars* bars = WindowScrollBarsOf(hwnd);
    if (!bars) return false;
    info = bars->Info(bar);
    return true;
}

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw) {
    if (IScrollBarsAnswer* answer = AnswerOf(hwnd)) return answer->SetScrollInfoOf(bar, info);
    TWindowScrollBars* bars = WindowScrollBarsOf(hwnd);
    return bars ? bars->SetInfo(bar, info, redraw) : 0;
}

int GetScrollPos(HWND hwnd, int bar) {
    if (IScrollBarsAnswer* answer = AnswerOf(hwnd)) return answer->ScrollInfoOf(bar).nPos;
    TWindowScrollBars* bars = WindowScrollBarsOf(hwnd);
    return bars ? bars->Position(bar) : 0;
}

bool GetScrollBarInfo(HWND hwnd, int32_t objectId, SCROLLBARINFO& info) {
    if (objectId != OBJID_VSCROLL && objectId != OBJID_HSCROLL) return false;
    const int bar = objectId == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
    TScrollBarParts p;
    TScrollBarPart pressed = TScrollBarPart::None;
    if (IScrollBarsAnswer* answer = AnswerOf(hwnd)) {
        p = answer->ScreenScrollParts(bar);
        pressed = answer->PressedScrollPart(bar);
    } else if (TWindowScrollBars* bars = WindowScrollBarsOf(hwnd)) {
        p = bars->Parts(bar);
        pressed = bars->PressedPart(bar);
        const TRect window = WindowRect(hwnd);
        for (TRect* r : {&p.bar, &p.lineUp, &p.thumb})
            if (!r->IsEmpty()) r->Offset(window.left, window.top);
    } else {
        return false;
    }
    const bool vert = bar == SB_VERT;
    info.rcScrollBar = TRect{};
    info.dxyLineButton = info.xyThumbTop = info.xyThumbBottom = 0;
    std::fill(std::begin(info.rgstate), std::end(info.rgstate), 0u);
    if (p.bar.IsEmpty()) {
        info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
        return true;
    }
    info.rcScrollBar = p.bar;
    info.dxyLineButton = vert ? p.lineUp.Height() : p.lineUp.Width();
    if (!p.thumb.IsEmpty()) {
        info.xyThumbTop = vert ? p.thumb.top - p.bar.top : p.thumb.left - p.bar.left;
        info.xyThumbBottom = vert ? p.thumb.bottom - p.bar.top : p.thumb.right - p.bar.left;
    }
    const TWinControl* owner = FindControl(hwnd);
    if (!p.scrollable || !(owner ? owner->Enabled() : IsWindowEnabled(hwnd)))
        info.rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
    const TScrollBarPart order[] = {TScrollBarPart::LineUp, TScrollBarPart::PageUp, TScrollBarPart::Thumb,
                                    TScrollBarPart::PageDown, TScrollBarPart::LineDown};
    for (size_t i = 0; i < std::size(order); ++i)
        if (pressed == order[i]) info.rgstate[i + 1] |= STATE_SYSTEM_PRESSED;
    return true;
}

int TWindowScrollBars::MaxPos(const State& s) const {
    return std::max(s.min, s.max - std::max(0, s.page - 1));
}

int TWindowScrollBars::SetInfo(int bar, const SCROLLINFO& info, bool redraw) {
    State& s = state_[Index(bar)];
    if (info.fMask & SIF_RANGE) {
        s.min = info.nMin;
        s.max = std::max(info.nMin, info.nMax);
    }
    if (info.fMask & SIF_PAGE) s.page = static_cast<int>(std::min<UINT>(info.nPage, 0x7FFFFFFF));
    if (info.fMask & SIF_POS) s.pos = info.nPos;
    s.pos = std::clamp(s.pos, s.min, MaxPos(s));
    if (tracking_ != bar) s.trackPos = s.pos;
    // A bar laid over this one sets the 32-bit place of its thumb before it
    // sends a thumb request, whose message carries only 16 bits of it.
    if (info.fMask & SIF_TRACKPOS) s.trackPos = std::clamp(info.nTrackPos, s.min, MaxPos(s));
    if (redraw && Visible(bar)) Paint();
    return s.pos;
}

SCROLLINFO TWindowScrollBars::Info(int bar) const {
    const State& s = state_[Index(bar)];
    SCROLLINFO info;
    info.nMin = s.min;
    info.nMax = s.max;
    info.nPage = static_cast<UINT>(s.page);
    info.nPos = s.pos;
    info.nTrackPos = s.trackPos;
    return info;
}

int TWindowScrollBars::SetPosition(int bar, int pos) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    return SetInfo(bar, info, true);
}

bool TWindowScrollBars::Visible(int bar) const {
    HWND h = Wnd();
    return h && (GetWindowLongPtr(h, GWL_STYLE) & StyleBit(bar));
}

void TWindowScrollBars::Show(int bar, bool show) {
    HWND h = Wnd();
    if (!h || Visible(bar) == show) return;
    LONG_PTR style = GetWindowLongPtr(h, GWL_STYLE);
    SetWindowLongPtr(h, GWL_STYLE,
                     show ? (style | StyleBit(bar)) : (style & ~static_cast<LONG_PTR>(StyleBit(bar))));
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

TRect TWindowScrollBars::ClientInWindow() const {
    HWND h = Wnd();
    TRect window = WindowRect(h);
    TPoint origin{0, 0};
    ::tarvel::ClientToScreen(h, origin);
    TRect client = ClientRect(h);
    return Bounds(origin.x - window.left, origin.y - window.top, client.Width(), client.Height());
}

TScrollBarParts TWindowScrollBars::Parts(int bar) const {
    TScrollBarParts p;
    if (!Visible(bar)) return p;
    const TRect c = ClientInWindow();
    const bool vert = bar == SB_VERT;
    const int size = BarSize(bar);
    p.bar = vert ? TRect{c.right, c.top, c.right + size, c.bottom}
                 : TRect{c.left, c.bottom, c.right, c.bottom + size};
    const State& s = state_[Index(bar)];
    const int pos = tracking_ == bar && pressed_ == TScrollBarPart::Thumb ? s.trackPos : s.pos;
    const TScrollParts parts = ScrollPartsOf(p.bar, vert, s.min, s.max, s.page, pos);
    p.lineUp = parts.lineUp;
    p.lineDown = parts.lineDown;
    p.track = parts.track;
    p.thumb = parts.thumb;
    p.scrollable = parts.scrollable;
    return p;
}

void TWindowScrollBars::PaintBar(HDC dc, int bar) {
    const TScrollBarParts p = Parts(bar);
    if (p.bar.IsEmpty()) return;
    const bool vert = bar == SB_VERT;
    const bool enabled = WindowEnabled() && p.scrollable;
    auto arrow = [&](TRect r, unsigned kind, TScrollBarPart part) {
        unsigned state = kind | (enabled ? 0u : unsigned{DFCS_INACTIVE}) |
                         (PressedPart(bar) == part ? unsigned{DFCS_PUSHED} : 0u);
        DrawFrameControl(dc, &r, DFC_SCROLL, state);
    };
    arrow(p.lineUp, vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, TScrollBarPart::LineUp);
    arrow(p.lineDown, vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, TScrollBarPart::LineDown);
    FillColor(dc, p.track, clScrollBar);
    // A disabled window's bar shows no thumb, as one with nothing to scroll.
    if (enabled && !p.thumb.IsEmpty()) {
        TRect t = p.thumb;
        FillColor(dc, t, clBtnFace);
        DrawEdge(dc, &t, EDGE_RAISED, BF_RECT);
    }
    if (bar == SB_HORZ && Visible(SB_VERT)) {
        const TRect v = Parts(SB_VERT).bar;
        FillColor(dc, TRect{v.left, p.bar.top, v.right, p.bar.bottom}, clBtnFace);
    }
}

void TWindowScrollBars::Paint() {
    HWND h = Wnd();
    if (!h || !IsWindowVisible(h)) return;
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    PaintBar(dc, SB_VERT);
    PaintBar(dc, SB_HORZ);
    ReleaseDC(h, dc);
}

void TWindowScrollBars::Send(int bar, WORD code, int pos) {
    const UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    const WPARAM w = MAKEWPARAM(code, pos & 0xFFFF);
    if (owner_)
        owner_->Perform(msg, w, 0);
    else
        SendMessage(window_, msg, w, 0);
}

void TWindowScrollBars::Press(int bar, TPoint wp) {
    const TScrollBarParts p = Parts(bar);
    if (!p.scrollable || !WindowEnabled()) return;
    const bool vert = bar == SB_VERT;
    TScrollBarPart part = TScrollBarPart::None;
    if (p.lineUp.Contains(wp))
        part = TScrollBarPart::LineUp;
    else if (p.lineDown.Contains(wp))
        part = TScrollBarPart::LineDown;
    else if (p.thumb.Contains(wp))
        part = TScrollBarPart::Thumb;
    else if (!p.thumb.IsEmpty() && p.track.Contains(wp))
        part = (vert ? wp.y < p.thumb.top : wp.x < p.thumb.left) ? TScrollBarPart::PageUp
                                                                 : TScrollBarPart::PageDown;
    if (part == TScrollBarPart::None) return;
    tracking_ = bar;
    pressed_ = part;
    dragOffset_ = vert ? wp.y - p.thumb.top : wp.x - p.thumb.left;
    state_[Index(bar)].trackPos = state_[Index(bar)].pos;
    SetCapture(Wnd());
    static const WORD kCode[] = {0, SB_LINEUP, SB_PAGEUP, 0, SB_PAGEDOWN, SB_LINEDOWN};
    if (part != TScrollBarPart::Thumb) Send(bar, kCode[static_cast<int>(part)], 0);
    Paint();
}

void TWindowScrollBars::Drag(TPoint wp) {
    if (pressed_ != TScrollBarPart::Thumb) return;
    const int bar = tracking_;
    const TScrollBarParts p = Parts(bar);
    State& s = state_[Index(bar)];
    const bool vert = bar == SB_VERT;
    const int thumb = vert ? p.thumb.Height() : p.thumb.Width();
    const int trackLength = (vert ? p.track.Height() : p.track.Width()) - thumb;
    if (trackLength <= 0) return;
    const int at =
        std::clamp((vert ? wp.y - p.track.top : wp.x - p.track.left) - dragOffset_, 0, trackLength);
    const int pos = s.min + static_cast<int>((int64_t{MaxPos(s)} - s.min) * at / trackLength);
    if (pos == s.trackPos) return;
    s.trackPos = pos;
    Send(bar, SB_THUMBTRACK, pos);
    Paint();
}

bool TWindowScrollBars::HandleMessage(TMessage& m, const std::function<void(TMessage&)>& inherited) {
    switch (m.Msg) {
        case WM_NCCALCSIZE: {
            inherited(m);
            if (!m.LParam || !Wnd()) return true;
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
            TRect& r = params->rgrc[0];
            const LONG_PTR style = GetWindowLongPtr(Wnd(), GWL_STYLE);
            if (style & WS_VSCROLL) r.right = std::max(r.left, r.right - BarSize(SB_VERT));
            if (style & WS_HSCROLL) r.bottom = std::max(r.top, r.bottom - BarSize(SB_HORZ));
            return true;
        }
        case WM_NCPAINT:
            inherited(m);
            Paint();
            return true;
        case WM_NCHITTEST: {
            TRect window = WindowRect(Wnd());
            TPoint p = PointFromLParam(m.LParam);
            p = TPoint{p.x - window.left, p.y - window.top};
            if (Parts(SB_VERT).bar.Contains(p))
                m.Result = HTVSCROLL;
            else if (Parts(SB_HORZ).bar.Contains(p))
                m.Result = HTHSCROLL;
            else
                return false;
            return true;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK: {
            if (m.WParam != static_cast<WPARAM>(HTVSCROLL) && m.WParam != static_cast<WPARAM>(HTHSCROLL))
                return false;
            TRect window = WindowRect(Wnd());
            TPoint p = PointFromLParam(m.LParam);
            Press(m.WParam == static_cast<WPARAM>(HTVSCROLL) ? SB_VERT : SB_HORZ,
                  TPoint{p.x - window.left, p.y - window.top});
            return true;
        }
        case WM_MOUSEMOVE:
            if (tracking_ < 0) return false;
            {
                TPoint p = PointFromLParam(m.LParam);
                const TRect c = ClientInWindow();
                Drag(TPoint{p.x + c.left, p.y + c.top});
            }
            return true;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (tracking_ < 0) return false;
            {
                const int bar = tracking_;
                const bool thumb = pressed_ == TScrollBarPart::Thumb;
                const int pos = state_[Index(bar)].trackPos;
                tracking_ = -1;
                pressed_ = TScrollBarPart::None;
                if (m.Msg == WM_LBUTTONUP) ReleaseCapture();
                if (thumb) Send(bar, SB_THUMBPOSITION, pos);
                Send(bar, SB_ENDSCROLL, 0);
                Paint();
            }
            return true;
    }
    return false;
}

}  // namespace tarvel
