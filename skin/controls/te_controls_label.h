#pragma once
// TTeLabel: the windowless text label, drawn with the theme's label element
// or the canvas, sized to its caption, with an accelerator that focuses
// another control, hover tracking and a small glyph from a theme button
// object. TTeScrollingLabel slides a caption wider than itself back and
// forth on a window timer, resting at each end.

#include <memory>
#include <optional>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "platform/classlib/Timers.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_options.h"

namespace tarvel {

class TTeLabel : public TTeGraphicControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeLabel, TTeGraphicControl)

public:
    explicit TTeLabel(TComponent* owner);
    ~TTeLabel() override;

    bool ActiveGlyph() const { return activeGlyph_; }
    void SetActiveGlyph(bool value) { activeGlyph_ = value; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value) override;
    const WideString& GetCaption() const { return caption_; }
    void SetCaption(const WideString& value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    // Style, size, name and colour laid over the text font; assigning copies.
    TTeFontOptions* FontOptions() const { return fontOptions_.get(); }
    void SetFontOptions(TTeFontOptions* value) { fontOptions_->Assign(value); }
    int GlyphSpace() const { return glyphSpace_; }
    void SetGlyphSpace(int value);
    const String& GlyphThemeObject() const { return glyphThemeObject_; }
    void SetGlyphThemeObject(const String& value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool ShowGlyph() const { return showGlyph_; }
    void SetShowGlyph(bool value);
    // True exactly when the control is not opaque.
    bool Transparent() const { return !ControlStyle.Contains(csOpaque); }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    virtual WideString GetLabelText() { return caption_; }
    virtual void AdjustBounds();
    virtual void DoDrawText(TRect& rect, unsigned flags);
    void PaintBuffer() override;
    // The flags of the caption: wrap, tabs, alignment and layout.
    unsigned TextFlags() const;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool Themed();
    bool HasGlyph() const { return showGlyph_ && !glyphThemeObject_.empty(); }
    TRect GlyphSquare();
    // The caption without the theme, embossed when a disabled label paints.
    void DrawPlainText(TCanvas& canvas, const WideString& text, TRect& rect, unsigned flags);

    // Pixels the text is moved by; the scrolling label sets it before painting.
    int textOffset_ = 0;

private:
    void CMTextChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMDialogChar(TMessage& m);
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void SelectFont(TCanvas& canvas, TteThemeFont index);

    bool activeGlyph_ = false;
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    WideString caption_;
    TWinControl* focusControl_ = nullptr;
    std::unique_ptr<TTeFontOptions> fontOptions_;
    int glyphSpace_ = 5;
    String glyphThemeObject_;
    bool hotTrack_ = false;
    TTextLayout layout_ = tlTop;
    bool showAccelChar_ = true;
    bool showGlyph_ = false;
    bool wordWrap_ = false;
    bool glyphHot_ = false;
    bool glyphPressed_ = false;
    bool pressed_ = false;
};

class TTeScrollingLabel : public TTeLabel {
    TARVEL_CLASS(TTeScrollingLabel, TTeLabel)

public:
    explicit TTeScrollingLabel(TComponent* owner);
    ~TTeScrollingLabel() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    // Pixels per second.
    int Speed() const { return speed_; }
    void SetSpeed(int value) { speed_ = value; }
    // Milliseconds of rest at each end.
    int PauseTime() const { return pauseTime_; }
    void SetPauseTime(int value) { pauseTime_ = value; }
    // Passes before stopping; 0 or less scrolls on.
    int ScrollCount() const { return scrollCount_; }
    void SetScrollCount(int value);

    // Where the text is painted, in pixels from its home position.
    int PaintedOffset() const { return paintedOffset_; }
    int Passes() const { return passes_; }
    bool Resting() const { return resting_; }
    TTimer* Timer() const { return timer_; }

    void PaintBuffer() override;

private:
    void Step(TObject* sender);
    void GoHome();

    bool active_ = false;
    int speed_ = 5;
    int pauseTime_ = 1000;
    int scrollCount_ = -1;
    TTimer* timer_;
    double direction_ = -1.0;
    double total_ = 0;
    int paintedOffset_ = 0;
    std::optional<uint32_t> lastTick_;
    bool resting_ = false;
    int64_t restMs_ = 0;
    int passes_ = 0;
};

}  // namespace tarvel
