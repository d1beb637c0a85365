#pragma once
// Menus: trees of items with captions, short-cuts, checks and OnClick; the
// main menu of a form and popup menus shown in our own windows with the
// classic look and a modal menu loop.

#include <functional>
#include <memory>
#include <vector>

#include "platform/classlib/Controls.h"

namespace tarvel {

// A key with its modifiers: the virtual key in the low byte.
using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);
// "Ctrl+Alt+X", "Shift+F5", "Del"; "" for scNone.
String ShortCutToText(TShortCut shortCut);
// The reverse of ShortCutToText (any case); scNone for text it does not know.
TShortCut TextToShortCut(const String& text);

class TMenu;
class TCustomImageList;

class TMenuItem : public TComponent {
    TARVEL_CLASS(TMenuItem, TComponent)

public:
    explicit TMenuItem(TComponent* owner);
    // Frees the sub-items it still holds and leaves its parent.
    ~TMenuItem() override;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption) { caption_ = caption; }
    bool IsLine() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut s) { shortCut_ = s; }
    bool Checked() const { return checked_; }
    void SetChecked(bool v) { checked_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    // A hidden item is not shown but keeps its short-cut.
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Delete(int index);  // frees the item
    void Clear();            // frees every sub-item
    int IndexOf(TMenuItem* item) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const { return parent_ ? parent_->IndexOf(const_cast<TMenuItem*>(this)) : -1; }
    // The sub-item whose caption, without "&", is `caption` (any case).
    TMenuItem* Find(const String& caption) const;
    // The item or sub-item (depth first) with the short-cut, hidden ones included.
    TMenuItem* FindShortCut(TShortCut shortCut);

    virtual void Click();

    TNotifyEvent OnClick;

private:
    String caption_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int imageIndex_ = -1;
    String hint_;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
    TARVEL_CLASS(TMenu, TComponent)

public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_.get(); }
    // The pictures of the items (by ImageIndex), drawn beside their captions.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    // A key message (CN_KEYDOWN / CN_SYSKEYDOWN): the item with that
    // short-cut is clicked after its parents, each only while enabled.
    bool IsShortCut(TMessage& message);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TMenuItem> items_;
    TCustomImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
    TARVEL_CLASS(TMainMenu, TMenu)

public:
    using TMenu::TMenu;
};

class TPopupMenu : public TMenu {
    TARVEL_CLASS(TPopupMenu, TMenu)

public:
    using TMenu::TMenu;

    // Shows the items at the screen point and runs the menu loop; the chosen
    // item is clicked after the menu has closed.
    virtual void Popup(int x, int y);
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* c) { popupComponent_ = c; }

    TNotifyEvent OnPopup;

private:
    bool autoPopup_ = true;
    TComponent* popupComponent_ = nullptr;
};

// The modal menu loop over `root`'s sub-items, shown at a screen point:
// answers the chosen item, null when the menu was cancelled.
TMenuItem* TrackMenu(TMenuItem* root, TPoint screen, TCustomImageList* images = nullptr);
// The popup window of the loop now running (the outermost), or the window
// of a menu bar in keyboard mode; for tests.
HWND ActiveMenuWindow();
// Menus drawn elsewhere run loops of their own; the probe tells
// ActiveMenuWindow the window of such a loop (null when none runs). Null
// removes the probe.
using TMenuWindowProbe = HWND (*)();
void SetMenuWindowProbe(TMenuWindowProbe probe);

// A window's menu bar as its keyboard loop sees it.
struct TMenuBarSite {
    HWND window = nullptr;
    std::vector<TMenuItem*> items;           // the visible top items
    std::vector<TRect> rects;                // their screen rectangles
    std::function<void(int index)> showHot;  // repaints the bar; -1 when the loop ends
    TCustomImageList* images = nullptr;
};
// How the bar's loop starts: selecting an item (Alt alone, F10), or opening
// it by its letter or by a click. Only a click makes Escape end it all.
enum TMenuBarStart { mbsSelect, mbsLetter, mbsMouse };
// The menu bar's loop from item `hot`. Left and Right move along the bar,
// also from an open popup, whose first item is then selected; Escape
// closes a popup back to the bar and then the bar; Alt or F10 ends it. A
// top item without sub-items is clicked when opened. Answers the chosen
// item, to be clicked by the caller.
TMenuItem* TrackMenuBar(const TMenuBarSite& bar, int hot, TMenuBarStart start);
// The selected top item of the running menu bar loop, or null; for tests.
TMenuItem* ActiveMenuBarItem();

}  // namespace tarvel
