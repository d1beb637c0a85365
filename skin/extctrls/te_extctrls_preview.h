#pragma once
// The extended set's theme preview: the theme core's miniature window,
// drawn with the skinned frames' own caption font and frame metrics, and
// with the classic caption buttons packed as a classic frame packs them
// (minimise against maximise, tray against roll-up).
//
// It shares its name with the theme core's preview, which the theme panels
// use; this one lives in its own namespace.

#include "skin/core/te_engine_preview.h"

namespace tarvel::extctrls {

class TTeThemePreview : public ::tarvel::TTeThemePreview {
    TARVEL_CLASS(TTeThemePreview, ::tarvel::TTeThemePreview)

public:
    using inherited::inherited;

protected:
    TteFrameMetrics FrameMetrics() const override;
    void SetCaptionFont(TFont& font) const override;
    int CaptionButtonGap(TTeBorderIcon icon, bool styled) const override;
};

}  // namespace tarvel::extctrls
