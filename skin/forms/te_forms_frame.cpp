// The frame's model: properties, lifecycle, metrics and the messages that
// size the non-client area.

#include <algorithm>

#include "platform/classlib/Application.h"
#include "skin/core/te_const.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {

TteWindowSubclass WindowSubclass(TTeDefaultForm* frame) { return WindowSubclassOf(frame->BorderStyle()); }

TteWindowSubclass WindowSubclassOf(TTeBorderStyle style) {
    switch (style) {
        case kbsNone: return kwscNoBorder;
        case kbsBorder: return kwscBorder;
        case kbsDialog: return kwscDialog;
        case kbsToolWindow: return kwscToolWindow;
        default: return kwscStandard;
    }
}

TteWindowButtonClass WindowButtonOf(TTeBorderIcon icon, TTeWindowState state) {
    switch (icon) {
        case kbiClose: return kwbClose;
        case kbiSystemMenu: return kwbSysMenu;
        case kbiMinimize: return state == kwsMinimized ? kwbMinRestore : kwbMin;
        case kbiMaximize: return state == kwsMaximized ? kwbMaxRestore : kwbMax;
        case kbiHelp: return kwbHelp;
        case kbiRollup: return state == kwsRollup ? kwbRollRestore : kwbRoll;
        case kbiTray: return kwbTray;
        default: return kwbCustom;
    }
}

TteWindowButtons WindowButtons(TTeDefaultForm* frame) {
    return WindowButtonsOf(frame->BorderStyle(), frame->BorderIcons(), frame->WindowState());
}

TteWindowButtons WindowButtonsOf(TTeBorderStyle style, TTeBorderIcons icons, TTeWindowState state) {
    TteWindowButtons b;
    if (style == kbsNone || style == kbsBorder) return b;
    for (int i = kwbSysMenu; i <= kwbCustom; ++i) b.Include(static_cast<TteWindowButtonClass>(i));
    const struct {
        TTeBorderIcon icon;
        std::initializer_list<TteWindowButtonClass> buttons;
    } needs[] = {{kbiSystemMenu, {kwbSysMenu}},
                 {kbiClose, {kwbClose}},
                 {kbiMaximize, {kwbMax, kwbMaxRestore}},
                 {kbiMinimize, {kwbMin, kwbMinRestore}},
                 {kbiTray, {kwbTray}},
                 {kbiRollup, {kwbRoll, kwbRollRestore}},
                 {kbiHelp, {kwbHelp}}};
    for (const auto& n : needs)
        if (!icons.Contains(n.icon))
            for (TteWindowButtonClass c : n.buttons) b.Exclude(c);
    // The restore buttons stand in for the button of the state the window is in.
    switch (state) {
        case kwsNormal:
            for (auto c : {kwbMinRestore, kwbMaxRestore, kwbRollRestore}) b.Exclude(c);
            break;
        case kwsMaximized:
            for (auto c : {kwbMinRestore, kwbMax, kwbRollRestore}) b.Exclude(c);
            break;
        case kwsMinimized:
            for (auto c : {kwbMin, kwbMaxRestore, kwbRollRestore}) b.Exclude(c);
            break;
        case kwsRollup:
            for (auto c : {kwbMinRestore, kwbRoll}) b.Exclude(c);
            break;
        case kwsTray: break;
    }
    return b;
}

// ---- TTeDefaultForm -------------------------------------------------------------------

void TTeDefaultForm::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeDefaultForm::WMNCCalcSize>(WM_NCCALCSIZE);
    t.Add<&TTeDefaultForm::WMNCHitTest>(WM_NCHITTEST);
    t.Add<&TTeDefaultForm::WMSetCursor>(WM_SETCURSOR);
    t.Add<&TTeDefaultForm::WMNCPaint>(WM_NCPAINT);
    t.Add<&TTeDefaultForm::WMNCActivate>(WM_NCACTIVATE);
    t.Add<&TTeDefaultForm::WMActivate>(WM_ACTIVATE);
    t.Add<&TTeDefaultForm::WMNCLButtonDown>(WM_NCLBUTTONDOWN);
    t.Add<&TTeDefaultForm::WMNCRButtonDown>(WM_NCRBUTTONDOWN);
    t.Add<&TTeDefaultForm::WMNCLButtonDblClk>(WM_NCLBUTTONDBLCLK);
    t.Add<&TTeDefaultForm::WMNCButtonUp>(WM_NCLBUTTONUP);
    t.Add<&TTeDefaultForm::WMNCButtonUp>(WM_NCRBUTTONUP);
    t.Add<&TTeDefaultForm::WMNCMouseMove>(WM_NCMOUSEMOVE);
    t.Add<&TTeDefaultForm::WMMouseMove>(WM_MOUSEMOVE);
    t.Add<&TTeDefaultForm::WMLButtonUp>(WM_LBUTTONUP);
    t.Add<&TTeDefaultForm::WMSysCommand>(WM_SYSCOMMAND);
    t.Add<&TTeDefaultForm::WMWindowPosChanging>(WM_WINDOWPOSCHANGING);
    t.Add<&TTeDefaultForm::WMGetMinMaxInfo>(WM_GETMINMAXINFO);
    t.Add<&TTeDefaultForm::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeDefaultForm::WMPaint>(WM_PAINT);
    t.Add<&TTeDefaultForm::WMThemeChanged>(WM_THEMECHANGED);
    t.Add<&TTeDefaultForm::WMDwmCompositionChanged>(WM_DWMCOMPOSITIONCHANGED);
    t.Add<&TTeDefaultForm::FMUpdateNCArea>(FM_UPDATENCAREA);
    t.Add<&TTeDefaultForm::FMMaximize>(FM_MAXIMIZE);
    t.Add<&TTeDefaultForm::FMStartAction>(FM_STARTACTION);
    t.Add<&TTeDefaultForm::CMPaintToBitmap>(CM_PAINTTOBITMAP);
}

TTeDefaultForm::TTeDefaultForm(TComponent* owner) : TTeHook(owner) {
    blending_.OnChange = [this](TObject*) {
        if (!Loading()) Update();
    };
    shadow_.OnChange = blending_.OnChange;
    if (auto* form = dynamic_cast<TCustomForm*>(owner)) {
        constraints_.Assign(form->Constraints());
        if (form->HandleAllocated()) TakeWindowSize();
    }
    trayWindow_ =
        AllocateMessageWindow([self = self_](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            return *self ? (*self)->TrayWndProc(msg, wParam, lParam)
                         : DefWindowProc(hwnd, msg, wParam, lParam);
        });
    if (!Designing()) {
        trayData_.hWnd = trayWindow_;
        // The icon's number: the component's address, cut to its width.
        trayData_.uID = static_cast<UINT>(reinterpret_cast<uintptr_t>(this));
        trayData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        trayData_.uCallbackMessage = FM_TRAYNOTIFY;
        hoverTimer_ = std::make_unique<TTimer>(nullptr);
        hoverTimer_->SetEnabled(false);
        hoverTimer_->SetInterval(400);
        hoverTimer_->OnTimer = [this](TObject* sender) { DoTimer(sender); };
    }
}

TTeDefaultForm::~TTeDefaultForm() {
    UnhookMDIClient();
    UnhookApplication();
    hoverTimer_.reset();
    if (systemMenuLink_) systemMenuLink_->RemoveFreeNotification(this);
    if (trayMenuLink_) trayMenuLink_->RemoveFreeNotification(this);
    if (!Designing() && trayWindow_) Shell_NotifyIcon(NIM_DELETE, &trayData_);
    *self_ = nullptr;
    if (trayWindow_) DestroyWindow(trayWindow_);
}

void TTeDefaultForm::SetActive(bool value) {
    inherited::SetActive(value);
    if (Designing()) return;
    Update();
    InvalidateNow();
}

void TTeDefaultForm::SetBorderStyle(TTeBorderStyle value) {
    borderStyle_ = value;
    if (value == kbsDialog) dragging_.Sizeable = false;
    if (Loading()) return;
    if (auto* form = dynamic_cast<TCustomForm*>(Owner())) {
        static const TFormBorderStyle kStyles[] = {bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow};
        form->SetBorderStyle(kStyles[value]);
    }
    Update();
}

void TTeDefaultForm::SetBorderIcons(TTeBorderIcons value) {
    borderIcons_ = value;
    if (!Loading()) UpdateNonClientArea();
}

WideString TTeDefaultForm::Caption() const {
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    return form ? Utf8ToWide(form->Caption()) : WideString();
}

void TTeDefaultForm::SetCaption(const WideString& value) {
    if (auto* form = dynamic_cast<TCustomForm*>(Owner())) form->SetCaption(WideToUtf8(value));
    UpdateNonClientArea();
}

void TTeDefaultForm::SetConstraints(const TSizeConstraints& value) {
    constraints_.Assign(const_cast<TSizeConstraints*>(&value));
    if (auto* form = GetForm()) {
        const int w = std::max(form->Width(), constraints_.MinWidth());
        const int h = std::max(form->Height(), constraints_.MinHeight());
        if (w != form->Width() || h != form->Height()) form->SetBounds(form->Left(), form->Top(), w, h);
    }
    Update();
}

void TTeDefaultForm::SetTrayMenuLink(TPopupMenu* menu) {
    if (trayMenuLink_) trayMenuLink_->RemoveFreeNotification(this);
    trayMenuLink_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TTeDefaultForm::SetSystemMenuLink(TPopupMenu* menu) {
    if (systemMenuLink_) systemMenuLink_->RemoveFreeNotification(this);
    systemMenuLink_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TTeDefaultForm::SetWindowState(TTeWindowState value) {
    if (value == windowState_) return;
    if (Designing()) {
        windowState_ = value;
        return;
    }
    if (Loading()) {
        loadedState_ = value;
        return;
    }
    switch (value) {
        case kwsNormal: Restore(); break;
        case kwsMaximized: Maximize(); break;
        case kwsMinimized: Minimize(); break;
        case kwsRollup: Rollup(); break;
        case kwsTray: MinToTray(); break;
    }
}

void TTeDefaultForm::Loaded() {
    inherited::Loaded();
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (form && !readsForm_) {
        SetBorderStyle(borderStyle_);
        SetBorderIcons(borderIcons_);
    }
    if (auto* control = dynamic_cast<TWinControl*>(Owner()); control && !Designing()) {
        SetWinControl(control);
        TakeWindowSize();
        HookShortCuts();
    }
    // The frame moves and sizes the window whole; an outline is never drawn.
    dragging_.DragMode = kfdmFullDrag;
    if (Designing()) return;
    UpdateTrayIcon();
    if (loadedState_ != kwsNormal) {
        if (loadedState_ != kwsRollup && form) restoreBounds_ = form->BoundsRect();
        PostMessage(GetHandle(), FM_STARTACTION, static_cast<WPARAM>(loadedState_), 0);
    }
    if (form && loadedState_ == kwsNormal) {
        TNotifyEvent onResize = std::move(form->OnResize);
        struct Put {
            TCustomForm* form;
            TNotifyEvent& saved;
            ~Put() { form->OnResize = std::move(saved); }
        } put{form, onResize};
        Update();
    }
    HookMDIClient();
    if (OnCreate) OnCreate(this);
    if (hoverTimer_) hoverTimer_->SetEnabled(true);
}

void TTeDefaultForm::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == TOperation::opRemove && component == systemMenuLink_) systemMenuLink_ = nullptr;
    if (operation == TOperation::opRemove && component == trayMenuLink_) trayMenuLink_ = nullptr;
    if (operation == TOperation::opRemove && component == menuBar_) menuBar_ = nullptr;
    if (operation == TOperation::opRemove && component == capturedControl_) capturedControl_ = nullptr;
    if (operation == TOperation::opRemove && (component == vertHost_ || component == vertBar_)) {
        vertHost_ = nullptr;
        vertBar_ = nullptr;
    }
    if (operation == TOperation::opRemove && (component == horzHost_ || component == horzBar_)) {
        horzHost_ = nullptr;
        horzBar_ = nullptr;
    }
}

void TTeDefaultForm::TakeWindowSize() {
    TWinControl* control = GetWinControl() ? GetWinControl() : dynamic_cast<TWinControl*>(Owner());
    if (!control || !control->HandleAllocated()) return;
    const TRect r = WindowRect(control->Handle());
    windowWidth_ = r.Width();
    windowHeight_ = r.Height();
    formWidth_ = windowWidth_ - ShadowSize();
    formHeight_ = windowHeight_ - ShadowSize();
}

TRect TTeDefaultForm::FormBounds() {
    HWND h = GetHandle();
    return h ? WindowRect(h) : TRect{};
}

TPoint TTeDefaultForm::NormalizePoint(TPoint screen) {
    const TRect r = FormBounds();
    return TPoint{screen.x - r.left, screen.y - r.top};
}

bool TTeDefaultForm::AskAction(const TTeFormActionEvent& event) {
    bool callDefault = true;
    if (event) event(this, callDefault);
    return callDefault;
}

// ---- metrics ----

TRect TTeDefaultForm::GetClientBounds() {
    TRect r{0, 0, formWidth_, formHeight_};
    const int b = DefaultBorderWidth;
    switch (borderStyle_) {
        case kbsStandard:
        case kbsDialog: return TRect{r.left + b, r.top + b + DefaultCaptionHeight, r.right - b, r.bottom - b};
        case kbsToolWindow:
            return TRect{r.left + b, r.top + b + DefaultToolCaptionHeight, r.right - b, r.bottom - b};
        default: return r;
    }
}

TRect TTeDefaultForm::GetClientRect() {
    TRect r = GetClientBounds();
    r.Offset(-r.left, -r.top);
    return r;
}

TSize TTeDefaultForm::GetMinTrackSize() {
    TSize s{140, formHeight_ - GetClientBounds().Height()};
    if (constraints_.MinWidth()) s.cx = constraints_.MinWidth();
    if (constraints_.MinHeight()) s.cy = constraints_.MinHeight();
    return s;
}

TSize TTeDefaultForm::GetMaxTrackSize() {
    const TRect m = GetMaximizedRect();
    TSize s{m.Width(), m.Height()};
    if (constraints_.MaxWidth()) s.cx = constraints_.MaxWidth();
    if (constraints_.MaxHeight()) s.cy = constraints_.MaxHeight();
    return s;
}

TRect TTeDefaultForm::GetParentRect() {
    HWND h = GetHandle();
    if (h && (GetWindowLong(h, GWL_STYLE) & WS_CHILD)) {
        TRect r = ClientRect(GetParent(h));
        return r;
    }
    MONITORINFO info;
    GetMonitorInfo(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

TRect TTeDefaultForm::GetMaximizedRect() {
    TRect r = GetParentRect();
    const int b = GetClientBounds().left;
    return TRect{r.left - b, r.top - b, r.right + b, r.bottom + b};
}

TRect TTeDefaultForm::GetMinimizedRect() {
    const TRect p = GetParentRect();
    const int h = formHeight_ - GetClientBounds().Height();
    return TRect{p.left, p.bottom - h, p.left + GetSystemMetrics(SM_CXMINIMIZED), p.bottom};
}

TRect TTeDefaultForm::GetRollupRect() {
    const TRect f = FormBounds();
    const int h = formHeight_ - GetClientBounds().Height();
    return TRect{f.left, f.top, f.left + formWidth_, f.top + h};
}

// ---- updates ----

void TTeDefaultForm::Update() {
    TCustomForm* form = GetForm();
    if (!form || !form->HandleAllocated()) return;
    HWND h = form->Handle();
    updating_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{updating_};
    const TRect before = ClientRect(h);
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const TRect after = ClientRect(h);
    if (windowState_ == kwsNormal && (after.Width() != before.Width() || after.Height() != before.Height())) {
        const TRect w = WindowRect(h);
        SetWindowPos(h, nullptr, 0, 0, w.Width() + before.Width() - after.Width(),
                     w.Height() + before.Height() - after.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(h, nullptr, HRGN{}, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    UpdateAlphaMask();
}

void TTeDefaultForm::InvalidateNow() {
    TCustomForm* form = GetForm();
    if (!form || !form->HandleAllocated()) return;
    form->Invalidate();
    UpdateWindow(form->Handle());
}

void TTeDefaultForm::MoveWindow(int left, int top, int width, int height) {
    TCustomForm* form = GetForm();
    if (!form) return;
    MINMAXINFO mmi;
    if (form->HandleAllocated())
        SendMessage(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (mmi.ptMinTrackSize.x > 0) width = std::max(width, mmi.ptMinTrackSize.x);
    if (mmi.ptMinTrackSize.y > 0) height = std::max(height, mmi.ptMinTrackSize.y);
    if (mmi.ptMaxTrackSize.x > 0) width = std::min(width, mmi.ptMaxTrackSize.x);
    if (mmi.ptMaxTrackSize.y > 0) height = std::min(height, mmi.ptMaxTrackSize.y);
    form->SetBounds(left, top, width, height);
    if (pumpPaint_ && form->HandleAllocated()) UpdateWindow(form->Handle());
}

void TTeDefaultForm::MoveWindowBy(int dx, int dy) {
    if (TCustomForm* form = GetForm())
        form->SetBounds(form->Left() + dx, form->Top() + dy, form->Width(), form->Height());
}

void TTeDefaultForm::ChangeSize() {
    if (performance_ == qvfpPersistentBuffer) {
        if (!buffer_) buffer_ = std::make_unique<TteBitmap>();
        buffer_->SetSize(windowWidth_, windowHeight_);
    }
    if (HWND h = GetHandle(); h && Active()) {
        drawingEnabled_ = false;
        struct Enable {
            bool& flag;
            ~Enable() { flag = true; }
        } enable{drawingEnabled_};
        HRGN region = GetRegion();
        // The shadow is the form's own shape again, S pixels down and right.
        if (const int S = ShadowSize(); S > 0 && region) {
            HRGN moved = GetRegion();
            OffsetRgn(moved, S, S);
            CombineRgn(region, region, moved, RGN_OR);
            DeleteObject(moved);
        }
        SetWindowRgn(h, region, true);
    }
    UpdateAlphaMask();
    if (OnResize) OnResize(this);
}

// ---- messages that size the frame ----

void TTeDefaultForm::WMNCCalcSize(TMessage& m) {
    MessageHandled();
    m.Result = 0;
    if (!m.WParam || !m.LParam) return;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    TRect& r = params->rgrc[0];
    windowWidth_ = r.Width();
    windowHeight_ = r.Height();
    formWidth_ = windowWidth_ - ShadowSize();
    formHeight_ = windowHeight_ - ShadowSize();
    if (!DisabledNCArea) {
        const TRect cb = GetClientBounds();
        r = TRect{r.left + cb.left, r.top + cb.top, r.right - (windowWidth_ - cb.right),
                  r.bottom - (windowHeight_ - cb.bottom)};
    }
    params->rgrc[1] = r;
}

void TTeDefaultForm::WMWindowPosChanging(TMessage& m) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
    if (!wp) return;
    HWND h = GetHandle();
    const bool sizes = !(wp->flags & SWP_NOSIZE);
    if (sizes || !(wp->flags & SWP_NOMOVE)) {
        bool sized = false;
        if (sizes) {
            const TSize mx = GetMaxTrackSize();
            if (mx.cx > 0) wp->cx = std::min(wp->cx, mx.cx);
            if (mx.cy > 0) wp->cy = std::min(wp->cy, mx.cy);
            if (windowState_ != kwsRollup && windowState_ != kwsMinimized) {
                const TSize mn = GetMinTrackSize();
                wp->cx = std::max(wp->cx, mn.cx);
                wp->cy = std::max(wp->cy, mn.cy);
            }
            sized = (wp->cx != windowWidth_ || wp->cy != windowHeight_) && !(wp->flags & SWP_FRAMECHANGED);
        }
        if (sized) {
            windowWidth_ = wp->cx;
            windowHeight_ = wp->cy;
            formWidth_ = windowWidth_ - ShadowSize();
            formHeight_ = windowHeight_ - ShadowSize();
            if (DisabledNCArea) InvalidateTransparentChildren();
        }
        if (wp->flags & SWP_FRAMECHANGED) UpdateNonClientArea();
        // Also while a compositing manager mixes: it may go while the window is open.
        if (Effects() && h) {
            const TRect now = WindowRect(h);
            const TPoint at = (wp->flags & SWP_NOMOVE) ? TPoint{now.left, now.top} : TPoint{wp->x, wp->y};
            CopyScreen(Bounds(at.x, at.y, sizes ? wp->cx : now.Width(), sizes ? wp->cy : now.Height()));
        }
        if (sized) ChangeSize();
    }
    if ((wp->flags & SWP_SHOWWINDOW) && loadedState_ == kwsNormal) {
        composited_ = Effects() && h && DesktopComposited();
        // Taken with a compositing manager too, for the snapshot way should it go.
        if (Effects() && h) {
            snapshotRect_ = TRect{};
            CopyScreen(WindowRect(h));
        }
        if (composited_) {
            SetWindowLongPtr(h, GWL_EXSTYLE, GetWindowLongPtr(h, GWL_EXSTYLE) | WS_EX_LAYERED);
            alphaMaskKey_.clear();  // given anew: the window may have lost it
            UpdateAlphaMask();
        }
        if (!AnimationShow()) return;
    }
    if (Effects()) wp->flags |= SWP_NOCOPYBITS;
}

void TTeDefaultForm::WMGetMinMaxInfo(TMessage& m) {
    auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
    if (!mmi || readsForm_) return;
    MessageHandled();
    m.Result = 0;
    // Rolled up or minimized the window is smaller than anyone could size it.
    const bool free = windowState_ == kwsRollup || windowState_ == kwsMinimized;
    const TSize mn = free ? TSize{1, 1} : GetMinTrackSize(), mx = GetMaxTrackSize();
    mmi->ptMinTrackSize = TPoint{mn.cx, mn.cy};
    if (mx.cx > 0) mmi->ptMaxTrackSize.x = mx.cx;
    if (mx.cy > 0) mmi->ptMaxTrackSize.y = mx.cy;
}

void TTeDefaultForm::WMThemeChanged(TMessage& m) {
    InitCaptionFonts();
    InitFrameMetrics();
    m.Result = 0;
    MessageHandled();
}

void TTeDefaultForm::WMDwmCompositionChanged(TMessage& m) {
    m.Result = 0;
    MessageHandled();
    HWND h = GetHandle();
    // A hidden frame chooses when it is shown.
    if (!h || !IsWindowVisible(h)) return;
    const bool now = Effects() && DesktopComposited();
    if (now == composited_) return;
    composited_ = now;
    if (composited_) {
        SetWindowLongPtr(h, GWL_EXSTYLE, GetWindowLongPtr(h, GWL_EXSTYLE) | WS_EX_LAYERED);
        alphaMaskKey_.clear();
        UpdateAlphaMask();
    } else {
        // The screen read now would show the frame itself: the snapshot
        // taken when it was shown, moved or sized stands.
        SetLayeredWindowAlphaMask(h, nullptr);
        alphaMaskKey_.clear();
    }
    RedrawWindow(h, nullptr, HRGN{}, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TTeDefaultForm::FMUpdateNCArea(TMessage&) {
    UpdateNonClientArea();
    MessageHandled();
}

void TTeDefaultForm::FMMaximize(TMessage&) {
    Maximize();
    MessageHandled();
}

void TTeDefaultForm::FMStartAction(TMessage& m) {
    MessageHandled();
    if (inStartAction_) return;
    inStartAction_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{inStartAction_};
    switch (static_cast<TTeWindowState>(m.WParam)) {
        case kwsMaximized: Maximize(); break;
        case kwsMinimized: Minimize(); break;
        case kwsRollup: Rollup(); break;
        case kwsTray: MinToTray(); break;
        default: break;
    }
}

void TTeDefaultForm::DoAfterMessage(TMessage& message, bool&) {
    switch (message.Msg) {
        case WM_SETTEXT:
        case WM_SETICON: UpdateNonClientArea(); break;
        case WM_NCACTIVATE:
            if (GetHandle() && !GetParent(GetHandle())) UpdateNonClientArea();
            break;
        default: break;
    }
}

// ---- TTeForm --------------------------------------------------------------------------

void TTeForm::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeForm::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeForm::SNMLinkChanged>(SNM_LINKCHANGED);
}

TTeForm::TTeForm(TComponent* owner) : TTeDefaultForm(owner) { AddThemeNotification(this); }

TTeForm::~TTeForm() {
    RemoveThemeNotification(this);
    if (themeLink_) themeLink_->RemoveFreeNotification(this);
}

void TTeForm::SetThemeLink(TteCustomThemeLink* link) {
    if (themeLink_) themeLink_->RemoveFreeNotification(this);
    themeLink_ = link;
    if (link) link->FreeNotification(this);
    if (Designing()) return;
    if (Loading() || !themeSwitches_)
        InvalidateNow();
    else
        Update();
}

void TTeForm::SetThemeObject(const String& value) {
    themeObject_ = value;
    InvalidateNow();
}

TteTheme* TTeForm::Theme() { return GetThemeLink(themeLink_); }

bool TTeForm::Themed() {
    return themeable_ && IsObjectDefined(WindowSubclass(this), themeObject_, themeLink_);
}

void TTeForm::Loaded() {
    inherited::Loaded();
    if (Themed()) SetActive(true);
}

void TTeForm::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeLink_) themeLink_ = nullptr;
}

void TTeForm::SNMThemeMessage(TMessage& m) {
    switch (static_cast<TteThemeMessageCode>(m.WParam)) {
        case tmChanged:
        case tmApply:
        case tmReleased:
            if (!themeSwitches_) {
                Update();
            } else if (Theme() && Themed()) {
                SetActive(true);
                Update();
            } else if (Active()) {
                SetActive(false);
                if (HWND h = GetHandle()) SetWindowRgn(h, HRGN{}, true);
                Update();
            }
            if (WindowState() == kwsMaximized) MoveWindow(GetMaximizedRect());
            break;
        case tmSystemChanged:
            UpdateNonClientArea();
            InvalidateNow();
            break;
        default: break;
    }
}

void TTeForm::SNMLinkChanged(TMessage& m) {
    if (reinterpret_cast<TteCustomThemeLink*>(m.LParam) != themeLink_ || !themeLink_) return;
    if (Themed() && !Active()) SetActive(true);
    Update();
}

TteWindowInfo TTeForm::MakeWindowInfo() {
    TteWindowDrawStates states;
    if (FrameActive()) states.Include(kwdsActive);
    return WindowInfo(TRect{0, 0, FormWidth(), FormHeight()}, states, NullRect, ThemeButtons(), Caption(),
                      DisabledNCArea);
}

TRect TTeForm::GetClientBounds() {
    if (!Themed()) return inherited::GetClientBounds();
    return Theme()->WindowGetClientRect(WindowSubclass(this), TRect{0, 0, FormWidth(), FormHeight()},
                                        themeObject_);
}

HRGN TTeForm::GetRegion() {
    HRGN r = Themed() ? Theme()->WindowGetRegion(WindowSubclass(this), TRect{0, 0, FormWidth(), FormHeight()},
                                                 ThemeObject())
                      : HRGN{};
    return r ? r : inherited::GetRegion();
}

TRect TTeForm::GetMaximizedRect() {
    if (!Themed()) return inherited::GetMaximizedRect();
    return GetParentRect();
}

}  // namespace tarvel
