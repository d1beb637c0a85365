// Open and save dialogs: the filter, the overwrite question, the file that
// must exist, and the real dialog form over a folder of files.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/base/Paths.h"
#include "platform/classlib/Dialogs.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

TEST(FileFilters, MasksAndDescriptionsComeFromTheFilterText) {
    const String filter = "Protection files|*.bms|Calibration|*.kb;*.KB2|All|*.*";
    EXPECT_EQ(FilterDescriptions(filter), (std::vector<String>{"Protection files", "Calibration", "All"}));
    struct Case {
        int index;
        std::vector<String> masks;
    };
    const Case cases[] = {
        {1, {"*.bms"}}, {2, {"*.kb", "*.KB2"}}, {3, {"*.*"}}, {0, {"*.bms"}}, {9, {"*.bms"}},
    };
    for (const Case& c : cases) EXPECT_EQ(FilterMasks(filter, c.index), c.masks) << c.index;
    EXPECT_EQ(FilterMasks("", 1), std::vector<String>{"*"});
    EXPECT_EQ(FilterMasks("broken", 1), std::vector<String>{"*"});
    EXPECT_TRUE(MatchesMasks("pack.BMS", {"*.bms"}));
    EXPECT_TRUE(MatchesMasks("x.kb2", {"*.kb", "*.KB2"}));
    EXPECT_FALSE(MatchesMasks("pack.bms.old", {"*.bms"}));
    EXPECT_TRUE(MatchesMasks("noext", {"*.*"}));
}

class FileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = temp.Path();
        fs::create_directories(folder / "sub");
        WriteFileText((folder / "a.bms").string(), "a");
        WriteFileText((folder / "b.txt").string(), "b");
        WriteFileText((folder / "sub" / "c.bms").string(), "c");
        cwd = GetCurrentDir();
    }

    TUiDriver ui;
    testing::TempFolder temp;
    fs::path folder;
    String cwd;
};

TEST_F(FileDialogsTest, SavingOverAnExistingFileIsAlwaysAskedAndNoAsksForAnotherName) {
    TSaveDialog dialog(nullptr);
    dialog.InitialDir = folder.string();
    dialog.DefaultExt = "bms";
    dialog.Options = {};  // no overwrite prompt asked for: asked all the same
    ui.ChooseNextFile("a.bms");
    ui.AnswerNextBox(mrNo);
    ui.ChooseNextFile("fresh");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, (folder / "fresh.bms").string());
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].type, mtWarning);
    EXPECT_EQ(ui.Boxes()[0].buttons, mbYesNo);
    EXPECT_EQ(ui.Boxes()[0].text, "a.bms already exists.\nDo you want to replace it?");
    // The name is kept and proposed next time; Yes replaces.
    ui.ChooseNextFile("a");
    ui.AnswerNextBox(mrYes);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, (folder / "a.bms").string());
    EXPECT_EQ(ui.Dialogs().Files().back().request.fileName, (folder / "fresh.bms").string());
    EXPECT_EQ(GetCurrentDir(), cwd);
}

TEST_F(FileDialogsTest, AnOpenedFileMustExistWhenTheOptionsSaySo) {
    TOpenDialog dialog(nullptr);
    dialog.InitialDir = folder.string();
    dialog.Options = {ofFileMustExist};
    dialog.FileName = "kept.bms";
    ui.ChooseNextFile("missing.bms");
    ui.ChooseNextFile(std::nullopt);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "kept.bms");
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_NE(ui.Boxes()[0].text.find("File not found."), String::npos);
    dialog.Options = {};
    ui.ChooseNextFile("missing.bms");
    EXPECT_TRUE(dialog.Execute());
}

TEST_F(FileDialogsTest, TheRealDialogBrowsesFoldersFiltersFilesAndReturnsTheChosenOne) {
    ui.UseStandardDialogs();
    TOpenDialog dialog(nullptr);
    dialog.Title = "Load";
    dialog.Filter = "Protection files|*.bms|All files|*.*";
    dialog.InitialDir = folder.string();
    std::vector<String> firstFiles, allFiles, subFiles, folders;
    ui.WhenModal([&] {
        TCustomForm* f = ui.ModalForm();
        ASSERT_TRUE(f);
        EXPECT_EQ(f->Caption(), "Load");
        TControl* files = ui.Find(f, "Files");
        TControl* folderList = ui.Find(f, "Folders");
        firstFiles = ui.Items(files);
        folders = ui.Items(folderList);
        ui.PickItem(ui.Find(f, "Filter"), "All files");
        allFiles = ui.Items(files);
        ui.PickItem(ui.Find(f, "Filter"), "Protection files");
        ui.PickItem(folderList, "sub");
        ui.DoubleClick(folderList);
        subFiles = ui.Items(files);
        EXPECT_TRUE(ui.SaveScreenshot(f, (fs::path(TARVEL_BINARY_DIR) / "open_dialog.png").string()));
        ui.PickItem(files, "c.bms");
        EXPECT_EQ(ui.Text(ui.Find(f, "FileName")), "c.bms");
        ui.Click(ui.Find(f, "OK"));
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(firstFiles, std::vector<String>{"a.bms"});
    EXPECT_EQ(allFiles, (std::vector<String>{"a.bms", "b.txt"}));
    EXPECT_EQ(folders, (std::vector<String>{"..", "sub"}));
    EXPECT_EQ(subFiles, std::vector<String>{"c.bms"});
    EXPECT_EQ(dialog.FileName, (folder / "sub" / "c.bms").string());
    EXPECT_EQ(dialog.FilterIndex, 1);
    EXPECT_EQ(GetCurrentDir(), cwd);
    EXPECT_TRUE(ui.Problems().empty());
}

// A folder path longer than its label keeps its start and its last folder
// with "..." between, as the path ellipsis draws it, and the file types are
// a drop-down list.
TEST_F(FileDialogsTest, TheFolderPathIsShortenedInTheMiddleAndTheTypesDropDown) {
    const fs::path deep = folder / "recorded module data of the battery pack" /
                          "calibration runs of the second year" / "deepest";
    fs::create_directories(deep);
    ui.UseStandardDialogs();
    TOpenDialog dialog(nullptr);
    dialog.Filter = "Protection files|*.bms|All files|*.*";
    dialog.InitialDir = deep.string();
    ui.WhenModal([&] {
        TCustomForm* f = ui.ModalForm();
        auto* types = dynamic_cast<TComboBox*>(ui.Find(f, "Filter"));
        ASSERT_TRUE(types);
        EXPECT_EQ(types->Style(), csDropDownList);
        EXPECT_EQ(ui.Text(types), "Protection files");
        auto* label = dynamic_cast<TLabel*>(ui.Find(f, "FolderLabel"));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->Caption(), deep.string());
        ui.RunUntilIdle();
        const auto window = ui.Backend().WindowPixels(f->Handle());
        const TRect frame = WindowRect(f->Handle());
        const TPoint origin = label->ClientToScreen(TPoint{0, 0});
        // The label as drawn on the screen, and as the text routine draws
        // the path shortened and cut.
        auto shown = [&](int x, int y) {
            return window->Pixel(origin.x - frame.left + x, origin.y - frame.top + y) & 0xFFFFFF;
        };
        auto drawn = [&](unsigned format) {
            BITMAPINFO info;
            info.bmiHeader.biWidth = label->Width();
            info.bmiHeader.biHeight = -label->Height();
            void* bits = nullptr;
            HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, bitmap);
            TRect r{0, 0, label->Width(), label->Height()};
            HBRUSH face = CreateSolidBrush(ColorToColorRef(label->Color()));
            FillRect(dc, r, face);
            DeleteObject(face);
            SelectObject(dc, label->Font()->Handle());
            SetTextColor(dc, ColorToColorRef(label->Font()->Color()));
            SetBkMode(dc, TRANSPARENT);
            DrawTextA(dc, label->Caption(), &r, format | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
            std::vector<uint32_t> pixels;
            const auto surface = GetBitmapSurface(bitmap);
            for (int y = 0; y < label->Height(); ++y)
                for (int x = 0; x < label->Width(); ++x) pixels.push_back(surface->Pixel(x, y) & 0xFFFFFF);
            SelectObject(dc, old);
            DeleteDC(dc);
            DeleteObject(bitmap);
            return pixels;
        };
        std::vector<uint32_t> onScreen;
        for (int y = 0; y < label->Height(); ++y)
            for (int x = 0; x < label->Width(); ++x) onScreen.push_back(shown(x, y));
        EXPECT_NE(drawn(DT_PATH_ELLIPSIS), drawn(0)) << "the path is longer than the label";
        EXPECT_EQ(onScreen, drawn(DT_PATH_ELLIPSIS));
        ui.PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(FileDialogsTest, TheRealSaveDialogTakesATypedNameAndAsksBeforeReplacing) {
    ui.UseStandardDialogs();
    TSaveDialog dialog(nullptr);
    dialog.Filter = "Protection files|*.bms";
    dialog.DefaultExt = "bms";
    dialog.InitialDir = folder.string();
    ui.WhenModal([&] {
        TCustomForm* f = ui.ModalForm();
        ui.Click(ui.Find(f, "FileName"));
        ui.Type("a");
        ui.PressKey(VK_RETURN);
    });
    ui.WhenModal([&] {  // the overwrite question, a real box
        TCustomForm* box = ui.ModalForm();
        EXPECT_EQ(ui.Caption(ui.Find(box, "Message")), "a.bms already exists.\nDo you want to replace it?");
        ui.Click(ui.Find(box, "No"));
    });
    ui.WhenModal([&] { ui.PressKey(VK_ESCAPE); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(ReadFileText((folder / "a.bms").string()), "a");
    EXPECT_TRUE(ui.Problems().empty());
}

}  // namespace
}  // namespace tarvel
