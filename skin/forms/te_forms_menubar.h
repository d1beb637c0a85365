#pragma once
// The skinned menu bar: a control that shows the top level of an item tree
// as a row, opens the entries' menus in skinned popup windows through the
// menu loop of its view, and answers Alt+letter and its items' short-cuts.
// A frame that names it in MenuBar hands it Alt, F10 and the short-cuts.

#include <memory>

#include "skin/core/te_forms.h"
#include "skin/core/te_theme.h"
#include "skin/forms/te_forms_menuview.h"

namespace tarvel {

class TTeMenuBar;

class TTeMenuBarView : public TTeItemView {
    TARVEL_CLASS(TTeMenuBarView, TTeItemView)

public:
    explicit TTeMenuBarView(TTeMenuBar* bar);
    void SetSize(const TPoint& size) override;
    void InvalidateView() override;
    void InvalidateItem(TTeItem* item) override;

private:
    TTeMenuBar* bar_;
};

class TTeMenuBar : public TTeControl, public TTeLineReduction {
    TARVEL_CLASS(TTeMenuBar, TTeControl)

public:
    explicit TTeMenuBar(TComponent* owner);
    ~TTeMenuBar() override;

    TTeItem* Items() const { return items_; }
    TTeMenuBarView* View() const { return view_.get(); }
    TCustomImageList* Images() const { return items_->Images(); }
    void SetImages(TCustomImageList* value) { items_->SetImages(value); }
    TTePopupMenuOptions* PopupMenuOptions() { return &options_; }
    void SetPopupMenuOptions(TTePopupMenuOptions* value);
    bool ShowBevel() const { return showBevel_; }
    void SetShowBevel(bool value);
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    String PopupThemeObject = "default";
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* value);
    // The bounds auto-size gives the bar, in its parent's coordinates.
    const TRect& AutoSizeRect() const { return autoSizeRect_; }

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    // The bar's own action, then every top-level entry's; the idle update
    // of the form reaches the bar this way.
    void InitiateAction() override;
    // A key message: clicks the item with its short-cut.
    bool IsShortCut(TMessage& key) { return items_->IsShortCut(key); }
    // Runs the bar's menu loop until the menu closes.
    bool EnterLoop();
    // Where the items are laid out.
    TRect GetViewRect();
    // Lays the bar out again after its items changed.
    void ItemsChanged();

    // On an MDI main form: the maximized child's system item and buttons,
    // hidden until ShowMDIItems (te_forms_menubar_mdi.cpp); null elsewhere.
    TTeItem *MDISysItem = nullptr, *MDIRestoreItem = nullptr, *MDIMinimizeItem = nullptr,
            *MDIMaximizeItem = nullptr, *MDICloseItem = nullptr, *MDINextItem = nullptr,
            *MDIMinimizeButton = nullptr, *MDIRestoreButton = nullptr, *MDICloseButton = nullptr;
    // The child whose buttons show, or the one the last MDI item acted on.
    TCustomForm* MDIChild = nullptr;
    void ShowMDIItems(TCustomForm* child);
    void HideMDIItems();
    void DoMDIItemClick(TObject* sender);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void PaintBuffer() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void GetChildren(const std::function<void(TComponent* child)>& proc) override;

private:
    friend class TTeMenuBarView;
    void CMDialogChar(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void WMLButtonDown(TMessage& m);
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void DoInternalChange(TObject* sender);
    void TakeThemeBounds();
    TteTheme* Theme();
    void PaintItems();
    void CreateMDIItems();

    TTeItem* items_ = nullptr;
    std::unique_ptr<TTeMenuBarView> view_;
    std::unique_ptr<TBitmap> measure_;
    TTePopupMenuOptions options_;
    bool showBevel_ = false;
    String themeObject_ = "default";
    TteCustomThemeLink* themeLink_ = nullptr;
    TRect autoSizeRect_;
    int updateCount_ = 0;
    bool changeLock_ = false;
};

}  // namespace tarvel
