#pragma once
// The tool through the SDL backend on an Xvfb of its own, wearing its own
// skin file, talking to simulated modules on a pseudo-terminal; pictures go
// under screenshots/ in the build folder for people to look at. Each test
// program that uses it runs its tests through RunTestsOnXvfb.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "app/Startup.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "tests/TempFolderFixture.h"
#include "tests/app/xvfb/ScreenInput.h"
#include "tools/bms-sim/SimLink.h"

namespace tarvel {
namespace fs = std::filesystem;

class ToolOnX11 : public testing::ScreenInputTest {
protected:
    void SetUp() override {
        testing::SkinXvfbTest::SetUp();
        if (!sdl) return;
        previous = fs::current_path();
        fs::current_path(folder.Path());
        SetApplicationFolder(folder.Path().string());
        fs::create_directories(folder.Path() / "res/theme");
        fs::copy_file(fs::path(TARVEL_BINARY_DIR) / "res/theme/dara.mskn",
                      folder.Path() / "res/theme/dara.mskn");
        // The record files of an earlier run, so that no box about them waits for a person.
        std::ofstream(folder.File("ParaRecord.dat"), std::ios::binary) << std::string(264, '\0');
        std::ofstream(folder.File("Version.dat"), std::ios::binary) << std::string(1, '\0');
        line = std::make_unique<sim::SimLink>(Modules());
        // A link in the test's folder, never the terminal's own name: once the
        // module is gone that name may be another test's terminal.
        port = folder.File("ttyBMS");
        ASSERT_TRUE(line->Start(port)) << line->Error();
        SetCommandLinePort(port.c_str());
        WatchModalWindows();
    }
    void TearDown() override {
        if (!sdl) return;
        EXPECT_TRUE(answers.empty()) << answers.size() << " answers for windows that never came";
        if (line) line->Stop();
        // The tool's windows belong to the application: they go, in the
        // temporary folder, before the units they are made of stop.
        app.reset();
        testing::SkinXvfbTest::TearDown();
        SetCommandLinePort("");
        SetApplicationFolder("");
        fs::current_path(previous);
    }
    void StartUnits() override { InitSkinLibrary(); }
    void StopUnits() override { DoneSkinLibrary(); }

    // The tool as the program starts it: its five windows made and the main
    // one on the screen; the port's waits shortened to a test's pace.
    void StartTool() {
        CreateToolWindows(*Application);
        MainForm->Show();
        CommTimeouts quick;
        quick.readInterval = 5;
        MainForm->Comm1->SetTimeouts(quick);
        Settle(MainForm->Handle());
    }
    // The main window's control of that name.
    static TControl* Control(const String& name) { return ScreenInputTest::Control(MainForm, name); }
    using ScreenInputTest::Control;
    // Clicks the main window's control of that name.
    bool Click(const String& name) { return ScreenInputTest::Click(Control(name)); }
    using ScreenInputTest::Click;
    // What the info line says, without its indent.
    static String InfoLine() { return Trim(MainForm->L_Info->Caption()); }

    // Simulated modules at these addresses.
    static sim::SimConfig ModulesAt(std::vector<uint8_t> addresses) {
        sim::SimConfig config;
        config.addresses = std::move(addresses);
        return config;
    }
    // Opens the port and logs in with the tool bar's buttons.
    void OpenAndLogIn() {
        ASSERT_TRUE(Click("TB_COMSwitch"));
        ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; })) << InfoLine();
        ASSERT_TRUE(Click("TB_LOG"));
        ASSERT_TRUE(Await([] { return MainForm->LoggedIn != 0; })) << InfoLine();
    }
    // Opens the port and turns to the parallel system with the tool bar's
    // buttons: the polling set-up is in front.
    void OpenInParallelMode() {
        ASSERT_TRUE(Click("TB_COMSwitch"));
        ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; })) << InfoLine();
        ASSERT_TRUE(Click("TB_SingleConvert"));
        ASSERT_TRUE(Await([] { return MainForm->PC_All->GetActivePage() == MainForm->TS_PraSet; }));
        Settle(MainForm->Handle());
    }

    testing::TempFolder folder;
    fs::path previous;
    // The simulated modules on the line: one at address 0 unless a test says otherwise.
    virtual sim::SimConfig Modules() const { return sim::SimConfig{}; }
    std::unique_ptr<sim::SimLink> line;
    // The path the tool opens; it goes with the module.
    std::string port;
};

}  // namespace tarvel
