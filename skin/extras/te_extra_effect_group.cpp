#include "skin/extras/te_extra_effect_group.h"

#include <utility>

namespace tarvel {

// ---- TTeEffectGroupBox ----------------------------------------------------------------------

TTeEffectGroupBox::TTeEffectGroupBox(TComponent* owner)
    : TTeGroupBox(owner), animation_(std::make_unique<TTeAdvancedAnimation>()) {
    SetEffectDefaults(*animation_);
}

TTeEffectGroupBox::~TTeEffectGroupBox() = default;

void TTeEffectGroupBox::SetAnimation(TTeAdvancedAnimation* value) {
    if (!value) return;
    if (value != animation_.get()) animation_->Assign(value);
    auto* box = dynamic_cast<TTeEffectCheckBox*>(CheckBox());
    if (!box) return;
    box->SetAnimation(DefaultEffectOptions.Enabled && DefaultEffectOptions.Animation
                          ? DefaultEffectOptions.Animation
                          : value);
}

TTeCheckBox* TTeEffectGroupBox::CreateCheckBox() {
    auto* box = new TTeEffectCheckBox(this);
    box->SetAnimation(animation_.get());
    return box;
}

// ---- TTeEffectComboBox ----------------------------------------------------------------------

TTeEffectComboBox::TTeEffectComboBox(TComponent* owner) : TTeComboBox(owner), fx_(this) {}

TTeEffectComboBox::~TTeEffectComboBox() { fx_.Stop(); }

void TTeEffectComboBox::Notification(TComponent* component, TOperation operation) {
    TTeComboBox::Notification(component, operation);
    fx_.Forget(component, operation);
}

void TTeEffectComboBox::ButtonClick() {
    fx_.SoundClick(kscComboClick);
    TTeComboBox::ButtonClick();
}

void TTeEffectComboBox::PaintButton(TteBitmap& face) {
    TteBitmap whole;
    whole.SetSize(Width(), Height());
    const bool was = std::exchange(paintButtonOnly_, true);
    try {
        PaintBackground(TRect{0, 0, Width(), Height()}, *whole.GetCanvas());
    } catch (...) {
        paintButtonOnly_ = was;
        throw;
    }
    paintButtonOnly_ = was;
    const TRect b = GetButtonRect();
    face.SetSize(b.Width(), b.Height());
    whole.Draw(face.DC(), 0, 0, b);
}

void TTeEffectComboBox::ButtonTransit(bool hot) {
    const TRect b = GetButtonRect();
    fx_.Transit(
        hot, HandleAllocated() ? Canvas() : nullptr, TPoint{b.left, b.top},
        [this](TteBitmap& face) { PaintButton(face); }, [this, hot] { SetButtonHotFlag(hot); },
        [this] { Invalidate(); });
}

// A repaint while the button fades (the text's own hover) keeps the
// fade's starting face under it, which the next frame covers, rather than
// jumping to the end.
void TTeEffectComboBox::PaintBackground(const TRect& rect, TCanvas& canvas) {
    if (paintButtonOnly_ || !fx_.Running()) {
        TTeComboBox::PaintBackground(rect, canvas);
        return;
    }
    const bool hot = ButtonHot();
    SetButtonHotFlag(!hot);
    try {
        TTeComboBox::PaintBackground(rect, canvas);
    } catch (...) {
        SetButtonHotFlag(hot);
        throw;
    }
    SetButtonHotFlag(hot);
}

// The button sits in the client area here, so the moves over it and over
// the text come alike; going from the button to the text sounds the enter
// rule, coming onto it sounds nothing.
void TTeEffectComboBox::MouseMove(TShiftState shift, int x, int y) {
    const bool animate = fx_.Animates(EffectActive(*this));
    paintButtonOnly_ = animate;
    TTeComboBox::MouseMove(shift, x, y);
    paintButtonOnly_ = false;
    if (!animate) return;
    const bool over = GetButtonRect().Contains(TPoint{x, y});
    if (over && !ButtonHot()) {
        ButtonTransit(true);
    } else if (!over && ButtonHot()) {
        fx_.SoundEnter(kscCheck);
        ButtonTransit(false);
    }
}

void TTeEffectComboBox::MouseLeave() {
    const bool animate = fx_.Animates(EffectActive(*this));
    paintButtonOnly_ = animate;
    TTeComboBox::MouseLeave();
    paintButtonOnly_ = false;
    if (!animate || !ButtonHot()) return;
    fx_.SoundEnter(kscCheck);
    ButtonTransit(false);
}

}  // namespace tarvel
