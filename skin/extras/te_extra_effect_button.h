#pragma once
// The effect button, check box and radio button: the library's push button
// and boxes whose face cross-fades between its normal and hot look through
// the transition engine when the pointer comes and goes, with the enter,
// leave and click sounds of the control sounds. TTeEffectParts is what every
// effect control carries for that.

#include <functional>
#include <memory>

#include "platform/classlib/Sets.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_check.h"
#include "skin/extras/te_extra_effect_controls.h"
#include "skin/extras/te_extra_wave.h"

namespace tarvel {

enum TTeExtraSoundOption : uint8_t { esoIgnoreGlobalOptions };
using TTeExtraSoundOptions = TSet<TTeExtraSoundOption>;

// An effect control's animation, its own slot and two faces, and its sounds.
class TTeEffectParts {
public:
    // `owner` hears of its wave list going (Notification calls Forget).
    explicit TTeEffectParts(TComponent* owner);
    ~TTeEffectParts();  // stops the slot and gives back only its reservation
    TTeEffectParts(const TTeEffectParts&) = delete;
    TTeEffectParts& operator=(const TTeEffectParts&) = delete;

    TTeAdvancedAnimation* Animation() const { return animation_.get(); }
    void SetAnimation(TTeAdvancedAnimation* value) {
        if (value && value != animation_.get()) animation_->Assign(value);
    }
    // The shared animation while the global switch is on, else the own one.
    TTeAdvancedAnimation* InUse() const;
    // Whether an active control (not designed, enabled) animates.
    bool Animates(bool active) const { return active && InUse()->Enabled(); }

    TTeExtraSoundOptions SoundOptions;
    TTeExtraWaveList* WaveList() const { return waveList_; }
    // None resets the enter and leave indexes to -1.
    void SetWaveList(TTeExtraWaveList* value);
    int WaveInIndex() const { return waveIn_; }
    void SetWaveInIndex(int value) { waveIn_ = NormalizeWaveIndex(waveList_, value); }
    int WaveOutIndex() const { return waveOut_; }
    void SetWaveOutIndex(int value) { waveOut_ = NormalizeWaveIndex(waveList_, value); }
    int WaveClickIndex() const { return waveClick_; }
    void SetWaveClickIndex(int value) { waveClick_ = NormalizeWaveIndex(waveList_, value); }
    void Forget(TComponent* component, TOperation operation);

    // Enter and click play the global list's sound, and only while the
    // global switch is on, not ignored, and the control's kind is in the
    // global set; leave always plays, the global sound or the own one.
    void SoundEnter(TTeSoundControl kind) const;
    void SoundLeave() const;
    void SoundClick(TTeSoundControl kind) const;

    // Stops the running transition without drawing.
    void Stop();
    // Paints the old face, flips the state, paints the new face and runs the
    // enter or leave effect from one to the other at `at` of canvas. When
    // nothing runs (no canvas, an unknown effect), showNow shows the new
    // state at once.
    void Transit(bool entering, TCanvas* canvas, TPoint at, const std::function<void(TteBitmap&)>& paint,
                 const std::function<void()>& flip, const std::function<void()>& showNow);

    // Fires the control's OnMouseEnter or OnMouseLeave, then transits at
    // (0, 0) with setHover (the control's own hover flag) run with both
    // events silenced.
    void HoverTransit(TControl& control, bool entering, TCanvas* canvas,
                      const std::function<void(TteBitmap&)>& paint, const std::function<void()>& setHover,
                      const std::function<void()>& showNow);

    // The same for a windowless control: its faces are painted over its
    // parent's background, and it repaints when nothing runs.
    void HoverTransit(TTeGraphicControl& control, bool entering, const std::function<void()>& setHover);

    int ReservedSlot() const { return reserved_; }
    int RunningSlot() const { return running_; }
    bool Running() const;

private:
    TComponent* owner_;
    std::unique_ptr<TTeAdvancedAnimation> animation_;
    TteBitmap source_;
    TteBitmap target_;
    int reserved_ = -1;
    int running_ = -1;
    TTeExtraWaveList* waveList_ = nullptr;
    int waveIn_ = -1;
    int waveOut_ = -1;
    int waveClick_ = -1;
};

// Runs act with the control's OnMouseEnter and OnMouseLeave silenced.
void WithoutHoverEvents(TControl& control, const std::function<void()>& act);

// Neither designed nor disabled: such a control may animate.
bool EffectActive(TControl& control);

// A windowed control's face, painted by its PaintBuffer into `picture`.
void PaintControlFace(TTeControl& control, TteBitmap& picture);
// A windowless control's face over its parent's background behind it.
void PaintControlFace(TTeGraphicControl& control, TteBitmap& picture);

// The effect-control defaults: Resolution 10, enabled, the Fade effect.
void SetEffectDefaults(TTeAdvancedAnimation& animation);
// A new animation with those defaults.
std::unique_ptr<TTeAdvancedAnimation> MakeEffectAnimation();

// The effect parts' properties, published alike by every effect control.
#define TARVEL_EFFECT_PROPERTIES(parts)                                              \
    TTeAdvancedAnimation* Animation() const { return parts.Animation(); }            \
    void SetAnimation(TTeAdvancedAnimation* value) { parts.SetAnimation(value); }    \
    TTeExtraSoundOptions SoundOptions() const { return parts.SoundOptions; }         \
    void SetSoundOptions(TTeExtraSoundOptions value) { parts.SoundOptions = value; } \
    TTeExtraWaveList* WaveList() const { return parts.WaveList(); }                  \
    void SetWaveList(TTeExtraWaveList* value) { parts.SetWaveList(value); }          \
    int WaveInIndex() const { return parts.WaveInIndex(); }                          \
    void SetWaveInIndex(int value) { parts.SetWaveInIndex(value); }                  \
    int WaveOutIndex() const { return parts.WaveOutIndex(); }                        \
    void SetWaveOutIndex(int value) { parts.SetWaveOutIndex(value); }                \
    int WaveClickIndex() const { return parts.WaveClickIndex(); }                    \
    void SetWaveClickIndex(int value) { parts.SetWaveClickIndex(value); }            \
    String VersionExtra() const { return kExtraVersion; }                            \
    void SetVersionExtra(const String&) {}                                           \
    int ReservedSlot() const { return parts.ReservedSlot(); }                        \
    int RunningSlot() const { return parts.RunningSlot(); }

class TTeEffectButton : public TTeButton {
    TARVEL_CLASS(TTeEffectButton, TTeButton)

public:
    explicit TTeEffectButton(TComponent* owner);
    ~TTeEffectButton() override;
    TARVEL_EFFECT_PROPERTIES(fx_)

    void Click() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void Hover(bool entering);
    TTeEffectParts fx_;
};

// An edit's own animation, handed to its effect button; while the shared
// animation is switched on, that one goes down instead.
class TTeEffectButtonAnimation {
public:
    TTeEffectButtonAnimation();
    TTeAdvancedAnimation* Get() const { return animation_.get(); }
    // Copies the value and hands it to the button; none does nothing.
    void Set(TTeAdvancedAnimation* value, TTeEffectButton* button);

private:
    std::unique_ptr<TTeAdvancedAnimation> animation_;
};

// What an edit with an effect button shows of it; settings read from a form
// reach the button when the load ends.
#define TARVEL_EFFECT_EDIT_PROPERTIES(anim)                                                   \
    TTeEffectButton* EffectButton() const { return static_cast<TTeEffectButton*>(Button()); } \
    TTeAdvancedAnimation* Animation() const { return anim.Get(); }                            \
    void SetAnimation(TTeAdvancedAnimation* value) { anim.Set(value, EffectButton()); }       \
    String VersionExtra() const { return kExtraVersion; }                                     \
    void SetVersionExtra(const String&) {}                                                    \
                                                                                              \
protected:                                                                                    \
    void Loaded() override {                                                                  \
        inherited::Loaded();                                                                  \
        SetAnimation(Animation());                                                            \
    }                                                                                         \
                                                                                              \
public:

// The boxes' shared behaviour over TTeCheckBox or TTeRadioButton.
template <class Box>
class TTeEffectBox : public Box {
public:
    explicit TTeEffectBox(TComponent* owner) : Box(owner), fx_(this) {}
    ~TTeEffectBox() override { fx_.Stop(); }
    TARVEL_EFFECT_PROPERTIES(fx_)

protected:
    void Notification(TComponent* component, TOperation operation) override {
        Box::Notification(component, operation);
        fx_.Forget(component, operation);
    }
    void MouseEnter() override { Hover(true); }
    void MouseLeave() override { Hover(false); }
    // Stops the transition and presses without taking the focus.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void Hover(bool entering);
    TTeEffectParts fx_;
};

class TTeEffectCheckBox : public TTeEffectBox<TTeCheckBox> {
    TARVEL_CLASS(TTeEffectCheckBox, TTeCheckBox)

public:
    explicit TTeEffectCheckBox(TComponent* owner) : TTeEffectBox(owner) {}
};

class TTeEffectRadioButton : public TTeEffectBox<TTeRadioButton> {
    TARVEL_CLASS(TTeEffectRadioButton, TTeRadioButton)

public:
    explicit TTeEffectRadioButton(TComponent* owner) : TTeEffectBox(owner) {}
};

}  // namespace tarvel
