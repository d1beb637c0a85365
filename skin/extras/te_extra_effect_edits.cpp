#include "skin/extras/te_extra_effect_edits.h"

namespace tarvel {

namespace {

TTeButton* MakeEffectButton(TTeInplaceControlEdit* self) { return new TTeEffectButton(self); }

}  // namespace

TTeEffectEditButton::TTeEffectEditButton(TComponent* owner) : TTeEditButton(owner, MakeEffectButton) {}

TTeEffectFilenameEdit::TTeEffectFilenameEdit(TComponent* owner) : TTeFilenameEdit(owner, MakeEffectButton) {}

TTeEffectDirectoryEdit::TTeEffectDirectoryEdit(TComponent* owner)
    : TTeDirectoryEdit(owner, MakeEffectButton) {}

TTeEffectSpinArrow::TTeEffectSpinArrow(TComponent* owner, bool up) : TTeSpinArrow(owner, up), fx_(this) {}

TTeEffectSpinArrow::~TTeEffectSpinArrow() { fx_.Stop(); }

void TTeEffectSpinArrow::Notification(TComponent* component, TOperation operation) {
    TTeSpinArrow::Notification(component, operation);
    fx_.Forget(component, operation);
}

void TTeEffectSpinArrow::MouseEnter() {
    fx_.SoundEnter(kscSpeedButton);
    if (!fx_.Animates(EffectActive(*this)) || Pressed()) {
        TTeSpinArrow::MouseEnter();
        return;
    }
    fx_.HoverTransit(*this, true, [this] { TTeGraphicControl::MouseEnter(); });
}

void TTeEffectSpinArrow::MouseLeave() {
    fx_.SoundLeave();
    if (!fx_.Animates(EffectActive(*this)) || Pressed()) {
        fx_.Stop();
        TTeSpinArrow::MouseLeave();
        return;
    }
    fx_.HoverTransit(*this, false, [this] { TTeGraphicControl::MouseLeave(); });
}

void TTeEffectSpinArrow::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) fx_.Stop();
    TTeSpinArrow::MouseDown(button, shift, x, y);
}

// The arrows are made while the base is built, before the spin button's own
// animation exists: they start with the effect-control defaults.
TTeEffectSpinButton::TTeEffectSpinButton(TComponent* owner)
    : TTeSpinButton(owner, [](TTeSpinButton* self, bool up) { return new TTeEffectSpinArrow(self, up); }),
      animation_(MakeEffectAnimation()) {}

TTeEffectSpinButton::~TTeEffectSpinButton() = default;

void TTeEffectSpinButton::SetAnimation(TTeAdvancedAnimation* value) {
    if (!value) return;
    if (value != animation_.get()) animation_->Assign(value);
    for (bool up : {true, false})
        if (TTeEffectSpinArrow* arrow = EffectArrow(up)) arrow->SetAnimation(value);
}

void TTeEffectSpinButton::Loaded() {
    TTeSpinButton::Loaded();
    SetAnimation(animation_.get());
}

TTeEffectSpinEdit::TTeEffectSpinEdit(TComponent* owner)
    : TTeSpinEdit(owner, [](TTeInplaceControlEdit* self) { return new TTeEffectSpinButton(self); }),
      animation_(MakeEffectAnimation()) {}

TTeEffectSpinEdit::~TTeEffectSpinEdit() = default;

void TTeEffectSpinEdit::SetAnimation(TTeAdvancedAnimation* value) {
    if (!value) return;
    if (value != animation_.get()) animation_->Assign(value);
    if (TTeEffectSpinButton* spin = EffectSpinButton()) spin->Animation()->Assign(value);
}

void TTeEffectSpinEdit::Loaded() {
    TTeSpinEdit::Loaded();
    SetAnimation(animation_.get());
}

}  // namespace tarvel
