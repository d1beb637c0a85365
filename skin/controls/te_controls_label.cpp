#include "skin/controls/te_controls_label.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Ticks.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

constexpr UINT kStepInterval = 100;

bool Reading(const TComponent* c) { return c->ComponentState().Contains(csReading); }
bool Loading(const TComponent* c) { return c->ComponentState().Contains(csLoading); }

}  // namespace

// ---- TTeLabel -----------------------------------------------------------------------------

void TTeLabel::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeLabel::CMTextChanged>(CM_TEXTCHANGED);
    t.Add<&TTeLabel::CMFontChanged>(CM_FONTCHANGED);
    t.Add<&TTeLabel::CMDialogChar>(CM_DIALOGCHAR);
    t.Add<&TTeLabel::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeLabel::SNMLinkChanged>(SNM_LINKCHANGED);
}

TTeLabel::TTeLabel(TComponent* owner)
    : TTeGraphicControl(owner),
      TTeThemeLinked(this, {ktlrDefaultKeepsPlace}),
      fontOptions_(std::make_unique<TTeFontOptions>()) {
    ControlStyle.Exclude(csOpaque);
    ControlStyle.Include(csReplicatable);
    SetBounds(Left(), Top(), 65, 17);
    // Options are set while designing or loading; a change shows at once
    // only in the designer.
    fontOptions_->OnChange = [this](TObject*) {
        if (ComponentState().Contains(csDesigning)) Invalidate();
    };
    AddThemeNotification(this);
}

TTeLabel::~TTeLabel() { RemoveThemeNotification(this); }

void TTeLabel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}
void TTeLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}
void TTeLabel::SetGlyphSpace(int value) {
    glyphSpace_ = value;
    Refresh();
}
void TTeLabel::SetGlyphThemeObject(const String& value) {
    glyphThemeObject_ = value;
    Invalidate();
}
void TTeLabel::SetHotTrack(bool value) {
    hotTrack_ = value;
    if (!Loading(this)) Refresh();
}
void TTeLabel::SetLayout(TTextLayout value) {
    layout_ = value;
    Invalidate();
}
void TTeLabel::SetShowAccelChar(bool value) {
    showAccelChar_ = value;
    Invalidate();
}
void TTeLabel::SetShowGlyph(bool value) {
    showGlyph_ = value;
    Invalidate();
}
void TTeLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TTeLabel::SetTransparent(bool value) {
    if (value == Transparent()) return;
    if (value)
        ControlStyle.Exclude(csOpaque);
    else
        ControlStyle.Include(csOpaque);
    Invalidate();
}

// The window text is left alone.
void TTeLabel::SetCaption(const WideString& value) {
    // The control's text says the same, so whoever reads the label's
    // caption or text sees what it shows.
    SetText(WideToUtf8(value));
    caption_ = value;
    AdjustBounds();
    Invalidate();
    Update();
}

void TTeLabel::SetFocusControl(TWinControl* value) {
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (focusControl_) focusControl_->FreeNotification(this);
}

void TTeLabel::Loaded() {
    TTeGraphicControl::Loaded();
    AdjustBounds();
}

void TTeLabel::Notification(TComponent* component, TOperation operation) {
    TTeGraphicControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == focusControl_) focusControl_ = nullptr;
}

void TTeLabel::CMTextChanged(TMessage&) {
    caption_ = Utf8ToWide(Text());
    AdjustBounds();
    // A label that keeps its size still shows its new text.
    Invalidate();
}

void TTeLabel::CMFontChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    AdjustBounds();
}

void TTeLabel::CMDialogChar(TMessage& m) {
    if (focusControl_ && Enabled() && showAccelChar_ &&
        IsAccel(static_cast<char16_t>(m.WParam), WideToUtf8(caption_)) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
    }
}

void TTeLabel::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
        case tmReleased:
            AdjustBounds();
            FollowThemeLink(true);
            break;
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeLabel::SNMLinkChanged(TMessage& m) {
    if (IsOwnLinkMessage(m)) FollowThemeLink(true);
}

// ---- text ---------------------------------------------------------------------------------

bool TTeLabel::Themed() { return IsObjectDefined(klscLabel, themeObject_, themeLink_) && Theme(); }

void TTeLabel::SelectFont(TCanvas& canvas, TteThemeFont index) {
    if (TFont* font = Theme()->Fonts()->GetFontForObject(index, themeObject_))
        canvas.Font()->Assign(font);
    else
        canvas.Font()->Assign(Font());
    fontOptions_->ApplyOptions(canvas.Font());
}

unsigned TTeLabel::TextFlags() const {
    static constexpr unsigned align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    static constexpr unsigned layout[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    return (wordWrap_ ? unsigned{DT_WORDBREAK} : 0u) | DT_EXPANDTABS | align[alignment_] | layout[layout_];
}

void TTeLabel::DoDrawText(TRect& rect, unsigned flags) {
    if (!Parent()) return;
    const bool measuring = flags & DT_CALCRECT;
    WideString text = GetLabelText();
    // An empty caption, or a lone accelerator mark, still measures one line.
    if (measuring && (text.empty() || (showAccelChar_ && text == u"&"))) text += u' ';
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    TteBitmap scratch;
    if (measuring) scratch.SetSize(1, 1);
    TCanvas& c = measuring ? *scratch.GetCanvas() : *Canvas();
    if (!Themed()) {
        c.Font()->Assign(Font());
        fontOptions_->ApplyOptions(c.Font());
        DrawPlainText(c, text, rect, flags);
        return;
    }
    if (measuring) {
        SelectFont(c, Enabled() ? ktfStaticTextNormal : ktfStaticTextDisabled);
        DrawText(c, text, rect, flags);
        return;
    }
    if (Enabled()) {
        SelectFont(c, hotTrack_ && IsHot() ? ktfStaticTextHot : ktfStaticTextNormal);
        Theme()->LabelDrawText(klscLabel, c, LabelInfo(kldsNormal), TextInfo(rect, text, flags),
                               themeObject_);
    } else {
        SelectFont(c, ktfStaticTextDisabled);
        Theme()->LabelDrawText(klscLabel, c, LabelInfo(kldsDisabled), TextInfo(rect, text, flags),
                               themeObject_);
    }
}

void TTeLabel::DrawPlainText(TCanvas& canvas, const WideString& text, TRect& rect, unsigned flags) {
    if (!(flags & DT_CALCRECT) && !Enabled()) {
        TRect shadow = rect;
        shadow.Offset(1, 1);
        canvas.Font()->SetColor(clBtnHighlight);
        DrawText(canvas, text, shadow, flags);
        canvas.Font()->SetColor(clBtnShadow);
    }
    DrawText(canvas, text, rect, flags);
}

void TTeLabel::AdjustBounds() {
    if (Reading(this) || !autoSize_) return;
    TRect r = ClientRect();
    if (HasGlyph()) r.left += r.Height() + glyphSpace_;
    DoDrawText(r, DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? unsigned{DT_WORDBREAK} : 0u));
    int left = Left();
    // The right edge stays where the text is right-aligned.
    if (alignment_ == taRightJustify) left += Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

// ---- painting -----------------------------------------------------------------------------

TRect TTeLabel::GlyphSquare() {
    const TRect client = ClientRect();
    return TRect{client.left, client.top, client.left + client.Height(), client.bottom};
}

void TTeLabel::PaintBuffer() {
    TRect r = ClientRect();
    if (HasGlyph()) {
        const TRect square = RectOffset(GlyphSquare(), -1);
        r.left = r.left + r.Height() + glyphSpace_;
        TteButtonDrawState state = kbdsNormal;
        if (activeGlyph_)
            state = glyphPressed_ ? kbdsPressed : IsHot() && glyphHot_ ? kbdsHot : kbdsNormal;
        else if (hotTrack_)
            state = pressed_ ? kbdsPressed : IsHot() ? kbdsHot : kbdsNormal;
        if (TteTheme* theme = Theme())
            theme->ButtonDraw(kbscButton, *Canvas(), ButtonInfo(square, state), glyphThemeObject_);
    }
    if (textOffset_ != 0) {
        r.Offset(textOffset_, 0);
        const TRect client = ClientRect();
        r = TRect{std::min(r.left, client.left), std::min(r.top, client.top), std::max(r.right, client.right),
                  std::max(r.bottom, client.bottom)};
    }
    DoDrawText(r, TextFlags());
}

// ---- mouse --------------------------------------------------------------------------------

void TTeLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseDown(button, shift, x, y);
    if (activeGlyph_) {
        if (GlyphSquare().Contains(TPoint{x, y})) {
            glyphPressed_ = true;
            Refresh();
        }
    } else if (hotTrack_) {
        pressed_ = true;
        Refresh();
    }
}

void TTeLabel::MouseMove(TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseMove(shift, x, y);
    if (!activeGlyph_) return;
    const bool over = GlyphSquare().Contains(TPoint{x, y});
    if (over == glyphHot_) return;
    glyphHot_ = over;
    Refresh();
}

void TTeLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseUp(button, shift, x, y);
    if (activeGlyph_ && glyphPressed_) {
        glyphPressed_ = false;
        Refresh();
    } else if (hotTrack_) {
        pressed_ = false;
        Refresh();
    }
}

void TTeLabel::MouseEnter() {
    TTeGraphicControl::MouseEnter();
    if (hotTrack_) Refresh();
}

void TTeLabel::MouseLeave() {
    TTeGraphicControl::MouseLeave();
    if (glyphHot_) {
        glyphHot_ = false;
        Refresh();
    } else if (hotTrack_) {
        Refresh();
    }
}

// ---- TTeScrollingLabel --------------------------------------------------------------------

TTeScrollingLabel::TTeScrollingLabel(TComponent* owner) : TTeLabel(owner), timer_(new TTimer(this)) {
    timer_->SetInterval(kStepInterval);
    timer_->SetEnabled(false);
    timer_->OnTimer = [this](TObject* sender) { Step(sender); };
}

TTeScrollingLabel::~TTeScrollingLabel() { timer_->SetEnabled(false); }

void TTeScrollingLabel::SetScrollCount(int value) {
    scrollCount_ = value;
    Invalidate();
}

void TTeScrollingLabel::GoHome() {
    total_ = 0;
    paintedOffset_ = 0;
    Invalidate();
}

void TTeScrollingLabel::SetActive(bool value) {
    active_ = value;
    timer_->SetEnabled(value);
    if (value)
        passes_ = 0;
    else if (paintedOffset_ != 0)
        GoHome();
}

void TTeScrollingLabel::PaintBuffer() {
    textOffset_ = active_ ? paintedOffset_ : 0;
    TTeLabel::PaintBuffer();
}

void TTeScrollingLabel::Step(TObject*) {
    if (!Visible()) return;
    const uint32_t now = GetTickCount();
    const std::optional<uint32_t> last = std::exchange(lastTick_, now);
    if (!last) return;
    const uint32_t elapsed = TicksSince(*last, now);
    const double dt = elapsed / 1000.0;
    // A first tick, or one after a long gap, only primes the clock.
    if (dt > 1.0) return;
    if (resting_) {
        // Whole milliseconds, so a rest lasts the same on every run.
        restMs_ += elapsed;
        if (pauseTime_ >= restMs_) return;
        resting_ = false;
    }
    TRect measured = ClientRect();
    DoDrawText(measured, TextFlags() | DT_CALCRECT);
    const int textWidth = measured.Width();
    if (textWidth > Width()) {
        const double step = speed_ * dt * direction_;
        total_ += step;
        auto rest = [this] {
            if (!active_) return;
            resting_ = true;
            restMs_ = 0;
        };
        if (direction_ > 0 && std::lround(total_) - step > 0) {
            // Home again: one pass done.
            direction_ = -direction_;
            ++passes_;
            if (scrollCount_ > 0 && passes_ >= scrollCount_) SetActive(false);
            rest();
        }
        if (direction_ < 0 && Width() > std::lround(total_) + textWidth + step) {
            // The text's right end has come inside.
            direction_ = -direction_;
            rest();
        }
        if (std::lround(total_) != paintedOffset_) {
            paintedOffset_ = static_cast<int>(std::lround(total_));
            Invalidate();
        }
    } else if (paintedOffset_ != 0) {
        GoHome();
    }
}

}  // namespace tarvel
