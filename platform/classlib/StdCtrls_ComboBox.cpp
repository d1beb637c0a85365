// TCustomComboBox, its edit and its dropped list.

#include <algorithm>
#include <cstring>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {
constexpr int kButtonWidth = 15;

bool AltHeld() { return GetKeyState(VK_MENU) < 0; }
}  // namespace

// ---- TComboListBox ---------------------------------------------------------------------------

TComboListBox::TComboListBox(TCustomComboBox* combo) : TCustomListBox(combo), combo_(combo) {
    SetTabStop(false);
    SetVisible(false);
    SetBorderStyle(bsNone);
}

void TComboListBox::CreateParams(TCreateParams& params) {
    TCustomListBox::CreateParams(params);
    if (Parent()) {
        params.ExStyle |= WS_EX_CLIENTEDGE;
        return;
    }
    // A popup owned by the combo's form, never active, above everything.
    params.Style = (params.Style & ~(WS_CHILD | WS_VISIBLE)) | WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    TCustomForm* form = GetParentForm(combo_);
    params.WndParent = form ? form->Handle() : nullptr;
}

// While dropped, the list holds the mouse: a press outside it closes it,
// one on its scroll bar scrolls, a release over an item chooses that item.
void TComboListBox::WndProc(TMessage& m) {
    if (Parent() && m.Msg == WM_LBUTTONDBLCLK) {
        TCustomListBox::WndProc(m);
        combo_->Notify(CBN_DBLCLK);
        return;
    }
    if (!Parent() && combo_->dropped_) {
        switch (m.Msg) {
            case WM_MOUSEACTIVATE: m.Result = MA_NOACTIVATE; return;
            case WM_MOUSEMOVE: {
                if (barTracking_) break;
                const int index = ItemAtPos(PointFromLParam(m.LParam));
                if (index >= 0 && index != ItemIndex() && ClientRect().Contains(PointFromLParam(m.LParam)))
                    SetItemIndex(index);
                return;
            }
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: {
                const TPoint p = PointFromLParam(m.LParam);
                if (ClientRect().Contains(p)) return;
                const TPoint screen = ClientToScreen(p);
                if (WindowRect(Handle()).Contains(screen) &&
                    Perform(WM_NCHITTEST, 0, PointToLParam(screen)) == HTVSCROLL) {
                    barTracking_ = true;
                    Perform(WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTVSCROLL), PointToLParam(screen));
                    return;
                }
                combo_->CloseUp(false);
                return;
            }
            case WM_LBUTTONUP: {
                if (barTracking_) {
                    TCustomListBox::WndProc(m);
                    barTracking_ = false;
                    if (combo_->dropped_) SetCapture(Handle());
                    return;
                }
                const TPoint p = PointFromLParam(m.LParam);
                const int index = ClientRect().Contains(p) ? ItemAtPos(p) : -1;
                if (index >= 0) {
                    SetItemIndex(index);
                    combo_->CloseUp(true);
                }
                return;
            }
            case WM_CAPTURECHANGED:
                if (barTracking_) break;
                combo_->CloseUp(false);
                return;
        }
    }
    TCustomListBox::WndProc(m);
}

HWND TComboListBox::ColorOwner() { return combo_->HandleAllocated() ? combo_->Handle() : nullptr; }

void TComboListBox::SendItem(DRAWITEMSTRUCT& dis) {
    if (!combo_->IsOwnerDraw() || !combo_->HandleAllocated()) {
        TCustomListBox::SendItem(dis);
        return;
    }
    dis.CtlType = ODT_COMBOBOX;
    dis.hwndItem = combo_->Handle();
    combo_->SendItem(dis);
}

void TComboListBox::ItemsUpdated() { combo_->ItemsChanged(); }

int TComboListBox::MeasureItem(int index) { return combo_->MeasureItem(index); }

void TComboListBox::SelectionChangedByUser() {
    // In the simple style the list is always there: a click chooses.
    if (Parent()) combo_->ChooseByUser(ItemIndex());
}

// ---- TComboEdit ------------------------------------------------------------------------------

TComboEdit::TComboEdit(TCustomComboBox* combo) : TCustomEdit(combo, false), combo_(combo) {
    SetBorderStyle(bsNone);
    SetTabStop(false);
    SetParentFont(true);
    SetParentColor(true);
}

void TComboEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TComboEdit::WndProc(TMessage& m) {
    TCustomEdit::WndProc(m);
    if ((m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) && !ComponentState().Contains(csDestroying))
        combo_->FocusMoved(m);
}

void TComboEdit::KeyDown(WORD& key, TShiftState shift) {
    const bool comboKey = key == VK_UP || key == VK_DOWN || key == VK_F4 || key == VK_PRIOR ||
                          key == VK_NEXT || (combo_->DroppedDown() && (key == VK_RETURN || key == VK_ESCAPE));
    if (comboKey) {
        combo_->KeyDown(key, shift);
        key = 0;
        return;
    }
    TCustomEdit::KeyDown(key, shift);
    if (key == VK_RETURN || key == VK_ESCAPE) combo_->EditCommitKey(key);
}

void TComboEdit::KeyPress(char16_t& key) {
    // The combo's OnKeyPress sees what is typed into its edit.
    combo_->TWinControl::KeyPress(key);
    if (key) TCustomEdit::KeyPress(key);
}

void TComboEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    // Not a tab stop of its own, yet a click focuses it.
    if (!Focused() && CanFocus()) SetFocus();
    TCustomEdit::MouseDown(button, shift, x, y);
}

void TComboEdit::Change() {
    TCustomEdit::Change();
    if (!combo_->closing_) combo_->Notify(CBN_EDITCHANGE);
}

// Entering and leaving the edit is entering and leaving the combo.
void TComboEdit::DoEnter() {
    TCustomEdit::DoEnter();
    combo_->Invalidate();
    combo_->TWinControl::DoEnter();
}

void TComboEdit::DoExit() {
    if (combo_->DroppedDown()) combo_->CloseUp(false);
    TCustomEdit::DoExit();
    if (FindControl(GetFocus()) != combo_) combo_->TWinControl::DoExit();
}

// ---- TCustomComboBox: setup ------------------------------------------------------------------

void TCustomComboBox::DeclareMessages(TMessageTable& t) {
    t.Add<&TCustomComboBox::WMGetDlgCodeCombo>(WM_GETDLGCODE);
    t.Add<&TCustomComboBox::CNCommand>(CN_COMMAND);
    t.Add<&TCustomComboBox::CNDrawItemCombo>(CN_DRAWITEM);
    t.Add<&TCustomComboBox::WMEraseBkgndCombo>(WM_ERASEBKGND);
    t.Add<&TCustomComboBox::WMSizeCombo>(WM_SIZE);
    t.Add<&TCustomComboBox::WMFocusCombo>(WM_SETFOCUS);
    t.Add<&TCustomComboBox::WMFocusCombo>(WM_KILLFOCUS);
    t.Add<&TCustomComboBox::CMMouseLeaveCombo>(CM_MOUSELEAVE);
    for (UINT msg :
         {CB_GETEDITSEL,     CB_LIMITTEXT,     CB_SETEDITSEL,    CB_ADDSTRING,       CB_DELETESTRING,
          CB_GETCOUNT,       CB_GETCURSEL,     CB_INSERTSTRING,  CB_RESETCONTENT,    CB_SETCURSEL,
          CB_SHOWDROPDOWN,   CB_SETITEMHEIGHT, CB_GETITEMHEIGHT, CB_GETDROPPEDSTATE, CB_GETTOPINDEX,
          CB_SETTOPINDEX,    CB_GETLBTEXT,     CB_GETLBTEXTLEN,  CB_GETITEMDATA,     CB_SETITEMDATA,
          CB_FINDSTRINGEXACT})
        t.Add<&TCustomComboBox::CBMessage>(msg);
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csCaptureMouse, csSetCaption, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    list_ = new TComboListBox(this);
    list_->SetItemHeight(std::max(13, MeasureText(Font(), "Wg", 0, false).cy + 2));
    edit_ = new TComboEdit(this);
    edit_->SetParent(this);
}

// The edit loses the focus as the windows go: it must not tell a combo half gone.
TCustomComboBox::~TCustomComboBox() { Destroying(); }

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    static const DWORD kStyle[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    params.Style |= kStyle[style_];
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomComboBox::CreateHandleDone() { Layout(); }

void TCustomComboBox::SetStyle(TComboBoxStyle s) {
    if (s == style_) return;
    const String text = GetText();
    style_ = s;
    if (HasEdit() != (edit_ != nullptr)) {
        if (edit_) {
            delete edit_;
            edit_ = nullptr;
        } else {
            edit_ = new TComboEdit(this);
            edit_->SetParent(this);
        }
    }
    list_->SetParent(style_ == csSimple ? this : nullptr);
    list_->SetVisible(style_ == csSimple);
    list_->SetStyle(style_ == csOwnerDrawVariable ? lbOwnerDrawVariable
                                                  : (IsOwnerDraw() ? lbOwnerDrawFixed : lbStandard));
    SetText(text);
    RecreateWnd();
    Layout();
    hasFocus_ = HandleAllocated() && GetFocus() && (GetFocus() == Handle() || IsChild(Handle(), GetFocus()));
}

void TCustomComboBox::Resize() {
    TCustomControl::Resize();
    Layout();
}

// The new client size is known only here: Resize comes before the window is sized.
void TCustomComboBox::WMSizeCombo(TMessage& m) {
    WMSize(m);
    Layout();
}

TRect TCustomComboBox::ButtonRect() {
    if (style_ == csSimple) return TRect{};
    const TRect c = ClientRect();
    return TRect{std::max(c.left, c.right - kButtonWidth), c.top, c.right, c.bottom};
}

TRect TCustomComboBox::FaceRect() {
    const TRect c = ClientRect();
    const int faceHeight = style_ == csSimple ? std::min(c.Height(), ItemHeight() + 4) : c.Height();
    return TRect{c.left, c.top, style_ == csSimple ? c.right : ButtonRect().left, c.top + faceHeight};
}

void TCustomComboBox::Layout() {
    if (!HandleAllocated()) return;
    const TRect face = FaceRect();
    if (edit_)
        edit_->SetBounds(face.left + 1, face.top + 1, std::max(0, face.Width() - 2),
                         std::max(0, face.Height() - 2));
    if (style_ == csSimple) {
        const TRect c = ClientRect();
        list_->SetBounds(0, face.bottom, c.Width(), std::max(0, c.Height() - face.bottom));
    }
}

// ---- items, index and text -------------------------------------------------------------------

void TCustomComboBox::ItemsChanged() {
    if (itemIndex_ >= 0 && itemIndex_ < list_->Count()) list_->SetItemIndex(itemIndex_);
    // Clearing the items forgets the index but keeps the text.
    if (list_->Count() == 0) itemIndex_ = -1;
    Invalidate();
}

void TCustomComboBox::Clear() {
    Items()->Clear();
    SetText("");
}

void TCustomComboBox::SetItemIndex(int index) {
    if (index < -1) index = -1;
    itemIndex_ = index;
    if (index < list_->Count()) list_->SetItemIndex(index);
    if (index == -1)
        SetText("");
    else if (index < list_->Count())
        SetText(Items()->Strings(index));
    Invalidate();
}

String TCustomComboBox::GetText() const { return edit_ ? edit_->Text() : faceText_; }

void TCustomComboBox::SetText(const String& text) {
    if (edit_) {
        closing_ = true;  // the program's text is no user edit
        edit_->SetText(text);
        closing_ = false;
    } else {
        // A list style shows only its items' texts.
        const int found = Items()->IndexOf(text);
        if (found >= 0 || text.empty()) faceText_ = found >= 0 ? Items()->Strings(found) : String();
        if (found >= 0) {
            itemIndex_ = found;
            list_->SetItemIndex(found);
        }
        Invalidate();
    }
}

int TCustomComboBox::SelStart() const { return edit_ ? edit_->SelStart() : 0; }
int TCustomComboBox::SelLength() const { return edit_ ? edit_->SelLength() : 0; }
void TCustomComboBox::SetSelStart(int pos) {
    if (edit_) edit_->SetSelStart(pos);
}
void TCustomComboBox::SetSelLength(int length) {
    if (edit_) edit_->SetSelLength(length);
}
String TCustomComboBox::SelText() const { return edit_ ? edit_->SelText() : String(); }
void TCustomComboBox::SelectAll() {
    if (edit_) edit_->SelectAll();
}

void TCustomComboBox::SetMaxLength(int n) {
    maxLength_ = std::max(0, n);
    if (edit_) edit_->SetMaxLength(maxLength_);
}

void TCustomComboBox::SetItemHeight(int h) {
    list_->SetItemHeight(h);
    Invalidate();
}

// ---- dropping down ---------------------------------------------------------------------------

void TCustomComboBox::SetDroppedDown(bool v) {
    if (v)
        DropDown();
    else
        CloseUp(false);
}

void TCustomComboBox::DropDown() {
    if (dropped_ || style_ == csSimple || !HandleAllocated() || !Showing()) return;
    Notify(CBN_DROPDOWN);
    itemBeforeDrop_ = itemIndex_;
    const int rows = std::clamp(list_->Count(), 1, dropDownCount_);
    int height = 2;
    for (int i = 0; i < rows; ++i)
        height += i < list_->Count() && style_ == csOwnerDrawVariable ? MeasureItem(i) : ItemHeight();
    const TRect window = WindowRect(Handle());
    list_->SetBounds(window.left, window.bottom, window.Width(), height);
    list_->SetItemIndex(itemIndex_ < list_->Count() ? itemIndex_ : -1);
    dropped_ = true;
    SetWindowPos(list_->Handle(), HWND_TOPMOST, window.left, window.bottom, window.Width(), height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    list_->SetVisible(true);
    if (itemIndex_ >= 0 && itemIndex_ < list_->Count()) list_->SetTopIndex(itemIndex_);
    ListShown();
    SetCapture(list_->Handle());
    Invalidate();
}

void TCustomComboBox::CloseUp(bool accept) {
    if (!dropped_ || closing_) return;
    closing_ = true;
    dropped_ = false;
    const int chosen = list_->ItemIndex();
    if (GetCapture() == list_->Handle()) ReleaseCapture();
    list_->SetVisible(false);
    if (list_->HandleAllocated()) ShowWindow(list_->Handle(), SW_HIDE);
    Notify(CBN_CLOSEUP);
    closing_ = false;
    Invalidate();
    // The mouse chose elsewhere while the list held it.
    TPoint cursor;
    GetCursorPos(cursor);
    SetButtonHot(ButtonRect().Contains(ScreenToClient(cursor)) && WindowFromPoint(cursor) == Handle());
    if (accept) {
        Notify(CBN_SELENDOK);
        if (chosen >= 0 && chosen != itemBeforeDrop_) ChooseByUser(chosen);
    } else {
        Notify(CBN_SELENDCANCEL);
        if (itemBeforeDrop_ < list_->Count()) list_->SetItemIndex(itemBeforeDrop_);
    }
}

TControl* TCustomComboBox::UiDropDown() {
    if (style_ != csSimple) DropDown();
    return list_;
}

// The user chose an item: the text follows, then the events.
void TCustomComboBox::ChooseByUser(int index) {
    if (index < 0 || index >= list_->Count()) return;
    itemIndex_ = index;
    list_->SetItemIndex(index);
    if (edit_) {
        closing_ = true;
        edit_->SetText(Items()->Strings(index));
        edit_->SelectAll();
        closing_ = false;
    } else {
        faceText_ = Items()->Strings(index);
    }
    Invalidate();
    Notify(CBN_SELCHANGE);
}

void TCustomComboBox::Notify(WORD code) {
    if (!HandleAllocated()) return;
    CommandParent(this, code);
    if (HandleAllocated())
        SendMessage(Handle(), CN_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(Handle()));
}

void TCustomComboBox::FocusMoved(const TMessage& m) {
    auto inside = [this](HWND w) {
        return w && HandleAllocated() && (w == Handle() || IsChild(Handle(), w));
    };
    // wParam: the window the focus came from, or goes to.
    const HWND other = reinterpret_cast<HWND>(m.WParam);
    if (m.Msg == WM_SETFOCUS) {
        // Told once the focus has settled (after OnEnter; the combo may have handed it to its edit).
        if (inside(other) || !inside(GetFocus())) return;
        hasFocus_ = true;
        Notify(CBN_SETFOCUS);
        return;
    }
    if (inside(other) || !hasFocus_) return;
    hasFocus_ = false;
    if (dropped_) CloseUp(false);
    Notify(CBN_KILLFOCUS);
}

void TCustomComboBox::WMFocusCombo(TMessage& m) {
    if (m.Msg == WM_SETFOCUS)
        WMSetFocus(m);
    else
        WMKillFocus(m);
    FocusMoved(m);
}

void TCustomComboBox::SetButtonHot(bool hot) {
    if (hot == buttonHot_) return;
    buttonHot_ = hot;
    if (!HandleAllocated()) return;
    const TRect button = ButtonRect();
    InvalidateRect(Handle(), &button, false);
}

void TCustomComboBox::MouseMove(TShiftState shift, int x, int y) {
    SetButtonHot(ButtonRect().Contains(TPoint{x, y}));
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomComboBox::CMMouseLeaveCombo(TMessage& m) {
    CMMouseLeave(m);
    if (IsOwnMouseMessage(m)) SetButtonHot(false);
}

void TCustomComboBox::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
            Click();
            Select();
            break;
        case CBN_EDITCHANGE: Change(); break;
        case CBN_DBLCLK: DblClick(); break;
        case CBN_DROPDOWN:
            if (OnDropDown) OnDropDown(this);
            break;
        case CBN_CLOSEUP:
            if (OnCloseUp) OnCloseUp(this);
            break;
    }
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

// ---- drawing ---------------------------------------------------------------------------------

int TCustomComboBox::MeasureItem(int index) {
    int h = ItemHeight();
    if (OnMeasureItem) OnMeasureItem(this, index, h);
    return h;
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    HDC dc = Canvas()->Handle();
    FillColor(dc, rect, state.Contains(odSelected) ? clHighlight : Color());
    if (index < 0 || index >= Items()->Count()) return;
    TRect t{rect.left + 2, rect.top, rect.right - 2, rect.bottom};
    DrawCaption(dc, Font(), Items()->Strings(index), t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                state.Contains(odSelected) ? clHighlightText : (Enabled() ? Font()->Color() : clGrayText));
}

void TCustomComboBox::SendItem(DRAWITEMSTRUCT& dis) { SendDrawItem(ParentHandle(this), dis); }

void TCustomComboBox::CNDrawItemCombo(TMessage& m) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    if (!dis) return;
    const TOwnerDrawState state = OwnerDrawStateOf(dis->itemState);
    // A list item comes with the list's DC: the canvas draws there meanwhile.
    TCanvas* canvas = Canvas();
    const HDC previous = canvas->HandleAllocated() ? canvas->Handle() : HDC{};
    if (previous != dis->hDC) canvas->SetHandle(dis->hDC);
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(state.Contains(odSelected) ? clHighlight : Color());
    if (state.Contains(odSelected)) canvas->Font()->SetColor(clHighlightText);
    DrawItem(static_cast<int>(static_cast<int32_t>(dis->itemID)), dis->rcItem, state);
    if (previous != dis->hDC) canvas->SetHandle(previous);
    m.Result = 1;
}

void TCustomComboBox::WMEraseBkgndCombo(TMessage& m) { m.Result = 1; }

void TCustomComboBox::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect face = FaceRect();
    if (!edit_) {
        const bool focused = Focused() && !dropped_;
        TRect item{face.left + 1, face.top + 1, face.right - 1, face.bottom - 1};
        FillColor(dc, face, Enabled() ? Color() : clBtnFace);
        if (IsOwnerDraw()) {
            DRAWITEMSTRUCT dis;
            dis.CtlType = ODT_COMBOBOX;
            dis.itemID = static_cast<UINT>(itemIndex_ < list_->Count() ? itemIndex_ : -1);
            dis.itemState = ODS_COMBOBOXEDIT | (focused ? ODS_SELECTED | ODS_FOCUS : 0u) |
                            (Enabled() ? 0u : ODS_DISABLED);
            dis.hwndItem = Handle();
            dis.hDC = dc;
            dis.rcItem = item;
            const int saved = SaveDC(dc);
            SendItem(dis);
            RestoreDC(dc, saved);
        } else {
            if (focused) FillColor(dc, item, clHighlight);
            TRect t{item.left + 2, item.top, item.right - 2, item.bottom};
            DrawCaption(dc, Font(), faceText_, t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                        !Enabled() ? clGrayText : (focused ? clHighlightText : Font()->Color()));
        }
        if (focused) DrawFocusRect(dc, item);
    } else {
        FillColor(dc, face, Enabled() ? Color() : clBtnFace);
    }
    TRect button = ButtonRect();
    if (!button.IsEmpty())
        DrawFrameControl(dc, &button, DFC_SCROLL,
                         DFCS_SCROLLDOWN | (dropped_ ? unsigned{DFCS_PUSHED} : 0u) |
                             (Enabled() ? 0u : unsigned{DFCS_INACTIVE}));
}

// ---- input -----------------------------------------------------------------------------------

void TCustomComboBox::WMGetDlgCodeCombo(TMessage& m) {
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (dropped_) m.Result |= DLGC_WANTALLKEYS;
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && style_ != csSimple) {
        const bool onButton = ButtonRect().Contains(TPoint{x, y});
        if (dropped_)
            CloseUp(false);
        else if (onButton || !edit_)
            DropDown();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomComboBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const int count = list_->Count();
    if ((key == VK_F4 && !shift.Contains(ssAlt)) ||
        ((key == VK_DOWN || key == VK_UP) && (shift.Contains(ssAlt) || AltHeld()))) {
        SetDroppedDown(!dropped_);
        key = 0;
        return;
    }
    if (dropped_) {
        int index = list_->ItemIndex();
        switch (key) {
            case VK_RETURN:
                CloseUp(true);
                key = 0;
                return;
            case VK_ESCAPE:
                CloseUp(false);
                key = 0;
                return;
            case VK_UP: index = std::max(0, index - 1); break;
            case VK_DOWN: index = std::min(count - 1, index + 1); break;
            case VK_PRIOR: index = std::max(0, index - dropDownCount_ + 1); break;
            case VK_NEXT: index = std::min(count - 1, index + dropDownCount_ - 1); break;
            default: return;
        }
        if (count > 0) list_->SetItemIndex(index);
        key = 0;
        return;
    }
    // Closed: the arrows walk the items without opening the list.
    const int current = itemIndex_ < count ? itemIndex_ : -1;
    int index = current;
    switch (key) {
        case VK_UP: index = std::max(0, current - 1); break;
        case VK_DOWN: index = std::min(count - 1, current + 1); break;
        case VK_PRIOR: index = std::max(0, current - dropDownCount_ + 1); break;
        case VK_NEXT: index = std::min(count - 1, current + dropDownCount_ - 1); break;
        case VK_HOME:
            if (edit_) return;
            index = 0;
            break;
        case VK_END:
            if (edit_) return;
            index = count - 1;
            break;
        default: return;
    }
    key = 0;
    if (count > 0 && index != current) ChooseByUser(index);
}

void TCustomComboBox::KeyPress(char16_t& key) {
    TCustomControl::KeyPress(key);
    if (key < u' ' || edit_ || list_->Count() == 0) return;
    // A list style selects the next item starting with the typed letter.
    const String prefix = UpperCase(WideToUtf8(WideString(1, key)));
    const int count = list_->Count();
    const int from = dropped_ ? list_->ItemIndex() : (itemIndex_ < count ? itemIndex_ : -1);
    for (int step = 1; step <= count; ++step) {
        const int i = (std::max(from, -1) + step + count) % count;
        if (UpperCase(Items()->Strings(i)).rfind(prefix, 0) != 0) continue;
        if (dropped_)
            list_->SetItemIndex(i);
        else
            ChooseByUser(i);
        break;
    }
    key = 0;
}

bool TCustomComboBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    WORD key = wheelDelta > 0 ? VK_UP : VK_DOWN;
    KeyDown(key, {});
    return true;
}

void TCustomComboBox::DoEnter() {
    Invalidate();
    if (edit_ && edit_->CanFocus()) {
        // The edit takes the focus on and raises OnEnter for the combo.
        edit_->SetFocus();
        edit_->SelectAll();
        return;
    }
    TCustomControl::DoEnter();
}

void TCustomComboBox::DoExit() {
    if (dropped_) CloseUp(false);
    Invalidate();
    if (edit_ && FindControl(GetFocus()) == edit_) return;
    TCustomControl::DoExit();
}

// ---- messages --------------------------------------------------------------------------------

void TCustomComboBox::CBMessage(TMessage& m) {
    const int w = static_cast<int>(static_cast<intptr_t>(m.WParam));
    const char* text = reinterpret_cast<const char*>(m.LParam);
    switch (m.Msg) {
        case CB_GETEDITSEL: {
            const int start = SelStart(), end = SelStart() + SelLength();
            if (m.WParam) *reinterpret_cast<int*>(m.WParam) = start;
            if (m.LParam) *reinterpret_cast<int*>(m.LParam) = end;
            m.Result = MAKELPARAM(start, end);
            break;
        }
        case CB_SETEDITSEL:
            if (!edit_) {
                m.Result = CB_ERR;
                break;
            }
            SendMessage(edit_->Handle(), EM_SETSEL,
                        static_cast<WPARAM>(static_cast<int16_t>(LOWORD(m.LParam))),
                        static_cast<int16_t>(HIWORD(m.LParam)));
            m.Result = 1;
            break;
        case CB_LIMITTEXT:
            SetMaxLength(w);
            m.Result = 1;
            break;
        case CB_ADDSTRING: m.Result = Items()->Add(text ? text : ""); break;
        case CB_INSERTSTRING:
            if (w < -1 || w > Items()->Count()) {
                m.Result = CB_ERR;
                break;
            }
            Items()->Insert(w < 0 ? Items()->Count() : w, text ? text : "");
            m.Result = w < 0 ? Items()->Count() - 1 : w;
            break;
        case CB_DELETESTRING:
            if (w < 0 || w >= Items()->Count()) {
                m.Result = CB_ERR;
                break;
            }
            Items()->Delete(w);
            m.Result = Items()->Count();
            break;
        case CB_GETCOUNT: m.Result = Items()->Count(); break;
        case CB_GETCURSEL: m.Result = itemIndex_; break;
        case CB_RESETCONTENT: Clear(); break;
        case CB_SETCURSEL:
            SetItemIndex(w);
            m.Result = w >= 0 && w < Items()->Count() ? w : CB_ERR;
            break;
        case CB_SHOWDROPDOWN:
            SetDroppedDown(m.WParam != 0);
            m.Result = 1;
            break;
        case CB_GETDROPPEDSTATE: m.Result = dropped_; break;
        case CB_SETITEMHEIGHT: SetItemHeight(static_cast<int>(m.LParam)); break;
        case CB_GETITEMHEIGHT: m.Result = ItemHeight(); break;
        case CB_GETTOPINDEX: m.Result = list_->TopIndex(); break;
        case CB_SETTOPINDEX: list_->SetTopIndex(w); break;
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN:
        case CB_GETITEMDATA:
        case CB_SETITEMDATA:
            if (w < 0 || w >= Items()->Count()) {
                m.Result = CB_ERR;
                break;
            }
            if (m.Msg == CB_GETLBTEXTLEN) {
                m.Result = static_cast<LRESULT>(Items()->Get(w).size());
            } else if (m.Msg == CB_GETLBTEXT) {
                const String item = Items()->Get(w);
                if (m.LParam) std::memcpy(reinterpret_cast<char*>(m.LParam), item.c_str(), item.size() + 1);
                m.Result = static_cast<LRESULT>(item.size());
            } else if (m.Msg == CB_GETITEMDATA) {
                m.Result = reinterpret_cast<LRESULT>(Items()->GetObject(w));
            } else {
                Items()->PutObject(w, reinterpret_cast<TObject*>(m.LParam));
                m.Result = 1;
            }
            break;
        case CB_FINDSTRINGEXACT: {
            // From the item after wParam round to it, ignoring case.
            const int count = Items()->Count();
            m.Result = CB_ERR;
            for (int k = 1; k <= count && text; ++k) {
                const int i = ((w < 0 || w >= count ? -1 : w) + k) % count;
                if (SameText(Items()->Get(i), text)) {
                    m.Result = i;
                    break;
                }
            }
            break;
        }
    }
}

}  // namespace tarvel
