#pragma once
// The skin library on the test's own Xvfb with the flat, office-style and
// skin-file looks, the forms' unit and the effect controls started.

#include <gtest/gtest.h>

#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/extras/te_effect.h"
#include "skin/extras/te_extra_effect_controls.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
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

}  // namespace tarvel::testing
