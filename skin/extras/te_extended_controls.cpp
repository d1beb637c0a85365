#include "skin/extras/te_extended_controls.h"

#include "skin/core/te_const.h"

namespace tarvel {

// ---- TTeExtraControl ------------------------------------------------------------

void TTeExtraControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeExtraControl::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

void TTeExtraControl::SetThemeObject(const String& value) {
    if (value == themeObject_) return;
    themeObject_ = value;
    Invalidate();
}

void TTeExtraControl::SNMThemeMessage(TMessage&) { Invalidate(); }

// ---- TTeExtraGraphicControl -----------------------------------------------------

void TTeExtraGraphicControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeExtraGraphicControl::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

void TTeExtraGraphicControl::SetThemeObject(const String& value) {
    if (value == themeObject_) return;
    themeObject_ = value;
    Invalidate();
}

void TTeExtraGraphicControl::SetThemeLink(TteCustomThemeLink* value) {
    if (value == themeLink_) return;
    if (themeLink_) themeLink_->RemoveFreeNotification(this);
    themeLink_ = value;
    if (themeLink_) themeLink_->FreeNotification(this);
    Invalidate();
}

void TTeExtraGraphicControl::Notification(TComponent* component, TOperation operation) {
    TTeGraphicControl::Notification(component, operation);
    // The link is not ours; one being freed is forgotten.
    if (operation == TOperation::opRemove && component == themeLink_) themeLink_ = nullptr;
}

void TTeExtraGraphicControl::SNMThemeMessage(TMessage&) { Invalidate(); }

// ---- TTeBoundLabel --------------------------------------------------------------

TTeBoundLabel::TTeBoundLabel(TComponent* owner) : TTeLabel(owner) {
    SetName("SubLabel");
    if (owner) SetCaption(Utf8ToWide(owner->Name()));
}

void TTeBoundLabel::AdjustBounds() {
    TTeLabel::AdjustBounds();
    if (auto* edit = dynamic_cast<TTeCustomLabeledEdit*>(Owner()))
        edit->SetLabelPosition(edit->LabelPosition());
}

// ---- TTeCustomLabeledEdit -------------------------------------------------------

void TTeCustomLabeledEdit::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeCustomLabeledEdit::CMVisibleChanged>(CM_VISIBLECHANGED);
    t.Add<&TTeCustomLabeledEdit::CMEnabledChanged>(CM_ENABLEDCHANGED);
}

TTeCustomLabeledEdit::TTeCustomLabeledEdit(TComponent* owner) : TTeEdit(owner) { SetupInternalLabel(); }

void TTeCustomLabeledEdit::SetupInternalLabel() {
    if (editLabel_) return;
    editLabel_ = new TTeBoundLabel(this);
    editLabel_->FreeNotification(this);
    editLabel_->SetFocusControl(this);
}

void TTeCustomLabeledEdit::SetLabelPosition(TTeLabelPosition value) {
    if (!editLabel_) return;
    labelPosition_ = value;
    const int lw = editLabel_->Width();
    const int lh = editLabel_->Height();
    TPoint p;
    switch (value) {
        case lpAbove: p = TPoint{Left(), Top() - lh - labelSpacing_}; break;
        case lpBelow: p = TPoint{Left(), Top() + Height() + labelSpacing_}; break;
        case lpLeft: p = TPoint{Left() - lw - labelSpacing_, Top() + (Height() - lh) / 2}; break;
        case lpRight: p = TPoint{Left() + Width() + labelSpacing_, Top() + (Height() - lh) / 2}; break;
    }
    editLabel_->SetBounds(p.x, p.y, lw, lh);
}

void TTeCustomLabeledEdit::SetLabelSpacing(int value) {
    labelSpacing_ = value;
    SetLabelPosition(labelPosition_);
}

void TTeCustomLabeledEdit::SetBounds(int left, int top, int width, int height) {
    TTeEdit::SetBounds(left, top, width, height);
    SetLabelPosition(labelPosition_);
}

void TTeCustomLabeledEdit::SetParent(TWinControl* parent) {
    TTeEdit::SetParent(parent);
    if (!editLabel_) return;
    editLabel_->SetParent(parent);
    editLabel_->SetVisible(true);
}

void TTeCustomLabeledEdit::SetName(const String& name) {
    const bool designing = ComponentState().Contains(csDesigning);
    if (designing && editLabel_) {
        const String caption = WideToUtf8(editLabel_->GetCaption());
        if (caption.empty() || SameText(caption, Name())) editLabel_->SetCaption(Utf8ToWide(name));
    }
    TTeEdit::SetName(name);
    if (designing) SetTextValue("");
}

void TTeCustomLabeledEdit::Notification(TComponent* component, TOperation operation) {
    TTeEdit::Notification(component, operation);
    if (operation == TOperation::opRemove && component == editLabel_) editLabel_ = nullptr;
}

void TTeCustomLabeledEdit::CMVisibleChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (editLabel_) editLabel_->SetVisible(Visible());
}

void TTeCustomLabeledEdit::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (editLabel_) editLabel_->SetEnabled(Enabled());
}

}  // namespace tarvel
