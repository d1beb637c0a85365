#include "skin/forms/te_forms_popup.h"

#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

namespace {
constexpr int kEdge = 3;
// The frame's margins are taken from a window this large.
constexpr int kLargeWindow = 1000;
}  // namespace

// ---- the view ----------------------------------------------------------------------------------

TTePopupView::TTePopupView(TTePopupWindow* window)
    : TTeItemView(nullptr, false, voVertical), window_(window) {}

void TTePopupView::SetSize(const TPoint& size) {
    TTePopupForm* frame = window_->Frame();
    const int shadow = frame->Shadow()->Extent();
    frame->RememberFormSize(kLargeWindow, kLargeWindow);
    const TRect cb = frame->GetClientBounds();
    window_->SetBounds(window_->Left(), window_->Top(), size.x + cb.left + (kLargeWindow - cb.right) + shadow,
                       size.y + cb.top + (kLargeWindow - cb.bottom) + shadow);
    if (frame->Composited()) frame->Redraw();
}

void TTePopupView::SetPosition(const TPoint& point) {
    TTePopupForm* frame = window_->Frame();
    frame->RememberFormSize(kLargeWindow, kLargeWindow);
    const TRect cb = frame->GetClientBounds();
    window_->SetBounds(point.x - cb.left, point.y - cb.top, window_->Width(), window_->Height());
}

void TTePopupView::InvalidateView() { window_->Frame()->Redraw(); }

void TTePopupView::InvalidateItem(TTeItem* item) {
    if (item) window_->Frame()->Redraw(&item->ItemRect);
}

void TTePopupView::InvalidateScrollButton(TTeMenuScrollButton button) {
    TRect r;
    GetScrollButtonRect(button, r);
    if (!r.IsEmpty()) window_->Frame()->Redraw(&r);
}

// ---- the frame ---------------------------------------------------------------------------------

TTePopupForm::TTePopupForm(TComponent* owner) : TTeForm(owner) {
    // A menu's frame never follows theme changes by hooking, unhooking or
    // sizing its window, and never minimizes the application.
    themeSwitches_ = false;
    MinimizeApplication = false;
    SetBorderIcons(TTeBorderIcons{});
    SetBorderStyle(kbsNone);
    Dragging()->Sizeable = false;
    Dragging()->Moveable = false;
    SetPerformance(qvfpNoBuffer);
    SetThemeObject("default");
    SetActive(true);
}

void TTePopupForm::SetOwnerControl(TWinControl* control) {
    if (ownerControl_) ownerControl_->RemoveFreeNotification(this);
    ownerControl_ = control;
    if (control) control->FreeNotification(this);
}

void TTePopupForm::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == TOperation::opRemove && component == ownerControl_) ownerControl_ = nullptr;
}

void TTePopupForm::DoBeforeMessage(TMessage& message, bool&) {
    // The window keeps its own geometry and painting: the whole window is
    // its client area. Of a frame's messages the menu's frame takes only these.
    switch (message.Msg) {
        case WM_ACTIVATE: WMActivate(message); break;
        case WM_MOUSEACTIVATE: WMMouseActivate(message); break;
        case WM_WINDOWPOSCHANGING: WMWindowPosChanging(message); break;
        case WM_DWMCOMPOSITIONCHANGED: FollowComposition(); break;
        default: break;
    }
}

bool TTePopupForm::MenuThemed() { return IsObjectDefined(kmscPopupMenu, ThemeObject(), ThemeLink()); }

TRect TTePopupForm::GetClientBounds() {
    const TRect whole{0, 0, FormWidth(), FormHeight()};
    if (MenuThemed())
        if (TteTheme* theme = GetThemeLink(ThemeLink()))
            return theme->MenuGetClientRect(kmscPopupMenu, MenuInfo(whole), ThemeObject());
    return TRect{kEdge, kEdge, whole.right - kEdge, whole.bottom - kEdge};
}

TSize TTePopupForm::GetMinTrackSize() { return TSize{10, 10}; }

void TTePopupForm::FollowWindowSize() {
    if (window_) RememberFormSize(window_->Width() - ShadowSize(), window_->Height() - ShadowSize());
}

void TTePopupForm::PaintNonClientArea(TCanvas& canvas) {
    TTePopupView* view = window_ ? window_->View() : nullptr;
    if (!view || !view->RootItem) return;
    const TRect whole{0, 0, FormWidth(), FormHeight()};
    TteTheme* theme = MenuThemed() ? GetThemeLink(ThemeLink()) : nullptr;
    if (theme) {
        theme->MenuDraw(kmscPopupMenu, canvas, MenuInfo(whole), ThemeObject());
        return;
    }
    DrawEdge(canvas, whole, clBtnFace, clBlack);
    DrawEdge(canvas, RectOffset(whole, -1), clBtnHighlight, clBtnShadow);
    DrawEdge(canvas, RectOffset(whole, -2), clMenu, clMenu);
    FillRect(canvas, RectOffset(whole, -kEdge), clMenu);
}

void TTePopupForm::PaintClientArea(TCanvas& canvas) {
    TTePopupView* view = window_ ? window_->View() : nullptr;
    if (!view) return;
    // The view measures on a canvas of its own and paints on the frame's.
    TCanvas* measuring = view->Canvas;
    view->Canvas = &canvas;
    view->Paint(&canvas);
    view->Canvas = measuring;
}

void TTePopupForm::ComposeAlpha(TteBitmap& picture) {
    const int s = ShadowSize();
    picture.SetSize(window_->Width(), window_->Height());
    {
        CanvasOnDc on(picture.DC());
        PaintNonClientArea(on.canvas);
        PaintClientArea(on.canvas);
    }
    const TRect menu{0, 0, FormWidth(), FormHeight()};
    PaintShadowBand(picture, s, menu.right, menu.bottom, nullptr);
    picture.SetAlpha(Blending()->Enabled() ? static_cast<uint8_t>(Blending()->Value()) : 255, menu);
}

void TTePopupForm::PaintWindow(HDC dc) {
    if (!window_) return;
    FollowWindowSize();
    if (ShadowSize() <= 0 && !Blending()->Enabled()) {
        CanvasOnDc on(dc);
        PaintNonClientArea(on.canvas);
        PaintClientArea(on.canvas);
        return;
    }
    // Mixed with the screen that lay beneath, then shown opaque.
    TteBitmap picture;
    ComposeAlpha(picture);
    if (const TteBitmap* behind = Snapshot()) picture.MergeDraw(*behind, 0, 0, picture.BoundsRect());
    picture.SetAlpha(255);
    picture.Draw(dc, 0, 0);
}

void TTePopupForm::ShowComposed() {
    if (!window_ || !window_->HandleAllocated()) return;
    HWND h = window_->Handle();
    FollowWindowSize();
    TteBitmap picture;
    ComposeAlpha(picture);
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = 255;
    blend.AlphaFormat = AC_SRC_ALPHA;
    const TPoint origin{0, 0};
    UpdateLayeredWindow(h, HDC{}, nullptr, nullptr, picture.DC(), &origin, 0, &blend, ULW_ALPHA);
}

void TTePopupForm::Redraw(const TRect* rect) {
    if (!window_ || !window_->HandleAllocated()) return;
    HWND h = window_->Handle();
    // A window showing given pixels is never painted: its picture is made anew.
    if (composited_)
        ShowComposed();
    else
        ::tarvel::InvalidateRect(h, rect, false);
}

void TTePopupForm::ClipShadowCorners() {
    const int s = ShadowSize();
    HWND h = GetHandle();
    if (!h || s <= 0) return;
    // The shadow is the menu's outline moved down and right: the corners it
    // leaves free belong to what lies beneath.
    const int w = FormWidth(), hh = FormHeight();
    HRGN region = CreateRectRgn(0, 0, w, hh);
    HRGN moved = CreateRectRgn(s, s, w + s, hh + s);
    CombineRgn(region, region, moved, RGN_OR);
    DeleteObject(moved);
    SetWindowRgn(h, region, false);
}

void TTePopupForm::WMWindowPosChanging(TMessage& m) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
    HWND h = GetHandle();
    if (!wp || !h || !window_ || !(wp->flags & SWP_SHOWWINDOW)) return;
    // Not shown yet: the screen there is what lies beneath.
    FollowWindowSize();
    ClipShadowCorners();
    const bool effects = ShadowSize() > 0 || Blending()->Enabled();
    composited_ = effects && DesktopComposited();
    // Taken with a compositing manager too, for the snapshot way should it go.
    if (effects || TookAnimation()) CopyScreen(WindowRect(h));
    if (TookAnimation()) PlayAnimation();
    if (composited_) {
        SetWindowLongPtr(h, GWL_EXSTYLE, GetWindowLongPtr(h, GWL_EXSTYLE) | WS_EX_LAYERED);
        ShowComposed();
    }
}

void TTePopupForm::FollowComposition() {
    HWND h = GetHandle();
    if (!h || !window_ || !IsWindowVisible(h)) return;
    const bool now = (ShadowSize() > 0 || Blending()->Enabled()) && DesktopComposited();
    if (now == composited_) return;
    composited_ = now;
    if (composited_) {
        SetWindowLongPtr(h, GWL_EXSTYLE, GetWindowLongPtr(h, GWL_EXSTYLE) | WS_EX_LAYERED);
        ShowComposed();
    } else {
        // Painted by itself again, mixed with the snapshot taken when it opened.
        SetWindowLongPtr(h, GWL_EXSTYLE, GetWindowLongPtr(h, GWL_EXSTYLE) & ~WS_EX_LAYERED);
        ::tarvel::InvalidateRect(h, nullptr, false);
    }
}

void TTePopupForm::PlayAnimation() {
    HWND h = GetHandle();
    if (!HasShowAnimation() || IsWinVista() || !Snapshot() || !h) return;
    const TRect at = WindowRect(h);
    const int w = at.Width(), hh = at.Height();
    TteBitmap image;
    image.SetSize(w, hh);
    PaintWindow(image.DC());
    image.SetAlpha(255);
    // The corners the shadow leaves free show the screen throughout.
    const int s = ShadowSize();
    for (const TRect& free : {TRect{w - s, 0, w, s}, TRect{0, hh - s, s, hh}})
        for (int y = free.top; y < free.bottom; ++y)
            for (int x = free.left; x < free.right; ++x) image.SetPixel(x, y, kShadowKey);
    image.CheckingTransparent(kShadowKey);
    ShowAnimated(at, const_cast<TteBitmap*>(Snapshot()), &image, &Animation()->Rec());
}

void TTePopupForm::KeepOwnerActive() {
    if (ownerControl_ && ownerControl_->HandleAllocated())
        SendMessage(ownerControl_->Handle(), WM_NCACTIVATE, 1, 0);
}

void TTePopupForm::WMActivate(TMessage&) { KeepOwnerActive(); }

void TTePopupForm::WMMouseActivate(TMessage&) { KeepOwnerActive(); }

// ---- the window --------------------------------------------------------------------------------

void TTePopupWindow::DeclareMessages(TMessageTable& t) {
    t.Add<&TTePopupWindow::CMShowingChanged>(CM_SHOWINGCHANGED);
    t.Add<&TTePopupWindow::WMMouseActivate>(WM_MOUSEACTIVATE);
}

TTePopupWindow::TTePopupWindow(TComponent* owner, TTeItem* item, TTeItemView* parentView)
    : TForm(owner), item_(item), measure_(std::make_unique<TBitmap>()) {
    Tag = 99;
    SetBorderStyle(bsNone);
    SetColor(clMenu);
    frame_ = GetFormClass()->Create<TTePopupForm>(static_cast<TComponent*>(this));
    frame_->Loaded();
    frame_->SetWindow(this);
    frame_->SetThemeLink(item ? item->ThemeLink() : nullptr);
    TTePopupMenuOptions* options = item ? item->PopupMenuOptions() : nullptr;
    if (options) {
        frame_->Blending()->Assign(options->Blending());
        frame_->Shadow()->Assign(options->Shadow());
    }
    if (owner && dynamic_cast<TWinControl*>(owner->Owner()))
        frame_->SetOwnerControl(static_cast<TWinControl*>(owner->Owner()));
    else
        frame_->SetOwnerControl(dynamic_cast<TWinControl*>(owner));
    // Only the first window of a menu animates, unless every one should.
    if (item && (!item->OnlyFirst() || (item->First() && options))) {
        if (options) frame_->Animation()->Assign(options->Animation());
        (item->Parent() ? item->Parent() : item)->SetFirst(false);
    }
    measure_->SetSize(1, 1);
    view_ = std::make_unique<TTePopupView>(this);
    view_->Canvas = measure_->Canvas();
    view_->CaptureControl = this;
    view_->LayoutControl = this;
    view_->RootItem = item;
    view_->ParentView = parentView;
    // A menu always stands out from what lies beneath it.
    frame_->Shadow()->SetEnabled(true);
}

TTePopupWindow::~TTePopupWindow() {
    // The view goes first: its items must not paint into a window being
    // torn down, nor the frame through it.
    frame_->SetWindow(nullptr);
    view_.reset();
}

void TTePopupWindow::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.Style = (params.Style & ~(WS_CHILD | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) | WS_POPUP;
    params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

void TTePopupWindow::CalcSize() {
    frame_->RememberFormSize(kLargeWindow, kLargeWindow);
    const TRect cb = frame_->GetClientBounds();
    view_->OriginX = cb.left;
    view_->OriginY = cb.top;
    view_->CalcSize();
}

bool TTePopupWindow::EnterLoop() { return view_->MessageLoop(); }

void TTePopupWindow::CMShowingChanged(TMessage&) {
    // A menu never takes activation by being shown; its frame readies the
    // first show (shadow, screen beneath, animation) as the window comes up.
    HandleNeeded();
    const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, flags | (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TTePopupWindow::WMMouseActivate(TMessage& m) { m.Result = MA_NOACTIVATE; }

void TTePopupWindow::PaintWindow(HDC dc) { frame_->PaintWindow(dc); }

}  // namespace tarvel
