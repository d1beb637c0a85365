#pragma once
// The main window against a line of simulated modules at addresses 1 to 4,
// one pseudo-terminal for all of them, with the module-query features
// bound. The poll clock's real timer is stopped: a test ticks it itself,
// while the modules answer in real time.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "link/CommandTable.h"
#include "tests/app/MainWindowFixture.h"
#include "tools/bms-sim/SimLink.h"

namespace tarvel::testing {

using sim::Bytes;

class ModuleQueryTest : public MainWindowTest {
protected:
    static constexpr std::array<uint8_t, 4> kAddresses{1, 2, 3, 4};

    void SetUp() override {
        MainWindowTest::SetUp();
        for (const char* folder : {"DataAccess", "SerialData"})
            std::filesystem::create_directories(folder_.Path() / folder);
        sim::SimConfig config;
        config.addresses.assign(kAddresses.begin(), kAddresses.end());
        link_ = std::make_unique<sim::SimLink>(config);
        ASSERT_TRUE(link_->Start()) << link_->Error();
        SetCommandLinePort(link_->DevicePath().c_str());
    }

    void TearDown() override {
        if (link_) link_->Stop();
        MainWindowTest::TearDown();
    }

    // The window with the features bound and the poll clock still; the
    // ticks counted from a whole second.
    TMainForm* StartBound() {
        TMainForm* form = Start();
        form->KillPollTimer();
        ui_.RunUntilIdle();
        form->PollTicks = 0;
        form->QueryTicks = 0;
        form->BindModuleQueryHandlers();
        return form;
    }

    // The port open on the line of modules, which take the tool as logged in.
    void OpenOnLine() {
        for (uint8_t address : kAddresses)
            Module().UpdateModule(address, [](sim::ModuleState& m) { m.loggedIn = true; });
        ASSERT_TRUE(form_->OpenPort());
        form_->LoggedIn = 1;
    }

    // Runs the window's loop until `done` holds or `limit` of real time has passed.
    bool WaitUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            ui_.RunUntilIdle();
            if (done()) return true;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // The requests the line carried, in order.
    std::vector<Bytes> Requests() { return Module().Requests(); }
    // Waits until the line has carried `count` requests.
    bool LineCarried(size_t count) {
        return WaitUntil([&] { return Module().Requests().size() >= count; });
    }

    String InfoLine() { return form_->L_Info->Caption(); }
    std::vector<String> BoxTexts() {
        std::vector<String> texts;
        for (const TBoxRecord& box : ui_.Boxes()) texts.push_back(box.text);
        return texts;
    }

    sim::Simulator& Module() { return link_->Sim(); }

    static Bytes PlainQuery(uint8_t address) { return {address, 0x00, 0x04, 0x01, 0x03, 0x55, 0xAA, 0x07}; }

private:
    std::unique_ptr<sim::SimLink> link_;
};

}  // namespace tarvel::testing
