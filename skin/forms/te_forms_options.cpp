#include "skin/forms/te_forms_options.h"

#include <algorithm>

namespace tarvel {

void TTeBlending::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeBlending*>(source);
    if (!other) return inherited::Assign(source);
    enabled_ = other->enabled_;
    value_ = other->value_;
    Changed();
}

void TTeBlending::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TTeBlending::SetValue(int value) {
    if (value == value_) return;
    value_ = std::clamp(value, 0, 255);
    Changed();
}

void TTeShadow::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeShadow*>(source);
    if (!other) return inherited::Assign(source);
    enabled_ = other->enabled_;
    size_ = other->size_;
    Changed();
}

void TTeShadow::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value && size_ > 0;
    Changed();
}

void TTeShadow::SetSize(int value) {
    if (value == size_) return;
    size_ = std::clamp(value, 0, 20);
    if (size_ == 0) enabled_ = false;
    Changed();
}

void TTeGravitation::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeGravitation*>(source);
    if (!other) return inherited::Assign(source);
    Enabled = other->Enabled;
    Kind = other->Kind;
    size_ = other->size_;
}

void TTeGravitation::SetSize(int value) { size_ = std::clamp(value, 1, 50); }

void TTeDragging::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeDragging*>(source);
    if (!other) return inherited::Assign(source);
    Moveable = other->Moveable;
    Sizeable = other->Sizeable;
    DragMode = other->DragMode;
}

void TTeAnimation::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeAnimation*>(source);
    if (!other) return inherited::Assign(source);
    *rec_ = *other->rec_;
}

TTeDirection TTeAnimation::Direction() const {
    switch (rec_->Rotation) {
        case 1: return kdRotate90;
        case 2: return kdRotate180;
        case 3: return kdRotate270;
        default: return kdNone;
    }
}

void TTeAnimation::SetDirection(TTeDirection value) {
    switch (value) {
        case kdRotate90: rec_->Rotation = 1; break;
        case kdRotate180: rec_->Rotation = 2; break;
        case kdRotate270: rec_->Rotation = 3; break;
        default: rec_->Rotation = 0; break;
    }
}

void TTeFormOptions::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeFormOptions*>(source);
    if (!other) return inherited::Assign(source);
    blending_.Assign(&other->blending_);
    shadow_.Assign(&other->shadow_);
    animation_.Assign(&other->animation_);
    Changed();
}

void TTeFormOptions::SetBlending(TTeBlending* value) {
    blending_.Assign(value);
    Changed();
}

void TTeFormOptions::SetShadow(TTeShadow* value) {
    shadow_.Assign(value);
    Changed();
}

void TTeFormOptions::SetAnimation(TTeAnimation* value) {
    animation_.Assign(value);
    Changed();
}

void TTeFontOptions::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeFontOptions*>(source);
    if (!other) return inherited::Assign(source);
    bold_ = other->bold_;
    italic_ = other->italic_;
    underline_ = other->underline_;
    strikeOut_ = other->strikeOut_;
    sizeDelta_ = other->sizeDelta_;
    fontName_ = other->fontName_;
    fontColor_ = other->fontColor_;
    if (OnChange) OnChange(this);
}

void TTeFontOptions::ApplyOptions(TFont* font) const {
    if (!font) return;
    TFontStyles style = font->Style();
    if (bold_) style.Include(fsBold);
    if (italic_) style.Include(fsItalic);
    if (underline_) style.Include(fsUnderline);
    if (strikeOut_) style.Include(fsStrikeOut);
    font->SetStyle(style);
    font->SetSize(font->Size() + sizeDelta_);
    if (!fontName_.empty()) font->SetName(fontName_);
    if (fontColor_ != clDefault) font->SetColor(fontColor_);
}

}  // namespace tarvel
