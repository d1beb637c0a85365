#pragma once
// The skin library on the test's own Xvfb with the flat, office-style and
// skin-file looks, the forms' unit and the effect controls started.

#include <gtest/gtest.h>

#include <string>

#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/extras/te_effect.h"
#include "skin/extras/te_extra_effect_controls.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
#include "tests/skin/themes/DaraSkinFixture.h"
#include "tests/skin/themes/xvfb/SkinXvfbFixture.h"

namespace tarvel::testing {

class SkinOnX11 : public SkinXvfbTest {
protected:
    void StartUnits() override {
        InitThemeFlat();
        InitThemeOfficeXP();
        InitControlBases();
        InitForms();
        InitEffects();
        InitEffectControls();
    }
    void StopUnits() override {
        DoneEffectControls();
        DoneEffects();
        DoneForms();
        DoneControlBases();
        DoneButtonGlyphs();
    }
    void TearDown() override {
        // The next test starts with no control under the pointer.
        if (sdl) XMovePointer(1, 1);
        SkinXvfbTest::TearDown();
    }
};

struct Look {
    const char* suffix;
    const char* theme;  // none: the tool's skin file
};
inline constexpr Look kLooks[] = {{"flat", "Flat"}, {"dara", nullptr}};

inline void UseLook(const Look& look) {
    if (look.theme)
        ChangeTheme(std::string_view(look.theme));
    else
        ASSERT_TRUE(ChangeToDaraSkin()) << DaraSkinPath();
    ASSERT_NE(CurrentTheme, nullptr);
}

}  // namespace tarvel::testing
