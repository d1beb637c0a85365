#include "skin/extctrls/te_extctrls_subclass.h"

#include "platform/classlib/Application.h"

namespace tarvel {

void TWindowSubclass::Hook(HWND wnd, Handler handler) {
    if (wnd == wnd_ && wnd_) return;
    Unhook();
    if (!wnd || !IsWindow(wnd)) return;
    auto link = std::make_shared<Link>();
    link->handler = std::move(handler);
    proc_ = MakeWindowProc([link](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (!link->handler) return CallWindowProc(link->saved, h, msg, w, l);
        TMessage m{msg, w, l, 0};
        // Keeps the handler alive while it runs, even if it unhooks.
        const Handler handler = link->handler;
        try {
            handler(m);
        } catch (...) {
            if (!Application) throw;
            Application->HandleException(nullptr);
        }
        return m.Result;
    });
    link->saved = SetWindowProc(wnd, proc_);
    link_ = std::move(link);
    wnd_ = wnd;
}

void TWindowSubclass::Unhook() {
    if (!wnd_) return;
    if (IsWindow(wnd_) && GetWindowProc(wnd_) == proc_) {
        SetWindowProc(wnd_, link_->saved);
        FreeWindowProc(proc_);
    } else if (!IsWindow(wnd_)) {
        FreeWindowProc(proc_);
    } else {
        link_->handler = nullptr;
    }
    link_.reset();
    wnd_ = nullptr;
    proc_ = nullptr;
}

void TWindowSubclass::CallSaved(TMessage& m) const {
    if (!link_) return;
    m.Result = CallWindowProc(link_->saved, wnd_, m.Msg, m.WParam, m.LParam);
}

}  // namespace tarvel
