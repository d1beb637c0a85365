// The port dialog as a person uses it, opened by its shortcut and filled
// through the X server: the port in use listed and chosen, Ctrl+A selecting
// the port's text, and a port that cannot be opened reported with its path
// and the system's reason.

#include "app/Comm.h"
#include "platform/system/ProfileFiles.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class PortDialogE2e : public ToolOnX11 {};

TEST_F(PortDialogE2e, ThePortInUseIsChosenAndAFailedPortIsExplained) {
    StartTool();
    ASSERT_TRUE(Click("TB_COMSwitch"));
    ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; }));

    std::vector<String> items;
    String chosen;
    int selected = -1;
    const String missing = "/nonexistent/ttyusb9";
    WhenModal(
        [&](TCustomForm*) {
            TTeEffectComboBox* combo = CommForm->TECB_ComPort;
            for (int i = 0; i < combo->Items()->Count(); ++i) items.push_back(combo->Items()->Strings(i));
            chosen = combo->Text();
            EXPECT_TRUE(Click(combo, TPoint{20, combo->ClientHeight() / 2}));
            EXPECT_TRUE(Key("a", {"Control_L"}));
            selected = combo->SelLength();
            EXPECT_TRUE(Type(missing));
            AnswerBox("OK", "e2e-port-open-failed.png");
            EXPECT_TRUE(Click(CommForm->TeEffectButton1));
            // A dialog the click did not close must not hold the test.
            if (CommForm->ModalResult() == mrNone) {
                ADD_FAILURE() << "Confirm did not close the dialog";
                answers.clear();
                CommForm->SetModalResult(mrCancel);
            }
        },
        "e2e-port-dialog.png");
    ASSERT_TRUE(Key("s", {"Control_L", "Alt_L"}));
    ASSERT_TRUE(Await([&] { return seen.size() >= 2; }));

    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back(), port);
    EXPECT_EQ(chosen, port);
    EXPECT_EQ(selected, static_cast<int>(port.size()));
    EXPECT_EQ(seen.back().text, "Error opening serial port (" + missing + "): No such file or directory.");
    // The settings were stored before the port was tried, as always.
    EXPECT_EQ(GetPrivateProfileString(kPortSection, kPortKey, "", kPortNameSize, AppPath(kPortSettingsFile)),
              missing);
    EXPECT_EQ(MainForm->PortOpen, 0);
    EXPECT_EQ(MainForm->TB_COMSwitch->Caption(), "Open Port");
}

}  // namespace
}  // namespace tarvel
