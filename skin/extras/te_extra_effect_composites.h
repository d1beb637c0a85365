#pragma once
// Library controls whose embedded button or header is an effect control:
// the composite carries an animation and hands it down to the part, so the
// part cross-fades on hover while the composite itself never animates.

#include <memory>

#include "skin/controls/te_controls_editbtn.h"
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

// An edit whose button is an effect button.
class TTeEffectEditButton : public TTeEditButton {
    TARVEL_CLASS(TTeEffectEditButton, TTeEditButton)

public:
    explicit TTeEffectEditButton(TComponent* owner);
    ~TTeEffectEditButton() override;

    TTeEffectButton* EffectButton() const { return static_cast<TTeEffectButton*>(Button()); }
    TTeAdvancedAnimation* Animation() const { return animation_.get(); }
    // Copies the value and hands it to the button; while the shared
    // animation is switched on, that one goes down instead. None does nothing.
    void SetAnimation(TTeAdvancedAnimation* value);
    String VersionExtra() const { return kExtraVersion; }
    void SetVersionExtra(const String&) {}

protected:
    // Settings read from a form reach the button.
    void Loaded() override;

private:
    std::unique_ptr<TTeAdvancedAnimation> animation_;
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
