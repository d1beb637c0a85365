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
    const TRect cb = frame->LargeWindowClientBounds();
    window_->SetBounds(window_->Left(), window_->Top(), size.x + cb.left + (kLargeWindow - cb.right) + shadow,
                       size.y + cb.top + (kLargeWindow - cb.bottom) + shadow);
}

void TTePopupView::SetPosition(const TPoint& point) {
    const TRect cb = window_->Frame()->LargeWindowClientBounds();
    window_->SetBounds(point.x - cb.left, point.y - cb.top, window_->Width(), window_->Height());
}

void TTePopupView::InvalidateView() { window_->Frame()->InvalidateNow(); }

void TTePopupView::InvalidateItem(TTeItem* item) {
    if (item) window_->Frame()->InvalidateClientRect(item->ItemRect);
}

void TTePopupView::InvalidateScrollButton(TTeMenuScrollButton button) {
    TRect r;
    GetScrollButtonRect(button, r);
    if (!r.IsEmpty()) window_->Frame()->InvalidateClientRect(r);
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

void TTePopupForm::DeclareMessages(TMessageTable& t) {
    t.Add<&TTePopupForm::WMActivate>(WM_ACTIVATE);
    t.Add<&TTePopupForm::WMMouseActivate>(WM_MOUSEACTIVATE);
    t.Add<&TTePopupForm::WMGetMinMaxInfo>(WM_GETMINMAXINFO);
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
    // The menu's ground under the entries, as it lies in the window.
    const TRect cb = GetClientBounds();
    HDC dc = canvas.Handle();
    MoveWindowOrg(dc, -cb.left, -cb.top);
    PaintNonClientArea(canvas);
    MoveWindowOrg(dc, cb.left, cb.top);
    // The view measures on a canvas of its own and paints on the frame's.
    TCanvas* measuring = view->Canvas;
    view->Canvas = &canvas;
    view->Paint(&canvas);
    view->Canvas = measuring;
}

TRect TTePopupForm::LargeWindowClientBounds() {
    const int w = FormWidth(), h = FormHeight();
    RememberFormSize(kLargeWindow, kLargeWindow);
    const TRect cb = GetClientBounds();
    // Unless the window changes size it keeps painting at its own.
    RememberFormSize(w, h);
    return cb;
}

void TTePopupForm::InvalidateClientRect(const TRect& rect) {
    const TRect cb = GetClientBounds();
    TRect r = rect;
    r.Offset(cb.left, cb.top);
    InvalidateRect(r);
}

void TTePopupForm::KeepOwnerActive() {
    if (ownerControl_ && ownerControl_->HandleAllocated())
        SendMessage(ownerControl_->Handle(), WM_NCACTIVATE, 1, 0);
}

void TTePopupForm::WMActivate(TMessage& m) {
    KeepOwnerActive();
    DispatchFrom(inherited::StaticClass(), m);
}

void TTePopupForm::WMMouseActivate(TMessage& m) {
    KeepOwnerActive();
    DispatchFrom(inherited::StaticClass(), m);
}

// The window sets its own tracking sizes.
void TTePopupForm::WMGetMinMaxInfo(TMessage&) {}

// ---- the window --------------------------------------------------------------------------------

void TTePopupWindow::DeclareMessages(TMessageTable& t) {
    t.Add<&TTePopupWindow::CMShowingChanged>(CM_SHOWINGCHANGED);
    t.Add<&TTePopupWindow::WMMouseActivate>(WM_MOUSEACTIVATE);
    t.Add<&TTePopupWindow::WMGetMinMaxInfo>(WM_GETMINMAXINFO);
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
    if (view_ && frame_) view_->CalcSize();
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

void TTePopupWindow::WMGetMinMaxInfo(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    if (info && !ComponentState().Contains(csReading)) info->ptMinTrackSize = TPoint{20, 20};
}

}  // namespace tarvel
