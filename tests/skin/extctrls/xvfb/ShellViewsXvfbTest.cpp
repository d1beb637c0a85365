// The shell tree and list view side by side over a small folder tree,
// through the SDL backend on an Xvfb of its own, saved under screenshots/ in
// the build folder for people to look at.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Forms.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_shellviews.h"
#include "skin/themes/theme_flat.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

TEST(ShellViewsOnX11, ATreeAndAReportSideBySide) {
    std::string error;
    auto backend = OpenX11Backend(error);
    ASSERT_TRUE(backend) << error;
    SdlBackend* sdl = backend.get();
    InitWindowSystem(std::move(backend));
    auto app = std::make_unique<TApplication>(nullptr);
    InitThemeCore();
    InitThemeFlat();
    const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
    mkdir(dir.c_str(), 0755);

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

    const DWORD start = GetTickCount();
    while (!sdl->WindowPixels(form->Handle()) && GetTickCount() - start < 5000)
        Application->ProcessMessages();
    const DWORD settle = GetTickCount();
    while (GetTickCount() - settle < 300) Application->ProcessMessages();
    EXPECT_TRUE(sdl->SaveWindowPng(form->Handle(), dir + "/shell_tree_and_list.png"));

    delete form;
    DoneThemeCore();
    app.reset();
    ShutdownWindowSystem();
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the shell views");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
