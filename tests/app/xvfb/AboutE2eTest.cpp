// The about box as a person opens it, every press made by the X server:
// from the menu with the pointer, with Alt and the arrows, and with its
// short-cut; "Confirm" closes it each time and its texts stay.

#include "app/About.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class AboutE2e : public ToolOnX11 {
protected:
    // What the next about box shows, read before its "Confirm" is clicked.
    void ExpectAboutBox(const std::string& shot) {
        WhenModal([this, shot](TCustomForm* box) {
            EXPECT_EQ(box, AboutBox);
            const std::pair<const char*, const char*> kRows[] = {
                {"TeAdvancedLabel1", "Name:"},    {"TeLabel1", "Tarvel BMS Software"},
                {"TeAdvancedLabel2", "Version:"}, {"TeLabel2", " V1.1.0"},
                {"TeAdvancedLabel5", "Date:"},    {"TeLabel3", "2014-11-03"},
            };
            for (const auto& [name, text] : kRows) {
                TControl* label = Control(box, name);
                ASSERT_NE(label, nullptr);
                EXPECT_TRUE(label->Showing()) << name;
                EXPECT_EQ(testing::TextOf(label), text) << name;
            }
            EXPECT_FALSE(Control(box, "TeLabel4")->Visible()) << "the author row shows";
            if (!shot.empty()) EXPECT_TRUE(SaveScreen(shot));
            TControl* confirm = Control(box, "TeEffectButton1");
            ASSERT_NE(confirm, nullptr);
            EXPECT_EQ(testing::TextOf(confirm), "Confirm");
            ASSERT_TRUE(Click(confirm));
        });
    }
};

TEST_F(AboutE2e, OpenedFromTheMenuByPointerKeysAndShortCutClosedByConfirm) {
    StartTool();
    EXPECT_EQ(MainForm->Caption(), "Tarvel BMS Software V1.1.0");
    const std::vector<String> path{"About Project(&A)", "About(&A)"};

    ExpectAboutBox("e2e-about-box.png");
    ASSERT_TRUE(ChooseMenu(MainForm->TeMenuBar1, path, "e2e-about-menu-open.png"));
    ASSERT_TRUE(Await([&] { return seen.size() == 1 && !AboutBox->Visible(); }));

    ExpectAboutBox({});
    ASSERT_TRUE(ChooseMenuByKeys(MainForm->TeMenuBar1, path));
    ASSERT_TRUE(Await([&] { return seen.size() == 2 && !AboutBox->Visible(); }));

    ExpectAboutBox({});
    ASSERT_TRUE(Key("a", {"Control_L", "Alt_L"}));
    ASSERT_TRUE(Await([&] { return seen.size() == 3 && !AboutBox->Visible(); }));
    EXPECT_EQ(AboutBox->ModalResult(), mrOk);
    // Nothing of the menus is left open over the window.
    EXPECT_EQ(MenuLoopLevel(), 0);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-about-closed.png"));
}

}  // namespace
}  // namespace tarvel
