// TScrollBar and TScrollBox.

#include "platform/classlib/ScrollBars.h"

#include <algorithm>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelay = 400;
constexpr UINT kRepeatRate = 50;
constexpr int kMinThumb = 8;
}  // namespace

TScrollParts::Part TScrollParts::HitTest(TPoint p) const {
    if (lineUp.Contains(p)) return LineUp;
    if (lineDown.Contains(p)) return LineDown;
    if (thumb.Contains(p)) return Thumb;
    if (!track.Contains(p)) return None;
    const bool vertical = track.Width() < track.Height() || lineUp.bottom <= track.top;
    if (thumb.IsEmpty()) return None;
    return (vertical ? p.y < thumb.top : p.x < thumb.left) ? PageUp : PageDown;
}

TScrollParts ScrollPartsOf(TRect r, bool vertical, int min, int max, int pageSize, int position) {
    TScrollParts parts;
    const int length = vertical ? r.Height() : r.Width();
    const int thick = vertical ? r.Width() : r.Height();
    const int button = std::min(thick, length / 2);
    if (vertical) {
        parts.lineUp = TRect{r.left, r.top, r.right, r.top + button};
        parts.lineDown = TRect{r.left, r.bottom - button, r.right, r.bottom};
        parts.track = TRect{r.left, r.top + button, r.right, r.bottom - button};
    } else {
        parts.lineUp = TRect{r.left, r.top, r.left + button, r.bottom};
        parts.lineDown = TRect{r.right - button, r.top, r.right, r.bottom};
        parts.track = TRect{r.left + button, r.top, r.right - button, r.bottom};
    }
    const int trackLength = length - 2 * button;
    const int64_t span = int64_t{max} - min + 1;
    parts.scrollable = span > 1 && (pageSize <= 0 || pageSize < span);
    if (!parts.scrollable || trackLength < kMinThumb) return parts;
    int thumbLength = pageSize > 0 ? static_cast<int>(int64_t{trackLength} * pageSize / span) : thick;
    thumbLength = std::clamp(thumbLength, kMinThumb, trackLength);
    const int64_t positions = pageSize > 0 ? span - pageSize : span - 1;
    const int offset =
        positions > 0 ? static_cast<int>((int64_t{position} - min) * (trackLength - thumbLength) / positions)
                      : 0;
    if (vertical)
        parts.thumb =
            TRect{r.left, parts.track.top + offset, r.right, parts.track.top + offset + thumbLength};
    else
        parts.thumb =
            TRect{parts.track.left + offset, r.top, parts.track.left + offset + thumbLength, r.bottom};
    return parts;
}

TScrollBar* MakeInnerScrollBar(TWinControl* host, TScrollBarKind kind,
                               std::function<void(int position)> moved) {
    auto* bar = new TScrollBar(host);
    bar->SetKind(kind);
    bar->SetTabStop(false);
    bar->SetVisible(false);
    bar->SetParent(host);
    bar->OnChange = [bar, moved = std::move(moved)](TObject*) { moved(bar->Position()); };
    return bar;
}

// ---- TScrollBar -------------------------------------------------------------------------------

void TScrollBar::DeclareMessages(TMessageTable& t) { t.Add<&TScrollBar::WMTimer>(WM_TIMER); }

TScrollBar::TScrollBar(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csFramed, csDoubleClicks, csOpaque, csCaptureMouse};
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) max = min;
    min_ = min;
    max_ = max;
    position = std::clamp(position, min_, MaxPosition());
    const bool changed = position != position_;
    position_ = position;
    Invalidate();
    if (changed && OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int v) {
    pageSize_ = std::clamp(v, 0, max_ - min_ + 1);
    SetParams(position_, min_, max_);
}

TScrollParts TScrollBar::Parts() {
    return ScrollPartsOf(ClientRect(), kind_ == sbVertical, min_, max_, pageSize_, position_);
}

void TScrollBar::Paint() {
    HDC dc = Canvas()->Handle();
    const TScrollParts p = Parts();
    const bool vertical = kind_ == sbVertical;
    const bool enabled = Enabled() && p.scrollable;
    DrawArrowButton(dc, p.lineUp, vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT,
                    pressed_ == TScrollParts::LineUp, enabled);
    DrawArrowButton(dc, p.lineDown, vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT,
                    pressed_ == TScrollParts::LineDown, enabled);
    FillColor(dc, p.track, cl3DLight);
    if (!p.thumb.IsEmpty()) {
        // The pressed half of the track shows dark while the mouse holds it.
        if (pressed_ == TScrollParts::PageUp || pressed_ == TScrollParts::PageDown) {
            TRect half = p.track;
            if (pressed_ == TScrollParts::PageUp)
                (vertical ? half.bottom : half.right) = vertical ? p.thumb.top : p.thumb.left;
            else
                (vertical ? half.top : half.left) = vertical ? p.thumb.bottom : p.thumb.right;
            FillColor(dc, half, cl3DDkShadow);
        }
        TRect thumb = p.thumb;
        DrawButtonFace(dc, thumb, false);
    }
}

void TScrollBar::Scroll(TScrollCode code, int position) {
    position = std::clamp(position, min_, MaxPosition());
    if (OnScroll) OnScroll(this, code, position);
    SetPosition(position);
    // The scroll codes are the window scroll-bar requests, in the same order.
    if (HWND parent = ParentHandle(this))
        SendMessage(parent, kind_ == sbVertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position_),
                    reinterpret_cast<LPARAM>(Handle()));
}

void TScrollBar::RepeatPart() {
    const TScrollParts p = Parts();
    if (p.HitTest(mouse_) != pressed_) return;
    switch (pressed_) {
        case TScrollParts::LineUp: Scroll(scLineUp, position_ - smallChange_); break;
        case TScrollParts::LineDown: Scroll(scLineDown, position_ + smallChange_); break;
        case TScrollParts::PageUp: Scroll(scPageUp, position_ - std::max(largeChange_, pageSize_)); break;
        case TScrollParts::PageDown: Scroll(scPageDown, position_ + std::max(largeChange_, pageSize_)); break;
        default: break;
    }
}

void TScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    const TScrollParts p = Parts();
    mouse_ = TPoint{x, y};
    pressed_ = p.HitTest(mouse_);
    if (pressed_ == TScrollParts::Thumb) {
        dragOffset_ = kind_ == sbVertical ? y - p.thumb.top : x - p.thumb.left;
    } else if (pressed_ != TScrollParts::None) {
        RepeatPart();
        SetTimer(Handle(), kRepeatTimer, kRepeatDelay);
    }
    Invalidate();
}

void TScrollBar::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    mouse_ = TPoint{x, y};
    if (pressed_ != TScrollParts::Thumb) return;
    const TScrollParts p = Parts();
    const bool vertical = kind_ == sbVertical;
    const int room = (vertical ? p.track.Height() - p.thumb.Height() : p.track.Width() - p.thumb.Width());
    if (room <= 0) return;
    const int at = (vertical ? y - p.track.top : x - p.track.left) - dragOffset_;
    const int64_t positions = int64_t{MaxPosition()} - min_;
    const int pos = min_ + static_cast<int>((std::clamp(at, 0, room) * positions + room / 2) / room);
    if (pos != position_) Scroll(scTrack, pos);
}

void TScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || pressed_ == TScrollParts::None) return;
    if (HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
    if (pressed_ == TScrollParts::Thumb) Scroll(scPosition, position_);
    pressed_ = TScrollParts::None;
    int pos = position_;
    if (OnScroll) OnScroll(this, scEndScroll, pos);
    Invalidate();
}

void TScrollBar::WMTimer(TMessage& m) {
    if (m.WParam != kRepeatTimer) return;
    SetTimer(Handle(), kRepeatTimer, kRepeatRate);
    RepeatPart();
}

void TScrollBar::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const bool vertical = kind_ == sbVertical;
    if (key == (vertical ? VK_UP : VK_LEFT))
        Scroll(scLineUp, position_ - smallChange_);
    else if (key == (vertical ? VK_DOWN : VK_RIGHT))
        Scroll(scLineDown, position_ + smallChange_);
    else if (key == VK_PRIOR)
        Scroll(scPageUp, position_ - std::max(largeChange_, pageSize_));
    else if (key == VK_NEXT)
        Scroll(scPageDown, position_ + std::max(largeChange_, pageSize_));
    else if (key == VK_HOME)
        Scroll(scTop, min_);
    else if (key == VK_END)
        Scroll(scBottom, MaxPosition());
}

bool TScrollBar::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    const int lines = wheelDelta / WHEEL_DELTA * 3;
    Scroll(lines > 0 ? scLineUp : scLineDown, position_ - lines * smallChange_);
    return true;
}

// ---- TControlScrollBar -------------------------------------------------------------------------

void TControlScrollBar::SetRange(int v) {
    range_ = std::max(0, v);
    rangeSet_ = true;
    box_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int v) {
    const int view = box_->ViewExtent(kind_);
    v = std::clamp(v, 0, std::max(0, range_ - view));
    if (!IsScrollBarVisible()) v = 0;
    if (v == position_) return;
    const int delta = v - position_;
    position_ = v;
    if (kind_ == sbVertical)
        box_->ScrollBy(0, -delta);
    else
        box_->ScrollBy(-delta, 0);
    box_->UpdateScrollBars();
}

void TControlScrollBar::SetSize(int v) {
    size_ = std::max(0, v);
    box_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool v) {
    visible_ = v;
    box_->UpdateScrollBars();
}

bool TControlScrollBar::IsScrollBarVisible() const { return visible_ && range_ > box_->ViewExtent(kind_); }

// ---- TScrollBox ---------------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner)
    : TCustomControl(owner),
      vert_(new TControlScrollBar(this, sbVertical)),
      horz_(new TControlScrollBar(this, sbHorizontal)) {
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
    vertBar_ = MakeInnerScrollBar(this, sbVertical, [this](int pos) {
        if (!updating_) vert_->SetPosition(pos);
    });
    horzBar_ = MakeInnerScrollBar(this, sbHorizontal, [this](int pos) {
        if (!updating_) horz_->SetPosition(pos);
    });
}

TScrollBox::~TScrollBox() {
    vertBar_->OnChange = nullptr;
    horzBar_->OnChange = nullptr;
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TScrollBox::BarThickness(const TControlScrollBar& bar) const {
    if (bar.size_ > 0) return bar.size_;
    return GetSystemMetrics(bar.kind_ == sbVertical ? SM_CXVSCROLL : SM_CYHSCROLL);
}

int TScrollBox::ViewExtent(TScrollBarKind kind) {
    const TRect c = TCustomControl::GetClientRect();
    const bool other = kind == sbVertical ? horzBar_ && horzBar_->Visible() : vertBar_ && vertBar_->Visible();
    if (kind == sbVertical) return c.Height() - (other ? BarThickness(*horz_) : 0);
    return c.Width() - (other ? BarThickness(*vert_) : 0);
}

void TScrollBox::AdjustClientRect(TRect& r) {
    if (vertBar_ && vertBar_->Visible()) r.right -= BarThickness(*vert_);
    if (horzBar_ && horzBar_->Visible()) r.bottom -= BarThickness(*horz_);
}

void TScrollBox::AlignControls(TControl* control, TRect& rect) {
    TCustomControl::AlignControls(control, rect);
    UpdateScrollBars();
}

void TScrollBox::Resize() {
    TCustomControl::Resize();
    UpdateScrollBars();
}

void TScrollBox::ScrollBy(int dx, int dy) {
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c == vertBar_ || c == horzBar_) continue;
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    Invalidate();
}

void TScrollBox::UpdateScrollBars() {
    if (updating_ || !vertBar_ || !horzBar_) return;
    updating_ = true;
    // Ranges come from the children unless set: how far right and down
    // they reach, counted from the unscrolled origin.
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c == vertBar_ || c == horzBar_ || !c->Visible()) continue;
        right = std::max(right, c->Left() + c->Width() + horz_->position_);
        bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_);
    }
    if (!horz_->rangeSet_) horz_->range_ = right;
    if (!vert_->rangeSet_) vert_->range_ = bottom;
    const TRect c = TCustomControl::GetClientRect();
    // Each bar narrows the other's view, so decide twice.
    for (int pass = 0; pass < 2; ++pass) {
        vertBar_->SetVisible(vert_->IsScrollBarVisible());
        horzBar_->SetVisible(horz_->IsScrollBarVisible());
    }
    const int vw = BarThickness(*vert_), hh = BarThickness(*horz_);
    const int bottomEdge = c.bottom - (horzBar_->Visible() ? hh : 0);
    const int rightEdge = c.right - (vertBar_->Visible() ? vw : 0);
    vertBar_->SetBounds(c.right - vw, 0, vw, bottomEdge);
    horzBar_->SetBounds(0, c.bottom - hh, rightEdge, hh);
    vertBar_->SetParams(vert_->position_, 0, std::max(0, vert_->range_ - 1));
    vertBar_->SetPageSize(std::max(1, ViewExtent(sbVertical)));
    vertBar_->SetSmallChange(vert_->increment_);
    horzBar_->SetParams(horz_->position_, 0, std::max(0, horz_->range_ - 1));
    horzBar_->SetPageSize(std::max(1, ViewExtent(sbHorizontal)));
    horzBar_->SetSmallChange(horz_->increment_);
    vertBar_->BringToFront();
    horzBar_->BringToFront();
    updating_ = false;
    // A smaller range may leave the view past its end.
    vert_->SetPosition(vert_->position_);
    horz_->SetPosition(horz_->position_);
}

void TScrollBox::ScrollInView(TControl* control) {
    if (!control || control->Parent() != this) return;
    const int view = ViewExtent(sbVertical), viewW = ViewExtent(sbHorizontal);
    if (control->Top() < 0)
        vert_->SetPosition(vert_->position_ + control->Top());
    else if (control->Top() + control->Height() > view)
        vert_->SetPosition(vert_->position_ + control->Top() + control->Height() - view);
    if (control->Left() < 0)
        horz_->SetPosition(horz_->position_ + control->Left());
    else if (control->Left() + control->Width() > viewW)
        horz_->SetPosition(horz_->position_ + control->Left() + control->Width() - viewW);
}

bool TScrollBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    vert_->SetPosition(vert_->position_ - wheelDelta / WHEEL_DELTA * 3 * vert_->increment_);
    return true;
}

// ---- the bars as window bars ----

void TScrollBox::DeclareMessages(TMessageTable& t) {
    t.Add<&TScrollBox::WMScroll>(WM_VSCROLL);
    t.Add<&TScrollBox::WMScroll>(WM_HSCROLL);
}

TScrollBarParts TScrollBox::ScreenScrollParts(int bar) {
    TScrollBar* b = BarOf(bar);
    TScrollBarParts out;
    if (!b || !b->Visible() || !Showing()) return out;
    const TPoint origin = b->ClientToScreen(TPoint{0, 0});
    const TScrollParts p = b->Parts();
    out.bar = b->ClientRect();
    out.lineUp = p.lineUp;
    out.lineDown = p.lineDown;
    out.track = p.track;
    out.thumb = p.thumb;
    for (TRect* r : {&out.bar, &out.lineUp, &out.lineDown, &out.track, &out.thumb})
        if (!r->IsEmpty()) r->Offset(origin.x, origin.y);
    out.scrollable = p.scrollable;
    return out;
}

TScrollBarPart TScrollBox::PressedScrollPart(int bar) {
    TScrollBar* b = BarOf(bar);
    switch (b ? b->PressedPart() : TScrollParts::None) {
        case TScrollParts::LineUp: return TScrollBarPart::LineUp;
        case TScrollParts::LineDown: return TScrollBarPart::LineDown;
        case TScrollParts::PageUp: return TScrollBarPart::PageUp;
        case TScrollParts::PageDown: return TScrollBarPart::PageDown;
        case TScrollParts::Thumb: return TScrollBarPart::Thumb;
        default: return TScrollBarPart::None;
    }
}

SCROLLINFO TScrollBox::ScrollInfoOf(int bar) {
    const TControlScrollBar* s = ScrollOf(bar);
    const TScrollBarKind kind = bar == SB_VERT ? sbVertical : sbHorizontal;
    SCROLLINFO info;
    info.nMin = 0;
    info.nMax = std::max(0, s->range_ - 1);
    info.nPage = static_cast<UINT>(std::max(1, ViewExtent(kind)));
    info.nPos = s->position_;
    info.nTrackPos = trackPos_[bar == SB_VERT];
    return info;
}

int TScrollBox::SetScrollInfoOf(int bar, const SCROLLINFO& info) {
    TControlScrollBar* s = ScrollOf(bar);
    if (info.fMask & SIF_TRACKPOS) trackPos_[bar == SB_VERT] = info.nTrackPos;
    if (info.fMask & SIF_POS) s->SetPosition(info.nPos);
    return s->position_;
}

// Requests from a bar laid over ours come with no bar handle; our own bars
// have moved the view already when they tell us.
void TScrollBox::WMScroll(TMessage& m) {
    if (m.LParam != 0) return;
    const int bar = m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
    TControlScrollBar* s = ScrollOf(bar);
    const int page = std::max(1, ViewExtent(bar == SB_VERT ? sbVertical : sbHorizontal));
    const int pos = s->position_;
    switch (LOWORD(m.WParam)) {
        case SB_LINEUP: s->SetPosition(pos - s->increment_); break;
        case SB_LINEDOWN: s->SetPosition(pos + s->increment_); break;
        case SB_PAGEUP: s->SetPosition(pos - page); break;
        case SB_PAGEDOWN: s->SetPosition(pos + page); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: s->SetPosition(trackPos_[bar == SB_VERT]); break;
        case SB_TOP: s->SetPosition(0); break;
        case SB_BOTTOM: s->SetPosition(s->range_); break;
        default: break;
    }
    m.Result = 0;
}

void TScrollBox::Paint() { FillColor(Canvas()->Handle(), ClientRect(), Color()); }

TFrame::TFrame(TComponent* owner) : TScrollBox(owner) {
    ControlStyle.Exclude(csSetCaption);
    SetBounds(0, 0, 320, 240);
}

void TFrame::CreateParams(TCreateParams& params) {
    TScrollBox::CreateParams(params);
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

}  // namespace tarvel
