#pragma once
// TTeHint: put on a form, it makes the application's hints skinned: the
// theme's hint element (else the hint colour with an edge), text wrapped
// within 1000 pixels, an optional shadow margin, and a window kept inside
// the work area of the monitor under the pointer. Hint timing stays the
// application's.

#include <memory>

#include "platform/classlib/HintWindow.h"
#include "skin/core/te_theme.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_options.h"

namespace tarvel {

class TTeHint : public TComponent {
    TARVEL_CLASS(TTeHint, TComponent)

public:
    explicit TTeHint(TComponent* owner);
    ~TTeHint() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    // The hint fades in over the animation's time while it is enabled (off,
    // 400 ms); its frame mixes it with what lies behind at the blending's
    // opacity while that is enabled (off, 150).
    TTeAnimation* Animation() { return &animation_; }
    void SetAnimation(TTeAnimation* value) { animation_.Assign(value); }
    TTeBlending* Blending() { return &blending_; }
    void SetBlending(TTeBlending* value) { blending_.Assign(value); }
    // The shadow's room at the right and bottom of the window (off, 4).
    TTeShadow* Shadow() { return &shadow_; }
    void SetShadow(TTeShadow* value) { shadow_.Assign(value); }
    bool ShadowEnabled() const { return shadow_.Enabled(); }
    void SetShadowEnabled(bool value) { shadow_.SetEnabled(value); }
    int ShadowSize() const { return shadow_.Size(); }
    void SetShadowSize(int value) { shadow_.SetSize(value); }
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value) { themeObject_ = value; }

    // The window's rectangle at the origin for the text, measured with the
    // canvas's font.
    virtual TRect GetHintBounds(TCanvas& canvas, const String& hint);
    virtual void PaintHint(TCanvas& canvas, const TRect& rect, const String& hint);

protected:
    void Loaded() override;

private:
    bool active_ = true;
    TTeAnimation animation_;
    TTeBlending blending_;
    TTeShadow shadow_;
    String themeObject_ = "default";
    bool replacedClass_ = false;
};

// The active hint component whose looks the hint windows take; null when none.
TTeHint* ActiveHintComponent();

class TTimer;
class TTeHintWindow;

// The frame of a hint window: no border, neither moved nor sized by the
// mouse, buffered, as small as 5 x 5. It carries the hint's blending and
// shadow and paints the hint's text over the whole form.
class TTeHintForm : public TTeDefaultForm {
    TARVEL_CLASS(TTeHintForm, TTeDefaultForm)

public:
    explicit TTeHintForm(TComponent* owner);
    TSize GetMinTrackSize() override { return TSize{5, 5}; }
    void PaintClientArea(TCanvas& canvas) override;

private:
    friend class TTeHintWindow;
};

class TTeHintWindow : public THintWindow {
    TARVEL_CLASS(TTeHintWindow, THintWindow)

public:
    explicit TTeHintWindow(TComponent* owner);
    ~TTeHintWindow() override;
    TRect CalcHintRect(const String& hint) override;
    void ActivateHint(const TRect& screenRect, const String& hint) override;
    // The opacity the window shows now (255 opaque).
    uint8_t Opacity() const { return opacity_; }
    TTeHintForm* HintForm() const { return hintForm_; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    void CMTextChanged(TMessage& m);
    void ShowFaded(TTeHint* hint);
    void SetOpacity(uint8_t value);
    void FadeStep();

    TTeHintForm* hintForm_;
    bool activating_ = false;
    uint8_t opacity_ = 255;
    uint32_t fadeStart_ = 0;
    int fadeTime_ = 0;
    std::unique_ptr<TTimer> fadeTimer_;
};

// The rectangle moved inside `area`: right and bottom edges first, then the
// left and the top, so a hint larger than the area keeps its top-left in view.
TRect ClampHintRect(TRect rect, const TRect& area);

}  // namespace tarvel
