#include "skin/extras/te_extended_headerlist.h"

#include "platform/base/Strings.h"
#include "platform/winsys/WinMessages.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

// One field model for reading, writing and drawing: n separators make n + 1
// fields, empty ones included.
std::vector<String> SplitFields(std::string_view text, char sep) {
    std::vector<String> fields;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(sep, start);
        if (at == std::string_view::npos) break;
        fields.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    fields.emplace_back(text.substr(start));
    return fields;
}

String JoinFields(const std::vector<String>& fields, char sep) {
    String out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += sep;
        out += fields[i];
    }
    return out;
}

}  // namespace

String GetCodedString(std::string_view text, char separator, int index) {
    if (index < 0) return {};
    std::vector<String> fields = SplitFields(text, separator);
    return index < static_cast<int>(fields.size()) ? fields[index] : String{};
}

// ---- TTeInplaceControlOptions ---------------------------------------------------

// Starting values come from the owner control, so a set built in code
// re-applies what the control already has; form data overrides them.
TTeInplaceControlOptions::TTeInplaceControlOptions(TComponent* ownerControl)
    : TTeBaseInplaceOptions(ownerControl), font_(std::make_unique<TFont>()) {
    if (auto* c = dynamic_cast<TControl*>(ownerControl)) {
        visible_ = c->Visible();
        showHint_ = c->ShowHint();
        enabled_ = c->Enabled();
        popupMenu_ = c->PopupMenu();
        hint_ = c->Hint();
        height_ = c->Height();
        width_ = c->Width();
        caption_ = c->Caption();
        font_->Assign(c->Font());
    }
}

TTeInplaceControlOptions::~TTeInplaceControlOptions() = default;

void TTeInplaceControlOptions::SetFont(TFont* v) {
    font_->Assign(v);
    Change();
}

void TTeInplaceControlOptions::CopyFrom(const TTeInplaceControlOptions& s) {
    caption_ = s.caption_;
    enabled_ = s.enabled_;
    font_->Assign(s.font_.get());
    height_ = s.height_;
    hint_ = s.hint_;
    popupMenu_ = s.popupMenu_;
    showHint_ = s.showHint_;
    visible_ = s.visible_;
    width_ = s.width_;
}

void TTeInplaceControlOptions::Assign(TPersistent* source) {
    if (auto* s = dynamic_cast<TTeInplaceControlOptions*>(source)) {
        CopyFrom(*s);
        Change();
        return;
    }
    TTeBaseInplaceOptions::Assign(source);
}

void TTeInplaceControlOptions::AssignTo(TPersistent* dest) {
    auto* c = dynamic_cast<TCustomControl*>(dest);
    if (!c) {
        TTeBaseInplaceOptions::AssignTo(dest);
        return;
    }
    c->SetText(caption_);
    c->SetEnabled(enabled_);
    c->SetFont(font_.get());
    c->SetHeight(height_);
    c->SetHint(hint_);
    c->SetPopupMenu(popupMenu_);
    c->SetShowHint(showHint_);
    c->SetVisible(visible_);
    c->SetWidth(width_);
}

// ---- TTeInplaceTeControlOptions -------------------------------------------------

TTeInplaceTeControlOptions::TTeInplaceTeControlOptions(TComponent* ownerControl)
    : TTeInplaceControlOptions(ownerControl) {
    if (auto* c = dynamic_cast<TTeControl*>(ownerControl)) {
        bevelWidth_ = c->BevelWidth();
        borderWidth_ = c->BorderWidth();
        bevelInner_ = c->BevelInner();
        bevelOuter_ = c->BevelOuter();
        bevelKind_ = c->BevelKind();
        bevelSides_ = c->BevelSides();
    }
}

void TTeInplaceTeControlOptions::CopyFrom(const TTeInplaceTeControlOptions& s) {
    TTeInplaceControlOptions::CopyFrom(s);
    bevelSides_ = s.bevelSides_;
    bevelInner_ = s.bevelInner_;
    bevelOuter_ = s.bevelOuter_;
    bevelKind_ = s.bevelKind_;
    bevelWidth_ = s.bevelWidth_;
    borderWidth_ = s.borderWidth_;
    transparent_ = s.transparent_;
}

void TTeInplaceTeControlOptions::Assign(TPersistent* source) {
    if (auto* s = dynamic_cast<TTeInplaceTeControlOptions*>(source)) {
        CopyFrom(*s);
        Change();
        return;
    }
    TTeInplaceControlOptions::Assign(source);
}

void TTeInplaceTeControlOptions::AssignTo(TPersistent* dest) {
    TTeInplaceControlOptions::AssignTo(dest);
    if (auto* c = dynamic_cast<TTeControl*>(dest)) {
        c->SetBevelWidth(bevelWidth_);
        c->SetBorderWidth(borderWidth_);
        c->SetBevelInner(bevelInner_);
        c->SetBevelOuter(bevelOuter_);
        c->SetBevelKind(bevelKind_);
        c->SetBevelSides(bevelSides_);
    }
}

// ---- TTeInplaceListBoxOptions ---------------------------------------------------

TTeInplaceListBoxOptions::TTeInplaceListBoxOptions(TComponent* ownerControl)
    : TTeInplaceTeControlOptions(ownerControl), items_(std::make_unique<TStringList>()) {
    if (TTeListBox* l = List()) {
        sorted_ = l->Sorted();
        flat_ = l->Flat();
        allowGrayed_ = l->AllowGrayed();
        alwaysShowScrlBar_ = l->AlwaysShowScrlBar();
        multiSelect_ = l->MultiSelect();
        itemHeight_ = l->ItemHeight();
        items_->Assign(l->Items());
        style_ = l->ListStyle();
        itemIndex_ = l->ItemIndex();
        topIndex_ = l->TopIndex();
    }
    items_->OnChange = [this](TObject*) { Change(); };
}

TTeInplaceListBoxOptions::~TTeInplaceListBoxOptions() { items_->OnChange = nullptr; }

void TTeInplaceListBoxOptions::Clear() {
    if (TTeListBox* l = List()) l->Clear();
}

int TTeInplaceListBoxOptions::SelCount() const { return List() ? List()->SelCount() : 0; }

bool TTeInplaceListBoxOptions::Selected(int index) const { return List() && List()->Selected(index); }

void TTeInplaceListBoxOptions::SetSelected(int index, bool value) {
    if (TTeListBox* l = List()) l->SetSelected(index, value);
}

int TTeInplaceListBoxOptions::ItemAtPos(TPoint p, bool existing) {
    TTeListBox* l = List();
    return l ? l->ItemAtPos(p, existing) : -1;
}

void TTeInplaceListBoxOptions::CopyFrom(const TTeInplaceListBoxOptions& s) {
    TTeInplaceTeControlOptions::CopyFrom(s);
    allowGrayed_ = s.allowGrayed_;
    alwaysShowScrlBar_ = s.alwaysShowScrlBar_;
    flat_ = s.flat_;
    multiSelect_ = s.multiSelect_;
    wordWrap_ = s.wordWrap_;
    columns_ = s.columns_;
    itemHeight_ = s.itemHeight_;
    itemIndex_ = s.itemIndex_;
    topIndex_ = s.topIndex_;
    sorted_ = s.sorted_;
    style_ = s.style_;
    // One Change for the whole copy, from Assign.
    TNotifyEvent held = std::move(items_->OnChange);
    items_->OnChange = nullptr;
    items_->Assign(s.items_.get());
    items_->OnChange = std::move(held);
}

void TTeInplaceListBoxOptions::Assign(TPersistent* source) {
    if (auto* s = dynamic_cast<TTeInplaceListBoxOptions*>(source)) {
        CopyFrom(*s);
        Change();
        return;
    }
    TTeInplaceTeControlOptions::Assign(source);
}

void TTeInplaceListBoxOptions::AssignTo(TPersistent* dest) {
    TTeInplaceTeControlOptions::AssignTo(dest);
    if (auto* l = dynamic_cast<TTeListBox*>(dest)) {
        l->SetSorted(sorted_);
        l->SetFlat(flat_);
        l->SetAllowGrayed(allowGrayed_);
        l->SetAlwaysShowScrlBar(alwaysShowScrlBar_);
        l->SetMultiSelect(multiSelect_);
        if (itemHeight_ > 0) l->SetItemHeight(itemHeight_);
        l->Items()->Assign(items_.get());
        l->SetTopIndex(topIndex_);
        l->SetItemIndex(itemIndex_);
        l->SetListStyle(style_);
    }
}

// ---- TTeInplaceHeaderOptions ----------------------------------------------------

TTeInplaceHeaderOptions::TTeInplaceHeaderOptions(TTeHeaderControl* ownerHeader)
    : TTeInplaceTeControlOptions(ownerHeader), sections_(std::make_unique<TTeHeaderSections>(ownerHeader)) {
    dragReorder_ = ownerHeader->DragReorder();
    hotTrack_ = ownerHeader->HotTrack();
    fullDrag_ = ownerHeader->FullDrag();
    images_ = ownerHeader->Images();
    sections_->Assign(ownerHeader->Sections());
}

TTeInplaceHeaderOptions::~TTeInplaceHeaderOptions() = default;

void TTeInplaceHeaderOptions::SetSections(TTeHeaderSections* v) {
    // Writing back its own sections (after editing them) must not empty them.
    if (v != sections_.get()) sections_->Assign(v);
    Change();
}

void TTeInplaceHeaderOptions::CopyFrom(const TTeInplaceHeaderOptions& s) {
    TTeInplaceTeControlOptions::CopyFrom(s);
    dragReorder_ = s.dragReorder_;
    fullDrag_ = s.fullDrag_;
    hotTrack_ = s.hotTrack_;
    images_ = s.images_;
    sections_->Assign(s.sections_.get());
}

void TTeInplaceHeaderOptions::Assign(TPersistent* source) {
    if (auto* s = dynamic_cast<TTeInplaceHeaderOptions*>(source)) {
        CopyFrom(*s);
        Change();
        return;
    }
    TTeInplaceTeControlOptions::Assign(source);
}

void TTeInplaceHeaderOptions::AssignTo(TPersistent* dest) {
    TTeInplaceTeControlOptions::AssignTo(dest);
    if (auto* h = dynamic_cast<TTeHeaderControl*>(dest)) {
        h->SetDragReorder(dragReorder_);
        h->SetHotTrack(hotTrack_);
        h->SetFullDrag(fullDrag_);
        h->SetImages(images_);
        h->SetSections(sections_.get());
    }
}

// ---- TTeHeaderListBox -----------------------------------------------------------

TTeHeaderListBox::TTeHeaderListBox(TComponent* owner, THeaderFactory makeHeader, TListFactory makeList)
    : TTeExtraControl(owner) {
    ControlStyle.Include(csAcceptsControls);
    ControlStyle.Exclude(csSetCaption);
    SetColor(clBtnFace);
    Build(makeHeader, makeList);
    SetTabStop(true);
    SetBounds(Left(), Top(), 100, 100);
}

void TTeHeaderListBox::Build(const THeaderFactory& makeHeader, const TListFactory& makeList) {
    header_ = makeHeader ? makeHeader(this) : new TTeHeaderControl(this);
    header_->SetParent(this);
    header_->OnSectionResize = [this](TTeHeaderControl* h, TTeHeaderSection* s) { SectionResize(h, s); };
    header_->OnSectionDrag = [this](TObject*, TTeHeaderSection* from, TTeHeaderSection* to, bool&) {
        SectionDrag(from, to);
    };
    header_->OnSectionEndDrag = [this](TObject*) { SectionEndDrag(); };
    header_->SetTabStop(false);
    header_->SetAlign(alTop);

    list_ = makeList ? makeList(this) : new TTeListBox(this);
    list_->SetParent(this);
    list_->OnDrawItem = [this](TTeListBox* l, TCanvas& c, int i, TRect r, TOwnerDrawState s) {
        DrawListItem(l, c, i, r, s);
    };
    list_->SetAlign(alClient);
    // The columns are drawn by the box, so the list draws its items through it.
    list_->SetListStyle(lbsOwnerDrawFixed);
    listWndProc_ = list_->WindowProc;
    list_->WindowProc = [this](TMessage& m) { ListWndProc(m); };

    headerOptions_ = std::make_unique<TTeInplaceHeaderOptions>(header_);
    headerOptions_->OnChange = [this](TObject* s) { OptionsChanged(s); };
    headerOptions_->Sections()->Add();
    headerOptions_->ApplyTo(header_);
    listOptions_ = std::make_unique<TTeInplaceListBoxOptions>(list_);
    listOptions_->OnChange = [this](TObject* s) { OptionsChanged(s); };
    listOptions_->SetSorted(false);
}

TTeHeaderListBox::~TTeHeaderListBox() {
    dying_ = true;
    headerOptions_.reset();
    listOptions_.reset();
    if (list_) {
        list_->OnDrawItem = nullptr;
        list_->WindowProc = listWndProc_;
    }
    delete header_;
    delete list_;
}

void TTeHeaderListBox::OptionsChanged(TObject* sender) {
    if (dying_ || quiet_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying))
        return;
    if (sender == headerOptions_.get()) {
        headerOptions_->ApplyTo(header_);
    } else if (sender == listOptions_.get()) {
        listOptions_->SetSorted(false);
        listOptions_->ApplyTo(list_);
    } else if (auto* o = dynamic_cast<TTeBaseInplaceOptions*>(sender)) {
        o->ApplyTo(o->OwnerControl());
    }
}

void TTeHeaderListBox::Loaded() {
    TTeExtraControl::Loaded();
    // The events read for the box are the list's: the list covers the box.
    list_->OnClick = OnClick;
    list_->OnDblClick = OnDblClick;
    list_->OnEnter = OnEnter;
    list_->OnExit = OnExit;
    list_->OnMouseDown = OnMouseDown;
    list_->OnMouseMove = OnMouseMove;
    list_->OnMouseUp = OnMouseUp;
    list_->OnKeyDown = OnKeyDown;
    list_->OnKeyUp = OnKeyUp;
    list_->OnKeyPress = OnKeyPress;
    list_->OnDragDrop = OnDragDrop;
    list_->OnDragOver = OnDragOver;
    list_->OnEndDrag = OnEndDrag;
    list_->OnStartDrag = OnStartDrag;
    list_->SetSorted(false);
    // The header takes the drag events too, and its section resizes still come here.
    header_->OnDragDrop = OnDragDrop;
    header_->OnDragOver = OnDragOver;
    header_->OnEndDrag = OnEndDrag;
    header_->OnStartDrag = OnStartDrag;
    header_->OnSectionResize = [this](TTeHeaderControl* h, TTeHeaderSection* s) { SectionResize(h, s); };
    listOptions_->SetStyle(lbsOwnerDrawFixed);
    listOptions_->ApplyTo(list_);
    headerOptions_->ApplyTo(header_);
}

void TTeHeaderListBox::ListWndProc(TMessage& m) {
    if (listWndProc_) listWndProc_(m);
    if (m.Msg == WM_LBUTTONDOWN && OnSelect) OnSelect(this);
}

void TTeHeaderListBox::SetEnabled(bool value) {
    if (value == list_->Enabled()) return;
    listOptions_->SetEnabled(value);
    headerOptions_->SetEnabled(value);
    TTeExtraControl::SetEnabled(value);
}

void TTeHeaderListBox::SetDelimiter(char value) {
    if (value == delimiter_) return;
    delimiter_ = value;
    RepaintList();
}

void TTeHeaderListBox::SetGridLines(TTeHeaderListBoxGridLines value) {
    if (value == gridLines_) return;
    gridLines_ = value;
    RepaintList();
}

void TTeHeaderListBox::SetGridHorizontalColor(TColor value) {
    if (value == gridHorizontalColor_) return;
    gridHorizontalColor_ = value;
    Invalidate();
    RepaintList();
}

void TTeHeaderListBox::SetGridVerticalColor(TColor value) {
    if (value == gridVerticalColor_) return;
    gridVerticalColor_ = value;
    Invalidate();
    RepaintList();
}

void TTeHeaderListBox::SetColumnOptions(TTeTextDrawingOptions value) {
    if (value == columnOptions_) return;
    columnOptions_ = value;
    RepaintList();
}

void TTeHeaderListBox::RepaintList() { list_->Invalidate(); }

int TTeHeaderListBox::AddLine(const std::vector<String>& parts) {
    return listOptions_->Items()->Add(JoinFields(parts, delimiter_));
}

String TTeHeaderListBox::Line(int line) const { return list_->Items()->Get(line); }

void TTeHeaderListBox::WriteLine(int line, const String& text) {
    // The stored lines take the edit too, so re-applying the set keeps it.
    TStrings* stored = listOptions_->Items();
    if (line < stored->Count()) {
        quiet_ = true;
        try {
            stored->Put(line, text);
        } catch (...) {
            quiet_ = false;
            throw;
        }
        quiet_ = false;
    }
    list_->Items()->Put(line, text);
}

String TTeHeaderListBox::ItemPart(int line, int column) const {
    if (line < 0 || line >= list_->Count()) return {};
    return GetCodedString(Line(line), delimiter_, column);
}

void TTeHeaderListBox::SetItemPart(int line, int column, const String& value) {
    if (line < 0 || line >= list_->Count()) return;
    std::vector<String> fields = SplitFields(Line(line), delimiter_);
    if (column < 0 || column >= static_cast<int>(fields.size())) return;
    fields[column] = value;
    WriteLine(line, JoinFields(fields, delimiter_));
}

TStringList* TTeHeaderListBox::GetColumn(int column) const {
    auto* out = new TStringList;
    for (int i = 0; i < list_->Count(); ++i) out->Add(ItemPart(i, column));
    return out;
}

void TTeHeaderListBox::SetColumn(int column, TStrings* strings) {
    // Checked up front: a short list changes no line.
    if (strings->Count() < list_->Count())
        throw EStringListError("List index out of bounds (" + std::to_string(strings->Count()) + ")");
    for (int i = 0; i < list_->Count(); ++i) SetItemPart(i, column, strings->Get(i));
}

void TTeHeaderListBox::SectionResize(TTeHeaderControl* header, TTeHeaderSection* section) {
    RepaintList();
    if (OnHeaderSized) OnHeaderSized(header, section);
    if (OnHeaderSectionResize) OnHeaderSectionResize(header, section);
}

void TTeHeaderListBox::SectionDrag(TTeHeaderSection* from, TTeHeaderSection* to) {
    dragSection_ = from ? from->Index() : -1;
    dropSection_ = to ? to->Index() : -1;
}

void TTeHeaderListBox::SectionEndDrag() {
    const int a = dragSection_;
    const int b = dropSection_;
    dragSection_ = dropSection_ = -1;
    if (a < 0 || b < 0 || a == b) return;
    std::unique_ptr<TStringList> first(GetColumn(a));
    std::unique_ptr<TStringList> second(GetColumn(b));
    const bool sorted = list_->Sorted();
    list_->SetSorted(false);
    try {
        SetColumn(a, second.get());
        SetColumn(b, first.get());
    } catch (...) {
        list_->SetSorted(sorted);
        throw;
    }
    list_->SetSorted(sorted);
    RepaintList();
}

unsigned TTeHeaderListBox::TextFlags() const {
    unsigned flags = 0;
    if (columnOptions_.Contains(loPathEllipsis)) flags |= DT_PATH_ELLIPSIS;
    if (columnOptions_.Contains(loEndEllipsis)) flags |= DT_END_ELLIPSIS;
    if (columnOptions_.Contains(loEditControl)) flags |= DT_EDITCONTROL;
    if (listOptions_->WordWrap()) flags |= DT_WORDBREAK;
    if (flags) flags |= DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    return flags;
}

TTeHeaderListBox::TColumnLayout TTeHeaderListBox::LayoutColumns(int line, const TRect& item) {
    TColumnLayout out;
    TTeHeaderSections* sections = header_->Sections();
    const int count = sections->Count();
    if (count == 0) {
        out.text.push_back(TRect{item.left + 2, item.top, item.right, item.bottom});
        return out;
    }
    const bool vertical = gridLines_ == glVertical || gridLines_ == glBoth;
    const int inLeft = vertical ? 5 : 3;
    const int inRight = vertical ? 3 : 1;
    const int fields = static_cast<int>(SplitFields(Line(line), delimiter_).size());
    int x = item.left;
    for (int i = 0; i < fields && i < count; ++i) {
        const int w = sections->GetItem(i)->Width();
        out.text.push_back(TRect{x + inLeft, item.top, x + w - inRight, item.bottom});
        x += w;
    }
    if (vertical) {
        int right = 0;
        for (int i = 0; i < count; ++i) {
            right += sections->GetItem(i)->Width();
            out.gridX.push_back(right - 1);
        }
    }
    return out;
}

void TTeHeaderListBox::DrawListItem(TTeListBox* list, TCanvas& c, int index, TRect rect,
                                    TOwnerDrawState state) {
    if (list->ListStyle() != lbsStandard && OnDrawItem) {
        OnDrawItem(list, c, index, rect, state);
        return;
    }
    const String text = Line(index);
    if (!Trim(text).empty()) {
        const unsigned flags = TextFlags();
        const TColumnLayout layout = LayoutColumns(index, rect);
        TTeHeaderSections* sections = header_->Sections();
        if (sections->Count() == 0) {
            TRect r = layout.text[0];
            DrawText(c, Utf8ToWide(text), r, flags);
        } else {
            const std::vector<String> fields = SplitFields(text, delimiter_);
            static constexpr unsigned align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
            for (size_t i = 0; i < layout.text.size(); ++i) {
                TRect r = layout.text[i];
                const TAlignment a = sections->GetItem(static_cast<int>(i))->Alignment();
                DrawText(c, Utf8ToWide(fields[i]), r, flags | align[a]);
            }
            const int bottom = list->ClientRect().bottom;
            for (int x : layout.gridX) FillRect(c, x, 0, x + 1, bottom, gridVerticalColor_);
        }
        if (gridLines_ == glHorizontal || gridLines_ == glBoth)
            FillRect(c, 0, rect.bottom - 1, rect.right, rect.bottom, gridHorizontalColor_);
    }
    if (!list->MultiSelect() && state.Contains(odFocused)) DrawFocusRect(c, rect, clBlack);
}

void TTeHeaderListBox::SetFocus() {
    if (list_->CanFocus()) list_->SetFocus();
}

void TTeHeaderListBox::PaintBuffer() { FillRect(*Canvas(), ClientRect(), Color()); }

}  // namespace tarvel
