#pragma once
// The main window against one simulated module on a pseudo-terminal. The
// module serves before the window is made, and the window gets its device as
// the command line's port, so opening the port in the window reaches it.
// Replies come back through the serial component's reader thread, which
// posts them to the window system's queue: tests wait for them in real time
// with WaitUntil, which keeps the window's loop running meanwhile.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/MainWindowFixture.h"
#include "tools/bms-sim/SimLink.h"

namespace tarvel::testing {

class SimModuleTest : public MainWindowTest {
protected:
    // The module-address box starts on its first item, "0": the address of
    // every request and the one every reply must carry.
    static constexpr uint8_t kModuleAddress = 0;

    void SetUp() override {
        MainWindowTest::SetUp();
        sim::SimConfig config;
        config.addresses = ModuleAddresses();
        config.baud = 0;  // replies at once: tests wait for bytes, not for the wire
        link_ = std::make_unique<sim::SimLink>(config);
        ASSERT_TRUE(link_->Start()) << link_->Error();
        SetCommandLinePort(link_->DevicePath().c_str());
    }

    // The modules on the line, each at its own address.
    virtual std::vector<uint8_t> ModuleAddresses() const { return {kModuleAddress}; }

    void TearDown() override {
        // The module goes first, while the window that may hold its port
        // still stands; what its going posts is dropped with the window.
        if (link_) link_->Stop();
        MainWindowTest::TearDown();
    }

    // A fault in bms-sim's --fault form, e.g. "status:cmd=0x06,status=7".
    void AddFault(const std::string& spec) {
        std::string error;
        const std::optional<sim::Fault> fault = sim::ParseFault(spec, error);
        if (!fault) {
            ADD_FAILURE() << "fault " << spec << ": " << error;
            return;
        }
        link_->Sim().AddFault(*fault);
    }

    // Runs the window's loop until `done` holds or `limit` of real time has
    // passed; whether it held. Generous: a loaded machine slows the tool
    // many times over, and a wait that is met ends at once.
    bool WaitUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds limit = std::chrono::milliseconds(20000)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            ui_.RunUntilIdle();
            if (done()) return true;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    sim::SimLink& Link() { return *link_; }
    sim::Simulator& Module() { return link_->Sim(); }

private:
    std::unique_ptr<sim::SimLink> link_;
};

}  // namespace tarvel::testing
