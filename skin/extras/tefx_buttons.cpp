#include "skin/extras/tefx_buttons.h"

#include <algorithm>
#include <type_traits>

#include "skin/extras/te_extra_effect_button.h"

namespace tarvel {

// ---- TtefxParts -----------------------------------------------------------------------------

TtefxParts::TtefxParts() : record_(std::make_unique<TteAnimationRec>()) { reserved_ = ReserveIndex(); }

TtefxParts::~TtefxParts() {
    Stop();
    // Only the reservation is ours; a slot a leave ran in may be another's.
    if (reserved_ >= 0) ReleaseReserved(reserved_);
}

void TtefxParts::SetFXTime(int value) { fxTime_ = std::clamp(value, 50, 3000); }

void TtefxParts::Stop() {
    if (running_ >= 0) StopMultiAnimation(running_, false);
    if (reserved_ >= 0 && reserved_ != running_) StopMultiAnimation(reserved_, false);
}

void TtefxParts::Transit(bool entering, TCanvas* canvas, const std::function<void(TteBitmap&)>& paint,
                         const std::function<void()>& flip, bool opaqueTarget,
                         const std::function<void()>& showNow) {
    Stop();
    paint(source_);
    flip();
    paint(target_);
    if (opaqueTarget) target_.SetAlpha(255);
    record_->SetTime(fxTime_);
    record_->SetEffect(entering ? FXMouseEnter : FXMouseLeave);
    running_ = canvas ? StartMultiAnimation(canvas, 0, 0, &source_, &target_, record_.get(), reserved_) : -1;
    // A wipe that does not run must not leave the old face standing.
    if (!IsAnimating(running_)) showNow();
}

// ---- the hover ------------------------------------------------------------------------------

template <class Base>
void TtefxHover<Base>::Hover(bool entering) {
    if (!this->Enabled()) return;
    if (!fx_.FXEnabled) {
        entering ? Base::MouseEnter() : Base::MouseLeave();
        return;
    }
    constexpr bool windowless = std::is_base_of_v<TTeGraphicControl, Base>;
    using Flag = std::conditional_t<windowless, TTeGraphicControl, TTeControl>;
    TCanvas* canvas = nullptr;
    if constexpr (windowless) {
        if (this->Parent() && this->Parent()->HandleAllocated()) canvas = this->Canvas();
    } else {
        if (this->HandleAllocated()) canvas = this->Canvas();
    }
    fx_.Transit(
        entering, canvas, [this](TteBitmap& face) { PaintControlFace(*this, face); },
        // The hover flag alone: these controls fire no hover events.
        [this, entering] {
            WithoutHoverEvents(*this,
                               [this, entering] { entering ? Flag::MouseEnter() : Flag::MouseLeave(); });
        },
        // The speed button's face keeps the parent's background it was
        // painted over; the windowed faces are opaque.
        entering && !windowless,
        [this] {
            if constexpr (windowless)
                this->Invalidate();
            else
                this->InvalidateNow();
        });
}

template class TtefxHover<TTeButton>;
template class TtefxHover<TTeSpeedButton>;
template class TtefxHover<TTeCheckBox>;
template class TtefxHover<TTeRadioButton>;

// ---- TtefxButton ----------------------------------------------------------------------------

void TtefxButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const bool was = Pressed();
    TTeButton::MouseDown(button, shift, x, y);
    if (!was && Pressed()) fx_.Stop();
}

void TtefxButton::MouseMove(TShiftState shift, int x, int y) {
    const bool was = Pressed();
    TTeButton::MouseMove(shift, x, y);
    if (!was && Pressed()) fx_.Stop();
}

void TtefxButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeButton::MouseUp(button, shift, x, y);
    fx_.Stop();
}

}  // namespace tarvel
