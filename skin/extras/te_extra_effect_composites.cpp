#include "skin/extras/te_extra_effect_composites.h"

namespace tarvel {

TTeEffectHeaderControl::TTeEffectHeaderControl(TComponent* owner) : TTeHeaderControl(owner), fx_(this) {}

TTeEffectHeaderControl::~TTeEffectHeaderControl() { fx_.Stop(); }

TTeEffectHeaderListBox::TTeEffectHeaderListBox(TComponent* owner)
    : TTeHeaderListBox(owner, [](TTeHeaderListBox* self) { return new TTeEffectHeaderControl(self); }) {}

}  // namespace tarvel
