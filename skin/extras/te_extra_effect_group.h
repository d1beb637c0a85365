#pragma once
// The effect group box, whose caption check box is an effect check box,
// and the effect combo box, whose drop-down button cross-fades between its
// normal and hot look when the pointer comes onto it or goes.

#include <memory>

#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_group.h"
#include "skin/extras/te_extra_effect_button.h"

namespace tarvel {

class TTeEffectGroupBox : public TTeGroupBox {
    TARVEL_CLASS(TTeEffectGroupBox, TTeGroupBox)

public:
    explicit TTeEffectGroupBox(TComponent* owner);
    ~TTeEffectGroupBox() override;

    TTeAdvancedAnimation* Animation() const { return animation_.get(); }
    // Copies into the own animation, and hands the value (the shared one
    // while the global switch is on) to the caption check box if there is one.
    void SetAnimation(TTeAdvancedAnimation* value);
    String VersionExtra() const { return kExtraVersion; }
    void SetVersionExtra(const String&) {}

    TTeCheckBox* CreateCheckBox() override;

private:
    std::unique_ptr<TTeAdvancedAnimation> animation_;
};

class TTeEffectComboBox : public TTeComboBox {
    TARVEL_CLASS(TTeEffectComboBox, TTeComboBox)

public:
    explicit TTeEffectComboBox(TComponent* owner);
    ~TTeEffectComboBox() override;
    TARVEL_EFFECT_PROPERTIES(fx_)

    void ButtonClick() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void PaintBackground(const TRect& rect, TCanvas& canvas) override;

private:
    // The button alone, as the base draws it, at (0, 0) of face.
    void PaintButton(TteBitmap& face);
    void ButtonTransit(bool hot);
    TTeEffectParts fx_;
};

}  // namespace tarvel
