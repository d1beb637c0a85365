// The open panel's dialog through the SDL backend on an Xvfb of its own,
// showing a temporary folder with the flat theme current, saved under
// screenshots/ in the build folder for people to look at.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/extras/te_dialogs_file_panel.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "tests/TempFolderFixture.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"

namespace tarvel {
namespace {

TEST(DialogsFileOnX11, TheOpenPanelInATemporaryFolder) {
    std::string error;
    auto backend = OpenX11Backend(error);
    ASSERT_TRUE(backend) << error;
    SdlBackend* sdl = backend.get();
    InitWindowSystem(std::move(backend));
    auto app = std::make_unique<TApplication>(nullptr);
    InitThemeCore();
    InitThemeFlat();
    InitControlBases();
    InitForms();
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

    const DWORD start = GetTickCount();
    while (!sdl->WindowPixels(form->Handle()) && GetTickCount() - start < 5000)
        Application->ProcessMessages();
    const DWORD settle = GetTickCount();
    while (GetTickCount() - settle < 300) Application->ProcessMessages();
    const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
    mkdir(dir.c_str(), 0755);
    EXPECT_TRUE(sdl->SaveWindowPng(form->Handle(), dir + "/dialogs_file_open_panel.png"));

    form.reset();
    ChangeTheme(static_cast<TteTheme*>(nullptr));
    DoneForms();
    DoneControlBases();
    DoneButtonGlyphs();
    DoneThemeCore();
    app.reset();
    ShutdownWindowSystem();
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the file dialogs");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
