// A small form driven end to end: click, type, answer a box, choose a file.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/Paths.h"
#include "platform/classlib/Dialogs.h"
#include "platform/classlib/Grids.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

// A form built in code, as the tool's windows are: a name edit, a count
// edit, a save button that asks before saving, a list of saved files.
class TSampleForm : public TForm {
public:
    explicit TSampleForm(TComponent* owner) : TForm(owner) {
        SetName("SampleForm");
        SetCaption("Sample");
        SetBounds(100, 100, 360, 220);
        auto* nameLabel = new TLabel(this);
        nameLabel->SetName("NameLabel");
        nameLabel->SetParent(this);
        nameLabel->SetCaption("&Name:");
        nameLabel->SetBounds(10, 14, 60, 17);
        name = new TEdit(this);
        name->SetName("NameEdit");
        name->SetParent(this);
        name->SetBounds(80, 10, 150, 21);
        nameLabel->SetFocusControl(name);
        count = new TEdit(this);
        count->SetName("CountEdit");
        count->SetParent(this);
        count->SetBounds(80, 40, 150, 21);
        save = new TButton(this);
        save->SetName("SaveButton");
        save->SetParent(this);
        save->SetCaption("&Save");
        save->SetBounds(250, 10, 90, 25);
        save->OnClick = [this](TObject*) { SaveClicked(); };
        saved = new TListBox(this);
        saved->SetName("SavedList");
        saved->SetParent(this);
        saved->SetBounds(10, 75, 330, 100);
        status = new TLabel(this);
        status->SetName("StatusLabel");
        status->SetParent(this);
        status->SetAlign(alBottom);
        dialog = new TSaveDialog(this);
        dialog->Filter = "Text files|*.txt";
        dialog->DefaultExt = "txt";
    }

    void SaveClicked() {
        int n = StrToInt(count->Text());  // a bad count ends the handler in the error box
        if (MessageDlg("Save " + name->Text() + "?", mtConfirmation, mbYesNo) != mrYes) return;
        if (!dialog->Execute()) return;
        WriteFileText(dialog->FileName, name->Text() + " x" + IntToStr(n));
        saved->Items()->Add(ExtractFileName(dialog->FileName));
        status->SetCaption("Saved");
    }

    TEdit* name;
    TEdit* count;
    TButton* save;
    TListBox* saved;
    TLabel* status;
    TSaveDialog* dialog;
};

TEST(UiDriver, DrivesASmallFormThroughClicksTypingBoxesAndAFileDialog) {
    const testing::TempFolder temp;
    const std::filesystem::path& folder = temp.Path();
    const String cwd = GetCurrentDir();

    TUiDriver ui;
    TSampleForm* form = nullptr;
    Application->CreateForm(form);
    form->dialog->InitialDir = folder.string();
    form->Show();
    ui.RunUntilIdle();

    ui.Click(ui.Find(form, "NameEdit"));
    ui.Type("Module 7");
    ui.Click(form->count);
    ui.Type("x3");
    ui.Click(ui.Find(form, "SaveButton"));
    // The bad count reached the standard error box; nothing else was asked.
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].type, mtError);
    EXPECT_EQ(ui.Boxes()[0].text, "'x3' is not a valid integer value.");
    EXPECT_TRUE(ui.Dialogs().Files().empty());

    // The loop went on: fix the count and save for real.
    ui.Click(form->count);
    ui.PressKey(VK_HOME);
    ui.PressKey(VK_DELETE);
    EXPECT_EQ(ui.Text(form->count), "3");
    ui.AnswerNextBox(mrYes);
    ui.ChooseNextFile("first");
    ui.Click(form->save);

    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[1].type, mtConfirmation);
    EXPECT_EQ(ui.Boxes()[1].text, "Save Module 7?");
    ASSERT_EQ(ui.Dialogs().Files().size(), 1u);
    EXPECT_TRUE(ui.Dialogs().Files()[0].request.save);
    EXPECT_EQ(ReadFileText((folder / "first.txt").string()), "Module 7 x3");
    EXPECT_EQ(ui.Items(form->saved), std::vector<String>{"first.txt"});
    EXPECT_EQ(ui.Caption(ui.Find(form, "StatusLabel")), "Saved");
    EXPECT_EQ(GetCurrentDir(), cwd);
    EXPECT_EQ(ui.Dialogs().UnusedAnswers(), 0u);
    EXPECT_TRUE(ui.Problems().empty());

    ui.PickItem(form->saved, "first.txt");
    EXPECT_EQ(form->saved->ItemIndex(), 0);

    const String dump = ui.Dump(form);
    EXPECT_NE(dump.find("TForm SampleForm \"Sample\""), String::npos) << dump;
    EXPECT_NE(dump.find("  TEdit NameEdit \"Module 7\""), String::npos) << dump;
    EXPECT_NE(dump.find("TListBox SavedList (10,75 330x100) visible focused items=1 index=0"), String::npos)
        << dump;

    const std::string png = (std::filesystem::path(TARVEL_BINARY_DIR) / "ui_driver_sample.png").string();
    ASSERT_TRUE(ui.SaveScreenshot(form, png));
    EXPECT_TRUE(FileExists(png));
}

TEST(UiDriver, SelectsGridCellsByClickingThemAndReadsTheirText) {
    TUiDriver ui;
    auto* form = new TForm(Application);
    form->SetBounds(50, 50, 400, 300);
    auto* grid = new TStringGrid(form);
    grid->SetName("Cells");
    grid->SetParent(form);
    grid->SetBounds(10, 10, 300, 150);
    grid->SetColCount(4);
    grid->SetRowCount(30);  // more rows than show: the driver scrolls the cell into view
    grid->SetCells(2, 25, "3.456");
    form->Show();
    ui.RunUntilIdle();
    ui.SelectCell(ui.Find(form, "Cells"), 2, 25);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 25);
    EXPECT_EQ(ui.CellText(grid, 2, 25), "3.456");
    EXPECT_THROW(ui.SelectCell(grid, 9, 0), EUiDriverError);
    EXPECT_THROW(ui.PickItem(grid, "x"), EUiDriverError);
    EXPECT_THROW(ui.Find(form, "Missing"), EUiDriverError);
}

}  // namespace
}  // namespace tarvel
