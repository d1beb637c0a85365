#pragma once
// An about-box-like layout: four label rows and an effect "Confirm" button,
// for the pictures of the button's fade.

#include "skin/controls/te_controls_label.h"
#include "skin/extras/te_extra_effect_button.h"
#include "tests/skin/controls/GalleryForms.h"

namespace tarvel::testing {

inline TTeEffectButton* PlaceAboutBox(TWinControl* parent) {
    const char16_t* rows[] = {u"Product:  BMS host tool", u"Version:  1.0", u"Copyright:  the makers",
                              u"Comments:  battery module monitor"};
    for (int i = 0; i < 4; ++i) {
        auto* label = Place<TTeLabel>(parent, 24, 20 + i * 26, 300, 18);
        label->SetAutoSize(false);
        label->SetCaption(rows[i]);
    }
    auto* confirm = Place<TTeEffectButton>(parent, 150, 140, 85, 29);
    confirm->SetCaption(u"Confirm");
    return confirm;
}

}  // namespace tarvel::testing
