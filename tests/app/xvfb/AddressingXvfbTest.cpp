// The polling set-up tab under Xvfb after automatic addressing has found
// four simulated modules: their boxes ticked and the probe memos filled.

#include "platform/classlib/DialogService.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

// Answers Yes to every box, so none waits for a person.
class YesToEveryBox : public TDialogService {
public:
    int ShowBox(const TBoxRequest&) override { return mrYes; }
    bool InputQuery(const String&, const String&, String&) override { return false; }
    bool ChooseFile(TFileRequest&) override { return false; }
};

class AddressingOnX11 : public ToolOnX11 {
protected:
    sim::SimConfig Modules() const override { return ModulesAt({2, 5, 9, 12}); }
};

TEST_F(AddressingOnX11, PollingSetUpAfterAutomaticAddressing) {
    Application->SetTitle(kAppName);
    Application->CreateForm(MainForm);
    MainForm->BindAddressingHandlers();
    MainForm->Show();
    MainForm->TB_COMSwitchClick(nullptr);
    ASSERT_TRUE(MainForm->PortOpen);
    MainForm->ModeSwitchClick(nullptr);
    Settle(MainForm->Handle());

    YesToEveryBox yes;
    TDialogService* previous = SetDialogService(&yes);
    MainForm->TeButton3->Click();
    SetDialogService(previous);
    EXPECT_EQ(MainForm->ModulesAddressed, 4);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-automatic-addressing.png"));
}

}  // namespace
}  // namespace tarvel
