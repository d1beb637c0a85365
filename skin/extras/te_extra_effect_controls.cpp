#include "skin/extras/te_extra_effect_controls.h"

#include <algorithm>

namespace tarvel {

TDefaultEffectOptions DefaultEffectOptions;

namespace {
std::unique_ptr<TTeAdvancedAnimation> SharedAnimation;
}

// ---- TTeExtAnimation --------------------------------------------------------------------------

TTeExtAnimation::TTeExtAnimation() : record_(std::make_unique<TteAnimationRec>(nullptr)) {}

TTeExtAnimation::~TTeExtAnimation() = default;

void TTeExtAnimation::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TTeExtAnimation*>(source)) {
        record_->Assign(other->record_.get());
        return;
    }
    TPersistent::Assign(source);
}

TTeDirection TTeExtAnimation::Direction() const {
    switch (record_->Rotation()) {
        case krRotate90: return kdRotate90;
        case krRotate180: return kdRotate180;
        case krRotate270: return kdRotate270;
        case krNone: break;
    }
    return kdNone;
}

void TTeExtAnimation::SetDirection(TTeDirection value) {
    switch (value) {
        case kdRotate90: record_->SetRotation(krRotate90); break;
        case kdRotate180: record_->SetRotation(krRotate180); break;
        case kdRotate270: record_->SetRotation(krRotate270); break;
        case kdNone:
        case kdNoRotate: record_->SetRotation(krNone); break;
    }
}

// ---- TTeAdvancedAnimation ---------------------------------------------------------------------

TTeAdvancedAnimation::TTeAdvancedAnimation() = default;

void TTeAdvancedAnimation::Assign(TPersistent* source) {
    TTeExtAnimation::Assign(source);
    if (auto* other = dynamic_cast<TTeAdvancedAnimation*>(source)) {
        effectMouseEnter_ = other->effectMouseEnter_;
        effectMouseLeave_ = other->effectMouseLeave_;
    }
}

void TTeAdvancedAnimation::SetTime(int value) {
    TTeExtAnimation::SetTime(value);
    Record()->SetTime(std::clamp(Time(), 50, 3000));
}

// ---- start and end ----------------------------------------------------------------------------

void InitEffectControls() {
    if (SharedAnimation) return;
    RegisterClass(TTeExtAnimation::StaticClass());
    RegisterClass(TTeAdvancedAnimation::StaticClass());
    DefaultEffectOptions.Enabled = false;
    SharedAnimation = std::make_unique<TTeAdvancedAnimation>();
    DefaultEffectOptions.Animation = SharedAnimation.get();
}

void DoneEffectControls() {
    DefaultEffectOptions = {};
    SharedAnimation.reset();
}

}  // namespace tarvel
