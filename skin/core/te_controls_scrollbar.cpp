#include "skin/core/te_controls_scrollbar.h"

#include <algorithm>
#include <cmath>

#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_utils_system.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

namespace {

int ThumbSize() { return GetSystemMetrics(SM_CYVTHUMB); }

// Ties go to the even neighbour.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Part and state numbers of the system's visual style for the bar.
bool DrawStyledPart(HDC dc, int part, int state, const TRect& r) {
    const TUxThemeEntryPoints& ux = Te_winapi::UxTheme;
    if (!ux.OpenThemeData || !ux.DrawThemeBackground || !ux.CloseThemeData) return false;
    HTHEME theme = ux.OpenThemeData(nullptr, u"ScrollBar");
    if (!theme) return false;
    ux.DrawThemeBackground(theme, dc, part, state, &r, nullptr);
    ux.CloseThemeData(theme);
    return true;
}

}  // namespace

void TTeScrollBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeScrollBar::CMEnabledChanged>(CM_ENABLEDCHANGED);
}

TTeScrollBar::TTeScrollBar(TComponent* owner) : TTeGraphicControl(owner) {
    ControlStyle.Include(csCaptureMouse);
    SetPerformance(qvpDoubleBuffer);
    SetBounds(0, 0, 121, ThumbSize() + 2 * borderWidth_);
    AddThemeNotification(this);
}

TTeScrollBar::~TTeScrollBar() {
    RemoveThemeNotification(this);
    delete timer_;
}

void TTeScrollBar::Notification(TComponent* component, TOperation operation) {
    TTeGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeLink_) themeLink_ = nullptr;
}

void TTeScrollBar::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    Refresh();
}

// ---- properties -----------------------------------------------------------------------------

void TTeScrollBar::SetPosition(int value) {
    // Compared once held in range: a value beyond the end set twice changes
    // nothing the second time.
    const int held = std::clamp(value, min_, max_);
    if (held == position_) return;
    position_ = held;
    Refresh();
    Change();
}

void TTeScrollBar::SetMin(int value) {
    value = std::min(value, max_);
    min_ = value;
    if (position_ < value) SetPosition(value);
    pageSize_ = std::min<int64_t>(pageSize_, int64_t{max_} - min_ + 1);
    Refresh();
}

void TTeScrollBar::SetMax(int value) {
    value = std::max(value, min_);
    max_ = value;
    if (value < position_) SetPosition(value);
    pageSize_ = std::min<int64_t>(pageSize_, int64_t{max_} - min_ + 1);
    Refresh();
}

void TTeScrollBar::SetPageSize(int value) {
    if (value == pageSize_ || value < 0) return;
    pageSize_ = static_cast<int>(std::min<int64_t>(value, int64_t{max_} - min_ + 1));
    Refresh();
}

void TTeScrollBar::SetBorderWidth(int value) {
    if (value == borderWidth_) return;
    borderWidth_ = value;
    Refresh();
}

void TTeScrollBar::SetShowButtons(bool value) {
    if (value == showButtons_) return;
    showButtons_ = value;
    Refresh();
}

void TTeScrollBar::SetOrientation(TTeScrollOrientation value) {
    if (value == orientation_) return;
    orientation_ = value;
    if (ComponentState().Contains(csDesigning) && (Vertical() ? Width() > Height() : Height() > Width()))
        SetBounds(Left(), Top(), Height(), Width());
    Refresh();
}

// Any change repaints, back to "default" too: the old object's look must go.
void TTeScrollBar::SetThemeObject(const String& value) {
    if (value == themeObject_) return;
    themeObject_ = value;
    Invalidate();
}

void TTeScrollBar::SetThemeLink(TteCustomThemeLink* value) {
    if (themeLink_) themeLink_->RemoveFreeNotification(this);
    themeLink_ = value;
    if (themeLink_) themeLink_->FreeNotification(this);
    Invalidate();
}

void TTeScrollBar::UpdateSytemSize() {
    const int size = ThumbSize() + 2 * borderWidth_;
    if (Vertical())
        SetWidth(size);
    else
        SetHeight(size);
}

void TTeScrollBar::SetAutoSrcollUp(bool value) {
    if (value == autoScrollUp_) return;
    autoScrollUp_ = value;
    if (value) {
        autoScrollDown_ = false;
        PartPress(false);
    } else {
        StopTimer();
    }
}

void TTeScrollBar::SetAutoSrcollDown(bool value) {
    if (value == autoScrollDown_) return;
    autoScrollDown_ = value;
    if (value) {
        autoScrollUp_ = false;
        PartPress(false);
    } else {
        StopTimer();
    }
}

void TTeScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void TTeScrollBar::Scroll(TTeScrollCode code, int& scrollPos) {
    if (OnScroll) OnScroll(this, code, scrollPos);
}

// ---- geometry -----------------------------------------------------------------------------

TRect TTeScrollBar::Span(const TRect& r, int from, int to) const {
    return Vertical() ? TRect{r.left, from, r.right, to} : TRect{from, r.top, to, r.bottom};
}

int TTeScrollBar::GetBtnSize() {
    const int t = ThumbSize();
    const int l = (Vertical() ? Height() : Width()) - 2 * borderWidth_;
    return l < 2 * t ? l / 2 : t;
}

TRect TTeScrollBar::GetBackgroundRect() {
    const int bw = borderWidth_;
    TRect r{bw, bw, Width() - bw, Height() - bw};
    if (!showButtons_) return r;
    const int b = GetBtnSize();
    return Span(r, Leading(r) + b, Trailing(r) - b);
}

TRect TTeScrollBar::GetLeftTopBtnRect() {
    const int bw = borderWidth_;
    const TRect r{bw, bw, Width() - bw, Height() - bw};
    return Span(r, bw, bw + GetBtnSize());
}

TRect TTeScrollBar::GetRightBottomBtnRect() {
    const int bw = borderWidth_;
    const TRect r{bw, bw, Width() - bw, Height() - bw};
    const int end = Trailing(r);
    return Span(r, end - GetBtnSize(), end);
}

int TTeScrollBar::GetSliderSize() {
    const int t = ThumbSize();
    const int l = LongSide(GetBackgroundRect());
    int s = t;
    if (pageSize_ != 0) {
        s = RoundEven(static_cast<double>(l) * pageSize_ / (static_cast<double>(max_) - min_ + 1));
        s = std::max(s, (t / 3) * 2);
    }
    return s < l ? s : 0;
}

int TTeScrollBar::Range() const {
    const int64_t range = int64_t{max_} - min_ - pageSize_ + (pageSize_ != 0 ? 1 : 0);
    return static_cast<int>(std::clamp<int64_t>(range, INT32_MIN, INT32_MAX));
}

int TTeScrollBar::SliderCoord() {
    const TRect r = GetBackgroundRect();
    const int range = Range();
    const int track = LongSide(r) - GetSliderSize();
    if (range <= 0 || int64_t{max_} - min_ - pageSize_ + 1 <= 0) return Leading(r);
    if (int64_t{position_} > int64_t{max_} - pageSize_ + 1) return Leading(r) + track;
    return Leading(r) + RoundEven((static_cast<double>(position_) - min_) * track / range);
}

int TTeScrollBar::PositionOfCoord(int coord) {
    const TRect r = GetBackgroundRect();
    const int range = Range();
    const int track = LongSide(r) - GetSliderSize();
    int64_t p = 0;
    if (track != 0 && range > 0)
        p = RoundEven(static_cast<double>(coord - Leading(r)) * range / track + min_);
    p = std::max<int64_t>(p, min_);
    p = std::min<int64_t>(p, int64_t{max_} - pageSize_ + 1);
    return static_cast<int>(std::clamp<int64_t>(p, INT32_MIN, INT32_MAX));
}

TRect TTeScrollBar::GetSliderRect() {
    const int from = SliderCoord();
    return Span(GetBackgroundRect(), from, from + GetSliderSize());
}

TRect TTeScrollBar::GetLeftTopTrackRect() {
    const TRect r = GetBackgroundRect();
    return Span(r, Leading(r), SliderCoord());
}

TRect TTeScrollBar::GetRightBottomTrackRect() {
    const TRect r = GetBackgroundRect();
    return Span(r, SliderCoord() + GetSliderSize(), Trailing(r));
}

bool TTeScrollBar::PtInLeftTopBtn(TPoint p) { return GetLeftTopBtnRect().Contains(p); }
bool TTeScrollBar::PtInRightBottomBtn(TPoint p) { return GetRightBottomBtnRect().Contains(p); }
bool TTeScrollBar::PtInSlider(TPoint p) { return GetSliderRect().Contains(p); }
bool TTeScrollBar::PtInLeftTopTrack(TPoint p) { return GetLeftTopTrackRect().Contains(p); }
bool TTeScrollBar::PtInRightBottomTrack(TPoint p) { return GetRightBottomTrackRect().Contains(p); }

bool TTeScrollBar::SliderVisible() {
    const TRect s = GetSliderRect();
    return s.Width() >= 1 && s.Height() >= 1 && (Enabled() || ComponentState().Contains(csDesigning));
}

// ---- painting -----------------------------------------------------------------------------

bool TTeScrollBar::Themed() { return IsObjectDefined(ksscScrollBar, themeObject_, themeLink_); }

void TTeScrollBar::DrawBorder() {
    if (Themed() || borderWidth_ <= 0) return;
    DrawEdge(*Canvas(), TRect{0, 0, Width(), Height()}, clBtnShadow, clBtnHighlight);
}

void TTeScrollBar::DrawBackground() {
    if (Themed()) return;
    const TRect r = GetBackgroundRect();
    if (UseThemes() && DrawStyledPart(Canvas()->Handle(), Vertical() ? 6 : 4, 1, r)) return;
    FillHalftoneRect(*Canvas(), r, clScrollBar, clBtnHighlight);
}

void TTeScrollBar::DrawButton(bool first) {
    const TRect r = first ? GetLeftTopBtnRect() : GetRightBottomBtnRect();
    const bool pressed = first ? GetLeftTopBtnPressed() : GetRightBottomBtnPressed();
    const bool hot = hot_[first ? kFirstBtn : kSecondBtn];
    const bool disabled = !Enabled();
    if (Themed()) {
        const TteScrollButtonDrawState state = disabled  ? ksbdsDisabled
                                               : pressed ? ksbdsPressed
                                               : hot     ? ksbdsHot
                                                         : ksbdsNormal;
        const TteScrollButtonClass cls =
            Vertical() ? (first ? ksbcUp : ksbcDown) : (first ? ksbcLeft : ksbcRight);
        GetThemeLink(themeLink_)
            ->ScrollDrawButton(ksscScrollBar, *Canvas(), ScrollButtonInfo(r, state, cls), themeObject_);
        return;
    }
    if (UseThemes()) {
        // 1..4 normal, hot, pressed, disabled; first vertical, second
        // vertical, first horizontal, second horizontal.
        const int base = (Vertical() ? 0 : 8) + (first ? 0 : 4);
        const int state = base + (disabled ? 4 : pressed ? 3 : hot ? 2 : 1);
        if (DrawStyledPart(Canvas()->Handle(), 1, state, r)) return;
    }
    unsigned kind =
        Vertical() ? (first ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) : (first ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
    if (pressed) kind |= DFCS_PUSHED | DFCS_FLAT;
    if (disabled && !ComponentState().Contains(csDesigning)) kind |= DFCS_INACTIVE;
    TRect target = r;
    DrawFrameControl(Canvas()->Handle(), &target, DFC_SCROLL, kind);
}

void TTeScrollBar::DrawLeftTopBtn() { DrawButton(true); }
void TTeScrollBar::DrawRightBottomBtn() { DrawButton(false); }

void TTeScrollBar::DrawTrack() {
    if (!Themed()) return;
    GetThemeLink(themeLink_)
        ->ScrollDrawArea(
            ksscScrollBar, *Canvas(),
            ScrollAreaInfo(GetBackgroundRect(), ksadsNormal, Vertical() ? ksacVertical : ksacHorizontal),
            themeObject_);
}

void TTeScrollBar::DrawClassicSlider(const TRect& r) {
    TCanvas& c = *Canvas();
    FillRect(c, r, clBtnFace);
    if (GetSliderPressed()) {
        DrawRect(c, r, clBtnShadow);
        return;
    }
    const TRect inner = RectOffset(r, -1);
    DrawEdge(c, inner, clBtnHighlight, clBtnShadow);
    DrawEdge(c, r, cl3DLight, cl3DDkShadow);
}

void TTeScrollBar::DrawSlider() {
    const TRect r = GetSliderRect();
    const bool disabled = !Enabled(), dragging = GetSliderPressed(), hot = hot_[kSlider];
    if (Themed()) {
        const TteScrollButtonDrawState state = disabled   ? ksbdsDisabled
                                               : dragging ? ksbdsPressed
                                               : hot      ? ksbdsHot
                                                          : ksbdsNormal;
        GetThemeLink(themeLink_)
            ->ScrollDrawButton(ksscScrollBar, *Canvas(),
                               ScrollButtonInfo(r, state, Vertical() ? ksbcVertSlider : ksbcHorzSlider),
                               themeObject_);
        return;
    }
    if (UseThemes()) {
        const int state = disabled ? 4 : dragging ? 3 : hot ? 2 : 1;
        if (DrawStyledPart(Canvas()->Handle(), Vertical() ? 3 : 2, state, r)) return;
    }
    DrawClassicSlider(r);
}

void TTeScrollBar::PaintBuffer() {
    DrawBorder();
    DrawBackground();
    if (showButtons_) {
        DrawLeftTopBtn();
        DrawRightBottomBtn();
    }
    if (SliderVisible()) {
        DrawTrack();
        DrawSlider();
    } else {
        DrawTrack();
    }
}

// ---- mouse --------------------------------------------------------------------------------

void TTeScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    const TPoint p{x, y};
    // The press counts where it lands, moved to or not.
    lastMouse_ = p;
    hot_[kFirstBtn] = showButtons_ && PtInLeftTopBtn(p);
    hot_[kSecondBtn] = showButtons_ && PtInRightBottomBtn(p);
    hot_[kFirstTrack] = PtInLeftTopTrack(p);
    hot_[kSecondTrack] = PtInRightBottomTrack(p);
    if (PtInSlider(p)) {
        dragOffset_ = Along(p) - Leading(GetSliderRect());
        int pos = position_;
        Scroll(kscTrack, pos);
        SetPosition(pos);
        Refresh();
    }
    const struct {
        TPart part;
        bool under;
    } parts[] = {{kFirstBtn, showButtons_ && PtInLeftTopBtn(p)},
                 {kSecondBtn, showButtons_ && PtInRightBottomBtn(p)},
                 {kFirstTrack, PtInLeftTopTrack(p)},
                 {kSecondTrack, PtInRightBottomTrack(p)}};
    bool pressedNow = false;
    for (const auto& part : parts) {
        if (!part.under || pressed_[part.part]) continue;
        pressed_[part.part] = true;
        pressedNow = true;
    }
    if (pressedNow) {
        Refresh();
        PartPress(true);
    }
}

void TTeScrollBar::MouseMove(TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseMove(shift, x, y);
    const TPoint p{x, y};
    lastMouse_ = p;
    if (dragOffset_ >= 0) {
        const TRect r = GetBackgroundRect();
        const int c = std::clamp(Along(p) - dragOffset_, Leading(r), std::max(Leading(r), Trailing(r)));
        int pos = PositionOfCoord(c);
        Scroll(kscTrack, pos);
        SetPosition(PositionOfCoord(c));
    }
    const bool now[kPartCount] = {PtInSlider(p), showButtons_ && PtInLeftTopBtn(p),
                                  showButtons_ && PtInRightBottomBtn(p), PtInLeftTopTrack(p),
                                  PtInRightBottomTrack(p)};
    if (!std::equal(std::begin(now), std::end(now), std::begin(hot_))) {
        std::copy(std::begin(now), std::end(now), std::begin(hot_));
        Refresh();
    }
}

void TTeScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    if (dragOffset_ >= 0) {
        int pos = position_;
        Scroll(kscPosition, pos);
        SetPosition(pos);
    }
    dragOffset_ = -1;
    std::fill(std::begin(pressed_), std::end(pressed_), false);
    StopTimer();
    int pos = position_;
    Scroll(kscEndScroll, pos);
    SetPosition(pos);
    Refresh();
}

void TTeScrollBar::MouseLeave() {
    TTeGraphicControl::MouseLeave();
    if (std::none_of(std::begin(hot_), std::end(hot_), [](bool h) { return h; })) return;
    std::fill(std::begin(hot_), std::end(hot_), false);
    Refresh();
}

// ---- keys and repetition ------------------------------------------------------------------

void TTeScrollBar::Step(int newPosition, TTeScrollCode code) {
    int pos = std::clamp(newPosition, min_, max_);
    Scroll(code, pos);
    SetPosition(pos);
}

void TTeScrollBar::ImitateKeyDown(WORD& key, TShiftState) {
    const int64_t page = pageSize_ < 1 ? largeChange_ : pageSize_;
    auto held = [&](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, min_, max_)); };
    switch (key) {
        case VK_PRIOR: Step(held(position_ - page), kscPageUp); break;
        case VK_NEXT: Step(held(position_ + page), kscPageDown); break;
        case VK_END: Step(max_, kscBottom); break;
        case VK_HOME: Step(min_, kscTop); break;
        case VK_LEFT:
        case VK_UP:
            Step(held(int64_t{position_} - smallChange_), kscLineUp);
            if (position_ <= min_ && autoScrollUp_) SetAutoSrcollUp(false);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            Step(held(int64_t{position_} + smallChange_), kscLineDown);
            if (position_ >= max_ && autoScrollDown_) SetAutoSrcollDown(false);
            break;
        default: break;
    }
}

void TTeScrollBar::PartPress(bool first) {
    if (!timer_) {
        timer_ = new TTimer(nullptr);
        timer_->SetEnabled(false);
        timer_->OnTimer = [this](TObject* sender) { TimerExpired(sender); };
    }
    if (first) {
        TimerExpired(timer_);
        timer_->SetInterval(static_cast<UINT>(GetKeyBoardDelayInterval()));
    } else {
        timer_->SetInterval(static_cast<UINT>(GetKeyBoardSpeedInterval()));
    }
    timer_->SetEnabled(true);
}

void TTeScrollBar::StopTimer() {
    if (timer_) timer_->SetEnabled(false);
}

void TTeScrollBar::TimerExpired(TObject*) {
    try {
        timer_->SetInterval(static_cast<UINT>(GetKeyBoardSpeedInterval()));
        WORD key = 0;
        if (GetLeftTopBtnPressed() || autoScrollUp_) {
            key = VK_LEFT;
        } else if (GetRightBottomBtnPressed() || autoScrollDown_) {
            key = VK_RIGHT;
        } else {
            // The slider moves towards the pointer; once it passes, the
            // track under the pointer is no longer pressed.
            const bool firstWas = hot_[kFirstTrack];
            hot_[kFirstTrack] = PtInLeftTopTrack(lastMouse_);
            if (GetLeftTopTrackPressed()) {
                key = VK_PRIOR;
            } else {
                const bool secondWas = hot_[kSecondTrack];
                hot_[kSecondTrack] = PtInRightBottomTrack(lastMouse_);
                if (GetRightBottomTrackPressed()) key = VK_NEXT;
                if (firstWas != hot_[kFirstTrack] || secondWas != hot_[kSecondTrack]) Refresh();
            }
        }
        if (key) ImitateKeyDown(key, {});
    } catch (...) {
        StopTimer();
        throw;
    }
}

}  // namespace tarvel
