#include "platform/classlib/Application.h"
#include "platform/winsys/Backend.h"

#include <filesystem>

#include "platform/base/Paths.h"
#include "platform/classlib/Boxes.h"
#include "platform/classlib/HintWindow.h"

namespace tarvel {

TApplication* Application = nullptr;

namespace {

String ProgramFileName() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? String("tarvel-bms") : exe.filename().string();
}

bool IsMouseTrackingMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_NCMOUSEMOVE || msg == WM_MOUSELEAVE ||
           msg == WM_NCMOUSELEAVE;
}

}  // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    if (!Application) Application = this;
    new TScreen(this);
    title_ = ChangeFileExt(ProgramFileName(), "");
}

TApplication::~TApplication() {
    Destroying();
    DestroyComponents();
    hints_ = nullptr;
    if (Application == this) Application = nullptr;
}

String TApplication::ExeName() const { return ApplicationFolder() + "/" + ProgramFileName(); }

void TApplication::FormDestroyed(TCustomForm* form) {
    if (mainForm_ == form) mainForm_ = nullptr;
}

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    // A foreign window inside one of ours hands its keys to the nearest control.
    TWinControl* control = nullptr;
    for (HWND h = msg.hwnd; h && !control;
         h = (GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
        control = FindControl(h);
    if (!control) return false;
    return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

void TApplication::TrackMouse(const MSG& msg) {
    if (!IsMouseTrackingMessage(msg.message)) return;
    TPoint pt = msg.pt;
    if (msg.message == WM_MOUSELEAVE || msg.message == WM_NCMOUSELEAVE) GetCursorPos(pt);
    TWinControl* window = nullptr;
    for (HWND h = WindowFromPoint(pt); h && !window;
         h = (GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
        window = FindControl(h);
    TControl* now = window;
    if (window) {
        if (TControl* c = window->ControlAtPos(window->ScreenToClient(pt), false)) now = c;
    }
    UpdateMouseControl(now);
    if (!hints_ && ShowHint) hints_ = new THintTracker(this);
    if (hints_) hints_->MouseControl(now);
}

void TApplication::SetHint(const String& value) {
    if (value == hint_) return;
    hint_ = value;
    if (OnHint) OnHint(this);
}

void TApplication::CancelHint() {
    if (hints_) hints_->Cancel();
}

THintWindow* TApplication::HintWindow() const { return hints_ ? hints_->Window() : nullptr; }

void TApplication::SetHintWindowClass(std::function<THintWindow*(TComponent* owner)> factory) {
    HintWindowClass = std::move(factory);
    if (hints_) hints_->DropWindow();
}

namespace {
// A click or a key puts an end to the hint shown.
bool EndsHint(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: return true;
        default: return false;
    }
}
}  // namespace

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (EndsHint(msg.message)) CancelHint();
    bool handled = false;
    if (OnMessage) OnMessage(msg, handled);
    // Escape cancels a drag, whichever control has the focus.
    if (!handled && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && DragControl()) {
        DragControl()->EndDrag(false);
        handled = true;
    }
    if (!handled && !IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    TrackMouse(msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Idle() {
    MSG here;
    GetCursorPos(here.pt);
    here.message = WM_MOUSEMOVE;
    TrackMouse(here);
    UpdateActions();
    bool done = true;
    if (OnIdle) OnIdle(this, done);
    if (done && !terminated_ && !HasPendingMessages()) WaitMessage();
}

void TApplication::UpdateActions() {
    if (!Screen) return;
    // An update may close a form; count again each time.
    for (int i = 0; i < Screen->FormCount(); ++i) Screen->Forms(i)->UpdateActions();
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::Run() {
    if (!mainForm_) return;
    if (!mainForm_->Visible()) mainForm_->Show();
    do {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    } while (!terminated_);
}

void TApplication::Terminate() {
    if (CurrentBackend())
        PostQuitMessage(0);
    else
        terminated_ = true;
}

void TApplication::Minimize() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
    if (OnRestore) OnRestore(this);
}

void TApplication::HandleException(TObject* sender) {
    std::exception_ptr current = std::current_exception();
    if (!current) return;
    auto deliver = [&](const Exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    };
    try {
        std::rethrow_exception(current);
    } catch (const Exception& e) {
        deliver(e);
    } catch (...) {
        deliver(Exception(""));
    }
}

void TApplication::ShowException(const Exception& e) {
    String text = e.Message();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags) {
    return MessageBoxFlags(text, caption.empty() ? title_ : caption, flags);
}

}  // namespace tarvel
