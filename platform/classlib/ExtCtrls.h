#pragma once
// Shapes, images, bevels, panels and splitters.

#include <memory>

#include "platform/classlib/Controls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Pictures.h"
#include "platform/classlib/StdCtrls.h"

namespace tarvel {

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl, public IUiState {
    TARVEL_CLASS(TShape, TGraphicControl)

public:
    String UiState() override { return "brush=" + ColorToString(brush_.Color()); }
    explicit TShape(TComponent* owner);
    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType shape);
    TBrush* Brush() { return &brush_; }
    TPen* Pen() { return &pen_; }
    void SetBrush(TBrush* brush) { brush_.Assign(brush); }
    void SetPen(TPen* pen) { pen_.Assign(pen); }

protected:
    void Paint() override;

private:
    TShapeType shape_ = stRectangle;
    TBrush brush_;
    TPen pen_;
};

class TImage : public TGraphicControl {
    TARVEL_CLASS(TImage, TGraphicControl)

public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    TPicture* Picture() { return picture_.get(); }
    void SetPicture(TPicture* picture) { picture_->Assign(picture); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool v);
    // The picture's key-colour pixels show what lies below.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    // Where the picture is drawn in the client area.
    TRect DestRect();

protected:
    void Paint() override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;

private:
    void PictureChanged(TObject*);
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false, center_ = false, proportional_ = false, transparent_ = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TBevel : public TGraphicControl {
    TARVEL_CLASS(TBevel, TGraphicControl)

public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape s);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle s);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };

// A container with an outer and an inner bevel and a caption in its middle.
class TPanel : public TCustomControl {
    TARVEL_CLASS(TPanel, TCustomControl)

public:
    explicit TPanel(TComponent* owner);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel b) { Change(bevelOuter_, b); }
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel b) { Change(bevelInner_, b); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w) { Change(bevelWidth_, std::max(1, w)); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w) { Change(borderWidth_, std::max(0, w)); }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s) { Change(borderStyle_, s == bsNone ? bsNone : bsSingle); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { Change(alignment_, a); }
    TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
    void SetVerticalAlignment(TVerticalAlignment a) { Change(verticalAlignment_, a); }

protected:
    void Paint() override;
    void AdjustClientRect(TRect& r) override;

private:
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        Realign();
        Invalidate();
    }
    int BevelSize() const;

    TPanelBevel bevelOuter_ = bvRaised, bevelInner_ = bvNone;
    int bevelWidth_ = 1, borderWidth_ = 0;
    TFormBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
    TVerticalAlignment verticalAlignment_ = taVerticalCenter;
};

// A bar between aligned controls; dragging it resizes the control it
// follows in the alignment order.
class TSplitter : public TGraphicControl {
    TARVEL_CLASS(TSplitter, TGraphicControl)

public:
    explicit TSplitter(TComponent* owner);
    int MinSize() const { return minSize_; }
    void SetMinSize(int v) { minSize_ = std::max(1, v); }
    // The control the splitter resizes, or null.
    TControl* FindControl();

    TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Horizontal() const { return Align() == alTop || Align() == alBottom; }

    int minSize_ = 30;
    bool dragging_ = false;
    TPoint downAt_;
    TControl* target_ = nullptr;
    int startSize_ = 0;
};

}  // namespace tarvel
