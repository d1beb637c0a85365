#pragma once
// The header control and the list view (icons, small icons, list and report
// with columns under a header).

#include <functional>
#include <memory>
#include <vector>

#include "platform/classlib/ImageLists.h"
#include "platform/classlib/InplaceEditor.h"
#include "platform/classlib/OwnedList.h"
#include "platform/classlib/ScrollBars.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/WindowScrollBars.h"

namespace tarvel {

// ---- header control -------------------------------------------------------------------------

class THeaderControl;

class THeaderSection {
public:
    const String& Text() const { return text_; }
    void SetText(const String& text);
    int Width() const { return width_; }
    // Kept within MinWidth .. MaxWidth (0: no maximum).
    void SetWidth(int w);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int w);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int w);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    bool AllowClick() const { return allowClick_; }
    void SetAllowClick(bool v) { allowClick_ = v; }
    int Index() const;

private:
    friend class THeaderSections;
    explicit THeaderSection(THeaderControl* header) : header_(header) {}
    void Changed();
    THeaderControl* header_;
    String text_;
    int width_ = 50, minWidth_ = 0, maxWidth_ = 10000;
    TAlignment alignment_ = taLeftJustify;
    int imageIndex_ = -1;
    bool allowClick_ = true;
};

class THeaderSections : public TOwnedList<THeaderSection> {
public:
    explicit THeaderSections(THeaderControl* header) : header_(header) {}
    THeaderSection* Add();
    void Delete(int index);
    void Clear();

private:
    THeaderControl* header_;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* header, THeaderSection* section)>;
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };
using TSectionTrackEvent =
    std::function<void(THeaderControl* header, THeaderSection* section, int width, TSectionTrackState state)>;
// Asked before a dragged section moves; `to` is the section whose display
// place it takes.
using TSectionDragEvent =
    std::function<void(TObject* sender, THeaderSection* from, THeaderSection* to, bool& allowDrag)>;
// Paints a section instead of the default look.
using TDrawSectionEvent =
    std::function<void(THeaderControl* header, THeaderSection* section, const TRect& rect, bool pressed)>;

struct THeaderHit {
    int section = -1;        // under the point, or -1
    bool onDivider = false;  // on the divider at the section's right edge
};

class THeaderControl : public TCustomControl {
    TARVEL_CLASS(THeaderControl, TCustomControl)

public:
    explicit THeaderControl(TComponent* owner);
    THeaderSections* Sections() { return &sections_; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    // Widths change live while a divider is dragged (else at its release).
    bool FullDrag() const { return fullDrag_; }
    void SetFullDrag(bool v) { fullDrag_ = v; }
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool v) { hotTrack_ = v; }
    // Sections can be dragged to another display place; their indexes stay.
    bool DragReorder() const { return dragReorder_; }
    void SetDragReorder(bool v) { dragReorder_ = v; }
    // Display order: section indexes left to right.
    std::vector<int> SectionOrder() const;
    void SetSectionOrder(const std::vector<int>& order);
    TRect SectionRect(int index);
    THeaderHit HitTest(TPoint p);
    // Scrolls the sections left by `offset` pixels (a report view scrolled sideways).
    void SetOffset(int offset);

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;  // a divider drag ended
    TSectionTrackEvent OnSectionTrack;
    TSectionDragEvent OnSectionDrag;
    TNotifyEvent OnSectionEndDrag;  // a dragged section took its new place
    TDrawSectionEvent OnDrawSection;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class THeaderSection;
    friend class THeaderSections;
    void SectionsChanged();
    void PaintSection(HDC dc, THeaderSection* s, TRect r, bool pressed);
    // The display place a section dropped at `x` goes to (0 .. count).
    int DropPlace(int x);
    void EndDrag();
    void ForgetMouse();

    THeaderSections sections_{this};
    std::vector<int> order_;
    TCustomImageList* images_ = nullptr;
    bool fullDrag_ = true, hotTrack_ = false, dragReorder_ = false;
    int offset_ = 0;
    int tracking_ = -1, trackStartX_ = 0, trackStartWidth_ = 0, trackWidth_ = 0;
    int pressed_ = -1;
    // A section under the button may become a drag once the mouse moves.
    int down_ = -1, downX_ = 0;
    bool dragRefused_ = false;
    int dragging_ = -1, dragGrab_ = 0, dragLeft_ = 0, dropPlace_ = -1;
};

// ---- list view --------------------------------------------------------------------------------

class TListView;
class TListItems;

class TListColumn {
public:
    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    int Width() const { return width_; }
    void SetWidth(int w);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    int Index() const;

private:
    friend class TListColumns;
    friend class TListView;
    explicit TListColumn(TListView* view) : view_(view) {}
    TListView* view_;
    String caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

class TListColumns : public TOwnedList<TListColumn> {
public:
    explicit TListColumns(TListView* view) : view_(view) {}
    TListColumn* Add();
    void Delete(int index);
    void Clear();

private:
    TListView* view_;
};

class TListItem {
public:
    ~TListItem();
    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    TStrings* SubItems() { return subItems_.get(); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    bool Selected() const { return selected_; }
    void SetSelected(bool v);
    int Index() const;
    TListView* ListView() const { return view_; }
    void Delete();
    void MakeVisible();
    void EditCaption();
    TRect DisplayRect();

private:
    friend class TListItems;
    friend class TListView;
    explicit TListItem(TListView* view);
    TListView* view_;
    String caption_;
    std::unique_ptr<TStringList> subItems_;
    int imageIndex_ = -1;
    void* data_ = nullptr;
    bool selected_ = false;
    int virtualIndex_ = -1;  // the row an owner-data item stands for
};

class TListItems {
public:
    explicit TListItems(TListView* view) : view_(view) {}
    TListItem* Add();
    TListItem* Insert(int index);
    // In owner-data mode the item is filled by OnData each time it is asked for.
    TListItem* Item(int index);
    int Count() const;
    // Owner-data mode: how many items there are.
    void SetCount(int count);
    void Delete(int index);
    void Clear();
    void BeginUpdate() { ++updating_; }
    void EndUpdate();
    int IndexOf(const TListItem* item) const;

private:
    friend class TListView;
    friend class TListItem;
    TListView* view_;
    std::vector<std::unique_ptr<TListItem>> items_;
    int virtualCount_ = 0;
    std::unique_ptr<TListItem> scratch_;
    int updating_ = 0;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType { stNone, stData, stText, stBoth };
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };

using TLVCompareEvent =
    std::function<void(TObject* sender, TListItem* a, TListItem* b, int data, int& compare)>;
using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;
using TLVColumnClickEvent = std::function<void(TObject* sender, TListColumn* column)>;
using TLVEditedEvent = std::function<void(TObject* sender, TListItem* item, String& text)>;
using TLVEditingEvent = std::function<void(TObject* sender, TListItem* item, bool& allowEdit)>;
using TLVOwnerDataEvent = std::function<void(TObject* sender, TListItem* item)>;

class TListView : public TCustomControl, public IUiItems {
    TARVEL_CLASS(TListView, TCustomControl)

public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TListColumns* Columns() { return &columns_; }
    TListItems* Items() { return &items_; }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style);
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* images);
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* images);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v) { Change(rowSelect_, v); }
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool v) { Change(gridLines_, v); }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v) { Change(hideSelection_, v); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool v);
    // Items without their own data: count and contents come from OnData.
    bool OwnerData() const { return ownerData_; }
    void SetOwnerData(bool v);
    TSortType SortType() const { return sortType_; }
    // Anything but stNone keeps the items sorted.
    void SetSortType(TSortType t);
    // Columns can be dragged to another place by their header sections;
    // a column keeps its index (and its sub-item), only the display order
    // (the header's SectionOrder) changes.
    bool FullDrag() const { return header_->DragReorder(); }
    void SetFullDrag(bool v) { header_->SetDragReorder(v); }

    TListItem* Selected();
    void SetSelected(TListItem* item);
    int ItemIndex();
    void SetItemIndex(int index);
    int SelCount();
    void ClearSelection();
    TListItem* ItemFocused();
    // Sorts by OnCompare, else by caption without case.
    bool AlphaSort();
    bool CustomSort(const std::function<int(TListItem*, TListItem*)>& compare);
    // First item from `start` whose caption equals (or begins with) `value`.
    int FindCaption(int start, const String& value, bool partial, bool inclusive, bool wrap);
    TListItem* GetItemAt(int x, int y);
    TListItem* TopItem();
    // Scrolls by pixels (vertically by the nearest whole rows in the report). The
    // window's scroll bars tell the state: the report's vertical bar counts
    // rows, every other bar pixels.
    void Scroll(int dx, int dy);
    THeaderControl* Header() const { return header_; }
    bool IsEditing() const { return editor_.Active(); }

    int UiItemCount() override { return items_.Count(); }
    String UiItemText(int index) override;
    TRect UiItemRect(int index) override;
    int UiItemIndex() override { return ItemIndex(); }

    TLVCompareEvent OnCompare;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVOwnerDataEvent OnData;
    TNotifyEvent OnColumnDragged;  // a column was dragged to another place
    // After a wheel scroll and after each scroll by the scroll bars.
    TNotifyEvent OnScroll;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void WMScroll(TMessage& m);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void Resize() override;
    void DoEnter() override;
    void DoExit() override;
    void WMGetDlgCode(TMessage& m);

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    void ItemsChanged();
    void ColumnsChanged();
    void SortIfWanted();
    void SelectRange(int from, int to);
    void SetItemSelected(TListItem* item, bool v);
    void Layout();
    int IndexAt(int x, int y);
    TRect ItemRect(int index);  // unscrolled, relative to the item area
    TRect ItemArea();
    int RowHeight();
    TSize CellSize();
    int ItemsPerLine();
    TSize ContentSize();
    // Column indexes left to right, and where a column starts in that order.
    std::vector<int> ColumnOrder() const;
    int ColumnLeft(int column);
    // Where an item's caption shows, in client coordinates.
    TRect CaptionRect(int index);
    void ScrollIntoView(int index);
    void ScrollTo(int x, int y);
    void UpdateScrollBars();
    TCustomImageList* ImagesForStyle() const;
    bool IsSelected(int index);

    TListColumns columns_{this};
    TListItems items_{this};
    THeaderControl* header_ = nullptr;
    TWindowScrollBars bars_{this};
    bool updatingBars_ = false;
    TViewStyle viewStyle_ = vsIcon;
    TCustomImageList* largeImages_ = nullptr;
    TCustomImageList* smallImages_ = nullptr;
    bool multiSelect_ = false, rowSelect_ = false, gridLines_ = false, hideSelection_ = true;
    bool readOnly_ = false, showColumnHeaders_ = true, ownerData_ = false;
    TSortType sortType_ = stNone;
    int focused_ = -1, anchor_ = -1;
    int scrollX_ = 0, scrollY_ = 0;      // pixels of the item area scrolled off the left and top
    std::vector<int> virtualSelection_;  // owner-data mode keeps selection by index
    TLabelEditor editor_{this};
};

}  // namespace tarvel
