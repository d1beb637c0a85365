// The folder panel over a temporary folder tree: a typed or given path
// shows in the edit, an existing one opens the tree down to it, and a click
// in the tree puts its folder into the edit.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "skin/extras/te_dialogs_dir.h"
#include "tests/skin/extras/DialogsFixture.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

class DialogsDirTest : public testing::DialogPanelTest<TTeDirectoryPanel> {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("dlgdir-" + std::to_string(getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        for (const char* folder : {"Alarm_Data/2024", "Alarm_Data/2025", "Records", ".hidden/inner"})
            fs::create_directories(root_ / folder);
        DialogPanelTest::SetUp();
    }
    void TearDown() override {
        DialogPanelTest::TearDown();
        fs::remove_all(root_);
    }

    std::vector<String> Children(TTreeNode* node) {
        std::vector<String> names;
        for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling()) names.push_back(c->Text());
        return names;
    }

    fs::path root_;
};

TEST_F(DialogsDirTest, AnExistingFolderOpensTheTreeDownToIt) {
    struct Case {
        String given;
        String reached;
    };
    const String base = root_.string();
    const Case cases[] = {
        {base + "/Alarm_Data/2025", base + "/Alarm_Data/2025"},
        {base + "/Records/", base + "/Records"},
        {base + "/Alarm_Data/2024/../2025", base + "/Alarm_Data/2025"},
        {base + "/.hidden/inner", base + "/.hidden/inner"},  // typed, a hidden folder is reached too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        panel_->SetDirectory(c.given);
        EXPECT_EQ(panel_->Directory(), c.given);
        ASSERT_NE(panel_->Tree()->Selected(), nullptr);
        EXPECT_EQ(panel_->Path(), c.reached);
    }
    panel_->SetDirectory(base + "/Alarm_Data");
    EXPECT_EQ(Children(panel_->Tree()->Selected()), (std::vector<String>{"2024", "2025"}));
    TTreeNode* rootNode = panel_->Tree()->Selected()->Parent();
    EXPECT_EQ(Children(rootNode), (std::vector<String>{"Alarm_Data", "Records", ".hidden"}))
        << "the hidden folder shows only because it was typed";
}

TEST_F(DialogsDirTest, AMissingOrEmptyPathLeavesTheTreeWhereItWas) {
    panel_->SetDirectory(root_.string() + "/Records");
    TTreeNode* before = panel_->Tree()->Selected();
    panel_->SetDirectory(root_.string() + "/Gone");
    EXPECT_EQ(panel_->Directory(), root_.string() + "/Gone");
    EXPECT_EQ(panel_->Tree()->Selected(), before);
    panel_->SetDirectory("relative/folder");
    EXPECT_EQ(panel_->Tree()->Selected(), before);
    panel_->SetDirectory("");
    EXPECT_EQ(panel_->Directory(), "relative/folder") << "an empty path changes nothing";
}

TEST_F(DialogsDirTest, AClickInTheTreePutsItsFolderIntoTheEdit) {
    panel_->SetDirectory(root_.string() + "/Alarm_Data/2024");
    panel_->Edit()->SetText("typed over");
    TTreeNode* node = panel_->Tree()->Selected()->Parent()->GetFirstChild()->GetNextSibling();  // 2025
    ASSERT_EQ(node->Text(), "2025");
    node->MakeVisible();  // as the user scrolls to it
    const TRect r = node->DisplayRect(true);
    ui_.ClickAt(panel_->Tree(), TPoint{r.left + 3, (r.top + r.bottom) / 2});
    EXPECT_EQ(panel_->Directory(), root_.string() + "/Alarm_Data/2025");
}

}  // namespace
}  // namespace tarvel
