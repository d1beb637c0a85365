// The serial port's settings, the port switch of the tool bar and the port
// dialog, on the headless window with real pseudo-terminals for ports.

#include <termios.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/Comm.h"
#include "platform/base/Strings.h"
#include "platform/serial/PseudoTerminal.h"
#include "platform/serial/SerialPort.h"
#include "platform/system/ProfileFiles.h"
#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {
namespace {

namespace fs = std::filesystem;

std::vector<String> ItemsOf(const TTeComboBox* combo) {
    std::vector<String> items;
    for (int i = 0; i < combo->Items()->Count(); ++i) items.push_back(combo->Items()->Strings(i));
    return items;
}

class PortSettingsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(pty_.Open());
    }
    void TearDown() override {
        delete CommForm;
        MainWindowTest::TearDown();
    }

    // The main window and the port dialog, in the program's order, with the
    // switch, the login button and the menu item this needs.
    void StartTool() {
        Start();
        Application->CreateForm(CommForm);
        ui_.RunUntilIdle();
        // A first start in an empty folder says the record files were missing.
        ui_.Dialogs().Forget();
        ASSERT_NE(form_->TB_COMSwitch, nullptr);
        ASSERT_NE(form_->TB_LOG, nullptr);
        ASSERT_NE(form_->M_SetCOM, nullptr);
    }
    // The tool closed and started again on the same folder.
    void RestartTool() {
        delete CommForm;
        delete form_;
        form_ = nullptr;
        ui_.RunUntilIdle();
        ASSERT_NO_FATAL_FAILURE(StartTool());
    }

    std::string Ini() const { return folder_.File(kPortSettingsFile); }
    void StoreSettings(const std::string& port, const std::string& rate) {
        ASSERT_TRUE(WritePrivateProfileString(kPortSection, kPortKey, port, Ini()));
        ASSERT_TRUE(WritePrivateProfileString(kPortSection, kBaudRateKey, rate, Ini()));
    }
    std::string StoredPort() const {
        return GetPrivateProfileString(kPortSection, kPortKey, "", kPortNameSize, Ini());
    }
    std::string StoredRate() const {
        return GetPrivateProfileString(kPortSection, kBaudRateKey, "", 64, Ini());
    }

    std::string Device() const { return ResolvePortName(form_->Comm1->CommName()); }
    String Info() const { return Trim(form_->L_Info->Caption()); }
    String SwitchCaption() const { return form_->TB_COMSwitch->Caption(); }
    int SwitchImage() const { return form_->TB_COMSwitch->ImageIndex(); }

    // Opens the dialog from the menu; `fill` sets it up while it shows, then
    // "Confirm" is pressed.
    void ConfirmInDialog(const std::function<void(TCommForm&)>& fill) {
        ui_.WhenModal([this, fill] {
            fill(*CommForm);
            ui_.Click(CommForm->TeEffectButton1);
        });
        form_->M_SetCOM->Click();
        ui_.RunUntilIdle();
    }

    speed_t LineSpeed() const {
        termios tio{};
        if (::tcgetattr(pty_.MasterFd(), &tio) != 0) return B0;
        return ::cfgetospeed(&tio);
    }

    PseudoTerminal pty_;
};

TEST_F(PortSettingsTest, WithoutIniTheToolTakesCom1At9600AndCreatesNoFile) {
    ASSERT_NO_FATAL_FAILURE(StartTool());
    EXPECT_EQ(form_->Comm1->CommName(), "//./COM1");
    EXPECT_EQ(Device(), "/dev/ttyS0");
    EXPECT_EQ(form_->Comm1->BaudRate(), 9600u);
    EXPECT_EQ(form_->PortOpen, 0);
    EXPECT_FALSE(form_->Comm1->Active());
    EXPECT_FALSE(fs::exists(Ini()));
}

TEST_F(PortSettingsTest, StoredSettingsBecomeTheDeviceAndRateOfTheNextStart) {
    const struct {
        const char* port;
        const char* rate;
        const char* device;
        uint32_t baud;
    } cases[] = {
        {"COM3", "19200", "/dev/ttyS2", 19200},
        {"COM12", "9600", "/dev/ttyS11", 9600},
        {"/dev/ttyUSB0", "115200", "/dev/ttyUSB0", 115200},
        {"ttyACM1", "57600", "/dev/ttyACM1", 57600},
        // Broken rates read as the default rather than hanging the line up.
        {"COM2", "0", "/dev/ttyS1", 9600},
        {"COM2", "-300", "/dev/ttyS1", 9600},
        {"COM2", "fast", "/dev/ttyS1", 9600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + c.rate);
        StoreSettings(c.port, c.rate);
        ASSERT_NO_FATAL_FAILURE(RestartTool());
        EXPECT_EQ(Device(), c.device);
        EXPECT_EQ(form_->Comm1->BaudRate(), c.baud);
        EXPECT_FALSE(form_->Comm1->Active());
    }
}

TEST_F(PortSettingsTest, TheDialogShowsTheRatesTheCurrentRateAndTheFixedLineFormat) {
    StoreSettings("COM1", "38400");
    ASSERT_NO_FATAL_FAILURE(StartTool());
    TCommForm& dialog = *CommForm;
    EXPECT_EQ(dialog.Caption(), "Port Setting");
    EXPECT_EQ(dialog.TeEffectGroupBox1->GetCaption(), u"Port Setting");
    EXPECT_EQ(ItemsOf(dialog.TECB_BaudRate),
              (std::vector<String>{"2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
    EXPECT_EQ(dialog.TECB_BaudRate->Text(), "38400");
    const std::pair<TControl*, const char*> captions[] = {
        {dialog.TAL_ComPort, "Port Number:"}, {dialog.TAL_BaudRate, "Baud Rate:"},
        {dialog.TAL_DataBits, "Data Bit:"},   {dialog.TAL_Parity, "Parity Bit:"},
        {dialog.TAL_StopBits, "Stop Bit:"},   {dialog.TeEffectButton1, "Confirm"},
    };
    for (const auto& [control, caption] : captions) EXPECT_EQ(control->Caption(), caption);
    const std::pair<TTeEffectComboBox*, const char*> fixed[] = {
        {dialog.TECB_DataBits, "8"}, {dialog.TECB_Parity, "None"}, {dialog.TECB_StopBits, "1"}};
    for (const auto& [combo, text] : fixed) {
        EXPECT_EQ(combo->Text(), text);
        EXPECT_FALSE(combo->Enabled());
    }
    EXPECT_EQ(dialog.TeEffectButton1->ModalResult(), mrOk);
}

TEST_F(PortSettingsTest, ConfirmStoresTheChosenRateAndOpensThePortAtIt) {
    ASSERT_NO_FATAL_FAILURE(StartTool());
    bool lineFormatFixed = false;
    ConfirmInDialog([&](TCommForm& dialog) {
        lineFormatFixed = !dialog.TECB_DataBits->Enabled() && !dialog.TECB_Parity->Enabled() &&
                          !dialog.TECB_StopBits->Enabled();
        dialog.TECB_ComPort->SetText(pty_.SlavePath());
        ui_.PickItem(dialog.TECB_BaudRate, "19200");
    });
    EXPECT_TRUE(lineFormatFixed);
    EXPECT_EQ(ui_.ModalForm(), nullptr);
    EXPECT_TRUE(ui_.Problems().empty());
    EXPECT_EQ(StoredPort(), pty_.SlavePath());
    EXPECT_EQ(StoredRate(), "19200");
    EXPECT_EQ(form_->PortOpen, 1);
    EXPECT_TRUE(form_->Comm1->Active());
    EXPECT_EQ(LineSpeed(), static_cast<speed_t>(B19200));
    EXPECT_EQ(Info(), "Succeed to open serail port!");
    EXPECT_EQ(SwitchCaption(), "Close Port");
    EXPECT_EQ(SwitchImage(), 5);

    ASSERT_NO_FATAL_FAILURE(RestartTool());
    EXPECT_EQ(Device(), pty_.SlavePath());
    EXPECT_EQ(form_->Comm1->BaudRate(), 19200u);
    EXPECT_EQ(form_->PortOpen, 0);
}

TEST_F(PortSettingsTest, ARateThatIsNoNumberIsStoredAsTheRateUsed) {
    ASSERT_NO_FATAL_FAILURE(StartTool());
    ConfirmInDialog([&](TCommForm& dialog) {
        dialog.TECB_ComPort->SetText(pty_.SlavePath());
        dialog.TECB_BaudRate->SetText("fast");
    });
    EXPECT_EQ(StoredRate(), "9600");
    EXPECT_EQ(form_->PortOpen, 1);
    EXPECT_EQ(LineSpeed(), static_cast<speed_t>(B9600));
}

TEST_F(PortSettingsTest, ALongByIdPathSurvivesStoreAndReloadUncut) {
    const std::string path =
        "/dev/serial/by-id/usb-Battery_Lab_Isolated_RS485_Adapter_with_a_rather_long_product_name_"
        "0123456789ABCDEF0123456789ABCDEF-if00-port0";
    ASSERT_NO_FATAL_FAILURE(StartTool());
    ConfirmInDialog([&](TCommForm& dialog) { dialog.TECB_ComPort->SetText(path); });
    ASSERT_EQ(ui_.Boxes().size(), 1u);  // no such adapter here
    EXPECT_EQ(StoredPort(), path);

    ASSERT_NO_FATAL_FAILURE(RestartTool());
    EXPECT_EQ(form_->Comm1->CommName(), "//./" + path);
    EXPECT_EQ(Device(), path);
}

TEST_F(PortSettingsTest, OpenCloseOpenShowsTheTextsAndLeavesTheLoginCleared) {
    SetCommandLinePort(pty_.SlavePath().c_str());
    ASSERT_NO_FATAL_FAILURE(StartTool());
    const struct {
        const char* info;
        const char* caption;
        int image;
        uint8_t portOpen;
    } steps[] = {
        {"Succeed to open serail port!", "Close Port", 5, 1},
        {"Succeed to close serail port!", "Open Port", 4, 0},
        {"Succeed to open serail port!", "Close Port", 5, 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.info);
        ui_.Click(form_->TB_COMSwitch);
        EXPECT_EQ(Info(), step.info);
        EXPECT_EQ(SwitchCaption(), step.caption);
        EXPECT_EQ(SwitchImage(), step.image);
        EXPECT_EQ(form_->PortOpen, step.portOpen);
        EXPECT_EQ(form_->Comm1->Active(), step.portOpen == 1);
        EXPECT_EQ(form_->LoggedIn, 0);
    }
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(PortSettingsTest, ClosingThePortEndsTheLogin) {
    SetCommandLinePort(pty_.SlavePath().c_str());
    ASSERT_NO_FATAL_FAILURE(StartTool());
    ui_.Click(form_->TB_COMSwitch);
    form_->LoggedIn = 1;
    form_->TB_LOG->SetText("Logout");
    form_->TB_LOG->SetImageIndex(6);

    ui_.Click(form_->TB_COMSwitch);
    EXPECT_EQ(form_->LoggedIn, 0);
    EXPECT_EQ(form_->TB_LOG->Caption(), "Login");
    EXPECT_EQ(form_->TB_LOG->ImageIndex(), 7);
    EXPECT_FALSE(form_->Comm1->Active());
}

TEST_F(PortSettingsTest, AFailedOpenLeavesOpenPortAndNamesTheDevice) {
    const std::string missing = folder_.File("no-such-tty");
    SetCommandLinePort(missing.c_str());
    ASSERT_NO_FATAL_FAILURE(StartTool());
    ui_.Click(form_->TB_COMSwitch);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].type, mtError);
    EXPECT_EQ(ui_.Boxes()[0].text, "Error opening serial port (" + missing + "): No such file or directory.");
    EXPECT_EQ(form_->PortOpen, 0);
    EXPECT_FALSE(form_->Comm1->Active());
    EXPECT_EQ(SwitchCaption(), "Open Port");
    EXPECT_NE(Info(), "Succeed to open serail port!");
}

TEST_F(PortSettingsTest, TheDialogMovingAnOpenPortToAMissingDeviceLeavesItClosedAndLoggedOut) {
    SetCommandLinePort(pty_.SlavePath().c_str());
    ASSERT_NO_FATAL_FAILURE(StartTool());
    ui_.Click(form_->TB_COMSwitch);
    form_->LoggedIn = 1;
    const std::string missing = folder_.File("unplugged");
    ConfirmInDialog([&](TCommForm& dialog) { dialog.TECB_ComPort->SetText(missing); });

    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_NE(ui_.Boxes()[0].text.find(missing), std::string::npos);
    EXPECT_EQ(StoredPort(), missing);
    EXPECT_EQ(form_->PortOpen, 0);
    EXPECT_FALSE(form_->Comm1->Active());
    EXPECT_EQ(form_->LoggedIn, 0);
    EXPECT_EQ(SwitchCaption(), "Open Port");
    EXPECT_EQ(SwitchImage(), 4);
    EXPECT_EQ(form_->TB_LOG->Caption(), "Login");
}

TEST_F(PortSettingsTest, ThePortOptionOverridesTheStoredPortForThisRunOnly) {
    StoreSettings("COM3", "19200");
    SetCommandLinePort(pty_.SlavePath().c_str());
    ASSERT_NO_FATAL_FAILURE(StartTool());
    EXPECT_EQ(Device(), pty_.SlavePath());
    EXPECT_EQ(form_->Comm1->BaudRate(), 19200u);
    ui_.Click(form_->TB_COMSwitch);
    EXPECT_EQ(form_->PortOpen, 1);
    EXPECT_EQ(LineSpeed(), static_cast<speed_t>(B19200));
    EXPECT_EQ(StoredPort(), "COM3");
}

// A /dev and /sys of a machine with three on-board UARTs and a port node
// with no chip behind it, a USB adapter (also linked by id), a modem and a
// virtual console.
class PortListTest : public PortSettingsTest {
protected:
    void SetUp() override {
        PortSettingsTest::SetUp();
        fs::create_directories(Dev() / "serial" / "by-id");
        for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB0", "ttyACM0", "tty0"}) {
            fs::create_directories(Sys() / "class" / "tty" / name / "device");
            std::ofstream(Dev() / name).put('\n');
        }
        const std::pair<const char*, const char*> uartTypes[] = {
            {"ttyS0", "4"}, {"ttyS1", "4"}, {"ttyS2", "0"}, {"ttyS10", "14"}};
        for (const auto& [name, type] : uartTypes)
            std::ofstream(Sys() / "class" / "tty" / name / "type") << type;
        fs::create_symlink("../../ttyUSB0", ById());
    }
    fs::path Dev() const { return folder_.Path() / "dev"; }
    fs::path Sys() const { return folder_.Path() / "sys"; }
    fs::path ById() const { return Dev() / "serial" / "by-id" / "usb-Maker_RS485_Adapter-if00-port0"; }
    std::vector<std::string> Expected() const {
        return {ById().string(),
                (Dev() / "ttyUSB0").string(),
                (Dev() / "ttyACM0").string(),
                (Dev() / "ttyS0").string(),
                (Dev() / "ttyS1").string(),
                (Dev() / "ttyS10").string()};
    }
};

TEST_F(PortListTest, ListsByIdLinksThenUsbThenModemsThenOnBoardUartsThenThePortInUse) {
    std::vector<std::string> expected = Expected();
    EXPECT_EQ(PortListForDialog("", Dev().string(), Sys().string()), expected);
    // A listed port in use is not listed twice.
    EXPECT_EQ(PortListForDialog(expected[1], Dev().string(), Sys().string()), expected);
    expected.push_back(pty_.SlavePath());
    EXPECT_EQ(PortListForDialog(pty_.SlavePath(), Dev().string(), Sys().string()), expected);

    ASSERT_NO_FATAL_FAILURE(StartTool());
    CommForm->FillPortList(expected, expected[4]);
    EXPECT_EQ(ItemsOf(CommForm->TECB_ComPort), std::vector<String>(expected.begin(), expected.end()));
    EXPECT_EQ(CommForm->TECB_ComPort->ItemIndex(), 4);
    EXPECT_EQ(CommForm->TECB_ComPort->Text(), expected[4]);
}

TEST_F(PortListTest, TheDialogListsAndChoosesThePortInUse) {
    SetCommandLinePort(pty_.SlavePath().c_str());
    ASSERT_NO_FATAL_FAILURE(StartTool());
    std::vector<String> items;
    String chosen;
    ConfirmInDialog([&](TCommForm& dialog) {
        items = ItemsOf(dialog.TECB_ComPort);
        chosen = dialog.TECB_ComPort->Text();
    });
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back(), pty_.SlavePath());
    EXPECT_EQ(chosen, pty_.SlavePath());
    // Confirming what was chosen keeps the port.
    EXPECT_EQ(StoredPort(), pty_.SlavePath());
    EXPECT_EQ(form_->PortOpen, 1);
}

}  // namespace
}  // namespace tarvel::testing
