#pragma once
// The effect speed button: the windowless tool button whose face
// cross-fades over its parent's background when the pointer comes and goes,
// with a kind that gives it a stock caption, glyph and modal result, which
// a click hands to its form.

#include "platform/classlib/Buttons.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/extras/te_extra_effect_button.h"

namespace tarvel {

class TTeEffectSpeedButton : public TTeSpeedButton {
    TARVEL_CLASS(TTeEffectSpeedButton, TTeSpeedButton)

public:
    explicit TTeEffectSpeedButton(TComponent* owner);
    ~TTeEffectSpeedButton() override;
    TARVEL_EFFECT_PROPERTIES(fx_)

    TBitBtnKind Kind() const { return kind_; }
    // Another kind takes its caption (while loading only into an empty
    // one), modal result and glyph; bkCustom keeps what the last kind gave.
    void SetKind(TBitBtnKind value);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    // Hands ModalResult to the parent form, 0 included.
    void Click() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void Hover(bool entering);
    TTeEffectParts fx_;
    TBitBtnKind kind_ = bkCustom;
    TModalResult modalResult_ = mrNone;
};

}  // namespace tarvel
