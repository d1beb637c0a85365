#include "skin/forms/te_forms_menus.h"

#include <algorithm>
#include <unordered_map>

#include "platform/classlib/Application.h"
#include "platform/classlib/Forms.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_winapi.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_menuview.h"
#include "skin/forms/te_forms_popup.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {

TTeClickHandler* ClickHandler = nullptr;
TFont* MenuFont = nullptr;
int MenuItemWidth = 19;
int MenuItemHeight = 19;
TBitmap* MenuArrowBitmap = nullptr;
unsigned CodePage = 0;

namespace {

// A queued click names its item by serial number, so an item freed before
// the click is read is simply not found.
std::unordered_map<uint32_t, TTeItem*>& LiveItems() {
    static std::unordered_map<uint32_t, TTeItem*> items;
    return items;
}
uint32_t gNextSerial = 0;

// The chosen entry runs: its action updates it first; its own click handler
// runs when it differs from the action's, else the action runs.
void RunClick(TTeItem* item) {
    const bool designing = item->ComponentState().Contains(csDesigning);
    if (!designing) {
        const uint32_t serial = item->Serial();
        item->InitiateAction();
        if (!(item = FindLiveItem(serial))) return;
    }
    // A handler may free the item, so nothing follows any of them.
    TBasicAction* action = item->GetAction();
    if (item->OnClick && action && !SameHandlerCode(item->OnClick, action->OnExecute))
        item->Click();
    else if (!designing && item->ActionLink())
        item->ActionLink()->Execute(nullptr);
    else
        item->Click();
}

}  // namespace

TTeItem* FindLiveItem(uint32_t serial) {
    auto it = LiveItems().find(serial);
    return it == LiveItems().end() ? nullptr : it->second;
}

// ---- the item ----------------------------------------------------------------------------------

TTeItem::TTeItem(TComponent* owner) : TComponent(owner) {
    do serial_ = ++gNextSerial;
    while (serial_ == 0 || LiveItems().count(serial_));
    LiveItems()[serial_] = this;
}

TTeItem::~TTeItem() {
    Destroying();
    LiveItems().erase(serial_);
    while (!items_.empty()) delete items_.back();
    if (parent_) parent_->Remove(this);
    actionLink_.reset();
}

TTeItem* TTeItem::GetItem(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return items_[static_cast<size_t>(index)];
}

void TTeItem::Insert(int index, TTeItem* item) {
    if (!item) return;
    if (item->parent_) throw EQvItemError(SItemAlreadyInserted);
    if (index < 0 || index > Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Change();
}

void TTeItem::Delete(int index) {
    TTeItem* item = GetItem(index);
    item->parent_ = nullptr;
    items_.erase(items_.begin() + index);
    Change();
}

void TTeItem::Remove(TTeItem* item) {
    const int i = IndexOf(item);
    if (i >= 0) Delete(i);
}

void TTeItem::Clear() {
    for (int n = Count(); n > 0; --n) Delete(0);
}

int TTeItem::IndexOf(const TComponent* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool TTeItem::ContainsItem(const TTeItem* item) const {
    for (; item; item = item->parent_)
        if (item == this) return true;
    return false;
}

TTeItem* TTeItem::Root() {
    TTeItem* r = this;
    while (r->parent_) r = r->parent_;
    return r;
}

TComponent* TTeItem::GetMenu() { return Root()->Owner(); }

TCustomImageList* TTeItem::GetImgList() { return images_ ? images_ : Root()->images_; }

TComponent* TTeItem::GetParentComponent() const {
    if (parent_ && parent_->ParentComponent) return parent_->ParentComponent;
    return parent_;
}

namespace {

struct ContainerRecord {
    TClass containerClass;
    TTeInsertItemProc insert;
    TTeGetItemClassProc getItemClass;
    int useCount;
};
std::unique_ptr<std::vector<ContainerRecord>> gContainers;

ContainerRecord* FindRecord(TClass cls) {
    if (!gContainers) return nullptr;
    for (ContainerRecord& r : *gContainers)
        if (r.containerClass == cls) return &r;
    return nullptr;
}

}  // namespace

void TTeItem::SetParentComponent(TComponent* component) {
    if (parent_) parent_->Remove(this);
    if (!component) return;
    if (auto* item = dynamic_cast<TTeItem*>(component)) {
        item->Add(this);
        return;
    }
    if (!gContainers) return;
    for (auto it = gContainers->rbegin(); it != gContainers->rend(); ++it) {
        if (!component->InheritsFrom(it->containerClass)) continue;
        if (it->insert) it->insert(component, this);
        return;
    }
}

void TTeItem::GetChildren(const std::function<void(TComponent* child)>& proc) {
    for (TTeItem* i : items_) proc(i);
}

void TTeItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (actionLink_ && component == actionLink_->Action()) SetAction(nullptr);
    if (component == images_) images_ = nullptr;
}

void TTeItem::Loaded() {
    TComponent::Loaded();
    if (TBasicAction* action = GetAction()) ActionChange(action, true);
    UpdateClone();
}

// ---- actions -----------------------------------------------------------------------------------

TBasicAction* TTeItem::GetAction() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TTeItem::SetAction(TBasicAction* value) {
    if (!value) {
        if (TBasicAction* old = GetAction()) old->RemoveFreeNotification(this);
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = std::make_unique<TTeItemActionLink>(this);
    if (TBasicAction* old = GetAction(); old && old != value) old->RemoveFreeNotification(this);
    actionLink_->SetAction(value);
    actionLink_->OnChange = [this](TObject* sender) { DoActionChange(sender); };
    ActionChange(value, value->ComponentState().Contains(csLoading));
    value->FreeNotification(this);
}

void TTeItem::DoActionChange(TObject* sender) {
    if (sender == GetAction()) ActionChange(sender, false);
    UpdateClone();
}

void TTeItem::ActionChange(TObject* sender, bool checkDefaults) {
    UpdateClone();
    auto* action = dynamic_cast<TCustomAction*>(GetAction());
    auto* from = dynamic_cast<TCustomAction*>(sender);
    if (!action || !from) return;
    if (!checkDefaults || caption_.empty()) SetCaption(Utf8ToWide(from->Caption()));
    if (!checkDefaults || !checked_) SetChecked(from->Checked());
    if (!checkDefaults || enabled_) SetEnabled(from->Enabled());
    if (!checkDefaults || HelpContext == 0) HelpContext = from->HelpContext();
    if (!checkDefaults || Hint.empty()) Hint = from->Hint();
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(from->ImageIndex());
    if (!checkDefaults || ShortCut == scNone) ShortCut = from->ShortCut();
    if (!checkDefaults || visible_) SetVisible(from->Visible());
    if (!checkDefaults || !OnClick) OnClick = from->OnExecute;
}

void TTeItem::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

// ---- the item's action link --------------------------------------------------------------------

void TTeItemActionLink::AssignClient(TObject* client) { Client = &dynamic_cast<TTeItem&>(*client); }

bool TTeItemActionLink::IsOnExecuteLinked() {
    return inherited::IsOnExecuteLinked() && SameHandlerCode(Client->OnClick, Action()->OnExecute);
}

void TTeItemActionLink::SetOnExecute(const TNotifyEvent& value) {
    if (IsOnExecuteLinked()) Client->OnClick = value;
}

bool TTeItemActionLink::IsCaptionLinked() {
    return inherited::IsCaptionLinked() &&
           Client->Caption() == StringToWideString(CaptionCodePage, CustomAction()->Caption());
}

bool TTeItemActionLink::IsCheckedLinked() {
    return inherited::IsCheckedLinked() && Client->Checked() == CustomAction()->Checked();
}

bool TTeItemActionLink::IsEnabledLinked() {
    return inherited::IsEnabledLinked() && Client->Enabled() == CustomAction()->Enabled();
}

bool TTeItemActionLink::IsHelpContextLinked() {
    return inherited::IsHelpContextLinked() && Client->HelpContext == CustomAction()->HelpContext();
}

bool TTeItemActionLink::IsHintLinked() {
    return inherited::IsHintLinked() && Client->Hint == CustomAction()->Hint();
}

bool TTeItemActionLink::IsImageIndexLinked() {
    return inherited::IsImageIndexLinked() && Client->ImageIndex() == CustomAction()->ImageIndex();
}

bool TTeItemActionLink::IsShortCutLinked() {
    return inherited::IsShortCutLinked() && Client->ShortCut == CustomAction()->ShortCut();
}

bool TTeItemActionLink::IsVisibleLinked() {
    return inherited::IsVisibleLinked() && Client->Visible() == CustomAction()->Visible();
}

void TTeItemActionLink::SetCaption(const String& value) {
    if (!IsCaptionLinked()) return;
    Client->SetCaption(StringToWideString(CodePage, value));
    CaptionCodePage = CodePage;
}

void TTeItemActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) Client->SetChecked(value);
}

void TTeItemActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) Client->SetEnabled(value);
}

void TTeItemActionLink::SetHelpContext(int value) {
    if (IsHelpContextLinked()) Client->HelpContext = value;
}

void TTeItemActionLink::SetHint(const String& value) {
    if (IsHintLinked()) Client->Hint = value;
}

void TTeItemActionLink::SetImageIndex(int value) {
    if (IsImageIndexLinked()) Client->SetImageIndex(value);
}

void TTeItemActionLink::SetShortCut(TShortCut value) {
    if (IsShortCutLinked()) Client->ShortCut = value;
}

void TTeItemActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) Client->SetVisible(value);
}

bool TTeItem::Changing() const {
    return !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying);
}

void TTeItem::SetCaption(const WideString& value) {
    if (value == caption_) return;
    caption_ = value;
    Change();
}

void TTeItem::SetChecked(bool value) {
    if (value == checked_) return;
    checked_ = value;
    Change();
}

void TTeItem::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Change();
}

void TTeItem::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    Change();
}

void TTeItem::SetImages(TCustomImageList* value) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
}

void TTeItem::SetFirst(bool value) {
    ForTree([value](TTeItem* i) { i->first_ = value; });
}
void TTeItem::SetOnlyFirst(bool value) {
    ForTree([value](TTeItem* i) { i->onlyFirst_ = value; });
}
void TTeItem::SetPopupMenuOptions(TTePopupMenuOptions* value) {
    ForTree([value](TTeItem* i) { i->popupMenuOptions_ = value; });
}
void TTeItem::SetOwnerForm(TWinControl* value) {
    ForTree([value](TTeItem* i) { i->ownerForm_ = value; });
}
void TTeItem::SetDrawingDisabled(bool value) {
    ForTree([value](TTeItem* i) { i->drawingDisabled_ = value; });
}
void TTeItem::SetTray(bool value) {
    ForTree([value](TTeItem* i) { i->tray_ = value; });
}
void TTeItem::SetPopupThemeObject(const String& value) {
    ForTree([&value](TTeItem* i) { i->popupThemeObject_ = value; });
}
void TTeItem::SetThemeLink(TteCustomThemeLink* value) {
    ForTree([value](TTeItem* i) { i->themeLink_ = value; });
}
void TTeItem::SetActiveMDIForm(TComponent* value) {
    ForTree([value](TTeItem* i) { i->activeMDIForm_ = value; });
}

void TTeItem::SetIsToolbar(bool value) {
    isToolbar_ = value;
    for (TTeItem* i : items_) i->isToolbar_ = value;
}

void TTeItem::SetBiDiMode(TBiDiMode value) {
    biDiMode_ = value;
    for (TTeItem* i : items_) i->biDiMode_ = value;
}

void TTeItem::Change() {
    if (!Changing()) return;
    if (OnInternalChange) OnInternalChange(this);
    TTeItem* root = Root();
    if (root->OnInternalChange) root->OnInternalChange(this);
}

void TTeItem::Invalidate() {
    if (View) View->InvalidateItem(this);
}

// Our locales never read right to left.
bool TTeItem::UseRightToLeftReading() const { return false; }
bool TTeItem::UseRightToLeftAlignment() const { return false; }

unsigned TTeItem::DrawTextBiDiModeFlags(unsigned flags) const {
    if (UseRightToLeftAlignment()) {
        if (flags & DT_RIGHT)
            flags &= ~DT_RIGHT;
        else if (!(flags & DT_CENTER))
            flags |= DT_RIGHT;
    }
    if (UseRightToLeftReading()) flags |= DT_RTLREADING;
    return flags;
}

// ---- clicks ------------------------------------------------------------------------------------

void TTeItem::DoClick() {
    if (IsSeparator() || Count() > 0 || !enabled_) return;
    if (ClickHandler) {
        PostMessage(ClickHandler->Handle(), MM_ITEMCLICK, 0, static_cast<LPARAM>(serial_));
        return;
    }
    RunClick(this);
}

void TTeItem::Click() {
    if (OnClick) OnClick(this);
}

TTeClickHandler::TTeClickHandler() {
    handle_ = AllocateMessageWindow([](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg != MM_ITEMCLICK) return DefWindowProc(hwnd, msg, wParam, lParam);
        if (!FindLiveItem(static_cast<uint32_t>(lParam))) return 0;
        // The closed menus' windows go and the screen repaints before the
        // click runs; that may free the item too.
        if (Application) Application->ProcessMessages();
        if (TTeItem* item = FindLiveItem(static_cast<uint32_t>(lParam))) RunClick(item);
        return 0;
    });
}

TTeClickHandler::~TTeClickHandler() {
    if (handle_) DestroyWindow(handle_);
}

TTeItem* TTeItem::FindItem(intptr_t value, TFindItemKind kind) {
    if (kind == fkShortCut && ShortCut == static_cast<TShortCut>(value)) return this;
    for (TTeItem* i : items_)
        if (TTeItem* found = i->FindItem(value, kind)) return found;
    return nullptr;
}

TTeItem* TTeItem::FindItemByChar(char16_t ch) {
    const String wanted = "&" + UpperCase(WideToUtf8(std::u16string(1, ch)));
    for (TTeItem* i : items_)
        if (UpperCase(WideToUtf8(i->caption_)).find(wanted) != String::npos) return i;
    return nullptr;
}

namespace {

enum ClickResult { crDisabled, crClicked, crMoved, crFreed };

// One pass of the short-cut search: the parents are clicked first (top
// down), then the item. A click that reshapes the tree ("moved") makes the
// search look for the short-cut again.
struct ShortCutClick {
    TTeItem* root;
    TShortCut shortCut;
    uint32_t remembered;  // serial of the item found with the short-cut

    bool RememberedStillHasIt() {
        TTeItem* r = FindLiveItem(remembered);
        return r && r->ShortCut == shortCut;
    }

    ClickResult ByLevel(TTeItem*& item, int level) {
        ClickResult result = crClicked;
        TTeItem* parent = item->Parent();
        if (parent) {
            result = ByLevel(parent, level + 1);
            if (result == crDisabled || result == crFreed) return result;
        }
        if (result == crMoved) {
            if (!RememberedStillHasIt()) {
                TTeItem* again = root->FindItem(shortCut, fkShortCut);
                if (!again) return crFreed;
                remembered = again->Serial();
            }
            TTeItem* up = FindLiveItem(remembered);
            for (int i = 0; i < level && up; ++i) up = up->Parent();
            if (!up || up->Parent() != parent) return crMoved;
            item = up;
            if (level == 0) result = crClicked;
        }
        if (!item->Enabled()) return crDisabled;
        try {
            item->DoClick();
        } catch (...) {
            if (Application) Application->HandleException(root);
            return result;
        }
        if (!RememberedStillHasIt()) return crMoved;
        return result;
    }
};

int TreeSize(TTeItem* item) {
    int n = 1;
    for (int i = 0; i < item->Count(); ++i) n += TreeSize(item->GetItem(i));
    return n;
}

}  // namespace

bool TTeItem::IsShortCut(TMessage& key) {
    int value = static_cast<int>(key.WParam & 0xFFFF);
    if (GetKeyState(VK_SHIFT) < 0) value += scShift;
    if (GetKeyState(VK_CONTROL) < 0) value += scCtrl;
    if (key.LParam & 0x20000000) value += scAlt;
    const auto shortCut = static_cast<TShortCut>(value & 0xFFFF);
    TTeItem* found = FindItem(shortCut, fkShortCut);
    if (!found) return false;
    ShortCutClick click{this, shortCut, found->Serial()};
    // A handler that keeps rebuilding the tree gets as many tries as the
    // tree has items, not more.
    for (int tries = TreeSize(this); tries > 0; --tries) {
        TTeItem* item = FindLiveItem(click.remembered);
        if (!item) break;
        if (click.ByLevel(item, 0) != crMoved) break;
        TTeItem* again = FindItem(shortCut, fkShortCut);
        if (!again) break;
        click.remembered = again->Serial();
    }
    return true;
}

// ---- the sub-menu ------------------------------------------------------------------------------

void TTeItem::InitiateActions() {
    // An update may reshape the tree; walk a copy and skip freed items.
    std::vector<uint32_t> serials;
    for (TTeItem* i : items_) serials.push_back(i->serial_);
    for (uint32_t serial : serials)
        if (TTeItem* i = FindLiveItem(serial)) i->InitiateAction();
}

void TTeItem::ReduceSeparators() {
    const int n = Count();
    for (TTeItem* i : items_)
        if (i->IsSeparator()) i->visible_ = true;
    bool seenVisible = false;
    for (int i = 0; i < n; ++i) {
        TTeItem* it = items_[static_cast<size_t>(i)];
        if (it->IsSeparator()) {
            if (i == 0 || i == n - 1 || !seenVisible) it->visible_ = false;
        }
        if (it->visible_) seenVisible = true;
    }
    for (int i = 1; i < n; ++i) {
        TTeItem* it = items_[static_cast<size_t>(i)];
        if (!it->IsSeparator() || !it->visible_) continue;
        TTeItem* before = nullptr;
        for (int j = i - 1; j >= 0 && !before; --j)
            if (items_[static_cast<size_t>(j)]->visible_) before = items_[static_cast<size_t>(j)];
        if (!before || before->IsSeparator()) it->visible_ = false;
    }
    for (int i = n - 1; i >= 0; --i) {
        TTeItem* it = items_[static_cast<size_t>(i)];
        if (!it->visible_) continue;
        if (!it->IsSeparator()) break;
        it->visible_ = false;
        break;
    }
}

void AssignMenuItem(TTeItem* to, const TMenuItem* from) {
    to->SetCaption(Utf8ToWide(from->Caption()));
    to->SetChecked(from->Checked());
    to->SetEnabled(from->Enabled());
    to->SetImageIndex(from->ImageIndex());
    to->ShortCut = from->ShortCut();
    to->OnClick = from->OnClick;
    to->Hint = from->Hint();
    to->Tag = from->Tag;
    to->SetVisible(from->Visible());
}

void CopyItems(const TMenuItem* from, TTeItem* to, TComponent* owner) {
    for (int i = 0; i < from->Count(); ++i) {
        auto* item = new TTeItem(owner);
        AssignMenuItem(item, from->Items(i));
        to->Add(item);
        CopyItems(from->Items(i), item, owner);
    }
}

void CopyItems(const TTeItem* from, TTeItem* to, TComponent* owner) {
    for (int i = 0; i < from->Count(); ++i) {
        const TTeItem* src = from->GetItem(i);
        auto* item = new TTeItem(owner);
        item->SetCaption(src->Caption());
        item->SetChecked(src->Checked());
        item->SetEnabled(src->Enabled());
        item->SetImageIndex(src->ImageIndex());
        item->ShortCut = src->ShortCut;
        item->OnClick = src->OnClick;
        item->Hint = src->Hint;
        item->HelpContext = src->HelpContext;
        item->Tag = src->Tag;
        item->SetVisible(src->Visible());
        to->Add(item);
        CopyItems(src, item, owner);
    }
}

TRect PlacePopup(TPoint at, const TRect& from, bool fromMenuBar, TSize size, const TRect& monitor) {
    const int W = size.cx, H = size.cy;
    TPoint p;
    if (from.Width() <= 0) {
        p = at;
        if (p.x + W > monitor.right) p.x = at.x - W;
        if (p.y + H > monitor.bottom) p.y = at.y - H;
        return TRect{p.x, p.y, p.x + W, p.y + H};
    }
    if (fromMenuBar) {
        p = TPoint{from.left, from.bottom};
        if (p.y + H > monitor.bottom) {
            p.y = from.top - H;
            // Kept on the monitor, whatever its top is.
            if (p.y < monitor.top) p.y = monitor.top;
        }
    } else {
        p = TPoint{from.right, from.top};
        if (p.y + H > monitor.bottom) p.y = from.bottom - H;
    }
    if (p.x + W > monitor.right) p.x = monitor.right - W;
    if (p.y + H > monitor.bottom) p.y = monitor.bottom - H;
    return TRect{p.x, p.y, p.x + W, p.y + H};
}

TTePopupWindow* TTeItem::CreatePopupWindow(TComponent* owner, TTeItemView* parentView) {
    return new TTePopupWindow(owner, this, parentView);
}

void TTeItem::Popup(TTeItemView* view, int x, int y, const TRect& from) {
    if (Count() == 0 || !visible_ || !enabled_) return;
    if (auto* lines = dynamic_cast<TTeLineReduction*>(GetMenu());
        lines && lines->AutoLineReduction == maAutomatic)
        ReduceSeparators();
    if (std::none_of(items_.begin(), items_.end(), [](TTeItem* i) { return i->visible_; })) return;
    const bool designing = ComponentState().Contains(csDesigning);
    if (!designing) InitiateActions();
    if (OnBeforeDropDown) OnBeforeDropDown(this);
    if (Application) Application->ProcessMessages();

    std::unique_ptr<TTePopupWindow> window(CreatePopupWindow(Owner(), view));
    const TPoint at{x, y};
    const TRect monitor = GetRectOfMonitorContainingPoint(at, false);
    window->SetBounds(x, y, 0, 0);
    window->CalcSize();
    const TRect placed =
        PlacePopup(at, from, view && view->IsMenuBar(), TSize{window->Width(), window->Height()}, monitor);
    window->SetBounds(placed.left, placed.top, placed.Width(), placed.Height());
    window->Frame()->SetThemeObject(popupThemeObject_);

    TTeForm* ownerFrame = nullptr;
    if (ownerForm_)
        for (int i = 0; i < ownerForm_->ComponentCount() && !ownerFrame; ++i)
            ownerFrame = dynamic_cast<TTeForm*>(ownerForm_->Components(i));
    if (ownerFrame) ownerFrame->DisableDrawing();
    window->SetVisible(true);
    if (ownerFrame) ownerFrame->EnableDrawing();
    if (tray_ && window->HandleAllocated()) SetForegroundWindow(window->Handle());

    if (view) view->ChildView = window->View();
    try {
        window->EnterLoop();
    } catch (...) {
        if (view) view->ChildView = nullptr;
        throw;
    }
    if (view) view->ChildView = nullptr;
}

// ---- resources -----------------------------------------------------------------------------------

void InitMenuItemMetrics() {
    NONCLIENTMETRICSW ncm;
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) return;
    MenuItemWidth = ncm.iMenuWidth;
    MenuItemHeight = ncm.iMenuHeight;
}

void InitMenuFont() {
    delete MenuFont;
    MenuFont = new TFont();
    NONCLIENTMETRICSW ncm;
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) return;
    FontFromLogFont(MenuFont, ncm.lfMenuFont);
}

namespace {
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kMagenta = 0x00FF00FF;
constexpr int kArrowSize = 20;
}  // namespace

void InitMenuArrowBitmap() {
    delete MenuArrowBitmap;
    MenuArrowBitmap = new TBitmap();
    MenuArrowBitmap->SetPixelFormat(pf32bit);
    MenuArrowBitmap->SetSize(kArrowSize, kArrowSize);
    TCanvas* c = MenuArrowBitmap->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect{0, 0, kArrowSize, kArrowSize});
    TRect r{0, 0, kArrowSize, kArrowSize};
    DrawFrameControl(c->Handle(), &r, DFC_MENU, DFCS_MENUARROW);
    for (int y = 0; y < kArrowSize; ++y) {
        uint32_t* row = MenuArrowBitmap->ScanLine(y);
        for (int x = 0; x < kArrowSize; ++x)
            if ((row[x] & 0x00FFFFFF) == kWhite) row[x] = kMagenta;
    }
    MenuArrowBitmap->SetTransparent(true);
}

void DrawMenuArrow(TCanvas& canvas, int x, int y, TColor color) {
    if (!MenuArrowBitmap) return;
    const COLORREF rgb = ColorToColorRef(color);
    // The bitmap's pixels are 0xAARRGGBB; a COLORREF is 0x00BBGGRR.
    const uint32_t pixel = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    for (int row = 0; row < MenuArrowBitmap->Height(); ++row) {
        uint32_t* p = MenuArrowBitmap->ScanLine(row);
        for (int col = 0; col < MenuArrowBitmap->Width(); ++col)
            if ((p[col] & 0x00FFFFFF) != kMagenta) p[col] = pixel;
    }
    canvas.Draw(x, y, MenuArrowBitmap);
}

// ---- container classes ---------------------------------------------------------------------------

void RegisterContainerClass(TClass containerClass, TTeInsertItemProc insert,
                            TTeGetItemClassProc getItemClass) {
    if (!gContainers) gContainers = std::make_unique<std::vector<ContainerRecord>>();
    if (ContainerRecord* r = FindRecord(containerClass)) {
        ++r->useCount;
        r->insert = std::move(insert);
        r->getItemClass = std::move(getItemClass);
        return;
    }
    gContainers->push_back(ContainerRecord{containerClass, std::move(insert), std::move(getItemClass), 1});
}

void UnregisterContainerClass(TClass containerClass) {
    ContainerRecord* r = FindRecord(containerClass);
    if (!r || --r->useCount > 0) return;
    gContainers->erase(gContainers->begin() + (r - gContainers->data()));
    if (gContainers->empty()) gContainers.reset();
}

TClass GetItemClass(TClass containerClass) {
    ContainerRecord* r = FindRecord(containerClass);
    if (!r || !r->getItemClass) return nullptr;
    TClass cls = nullptr;
    r->getItemClass(cls);
    return cls;
}

int ContainerClassUseCount(TClass containerClass) {
    ContainerRecord* r = FindRecord(containerClass);
    return r ? r->useCount : 0;
}

bool ContainerClassListExists() { return gContainers != nullptr; }

void FreeContainerClasses() { gContainers.reset(); }

void InitMenus() {
    RegisterClasses({TTeItem::StaticClass()});
    // Without a window system the clicks run at once.
    ClickHandler = new TTeClickHandler();
    if (!ClickHandler->Handle()) {
        delete ClickHandler;
        ClickHandler = nullptr;
    }
    InitMenuItemMetrics();
    InitMenuFont();
    InitMenuArrowBitmap();
    // The tests' driver sees an open skinned menu as it sees its own.
    SetMenuWindowProbe([]() -> HWND {
        TTeItemView* v = OutermostMenuView();
        return v && v->CaptureControl && v->CaptureControl->HandleAllocated() ? v->CaptureControl->Handle()
                                                                              : nullptr;
    });
}

void DoneMenus() {
    SetMenuWindowProbe(nullptr);
    FreeContainerClasses();
    delete MenuArrowBitmap;
    MenuArrowBitmap = nullptr;
    delete MenuFont;
    MenuFont = nullptr;
    delete ClickHandler;
    ClickHandler = nullptr;
    UnRegisterClass(TTeItem::StaticClass());
}

}  // namespace tarvel
