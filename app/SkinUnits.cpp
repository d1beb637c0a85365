// The skin library's units, started in the order they build on one
// another and stopped in reverse.

#include "app/Startup.h"

#include "skin/controls/te_controls_init.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_startup.h"
#include "skin/extras/te_effect.h"
#include "skin/extras/te_extra_effect_controls.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "skin/themes/theme_se3.h"

namespace tarvel {

void InitSkinLibrary() {
    InitThemeCore();
    InitThemeFlat();
    InitThemeOfficeXP();
    InitThemeSkinFile();
    InitControlBases();
    InitForms();
    InitControls();
    InitExtCtrls();
    InitEffects();
    InitEffectControls();
}

void DoneSkinLibrary() {
    DoneEffectControls();
    DoneEffects();
    DoneExtCtrls();
    DoneControls();
    DoneForms();
    DoneControlBases();
    DoneThemeCore();
}

}  // namespace tarvel
