// The tree view: nodes, expanding with vetoes and lazy children, selection
// by mouse and keys, sorting, label editing.

#include "platform/classlib/ComCtrls_TreeView.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class TreeViewTest : public ControlFixture {
protected:
    TreeViewTest() {
        tree = Add<TTreeView>("Tree", Bounds(10, 10, 200, 150));
        modules = tree->Items()->Add(nullptr, "Modules");
        m2 = tree->Items()->AddChild(modules, "Module 2");
        m1 = tree->Items()->AddChild(modules, "Module 1");
        records = tree->Items()->Add(nullptr, "Records");
        tree->OnChange = [this](TObject*, TTreeNode* n) { events.push_back("change " + (n ? n->Text() : String("-"))); };
    }
    TTreeView* tree;
    TTreeNode *modules, *m1, *m2, *records;
    std::vector<String> events;
};

TEST_F(TreeViewTest, NodesKeepTheirPlaceAndOrder) {
    EXPECT_EQ(tree->Items()->Count(), 4);
    EXPECT_EQ(tree->Items()->Item(2), m1);
    EXPECT_EQ(m1->Level(), 1);
    EXPECT_EQ(m1->Index(), 1);
    EXPECT_EQ(m2->GetNextSibling(), m1);
    EXPECT_EQ(m1->AbsoluteIndex(), 2);
    TTreeNode* first = tree->Items()->Insert(modules, "Port");
    EXPECT_EQ(tree->Items()->GetFirstNode(), first);
    modules->AlphaSort();
    EXPECT_EQ(modules->Item(0), m1);
    tree->OnCompare = [](TObject*, TTreeNode* a, TTreeNode* b, int, int& c) { c = CompareText(b->Text(), a->Text()); };
    modules->AlphaSort();
    EXPECT_EQ(modules->Item(0), m2);
    modules->Delete();
    EXPECT_EQ(tree->Items()->Count(), 2);
    EXPECT_EQ(tree->Items()->Item(1), records);
}

TEST_F(TreeViewTest, ExpandingAsksFirstAndFillsLazily) {
    records->SetHasChildren(true);
    tree->OnExpanding = [this](TObject*, TTreeNode* n, bool& allow) {
        events.push_back("expanding " + n->Text());
        if (n == modules) allow = false;
        if (n == records && n->Count() == 0) tree->Items()->AddChild(n, "2026-12-10");
    };
    ShowForm();
    EXPECT_EQ(ui.Items(tree), (std::vector<String>{"Modules", "Records"}));
    ui.PickItem(tree, "Records");
    ui.PressKey(VK_RIGHT);
    EXPECT_EQ(ui.Items(tree), (std::vector<String>{"Modules", "Records", "2026-12-10"}));
    ui.PressKey(VK_UP);
    ui.PressKey(VK_RIGHT);  // refused
    EXPECT_FALSE(modules->Expanded());
    tree->OnExpanding = nullptr;
    // An empty parent loses its button once nothing came.
    TTreeNode* empty = tree->Items()->Add(nullptr, "Empty");
    empty->SetHasChildren(true);
    empty->Expand(false);
    EXPECT_FALSE(empty->HasChildren());
    EXPECT_EQ(events, (std::vector<String>{"change Records", "expanding Records", "change Modules", "expanding Modules"}));
}

TEST_F(TreeViewTest, MouseAndKeysSelectAndCollapsingMovesTheSelectionUp) {
    ShowForm();
    tree->OnChanging = [](TObject*, TTreeNode* n, bool& allow) { allow = n->Text() != "Module 2"; };
    modules->Expand(false);
    ui.PickItem(tree, "Module 1");
    EXPECT_EQ(tree->Selected(), m1);
    ui.PressKey(VK_UP);  // Module 2 refuses
    EXPECT_EQ(tree->Selected(), m1);
    ui.PressKey(VK_DOWN);
    EXPECT_EQ(tree->Selected(), records);
    ui.PickItem(tree, "Module 1");
    ui.PressKey(VK_LEFT);
    EXPECT_EQ(tree->Selected(), modules);
    ui.PressKey(VK_SUBTRACT);
    EXPECT_FALSE(modules->Expanded());
    // A click on the button expands without selecting.
    const TRect r = modules->DisplayRect(true);
    ui.ClickAt(tree, TPoint{tree->Indent() / 2, r.top + r.Height() / 2});
    EXPECT_TRUE(modules->Expanded());
    ui.Type("r");
    EXPECT_EQ(tree->Selected(), records);
}

TEST_F(TreeViewTest, LabelEditingEndsWithEnterOrEscape) {
    tree->OnEdited = [](TObject*, TTreeNode*, String& s) { s += "!"; };
    ShowForm();
    ui.PickItem(tree, "Records");
    ui.PressKey(VK_F1 + 1);
    ASSERT_TRUE(tree->IsEditing());
    ui.PressKey(VK_END);
    ui.Type(" 2026");
    ui.PressKey(VK_RETURN);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(records->Text(), "Records 2026!");
    records->EditText();
    ui.Type("lost");
    ui.PressKey(VK_ESCAPE);
    EXPECT_EQ(records->Text(), "Records 2026!");
    EXPECT_EQ(ui.FocusedControl(), tree);
}

TEST_F(TreeViewTest, ATreeFreedWhileEditingLeavesNothingBehind) {
    ShowForm();
    records->EditText();
    ASSERT_TRUE(tree->IsEditing());
    delete tree;
    ui.RunUntilIdle();
    ui.Click(form);
}

}  // namespace
}  // namespace tarvel
