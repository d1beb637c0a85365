#pragma once
// TTeTabControl: a tab strip drawn entirely here, one scrolling row or
// several rows on any side, around a framed page area. Tabs, frame and the
// two scroll buttons come from the theme's tab element, else the classic
// look. With UsePages the control carries tab sheets (te_extctrls_pages):
// one tab per visible sheet.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/classlib/ImageLists.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/Timers.h"
#include "skin/core/te_bitmap.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme.h"

namespace tarvel {

enum TTeTabPosition : uint8_t { kttpTop, kttpBottom, kttpLeft, kttpRight };

class TTeTabControl;
class TTeTabSheet;

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;
using TDrawTabEvent =
    std::function<void(TTeTabControl* control, int tabIndex, const TRect& rect, bool active)>;

// The tab captions; every change tells the control.
class TTeTabStringList : public TStringList {
    TARVEL_CLASS(TTeTabStringList, TStringList)

public:
    explicit TTeTabStringList(TTeTabControl* control) : control_(control) {}

    void Put(int index, const String& s) override;
    void Insert(int index, const String& s) override;
    void InsertObject(int index, const String& s, TObject* object) override;
    int AddObject(const String& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    void Assign(TPersistent* source) override;

    // The plain list operations, for the control's own rebuilding.
    void ClearQuietly() { TStringList::Clear(); }
    void AddQuietly(const String& s) { TStringList::AddObject(s, nullptr); }
    void DeleteQuietly(int index) { TStringList::Delete(index); }

protected:
    void SetUpdateState(bool updating) override;

private:
    TTeTabControl* control_;
};

class TTeTabControl : public TTeControl {
    TARVEL_CLASS(TTeTabControl, TTeControl)

public:
    explicit TTeTabControl(TComponent* owner);
    ~TTeTabControl() override;

    // ---- properties
    TTeTabStringList* Tabs() const { return tabs_.get(); }
    void SetTabs(TStrings* value) { tabs_->Assign(value); }
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int value);
    TTeTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTeTabPosition value);
    bool MultiLine() const { return multiLine_; }
    // EInvalidOperation for false while the tabs stand on the left or right.
    void SetMultiLine(bool value);
    bool ScrollOpposite() const { return scrollOpposite_; }
    void SetScrollOpposite(bool value);
    bool RaggedRight() const { return raggedRight_; }
    void SetRaggedRight(bool value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* value);

    // ---- pages
    bool UsePages() const { return usePages_; }
    void SetUsePages(bool value);
    TTeTabSheet* GetActivePage() const;
    // A sheet of another control, or none, is ignored.
    void SetActivePage(TTeTabSheet* sheet);
    int GetActivePageIndex() const;
    void SetActivePageIndex(int index);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    TTeTabSheet* GetPage(int index) const;
    int GetPageIndexFromTabIndex(int tabIndex) const;
    int GetTabIndexFromPageIndex(int pageIndex) const;
    void AddPage(TTeTabSheet* sheet) { InsertPage(GetPageCount(), sheet); }
    void InsertPage(int index, TTeTabSheet* sheet);
    // Frees the sheet unless it is being destroyed.
    void RemovePage(TTeTabSheet* sheet);
    // Exchanges two pages (the sheet's PageIndex setter).
    void MovePage(TTeTabSheet* sheet, int index);

    // ---- layout queries
    virtual int GetLeftMargin() { return 2; }
    virtual int GetTopMargin() { return 2; }
    virtual int GetRightMargin() { return 2; }
    virtual int GetBottomMargin() { return 2; }
    virtual int GetTabWidth(int index);
    virtual int GetTabHeight();
    virtual TSize GetScrollBtnSize();
    TRect GetTabRect(int index);
    TRect TabRect(int index) { return GetTabRect(index); }
    int IndexOfTabAt(int x, int y) { return PtInTab(x, y); }
    int PtInTab(int x, int y);
    int RowCount();
    int GetTabRowCount();
    int GetTabCount() const { return tabs_->Count(); }
    bool IsTabLastInRow(int index);
    int GetTabRow(int index);
    int GetTabExtendedWidth(int index);
    int GetTabRowHeight(int row);
    bool IsTabOnOpositeSide(int index);
    int GetTabLineHeight();
    int GetOppositeTabLineHeight();
    // The framed page area's outer rectangle.
    TRect GetFrameRect();
    // The page area: the frame less margin and edge.
    void AdjustClientRect(TRect& rect) override;
    void SetBounds(int left, int top, int width, int height) override;
    int GetLastVisibleTab(bool checkButtons);
    int FirstVisibleTab() const { return firstVisibleTab_; }
    bool GetScrlBtnsVisible();
    TRect GetLeftBtnRect();
    TRect GetRightBtnRect();
    virtual bool PtInLeftBtn(int x, int y);
    virtual bool PtInRightBtn(int x, int y);
    void ScrollTabs(int delta);
    int HotTab() const { return hotTab_; }
    bool GetLeftBtnPressed() const;
    bool GetRightBtnPressed() const;
    TTimer* RepeatTimer() const { return timer_; }

    // ---- painting
    virtual void DrawTab(int index);
    virtual void DrawTabFace(int index, TTeTabPosition position, const TRect& rect);
    virtual void DrawTabGlyph(int index, TTeTabPosition position, const TRect& rect);
    virtual void DrawTabText(int index, TTeTabPosition position, const TRect& rect);
    virtual void DrawBorder();
    virtual void DrawLeftScrlBtn();
    virtual void DrawRightScrlBtn();
    void PaintBuffer() override;
    // The strip only: the union of the tab rectangles across the whole side.
    void InvalidateTabs();
    // The draw state of a tab, as the theme and the classic look take it.
    TteTabItemDrawState TabState(int index) const;

    virtual void TabsChanged();

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Resize() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void HasFocus() override;
    void KillFocus() override;
    virtual void Change();
    virtual bool CanChange();
    virtual void DoDrawTab(int index, const TRect& rect, bool active);

private:
    friend class TTeTabStringList;
    friend class TTeTabSheet;

    struct TRow {
        int last = 0;   // index of the row's last tab
        int extra = 0;  // added to every tab of the row
        int rest = 0;   // added to the row's last tab
    };

    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void WMGetDlgCode(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMEnabledChanged(TMessage& m);

    bool Themed();
    TteTheme* Theme() { return GetThemeLinkOf(); }
    TteTheme* GetThemeLinkOf();
    bool Horizontal() const { return tabPosition_ == kttpTop || tabPosition_ == kttpBottom; }
    int AvailableLength();
    void UpdateTabRows();
    int SelectedRow();
    // The font a tab is measured and drawn with.
    TFont* TabFont(int index);
    void SelectTabFont(TCanvas& canvas, int index) { canvas.Font()->Assign(TabFont(index)); }
    // Text extents are kept: measuring realises a font every time, which
    // each layout query would otherwise pay for every tab.
    TSize MeasureText(TFont* font, const WideString& text);
    TTeTabSheet* PageOfTab(int index) const;
    bool TabHasGlyph(int index) const;
    void ScrollIntoView();
    void DrawTabs(bool selectedOnly);
    void DrawClassicTabFace(int index, TTeTabPosition position, TRect r);
    void PartPress(bool first);
    void TimerExpired(TObject*);
    // Keeps the active page after the tab row changed (see TabsChanged).
    void SyncActivePage(int oldTabIndex, bool rowChanged);
    int PageIndexOf(const TTeTabSheet* sheet) const;
    // Grows a sheet for every caption in Tabs that no page carries.
    TTeTabSheet* GrowPagesFromTabs();

    std::unique_ptr<TTeTabStringList> tabs_;
    std::vector<TTeTabSheet*> pages_;
    TTeTabSheet* activePage_ = nullptr;
    bool usePages_ = false;
    int tabIndex_ = -1;
    int storedTabIndex_ = 0;
    int firstVisibleTab_ = 0;
    int hotTab_ = -1;
    bool hoverLeft_ = false, hoverRight_ = false;
    bool pressedLeft_ = false, pressedRight_ = false;
    TTimer* timer_ = nullptr;
    std::vector<TRow> rows_;
    bool updating_ = false;
    bool inTabsChanged_ = false;
    TteBitmap measure_;
    std::unordered_map<std::string, TSize> extents_;

    TTeTabPosition tabPosition_ = kttpTop;
    bool multiLine_ = false;
    bool scrollOpposite_ = false;
    bool raggedRight_ = false;
    bool hotTrack_ = false;
    bool ownerDraw_ = false;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    TCustomImageList* images_ = nullptr;
    String themeObject_ = "default";
    TteCustomThemeLink* themeLink_ = nullptr;
};

}  // namespace tarvel
