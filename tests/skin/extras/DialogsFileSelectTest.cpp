// The select-directory dialog, and the file-name and directory edits that
// open the library's choosers, run through real modal forms.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarvel
