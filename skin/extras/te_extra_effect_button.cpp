#include "skin/extras/te_extra_effect_button.h"

#include <utility>

#include "skin/core/te_theme_api.h"
#include "skin/extras/te_effect.h"

namespace tarvel {

// ---- TTeEffectParts -------------------------------------------------------------------------

void SetEffectDefaults(TTeAdvancedAnimation& animation) {
    animation.SetResolution(10);
    animation.SetEffect(kFadeEffect);
    animation.SetEnabled(true);
    animation.SetEffectMouseEnter(kFadeEffect);
    animation.SetEffectMouseLeave(kFadeEffect);
}

TTeEffectParts::TTeEffectParts(TComponent* owner)
    : owner_(owner), animation_(std::make_unique<TTeAdvancedAnimation>()) {
    SetEffectDefaults(*animation_);
    reserved_ = ReserveIndex();
}

TTeEffectParts::~TTeEffectParts() {
    Stop();
    // Only the reservation is ours; a slot a leave ran in may be another's.
    if (reserved_ >= 0) ReleaseReserved(reserved_);
}

TTeAdvancedAnimation* TTeEffectParts::InUse() const {
    return DefaultEffectOptions.Enabled && DefaultEffectOptions.Animation ? DefaultEffectOptions.Animation
                                                                          : animation_.get();
}

void TTeEffectParts::SetWaveList(TTeExtraWaveList* value) {
    if (value == waveList_) return;
    if (waveList_) waveList_->RemoveFreeNotification(owner_);
    waveList_ = value;
    if (waveList_) {
        waveList_->FreeNotification(owner_);
    } else {
        waveIn_ = -1;
        waveOut_ = -1;
    }
}

void TTeEffectParts::Forget(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == waveList_) SetWaveList(nullptr);
}

namespace {

bool GlobalSoundFor(const TTeExtraSoundOptions& own, TTeSoundControl kind) {
    return DefaultSoundOptions.Enabled && !own.Contains(esoIgnoreGlobalOptions) &&
           DefaultSoundOptions.SoundControls.Contains(kind);
}

}  // namespace

void TTeEffectParts::SoundEnter(TTeSoundControl kind) const {
    if (GlobalSoundFor(SoundOptions, kind)) PlayWaveInFromList(waveList_, waveIn_, true);
}

void TTeEffectParts::SoundLeave() const {
    PlayWaveOutFromList(waveList_, waveOut_, !SoundOptions.Contains(esoIgnoreGlobalOptions));
}

void TTeEffectParts::SoundClick(TTeSoundControl kind) const {
    if (GlobalSoundFor(SoundOptions, kind)) PlayWaveClickFromList(waveList_, waveClick_, true);
}

bool TTeEffectParts::Running() const { return IsAnimating(running_); }

void TTeEffectParts::Stop() {
    if (running_ >= 0) StopMultiAnimation(running_, false);
    if (reserved_ >= 0 && reserved_ != running_) StopMultiAnimation(reserved_, false);
}

void TTeEffectParts::Transit(bool entering, TCanvas* canvas, TPoint at,
                             const std::function<void(TteBitmap&)>& paint, const std::function<void()>& flip,
                             const std::function<void()>& showNow) {
    Stop();
    paint(source_);
    flip();
    paint(target_);
    TTeAdvancedAnimation* animation = InUse();
    animation->SetEffect(entering ? animation->EffectMouseEnter() : animation->EffectMouseLeave());
    running_ =
        canvas ? StartMultiAnimation(canvas, at.x, at.y, &source_, &target_, animation->Record(), reserved_)
               : -1;
    // A transition that does not run must not leave the old face standing.
    if (!IsAnimating(running_)) showNow();
}

void WithoutHoverEvents(TControl& control, const std::function<void()>& act) {
    auto enterEvent = std::exchange(control.OnMouseEnter, nullptr);
    auto leaveEvent = std::exchange(control.OnMouseLeave, nullptr);
    act();
    control.OnMouseEnter = std::move(enterEvent);
    control.OnMouseLeave = std::move(leaveEvent);
}

void TTeEffectParts::HoverTransit(TControl& control, bool entering, TCanvas* canvas,
                                  const std::function<void(TteBitmap&)>& paint,
                                  const std::function<void()>& setHover,
                                  const std::function<void()>& showNow) {
    TNotifyEvent& event = entering ? control.OnMouseEnter : control.OnMouseLeave;
    if (event) event(&control);
    Transit(
        entering, canvas, TPoint{0, 0}, paint,
        [&control, &setHover] { WithoutHoverEvents(control, setHover); }, showNow);
}

void TTeEffectParts::HoverTransit(TTeGraphicControl& control, bool entering,
                                  const std::function<void()>& setHover) {
    TWinControl* parent = control.Parent();
    HoverTransit(
        control, entering, parent && parent->HandleAllocated() ? control.Canvas() : nullptr,
        [&control](TteBitmap& face) { PaintControlFace(control, face); }, setHover,
        [&control] { control.Invalidate(); });
}

namespace {

// Points the control's canvas at picture while paint runs, and back after,
// also when painting raises.
template <class Control>
void PaintFaceInto(Control& control, TteBitmap& picture, const std::function<void(TCanvas&)>& behind) {
    picture.SetSize(control.Width(), control.Height());
    TCanvas& c = *control.Canvas();
    auto paint = [&] {
        if (behind) behind(c);
        control.PaintFont()->Assign(control.Font());
        control.PaintBuffer();
    };
    // A control canvas takes a fresh DC of its own after, where the
    // transition then draws.
    if (auto* own = dynamic_cast<TControlCanvas*>(&c)) {
        own->PaintOn(picture.DC(), paint);
        return;
    }
    const HDC old = c.HandleAllocated() ? c.Handle() : HDC{};
    c.SetHandle(picture.DC());
    try {
        paint();
    } catch (...) {
        c.SetHandle(old);
        throw;
    }
    c.SetHandle(old);
}

}  // namespace

bool EffectActive(TControl& c) { return !c.ComponentState().Contains(csDesigning) && c.Enabled(); }

void PaintControlFace(TTeControl& control, TteBitmap& picture) { PaintFaceInto(control, picture, nullptr); }

void PaintControlFace(TTeGraphicControl& control, TteBitmap& picture) {
    PaintFaceInto(control, picture, [&control](TCanvas& c) { DrawControlBackground(&control, c); });
}

// ---- TTeEffectButton ------------------------------------------------------------------------

TTeEffectButton::TTeEffectButton(TComponent* owner) : TTeButton(owner), fx_(this) {}

TTeEffectButton::~TTeEffectButton() { fx_.Stop(); }

void TTeEffectButton::Notification(TComponent* component, TOperation operation) {
    TTeButton::Notification(component, operation);
    fx_.Forget(component, operation);
}

// The hover flag changes without OnMouseEnter or OnMouseLeave, which the
// transition fires itself before it starts.
void TTeEffectButton::Hover(bool entering) {
    fx_.HoverTransit(
        *this, entering, HandleAllocated() ? Canvas() : nullptr,
        [this](TteBitmap& face) { PaintControlFace(*this, face); },
        [this, entering] { entering ? TTeControl::MouseEnter() : TTeControl::MouseLeave(); },
        [this] { InvalidateNow(); });
}

void TTeEffectButton::MouseEnter() {
    fx_.SoundEnter(kscButton);
    if (!fx_.Animates(EffectActive(*this))) {
        TTeButton::MouseEnter();
        return;
    }
    Hover(true);
}

void TTeEffectButton::MouseLeave() {
    fx_.SoundLeave();
    if (!fx_.Animates(EffectActive(*this))) {
        TTeButton::MouseLeave();
        return;
    }
    Hover(false);
}

void TTeEffectButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) fx_.Stop();
    TTeButton::MouseDown(button, shift, x, y);
}

void TTeEffectButton::Click() {
    fx_.SoundClick(kscButton);
    TTeButton::Click();
}

// ---- the boxes ------------------------------------------------------------------------------

template <class Box>
void TTeEffectBox<Box>::Hover(bool entering) {
    entering ? fx_.SoundEnter(kscCheck) : fx_.SoundLeave();
    if (!fx_.Animates(EffectActive(*this))) {
        entering ? Box::MouseEnter() : Box::MouseLeave();
        return;
    }
    fx_.HoverTransit(
        *this, entering, this->HandleAllocated() ? this->Canvas() : nullptr,
        [this](TteBitmap& face) { PaintControlFace(*this, face); },
        [this, entering] { entering ? TTeControl::MouseEnter() : TTeControl::MouseLeave(); },
        [this] { this->InvalidateNow(); });
}

template <class Box>
void TTeEffectBox<Box>::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (fx_.InUse()->Enabled()) fx_.Stop();
    this->SetMouseCapture(true);
    this->SetPressed(true);
    this->Repaint();
}

template <class Box>
void TTeEffectBox<Box>::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (this->Pressed()) fx_.SoundClick(kscCheck);
    Box::MouseUp(button, shift, x, y);
}

template class TTeEffectBox<TTeCheckBox>;
template class TTeEffectBox<TTeRadioButton>;

std::unique_ptr<TTeAdvancedAnimation> MakeEffectAnimation() {
    auto animation = std::make_unique<TTeAdvancedAnimation>();
    SetEffectDefaults(*animation);
    return animation;
}

TTeEffectButtonAnimation::TTeEffectButtonAnimation() : animation_(MakeEffectAnimation()) {}

void TTeEffectButtonAnimation::Set(TTeAdvancedAnimation* value, TTeEffectButton* button) {
    if (!value) return;
    if (value != animation_.get()) animation_->Assign(value);
    TTeAdvancedAnimation* down = DefaultEffectOptions.Enabled && DefaultEffectOptions.Animation
                                     ? DefaultEffectOptions.Animation
                                     : value;
    if (button) button->SetAnimation(down);
}

}  // namespace tarvel
