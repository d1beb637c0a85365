// The light frame: the full frame's drawing and hit testing over the form's
// own style, buttons and state, with moving and sizing left to the window
// system.

#include "skin/forms/te_forms_frame2.h"

#include "platform/classlib/Application.h"

namespace tarvel {

TteWindowSubclass WindowSubclass2(TTeDefaultForm2* frame) {
    switch (frame->FormBorderStyle()) {
        case bsNone: return kwscNoBorder;
        case bsToolWindow:
        case bsSizeToolWin: return kwscToolWindow;
        default: return kwscStandard;  // a dialog border too
    }
}

TteWindowButtons WindowButtons2(TTeDefaultForm2* frame) {
    TteWindowButtons b;
    const TFormBorderStyle style = frame->FormBorderStyle();
    if (style == bsNone) return b;
    if (style == bsToolWindow || style == bsSizeToolWin)
        b.Include(kwbClose);
    else
        for (int i = kwbSysMenu; i <= kwbCustom; ++i) b.Include(static_cast<TteWindowButtonClass>(i));
    const TBorderIcons icons = frame->FormBorderIcons();
    const struct {
        TBorderIcon icon;
        std::initializer_list<TteWindowButtonClass> buttons;
    } needs[] = {{biSystemMenu, {kwbSysMenu, kwbClose}},
                 {biMaximize, {kwbMax, kwbMaxRestore}},
                 {biMinimize, {kwbMin, kwbMinRestore}},
                 {biHelp, {kwbHelp}}};
    for (const auto& n : needs)
        if (!icons.Contains(n.icon))
            for (TteWindowButtonClass c : n.buttons) b.Exclude(c);
    switch (frame->FormWindowState()) {
        case wsNormal: b.Exclude(kwbMinRestore), b.Exclude(kwbMaxRestore); break;
        case wsMaximized: b.Exclude(kwbMinRestore), b.Exclude(kwbMax); break;
        case wsMinimized: b.Exclude(kwbMin), b.Exclude(kwbMaxRestore); break;
    }
    return b;
}

// ---- TTeDefaultForm2 ----

void TTeDefaultForm2::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeDefaultForm2::WMNCHitTest>(WM_NCHITTEST);
    t.Add<&TTeDefaultForm2::WMNCLButton>(WM_NCLBUTTONDOWN);
    t.Add<&TTeDefaultForm2::WMNCLButton>(WM_NCLBUTTONUP);
    t.Add<&TTeDefaultForm2::WMNCMove>(WM_NCMOUSEMOVE);
}

TTeDefaultForm2::TTeDefaultForm2(TComponent* owner) : TTeForm(owner) {
    themeable_ = false;
    themeSwitches_ = false;
    readsForm_ = true;
    paintEvent_ = false;
    MinimizeApplication = false;
    Gravitation()->Enabled = false;
    // The window system must draw no menu or buttons of its own.
    if (auto* control = dynamic_cast<TWinControl*>(owner); control && !Designing()) {
        HWND h = control->Handle();
        SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_SYSMENU));
    }
    SyncLook();
}

TWindowState TTeDefaultForm2::FormWindowState() const {
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    return form ? form->WindowState() : wsNormal;
}

TBorderIcons TTeDefaultForm2::FormBorderIcons() const {
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    return form ? form->BorderIcons() : TBorderIcons{};
}

TFormBorderStyle TTeDefaultForm2::FormBorderStyle() const {
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    return form ? form->BorderStyle() : bsSizeable;
}

bool TTeDefaultForm2::Sizeable() const {
    const TFormBorderStyle s = FormBorderStyle();
    return s == bsSizeable || s == bsSizeToolWin;
}

void TTeDefaultForm2::SyncLook() {
    TTeBorderStyle style = kbsStandard;
    switch (FormBorderStyle()) {
        case bsNone: style = kbsNone; break;
        case bsToolWindow:
        case bsSizeToolWin: style = kbsToolWindow; break;
        default: break;
    }
    const TBorderIcons from = FormBorderIcons();
    TTeBorderIcons icons;
    if (from.Contains(biSystemMenu)) icons.Include(kbiSystemMenu), icons.Include(kbiClose);
    if (from.Contains(biMinimize)) icons.Include(kbiMinimize);
    if (from.Contains(biMaximize)) icons.Include(kbiMaximize);
    if (from.Contains(biHelp)) icons.Include(kbiHelp);
    const TWindowState ws = FormWindowState();
    TakeFormLook(style, icons,
                 ws == wsMaximized   ? kwsMaximized
                 : ws == wsMinimized ? kwsMinimized
                                     : kwsNormal);
    Dragging()->Sizeable = Sizeable();
    Dragging()->Moveable = true;
}

// The theme hears of every button but those the form's icons rule out,
// the ones this frame never draws included.
TteWindowButtons TTeDefaultForm2::ThemeButtons() { return WindowButtons2(this); }

void TTeDefaultForm2::Loaded() {
    SyncLook();
    inherited::Loaded();
}

void TTeDefaultForm2::DoBeforeMessage(TMessage& message, bool& handled) {
    SyncLook();
    inherited::DoBeforeMessage(message, handled);
}

void TTeDefaultForm2::WMNCHitTest(TMessage& m) {
    MessageHandled();
    const TRect w = FormBounds();
    const TPoint p = PointFromLParam(m.LParam);
    const bool sizing = Sizeable() && FormWindowState() != wsMaximized;
    switch (const TteWindowHitTest hit = GetHitTest(p.x - w.left, p.y - w.top)) {
        case kwhtCaption: m.Result = HTCAPTION; break;
        case kwhtLeft: m.Result = sizing ? HTLEFT : HTCLIENT; break;
        case kwhtTop: m.Result = sizing ? HTTOP : HTCLIENT; break;
        case kwhtRight: m.Result = sizing ? HTRIGHT : HTCLIENT; break;
        case kwhtBottom: m.Result = sizing ? HTBOTTOM : HTCLIENT; break;
        case kwhtTopLeft: m.Result = sizing ? HTTOPLEFT : HTCLIENT; break;
        case kwhtTopRight: m.Result = sizing ? HTTOPRIGHT : HTCLIENT; break;
        case kwhtBottomLeft: m.Result = sizing ? HTBOTTOMLEFT : HTCLIENT; break;
        case kwhtBottomRight: m.Result = sizing ? HTBOTTOMRIGHT : HTCLIENT; break;
        case kwhtBorder: m.Result = HTBORDER; break;
        default:
            // The frame runs its buttons itself; one code keeps the window system out.
            m.Result = hit >= kwhtCloseButton && hit <= kwhtSysMenu ? HTMAXBUTTON : HTCLIENT;
            break;
    }
}

namespace {
// Caption and borders are moved and sized by the window system.
bool LeftToTheWindowSystem(WPARAM hit) { return hit == HTCAPTION || (hit >= HTLEFT && hit <= HTBOTTOMRIGHT); }
}  // namespace

void TTeDefaultForm2::WMNCLButton(TMessage& m) {
    if (LeftToTheWindowSystem(m.WParam)) {
        if (m.Msg == WM_NCLBUTTONDOWN) {
            if (!FrameActive() && GetHandle()) SetFocus(GetHandle());
            CloseActiveComboBox(this);
        }
        UpdateNonClientArea();
        return;
    }
    if (m.Msg == WM_NCLBUTTONDOWN)
        TTeDefaultForm::WMNCLButtonDown(m);
    else
        TTeDefaultForm::WMNCButtonUp(m);
}

void TTeDefaultForm2::WMNCMove(TMessage& m) {
    if (LeftToTheWindowSystem(m.WParam)) return UpdateNonClientArea();
    TTeDefaultForm::WMNCMouseMove(m);
}

void TTeDefaultForm2::Close() {
    if (TCustomForm* form = GetForm()) form->Close();
}

void TTeDefaultForm2::Restore() {
    if (TCustomForm* form = GetForm()) form->SetWindowState(wsNormal);
    SyncLook();
    UpdateNonClientArea();
    InvalidateNow();
}

void TTeDefaultForm2::Maximize() {
    if (TCustomForm* form = GetForm())
        form->SetWindowState(form->WindowState() == wsMaximized ? wsNormal : wsMaximized);
    SyncLook();
    UpdateNonClientArea();
    InvalidateNow();
}

void TTeDefaultForm2::Minimize() {
    TCustomForm* form = GetForm();
    if (!form) return;
    if (form != Application->MainForm())
        form->SetWindowState(form->WindowState() == wsMinimized ? wsNormal : wsMinimized);
    else if (form->WindowState() != wsMinimized)
        Application->Minimize();
    SyncLook();
}

// ---- TTeForm2 ----

TTeForm2::TTeForm2(TComponent* owner) : TTeDefaultForm2(owner) { themeable_ = true; }

}  // namespace tarvel
