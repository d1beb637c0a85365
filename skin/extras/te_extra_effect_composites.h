#pragma once
// The header list box whose header is an effect header control: the header
// holds an effect control's animation and slot but never animates.

#include <memory>

#include "skin/extctrls/te_extctrls_header.h"
#include "skin/extras/te_extended_headerlist.h"
#include "skin/extras/te_extra_effect_button.h"

namespace tarvel {

// A header control with an effect control's animation, slot and faces; it
// keeps its hover to the plain flag and events and never animates.
class TTeEffectHeaderControl : public TTeHeaderControl {
    TARVEL_CLASS(TTeEffectHeaderControl, TTeHeaderControl)

public:
    explicit TTeEffectHeaderControl(TComponent* owner);
    ~TTeEffectHeaderControl() override;

    TTeAdvancedAnimation* Animation() const { return fx_.Animation(); }
    void SetAnimation(TTeAdvancedAnimation* value) { fx_.SetAnimation(value); }
    String VersionExtra() const { return kExtraVersion; }
    void SetVersionExtra(const String&) {}
    int ReservedSlot() const { return fx_.ReservedSlot(); }

private:
    TTeEffectParts fx_;
};

// A header list box whose header is an effect header control.
class TTeEffectHeaderListBox : public TTeHeaderListBox {
    TARVEL_CLASS(TTeEffectHeaderListBox, TTeHeaderListBox)

public:
    explicit TTeEffectHeaderListBox(TComponent* owner);

    TTeEffectHeaderControl* EffectHeader() const {
        return static_cast<TTeEffectHeaderControl*>(HeaderControl());
    }
    TTeAdvancedAnimation* Animation() const { return EffectHeader()->Animation(); }
    // Copied into the header's own; none does nothing.
    void SetAnimation(TTeAdvancedAnimation* value) { EffectHeader()->SetAnimation(value); }
};

}  // namespace tarvel
