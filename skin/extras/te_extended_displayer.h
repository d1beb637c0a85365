#pragma once
// Shows one named object of the loaded skin (or the theme's panel), or
// fills itself with a theme colour when there is nothing to show.

#include "skin/core/te_theme_colors.h"
#include "skin/extras/te_extended_controls.h"

namespace tarvel {

class TSeSkinObject;

class TTeObjectDisplayer : public TTeExtraControl {
    TARVEL_CLASS(TTeObjectDisplayer, TTeExtraControl)

public:
    explicit TTeObjectDisplayer(TComponent* owner);
    ~TTeObjectDisplayer() override;

    // Looked up again at once unless loading.
    void SetThemeObject(const String& value) override;
    const String& DefaultObject() const { return defaultObject_; }
    void SetDefaultObject(const String& value);
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    // Repaints without a new lookup.
    void SetThemeLink(TteCustomThemeLink* value);
    // The colour settings take effect at the next lookup.
    bool GetColorFromTheme() const { return getColorFromTheme_; }
    void SetGetColorFromTheme(bool value);
    TteThemeColor ThemedColor() const { return themedColor_; }
    void SetThemedColor(TteThemeColor value);
    TColor DefaultColor() const { return defaultColor_; }
    void SetDefaultColor(TColor value);
    bool FillWithColorWhenObjectIsNotDefined() const { return fillWhenUndefined_; }
    void SetFillWithColorWhenObjectIsNotDefined(bool value);
    // The fill colour of the last lookup, not the control's own colour.
    TColor FillColor() const { return fillColor_; }
    TSeSkinObject* SkinObject() const { return object_; }

    void InitObject();
    void PaintBuffer() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& message) override;

private:
    void SNMThemeMessage(TMessage& m);
    TteTheme* Theme() const;
    bool IsLoading() const { return ComponentState().Contains(csLoading); }

    String defaultObject_;
    TteCustomThemeLink* themeLink_ = nullptr;
    bool getColorFromTheme_ = true;
    TteThemeColor themedColor_ = ktcWindow;
    TColor defaultColor_ = clWindow;
    bool fillWhenUndefined_ = true;
    TColor fillColor_ = clWindow;
    // Belongs to the theme's skin.
    TSeSkinObject* object_ = nullptr;
};

// The same, holding child controls.
class TTeObjectDisplayerContainer : public TTeObjectDisplayer {
    TARVEL_CLASS(TTeObjectDisplayerContainer, TTeObjectDisplayer)

public:
    explicit TTeObjectDisplayerContainer(TComponent* owner);
};

}  // namespace tarvel
