#pragma once
// The tool's main window on the headless backend, driven by the UI driver:
// the skin library started as the program starts it, the application folder
// and the current folder moved to a fresh temporary folder, and the window
// made as the program's entry makes it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/Main.h"
#include "app/Startup.h"
#include "platform/base/Paths.h"
#include "platform/classlib/testing/UiDriver.h"
#include "tests/TempFolderFixture.h"

namespace tarvel::testing {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_.Path());
        SetApplicationFolder(folder_.Path().string());
        InitSkinLibrary();
    }
    void TearDown() override {
        if (form_) {
            delete form_;
            form_ = nullptr;
        }
        ui_.RunUntilIdle();
        DoneSkinLibrary();
        SetApplicationFolder("");
        SetCommandLinePort("");
        std::filesystem::current_path(previousFolder_);
    }

    // Makes the main window as the entry does and shows it.
    TMainForm* Start() {
        Application->SetTitle(kAppName);
        Application->CreateForm(form_);
        form_->Show();
        ui_.RunUntilIdle();
        return form_;
    }

    // Waits until the database writer has written or given up every queued
    // reading, and lets the window show what it told.
    void DrainReadings() {
        if (form_ && form_->Readings) EXPECT_TRUE(form_->Readings->Drain(std::chrono::seconds(40)));
        ui_.RunUntilIdle();
    }

    // What the last box said, for a failure's message.
    String LastBoxText() {
        return ui_.Dialogs().Boxes().empty() ? String("no box") : ui_.Dialogs().Boxes().back().text;
    }

    TUiDriver ui_;
    TempFolder folder_;
    TMainForm* form_ = nullptr;

private:
    std::filesystem::path previousFolder_;
};

}  // namespace tarvel::testing
