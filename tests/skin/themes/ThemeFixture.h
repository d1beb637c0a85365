#pragma once
// What the built-in theme tests share: the window system and theme core
// with the built-in themes registered, and the paper to draw on.

#include <gtest/gtest.h>

#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_theme_api.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {

class BuiltInThemeTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitThemeFlat();
        InitThemeOfficeXP();
    }
    void TearDown() override { DoneThemeCore(); }

    TUiDriver ui_;
};

}  // namespace tarvel::testing
