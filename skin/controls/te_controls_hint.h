#pragma once
// TTeHint: put on a form, it makes the application's hints skinned: the
// theme's hint element (else the hint colour with an edge), text wrapped
// within 1000 pixels, an optional shadow margin, and a window kept inside
// the work area of the monitor under the pointer. Hint timing stays the
// application's.

#include "platform/classlib/HintWindow.h"
#include "skin/core/te_theme.h"

namespace tarvel {

class TTeHint : public TComponent {
    TARVEL_CLASS(TTeHint, TComponent)

public:
    explicit TTeHint(TComponent* owner);
    ~TTeHint() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    // The shadow's room at the right and bottom of the window.
    bool ShadowEnabled() const { return shadowEnabled_; }
    void SetShadowEnabled(bool value) { shadowEnabled_ = value; }
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int value) { shadowSize_ = std::max(0, value); }
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
    bool shadowEnabled_ = false;
    int shadowSize_ = 4;
    String themeObject_ = "default";
    bool replacedClass_ = false;
};

// The active hint component whose looks the hint windows take; null when none.
TTeHint* ActiveHintComponent();

class TTeHintWindow : public THintWindow {
    TARVEL_CLASS(TTeHintWindow, THintWindow)

public:
    explicit TTeHintWindow(TComponent* owner);
    TRect CalcHintRect(const String& hint) override;
    void ActivateHint(const TRect& screenRect, const String& hint) override;

protected:
    void Paint() override;
};

// The rectangle moved inside `area`: right and bottom edges first, then the
// left and the top, so a hint larger than the area keeps its top-left in view.
TRect ClampHintRect(TRect rect, const TRect& area);

}  // namespace tarvel
