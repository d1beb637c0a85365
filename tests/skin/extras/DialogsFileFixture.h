#pragma once
// A small folder tree for the file dialogs and file controls, and the skin
// units they need on the headless backend with the UI driver.
//
//   a.LOG  b.txt.bak  notes.txt  report.txt  archive.zip  .hidden.txt
//   Sub/ (inner.txt, Deeper/)  .config/

#include <fstream>

#include "platform/base/Paths.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "tests/TempFolderFixture.h"
#include "tests/skin/extras/DialogsRegistryFixture.h"

namespace tarvel {

class DialogsFileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitThemeFlat();
        InitControlBases();
        InitForms();
        startDir_ = GetCurrentDir();
        for (const char* name :
             {"a.LOG", "b.txt.bak", "notes.txt", "report.txt", "archive.zip", ".hidden.txt"})
            std::ofstream(tmp_.File(name)) << name;
        std::filesystem::create_directories(tmp_.File("Sub/Deeper"));
        std::filesystem::create_directories(tmp_.File(".config"));
        std::ofstream(tmp_.File("Sub/inner.txt")) << "inner";
    }
    void TearDown() override {
        EXPECT_EQ(GetCurrentDir(), startDir_) << "nothing moves the process's current folder";
        ui_.RunUntilIdle();
        DoneForms();
        DoneControlBases();
        DoneButtonGlyphs();
        DoneThemeCore();
    }

    String Dir() const { return tmp_.Path().string(); }
    String File(const char* name) const { return tmp_.File(name); }

    TUiDriver ui_;
    tarvel::testing::TempRegistry registry_;
    tarvel::testing::TempFolder tmp_;
    String startDir_;
};

}  // namespace tarvel
