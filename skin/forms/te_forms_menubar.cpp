#include "skin/forms/te_forms_menubar.h"

#include "platform/winsys/MessageApi.h"
#include "platform/winsys/SystemApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_bandhost.h"

namespace tarvel {

namespace {
// Room for the bevel line under (or over) an unthemed bar.
constexpr int kBevelRoom = 2;
}  // namespace

// ---- the view ----------------------------------------------------------------------------------

TTeMenuBarView::TTeMenuBarView(TTeMenuBar* bar) : TTeItemView(nullptr, true, voHorizontal), bar_(bar) {}

void TTeMenuBarView::SetSize(const TPoint& size) {
    if (!bar_->AutoSize()) return;
    const TRect r = bar_->GetViewRect();
    const int left = bar_->Left(), top = bar_->Top();
    bar_->autoSizeRect_ = TRect{left, top, left + size.x + r.left + (bar_->Width() - r.right),
                                top + size.y + r.top + (bar_->Height() - r.bottom)};
}

void TTeMenuBarView::InvalidateView() {
    if (bar_->updateCount_ == 0) bar_->Invalidate();
}

void TTeMenuBarView::InvalidateItem(TTeItem* item) {
    if (bar_->updateCount_ > 0 || !item) return;
    // Over a band container's face an item's tool button may reach past
    // its own rectangle: the whole bar repaints.
    if (IsOnBandHost(bar_)) {
        bar_->Invalidate();
        return;
    }
    bar_->InvalidateRect(item->ItemRect);
}

// ---- the bar -----------------------------------------------------------------------------------

void TTeMenuBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeMenuBar::CMDialogChar>(CM_DIALOGCHAR);
    t.Add<&TTeMenuBar::CMMouseLeave>(CM_MOUSELEAVE);
    t.Add<&TTeMenuBar::WMLButtonDown>(WM_LBUTTONDOWN);
    t.Add<&TTeMenuBar::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeMenuBar::SNMLinkChanged>(SNM_LINKCHANGED);
}

TTeMenuBar::TTeMenuBar(TComponent* owner) : TTeControl(owner), measure_(std::make_unique<TBitmap>()) {
    RegisterItemContainer<TTeMenuBar>();
    SetAutoSize(true);
    items_ = new TTeItem(this);
    items_->ParentComponent = this;
    if (!ComponentState().Contains(csDesigning))
        items_->OnInternalChange = [this](TObject* sender) { DoInternalChange(sender); };
    measure_->SetSize(1, 1);
    view_ = std::make_unique<TTeMenuBarView>(this);
    view_->Canvas = measure_->Canvas();
    view_->RootItem = items_;
    view_->LayoutControl = this;
    view_->CaptureControl = this;
    SetColor(clMenu);
    SetHeight(GetSystemMetrics(SM_CYMENU));
    ControlStyle += {csActionClient};
    AddThemeNotification(this);
}

void TTeMenuBar::InitiateAction() {
    TTeControl::InitiateAction();
    if (view_) view_->InitiateAction();
}

TTeMenuBar::~TTeMenuBar() {
    RemoveThemeNotification(this);
    items_->SetPopupMenuOptions(nullptr);
    view_.reset();
    delete items_;
    items_ = nullptr;
    UnregisterContainerClass(TTeMenuBar::StaticClass());
}

void TTeMenuBar::Loaded() {
    TTeControl::Loaded();
    SetPopupMenuOptions(&options_);
    items_->SetIsToolbar(IsOnBandHost(this));
    CreateMDIItems();
    TakeThemeBounds();
    items_->Change();
}

void TTeMenuBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeLink_) SetThemeLink(nullptr);
}

void TTeMenuBar::GetChildren(const std::function<void(TComponent* child)>& proc) {
    for (int i = 0; i < items_->Count(); ++i) proc(items_->GetItem(i));
    TTeControl::GetChildren(proc);
}

void TTeMenuBar::SetPopupMenuOptions(TTePopupMenuOptions* value) {
    if (value && value != &options_) options_.Assign(value);
    items_->SetPopupMenuOptions(&options_);
}

void TTeMenuBar::SetShowBevel(bool value) {
    if (value == showBevel_) return;
    showBevel_ = value;
    Invalidate();
}

void TTeMenuBar::SetThemeObject(const String& value) {
    if (value == themeObject_) return;
    themeObject_ = value;
    // The default object lays out as before.
    if (value != "default") items_->Change();
}

TteTheme* TTeMenuBar::Theme() { return GetThemeLink(themeLink_); }

void TTeMenuBar::TakeThemeBounds() {
    TteTheme* theme = Theme();
    const TRect bounds = theme ? theme->GetBounds(themeObject_) : TRect{};
    if (bounds.IsEmpty())
        Invalidate();
    else
        SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
}

void TTeMenuBar::SetThemeLink(TteCustomThemeLink* value) {
    if (value == themeLink_) return;
    themeLink_ = value;
    if (value) value->FreeNotification(this);
    items_->SetThemeLink(value);
    TakeThemeBounds();
    items_->Change();
}

void TTeMenuBar::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Invalidate();
}

TRect TTeMenuBar::GetViewRect() {
    if (IsObjectDefined(kmscMenuBar, themeObject_, themeLink_))
        if (TteTheme* theme = Theme())
            return theme->MenuGetClientRect(kmscMenuBar, MenuInfo(TRect{0, 0, Width(), Height()}),
                                            themeObject_);
    TRect r{0, 0, Width(), Height()};
    if (Align() == alTop) r.bottom -= kBevelRoom;
    if (Align() == alBottom) r.top += kBevelRoom;
    return r;
}

bool TTeMenuBar::CanAutoSize(int& newWidth, int& newHeight) {
    if (!view_) return false;
    const TRect r = GetViewRect();
    view_->OriginX = r.left;
    view_->OriginY = r.top;
    view_->CalcSize();
    newHeight = autoSizeRect_.Height();
    if (Align() == alNone) newWidth = autoSizeRect_.Width();
    return true;
}

void TTeMenuBar::ItemsChanged() {
    // Items added since the link was set take it too.
    items_->SetThemeLink(themeLink_);
    SetPopupMenuOptions(&options_);
    if (auto* form = dynamic_cast<TWinControl*>(Owner())) items_->SetOwnerForm(form);
    items_->SetIsToolbar(IsOnBandHost(this));
    view_->CalcSize();
    AdjustSize();
    Invalidate();
}

void TTeMenuBar::DoInternalChange(TObject*) {
    const TComponentState state = ComponentState();
    if (state.Contains(csLoading) || state.Contains(csDestroying) || changeLock_) return;
    ItemsChanged();
}

void TTeMenuBar::PaintItems() {
    const TRect r = GetViewRect();
    view_->OriginX = r.left;
    view_->OriginY = r.top;
    view_->Canvas = Canvas();
    view_->CalcSize();
    view_->Paint(Canvas());
    view_->Canvas = measure_->Canvas();
}

void TTeMenuBar::PaintBuffer() {
    TCanvas& canvas = *Canvas();
    const TRect whole{0, 0, Width(), Height()};
    const bool onBands = IsOnBandHost(this);
    // On a band container the entries are tool buttons over its face.
    if (onBands && IsObjectDefined(ktscToolBar, themeObject_, themeLink_) && Theme()) {
        DrawControlBackground(this, canvas);
        PaintItems();
        return;
    }
    if (IsObjectDefined(kmscMenuBar, themeObject_, themeLink_))
        if (TteTheme* theme = Theme()) {
            theme->MenuDraw(kmscMenuBar, canvas, MenuInfo(whole), themeObject_);
            PaintItems();
            return;
        }
    if (onBands)
        FillRect(canvas, whole, Parent()->Color());
    else
        TTeControl::PaintBuffer();
    PaintItems();
    if (!showBevel_ || (Align() != alTop && Align() != alBottom)) return;
    const int row = Align() == alTop ? Height() - kBevelRoom : 0;
    DrawEdge(canvas, TRect{0, row, Width(), row + kBevelRoom}, clBtnShadow, clBtnHighlight);
}

bool TTeMenuBar::EnterLoop() {
    items_->SetFirst(true);
    items_->SetOnlyFirst(true);
    items_->SetPopupThemeObject(PopupThemeObject);
    if (auto* form = dynamic_cast<TWinControl*>(Owner())) items_->SetOwnerForm(form);
    view_->InvalidateView();
    const bool result = view_->MessageLoop();
    Invalidate();
    return result;
}

// ---- input -------------------------------------------------------------------------------------

void TTeMenuBar::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    if (!view_->InLoop) view_->UpdateHover(ClientToScreen(TPoint{x, y}));
}

void TTeMenuBar::CMMouseLeave(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (!view_->InLoop) view_->UpdateHover(TPoint{-1, -1});
}

void TTeMenuBar::WMLButtonDown(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    const TPoint p{static_cast<int16_t>(m.LParam & 0xFFFF), static_cast<int16_t>((m.LParam >> 16) & 0xFFFF)};
    for (int i = 0; i < items_->Count(); ++i) {
        TTeItem* item = items_->GetItem(i);
        if (!item->Visible() || !item->ItemRect.Contains(p)) continue;
        // The loop starts with the item under the mouse hot; it opens at once.
        PostMessage(Handle(), MM_POPUPSUBMENU, 0, 0);
        EnterLoop();
        return;
    }
}

void TTeMenuBar::CMDialogChar(TMessage& m) {
    const auto ch = static_cast<char16_t>(m.WParam);
    const bool altDown = (m.LParam & (1 << 29)) != 0;
    if (ch != 0 && altDown && items_->FindItemByChar(ch)) {
        if (HWND parent = Parent() && Parent()->HandleAllocated() ? Parent()->Handle() : nullptr)
            PostMessage(parent, WM_CHAR, m.WParam, 0);
        EnterLoop();
        m.Result = 1;
        return;
    }
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeMenuBar::SNMThemeMessage(TMessage& m) {
    switch (static_cast<int>(m.WParam)) {
        case tmChanged:
        case tmApply:
        case tmReleased:
            items_->Change();
            Invalidate();
            break;
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeMenuBar::SNMLinkChanged(TMessage& m) {
    if (reinterpret_cast<TteCustomThemeLink*>(m.LParam) != themeLink_ || !themeLink_) return;
    TakeThemeBounds();
    if (AutoSize()) AdjustSize();
}

}  // namespace tarvel
