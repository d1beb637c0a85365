#pragma once
// TTeListBox: the library's list box. It keeps its items in its own string
// list with a check state, an enabled flag and a selected flag per item,
// draws every row itself (theme or classic) and scrolls with the library's
// drawn scroll bar inside its border. Single or multiple selection, three-
// state check boxes, hot tracking and owner drawing. The combo box drops
// one down as its list.

#include <functional>
#include <vector>

#include "platform/classlib/ImageLists.h"
#include "platform/classlib/StdCtrls_Check.h"
#include "platform/classlib/StdCtrls_ListBox.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/UiAccess.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

class TTeListBox;

enum TTeListBoxStyle : uint8_t {
    lbsStandard,
    lbsOwnerDrawFixed,
    lbsOwnerDrawVariable,
    lbsFonts,
    lbsFontSamples,
    lbsColors,
    lbsColorNames
};
enum TTeFontDevice : uint8_t { fdScreen, fdPrinter };
enum TTeFontType : uint8_t { ftAll, ftTrueType, ftFixedPitch };

// The pitch-and-family bits a font list keeps as each item's object.
constexpr uintptr_t kFontPitchVariable = 0x01;  // set for proportional faces
constexpr uintptr_t kFontTrueType = 0x04;

using TTeDrawItemEvent =
    std::function<void(TTeListBox* control, TCanvas& canvas, int index, TRect rect, TOwnerDrawState state)>;
using TTeMeasureItemEvent = std::function<void(TTeListBox* control, TCanvas& canvas, int index, int& height)>;
using TTeClickCheck = std::function<void(TObject* sender, int index)>;

// The item list of one list box: every change keeps the per-item flags in
// step and tells the list box; reading past the end gives an empty line.
class TWyListBoxItems : public TStringList {
    TARVEL_CLASS(TWyListBoxItems, TStringList)

public:
    explicit TWyListBoxItems(TTeListBox* listBox) : listBox_(listBox) {}

    String Get(int index) const override;
    void Put(int index, const String& s) override;
    void PutObject(int index, TObject* object) override;
    void InsertObject(int index, const String& s, TObject* object) override;
    int AddObject(const String& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;

protected:
    void SetUpdateState(bool updating) override;

private:
    TTeListBox* listBox_;
};

class TTeListBox : public TTeControl, public TTeThemeLinked, public IUiItems {
    TARVEL_CLASS(TTeListBox, TTeControl)

public:
    explicit TTeListBox(TComponent* owner);
    ~TTeListBox() override;

    TStrings* Items() const { return items_; }
    void SetItems(TStrings* items) { items_->Assign(items); }
    int Count() const { return items_->Count(); }
    void Clear() { items_->Clear(); }

    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    TTeListBoxStyle ListStyle() const { return listStyle_; }
    void SetListStyle(TTeListBoxStyle value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool ShowCheckBoxes() const { return showCheckBoxes_; }
    void SetShowCheckBoxes(bool value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value);
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool AlwaysShowScrlBar() const { return alwaysShowScrlBar_; }
    void SetAlwaysShowScrlBar(bool value);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool value) { defaultDrawing_ = value; }
    // Item i shows image i; the rows take the images' height.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    // Above 0: that many columns side by side, scrolled sideways; TopIndex
    // is then the first column shown.
    int Columns() const { return columns_; }
    void SetColumns(int value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TTeFontDevice FontDevice() const { return fontDevice_; }
    void SetFontDevice(TTeFontDevice value);
    TTeFontType FontType() const { return fontType_; }
    void SetFontType(TTeFontType value);
    // The colour named by the current item, 0 without one; a name that is
    // no colour raises EConvertError.
    TColor ColorValue() const;
    // A font named after the current item, owned by the list box.
    TFont* FontValue();
    bool KeyClick() const { return keyClick_; }
    void SetKeyClick(bool value) { keyClick_ = value; }
    // The scroll bar follows the list box's link.
    void SetThemeLink(TteCustomThemeLink* value) override;

    // Per item; an index out of range reads unchecked, disabled, not
    // selected, and writing it does nothing.
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    TCheckBoxState State(int index) const;
    void SetState(int index, TCheckBoxState value);
    bool Checked(int index) const { return State(index) != cbUnchecked; }
    void SetChecked(int index, bool value) { SetState(index, value ? cbChecked : cbUnchecked); }
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool value);
    int SelCount() const;
    int HotItem() const { return hotItem_; }
    int SelAnchor() const { return selAnchor_; }

    void DeleteSelected();
    // The item under a client point; without one -1 when `existing`, else Count.
    int ItemAtPos(TPoint p, bool existing);

    // Rows a wheel turn of `delta` moves, by the system's lines per notch
    // (kept within 1..120); the combo box steps its items by it too.
    static int WheelSteps(int delta);

    TTeScrollBar* ScrollBar() const { return bar_; }
    bool ScrollBarShown() const { return bar_ && bar_->Visible(); }
    // Rows that fit in the border from TopIndex on (at least 1).
    int VisibleRows();
    // Where rows and the bar go: inside the theme's list frame when themed,
    // else the border rectangle.
    TRect GetItemArea();

    virtual int GetItemHeight(int index);
    virtual int GetItemTop(int index);
    virtual TRect GetItemRect(int index);
    int GetItemWidth();
    int GetListHeight();
    virtual int GetChckBxFieldWidth() { return 15; }
    virtual TSize GetCheckBoxSize() { return TSize{13, 13}; }
    // Paints one row; the combo box borrows it for its face.
    virtual void DrawItem(TCanvas& canvas, int index, TRect rect);
    virtual void DrawCheckBox(TCanvas& canvas, int index, TRect rect);

    // The combo box shows its chosen item through DrawItem with these held;
    // drawn disabled, the item keeps the canvas font the combo set.
    void SetDrawOverride(int selectedAs, bool noFocus, bool disabled = false) {
        overrideSelected_ = selectedAs;
        overrideNoFocus_ = noFocus;
        overrideDisabled_ = disabled;
    }

    TTeDrawItemEvent OnDrawItem;
    TTeMeasureItemEvent OnMeasureItem;
    TTeClickCheck OnClickCheck;
    // Told after every change of the items (the combo box listens).
    TNotifyEvent OnItemsChanged;

    void PaintBuffer() override;
    void SetBounds(int left, int top, int width, int height) override;

    // ---- IUiItems ----
    int UiItemCount() override { return Count(); }
    String UiItemText(int index) override { return items_->Get(index); }
    TRect UiItemRect(int index) override;
    int UiItemIndex() override { return itemIndex_; }

protected:
    friend class TWyListBoxItems;
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void HasFocus() override;
    void KillFocus() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // The press itself decides whether it drags (see MouseDown).
    bool BeginsAutoDrag() const override { return false; }
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void Click() override;

    bool Themed();
    void UpdateScrlBar();
    void UpdateSelRange();

private:
    struct TItemFlags {
        TCheckBoxState state = cbUnchecked;
        bool enabled = true;
        bool selected = false;
    };

    void WMGetDlgCode(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void SNMThemeMessage(TMessage& m);

    void ItemInserted(int index);
    void ItemDeleted(int index);
    void ItemsSwapped(int a, int b);
    void ItemsCleared();
    void ItemsChanged();

    bool VariableHeights() const { return listStyle_ == lbsOwnerDrawVariable || wordWrap_; }
    bool FontStyle() const { return listStyle_ == lbsFonts || listStyle_ == lbsFontSamples; }
    bool ColorStyle() const { return listStyle_ == lbsColors || listStyle_ == lbsColorNames; }
    bool Multicolumn() const { return columns_ > 0; }
    // The first item of every column when a column is `room` pixels high.
    std::vector<int> ColumnStarts(int room);
    // The height the columns fill: the border less the bar below it.
    int ColumnRoom();
    int ColumnWidth();
    // Hands every item of the columns in view to `fn` with its rectangle
    // (check box field included) until it answers false.
    void ForEachShownColumnItem(const std::function<bool(int index, TRect rect)>& fn);
    // The width of the bar standing up, its height lying down.
    int BarSize() const { return barSize_; }
    int ShownBarWidth() { return ScrollBarShown() && !Multicolumn() ? barSize_ : 0; }
    void BuildFontList();
    void BuildColorList();
    void DrawFontOrColorItem(TCanvas& c, int index, TRect rect);
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(flags_.size()); }
    // The largest TopIndex that still fills the border.
    int MaxTopIndex();
    void ScrollIntoView(int index);
    void MoveItemIndex(int index) { SetItemIndex(index); }
    void NextCheckState(int index);
    int CheckBoxAtPos(TPoint p);
    void SetHot(int item, int checkBox);
    void BarScroll(TObject* sender, TTeScrollCode code, int& pos);
    void BarChange(TObject* sender);

    TWyListBoxItems* items_ = nullptr;
    std::vector<TItemFlags> flags_;
    TTeScrollBar* bar_ = nullptr;
    int itemIndex_ = -1;
    int topIndex_ = 0;
    int itemHeight_ = 16;
    int hotItem_ = -1;
    int hotCheckBox_ = -1;
    int selAnchor_ = -1;
    TPoint lastMouse_{-1, -1};
    bool mouseSelecting_ = false;
    bool updating_ = false;
    bool keyClick_ = true;
    TTeListBoxStyle listStyle_ = lbsStandard;
    bool multiSelect_ = false;
    bool showCheckBoxes_ = false;
    bool allowGrayed_ = false;
    bool flat_ = true;
    bool alwaysShowScrlBar_ = false;
    bool defaultDrawing_ = true;
    bool wordWrap_ = false;
    TTeFontDevice fontDevice_ = fdScreen;
    TTeFontType fontType_ = ftAll;
    TFont* fontValue_ = nullptr;
    TCustomImageList* images_ = nullptr;
    int columns_ = 0;
    int barSize_ = 0;
    int overrideSelected_ = -1;  // -1: none, 0/1: the selected flag to draw with
    bool overrideNoFocus_ = false;
    bool overrideDisabled_ = false;
};

}  // namespace tarvel
