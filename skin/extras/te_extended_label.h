#pragma once
// TTeAdvancedLabel: a label with fonts of its own for when the theme has no
// object for it, or when a loaded skin lacks the object the label names.

#include <memory>

#include "skin/controls/te_controls_label.h"

namespace tarvel {

class TTeAdvancedLabel : public TTeLabel {
    TARVEL_CLASS(TTeAdvancedLabel, TTeLabel)

public:
    explicit TTeAdvancedLabel(TComponent* owner);
    ~TTeAdvancedLabel() override;

    bool AlwaysUseDefaultFont() const { return alwaysUseDefaultFont_; }
    void SetAlwaysUseDefaultFont(bool value);
    bool AlwaysGetFontColorFromTheme() const { return alwaysGetFontColorFromTheme_; }
    void SetAlwaysGetFontColorFromTheme(bool value);
    TFont* DefaultFont() const { return defaultFont_.get(); }
    // Both setters copy the font.
    void SetDefaultFont(TFont* value);
    TFont* DefaultDisabledFont() const { return defaultDisabledFont_.get(); }
    void SetDefaultDisabledFont(TFont* value);

    // False only while the current theme is a skin without the named object.
    bool ObjectAvailable() const { return objectAvailable_; }
    void CheckObject();

    void DoDrawText(TRect& rect, unsigned flags) override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;

private:
    void SNMThemeMessage(TMessage& m);
    // The enabled or disabled default font, coloured by the theme on request.
    void SelectDefaultFont(TCanvas& canvas, TteThemeFont index);

    bool alwaysUseDefaultFont_ = false;
    bool alwaysGetFontColorFromTheme_ = false;
    std::unique_ptr<TFont> defaultFont_;
    std::unique_ptr<TFont> defaultDisabledFont_;
    bool objectAvailable_ = true;
};

}  // namespace tarvel
