// TLabel and TButton, and the text helpers of the standard controls.

#include "platform/classlib/StdCtrls.h"

#include <algorithm>

#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

// ---- drawing helpers ------------------------------------------------------------------

void FillColor(HDC dc, const TRect& r, TColor color) {
    HBRUSH brush = CreateSolidBrush(ColorToColorRef(color));
    FillRect(dc, r, brush);
    DeleteObject(brush);
}

HBRUSH AnswerBrush(TColor color) {
    static HBRUSH brush;
    if (brush) DeleteObject(brush);
    brush = CreateSolidBrush(ColorToColorRef(color));
    return brush;
}

void DrawCaption(HDC dc, TFont* font, const String& text, TRect r, unsigned format, TColor color) {
    int saved = SaveDC(dc);
    SelectObject(dc, font->Handle());
    SetTextColor(dc, ColorToColorRef(color));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, &r, format);
    RestoreDC(dc, saved);
}

int TextWidthOf(TFont* font, std::u16string_view text) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font->Handle());
    TSize size;
    GetTextExtentPoint32W(dc, text, &size);
    DeleteDC(dc);
    return size.cx;
}

TSize MeasureText(TFont* font, const String& text, int wrapWidth, bool prefixes) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font->Handle());
    TRect r{0, 0, std::max(0, wrapWidth), 0};
    unsigned format =
        DT_CALCRECT | (wrapWidth > 0 ? unsigned{DT_WORDBREAK} : 0u) | (prefixes ? 0u : unsigned{DT_NOPREFIX});
    DrawTextA(dc, text.empty() ? String(" ") : text, &r, format);
    DeleteDC(dc);
    return TSize{text.empty() ? 0 : r.Width(), r.Height()};
}

// ---- TLabel --------------------------------------------------------------------------------

void TLabel::DeclareMessages(TMessageTable& t) { t.Add<&TLabel::CMDialogChar>(CM_DIALOGCHAR); }

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle += {csOpaque, csReplicatable};
    SetBounds(0, 0, 65, 17);
    SetAutoSize(true);
    SetParentColor(true);
}

unsigned TLabel::TextFlags() const {
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    static const unsigned kEllipsis[] = {0, DT_SINGLELINE | DT_PATH_ELLIPSIS,
                                         DT_SINGLELINE | DT_END_ELLIPSIS};
    return kAlign[alignment_] | (wordWrap_ ? unsigned{DT_WORDBREAK} : kEllipsis[ellipsis_]) |
           (showAccelChar_ ? 0u : unsigned{DT_NOPREFIX}) | DT_EXPANDTABS;
}

void TLabel::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    if (!transparent_) FillColor(dc, r, Color());
    if (layout_ != tlTop) {
        const int textHeight = MeasureText(Font(), Caption(), wordWrap_ ? r.Width() : 0, showAccelChar_).cy;
        const int room = std::max(0, r.Height() - textHeight);
        r.top += layout_ == tlCenter ? room / 2 : room;
    }
    DrawCaption(dc, Font(), Caption(), r, TextFlags(), Enabled() ? Font()->Color() : clGrayText);
}

void TLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    Invalidate();
}

bool TLabel::CanAutoSize(int& newWidth, int& newHeight) {
    // An empty caption still measures a blank, so the label never shrinks
    // to nothing and a word-wrapped one keeps a width to wrap in.
    const String text = Caption().empty() ? String(" ") : Caption();
    TSize s = MeasureText(Font(), text, wordWrap_ ? newWidth : 0, showAccelChar_);
    if (!wordWrap_) newWidth = s.cx;
    newHeight = std::max(s.cy, MeasureText(Font(), "Wg", 0, false).cy);
    return true;
}

void TLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}

void TLabel::SetEllipsisPosition(TEllipsisPosition e) {
    ellipsis_ = e;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    wordWrap_ = v;
    AdjustSize();
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    transparent_ = v;
    if (v)
        ControlStyle.Exclude(csOpaque);
    else
        ControlStyle.Include(csOpaque);
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
    showAccelChar_ = v;
    AdjustSize();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* control) {
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = control;
    if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TLabel::CMDialogChar(TMessage& m) {
    if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<char16_t>(m.WParam), Caption()) &&
        focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
    }
}

// ---- TButton ---------------------------------------------------------------------------------

void TButton::DeclareMessages(TMessageTable& t) {
    t.Add<&TButton::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TButton::CMDialogKeyButton>(CM_DIALOGKEY);
    t.Add<&TButton::CMDialogCharButton>(CM_DIALOGCHAR);
    t.Add<&TButton::CMFocusChanged>(CM_FOCUSCHANGED);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    ControlStyle = {csSetCaption, csDoubleClicks, csCaptureMouse, csClickEvents, csOpaque};
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
}

void TButton::SetDefault(bool v) {
    default_ = v;
    Invalidate();
}

bool TButton::IsActive() {
    if (Focused()) return true;
    if (!default_) return false;
    TCustomForm* form = GetParentForm(this);
    TWinControl* focus = form ? form->ActiveControl() : nullptr;
    return !(focus && focus != this && focus->Is<TButton>());
}

void TButton::Click() {
    if (modalResult_ != mrNone) {
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    }
    TButtonControl::Click();
}

void TButton::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    if (IsActive()) {
        HBRUSH frame = CreateSolidBrush(ColorToColorRef(clWindowFrame));
        FrameRect(dc, r, frame);
        DeleteObject(frame);
        r = TRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed_ ? unsigned{DFCS_PUSHED} : 0u));
    TRect text = r;
    if (pressed_) text.Offset(1, 1);
    DrawCaption(dc, Font(), Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                Enabled() ? Font()->Color() : clGrayText);
    if (Focused()) DrawFocusRect(dc, TRect{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3});
}

void TButton::SetPressed(bool pressed) {
    if (pressed == pressed_) return;
    pressed_ = pressed;
    Invalidate();
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        tracking_ = true;
        SetPressed(true);
    }
    TButtonControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
    if (tracking_) SetPressed(ClientRect().Contains(TPoint{x, y}));
    TButtonControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        tracking_ = false;
        SetPressed(false);
    }
    TButtonControl::MouseUp(button, shift, x, y);
}

void TButton::KeyDown(WORD& key, TShiftState shift) {
    TButtonControl::KeyDown(key, shift);
    if (key == VK_SPACE) SetPressed(true);
}

void TButton::KeyUp(WORD& key, TShiftState shift) {
    TButtonControl::KeyUp(key, shift);
    if (key == VK_SPACE && pressed_) {
        SetPressed(false);
        Click();
    }
}

void TButton::DoEnter() {
    Invalidate();
    TButtonControl::DoEnter();
}

void TButton::DoExit() {
    SetPressed(false);
    Invalidate();
    TButtonControl::DoExit();
}

void TButton::WMGetDlgCode(TMessage& m) {
    m.Result = DLGC_BUTTON | (IsActive() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TButton::CMDialogKeyButton(TMessage& m) {
    const bool plain = (KeyDataToShiftState(m.LParam) * TShiftState{ssShift, ssAlt, ssCtrl}).Empty();
    if (plain && ((m.WParam == VK_RETURN && IsActive()) || (m.WParam == VK_ESCAPE && cancel_)) &&
        CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMDialogCharButton(TMessage& m) {
    if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMFocusChanged(TMessage&) {
    if (default_) Invalidate();
}

}  // namespace tarvel
