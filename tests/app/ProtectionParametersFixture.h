#pragma once
// The protection-parameter tab against a simulated module: the window with
// its parameter handlers bound and the tab in front. Blocks and frames are
// laid out here the module's way, by hand, so a layout error of the tool
// does not hide by being made twice.

#include <array>
#include <string>
#include <vector>

#include "tests/app/LinkFixture.h"

namespace tarvel::testing {

constexpr int kParameters = 48;
using ParameterValues = std::array<int64_t, kParameters>;  // P1..P48

// The bytes of parameter p (1-based) in the block.
inline int ParameterWidth(int p) { return p <= 12 || (p >= 17 && p <= 20) || (p >= 25 && p <= 30) ? 4 : 2; }
inline int ParameterColumn(int p) { return p <= 24 ? 1 : 4; }
inline int ParameterRow(int p) { return (p - 1) % 24; }

inline Bytes BlockOf(const ParameterValues& values) {
    Bytes block;
    for (int p = 1; p <= kParameters; ++p) {
        const auto value = static_cast<uint32_t>(values[p - 1]);
        for (int i = 0; i < ParameterWidth(p); ++i) block.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    return block;
}

// Request 0x09: address, Length 144, board type, command, handshake, block, sum.
inline Bytes WriteRequestOf(uint8_t address, const Bytes& block) {
    Bytes frame{address, 0x00, 0x90, 0x01, 0x09, 0x55, 0xAA};
    frame.insert(frame.end(), block.begin(), block.end());
    uint8_t sum = 0;
    for (size_t i = 1; i < frame.size(); ++i) sum = static_cast<uint8_t>(sum + frame[i]);
    frame.push_back(sum);
    return frame;
}

class ProtectionParametersTest : public LinkTest {
protected:
    TMainForm* StartParams() {
        TMainForm* form = StartLinked();
        form->BindParamsHandlers();  // a second call changes nothing
        form->PC_All->SetActivePage(form->TS_TBMS);
        // The write button stands in no view; the tests show it to press it.
        EXPECT_FALSE(form->B_WriteBMS->Visible());
        form->B_WriteBMS->SetVisible(true);
        ui_.RunUntilIdle();
        return form;
    }

    // Reads the module's parameters into the grid through the Query button.
    void ReadFromModule() {
        ui_.Click(form_, "B_ReadBMS");
        ASSERT_TRUE(WaitUntil([&] { return LastCommand == 0 && !Cell(1, 0).empty(); }));
    }

    // Types into a cell as the user does: select it, type, Enter.
    void TypeIntoCell(int col, int row, const String& text) {
        ui_.SelectCell(form_->SG_TBMS, col, row);
        ui_.Type(text);
        ui_.PressKey(VK_RETURN);
    }

    String Cell(int col, int row) { return ui_.CellText(form_->SG_TBMS, col, row); }
    String Parameter(int p) { return Cell(ParameterColumn(p), ParameterRow(p)); }

    // The write requests the module received.
    std::vector<Bytes> WritesReceived() {
        std::vector<Bytes> writes;
        for (const Bytes& request : Module().Requests())
            if (request.size() > 4 && request[4] == 0x09) writes.push_back(request);
        return writes;
    }

    // A version request answered: everything sent before it has reached
    // the module, and the grid is as it was.
    void SyncWithModule() {
        LastCommand = 0;
        ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdGetVer));
        ASSERT_TRUE(WaitUntil([] { return LastCommand == 0; }));
    }
};

}  // namespace tarvel::testing
