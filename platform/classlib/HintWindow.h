#pragma once
// The hint of the control under the mouse: a small window with the
// control's Hint, shown after the application's hint pause.

#include "platform/classlib/Controls.h"

namespace tarvel {

class TTimer;

class THintWindow : public TCustomControl {
    TARVEL_CLASS(THintWindow, TCustomControl)

public:
    explicit THintWindow(TComponent* owner);
    // The window's size for the text, at the origin.
    virtual TRect CalcHintRect(const String& hint);
    // Shows the text in `screenRect` without taking the focus.
    virtual void ActivateHint(const TRect& screenRect, const String& hint);
    void ReleaseHint();

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

// Follows the control under the mouse for the application: after
// HintPause ms over a control with ShowHint and a Hint, its hint shows below
// the pointer for HintHidePause ms. Moving to another control hides it (the
// next one then comes after HintShortPause); a click or a key hides it
// until the mouse goes to another control.
class THintTracker : public TComponent {
    TARVEL_CLASS(THintTracker, TComponent)

public:
    explicit THintTracker(TComponent* owner);
    void MouseControl(TControl* control);
    void Cancel();
    THintWindow* Window() const { return window_; }
    // Frees the window, so the next hint makes one of the application's class.
    void DropWindow();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    enum class Phase { idle, pause, shown };
    static bool HasHint(TControl* control);
    void TimerFired();
    void Show();
    void Hide();

    TControl* control_ = nullptr;
    Phase phase_ = Phase::idle;
    TTimer* timer_ = nullptr;
    THintWindow* window_ = nullptr;
};

}  // namespace tarvel
