#pragma once
// The skinned menus' items. A TTeItem is a component that forms a tree: the
// menu bar and every popup menu own one root item whose sub-items are their
// entries, and the frames build their system menus the same way. Items
// measure and paint themselves (te_forms_menus_paint.cpp), open their
// sub-menu in a popup window that runs the menu loop (te_forms_menuview.h),
// and have a chosen entry clicked only after every loop has returned.
//
// Also here: what the menus share for the life of the process (the menu
// font, the item metrics, the sub-menu arrow) and the registry of the
// container classes that hold item trees.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/classlib/ActnList.h"
#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Components.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/Menus.h"
#include "skin/core/te_theme.h"
#include "skin/forms/te_forms_options.h"

namespace tarvel {

class TTeItemView;
class TTePopupWindow;
class TTeItemActionLink;

enum TTeMDIItemKind : uint8_t { mikNone, mikClose, mikRestore, mikMinimize, mikSysMenu };
enum TTeMenuScrollButton : uint8_t { ksbNone, ksbUp, ksbDown };
enum TMenuItemAutoFlag : uint8_t { maAutomatic, maManual, maParent };
enum TFindItemKind : uint8_t { fkCommand, fkHandle, fkShortCut };
enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

class EQvItemError : public Exception {
public:
    using Exception::Exception;
};

inline constexpr const char* SItemAlreadyInserted = "Toolbar item already inserted";

// What a container of an item tree (the menu bar, a popup menu) tells the
// items about hiding separators that would stand at an edge or twice.
class TTeLineReduction {
public:
    virtual ~TTeLineReduction() = default;
    TMenuItemAutoFlag AutoLineReduction = maAutomatic;
};

class TTeItem : public TComponent {
    TARVEL_CLASS(TTeItem, TComponent)

public:
    explicit TTeItem(TComponent* owner);
    // Frees the sub-items (last first) and leaves the parent.
    ~TTeItem() override;

    // ---- tree ----
    int Count() const { return static_cast<int>(items_.size()); }
    int GetItemCount() const { return Count(); }
    // EListError for an index outside the list.
    TTeItem* GetItem(int index) const;
    TTeItem* Parent() const { return parent_; }
    void Add(TTeItem* item) { Insert(Count(), item); }
    // EQvItemError when the item already has a parent.
    void Insert(int index, TTeItem* item);
    // Unlinks (does not free) the sub-item; EListError for a bad index.
    void Delete(int index);
    void Remove(TTeItem* item);
    void Clear();
    int IndexOf(const TComponent* item) const;
    bool ContainsItem(const TTeItem* item) const;
    int GetMenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    TTeItem* Root();
    // The owner of the tree's root: the menu bar or popup menu.
    TComponent* GetMenu();
    TCustomImageList* GetImgList();
    bool IsSeparator() const { return caption_ == u"-"; }

    // The container that streams the root's entries as its own children.
    TComponent* ParentComponent = nullptr;
    TComponent* GetParentComponent() const;
    // Puts the item into an item or into a container of a registered class.
    void SetParentComponent(TComponent* component);

    // ---- properties ----
    const WideString& Caption() const { return caption_; }
    void SetCaption(const WideString& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value) { themeObject_ = value; }
    bool Scrolled() const { return scrolled_; }
    void SetScrolled(bool value) { scrolled_ = value; }
    int ScrollCount() const { return scrollCount_; }
    void SetScrollCount(int value) { scrollCount_ = value; }
    int TopItem() const { return topItem_; }
    void SetTopItem(int value) { topItem_ = value; }
    TShortCut ShortCut = scNone;
    String Hint;
    int HelpContext = 0;
    TTeMDIItemKind MDIKind = mikNone;
    TRect ItemRect;
    TTeItemView* View = nullptr;

    // Set on the item and every descendant.
    void SetFirst(bool value);
    bool First() const { return first_; }
    void SetOnlyFirst(bool value);
    bool OnlyFirst() const { return onlyFirst_; }
    void SetPopupMenuOptions(TTePopupMenuOptions* value);
    TTePopupMenuOptions* PopupMenuOptions() const { return popupMenuOptions_; }
    void SetOwnerForm(TWinControl* value);
    TWinControl* OwnerForm() const { return ownerForm_; }
    void SetDrawingDisabled(bool value);
    bool DrawingDisabled() const { return drawingDisabled_; }
    void SetTray(bool value);
    bool Tray() const { return tray_; }
    void SetPopupThemeObject(const String& value);
    const String& PopupThemeObject() const { return popupThemeObject_; }
    void SetThemeLink(TteCustomThemeLink* value);
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetActiveMDIForm(TComponent* value);
    TComponent* ActiveMDIForm() const { return activeMDIForm_; }
    // Set on the item and its direct sub-items.
    void SetIsToolbar(bool value);
    bool IsToolbar() const { return isToolbar_; }
    void SetBiDiMode(TBiDiMode value);
    TBiDiMode BiDiMode() const { return biDiMode_; }

    // ---- change and repaint ----
    virtual void Change();
    void Invalidate();
    TNotifyEvent OnInternalChange;

    // ---- clicks and keys ----
    // The user's choice: queued, and clicked once the menu loops are done.
    virtual void DoClick();
    virtual void Click();
    // A key message (WM_KEYDOWN, WM_SYSKEYDOWN): clicks the item with its
    // short-cut; true when there is one, whether it was clicked or not.
    bool IsShortCut(TMessage& key);
    TTeItem* FindItem(intptr_t value, TFindItemKind kind);
    TTeItem* FindItemByChar(char16_t ch);
    TNotifyEvent OnClick;
    TNotifyEvent OnBeforeDropDown;

    // ---- the sub-menu ----
    // Opens the sub-menu at a screen point, away from the item's screen
    // rectangle (empty for a popup menu), and returns when it has closed.
    void Popup(TTeItemView* view, int x, int y, const TRect& from);
    virtual TTePopupWindow* CreatePopupWindow(TComponent* owner, TTeItemView* parentView);
    // InitiateAction on every sub-item: before a sub-menu opens they show
    // what their actions say now.
    void InitiateActions();

    // ---- actions ----
    TBasicAction* GetAction() const;
    TBasicAction* Action() const { return GetAction(); }
    void SetAction(TBasicAction* value);
    TTeItemActionLink* ActionLink() const { return actionLink_.get(); }
    // The action updates itself, and so the item.
    virtual void InitiateAction();
    // The menus call it before opening; items have no clones to update.
    void UpdateClone() {}

    // ---- measuring and painting ----
    int GetGlyphSize();
    virtual void CalcSize(TCanvas* canvas, TTeItemView* view, int& width, int& height);
    virtual void DrawItem(TCanvas* canvas, TTeItemView* view, const TRect& rect, bool selected,
                          bool notInLoop);
    virtual void DrawScrollButton(TCanvas* canvas, TTeItemView* view, const TRect& rect,
                                  TTeMenuScrollButton button, bool hot);
    virtual void MouseMove(TShiftState, int, int) {}

    bool UseRightToLeftReading() const;
    bool UseRightToLeftAlignment() const;
    unsigned DrawTextBiDiModeFlags(unsigned flags) const;

    // The serial number that a queued click carries.
    uint32_t Serial() const { return serial_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void GetChildren(const std::function<void(TComponent* child)>& proc) override;
    void Loaded() override;
    // Takes the action's values; with `checkDefaults` only where the item
    // still has its defaults.
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    void DoActionChange(TObject* sender);

private:
    friend class TTeItemActionLink;
    bool Changing() const;
    template <class Fn>
    void ForTree(Fn fn) {
        fn(this);
        for (TTeItem* i : items_) i->ForTree(fn);
    }
    void ReduceSeparators();

    uint32_t serial_ = 0;
    std::unique_ptr<TTeItemActionLink> actionLink_;
    TTeItem* parent_ = nullptr;
    std::vector<TTeItem*> items_;
    WideString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int imageIndex_ = -1;
    TCustomImageList* images_ = nullptr;
    String themeObject_ = "default";
    String popupThemeObject_;
    bool scrolled_ = false;
    int scrollCount_ = 0;
    int topItem_ = 0;
    bool first_ = false;
    bool onlyFirst_ = false;
    TTePopupMenuOptions* popupMenuOptions_ = nullptr;
    TWinControl* ownerForm_ = nullptr;
    bool drawingDisabled_ = false;
    bool tray_ = false;
    TteCustomThemeLink* themeLink_ = nullptr;
    TComponent* activeMDIForm_ = nullptr;
    bool isToolbar_ = false;
    TBiDiMode biDiMode_ = bdLeftToRight;
};

// An item's end of the tie to its action. The item follows a value while it
// still shows the action's; hint, help context and short-cut are written
// without a change notification.
class TTeItemActionLink : public TActionLink {
    TARVEL_CLASS(TTeItemActionLink, TActionLink)

public:
    explicit TTeItemActionLink(TTeItem* client) { AssignClient(client); }

    bool IsOnExecuteLinked() override;
    void SetOnExecute(const TNotifyEvent& value) override;
    bool IsCaptionLinked() override;
    bool IsCheckedLinked() override;
    bool IsEnabledLinked() override;
    bool IsHelpContextLinked() override;
    bool IsHintLinked() override;
    bool IsImageIndexLinked() override;
    bool IsShortCutLinked() override;
    bool IsVisibleLinked() override;
    void SetCaption(const String& value) override;
    void SetChecked(bool value) override;
    void SetEnabled(bool value) override;
    void SetHelpContext(int value) override;
    void SetHint(const String& value) override;
    void SetImageIndex(int value) override;
    void SetShortCut(TShortCut value) override;
    void SetVisible(bool value) override;

    TTeItem* Client = nullptr;
    // The code page the action's caption was last converted with.
    unsigned CaptionCodePage = 0;

protected:
    void AssignClient(TObject* client) override;
};

// A class-library item's caption, checks, state, image, short-cut, hint,
// help context, tag and click taken by a skinned item.
void AssignMenuItem(TTeItem* to, const TMenuItem* from);
// Copies of `from`'s sub-items and theirs, owned by `owner`, added to `to`.
void CopyItems(const TMenuItem* from, TTeItem* to, TComponent* owner);
void CopyItems(const TTeItem* from, TTeItem* to, TComponent* owner);

// The live item with that serial number, or null once it is freed.
TTeItem* FindLiveItem(uint32_t serial);

// Where a sub-menu window of `size` goes: opened at `at` (a popup menu,
// `from` empty), below a menu-bar item or beside a popup entry, kept on the
// monitor `monitor`.
TRect PlacePopup(TPoint at, const TRect& from, bool fromMenuBar, TSize size, const TRect& monitor);

// ---- the click handler ----
// Runs queued item clicks from the application's message loop.
class TTeClickHandler {
public:
    TTeClickHandler();
    ~TTeClickHandler();
    HWND Handle() const { return handle_; }

private:
    HWND handle_ = nullptr;
};
extern TTeClickHandler* ClickHandler;

// ---- the menus' shared resources ----
extern TFont* MenuFont;
extern int MenuItemWidth;
extern int MenuItemHeight;
extern TBitmap* MenuArrowBitmap;
// The code page of action captions (0: the system's).
extern unsigned CodePage;

void InitMenuItemMetrics();
void InitMenuFont();
void InitMenuArrowBitmap();
// The arrow in `color` with its top-left at (x, y).
void DrawMenuArrow(TCanvas& canvas, int x, int y, TColor color);

// ---- container classes ----
using TTeInsertItemProc = std::function<void(TComponent* container, TTeItem* item)>;
using TTeGetItemClassProc = std::function<void(TClass& itemClass)>;
void RegisterContainerClass(TClass containerClass, TTeInsertItemProc insert,
                            TTeGetItemClassProc getItemClass);
void UnregisterContainerClass(TClass containerClass);
// Registers a container class whose Items() root takes the inserted items;
// inserting into anything else raises EClassError.
template <class Container>
void RegisterItemContainer() {
    RegisterContainerClass(
        Container::StaticClass(),
        [](TComponent* container, TTeItem* item) {
            auto* owner = dynamic_cast<Container*>(container);
            if (!owner) throw EClassError("Invalid class typecast");
            owner->Items()->Add(item);
        },
        [](TClass& itemClass) { itemClass = TTeItem::StaticClass(); });
}
// Null unless exactly that class is registered.
TClass GetItemClass(TClass containerClass);
// Registrations of the class not yet undone (0 when none).
int ContainerClassUseCount(TClass containerClass);
bool ContainerClassListExists();
void FreeContainerClasses();

// The menus' part of the frames' unit start and end.
void InitMenus();
void DoneMenus();

}  // namespace tarvel
