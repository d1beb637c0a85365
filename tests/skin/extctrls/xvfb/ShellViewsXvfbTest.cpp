// The shell tree and list view side by side over a small folder tree,
// through the SDL backend on an Xvfb of its own, saved under screenshots/ in
// the build folder for people to look at and compared with its reference.
// The properties dialog is only saved: it shows the change time, which no
// test can set.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/base/Ticks.h"
#include "platform/classlib/Forms.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/extctrls/te_extctrls_shellviews.h"
#include "skin/themes/theme_flat.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
#include "tests/skin/themes/xvfb/SkinXvfbFixture.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

class ShellViewsOnX11 : public testing::SkinXvfbTest {
protected:
    void StartUnits() override { InitThemeFlat(); }
};

TEST_F(ShellViewsOnX11, ATreeAndAReportSideBySide) {
    // A fixed folder tree, so the picture is the same on every run.
    const fs::path root = fs::path(dir) / "shell-fixture";
    fs::remove_all(root);
    for (const char* folder : {"Logs/2026", "Logs/Archive", "Parameters", "Skins"})
        fs::create_directories(root / folder);
    for (const char* file : {"Version.dat", "ParaRecord.dat", "readme.txt", "Logs/2026/module1.csv"})
        std::ofstream(root / file) << "0123456789";
    std::ofstream(root / "bms-sim") << "#!/bin/sh\n";
    fs::permissions(root / "bms-sim", fs::perms::owner_all);
    fs::create_symlink("readme.txt", root / "latest");
    // One fixed time on every entry, the link's own included, shown in UTC,
    // so the report's Modified column is the same on every run and machine.
    setenv("TZ", "UTC", 1);
    tzset();
    const timespec fixed[2] = {{1773135000, 0}, {1773135000, 0}};
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        ASSERT_EQ(utimensat(AT_FDCWD, entry.path().c_str(), fixed, AT_SYMLINK_NOFOLLOW), 0) << entry.path();
    ASSERT_EQ(utimensat(AT_FDCWD, root.c_str(), fixed, 0), 0);

    auto* form = new TForm(Application);
    form->SetCaption("Folders");
    form->SetColor(clWhite);
    form->SetBounds(60, 60, 640, 320);
    auto* tree = new TTeShellTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(8, 8, 200, 296);
    auto* list = new TTeShellListView(form);
    list->SetParent(form);
    list->SetBounds(216, 8, 416, 296);
    list->SetViewStyle(vsReport);
    tree->SetShellListView(list);
    tree->SetRoot(root.string());
    tree->SetPath((root / "Logs").string());
    tree->SetSelected(tree->Items()->GetFirstNode());
    form->Show();
    EXPECT_EQ(list->RootFolder()->PathName(), root.string());

    ComparedShot(form->Handle(), "shell_tree_and_list.png");

    // Alt+Enter on a row through the server: its properties, pictured from
    // inside the dialog's loop, then closed with Enter.
    ASSERT_TRUE(XGiveFocus(sdl->SdlWindowOf(form->Handle())));
    list->SetFocus();
    for (int i = 0; i < list->Items()->Count(); ++i)
        if (list->Items()->Item(i)->Caption() == "readme.txt") list->SetItemIndex(i);
    Settle(form->Handle());
    bool pictured = false;
    String caption;
    DWORD shownAt = 0;
    Application->OnIdle = [&](TObject*, bool& done) {
        TCustomForm* dialog = Screen->ActiveForm();
        if (pictured || Application->ModalLevel() == 0 || !dialog || dialog == form) return;
        done = false;
        if (!shownAt) shownAt = GetTickCount();
        if (GetTickCount() - shownAt < 500) return;
        caption = dialog->Caption();
        pictured = Save(dialog->Handle(), "shell_properties.png");
        XKey("Return", true);
        XKey("Return", false);
    };
    XKey("Alt_L", true);
    XKey("Return", true);
    XKey("Return", false);
    XKey("Alt_L", false);
    RunUntil([&] { return pictured && Application->ModalLevel() == 0; }, 10000);
    Application->OnIdle = nullptr;
    EXPECT_EQ(caption, "readme.txt Properties");
    EXPECT_TRUE(pictured);
    delete form;
}

TEST_F(ShellViewsOnX11, TheComboRootedAtTheDesktopOpensOnMyComputersFileSystems) {
    const fs::path table = fs::path(dir) / "shell-mountinfo";
    std::ofstream(table) << "28 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                            "22 28 0:21 / /proc rw - proc proc rw\n"
                            "26 28 0:24 / /dev/shm rw - tmpfs tmpfs rw\n"
                            "41 28 8:3 / /home rw - ext4 /dev/sda3 rw\n";
    ShellMountTable = table.string();
    auto* form = new TForm(Application);
    form->SetCaption("Look in");
    form->SetColor(clBtnFace);
    form->SetBounds(60, 60, 320, 80);
    auto* combo = new TTeShellComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(8, 8, 300, 24);
    combo->SetDropDownCount(4);
    form->Show();
    Settle(form->Handle());
    ASSERT_EQ(combo->ItemsEx(1).Caption, "My Computer");

    // Opened by a click on its button, as a user opens it.
    const TPoint button = combo->ClientToScreen(TPoint{combo->Width() - 8, combo->Height() / 2});
    ASSERT_TRUE(XMovePointer(button.x, button.y));
    ASSERT_TRUE(XButton(1, true));
    ASSERT_TRUE(XButton(1, false));
    ASSERT_TRUE(RunUntil([&] { return combo->DroppedDown(); })) << "the list did not open";
    Run(300);
    // The form and the top of the list below it, as the screen shows them:
    // the desktop, My Computer and its file systems; not the machine's own
    // folders further down, nor the scroll bar, whose thumb counts them.
    const TRect window = WindowRect(form->Handle());
    const TPoint below = combo->ClientToScreen(TPoint{combo->Width(), combo->Height()});
    Calm(form->Handle());
    EXPECT_TRUE(ScreenMatchesReferenceNow(TRect{window.left, window.top, below.x - 20, below.y + 70},
                                          "shell_combo_my_computer.png"));
    ShellMountTable = "/proc/self/mountinfo";
    delete form;
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the shell views");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
