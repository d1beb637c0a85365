// The module's information on the system-monitor tab against the simulated
// module, the hidden I/O and battery-information controls, and replies too
// short for what their handlers read.

#include <functional>

#include "link/CommandTable.h"
#include "tests/app/MonitoringFixture.h"

namespace tarvel::testing {
namespace {

class DeviceInfoTest : public MonitoringTest {
protected:
    TMainForm* StartMonitor() {
        TMainForm* form = StartMonitoring();
        OpenLoggedIn();
        form->PC_All->SetActivePage(form->TS_Monitor);
        return form;
    }
    String Version(int col, int row) { return ui_.CellText(form_->SG_SoftVersion, col, row); }
};

TEST_F(DeviceInfoTest, VersionAndSerialNumberAreReadIntoTheirGridAndEdit) {
    TMainForm* form = StartMonitor();
    ui_.Click(form, "B_GetVer");
    ASSERT_TRUE(WaitUntil([&] { return form->DoneVersion == 1; }));
    EXPECT_EQ(Module().Requests().back(), BuildRequest(kModuleAddress, CmdGetVer));
    EXPECT_EQ(Version(0, 1), "1");
    EXPECT_EQ(Version(1, 1), "2");
    EXPECT_EQ(Version(2, 1), "3");
    EXPECT_EQ(Version(3, 1), "2024.05.09");
    EXPECT_EQ(Version(0, 3), "BMS-HW-V2.1,48V100AH");
    EXPECT_EQ(Version(1, 3), "16S LFP, balance, heater");
    EXPECT_EQ(VersionTextHead, "BMS-HW-V2.1");
    EXPECT_EQ(VersionTextTail, "48V100AH");
    EXPECT_EQ(Version(0, 0), "MAIN VERSION");

    ui_.Click(form, "B_ReadSerialNum");
    ASSERT_TRUE(WaitUntil([&] { return form->DoneSerialNum == 1; }));
    EXPECT_EQ(Module().Requests().back(), BuildRequest(kModuleAddress, CmdReadSerialNum));
    EXPECT_EQ(ui_.Text(form->E_ReadSerialNum), "TBM2024000100");
    EXPECT_EQ(InfoLine(), "    Query Seri number...  Succeed!");
}

TEST_F(DeviceInfoTest, AShortVersionEmptiesTheTextsAndKeepsTheExportParts) {
    TMainForm* form = StartMonitor();
    ui_.Click(form, "B_GetVer");
    ASSERT_TRUE(WaitUntil([&] { return form->DoneVersion == 1; }));
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) {
        m.shortVersion = true;
        m.version.month = 12;
        m.version.day = 31;
    });
    form->DoneVersion = 0;
    ui_.Click(form, "B_GetVer");
    ASSERT_TRUE(WaitUntil([&] { return form->DoneVersion == 1; }));
    EXPECT_EQ(Version(3, 1), "2024.12.31");
    EXPECT_EQ(Version(0, 3), "");
    EXPECT_EQ(Version(1, 3), "");
    EXPECT_EQ(VersionTextHead, "BMS-HW-V2.1");
    EXPECT_EQ(VersionTextTail, "48V100AH");
}

// The battery-information query leaves in its own short frame, behind no
// login; the I/O registers show as hexadecimal and as bits.
TEST_F(DeviceInfoTest, HiddenControlsSendTheShortFrameAndShowTheIoRegisters) {
    TMainForm* form = StartMonitor();
    form->LoggedIn = 0;
    ui_.Find<TTeComboBox>(form, "CB_ModuleNO")->SetItemIndex(5);
    form->B_QueryExtClick(nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !Module().Requests().empty(); }));
    EXPECT_EQ(Module().Requests().back(), BuildShortFrame(5));

    Bytes registers(19);
    registers[0] = 0xA5;
    registers[18] = 0x3C;
    const Bytes io = Reply(kModuleAddress, 0x85, 0, registers);
    std::copy(io.begin(), io.end(), form->RxFrame.begin());
    form->RxFrameLength = static_cast<uint16_t>(io.size());
    form->ShowIoState();
    EXPECT_EQ(ui_.Find<TLabel>(form, "L_P0")->Caption(), "0xA5");
    EXPECT_EQ(ui_.Find<TLabel>(form, "L_P7MDOUT")->Caption(), "0x3C");
    auto* p0 = ui_.Find<TStringGrid>(form, "SG_P0");
    auto* p7 = ui_.Find<TStringGrid>(form, "SG_P7");
    String bits0, bits7;
    for (int col = 0; col < 8; ++col) {
        bits0 += p0->Cells(col, 0);
        bits7 += p7->Cells(col, 1);
    }
    EXPECT_EQ(bits0, "10100101");
    EXPECT_EQ(bits7, "00111100");
}

// A frame whose Length claims more than the bytes held: the handler refuses
// it and shows nothing of the bytes that lie behind it in RxFrame.
TEST_F(DeviceInfoTest, AReplyTooShortForWhatItsHandlerReadsIsRefused) {
    struct Case {
        const char* name;
        uint8_t code;
        size_t dataBytes;
        void (TMainForm::*handler)();
        std::function<String(TMainForm&)> shown;
        const char* info;
    };
    const Case cases[] = {
        {"version", 0x86, 80, &TMainForm::ShowSoftwareVersion,
         [](TMainForm& f) { return f.SG_SoftVersion->Cells(0, 3) + f.SG_SoftVersion->Cells(3, 1); },
         "    Version reply of a wrong length, not shown!"},
        {"serial number", 0x90, 20, &TMainForm::ShowSerialNumber,
         [](TMainForm& f) { return f.E_ReadSerialNum->GetText(); },
         "    Serial number reply of a wrong length, not shown!"},
        {"device text", 0x94, 40, &TMainForm::ShowDeviceText,
         [](TMainForm& f) { return String(f.RE_Info->Lines()->Count() ? "logged" : ""); },
         "    Device text of a wrong length, not shown!"},
        {"ADC", 0x84, 54, &TMainForm::ShowAdc, [](TMainForm& f) { return f.SG_TADC->Cells(8, 1); },
         "    ADC reply of a wrong length, not shown!"},
        {"I/O", 0x85, 19, &TMainForm::ShowIoState,
         [](TMainForm& f) { return dynamic_cast<TLabel*>(f.FindComponent("L_P7MDOUT"))->Caption(); },
         "    IO state reply of a wrong length, not shown!"},
        {"automatic-query column", 0x83, 96, &TMainForm::AppendAutoQueryColumn,
         [](TMainForm& f) { return f.SG_AutoQuery->Cells(0, 0); },
         "    Telemetry reply of a wrong length, no automatic-query column!"},
    };
    TMainForm* form = StartMonitoring();
    form->AutoQueryOn = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const String before = c.shown(*form);
        const Bytes whole = Reply(kModuleAddress, c.code, 0, Bytes(c.dataBytes, '7'));
        // What lies behind the held bytes would decode as readable values.
        form->RxFrame.fill('7');
        std::copy(whole.begin(), whole.end(), form->RxFrame.begin());
        form->RxFrameLength = static_cast<uint16_t>(whole.size() - 2);
        (form->*c.handler)();
        EXPECT_EQ(c.shown(*form), before);
        EXPECT_EQ(InfoLine(), c.info);
        EXPECT_EQ(InfoColor(), kFailureColor);
    }
    EXPECT_EQ(form->AutoQueryColumns, 0);
}

}  // namespace
}  // namespace tarvel::testing
