#pragma once
// Buttons with glyphs: the bit button (a push button with a picture and
// standard kinds) and the speed button (windowless, can stay down).

#include <memory>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/StdCtrls.h"

namespace tarvel {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

// Places a glyph and a caption inside a button face.
void DrawGlyphAndCaption(HDC dc, TCanvas* canvas, TBitmap* glyph, TFont* font, const String& caption, TRect r,
                         TButtonLayout layout, int spacing, bool enabled);

class TBitBtn : public TButton {
    TARVEL_CLASS(TBitBtn, TButton)

public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;
    TBitmap* Glyph() { return glyph_.get(); }
    void SetGlyph(TBitmap* glyph);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout l);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    TBitBtnKind Kind() const { return kind_; }
    // A standard kind brings its caption, modal result and default or
    // cancel role.
    void SetKind(TBitBtnKind kind);

protected:
    void Paint() override;

private:
    std::unique_ptr<TBitmap> glyph_;
    TButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
    TBitBtnKind kind_ = bkCustom;
};

// The mouse of a windowless button: pressed while the left button is held
// over it, hot while the mouse is over it; letting go over it releases it.
class TGraphicButton : public TGraphicControl {
    TARVEL_CLASS(TGraphicButton, TGraphicControl)

public:
    explicit TGraphicButton(TComponent* owner);

protected:
    static void DeclareMessages(TMessageTable& t);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMMouseEnterButton(TMessage& m);
    void CMMouseLeaveButton(TMessage& m);
    virtual bool CanPress() { return Enabled(); }
    // A press let go over the button: a click unless the kind says more.
    virtual void Released() { Click(); }
    virtual bool PaintsHot() const { return true; }
    bool Pressed() const { return pressed_; }
    bool Hot() const { return hot_; }

private:
    bool pressed_ = false, tracking_ = false, hot_ = false;
};

// A windowless button; with a GroupIndex it stays down until another of its
// group goes down (or, with AllowAllUp, until clicked again).
class TSpeedButton : public TGraphicButton, public IUiState {
    TARVEL_CLASS(TSpeedButton, TGraphicButton)

public:
    String UiState() override { return down_ ? "down" : ""; }
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;
    TBitmap* Glyph() { return glyph_.get(); }
    void SetGlyph(TBitmap* glyph);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout l);

protected:
    void Paint() override;
    void Released() override;
    bool PaintsHot() const override { return flat_; }

private:
    std::unique_ptr<TBitmap> glyph_;
    int groupIndex_ = 0;
    bool down_ = false, allowAllUp_ = false, flat_ = false;
    TButtonLayout layout_ = blGlyphLeft;
};

}  // namespace tarvel
