#include "skin/forms/te_forms_popup.h"

#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_winapi.h"
#include "skin/forms/te_forms_frame.h"

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
    const int shadow = window_->Shadow()->Extent();
    window_->SetBounds(window_->Left(), window_->Top(), size.x + cb.left + (kLargeWindow - cb.right) + shadow,
                       size.y + cb.top + (kLargeWindow - cb.bottom) + shadow);
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
    t.Add<&TTePopupWindow::WMActivate>(WM_ACTIVATE);
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

    TTePopupMenuOptions* options = item ? item->PopupMenuOptions() : nullptr;
    if (options) {
        blending_.Assign(options->Blending());
        shadow_.Assign(options->Shadow());
    }
    if (owner && dynamic_cast<TWinControl*>(owner->Owner()))
        ownerControl_ = static_cast<TWinControl*>(owner->Owner());
    else
        ownerControl_ = dynamic_cast<TWinControl*>(owner);
    // Only the first window of a menu animates, unless every one should.
    if (item && (!item->OnlyFirst() || (item->First() && options))) {
        if (options) {
            animation_.Assign(options->Animation());
            tookAnimation_ = animation_.Enabled();
        }
        (item->Parent() ? item->Parent() : item)->SetFirst(false);
    }
    // A menu always stands out from what lies beneath it.
    shadow_.SetEnabled(true);
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

void TTePopupWindow::ClipShadowCorners() {
    const int s = shadow_.Extent();
    if (!HandleAllocated() || s <= 0) return;
    // The shadow is the menu's outline moved down and right: the corners it
    // leaves free belong to what lies beneath.
    const int w = Width(), h = Height();
    HRGN region = CreateRectRgn(0, 0, w - s, h - s);
    HRGN moved = CreateRectRgn(s, s, w, h);
    CombineRgn(region, region, moved, RGN_OR);
    DeleteObject(moved);
    SetWindowRgn(Handle(), region, false);
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
    if (Visible()) {
        ClipShadowCorners();
        if (shadow_.Extent() > 0 || blending_.Enabled() || tookAnimation_) {
            // Not shown yet: the screen there is what lies beneath.
            const TRect at = WindowRect(Handle());
            behind_ = std::make_unique<TteBitmap>();
            behind_->SetSize(at.Width(), at.Height());
            HDC screen = GetDC(nullptr);
            BitBlt(behind_->DC(), 0, 0, at.Width(), at.Height(), screen, at.left, at.top, SRCCOPY);
            ReleaseDC(nullptr, screen);
            behind_->SetAlpha(255);
        }
        if (tookAnimation_) PlayAnimation();
    }
    const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, flags | (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TTePopupWindow::PlayAnimation() {
    if (!HasShowAnimation() || IsWinVista() || !behind_) return;
    const TRect at = WindowRect(Handle());
    const int w = at.Width(), h = at.Height();
    TteBitmap image;
    image.SetSize(w, h);
    PaintTo(image.DC(), 0, 0);
    image.SetAlpha(255);
    // The corners the shadow leaves free show the screen throughout.
    const int s = shadow_.Extent();
    for (const TRect& free : {TRect{w - s, 0, w, s}, TRect{0, h - s, s, h}})
        for (int y = free.top; y < free.bottom; ++y)
            for (int x = free.left; x < free.right; ++x) image.SetPixel(x, y, kShadowKey);
    image.CheckingTransparent(kShadowKey);
    ShowAnimated(at, behind_.get(), &image, &animation_.Rec());
}

void TTePopupWindow::KeepOwnerActive() {
    if (ownerControl_ && ownerControl_->HandleAllocated())
        SendMessage(ownerControl_->Handle(), WM_NCACTIVATE, 1, 0);
}

void TTePopupWindow::WMMouseActivate(TMessage& m) {
    KeepOwnerActive();
    m.Result = MA_NOACTIVATE;
}

void TTePopupWindow::WMActivate(TMessage& m) {
    KeepOwnerActive();
    DispatchFrom(inherited::StaticClass(), m);
}

void TTePopupWindow::PaintMenu(TCanvas& canvas) {
    const int s = shadow_.Extent();
    const TRect whole{0, 0, Width() - s, Height() - s};
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
}

void TTePopupWindow::PaintWindow(HDC dc) {
    const int s = shadow_.Extent(), w = Width(), h = Height();
    TCanvas canvas;
    if (s <= 0 && !blending_.Enabled()) {
        canvas.SetHandle(dc);
        PaintMenu(canvas);
        canvas.SetHandle(HDC{});
        return;
    }
    // Composed in a picture of the window, then shown opaque.
    TteBitmap picture;
    picture.SetSize(w, h);
    canvas.SetHandle(picture.DC());
    PaintMenu(canvas);
    canvas.SetHandle(HDC{});
    PaintShadowBand(picture, s, w - s, h - s, behind_.get());
    const TRect menu{0, 0, w - s, h - s};
    if (blending_.Enabled()) {
        picture.SetAlpha(static_cast<uint8_t>(blending_.Value()), menu);
        if (behind_) picture.MergeDraw(*behind_, 0, 0, menu);
    }
    picture.SetAlpha(255);
    picture.Draw(dc, 0, 0);
}

}  // namespace tarvel
