// TCustomListBox: items, selection, scrolling, keys and item drawing.

#include <algorithm>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

TOwnerDrawState OwnerDrawStateOf(UINT itemState) {
    TOwnerDrawState s;
    if (itemState & ODS_SELECTED) s.Include(odSelected);
    if (itemState & ODS_FOCUS) s.Include(odFocused);
    if (itemState & ODS_DISABLED) s.Include(odDisabled);
    if (itemState & ODS_COMBOBOXEDIT) s.Include(odComboBoxEdit);
    return s;
}

void TCustomListBox::DeclareMessages(TMessageTable& t) {
    t.Add<&TCustomListBox::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TCustomListBox::WMScroll>(WM_VSCROLL);
    t.Add<&TCustomListBox::WMEraseBkgndList>(WM_ERASEBKGND);
    t.Add<&TCustomListBox::CNDrawItem>(CN_DRAWITEM);
    t.Add<&TCustomListBox::CNCtlColorListBox>(CN_CTLCOLORLISTBOX);
    t.Add<&TCustomListBox::WMLButtonDblClkList>(WM_LBUTTONDBLCLK);
    for (UINT msg : {LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_SETSEL, LB_SETCURSEL,
                     LB_GETSEL, LB_GETCURSEL, LB_GETCOUNT, LB_GETTOPINDEX, LB_GETSELCOUNT, LB_SETTOPINDEX,
                     LB_GETITEMRECT, LB_SETITEMHEIGHT, LB_GETITEMHEIGHT, LB_ITEMFROMPOINT})
        t.Add<&TCustomListBox::LBMessage>(msg);
}

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomControl(owner), items_(std::make_unique<TStringList>()) {
    ControlStyle = {csCaptureMouse, csSetCaption, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TObject* s) { ItemsChanged(s); };
}

TCustomListBox::~TCustomListBox() { items_->OnChange = nullptr; }

void TCustomListBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= LBS_NOTIFY;
    if (style_ == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
    if (style_ == lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
    if (multiSelect_) params.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateHandleDone() {
    bars_.Attach();
    UpdateScrollBars();
}

void TCustomListBox::WndProc(TMessage& m) {
    if (bars_.HandleMessage(m, [this](TMessage& msg) { TCustomControl::WndProc(msg); })) return;
    TCustomControl::WndProc(m);
}

void TCustomListBox::SetBorderStyle(TFormBorderStyle s) {
    borderStyle_ = s == bsNone ? bsNone : bsSingle;
    RecreateWnd();
}

void TCustomListBox::ItemsChanged(TObject*) {
    selected_.resize(static_cast<size_t>(Count()), 0);
    heights_.clear();
    if (itemIndex_ >= Count()) itemIndex_ = -1;
    if (anchor_ >= Count()) anchor_ = -1;
    topIndex_ = std::clamp(topIndex_, 0, std::max(0, Count() - 1));
    UpdateScrollBars();
    Invalidate();
    ItemsUpdated();
}

void TCustomListBox::SetStyle(TListBoxStyle s) {
    style_ = s;
    heights_.clear();
    RecreateWnd();
    Invalidate();
}

void TCustomListBox::SetMultiSelect(bool v) {
    multiSelect_ = v;
    if (!v) ClearSelection();
    RecreateWnd();
}

bool TCustomListBox::Selected(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return multiSelect_ ? selected_[static_cast<size_t>(index)] != 0 : index == itemIndex_;
}

void TCustomListBox::SetSelected(int index, bool selected) {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    if (!multiSelect_) {
        if (selected)
            SetItemIndex(index);
        else if (index == itemIndex_)
            SetItemIndex(-1);
        return;
    }
    selected_[static_cast<size_t>(index)] = selected;
    Invalidate();
}

int TCustomListBox::SelCount() const {
    if (!multiSelect_) return -1;
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), 1));
}

void TCustomListBox::SelectAll() {
    if (!multiSelect_) return;
    std::fill(selected_.begin(), selected_.end(), 1);
    Invalidate();
}

void TCustomListBox::ClearSelection() {
    std::fill(selected_.begin(), selected_.end(), 0);
    if (!multiSelect_) itemIndex_ = -1;
    Invalidate();
}

void TCustomListBox::SetItemIndex(int index) {
    index = std::clamp(index, -1, Count() - 1);
    if (index == itemIndex_) return;
    itemIndex_ = index;
    anchor_ = index;
    if (multiSelect_ && index >= 0) selected_[static_cast<size_t>(index)] = 1;
    if (index >= 0) MakeVisible(index);
    Invalidate();
}

void TCustomListBox::SetItemHeight(int h) {
    itemHeight_ = std::clamp(h, 1, 255);
    UpdateScrollBars();
    Invalidate();
}

void TCustomListBox::SetTopIndex(int index) {
    index = std::clamp(index, 0, std::max(0, Count() - VisibleRows()));
    if (index == topIndex_) return;
    topIndex_ = index;
    UpdateScrollBars();
    Invalidate();
}

// ---- geometry --------------------------------------------------------------------------------

int TCustomListBox::MeasureItem(int index) {
    int h = itemHeight_;
    if (OnMeasureItem) OnMeasureItem(this, index, h);
    return std::clamp(h, 1, 255);
}

int TCustomListBox::HeightOf(int index) const {
    if (style_ != lbOwnerDrawVariable) return itemHeight_;
    if (heights_.size() != static_cast<size_t>(Count())) {
        heights_.resize(static_cast<size_t>(Count()));
        for (int i = 0; i < Count(); ++i)
            heights_[static_cast<size_t>(i)] = const_cast<TCustomListBox*>(this)->MeasureItem(i);
    }
    return heights_[static_cast<size_t>(index)];
}

int TCustomListBox::VisibleRows() const {
    const int height = HandleAllocated()
                           ? ::tarvel::ClientRect(const_cast<TCustomListBox*>(this)->Handle()).Height()
                           : Height();
    int rows = 0;
    for (int i = topIndex_, y = 0; i < Count(); ++i) {
        y += HeightOf(i);
        if (y > height) break;
        ++rows;
    }
    return std::max(1, style_ == lbOwnerDrawVariable ? rows : height / itemHeight_);
}

void TCustomListBox::MakeVisible(int index) {
    if (index < topIndex_) {
        SetTopIndex(index);
        return;
    }
    while (index >= topIndex_ + VisibleRows() && topIndex_ < index) {
        ++topIndex_;
    }
    UpdateScrollBars();
    Invalidate();
}

TRect TCustomListBox::ItemRect(int index) const {
    const int width = HandleAllocated()
                          ? ::tarvel::ClientRect(const_cast<TCustomListBox*>(this)->Handle()).Width()
                          : Width();
    int y = 0;
    if (index >= topIndex_)
        for (int i = topIndex_; i < index; ++i) y += HeightOf(i);
    else
        for (int i = index; i < topIndex_; ++i) y -= HeightOf(i);
    return Bounds(0, y, width, index >= 0 && index < Count() ? HeightOf(index) : itemHeight_);
}

int TCustomListBox::ItemAtPos(TPoint p) const {
    if (p.y < 0 || p.x < 0) return -1;
    for (int i = topIndex_, y = 0; i < Count(); ++i) {
        y += HeightOf(i);
        if (p.y < y) return i;
    }
    return -1;
}

TRect TCustomListBox::UiItemRect(int index) {
    MakeVisible(index);
    return ItemRect(index);
}

void TCustomListBox::UpdateScrollBars() {
    if (!HandleAllocated()) return;
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, Count() - 1);
    info.nPage = static_cast<UINT>(VisibleRows());
    info.nPos = topIndex_;
    bars_.SetInfo(SB_VERT, info, false);
    bars_.Show(SB_VERT, Count() > VisibleRows() || (topIndex_ > 0));
    if (bars_.Visible(SB_VERT))
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TCustomListBox::Resize() {
    TCustomControl::Resize();
    UpdateScrollBars();
}

// ---- drawing ---------------------------------------------------------------------------------

void TCustomListBox::WMEraseBkgndList(TMessage& m) { m.Result = 1; }

void TCustomListBox::CNCtlColorListBox(TMessage& m) {
    HDC dc = DcFromWParam(m.WParam);
    SetTextColor(dc, ColorToColorRef(Enabled() ? Font()->Color() : clGrayText));
    SetBkColor(dc, ColorToColorRef(Color()));
    m.Result = static_cast<LRESULT>(AnswerBrush(Color()).Value());
}

void TCustomListBox::SendItem(DRAWITEMSTRUCT& dis) {
    HWND parent = ParentHandle(this);
    if (style_ == lbStandard || !parent)
        SendMessage(Handle(), CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    else
        SendDrawItem(parent, dis);
}

void TCustomListBox::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect client = ClientRect();
    // Whoever answers the colour request (the parent, a skin) gives the background.
    const LRESULT answered = AskColors(this, WM_CTLCOLORLISTBOX, dc, ColorOwner());
    background_ = answered ? HBRUSH(static_cast<uint64_t>(answered)) : HBRUSH{};
    const bool focused = Focused();
    int bottom = 0;
    for (int i = topIndex_; i < Count(); ++i) {
        TRect r = ItemRect(i);
        if (r.top >= client.bottom) break;
        bottom = r.bottom;
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_LISTBOX;
        dis.itemID = static_cast<UINT>(i);
        dis.itemState = (Selected(i) ? ODS_SELECTED : 0u) | (focused && i == itemIndex_ ? ODS_FOCUS : 0u) |
                        (Enabled() ? 0u : ODS_DISABLED);
        dis.hwndItem = Handle();
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = reinterpret_cast<uintptr_t>(items_->Objects(i));
        const int saved = SaveDC(dc);
        SendItem(dis);
        RestoreDC(dc, saved);
        if (dis.itemState & ODS_FOCUS) DrawFocusRect(dc, r);
    }
    const TRect rest{0, bottom, client.right, client.bottom};
    if (bottom < client.bottom) {
        if (background_)
            FillRect(dc, rest, background_);
        else
            FillColor(dc, rest, Color());
    }
    background_ = HBRUSH{};
}

void TCustomListBox::CNDrawItem(TMessage& m) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    if (!dis) return;
    TCanvas* canvas = Canvas();
    const TOwnerDrawState state = OwnerDrawStateOf(dis->itemState);
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(state.Contains(odSelected) ? clHighlight : Color());
    if (state.Contains(odSelected)) canvas->Font()->SetColor(clHighlightText);
    DrawItem(static_cast<int>(dis->itemID), dis->rcItem, state);
    m.Result = 1;
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (style_ != lbStandard && OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    HDC dc = Canvas()->Handle();
    if (!state.Contains(odSelected) && background_)
        FillRect(dc, rect, background_);
    else
        FillColor(dc, rect, state.Contains(odSelected) ? clHighlight : Color());
    TColor text = !Enabled() ? clGrayText : (state.Contains(odSelected) ? clHighlightText : Font()->Color());
    TRect t{rect.left + 2, rect.top, rect.right - 2, rect.bottom};
    DrawCaption(dc, Font(), items_->Strings(index), t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, text);
}

// ---- mouse and keys --------------------------------------------------------------------------

bool TCustomListBox::SelectByUser(int index, TShiftState shift, bool toggle) {
    if (index < 0 || index >= Count()) return false;
    const int before = itemIndex_;
    const std::vector<char> was = selected_;
    if (!multiSelect_) {
        itemIndex_ = index;
    } else if (!extendedSelect_) {
        itemIndex_ = index;
        if (toggle) selected_[static_cast<size_t>(index)] ^= 1;
    } else if (shift.Contains(ssShift) && anchor_ >= 0) {
        if (!shift.Contains(ssCtrl)) std::fill(selected_.begin(), selected_.end(), 0);
        for (int i = std::min(anchor_, index); i <= std::max(anchor_, index); ++i)
            selected_[static_cast<size_t>(i)] = 1;
        itemIndex_ = index;
    } else if (shift.Contains(ssCtrl)) {
        itemIndex_ = anchor_ = index;
        if (toggle) selected_[static_cast<size_t>(index)] ^= 1;
    } else {
        std::fill(selected_.begin(), selected_.end(), 0);
        selected_[static_cast<size_t>(index)] = 1;
        itemIndex_ = anchor_ = index;
    }
    if (!multiSelect_ || !shift.Contains(ssShift))
        anchor_ = extendedSelect_ || !multiSelect_ ? itemIndex_ : anchor_;
    MakeVisible(index);
    Invalidate();
    if (before == itemIndex_ && was == selected_) return false;
    SelectionChangedByUser();
    return true;
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        // A click on an item notifies even when it was selected already.
        const int index = ItemAtPos(TPoint{x, y});
        if (!SelectByUser(index, shift, true) && index >= 0) SelectionChangedByUser();
        tracking_ = !multiSelect_;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y) {
    // A drag carries the item pressed away; the selection stays with it.
    if (tracking_ && shift.Contains(ssLeft) && !Dragging()) {
        const int index = ItemAtPos(TPoint{x, std::clamp(y, 0, std::max(0, ClientHeight() - 1))});
        if (index >= 0 && index != itemIndex_) SelectByUser(index, {}, false);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) tracking_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomListBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0 || Count() == 0) return;
    int index = itemIndex_;
    switch (key) {
        case VK_UP: index = std::max(0, index - 1); break;
        case VK_DOWN: index = std::min(Count() - 1, index + 1); break;
        case VK_HOME: index = 0; break;
        case VK_END: index = Count() - 1; break;
        case VK_PRIOR: index = std::max(0, index - VisibleRows() + 1); break;
        case VK_NEXT: index = std::min(Count() - 1, index + VisibleRows() - 1); break;
        case VK_SPACE:
            if (multiSelect_ && itemIndex_ >= 0) SelectByUser(itemIndex_, {ssCtrl}, true);
            key = 0;
            return;
        default: return;
    }
    key = 0;
    if (multiSelect_ && !extendedSelect_) {
        itemIndex_ = index;
        MakeVisible(index);
        Invalidate();
        return;
    }
    SelectByUser(index, shift - TShiftState{ssCtrl}, false);
}

void TCustomListBox::KeyPress(char16_t& key) {
    TCustomControl::KeyPress(key);
    if (key < u' ' || Count() == 0) return;
    // Typing finds the next item starting with the letter.
    const String prefix = UpperCase(WideToUtf8(WideString(1, key)));
    for (int step = 1; step <= Count(); ++step) {
        const int i = (std::max(itemIndex_, 0) + step) % Count();
        if (UpperCase(items_->Strings(i)).rfind(prefix, 0) == 0) {
            SelectByUser(i, {}, false);
            break;
        }
    }
    key = 0;
}

bool TCustomListBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    SetTopIndex(topIndex_ - wheelDelta / WHEEL_DELTA * 3);
    return true;
}

void TCustomListBox::WMScroll(TMessage& m) {
    int top = topIndex_;
    switch (LOWORD(m.WParam)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= VisibleRows(); break;
        case SB_PAGEDOWN: top += VisibleRows(); break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = Count(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = ThumbPosition(bars_.Info(SB_VERT), m.WParam); break;
        default: return;
    }
    SetTopIndex(top);
}

void TCustomListBox::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomListBox::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

// Clicks come from selecting, so double clicks are raised here.
void TCustomListBox::WMLButtonDblClkList(TMessage& m) {
    DblClick();
    TCustomControl::WMLButtonDblClk(m);
}

void TCustomListBox::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

// ---- messages --------------------------------------------------------------------------------

void TCustomListBox::LBMessage(TMessage& m) {
    const int w = static_cast<int>(static_cast<intptr_t>(m.WParam));
    const bool valid = w >= 0 && w < Count();
    const char* text = reinterpret_cast<const char*>(m.LParam);
    switch (m.Msg) {
        case LB_ADDSTRING: m.Result = items_->Add(text ? text : ""); break;
        case LB_INSERTSTRING:
            if (w < -1 || w > Count()) {
                m.Result = LB_ERR;
                break;
            }
            items_->Insert(w < 0 ? Count() : w, text ? text : "");
            m.Result = w < 0 ? Count() - 1 : w;
            break;
        case LB_DELETESTRING:
            if (!valid) {
                m.Result = LB_ERR;
                break;
            }
            items_->Delete(w);
            m.Result = Count();
            break;
        case LB_RESETCONTENT: Clear(); break;
        case LB_SETSEL: {
            const int index = static_cast<int>(m.LParam);
            if (!multiSelect_ || index < -1 || index >= Count()) {
                m.Result = LB_ERR;
                break;
            }
            if (index < 0)
                std::fill(selected_.begin(), selected_.end(), m.WParam ? 1 : 0);
            else
                selected_[static_cast<size_t>(index)] = m.WParam != 0;
            Invalidate();
            break;
        }
        case LB_SETCURSEL:
            SetItemIndex(valid ? w : -1);
            m.Result = valid ? w : LB_ERR;
            break;
        case LB_GETSEL: m.Result = valid ? Selected(w) : LB_ERR; break;
        case LB_GETCURSEL: m.Result = itemIndex_; break;
        case LB_GETCOUNT: m.Result = Count(); break;
        case LB_GETTOPINDEX: m.Result = topIndex_; break;
        case LB_GETSELCOUNT: m.Result = multiSelect_ ? SelCount() : LB_ERR; break;
        case LB_SETTOPINDEX: SetTopIndex(w); break;
        case LB_GETITEMRECT:
            if (!valid || !m.LParam) {
                m.Result = LB_ERR;
                break;
            }
            *reinterpret_cast<TRect*>(m.LParam) = ItemRect(w);
            m.Result = 1;
            break;
        case LB_SETITEMHEIGHT: SetItemHeight(static_cast<int>(m.LParam)); break;
        case LB_GETITEMHEIGHT:
            m.Result = valid && style_ == lbOwnerDrawVariable ? HeightOf(w) : itemHeight_;
            break;
        case LB_ITEMFROMPOINT: {
            const int index = ItemAtPos(PointFromLParam(m.LParam));
            m.Result = index < 0 ? MAKELPARAM(std::max(0, Count() - 1), 1) : index;
            break;
        }
    }
}

}  // namespace tarvel
