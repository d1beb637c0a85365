#include "skin/extras/te_extra_effect_speedbutton.h"

#include "platform/classlib/Forms.h"
#include "skin/controls/te_controls_button.h"

namespace tarvel {

TTeEffectSpeedButton::TTeEffectSpeedButton(TComponent* owner) : TTeSpeedButton(owner), fx_(this) {}

TTeEffectSpeedButton::~TTeEffectSpeedButton() { fx_.Stop(); }

void TTeEffectSpeedButton::Notification(TComponent* component, TOperation operation) {
    TTeSpeedButton::Notification(component, operation);
    fx_.Forget(component, operation);
}

void TTeEffectSpeedButton::SetKind(TBitBtnKind value) {
    if (value == kind_) return;
    if (value != bkCustom) {
        const TTeButtonKindInfo& info = ButtonKindInfo(value);
        if (!(ComponentState().Contains(csLoading) && !GetCaption().empty()))
            SetCaption(Utf8ToWide(info.Caption));
        modalResult_ = info.Result;
        SetGlyph(ButtonKindGlyph(value));
        SetNumGlyphs(2);
    }
    kind_ = value;
    Invalidate();
}

// The hover flag changes without OnMouseEnter or OnMouseLeave, which fire
// before the transition starts. A held button keeps the base's behaviour:
// its face follows the press, not the hover.
void TTeEffectSpeedButton::Hover(bool entering) {
    fx_.HoverTransit(*this, entering, [this, entering] {
        entering ? TTeGraphicControl::MouseEnter() : TTeGraphicControl::MouseLeave();
    });
}

void TTeEffectSpeedButton::MouseEnter() {
    fx_.SoundEnter(kscSpeedButton);
    if (!fx_.Animates(EffectActive(*this)) || State() == ksbsDown || State() == ksbsChevronDown) {
        TTeSpeedButton::MouseEnter();
        return;
    }
    Hover(true);
}

void TTeEffectSpeedButton::MouseLeave() {
    fx_.SoundLeave();
    if (!fx_.Animates(EffectActive(*this)) || State() == ksbsDown || State() == ksbsChevronDown) {
        fx_.Stop();
        TTeSpeedButton::MouseLeave();
        return;
    }
    Hover(false);
}

void TTeEffectSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) fx_.Stop();
    TTeSpeedButton::MouseDown(button, shift, x, y);
}

void TTeEffectSpeedButton::Click() {
    fx_.SoundClick(kscSpeedButton);
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TTeSpeedButton::Click();
}

}  // namespace tarvel
