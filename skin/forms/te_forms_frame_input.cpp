// The frame's input: hit testing, the mouse on the frame, the frame's own
// move and size loop, caption buttons, the system menu and the window
// commands they run.

#include <algorithm>

#include "platform/classlib/Application.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {

const char* const SSysMenuMaximize = "Ma&ximize";
const char* const SSysMenuMinimize = "Mi&nimize";
const char* const SSysMenuClose = "&Close";
const char* const SSysMenuRollup = "Ro&llup";
const char* const SSysMenuRestore = "&Restore";
const char* const SSysMenuTray = "Minimize to &Tray";

namespace {

bool IsButtonPart(TteWindowHitTest part) { return part >= kwhtCloseButton && part <= kwhtSysMenu; }

TPoint WindowPointFromClient(TTeDefaultForm* frame, LPARAM lParam) {
    // Without a non-client area the client starts at the window's corner.
    const TRect cb = frame->DisabledNCArea ? TRect{} : frame->GetClientBounds();
    TPoint p = PointFromLParam(lParam);
    return TPoint{p.x + cb.left, p.y + cb.top};
}

}  // namespace

// ---- the classic frame's geometry ----

int FrameHitCode(TteWindowHitTest part, bool moveable, bool sizing) {
    switch (part) {
        case kwhtCaption: return moveable ? HTCAPTION : HTCLIENT;
        case kwhtLeft: return sizing ? HTLEFT : HTCLIENT;
        case kwhtTop: return sizing ? HTTOP : HTCLIENT;
        case kwhtRight: return sizing ? HTRIGHT : HTCLIENT;
        case kwhtBottom: return sizing ? HTBOTTOM : HTCLIENT;
        case kwhtTopLeft: return sizing ? HTTOPLEFT : HTCLIENT;
        case kwhtTopRight: return sizing ? HTTOPRIGHT : HTCLIENT;
        case kwhtBottomLeft: return sizing ? HTBOTTOMLEFT : HTCLIENT;
        case kwhtBottomRight: return sizing ? HTBOTTOMRIGHT : HTCLIENT;
        case kwhtBorder:
        case kwhtRollButton:
        case kwhtTrayButton:
        case kwhtNonClient: return HTBORDER;
        case kwhtCloseButton: return HTCLOSE;
        case kwhtHelpButton: return HTHELP;
        case kwhtMinButton: return HTMINBUTTON;
        case kwhtMaxButton: return HTMAXBUTTON;
        case kwhtSysMenu: return HTSYSMENU;
        default: return HTCLIENT;
    }
}

TRect ClassicCaptionButtonRect(TTeBorderIcon icon, const TRect& cb, const TClassicCaption& c) {
    if (!c.icons.Contains(icon)) return NullRect;
    const TRect band{cb.left, DefaultBorderWidth + 1, cb.right, cb.top};
    const int h = band.Height();
    if (h <= 0) return NullRect;
    if (icon == kbiSystemMenu) return TRect{band.left, band.top, band.left + h, band.bottom};
    // Right to left, close apart from the others.
    const int w = h - 2, hb = h - 4, top = band.top + 2;
    int x = band.right - w - 2;
    auto at = [&](int left) { return TRect{left, top, left + w, top + hb}; };
    if (c.icons.Contains(kbiClose)) {
        if (icon == kbiClose) return at(x);
        x -= w + 2;
    }
    if (c.style == kbsToolWindow) return NullRect;
    if (c.icons.Contains(kbiMaximize) && !c.minimized) {
        if (icon == kbiMaximize) return at(x);
        x -= w;
    }
    if (c.icons.Contains(kbiMinimize)) {
        if (icon == kbiMinimize) return at(x);
        x -= w;
    }
    if (c.icons.Contains(kbiRollup) && !c.minimized) {
        x -= 2;
        if (icon == kbiRollup) return at(x);
        x -= w;
    }
    if (c.traySlot && c.icons.Contains(kbiTray) && !c.minimized) {
        if (icon == kbiTray) return at(x);
        x -= w;
    }
    if (icon == kbiHelp && !c.rolledUp && !c.minimized) return at(x - 2);
    return NullRect;
}

TteWindowHitTest CaptionHitTest(int x, int y, int width, const TRect& cb,
                                const std::function<TRect(TTeBorderIcon)>& buttonRect) {
    TteWindowHitTest hit = kwhtClient;
    if (y < cb.top && x < width) hit = kwhtCaption;
    const struct {
        TTeBorderIcon icon;
        TteWindowHitTest part;
    } buttons[] = {{kbiSystemMenu, kwhtSysMenu}, {kbiClose, kwhtCloseButton}, {kbiMinimize, kwhtMinButton},
                   {kbiMaximize, kwhtMaxButton}, {kbiHelp, kwhtHelpButton},   {kbiRollup, kwhtRollButton},
                   {kbiTray, kwhtTrayButton}};
    const TPoint p{x, y};
    for (const auto& b : buttons)
        if (buttonRect(b.icon).Contains(p)) hit = b.part;
    return hit;
}

TteWindowHitTest BorderHitTest(int x, int y, TSize size, const TRect& cb, TTeBorderStyle style,
                               TteWindowHitTest hit) {
    constexpr int kCornerZone = 20;
    const int W = size.cx, H = size.cy;
    int c = 0;
    if (style == kbsStandard || style == kbsDialog) c = DefaultCaptionHeight;
    if (style == kbsToolWindow) c = DefaultToolCaptionHeight;
    auto byX = [&](TteWindowHitTest lo, TteWindowHitTest mid, TteWindowHitTest hi) {
        return x < kCornerZone ? lo : x > W - kCornerZone ? hi : mid;
    };
    auto byY = [&](TteWindowHitTest lo, TteWindowHitTest mid, TteWindowHitTest hi) {
        return y < kCornerZone ? lo : y > H - kCornerZone ? hi : mid;
    };
    if (y < cb.top - c) hit = byX(kwhtTopLeft, kwhtTop, kwhtTopRight);
    if (cb.bottom < y && y < H) hit = byX(kwhtBottomLeft, kwhtBottom, kwhtBottomRight);
    if (x < cb.left) hit = byY(kwhtTopLeft, kwhtLeft, kwhtBottomLeft);
    if (cb.right < x && x < W) hit = byY(kwhtTopRight, kwhtRight, kwhtBottomRight);
    return hit;
}

// ---- caption buttons and hit testing ----

TRect TTeDefaultForm::GetCaptionButtonRect(TTeBorderIcon icon) {
    return ClassicCaptionButtonRect(icon, GetClientBounds(),
                                    TClassicCaption{borderStyle_, borderIcons_, windowState_ == kwsMinimized,
                                                    windowState_ == kwsRollup, true});
}

TteWindowHitTest TTeDefaultForm::GetHitTest(int x, int y) {
    const TRect cb = GetClientBounds();
    const TteWindowHitTest hit = CaptionHitTest(
        x, y, formWidth_, cb, [this](TTeBorderIcon icon) { return GetCaptionButtonRect(icon); });
    if (windowState_ == kwsMaximized || windowState_ == kwsMinimized || windowState_ == kwsRollup) return hit;
    const TteWindowHitTest border =
        BorderHitTest(x, y, TSize{formWidth_, formHeight_}, cb, borderStyle_, hit);
    return border == kwhtClient ? GripHitTest(x, y) : border;
}

TteWindowHitTest TTeDefaultForm::GetGripperHitTest(int x, int y) {
    return dragging_.Sizeable && GetGripperRect().Contains(TPoint{x, y}) ? kwhtBottomRight : kwhtClient;
}

TteWindowHitTest TTeDefaultForm::GetStatusBarHitTest(int x, int y) {
    TCustomForm* form = GetForm();
    if (!form) return kwhtClient;
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* control = form->Controls(i);
        auto* host = dynamic_cast<TTeSizeGripHost*>(control);
        if (!host || !host->IsSizeGripVisible()) continue;
        const TRect f = FormBounds();
        TRect grip = host->GetGripperRect();
        const TPoint at = control->ClientToScreen(TPoint{grip.left, grip.top});
        grip.Offset(at.x - f.left - grip.left, at.y - f.top - grip.top);
        return grip.Contains(TPoint{x, y}) ? kwhtBottomRight : kwhtClient;
    }
    return kwhtClient;
}

TteWindowHitTest TTeDefaultForm::GripHitTest(int x, int y) {
    const TteWindowHitTest hit = GetGripperHitTest(x, y);
    return hit != kwhtClient ? hit : GetStatusBarHitTest(x, y);
}

TRect TTeForm::GetCaptionButtonRect(TTeBorderIcon icon) {
    if (!Themed()) return inherited::GetCaptionButtonRect(icon);
    if (!BorderIcons().Contains(icon)) return NullRect;
    const TteWindowButtonClass button = WindowButtonOf(icon, WindowState());
    if (button == kwbCustom) return NullRect;
    return Theme()->WindowGetButtonRect(WindowSubclass(this), MakeWindowInfo(), button, themeObject_);
}

TteWindowHitTest TTeForm::GetHitTest(int x, int y) {
    if (!Themed()) return inherited::GetHitTest(x, y);
    const TteWindowHitTest hit =
        Theme()->WindowGetHitTest(WindowSubclass(this), MakeWindowInfo(), x, y, themeObject_);
    return hit == kwhtClient ? GripHitTest(x, y) : hit;
}

void TTeDefaultForm::WMNCHitTest(TMessage& m) {
    MessageHandled();
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    m.Result = FrameHitCode(GetHitTest(p.x, p.y), dragging_.Moveable,
                            dragging_.Sizeable && windowState_ != kwsMaximized);
    // The whole window is client: its empty client area drags the form, the
    // controls on it keep the mouse.
    if (DisabledNCArea && m.Result == HTCLIENT && !GraphicControlAt(p.x, p.y)) {
        const bool cursorSet = Screen && Screen->Cursor() != crDefault;
        if (!cursorSet || !GetClientBounds().Contains(p)) m.Result = HTCAPTION;
    }
}

TControl* TTeDefaultForm::GraphicControlAt(int x, int y) {
    auto* form = dynamic_cast<TWinControl*>(GetForm());
    if (!form) return nullptr;
    return dynamic_cast<TGraphicControl*>(form->ControlAtPos(TPoint{x, y}, false));
}

bool TTeDefaultForm::PassToCapturedControl(UINT msg, TMouseButton button, int x, int y) {
    if (!DisabledNCArea || !capturedControl_) return false;
    const bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP;
    const WPARAM keys = up ? 0 : button == mbRight ? MK_RBUTTON : MK_LBUTTON;
    const TPoint at{x - capturedControl_->Left(), y - capturedControl_->Top()};
    TControl* control = capturedControl_;
    if (up) capturedControl_ = nullptr;
    control->Perform(msg, keys, PointToLParam(at));
    return true;
}

void TTeDefaultForm::WMSetCursor(TMessage& m) {
    int shape = 0;
    switch (static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam)))) {
        case HTTOP:
        case HTBOTTOM: shape = IDC_SIZENS; break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: shape = IDC_SIZENWSE; break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: shape = IDC_SIZENESW; break;
        case HTLEFT:
        case HTRIGHT: shape = IDC_SIZEWE; break;
        default: return;  // the client's own cursors stay
    }
    if (!dragging_.Sizeable) return;
    MessageHandled();
    HCURSOR was = SetCursor(LoadCursor(shape));
    m.Result = CursorShape(was) != shape ? 1 : 0;
}

// ---- the mouse on the frame ----

TControl* ActiveComboBox = nullptr;
TNotifyEvent DoCloseActiveComboBox;

void CloseActiveComboBox(TObject* frame) {
    if (!ActiveComboBox || !DoCloseActiveComboBox) return;
    // The close-up clears the globals while it runs.
    const TNotifyEvent close = DoCloseActiveComboBox;
    close(frame);
}

void TTeDefaultForm::WMNCLButtonDown(TMessage& m) {
    if (!frameActive_ && GetHandle()) SetFocus(GetHandle());
    CloseActiveComboBox(this);
    NCButtonDown(m, mbLeft, ssLeft);
}

void TTeDefaultForm::WMNCRButtonDown(TMessage& m) { NCButtonDown(m, mbRight, ssRight); }

void TTeDefaultForm::NCButtonDown(TMessage& m, TMouseButton button, TShiftStateFlag held) {
    MessageHandled();
    mouseButtons_ = TShiftState{held};
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    NCMouseDown(button, TShiftState{held}, p.x, p.y);
    m.Result = 0;
}

void TTeDefaultForm::WMNCLButtonDblClk(TMessage& m) {
    MessageHandled();
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    NCMouseDown(mbLeft, TShiftState{ssLeft, ssDouble}, p.x, p.y);
    mouseButtons_ = TShiftState{};
    NCMouseUp(mbLeft, TShiftState{ssLeft, ssDouble}, p.x, p.y);
    m.Result = 1;
}

void TTeDefaultForm::WMNCButtonUp(TMessage& m) {
    MessageHandled();
    mouseButtons_ = TShiftState{};
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    NCMouseUp(m.Msg == WM_NCRBUTTONUP ? mbRight : mbLeft, TShiftState{}, p.x, p.y);
    m.Result = 0;
}

void TTeDefaultForm::WMNCMouseMove(TMessage& m) {
    MessageHandled();
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    NCMouseMove(mouseButtons_, p.x, p.y);
    m.Result = 0;
}

void TTeDefaultForm::WMMouseMove(TMessage& m) {
    if (hoverHit_ != kwhtClient && !mouseButtons_.Contains(ssLeft)) {
        hoverHit_ = kwhtClient;
        UpdateNonClientArea();
    }
    if (!mouseButtons_.Empty()) {
        const TPoint p = WindowPointFromClient(this, m.LParam);
        NCMouseMove(mouseButtons_, p.x, p.y);
    }
}

void TTeDefaultForm::WMLButtonUp(TMessage& m) {
    if (mouseButtons_.Empty()) return;
    mouseButtons_ = TShiftState{};
    const TPoint p = WindowPointFromClient(this, m.LParam);
    NCMouseUp(mbLeft, TShiftState{}, p.x, p.y);
}

void TTeDefaultForm::NCMouseDown(TMouseButton button, TShiftState, int x, int y) {
    if (DisabledNCArea) {
        capturedControl_ = GraphicControlAt(x, y);
        if (capturedControl_) {
            capturedControl_->FreeNotification(this);
            PassToCapturedControl(button == mbRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, button, x, y);
            return;
        }
    }
    if (button != mbLeft) return;
    pressedHit_ = hoverHit_ = GetHitTest(x, y);
    pressPoint_ = lastPoint_ = TPoint{x, y};
    dragStart_ = FormBounds();
    dragStartScreen_ = TPoint{dragStart_.left + x, dragStart_.top + y};
    UpdateNonClientArea();
    HWND h = GetHandle();
    if (pressedHit_ >= kwhtCaption && pressedHit_ <= kwhtBottomRight) {
        dragging__ = true;
        if (h) PostMessage(h, WM_ENTERSIZEMOVE, 0, 0);
    }
    if (h) SetCapture(h);
}

void TTeDefaultForm::NCMouseMove(TShiftState shift, int x, int y) {
    if (PassToCapturedControl(WM_MOUSEMOVE, mbLeft, x, y)) return;
    if (!shift.Contains(ssLeft) || !dragging__) {
        const TteWindowHitTest hit = GetHitTest(x, y);
        if (hit != hoverHit_) {
            hoverHit_ = hit;
            UpdateNonClientArea();
        }
        return;
    }
    TCustomForm* form = GetForm();
    if (!form) return;
    const TRect r0 = form->BoundsRect();
    TRect r = r0;
    const bool canSize = dragging_.Sizeable && (windowState_ == kwsNormal || windowState_ == kwsTray);
    const TSize m = GetMinTrackSize();
    const TPoint press = pressPoint_, last = lastPoint_;
    auto sizeLeft = [&] { r.left = std::min(x + r0.left - press.x, r.right - m.cx); };
    auto sizeTop = [&] { r.top = std::min(y + r0.top - press.y, r.bottom - m.cy); };
    // Below the minimum the far edge goes back to where it was.
    auto sizeRight = [&] {
        r.right = x + r0.right - last.x;
        if (r.Width() < m.cx) r.right = r0.right;
    };
    auto sizeBottom = [&] {
        r.bottom = y + r0.bottom - last.y;
        if (r.Height() < m.cy) r.bottom = r0.bottom;
    };
    if (pressedHit_ == kwhtCaption) {
        if (dragging_.Moveable && windowState_ != kwsMaximized) {
            // From where the drag began, so that a snap is not carried into the next step.
            r = dragStart_;
            r.Offset(r0.left + x - dragStartScreen_.x, r0.top + y - dragStartScreen_.y);
            r = ApplyGravitation(r);
        }
    } else if (canSize) {
        switch (pressedHit_) {
            case kwhtLeft: sizeLeft(); break;
            case kwhtTop: sizeTop(); break;
            case kwhtRight: sizeRight(); break;
            case kwhtBottom: sizeBottom(); break;
            case kwhtTopLeft:
                sizeTop();
                sizeLeft();
                break;
            case kwhtTopRight:
                sizeTop();
                sizeRight();
                break;
            case kwhtBottomLeft:
                sizeBottom();
                sizeLeft();
                break;
            case kwhtBottomRight:
                sizeBottom();
                sizeRight();
                break;
            default: break;
        }
    }
    if (r != r0) MoveWindow(r);
    hoverHit_ = GetHitTest(x, y);
    UpdateNonClientArea();
    if (r.left != r0.left || r.right != r0.right) lastPoint_.x = x;
    if (r.top != r0.top || r.bottom != r0.bottom) lastPoint_.y = y;
}

void TTeDefaultForm::NCMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    HWND h = GetHandle();
    if (dragging__ && h) PostMessage(h, WM_EXITSIZEMOVE, 0, 0);
    if (PassToCapturedControl(button == mbRight ? WM_RBUTTONUP : WM_LBUTTONUP, button, x, y)) return;
    capturedControl_ = nullptr;
    const TteWindowHitTest hit = GetHitTest(x, y);
    const TteWindowHitTest pressed = pressedHit_;
    pressedHit_ = kwhtClient;
    dragging__ = false;
    if (button == mbRight) {
        if (hit == kwhtCaption) {
            const TRect f = FormBounds();
            menuPos_ = TPoint{f.left + x, f.top + y};
            SysMenu();
            menuPos_ = TPoint{};
        }
        return;
    }
    if (GetCapture() == h) ReleaseCapture();
    UpdateNonClientArea();
    // The command runs last: it may close, hide or free the form.
    if (shift.Contains(ssDouble)) {
        if (hit == kwhtCaption && borderIcons_.Contains(kbiMaximize)) {
            if (windowState_ == kwsMaximized)
                Restore();
            else
                Maximize();
        } else if (hit == kwhtSysMenu) {
            Close();
        }
        return;
    }
    if (hit != pressed) return;
    switch (hit) {
        case kwhtCloseButton: Close(); break;
        case kwhtHelpButton: Help(); break;
        case kwhtMinButton: Minimize(); break;
        case kwhtMaxButton:
            if (windowState_ == kwsMaximized)
                Restore();
            else
                Maximize();
            break;
        case kwhtRollButton:
            if (windowState_ == kwsRollup)
                Restore();
            else
                Rollup();
            break;
        case kwhtTrayButton: MinToTray(); break;
        case kwhtSysMenu: {
            const TRect r = GetCaptionButtonRect(kbiSystemMenu);
            const TRect f = FormBounds();
            menuPos_ = r.IsEmpty() ? TPoint{} : TPoint{f.left + r.left, f.top + r.bottom};
            SysMenu();
            break;
        }
        default: break;
    }
}

void TTeDefaultForm::DoTimer(TObject*) {
    if (ComponentState().Contains(csDestroying) || Loading() || !GetForm() || !IsButtonPart(hoverHit_))
        return;
    TPoint cursor;
    if (!GetCursorPos(cursor)) return;
    const TPoint p = NormalizePoint(cursor);
    const TteWindowHitTest hit = GetHitTest(p.x, p.y);
    if (hit == hoverHit_) return;
    hoverHit_ = hit;
    UpdateNonClientArea();
}

TteWindowButtonDrawState TTeDefaultForm::ButtonDrawState(TteWindowHitTest part) const {
    if (!frameActive_) return kwbdsInactive;
    if (mouseButtons_.Contains(ssLeft) && pressedHit_ == part && hoverHit_ == part) return kwbdsPressed;
    if (hoverHit_ == part && !dragging__) return kwbdsHot;
    return kwbdsNormal;
}

// ---- the system menu ----

TTePopupMenu* TTeDefaultForm::CreateSysMenu() {
    systemMenu_ = std::make_unique<TTePopupMenu>(nullptr);
    systemMenu_->SetImages(SysMenuImages);
    systemMenu_->SetPopupMenuOptions(&systemMenuOptions_);
    TTeItem* root = systemMenu_->Items();
    auto add = [&](const char* caption, int image) {
        auto* item = new TTeItem(systemMenu_.get());
        item->SetCaption(Utf8ToWide(caption));
        item->SetImageIndex(image);
        item->OnClick = [this](TObject* sender) { DoSysMenu(sender); };
        root->Add(item);
        return item;
    };
    const TTeWindowState s = windowState_;
    const bool normal = s == kwsNormal, maximized = s == kwsMaximized, rolled = s == kwsRollup;
    if (!normal) add(SSysMenuRestore, kimRestore);
    if (borderIcons_.Contains(kbiMinimize) && (normal || maximized || rolled))
        add(SSysMenuMinimize, kimMinimize);
    if (borderIcons_.Contains(kbiMaximize) && (normal || rolled)) add(SSysMenuMaximize, kimMaximize);
    if (borderIcons_.Contains(kbiRollup) && (normal || maximized)) add(SSysMenuRollup, kimRollup);
    if (borderIcons_.Contains(kbiTray) && (normal || maximized || rolled)) add(SSysMenuTray, kimTray);
    if (borderIcons_.Contains(kbiClose)) {
        if (root->Count() > 0) add("-", -1)->OnClick = nullptr;
        add(SSysMenuClose, kimClose)->ShortCut = ShortCut(VK_F4, TShiftState{ssAlt});
    }
    if (s != kwsTray && systemMenuLink_ && SystemMenuLinkMerge) {
        const int at = SystemMenuLinkMergeAtFirst ? 0 : root->Count();
        TTeItem merged(nullptr);
        if (auto* skinned = dynamic_cast<TTePopupMenu*>(systemMenuLink_))
            CopyItems(skinned->Items(), &merged, systemMenu_.get());
        else
            CopyItems(systemMenuLink_->Items(), &merged, systemMenu_.get());
        for (int i = 0; merged.Count() > 0; ++i) {
            TTeItem* item = merged.GetItem(0);
            merged.Delete(0);
            root->Insert(at + i, item);
        }
    }
    return systemMenu_.get();
}

void TTeDefaultForm::DoSysMenu(TObject* sender) {
    auto* item = dynamic_cast<TTeItem*>(sender);
    if (!item) return;
    const String caption = WideToUtf8(item->Caption());
    if (caption == SSysMenuClose)
        Close();
    else if (caption == SSysMenuMaximize)
        Maximize();
    else if (caption == SSysMenuMinimize)
        Minimize();
    else if (caption == SSysMenuRollup)
        Rollup();
    else if (caption == SSysMenuTray)
        MinToTray();
    else if (caption == SSysMenuRestore)
        Restore();
}

void TTeDefaultForm::SysMenu() {
    if (Designing()) return;
    hoverHit_ = kwhtNonClient;
    TPoint at = menuPos_;
    if (windowState_ == kwsTray) {
        GetCursorPos(at);
    } else if (at.x == 0 && at.y == 0) {
        if (TCustomForm* form = GetForm()) at = form->ClientOrigin();
    }
    if (windowState_ == kwsTray && trayMenuLink_) {
        if (auto* skinned = dynamic_cast<TTePopupMenu*>(trayMenuLink_)) {
            skinned->SetPopupMenuOptions(&trayMenuOptions_);
            skinned->Items()->SetTray(true);
        }
        trayMenuLink_->Popup(at.x, at.y);
        return;
    }
    if (windowState_ != kwsTray && systemMenuLink_ && !SystemMenuLinkMerge) {
        if (auto* skinned = dynamic_cast<TTePopupMenu*>(systemMenuLink_))
            skinned->SetPopupMenuOptions(&systemMenuOptions_);
        systemMenuLink_->Popup(at.x, at.y);
        return;
    }
    TTePopupMenu* menu = CreateSysMenu();
    if (windowState_ == kwsTray) menu->Items()->SetTray(true);
    if (auto* form = dynamic_cast<TWinControl*>(GetForm())) menu->Items()->SetOwnerForm(form);
    menu->Popup(at.x, at.y);
}

void TTeDefaultForm::SetMenuBar(TTeMenuBar* bar) {
    if (bar == menuBar_) return;
    menuBar_ = bar;
    if (bar) bar->FreeNotification(this);
    HookShortCuts();
}

void TTeDefaultForm::HookShortCuts() {
    // While the form data are read the frame has no form yet; Loaded hooks.
    TCustomForm* form = GetForm();
    if (!menuBar_ || !form || shortCutsHooked_) return;
    shortCutsHooked_ = true;
    form->OnShortCut = [self = self_, before = form->OnShortCut](TMessage& key, bool& handled) {
        if (before) before(key, handled);
        if (!handled && *self && (*self)->menuBar_ && !(*self)->Designing())
            handled = (*self)->menuBar_->IsShortCut(key);
    };
}

void TTeDefaultForm::WMSysCommand(TMessage& m) {
    switch (m.WParam & 0xFFF0) {
        case SC_KEYMENU:
            // Alt+Space opens the system menu; other keys are the menu bar's,
            // and the system menu does not follow the bar's menu.
            if (m.LParam != ' ') {
                if (menuBar_ && !Designing()) {
                    if (m.LParam && GetHandle()) PostMessage(GetHandle(), WM_CHAR, m.LParam, 0);
                    menuBar_->EnterLoop();
                    MessageHandled();
                }
                return;
            }
            [[fallthrough]];
        case SC_MOUSEMENU:
            SysMenu();
            MessageHandled();
            break;
        case SC_RESTORE: Restore(); break;
        case SC_MINIMIZE:
            if (windowState_ != kwsMinimized) {
                if (windowState_ == kwsNormal) restoreBounds_ = FormBounds();
                prevState_ = windowState_;
                windowState_ = kwsMinimized;
            }
            break;
        default: break;
    }
}

// ---- window commands ----

void TTeDefaultForm::Close() {
    if (!AskAction(OnClose)) return;
    TCustomForm* form = GetForm();
    if (!form) return;
    form->Close();
}

void TTeDefaultForm::Help() {
    if (!Designing() && GetHandle()) SendMessage(GetHandle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
}

}  // namespace tarvel
