#pragma once
// Light hover-animated variants of the push button, speed button, check box
// and radio button: their face wipes softly from the normal to the hot look
// and back, after four plain settings, with no sounds and no shared options.

#include <functional>
#include <memory>

#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_check.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/extras/te_effect.h"

namespace tarvel {

inline constexpr const char* kFxEnterEffect = "[ FADE ] - SmoothDiagonalIn";
inline constexpr const char* kFxLeaveEffect = "[ FADE ] - SmoothDiagonalOut";

// A hover control's settings, its own record, slot and two faces.
class TtefxParts {
public:
    TtefxParts();
    ~TtefxParts();  // stops the slot and gives back only its reservation
    TtefxParts(const TtefxParts&) = delete;
    TtefxParts& operator=(const TtefxParts&) = delete;

    bool FXEnabled = true;
    int FXTime() const { return fxTime_; }
    // Held to 50..3000 ms.
    void SetFXTime(int value);
    String FXMouseEnter = kFxEnterEffect;
    String FXMouseLeave = kFxLeaveEffect;

    void Stop();
    // Paints the old face, flips the hover flag, paints the new face and
    // wipes from one to the other at (0, 0) of canvas. When nothing runs
    // (no canvas, an unknown effect) showNow shows the new state at once.
    void Transit(bool entering, TCanvas* canvas, const std::function<void(TteBitmap&)>& paint,
                 const std::function<void()>& flip, bool opaqueTarget, const std::function<void()>& showNow);

    TteAnimationRec* Record() const { return record_.get(); }
    int ReservedSlot() const { return reserved_; }
    int RunningSlot() const { return running_; }

private:
    int fxTime_ = 100;
    std::unique_ptr<TteAnimationRec> record_;
    TteBitmap source_;
    TteBitmap target_;
    int reserved_ = -1;
    int running_ = -1;
};

// The hover behaviour over any of the four bases.
template <class Base>
class TtefxHover : public Base {
public:
    explicit TtefxHover(TComponent* owner) : Base(owner) {}

    bool FXEnabled() const { return fx_.FXEnabled; }
    void SetFXEnabled(bool value) { fx_.FXEnabled = value; }
    int FXTime() const { return fx_.FXTime(); }
    void SetFXTime(int value) { fx_.SetFXTime(value); }
    const String& FXMouseEnter() const { return fx_.FXMouseEnter; }
    void SetFXMouseEnter(const String& value) { fx_.FXMouseEnter = value; }
    const String& FXMouseLeave() const { return fx_.FXMouseLeave; }
    void SetFXMouseLeave(const String& value) { fx_.FXMouseLeave = value; }
    int ReservedSlot() const { return fx_.ReservedSlot(); }
    int RunningSlot() const { return fx_.RunningSlot(); }

protected:
    // Neither fires OnMouseEnter or OnMouseLeave while it animates.
    void MouseEnter() override { Hover(true); }
    void MouseLeave() override { Hover(false); }

    TtefxParts fx_;

private:
    void Hover(bool entering);
};

class TtefxButton : public TtefxHover<TTeButton> {
    TARVEL_CLASS(TtefxButton, TTeButton)

public:
    explicit TtefxButton(TComponent* owner) : TtefxHover(owner) {}

protected:
    // A press shows the pressed face at once: the wipe stops.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
};

class TtefxSpeedButton : public TtefxHover<TTeSpeedButton> {
    TARVEL_CLASS(TtefxSpeedButton, TTeSpeedButton)

public:
    explicit TtefxSpeedButton(TComponent* owner) : TtefxHover(owner) {}
};

class TtefxCheckBox : public TtefxHover<TTeCheckBox> {
    TARVEL_CLASS(TtefxCheckBox, TTeCheckBox)

public:
    explicit TtefxCheckBox(TComponent* owner) : TtefxHover(owner) {}
};

class TtefxRadioButton : public TtefxHover<TTeRadioButton> {
    TARVEL_CLASS(TtefxRadioButton, TTeRadioButton)

public:
    explicit TtefxRadioButton(TComponent* owner) : TtefxHover(owner) {}
};

}  // namespace tarvel
