#pragma once
// The application object: the forms it creates, the message loop, modal
// levels, and the standard error box for exceptions that escape handlers.

#include <functional>

#include "platform/classlib/Forms.h"

namespace tarvel {

class THintTracker;
class THintWindow;

using TExceptionEvent = std::function<void(TObject* sender, const Exception& e)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
// A message taken from the queue before it is dispatched.
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;

class TApplication : public TComponent {
    TARVEL_CLASS(TApplication, TComponent)

public:
    // The first application made becomes `Application` and makes `Screen`.
    explicit TApplication(TComponent* owner);
    // Frees the forms it owns.
    ~TApplication() override;

    void Initialize() {}

    const String& Title() const { return title_; }
    void SetTitle(const String& title) { title_ = title; }
    String ExeName() const;

    // The first form created through CreateForm; closing it ends Run.
    TCustomForm* MainForm() const { return mainForm_; }
    template <class T>
    void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        if (!mainForm_) mainForm_ = form;
        form->AfterConstruction();
    }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Handles one message, or idles (waiting for the next) when there is none.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }

    void Minimize();
    void Restore();

    // Called from a catch block: OnException, or the standard error box with
    // the exception's message (an exception not of the library's kind shows
    // an empty one).
    void HandleException(TObject* sender);
    void ShowException(const Exception& e);
    // A message box (MB_ flags, ID answers) captioned with the title when
    // `caption` is empty.
    int MessageBox(const String& text, const String& caption = "", UINT flags = 0);

    int ModalLevel() const { return modalLevel_; }
    void EnterModal() { ++modalLevel_; }
    void LeaveModal() { --modalLevel_; }
    void FormDestroyed(TCustomForm* form);
    // Nothing to handle: OnIdle, then (unless it wants more) a wait for the
    // next message. Modal loops of their own (menus) call it too.
    void Idle();
    // Every form's action clients update their actions (each list's OnUpdate
    // runs before the actions' own); done before idling.
    void UpdateActions();

    // Hints: shown after HintPause ms, for HintHidePause ms.
    bool ShowHint = true;
    TColor HintColor = clInfoBk;
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    // Hides the hint until the mouse goes to another control.
    void CancelHint();
    // The window showing hints; null before the first hint.
    THintWindow* HintWindow() const;
    // Makes the hint windows; null for the plain one. A change takes effect
    // with the next hint.
    std::function<THintWindow*(TComponent* owner)> HintWindowClass;
    void SetHintWindowClass(std::function<THintWindow*(TComponent* owner)> factory);

    // The longer text of what the user points at (a menu entry's hint);
    // OnHint hears every change.
    const String& Hint() const { return hint_; }
    void SetHint(const String& value);

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TMessageEvent OnMessage;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnHint;

private:
    bool ProcessMessage(MSG& msg);
    bool IsKeyMsg(MSG& msg);
    void TrackMouse(const MSG& msg);

    String title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    int modalLevel_ = 0;
    THintTracker* hints_ = nullptr;  // owned; made when the mouse first moves
    String hint_;
};

extern TApplication* Application;

}  // namespace tarvel
