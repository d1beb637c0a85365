#include "platform/classlib/Forms.h"
#include "platform/winsys/Backend.h"

#include <algorithm>

#include "platform/classlib/Application.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"
#include "platform/classlib/StringLists.h"
#include "platform/gdi/FontList.h"

namespace tarvel {

TScreen* Screen = nullptr;

// ---- TCustomForm -----------------------------------------------------------------

void TCustomForm::DeclareMessages(TMessageTable& t) {
    t.Add<&TCustomForm::WMClose>(WM_CLOSE);
    t.Add<&TCustomForm::WMQueryEndSession>(WM_QUERYENDSESSION);
    t.Add<&TCustomForm::WMEndSession>(WM_ENDSESSION);
    t.Add<&TCustomForm::WMActivate>(WM_ACTIVATE);
    t.Add<&TCustomForm::WMGetMinMaxInfo>(WM_GETMINMAXINFO);
    t.Add<&TCustomForm::CMRelease>(CM_RELEASE);
    t.Add<&TCustomForm::CMDialogKeyForm>(CM_DIALOGKEY);
    t.Add<&TCustomForm::CMVisibleChangedForm>(CM_VISIBLECHANGED);
    t.Add<&TCustomForm::CMShowingChanged>(CM_SHOWINGCHANGED);
    t.Add<&TCustomForm::WMNCCalcSize>(WM_NCCALCSIZE);
    t.Add<&TCustomForm::WMNCPaint>(WM_NCPAINT);
    t.Add<&TCustomForm::WMNCHitTest>(WM_NCHITTEST);
    t.Add<&TCustomForm::WMNCLButtonDown>(WM_NCLBUTTONDOWN);
    t.Add<&TCustomForm::WMSysCommand>(WM_SYSCOMMAND);
    t.Add<&TCustomForm::WMMDIActivate>(WM_MDIACTIVATE);
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    DestroyComponents();
    if (Screen) Screen->RemoveForm(this);
    if (Application) Application->FormDestroyed(this);
}

void TCustomForm::AfterConstruction() {
    if (created_) return;
    created_ = true;
    if (OnCreate) OnCreate(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == menu_) menu_ = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style &= ~(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS);
    params.WndParent = nullptr;
    struct BorderLook {
        DWORD style;
        DWORD exStyle;
    };
    static const BorderLook kLooks[] = {
        {WS_POPUP, 0},                                                   // bsNone
        {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0},  // bsSingle
        {WS_OVERLAPPEDWINDOW, 0},                                        // bsSizeable
        {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},       // bsDialog
        {WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW},                     // bsToolWindow
        {WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW},     // bsSizeToolWin
    };
    params.Style |= kLooks[borderStyle_].style;
    params.ExStyle |= kLooks[borderStyle_].exStyle;
    if (formStyle_ == fsMDIChild) {
        params.Style = (params.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
        params.ExStyle |= WS_EX_MDICHILD;
        params.WndParent = MDIParentClient();
    }
    if (formStyle_ == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    RecreateWnd();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu_) menu_->RemoveFreeNotification(this);
    menu_ = menu;
    if (menu) menu->FreeNotification(this);
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- the menu bar ----------------------------------------------------------------

namespace {
constexpr int kBarItemPadding = 8;
}

std::vector<TCustomForm::BarItem> TCustomForm::MenuBarItems() {
    std::vector<BarItem> out;
    if (!menu_ || !handle_) return out;
    TRect wr = WindowRect(handle_);
    TPoint origin{0, 0};
    ::tarvel::ClientToScreen(handle_, origin);
    const int left = origin.x - wr.left, bottom = origin.y - wr.top;
    const int top = bottom - GetSystemMetrics(SM_CYMENU);
    int x = left;
    TFont font;
    for (int i = 0; i < menu_->Items()->Count(); ++i) {
        TMenuItem* item = menu_->Items()->Items(i);
        if (!item->Visible()) continue;
        int w = MeasureText(&font, item->Caption(), 0, true).cx + 2 * kBarItemPadding;
        out.push_back(BarItem{item, TRect{x, top, x + w, bottom}});
        x += w;
    }
    return out;
}

void TCustomForm::WMNCCalcSize(TMessage& m) {
    DefaultHandler(m);
    if (!menu_ || !m.LParam) return;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    TRect& r = params->rgrc[0];
    r.top = std::min(r.bottom, r.top + GetSystemMetrics(SM_CYMENU));
}

void TCustomForm::WMNCPaint(TMessage& m) {
    DefaultHandler(m);
    if (!menu_ || !handle_) return;
    HDC dc = GetWindowDC(handle_);
    if (!dc) return;
    TRect wr = WindowRect(handle_);
    TPoint origin{0, 0};
    ::tarvel::ClientToScreen(handle_, origin);
    const int bottom = origin.y - wr.top;
    FillColor(dc, TRect{0, bottom - GetSystemMetrics(SM_CYMENU), wr.Width(), bottom}, clMenu);
    TFont font;
    const std::vector<BarItem> items = MenuBarItems();
    for (size_t i = 0; i < items.size(); ++i) {
        const BarItem& b = items[i];
        const bool hot = static_cast<int>(i) == barHot_;
        if (hot) FillColor(dc, b.rect, clHighlight);
        DrawCaption(dc, &font, b.item->Caption(), b.rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                    !b.item->Enabled() ? clGrayText
                    : hot              ? clHighlightText
                                       : clMenuText);
    }
    ReleaseDC(handle_, dc);
}

void TCustomForm::WMNCHitTest(TMessage& m) {
    DefaultHandler(m);
    if (!menu_ || !handle_) return;
    TPoint p = PointFromLParam(m.LParam);
    TRect wr = WindowRect(handle_);
    TPoint inWindow{p.x - wr.left, p.y - wr.top};
    for (const BarItem& b : MenuBarItems()) {
        TRect bar{0, b.rect.top, wr.Width(), b.rect.bottom};
        if (bar.Contains(inWindow)) {
            m.Result = HTMENU;
            return;
        }
    }
}

void TCustomForm::RunMenuBar(int hot, int start) {
    TMenuBarSite site;
    site.window = handle_;
    site.images = menu_->Images();
    const TRect wr = WindowRect(handle_);
    for (const BarItem& b : MenuBarItems()) {
        TRect screen = b.rect;
        screen.Offset(wr.left, wr.top);
        site.items.push_back(b.item);
        site.rects.push_back(screen);
    }
    site.showHot = [this](int index) {
        barHot_ = index;
        if (handle_) SendMessage(handle_, WM_NCPAINT, 1, 0);
    };
    if (TMenuItem* chosen = TrackMenuBar(site, hot, static_cast<TMenuBarStart>(start))) chosen->Click();
}

void TCustomForm::WMNCLButtonDown(TMessage& m) {
    if (static_cast<int>(m.WParam) != HTMENU || !menu_) {
        DefaultHandler(m);
        return;
    }
    TPoint p = PointFromLParam(m.LParam);
    TRect wr = WindowRect(handle_);
    const std::vector<BarItem> items = MenuBarItems();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].rect.Contains(TPoint{p.x - wr.left, p.y - wr.top})) {
            RunMenuBar(static_cast<int>(i), mbsMouse);
            return;
        }
    }
}

void TCustomForm::WMSysCommand(TMessage& m) {
    if ((m.WParam & 0xFFF0) == SC_KEYMENU && menu_ && handle_) {
        // Alt alone or F10 selects the bar; Alt with a letter opens that item.
        const std::vector<BarItem> items = MenuBarItems();
        if (!m.LParam && !items.empty()) {
            RunMenuBar(0, mbsSelect);
            return;
        }
        for (size_t i = 0; i < items.size(); ++i) {
            if (IsAccel(static_cast<char16_t>(m.LParam), items[i].item->Caption())) {
                RunMenuBar(static_cast<int>(i), mbsLetter);
                return;
            }
        }
    }
    DefaultHandler(m);
}

TWindowState TCustomForm::WindowState() const {
    if (handle_) {
        if (IsIconic(handle_)) return wsMinimized;
        if (IsZoomed(handle_)) return wsMaximized;
        if (IsWindowVisible(handle_)) return wsNormal;
    }
    return windowState_;
}

void TCustomForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (!handle_ || !Visible()) return;
    if (formStyle_ == fsMDIChild && state != wsMinimized) {
        // Through the client, which keeps one maximized child at a time.
        SendMessage(GetParent(handle_), state == wsMaximized ? WM_MDIMAXIMIZE : WM_MDIRESTORE,
                    reinterpret_cast<WPARAM>(handle_), 0);
        return;
    }
    static const int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
    ShowWindow(handle_, kShow[state]);
}

void TCustomForm::Show() {
    SetVisible(true);
    if (handle_) BringWindowToTop(handle_);
}

void TCustomForm::CMVisibleChangedForm(TMessage&) { Perform(CM_SHOWINGCHANGED, 0, 0); }

void TCustomForm::CMShowingChanged(TMessage&) {
    if (Visible()) {
        AfterConstruction();
        HandleNeeded();
        ApplyPosition();
        formState_.Include(fsShowing);
        DoShow();
        formState_.Exclude(fsShowing);
        if (!Visible() || !handle_) return;
        static const int kShow[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        if (formStyle_ == fsMDIChild) {
            // Shown, the client activates it; the state goes through the client.
            ShowWindow(handle_, SW_SHOWNORMAL);
            if (windowState_ != wsNormal && handle_) SetWindowState(windowState_);
            return;
        }
        ShowWindow(handle_, kShow[windowState_]);
        if (windowState_ != wsMinimized && GetActiveWindow() != handle_) SetActiveWindow(handle_);
    } else {
        DoHide();
        if (handle_) ShowWindow(handle_, SW_HIDE);
    }
}

void TCustomForm::ApplyPosition() {
    TRect area = Screen ? Screen->WorkAreaRect() : TRect{};
    TCustomForm* on = nullptr;
    switch (position_) {
        case poScreenCenter:
        case poDesktopCenter: break;
        case poMainFormCenter: on = Application ? Application->MainForm() : nullptr; break;
        case poOwnerFormCenter:
            on = dynamic_cast<TCustomForm*>(Owner());
            if (!on && Application) on = Application->MainForm();
            break;
        default: return;
    }
    if (on && on != this && on->Visible()) area = on->BoundsRect();
    int x = area.left + (area.Width() - Width()) / 2;
    int y = area.top + (area.Height() - Height()) / 2;
    SetBounds(std::max(0, x), std::max(0, y), Width(), Height());
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (formState_.Contains(fsModal)) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

// The session may end when the form may close.
void TCustomForm::WMQueryEndSession(TMessage& m) { m.Result = CloseQuery() ? 1 : 0; }

// The session ends: the main form's close event runs (what it keeps is
// saved) and the program ends; the question was answered already.
void TCustomForm::WMEndSession(TMessage& m) {
    m.Result = 0;
    if (!m.WParam || !Application || Application->MainForm() != this) return;
    TCloseAction action = caFree;
    DoClose(action);
    Application->Terminate();
}

void TCustomForm::CloseModal() {
    TCloseAction action = caHide;
    if (!CloseQuery()) {
        modalResult_ = mrNone;
        return;
    }
    DoClose(action);
    if (action == caNone)
        modalResult_ = mrNone;
    else if (action == caFree)
        Release();
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::CMRelease(TMessage&) { delete this; }

void TCustomForm::WMClose(TMessage&) { Close(); }

std::vector<HWND> TCustomForm::DisableOtherForms() {
    std::vector<HWND> disabled;
    if (!Screen) return disabled;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f == this || !f->HandleAllocated() || !IsWindowEnabled(f->handle_)) continue;
        EnableWindow(f->handle_, false);
        disabled.push_back(f->handle_);
    }
    return disabled;
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || formState_.Contains(fsModal))
        throw EInvalidOperation("Cannot make a visible window modal");
    if (!Application) throw EInvalidOperation("Cannot show a modal window without an application");
    if (HWND cap = GetCapture()) {
        SendMessage(cap, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    const HWND activeBefore = GetActiveWindow();
    const std::vector<HWND> disabled = DisableOtherForms();
    formState_.Include(fsModal);
    modalResult_ = mrNone;
    auto restore = [&] {
        for (HWND h : disabled)
            if (IsWindow(h)) EnableWindow(h, true);
        if (activeBefore && IsWindow(activeBefore) && IsWindowVisible(activeBefore))
            SetActiveWindow(activeBefore);
        formState_.Exclude(fsModal);
        Application->LeaveModal();
    };
    Application->EnterModal();
    try {
        Show();
        do {
            Application->HandleMessage();
            if (Application->Terminated())
                modalResult_ = mrCancel;
            else if (modalResult_ != mrNone)
                CloseModal();
        } while (modalResult_ == mrNone);
        Hide();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return modalResult_;
}

// ---- focus ------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control && !ContainsControl(control))
        throw EInvalidOperation("Cannot focus a control of another form");
    activeControl_ = control;
    if (control && active_ && handle_ && control->CanFocus()) ::tarvel::SetFocus(control->Handle());
}

void TCustomForm::FocusControl(TWinControl* control) { SetActiveControl(control); }

void TCustomForm::SetFocusedControl(TWinControl* control) {
    if (control != this) activeControl_ = control;
    if (focusedControl_ == control) return;
    TWinControl* old = focusedControl_;
    focusedControl_ = control;
    if (old && old != this) old->Perform(CM_EXIT, 0, 0);
    if (focusedControl_ == control && control != this) control->Perform(CM_ENTER, 0, 0);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoving(TControl* control) {
    auto inside = [control](TControl* c) {
        for (; c; c = c->Parent())
            if (c == control) return true;
        return false;
    };
    if (inside(activeControl_)) activeControl_ = nullptr;
    if (inside(focusedControl_)) focusedControl_ = nullptr;
}

void TCustomForm::RestoreFocus() {
    if (!handle_) return;
    TWinControl* target = activeControl_;
    if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
    ::tarvel::SetFocus(target ? target->Handle() : handle_);
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::WMActivate(TMessage& m) {
    if (LOWORD(m.WParam) != WA_INACTIVE) {
        active_ = true;
        formState_.Include(fsActivated);
        if (Screen) Screen->SetActiveForm(this);
        RestoreFocus();
        Activate();
    } else {
        active_ = false;
        Deactivate();
    }
}

void TCustomForm::WMGetMinMaxInfo(TMessage& m) {
    DefaultHandler(m);
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    if (!info) return;
    TSizeConstraints* c = Constraints();
    if (c->MinWidth() > 0) info->ptMinTrackSize.x = c->MinWidth();
    if (c->MinHeight() > 0) info->ptMinTrackSize.y = c->MinHeight();
    if (c->MaxWidth() > 0) info->ptMaxTrackSize.x = c->MaxWidth();
    if (c->MaxHeight() > 0) info->ptMaxTrackSize.y = c->MaxHeight();
}

void TCustomForm::CMDialogKeyForm(TMessage& m) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    switch (m.WParam) {
        case VK_TAB:
            if (ctrl) break;
            SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
            m.Result = 1;
            return;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!activeControl_) break;
            SelectNext(activeControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
            m.Result = 1;
            return;
    }
    TWinControl::CMDialogKey(m);
}

bool TCustomForm::IsShortCut(TMessage& message) {
    bool handled = false;
    if (OnShortCut) OnShortCut(message, handled);
    if (!handled && menu_) handled = menu_->IsShortCut(message);
    return handled;
}

// ---- TScreen ------------------------------------------------------------------------

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
    if (!Screen) Screen = this;
}

TScreen::~TScreen() {
    if (Screen == this) Screen = nullptr;
}

TStrings* TScreen::Fonts() {
    if (!fonts_) {
        fonts_ = std::make_unique<TStringList>();
        for (const FontFamilyInfo& family : InstalledFontFamilies()) fonts_->Add(family.name);
    }
    return fonts_.get();
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const {
    TRect r;
    if (!SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0)) r = TRect{0, 0, Width(), Height()};
    return r;
}

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    if (!CurrentBackend()) return;
    ::tarvel::SetCursor(LoadCursor(cursor == crDefault ? IDC_ARROW : CursorShapeOf(cursor)));
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return forms_[static_cast<size_t>(index)];
}

TWinControl* TScreen::ActiveControl() const { return activeForm_ ? activeForm_->ActiveControl() : nullptr; }

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(forms_, form);
    if (activeForm_ == form) activeForm_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form) {
    if (form == activeForm_) return;
    activeForm_ = form;
    if (OnActiveFormChange) OnActiveFormChange(this);
}

}  // namespace tarvel

namespace tarvel {

namespace {
void InitiateClientActions(TWinControl* container) {
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* control = container->Controls(i);
        if (!control->Visible()) continue;
        if (control->ControlStyle.Contains(csActionClient)) control->InitiateAction();
        if (auto* inner = dynamic_cast<TWinControl*>(control)) InitiateClientActions(inner);
    }
}
}  // namespace

void TCustomForm::UpdateActions() {
    if (ComponentState().Contains(csDesigning) || !Showing()) return;
    InitiateAction();
    InitiateClientActions(this);
}

}  // namespace tarvel
