#include "skin/controls/te_controls_speedbutton.h"

#include <climits>

#include "platform/classlib/Forms.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

bool IsReservedCaption(const WideString& c) {
    return c == kSpeedCaptionUp || c == kSpeedCaptionDown || c == kSpeedCaptionLeft ||
           c == kSpeedCaptionRight;
}

// The group index of the next action-linked button: counted down from the
// top of the range, which forms never use.
int NextActionGroup() {
    static int next = INT_MAX;
    return next--;
}

// A raised push-button frame; the rectangle shrinks to what lies inside it.
void DrawPushFrame(TCanvas& c, TRect& r, bool pushed) {
    DrawFrameControl(c.Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? unsigned{DFCS_PUSHED} : 0u));
    r = RectOffset(r, -2);
}

}  // namespace

// ---- TTeSpeedButton -------------------------------------------------------------------------

void TTeSpeedButton::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSpeedButton::CMButtonPressed>(CM_BUTTONPRESSED);
    t.Add<&TTeSpeedButton::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeSpeedButton::SNMLinkChanged>(SNM_LINKCHANGED);
    t.Add<&TTeSpeedButton::WMLButtonDblClk>(WM_LBUTTONDBLCLK);
    t.Add<&TTeSpeedButton::CMDialogChar>(CM_DIALOGCHAR);
    t.Add<&TTeSpeedButton::CMRefresh>(CM_FONTCHANGED);
    t.Add<&TTeSpeedButton::CMRefresh>(CM_SYSCOLORCHANGE);
    t.Add<&TTeSpeedButton::CMTextChanged>(CM_TEXTCHANGED);
    t.Add<&TTeSpeedButton::CMEnabledChanged>(CM_ENABLEDCHANGED);
}

TTeSpeedButton::TTeSpeedButton(TComponent* owner)
    : TTeGraphicControl(owner),
      TTeThemeLinked(this, {ktlrDefaultKeepsPlace}),
      glyph_(std::make_unique<TBitmap>()) {
    ControlStyle = {csCaptureMouse, csDoubleClicks};
    SetPerformance(qvpDoubleBuffer);
    SetBounds(Left(), Top(), 29, 29);
    glyph_->OnChange = [this](TObject*) { GlyphChanged(); };
    AddThemeNotification(this);
}

TTeSpeedButton::~TTeSpeedButton() {
    RemoveThemeNotification(this);
    glyph_->OnChange = nullptr;
}

// ---- properties ---------------------------------------------------------------------------

void TTeSpeedButton::SetAllowAllUp(bool value) {
    allowAllUp_ = value;
    UpdateExclusive();
}

void TTeSpeedButton::SetBlackAndWhiteGlyph(bool value) {
    blackAndWhiteGlyph_ = value;
    Invalidate();
}

void TTeSpeedButton::SetCaption(const WideString& value) {
    if (value == caption_) return;
    caption_ = value;
    Invalidate();
}

void TTeSpeedButton::CMTextChanged(TMessage&) { SetCaption(Utf8ToWide(Text())); }

void TTeSpeedButton::SetChevronMenu(TPopupMenu* value) {
    if (chevronMenu_) chevronMenu_->RemoveFreeNotification(this);
    chevronMenu_ = value;
    if (chevronMenu_) chevronMenu_->FreeNotification(this);
}

void TTeSpeedButton::SetDropDownMenu(TPopupMenu* value) {
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = value;
    if (dropDownMenu_) dropDownMenu_->FreeNotification(this);
}

void TTeSpeedButton::SetDown(bool value) {
    if (value == down_) return;
    down_ = value;
    if (down_ && groupIndex_ != 0)
        state_ = ksbsExclusive;
    else if (down_ && Hot())
        state_ = ksbsDown;
    else
        state_ = ksbsUp;
    if (down_) UpdateExclusive();
    Invalidate();
}

void TTeSpeedButton::SetFlat(bool value) {
    flat_ = value;
    Invalidate();
}

void TTeSpeedButton::SetGlyph(TBitmap* value) { glyph_->Assign(value); }

void TTeSpeedButton::GlyphChanged() {
    const int w = glyph_->Empty() ? 0 : glyph_->Width(), h = glyph_->Empty() ? 0 : glyph_->Height();
    if (h != 0 && w % h == 0) numGlyphs_ = w / h < 5 ? w / h : 1;
    Invalidate();
}

void TTeSpeedButton::SetGroupIndex(int value) {
    groupIndex_ = value;
    UpdateExclusive();
    if (down_) state_ = RestingState();
    Invalidate();
}

void TTeSpeedButton::SetImageIndex(int value) {
    imageIndex_ = value;
    Invalidate();
}

void TTeSpeedButton::SetImages(TCustomImageList* value) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
    Invalidate();
}

void TTeSpeedButton::SetLayout(TButtonLayout value) {
    layout_ = value;
    Invalidate();
}
void TTeSpeedButton::SetMargin(int value) {
    margin_ = value;
    Invalidate();
}
void TTeSpeedButton::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 4);
    Invalidate();
}
void TTeSpeedButton::SetShowCaption(bool value) {
    showCaption_ = value;
    Invalidate();
}
void TTeSpeedButton::SetShowGlyph(bool value) {
    showGlyph_ = value;
    Invalidate();
}
void TTeSpeedButton::SetSpacing(int value) {
    spacing_ = value;
    Invalidate();
}
void TTeSpeedButton::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TTeSpeedButton::SetShowChevron(bool value) {
    if (value == showChevron_) return;
    showChevron_ = value;
    if (!ComponentState().Contains(csLoading))
        SetWidth(Width() + (value ? GetChevronWidth() : -GetChevronWidth()));
    Invalidate();
}

void TTeSpeedButton::Loaded() {
    TTeGraphicControl::Loaded();
    if (TBasicAction* action = Action(); action && !ComponentState().Contains(csDesigning))
        ActionChange(action, true);
    FollowThemeLink(false);
}

TControlActionLink* TTeSpeedButton::CreateActionLink() { return new TTeSpeedButtonActionLink(this); }

void TTeSpeedButton::ActionChange(TObject* sender, bool checkDefaults) {
    TTeGraphicControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || !Down()) SetDown(action->Checked());
    SetCaption(Utf8ToWide(action->Caption()));
    OnClick = action->OnExecute;
}

void TTeSpeedButton::Notification(TComponent* component, TOperation operation) {
    TTeGraphicControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == chevronMenu_) chevronMenu_ = nullptr;
    if (component == dropDownMenu_) dropDownMenu_ = nullptr;
    if (component == images_) images_ = nullptr;
    if (component == repeatTimer_) repeatTimer_ = nullptr;
}

// ---- groups -------------------------------------------------------------------------------

void TTeSpeedButton::UpdateExclusive() {
    if (groupIndex_ == 0 || !Parent()) return;
    TWinControl* parent = Parent();
    for (int i = 0; i < parent->ControlCount(); ++i)
        parent->Controls(i)->Perform(CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_),
                                     reinterpret_cast<LPARAM>(this));
}

void TTeSpeedButton::CMButtonPressed(TMessage& m) {
    if (static_cast<int>(m.WParam) != groupIndex_ || !Parent()) return;
    auto* sender = reinterpret_cast<TTeSpeedButton*>(m.LParam);
    if (sender == this) return;
    if (sender && down_ && sender->down_) {
        down_ = false;
        state_ = ksbsUp;
        Invalidate();
    }
    if (sender) allowAllUp_ = sender->allowAllUp_;
}

// ---- messages -----------------------------------------------------------------------------

void TTeSpeedButton::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
            Invalidate();
            FollowThemeLink(true);
            break;
        case tmReleased:
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeSpeedButton::SNMLinkChanged(TMessage& m) {
    if (IsOwnLinkMessage(m)) FollowThemeLink(true);
}

void TTeSpeedButton::WMLButtonDblClk(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (down_ && OnDblClick) OnDblClick(this);
}

void TTeSpeedButton::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<char16_t>(m.WParam), WideToUtf8(caption_)) && Enabled() && Visible() &&
        Parent() && Parent()->Showing()) {
        Click();
        m.Result = 1;
        return;
    }
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeSpeedButton::CMRefresh(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    Invalidate();
}

void TTeSpeedButton::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (Enabled()) state_ = RestingState();
    Invalidate();
}

// ---- clicks and menus ---------------------------------------------------------------------

void TTeSpeedButton::Click() {
    if (state_ == ksbsChevronDown) return;
    TTeGraphicControl::Click();
}

void TTeSpeedButton::ChevronClick() {
    if (OnChevronClick) OnChevronClick(this);
}

void TTeSpeedButton::PopupAt(TPopupMenu* menu, TPoint client) {
    if (!menu || ComponentState().Contains(csDesigning)) return;
    if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_CANCELMODE);
    menu->SetPopupComponent(this);
    const TPoint screen = ClientToScreen(client);
    menu->Popup(screen.x, screen.y);
}

// ---- mouse --------------------------------------------------------------------------------

void TTeSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseDown(button, shift, x, y);
    mouseDown_ = true;
    if (button != mbLeft || !Enabled()) return;
    const TPoint p{x, y};
    if (GetButtonRect().Contains(p)) {
        state_ = ksbsDown;
    } else if (GetChevronRect().Contains(p)) {
        state_ = ksbsChevronDown;
        ChevronClick();
        Invalidate();
        return;
    }
    Invalidate();
    if (allowTimer_) {
        if (!repeatTimer_) {
            repeatTimer_ = new TTimer(this);
            repeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
        }
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetInterval(kSpeedRepeatDelayMs);
        repeatTimer_->SetEnabled(true);
    }
}

void TTeSpeedButton::RepeatTick() {
    repeatTimer_->SetInterval(kSpeedRepeatStepMs);
    if (state_ != ksbsDown || !MouseCapture()) return;
    try {
        Click();
    } catch (...) {
        StopRepeat();
        throw;
    }
}

void TTeSpeedButton::StopRepeat() {
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TTeSpeedButton::MouseEnter() {
    TTeGraphicControl::MouseEnter();
    if (mouseDown_ && Enabled() && state_ != ksbsChevronDown) state_ = ksbsDown;
    Invalidate();
}

void TTeSpeedButton::MouseLeave() {
    TTeGraphicControl::MouseLeave();
    if (state_ != ksbsChevronDown) state_ = RestingState();
    Invalidate();
}

// While held, the button follows the pointer in and out of its face.
void TTeSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseMove(shift, x, y);
    if (!mouseDown_ || !Enabled() || state_ == ksbsChevronDown || !shift.Contains(ssLeft)) return;
    const TTeSpeedButtonState now = GetButtonRect().Contains(TPoint{x, y}) ? ksbsDown : RestingState();
    if (now == state_) return;
    state_ = now;
    Invalidate();
}

void TTeSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseUp(button, shift, x, y);
    mouseDown_ = false;
    // Every release ends the repeat, also one the action link swallows.
    StopRepeat();
    if (actionCheck_) {
        actionCheck_ = false;
        return;
    }
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
    const bool clicked = inside && (state_ == ksbsDown || state_ == ksbsExclusive);
    if (state_ == ksbsChevronDown) {
        PopupAt(chevronMenu_, [&] {
            const bool right = menuPosition_ == dmpRight;
            return right ? TPoint{Width(), -1} : TPoint{0, Height()};
        }());
        state_ = ksbsUp;
        Invalidate();
        return;
    }
    if (!down_) state_ = ksbsUp;
    if (clicked) {
        if (!down_ && groupIndex_ != 0)
            SetDown(true);
        else if (allowAllUp_)
            SetDown(false);
        else if (groupIndex_ != 0)
            state_ = ksbsExclusive;
        Click();
        PopupAt(dropDownMenu_, TPoint{0, Height()});
    }
    Invalidate();
}

// ---- geometry -----------------------------------------------------------------------------

TRect TTeSpeedButton::GetButtonRect() {
    TRect r = ClientRect();
    if (showChevron_) r.right -= GetChevronWidth();
    return r;
}

TRect TTeSpeedButton::GetChevronRect() {
    if (!showChevron_) return TRect{};
    const TRect c = ClientRect();
    return TRect{c.right - GetChevronWidth(), c.top, c.right, c.bottom};
}

TRect TTeSpeedButton::GetChevronArrowRect() {
    const TRect ch = GetChevronRect();
    const TSize a = GetChevronArrowSize();
    const int left = ch.right - 10, top = (ch.bottom - 3) / 2;
    return TRect{left, top, left + a.cx, top + a.cy};
}

bool TTeSpeedButton::WorkingGlyph(TteBitmap& whole, uint32_t& key, int& cells) {
    if (!glyph_->Empty()) {
        whole.Assign(glyph_.get());
        key = whole.GetPixel(0, whole.Height() - 1) & 0xFFFFFF;
        cells = numGlyphs_;
        return true;
    }
    if (!images_ || imageIndex_ < 0 || imageIndex_ >= images_->Count()) return false;
    int index = imageIndex_;
    if (!Enabled() && imageDisabledIndex_ >= 0)
        index = imageDisabledIndex_;
    else if (Hot() && imageHotIndex_ >= 0)
        index = imageHotIndex_;
    TBitmap picture;
    ImageGlyph(*images_, index, picture);
    whole.Assign(&picture);
    key = kImageGlyphKey;
    cells = 1;
    return true;
}

TSize TTeSpeedButton::GetGlyphSize() {
    if (!glyph_->Empty()) return TSize{glyph_->Width() / numGlyphs_, glyph_->Height()};
    if (images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count())
        return TSize{images_->Width(), images_->Height()};
    return TSize{0, 0};
}

TSize TTeSpeedButton::GetCaptionSize() {
    if (caption_.empty()) return TSize{0, 0};
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas& c = *scratch.GetCanvas();
    c.Font()->Assign(PaintFont());
    return TSize{TextWidth(c, caption_), TextHeight(c, u"Pq")};
}

TRect TTeSpeedButton::GetGlyphRect() {
    const TRect b = GetButtonRect();
    const TSize g = showGlyph_ ? GetGlyphSize() : TSize{0, 0};
    const TSize c = showCaption_ ? GetCaptionSize() : TSize{0, 0};
    const bool hasGlyph = g.cx > 0 && g.cy > 0;
    // Along the layout axis: the glyph's distance from the near edge.
    auto along = [&](int extent, int gs, int cs, int near) {
        if (margin_ != -1) return margin_;
        if (hasGlyph && cs > 0)
            return spacing_ == -1 ? (extent - gs - cs) / 3 : (extent - gs - spacing_ - cs) / 2;
        if (hasGlyph) return (extent - gs) / 2;
        return near;
    };
    int left = 0, top = 0;
    if (layout_ == blGlyphLeft || layout_ == blGlyphRight) {
        left = along(b.Width(), g.cx, c.cx, b.left);
        top = (b.Height() - g.cy) / 2;
    } else {
        left = (b.Width() - g.cx) / 2;
        top = along(b.Height(), g.cy, c.cy, b.top);
    }
    if (layout_ == blGlyphRight) left = b.right - left - g.cx - 1;
    if (layout_ == blGlyphBottom) top = b.bottom - top - g.cy - 1;
    return TRect{left, top, left + g.cx, top + g.cy};
}

TRect TTeSpeedButton::GetCaptionRect() {
    const TRect b = GetButtonRect();
    const TSize c = showCaption_ ? GetCaptionSize() : TSize{0, 0};
    const TSize gs = showGlyph_ ? GetGlyphSize() : TSize{0, 0};
    if (gs.cx <= 0 || gs.cy <= 0) {
        TRect r{0, 0, c.cx, c.cy};
        return RectCenter(r, b);
    }
    const TRect g = GetGlyphRect();
    int left = (b.Width() - c.cx) / 2, top = (b.Height() - c.cy) / 2;
    switch (layout_) {
        case blGlyphLeft:
            left = spacing_ == -1 ? g.right + (b.right - g.right - c.cx) / 2 : g.right + spacing_;
            break;
        case blGlyphRight:
            left = spacing_ == -1 ? (g.left - b.left - c.cx) / 2 : g.left - spacing_ - c.cx;
            break;
        case blGlyphTop:
            top = spacing_ == -1 ? g.bottom + (b.bottom - g.bottom - c.cy) / 2 : g.bottom + spacing_;
            break;
        case blGlyphBottom:
            top = spacing_ == -1 ? (g.top - b.top - c.cy) / 2 : g.top - spacing_ - c.cy;
            break;
    }
    return TRect{left, top, left + c.cx, top + c.cy};
}

// ---- painting -----------------------------------------------------------------------------

bool TTeSpeedButton::IsArrowButton() const {
    return IsReservedCaption(caption_) || (Parent() && Parent()->ClassName() == "TTeSpinButton");
}

bool TTeSpeedButton::IsToolThemed() {
    return IsObjectDefined(ktscToolBar, themeObject_, themeLink_) && Theme();
}

TteToolItemDrawState TTeSpeedButton::ContentItemState() const {
    if (!Enabled()) return mtidsDisabled;
    if (state_ == ksbsDown) return mtidsPressed;
    if (flat_) {
        if (Hot()) return mtidsHot;
        if (state_ == ksbsExclusive) return mtidsPressed;
    }
    return mtidsNormal;
}

// Under a theme the fixed colours take the theme's system colours, so a
// glyph's face-grey background matches the face the theme draws.
ButtonColorMap TTeSpeedButton::GlyphColorMap() {
    if (!IsToolThemed()) return SysButtonColorMap();
    const TteThemeSysColors* sys = Theme()->SysColors();
    auto pixel = [sys](TColor c) {
        const TColor themed = sys ? sys->GetColor(c) : clNone;
        return ColorRefToPixel(ColorToColorRef(themed == clNone ? c : themed));
    };
    return ButtonColorMap{pixel(clBtnText), pixel(clBtnShadow), pixel(clBtnFace), pixel(cl3DLight),
                          pixel(clBtnHighlight)};
}

void TTeSpeedButton::DrawGlyph(TPoint offset) {
    TteBitmap whole;
    uint32_t key = 0;
    int cells = 1;
    if (!WorkingGlyph(whole, key, cells)) return;
    const TSize g = GetGlyphSize();
    int cell = 0;
    if (cells > 1 && !Enabled()) cell += 1;
    if (cells == 4 && state_ == ksbsExclusive) cell += 3;
    if (cells > 2 && state_ == ksbsDown) cell += 2;
    cell = std::min(cell, cells - 1);
    // The key is matched before the colours are mapped: the map can send two
    // fixed colours to one (face and 3-D light are alike in the classic
    // scheme), and a key matched after it would drop both.
    const ButtonColorMap colors = GlyphColorMap();
    TteBitmap face;
    MakeGlyphFace(
        whole, key, cell, g,
        {.colors = &colors, .grey = blackAndWhiteGlyph_ && !Hot(), .disabledGrey = cells == 1 && !Enabled()},
        face);
    TRect r = GetGlyphRect();
    r.Offset(offset.x, offset.y);
    if (IsToolThemed()) {
        Theme()->ToolDrawItemGlyph(ktscToolBar, *Canvas(), ToolItemInfo(r, kticNormal, ContentItemState()),
                                   ToolGlyphInfo(r, &face, kgfaCenter, ktigGlyph), themeObject_);
        return;
    }
    face.Draw(*Canvas(), r.left, r.top);
}

void TTeSpeedButton::DrawCaption(TPoint offset) {
    TCanvas& c = *Canvas();
    c.Font()->Assign(PaintFont());
    const TRect cap = GetCaptionRect();
    if (IsToolThemed()) {
        const TteToolItemDrawState state = ContentItemState();
        TteThemeFont font = ktfButtonTextNormal;
        if (state == mtidsDisabled) font = ktfButtonTextDisabled;
        if (state == mtidsPressed) font = ktfButtonTextPressed;
        if (state == mtidsHot) font = ktfButtonTextHot;
        if (TFont* f = Theme()->Fonts()->GetFontForObject(font, themeObject_)) c.Font()->Assign(f);
        Theme()->ToolDrawItemText(ktscToolBar, c, ToolItemInfo(cap, kticNormal, state),
                                  TextInfo(cap, caption_, DT_SINGLELINE), themeObject_);
        return;
    }
    TRect r = cap;
    r.Offset(offset.x, offset.y);
    if (!Enabled()) {
        TRect shadow = r;
        shadow.Offset(1, 1);
        c.Font()->SetColor(clBtnHighlight);
        DrawText(c, caption_, shadow, DT_SINGLELINE);
        c.Font()->SetColor(clBtnShadow);
    }
    DrawText(c, caption_, r, DT_SINGLELINE);
}

void TTeSpeedButton::DrawChevronArrow(TPoint offset) {
    if (IsToolThemed()) return;
    TRect r = GetChevronArrowRect();
    r.Offset(offset.x, offset.y);
    TCanvas& c = *Canvas();
    const TPoint tri[3] = {{r.left, r.top}, {r.right - 1, r.top}, {(r.left + r.right - 1) / 2, r.bottom - 1}};
    if (!Enabled()) {
        MoveTo(c, tri[2].x, tri[2].y);
        LineTo(c, tri[0].x, tri[0].y, clBtnShadow);
        LineTo(c, tri[1].x, tri[1].y, clBtnShadow);
        LineTo(c, tri[2].x, tri[2].y, clBtnHighlight);
        return;
    }
    // Row by row: each row is two pixels shorter than the one above, so the
    // triangle is solid whatever the rasteriser makes of a sliver.
    for (int row = 0; r.top + row < r.bottom && r.left + row <= r.right - 1 - row; ++row)
        FillRect(c, r.left + row, r.top + row, r.right - row, r.top + row + 1, clBtnText);
}

void TTeSpeedButton::PaintBuffer() {
    TCanvas& c = *Canvas();
    const TRect button = GetButtonRect();
    TteTheme* theme = Theme();
    // Arrow buttons of the bars and spin buttons.
    if (IsArrowButton() && theme && theme->IsButtonDefined(kbscSpinUp, themeObject_) &&
        theme->IsButtonDefined(kbscSpinDown, themeObject_)) {
        TteButtonDrawState s = kbdsNormal;
        if (!Enabled())
            s = kbdsDisabled;
        else if (state_ == ksbsDown)
            s = kbdsPressed;
        else if (Hot())
            s = kbdsHot;
        TteButtonSubclass sub = caption_.find(u"up") != WideString::npos ? kbscSpinUp : kbscSpinDown;
        if (caption_ == kSpeedCaptionLeft) sub = kbscSpinLeft;
        if (caption_ == kSpeedCaptionRight) sub = kbscSpinRight;
        theme->ButtonDraw(sub, c, ButtonInfo(button, s), themeObject_);
        return;
    }
    if (IsToolThemed()) {
        TteToolItemDrawState s = mtidsNormal;
        if (!Enabled())
            s = mtidsDisabled;
        else if (state_ == ksbsDown)
            s = mtidsPressed;
        else if (Hot())
            s = state_ == ksbsExclusive ? mtidsCheckedHot : mtidsHot;
        else if (state_ == ksbsExclusive)
            s = mtidsChecked;
        theme->ToolDrawItem(ktscToolBar, c,
                            ToolItemInfo(button, showChevron_ ? kticComboButton : kticNormal, s),
                            themeObject_);
        if (showGlyph_) DrawGlyph(TPoint{});
        if (showCaption_) DrawCaption(TPoint{});
        if (showChevron_)
            theme->ToolDrawItem(ktscToolBar, c,
                                ToolItemInfo(GetChevronRect(), kticComboDropDown,
                                             state_ == ksbsChevronDown ? mtidsPressed : s),
                                themeObject_);
        return;
    }
    PaintClassic();
}

void TTeSpeedButton::PaintClassic() {
    TCanvas& c = *Canvas();
    const bool spinOwned = Owner() && Owner()->ClassName() == "TTeSpinButton";
    const bool savedFlat = flat_;
    if (spinOwned && state_ == ksbsUp) flat_ = false;
    const bool pushed = state_ == ksbsDown || state_ == ksbsExclusive;
    TRect button = GetButtonRect();
    TRect chevron = GetChevronRect();
    if (!flat_) {
        DrawPushFrame(c, button, pushed);
        if (showChevron_) DrawPushFrame(c, chevron, state_ == ksbsExclusive || state_ == ksbsChevronDown);
        if (state_ == ksbsExclusive) FillHalftoneRect(c, button, clBtnFace, clBtnHighlight);
    } else {
        const bool framed = Enabled() && (state_ == ksbsDown || state_ == ksbsExclusive || Hot() ||
                                          (state_ == ksbsUp && mouseDown_) || state_ == ksbsChevronDown);
        if (framed || ComponentState().Contains(csDesigning)) {
            if (state_ == ksbsExclusive && !Hot()) FillHalftoneRect(c, button, clBtnFace, clBtnHighlight);
            if (pushed)
                DrawEdge(c, button, clBtnShadow, clBtnHighlight);
            else
                DrawEdge(c, button, clBtnHighlight, clBtnShadow);
            if (showChevron_) {
                if (state_ == ksbsExclusive || state_ == ksbsChevronDown || down_)
                    DrawEdge(c, chevron, clBtnShadow, clBtnHighlight);
                else
                    DrawEdge(c, chevron, clBtnHighlight, clBtnShadow);
            }
        }
    }
    const TPoint contentOffset = pushed ? TPoint{1, 1} : TPoint{};
    const bool chevronPushed = state_ == ksbsExclusive || state_ == ksbsChevronDown || down_;
    if (showGlyph_) DrawGlyph(contentOffset);
    if (showCaption_ && !IsReservedCaption(caption_)) DrawCaption(contentOffset);
    if (showChevron_) DrawChevronArrow(chevronPushed ? TPoint{1, 1} : TPoint{});
    if (IsReservedCaption(caption_)) {
        unsigned kind = DFCS_SCROLLUP;
        if (caption_ == kSpeedCaptionDown) kind = DFCS_SCROLLDOWN;
        if (caption_ == kSpeedCaptionLeft) kind = DFCS_SCROLLLEFT;
        if (caption_ == kSpeedCaptionRight) kind = DFCS_SCROLLRIGHT;
        DrawFrameControlGlyph(c, GetButtonRect(), DFC_SCROLL, kind, clBlack);
    }
    if (ComponentState().Contains(csDesigning))
        DrawFocusRect(c, TRect{0, 0, Width() - 1, Height() - 1}, clBtnShadow);
    flat_ = savedFlat;
}

// ---- action link --------------------------------------------------------------------------

TTeSpeedButtonActionLink::TTeSpeedButtonActionLink(TTeSpeedButton* client)
    : TControlActionLink(client), client_(client) {}

bool TTeSpeedButtonActionLink::IsCheckedLinked() {
    return inherited::IsCheckedLinked() && CustomAction()->Checked() == client_->Down();
}

void TTeSpeedButtonActionLink::SetChecked(bool value) {
    if (!IsCheckedLinked()) return;
    if (group_ == 0) group_ = NextActionGroup();
    client_->actionCheck_ = true;
    client_->groupIndex_ = group_;
    client_->allowAllUp_ = true;
    client_->SetDown(value);
}

// ---- companions ---------------------------------------------------------------------------

void TTeSpeedDivider::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSpeedDivider::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeSpeedDivider::TTeSpeedDivider(TComponent* owner) : TTeGraphicControl(owner) {
    SetWidth(8);
    AddThemeNotification(this);
}

TTeSpeedDivider::~TTeSpeedDivider() { RemoveThemeNotification(this); }

void TTeSpeedDivider::PaintBuffer() {
    TCanvas& c = *Canvas();
    const TRect r = ClientRect();
    if (CurrentTheme && CurrentTheme->IsToolDefined(ktscToolBar, "default")) {
        CurrentTheme->ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticSeparator, mtidsNormal), "default");
        return;
    }
    const int x = r.left + (r.Width() - 2) / 2;
    FillRect(c, x, r.top, x + 1, r.bottom, clBtnShadow);
    FillRect(c, x + 1, r.top, x + 2, r.bottom, clBtnHighlight);
}

void TTeSpeedSpace::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSpeedSpace::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeSpeedSpace::TTeSpeedSpace(TComponent* owner) : TTeGraphicControl(owner) {
    SetWidth(8);
    AddThemeNotification(this);
}

TTeSpeedSpace::~TTeSpeedSpace() { RemoveThemeNotification(this); }

void TTeSpeedSpace::PaintBuffer() {
    if (ComponentState().Contains(csDesigning)) DrawRect(*Canvas(), ClientRect(), clGray);
}

void TTeSpeedContainer::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSpeedContainer::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeSpeedContainer::TTeSpeedContainer(TComponent* owner) : TTeControl(owner) {
    ControlStyle.Include(csAcceptsControls);
    AddThemeNotification(this);
}

TTeSpeedContainer::~TTeSpeedContainer() { RemoveThemeNotification(this); }

void TTeSpeedContainer::PaintBuffer() {
    DrawControlBackground(this, *Canvas());
    if (ComponentState().Contains(csDesigning)) DrawFocusRect(*Canvas(), ClientRect(), clGray);
}

}  // namespace tarvel
