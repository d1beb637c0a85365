#pragma once
// The main window with a telemetry reply handed to it as the dispatcher
// hands one over: the frame, encoded as the simulated module encodes it, in
// RxFrame with zeros after it, then ShowTelemetry.

#include <algorithm>
#include <filesystem>
#include <vector>

#include "link/CommandTable.h"
#include "tests/app/MainWindowFixture.h"
#include "tools/bms-sim/ModuleState.h"

namespace tarvel::testing {

class TelemetryWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::filesystem::create_directories(folder_.Path() / "DataAccess");
        Start();
        for (size_t i = 0; i < telemetry_.cells.size(); ++i)
            telemetry_.cells[i] = static_cast<uint16_t>(3300 + i);
        for (size_t i = 0; i < telemetry_.temps.size(); ++i)
            telemetry_.temps[i] = static_cast<int16_t>(25 + i);
    }

    static std::vector<uint8_t> TelemetryFrame(const sim::Telemetry& telemetry, uint8_t address = 1) {
        sim::ModuleState module = sim::ModuleState::Make(address);
        module.telemetry = telemetry;
        return sim::MakeReply(address, ReplyCode(CmdQuerySbs), 0, module.EncodeTelemetry());
    }

    // Puts `frame` at the start of RxFrame; with `clearRest` false the bytes
    // of the frame before stay behind it.
    void PutRxFrame(const std::vector<uint8_t>& frame, bool clearRest = true) {
        if (clearRest) form_->RxFrame.fill(0);
        std::copy(frame.begin(), frame.end(), form_->RxFrame.begin());
        form_->RxFrameLength = static_cast<uint16_t>(frame.size());
    }

    void Show(const sim::Telemetry& telemetry) {
        PutRxFrame(TelemetryFrame(telemetry));
        form_->ShowTelemetry();
    }
    void Show() { Show(telemetry_); }

    String Cell(int col, int row) { return ui_.CellText(form_->SG_TSBS, col, row); }
    std::string DataFile(const std::string& name) const {
        return (folder_.Path() / "DataAccess" / name).string();
    }

    sim::Telemetry telemetry_;
};

}  // namespace tarvel::testing
