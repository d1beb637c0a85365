// The select-directory dialog, and the file-name and directory edits that
// open the library's choosers, run through real modal forms.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/classlib/Pictures.h"
#include "platform/winsys/DragDrop.h"
#include "skin/extras/te_dialogs_file_edit.h"
#include "skin/extras/te_dialogs_file_panel.h"
#include "skin/extras/te_dialogs_file_select.h"
#include "tests/skin/extras/DialogsFileFixture.h"

namespace tarvel {
namespace {

class DialogsFileSelectTest : public DialogsFileFixture {
protected:
    TTeSelectDirDlg* Dialog() { return dynamic_cast<TTeSelectDirDlg*>(ui_.ModalForm()); }
    template <class Edit>
    Edit* MakeEdit() {
        form_ = std::make_unique<TForm>(Application);
        auto* edit = new Edit(form_.get());
        edit->SetParent(form_.get());
        edit->SetBounds(10, 10, 300, 21);
        form_->Show();
        ui_.RunUntilIdle();
        return edit;
    }
    std::unique_ptr<TForm> form_;
};

TEST_F(DialogsFileSelectTest, WithoutHelpOkAndCancelMoveRight) {
    String directory = Dir();
    ui_.WhenModal([&] {
        TTeSelectDirDlg* d = Dialog();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->OKButton->Left(), 256);
        EXPECT_EQ(d->CancelButton->Left(), 340);
        EXPECT_FALSE(d->HelpButton->Visible());
        EXPECT_FALSE(d->NetButton->Visible());
        EXPECT_FALSE(d->DirEdit->Visible()) << "no folder may be typed";
        EXPECT_EQ(d->DirLabel->Caption(), Dir());
        EXPECT_EQ(ui_.Items(d->FileList).size(), 5u);
        ui_.Click(d->CancelButton);
    });
    EXPECT_FALSE(SelectDirectory(directory, {}, 0));
    EXPECT_EQ(directory, Dir());
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(DialogsFileSelectTest, AChosenSubFolderIsTheAnswer) {
    String directory = Dir();
    ui_.WhenModal([&] {
        ui_.PickItem(Dialog()->DirList, "Sub");
        ui_.DoubleClick(Dialog()->DirList);
        EXPECT_EQ(Dialog()->DirLabel->Caption(), File("Sub"));
        ui_.Click(Dialog()->OKButton);
    });
    ASSERT_TRUE(SelectDirectory(directory, {}, 0));
    EXPECT_EQ(directory, File("Sub"));
}

TEST_F(DialogsFileSelectTest, ATypedMissingFolderIsAskedForAndCreated) {
    String directory = Dir();
    ui_.AnswerNextBox(mrNo);
    ui_.AnswerNextBox(mrYes);
    ui_.WhenModal([&] {
        TTeSelectDirDlg* d = Dialog();
        ASSERT_TRUE(d->DirEdit->Visible());
        d->DirEdit->SetText("New/Deep");
        ui_.Click(d->OKButton);
        EXPECT_EQ(d->ModalResult(), mrNone) << "No keeps the dialog open";
        ui_.Click(d->OKButton);
    });
    ASSERT_TRUE(SelectDirectory(directory, {sdAllowCreate, sdPrompt, sdPerformCreate}, 0));
    ASSERT_EQ(ui_.Boxes().size(), 2u);
    EXPECT_EQ(ui_.Boxes()[0].text, "The specified directory does not exist. Create it?");
    EXPECT_EQ(directory, File("New/Deep"));
    EXPECT_TRUE(DirExists(File("New/Deep")));
}

TEST_F(DialogsFileSelectTest, FileNamesAreQuotedAndChecked) {
    auto* edit = MakeEdit<TTeFilenameEdit>();
    struct Case {
        const char* written;
        const char* text;
    } const cases[] = {
        {"/My Files/a.txt", "\"/My Files/a.txt\""},
        {"/a.txt", "/a.txt"},
        {"\"/My Files/a.txt", "\"/My Files/a.txt"},
        {"", ""},
    };
    for (const Case& c : cases) {
        edit->SetFileName(c.written);
        EXPECT_EQ(edit->GetText(), c.text) << c.written;
    }
    edit->SetText("\"/My Files/a.txt\" /b.txt");
    EXPECT_EQ(edit->FileName(), "/My Files/a.txt");
    EXPECT_THROW(edit->SetFileName("/data/a*.txt"), EComboEditError);
    EXPECT_EQ(edit->GetText(), "\"/My Files/a.txt\" /b.txt") << "a refused name leaves the text";

    const String spaced = File("with blank.txt");
    std::ofstream(spaced) << "x";
    edit->SetText(spaced);
    EXPECT_EQ(edit->FileName(), spaced) << "the whole text names an existing file";
    edit->AddQuotes = false;
    edit->SetText("\"x y\" z");
    EXPECT_EQ(edit->FileName(), "\"x y\" z");
}

TEST_F(DialogsFileSelectTest, TheFileNameEditsButtonOpensTheDialogInTheNamesFolder) {
    auto* edit = MakeEdit<TTeFilenameEdit>();
    edit->SetFileName(File("report.txt"));
    ui_.WhenModal([&] {
        auto* panel = dynamic_cast<TTeOpenPanel*>(ui_.ModalForm()->FindComponent("Panel"));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->Folder(), Dir());
        EXPECT_EQ(ui_.ModalForm()->Caption(), "Browse");
        ui_.PickItem(panel->teFilesList, "notes.txt");
        ui_.Click(ui_.ModalForm(), "OpenButton");
    });
    edit->DoClick();
    EXPECT_EQ(edit->GetText(), File("notes.txt"));
    EXPECT_EQ(edit->InitialDir(), Dir());

    ui_.WhenModal([&] { ui_.Click(ui_.ModalForm(), "CancelButton"); });
    edit->DoClick();
    EXPECT_EQ(edit->GetText(), File("notes.txt")) << "cancelling leaves the text";

    int before = 0;
    edit->OnBeforeDialog = [&](TObject*, String&, bool& action) {
        ++before;
        action = false;
    };
    edit->DoClick();  // no modal form comes up: none waits for an action
    EXPECT_EQ(before, 1);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(DialogsFileSelectTest, DroppedFilesGiveTheDirectoryEditTheirFolders) {
    auto* edit = MakeEdit<TTeDirectoryEdit>();
    edit->SetAcceptFiles(true);
    const std::vector<std::string> dropped = {File("notes.txt"), File("Sub"), File("Sub/inner.txt")};
    const TPoint centre = edit->ClientToScreen(TPoint{20, 10});
    QueueFileDrop(centre, dropped);
    ui_.RunUntilIdle();
    EXPECT_EQ(edit->GetText(), Dir()) << "without MultipleDirs only the first counts";

    edit->SetText("");
    edit->MultipleDirs = true;
    int drops = 0;
    edit->OnDropFiles = [&](TObject*) { ++drops; };
    QueueFileDrop(centre, dropped);
    ui_.RunUntilIdle();
    EXPECT_EQ(edit->GetText(), Dir() + ";" + File("Sub") + ";" + File("Sub"));
    EXPECT_EQ(drops, 1);

    // Long paths arrive whole.
    const String deep =
        File("Sub") + "/" + String(120, 'd') + "/" + String(120, 'e') + "/" + String(120, 'f');
    std::filesystem::create_directories(deep);
    std::ofstream(deep + "/cells.csv") << "1";
    edit->SetText("");
    edit->MultipleDirs = false;
    QueueFileDrop(centre, {deep + "/cells.csv"});
    ui_.RunUntilIdle();
    EXPECT_EQ(edit->GetText(), deep);

    edit->MultipleDirs = true;
    edit->SetText(File("Sub") + ";" + File("missing"));
    EXPECT_EQ(edit->LongName(), File("Sub") + ";" + Dir() + "/")
        << "a missing part keeps its existing levels";
}

TEST_F(DialogsFileSelectTest, TheDirectoryEditsButtonAppendsTheChosenFolder) {
    auto* edit = MakeEdit<TTeDirectoryEdit>();
    edit->MultipleDirs = true;
    edit->SetText(Dir());
    ui_.WhenModal([&] {
        ui_.PickItem(Dialog()->DirList, "Sub");
        ui_.DoubleClick(Dialog()->DirList);
        ui_.Click(Dialog()->OKButton);
    });
    edit->DoClick();
    EXPECT_EQ(edit->GetText(), Dir() + ";" + File("Sub"));
    EXPECT_EQ(edit->InitialDir, File("Sub"));
}

TEST_F(DialogsFileSelectTest, TheFileNameEditOpensTheDialogOfItsKind) {
    auto* edit = MakeEdit<TTeFilenameEdit>();
    struct Case {
        TFileDialogKind kind;
        TClass dialogClass;
        bool pictures;
    } const cases[] = {
        {dkSavePicture, TTeSavePictureDialog::StaticClass(), true},
        {dkOpenPicture, TTeOpenPictureDialog::StaticClass(), true},
        {dkOpen, TTeOpenDialog::StaticClass(), false},
        {dkSave, TTeSaveDialog::StaticClass(), false},
    };
    for (const Case& c : cases) {
        edit->SetFilter("Text|*.txt");
        edit->SetDialogTitle("Pick");
        edit->SetDialogKind(c.kind);
        EXPECT_EQ(edit->Dialog()->ClassType(), c.dialogClass);
        EXPECT_EQ(edit->Dialog()->Owner(), edit);
        EXPECT_EQ(edit->DialogTitle(), "Browse") << "the new dialog starts afresh";
        EXPECT_EQ(edit->Filter(), c.pictures ? GraphicFilter() : String("All files (*.*)|*.*"));
        EXPECT_EQ(edit->DialogOptions(), TOpenOptions{ofHideReadOnly});
    }

    // A save through the edit: the name is completed and asked for once.
    edit->SetFilter("Text files|*.txt");
    edit->SetDialogOptions(TOpenOptions{ofOverwritePrompt});
    edit->SetFileName(File("draft"));
    ui_.AnswerNextBox(mrYes);
    ui_.WhenModal([&] {
        auto* panel = dynamic_cast<TTeSavePanel*>(ui_.ModalForm()->FindComponent("Panel"));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->Folder(), Dir());
        panel->teFileName->SetText("report");
        ui_.Click(ui_.ModalForm(), "OpenButton");
    });
    edit->DoClick();
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "report.txt already exists. Do you want to replace it?");
    EXPECT_EQ(edit->GetText(), File("report.txt"));
    EXPECT_EQ(edit->DialogFiles()->Count(), 1);
}

TEST_F(DialogsFileSelectTest, TheHelpButtonSaysNoHelpIsInstalled) {
    TBrowseFolderDlg browser(Application);
    browser.FolderName = Dir();
    browser.HelpContext = 12;
    browser.DialogText = "Where to?";
    int initialized = 0, changed = 0;
    browser.OnInitialized = [&](TObject*) { ++initialized; };
    browser.OnSelChanged = [&](TObject*) { ++changed; };
    ui_.AnswerNextBox(mrOk);
    ui_.WhenModal([&] {
        TTeSelectDirDlg* d = Dialog();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->Caption(), "Where to?");
        EXPECT_EQ(d->Position(), poScreenCenter);
        ASSERT_TRUE(d->HelpButton->Visible());
        ui_.Click(d->HelpButton);
        ui_.PickItem(d->DirList, "Sub");
        ui_.DoubleClick(d->DirList);
        ui_.Click(d->OKButton);
    });
    ASSERT_TRUE(browser.Execute());
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "No help is installed on this system (help topic 12).");
    EXPECT_EQ(browser.FolderName, File("Sub"));
    EXPECT_EQ(initialized, 1);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(browser.Form(), nullptr);
}

// HOME and the user-dirs file pointed into the test's folder while it lives.
class TUserHome {
public:
    TUserHome(const String& home, const String& config) {
        Keep("HOME", home);
        Keep("XDG_CONFIG_HOME", config);
    }
    ~TUserHome() {
        for (auto& [name, value] : kept_)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }

private:
    void Keep(const String& name, const String& value) {
        const char* old = std::getenv(name.c_str());
        kept_.emplace_back(name, old ? std::optional<String>(old) : std::nullopt);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<std::pair<String, std::optional<String>>> kept_;
};

TEST_F(DialogsFileSelectTest, BrowseComputerOffersTheUsersPlaces) {
    std::filesystem::create_directory(File("cfg"));
    std::ofstream(File("cfg/user-dirs.dirs"))
        << "XDG_DESKTOP_DIR=\"$HOME/Sub\"\nXDG_DOCUMENTS_DIR=\"$HOME\"\n";
    TUserHome home(Dir(), File("cfg"));
    const std::vector<String> expected = {"Home  (" + Dir() + ")", "Desktop  (" + File("Sub") + ")",
                                          "File System  (/)"};
    String name = File("Sub");
    ui_.WhenModal([&] {
        auto* list = ui_.Find<TTeListBox>(ui_.ModalForm(), "PlacesList");
        EXPECT_EQ(ui_.Items(list), expected) << "documents are the home folder: listed once";
        EXPECT_EQ(list->ItemIndex(), 1) << "the place given is selected";
        ui_.PickItem(list, expected[2]);
        ui_.Click(ui_.ModalForm(), "OKButton");
    });
    ASSERT_TRUE(BrowseComputer(name, "Places", 0));
    EXPECT_EQ(name, "/");

    ui_.WhenModal([&] { ui_.Click(ui_.ModalForm(), "CancelButton"); });
    EXPECT_FALSE(BrowseComputer(name, "Places", 0));
    EXPECT_EQ(name, "/");
    EXPECT_TRUE(ui_.Problems().empty());
}

}  // namespace
}  // namespace tarvel
