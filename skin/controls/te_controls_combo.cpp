#include "skin/controls/te_controls_combo.h"

#include <algorithm>

#include "platform/classlib/Colors.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_winapi.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

namespace {

WideString AsciiLower(WideString s) {
    for (char16_t& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return s;
}

}  // namespace

// ---- the drop-down window ----------------------------------------------------------------------

void TTeComboWindow::DeclareMessages(TMessageTable& t) { t.Add<&TTeComboWindow::WMClose>(WM_CLOSE); }

TTeComboWindow::TTeComboWindow(TTeComboBox* combo) : TForm(combo), combo_(combo) {
    SetBorderStyle(bsNone);
    SetPosition(poDesigned);
    SetKeyPreview(true);
}

void TTeComboWindow::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.Style = (params.Style | WS_POPUP) & ~(WS_CHILD | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

// The owner's caption stays active while its list is open.
void TTeComboWindow::Activate() {
    TForm::Activate();
    if (TCustomForm* owner = GetParentForm(combo_); owner && owner->HandleAllocated())
        SendMessage(owner->Handle(), WM_NCACTIVATE, 1, 0);
}

// A click anywhere else closes the list.
void TTeComboWindow::Deactivate() {
    TForm::Deactivate();
    combo_->AfterDropDown();
}

void TTeComboWindow::KeyDown(WORD& key, TShiftState shift) {
    TForm::KeyDown(key, shift);
    if (key == VK_ESCAPE) {
        key = 0;
        combo_->AfterDropDown();
    } else if (key == VK_RETURN || key == VK_SPACE) {
        key = 0;
        combo_->SetItemIndex(combo_->ListBox()->ItemIndex());
        combo_->AfterDropDown();
    }
}

// ---- the combo box -----------------------------------------------------------------------------

void TTeComboBox::DeclareMessages(TMessageTable& t) { t.Add<&TTeComboBox::WMSetCursor>(WM_SETCURSOR); }

TTeComboBox::TTeComboBox(TComponent* owner) : TTeEdit(owner) {
    window_ = new TTeComboWindow(this);
    list_ = CreateListBox(this);
    list_->SetKeyClick(false);
    list_->SetParent(window_);
    list_->SetTabStop(false);
    list_->OnClick = [this](TObject* s) { DoListBoxClick(s); };
    list_->OnItemsChanged = [this](TObject* s) { DoItemsChanged(s); };
    list_->SetAlign(alClient);
    fontValue_ = new TFont();
    fontValue_->OnChange = [this](TObject* s) { DoFontChange(s); };
    timer_ = new TTimer(this);
    timer_->SetEnabled(false);
    timer_->SetInterval(100);
    timer_->OnTimer = [this](TObject* s) { AutoCompleteTimerFired(s); };
}

TTeComboBox::~TTeComboBox() {
    AfterDropDown();
    ForgetActiveComboBox();
    list_->OnClick = nullptr;
    list_->OnItemsChanged = nullptr;
    delete list_;
    delete window_;
    delete fontValue_;
}

String TTeComboBox::GetText() const {
    if (comboStyle_ == kcsDropDownList && itemIndex_ >= 0 && itemIndex_ < Count())
        return list_->Items()->Get(itemIndex_);
    return TTeEdit::GetText();
}

void TTeComboBox::Clear() {
    TTeEdit::Clear();
    list_->Items()->Clear();
    SetItemIndex(-1);
}

void TTeComboBox::SelectItemByText() {
    const String text = GetText();
    for (int i = 0; i < Count(); ++i)
        if (list_->Items()->Get(i) == text) SetItemIndex(i);
}

void TTeComboBox::SetItemIndex(int index) {
    int j = index < -1 ? 0 : index;
    if (j > Count() - 1) j = Count() - 1;
    if (!forceItemIndex_ && j == itemIndex_) return;
    if (OnAllowChange) {
        bool allow = true;
        OnAllowChange(this, j, Utf8ToWide(list_->Items()->Get(j)), allow);
        if (!allow) return;
    }
    itemIndex_ = j;
    list_->SetItemIndex(j);
    const bool loading = ComponentState().Contains(csLoading);
    if (comboStyle_ == kcsDropDown && !loading && j >= 0) {
        const bool was = autoCompleting_;
        autoCompleting_ = true;
        TTeEdit::SetText(list_->Items()->Get(j));
        autoCompleting_ = was;
    }
    if (comboStyle_ == kcsDropDownList && !loading) Change();
    Invalidate();
}

void TTeComboBox::SetComboStyle(TTeComboStyle value) {
    if (value == comboStyle_) return;
    comboStyle_ = value;
    if (value == kcsDropDown) {
        if (!ComponentState().Contains(csLoading)) SetReadOnly(savedReadOnly_);
        if (IsFocused()) ShowCaret();
        savedReadOnly_ = ReadOnly();
    } else {
        if (itemIndex_ == -1) SetItemIndex(0);
        savedReadOnly_ = ReadOnly();
        SetReadOnly(true);
        TTeEdit::SetText(String());
        if (IsFocused()) HideCaret();
    }
    Invalidate();
}

void TTeComboBox::SetItemHeight(int value) {
    itemHeight_ = std::max(value, 1);
    list_->SetItemHeight(itemHeight_);
}

void TTeComboBox::SetListStyle(TTeListBoxStyle value) {
    list_->SetListStyle(value);
    if (value >= lbsFonts)
        itemHeight_ = list_->ItemHeight();
    else
        list_->SetItemHeight(itemHeight_);
    Invalidate();
}

TColor TTeComboBox::ColorValue() const {
    return itemIndex_ >= 0 && itemIndex_ < Count() ? StringToColor(list_->Items()->Get(itemIndex_))
                                                   : TColor{0};
}

TFont* TTeComboBox::FontValue() {
    if (itemIndex_ >= 0 && itemIndex_ < Count()) {
        // Naming it must not choose another item of the same name.
        namingFont_ = true;
        fontValue_->SetName(list_->Items()->Get(itemIndex_));
        namingFont_ = false;
    }
    return fontValue_;
}

void TTeComboBox::SetFontValue(TFont* value) {
    if (value) fontValue_->Assign(value);
}

void TTeComboBox::DoFontChange(TObject*) {
    if (namingFont_) return;
    for (int i = 0; i < Count(); ++i)
        if (list_->Items()->Get(i) == fontValue_->Name()) {
            SetItemIndex(i);
            return;
        }
}

void TTeComboBox::SetButtonAlign(TTeComboButtonAlign value) {
    if (value == buttonAlign_) return;
    buttonAlign_ = value;
    UpdateCaretePosition();
    Invalidate();
}

void TTeComboBox::DoItemsChanged(TObject*) {
    itemIndex_ = std::min(itemIndex_, Count() - 1);
    if (comboStyle_ == kcsDropDownList && itemIndex_ >= 0) {
        TTeEdit::SetText(list_->Items()->Get(itemIndex_));
        Invalidate();
    }
}

// ---- the list ----------------------------------------------------------------------------------

void TTeComboBox::ButtonClick() {
    AfterDropDown();
    if (OnDropDown) OnDropDown(this);
    if (!HandleAllocated() || !Showing()) return;
    const TPoint corner = ClientToScreen(TPoint{0, Height()});
    const int n = Count() > 0 && Count() < dropDownCount_ ? Count() : dropDownCount_;
    list_->SetItemHeight(itemHeight_);
    list_->SetColor(Color());
    const int frame = list_->GetItemArea().top + (list_->Height() - list_->GetItemArea().bottom);
    const int64_t rows = int64_t{n} * itemHeight_;
    const int height = static_cast<int>(std::min<int64_t>(rows + frame, 32000));
    int x = corner.x, y = corner.y;
    const TRect work = GetRectOfMonitorContainingPoint(corner, true);
    if (y + height > work.bottom) y = corner.y - Height() - height;
    if (x + Width() > work.right) x = work.right - Width();
    window_->SetBounds(x, y, Width(), height);
    for (int i = 0; i < Count(); ++i) list_->SetSelected(i, false);
    list_->SetItemIndex(itemIndex_ >= 0 ? itemIndex_ : 0);
    buttonPressed_ = true;
    window_->Show();
    BeforeDropDown();
    if (list_->CanFocus()) list_->SetFocus();
    list_->Invalidate();
    Invalidate();
}

void TTeComboBox::BeforeDropDown() {
    list_->SetThemeLink(ThemeLink());
    list_->Font()->Assign(Font());
    // A press on a skinned frame closes the list.
    ActiveComboBox = this;
    DoCloseActiveComboBox = [this](TObject*) { AfterDropDown(); };
}

void TTeComboBox::AfterDropDown() {
    if (closing_ || !window_ || !window_->Visible()) return;
    closing_ = true;
    buttonPressed_ = false;
    window_->Hide();
    Invalidate();
    if (Enabled() && CanFocus()) {
        TCustomForm* form = GetParentForm(this);
        TNotifyEvent onActivate = form ? form->OnActivate : nullptr;
        if (form) form->OnActivate = nullptr;
        SetFocus();
        if (form) form->OnActivate = onActivate;
    }
    closing_ = false;
    if (OnCloseUp) OnCloseUp(this);
    ForgetActiveComboBox();
}

void TTeComboBox::ForgetActiveComboBox() {
    if (ActiveComboBox != this) return;
    ActiveComboBox = nullptr;
    DoCloseActiveComboBox = nullptr;
}

void TTeComboBox::DoListBoxClick(TObject*) {
    if (OnListBoxClick) OnListBoxClick(this);
    const int clicked = list_->ItemIndex();
    bool allow = true;
    if (OnAllowChange) OnAllowChange(this, clicked, Utf8ToWide(list_->Items()->Get(clicked)), allow);
    if (allow) SetItemIndex(clicked);
    AfterDropDown();
}

TControl* TTeComboBox::UiDropDown() {
    if (!DroppedDown()) ButtonClick();
    return list_;
}

// ---- auto-complete -----------------------------------------------------------------------------

void TTeComboBox::Change() {
    TTeEdit::Change();
    const auto state = ComponentState();
    if (state.Contains(csLoading) || state.Contains(csDesigning) || !autoComplete_ ||
        comboStyle_ == kcsDropDownList || autoCompleting_)
        return;
    timer_->SetEnabled(false);
    timer_->SetEnabled(true);
}

void TTeComboBox::AutoCompleteTimerFired(TObject*) {
    timer_->SetEnabled(false);
    const WideString typed = WideText();
    if (typed.size() < autoCompleteText_.size()) {
        autoCompleteText_ = typed;
        return;
    }
    if (typed == autoCompleteText_) return;
    autoCompleteText_ = typed;
    autoCompleting_ = true;
    const WideString key = AsciiLower(typed);
    int found = -1;
    for (int i = 0; i < Count() && found < 0; ++i)
        if (AsciiLower(Utf8ToWide(list_->Items()->Get(i))).starts_with(key)) found = i;
    if (found >= 0) {
        SetItemIndex(found);
        // The completed part is selected, up to the end of the text.
        SetSelStart(static_cast<int>(typed.size()));
        SetSelLength(static_cast<int>(WideText().size() - typed.size()));
        // The prefix now reads in the item's case; deleting the completion
        // must find it unchanged.
        autoCompleteText_ = WideText().substr(0, typed.size());
        if (OnMatch) OnMatch(this);
    } else if (OnNotInList) {
        OnNotInList(this);
    }
    autoCompleting_ = false;
}

// ---- keyboard ----------------------------------------------------------------------------------

void TTeComboBox::KeyDown(WORD& key, TShiftState shift) {
    const bool list = comboStyle_ == kcsDropDownList;
    if (key == VK_DOWN && shift.Contains(ssAlt)) {
        key = 0;
        ButtonClick();
        return;
    }
    // Home and End choose in the list style; the edit's own would move its caret.
    const bool choose = key == VK_UP || key == VK_DOWN ||
                        (list && (key == VK_PRIOR || key == VK_NEXT || key == VK_HOME || key == VK_END));
    if (!choose) {
        TTeEdit::KeyDown(key, shift);
        return;
    }
    switch (key) {
        case VK_PRIOR: SetItemIndex(std::max(itemIndex_, 0) - 3); break;
        case VK_NEXT: SetItemIndex(itemIndex_ + 3); break;
        case VK_END: SetItemIndex(Count() - 1); break;
        case VK_HOME: SetItemIndex(0); break;
        case VK_UP:
            if (itemIndex_ > 0) SetItemIndex(itemIndex_ - 1);
            break;
        case VK_DOWN: SetItemIndex(itemIndex_ + 1); break;
        default: break;
    }
    if (itemIndex_ < 0 && Count() > 0) SetItemIndex(0);
    key = 0;
}

void TTeComboBox::KeyUp(WORD& key, TShiftState shift) {
    TTeEdit::KeyUp(key, shift);
    if (key != VK_TAB && key != VK_RETURN && key != VK_UP && key != VK_DOWN && key != 0) SelectItemByText();
}

void TTeComboBox::KeyPress(char16_t& key) {
    TTeEdit::KeyPress(key);
    if (comboStyle_ != kcsDropDownList || Count() == 0 || key < 32) return;
    const WideString typed = Utf8ToWide(LowerCase(WideToUtf8(WideString(1, key))));
    auto begins = [&](int i) { return Utf8ToWide(LowerCase(list_->Items()->Get(i))).starts_with(typed); };
    int found = -1;
    for (int i = itemIndex_ + 1; i < Count() && found < 0; ++i)
        if (begins(i)) found = i;
    for (int i = 0; i < Count() && found < 0; ++i)
        if (begins(i)) found = i;
    if (found >= 0) SetItemIndex(found);
    key = 0;
}

// ---- mouse -------------------------------------------------------------------------------------

void TTeComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    // The button is no part of the text: a press there opens the list.
    if (button == mbLeft && GetButtonRect().Contains(TPoint{x, y}) &&
        !ComponentState().Contains(csDesigning)) {
        if (!Focused() && CanFocus()) SetFocus();
        buttonPressed_ = true;
        Invalidate();
        ButtonClick();
        return;
    }
    TTeEdit::MouseDown(button, shift, x, y);
    if (comboStyle_ == kcsDropDownList && button != mbRight && !ComponentState().Contains(csDesigning))
        ButtonClick();
}

void TTeComboBox::SetButtonHot(bool hot) {
    if (hot == buttonHot_) return;
    buttonHot_ = hot;
    Invalidate();
}

void TTeComboBox::MouseMove(TShiftState shift, int x, int y) {
    TTeEdit::MouseMove(shift, x, y);
    if (!paintButtonOnly_) SetButtonHot(GetButtonRect().Contains(TPoint{x, y}));
}

void TTeComboBox::MouseLeave() {
    TTeEdit::MouseLeave();
    if (!paintButtonOnly_) SetButtonHot(false);
}

// One item per notch.
bool TTeComboBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TTeEdit::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    const int d = TTeListBox::WheelSteps(wheelDelta);
    if (d == 0) return true;
    SetItemIndex(static_cast<int>(std::clamp<int64_t>(int64_t{itemIndex_} - d, 0, INT32_MAX)));
    if (comboStyle_ == kcsDropDownList) Change();
    Invalidate();
    return true;
}

void TTeComboBox::WMSetCursor(TMessage& m) {
    if (comboStyle_ == kcsDropDownList) {
        ::tarvel::SetCursor(LoadCursor(IDC_ARROW));
        m.Result = 0;
        return;
    }
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeComboBox::HasFocus() {
    TTeEdit::HasFocus();
    if (comboStyle_ == kcsDropDownList) {
        HideCaret();
        Invalidate();
    }
}

// ---- geometry and painting ---------------------------------------------------------------------

bool TTeComboBox::ThemedButton() {
    return IsObjectDefined(kescComboBoxLeft, ThemeObject(), ThemeLink()) ||
           IsObjectDefined(kescComboBoxRight, ThemeObject(), ThemeLink());
}

bool TTeComboBox::OwnerDrawnFace() const {
    const TTeListBoxStyle style = list_->ListStyle();
    return comboStyle_ == kcsDropDownList && (style == lbsOwnerDrawFixed || style == lbsOwnerDrawVariable);
}

TRect TTeComboBox::GetEditRect() {
    TRect r = TTeEdit::GetEditRect();
    if (ThemedButton()) {
        TBitmap measure(1, 1);
        r = Theme()->EditGetClientRect(kescComboBoxRight, *measure.Canvas(),
                                       EditInfo(TRect{0, 0, Width(), Height()}, kedsNormal), ThemeObject());
    } else if (OwnerDrawnFace()) {
        r.bottom = std::max(Height() - r.top, r.top);
    }
    if (buttonAlign_ == cbaRight)
        r.right -= GetButtonHeight();
    else
        r.left += GetButtonHeight();
    return r;
}

TRect TTeComboBox::GetButtonRect() {
    TRect r = GetEditRect();
    if (!AutoSize()) r.bottom = Height() - r.top;
    r = TRect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
    if (buttonAlign_ == cbaRight) return TRect{r.right, r.top, r.right + GetButtonHeight(), r.bottom};
    return TRect{r.left - GetButtonHeight(), r.top, r.left, r.bottom};
}

bool TTeComboBox::CanAutoSize(int& newWidth, int& newHeight) {
    if (!OwnerDrawnFace()) return TTeEdit::CanAutoSize(newWidth, newHeight);
    const TRect r = GetEditRect();
    newHeight = itemHeight_ + r.top + (Height() - r.bottom);
    return true;
}

void TTeComboBox::PaintBuffer() {
    TCanvas& c = *Canvas();
    const bool shown = SelectionShown();
    if (Themed()) {
        TteEditDrawState s = DrawState();
        if (s == kedsReadOnly) s = !IsHot() && IsFocused() ? kedsFocused : IsHot() ? kedsHot : kedsNormal;
        Theme()->EditDraw(kescEdit, c, EditInfo(TRect{0, 0, Width(), Height()}, s), "default");
        ApplyStateFont(PaintFont());
        if (shown && itemIndex_ >= 0)
            Theme()->EditDraw(kescEdit, c, EditInfo(GetSelRect(), kedsSelection), "default");
        PaintBackground(TRect{0, 0, Width(), Height()}, c);
        if (comboStyle_ == kcsDropDown) {
            PaintText();
            if (shown) PaintSelectedText();
        }
        return;
    }
    TRect back = GetEditRect();
    back.bottom = Height() - back.top;
    PaintBackground(back, c);
    if (comboStyle_ == kcsDropDownList) return;
    if (shown) FillRect(c, GetSelRect(), clHighlight);
    PaintText();
    if (shown) PaintSelectedText();
}

void TTeComboBox::PaintBackground(const TRect& rect, TCanvas& canvas) {
    if (!paintButtonOnly_) {
        TRect wide = rect;
        const int grow = BorderWidth() + 1;
        if (buttonAlign_ == cbaRight)
            wide.right += grow;
        else
            wide.left -= grow;
        TTeEdit::PaintBackground(wide, canvas);
    }
    const TRect b = GetButtonRect();
    if (ThemedButton()) {
        TteEditButtonInfo info;
        info.Rect = b;
        info.ButtonClass = kebcDropDown;
        info.DrawState = !Enabled()       ? kebdsDisabled
                         : buttonPressed_ ? kebdsPressed
                         : buttonHot_     ? kebdsHot
                                          : kebdsNormal;
        Theme()->EditDrawButton(buttonAlign_ == cbaLeft ? kescComboBoxLeft : kescComboBoxRight, canvas, info,
                                "default");
    } else {
        TRect r = b;
        unsigned state = unsigned{DFCS_SCROLLDOWN} | (buttonPressed_ ? unsigned{DFCS_PUSHED} : 0u) |
                         (Enabled() ? 0u : unsigned{DFCS_INACTIVE});
        DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, state);
    }
    if (paintButtonOnly_) return;
    TRect item = rect;
    if (Themed()) {
        item = GetEditRect();
    } else if (!OwnerDrawnFace()) {
        item = TRect{rect.left - 1, rect.top - 1, rect.right + 1, rect.bottom + 1};
    }
    PaintListItem(item, canvas);
}

void TTeComboBox::PaintListItem(const TRect& rect, TCanvas& canvas) {
    if (comboStyle_ != kcsDropDownList || itemIndex_ < 0 || itemIndex_ >= Count()) return;
    // The item looks chosen exactly while the combo has the focus.
    list_->Font()->Assign(Font());
    if (!Enabled()) ApplyStateFont(canvas.Font());
    list_->SetDrawOverride(IsFocused() && Enabled() ? 1 : 0, true, !Enabled());
    list_->DrawItem(canvas, itemIndex_, rect);
    list_->SetDrawOverride(-1, false);
    // The owner shows the focus of an item it draws; a theme with both
    // button sides shows it in its frame.
    const bool themedBothSides = IsObjectDefined(kescComboBoxLeft, ThemeObject(), ThemeLink()) &&
                                 IsObjectDefined(kescComboBoxRight, ThemeObject(), ThemeLink());
    if (!themedBothSides && IsFocused() && !OwnerDrawnFace()) DrawFocusRect(canvas, rect, clWhite);
}

}  // namespace tarvel
