#pragma once
// The tool through the SDL backend on an Xvfb of its own, wearing its own
// skin file, talking to simulated modules on a pseudo-terminal; pictures go
// under screenshots/ in the build folder for people to look at. Each test
// program that uses it runs its tests through RunTestsOnXvfb.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

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
namespace fs = std::filesystem;

class ToolOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        auto backend = OpenX11Backend(error);
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
        line = std::make_unique<sim::SimLink>(Modules());
        ASSERT_TRUE(line->Start()) << line->Error();
        SetCommandLinePort(line->DevicePath().c_str());
        app = std::make_unique<TApplication>(nullptr);
        InitSkinLibrary();
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (!sdl) return;
        line->Stop();
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
    // The simulated modules on the line: one at address 0 unless a test says otherwise.
    virtual sim::SimConfig Modules() const { return sim::SimConfig{}; }
    std::unique_ptr<sim::SimLink> line;
    std::unique_ptr<TApplication> app;
    const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
};

}  // namespace tarvel
