// The open panel's dialog through the SDL backend on an Xvfb of its own,
// showing a temporary folder with the flat theme current, saved under
// screenshots/ in the build folder for people to look at and compared with
// its reference.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "skin/controls/te_controls_button.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/extras/te_dialogs_file_panel.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "tests/TempFolderFixture.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
#include "tests/skin/themes/xvfb/SkinXvfbFixture.h"

namespace tarvel {
namespace {

class DialogsFileOnX11 : public testing::SkinXvfbTest {
protected:
    void StartUnits() override {
        InitThemeFlat();
        InitControlBases();
        InitForms();
    }
    void StopUnits() override {
        DoneForms();
        DoneControlBases();
        DoneButtonGlyphs();
    }
};

TEST_F(DialogsFileOnX11, TheOpenPanelInATemporaryFolder) {
    ChangeTheme("Flat");

    tarvel::testing::TempFolder tmp;
    for (const char* folder : {"Alarm_Data", "DataAccess", "Records 2024"})
        std::filesystem::create_directories(tmp.File(folder));
    for (const char* file : {"ParaRecord.dat", "Version.dat", "cells.csv", "module-01.csv", "readme.txt"})
        std::ofstream(tmp.File(file)) << file;

    TFileRequest request;
    request.title = "Open records";
    request.filter = "Record files (*.csv;*.dat)|*.csv;*.dat|All files (*.*)|*.*";
    request.initialDir = tmp.Path().string();
    request.options = TOpenOptions{ofHideReadOnly, ofEnableSizing};
    std::unique_ptr<TForm> form = CreateFilePanelForm(request);
    auto* panel = static_cast<TTeOpenPanel*>(form->FindComponent("Panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->teFilesList->Count(), 7) << "three folders and four record files";
    form->SetBounds(40, 40, form->Width(), form->Height());
    form->Show();
    panel->teFilesList->SetItemIndex(4);
    SetForegroundWindow(form->Handle());

    // The folder's random tail is cut off in the box, so the picture holds.
    ComparedShot(form->Handle(), "dialogs_file_open_panel.png");
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the file dialogs");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
