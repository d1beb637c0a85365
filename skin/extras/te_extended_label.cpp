#include "skin/extras/te_extended_label.h"

#include "skin/core/te_bitmap.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extras/te_extended_skin.h"

namespace tarvel {

void TTeAdvancedLabel::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeAdvancedLabel::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeAdvancedLabel::TTeAdvancedLabel(TComponent* owner)
    : TTeLabel(owner),
      defaultFont_(std::make_unique<TFont>()),
      defaultDisabledFont_(std::make_unique<TFont>()) {}

TTeAdvancedLabel::~TTeAdvancedLabel() = default;

void TTeAdvancedLabel::SetAlwaysUseDefaultFont(bool value) {
    if (value == alwaysUseDefaultFont_) return;
    alwaysUseDefaultFont_ = value;
    Invalidate();
}

void TTeAdvancedLabel::SetAlwaysGetFontColorFromTheme(bool value) {
    if (value == alwaysGetFontColorFromTheme_) return;
    alwaysGetFontColorFromTheme_ = value;
    Invalidate();
}

void TTeAdvancedLabel::SetDefaultFont(TFont* value) {
    defaultFont_->Assign(value);
    Invalidate();
}

void TTeAdvancedLabel::SetDefaultDisabledFont(TFont* value) { defaultDisabledFont_->Assign(value); }

void TTeAdvancedLabel::CheckObject() {
    objectAvailable_ = true;
    if (IsSkinSource(CurrentTheme) && ThemeObject() != "default")
        objectAvailable_ = FindSkinObject(CurrentTheme, ThemeObject()) != nullptr;
}

void TTeAdvancedLabel::Loaded() {
    TTeLabel::Loaded();
    CheckObject();
    Invalidate();
}

void TTeAdvancedLabel::SNMThemeMessage(TMessage& m) {
    if (m.WParam != tmSystemChanged) CheckObject();
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeAdvancedLabel::SelectDefaultFont(TCanvas& canvas, TteThemeFont index) {
    canvas.Font()->Assign(index == ktfStaticTextDisabled ? defaultDisabledFont_.get() : defaultFont_.get());
    if (!alwaysGetFontColorFromTheme_) return;
    if (TFont* themed = CurrentTheme->Fonts()->GetFontForObject(index, ThemeObject()))
        canvas.Font()->SetColor(themed->Color());
}

void TTeAdvancedLabel::DoDrawText(TRect& rect, unsigned flags) {
    if (!Parent()) return;
    const bool measuring = flags & DT_CALCRECT;
    WideString text = GetLabelText();
    // An empty caption, or a lone accelerator mark, still measures one line.
    if (measuring && (text.empty() || (ShowAccelChar() && text == u"&"))) text += u' ';
    if (!ShowAccelChar()) flags |= DT_NOPREFIX;
    TteBitmap scratch;
    if (measuring) scratch.SetSize(1, 1);
    TCanvas& c = measuring ? *scratch.GetCanvas() : *Canvas();
    const bool ownFont = alwaysUseDefaultFont_ || !objectAvailable_;
    // Only the current theme counts here: a link never lends the label its object.
    if (!CurrentTheme || !IsObjectDefined(klscLabel, ThemeObject(), nullptr)) {
        c.Font()->Assign(ownFont ? defaultFont_.get() : Font());
        DrawPlainText(c, text, rect, flags);
        return;
    }
    const TteThemeFont index = Enabled() ? ktfStaticTextNormal : ktfStaticTextDisabled;
    if (ownFont) {
        SelectDefaultFont(c, index);
    } else if (TFont* themed = CurrentTheme->Fonts()->GetFontForObject(index, ThemeObject())) {
        c.Font()->Assign(themed);
    } else {
        c.Font()->Assign(Font());
    }
    if (measuring) {
        DrawText(c, text, rect, flags);
        return;
    }
    CurrentTheme->LabelDrawText(klscLabel, c, LabelInfo(Enabled() ? kldsNormal : kldsDisabled),
                                TextInfo(rect, text, flags), ThemeObject());
}

}  // namespace tarvel
