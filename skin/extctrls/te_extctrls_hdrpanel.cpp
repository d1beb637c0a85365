#include "skin/extctrls/te_extctrls_hdrpanel.h"

#include <algorithm>

#include "platform/winsys/PaintApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

void TTeHeaderPanel::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeHeaderPanel::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeHeaderPanel::SNMLinkChanged>(SNM_LINKCHANGED);
    t.Add<&TTeHeaderPanel::CMTextChanged>(CM_TEXTCHANGED);
}

TTeHeaderPanel::TTeHeaderPanel(TComponent* owner) : TTeControl(owner), TTeThemeLinked(this) {
    ControlStyle.Include(csAcceptsControls);
    SetColor(clWindow);
    SetBounds(Left(), Top(), 100, 90);
    normalHeight_ = Height();
    AddThemeNotification(this);
}

TTeHeaderPanel::~TTeHeaderPanel() {
    RemoveThemeNotification(this);
    delete timer_;
}

void TTeHeaderPanel::Loaded() {
    TTeControl::Loaded();
    FollowThemeLink(false);
    Realign();
}

void TTeHeaderPanel::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeHeaderPanel::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
            Invalidate();
            if (TteTheme* theme = Theme()) {
                const TRect bounds = theme->GetBounds(themeObject_);
                if (!bounds.IsEmpty()) SetBoundsRect(bounds);
            }
            Realign();
            break;
        case tmReleased:
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeHeaderPanel::SNMLinkChanged(TMessage& m) {
    if (IsOwnLinkMessage(m)) FollowThemeLink(true);
}

void TTeHeaderPanel::CMTextChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    caption_ = Utf8ToWide(Text());
    Invalidate();
}

// ---- properties ------------------------------------------------------------------------------

void TTeHeaderPanel::SetCaption(const WideString& value) {
    caption_ = value;
    Invalidate();
}

void TTeHeaderPanel::SetCaptionHeight(int value) {
    captionHeight_ = std::max(0, value);
    Invalidate();
    Realign();
}

void TTeHeaderPanel::SetShowCaption(bool value) {
    showCaption_ = value;
    Realign();
    Invalidate();
}

void TTeHeaderPanel::SetShowButton(bool value) {
    showButton_ = value;
    Invalidate();
}

void TTeHeaderPanel::SetButtonKind(TTePanelButtonKind value) {
    buttonKind_ = value;
    Invalidate();
}

void TTeHeaderPanel::SetShowBevel(bool value) {
    showBevel_ = value;
    Invalidate();
    Realign();
}

void TTeHeaderPanel::SetBevelWidth(int value) {
    bevelWidth_ = std::max(0, value);
    Invalidate();
    Realign();
}

void TTeHeaderPanel::SetBorderWidth(int value) {
    borderWidth_ = std::max(0, value);
    Invalidate();
    Realign();
}

// A step of 0 could not divide the heights; below 1 it counts as 1.
void TTeHeaderPanel::SetAniSpeed(int value) { aniSpeed_ = std::max(1, value); }

void TTeHeaderPanel::SetRolled(bool value) {
    if (value == rolled_) return;
    if (rolled_)
        RollDown();
    else
        RollUp();
}

// ---- geometry --------------------------------------------------------------------------------

bool TTeHeaderPanel::Themed() {
    return Theme() && IsObjectDefined(kbscExplorerBar, themeObject_, themeLink_);
}

TRect TTeHeaderPanel::GetCaptionRect() {
    TRect r{0, 0, Width(), Height()};
    if (showBevel_) r = RectOffset(r, -bevelWidth_);
    r.bottom = r.top + captionHeight_;
    return r;
}

TRect TTeHeaderPanel::GetButtonRect() {
    if (!showCaption_ || !showButton_) return TRect{};
    const TRect c = GetCaptionRect();
    return RectOffset(TRect{c.right - c.Height(), c.top, c.right, c.bottom}, -2);
}

TRect TTeHeaderPanel::GetClientRect() {
    TRect r{0, 0, Width(), Height()};
    if (Themed())
        r = Theme()->BarGetClientRect(kbscExplorerBar, *Canvas(), BarInfo(r, showBevel_, showCaption_),
                                      themeObject_);
    r = RectOffset(r, -borderWidth_);
    if (showBevel_) r = RectOffset(r, -bevelWidth_);
    if (showCaption_) r.top += captionHeight_;
    return r;
}

// A rolled panel keeps its height; the roll itself goes past this.
void TTeHeaderPanel::SetBounds(int left, int top, int width, int height) {
    TTeControl::SetBounds(left, top, width, rolled_ ? Height() : height);
}

void TTeHeaderPanel::SetHeightDirect(int height) {
    TTeControl::SetBounds(Left(), Top(), Width(), height);
    if (ParentRoll && Parent()) Parent()->SetHeight(Height());
}

// ---- painting --------------------------------------------------------------------------------

void TTeHeaderPanel::PaintBuffer() {
    if (Themed() && Theme()->IsBarTransparent(kbscExplorerBar, themeObject_))
        DrawControlBackground(this, *Canvas());
    DrawFace();
    if (showCaption_) DrawCaption();
}

void TTeHeaderPanel::DrawFace() {
    TCanvas& c = *Canvas();
    TRect r{0, 0, Width(), Height()};
    if (Themed()) {
        if (showCaption_) r.top = captionHeight_;
        Theme()->BarDraw(kbscExplorerBar, c, BarInfo(r, showBevel_, showCaption_), themeObject_);
        return;
    }
    FillRect(c, r, Color());
    if (!showBevel_) return;
    DrawEdge(c, r, clBtnShadow, clBtnHighlight);
    DrawEdge(c, RectOffset(r, -1), clBtnHighlight, clBtnShadow);
}

void TTeHeaderPanel::DrawCaption() {
    if (!showCaption_) return;
    TCanvas& c = *Canvas();
    TRect r = GetCaptionRect();
    const unsigned flags = DT_VCENTER | DT_SINGLELINE;
    const bool themed = Themed();
    if (themed) {
        Theme()->BarDrawCaption(kbscExplorerBar, c, BarInfo(r, showBevel_, showCaption_),
                                BarCaptionInfo(r, caption_), themeObject_);
    } else {
        FillRect(c, r, clBtnFace);
        DrawEdge(c, r, clBtnHighlight, clBtnShadow);
    }
    const TRect button = GetButtonRect();
    r.left += 5;
    r.right -= 5;
    if (themed) {
        if (TFont* font = Theme()->Fonts()->GetFontForObject(ktfPanelTextNormal, themeObject_))
            c.Font()->Assign(font);
        else
            c.Font()->Assign(Font());
    } else {
        c.Font()->Assign(Font());
    }
    const WideString text = FormatStr(c.Handle(), caption_, r.Width());
    if (themed)
        Theme()->BarDrawText(kbscExplorerBar, c, TextInfo(r, text, flags), "default");
    else
        DrawText(c, text, r, flags);
    if (!showButton_ || button.IsEmpty()) return;
    if (themed) {
        const TteBarButtonClass kind = buttonKind_ == kpbkClose ? kbbcClose : rolled_ ? kbbcDown : kbbcUp;
        const TteBarButtonDrawState state = !Enabled() ? kbbdsDisabled
                                            : pressed_ ? kbbdsPressed
                                            : hot_     ? kbbdsHot
                                                       : kbbdsNormal;
        Theme()->BarDrawButton(kbscExplorerBar, c, BarButtonInfo(button, kind, state), themeObject_);
        return;
    }
    FillRect(c, button, clBtnFace);
    const unsigned type = buttonKind_ == kpbkClose ? DFC_CAPTION : DFC_SCROLL;
    const unsigned glyph = buttonKind_ == kpbkClose ? DFCS_CAPTIONCLOSE
                           : rolled_                ? DFCS_SCROLLDOWN
                                                    : DFCS_SCROLLUP;
    TRect frame = button;
    DrawFrameControl(c.Handle(), &frame, type, glyph | (pressed_ ? DFCS_PUSHED : 0u));
    if (pressed_)
        DrawEdge(c, button, clBtnShadow, clBtnHighlight);
    else if (hot_)
        DrawEdge(c, button, clBtnHighlight, clBtnShadow);
    else
        DrawRect(c, button, clBtnFace);
    DrawRect(c, RectOffset(button, -1), clBtnFace);
}

// ---- mouse -----------------------------------------------------------------------------------

void TTeHeaderPanel::InvalidateButton() {
    const TRect r = GetButtonRect();
    if (!r.IsEmpty() && HandleAllocated()) tarvel::InvalidateRect(Handle(), &r, false);
}

String TTeHeaderPanel::HintAt(TPoint p) {
    if (!showCaption_ || !GetCaptionRect().Contains(p)) return Hint();
    return showButton_ && hot_ ? ButtonHint : CaptionHint;
}

void TTeHeaderPanel::SetShownCursor(TCursor cursor) {
    if (!cursorSet_) ownCursor_ = Cursor();
    cursorSet_ = cursor != ownCursor_;
    SetCursor(cursor);
}

void TTeHeaderPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !GetButtonRect().Contains(TPoint{x, y})) return;
    pressed_ = true;
    InvalidateButton();
}

void TTeHeaderPanel::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    const TPoint p{x, y};
    const TRect button = GetButtonRect();
    TCursor cursor = cursorSet_ ? ownCursor_ : Cursor();
    if (showCaption_ && GetCaptionRect().Contains(p)) cursor = CaptionCursor;
    if (button.Contains(p)) cursor = ButtonCursor;
    SetShownCursor(cursor);
    const bool hot = button.Contains(p);
    const bool pressed = shift.Contains(ssLeft) ? hot : pressed_;
    if (hot == hot_ && pressed == pressed_) return;
    hot_ = hot;
    pressed_ = pressed;
    InvalidateButton();
}

void TTeHeaderPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    const bool inside = GetButtonRect().Contains(TPoint{x, y});
    if (pressed_) {
        pressed_ = false;
        InvalidateButton();
    }
    if (inside) DoButtonClick();
}

void TTeHeaderPanel::MouseLeave() {
    TTeControl::MouseLeave();
    if (cursorSet_) SetShownCursor(ownCursor_);
    if (!hot_) return;
    hot_ = false;
    InvalidateButton();
}

void TTeHeaderPanel::DoButtonClick() {
    if (buttonKind_ == kpbkClose) {
        if (OnHide) OnHide(this);
        SetVisible(false);
    } else {
        SetRolled(!rolled_);
    }
    if (OnButtonClick) OnButtonClick(this);
}

// ---- rolling ---------------------------------------------------------------------------------

int TTeHeaderPanel::RolledHeight() { return GetCaptionRect().Height() + 2 * bevelWidth_; }

void TTeHeaderPanel::RollUp() { BeginRoll(true); }
void TTeHeaderPanel::RollDown() { BeginRoll(false); }

void TTeHeaderPanel::BeginRoll(bool up) {
    if (rolling_) return;
    bool allowed = true;
    if (OnBeforeRoll) OnBeforeRoll(this, up, allowed);
    if (!allowed) return;
    rollingUp_ = up;
    heightBefore_ = Height();
    if (up) {
        normalHeight_ = Height();
        target_ = RolledHeight();
    } else {
        rolled_ = false;
        target_ = normalHeight_;
    }
    const bool animate = AnimateRoll && !ComponentState().Contains(csLoading) &&
                         (up ? target_ < heightBefore_ : target_ > heightBefore_);
    if (!animate) {
        FinishRoll();
        return;
    }
    rolling_ = true;
    if (!timer_) {
        timer_ = new TTimer(nullptr);
        timer_->SetEnabled(false);
        timer_->SetInterval(kRollStepMs);
        timer_->OnTimer = [this](TObject* sender) { RollTick(sender); };
    }
    timer_->SetEnabled(true);
}

// Only heights divisible by AniSpeed are shown on the way.
void TTeHeaderPanel::RollTick(TObject*) {
    const int h = Height(), s = aniSpeed_;
    const int next = rollingUp_ ? (h > 0 ? (h - 1) / s * s : -1) : (h / s + 1) * s;
    if (rollingUp_ ? next <= target_ : next >= target_) {
        timer_->SetEnabled(false);
        FinishRoll();
        return;
    }
    SetHeightDirect(next);
}

void TTeHeaderPanel::MovePanelsBelow(int edge, int by) {
    TWinControl* parent = Parent();
    if (!LinkPanels || !parent || by == 0) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TTeHeaderPanel*>(parent->Controls(i));
        if (!other || other == this || other->Left() != Left() || other->Width() != Width()) continue;
        if (std::abs(other->Top() - edge) <= 2) other->SetTop(other->Top() + by);
    }
}

void TTeHeaderPanel::FinishRoll() {
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{rolling_};
    rolling_ = true;
    SetHeightDirect(target_);
    if (rollingUp_) {
        MovePanelsBelow(Top() + normalHeight_, Height() - normalHeight_);
        rolled_ = true;
        Invalidate();
    } else {
        MovePanelsBelow(Top() + heightBefore_, Height() - heightBefore_);
    }
    if (ParentRoll && Parent()) Parent()->SetHeight(Height());
    if (Parent()) Parent()->Realign();
    if (OnRollup) OnRollup(this);
    if (OnPanelChange) OnPanelChange(this);
}

}  // namespace tarvel
