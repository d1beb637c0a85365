// TShape, TImage, TBevel, TPanel and TSplitter.

#include "platform/classlib/ExtCtrls.h"

#include <algorithm>

#include "platform/classlib/ControlPaint.h"

namespace tarvel {

// ---- TShape ---------------------------------------------------------------------------------

TShape::TShape(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 65, 65);
    brush_.OnChange = [this](TObject*) { Invalidate(); };
    pen_.OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType shape) {
    if (shape == shape_) return;
    shape_ = shape;
    Invalidate();
}

void TShape::Paint() {
    TCanvas* c = Canvas();
    c->SetPen(&pen_);
    c->SetBrush(&brush_);
    TRect r = ClientRect();
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        const int side = std::min(r.Width(), r.Height());
        r = Bounds(r.left + (r.Width() - side) / 2, r.top + (r.Height() - side) / 2, side, side);
    }
    const int corner = std::min(r.Width(), r.Height()) / 4;
    switch (shape_) {
        case stRectangle:
        case stSquare: c->Rectangle(r); break;
        case stRoundRect:
        case stRoundSquare: c->RoundRect(r.left, r.top, r.right, r.bottom, corner, corner); break;
        case stEllipse:
        case stCircle: c->Ellipse(r); break;
    }
}

// ---- TImage ---------------------------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = [this](TObject* s) { PictureChanged(s); };
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::PictureChanged(TObject*) {
    if (TGraphic* g = picture_->Graphic(); g && transparent_) g->SetTransparent(true);
    AdjustSize();
    Invalidate();
}

void TImage::SetStretch(bool v) {
    stretch_ = v;
    Invalidate();
}

void TImage::SetCenter(bool v) {
    center_ = v;
    Invalidate();
}

void TImage::SetProportional(bool v) {
    proportional_ = v;
    Invalidate();
}

void TImage::SetTransparent(bool v) {
    transparent_ = v;
    if (TGraphic* g = picture_->Graphic()) g->SetTransparent(v);
    if (v) ControlStyle.Exclude(csOpaque);
    Invalidate();
}

TRect TImage::DestRect() {
    const int pw = picture_->Width(), ph = picture_->Height();
    const int cw = ClientWidth(), ch = ClientHeight();
    int w = pw, h = ph;
    if (stretch_ || (proportional_ && (pw > cw || ph > ch))) {
        if (proportional_ && pw > 0 && ph > 0) {
            // The larger of the two shares decides, so the whole picture fits.
            if (int64_t{cw} * ph <= int64_t{ch} * pw) {
                w = cw;
                h = static_cast<int>(int64_t{cw} * ph / pw);
            } else {
                h = ch;
                w = static_cast<int>(int64_t{ch} * pw / ph);
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    if (center_) return Bounds((cw - w) / 2, (ch - h) / 2, w, h);
    return Bounds(0, 0, w, h);
}

void TImage::Paint() {
    TGraphic* g = picture_->Graphic();
    if (!g || g->Empty()) return;
    Canvas()->StretchDraw(DestRect(), g);
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
    if (picture_->Width() <= 0 || picture_->Height() <= 0) return false;
    newWidth = picture_->Width();
    newHeight = picture_->Height();
    return true;
}

// ---- TBevel ---------------------------------------------------------------------------------

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape s) {
    shape_ = s;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle s) {
    style_ = s;
    Invalidate();
}

void TBevel::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect r = ClientRect();
    const TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    switch (shape_) {
        case bsBox: {
            TRect box = r;
            Frame3D(dc, box, first, second);
            break;
        }
        case bsFrame: {
            TRect outer{r.left, r.top, r.right - 1, r.bottom - 1};
            TRect inner{r.left + 1, r.top + 1, r.right, r.bottom};
            FrameColor(dc, inner, second);
            FrameColor(dc, outer, first);
            break;
        }
        case bsTopLine:
            DrawLine(dc, r.left, r.top, r.right, r.top, first);
            DrawLine(dc, r.left, r.top + 1, r.right, r.top + 1, second);
            break;
        case bsBottomLine:
            DrawLine(dc, r.left, r.bottom - 2, r.right, r.bottom - 2, first);
            DrawLine(dc, r.left, r.bottom - 1, r.right, r.bottom - 1, second);
            break;
        case bsLeftLine:
            DrawLine(dc, r.left, r.top, r.left, r.bottom, first);
            DrawLine(dc, r.left + 1, r.top, r.left + 1, r.bottom, second);
            break;
        case bsRightLine:
            DrawLine(dc, r.right - 2, r.top, r.right - 2, r.bottom, first);
            DrawLine(dc, r.right - 1, r.top, r.right - 1, r.bottom, second);
            break;
        case bsSpacer: break;
    }
}

// ---- TPanel ---------------------------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

int TPanel::BevelSize() const {
    int size = borderWidth_ + (borderStyle_ == bsSingle ? 1 : 0);
    if (bevelOuter_ != bvNone) size += bevelWidth_;
    if (bevelInner_ != bvNone) size += bevelWidth_;
    return size;
}

void TPanel::AdjustClientRect(TRect& r) { r = InflatedRect(r, -BevelSize(), -BevelSize()); }

void TPanel::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    FillColor(dc, r, Color());
    if (borderStyle_ == bsSingle) Frame3D(dc, r, clWindowFrame, clWindowFrame);
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone) return;
        for (int i = 0; i < bevelWidth_; ++i) {
            if (b == bvSpace)
                r = InflatedRect(r, -1, -1);
            else if (b == bvLowered)
                Frame3D(dc, r, clBtnShadow, clBtnHighlight);
            else
                Frame3D(dc, r, clBtnHighlight, clBtnShadow);
        }
    };
    bevel(bevelOuter_);
    r = InflatedRect(r, -borderWidth_, -borderWidth_);
    bevel(bevelInner_);
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    static const unsigned kVertical[] = {DT_TOP, DT_BOTTOM, DT_VCENTER};
    DrawCaption(dc, Font(), Caption(), r, kAlign[Alignment()] | kVertical[verticalAlignment_] | DT_SINGLELINE,
                Enabled() ? Font()->Color() : clGrayText);
}

// ---- TSplitter ------------------------------------------------------------------------------

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crSizeWE);
}

TControl* TSplitter::FindControl() {
    if (!Parent()) return nullptr;
    // The neighbour on the side the splitter is aligned to: its edge touches ours.
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        const TRect b = c->BoundsRect();
        const bool touches =
            (Align() == alLeft && b.right == Left()) || (Align() == alRight && b.left == Left() + Width()) ||
            (Align() == alTop && b.bottom == Top()) || (Align() == alBottom && b.top == Top() + Height());
        if (touches) return c;
    }
    return nullptr;
}

void TSplitter::Paint() { FillColor(Canvas()->Handle(), ClientRect(), Color()); }

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    target_ = FindControl();
    if (!target_) return;
    dragging_ = true;
    downAt_ = ClientToScreen(TPoint{x, y});
    startSize_ = Horizontal() ? target_->Height() : target_->Width();
    SetMouseCapture(true);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_ || !target_) return;
    const TPoint now = ClientToScreen(TPoint{x, y});
    int delta = Horizontal() ? now.y - downAt_.y : now.x - downAt_.x;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    const int size = std::max(minSize_, startSize_ + delta);
    if (Horizontal())
        target_->SetHeight(size);
    else
        target_->SetWidth(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!dragging_) return;
    dragging_ = false;
    target_ = nullptr;
    SetMouseCapture(false);
    if (OnMoved) OnMoved(this);
}

}  // namespace tarvel
