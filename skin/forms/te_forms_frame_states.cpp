// The frame's own window states: it maximizes, minimizes, rolls up and
// restores by moving the window itself and never reads the window system's
// state.

#include <cstdio>
#include <cstdlib>

#include "platform/classlib/Application.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_theme_draw.h"
#include "skin/core/te_winapi.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

void TTeDefaultForm::Maximize() {
    hoverHit_ = kwhtNonClient;
    if (windowState_ == kwsMaximized) return Restore();
    if (!AskAction(OnMaximize)) return;
    prevState_ = windowState_;
    if (loadedState_ == kwsNormal && windowState_ != kwsRollup && windowState_ != kwsMinimized)
        restoreBounds_ = FormBounds();
    windowState_ = kwsMaximized;
    MoveWindow(GetMaximizedRect());
    loadedState_ = kwsNormal;
    if (TCustomForm* form = GetForm()) form->Invalidate();
    UpdateNonClientArea();
}

void TTeDefaultForm::Minimize() {
    hoverHit_ = kwhtNonClient;
    TCustomForm* form = GetForm();
    if (!form || Designing()) return;
    if (windowState_ == kwsMinimized) return Restore();
    if (form->FormState().Contains(fsModal) && !MinimizeApplication) return;
    if (!AskAction(OnMinimize)) return;
    const TTeWindowState was = windowState_;
    if (loadedState_ == kwsNormal && was != kwsRollup && was != kwsMaximized) restoreBounds_ = FormBounds();
    prevState_ = was;
    windowState_ = kwsMinimized;
    loadedState_ = kwsNormal;
    HWND h = GetHandle();
    if (!GetParent(h))
        ShowWindow(h, SW_MINIMIZE);
    else
        MoveWindow(GetMinimizedRect());
}

void TTeDefaultForm::Rollup() {
    hoverHit_ = kwhtNonClient;
    if (Designing()) return;
    if (windowState_ == kwsRollup) return Restore();
    if (!AskAction(OnRollup)) return;
    const TTeWindowState was = windowState_;
    if (was != kwsMinimized && was != kwsMaximized) restoreBounds_ = FormBounds();
    prevState_ = was;
    windowState_ = kwsRollup;
    loadedState_ = kwsNormal;
    MoveWindow(GetRollupRect());
}

void TTeDefaultForm::MinToTray() {
    hoverHit_ = kwhtNonClient;
    TCustomForm* form = GetForm();
    if (Designing() || !form || form->FormState().Contains(fsModal)) return;
    if (windowState_ == kwsTray) return Restore();
    if (!AskAction(OnMinToTray)) return;
    HWND h = GetHandle();
    if (SendMessage(h, FM_TRAYQUERY, reinterpret_cast<WPARAM>(h), 0) == 1) return;
    const TTeWindowState was = windowState_;
    if (loadedState_ == kwsNormal && was == kwsNormal) restoreBounds_ = FormBounds();
    prevState_ = was;
    windowState_ = kwsTray;
    loadedState_ = kwsNormal;
    const String tip = MinimizeApplication && Application ? Application->Title() : WideToUtf8(Caption());
    // Without a notification area the window is iconified instead, and the
    // display's restore brings it back.
    ShowWindow(h, AddTrayIcon(tip) ? SW_HIDE : SW_MINIMIZE);
}

namespace {

// The form's icon, else the application's.
HICON TrayIconOf(HWND h) {
    LRESULT icon = h ? SendMessage(h, WM_GETICON, 0, 0) : 0;
    if (!icon && h) icon = SendMessage(h, WM_GETICON, 1, 0);
    return icon ? HICON(static_cast<uint64_t>(icon)) : LoadIcon(IDI_APPLICATION);
}

// At most 63 characters of `text`, whole ones, into the tip.
void SetTip(NOTIFYICONDATA& data, const String& text) {
    const std::string tip = WideToUtf8(Utf8ToWide(text).substr(0, 63));
    std::snprintf(data.szTip, sizeof data.szTip, "%s", tip.c_str());
}

}  // namespace

bool TTeDefaultForm::AddTrayIcon(const String& tip) {
    if (!trayData_.hWnd) return false;
    trayData_.hIcon = TrayIconOf(GetHandle()).Value();
    SetTip(trayData_, tip);
    return Shell_NotifyIcon(NIM_ADD, &trayData_) || Shell_NotifyIcon(NIM_MODIFY, &trayData_);
}

void TTeDefaultForm::UpdateTrayIcon() {
    if (!trayData_.hWnd) return;
    trayData_.hIcon = TrayIconOf(GetHandle()).Value();
    SetTip(trayData_, Application ? Application->Title() : String());
    Shell_NotifyIcon(NIM_MODIFY, &trayData_);
}

void TTeDefaultForm::EndSession() {
    if (trayData_.hWnd) Shell_NotifyIcon(NIM_DELETE, &trayData_);
}

LRESULT TTeDefaultForm::TrayWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_QUERYENDSESSION: return 1;
        case WM_ENDSESSION:
            if (wParam) EndSession();
            return 0;
        case FM_TRAYNOTIFY:
            if (lParam == static_cast<LPARAM>(WM_LBUTTONDBLCLK))
                Restore();
            else if (lParam == static_cast<LPARAM>(WM_RBUTTONUP))
                SysMenu();
            return 0;
        default: return 0;
    }
}

void TTeDefaultForm::Restore() {
    hoverHit_ = kwhtNonClient;
    HWND h = GetHandle();
    const TTeWindowState state = windowState_, prev = prevState_;
    auto toNormal = [&] {
        windowState_ = kwsNormal;
        if (h && IsIconic(h)) ShowWindow(h, SW_RESTORE);
        MoveWindow(restoreBounds_);
    };
    switch (state) {
        case kwsMaximized:
            if (prev == kwsMinimized) {
                if (MinimizeApplication) return;
                toNormal();
                Maximize();
                prevState_ = kwsNormal;
            } else if (prev == kwsRollup) {
                toNormal();
                Rollup();
                prevState_ = kwsNormal;
            } else {
                prevState_ = kwsMaximized;
                toNormal();
            }
            break;
        case kwsMinimized:
            if (h && IsIconic(h)) ShowWindow(h, SW_RESTORE);
            // Still minimized, so neither keeps the minimized bounds to restore to.
            if (prev == kwsMaximized) {
                Maximize();
                prevState_ = kwsNormal;
            } else if (prev == kwsRollup) {
                Rollup();
                prevState_ = kwsNormal;
            } else {
                toNormal();
            }
            break;
        case kwsRollup:
            if (GetMaximizedRect().Width() == formWidth_ || prev == kwsMaximized) {
                Maximize();
                prevState_ = kwsNormal;
            } else {
                // The rolled-up form may have been moved: keep its place.
                const TRect f = FormBounds();
                restoreBounds_ = Bounds(f.left, f.top, restoreBounds_.Width(), restoreBounds_.Height());
                toNormal();
            }
            break;
        case kwsTray: {
            if (h) {
                ShowWindow(h, SW_RESTORE);
                SetForegroundWindow(h);
            }
            if (trayData_.hWnd) Shell_NotifyIcon(NIM_DELETE, &trayData_);
            const TRect saved = restoreBounds_;
            windowState_ = kwsNormal;
            if (prev == kwsMaximized)
                Maximize();
            else if (prev == kwsRollup)
                Rollup();
            else
                MoveWindow(saved);
            restoreBounds_ = saved;
            break;
        }
        case kwsNormal: break;
    }
    UpdateNonClientArea();
}

// ---- the application's minimize and restore ----

void TTeDefaultForm::HookApplication() {
    if (appHooked_ || !GetForm() || !MinimizeApplication) return;
    appHooked_ = true;
    savedAppOnMinimize_ = std::move(Application->OnMinimize);
    savedAppOnRestore_ = std::move(Application->OnRestore);
    // Each handler steps aside while it runs, so the state operations can
    // minimize and restore the application without coming back here.
    Application->OnMinimize = [this](TObject* sender) {
        TNotifyEvent self = std::move(Application->OnMinimize);
        if (windowState_ != kwsMinimized && windowState_ != kwsTray && MinimizeApplication) Minimize();
        if (savedAppOnMinimize_) savedAppOnMinimize_(sender);
        Application->OnMinimize = std::move(self);
    };
    Application->OnRestore = [this](TObject* sender) {
        TNotifyEvent self = std::move(Application->OnRestore);
        if (windowState_ == kwsMinimized && MinimizeApplication) {
            Restore();
            UpdateNonClientArea();
        }
        if (savedAppOnRestore_) savedAppOnRestore_(sender);
        Application->OnRestore = std::move(self);
    };
}

void TTeDefaultForm::UnhookApplication() {
    if (!appHooked_ || !Application) return;
    appHooked_ = false;
    Application->OnMinimize = std::move(savedAppOnMinimize_);
    Application->OnRestore = std::move(savedAppOnRestore_);
}

// ---- snapping ----

TRect TTeDefaultForm::GravBoundsRect() { return FormBounds(); }

TRect TTeDefaultForm::ApplyGravitation(const TRect& r) {
    if (!gravitation_.Enabled) return r;
    const int n = gravitation_.Size(), s = ShadowSize();
    const TRect f{r.left, r.top, r.right - s, r.bottom - s};
    int dx = 0, dy = 0;
    // Pulls the edge `at` onto `to` when it is nearer than n; false when not.
    auto pull = [n](int& d, int at, int to) {
        if (std::abs(at - to) >= n) return false;
        d -= at - to;
        return true;
    };
    if (gravitation_.SnapToDesktop) {
        const TRect p = GetParentRect();
        if (!pull(dx, f.left, p.left)) pull(dx, f.right, p.right);
        if (!pull(dy, f.top, p.top)) pull(dy, f.bottom, p.bottom);
    }
    const TRect g = GravBoundsRect();
    auto sharesEdge = [](const TRect& a, const TRect& o) {
        return a.left == o.right || a.right == o.left || a.top == o.bottom || a.bottom == o.top;
    };
    std::vector<TTeDefaultForm*> followers;
    for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* other = Screen->Forms(i);
        if (other == GetForm() || !other->Visible()) continue;
        TTeDefaultForm* frame = GetParentQvForm(other);
        if (!frame) continue;
        const TRect o = other->BoundsRect();
        const bool docked =
            gravitation_.OwnedForm && !Intersect(tedraw::Shrink(o, -n), g).IsEmpty() && sharesEdge(g, o);
        if (docked) {
            if (frame->Gravitation()->SnapToForms) followers.push_back(frame);
            continue;
        }
        if (!gravitation_.SnapToForms || Intersect(tedraw::Shrink(g, -n), o).IsEmpty()) continue;
        if (pull(dx, f.left, o.right) || pull(dx, f.right, o.left))
            if (!pull(dy, f.top, o.top)) pull(dy, f.bottom, o.bottom);
        if (pull(dy, f.top, o.bottom) || pull(dy, f.bottom, o.top))
            if (!pull(dx, f.left, o.left)) pull(dx, f.right, o.right);
    }
    TRect out = r;
    out.Offset(dx, dy);
    // Docked forms travel along with a whole-window drag.
    if (dragging_.DragMode != kfdmBorder)
        for (TTeDefaultForm* frame : followers)
            if (TCustomForm* other = frame->GetForm())
                frame->MoveWindow(Bounds(other->Left() + out.left - g.left, other->Top() + out.top - g.top,
                                         other->Width(), other->Height()));
    return out;
}

// ---- region, screen snapshot, shadow, blending ----

int TTeDefaultForm::ShadowSize() const { return windowState_ == kwsMaximized ? 0 : shadow_.Extent(); }

HRGN TTeDefaultForm::GetRegion() { return CreateRectRgn(0, 0, formWidth_, formHeight_); }

void TTeDefaultForm::CopyScreen(const TRect& rect) {
    if (Designing() || !GetHandle() || updating_ || rect == snapshotRect_ || rect.IsEmpty()) return;
    if (!blending_.Enabled() && (windowState_ == kwsMaximized || prevState_ == kwsMaximized)) {
        if (prevState_ == kwsMaximized) prevState_ = kwsNormal;
        return;
    }
    auto shot = std::make_unique<TteBitmap>();
    shot->SetSize(rect.Width(), rect.Height());
    HDC screen = GetDC(nullptr);
    auto fromScreen = [&](const TRect& part) {
        if (!part.IsEmpty())
            BitBlt(shot->DC(), part.left - rect.left, part.top - rect.top, part.Width(), part.Height(),
                   screen, part.left, part.top, SRCCOPY);
    };
    const TRect i = snapshot_ ? Intersect(rect, snapshotRect_) : TRect{};
    if (i.IsEmpty()) {
        fromScreen(rect);
    } else {
        // Where the old and new places overlap the screen shows the window
        // itself: that part comes from the old snapshot.
        fromScreen(TRect{rect.left, rect.top, i.left, rect.bottom});
        fromScreen(TRect{i.right, rect.top, rect.right, rect.bottom});
        fromScreen(TRect{i.left, rect.top, i.right, i.top});
        fromScreen(TRect{i.left, i.bottom, i.right, rect.bottom});
        snapshot_->Draw(*shot, i.left - rect.left, i.top - rect.top,
                        TRect{i.left - snapshotRect_.left, i.top - snapshotRect_.top,
                              i.right - snapshotRect_.left, i.bottom - snapshotRect_.top});
    }
    ReleaseDC(nullptr, screen);
    // The screen is opaque whatever a blit leaves in the alpha byte.
    shot->SetAlpha(255);
    snapshot_ = std::move(shot);
    snapshotRect_ = rect;
}

void PaintShadowBand(TteBitmap& target, int size, int right, int bottom, const TteBitmap* behind) {
    const int S = size, WW = target.Width(), WH = target.Height(), R = right, B = bottom;
    if (S <= 0) return;
    target.FillRect(TRect{R, 0, WW, S}, kShadowKey);
    target.FillRect(TRect{0, B, S, WH}, kShadowKey);
    auto shade = [](int alpha) { return (static_cast<uint32_t>(alpha) << 24) | (kShadowColour & 0xFFFFFF); };
    // Four fills, each one pixel further in at the outer sides, fade the band out.
    enum Corner { TopRight, BottomLeft, BottomRight };
    auto strip = [&](TRect r, Corner corner) {
        const int fills[] = {128 - 120, 128 - 70, 128 - 20, 128};
        const int corners[] = {128 - 120, 128 - 120, 128 - 70};
        for (int k = 0; k < 4 && !r.IsEmpty(); ++k) {
            target.FillRect(r, shade(fills[k]));
            if (k == 3) break;
            const int cx = corner == BottomLeft ? r.left : r.right - 1;
            const int cy = corner == TopRight ? r.top : r.bottom - 1;
            if (target.Contains(cx, cy)) target.SetPixel(cx, cy, shade(corners[k]));
            if (corner == BottomLeft)
                ++r.left;
            else
                --r.right;
            if (corner == TopRight)
                ++r.top;
            else
                --r.bottom;
        }
    };
    strip(TRect{R, S, WW, B}, TopRight);
    strip(TRect{S, B, R, WH}, BottomLeft);
    strip(TRect{R, B, WW, WH}, BottomRight);
    if (behind) {
        target.MergeDraw(*behind, R, 0, TRect{R, 0, WW, WH});
        target.MergeDraw(*behind, 0, B, TRect{0, B, R, WH});
    }
}

void TTeDefaultForm::PaintShadow(TteBitmap& target, const TRect& cb) {
    PaintShadowBand(target, ShadowSize(), cb.right, cb.bottom, composited_ ? nullptr : snapshot_.get());
}

namespace {

// A label that leaves its ground unpainted (Transparent).
bool SeeThroughLabel(TControl* control) {
    if (control->ControlStyle.Contains(csOpaque)) return false;
    for (TClass c = control->ClassType(); c; c = c->ClassParent())
        if (c->ClassName() == "TLabel" || c->ClassName() == "TTeLabel") return true;
    return false;
}

}  // namespace

void TTeDefaultForm::UpdateAlphaMask() {
    HWND h = GetHandle();
    TCustomForm* form = GetForm();
    if (!composited_ || !h || !form || windowWidth_ < 1 || windowHeight_ < 1) return;
    const uint32_t blended = blending_.Enabled() ? static_cast<uint32_t>(blending_.Value()) : 255u;
    const TRect cb = DisabledNCArea ? TRect{} : GetClientBounds();
    // What the mask is made of: made anew only when that changed (it is
    // asked for at every repaint, which follows a child's move or change).
    std::vector<int> key{windowWidth_, windowHeight_, formWidth_,
                         formHeight_,  ShadowSize(),  static_cast<int>(blended),
                         cb.left,      cb.top};
    std::vector<TControl*> opaque;
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* child = form->Controls(i);
        if (!child->Visible() || SeeThroughLabel(child)) continue;
        opaque.push_back(child);
        const TRect r = child->BoundsRect();
        key.insert(key.end(), {r.left, r.top, r.right, r.bottom});
    }
    if (key == alphaMaskKey_) return;
    alphaMaskKey_ = std::move(key);
    TteBitmap mask;
    mask.SetSize(windowWidth_, windowHeight_);
    mask.Clear(0);
    PaintShadowBand(mask, ShadowSize(), formWidth_, formHeight_, nullptr);
    mask.FillRect(TRect{0, 0, formWidth_, formHeight_}, blended << 24);
    // The children paint over the blended ground opaque; a transparent
    // label paints only its text on that ground, and is as blended as it.
    for (TControl* child : opaque) {
        TRect r = child->BoundsRect();
        r.Offset(cb.left, cb.top);
        mask.FillRect(Intersect(r, TRect{0, 0, formWidth_, formHeight_}), 0xFF000000u);
    }
    auto alpha = std::make_shared<Surface>(windowWidth_, windowHeight_);
    for (int y = 0; y < windowHeight_; ++y)
        for (int x = 0; x < windowWidth_; ++x) alpha->SetPixel(x, y, mask.GetPixel(x, y) & 0xFF000000u);
    SetLayeredWindowAlphaMask(h, std::move(alpha));
}

void TTeDefaultForm::InvalidateTransparentChildren() {
    TCustomForm* form = GetForm();
    if (!form) return;
    // The skinned controls that paint what lies behind them.
    static const char* const kTransparent[] = {"TTeTrackBar", "TTeRadioGroup", "TTeCheckBox",
                                               "TTeRadioButton", "TTeGroupBox"};
    auto transparent = [](TControl* control) {
        for (TClass c = control->ClassType(); c; c = c->ClassParent())
            for (const char* name : kTransparent)
                if (c->ClassName() == name) return true;
        return false;
    };
    for (int i = 0; i < form->ControlCount(); ++i)
        if (TControl* child = form->Controls(i); transparent(child)) child->Invalidate();
}

// ---- the show animation ----

namespace {
TTeShowAnimation& ShowAnimation() {
    static TTeShowAnimation player;
    return player;
}

// What is drawn on the screen's DC is never shown: the animation plays in a
// topmost window over the place the form comes to, which starts as the
// screen behind it and goes when the animation has ended.
constexpr const char* kShowWindowClass = "TarvelShowAnimation";

LRESULT ShowWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            // The animation draws; a paint only keeps what is there.
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        default: return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

HWND MakeShowWindow(const TRect& at, const TteBitmap* background) {
    static WNDPROC proc = MakeWindowProc(&ShowWindowProc);
    WNDCLASS existing;
    if (!GetClassInfo(kShowWindowClass, existing)) {
        WNDCLASS wc;
        wc.lpfnWndProc = proc;
        wc.lpszClassName = kShowWindowClass;
        RegisterClass(wc);
    }
    HWND h = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kShowWindowClass, "",
                            WS_POPUP, at.left, at.top, at.Width(), at.Height(), nullptr);
    if (!h) return h;
    if (background) {
        HDC dc = GetWindowDC(h);
        BitBlt(dc, 0, 0, at.Width(), at.Height(), background->DC(), 0, 0, SRCCOPY);
        ReleaseDC(h, dc);
    }
    ShowWindow(h, SW_SHOWNA);
    return h;
}
}  // namespace

void SetShowAnimation(TTeShowAnimation player) { ShowAnimation() = std::move(player); }

bool HasShowAnimation() { return static_cast<bool>(ShowAnimation()); }

void ShowAnimated(const TRect& at, TteBitmap* background, TteBitmap* image, TteShowAnimationRec* animation) {
    if (!ShowAnimation()) return;
    HWND stage = MakeShowWindow(at, background);
    if (!stage) return;
    HDC dc = GetWindowDC(stage);
    // The player draws in screen coordinates.
    MoveWindowOrg(dc, -at.left, -at.top);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        ShowAnimation()(&canvas, at.left, at.top, background, image, animation);
        canvas.SetHandle(HDC{});
    }
    ReleaseDC(stage, dc);
    DestroyWindow(stage);
}

bool TTeDefaultForm::AnimationShow() {
    TCustomForm* form = GetForm();
    HWND h = GetHandle();
    if (!animation_.Enabled() || !form || !h || Designing() || IsWinVista() || !ShowAnimation()) return true;
    // Messages are served here and while the player runs: the form may be
    // closed meanwhile.
    const std::shared_ptr<TTeDefaultForm*> alive = self_;
    Application->ProcessMessages();
    if (!*alive) return false;
    TteBitmap target;
    target.SetSize(windowWidth_, windowHeight_);
    paintToBitmap_ = true;
    paintTarget_ = &target;
    struct Done {
        TTeDefaultForm* self;
        ~Done() {
            if (!self) return;
            self->paintToBitmap_ = false;
            self->paintTarget_ = nullptr;
        }
    } done{this};
    const TRect w = WindowRect(h);
    snapshotRect_ = TRect{};
    CopyScreen(w);
    const bool wasActive = frameActive_;
    frameActive_ = true;
    const TRect cb = GetClientBounds();
    UpdateNonClientArea();
    PaintBackground(HDC{});
    frameActive_ = wasActive;
    target.SetAlpha(255);
    // What lies outside the window's shape stays the screen's.
    HRGN shape = GetRegion();
    if (const int S = ShadowSize(); S > 0) {
        HRGN moved = GetRegion();
        OffsetRgn(moved, S, S);
        CombineRgn(shape, shape, moved, RGN_OR);
        DeleteObject(moved);
    }
    for (int y = 0; y < target.Height(); ++y)
        for (int x = 0; x < target.Width(); ++x)
            if (!PtInRegion(shape, x, y)) target.SetPixel(x, y, kShadowKey);
    DeleteObject(shape);
    target.CheckingTransparent(kShadowKey);
    SaveDC(target.DC());
    MoveWindowOrg(target.DC(), cb.left, cb.top);
    form->PaintControls(target.DC(), nullptr);
    RestoreDC(target.DC(), -1);
    for (int i = 0; i < form->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(form->Controls(i)); child && child->Visible())
            child->PaintTo(target.DC(), cb.left + child->Left(), cb.top + child->Top());
    ShowAnimated(w, snapshot_.get(), &target, &animation_.Rec());
    if (!*alive) done.self = nullptr;
    return done.self != nullptr;
}

}  // namespace tarvel
