#pragma once
// TTimer: OnTimer every Interval milliseconds while Enabled, through the
// window system's timers, so it also fires inside nested message loops.

#include "platform/classlib/Components.h"
#include "platform/winsys/Winsys.h"

namespace tarvel {

class TTimer : public TComponent {
    TARVEL_CLASS(TTimer, TComponent)

public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Milliseconds; 0 never fires. A change made inside OnTimer sets the
    // time to the next tick.
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    bool enabled_ = true;
    UINT interval_ = 1000;
    HWND window_ = nullptr;
};

}  // namespace tarvel
