#pragma once
// Window-procedure hooks: a component that sees the messages of a windowed
// control before and after the control's own procedure, without replacing
// the control's class. All hooks of one window share one subclass
// (TControlHook); the subclasses live in one process-wide list with a hidden
// window that re-subclasses a re-created window and frees emptied subclasses
// outside their own procedure.

#include <memory>
#include <vector>

#include "platform/classlib/Controls.h"
#include "skin/core/te_const.h"

namespace tarvel {

class TTeHook;

class TControlHook : public TObject {
    TARVEL_CLASS(TControlHook, TObject)

public:
    TControlHook();
    ~TControlHook() override;

    void AddHook(TTeHook* hook);
    void RemoveHook(TTeHook* hook);
    void SetControl(TWinControl* control);
    void HookWindow();
    void UnhookWindow();

    TWinControl* Control() const { return control_; }
    int HookCount() const { return static_cast<int>(hooks_.size()); }
    bool Subclassed() const { return link_ && link_->saved != nullptr; }

private:
    // What the window procedure reaches through. A subclass installed over
    // ours keeps calling our procedure after we let go: it then passes every
    // message straight to the procedure we had replaced.
    struct Link {
        TControlHook* owner = nullptr;
        WNDPROC saved = nullptr;
    };

    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void CallHooks(int pass, TMessage& message, bool& handled);
    void MakeProc();

    TTeHook* lastHook_ = nullptr;
    TWinControl* control_ = nullptr;
    std::shared_ptr<Link> link_;
    WNDPROC proc_ = nullptr;
    std::vector<TTeHook*> hooks_;
    bool destroying_ = false;
};

class THookList {
public:
    THookList();
    ~THookList();
    THookList(const THookList&) = delete;
    THookList& operator=(const THookList&) = delete;

    TControlHook* FindHook(TWinControl* control) const;
    TControlHook* GetHook(TWinControl* control);
    bool Contains(const TControlHook* hook) const;
    void Remove(TControlHook* hook);
    int Count() const { return static_cast<int>(items_.size()); }
    HWND Handle() const { return handle_; }

private:
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::vector<TControlHook*> items_;
    HWND handle_ = nullptr;
};

// Null until first use.
extern THookList* HookList;
THookList* GetHookList();
void FreeHookList();

class TTeHook : public TComponent {
    TARVEL_CLASS(TTeHook, TComponent)

public:
    explicit TTeHook(TComponent* owner);
    ~TTeHook() override;

    bool Active() const { return active_; }
    virtual void SetActive(bool value);
    void SetWinControl(TWinControl* control);
    TWinControl* GetWinControl() const;
    TCustomForm* GetForm() const;
    HWND GetHandle() const;
    HWND GetHookHandle() const;
    TControlHook* ControlHook() const { return controlHook_; }

    // Called by the subclass around the control's own procedure.
    virtual void DoBeforeMessage(TMessage& message, bool& handled);
    virtual void DoAfterMessage(TMessage& message, bool& handled);
    virtual void DoBeforeDestruction() {}

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // Keeps the message from the hooks added earlier and from the control.
    void MessageHandled() { handled_ = true; }
    void HookControl();
    TControlHook* DoUnhookControl();

private:
    friend class TControlHook;
    bool active_ = false;
    TWinControl* winControl_ = nullptr;
    TControlHook* controlHook_ = nullptr;
    bool handled_ = false;
};

}  // namespace tarvel
