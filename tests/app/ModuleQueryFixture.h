#pragma once
// The main window against a line of simulated modules at addresses 1 to 4,
// one pseudo-terminal for all of them, with the module-query features
// bound. The poll clock's real timer is stopped: a test ticks it itself,
// while the modules answer in real time.

#include <array>
#include <filesystem>
#include <vector>

#include "link/CommandTable.h"
#include "tests/app/SimModuleFixture.h"

namespace tarvel::testing {

using sim::Bytes;

class ModuleQueryTest : public SimModuleTest {
protected:
    static constexpr std::array<uint8_t, 4> kAddresses{1, 2, 3, 4};

    std::vector<uint8_t> ModuleAddresses() const override { return {kAddresses.begin(), kAddresses.end()}; }

    void SetUp() override {
        SimModuleTest::SetUp();
        for (const char* folder : {"DataAccess", "SerialData"})
            std::filesystem::create_directories(folder_.Path() / folder);
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
        ASSERT_TRUE(form_->OpenPort()) << LastBoxText();
        form_->LoggedIn = 1;
    }

    // The requests the line carried, in order.
    std::vector<Bytes> Requests() { return Module().Requests(); }
    // Waits until the line has carried `count` requests.
    bool LineCarried(size_t count) {
        return WaitUntil([&] { return Module().Requests().size() >= count; });
    }

    String InfoLine() { return form_->L_Info->Caption(); }

    static Bytes PlainQuery(uint8_t address) { return {address, 0x00, 0x04, 0x01, 0x03, 0x55, 0xAA, 0x07}; }
};

}  // namespace tarvel::testing
