#include "skin/forms/te_forms_hooks.h"

#include <algorithm>

#include "platform/classlib/Application.h"
#include "platform/classlib/Forms.h"

namespace tarvel {

THookList* HookList = nullptr;

namespace {

void ReportException(TObject* sender) {
    if (!Application) throw;
    Application->HandleException(sender);
}

}  // namespace

// ---- TControlHook ---------------------------------------------------------------------

TControlHook::TControlHook() { MakeProc(); }

void TControlHook::MakeProc() {
    link_ = std::make_shared<Link>();
    link_->owner = this;
    std::shared_ptr<Link> link = link_;
    proc_ = MakeWindowProc([link](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (link->owner) return link->owner->WndProc(hwnd, msg, wParam, lParam);
        return link->saved ? CallWindowProc(link->saved, hwnd, msg, wParam, lParam)
                           : StdWndProc(hwnd, msg, wParam, lParam);
    });
}

TControlHook::~TControlHook() {
    destroying_ = true;
    if (HookList && HookList->Contains(this)) HookList->Remove(this);
    while (!hooks_.empty()) RemoveHook(hooks_.back());
    SetControl(nullptr);
    link_->owner = nullptr;
    FreeWindowProc(proc_);
}

void TControlHook::AddHook(TTeHook* hook) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) {
        hooks_.push_back(hook);
        hook->controlHook_ = this;
        SetControl(hook->winControl_);
        lastHook_ = hook;
    }
    HookWindow();
}

void TControlHook::RemoveHook(TTeHook* hook) {
    hook->controlHook_ = nullptr;
    std::erase(hooks_, hook);
    lastHook_ = nullptr;
    if (hooks_.empty()) UnhookWindow();
}

void TControlHook::SetControl(TWinControl* control) {
    if (control == control_) return;
    UnhookWindow();
    control_ = control;
    if (!hooks_.empty()) HookWindow();
}

void TControlHook::HookWindow() {
    if (!control_ || destroying_ || control_->ComponentState().Contains(csDestroying)) return;
    HWND h = control_->Handle();
    WNDPROC current = GetWindowProc(h);
    if (current == proc_) return;
    link_->saved = current;
    SetWindowProc(h, proc_);
}

void TControlHook::UnhookWindow() {
    if (control_ && link_->saved && control_->HandleAllocated()) {
        HWND h = control_->Handle();
        if (GetWindowProc(h) == proc_) {
            if (lastHook_) lastHook_->DoBeforeDestruction();
            SetWindowProc(h, link_->saved);
        } else {
            // Someone subclassed the window after us: leave our procedure in
            // their chain, passing through, and hook again with a new one.
            link_->owner = nullptr;
            MakeProc();
            return;
        }
    }
    link_->saved = nullptr;
}

void TControlHook::CallHooks(int pass, TMessage& message, bool& handled) {
    if (hooks_.empty() || !control_ || destroying_ || control_->ComponentState().Contains(csDestroying))
        return;
    for (int i = static_cast<int>(hooks_.size()) - 1; i >= 0; --i) {
        if (i >= static_cast<int>(hooks_.size())) continue;
        TTeHook* hook = hooks_[static_cast<size_t>(i)];
        try {
            if (pass == 0)
                hook->DoBeforeMessage(message, handled);
            else
                hook->DoAfterMessage(message, handled);
        } catch (...) {
            ReportException(hook);
        }
        if (handled) break;
    }
}

LRESULT TControlHook::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Link> link = link_;
    if (!control_) return link->saved ? CallWindowProc(link->saved, hwnd, msg, wParam, lParam) : 0;
    TMessage m{msg, wParam, lParam, 0};
    bool handled = false;
    if (msg != WM_QUIT) CallHooks(0, m, handled);
    if (!handled || msg == WM_DESTROY) {
        struct AfterPass {
            TControlHook* self;
            TMessage& m;
            bool& handled;
            std::shared_ptr<Link> link;
            ~AfterPass() {
                if (link->owner == self) self->CallHooks(1, m, handled);
            }
        } after{this, m, handled, link};
        m.Result = link->saved ? CallWindowProc(link->saved, hwnd, msg, wParam, lParam)
                               : StdWndProc(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_DESTROY && link->owner == this) {
        UnhookWindow();
        if (HookList && !destroying_ && control_ && !control_->ComponentState().Contains(csDestroying))
            PostMessage(HookList->Handle(), HM_REHOOK, 0, reinterpret_cast<LPARAM>(this));
    }
    return m.Result;
}

// ---- THookList ------------------------------------------------------------------------

THookList::THookList() {
    handle_ = AllocateMessageWindow([this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return WndProc(hwnd, msg, wParam, lParam);
    });
}

THookList::~THookList() {
    while (!items_.empty()) delete items_.back();
    if (handle_) DestroyWindow(handle_);
}

TControlHook* THookList::FindHook(TWinControl* control) const {
    if (!control) return nullptr;
    for (TControlHook* h : items_)
        if (h->Control() == control) return h;
    return nullptr;
}

TControlHook* THookList::GetHook(TWinControl* control) {
    if (TControlHook* found = FindHook(control)) return found;
    auto* hook = new TControlHook();
    items_.push_back(hook);
    try {
        hook->SetControl(control);
    } catch (...) {
        delete hook;
        throw;
    }
    return hook;
}

bool THookList::Contains(const TControlHook* hook) const {
    return hook && std::find(items_.begin(), items_.end(), hook) != items_.end();
}

void THookList::Remove(TControlHook* hook) { std::erase(items_, hook); }

LRESULT THookList::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        auto* hook = reinterpret_cast<TControlHook*>(lParam);
        switch (msg) {
            case HM_REHOOK:
                if (Contains(hook)) hook->HookWindow();
                return 0;
            case HM_FREEHOOK:
                if (Contains(hook) && hook->HookCount() == 0) delete hook;
                return 0;
            default: return DefWindowProc(hwnd, msg, wParam, lParam);
        }
    } catch (...) {
        ReportException(nullptr);
    }
    return 0;
}

THookList* GetHookList() {
    if (!HookList) HookList = new THookList();
    return HookList;
}

void FreeHookList() {
    delete HookList;
    HookList = nullptr;
}

// ---- TTeHook ------------------------------------------------------------------------------

TTeHook::TTeHook(TComponent* owner) : TComponent(owner) {}

TTeHook::~TTeHook() {
    // Not the virtual SetActive: a descendant is already gone.
    TControlHook* was = DoUnhookControl();
    SetWinControl(nullptr);
    if (was && was->HookCount() == 0 && HookList)
        PostMessage(HookList->Handle(), HM_FREEHOOK, 0, reinterpret_cast<LPARAM>(was));
}

void TTeHook::SetActive(bool value) {
    if (value == active_) return;
    if (value)
        HookControl();
    else
        DoUnhookControl();
}

void TTeHook::HookControl() {
    if (winControl_ && !ComponentState().Contains(csDestroying))
        GetHookList()->GetHook(winControl_)->AddHook(this);
    active_ = true;
}

TControlHook* TTeHook::DoUnhookControl() {
    TControlHook* was = controlHook_;
    if (controlHook_) controlHook_->RemoveHook(this);
    active_ = false;
    return was;
}

void TTeHook::SetWinControl(TWinControl* control) {
    if (control == GetWinControl()) return;
    const bool wasActive = active_;
    TControlHook* was = DoUnhookControl();
    if (winControl_) winControl_->RemoveFreeNotification(this);
    winControl_ = control;
    if (control) control->FreeNotification(this);
    if (was && was->HookCount() == 0 && HookList)
        PostMessage(HookList->Handle(), HM_FREEHOOK, 0, reinterpret_cast<LPARAM>(was));
    if (wasActive) HookControl();
}

TWinControl* TTeHook::GetWinControl() const { return controlHook_ ? controlHook_->Control() : winControl_; }

TCustomForm* TTeHook::GetForm() const { return dynamic_cast<TCustomForm*>(GetWinControl()); }

HWND TTeHook::GetHandle() const { return winControl_ ? winControl_->Handle() : nullptr; }

HWND TTeHook::GetHookHandle() const { return HookList ? HookList->Handle() : nullptr; }

void TTeHook::DoBeforeMessage(TMessage& message, bool& handled) {
    // A handler may send messages that come back here: each dispatch keeps
    // its own flag.
    struct CopyBack {
        TTeHook* self;
        bool& handled;
        bool outer;
        ~CopyBack() {
            handled = self->handled_;
            self->handled_ = outer;
        }
    } copyBack{this, handled, handled_};
    handled_ = handled;
    Dispatch(message);
}

void TTeHook::DoAfterMessage(TMessage&, bool&) {}

void TTeHook::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == TOperation::opRemove && component == winControl_) {
        // The control is half destroyed: forget it without touching it.
        const bool wasActive = active_;
        TControlHook* was = DoUnhookControl();
        winControl_ = nullptr;
        if (was) was->SetControl(nullptr);
        if (was && was->HookCount() == 0 && HookList)
            PostMessage(HookList->Handle(), HM_FREEHOOK, 0, reinterpret_cast<LPARAM>(was));
        active_ = wasActive;
    }
}

}  // namespace tarvel
