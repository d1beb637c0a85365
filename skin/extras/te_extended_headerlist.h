#pragma once
// The header list box: a header strip over a library-drawn list whose lines
// hold delimited fields, drawn as columns under the header's sections. The
// two inner controls are set up through option sets that mirror their
// properties and re-apply themselves on every change.

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "skin/extctrls/te_extctrls_header.h"
#include "skin/extras/te_extended_controls.h"

namespace tarvel {

// The index-th field of text; fields lie between single separators and
// empty ones count. Past the last field the result is empty.
String GetCodedString(std::string_view text, char separator, int index);

// ---- Option sets ---------------------------------------------------------------

class TTeBaseInplaceOptions : public TPersistent {
    TARVEL_CLASS(TTeBaseInplaceOptions, TPersistent)

public:
    // The owner control is not owned; it is the persistence owner.
    explicit TTeBaseInplaceOptions(TComponent* ownerControl) : owner_(ownerControl) {}
    TComponent* OwnerControl() const { return owner_; }
    TPersistent* GetOwner() override { return owner_; }
    // Puts the set onto a control; the class library's error for a stranger.
    void ApplyTo(TPersistent* dest) { AssignTo(dest); }

    TNotifyEvent OnChange;

protected:
    virtual void Change() {
        if (OnChange) OnChange(this);
    }
    template <class T>
    void Store(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Change();
    }

private:
    TComponent* owner_;
};

class TTeInplaceControlOptions : public TTeBaseInplaceOptions {
    TARVEL_CLASS(TTeInplaceControlOptions, TTeBaseInplaceOptions)

public:
    explicit TTeInplaceControlOptions(TComponent* ownerControl);
    ~TTeInplaceControlOptions() override;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& v) { Store(caption_, v); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { Store(enabled_, v); }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* v);
    int Height() const { return height_; }
    void SetHeight(int v) { Store(height_, v); }
    const String& Hint() const { return hint_; }
    void SetHint(const String& v) { Store(hint_, v); }
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* v) { Store(popupMenu_, v); }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v) { Store(showHint_, v); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Store(visible_, v); }
    int Width() const { return width_; }
    void SetWidth(int v) { Store(width_, v); }

    void Assign(TPersistent* source) override;

protected:
    void AssignTo(TPersistent* dest) override;
    void CopyFrom(const TTeInplaceControlOptions& s);

private:
    String caption_;
    bool enabled_ = true;
    std::unique_ptr<TFont> font_;
    int height_ = 0;
    String hint_;
    TPopupMenu* popupMenu_ = nullptr;
    bool showHint_ = false;
    bool visible_ = true;
    int width_ = 0;
};

class TTeInplaceTeControlOptions : public TTeInplaceControlOptions {
    TARVEL_CLASS(TTeInplaceTeControlOptions, TTeInplaceControlOptions)

public:
    explicit TTeInplaceTeControlOptions(TComponent* ownerControl);

    TTeBevelSides BevelSides() const { return bevelSides_; }
    void SetBevelSides(TTeBevelSides v) { Store(bevelSides_, v); }
    TTeBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TTeBevelCut v) { Store(bevelInner_, v); }
    TTeBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TTeBevelCut v) { Store(bevelOuter_, v); }
    TTeBevelKind BevelKind() const { return bevelKind_; }
    void SetBevelKind(TTeBevelKind v) { Store(bevelKind_, v); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v) { Store(bevelWidth_, v); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v) { Store(borderWidth_, v); }
    // Kept and copied between sets; no control takes it.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { Store(transparent_, v); }

    void Assign(TPersistent* source) override;

protected:
    void AssignTo(TPersistent* dest) override;
    void CopyFrom(const TTeInplaceTeControlOptions& s);

private:
    TTeBevelSides bevelSides_{};
    TTeBevelCut bevelInner_ = kbvNone;
    TTeBevelCut bevelOuter_ = kbvNone;
    TTeBevelKind bevelKind_ = kbkNone;
    int bevelWidth_ = 0;
    int borderWidth_ = 0;
    bool transparent_ = false;
};

class TTeInplaceListBoxOptions : public TTeInplaceTeControlOptions {
    TARVEL_CLASS(TTeInplaceListBoxOptions, TTeInplaceTeControlOptions)

public:
    explicit TTeInplaceListBoxOptions(TComponent* ownerControl);
    ~TTeInplaceListBoxOptions() override;

    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { Store(allowGrayed_, v); }
    bool AlwaysShowScrlBar() const { return alwaysShowScrlBar_; }
    void SetAlwaysShowScrlBar(bool v) { Store(alwaysShowScrlBar_, v); }
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { Store(flat_, v); }
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v) { Store(multiSelect_, v); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v) { Store(wordWrap_, v); }
    int Columns() const { return columns_; }
    void SetColumns(int v) { Store(columns_, v); }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int v) { Store(itemHeight_, v); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int v) { Store(itemIndex_, v); }
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int v) { Store(topIndex_, v); }
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* v) {
        if (v != items_.get()) items_->Assign(v);
    }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v) { Store(sorted_, v); }
    TTeListBoxStyle Style() const { return style_; }
    void SetStyle(TTeListBoxStyle v) { Store(style_, v); }

    // Passed to the owner list box.
    void Clear();
    int SelCount() const;
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int ItemAtPos(TPoint p, bool existing);

    void Assign(TPersistent* source) override;

protected:
    void AssignTo(TPersistent* dest) override;
    void CopyFrom(const TTeInplaceListBoxOptions& s);

private:
    TTeListBox* List() const { return dynamic_cast<TTeListBox*>(OwnerControl()); }

    bool allowGrayed_ = false;
    bool alwaysShowScrlBar_ = false;
    bool flat_ = false;
    bool multiSelect_ = false;
    bool wordWrap_ = false;
    int columns_ = 0;
    int itemHeight_ = 0;
    int itemIndex_ = -1;
    int topIndex_ = 0;
    std::unique_ptr<TStringList> items_;
    bool sorted_ = false;
    TTeListBoxStyle style_ = lbsStandard;
};

class TTeInplaceHeaderOptions : public TTeInplaceTeControlOptions {
    TARVEL_CLASS(TTeInplaceHeaderOptions, TTeInplaceTeControlOptions)

public:
    // The sections are made for the owner header (which must be one).
    explicit TTeInplaceHeaderOptions(TTeHeaderControl* ownerHeader);
    ~TTeInplaceHeaderOptions() override;

    bool DragReorder() const { return dragReorder_; }
    void SetDragReorder(bool v) { Store(dragReorder_, v); }
    bool FullDrag() const { return fullDrag_; }
    void SetFullDrag(bool v) { Store(fullDrag_, v); }
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool v) { Store(hotTrack_, v); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* v) { Store(images_, v); }
    TTeHeaderSections* Sections() const { return sections_.get(); }
    void SetSections(TTeHeaderSections* v);

    void Assign(TPersistent* source) override;

protected:
    void AssignTo(TPersistent* dest) override;
    void CopyFrom(const TTeInplaceHeaderOptions& s);

private:
    bool dragReorder_ = false;
    bool fullDrag_ = true;
    bool hotTrack_ = false;
    TCustomImageList* images_ = nullptr;
    std::unique_ptr<TTeHeaderSections> sections_;
};

// ---- Header list box -----------------------------------------------------------

enum TTeHeaderListBoxGridLines : uint8_t { glNone, glHorizontal, glVertical, glBoth };
enum TTeTextDrawingOption : uint8_t { loPathEllipsis, loEndEllipsis, loEditControl };
using TTeTextDrawingOptions = TSet<TTeTextDrawingOption>;

class TTeHeaderListBox : public TTeExtraControl {
    TARVEL_CLASS(TTeHeaderListBox, TTeExtraControl)

public:
    // The inner parts are made while the box is built, so a descendant that
    // puts other header or list classes inside hands their makers in here.
    using THeaderFactory = std::function<TTeHeaderControl*(TTeHeaderListBox* box)>;
    using TListFactory = std::function<TTeListBox*(TTeHeaderListBox* box)>;
    explicit TTeHeaderListBox(TComponent* owner, THeaderFactory makeHeader = nullptr,
                              TListFactory makeList = nullptr);
    ~TTeHeaderListBox() override;

    TTeHeaderControl* HeaderControl() const { return header_; }
    TTeListBox* ListBoxControl() const { return list_; }

    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char value);
    TTeHeaderListBoxGridLines GridLines() const { return gridLines_; }
    void SetGridLines(TTeHeaderListBoxGridLines value);
    TColor GridHorizontalColor() const { return gridHorizontalColor_; }
    void SetGridHorizontalColor(TColor value);
    TColor GridVerticalColor() const { return gridVerticalColor_; }
    void SetGridVerticalColor(TColor value);
    TTeTextDrawingOptions ColumnOptions() const { return columnOptions_; }
    void SetColumnOptions(TTeTextDrawingOptions value);
    TTeInplaceHeaderOptions* Header() const { return headerOptions_.get(); }
    void SetHeader(TTeInplaceHeaderOptions* value) { headerOptions_->Assign(value); }
    TTeInplaceListBoxOptions* ListBox() const { return listOptions_.get(); }
    void SetListBox(TTeInplaceListBoxOptions* value) { listOptions_->Assign(value); }
    // Header and list are enabled and disabled together.
    void SetEnabled(bool value) override;

    int AddLine(const std::vector<String>& parts);
    String ItemPart(int line, int column) const;
    String GetPartString(std::string_view text, int column) const {
        return GetCodedString(text, delimiter_, column);
    }
    // Replaces one field of a shown line and of the stored one; empty fields
    // count, a column past the fields leaves the line as it was, a line past
    // the end does nothing.
    void SetItemPart(int line, int column, const String& value);
    // The caller owns the list.
    TStringList* GetColumn(int column) const;
    // Needs a string per line; with fewer nothing changes and the string
    // list's index error is raised.
    void SetColumn(int column, TStrings* strings);

    // Where the fields of a line are drawn inside an item and where the
    // vertical grid lines stand (empty unless they are shown).
    struct TColumnLayout {
        std::vector<TRect> text;
        std::vector<int> gridX;
    };
    TColumnLayout LayoutColumns(int line, const TRect& item);
    unsigned TextFlags() const;

    void SetFocus() override;
    void PaintBuffer() override;

    TTeDrawItemEvent OnDrawItem;
    TNotifyEvent OnSelect;
    TSectionNotifyEvent OnHeaderSized;
    TSectionNotifyEvent OnHeaderSectionResize;

protected:
    void Loaded() override;
    virtual void ListWndProc(TMessage& m);

private:
    void Build(const THeaderFactory& makeHeader, const TListFactory& makeList);
    void OptionsChanged(TObject* sender);
    void DrawListItem(TTeListBox* list, TCanvas& canvas, int index, TRect rect, TOwnerDrawState state);
    void SectionResize(TTeHeaderControl* header, TTeHeaderSection* section);
    void SectionDrag(TTeHeaderSection* from, TTeHeaderSection* to);
    void SectionEndDrag();
    String Line(int line) const;
    void WriteLine(int line, const String& text);
    void RepaintList();

    TTeHeaderControl* header_ = nullptr;
    TTeListBox* list_ = nullptr;
    std::unique_ptr<TTeInplaceHeaderOptions> headerOptions_;
    std::unique_ptr<TTeInplaceListBoxOptions> listOptions_;
    std::function<void(TMessage&)> listWndProc_;
    char delimiter_ = ';';
    TTeHeaderListBoxGridLines gridLines_ = glNone;
    TColor gridHorizontalColor_ = clSilver;
    TColor gridVerticalColor_ = clSilver;
    TTeTextDrawingOptions columnOptions_{};
    int dragSection_ = -1;
    int dropSection_ = -1;
    // Set while the box writes a stored line itself, so the set is not re-applied.
    bool quiet_ = false;
    bool dying_ = false;
};

}  // namespace tarvel
