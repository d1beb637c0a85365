#include "skin/extras/te_extra_effect_composites.h"

namespace tarvel {

TTeEffectHeaderControl::TTeEffectHeaderControl(TComponent* owner) : TTeHeaderControl(owner), fx_(this) {}

TTeEffectHeaderControl::~TTeEffectHeaderControl() { fx_.Stop(); }

TTeEffectHeaderListBox::TTeEffectHeaderListBox(TComponent* owner)
    : TTeHeaderListBox(owner, [](TTeHeaderListBox* self) { return new TTeEffectHeaderControl(self); }) {}

// The button is made while the base is built, before the composite's own
// animation exists: it starts with the effect-control defaults.
TTeEffectEditButton::TTeEffectEditButton(TComponent* owner)
    : TTeEditButton(owner, [](TTeInplaceControlEdit* self) { return new TTeEffectButton(self); }),
      animation_(std::make_unique<TTeAdvancedAnimation>()) {
    SetEffectDefaults(*animation_);
}

TTeEffectEditButton::~TTeEffectEditButton() = default;

void TTeEffectEditButton::SetAnimation(TTeAdvancedAnimation* value) {
    if (!value) return;
    if (value != animation_.get()) animation_->Assign(value);
    TTeAdvancedAnimation* down = DefaultEffectOptions.Enabled && DefaultEffectOptions.Animation
                                     ? DefaultEffectOptions.Animation
                                     : value;
    if (TTeEffectButton* b = EffectButton()) b->SetAnimation(down);
}

void TTeEffectEditButton::Loaded() {
    TTeEditButton::Loaded();
    SetAnimation(animation_.get());
}

}  // namespace tarvel
