#pragma once
// The SDL backend on the test's own Xvfb with an application, the flat,
// office-style and skin-file looks, the forms' unit and the effect controls
// started; pictures go to screenshots/ in the build folder.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/classlib/Application.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/sdl/SdlBackend.h"
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

namespace tarvel::testing {

class SkinOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        auto backend = OpenX11Backend(error);
        ASSERT_TRUE(backend) << error;
        sdl = backend.get();
        InitWindowSystem(std::move(backend));
        app = std::make_unique<TApplication>(nullptr);
        InitThemeCore();
        InitThemeFlat();
        InitThemeOfficeXP();
        InitControlBases();
        InitForms();
        InitEffects();
        InitEffectControls();
        mkdir(dir.c_str(), 0755);
    }
    void TearDown() override {
        if (!sdl) return;
        XMovePointer(1, 1);
        ReleaseTheme();
        DoneEffectControls();
        DoneEffects();
        DoneForms();
        DoneControlBases();
        DoneButtonGlyphs();
        DoneThemeCore();
        app.reset();
        ShutdownWindowSystem();
    }

    SdlBackend* sdl = nullptr;
    std::unique_ptr<TApplication> app;
    const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
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
