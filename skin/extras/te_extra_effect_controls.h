#pragma once
// The animation settings of the effect controls: which transition runs when
// the pointer enters a control and which when it leaves, over one record of
// the transition engine that the controls hand to it.

#include <memory>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Persistent.h"
#include "skin/extras/te_effect.h"
#include "skin/forms/te_forms_options.h"

namespace tarvel {

inline constexpr const char* kFadeEffect = "[ FADE ] - Fade";

class TTeExtAnimation : public TPersistent {
    TARVEL_CLASS(TTeExtAnimation, TPersistent)

public:
    TTeExtAnimation();
    ~TTeExtAnimation() override;

    // From another animation: the wrapped record, as it stands.
    void Assign(TPersistent* source) override;

    // kdNoRotate turns nothing, like kdNone, and reads back as kdNone.
    TTeDirection Direction() const;
    void SetDirection(TTeDirection value);
    bool Enabled() const { return record_->Enabled(); }
    void SetEnabled(bool value) { record_->SetEnabled(value); }
    int Resolution() const { return record_->Resolution(); }
    void SetResolution(int value) { record_->SetResolution(value); }
    int TileCount() const { return record_->TileCount(); }
    void SetTileCount(int value) { record_->SetTileCount(value); }
    int Time() const { return record_->Time(); }
    // Held to 50..9000 by the record.
    virtual void SetTime(int value) { record_->SetTime(value); }
    const String& GetEffect() const { return record_->Effect(); }
    void SetEffect(const String& value) { record_->SetEffect(value); }

    // What the effect controls hand to the engine.
    TteAnimationRec* Record() const { return record_.get(); }

private:
    std::unique_ptr<TteAnimationRec> record_;
};

class TTeAdvancedAnimation : public TTeExtAnimation {
    TARVEL_CLASS(TTeAdvancedAnimation, TTeExtAnimation)

public:
    TTeAdvancedAnimation();

    // From another advanced animation: the record, both effect names and the
    // picture; from a plain one only the record.
    void Assign(TPersistent* source) override;
    // A hover transition runs 50 to 3000 ms.
    void SetTime(int value) override;

    const String& EffectMouseEnter() const { return effectMouseEnter_; }
    void SetEffectMouseEnter(const String& value) { effectMouseEnter_ = value; }
    const String& EffectMouseLeave() const { return effectMouseLeave_; }
    void SetEffectMouseLeave(const String& value) { effectMouseLeave_ = value; }
    // The pattern of the bitmap animation; setting copies.
    TBitmap* Bitmap() const { return Record()->Bitmap(); }
    void SetBitmap(TBitmap* value) { Record()->SetBitmap(value); }

private:
    String effectMouseEnter_ = kFadeEffect;
    String effectMouseLeave_ = kFadeEffect;
};

// While Enabled holds, every effect control animates with the shared
// Animation instead of its own.
struct TDefaultEffectOptions {
    bool Enabled = false;
    TTeAdvancedAnimation* Animation = nullptr;
};
extern TDefaultEffectOptions DefaultEffectOptions;

// The start of the effect controls' unit: the switch off and the shared
// animation made; the end frees it. Both may be called again.
void InitEffectControls();
void DoneEffectControls();

}  // namespace tarvel
