// The tool through the SDL backend on an Xvfb of its own, wearing its own
// skin file, talking to a simulated module on a pseudo-terminal: the main
// window after start-up, the telemetry page after a query, the port dialog
// and the about box, saved under screenshots/ in the build folder for people
// to look at.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/About.h"
#include "app/Comm.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "platform/base/Paths.h"
#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/GuiTasks.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "tests/TempFolderFixture.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
#include "tools/bms-sim/SimLink.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

class ToolOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        auto backend = SdlBackend::Open("x11", &error);
        for (int i = 0; !backend && i < 10; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            backend = SdlBackend::Open("x11", &error);
        }
        ASSERT_TRUE(backend) << error;
        sdl = backend.get();
        InitWindowSystem(std::move(backend));
        previous = fs::current_path();
        fs::current_path(folder.Path());
        SetApplicationFolder(folder.Path().string());
        fs::create_directories(folder.Path() / "res/theme");
        fs::copy_file(fs::path(TARVEL_BINARY_DIR) / "res/theme/dara.mskn",
                      folder.Path() / "res/theme/dara.mskn");
        // The record files of an earlier run, so that no box about them waits for a person.
        std::ofstream(folder.File("ParaRecord.dat"), std::ios::binary) << std::string(264, '\0');
        std::ofstream(folder.File("Version.dat"), std::ios::binary) << std::string(1, '\0');
        ASSERT_TRUE(sim.Start()) << sim.Error();
        SetCommandLinePort(sim.DevicePath().c_str());
        app = std::make_unique<TApplication>(nullptr);
        InitSkinLibrary();
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (!sdl) return;
        sim.Stop();
        app.reset();
        DoneSkinLibrary();
        SetCommandLinePort("");
        SetApplicationFolder("");
        fs::current_path(previous);
        ShutdownWindowSystem();
    }

    // Runs the loop until `done` holds or `ms` pass.
    bool RunUntil(const std::function<bool()>& done, uint32_t ms = 5000) {
        const uint32_t start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > ms) return false;
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    void Settle(HWND h) {
        RunUntil([&] { return sdl->WindowPixels(h) != nullptr; });
        const uint32_t start = GetTickCount();
        RunUntil([&] { return GetTickCount() - start > 300; });
    }
    bool Save(TCustomForm* form, const char* name) {
        return sdl->SaveWindowPng(form->Handle(), dir + "/" + name);
    }

    SdlBackend* sdl = nullptr;
    testing::TempFolder folder;
    fs::path previous;
    sim::SimLink sim{sim::SimConfig{}};
    std::unique_ptr<TApplication> app;
    const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
};

TEST_F(ToolOnX11, MainWindowTelemetryPortDialogAndAboutBox) {
    Application->SetTitle(kAppName);
    Application->CreateForm(MainForm);
    Application->CreateForm(CommForm);
    Application->CreateForm(AboutBox);
    MainForm->Show();
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-main-window.png"));

    MainForm->TB_COMSwitchClick(nullptr);
    ASSERT_TRUE(MainForm->PortOpen);
    MainForm->TB_LOGClick(nullptr);
    ASSERT_TRUE(RunUntil([] { return MainForm->LoggedIn != 0; }));
    MainForm->PC_All->SetActivePage(MainForm->TS_TSBS);
    MainForm->B_Query->Click();
    ASSERT_TRUE(RunUntil([] { return MainForm->DoneTsbs != 0; }));
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-telemetry-page.png"));

    // The dialog as the menu opens it, with its port list; pictured from
    // inside its modal loop, then cancelled.
    bool saved = false;
    PostGuiTask([&] {
        Settle(CommForm->Handle());
        saved = Save(CommForm, "tool-port-dialog.png");
        CommForm->SetModalResult(mrCancel);
    });
    MainForm->M_SetCOMClick(nullptr);
    EXPECT_TRUE(saved);

    AboutBox->Show();
    Settle(AboutBox->Handle());
    EXPECT_TRUE(Save(AboutBox, "tool-about-box.png"));
    AboutBox->Hide();
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the tool's windows");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
