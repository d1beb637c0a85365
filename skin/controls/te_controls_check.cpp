#include "skin/controls/te_controls_check.h"

#include "platform/classlib/StdCtrlMessages.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

constexpr int kClassicBox = 13;

bool Loading(const TComponent* c) { return c->ComponentState().Contains(csLoading); }

// The font slot of a look, counted from the kind's normal text font.
int FontOffset(uint8_t look) {
    // Looks: normal, hot, pressed, disabled, focused; fonts: normal, pressed, hot, focused, disabled.
    static constexpr int offsets[] = {0, 2, 1, 4, 3};
    return offsets[look];
}

}  // namespace

// ---- TTeCustomCheck -----------------------------------------------------------------------

void TTeCustomCheck::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeCustomCheck::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeCustomCheck::SNMLinkChanged>(SNM_LINKCHANGED);
    t.Add<&TTeCustomCheck::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TTeCustomCheck::CMDialogChar>(CM_DIALOGCHAR);
    t.Add<&TTeCustomCheck::CMTextChanged>(CM_TEXTCHANGED);
    t.Add<&TTeCustomCheck::WMSysColorChange>(WM_SYSCOLORCHANGE);
}

TTeCustomCheck::TTeCustomCheck(TComponent* owner) : TTeControl(owner), TTeThemeLinked(this) {
    // Clicks are reported by DoClick alone.
    ControlStyle.Exclude(csClickEvents);
    SetBounds(Left(), Top(), 98, 20);
    SetPerformance(qvpDoubleBuffer);
    AddThemeNotification(this);
}

TTeCustomCheck::~TTeCustomCheck() { RemoveThemeNotification(this); }

void TTeCustomCheck::SetAlignment(TTeLeftRight value) {
    alignment_ = value;
    Repaint();
}
void TTeCustomCheck::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}
void TTeCustomCheck::SetSpacing(int value) {
    spacing_ = value;
    Repaint();
}
void TTeCustomCheck::SetTransparent(bool value) {
    transparent_ = value;
    Repaint();
}
void TTeCustomCheck::SetWordWrap(bool value) {
    wordWrap_ = value;
    Repaint();
}

void TTeCustomCheck::SetCaption(const WideString& value) {
    if (value == caption_) return;
    caption_ = value;
    SetText(WideToUtf8(value));
    Repaint();
}

void TTeCustomCheck::CMTextChanged(TMessage&) {
    caption_ = Utf8ToWide(Text());
    if (autoSize_) AdjustBounds();
    Repaint();
}

void TTeCustomCheck::Loaded() {
    TTeControl::Loaded();
    AdjustBounds();
    FollowThemeLink(false);
}

void TTeCustomCheck::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeCustomCheck::DoClick() {
    if (!Loading(this) && OnClick) OnClick(this);
}

// ---- theme messages -----------------------------------------------------------------------

void TTeCustomCheck::ApplyThemeBounds() {
    if (TteTheme* theme = Theme()) {
        const TRect bounds = theme->GetBounds(themeObject_);
        if (!bounds.IsEmpty()) {
            SetBoundsRect(bounds);
            return;
        }
    }
    Repaint();
}

void TTeCustomCheck::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply: ApplyThemeBounds(); break;
        case tmReleased:
        case tmSystemChanged: Repaint(); break;
        default: break;
    }
}

void TTeCustomCheck::SNMLinkChanged(TMessage& m) {
    if (IsOwnLinkMessage(m)) ApplyThemeBounds();
}

void TTeCustomCheck::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    Repaint();
}

void TTeCustomCheck::WMSysColorChange(TMessage&) { Repaint(); }

// ---- layout -------------------------------------------------------------------------------

bool TTeCustomCheck::Themed() { return IsObjectDefined(Subclass(), themeObject_, themeLink_) && Theme(); }

TTeCustomCheck::Look TTeCustomCheck::CurrentLook(bool withFocus) {
    if (!Enabled()) return Look::Disabled;
    if (pressed_) return Look::Pressed;
    if (IsHot()) return Look::Hot;
    if (withFocus && IsFocused()) return Look::Focused;
    return Look::Normal;
}

int TTeCustomCheck::BoxRow() {
    switch (CurrentLook(false)) {
        case Look::Disabled: return 0;
        case Look::Pressed: return 1;
        case Look::Hot: return 2;
        default: return 3;
    }
}

void TTeCustomCheck::SelectTextFont(TCanvas& canvas, Look look) {
    canvas.Font()->Assign(PaintFont());
    if (!Themed()) return;
    const auto index = static_cast<TteThemeFont>(FirstTextFont() + FontOffset(static_cast<uint8_t>(look)));
    if (TFont* font = Theme()->Fonts()->GetFontForObject(index, themeObject_)) canvas.Font()->Assign(font);
}

TSize TTeCustomCheck::GetBoxSize() {
    if (Themed()) return Theme()->CheckGetSize(Subclass(), themeObject_);
    return TSize{kClassicBox, kClassicBox};
}

TRect TTeCustomCheck::GetBoxRect() {
    const TSize box = GetBoxSize();
    const int left = alignment_ == kalLeftJustify ? 0 : Width() - box.cx;
    const int top = (Height() - box.cy) / 2;
    return TRect{left, top, left + box.cx, top + box.cy};
}

TRect TTeCustomCheck::GetTextRect() {
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas& c = *scratch.GetCanvas();
    PaintFont()->Assign(Font());
    SelectTextFont(c, CurrentLook(true));
    const TSize box = GetBoxSize();
    const unsigned wrap = wordWrap_ ? unsigned{DT_WORDBREAK} : 0u;
    TRect r{0, 0, Width() - box.cx - 10, TextHeight(c, caption_)};
    DrawText(c, caption_, r, DT_CALCRECT | DT_EXPANDTABS | wrap);
    const int left = alignment_ == kalLeftJustify ? box.cx + spacing_ : 2;
    r.Offset(left - r.left, (Height() - r.Height()) / 2 - r.top);
    return r;
}

void TTeCustomCheck::AdjustBounds() {
    if (Loading(this) || !autoSize_) return;
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas& c = *scratch.GetCanvas();
    PaintFont()->Assign(Font());
    SelectTextFont(c, Look::Normal);
    const TSize box = GetBoxSize();
    const unsigned wrap = wordWrap_ ? unsigned{DT_WORDBREAK} : 0u;
    TRect r{0, 0, Width() - box.cx - 10, TextHeight(c, caption_)};
    DrawText(c, caption_, r, DT_CALCRECT | DT_EXPANDTABS | wrap);
    SetBounds(Left(), Top(), r.Width() + box.cx + spacing_ + 2, Height());
}

// ---- painting -----------------------------------------------------------------------------

void TTeCustomCheck::PaintBuffer() {
    const bool see = Themed() ? Theme()->IsCheckTransparent(Subclass(), themeObject_) : transparent_;
    if (see)
        DrawControlBackground(this, *Canvas());
    else
        TTeControl::PaintBuffer();
    PaintBox();
    PaintText();
}

void TTeCustomCheck::PaintText() {
    TCanvas& c = *Canvas();
    const TRect r = GetTextRect();
    const Look look = CurrentLook(true);
    SelectTextFont(c, look);
    const unsigned flags = DT_EXPANDTABS | (wordWrap_ ? unsigned{DT_WORDBREAK} : 0u);
    TRect t = r;
    if (Themed()) {
        // The caption is drawn by the default object whatever ThemeObject names.
        const auto state = static_cast<TteCheckDrawState>(look);
        Theme()->CheckDrawText(Subclass(), c, CheckInfo(ClientRect(), state), TextInfo(t, caption_, flags),
                               "default");
    } else if (!Enabled()) {
        TRect shadow = t;
        shadow.Offset(1, 1);
        c.Font()->SetColor(clBtnHighlight);
        DrawText(c, caption_, shadow, flags);
        c.Font()->SetColor(clBtnShadow);
        DrawText(c, caption_, t, flags);
    } else {
        DrawText(c, caption_, t, flags);
    }
    if (IsFocused()) DrawFocusRect(c, RectOffset(r, 2), clWhite);
}

// ---- mouse and keys -----------------------------------------------------------------------

void TTeCustomCheck::MouseEnter() {
    TTeControl::MouseEnter();
    Repaint();
}

void TTeCustomCheck::MouseLeave() {
    TTeControl::MouseLeave();
    Repaint();
}

void TTeCustomCheck::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (!IsFocused() && CanFocus()) SetFocus();
    SetMouseCapture(true);
    pressed_ = true;
    Repaint();
}

void TTeCustomCheck::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (pressed_) {
        pressed_ = false;
        SetMouseCapture(false);
        // The far edges count as inside.
        if (x >= 0 && x <= Width() && y >= 0 && y <= Height()) Activate();
        Repaint();
    }
    TTeControl::MouseUp(button, shift, x, y);
}

void TTeCustomCheck::KeyDown(WORD& key, TShiftState shift) {
    TTeControl::KeyDown(key, shift);
    if (key != VK_SPACE) return;
    pressed_ = true;
    Repaint();
}

// OnKeyUp is not raised.
void TTeCustomCheck::KeyUp(WORD& key, TShiftState) {
    if (key != VK_SPACE) return;
    Activate();
    pressed_ = false;
    Repaint();
}

void TTeCustomCheck::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<char16_t>(m.WParam), Text()) && CanFocus()) {
        SetFocus();
        if (Focused()) Activate();
        m.Result = 1;
        return;
    }
    DispatchFrom(inherited::StaticClass(), m);
}

// ---- TTeCheckBox --------------------------------------------------------------------------

TTeCheckBox::TTeCheckBox(TComponent* owner) : TTeCustomCheck(owner) { SetTabStop(true); }

void TTeCheckBox::SetState(TTeCheckBoxState value) {
    if (value == state_) return;
    state_ = value;
    DoClick();
    Repaint();
}

void TTeCheckBox::Toggle() {
    switch (state_) {
        case kcbsUnChecked: SetState(allowGrayed_ ? kcbsMixed : kcbsChecked); break;
        case kcbsChecked: SetState(kcbsUnChecked); break;
        case kcbsMixed: SetState(kcbsChecked); break;
    }
}

TteCheckDrawState TTeCheckBox::BoxState() {
    // Rows: disabled, pressed, hot, normal; columns: unchecked, checked, mixed.
    static constexpr TteCheckDrawState table[4][3] = {
        {kcdsUncheckedDisabled, kcdsCheckedDisabled, kcdsMixedDisabled},
        {kcdsUncheckedPressed, kcdsCheckedPressed, kcdsMixedPressed},
        {kcdsUncheckedHot, kcdsCheckedHot, kcdsMixedHot},
        {kcdsUncheckedNormal, kcdsCheckedNormal, kcdsMixedNormal},
    };
    return table[BoxRow()][state_];
}

void TTeCheckBox::PaintBox() {
    TRect r = GetBoxRect();
    if (Themed()) {
        Theme()->CheckDraw(kcscCheckBox, *Canvas(), CheckInfo(r, BoxState()), ThemeObject());
        return;
    }
    unsigned state = DFCS_BUTTONCHECK;
    if (state_ == kcbsChecked) state |= DFCS_CHECKED;
    if (state_ == kcbsMixed) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (!Enabled()) state |= DFCS_INACTIVE;
    DrawFrameControl(Canvas()->Handle(), &r, DFC_BUTTON, state);
}

// ---- TTeRadioButton -----------------------------------------------------------------------

TTeRadioButton::TTeRadioButton(TComponent* owner) : TTeCustomCheck(owner) {
    SetTabStop(false);
    SetTransparent(false);
}

void TTeRadioButton::SetWordWrap(bool value) { StoreWordWrap(value); }

void TTeRadioButton::SetChecked(bool value) {
    if (value == checked_) return;
    SetTabStop(value);
    checked_ = value;
    if (value) {
        if (TWinControl* parent = Parent())
            for (int i = 0; i < parent->ControlCount(); ++i) {
                auto* other = dynamic_cast<TTeRadioButton*>(parent->Controls(i));
                if (other && other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
            }
        DoClick();
    }
    Repaint();
}

void TTeRadioButton::Activate() {
    if (checked_) return;
    SetChecked(true);
    Perform(CN_COMMAND, 0, 0);
}

// Arriving by Tab or the arrow keys checks the button.
void TTeRadioButton::HasFocus() {
    TTeCustomCheck::HasFocus();
    Repaint();
    SetChecked(true);
    Perform(CN_COMMAND, 0, 0);
}

TteCheckDrawState TTeRadioButton::BoxState() {
    static constexpr TteCheckDrawState table[4][2] = {
        {kcdsUncheckedDisabled, kcdsCheckedDisabled},
        {kcdsUncheckedPressed, kcdsCheckedPressed},
        {kcdsUncheckedHot, kcdsCheckedHot},
        {kcdsUncheckedNormal, kcdsCheckedNormal},
    };
    return table[BoxRow()][checked_ ? 1 : 0];
}

void TTeRadioButton::PaintBox() {
    TRect r = GetBoxRect();
    if (Themed()) {
        Theme()->CheckDraw(kcscRadioButton, *Canvas(), CheckInfo(r, BoxState()), ThemeObject());
        return;
    }
    unsigned state = DFCS_BUTTONRADIO;
    if (checked_) state |= DFCS_CHECKED;
    if (!Enabled()) state |= DFCS_INACTIVE;
    DrawFrameControl(Canvas()->Handle(), &r, DFC_BUTTON, state);
}

}  // namespace tarvel
