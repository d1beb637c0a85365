// The tree view: nodes, expanding with vetoes and lazy children, selection
// by mouse and keys, sorting, label editing, scrolling, state images.

#include "platform/classlib/ComCtrls_TreeView.h"

#include "platform/classlib/ComCtrlMessages.h"

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
        tree->OnChange = [this](TObject*, TTreeNode* n) {
            events.push_back("change " + (n ? n->Text() : String("-")));
        };
    }
    // An image list of 12 x 12 images, each one solid colour.
    TImageList* SolidImages(std::initializer_list<TColor> colours) {
        auto* list = new TImageList(form);
        list->SetSize(12, 12);
        for (TColor c : colours) {
            TBitmap b(12, 12);
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x) b.ScanLine(y)[x] = Rgb(c);
            list->Add(&b, nullptr);
        }
        return list;
    }
    SCROLLINFO Bar(int bar) {
        SCROLLINFO info;
        EXPECT_TRUE(GetScrollInfo(tree->Handle(), bar, info));
        return info;
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
    tree->OnCompare = [](TObject*, TTreeNode* a, TTreeNode* b, int, int& c) {
        c = CompareText(b->Text(), a->Text());
    };
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
    EXPECT_EQ(events, (std::vector<String>{"change Records", "expanding Records", "change Modules",
                                           "expanding Modules"}));
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

TEST_F(TreeViewTest, WideNodesScrollSidewaysAndHitTestingFollows) {
    TTreeNode* deep = tree->Items()->AddChild(m1, "Cell voltages of the second battery module, all of them");
    modules->Expand(true);
    ShowForm();
    EXPECT_TRUE(GetWindowLongPtr(tree->Handle(), GWL_STYLE) & WS_HSCROLL);
    const int page = tree->ClientWidth();
    const SCROLLINFO h = Bar(SB_HORZ);
    const int end = h.nMax + 1 - page;
    EXPECT_EQ(h.nMax + 1, deep->DisplayRect(true).right);  // the widest label's right edge
    EXPECT_EQ(static_cast<int>(h.nPage), page);
    ASSERT_GT(end, 0);
    const int labelLeft = deep->DisplayRect(true).left;
    struct Case {
        const char* name;
        WPARAM request;
        int pos;
    } cases[] = {
        {"line right", SB_LINERIGHT, tree->ItemHeight()},
        {"page right stops at the end", SB_PAGERIGHT, end},
        {"line left", SB_LINELEFT, end - tree->ItemHeight()},
        {"far left", SB_LEFT, 0},
        {"thumb", MAKEWPARAM(SB_THUMBTRACK, 7), 7},
        {"far right", SB_RIGHT, end},
        {"end of a scroll", SB_ENDSCROLL, end},
    };
    for (const Case& c : cases) {
        tree->Perform(WM_HSCROLL, c.request, 0);
        EXPECT_EQ(Bar(SB_HORZ).nPos, c.pos) << c.name;
        EXPECT_EQ(deep->DisplayRect(true).left, labelLeft - c.pos) << c.name;
    }
    // The button and the label are hit where they now show.
    tree->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), 0);
    const TRect label = modules->DisplayRect(true);
    EXPECT_EQ(tree->GetHitTestInfoAt(label.left + 2, label.top + 2), (THitTests{htOnItem, htOnLabel}));
    EXPECT_EQ(tree->GetHitTestInfoAt(label.left - 3, label.top + 2), THitTests{htOnIndent});
    ui.ClickAt(tree, TPoint{tree->Indent() / 2 - 4, label.top + label.Height() / 2});
    EXPECT_FALSE(modules->Expanded());
    // Collapsed, nothing is wide any more: the bar goes and the view comes back.
    EXPECT_FALSE(GetWindowLongPtr(tree->Handle(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(modules->DisplayRect(true).left, label.left + 4);
    // Labels are measured again in a new font.
    const int narrow = Bar(SB_HORZ).nMax;
    tree->Font()->SetSize(tree->Font()->Size() * 2);
    EXPECT_GT(Bar(SB_HORZ).nMax, narrow + 20);
}

TEST_F(TreeViewTest, VerticalBarCountsRows) {
    for (int i = 0; i < 30; ++i) tree->Items()->AddChild(records, "Record " + IntToStr(i));
    records->Expand(false);
    ShowForm();
    const SCROLLINFO v = Bar(SB_VERT);
    const int page = static_cast<int>(v.nPage);
    EXPECT_EQ(v.nMax, 31);  // Modules, Records and 30 records
    struct Case {
        WPARAM request;
        int top;
    } cases[] = {{SB_LINEDOWN, 1},
                 {SB_PAGEDOWN, 1 + page},
                 {SB_BOTTOM, 32 - page},
                 {SB_LINEUP, 31 - page},
                 {MAKEWPARAM(SB_THUMBPOSITION, 4), 4},
                 {SB_TOP, 0}};
    for (const Case& c : cases) {
        tree->Perform(WM_VSCROLL, c.request, 0);
        EXPECT_EQ(Bar(SB_VERT).nPos, c.top) << c.request;
        EXPECT_EQ(tree->TopItem(), tree->GetNodeAt(1, 1)) << c.request;
    }
}

TEST_F(TreeViewTest, StateImagesShowLeftOfTheImageAndAClickOnOneKeepsTheSelection) {
    tree->SetImages(SolidImages({clBlue}));
    tree->SetStateImages(SolidImages({clRed, clLime}));
    m1->SetStateIndex(1);
    modules->SetStateIndex(0);
    modules->SetImageIndex(0);
    modules->Expand(false);
    std::vector<THitTests> clicks;
    tree->OnClick = [&](TObject*) {
        TPoint p;
        GetCursorPos(p);
        p = tree->ScreenToClient(p);
        clicks.push_back(tree->GetHitTestInfoAt(p.x, p.y));
    };
    ShowForm();
    const TRect label = modules->DisplayRect(true);
    const int mid = label.top + label.Height() / 2;
    // Left to right: state image, image, label.
    struct Place {
        const char* name;
        int x;
        uint32_t colour;
        THitTests hits;
    } places[] = {
        {"state image", label.left - 20, Rgb(clRed), {htOnItem, htOnStateIcon}},
        {"image", label.left - 8, Rgb(clBlue), {htOnItem, htOnIcon}},
        {"label", label.left + 3, 0xFFFFFFFF, {htOnItem, htOnLabel}},
        {"right of the label", label.right + 5, Rgb(clWindow), {htOnRight}},
    };
    for (const Place& p : places) {
        if (p.colour != 0xFFFFFFFF) {
            EXPECT_EQ(PixelAt(tree, TPoint{p.x, mid}), p.colour) << p.name;
        }
        EXPECT_EQ(tree->GetHitTestInfoAt(p.x, mid), p.hits) << p.name;
    }
    const TRect m1Label = m1->DisplayRect(true);
    EXPECT_EQ(PixelAt(tree, TPoint{m1Label.left - 20, m1Label.top + m1Label.Height() / 2}), Rgb(clLime));
    // A node without a state image keeps the room but shows nothing there.
    const TRect m2Label = m2->DisplayRect(true);
    EXPECT_EQ(m2Label.left, m1Label.left);
    EXPECT_EQ(PixelAt(tree, TPoint{m2Label.left - 20, m2Label.top + m2Label.Height() / 2}), Rgb(clWindow));
    EXPECT_EQ(tree->GetHitTestInfoAt(m2Label.left - 20, m2Label.top + 2), THitTests{htOnIndent});

    ui.PickItem(tree, "Module 2");
    ui.ClickAt(tree, TPoint{m1Label.left - 20, m1Label.top + m1Label.Height() / 2});
    EXPECT_EQ(tree->Selected(), m2);
    ui.ClickAt(tree, TPoint{m1Label.left + 3, m1Label.top + 3});
    EXPECT_EQ(tree->Selected(), m1);
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[1], (THitTests{htOnItem, htOnStateIcon}));
    EXPECT_EQ(clicks[2], (THitTests{htOnItem, htOnLabel}));

    // A double click opens the node only on its icon or label.
    m1->SetHasChildren(true);
    tree->Items()->AddChild(m1, "Cell 1");
    struct Double {
        const char* name;
        int x;
        bool expanded;
    } doubles[] = {{"state image", m1Label.left - 20, false},
                   {"right of the label", m1Label.right + 5, false},
                   {"label", m1Label.left + 3, true}};
    for (const Double& d : doubles) {
        const TPoint p = tree->ClientToScreen(TPoint{d.x, m1Label.top + 3});
        ui.Backend().MouseMove(p);
        for (int i = 0; i < 2; ++i) {
            ui.Backend().MouseDown(p);
            ui.Backend().MouseUp(p);
        }
        ui.RunUntilIdle();
        EXPECT_EQ(m1->Expanded(), d.expanded) << d.name;
    }
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
