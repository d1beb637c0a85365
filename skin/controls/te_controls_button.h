#pragma once
// TTeButton: the library-drawn push button. It paints from the theme's
// button object, else in the classic 3-D look; it carries the bit button's
// kinds, glyph cells, layout, default and cancel roles and modal result,
// and fades its face through the transition engine when the mouse comes
// and goes.

#include <memory>

#include "platform/classlib/ActnList.h"
#include "platform/classlib/Buttons.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/ImageLists.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme.h"
#include "skin/forms/te_forms_options.h"

namespace tarvel {

class TTeButton : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeButton, TTeControl)

public:
    explicit TTeButton(TComponent* owner);
    ~TTeButton() override;

    bool ActiveDefault() const { return activeDefault_; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool BlackAndWhiteGlyph() const { return blackAndWhiteGlyph_; }
    void SetBlackAndWhiteGlyph(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    const WideString& GetCaption() const { return caption_; }
    void SetCaption(const WideString& value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    // Style, size, name and colour laid over the text font; assigning copies.
    TTeFontOptions* FontOptions() const { return fontOptions_.get(); }
    void SetFontOptions(TTeFontOptions* value) { fontOptions_->Assign(value); }
    bool FXEnabled() const { return fxEnabled_; }
    void SetFXEnabled(bool value) { fxEnabled_ = value; }
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value);
    // The image of Images shown while Glyph is empty.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    // The slot reserved at construction, and the one the last fade runs in.
    int ReservedSlot() const { return reservedSlot_; }
    int RunningSlot() const { return runningSlot_; }
    bool Pressed() const { return pressed_; }

    void Click() override;

    virtual TRect GetLayoutRect();
    virtual TRect GetCaptionRect();
    virtual TRect GetGlyphRect();
    virtual void PaintFace();
    virtual void PaintGlyph();
    virtual void PainTText();
    void PaintBuffer() override;

    TteButtonDrawState FaceState();
    TteButtonDrawState TextState();

protected:
    static void DeclareMessages(TMessageTable& t);
    // The control's values, then the action's caption and click whatever
    // `checkDefaults` says; the action's image shows while the button has
    // no glyph and no image of its own.
    void ActionChange(TObject* sender, bool checkDefaults) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // A hover fade still running would paint the face it captured, with
    // the old focus, over the new one: it is stopped first.
    void HasFocus() override;
    void KillFocus() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;

private:
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMFocusChanged(TMessage& m);
    void CMTextChanged(TMessage& m);

    bool Themed();
    void Repaint() override;
    void GlyphChanged();
    // The glyph the face shows, made anew: Glyph, else the image of Images
    // on magenta; null when there is none.
    TBitmap* WorkingGlyph();
    TSize GlyphSize();
    // The text font of the state, with the font options, on canvas.
    void SelectTextFont(TCanvas& canvas, bool forText);
    // Fades from the face before `change` to the face after it.
    void FadeHover(bool entering);
    void PaintInto(TteBitmap& picture);
    void StopFade();

    bool activeDefault_ = false;
    uint8_t pressed_ = 0;
    bool tracking_ = false;
    int reservedSlot_ = -1;
    int runningSlot_ = -1;
    TteBitmap before_;
    TteBitmap after_;

    TAlignment alignment_ = taCenter;
    bool blackAndWhiteGlyph_ = false;
    bool cancel_ = false;
    WideString caption_;
    bool default_ = false;
    std::unique_ptr<TTeFontOptions> fontOptions_;
    bool fxEnabled_ = true;
    std::unique_ptr<TBitmap> glyph_;
    std::unique_ptr<TBitmap> working_;
    int imageIndex_ = -1;
    TCustomImageList* images_ = nullptr;
    TBitBtnKind kind_ = bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    TModalResult modalResult_ = mrNone;
    int numGlyphs_ = 1;
    int spacing_ = 4;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

// The caption, modal result and default flag a kind sets.
struct TTeButtonKindInfo {
    const char* Caption;
    TModalResult Result;
    bool Default;
};
const TTeButtonKindInfo& ButtonKindInfo(TBitBtnKind kind);
// The stock glyph of a kind: two 16 x 16 cells, normal and disabled; null for bkCustom.
TBitmap* ButtonKindGlyph(TBitBtnKind kind);
// What becomes of the pixels a glyph keeps, in this order.
struct GlyphFaceRules {
    const ButtonColorMap* colors = nullptr;  // fixed button colours to these
    bool grey = false;                       // the black-and-white look
    bool disabledGrey = false;               // the light grey of a single-cell disabled glyph
};
// Cell `cell` (of `size`) of a glyph strip without its key colour, the
// rules applied to the rest. The key is matched on the glyph's own colours.
void MakeGlyphFace(const TteBitmap& whole, uint32_t key, int cell, TSize size, const GlyphFaceRules& rules,
                   TteBitmap& face);
// The key colour of a glyph taken from an image list.
constexpr uint32_t kImageGlyphKey = 0xFF00FF;
// Image `index` of the list on the key colour, the size of the list's images.
void ImageGlyph(TCustomImageList& images, int index, TBitmap& into);
// Frees the stock glyphs (the control library's end).
void DoneButtonGlyphs();

}  // namespace tarvel
