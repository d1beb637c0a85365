#include "skin/extctrls/te_extctrls_preview.h"

#include "skin/forms/te_forms_resources.h"

namespace tarvel::extctrls {

TteFrameMetrics TTeThemePreview::FrameMetrics() const {
    // Before the frames' unit has started its metrics are still 0.
    if (DefaultButtonHeight == 0) return inherited::FrameMetrics();
    return TteFrameMetrics{DefaultBorderWidth, DefaultButtonHeight};
}

void TTeThemePreview::SetCaptionFont(TFont& font) const {
    if (CaptionFont)
        font.Assign(CaptionFont);
    else
        inherited::SetCaptionFont(font);
}

int TTeThemePreview::CaptionButtonGap(TTeBorderIcon icon, bool styled) const {
    switch (icon) {
        case kbiMinimize: return styled ? 2 : 0;
        case kbiTray: return 0;
        default: return 2;
    }
}

}  // namespace tarvel::extctrls
