// The multiple-document side of forms: an fsMDIForm holds the MDI client
// window, fsMDIChild forms are windows inside it.

#include <algorithm>
#include <memory>

#include "platform/classlib/Application.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/WindowScrollBars.h"

namespace tarvel {

namespace {

// The MDI client decides when its bars show and what they scroll; these
// give them the classic look and the mouse, reading the client's ranges
// after each of its messages.
struct ClientBars {
    explicit ClientBars(HWND client) : bars(client) {}
    void Sync(HWND client) {
        for (int bar : {SB_HORZ, SB_VERT}) {
            const MdiScrollBar b = MdiClientScrollBar(client, bar);
            SCROLLINFO info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = b.min;
            info.nMax = b.max;
            info.nPage = static_cast<UINT>(std::max(0, b.page));
            info.nPos = b.pos;
            bars.SetInfo(bar, info, false);
        }
    }
    TWindowScrollBars bars;
    WNDPROC proc = nullptr, old = nullptr;
};

void AttachClientBars(HWND client) {
    auto state = std::make_shared<ClientBars>(client);
    state->proc = MakeWindowProc([state](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        TMessage m{msg, w, l, 0};
        auto inherited = [&](TMessage& mm) {
            mm.Result = CallWindowProc(state->old, h, mm.Msg, mm.WParam, mm.LParam);
        };
        // The client sizes its own area for the bars.
        if (msg != WM_NCCALCSIZE && state->bars.HandleMessage(m, inherited)) {
            state->Sync(h);
            return m.Result;
        }
        const LRESULT r = CallWindowProc(state->old, h, msg, w, l);
        if (msg == WM_NCDESTROY)
            FreeWindowProc(state->proc);  // the window kept it; it goes with the window
        else
            state->Sync(h);
        return r;
    });
    state->bars.Attach();
    state->Sync(client);
    state->old = SetWindowProc(client, state->proc);
}

}  // namespace

void TCustomForm::SetFormStyle(TFormStyle style) {
    if (style == formStyle_) return;
    formStyle_ = style;
    RecreateWnd();
}

HWND TCustomForm::MDIParentClient() const {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (main && main != this && main->formStyle_ == fsMDIForm) main->HandleNeeded();
    HWND client = main && main != this ? main->clientHandle_ : nullptr;
    if (!client) throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    return client;
}

HWND TCustomForm::ParentWindow() const { return formStyle_ == fsMDIChild ? MDIParentClient() : nullptr; }

void TCustomForm::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    if (formStyle_ != fsMDIForm || clientHandle_) return;
    const TRect r = GetClientRect();
    clientHandle_ = CreateWindowEx(WS_EX_CLIENTEDGE, kMdiClientClass, "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, r.Width(),
                                   r.Height(), handle_);
    if (!clientHandle_) throw EInvalidOperation("Error creating the MDI client window of " + Name());
    AttachClientBars(clientHandle_);
    Realign();
}

void TCustomForm::DestroyWnd() {
    // The client window goes with the form's.
    clientHandle_ = nullptr;
    TWinControl::DestroyWnd();
}

void TCustomForm::AlignControls(TControl* control, TRect& rect) {
    TWinControl::AlignControls(control, rect);
    // The client takes what the aligned controls leave, below them.
    if (clientHandle_)
        SetWindowPos(clientHandle_, HWND_BOTTOM, rect.left, rect.top, rect.Width(), rect.Height(),
                     SWP_NOACTIVATE);
}

void TCustomForm::DefaultHandler(TMessage& m) {
    if (formStyle_ == fsMDIChild && handle_) {
        switch (m.Msg) {
            case WM_NCCALCSIZE:
            case WM_SYSCOMMAND:
            case WM_SIZE:
            case WM_SHOWWINDOW:
            case WM_WINDOWPOSCHANGED:
            case WM_DESTROY: m.Result = DefMDIChildProc(handle_, m.Msg, m.WParam, m.LParam); return;
        }
    }
    TWinControl::DefaultHandler(m);
}

void TCustomForm::WMMDIActivate(TMessage& m) {
    if (formStyle_ != fsMDIChild) return;
    if (reinterpret_cast<HWND>(m.LParam) == handle_) {
        active_ = true;
        RestoreFocus();
        Activate();
    } else if (reinterpret_cast<HWND>(m.WParam) == handle_) {
        active_ = false;
        Deactivate();
    }
}

int TCustomForm::MDIChildCount() const {
    return clientHandle_ ? static_cast<int>(MdiChildren(clientHandle_).size()) : 0;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
    const std::vector<HWND> list = clientHandle_ ? MdiChildren(clientHandle_) : std::vector<HWND>{};
    if (index < 0 || index >= static_cast<int>(list.size()))
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return dynamic_cast<TCustomForm*>(FindControl(list[static_cast<size_t>(index)]));
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (formStyle_ != fsMDIForm || !clientHandle_) return nullptr;
    return dynamic_cast<TCustomForm*>(
        FindControl(reinterpret_cast<HWND>(SendMessage(clientHandle_, WM_MDIGETACTIVE, 0, 0))));
}

void TCustomForm::Cascade() {
    if (clientHandle_) SendMessage(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
    if (clientHandle_) SendMessage(clientHandle_, WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TCustomForm::Next() {
    if (clientHandle_) SendMessage(clientHandle_, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
    if (clientHandle_) SendMessage(clientHandle_, WM_MDINEXT, 0, 1);
}

}  // namespace tarvel
