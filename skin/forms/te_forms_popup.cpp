#include "skin/forms/te_forms_popup.h"

#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

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
    const TRect cb = window_->GetClientBounds();
    window_->SetBounds(window_->Left(), window_->Top(), size.x + cb.left + (kLargeWindow - cb.right),
                       size.y + cb.top + (kLargeWindow - cb.bottom));
}

void TTePopupView::SetPosition(const TPoint& point) {
    const TRect cb = window_->GetClientBounds();
    window_->SetBounds(point.x - cb.left, point.y - cb.top, window_->Width(), window_->Height());
}

void TTePopupView::InvalidateView() {
    if (window_->HandleAllocated()) InvalidateRect(window_->Handle(), nullptr, false);
}

void TTePopupView::InvalidateItem(TTeItem* item) {
    if (item && window_->HandleAllocated()) InvalidateRect(window_->Handle(), &item->ItemRect, false);
}

void TTePopupView::InvalidateScrollButton(TTeMenuScrollButton button) {
    TRect r;
    GetScrollButtonRect(button, r);
    if (window_->HandleAllocated() && !r.IsEmpty()) InvalidateRect(window_->Handle(), &r, false);
}

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
    measure_->SetSize(1, 1);
    view_ = std::make_unique<TTePopupView>(this);
    view_->Canvas = measure_->Canvas();
    view_->CaptureControl = this;
    view_->LayoutControl = this;
    view_->RootItem = item;
    view_->ParentView = parentView;
}

TTePopupWindow::~TTePopupWindow() {
    // The view goes first: its items must not paint into a window being torn down.
    view_.reset();
}

void TTePopupWindow::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.Style = (params.Style & ~(WS_CHILD | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) | WS_POPUP;
    params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

bool TTePopupWindow::Themed() {
    return item_ && IsObjectDefined(kmscPopupMenu, themeObject_, item_->ThemeLink());
}

void TTePopupWindow::SetThemeObject(const String& value) {
    if (value == themeObject_) return;
    themeObject_ = value;
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, false);
}

TRect TTePopupWindow::GetClientBounds() {
    const TRect whole{0, 0, kLargeWindow, kLargeWindow};
    if (Themed())
        if (TteTheme* theme = GetThemeLink(item_->ThemeLink()))
            return theme->MenuGetClientRect(kmscPopupMenu, MenuInfo(whole), themeObject_);
    return TRect{kEdge, kEdge, kLargeWindow - kEdge, kLargeWindow - kEdge};
}

void TTePopupWindow::CalcSize() {
    const TRect cb = GetClientBounds();
    view_->OriginX = cb.left;
    view_->OriginY = cb.top;
    view_->CalcSize();
}

bool TTePopupWindow::EnterLoop() { return view_->MessageLoop(); }

void TTePopupWindow::CMShowingChanged(TMessage&) {
    // A menu never takes activation by being shown.
    HandleNeeded();
    const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, flags | (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TTePopupWindow::WMMouseActivate(TMessage& m) { m.Result = MA_NOACTIVATE; }

void TTePopupWindow::PaintWindow(HDC dc) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    const TRect whole{0, 0, Width(), Height()};
    TteTheme* theme = Themed() ? GetThemeLink(item_->ThemeLink()) : nullptr;
    if (theme) {
        theme->MenuDraw(kmscPopupMenu, canvas, MenuInfo(whole), themeObject_);
    } else {
        DrawEdge(canvas, whole, clBtnFace, clBlack);
        DrawEdge(canvas, RectOffset(whole, -1), clBtnHighlight, clBtnShadow);
        DrawEdge(canvas, RectOffset(whole, -2), clMenu, clMenu);
        FillRect(canvas, RectOffset(whole, -kEdge), clMenu);
    }
    TCanvas* measuring = view_->Canvas;
    view_->Canvas = &canvas;
    view_->Paint(&canvas);
    view_->Canvas = measuring;
    canvas.SetHandle(nullptr);
}

}  // namespace tarvel
