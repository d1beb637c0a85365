#include "skin/controls/te_controls_editbtn.h"

#include "platform/classlib/Filer.h"

#include <algorithm>

#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

// ---- the edit with a control inside ------------------------------------------------------------

void TTeInplaceControlEdit::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeInplaceControlEdit::CMEnabledChangedInplace>(CM_ENABLEDCHANGED);
}

TTeInplaceControlEdit::TTeInplaceControlEdit(TComponent* owner)
    : TTeInplaceControlEdit(owner, [](TTeInplaceControlEdit* self) { return new TTeControl(self); }) {}

TTeInplaceControlEdit::TTeInplaceControlEdit(TComponent* owner, const TButtonFactory& makeButton)
    : TTeEdit(owner) {
    button_ = makeButton(this);
    button_->SetWidth(19);
    button_->SetParent(this);
    button_->SetShowHint(ShowHint());
    button_->SetTabStop(false);
    button_->OnClick = [this](TObject* s) { EditButtonClick(s); };
    UpdateButtonBounds();
}

TTeInplaceControlEdit::~TTeInplaceControlEdit() {
    if (button_) button_->OnClick = nullptr;
}

void TTeInplaceControlEdit::CreateWnd() {
    TTeEdit::CreateWnd();
    UpdateButtonBounds();
}

void TTeInplaceControlEdit::SetBounds(int left, int top, int width, int height) {
    TTeEdit::SetBounds(left, top, width, height);
    UpdateButtonBounds();
}

void TTeInplaceControlEdit::SetButtonAlign(TTeButtonAlign value) {
    if (value == buttonAlign_) return;
    buttonAlign_ = value;
    UpdateButtonBounds();
}

void TTeInplaceControlEdit::SetButtonWidth(int value) {
    if (!button_ || value == button_->Width()) return;
    button_->SetWidth(value);
    UpdateButtonBounds();
}

TRect TTeInplaceControlEdit::GetEditRect() {
    TRect r = TTeEdit::GetEditRect();
    const bool themed = IsObjectDefined(kescEditLeft, ThemeObject(), nullptr) ||
                        IsObjectDefined(kescEditRight, ThemeObject(), nullptr);
    if (themed && CurrentTheme) {
        TBitmap measure(1, 1);
        r = CurrentTheme->EditGetClientRect(
            buttonAlign_ == baRight ? kescEditRight : kescEditLeft, *measure.Canvas(),
            EditInfo(TRect{0, 0, Width(), Height()}, kedsNormal), ThemeObject());
    }
    if (buttonAlign_ == baRight)
        r.right -= GetButtonWidth();
    else
        r.left += GetButtonWidth();
    return r;
}

void TTeInplaceControlEdit::UpdateButtonBounds() {
    if (!button_) return;
    const TRect r = GetEditRect();
    // Visual styles never draw here, so the button always takes two pixels
    // of the frame on each side.
    const int d = 2;
    const int w = GetButtonWidth();
    const int left = buttonAlign_ == baRight ? r.right + d : r.left - w - d;
    button_->SetBounds(left, r.top - d, w, r.Height() + 2 * d);
    Invalidate();
}

void TTeInplaceControlEdit::PaintBackground(const TRect& rect, TCanvas& canvas) {
    TRect wide = rect;
    if (buttonAlign_ == baRight)
        wide.right += GetButtonWidth();
    else
        wide.left -= GetButtonWidth();
    TTeEdit::PaintBackground(wide, canvas);
}

void TTeInplaceControlEdit::ButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
}

void TTeInplaceControlEdit::DefineProperties(TFiler& filer) {
    TTeEdit::DefineProperties(filer);
    filer.DefineProperty(
        "ButtonData", [this](TReader& r) { ReadButtonData(r); }, [this](TWriter& w) { WriteButtonData(w); },
        true);
}

// Seven values: two unused ones, caption, hint, the always-false
// transparency, the hint flag and the width.
void TTeInplaceControlEdit::WriteButtonData(TWriter& w) {
    w.WriteListBegin();
    w.WriteBoolean(false);
    w.WriteInteger(0);
    w.WriteString(button_->Caption());
    w.WriteString(button_->Hint());
    w.WriteBoolean(false);
    w.WriteBoolean(button_->ShowHint());
    w.WriteInteger(GetButtonWidth());
    w.WriteListEnd();
}

void TTeInplaceControlEdit::ReadButtonData(TReader& r) {
    r.ReadListBegin();
    r.SkipValue();
    r.SkipValue();
    const String caption = r.ReadString();
    const String hint = r.ReadString();
    r.SkipValue();
    const bool showHint = r.ReadBoolean();
    const int width = r.ReadInteger();
    r.ReadListEnd();
    button_->SetCaption(caption);
    button_->SetHint(hint);
    button_->SetShowHint(showHint);
    SetButtonWidth(width);
}

void TTeInplaceControlEdit::CMEnabledChangedInplace(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (button_) button_->SetEnabled(Enabled());
}

// ---- the edit with a push button ---------------------------------------------------------------

TTeEditButton::TTeEditButton(TComponent* owner)
    : TTeEditButton(owner, [](TTeInplaceControlEdit* self) { return new TTeInplaceButton(self); }) {}

TTeEditButton::TTeEditButton(TComponent* owner,
                             const std::function<TTeButton*(TTeInplaceControlEdit*)>& makeButton)
    : TTeInplaceControlEdit(owner, [&makeButton](TTeInplaceControlEdit* self) { return makeButton(self); }) {}

TTeEditButton::~TTeEditButton() { Button()->OnClick = nullptr; }

void TTeEditButton::SetGlyph(TBitmap* value) {
    InplaceButton()->SetGlyph(value);
    glyphKind_ = gkCustom;
}

void TTeEditButton::SetGlyphKind(TGlyphKind value) {
    if (value == glyphKind_) return;
    glyphKind_ = value;
    RecreateGlyph();
    if (value == gkDefault && !Glyph()->Empty()) {
        const int n = InplaceButton()->NumGlyphs();
        const int w = (n > 0 ? Glyph()->Width() / n : Glyph()->Width()) + 6;
        SetButtonWidth(std::max(w, GetButtonWidth()));
    }
}

void TTeEditButton::SetButtonWidth(int value) {
    if (value == GetButtonWidth()) return;
    Button()->SetVisible(value > 1);
    if (value < ClientWidth()) {
        Button()->SetWidth(std::max(value, 0));
        UpdateButtonBounds();
    }
    RecreateGlyph();
}

bool TTeEditButton::BtnWidthStored() {
    if (glyphKind_ == gkDefault && !Glyph()->Empty()) {
        const int n = InplaceButton()->NumGlyphs();
        const int w = n > 0 ? Glyph()->Width() / n + 6 : Glyph()->Width() + 6;
        return GetButtonWidth() != std::max(w, 19);
    }
    return GetButtonWidth() != 19;
}

void TTeEditButton::RecreateGlyph() {
    TTeButton* b = InplaceButton();
    if (glyphKind_ == gkDefault) {
        bool freeIt = false;
        TBitmap* bitmap = GetDefaultBitmap(freeIt);
        TBitmap none;
        b->SetGlyph(bitmap ? bitmap : &none);
        if (freeIt) delete bitmap;
        b->SetNumGlyphs(defaultNumGlyphs_);
    } else if (glyphKind_ == gkEllipsis) {
        const auto glyph = MakeEllipsisGlyph(GetButtonWidth());
        b->SetGlyph(glyph.get());
        b->SetNumGlyphs(1);
    }
}

std::unique_ptr<TBitmap> MakeEllipsisGlyph(int buttonWidth) {
    const int w = std::max(1, buttonWidth - 6);
    auto bitmap = std::make_unique<TBitmap>(w, 4);
    TCanvas& c = *bitmap->Canvas();
    FillRect(c, TRect{0, 0, w, 4}, clWhite);
    const int gap = std::clamp((w - 6) / 2, 1, 3);
    const int x0 = (w - 6 - 2 * gap) / 2;
    for (int x : {x0, x0 + gap + 2, x0 + 2 * gap + 4}) FillRect(c, TRect{x, 1, x + 2, 3}, clBlack);
    return bitmap;
}

}  // namespace tarvel
