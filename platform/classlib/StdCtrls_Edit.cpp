// TEdit: one line of text with a caret and a selection.

#include <algorithm>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {
constexpr int kTextIndent = 2;
}

void TEdit::DeclareMessages(TMessageTable& t) {
    t.Add<&TEdit::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TEdit::WMCharEdit>(WM_CHAR);
    t.Add<&TEdit::CMTextChangedEdit>(CM_TEXTCHANGED);
}

TEdit::TEdit(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetCursor(crIBeam);
}

void TEdit::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

WideString TEdit::Shown() const {
    WideString w = Wide();
    if (passwordChar_) w.assign(w.size(), passwordChar_);
    return w;
}

void TEdit::SetPasswordChar(char16_t c) {
    passwordChar_ = c;
    Invalidate();
}

void TEdit::SetSelStart(int pos) {
    selStart_ = std::clamp(pos, 0, static_cast<int>(Wide().size()));
    selLength_ = 0;
    Invalidate();
}

void TEdit::SetSelLength(int length) {
    selLength_ = std::clamp(length, 0, static_cast<int>(Wide().size()) - selStart_);
    Invalidate();
}

void TEdit::SelectAll() {
    selStart_ = 0;
    selLength_ = static_cast<int>(Wide().size());
    Invalidate();
}

String TEdit::SelText() const {
    return WideToUtf8(Wide().substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_)));
}

void TEdit::SetSelText(const String& text) {
    WideString w = Wide();
    WideString add = Utf8ToWide(text);
    const size_t start = std::min(static_cast<size_t>(selStart_), w.size());
    const size_t length = std::min(static_cast<size_t>(selLength_), w.size() - start);
    w.erase(start, length);
    if (maxLength_ > 0) add.resize(std::min(add.size(), static_cast<size_t>(std::max(0, maxLength_ - static_cast<int>(w.size())))));
    w.insert(start, add);
    const int caret = static_cast<int>(start + add.size());
    SetText(WideToUtf8(w));
    selStart_ = caret;
    selLength_ = 0;
    Invalidate();
}

void TEdit::CMTextChangedEdit(TMessage&) {
    const int length = static_cast<int>(Wide().size());
    selStart_ = std::min(selStart_, length);
    selLength_ = std::min(selLength_, length - selStart_);
    Invalidate();
    Change();
}

void TEdit::Change() {
    if (OnChange) OnChange(this);
}

void TEdit::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS; }

void TEdit::WMCharEdit(TMessage& m) {
    if (DoKeyPress(m)) return;
    const char16_t ch = static_cast<char16_t>(m.WParam);
    if (ch == 1) {  // Ctrl+A
        SelectAll();
        return;
    }
    if (readOnly_) return;
    if (ch == u'\b') {
        if (selLength_ == 0 && selStart_ > 0) {
            --selStart_;
            selLength_ = 1;
        }
        if (selLength_ > 0) SetSelText("");
        return;
    }
    if (ch < u' ' || ch == 127) return;
    SetSelText(WideToUtf8(WideString(1, ch)));
}

void TEdit::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const int length = static_cast<int>(Wide().size());
    const int caret = selStart_ + selLength_;
    switch (key) {
        case VK_LEFT: SetSelStart(selLength_ ? selStart_ : caret - 1); break;
        case VK_RIGHT: SetSelStart(selLength_ ? caret : caret + 1); break;
        case VK_HOME: SetSelStart(0); break;
        case VK_END: SetSelStart(length); break;
        case VK_DELETE:
            if (readOnly_) break;
            if (selLength_ == 0 && selStart_ < length) selLength_ = 1;
            if (selLength_ > 0) SetSelText("");
            break;
        default: return;
    }
    key = 0;
}

int TEdit::PositionAt(int x) {
    const WideString shown = Shown();
    const int target = x - kTextIndent + scroll_;
    for (size_t i = 0; i < shown.size(); ++i) {
        int before = TextWidthOf(Font(), std::u16string_view(shown).substr(0, i));
        int after = TextWidthOf(Font(), std::u16string_view(shown).substr(0, i + 1));
        if (target < (before + after) / 2) return static_cast<int>(i);
    }
    return static_cast<int>(shown.size());
}

void TEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) SetSelStart(PositionAt(x));
    TCustomControl::MouseDown(button, shift, x, y);
}

void TEdit::DoEnter() {
    if (autoSelect_) SelectAll();
    Invalidate();
    TCustomControl::DoEnter();
}

void TEdit::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TEdit::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect client = ClientRect();
    FillColor(dc, client, Enabled() ? Color() : clBtnFace);
    const WideString shown = Shown();
    const std::u16string_view view(shown);
    const bool focused = Focused();
    const int caret = std::min(selStart_ + selLength_, static_cast<int>(shown.size()));
    const int caretX = TextWidthOf(Font(), view.substr(0, static_cast<size_t>(caret)));
    const int room = std::max(1, client.Width() - 2 * kTextIndent);
    if (caretX - scroll_ > room) scroll_ = caretX - room;
    if (caretX < scroll_) scroll_ = caretX;

    const int lineHeight = MeasureText(Font(), "Wg", 0, false).cy;
    const int y = std::max(0, (client.Height() - lineHeight) / 2);
    const int x0 = kTextIndent - scroll_;
    TRect line{x0, y, client.right + 4096, y + lineHeight};
    const TColor textColor = Enabled() ? Font()->Color() : clGrayText;
    DrawCaption(dc, Font(), WideToUtf8(shown), line, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP, textColor);
    if (focused && selLength_ > 0) {
        const int a = TextWidthOf(Font(), view.substr(0, static_cast<size_t>(selStart_)));
        const String selected = WideToUtf8(view.substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_)));
        TRect sel{x0 + a, y, x0 + caretX, y + lineHeight};
        FillColor(dc, sel, clHighlight);
        DrawCaption(dc, Font(), selected, sel, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP, clHighlightText);
    }
    if (focused) FillColor(dc, TRect{x0 + caretX, y, x0 + caretX + 1, y + lineHeight}, clWindowText);
}

}  // namespace tarvel
