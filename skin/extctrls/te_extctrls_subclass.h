#pragma once
// A child window of a class-library control taken over through its window
// procedure: every message reaches the handler first, which passes on what
// it leaves with CallSaved. Unhooking puts the saved procedure back when
// ours is still the window's; when someone subclassed it after us, ours
// stays in their chain and passes everything through.

#include <functional>
#include <memory>

#include "platform/classlib/Controls.h"

namespace tarvel {

class TWindowSubclass {
public:
    using Handler = std::function<void(TMessage&)>;

    TWindowSubclass() = default;
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;
    ~TWindowSubclass() { Unhook(); }

    // Hooking the window already hooked keeps the hook as it is.
    void Hook(HWND wnd, Handler handler);
    void Unhook();
    HWND Window() const { return wnd_; }
    void CallSaved(TMessage& m) const;

private:
    struct Link {
        Handler handler;
        WNDPROC saved = nullptr;
    };
    std::shared_ptr<Link> link_;
    HWND wnd_ = nullptr;
    WNDPROC proc_ = nullptr;
};

}  // namespace tarvel
