#include "platform/classlib/Timers.h"
#include "platform/winsys/Backend.h"

#include "platform/classlib/Application.h"

namespace tarvel {

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(UINT interval) {
    if (interval == interval_) return;
    interval_ = interval;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (window_ && !IsWindow(window_)) window_ = nullptr;  // the window system was shut down meanwhile
    if (window_) KillTimer(window_, 1);
    if (!enabled_ || interval_ == 0 || ComponentState().Contains(csDesigning) || !CurrentBackend()) return;
    if (!window_) {
        window_ = AllocateMessageWindow([this](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg != WM_TIMER) return DefWindowProc(h, msg, w, l);
            try {
                Timer();
            } catch (...) {
                if (!Application) throw;
                Application->HandleException(this);
            }
            return 0;
        });
    }
    if (window_) SetTimer(window_, 1, interval_);
}

void TTimer::Timer() {
    if (enabled_ && interval_ != 0 && OnTimer) OnTimer(this);
}

}  // namespace tarvel
