// TBitBtn and TSpeedButton.

#include "platform/classlib/Buttons.h"

#include "platform/classlib/ControlPaint.h"

namespace tarvel {

void DrawGlyphAndCaption(HDC dc, TCanvas* canvas, TBitmap* glyph, TFont* font, const String& caption, TRect r,
                         TButtonLayout layout, int spacing, bool enabled) {
    const bool hasGlyph = glyph && !glyph->Empty();
    const TSize g = hasGlyph ? TSize{glyph->Width(), glyph->Height()} : TSize{};
    const TSize t = caption.empty() ? TSize{} : MeasureText(font, caption, 0, true);
    const int gap = (hasGlyph && !caption.empty()) ? spacing : 0;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    const int totalW = across ? g.cx + gap + t.cx : std::max(g.cx, t.cx);
    const int totalH = across ? std::max(g.cy, t.cy) : g.cy + gap + t.cy;
    const int x0 = r.left + (r.Width() - totalW) / 2, y0 = r.top + (r.Height() - totalH) / 2;
    TPoint gAt, tAt;
    switch (layout) {
        case blGlyphLeft:
            gAt = {x0, y0 + (totalH - g.cy) / 2};
            tAt = {x0 + g.cx + gap, y0 + (totalH - t.cy) / 2};
            break;
        case blGlyphRight:
            tAt = {x0, y0 + (totalH - t.cy) / 2};
            gAt = {x0 + t.cx + gap, y0 + (totalH - g.cy) / 2};
            break;
        case blGlyphTop:
            gAt = {x0 + (totalW - g.cx) / 2, y0};
            tAt = {x0 + (totalW - t.cx) / 2, y0 + g.cy + gap};
            break;
        case blGlyphBottom:
            tAt = {x0 + (totalW - t.cx) / 2, y0};
            gAt = {x0 + (totalW - g.cx) / 2, y0 + t.cy + gap};
            break;
    }
    if (hasGlyph) canvas->Draw(gAt.x, gAt.y, glyph);
    if (!caption.empty())
        DrawCaption(dc, font, caption, Bounds(tAt.x, tAt.y, t.cx + 1, t.cy), DT_SINGLELINE,
                    enabled ? font->Color() : clGrayText);
}

// ---- TBitBtn -----------------------------------------------------------------------------------

namespace {
struct KindInfo {
    const char* caption;
    TModalResult result;
    bool isDefault, isCancel;
};
constexpr KindInfo kKinds[] = {
    {"", mrNone, false, false},          {"OK", mrOk, true, false},       {"Cancel", mrCancel, false, true},
    {"&Help", mrNone, false, false},     {"&Yes", mrYes, true, false},    {"&No", mrNo, false, true},
    {"&Close", mrNone, false, false},    {"Abort", mrAbort, false, true}, {"&Retry", mrRetry, false, false},
    {"&Ignore", mrIgnore, false, false}, {"&All", mrAll, false, false},
};
}  // namespace

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TBitBtn::~TBitBtn() { glyph_->OnChange = nullptr; }

void TBitBtn::SetGlyph(TBitmap* glyph) { glyph_->Assign(glyph); }

void TBitBtn::SetLayout(TButtonLayout l) {
    layout_ = l;
    Invalidate();
}

void TBitBtn::SetSpacing(int v) {
    spacing_ = v;
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    if (kind == bkCustom) return;
    const KindInfo& k = kKinds[kind];
    SetCaption(k.caption);
    SetModalResult(k.result);
    SetDefault(k.isDefault);
    SetCancel(k.isCancel);
}

void TBitBtn::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    const bool pressed = Pressed();
    if (Focused() || Default()) {
        FrameColor(dc, r, clWindowFrame);
        r = InflatedRect(r, -1, -1);
    }
    DrawButtonFace(dc, r, pressed);
    TRect inner = r;
    if (pressed) inner.Offset(1, 1);
    DrawGlyphAndCaption(dc, Canvas(), glyph_.get(), Font(), Caption(), inner, layout_, spacing_, Enabled());
    if (Focused()) DrawFocusRect(dc, InflatedRect(r, -2, -2));
}

// ---- TGraphicButton ----------------------------------------------------------------------------

void TGraphicButton::DeclareMessages(TMessageTable& t) {
    t.Add<&TGraphicButton::CMMouseEnterButton>(CM_MOUSEENTER);
    t.Add<&TGraphicButton::CMMouseLeaveButton>(CM_MOUSELEAVE);
}

// The click comes from Released, not from the control's click events.
TGraphicButton::TGraphicButton(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle = {csCaptureMouse, csDoubleClicks};
}

void TGraphicButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !CanPress()) return;
    tracking_ = pressed_ = true;
    Invalidate();
}

void TGraphicButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!tracking_) return;
    const bool inside = ClientRect().Contains(TPoint{x, y});
    if (inside != pressed_) {
        pressed_ = inside;
        Invalidate();
    }
}

void TGraphicButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool released = button == mbLeft && tracking_ && pressed_;
    if (button == mbLeft) tracking_ = pressed_ = false;
    Invalidate();
    TGraphicControl::MouseUp(button, shift, x, y);
    if (released) Released();
}

void TGraphicButton::CMMouseEnterButton(TMessage& m) {
    hot_ = true;
    if (PaintsHot()) Invalidate();
    DispatchFrom(inherited::StaticClass(), m);
}

void TGraphicButton::CMMouseLeaveButton(TMessage& m) {
    hot_ = false;
    if (PaintsHot()) Invalidate();
    DispatchFrom(inherited::StaticClass(), m);
}

// ---- TSpeedButton ------------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicButton(owner), glyph_(std::make_unique<TBitmap>()) {
    ControlStyle.Include(csOpaque);
    SetBounds(0, 0, 23, 22);
    SetParentColor(false);
    SetColor(clBtnFace);
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() { glyph_->OnChange = nullptr; }

void TSpeedButton::SetGlyph(TBitmap* glyph) { glyph_->Assign(glyph); }

void TSpeedButton::SetFlat(bool v) {
    flat_ = v;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout l) {
    layout_ = l;
    Invalidate();
}

void TSpeedButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (!v && !allowAllUp_) {
        // The last one down of a group without all-up stays down.
        bool otherDown = false;
        if (Parent())
            for (int i = 0; i < Parent()->ControlCount(); ++i)
                if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                    b && b != this && b->groupIndex_ == groupIndex_ && b->down_)
                    otherDown = true;
        if (!otherDown) return;
    }
    down_ = v;
    if (v && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            if (b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
                b->down_ = false;
                b->Invalidate();
            }
        }
    }
    Invalidate();
}

void TSpeedButton::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    const bool sunk = Pressed() || down_;
    if (flat_ && !sunk && !Hot()) {
        FillColor(dc, r, Color());
        r = InflatedRect(r, -1, -1);
    } else if (flat_ && !sunk) {
        FillColor(dc, r, Color());
        Frame3D(dc, r, clBtnHighlight, clBtnShadow);
    } else {
        DrawButtonFace(dc, r, sunk, flat_);
    }
    if (down_ && !Pressed()) FillColor(dc, r, cl3DLight);
    TRect inner = r;
    if (sunk) inner.Offset(1, 1);
    DrawGlyphAndCaption(dc, Canvas(), glyph_.get(), Font(), Caption(), inner, layout_, 4, Enabled());
}

void TSpeedButton::Released() {
    if (groupIndex_ != 0) SetDown(!(down_ && allowAllUp_));
    Click();
}

}  // namespace tarvel
