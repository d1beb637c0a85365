#include "skin/controls/te_controls_spin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrlMessages.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_bitmap.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

constexpr char16_t kDecimalSeparator = u'.';

int64_t SaturatedInt64(long double x) {
    if (std::isnan(x)) return 0;
    if (x >= 9.2233720368547758e18L) return INT64_MAX;
    if (x <= -9.2233720368547758e18L) return INT64_MIN;
    return static_cast<int64_t>(x);
}

int SaturatedInt(long double x) {
    if (std::isnan(x)) return 0;
    return static_cast<int>(std::clamp<long double>(std::trunc(x), INT32_MIN, INT32_MAX));
}

// Digits with an optional sign, in the base given; none when anything else
// is there or nothing is.
std::optional<long double> ReadWhole(const String& text, int base) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long double v = 0;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        int d = ch >= '0' && ch <= '9'   ? ch - '0'
                : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                         : 99;
        if (d >= base) return std::nullopt;
        v = v * base + d;
    }
    return negative ? -v : v;
}

std::optional<long double> ReadFloat(const String& text) {
    if (text.empty() || text.find_first_not_of("+-0123456789.eE") != String::npos) return std::nullopt;
    char* end = nullptr;
    const long double v = std::strtold(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

String Hex(long double magnitude) {
    uint64_t n = static_cast<uint64_t>(std::min<long double>(std::nearbyint(magnitude), 1.8e19L));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(n));
    return buffer;
}

}  // namespace

std::optional<int> ReadInteger(const String& text) {
    const auto v = ReadWhole(text, 10);
    if (!v || *v > INT32_MAX || *v < INT32_MIN) return std::nullopt;
    return static_cast<int>(*v);
}

// ---- the arrow ---------------------------------------------------------------------------------

namespace {

// Our stock arrows: a black triangle, 9 x 6, on white (the key colour).
std::unique_ptr<TBitmap> MakeSpinGlyph(bool up) {
    auto bitmap = std::make_unique<TBitmap>(9, 6);
    TCanvas& c = *bitmap->Canvas();
    FillRect(c, TRect{0, 0, 9, 6}, clWhite);
    for (int row = 0; row < 4; ++row) {
        const int y = up ? 1 + row : 4 - row;
        FillRect(c, TRect{4 - row, y, 5 + row, y + 1}, clBlack);
    }
    return bitmap;
}

}  // namespace

TTeSpinArrow::TTeSpinArrow(TComponent* owner, bool up) : TTeGraphicControl(owner), up_(up) {
    // The arrow clicks itself: once on release, or by the repeat instead.
    ControlStyle.Exclude(csClickEvents);
    timer_ = new TTimer(this);
    timer_->SetEnabled(false);
    timer_->OnTimer = [this](TObject* s) { Repeat(s); };
    glyph_ = MakeSpinGlyph(up);
}

void TTeSpinArrow::SetGlyph(TBitmap* value) {
    if (value && !value->Empty()) {
        glyph_->Assign(value);
    } else {
        glyph_ = MakeSpinGlyph(up_);
        numGlyphs_ = 1;
    }
    Invalidate();
}

void TTeSpinArrow::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (value == numGlyphs_) return;
    numGlyphs_ = value;
    Invalidate();
}

void TTeSpinArrow::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (auto* spin = dynamic_cast<TTeSpinButton*>(Parent())) spin->ButtonPressed(this);
    pressed_ = true;
    repeated_ = false;
    timer_->SetInterval(400);
    timer_->SetEnabled(true);
    Invalidate();
}

void TTeSpinArrow::Repeat(TObject*) {
    timer_->SetInterval(100);
    if (!pressed_ || !IsHot()) return;
    repeated_ = true;
    Click();
}

void TTeSpinArrow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    // The repeat ends with every release, wherever it happens.
    timer_->SetEnabled(false);
    const bool click = pressed_ && !repeated_ && ClientRect().Contains(TPoint{x, y});
    pressed_ = false;
    Invalidate();
    TTeGraphicControl::MouseUp(button, shift, x, y);
    if (click) Click();
}

void TTeSpinArrow::MouseEnter() {
    TTeGraphicControl::MouseEnter();
    Invalidate();
}

void TTeSpinArrow::MouseLeave() {
    TTeGraphicControl::MouseLeave();
    Invalidate();
}

TteCustomThemeLink* TTeSpinArrow::ArrowLink() const {
    auto* spin = dynamic_cast<TTeSpinButton*>(Parent());
    return spin ? spin->ThemeLink() : nullptr;
}

TteTheme* TTeSpinArrow::ArrowTheme() const { return GetThemeLink(ArrowLink()); }

void TTeSpinArrow::DrawGlyphCell(TCanvas& c, const TRect& r, TPoint offset, const TteToolItemInfo* themed) {
    if (glyph_->Empty()) return;
    TteBitmap whole;
    whole.Assign(glyph_.get());
    const TSize cell{whole.Width() / numGlyphs_, whole.Height()};
    int index = numGlyphs_ > 1 && !Enabled() ? 1 : 0;
    if (numGlyphs_ > 2 && Down()) index += 2;
    TteBitmap face;
    MakeGlyphFace(whole, whole.GetPixel(0, whole.Height() - 1) & 0xFFFFFF, std::min(index, numGlyphs_ - 1),
                  cell, {.disabledGrey = numGlyphs_ == 1 && !Enabled()}, face);
    const int left = r.left + (r.Width() - cell.cx) / 2 + offset.x;
    const int top = r.top + (r.Height() - cell.cy) / 2 + offset.y;
    if (themed) {
        const TRect at{left, top, left + cell.cx, top + cell.cy};
        TteToolItemInfo item = *themed;
        item.Rect = at;
        ArrowTheme()->ToolDrawItemGlyph(ktscToolBar, c, item, ToolGlyphInfo(at, &face, kgfaCenter, ktigGlyph),
                                        "default");
        return;
    }
    face.Draw(c, left, top);
}

// A theme with arrow buttons of its own draws them and nothing else; a theme
// with tool items only draws the face, and our glyph goes on it; without a
// theme the glyph sits on a classic button.
void TTeSpinArrow::PaintBuffer() {
    TCanvas& c = *Canvas();
    const TRect r = ClientRect();
    TteTheme* theme = ArrowTheme();
    TteCustomThemeLink* link = ArrowLink();
    if (theme && IsObjectDefined(kbscSpinUp, "default", link) &&
        IsObjectDefined(kbscSpinDown, "default", link)) {
        const TteButtonDrawState s = !Enabled() ? kbdsDisabled
                                     : Down()   ? kbdsPressed
                                     : IsHot()  ? kbdsHot
                                                : kbdsNormal;
        theme->ButtonDraw(up_ ? kbscSpinUp : kbscSpinDown, c, ButtonInfo(r, s), "default");
        return;
    }
    if (theme && IsObjectDefined(ktscToolBar, "default", link)) {
        const TteToolItemDrawState s = !Enabled() ? mtidsDisabled
                                       : Down()   ? mtidsPressed
                                       : IsHot()  ? mtidsHot
                                                  : mtidsNormal;
        const TteToolItemInfo item = ToolItemInfo(r, kticNormal, s);
        theme->ToolDrawItem(ktscToolBar, c, item, "default");
        DrawGlyphCell(c, r, TPoint{}, &item);
        return;
    }
    // Classic: raised while up; pressed, the flat button's sunken edge.
    if (Down()) {
        FillRect(c, r, clBtnFace);
        DrawEdge(c, r, clBtnShadow, clBtnHighlight);
    } else {
        TRect face = r;
        DrawFrameControl(c.Handle(), &face, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
    DrawGlyphCell(c, r, Down() ? TPoint{1, 1} : TPoint{}, nullptr);
}

// ---- the spin button ---------------------------------------------------------------------------

void TTeSpinButton::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSpinButton::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TTeSpinButton::CMEnabledChanged>(CM_ENABLEDCHANGED);
}

// The arrows grey with the spin button (and so with a spin edit).
void TTeSpinButton::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    for (TTeSpinArrow* b : {up_, down_})
        if (b) b->SetEnabled(Enabled());
}

TTeSpinButton::TTeSpinButton(TComponent* owner)
    : TTeSpinButton(owner, [](TTeSpinButton* self, bool up) { return new TTeSpinArrow(self, up); }) {}

TTeSpinButton::TTeSpinButton(TComponent* owner, const TArrowFactory& makeArrow)
    : TTeControl(owner), TTeThemeLinked(this, {ktlrRepaintOnly, ktlrDefaultKeepsPlace}) {
    up_ = makeArrow(this, true);
    down_ = makeArrow(this, false);
    for (TTeSpinArrow* b : {up_, down_}) b->SetParent(this);
    up_->OnClick = [this](TObject*) { UpClick(); };
    down_->OnClick = [this](TObject*) { DownClick(); };
    timer_ = new TTimer(this);
    timer_->SetEnabled(false);
    timer_->SetInterval(400);
    timer_->OnTimer = [this](TObject* s) { CheckAssosiate(s); };
    SetTabStop(false);
    SetBounds(Left(), Top(), 15, 21);
    AddThemeNotification(this);
}

TTeSpinButton::~TTeSpinButton() {
    RemoveThemeNotification(this);
    up_->OnClick = nullptr;
    down_->OnClick = nullptr;
}

void TTeSpinButton::SetThemeLink(TteCustomThemeLink* value) {
    TTeThemeLinked::SetThemeLink(value);
    for (TTeSpinArrow* b : {up_, down_})
        if (b) b->Invalidate();
}

void TTeSpinButton::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation == TOperation::opRemove && component == associate_) {
        associate_ = nullptr;
        if (timer_) timer_->SetEnabled(false);
    }
}

int TTeSpinButton::Clamp(int64_t p) const {
    if (min_ != max_) p = std::clamp<int64_t>(p, min_, max_);
    return static_cast<int>(std::clamp<int64_t>(p, INT32_MIN, INT32_MAX));
}

void TTeSpinButton::SetPosition(int value) {
    if (value == position_) return;
    const int old = position_;
    position_ = Clamp(value);
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) {
        position_ = old;
        return;
    }
    UpdateAssociate();
}

void TTeSpinButton::IntSetPos(int value) { position_ = Clamp(value); }

void TTeSpinButton::SetMax(int value) {
    if (value == max_) return;
    max_ = std::max(value, min_);
    if (max_ != min_ && position_ > max_) position_ = max_;
    UpdateAssociate();
}

void TTeSpinButton::SetMin(int value) {
    if (value == min_) return;
    min_ = std::min(value, max_);
    if (max_ != min_ && position_ < min_) position_ = min_;
    UpdateAssociate();
}

void TTeSpinButton::UpClick() {
    SetPosition(Clamp(int64_t{position_} + increment_));
    if (OnUpClick) OnUpClick(this);
}

void TTeSpinButton::DownClick() {
    SetPosition(Clamp(int64_t{position_} - increment_));
    if (OnDownClick) OnDownClick(this);
}

void TTeSpinButton::ButtonPressed(TTeSpinArrow*) {
    if (associate_ && associate_->TabStop() && associate_->CanFocus() && !associate_->Focused())
        associate_->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TTeSpinButton::WMGetDlgCode(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    m.Result = DLGC_WANTARROWS;
}

void TTeSpinButton::KeyDown(WORD& key, TShiftState) {
    if (key == VK_UP || key == VK_SPACE) UpClick();
    if (key == VK_DOWN) DownClick();
}

void TTeSpinButton::SetBounds(int left, int top, int width, int height) {
    TTeControl::SetBounds(left, top, width, height);
    AdjustSize();
}

void TTeSpinButton::SetEnabledSlider(bool value) {
    if (value == enabledSlider_) return;
    enabledSlider_ = value;
    AdjustSize();
}

void TTeSpinButton::AdjustSize() {
    if (!up_ || ComponentState().Contains(csLoading)) return;
    const int w = Width(), h = Height();
    const int half = h / 2;
    const int b = std::max(enabledSlider_ ? half - 1 : half, 0);
    up_->SetBounds(0, 0, w, b);
    down_->SetBounds(0, h - b, w, b);
}

void TTeSpinButton::SetSpinAlign(TTeSpinAlign value) {
    spinAlign_ = value;
    UpdateAssociatePosition();
}

void TTeSpinButton::SetAssociate(TWinControl* value) {
    if (value == associate_) return;
    if (associate_) associate_->RemoveFreeNotification(this);
    associate_ = value;
    timer_->SetEnabled(value != nullptr);
    if (!value) return;
    value->FreeNotification(this);
    UpdateAssociate();
    UpdateAssociatePosition();
}

void TTeSpinButton::UpdateAssociatePosition() {
    if (!associate_ || dynamic_cast<TTeSpinEdit*>(associate_)) return;
    const int left =
        spinAlign_ == saRight ? associate_->Left() + associate_->Width() : associate_->Left() - 15;
    SetBounds(left, associate_->Top(), 15, associate_->Height());
}

void TTeSpinButton::UpdateAssociate() {
    if (!associate_ || dynamic_cast<TTeSpinEdit*>(associate_)) return;
    syncingAssociate_ = true;
    try {
        // Text that is no number is rewritten whatever the position.
        const auto shown = ReadInteger(associate_->Text());
        if (!shown || *shown != position_) {
            associate_->SetText(IntToStr(position_));
            associate_->Refresh();
        }
    } catch (...) {
        syncingAssociate_ = false;
        throw;
    }
    syncingAssociate_ = false;
}

void TTeSpinButton::CheckAssosiate(TObject*) {
    if (syncingAssociate_ || !associate_ || dynamic_cast<TTeSpinEdit*>(associate_)) return;
    const auto typed = ReadInteger(associate_->Text());
    if (typed && *typed != position_) SetPosition(*typed);
}

void TTeSpinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    const int h = Height();
    if (enabledSlider_ && button == mbLeft && y >= h / 2 - 1 && y < h / 2 + 1) {
        sliderDragging_ = true;
        dragStartY_ = y;
        dragStartPosition_ = position_;
    }
}

void TTeSpinButton::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    if (!sliderDragging_) return;
    const int64_t step = int64_t{increment_} * (dragStartY_ - y);
    SetPosition(Clamp(std::clamp<int64_t>(int64_t{position_} + step, INT32_MIN, INT32_MAX)));
}

void TTeSpinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    sliderDragging_ = false;
    TTeControl::MouseUp(button, shift, x, y);
}

void TTeSpinButton::PaintBuffer() {
    if (ComponentState().Contains(csDesigning) && !CurrentTheme) FillRect(*Canvas(), ClientRect(), Color());
}

// ---- the spin edit -----------------------------------------------------------------------------

TTeSpinEdit::TTeSpinEdit(TComponent* owner)
    : TTeSpinEdit(owner, [](TTeInplaceControlEdit* self) { return new TTeSpinButton(self); }) {}

TTeSpinEdit::TTeSpinEdit(TComponent* owner,
                         const std::function<TTeSpinButton*(TTeInplaceControlEdit*)>& makeSpin)
    : TTeInplaceControlEdit(owner, [&makeSpin](TTeInplaceControlEdit* self) { return makeSpin(self); }) {
    ControlStyle.Exclude(csSetCaption);
    TTeEdit::SetText("0");
    SpinButton()->SetWidth(19);
    SpinButton()->OnUpClick = [this](TObject*) { BtnClick(true); };
    SpinButton()->OnDownClick = [this](TObject*) { BtnClick(false); };
    // The arrows step the edit's value; the spin button's own position only
    // follows it.
    SpinButton()->UpButton()->OnClick = [this](TObject*) { BtnClick(true); };
    SpinButton()->DownButton()->OnClick = [this](TObject*) { BtnClick(false); };
    SpinButton()->OnChanging = [this](TObject* s, bool& allow) { SpinButtonChanging(s, allow); };
    UpdateButtonBounds();
}

void TTeSpinEdit::DeclareMessages(TMessageTable& t) { t.Add<&TTeSpinEdit::WMContextMenu>(WM_CONTEXTMENU); }

// A locked editor offers only what a read-only edit does.
void TTeSpinEdit::WMContextMenu(TMessage& m) {
    if (!EditorEnabled) SetContextReadOnly(1);
    DispatchFrom(inherited::StaticClass(), m);
    SetContextReadOnly(-1);
}

TTeSpinEdit::~TTeSpinEdit() {
    changeMuted_ = true;
    SpinButton()->OnChanging = nullptr;
    SpinButton()->UpButton()->OnClick = nullptr;
    SpinButton()->DownButton()->OnClick = nullptr;
}

void TTeSpinEdit::CreateWnd() {
    TTeInplaceControlEdit::CreateWnd();
    UpdateButtonBounds();
}

void TTeSpinEdit::Loaded() {
    TTeInplaceControlEdit::Loaded();
    SetValue(loadedValue_);
}

TTeSpinEdit::Extended TTeSpinEdit::Value() {
    if (ComponentState().Contains(csLoading)) return 0;
    const String text = GetText();
    std::optional<Extended> v;
    switch (valueType_) {
        case vtFloat: v = ReadFloat(text); break;
        case vtHex: v = ReadWhole(text, 16); break;
        case vtInt: v = ReadWhole(text, 10); break;
    }
    if (v) return *v;
    return valueType_ == vtFloat ? minValue_ : std::trunc(minValue_);
}

TTeSpinEdit::Extended TTeSpinEdit::CheckValue(Extended x) const {
    if (maxValue_ != minValue_) return std::clamp(x, minValue_, maxValue_);
    return x;
}

String TTeSpinEdit::FormatValue(Extended x) const {
    const Extended v = CheckValue(x);
    switch (valueType_) {
        case vtFloat: {
            char buffer[128];
            std::snprintf(buffer, sizeof buffer, "%.*Lf", static_cast<int>(decimal_), v);
            return buffer;
        }
        case vtHex: return v >= 0 ? Hex(v) : "-" + Hex(-v);
        case vtInt:
        default: return IntToStr(SaturatedInt64(std::nearbyint(v)));
    }
}

void TTeSpinEdit::SetValue(Extended x) {
    if (ComponentState().Contains(csLoading)) {
        loadedValue_ = x;
        return;
    }
    if (x != Value()) {
        const Extended old = Value();
        settingValue_ = true;
        changeMuted_ = false;
        TTeEdit::SetText(FormatValue(x));
        changeMuted_ = true;
        bool allow = true;
        if (OnChanging) OnChanging(this, allow);
        if (!allow) TTeEdit::SetText(FormatValue(old));
        settingValue_ = false;
    }
    SpinButton()->IntSetPos(SaturatedInt(Value()));
}

void TTeSpinEdit::SetValueType(TTeSpinValueType value) {
    if (value == valueType_) return;
    valueType_ = value;
    // The text must read in the new type: write the present value in it.
    TTeEdit::SetText(FormatValue(std::trunc(loadedValue_)));
    SetValue(loadedValue_);
    if (value != vtFloat) {
        increment_ = std::nearbyint(increment_);
        if (increment_ == 0) increment_ = 1;
        UpdateSpinLimits();
    }
}

void TTeSpinEdit::UpdateSpinLimits() {
    SpinButton()->SetMax(SaturatedInt(maxValue_));
    SpinButton()->SetMin(SaturatedInt(minValue_));
    SpinButton()->SetIncrement(SaturatedInt(increment_));
}

void TTeSpinEdit::SetMinValue(Extended value) {
    minValue_ = value;
    UpdateSpinLimits();
}

void TTeSpinEdit::SetMaxValue(Extended value) {
    maxValue_ = value;
    UpdateSpinLimits();
}

void TTeSpinEdit::SetIncrement(Extended value) {
    increment_ = value;
    UpdateSpinLimits();
}

int TTeSpinEdit::AsInteger() { return SaturatedInt(Value()); }
int64_t TTeSpinEdit::AsInt64() { return SaturatedInt64(std::trunc(Value())); }

void TTeSpinEdit::Change() {
    if (settingValue_ && !changeMuted_) TTeInplaceControlEdit::Change();
}

void TTeSpinEdit::ChangeValueBy(bool up, Extended step) {
    try {
        SetValue(up ? Value() + step : Value() - step);
    } catch (...) {
        changeMuted_ = false;
        throw;
    }
    changeMuted_ = false;
}

void TTeSpinEdit::BtnClick(bool up) {
    if (ReadOnly()) {
        Refuse();
        return;
    }
    ChangeValueBy(up, increment_);
    if (up && OnUpClick) OnUpClick(this);
    if (!up && OnDownClick) OnDownClick(this);
}

void TTeSpinEdit::SpinButtonChanging(TObject*, bool& allow) {
    const Extended before = Value();
    SetValue(SpinButton()->Position());
    allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) SetValue(before);
}

void TTeSpinEdit::Validate() {
    const Extended v = Value();
    const Extended c = CheckValue(v);
    if (c != v) SetValue(c);
}

void TTeSpinEdit::KillFocus() {
    TTeInplaceControlEdit::KillFocus();
    Validate();
}

void TTeSpinEdit::KeyDown(WORD& key, TShiftState shift) {
    if (key == VK_RETURN) Validate();
    if (ArrowKeys && (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN)) {
        const bool up = key == VK_PRIOR || key == VK_UP;
        if (key == VK_UP || key == VK_DOWN) {
            BtnClick(up);
        } else if (ReadOnly()) {
            Refuse();
        } else {
            ChangeValueBy(up, LargeStep);
        }
        key = 0;
        return;
    }
    if (!EditorEnabled) {
        const bool onlyCtrl = shift == TShiftState{ssCtrl}, onlyShift = shift == TShiftState{ssShift};
        if (key == VK_BACK || key == VK_DELETE || (key == VK_INSERT && (onlyCtrl || onlyShift)) ||
            (onlyCtrl && (key == 'V' || key == 'X' || key == 'Z'))) {
            key = 0;
            return;
        }
    }
    TTeInplaceControlEdit::KeyDown(key, shift);
}

void TTeSpinEdit::KeyPress(char16_t& key) {
    if (key == u'.' || key == u',') {
        const WideString& t = WideText();
        const int caret = CaretPos();
        if (caret < static_cast<int>(t.size()) && (t[caret] == u'.' || t[caret] == u',')) {
            SetSelStart(caret + 1);
            key = 0;
            return;
        }
        key = kDecimalSeparator;
    }
    if (!IsValidChar(key)) {
        Refuse();
        key = 0;
        return;
    }
    const char16_t typed = key;
    TTeInplaceControlEdit::KeyPress(key);
    if (typed == VK_RETURN || typed == VK_ESCAPE) {
        if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, typed, 0);
        if (typed == VK_RETURN) key = 0;
    }
}

bool TTeSpinEdit::IsValidChar(char16_t c) {
    if (!EditorEnabled) return c < 32 && c != VK_BACK;
    if (c < 32) return true;
    // A minus only when limits are in force and keep the value off it.
    if (c == u'-') return !(maxValue_ != minValue_ && minValue_ >= 0);
    if (c == u'+' || (c >= u'0' && c <= u'9')) return true;
    const WideString& t = WideText();
    if (valueType_ == vtFloat) {
        if (c == kDecimalSeparator) return t.find(kDecimalSeparator) == WideString::npos;
        if (c == u'e' || c == u'E') return t.find_first_of(u"eE") == WideString::npos;
    }
    if (valueType_ == vtHex) return (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    return false;
}

}  // namespace tarvel
