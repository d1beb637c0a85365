#pragma once
// Tab controls and page controls: a row (or rows) of tabs over a display
// area; the page control shows one tab sheet there.

#include <memory>
#include <vector>

#include "platform/classlib/ComCtrls_Bars.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/StdCtrls.h"

namespace tarvel {

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

// The tab engine: layout, painting, the mouse and keys, and the scroll
// arrows for tabs that do not fit on one line.
class TCustomTabControl : public TCustomControl, public IUiItems {
    TARVEL_CLASS(TCustomTabControl, TCustomControl)

public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    // What the tabs are; none while the control is being made.
    virtual int TabCount() { return 0; }
    virtual String TabCaption(int) { return String(); }
    virtual int TabImageIndex(int) { return -1; }

    int TabIndex() const { return tabIndex_; }
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition p);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool v);
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int h);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int w);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);

    // Client rectangle of a tab; empty when it is scrolled out of sight.
    TRect TabRect(int index);
    int IndexOfTabAt(int x, int y);
    // Where the page (or the tab control's own content) goes.
    TRect DisplayRect();
    // The first tab shown on a single line that has scrolled.
    int FirstVisibleTab() const { return firstTab_; }
    void ScrollTabs(int delta);
    TUpDown* ScrollArrows() const { return scroller_; }

    int UiItemCount() override { return TabCount(); }
    String UiItemText(int index) override { return TabCaption(index); }
    TRect UiItemRect(int index) override;
    int UiItemIndex() override { return tabIndex_; }

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Resize() override;
    void AdjustClientRect(TRect& r) override;
    void Notification(TComponent* component, TOperation operation) override;
    void WMHScroll(TMessage& m);
    void WMGetDlgCode(TMessage& m);
    void CMDialogKeyTabs(TMessage& m);

    // A user's choice: OnChanging may refuse it; a change calls Change.
    bool SelectTab(int index);
    virtual bool CanChange();
    virtual void Change();
    // Sets the index as code does: no events.
    virtual void SetTabIndexQuiet(int index);
    // The tabs changed (count, captions, images): lay them out again.
    void TabsChanged();

private:
    struct Layout {
        std::vector<TRect> tabs;  // one per tab, unscrolled; rows stacked
        int rows = 1;
        int bandSize = 0;  // thickness of the tab band
        bool overflow = false;
    };
    Layout& CurrentLayout();
    int NaturalTabLength(int index);
    int RowThickness();
    void UpdateScroller();

    int tabIndex_ = -1;
    TTabPosition tabPosition_ = tpTop;
    bool multiLine_ = false;
    int tabHeight_ = 0, tabWidth_ = 0;
    TCustomImageList* images_ = nullptr;
    int firstTab_ = 0;
    TUpDown* scroller_ = nullptr;
    std::unique_ptr<Layout> layout_;
};

// Tabs with captions from a string list; the content is the user's.
class TTabControl : public TCustomTabControl {
    TARVEL_CLASS(TTabControl, TCustomTabControl)

public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;
    TStrings* Tabs() { return tabs_.get(); }
    void SetTabIndex(int index) { SetTabIndexQuiet(index); }
    int TabCount() override { return tabs_->Count(); }
    String TabCaption(int index) override { return tabs_->Strings(index); }
    int TabImageIndex(int index) override;
    // Image per tab (default: the tab's own index).
    std::function<int(int tab)> OnGetImageIndex;

private:
    std::unique_ptr<TStringList> tabs_;
};

class TPageControl;

class TTabSheet : public TWinControl {
    TARVEL_CLASS(TTabSheet, TWinControl)

public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* control);
    void SetParent(TWinControl* parent) override;
    int PageIndex() const;
    void SetPageIndex(int index);
    // The index of the sheet's tab among the shown ones, -1 when hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CMTextChangedSheet(TMessage& m);
    void PaintWindow(HDC dc) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = -1;
};

class TPageControl : public TCustomTabControl, public IUiState {
    TARVEL_CLASS(TPageControl, TCustomTabControl)

public:
    String UiState() override { return activePage_ ? "page=" + activePage_->Caption() : String(); }
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return activePage_; }
    // Shows the sheet (null: none); a sheet whose tab is hidden is not shown.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The next sheet with a shown tab after (or before) `current`, wrapping.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible);
    void SelectNextPage(bool goForward);

    int TabCount() override;
    String TabCaption(int index) override;
    int TabImageIndex(int index) override;

protected:
    void SetTabIndexQuiet(int index) override;
    void AlignControls(TControl* control, TRect& rect) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PagesChanged();
    std::vector<TTabSheet*> VisibleTabs() const;
    void ShowOnly(TTabSheet* page);

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

}  // namespace tarvel
