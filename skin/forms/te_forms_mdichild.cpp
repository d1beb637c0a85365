#include "skin/forms/te_forms_mdichild.h"

#include "platform/classlib/Application.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_draw.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {

const char* const SMDINext = "&Next";

namespace {

const struct {
    TTeBorderIcon icon;
    TteWindowHitTest part;
} kButtons[] = {{kbiClose, kwhtCloseButton},
                {kbiSystemMenu, kwhtSysMenu},
                {kbiMinimize, kwhtMinButton},
                {kbiMaximize, kwhtMaxButton},
                {kbiHelp, kwhtHelpButton}};

}  // namespace

TteWindowSubclass MDIWindowSubclass(TTeCustomMDIChild* frame) {
    return WindowSubclassOf(frame->BorderStyle());
}

TteWindowButtons MDIWindowButtons(TTeCustomMDIChild* frame) {
    TCustomForm* form = frame->GetForm();
    const TWindowState s = form ? form->WindowState() : wsNormal;
    return WindowButtonsOf(frame->BorderStyle(), frame->BorderIcons(),
                           s == wsMaximized   ? kwsMaximized
                           : s == wsMinimized ? kwsMinimized
                                              : kwsNormal);
}

// ---- TTeCustomMDIChild ----

void TTeCustomMDIChild::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeCustomMDIChild::WMNCCalcSize>(WM_NCCALCSIZE);
    t.Add<&TTeCustomMDIChild::WMNCHitTest>(WM_NCHITTEST);
    t.Add<&TTeCustomMDIChild::WMNCPaint>(WM_NCPAINT);
    t.Add<&TTeCustomMDIChild::WMNCActivate>(WM_NCACTIVATE);
    t.Add<&TTeCustomMDIChild::WMNCLButtonDown>(WM_NCLBUTTONDOWN);
    t.Add<&TTeCustomMDIChild::WMNCLButtonUp>(WM_NCLBUTTONUP);
    t.Add<&TTeCustomMDIChild::WMNCRButtonUp>(WM_NCRBUTTONUP);
    t.Add<&TTeCustomMDIChild::WMNCLButtonDblClk>(WM_NCLBUTTONDBLCLK);
    t.Add<&TTeCustomMDIChild::WMNCMouseMove>(WM_NCMOUSEMOVE);
    t.Add<&TTeCustomMDIChild::WMSysCommand>(WM_SYSCOMMAND);
    t.Add<&TTeCustomMDIChild::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeCustomMDIChild::WMWindowPosChanged>(WM_WINDOWPOSCHANGED);
    t.Add<&TTeCustomMDIChild::FMUpdateFrame>(FM_UPDATEFRAME);
    t.Add<&TTeCustomMDIChild::FMUpdateNCArea>(FM_UPDATENCAREA);
}

TTeCustomMDIChild::TTeCustomMDIChild(TComponent* owner) : TTeHook(owner) {
    systemMenu_ = new TTeItem(this);
    if (auto* form = dynamic_cast<TCustomForm*>(owner)) form->SetBorderStyle(bsSizeToolWin);
}

TTeCustomMDIChild::~TTeCustomMDIChild() {
    // The parent's bar drops the MDI items when no maximized child is left.
    UpdateMenuBar();
    delete systemMenu_;
    systemMenu_ = nullptr;
    SetWinControl(nullptr);
}

void TTeCustomMDIChild::Loaded() {
    TTeHook::Loaded();
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (!control || Designing()) return;
    SetWinControl(control);
    if (TCustomForm* form = GetForm()) {
        loadedState_ = form->WindowState();
        if (loadedState_ == wsNormal) Update();
    }
}

void TTeCustomMDIChild::DoBeforeDestruction() {}

void TTeCustomMDIChild::SetBorderIcons(TTeBorderIcons value) {
    borderIcons_ = value;
    if (!ComponentState().Contains(csLoading)) Update();
}

void TTeCustomMDIChild::SetBorderStyle(TTeBorderStyle value) {
    borderStyle_ = value;
    if (!ComponentState().Contains(csLoading)) Update();
}

bool TTeCustomMDIChild::Minimized() {
    TCustomForm* f = GetForm();
    return f && f->WindowState() == wsMinimized;
}

bool TTeCustomMDIChild::Maximized() {
    TCustomForm* f = GetForm();
    return f && f->WindowState() == wsMaximized;
}

int TTeCustomMDIChild::GetWidth() {
    HWND h = GetHandle();
    return h && GetForm() ? WindowRect(h).Width() : 0;
}

int TTeCustomMDIChild::GetHeight() {
    HWND h = GetHandle();
    return h && GetForm() ? WindowRect(h).Height() : 0;
}

TRect TTeCustomMDIChild::GetClientBounds() {
    const TRect r{0, 0, GetWidth(), GetHeight()};
    if (IsMDIChildMaximized()) return r;
    const int b = DefaultBorderWidth;
    switch (borderStyle_) {
        case kbsStandard:
        case kbsDialog: return TRect{b, b + DefaultCaptionHeight, r.right - b, r.bottom - b};
        case kbsToolWindow: return TRect{b, b + DefaultToolCaptionHeight, r.right - b, r.bottom - b};
        default: return r;
    }
}

TRect TTeCustomMDIChild::GetClientRect() {
    if (TCustomForm* f = GetForm()) return f->ClientRect();
    return TRect{0, 0, GetWidth(), GetHeight()};
}

TSize TTeCustomMDIChild::GetMinTrackSize() { return TSize{150, 40}; }

TSize TTeCustomMDIChild::GetMaxTrackSize() {
    const TRect r = GetMaximizedRect();
    return TSize{r.Width(), r.Height()};
}

int TTeCustomMDIChild::CaptionHeight() { return GetHeight() - GetClientBounds().Height(); }

TRect TTeCustomMDIChild::GetParentRect() {
    MONITORINFO info;
    GetMonitorInfo(MonitorFromWindow(GetHandle(), MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

TRect TTeCustomMDIChild::GetMinimizedRect() {
    const TRect p = GetParentRect();
    const int h = CaptionHeight();
    return TRect{p.left, p.bottom - h, p.left + GetSystemMetrics(SM_CXMINIMIZED), p.bottom};
}

TRect TTeCustomMDIChild::GetRollupRect() {
    TCustomForm* form = GetForm();
    const TPoint at = form ? TPoint{form->Left(), form->Top()} : TPoint{};
    return TRect{at.x, at.y, at.x + GetWidth(), at.y + CaptionHeight()};
}

TRect TTeCustomMDIChild::GetMaximizedRect() {
    TCustomForm* parent = GetMDIParentForm();
    if (parent && parent->ClientHandle()) return ClientRect(parent->ClientHandle());
    return TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

HRGN TTeCustomMDIChild::GetRegion() { return CreateRectRgn(0, 0, GetWidth(), GetHeight()); }

TRect TTeCustomMDIChild::GetCaptionButtonRect(TTeBorderIcon icon) {
    // No tray slot, and a child is never rolled up.
    return ClassicCaptionButtonRect(icon, GetClientBounds(),
                                    TClassicCaption{borderStyle_, borderIcons_, Minimized(), false, false});
}

TteWindowHitTest TTeCustomMDIChild::GetHitTest(int x, int y) {
    const TRect cb = GetClientBounds();
    const TteWindowHitTest hit = CaptionHitTest(
        x, y, GetWidth(), cb, [this](TTeBorderIcon icon) { return GetCaptionButtonRect(icon); });
    if (Maximized() || Minimized()) return hit;
    return BorderHitTest(x, y, TSize{GetWidth(), GetHeight()}, cb, borderStyle_, hit);
}

// ---- the MDI side ----

TCustomForm* TTeCustomMDIChild::GetMDIParentForm() {
    TCustomForm* form = GetForm();
    if (!form || form->FormStyle() != fsMDIChild) return nullptr;
    if (auto* owner = dynamic_cast<TCustomForm*>(form->Owner())) return owner;
    return Application ? Application->MainForm() : nullptr;
}

TTeDefaultForm* TTeCustomMDIChild::GetMDIParentQvForm() {
    TCustomForm* parent = GetMDIParentForm();
    if (!parent) return nullptr;
    for (int i = 0; i < parent->ComponentCount(); ++i)
        if (auto* frame = dynamic_cast<TTeDefaultForm*>(parent->Components(i)); frame && frame->Active())
            return frame;
    return nullptr;
}

bool TTeCustomMDIChild::IsMDIChildMaximized() {
    if (!GetForm() || !Application || !Application->MainForm()) return false;
    TCustomForm* active = Application->MainForm()->ActiveMDIChild();
    if (!active || active->ComponentState().Contains(csDestroying)) return false;
    TTeCustomMDIChild* frame = GetParentQvMDIChild(active);
    return frame && frame->GetForm() && frame->GetForm()->WindowState() == wsMaximized;
}

void TTeCustomMDIChild::UpdateMenuBar() {
    TTeDefaultForm* parent = GetMDIParentQvForm();
    if (!parent || !parent->MenuBar()) return;
    if (IsMDIChildMaximized())
        parent->MenuBar()->ShowMDIItems(GetForm());
    else
        parent->MenuBar()->HideMDIItems();
}

// ---- painting ----

void TTeCustomMDIChild::Update() {
    TCustomForm* form = GetForm();
    if (!form || !form->HandleAllocated()) return;
    const int cw = form->ClientWidth(), ch = form->ClientHeight();
    // The window system computes the frame again; the client keeps its size.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (cw != 0 && !IsMDIChildMaximized() && !Minimized() &&
        (cw != form->ClientWidth() || ch != form->ClientHeight()))
        form->SetBounds(form->Left(), form->Top(), form->Width() + cw - form->ClientWidth(),
                        form->Height() + ch - form->ClientHeight());
    InvalidateNow();
}

void TTeCustomMDIChild::InvalidateNow() {
    HWND h = GetHandle();
    if (!h) return;
    UpdateNonClientArea();
    InvalidateRect(h, nullptr, true);
}

TteBitmap* TTeCustomMDIChild::PaintBuffer(std::unique_ptr<TteBitmap>& temporary, int width, int height) {
    switch (performance_) {
        case qvfpPersistentBuffer:
            if (!buffer_) buffer_ = std::make_unique<TteBitmap>();
            if (buffer_->Width() != width || buffer_->Height() != height) buffer_->SetSize(width, height);
            return buffer_.get();
        case qvfpSharedBuffer:
            // The controls' shared buffer, the screen's size and more; a
            // larger frame paints through a buffer of its own.
            if (!SharedBuffer) InitControlBases();
            if (SharedBuffer->Empty()) InitSharedBuffer();
            if (SharedBuffer->Width() >= width && SharedBuffer->Height() >= height) return SharedBuffer;
            [[fallthrough]];
        case qvfpDoubleBuffer:
            temporary = std::make_unique<TteBitmap>();
            temporary->SetSize(width, height);
            return temporary.get();
        default: return nullptr;
    }
}

void TTeCustomMDIChild::UpdateNonClientArea() {
    HWND h = GetHandle();
    const int W = GetWidth(), H = GetHeight();
    if (!h || !Active() || IsMDIChildMaximized() || W <= 0 || H <= 0 || !drawingEnabled_) return;
    const TRect cb = GetClientBounds();
    auto paint = [&](HDC dc) {
        SaveDC(dc);
        if (!Minimized()) ExcludeClipRect(dc, cb.left, cb.top, cb.right, cb.bottom);
        {
            CanvasOnDc on(dc);
            PaintNonClientArea(on.canvas);
        }
        RestoreDC(dc, -1);
    };
    std::unique_ptr<TteBitmap> temporary;
    TteBitmap* buffer = PaintBuffer(temporary, W, H);
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    if (!buffer) {
        paint(dc);
    } else {
        paint(buffer->DC());
        // Only the four strips around the client area reach the window.
        buffer->Draw(dc, 0, 0, TRect{0, 0, W, cb.top});
        buffer->Draw(dc, cb.left, cb.bottom, TRect{cb.left, cb.bottom, cb.right, H});
        buffer->Draw(dc, 0, cb.top, TRect{0, cb.top, cb.left, H});
        buffer->Draw(dc, cb.right, cb.top, TRect{cb.right, cb.top, W, H});
    }
    ReleaseDC(h, dc);
}

void TTeCustomMDIChild::PaintNonClientArea(TCanvas& canvas) {
    if (borderStyle_ == kbsNone) return;
    PaintClassicBorders(canvas, TSize{GetWidth(), GetHeight()}, GetClientBounds());
    DrawCaption(canvas);
}

TteWindowButtonDrawState TTeCustomMDIChild::ButtonDrawState(TteWindowHitTest part) const {
    if (!frameActive_) return kwbdsInactive;
    if (mouseButtons_.Contains(ssLeft) && pressedHit_ == part && hoverHit_ == part) return kwbdsPressed;
    return hoverHit_ == part ? kwbdsHot : kwbdsNormal;
}

void TTeCustomMDIChild::DrawCaption(TCanvas& canvas) {
    TCustomForm* form = GetForm();
    const TRect cb = GetClientBounds();
    const TRect band{cb.left, DefaultBorderWidth, cb.right, cb.top};
    if (!form || band.IsEmpty()) return;
    const bool tool = borderStyle_ == kbsToolWindow;
    int n = 1;
    for (TTeBorderIcon i : {kbiMaximize, kbiClose, kbiMinimize, kbiHelp, kbiRollup, kbiTray})
        if (borderIcons_.Contains(i)) ++n;
    // An ampersand in the form's text underlines the next letter.
    DrawClassicCaptionBand(canvas, band, frameActive_, tool, borderIcons_.Contains(kbiSystemMenu) && !tool,
                           Utf8ToWide(form->Caption()), GetWidth() - cb.left - n * DefaultButtonHeight,
                           DT_SINGLELINE | DT_VCENTER);
    for (const auto& b : kButtons) {
        if (!borderIcons_.Contains(b.icon) || (tool && b.icon != kbiClose)) continue;
        const TRect r = GetCaptionButtonRect(b.icon);
        if (r.IsEmpty()) continue;
        DrawClassicCaptionButton(canvas.Handle(), GetHandle(), r, b.icon,
                                 ButtonDrawState(b.part) == kwbdsPressed, Minimized(), Maximized());
    }
}

void TTeCustomMDIChild::PaintClientArea(TCanvas& canvas) {
    if (TCustomForm* form = GetForm()) FillRect(canvas, GetClientRect(), form->Color());
}

void TTeCustomMDIChild::ChangeSize() {
    HWND h = GetHandle();
    if (!h) return;
    if (performance_ == qvfpPersistentBuffer) {
        std::unique_ptr<TteBitmap> unused;
        PaintBuffer(unused, GetWidth(), GetHeight());
    }
    if (loadedState_ != wsNormal) return;
    if (IsMDIChildMaximized()) {
        SetWindowRgn(h, HRGN{}, true);
        if (TCustomForm* f = GetForm()) f->Realign();
        return;
    }
    drawingEnabled_ = false;
    struct Again {
        bool& flag;
        ~Again() { flag = true; }
    } again{drawingEnabled_};
    SetWindowRgn(h, GetRegion(), true);
}

// ---- messages ----

void TTeCustomMDIChild::WMNCCalcSize(TMessage& m) {
    // A maximized child leaves its frame to the window system.
    if (IsMDIChildMaximized() || !m.LParam) return;
    MessageHandled();
    m.Result = 0;
    auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    const TRect cb = GetClientBounds();
    const int W = GetWidth(), H = GetHeight();
    TRect& r = p->rgrc[0];
    r = TRect{r.left + cb.left, r.top + cb.top, std::max(r.left + cb.left, r.right - (W - cb.right)),
              std::max(r.top + cb.top, r.bottom - (H - cb.bottom))};
    p->rgrc[1] = r;
}

TPoint TTeCustomMDIChild::NormalizePoint(TPoint screen) {
    HWND h = GetHandle();
    const TRect w = h ? WindowRect(h) : TRect{};
    return TPoint{screen.x - w.left, screen.y - w.top};
}

void TTeCustomMDIChild::WMNCHitTest(TMessage& m) {
    MessageHandled();
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    // The MDI client moves and sizes the child from these codes.
    m.Result = FrameHitCode(GetHitTest(p.x, p.y), true, !Maximized());
}

void TTeCustomMDIChild::WMNCPaint(TMessage& m) {
    UpdateNonClientArea();
    m.Result = 0;
    MessageHandled();
}

void TTeCustomMDIChild::WMNCActivate(TMessage& m) {
    frameActive_ = m.WParam != 0;
    UpdateNonClientArea();
    m.Result = 1;
    MessageHandled();
}

bool TTeCustomMDIChild::NCMouseDown(TMouseButton button, int x, int y) {
    if (button != mbLeft) return false;
    pressedHit_ = hoverHit_ = GetHitTest(x, y);
    UpdateNonClientArea();
    return pressedHit_ >= kwhtCloseButton && pressedHit_ <= kwhtSysMenu;
}

void TTeCustomMDIChild::NCMouseMove(int x, int y) {
    if (!GetForm()) return;
    const TteWindowHitTest hit = GetHitTest(x, y);
    if (hit == hoverHit_) return;
    hoverHit_ = hit;
    UpdateNonClientArea();
}

bool TTeCustomMDIChild::NCMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomForm* form = GetForm();
    if (!form) return false;
    bool taken = false;
    const TteWindowHitTest code = GetHitTest(x, y);
    const TRect cb = GetClientBounds();
    if (button == mbLeft) {
        if (shift.Contains(ssDouble)) {
            if (pressedHit_ == kwhtCaption && borderIcons_.Contains(kbiMaximize)) {
                form->SetWindowState(Minimized() ? wsNormal : wsMaximized);
            } else if (pressedHit_ == kwhtSysMenu) {
                pressedHit_ = kwhtClient;
                form->Close();
                return true;
            }
        } else if (code == pressedHit_) {
            pressedHit_ = hoverHit_ = kwhtClient;
            switch (GetHitTest(x, y)) {
                case kwhtCloseButton: form->Close(); return true;
                case kwhtMinButton: form->SetWindowState(Minimized() ? wsNormal : wsMinimized); break;
                case kwhtMaxButton: form->SetWindowState(Maximized() ? wsNormal : wsMaximized); break;
                case kwhtSysMenu: {
                    const TRect icon = GetCaptionButtonRect(kbiSystemMenu);
                    menuPos_ = icon.IsEmpty()
                                   ? TPoint{0, 0}
                                   : form->ClientToScreen(TPoint{icon.left - cb.left, icon.bottom - cb.top});
                    SysMenu();
                    break;
                }
                default: break;
            }
            taken = true;
        }
    } else if (button == mbRight && code == kwhtCaption) {
        menuPos_ = form->ClientToScreen(TPoint{x - cb.left, y - cb.top});
        SysMenu();
        menuPos_ = TPoint{0, 0};
    }
    pressedHit_ = kwhtClient;
    if (GetHandle()) UpdateNonClientArea();
    return taken;
}

void TTeCustomMDIChild::WMNCLButtonDown(TMessage& m) {
    CloseActiveComboBox(this);
    mouseButtons_ = TShiftState{ssLeft};
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    if (NCMouseDown(mbLeft, p.x, p.y)) {
        m.Result = 0;
        MessageHandled();
    }
}

void TTeCustomMDIChild::WMNCLButtonUp(TMessage& m) {
    mouseButtons_ = TShiftState{};
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    if (NCMouseUp(mbLeft, TShiftState{}, p.x, p.y)) {
        m.Result = 0;
        MessageHandled();
    }
}

void TTeCustomMDIChild::WMNCRButtonUp(TMessage& m) {
    mouseButtons_ = TShiftState{};
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    NCMouseUp(mbRight, TShiftState{}, p.x, p.y);
}

void TTeCustomMDIChild::WMNCLButtonDblClk(TMessage& m) {
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    NCMouseDown(mbLeft, p.x, p.y);
    NCMouseUp(mbLeft, TShiftState{ssLeft, ssDouble}, p.x, p.y);
    mouseButtons_ = TShiftState{};
    m.Result = 1;
    MessageHandled();
}

void TTeCustomMDIChild::WMNCMouseMove(TMessage& m) {
    const TPoint p = NormalizePoint(PointFromLParam(m.LParam));
    NCMouseMove(p.x, p.y);
}

void TTeCustomMDIChild::WMSysCommand(TMessage& m) {
    const WPARAM cmd = m.WParam & 0xFFF0;
    if ((cmd == SC_KEYMENU && m.LParam == ' ') || cmd == SC_MOUSEMENU) SysMenu();
}

void TTeCustomMDIChild::WMEraseBkgnd(TMessage& m) {
    MessageHandled();
    m.Result = 1;
    HWND h = GetHandle();
    TCustomForm* form = GetForm();
    if (!h || !form) return;
    // The message's DC serves a transparent control's request only; the
    // window is painted on its own client DC.
    HDC dc = backgroundRequest_ ? DcFromWParam(m.WParam) : GetDC(h);
    if (!dc) return;
    const int saved = SaveDC(dc);
    if (backgroundRequest_)
        IntersectClipRect(dc, backgroundRect_.left, backgroundRect_.top, backgroundRect_.right,
                          backgroundRect_.bottom);
    // A transparent control's request draws straight into its own buffer.
    std::unique_ptr<TteBitmap> temporary;
    TteBitmap* buffer = backgroundRequest_ ? nullptr : PaintBuffer(temporary, GetWidth(), GetHeight());
    HDC target = buffer ? buffer->DC() : dc;
    {
        CanvasOnDc on(target);
        PaintClientArea(on.canvas);
    }
    if (!backgroundRequest_) form->PaintControls(target, nullptr);
    if (buffer) {
        const TRect c = GetClientRect();
        buffer->Draw(dc, 0, 0, TRect{0, 0, c.right, c.bottom});
    }
    RestoreDC(dc, saved);
    if (!backgroundRequest_) ReleaseDC(h, dc);
}

void TTeCustomMDIChild::WMWindowPosChanged(TMessage& m) {
    auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
    if (wp && !(wp->flags & SWP_NOSIZE)) ChangeSize();
}

void TTeCustomMDIChild::FMUpdateNCArea(TMessage& m) {
    UpdateNonClientArea();
    m.Result = 0;
    MessageHandled();
}

void TTeCustomMDIChild::UpdateFrame() {
    HWND h = GetHandle();
    if (!h || updatingFrame_) return;
    updatingFrame_ = true;
    struct Flag {
        bool& on;
        ~Flag() { on = false; }
    } flag{updatingFrame_};
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TTeCustomMDIChild::FMUpdateFrame(TMessage& m) {
    UpdateFrame();
    m.Result = 0;
    MessageHandled();
}

void TTeCustomMDIChild::DoAfterMessage(TMessage& message, bool&) {
    switch (message.Msg) {
        case WM_SIZE:
            if (message.WParam == SIZE_RESTORED) {
                ChangeSize();
                UpdateNonClientArea();
                UpdateMenuBar();
                if (TCustomForm* f = GetForm()) f->Realign();
            } else if (message.WParam == SIZE_MAXIMIZED) {
                UpdateMenuBar();
                // The window system's own frame takes over: a child made maximized
                // gets it at once, any other once the maximize has run its course.
                // The size message the recomputation itself sends asks for none,
                // or the frame would be recomputed for ever.
                if (updatingFrame_) {
                } else if (loadedState_ != wsNormal) {
                    UpdateFrame();
                } else if (HWND h = GetHandle()) {
                    PostMessage(h, FM_UPDATEFRAME, 0, 0);
                }
                SetWindowRgn(GetHandle(), HRGN{}, true);
                if (TCustomForm* f = GetForm()) f->Realign();
                loadedState_ = wsNormal;
            } else if (message.WParam == SIZE_MINIMIZED) {
                UpdateNonClientArea();
                UpdateMenuBar();
            }
            break;
        case WM_SETTEXT:
            if (TCustomForm* f = GetForm()) captionText_ = f->Caption();
            UpdateNonClientArea();
            break;
        case WM_GETTEXT:
            // A text that changed behind the frame's back (the answer is
            // left as the window gave it).
            if (const char* text = reinterpret_cast<const char*>(message.LParam);
                text && message.WParam > 0) {
                const size_t n =
                    std::min(static_cast<size_t>(message.Result), static_cast<size_t>(message.WParam) - 1);
                const String got(text, n);
                if (got != captionText_) {
                    captionText_ = got;
                    if (HWND h = GetHandle()) PostMessage(h, FM_UPDATENCAREA, kCaptionChanged, 0);
                }
            }
            break;
        case WM_NCACTIVATE:
            if (TCustomForm* f = GetForm(); f && f->FormStyle() == fsMDIChild) {
                UpdateNonClientArea();
                if (HWND h = GetHandle()) PostMessage(h, FM_UPDATENCAREA, 0, 0);
            }
            break;
        case WM_SYSCOMMAND:
            if ((message.WParam & 0xFFF0) == SC_CONTEXTHELP) UpdateNonClientArea();
            break;
        case WM_SETICON: UpdateNonClientArea(); break;
        case WM_MDIACTIVATE: UpdateMenuBar(); break;
        default: break;
    }
}

// ---- the system menu ----

void TTeCustomMDIChild::BuildSysMenu() {
    // The entries of the last showing go; none piles up.
    while (systemMenu_->Count() > 0) {
        TTeItem* old = systemMenu_->GetItem(0);
        systemMenu_->Delete(0);
        delete old;
    }
    TCustomForm* form = GetForm();
    const TWindowState s = form ? form->WindowState() : wsNormal;
    auto add = [&](const char* caption, int image) {
        auto* item = new TTeItem(systemMenu_);
        item->SetCaption(Utf8ToWide(caption));
        item->SetImageIndex(image);
        if (image >= 0) item->SetImages(SysMenuImages);
        item->OnClick = [this](TObject* sender) { DoSysItemClick(sender); };
        systemMenu_->Add(item);
        return item;
    };
    restoreItem_ = add(SSysMenuRestore, kimRestore);
    restoreItem_->SetEnabled(s != wsNormal);
    minimizeItem_ = add(SSysMenuMinimize, kimMinimize);
    minimizeItem_->SetEnabled(s != wsMinimized);
    maximizeItem_ = add(SSysMenuMaximize, kimMaximize);
    maximizeItem_->SetEnabled(s != wsMaximized);
    add("-", -1)->OnClick = nullptr;
    closeItem_ = add(SSysMenuClose, kimClose);
    closeItem_->ShortCut = ShortCut(VK_F4, TShiftState{ssCtrl});
    add("-", -1)->OnClick = nullptr;
    nextItem_ = add(SMDINext, -1);
    nextItem_->ShortCut = ShortCut(VK_F6, TShiftState{ssCtrl});
}

void TTeCustomMDIChild::SysMenu() {
    BuildSysMenu();
    systemMenu_->Popup(nullptr, menuPos_.x, menuPos_.y, TRect{});
}

void TTeCustomMDIChild::DoSysItemClick(TObject* sender) {
    TCustomForm* form = GetForm();
    if (!sender || !form) return;
    if (sender == restoreItem_)
        form->SetWindowState(wsNormal);
    else if (sender == minimizeItem_)
        form->SetWindowState(wsMinimized);
    else if (sender == maximizeItem_)
        form->SetWindowState(wsMaximized);
    else if (sender == closeItem_)
        form->Close();
    else if (sender == nextItem_ && Application && Application->MainForm())
        Application->MainForm()->Next();
}

bool DrawMDIChildBackground(TCanvas* canvas, const TteBackground& b,
                            void (*fallback)(TCanvas* canvas, const TteBackground& b)) {
    TTeCustomMDIChild* frame = GetParentQvMDIChild(b.Parent);
    if (!frame || !frame->GetForm()) {
        fallback(canvas, b);
        return true;
    }
    frame->SetBackgroundRequest(&b.Rect);
    struct Clear {
        TTeCustomMDIChild* frame;
        ~Clear() { frame->SetBackgroundRequest(nullptr); }
    } clear{frame};
    TMessage m{WM_ERASEBKGND, static_cast<WPARAM>(canvas->Handle().Value()), 0, 0};
    frame->Dispatch(m);
    return true;
}

// ---- TTeMDIChild ----

void TTeMDIChild::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeMDIChild::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeMDIChild::TTeMDIChild(TComponent* owner) : TTeCustomMDIChild(owner) { AddThemeNotification(this); }

TTeMDIChild::~TTeMDIChild() {
    RemoveThemeNotification(this);
    if (themeLink_) themeLink_->RemoveFreeNotification(this);
}

void TTeMDIChild::SetThemeLink(TteCustomThemeLink* link) {
    if (link == themeLink_) return;
    if (themeLink_) themeLink_->RemoveFreeNotification(this);
    themeLink_ = link;
    if (link) link->FreeNotification(this);
    if (!Designing()) InvalidateNow();
}

void TTeMDIChild::SetThemeObject(const String& value) {
    if (value == themeObject_) return;
    themeObject_ = value;
    if (!Designing()) InvalidateNow();
}

void TTeMDIChild::Notification(TComponent* component, TOperation operation) {
    TTeCustomMDIChild::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeLink_) SetThemeLink(nullptr);
}

TteTheme* TTeMDIChild::Theme() { return GetThemeLink(themeLink_); }

bool TTeMDIChild::Themed() { return IsObjectDefined(MDIWindowSubclass(this), themeObject_, themeLink_); }

TteWindowInfo TTeMDIChild::MakeWindowInfo() {
    TteWindowDrawStates states;
    if (FrameActive()) states.Include(kwdsActive);
    TCustomForm* form = GetForm();
    return WindowInfo(TRect{0, 0, GetWidth(), GetHeight()}, states, NullRect, MDIWindowButtons(this),
                      form ? Utf8ToWide(form->Caption()) : WideString{}, false);
}

TRect TTeMDIChild::GetClientBounds() {
    if (!Themed() || IsMDIChildMaximized()) return TTeCustomMDIChild::GetClientBounds();
    return Theme()->WindowGetClientRect(MDIWindowSubclass(this), TRect{0, 0, GetWidth(), GetHeight()},
                                        themeObject_);
}

TSize TTeMDIChild::GetMinTrackSize() {
    if (!Themed()) return TTeCustomMDIChild::GetMinTrackSize();
    return TSize{100, GetHeight() - GetClientBounds().Height()};
}

HRGN TTeMDIChild::GetRegion() {
    HRGN r = Themed() ? Theme()->WindowGetRegion(MDIWindowSubclass(this),
                                                 TRect{0, 0, GetWidth(), GetHeight()}, themeObject_)
                      : HRGN{};
    return r ? r : TTeCustomMDIChild::GetRegion();
}

TRect TTeMDIChild::GetCaptionButtonRect(TTeBorderIcon icon) {
    if (!Themed()) return TTeCustomMDIChild::GetCaptionButtonRect(icon);
    if (!BorderIcons().Contains(icon)) return NullRect;
    const TteWindowButtonClass button = WindowButtonOf(icon, Minimized()   ? kwsMinimized
                                                             : Maximized() ? kwsMaximized
                                                                           : kwsNormal);
    if (button == kwbCustom || button == kwbRoll || button == kwbTray) return NullRect;
    return Theme()->WindowGetButtonRect(MDIWindowSubclass(this), MakeWindowInfo(), button, themeObject_);
}

TteWindowHitTest TTeMDIChild::GetHitTest(int x, int y) {
    if (!Themed()) return TTeCustomMDIChild::GetHitTest(x, y);
    return Theme()->WindowGetHitTest(MDIWindowSubclass(this), MakeWindowInfo(), x, y, themeObject_);
}

void TTeMDIChild::PaintNonClientArea(TCanvas& canvas) {
    if (!Themed()) return TTeCustomMDIChild::PaintNonClientArea(canvas);
    TteTheme* theme = Theme();
    const TteWindowSubclass s = MDIWindowSubclass(this);
    TteWindowInfo info = MakeWindowInfo();
    theme->WindowDraw(s, canvas, info, themeObject_);
    DrawThemedWindowTitle(theme, s, canvas, info, themeObject_);
    const TTeWindowState state = Minimized() ? kwsMinimized : Maximized() ? kwsMaximized : kwsNormal;
    for (const auto& b : kButtons) {
        if (!BorderIcons().Contains(b.icon)) continue;
        const TRect r = GetCaptionButtonRect(b.icon);
        // The theme draws the system-menu button too, the window's icon as its glyph.
        const std::unique_ptr<TteBitmap> glyph =
            b.icon == kbiSystemMenu && !r.IsEmpty() ? FrameIconGlyph(GetHandle()) : nullptr;
        theme->WindowDrawButton(
            s, canvas,
            WindowButtonInfo(r, WindowButtonOf(b.icon, state), ButtonDrawState(b.part), glyph.get()),
            themeObject_);
    }
}

void TTeMDIChild::PaintClientArea(TCanvas& canvas) {
    if (!Themed()) return TTeCustomMDIChild::PaintClientArea(canvas);
    Theme()->WindowDrawClient(MDIWindowSubclass(this), canvas, GetClientRect(), themeObject_);
}

void TTeMDIChild::SNMThemeMessage(TMessage& m) {
    switch (static_cast<TteThemeMessageCode>(m.WParam)) {
        case tmChanged:
        case tmApply:
        case tmReleased: Update(); break;
        case tmSystemChanged:
            UpdateNonClientArea();
            InvalidateNow();
            break;
        default: break;
    }
}

}  // namespace tarvel
