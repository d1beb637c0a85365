// The explorer views over a temporary folder tree: what the list, tree and
// combo show and in which order, the report's columns, renaming and
// deleting, the tree's expansion on demand, the combo's chain of folders,
// the three following one another, and files made and removed outside
// showing up by themselves.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <thread>

#include "platform/classlib/DialogService.h"
#include "platform/system/UserFolders.h"
#include "skin/controls/te_controls_label.h"
#include "skin/extctrls/te_extctrls_shellprops.h"
#include "skin/extctrls/te_extctrls_shellviews.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "skin/forms/te_forms_resources.h"
#include "tests/TempFolderFixture.h"
#include "tests/skin/extctrls/ExtCtrlsFixture.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

// Alpha/Inner/, Alpha/a.txt, beta/b.txt, zeta/, .hid/, a.txt ("hello"),
// run.sh (executable), .dot
class ShellViewsTest : public testing::ExtCtrlsTest {
protected:
    void SetUp() override {
        ExtCtrlsTest::SetUp();
        fs::create_directories(Dir() / "Alpha" / "Inner");
        fs::create_directories(Dir() / "beta");
        fs::create_directories(Dir() / "zeta");
        fs::create_directories(Dir() / ".hid");
        std::ofstream(Dir() / "Alpha" / "a.txt") << "x";
        std::ofstream(Dir() / "beta" / "b.txt") << "x";
        std::ofstream(Dir() / "a.txt") << "hello";
        std::ofstream(Dir() / "run.sh") << "#!/bin/sh\n";
        ::chmod((Dir() / "run.sh").c_str(), 0755);
        std::ofstream(Dir() / ".dot");
        // Nothing a test does may start the desktop's real opener.
        ShellOpenCommand = Path("no-opener");
    }
    void TearDown() override {
        ShellOpenCommand = "xdg-open";
        ShellMountTable = "/proc/self/mountinfo";
        ExtCtrlsTest::TearDown();
    }
    const fs::path& Dir() const { return tmp_.Path(); }
    String Path(const char* below = nullptr) const {
        return below ? (Dir() / below).string() : Dir().string();
    }
    TIdList Id(const char* below = nullptr) const {
        TIdList id;
        EXPECT_TRUE(ParseShellPath(Path(below), id));
        return id;
    }

    TTeShellListView* MakeList(TViewStyle style = vsReport) {
        auto* list = Make<TTeShellListView>(10, 10);
        list->SetBounds(200, 10, 380, 260);
        list->SetViewStyle(style);
        list->SetRoot(Path());
        ui_.RunUntilIdle();
        return list;
    }
    TTeShellTreeView* MakeTree() {
        auto* tree = Make<TTeShellTreeView>(10, 10);
        tree->SetBounds(10, 10, 180, 260);
        tree->SetRoot(Path());
        ui_.RunUntilIdle();
        return tree;
    }
    static std::vector<String> Rows(TTeShellListView* list) {
        std::vector<String> out;
        for (int i = 0; i < list->Items()->Count(); ++i) out.push_back(list->Items()->Item(i)->Caption());
        return out;
    }
    static std::vector<String> Children(TTreeNode* node) {
        std::vector<String> out;
        for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling()) out.push_back(c->Text());
        return out;
    }
    static TTreeNode* Child(TTreeNode* node, const String& text) {
        for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
            if (c->Text() == text) return c;
        return nullptr;
    }
    // Runs the loop until `done` holds, for at most ten seconds of real time
    // (a worker thread is involved).
    bool Eventually(const std::function<bool()>& done) {
        for (int i = 0; i < 1000; ++i) {
            ui_.RunUntilIdle();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    testing::TempFolder tmp_;
};

TEST_F(ShellViewsTest, TheListShowsFoldersFirstThenNamesWithHiddenEntriesOnlyWhenAsked) {
    TTeShellListView* list = MakeList();
    EXPECT_EQ(Rows(list), (std::vector<String>{"Alpha", "beta", "zeta", "a.txt", "run.sh"}));
    list->SetObjectTypes({otFolders, otNonFolders, otHidden});
    EXPECT_EQ(Rows(list), (std::vector<String>{".hid", "Alpha", "beta", "zeta", ".dot", "a.txt", "run.sh"}));
    list->SetObjectTypes({otNonFolders});
    EXPECT_EQ(Rows(list), (std::vector<String>{"a.txt", "run.sh"}));
    // A folder named "zeta" comes before a file named "a.txt" however listed.
    list->SetObjectTypes({otFolders, otNonFolders});
    list->SetSorted(false);
    EXPECT_EQ(Rows(list).size(), 5u);
    list->SetSorted(true);
    EXPECT_EQ(Rows(list)[2], "zeta");
    EXPECT_EQ(Rows(list)[3], "a.txt");
}

TEST_F(ShellViewsTest, TheReportHasNameSizeTypeAndModifiedColumns) {
    TTeShellListView* list = MakeList();
    list->Canvas()->SetFont(list->Font());
    const int x = list->Canvas()->TextWidth("X");
    struct Column {
        const char* caption;
        TAlignment alignment;
        int chars;
    } const columns[] = {{"Name", taLeftJustify, 25},
                         {"Size", taRightJustify, 10},
                         {"Type", taLeftJustify, 10},
                         {"Modified", taLeftJustify, 14}};
    ASSERT_EQ(list->Columns()->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        TListColumn* c = list->Columns()->Items(i);
        EXPECT_EQ(c->Caption(), columns[i].caption);
        EXPECT_EQ(c->Alignment(), columns[i].alignment) << columns[i].caption;
        EXPECT_EQ(c->Width(), x * columns[i].chars) << columns[i].caption;
    }
    struct Row {
        int index;
        const char* name;
        const char* size;
        const char* type;
    } const rows[] = {{0, "Alpha", "", "Folder"}, {3, "a.txt", "5", "txt"}, {4, "run.sh", "10", "sh"}};
    for (const Row& r : rows) {
        TListItem* item = list->Items()->Item(r.index);
        ASSERT_EQ(item->Caption(), r.name);
        ASSERT_EQ(item->SubItems()->Count(), 3) << r.name;
        EXPECT_EQ(item->SubItems()->Strings(0), r.size) << r.name;
        EXPECT_EQ(item->SubItems()->Strings(1), r.type) << r.name;
        EXPECT_TRUE(
            std::regex_match(item->SubItems()->Strings(2), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d)")))
            << item->SubItems()->Strings(2);
    }
    EXPECT_EQ(list->Items()->Item(0)->ImageIndex(), siFolder);
    EXPECT_EQ(list->Items()->Item(3)->ImageIndex(), siFile);
    EXPECT_EQ(list->Items()->Item(4)->ImageIndex(), siExecutable);
}

TEST_F(ShellViewsTest, DetailsMustBeLoadedBeforeTheyAreRead) {
    TTeShellFolder folder(nullptr, Id("a.txt"));
    try {
        folder.GetDetails(1);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "a.txt: Missing call to LoadColumnDetails");
    }
    folder.LoadColumnDetails(nullptr, 2);
    EXPECT_EQ(folder.GetDetails(1), "5");
    EXPECT_EQ(folder.GetDetails(2), "txt");
}

TEST_F(ShellViewsTest, RenamingALabelRenamesTheFileAndATakenNameIsRefused) {
    TTeShellListView* list = MakeList();
    list->SetItemIndex(3);
    list->EditText();
    ASSERT_TRUE(list->IsEditing());
    ui_.Type("notes.txt");
    ui_.PressKey(VK_RETURN);
    EXPECT_TRUE(fs::exists(Dir() / "notes.txt"));
    EXPECT_FALSE(fs::exists(Dir() / "a.txt"));
    EXPECT_EQ(list->Items()->Item(3)->Caption(), "notes.txt");

    list->SetItemIndex(3);
    list->EditText();
    ui_.Type("run.sh");
    ui_.PressKey(VK_RETURN);
    ASSERT_FALSE(ui_.Boxes().empty());
    EXPECT_EQ(ui_.Boxes().back().text.rfind("Rename to run.sh failed", 0), 0u) << ui_.Boxes().back().text;
    EXPECT_EQ(fs::file_size(Dir() / "run.sh"), 10u) << "nothing is overwritten";
    EXPECT_EQ(list->Items()->Item(3)->Caption(), "notes.txt");

    TTeShellTreeView* tree = MakeTree();
    TTreeNode* beta = Child(tree->Items()->GetFirstNode(), "beta");
    tree->SetSelected(beta);
    beta->EditText();
    ui_.Type("gamma");
    ui_.PressKey(VK_RETURN);
    EXPECT_EQ(beta->Text(), "gamma");
    EXPECT_TRUE(fs::is_directory(Dir() / "gamma"));
    EXPECT_EQ(tree->Path(), Path("gamma"));
}

TEST_F(ShellViewsTest, TheDeleteVerbMovesToTheTrashAfterAskingAndRenameEditsInPlace) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string before = saved ? saved : "";
    ::setenv("XDG_DATA_HOME", (Dir() / "data").c_str(), 1);
    TTeShellListView* list = MakeList();
    // The way the context menu runs a verb: the view first, then the item.
    auto run = [&](const char* verb) {
        list->SetItemIndex(3);  // a.txt
        bool handled = false;
        list->ExecuteCommand(verb, handled);
        const bool done = handled || InvokeItemVerb(list, list->SelectedFolder(), verb);
        list->CommandCompleted(verb, done);
        ui_.RunUntilIdle();
        return done;
    };
    // Without a trash folder deleting is refused, and the file stays.
    ui_.AnswerNextBox(IDYES);
    EXPECT_FALSE(run("delete"));
    EXPECT_TRUE(fs::exists(Dir() / "a.txt"));
    ASSERT_EQ(ui_.Boxes().size(), 2u);
    EXPECT_EQ(ui_.Boxes()[0].text, "Move \"a.txt\" to the trash?");
    EXPECT_NE(ui_.Boxes()[1].text.find("no trash folder"), String::npos) << ui_.Boxes()[1].text;

    fs::create_directories(Dir() / "data" / "Trash");
    ui_.AnswerNextBox(IDNO);
    EXPECT_FALSE(run("delete"));
    EXPECT_TRUE(fs::exists(Dir() / "a.txt")) << "the question was answered no";
    ui_.AnswerNextBox(IDYES);
    EXPECT_TRUE(run("delete"));
    EXPECT_FALSE(fs::exists(Dir() / "a.txt"));
    EXPECT_TRUE(fs::exists(Dir() / "data" / "Trash" / "files" / "a.txt"));
    EXPECT_EQ(Rows(list), (std::vector<String>{"Alpha", "beta", "data", "zeta", "run.sh"}));

    EXPECT_TRUE(run("rename"));  // the label opens for editing
    EXPECT_TRUE(list->IsEditing());
    ui_.PressKey(VK_ESCAPE);
    EXPECT_TRUE(ui_.Problems().empty());
    if (saved)
        ::setenv("XDG_DATA_HOME", before.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

TEST_F(ShellViewsTest, TheContextMenuOffersTheVerbsAndRunsTheOneChosen) {
    InitForms();
    TTeShellListView* list = MakeList();
    list->SetItemIndex(3);  // a.txt
    list->SetFocus();
    ui_.RunUntilIdle();
    std::vector<std::pair<WideString, bool>> entries;
    ui_.WhenModal([&] {
        ASSERT_NE(ActivePopupMenu, nullptr);
        TTeItem* items = ActivePopupMenu->Items();
        for (int i = 0; i < items->Count(); ++i)
            entries.emplace_back(items->GetItem(i)->Caption(), items->GetItem(i)->Enabled());
        ui_.PressKey('M');  // "Rena&me"
    });
    const TRect row = list->Items()->Item(3)->DisplayRect();
    list->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()),
                  PointToLParam(list->ClientToScreen(TPoint{row.left + 2, row.top + 2})));
    ui_.RunUntilIdle();
    EXPECT_EQ(entries,
              (std::vector<std::pair<WideString, bool>>{
                  {u"&Open", true}, {u"Rena&me", true}, {u"&Delete", true}, {u"P&roperties", true}}));
    EXPECT_TRUE(list->IsEditing()) << "the chosen verb ran";
    ui_.PressKey(VK_ESCAPE);
    EXPECT_TRUE(ui_.Problems().empty());
    delete list;
    DoneForms();
}

TEST_F(ShellViewsTest, AltEnterShowsTheSelectedItemsProperties) {
    ::chmod((Dir() / "a.txt").c_str(), 0640);
    TTeShellListView* list = MakeList();
    list->SetItemIndex(3);  // a.txt, 5 bytes
    list->SetFocus();
    ui_.RunUntilIdle();
    std::map<String, String> shown;
    String caption;
    ui_.WhenModal([&] {
        TCustomForm* dialog = ui_.ModalForm();
        ASSERT_NE(dialog, nullptr);
        caption = dialog->Caption();
        for (const char* name : {"Name", "Kind", "Size", "Location", "Modified", "Owner", "Permissions"})
            if (auto* value = dynamic_cast<TTeLabel*>(dialog->FindComponent(String("Value") + name)))
                shown[name] = WideToUtf8(value->GetCaption());
        ui_.PressKey(VK_RETURN);
    });
    ui_.PressKey(VK_RETURN, {ssAlt});
    EXPECT_EQ(caption, "a.txt Properties");
    EXPECT_EQ(shown["Name"], "a.txt");
    EXPECT_EQ(shown["Kind"], "File");
    EXPECT_EQ(shown["Size"], "5 bytes");
    EXPECT_EQ(shown["Location"], Path());
    EXPECT_TRUE(std::regex_match(shown["Modified"], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
        << shown["Modified"];
    EXPECT_NE(shown["Owner"].find("(group "), String::npos);
    EXPECT_EQ(shown["Permissions"], "rw-r-----");
    EXPECT_TRUE(list->Focused()) << "nothing else happened to the key";
    EXPECT_TRUE(ui_.Problems().empty());

    const std::vector<TTeShellProperty> folder = ShellProperties(list->GetFolder(0));
    EXPECT_EQ(folder[1].Value, "Folder");
    EXPECT_EQ(folder[2].Value, "-");
    delete list;
}

TEST_F(ShellViewsTest, TheTreeFillsANodeWhenItIsFirstExpanded) {
    TTeShellTreeView* tree = MakeTree();
    TTreeNode* top = tree->Items()->GetFirstNode();
    ASSERT_TRUE(top);
    EXPECT_EQ(top->Text(), Dir().filename().string());
    EXPECT_TRUE(top->Expanded());
    EXPECT_EQ(Children(top), (std::vector<String>{"Alpha", "beta", "zeta"}));
    TTreeNode* alpha = Child(top, "Alpha");
    EXPECT_TRUE(alpha->HasChildren());
    EXPECT_EQ(alpha->Count(), 0) << "nothing is read before the node opens";
    EXPECT_FALSE(Child(top, "beta")->HasChildren()) << "only files inside";
    EXPECT_FALSE(Child(top, "zeta")->HasChildren());
    alpha->Expand(false);
    EXPECT_EQ(Children(alpha), (std::vector<String>{"Inner"}));

    // With files shown, a folder holding only files has a button too; a
    // file node opens nothing when asked to expand.
    tree->SetObjectTypes({otFolders, otNonFolders});
    top = tree->Items()->GetFirstNode();
    EXPECT_EQ(Children(top), (std::vector<String>{"Alpha", "beta", "zeta", "a.txt", "run.sh"}));
    EXPECT_TRUE(Child(top, "beta")->HasChildren());
    Child(top, "run.sh")->Expand(false);
    EXPECT_FALSE(Child(top, "run.sh")->Expanded());
    EXPECT_TRUE(ui_.Boxes().empty()) << "no opener was tried";
}

TEST_F(ShellViewsTest, APathBelowClosedBranchesOpensEachAncestor) {
    TTeShellTreeView* tree = MakeTree();
    tree->SetPath(Path("Alpha/Inner"));
    EXPECT_EQ(tree->Path(), Path("Alpha/Inner"));
    EXPECT_TRUE(Child(tree->Items()->GetFirstNode(), "Alpha")->Expanded());
    EXPECT_THROW(tree->SetPath(Path("missing")), EInvalidPath);
    EXPECT_EQ(tree->Path(), Path("Alpha/Inner"));
}

TEST_F(ShellViewsTest, RootsAreNamedFoldersOrPathsAndOthersAreRefused) {
    struct Case {
        const char* root;
        const char* error;
    } const cases[] = {
        {"rfDesktop", ""},
        {"RFDESKTOP", ""},
        {"rfFonts", "Error setting path: \"rfFonts\" names no folder on this system"},
        {"relative/path", "Error setting path"},
        {"/no/such/folder", "Error setting path"},
    };
    for (const Case& c : cases) {
        auto* list = MakeList();
        try {
            list->SetRoot(c.root);
            EXPECT_STREQ(c.error, "") << c.root;
            EXPECT_EQ(list->RootFolder()->PathName(), "/") << c.root;
        } catch (const EInvalidPath& e) {
            EXPECT_EQ(e.Message(), c.error) << c.root;
            EXPECT_EQ(list->Root(), Path()) << "the old root stays: " << c.root;
            EXPECT_EQ(list->RootFolder()->PathName(), Path()) << c.root;
        }
        delete list;
    }
    EXPECT_EQ(IdListPath(RootIdList("rfMyComputer")), UserFolder(TUserFolder::Home));
}

TEST_F(ShellViewsTest, TheComboListsTheRootItsChildrenAndTheChainDownToTheFolder) {
    auto* combo = Make<TTeShellComboBox>(10, 10);
    combo->SetRoot(Path());
    ui_.RunUntilIdle();
    auto items = [&] {
        std::vector<std::pair<String, int>> out;
        for (int i = 0; i < combo->ItemsExCount(); ++i)
            out.emplace_back(combo->ItemsEx(i).Caption, combo->ItemsEx(i).Indent);
        return out;
    };
    const String top = Dir().filename().string();
    EXPECT_EQ(items(),
              (std::vector<std::pair<String, int>>{{top, 0}, {"Alpha", 1}, {"beta", 1}, {"zeta", 1}}));
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->SetPath(Path("Alpha/Inner"));
    EXPECT_EQ(items(), (std::vector<std::pair<String, int>>{
                           {top, 0}, {"Alpha", 1}, {"Inner", 2}, {"beta", 1}, {"zeta", 1}}));
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Path(), Path("Alpha/Inner"));
    EXPECT_THROW(combo->SetPath("nowhere"), EInvalidPath);
    combo->SetRoot(Path().substr(0, 1) + UpperCase(Path().substr(1)));  // other letter case: no change
    EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(ShellViewsTest, RootedAtTheDesktopTheComboAndTheTreeListTheMountedFileSystemsUnderMyComputer) {
    // The root, /home, the kernel's /proc, a stick whose folder is gone, and
    // the media folder itself: two of them are file systems to browse.
    std::ofstream(Dir() / "mountinfo") << "28 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                          "22 28 0:21 / /proc rw - proc proc rw\n"
                                          "41 28 8:3 / /home rw - ext4 /dev/sda3 rw\n"
                                          "45 28 8:17 / /media/no-such-stick rw - vfat /dev/sdb1 rw\n"
                                          "46 28 8:18 / /media rw - ext4 /dev/sdc1 rw\n";
    ShellMountTable = Path("mountinfo");
    auto* combo = Make<TTeShellComboBox>(10, 10);
    ui_.RunUntilIdle();
    ASSERT_EQ(combo->Root(), "rfDesktop");
    ASSERT_GT(combo->ItemsExCount(), 4);
    const std::pair<String, int> expected[] = {{"/", 0}, {"My Computer", 1}, {"/", 2}, {"/home", 2}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(combo->ItemsEx(i).Caption, expected[i].first) << i;
        EXPECT_EQ(combo->ItemsEx(i).Indent, expected[i].second) << i;
    }
    // The desktop's own children follow one level down, /home among them.
    EXPECT_EQ(combo->ItemsEx(4).Indent, 1);
    EXPECT_EQ(combo->IndexFromID(TIdList{"home"}), [&] {
        for (int i = 4; i < combo->ItemsExCount(); ++i)
            if (combo->ItemsEx(i).Caption == "home") return i;
        return -1;
    }());

    // Choosing a file system goes there and keeps it chosen; My Computer is "/".
    ui_.PickItem(combo, "/home");
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Path(), "/home");
    ui_.PickItem(combo, "My Computer");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Path(), "/");
    // Not the mount point, only the folder, may be renamed or thrown away.
    EXPECT_TRUE(combo->GetFolder(3)->Capabilities().Empty());

    // Rooted elsewhere there is no My Computer.
    combo->SetRoot(Path());
    for (int i = 0; i < combo->ItemsExCount(); ++i) EXPECT_NE(combo->ItemsEx(i).Caption, "My Computer");

    // The tree rooted at the desktop holds My Computer first, with the same
    // file systems below it; a folder is still found where it lives.
    auto* tree = Make<TTeShellTreeView>(10, 40);
    ui_.RunUntilIdle();
    TTreeNode* top = tree->Items()->GetFirstNode();
    ASSERT_TRUE(top && top->GetFirstChild());
    TTreeNode* computer = top->GetFirstChild();
    EXPECT_EQ(computer->Text(), "My Computer");
    computer->Expand(false);
    EXPECT_EQ(Children(computer), (std::vector<String>{"/", "/home"}));
    EXPECT_NE(Child(top, "home"), nullptr);
    tree->SetPath("/home");
    EXPECT_EQ(tree->Selected(), Child(top, "home"));
    // Its file systems open as folders do.
    TTreeNode* home = Child(computer, "/home");
    home->Expand(false);
    Child(top, "home")->Expand(false);
    EXPECT_EQ(Children(home), Children(Child(top, "home")));
    tree->SetRoot(Path());
    EXPECT_EQ(Child(tree->Items()->GetFirstNode(), "My Computer"), nullptr);
}

TEST_F(ShellViewsTest, LinkedViewsFollowOneAnother) {
    TTeShellTreeView* tree = MakeTree();
    TTeShellListView* list = MakeList();
    auto* combo = Make<TTeShellComboBox>(10, 280);
    combo->SetShellTreeView(tree);
    combo->SetShellListView(list);
    ASSERT_EQ(tree->Root(), "rfDesktop");
    tree->SetShellListView(list);
    tree->SetRoot(Path());
    ui_.RunUntilIdle();
    EXPECT_EQ(combo->Path(), Path());
    EXPECT_EQ(list->RootFolder()->PathName(), Path());

    // The tree's choice: the list and the combo show that folder.
    tree->SetSelected(Child(tree->Items()->GetFirstNode(), "Alpha"));
    EXPECT_EQ(list->RootFolder()->PathName(), Path("Alpha"));
    EXPECT_EQ(Rows(list), (std::vector<String>{"Inner", "a.txt"}));
    EXPECT_EQ(combo->Path(), Path("Alpha"));

    // A folder opened in the list: the tree and the combo follow.
    list->SetFocus();
    list->SetItemIndex(0);
    ui_.PressKey(VK_RETURN);
    EXPECT_EQ(list->RootFolder()->PathName(), Path("Alpha/Inner"));
    EXPECT_EQ(list->Root(), "");
    EXPECT_EQ(tree->Path(), Path("Alpha/Inner"));
    EXPECT_EQ(combo->Path(), Path("Alpha/Inner"));

    // Backspace goes up; the combo's choice moves the others.
    ui_.PressKey(VK_BACK);
    EXPECT_EQ(tree->Path(), Path("Alpha"));
    ui_.PickItem(combo, "zeta");
    EXPECT_EQ(tree->Path(), Path("zeta"));
    EXPECT_EQ(list->RootFolder()->PathName(), Path("zeta"));
    EXPECT_EQ(Rows(list), std::vector<String>{});

    delete tree;  // the others forget it
    list->Back();
    EXPECT_EQ(combo->Path(), Path());
}

TEST_F(ShellViewsTest, OpeningAFileStartsTheOpenerInItsFolderAndLeavesOursAlone) {
    const fs::path opener = Dir() / "opener.sh";
    const fs::path out = Dir() / "opened.log";
    std::ofstream(opener) << "#!/bin/sh\necho \"$1|$(pwd)\" > " << out.string() << ".tmp && mv "
                          << out.string() << ".tmp " << out.string() << "\n";
    ::chmod(opener.c_str(), 0755);
    ShellOpenCommand = opener.string();
    const fs::path here = fs::current_path();
    TTeShellListView* list = MakeList();
    const TRect row = list->Items()->Item(3)->DisplayRect();
    ui_.ClickAt(list, TPoint{row.left + 10, (row.top + row.bottom) / 2});
    ui_.ClickAt(list, TPoint{row.left + 10, (row.top + row.bottom) / 2});
    EXPECT_TRUE(Eventually([&] { return fs::exists(out); }));
    std::ifstream in(out);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, Path("a.txt") + "|" + Path());
    EXPECT_EQ(fs::current_path(), here);
}

TEST_F(ShellViewsTest, FilesMadeAndRemovedOutsideShowUpAndGoByThemselves) {
    TTeShellListView* list = MakeList();
    TTeShellTreeView* tree = MakeTree();
    list->SetAutoRefresh(true);
    tree->SetAutoRefresh(true);
    ASSERT_TRUE(Eventually([&] { return list->Notifier()->Watching() && tree->Notifier()->Watching(); }));
    std::ofstream(Dir() / "outside.txt") << "x";
    fs::create_directory(Dir() / "omega");
    auto listed = [&](const char* name) {
        const auto rows = Rows(list);
        return std::find(rows.begin(), rows.end(), name) != rows.end();
    };
    EXPECT_TRUE(Eventually([&] { return listed("outside.txt") && listed("omega"); }));
    EXPECT_TRUE(Eventually([&] { return Child(tree->Items()->GetFirstNode(), "omega") != nullptr; }));
    fs::remove(Dir() / "outside.txt");
    EXPECT_TRUE(Eventually([&] { return !listed("outside.txt"); }));
    list->SetAutoRefresh(false);
    EXPECT_EQ(list->Notifier(), nullptr);
}

TEST_F(ShellViewsTest, TheNotifierRunsOnlyWithACallBackAndIgnoresTheSameRootInOtherCase) {
    TTeShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(Path());
    EXPECT_FALSE(notifier.Started());
    int changes = 0;
    notifier.SetOnChange([&] { ++changes; });
    EXPECT_TRUE(notifier.Started());
    ASSERT_TRUE(Eventually([&] { return notifier.Watching(); }));
    notifier.SetRoot(Path().substr(0, 1) + UpperCase(Path().substr(1)));
    EXPECT_TRUE(notifier.Watching()) << "not restarted";
    std::ofstream(Dir() / "new");
    EXPECT_TRUE(Eventually([&] { return changes > 0; }));
}

}  // namespace
}  // namespace tarvel
