#include "skin/controls/te_controls_subscroll.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/ScrollBars.h"
#include "platform/classlib/WindowScrollBars.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

// Sets a flag for a scope; cleared again however the scope is left.
struct TFlagScope {
    bool& flag;
    bool value;
    TFlagScope(bool& f, bool v) : flag(f), value(f) { flag = v; }
    ~TFlagScope() { flag = value; }
};

// A bar thicker or longer than this is the system's junk, not a bar.
constexpr int kMaxBarExtent = 4000;
// A line of a list view with no rows to measure.
constexpr int kEmptyListLine = 16;

bool Usable(TWinControl* control) {
    return control && control->HandleAllocated() && !control->ComponentState().Contains(csDestroying);
}

}  // namespace

bool IsThemeMessage(UINT msg) { return msg == SNM_THEMEMESSAGE || msg == SNM_LINKCHANGED; }

// ---- TTeInplaceScrollBar ---------------------------------------------------------------

void TTeInplaceScrollBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeInplaceScrollBar::WMEraseBkgnd>(WM_ERASEBKGND);
}

TTeInplaceScrollBar::TTeInplaceScrollBar(TComponent* owner, const TTeScrollBarFactory& factory)
    : TWinControl(owner) {
    SetDoubleBuffered(true);
    SetAnchors({});
    if (factory) factory(bar_, this);
    if (!bar_) bar_ = new TTeScrollBar(this);
    bar_->SetBorderWidth(0);
    bar_->SetPerformance(qvpDoubleBuffer);
    bar_->SetOrientation(ksoVertical);
    bar_->SetParent(this);
    bar_->SetVisible(true);
    bar_->OnScroll = [this](TObject* sender, TTeScrollCode code, int& pos) { DoScroll(sender, code, pos); };
}

TTeInplaceScrollBar::~TTeInplaceScrollBar() {
    dead_ = true;
    if (sub_) sub_->BarDestroyed(this);
}

void TTeInplaceScrollBar::SetBounds(int left, int top, int width, int height) {
    if (inUpdate_) TWinControl::SetBounds(left, top, width, height);
}

void TTeInplaceScrollBar::ScrollBarWndProc(TMessage& message) {
    if (!Usable(control_) || !HandleAllocated()) return;
    switch (message.Msg) {
        case WM_DESTROY: windowGone_ = true; break;
        case WM_SHOWWINDOW:
            // The window shows or hides after this message: the mirror
            // follows at the next paint, hiding goes at once.
            if (!message.WParam) SetVisible(false);
            break;
        case CM_VISIBLECHANGED:
            SetVisible(control_->Visible());
            if (control_->Visible()) ScrollBarUpdate();
            break;
        case WM_PAINT:
        case WM_ERASEBKGND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORSCROLLBAR: ScrollBarUpdate(); break;
        default: break;
    }
}

void TTeInplaceScrollBar::ScrollBarUpdate() {
    if (!HandleAllocated() || !Usable(control_) || !Parent()) return;
    SCROLLBARINFO info;
    const bool known = GetScrollBarInfo(control_->Handle(), Vertical() ? OBJID_VSCROLL : OBJID_HSCROLL, info);
    if (!known || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) || !IsWindowVisible(control_->Handle())) {
        SetVisible(false);
        return;
    }
    const TPoint topLeft = Parent()->ScreenToClient(TPoint{info.rcScrollBar.left, info.rcScrollBar.top});
    const TPoint bottomRight =
        Parent()->ScreenToClient(TPoint{info.rcScrollBar.right, info.rcScrollBar.bottom});
    int width = bottomRight.x - topLeft.x;
    int height = bottomRight.y - topLeft.y;
    if (auto* box = dynamic_cast<TScrollBox*>(control_)) {
        const int size = Vertical() ? box->VertScrollBar()->Size() : box->HorzScrollBar()->Size();
        if (size > 0) (Vertical() ? width : height) = size;
    }
    if (width > kMaxBarExtent || height > kMaxBarExtent) width = height = 1;
    {
        TFlagScope update(inUpdate_, true);
        SetBounds(topLeft.x, topLeft.y, width, height);
        bar_->SetBounds(0, 0, width, height);
    }
    SetVisible(true);

    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(control_->Handle(), Vertical() ? SB_VERT : SB_HORZ, si)) return;
    bar_->SetEnabled(control_->Enabled());
    // The bar keeps Min <= Max on every step: a range moving up sets Max first.
    const int max = si.nMax + 1;
    if (si.nMin > bar_->Max()) {
        bar_->SetMax(max);
        bar_->SetMin(si.nMin);
    } else {
        bar_->SetMin(si.nMin);
        bar_->SetMax(max);
    }
    bar_->SetPageSize(static_cast<int>(si.nPage));
    // A thumb in the user's hand stays where the hand is.
    if (positionSync_ && !bar_->GetSliderPressed()) bar_->SetPosition(si.nPos);
    bar_->Invalidate();
}

void TTeInplaceScrollBar::DoScroll(TObject*, TTeScrollCode code, int& scrollPos) {
    if (!Usable(control_)) return;
    const HWND h = control_->Handle();
    const int which = Vertical() ? SB_VERT : SB_HORZ;
    const UINT msg = Vertical() ? WM_VSCROLL : WM_HSCROLL;
    if (auto* view = dynamic_cast<TListView*>(control_); view && ScrollListView(view, code, scrollPos)) {
        // The view scrolled itself: tell its users as a bar's scroll would.
        if (view->OnScroll) view->OnScroll(view);
    } else if (code == kscLineUp || code == kscLineDown) {
        SendMessage(h, msg, code, 0);
    } else {
        // The control's scrolling runs the mirror through the hook; it must
        // not pull a dragged thumb back to where the control still is.
        TFlagScope sync(positionSync_, false);
        SCROLLINFO track;
        track.fMask = SIF_TRACKPOS;
        track.nTrackPos = scrollPos;
        SetScrollInfo(h, which, track, false);
        SendMessage(h, msg, MAKEWPARAM(code, scrollPos), 0);
    }
    // The thumb shows where the control went, except while it is dragged.
    SCROLLINFO now;
    if (code != kscTrack && GetScrollInfo(h, which, now)) scrollPos = now.nPos;
}

bool TTeInplaceScrollBar::ScrollListView(TListView* view, TTeScrollCode code, int scrollPos) {
    const TViewStyle style = view->ViewStyle();
    const bool line = code == kscLineUp || code == kscLineDown;
    const int sign = code == kscLineUp ? -1 : 1;
    if (line && style == vsList) return false;
    if (line && Vertical()) {
        // A line is the height of the row at the top.
        TListItem* top = view->TopItem();
        const int step = top ? top->DisplayRect().Height() : kEmptyListLine;
        view->Scroll(0, sign * step);
        return true;
    }
    if (line && style != vsReport) {
        view->Scroll(sign * bar_->PageSize(), 0);
        return true;
    }
    // Everything else moves the view by the distance the thumb went.
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(view->Handle(), Vertical() ? SB_VERT : SB_HORZ, si)) return true;
    int64_t delta = int64_t{scrollPos} - si.nPos;
    if (delta == 0) return true;
    if (Vertical() && style == vsReport) {
        // The report's vertical bar counts rows; the view scrolls pixels.
        TListItem* top = view->TopItem();
        const int row = top ? top->DisplayRect().Height() : std::abs(view->Font()->Height());
        delta *= std::max(1, row);
    }
    const int d = static_cast<int>(std::clamp<int64_t>(delta, INT32_MIN / 2, INT32_MAX / 2));
    if (Vertical())
        view->Scroll(0, d);
    else
        view->Scroll(d, 0);
    return true;
}

// ---- TTeSubScrollBar --------------------------------------------------------------------

struct TTeSubScrollBar::THookLink {
    TTeSubScrollBar* owner = nullptr;
    WNDPROC saved = nullptr;
};

TTeSubScrollBar::TTeSubScrollBar(TWinControl* control, const TTeScrollBarFactory& factory)
    : TComponent(nullptr), control_(control) {
    auto make = [&](TTeScrollOrientation orientation) {
        auto* bar = new TTeInplaceScrollBar(nullptr, factory);
        bar->SetOrientation(orientation);
        bar->control_ = control;
        bar->sub_ = this;
        return bar;
    };
    vert_ = make(ksoVertical);
    horz_ = make(ksoHorizontal);
}

TTeSubScrollBar::~TTeSubScrollBar() {
    inactive_ = true;
    Unhook();
    for (TTeInplaceScrollBar* bar : {vert_, horz_})
        if (bar) {
            bar->sub_ = nullptr;
            delete bar;
        }
}

void TTeSubScrollBar::SetParent(TWinControl* parent) {
    if (!parent) return;
    for (TTeInplaceScrollBar* bar : {vert_, horz_})
        if (bar) bar->SetParent(parent);
}

void TTeSubScrollBar::SetControl(TWinControl* control) {
    control_ = control;
    if (control) return;
    inactive_ = true;
    Unhook();
    for (TTeInplaceScrollBar* bar : {vert_, horz_})
        if (bar) {
            if (bar->Parent() && !bar->dead_) bar->SetParent(nullptr);
            bar->control_ = nullptr;
        }
}

void TTeSubScrollBar::BarDestroyed(TTeInplaceScrollBar* bar) {
    inactive_ = true;
    if (bar == vert_) vert_ = nullptr;
    if (bar == horz_) horz_ = nullptr;
}

void TTeSubScrollBar::UpdateBars() {
    for (TTeInplaceScrollBar* bar : {vert_, horz_})
        if (bar) bar->ScrollBarUpdate();
}

void TTeSubScrollBar::SubWndProc(TMessage& message) {
    if (inactive_ || IsThemeMessage(message.Msg) || !Usable(control_) ||
        control_->ComponentState().Contains(csDesigning))
        return;
    if (ignoreScroll_ && (message.Msg == WM_HSCROLL || message.Msg == WM_VSCROLL)) return;
    for (TTeInplaceScrollBar* bar : {vert_, horz_})
        if (bar && !bar->Dead()) bar->ScrollBarWndProc(message);
    if (message.Msg == WM_WINDOWPOSCHANGED) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
        if (pos && !(pos->flags & SWP_NOZORDER))
            for (TTeInplaceScrollBar* bar : {vert_, horz_})
                if (bar && !bar->Dead()) bar->BringToFront();
    }
}

void TTeSubScrollBar::HookWindow() {
    if (inactive_ || !Usable(control_)) return;
    const HWND h = control_->Handle();
    if (hooked_ == h && GetWindowProc(h) == proc_) return;
    Unhook();
    auto link = std::make_shared<THookLink>();
    link->owner = this;
    proc_ = MakeWindowProc([link](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (link->owner) return link->owner->HookProc(hwnd, msg, wParam, lParam);
        return CallWindowProc(link->saved, hwnd, msg, wParam, lParam);
    });
    link->saved = SetWindowProc(h, proc_);
    hooked_ = h;
    link_ = link;
    for (TTeInplaceScrollBar* bar : {vert_, horz_})
        if (bar) bar->windowGone_ = false;
}

void TTeSubScrollBar::Unhook() {
    if (!proc_) return;
    if (IsWindow(hooked_) && GetWindowProc(hooked_) == proc_) SetWindowProc(hooked_, link_->saved);
    // Subclassed again after us, our procedure stays in that chain and
    // passes everything through.
    link_->owner = nullptr;
    link_.reset();
    FreeWindowProc(proc_);
    proc_ = nullptr;
    hooked_ = nullptr;
}

LRESULT TTeSubScrollBar::HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<THookLink> link = link_;
    TMessage m{msg, wParam, lParam, 0};
    SubWndProc(m);
    const LRESULT result = CallWindowProc(link->saved, hwnd, msg, wParam, lParam);
    if (msg == WM_DESTROY && link->owner == this) Unhook();
    return result;
}

// ---- the shared frame -------------------------------------------------------------------

void PaintWrappedFrame(TWinControl* control, bool borderNone,
                       const std::function<void(TCanvas&, const TRect&)>& paintBorder) {
    if (!control->HandleAllocated()) return;
    const HWND h = control->Handle();
    const TRect window = WindowRect(h);
    TRect r{0, 0, window.Width(), window.Height()};
    if (borderNone) r = TRect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
    const TPoint client = control->ClientToScreen(TPoint{0, 0});
    const int cx = client.x - window.left, cy = client.y - window.top;
    HDC dc = GetWindowDC(h);
    ExcludeClipRect(dc, cx, cy, cx + control->ClientWidth(), cy + control->ClientHeight());
    TCanvas canvas;
    canvas.SetHandle(dc);
    paintBorder(canvas, r);
    canvas.SetHandle(nullptr);
    ReleaseDC(h, dc);
}

void PaintClassicWrappedBorder(TCanvas& canvas, const TRect& r, int corner, bool cornerFirst) {
    auto fillCorner = [&] {
        if (corner > 0)
            FillRect(canvas, r.right - 2 - corner, r.bottom - 2 - corner, r.right - 2, r.bottom - 2,
                     clBtnFace);
    };
    if (cornerFirst) fillCorner();
    DrawEdge(canvas, r, clBtnShadow, clBtnHighlight);
    const TRect inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    DrawEdge(canvas, inner, cl3DDkShadow, clBtnFace);
    if (!cornerFirst) fillCorner();
}

void HandThemeLinkToBars(TTeSubScrollBar* sub, TteCustomThemeLink* link) {
    for (TTeInplaceScrollBar* bar : {sub->VertBar(), sub->HorzBar()})
        if (bar) bar->ScrollBar()->SetThemeLink(link);
}

void RepaintWrapped(TWinControl* control) {
    if (!control->HandleAllocated()) return;
    SendMessage(control->Handle(), WM_NCPAINT, 0, 0);
    InvalidateRect(control->Handle(), nullptr, true);
}

}  // namespace tarvel
