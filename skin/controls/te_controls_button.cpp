#include "skin/controls/te_controls_button.h"

#include <array>
#include <cmath>

#include "platform/classlib/Forms.h"
#include "skin/controls/te_controls_transition.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

constexpr int kHoverFadeMs = 100;
constexpr const char* kHoverEffect = "[ FADE ] - Fade";

const std::array<TTeButtonKindInfo, 11> KindTable = {{
    {"", mrNone, false},
    {"OK", mrOk, true},
    {"Cancel", mrCancel, false},
    {"&Help", mrNone, false},
    {"&Yes", mrYes, true},
    {"&No", mrNo, false},
    {"&Close", mrNone, false},
    {"Abort", mrAbort, false},
    {"&Retry", mrRetry, false},
    {"&Ignore", mrIgnore, false},
    {"&All", mrAll, false},
}};

// Plain pointers: freed by the control library's end, never at exit, when
// the drawing objects they stand on may be gone.
std::array<TBitmap*, 11> KindGlyphs{};

// Our own stock pictures: a coloured mark in the normal cell, the same mark
// in grey in the disabled cell, on the magenta key.
std::unique_ptr<TBitmap> MakeKindGlyph(TBitBtnKind kind) {
    static const TColor marks[11] = {clNone,   clGreen, clRed,  clBlue,  clGreen, clRed,
                                     clMaroon, clRed,   clNavy, clOlive, clTeal};
    auto glyph = std::make_unique<TBitmap>(32, 16);
    TCanvas& c = *glyph->Canvas();
    FillRect(c, TRect{0, 0, 32, 16}, TColor(kImageGlyphKey));
    for (int cell = 0; cell < 2; ++cell) {
        const TColor mark = cell == 0 ? marks[kind] : clGray;
        FillRect(c, TRect{cell * 16 + 4, 4, cell * 16 + 12, 12}, mark);
    }
    return glyph;
}

// Key colour of a glyph: its bottom-left pixel.
uint32_t BottomLeft(const TteBitmap& b) { return b.GetPixel(0, b.Height() - 1) & 0xFFFFFF; }

uint8_t GreyLevel(uint32_t rgb, bool disabledLook) {
    float h = 0, s = 0, l = 0;
    RGBtoHSL(0xFF000000 | rgb, h, s, l);
    return disabledLook ? static_cast<uint8_t>((std::lround(l * 50) + 160) % 256)
                        : static_cast<uint8_t>(std::lround(l * 255));
}

}  // namespace

const TTeButtonKindInfo& ButtonKindInfo(TBitBtnKind kind) { return KindTable[kind]; }

TBitmap* ButtonKindGlyph(TBitBtnKind kind) {
    if (kind == bkCustom) return nullptr;
    if (!KindGlyphs[kind]) KindGlyphs[kind] = MakeKindGlyph(kind).release();
    return KindGlyphs[kind];
}

void MakeGlyphFace(const TteBitmap& whole, uint32_t key, int cell, TSize size, const GlyphFaceRules& rules,
                   TteBitmap& face) {
    face.SetSize(size.cx, size.cy);
    face.Clear(teKeyColor);
    face.Transparent = true;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            uint32_t rgb = whole.GetPixel(cell * size.cx + x, y) & 0xFFFFFF;
            if (rgb == key) continue;
            if (rules.colors) rgb = MapButtonColor(rgb, *rules.colors);
            if (rules.grey) {
                const uint32_t v = GreyLevel(rgb, false);
                rgb = v << 16 | v << 8 | v;
            }
            if (rules.disabledGrey) {
                const uint32_t v = GreyLevel(rgb, true);
                rgb = v << 16 | v << 8 | v;
            }
            face.SetPixel(x, y, 0xFF000000 | rgb);
        }
}

void ImageGlyph(TCustomImageList& images, int index, TBitmap& into) {
    into.SetSize(images.Width(), images.Height());
    FillRect(*into.Canvas(), TRect{0, 0, images.Width(), images.Height()}, TColor(kImageGlyphKey));
    images.Draw(into.Canvas(), 0, 0, index);
}

void DoneButtonGlyphs() {
    for (TBitmap*& g : KindGlyphs) delete std::exchange(g, nullptr);
}

void TTeButton::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeButton::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeButton::SNMLinkChanged>(SNM_LINKCHANGED);
    t.Add<&TTeButton::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TTeButton::CMDialogKey>(CM_DIALOGKEY);
    t.Add<&TTeButton::CMDialogChar>(CM_DIALOGCHAR);
    t.Add<&TTeButton::CMFocusChanged>(CM_FOCUSCHANGED);
    t.Add<&TTeButton::CMTextChanged>(CM_TEXTCHANGED);
}

TTeButton::TTeButton(TComponent* owner)
    : TTeControl(owner),
      TTeThemeLinked(this),
      fontOptions_(std::make_unique<TTeFontOptions>()),
      glyph_(std::make_unique<TBitmap>()),
      working_(std::make_unique<TBitmap>()) {
    ControlStyle = {csCaptureMouse, csSetCaption, csDoubleClicks, csActionClient};
    SetColor(clBtnFace);
    SetPerformance(qvpDoubleBuffer);
    SetTabStop(true);
    SetParentFont(true);
    SetBounds(Left(), Top(), 75, 25);
    // Options are set while designing or loading; a change shows at once
    // only in the designer.
    fontOptions_->OnChange = [this](TObject*) {
        if (ComponentState().Contains(csDesigning)) Repaint();
    };
    AddThemeNotification(this);
    if (TteTransitions* fx = Transitions()) reservedSlot_ = fx->ReserveIndex();
}

TTeButton::~TTeButton() {
    RemoveThemeNotification(this);
    StopFade();
    // Only the slot this button reserved goes back; the one a fade ran in
    // may belong to nobody or to another control.
    if (TteTransitions* fx = Transitions(); fx && reservedSlot_ >= 0) fx->ReleaseReserved(reservedSlot_);
}

// ---- properties ---------------------------------------------------------------------------

void TTeButton::Repaint() { Invalidate(); }

void TTeButton::SetAlignment(TAlignment value) {
    alignment_ = value;
    Repaint();
}
void TTeButton::SetBlackAndWhiteGlyph(bool value) {
    blackAndWhiteGlyph_ = value;
    Repaint();
}
void TTeButton::SetLayout(TButtonLayout value) {
    layout_ = value;
    Repaint();
}
void TTeButton::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 4);
    Repaint();
}
void TTeButton::SetSpacing(int value) {
    spacing_ = value;
    Repaint();
}
void TTeButton::SetTransparent(bool value) {
    transparent_ = value;
    Repaint();
}
void TTeButton::SetWordWrap(bool value) {
    wordWrap_ = value;
    Repaint();
}

void TTeButton::SetCaption(const WideString& value) {
    if (value == caption_) return;
    caption_ = value;
    SetText(WideToUtf8(value));
    Repaint();
}

void TTeButton::CMTextChanged(TMessage&) {
    caption_ = Utf8ToWide(Text());
    Repaint();
}

void TTeButton::SetDefault(bool value) {
    default_ = value;
    if (HandleAllocated())
        if (TCustomForm* form = GetParentForm(this))
            form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
    Repaint();
}

void TTeButton::SetGlyph(TBitmap* value) {
    glyph_->Assign(value);
    GlyphChanged();
}

void TTeButton::GlyphChanged() {
    const int w = glyph_->Empty() ? 0 : glyph_->Width(), h = glyph_->Empty() ? 0 : glyph_->Height();
    if (h != 0 && w % h == 0) numGlyphs_ = w / h < 5 ? w / h : 1;
    Repaint();
}

void TTeButton::SetImageIndex(int value) {
    imageIndex_ = value;
    Repaint();
}

void TTeButton::SetImages(TCustomImageList* value) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
    Repaint();
}

// Glyph itself stands in for its copy: nothing draws into the working glyph.
TBitmap* TTeButton::WorkingGlyph() {
    if (!glyph_->Empty()) return glyph_.get();
    TCustomImageList* images = images_;
    int index = imageIndex_;
    if (!images || index < 0 || index >= images->Count()) {
        auto* action = dynamic_cast<TCustomAction*>(Action());
        if (!action) return nullptr;
        images = action->Images();
        index = action->ImageIndex();
        if (!images || index < 0 || index >= images->Count()) return nullptr;
    }
    ImageGlyph(*images, index, *working_);
    return working_.get();
}

void TTeButton::SetKind(TBitBtnKind value) {
    if (value == kind_) return;
    if (value != bkCustom) {
        const TTeButtonKindInfo& info = KindTable[value];
        default_ = info.Default;
        if (!(ComponentState().Contains(csLoading) && !caption_.empty()))
            SetCaption(Utf8ToWide(info.Caption));
        modalResult_ = info.Result;
        SetGlyph(ButtonKindGlyph(value));
        numGlyphs_ = 2;
    }
    kind_ = value;
    Repaint();
}

void TTeButton::Loaded() {
    TTeControl::Loaded();
    if (TBasicAction* action = Action(); action && !ComponentState().Contains(csDesigning))
        ActionChange(action, true);
    FollowThemeLink(false);
}

void TTeButton::ActionChange(TObject* sender, bool checkDefaults) {
    TTeControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    SetCaption(Utf8ToWide(action->Caption()));
    OnClick = action->OnExecute;
    // The action's image may have changed.
    Invalidate();
}

void TTeButton::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

// ---- theme messages -----------------------------------------------------------------------

void TTeButton::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
            Repaint();
            if (TteTheme* theme = Theme()) {
                const TRect bounds = theme->GetBounds(themeObject_);
                if (!bounds.IsEmpty()) SetBoundsRect(bounds);
            }
            break;
        case tmReleased:
        case tmSystemChanged: Repaint(); break;
        default: break;
    }
}

void TTeButton::SNMLinkChanged(TMessage& m) {
    if (IsOwnLinkMessage(m)) FollowThemeLink(true);
}

void TTeButton::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    Repaint();
}

// ---- state --------------------------------------------------------------------------------

bool TTeButton::Themed() { return IsObjectDefined(kbscButton, themeObject_, themeLink_) && Theme(); }

TteButtonDrawState TTeButton::FaceState() {
    if (!Enabled()) return kbdsDisabled;
    if (pressed_ == 1) return kbdsPressed;
    if (IsHot()) return kbdsHot;
    if (IsFocused()) return kbdsFocused;
    if (activeDefault_) return kbdsDefault;
    return kbdsNormal;
}

// The default look has no text of its own.
TteButtonDrawState TTeButton::TextState() {
    const TteButtonDrawState face = FaceState();
    return face == kbdsDefault ? kbdsNormal : face;
}

void TTeButton::SelectTextFont(TCanvas& canvas, bool forText) {
    canvas.Font()->Assign(PaintFont());
    if (Themed()) {
        const TteButtonDrawState state = forText ? TextState() : FaceState();
        TteThemeFont index = ktfButtonTextNormal;
        switch (state) {
            case kbdsDisabled: index = ktfButtonTextDisabled; break;
            case kbdsPressed: index = ktfButtonTextPressed; break;
            case kbdsHot: index = ktfButtonTextHot; break;
            case kbdsFocused: index = ktfButtonTextFocused; break;
            default: break;
        }
        if (TFont* font = Theme()->Fonts()->GetFontForObject(index, themeObject_))
            canvas.Font()->Assign(font);
    }
    fontOptions_->ApplyOptions(canvas.Font());
}

// ---- layout -------------------------------------------------------------------------------

TSize TTeButton::GlyphSize() {
    TBitmap* g = WorkingGlyph();
    return g ? TSize{g->Width() / numGlyphs_, g->Height()} : TSize{0, 0};
}

TRect TTeButton::GetLayoutRect() {
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas& c = *scratch.GetCanvas();
    SelectTextFont(c, false);
    const TSize g = GlyphSize();
    TRect r = wordWrap_ ? TRect{0, 0, Width() - 10 - spacing_ - g.cx, Height() - 10 - spacing_ - g.cy}
                        : TRect{0, 0, TextWidth(c, caption_, DT_NOPREFIX), TextHeight(c, caption_)};
    if (caption_.empty()) r.left += 2;
    if (caption_.find(u'&') == WideString::npos) r.right += TextWidth(c, u"&", DT_NOPREFIX);
    if (g.cx > 0 && g.cy > 0) {
        if (layout_ == blGlyphTop || layout_ == blGlyphBottom)
            r.bottom += g.cy + spacing_;
        else
            r.right += g.cx + spacing_;
        r.right = std::max(r.right, g.cx);
        r.bottom = std::max(r.bottom, g.cy);
    }
    const int bw = Width(), bh = Height();
    switch (alignment_) {
        case taLeftJustify: r.Offset(4, (bh - r.bottom) / 2); break;
        case taRightJustify: r.Offset(bw - r.right - 4, (bh - r.bottom) / 2); break;
        case taCenter: r = RectCenter(r, TRect{0, 0, bw, bh}); break;
    }
    if (pressed_ == 1) r.Offset(1, 1);
    return r;
}

TRect TTeButton::GetCaptionRect() {
    TRect r = GetLayoutRect();
    const TSize g = GlyphSize();
    if (g.cx == 0) return r;
    switch (layout_) {
        case blGlyphLeft: r.left += g.cx + spacing_; break;
        case blGlyphRight: r.right -= g.cx + spacing_; break;
        case blGlyphTop: r.top += g.cy + spacing_; break;
        case blGlyphBottom: r.bottom -= g.cy + spacing_; break;
    }
    return r;
}

TRect TTeButton::GetGlyphRect() {
    TRect r = GetLayoutRect();
    const TSize g = GlyphSize();
    switch (layout_) {
        case blGlyphLeft: r.right = r.left + g.cx + spacing_; break;
        case blGlyphRight: r.left = r.right - g.cx - spacing_; break;
        case blGlyphTop: r.bottom = r.top + g.cy + spacing_; break;
        case blGlyphBottom: r.top = r.bottom - g.cy - spacing_; break;
    }
    return r;
}

// ---- painting -----------------------------------------------------------------------------

void TTeButton::PaintBuffer() {
    TCanvas& c = *Canvas();
    const bool see = Themed() ? Theme()->IsButtonTransparent(kbscButton, themeObject_) : transparent_;
    if (see)
        DrawControlBackground(this, c);
    else
        TTeControl::PaintBuffer();
    PaintFace();
    PainTText();
    PaintGlyph();
}

void TTeButton::PaintFace() {
    TCanvas& c = *Canvas();
    TRect r{0, 0, Width(), Height()};
    if (Themed()) {
        Theme()->ButtonDraw(kbscButton, c, ButtonInfo(r, FaceState()), themeObject_);
        return;
    }
    r = GetBorderRect();
    const TRect border = r;
    if (IsFocused() || activeDefault_) {
        DrawRect(c, r, clBlack);
        r = RectOffset(r, -1);
    }
    FillRect(c, r, Color());
    if (pressed_ == 0) {
        DrawEdge(c, r, clBtnHighlight, clBlack);
        r = RectOffset(r, -1);
        DrawEdge(c, r, Color(), clBtnShadow);
    } else {
        DrawEdge(c, r, clBtnShadow, clBtnShadow);
    }
    if (IsFocused()) DrawFocusRect(c, RectOffset(border, -4), clBtnShadow);
}

void TTeButton::PainTText() {
    TCanvas& c = *Canvas();
    SelectTextFont(c, true);
    const TRect cap = GetCaptionRect();
    const unsigned wrap = wordWrap_ ? unsigned{DT_WORDBREAK} : 0u;
    TRect t = wordWrap_ ? TRect{0, 0, cap.Width(), TextHeight(c, caption_)}
                        : TRect{0, 0, TextWidth(c, caption_), TextHeight(c, caption_)};
    DrawText(c, caption_, t, DT_CALCRECT | wrap);
    const int dx = (cap.Width() - t.Width()) / 2, dy = (cap.Height() - t.Height()) / 2;
    if (Themed()) {
        t.Offset(alignment_ == taCenter ? dx : cap.Width() - t.Width(), dy);
        t.Offset(cap.left, cap.top);
        Theme()->ButtonDrawText(kbscButton, c, ButtonInfo(t, TextState()),
                                TextInfo(t, caption_, wrap | DT_CENTER), themeObject_);
        return;
    }
    t.Offset(dx + cap.left, dy + cap.top);
    if (!Enabled()) {
        TRect shadow = t;
        shadow.Offset(1, 1);
        c.Font()->SetColor(clBtnHighlight);
        DrawText(c, caption_, shadow, DT_CENTER | wrap);
        c.Font()->SetColor(clBtnShadow);
    }
    DrawText(c, caption_, t, DT_CENTER | wrap);
}

void TTeButton::PaintGlyph() {
    TBitmap* glyph = WorkingGlyph();
    if (!glyph) return;
    const TSize g = GlyphSize();
    const TRect area = GetGlyphRect();
    TRect r{0, 0, g.cx, g.cy};
    r = RectCenter(r, area);
    int cell = 0;
    if (numGlyphs_ > 1 && !Enabled()) cell = 1;
    if (numGlyphs_ > 2 && pressed_ == 1) cell += 2;
    TteBitmap whole;
    whole.Assign(glyph);
    // A glyph of its own keys out its bottom-left colour; an image, magenta.
    const uint32_t key = glyph_->Empty() ? kImageGlyphKey : BottomLeft(whole);
    TteBitmap face;
    MakeGlyphFace(whole, key, cell, g,
                  {.grey = blackAndWhiteGlyph_ && !IsHot(), .disabledGrey = numGlyphs_ == 1 && !Enabled()},
                  face);
    if (Themed())
        Theme()->ButtonDrawGlyph(kbscButton, *Canvas(), ButtonInfo(r, FaceState()),
                                 GlyphInfo(r, &face, kgfaCenter), themeObject_);
    else
        face.Draw(*Canvas(), r.left, r.top);
}

// ---- hover fade ---------------------------------------------------------------------------

void TTeButton::PaintInto(TteBitmap& picture) {
    picture.SetSize(Width(), Height());
    TCanvas& c = *Canvas();
    const HDC old = c.HandleAllocated() ? c.Handle() : HDC{};
    c.SetHandle(picture.DC());
    try {
        PaintFont()->Assign(Font());
        PaintBuffer();
    } catch (...) {
        c.SetHandle(old);
        throw;
    }
    c.SetHandle(old);
}

void TTeButton::StopFade() {
    TteTransitions* fx = Transitions();
    if (!fx) return;
    if (runningSlot_ >= 0) fx->Stop(runningSlot_);
    if (reservedSlot_ >= 0 && reservedSlot_ != runningSlot_) fx->Stop(reservedSlot_);
}

// The hot flag changes without OnMouseEnter or OnMouseLeave.
void TTeButton::FadeHover(bool entering) {
    StopFade();
    PaintInto(before_);
    auto enterEvent = std::exchange(OnMouseEnter, nullptr);
    auto leaveEvent = std::exchange(OnMouseLeave, nullptr);
    if (entering)
        TTeControl::MouseEnter();
    else
        TTeControl::MouseLeave();
    OnMouseEnter = std::move(enterEvent);
    OnMouseLeave = std::move(leaveEvent);
    PaintInto(after_);
    if (entering) after_.SetAlpha(255);
    TteTransitions* fx = Transitions();
    const int slot = fx && HandleAllocated() ? fx->Start(Canvas(), 0, 0, &before_, &after_, kHoverEffect,
                                                         kHoverFadeMs, reservedSlot_)
                                             : -1;
    runningSlot_ = slot;
    // Nothing animates the change: the new face is shown at once.
    if (slot < 0) InvalidateNow();
}

void TTeButton::MouseEnter() {
    if (!Enabled()) return;
    if (!fxEnabled_) {
        TTeControl::MouseEnter();
        Repaint();
        return;
    }
    FadeHover(true);
}

void TTeButton::MouseLeave() {
    if (!Enabled()) return;
    if (!fxEnabled_) {
        TTeControl::MouseLeave();
        Repaint();
        return;
    }
    FadeHover(false);
}

void TTeButton::HasFocus() {
    StopFade();
    TTeControl::HasFocus();
}

void TTeButton::KillFocus() {
    StopFade();
    TTeControl::KillFocus();
}

// ---- mouse and keys -----------------------------------------------------------------------

void TTeButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (!ComponentState().Contains(csDesigning) && CanFocus()) SetFocus();
    pressed_ = 1;
    StopFade();
    Repaint();
    tracking_ = true;
}

void TTeButton::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    if (!tracking_) return;
    const uint8_t now = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight() ? 1 : 0;
    if (now == pressed_) return;
    pressed_ = now;
    StopFade();
    Repaint();
}

void TTeButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    if (!tracking_) return;
    tracking_ = false;
    pressed_ = 0;
    if (TRect{0, 0, Width(), Height()}.Contains(TPoint{x, y})) Click();
    StopFade();
    Repaint();
}

void TTeButton::KeyDown(WORD& key, TShiftState shift) {
    TTeControl::KeyDown(key, shift);
    if (key == VK_SPACE && !shift.Contains(ssAlt)) {
        pressed_ = 1;
        Repaint();
    }
}

void TTeButton::KeyUp(WORD& key, TShiftState shift) {
    TTeControl::KeyUp(key, shift);
    if (key != VK_SPACE) return;
    pressed_ = 0;
    Repaint();
    Click();
    key = 0;
}

void TTeButton::CMDialogKey(TMessage& m) {
    const bool plain = (KeyDataToShiftState(m.LParam) * TShiftState{ssShift, ssAlt, ssCtrl}).Empty();
    const bool mine =
        (m.WParam == VK_RETURN && (activeDefault_ || IsFocused())) || (m.WParam == VK_ESCAPE && cancel_);
    if (plain && mine && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeButton::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<char16_t>(m.WParam), Text()) && CanFocus()) {
        SetFocus();
        Click();
        m.Result = 1;
        return;
    }
    DispatchFrom(inherited::StaticClass(), m);
}

// Another button taking the focus takes the default look too.
void TTeButton::CMFocusChanged(TMessage& m) {
    auto* focus = reinterpret_cast<TWinControl*>(m.LParam);
    const bool now = focus && (focus->Is<TTeButton>() || focus->Is<TButton>()) ? false : default_;
    if (now != activeDefault_) {
        activeDefault_ = now;
        Repaint();
    }
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeButton::Click() {
    if (kind_ == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) form->Close();
    } else if (TCustomForm* form = GetParentForm(this)) {
        form->SetModalResult(modalResult_);
    }
    TTeControl::Click();
}

}  // namespace tarvel
