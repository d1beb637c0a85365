// Check boxes, radio buttons, group boxes and radio groups.

#include "platform/classlib/StdCtrls_Check.h"

#include <algorithm>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {
constexpr int kBoxSize = 13;
constexpr int kBoxGap = 4;
}  // namespace

// ---- TCustomCheckControl ----------------------------------------------------------------

void TCustomCheckControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TCustomCheckControl::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TCustomCheckControl::CMDialogCharCheck>(CM_DIALOGCHAR);
}

TCustomCheckControl::TCustomCheckControl(TComponent* owner) : TButtonControl(owner) {
    ControlStyle = {csSetCaption, csDoubleClicks, csCaptureMouse, csOpaque};
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    SetParentColor(true);
}

String TCustomCheckControl::UiState() {
    static const char* const kNames[] = {"unchecked", "checked", "grayed"};
    return kNames[state_];
}

void TCustomCheckControl::SetState(TCheckBoxState state) {
    if (state == state_) return;
    state_ = state;
    Invalidate();
    CommandParent(this, BN_CLICKED);
    Click();
}

void TCustomCheckControl::SetAlignment(TLeftRight a) {
    alignment_ = a;
    Invalidate();
}

void TCustomCheckControl::SetWordWrap(bool v) {
    wordWrap_ = v;
    Invalidate();
}

void TCustomCheckControl::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    FillColor(dc, r, Color());
    const int boxTop = r.top + (r.Height() - kBoxSize) / 2;
    const bool boxLeft = alignment_ == taRightOfText;
    const int boxX = boxLeft ? r.left : r.right - kBoxSize;
    if (IsRadio())
        DrawRadioBox(dc, boxX, boxTop, Checked(), Enabled(), pushed_);
    else
        DrawCheckBox(dc, boxX, boxTop, state_, Enabled(), pushed_);
    TRect text = boxLeft ? TRect{r.left + kBoxSize + kBoxGap, r.top, r.right, r.bottom}
                         : TRect{r.left, r.top, r.right - kBoxSize - kBoxGap, r.bottom};
    const unsigned format =
        wordWrap_ ? unsigned{DT_WORDBREAK | DT_VCENTER} : unsigned{DT_SINGLELINE | DT_VCENTER};
    DrawCaption(dc, Font(), Caption(), text, format, Enabled() ? Font()->Color() : clGrayText);
    if (Focused() && !Caption().empty()) {
        TSize s = MeasureText(Font(), Caption(), wordWrap_ ? text.Width() : 0, true);
        const int top = text.top + (text.Height() - s.cy) / 2;
        DrawFocusRect(
            dc, TRect{text.left - 1, top - 1, std::min(text.right, text.left + s.cx + 1), top + s.cy + 1});
    }
}

void TCustomCheckControl::SetPushed(bool v) {
    if (v == pushed_) return;
    pushed_ = v;
    Invalidate();
}

void TCustomCheckControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        tracking_ = true;
        SetPushed(true);
    }
    TButtonControl::MouseDown(button, shift, x, y);
}

void TCustomCheckControl::MouseMove(TShiftState shift, int x, int y) {
    if (tracking_) SetPushed(ClientRect().Contains(TPoint{x, y}));
    TButtonControl::MouseMove(shift, x, y);
}

void TCustomCheckControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && tracking_) {
        tracking_ = false;
        const bool inside = pushed_;
        SetPushed(false);
        if (inside) Toggle();
    }
    TButtonControl::MouseUp(button, shift, x, y);
}

void TCustomCheckControl::KeyDown(WORD& key, TShiftState shift) {
    TButtonControl::KeyDown(key, shift);
    if (key == VK_SPACE) SetPushed(true);
}

void TCustomCheckControl::KeyUp(WORD& key, TShiftState shift) {
    TButtonControl::KeyUp(key, shift);
    if (key == VK_SPACE && pushed_) {
        SetPushed(false);
        Toggle();
    }
}

void TCustomCheckControl::DoEnter() {
    Invalidate();
    TButtonControl::DoEnter();
}

void TCustomCheckControl::DoExit() {
    SetPushed(false);
    Invalidate();
    TButtonControl::DoExit();
}

// Arrows move the check within a group of radio buttons.
void TCustomCheckControl::WMGetDlgCode(TMessage& m) {
    m.Result = DLGC_BUTTON | (IsRadio() ? DLGC_WANTARROWS : 0);
}

void TCustomCheckControl::CMDialogCharCheck(TMessage& m) {
    if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        Toggle();
        m.Result = 1;
    }
}

// ---- TCheckBox / TRadioButton ---------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TCustomCheckControl(owner) {}

void TCheckBox::Toggle() {
    static const TCheckBoxState kNext[] = {cbChecked, cbUnchecked, cbUnchecked};
    if (allowGrayed_ && state_ == cbChecked)
        SetState(cbGrayed);
    else
        SetState(kNext[state_]);
}

TRadioButton::TRadioButton(TComponent* owner) : TCustomCheckControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::SetState(TCheckBoxState state) {
    state = state == cbUnchecked ? cbUnchecked : cbChecked;
    if (state == state_) return;
    state_ = state;
    Invalidate();
    if (state != cbChecked) return;
    CommandParent(this, BN_CLICKED);
    if (Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
            if (other && other != this && other->Checked()) other->SetChecked(false);
        }
    }
    Click();
}

void TRadioButton::KeyDown(WORD& key, TShiftState shift) {
    TCustomCheckControl::KeyDown(key, shift);
    if (key != VK_UP && key != VK_DOWN && key != VK_LEFT && key != VK_RIGHT) return;
    if (!Parent()) return;
    // Arrows move the check through the buttons of the group.
    std::vector<TRadioButton*> group;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); b && b->Visible() && b->Enabled())
            group.push_back(b);
    auto it = std::find(group.begin(), group.end(), this);
    if (it == group.end() || group.size() < 2) return;
    const int n = static_cast<int>(group.size());
    int i = static_cast<int>(it - group.begin());
    i = (key == VK_UP || key == VK_LEFT) ? (i + n - 1) % n : (i + 1) % n;
    group[static_cast<size_t>(i)]->SetFocus();
    group[static_cast<size_t>(i)]->SetChecked(true);
    key = 0;
}

// ---- TGroupBox ---------------------------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 185, 105);
    SetParentColor(true);
}

int TGroupBox::CaptionHeight() { return MeasureText(Font(), "Wg", 0, false).cy; }

void TGroupBox::AdjustClientRect(TRect& r) {
    r = TRect{r.left + 2, r.top + CaptionHeight(), r.right - 2, r.bottom - 2};
}

void TGroupBox::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    FillColor(dc, r, Color());
    const int h = CaptionHeight();
    DrawEtchedFrame(dc, TRect{r.left, r.top + h / 2, r.right, r.bottom});
    if (Caption().empty()) return;
    TSize s = MeasureText(Font(), Caption(), 0, true);
    TRect text{r.left + 8, r.top, std::min(r.right - 8, r.left + 8 + s.cx + 2), r.top + h};
    FillColor(dc, text, Color());
    DrawCaption(dc, Font(), Caption(), TRect{text.left + 1, text.top, text.right, text.bottom}, DT_SINGLELINE,
                Enabled() ? Font()->Color() : clGrayText);
}

// ---- TRadioGroup -------------------------------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner), items_(std::make_unique<TStringList>()) {
    items_->OnChange = [this](TObject* s) { ItemsChanged(s); };
}

TRadioGroup::~TRadioGroup() { items_->OnChange = nullptr; }

void TRadioGroup::ItemsChanged(TObject*) {
    const int n = items_->Count();
    while (static_cast<int>(buttons_.size()) > n) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    while (static_cast<int>(buttons_.size()) < n) {
        auto* b = new TRadioButton(this);
        b->SetParent(this);
        b->OnClick = [this](TObject* s) { ButtonClicked(s); };
        buttons_.push_back(b);
    }
    updating_ = true;
    for (int i = 0; i < n; ++i) {
        buttons_[static_cast<size_t>(i)]->SetCaption(items_->Strings(i));
        buttons_[static_cast<size_t>(i)]->SetChecked(i == itemIndex_);
    }
    updating_ = false;
    if (itemIndex_ >= n) itemIndex_ = -1;
    ArrangeButtons();
}

void TRadioGroup::ButtonClicked(TObject* sender) {
    if (updating_) return;
    auto it = std::find(buttons_.begin(), buttons_.end(), sender);
    if (it == buttons_.end() || !(*it)->Checked()) return;
    const int index = static_cast<int>(it - buttons_.begin());
    if (index == itemIndex_) return;
    itemIndex_ = index;
    Click();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= items_->Count()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    updating_ = true;
    for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetChecked(static_cast<int>(i) == index);
    updating_ = false;
    Click();
}

void TRadioGroup::SetColumns(int columns) {
    columns_ = std::clamp(columns, 1, 16);
    ArrangeButtons();
}

void TRadioGroup::Resize() {
    TGroupBox::Resize();
    ArrangeButtons();
}

void TRadioGroup::CreateHandleDone() { ArrangeButtons(); }

void TRadioGroup::ArrangeButtons() {
    if (buttons_.empty()) return;
    TRect area{0, 0, Width(), Height()};
    AdjustClientRect(area);
    area = InflatedRect(area, -6, -2);
    const int n = static_cast<int>(buttons_.size());
    const int rows = (n + columns_ - 1) / columns_;
    const int colWidth = std::max(1, area.Width() / columns_);
    const int rowHeight = std::max(1, area.Height() / std::max(1, rows));
    for (int i = 0; i < n; ++i) {
        const int col = i / rows, row = i % rows;
        const int h = std::min(rowHeight, 17);
        buttons_[static_cast<size_t>(i)]->SetBounds(
            area.left + col * colWidth, area.top + row * rowHeight + (rowHeight - h) / 2, colWidth, h);
    }
}

TRect TRadioGroup::UiItemRect(int index) {
    TControl* b = Buttons(index);
    return b->BoundsRect();
}

}  // namespace tarvel
