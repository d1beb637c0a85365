// The drive box, directory list, file list, filter box and path label over
// a temporary folder tree, linked as a file chooser.

#include "skin/extras/te_dialogs_file_ctrl.h"

#include <gtest/gtest.h>

#include "tests/skin/extras/DialogsFileFixture.h"

namespace tarvel {
namespace {

class DialogsFileCtrlTest : public DialogsFileFixture {
protected:
    void SetUp() override {
        DialogsFileFixture::SetUp();
        form_ = std::make_unique<TForm>(Application);
        form_->SetClientWidth(500);
        form_->SetClientHeight(300);
        dirs_ = Place<TTeDirectoryListBox>(8, 30, 200, 200);
        files_ = Place<TTeFileListBox>(220, 30, 200, 200);
        filter_ = Place<TTeFilterComboBox>(220, 240, 200, 22);
        edit_ = Place<TTeEdit>(8, 240, 200, 21);
        label_ = new TTePathLabel(form_.get());
        label_->SetParent(form_.get());
        label_->SetBounds(8, 8, 400, 16);
        form_->Show();
    }
    void TearDown() override {
        form_.reset();
        DialogsFileFixture::TearDown();
    }
    template <class T>
    T* Place(int left, int top, int width, int height) {
        auto* control = new T(form_.get());
        control->SetParent(form_.get());
        control->SetBounds(left, top, width, height);
        return control;
    }
    void Link() {
        dirs_->SetFileList(files_);
        dirs_->SetDirLabel(label_);
        filter_->SetFileList(files_);
        files_->SetFileEdit(edit_);
    }

    std::unique_ptr<TForm> form_;
    TTeDirectoryListBox* dirs_ = nullptr;
    TTeFileListBox* files_ = nullptr;
    TTeFilterComboBox* filter_ = nullptr;
    TTeEdit* edit_ = nullptr;
    TTePathLabel* label_ = nullptr;
};

TEST_F(DialogsFileCtrlTest, TheDirectoryListShowsThePathLevelsThenTheSubFolders) {
    ASSERT_TRUE(dirs_->SetDirectory(File("Sub")));
    std::vector<String> levels = {"/"};
    String path;
    for (const auto& part : std::filesystem::path(File("Sub")).relative_path()) {
        path += "/" + part.string();
        levels.push_back(path);
    }
    const int pathItems = static_cast<int>(levels.size());
    ASSERT_EQ(dirs_->PathItemCount(), pathItems);
    ASSERT_EQ(dirs_->Count(), pathItems + 1) << "Sub holds one folder";
    EXPECT_EQ(ui_.Items(dirs_).back(), "Deeper");
    EXPECT_EQ(dirs_->ItemIndex(), pathItems - 1) << "the current folder is selected";
    for (int i = 0; i < pathItems; ++i) {
        EXPECT_EQ(dirs_->ItemPath(i), levels[i]);
        EXPECT_EQ(dirs_->ItemIndent(i), 4 * i + 2);
    }
    EXPECT_EQ(dirs_->ItemPath(pathItems), File("Sub/Deeper"));
    EXPECT_EQ(dirs_->ItemIndent(pathItems), 4 * pathItems + 2);

    ASSERT_TRUE(dirs_->SetDirectory("/"));
    EXPECT_EQ(dirs_->PathItemCount(), 1);
    EXPECT_EQ(dirs_->ItemIndent(1), 6) << "the root's sub-folders one step in";
}

TEST_F(DialogsFileCtrlTest, FoldersChangeByDoubleClickAndRelativePathsResolveAgainstTheList) {
    Link();
    int changes = 0;
    dirs_->OnChange = [&](TObject*) { ++changes; };
    ASSERT_TRUE(dirs_->SetDirectory(Dir()));
    EXPECT_TRUE(dirs_->SetDirectory("Sub/Deeper"));
    EXPECT_EQ(dirs_->Directory(), File("Sub/Deeper"));
    EXPECT_FALSE(dirs_->SetDirectory("../Missing")) << "a folder that does not exist changes nothing";
    EXPECT_EQ(dirs_->Directory(), File("Sub/Deeper"));
    EXPECT_EQ(changes, 2);

    const int parent = dirs_->PathItemCount() - 3;  // the temporary folder itself
    dirs_->SetItemIndex(parent);
    ui_.DoubleClick(dirs_);
    EXPECT_EQ(dirs_->Directory(), Dir());
    EXPECT_EQ(files_->Directory(), Dir()) << "the linked file list follows";
    EXPECT_EQ(label_->Caption(), Dir()) << "and the label";
    EXPECT_EQ(ui_.Items(files_),
              (std::vector<String>{"a.LOG", "archive.zip", "b.txt.bak", "notes.txt", "report.txt"}));
}

TEST_F(DialogsFileCtrlTest, TheFilterBoxGivesTheFileListItsMasks) {
    filter_->SetFilter("Text|*.txt;*.log|Archives|*.zip|Dangling");
    Link();
    files_->SetDirectory(Dir());
    EXPECT_EQ(files_->Mask(), "*.txt;*.log");
    EXPECT_EQ(ui_.Items(files_), (std::vector<String>{"a.LOG", "notes.txt", "report.txt"}));
    EXPECT_EQ(edit_->GetText(), "*.txt;*.log") << "no file selected: the edit shows the mask";
    filter_->SetItemIndex(1);
    EXPECT_EQ(ui_.Items(files_), std::vector<String>{"archive.zip"});

    TTeFilterComboBox empty(nullptr);
    empty.SetFilter("");
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_EQ(empty.Mask(), "*.*");
}

TEST_F(DialogsFileCtrlTest, FileTypesChooseFoldersHiddenAndPlainEntries) {
    files_->SetDirectory(Dir());
    struct Case {
        TFileType type;
        std::vector<String> items;
    } const cases[] = {
        {{ftNormal}, {"a.LOG", "archive.zip", "b.txt.bak", "notes.txt", "report.txt"}},
        {{ftDirectory}, {"[..]", "[.]", "[Sub]"}},
        {{ftDirectory, ftHidden}, {".hidden.txt", "[..]", "[.config]", "[.]", "[Sub]"}},
        {{ftNormal, ftHidden},
         {".hidden.txt", "a.LOG", "archive.zip", "b.txt.bak", "notes.txt", "report.txt"}},
    };
    for (const Case& c : cases) {
        files_->SetFileType(c.type);
        EXPECT_EQ(ui_.Items(files_), c.items);
    }
}

TEST_F(DialogsFileCtrlTest, SettingAFileNameSelectsChangesTheMaskOrRefuses) {
    Link();
    files_->SetDirectory(Dir());
    files_->SetFileName("*.txt");
    EXPECT_EQ(files_->Mask(), "*.txt");
    files_->SetFileName("notes.txt");
    EXPECT_EQ(files_->SelectedName(), "notes.txt");
    EXPECT_EQ(files_->FileName(), File("notes.txt"));
    EXPECT_EQ(edit_->GetText(), "notes.txt");
    EXPECT_THROW(files_->SetFileName("missing.txt"), ETeDirectoryFileNotExistsException);
    EXPECT_EQ(files_->SelectedName(), "notes.txt") << "a refused name changes nothing";
    files_->SetFileName("a.LOG");
    EXPECT_EQ(files_->Mask(), "a.LOG") << "an existing file the mask hides takes the mask";
    EXPECT_EQ(files_->SelectedName(), "a.LOG");
    files_->SetFileName(File("Sub/inner.txt"));
    EXPECT_EQ(files_->Directory(), File("Sub"));
    EXPECT_EQ(files_->FileName(), File("Sub/inner.txt"));
    EXPECT_THROW(files_->SetDirectory("nowhere"), ETeFolderError);
}

TEST_F(DialogsFileCtrlTest, TheDriveBoxAndThePathLabel) {
    TTeDriveComboBox drives(nullptr);
    EXPECT_EQ(drives.Count(), 1);
    EXPECT_EQ(drives.Items()->Strings(0), "/");
    EXPECT_EQ(drives.Drive(), "/");

    label_->SetCaption("/programs/share/.config/app.conf");
    label_->SetWidth(label_->Canvas()->TextWidth("/.../.config/app.conf"));
    EXPECT_EQ(label_->ShownText(), "/.../.config/app.conf");
}

std::vector<String> Entries(TTeFileCombo* combo) {
    std::vector<String> items;
    for (int i = 0; i < combo->Count(); ++i) items.push_back(combo->Items()->Strings(i));
    return items;
}

TEST_F(DialogsFileCtrlTest, TheFileComboListsSelectsAndFollowsTypedPaths) {
    auto* combo = Place<TTeFileCombo>(8, 270, 200, 22);
    combo->SetFileEdit(edit_);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetDirectory(Dir());
    combo->SetMask("*.txt");
    EXPECT_EQ(Entries(combo), (std::vector<String>{"notes.txt", "report.txt"}));
    EXPECT_EQ(combo->FileName(), "notes.txt") << "the first entry is selected";
    EXPECT_EQ(edit_->GetText(), "notes.txt");
    EXPECT_GT(changes, 0);

    combo->SetFileName("REPORT.TXT");
    EXPECT_EQ(combo->GetFilePath(), File("report.txt")) << "names are found in any case";
    combo->SetFilePath("a.LOG");
    EXPECT_EQ(combo->Mask(), "a.LOG") << "an existing file the mask hides takes the mask";
    EXPECT_EQ(combo->FileName(), "a.LOG");
    combo->SetFilePath("Sub/*.*");
    EXPECT_EQ(combo->Directory(), File("Sub"));
    EXPECT_EQ(Entries(combo), std::vector<String>{"inner.txt"});
    EXPECT_THROW(combo->SetFilePath("missing.txt"), ETeDirectoryFileNotExistsException);
    EXPECT_EQ(combo->GetFilePath(), File("Sub/inner.txt")) << "a refused name changes nothing";

    combo->SetMask("*.none");
    EXPECT_EQ(combo->Count(), 0);
    EXPECT_EQ(combo->GetFilePath(), "") << "an empty list selects nothing";
    EXPECT_EQ(edit_->GetText(), "*.none");
    ui_.RunUntilIdle();
}

// The folder list box's glyphs, to look at.
class TFolderGlyphs : public TTeFolderListbox {
public:
    using TTeFolderListbox::TTeFolderListbox;
    TBitmap* Open() const { return open_.get(); }
    TBitmap* Current() const { return current_.get(); }
    TBitmap* Closed() const { return closed_.get(); }
};

TEST_F(DialogsFileCtrlTest, TheFolderListBoxShowsOpenFoldersForThePath) {
    auto* folders = Place<TFolderGlyphs>(8, 30, 200, 200);
    ASSERT_TRUE(folders->SetDirectory(Dir()));
    ASSERT_TRUE(dirs_->SetDirectory(Dir()));
    EXPECT_EQ(ui_.Items(folders), ui_.Items(dirs_));
    for (TBitmap* glyph : {folders->Open(), folders->Current(), folders->Closed()}) {
        EXPECT_EQ(glyph->Width(), 16);
        EXPECT_EQ(glyph->Height(), 16);
    }
    auto row = [](TBitmap* b, int y) { return std::vector<uint32_t>(b->ScanLine(y), b->ScanLine(y) + 16); };
    for (int y = 0; y < 16; ++y) EXPECT_EQ(row(folders->Current(), y), row(folders->Open(), y)) << y;
    EXPECT_GE(folders->ItemHeight(), 17);
    ui_.RunUntilIdle();
}

}  // namespace
}  // namespace tarvel
