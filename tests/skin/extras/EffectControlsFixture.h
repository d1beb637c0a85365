#pragma once
// The control fixture with the transition engine and the effect controls'
// unit started, and a way to take the pointer off every control.

#include "skin/extras/te_effect.h"
#include "skin/extras/te_extra_effect_controls.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel::testing {

class EffectControlsTest : public SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        InitEffects();
        InitEffectControls();
    }
    void TearDown() override {
        SkinControlsTest::TearDown();
        DoneEffectControls();
        DoneEffects();
    }
    void Away() { MoveTo(form_, {390, 290}); }
};

}  // namespace tarvel::testing
