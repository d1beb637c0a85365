#include "skin/controls/te_controls_group.h"

#include <algorithm>

#include "platform/classlib/Application.h"
#include "platform/classlib/StdCtrlMessages.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

constexpr unsigned kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

bool Reading(const TComponent* c) { return c->ComponentState().Contains(csReading); }

}  // namespace

// ---- TTeGroupBox --------------------------------------------------------------------------

void TTeGroupBox::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeGroupBox::CMDialogChar>(CM_DIALOGCHAR);
    t.Add<&TTeGroupBox::CMTextChanged>(CM_TEXTCHANGED);
    t.Add<&TTeGroupBox::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TTeGroupBox::WMSize>(WM_SIZE);
    t.Add<&TTeGroupBox::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeGroupBox::TTeGroupBox(TComponent* owner) : TTeControl(owner), TTeThemeLinked(this, {ktlrRepaintOnly}) {
    ControlStyle =
        ControlStyle + TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                     csOpaque,          csDoubleClicks, csReplicatable};
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 100, 90);
    AddThemeNotification(this);
}

TTeGroupBox::~TTeGroupBox() {
    RemoveThemeNotification(this);
    delete std::exchange(checkBox_, nullptr);
}

void TTeGroupBox::SetCaption(const WideString& value) {
    caption_ = value;
    SetText(WideToUtf8(value));
    TakeCaption();
}

// The caption is the control's text, however it was set: the title drawn,
// its check box's and the accelerator all follow it.
void TTeGroupBox::TakeCaption() {
    caption_ = Utf8ToWide(Text());
    if (checkBox_) {
        checkBox_->SetCaption(caption_);
        AdjustCheckBounds();
    }
    Invalidate();
}

void TTeGroupBox::SetCaptionMargin(int value) {
    captionMargin_ = value;
    if (checkBox_) AdjustCheckBounds();
    Invalidate();
}

TTeLeftRight TTeGroupBox::CheckBoxAlignment() const {
    return checkBox_ ? checkBox_->Alignment() : checkBoxAlignment_;
}

void TTeGroupBox::SetCheckBoxAlignment(TTeLeftRight value) {
    checkBoxAlignment_ = value;
    if (checkBox_) checkBox_->SetAlignment(value);
}

void TTeGroupBox::SetChecked(bool value) {
    if (value != checked_) ModifyChecked(value);
}

void TTeGroupBox::ModifyChecked(bool value) {
    checked_ = value;
    if (!checkBox_) return;
    checkBox_->SetChecked(value);
    SetEnabled(value);
}

void TTeGroupBox::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

TTeCheckBox* TTeGroupBox::CreateCheckBox() { return new TTeCheckBox(this); }

void TTeGroupBox::SetUseCheckBox(bool value) {
    useCheckBox_ = value;
    if (value) {
        if (!checkBox_) checkBox_ = CreateCheckBox();
        checkBox_->SetParent(this);
        checkBox_->OnClick = [this](TObject* sender) { CheckBoxClick(sender); };
        checkBox_->SetTransparent(true);
        checkBox_->SetAlignment(checkBoxAlignment_);
        checkBox_->SetChecked(checked_);
        checkBox_->SetTop(0);
        checkBox_->SetCaption(caption_);
        checkBox_->SetAutoSize(true);
        AdjustCheckBounds();
    } else {
        delete std::exchange(checkBox_, nullptr);
    }
    // The children follow the box, or the group again.
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TTeGroupBox::CheckBoxClick(TObject*) {
    if (OnClick) OnClick(this);
    ModifyChecked(checkBox_ && checkBox_->Checked());
    if (OnCheckBoxClick) OnCheckBoxClick(this);
}

// The check box keeps the group usable: the group reads enabled while it
// is in use, and disabling reaches only the other children.
void TTeGroupBox::SetEnabled(bool value) {
    const bool stored = useCheckBox_ || value;
    if (stored == Enabled())
        Perform(CM_ENABLEDCHANGED, 0, 0);
    else
        TTeControl::SetEnabled(stored);
}

void TTeGroupBox::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (checkBox_) {
            if (child != checkBox_) child->SetEnabled(checked_);
        } else {
            child->SetEnabled(Enabled());
        }
    }
    Invalidate();
}

void TTeGroupBox::AdjustCheckBounds() {
    if (!checkBox_) return;
    checkBox_->SetBoundsRect(GetCaptionRect());
    checkBox_->AdjustWidth();
}

void TTeGroupBox::Loaded() {
    TTeControl::Loaded();
    SetUseCheckBox(useCheckBox_);
}

void TTeGroupBox::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == checkBox_) checkBox_ = nullptr;
}

void TTeGroupBox::WMSize(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    AdjustCheckBounds();
}

void TTeGroupBox::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
        case tmReleased:
            Invalidate();
            AdjustCheckBounds();
            break;
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeGroupBox::CMTextChanged(TMessage& m) {
    DefaultHandler(m);
    TakeCaption();
}

void TTeGroupBox::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<char16_t>(m.WParam), WideToUtf8(caption_)) && CanFocus()) {
        if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
        m.Result = 1;
        return;
    }
    DispatchFrom(inherited::StaticClass(), m);
}

// ---- geometry -----------------------------------------------------------------------------

bool TTeGroupBox::Themed() { return IsObjectDefined(kgscGroupBox, themeObject_, themeLink_) && Theme(); }

void TTeGroupBox::SelectFont(TCanvas& canvas, bool painting) {
    canvas.Font()->Assign(Font());
    if (!Themed()) return;
    const TteThemeFont index = painting && !Enabled() ? ktfGroupBoxTextDisabled : ktfGroupBoxTextNormal;
    if (TFont* font = Theme()->Fonts()->GetFontForObject(index, themeObject_)) canvas.Font()->Assign(font);
}

int TTeGroupBox::CaptionHeight() {
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    SelectFont(*scratch.GetCanvas(), false);
    return TextHeight(*scratch.GetCanvas(), caption_.empty() ? u"Tg" : caption_);
}

TRect TTeGroupBox::GetCaptionRect() {
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas& c = *scratch.GetCanvas();
    SelectFont(c, false);
    const int h = TextHeight(c, caption_);
    if (checkBox_) return TRect{captionMargin_, 0, captionMargin_ + checkBox_->Width(), h + 6};
    return TRect{captionMargin_, 0, captionMargin_ + TextWidth(c, caption_), h};
}

TRect TTeGroupBox::GetBoxRect() {
    const int h = checkBox_ ? checkBox_->Height() : CaptionHeight();
    return TRect{3, h / 2 + 1, Width() - 2, Height() - 2};
}

TRect TTeGroupBox::GetClientRect() {
    const int top = checkBox_ ? checkBox_->Height() : CaptionHeight();
    return TRect{12, top, Width() - 12, Height() - 8};
}

// ---- painting -----------------------------------------------------------------------------

void TTeGroupBox::PaintBuffer() {
    TCanvas& c = *Canvas();
    const bool themed = Themed();
    const bool see = themed ? Theme()->IsGroupTransparent(kgscGroupBox, themeObject_) : transparent_;
    if (see)
        DrawControlBackground(this, c);
    else
        FillRect(c, TRect{0, 0, Width(), Height()}, Color());
    SelectFont(c, true);
    const TRect frame = GetBoxRect();
    const TRect caption = GetCaptionRect();
    if (themed) {
        // The frame is drawn by the default object whatever ThemeObject names.
        const TteGroupInfo info = GroupInfo(frame, caption, Enabled() ? kgdsNormal : kgdsDisabled);
        Theme()->GroupDraw(kgscGroupBox, c, info, "default");
        if (!checkBox_)
            Theme()->GroupDrawText(kgscGroupBox, c, info, TextInfo(caption, caption_, kCaptionFormat),
                                   "default");
        return;
    }
    PaintClassicFrame(c, frame, caption);
    if (checkBox_) return;
    TRect t = caption;
    if (!Enabled()) {
        TRect shadow = t;
        shadow.Offset(1, 1);
        c.Font()->SetColor(clBtnHighlight);
        DrawText(c, caption_, shadow, kCaptionFormat);
        c.Font()->SetColor(clBtnShadow);
    }
    DrawText(c, caption_, t, kCaptionFormat);
}

// Two passes, light then dark one pixel up and left, each leaving a gap
// for the caption in the top line.
void TTeGroupBox::PaintClassicFrame(TCanvas& c, const TRect& frame, const TRect& caption) {
    const TColor colours[2] = {clBtnHighlight, clBtnShadow};
    for (int pass = 0; pass < 2; ++pass) {
        TRect r = frame;
        r.Offset(-pass, -pass);
        const TColor col = colours[pass];
        MoveTo(c, r.left, r.top);
        LineTo(c, caption.left, r.top, col);
        MoveTo(c, caption.right, r.top);
        LineTo(c, r.right, r.top, col);
        LineTo(c, r.right, r.bottom, col);
        LineTo(c, r.left, r.bottom, col);
        LineTo(c, r.left, r.top, col);
    }
}

// ---- TTeGroupButton -----------------------------------------------------------------------

TTeGroupButton::TTeGroupButton(TTeRadioGroup* group) : TTeRadioButton(group), group_(group) {
    group->buttons_.push_back(this);
    SetVisible(false);
    SetEnabled(group->Enabled());
    SetParentShowHint(false);
    OnClick = [group](TObject* sender) { group->ButtonClick(sender); };
    SetParent(group);
    SetTransparent(true);
}

TTeGroupButton::~TTeGroupButton() { std::erase(group_->buttons_, this); }

void TTeGroupButton::DeclareMessages(TMessageTable& t) { t.Add<&TTeGroupButton::CNCommand>(CN_COMMAND); }

void TTeGroupButton::KeyDown(WORD& key, TShiftState shift) {
    TTeRadioButton::KeyDown(key, shift);
    group_->KeyDown(key, shift);
}

// A group that may not change swallows the keys that would change it.
void TTeGroupButton::KeyPress(char16_t& key) {
    TTeRadioButton::KeyPress(key);
    group_->KeyPress(key);
    if ((key == u'\b' || key == u' ') && !group_->CanModify()) key = 0;
}

// A click notification goes on only while the group may change, and never
// re-enters; what it throws is reported, not passed up the message loop.
void TTeGroupButton::CNCommand(TMessage& m) {
    if (inClick_) return;
    inClick_ = true;
    try {
        const WORD code = HIWORD(m.WParam);
        if ((code == 0 || code == 5) && group_->CanModify()) DispatchFrom(inherited::StaticClass(), m);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
    inClick_ = false;
}

// ---- TTeRadioGroup ------------------------------------------------------------------------

void TTeRadioGroup::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeRadioGroup::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TTeRadioGroup::CMFontChanged>(CM_FONTCHANGED);
    t.Add<&TTeRadioGroup::WMSize>(WM_SIZE);
}

TTeRadioGroup::TTeRadioGroup(TComponent* owner)
    : TTeGroupBox(owner), items_(std::make_unique<TStringList>()) {
    ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    items_->OnChange = [this](TObject* sender) { ItemsChange(sender); };
}

TTeRadioGroup::~TTeRadioGroup() {
    while (!buttons_.empty()) delete buttons_.back();
    items_->OnChange = nullptr;
}

void TTeRadioGroup::ItemsChange(TObject*) {
    if (Reading(this)) return;
    itemIndex_ = std::min(itemIndex_, items_->Count() - 1);
    UpdateButtons();
}

void TTeRadioGroup::UpdateButtons() {
    const auto count = static_cast<size_t>(items_->Count());
    while (buttons_.size() < count) new TTeGroupButton(this);
    while (buttons_.size() > count) delete buttons_.back();
    updating_ = true;
    for (size_t i = 0; i < count; ++i)
        buttons_[i]->SetCaption(Utf8ToWide(items_->Strings(static_cast<int>(i))));
    if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
    updating_ = false;
    ArrangeButtons();
    Invalidate();
}

void TTeRadioGroup::ArrangeButtons() {
    if (buttons_.empty() || Reading(this)) return;
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas& c = *scratch.GetCanvas();
    c.Font()->Assign(Font());
    TEXTMETRICW metrics;
    GetTextMetricsW(c.Handle(), &metrics);
    const int count = ButtonCount();
    const int rows = (count + columns_ - 1) / columns_;
    const int columnWidth = ClientWidth() / columns_;
    const int freeHeight = Height() - metrics.tmHeight - 5;
    const int buttonHeight = freeHeight / rows;
    const int topMargin = (freeHeight % rows) / 2 + metrics.tmHeight + 1;
    for (int i = 0; i < count; ++i) {
        TTeGroupButton* b = buttons_[static_cast<size_t>(i)];
        const int x = (i / rows) * columnWidth + 8;
        const int y = (i % rows) * buttonHeight + topMargin;
        b->SetBounds(x, y, columnWidth, buttonHeight);
        b->SetVisible(true);
    }
}

void TTeRadioGroup::Loaded() {
    TTeGroupBox::Loaded();
    UpdateButtons();
}

void TTeRadioGroup::SetColumns(int value) {
    value = std::clamp(value, 1, 16);
    if (value == columns_) return;
    columns_ = value;
    ArrangeButtons();
    Invalidate();
}

void TTeRadioGroup::SetItemIndex(int value) {
    if (Reading(this)) {
        itemIndex_ = value;
        return;
    }
    value = std::clamp(value, -1, ButtonCount() - 1);
    if (value == itemIndex_) return;
    if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(false);
    itemIndex_ = value;
    if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
}

void TTeRadioGroup::ButtonClick(TObject* sender) {
    if (updating_) return;
    const auto it = std::find(buttons_.begin(), buttons_.end(), sender);
    if (it == buttons_.end()) return;
    itemIndex_ = static_cast<int>(it - buttons_.begin());
    TControl::Changed();
    if (OnClick) OnClick(this);
}

void TTeRadioGroup::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    for (TTeGroupButton* b : buttons_) b->SetEnabled(Enabled());
}

void TTeRadioGroup::CMFontChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    ArrangeButtons();
}

void TTeRadioGroup::WMSize(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    ArrangeButtons();
}

}  // namespace tarvel
