// The open and save panels over a temporary folder: what the list shows for
// each file type, the accept rules of the open panel, and the save panel's
// overwrite question for a typed name and for a chosen item, run through a
// real modal dialog answered by the UI driver.

#include "skin/extras/te_dialogs_file_panel.h"

#include <gtest/gtest.h>

#include "platform/classlib/Pictures.h"

#include "tests/skin/extras/DialogsFileFixture.h"

namespace tarvel {
namespace {

class DialogsFilePanelTest : public DialogsFileFixture {
protected:
    // A panel on a form of its own, not shown modally.
    template <class Panel>
    Panel* MakePanel(const char* filter) {
        form_ = std::make_unique<TForm>(Application);
        auto* panel = new Panel(form_.get());
        panel->SetParent(form_.get());
        panel->SetFilter(filter);
        panel->SetInitialDir(Dir());
        form_->SetClientWidth(panel->Width());
        form_->SetClientHeight(panel->Height());
        form_->Show();
        ui_.RunUntilIdle();
        return panel;
    }
    std::vector<String> Shown(TTeOpenPanel* panel) { return ui_.Items(panel->teFilesList); }
    static std::vector<String> Lines(TStrings* strings) {
        std::vector<String> lines;
        for (int i = 0; i < strings->Count(); ++i) lines.push_back(strings->Strings(i));
        return lines;
    }

    // Runs the dialog; `steps` act on it in turn while it waits.
    bool Run(TFileRequest& request, std::vector<std::function<void(TCustomForm*)>> steps) {
        for (auto& step : steps) ui_.WhenModal([this, step] { step(ui_.ModalForm()); });
        return ExecuteFilePanel(request);
    }
    TTeOpenPanel* PanelOf(TCustomForm* form) {
        return dynamic_cast<TTeOpenPanel*>(form->FindComponent("Panel"));
    }
    void TypeName(TCustomForm* form, const char* name) {
        PanelOf(form)->teFileName->SetFocus();
        ui_.Type(name);
    }
    TFileRequest SaveRequest(const char* filter) {
        TFileRequest request;
        request.save = true;
        request.filter = filter;
        request.initialDir = Dir();
        request.options = TOpenOptions{ofOverwritePrompt, ofHideReadOnly};
        return request;
    }

    std::unique_ptr<TForm> form_;
};

TEST_F(DialogsFilePanelTest, EachFileTypeShowsTheFilesItsMasksTake) {
    auto* panel = MakePanel<TTeOpenPanel>("Text files|*.txt;*.log|All files|*.*|Dangling");
    EXPECT_EQ(Lines(panel->teFileTypes->Items()), (std::vector<String>{"Text files", "All files"}));
    EXPECT_EQ(Shown(panel), (std::vector<String>{"Sub", "a.LOG", "notes.txt", "report.txt"}))
        << "folders first; a.LOG in any case; no b.txt.bak, no hidden entries";

    int typeChanges = 0;
    panel->OnTypeChange = [&](TObject*) { ++typeChanges; };
    ui_.PickItem(panel->teFileTypes, "All files");
    EXPECT_EQ(typeChanges, 1);
    EXPECT_EQ(panel->FilterIndex(), 2);
    EXPECT_EQ(Shown(panel),
              (std::vector<String>{"Sub", "a.LOG", "archive.zip", "b.txt.bak", "notes.txt", "report.txt"}))
        << "a .zip file is a file like any other";

    panel->SetFilterIndex(3);
    EXPECT_EQ(panel->FilterIndex(), 2) << "above the type count: unchanged";
    panel->SetFilterIndex(0);
    EXPECT_EQ(panel->FilterIndex(), 0);
    EXPECT_EQ(Shown(panel), (std::vector<String>{"Sub"})) << "no type selected: folders only";

    panel->SetFilter("");
    EXPECT_EQ(Shown(panel).size(), 6u) << "no filter: everything but the hidden entries";
}

TEST_F(DialogsFilePanelTest, TypingAnExactNameSelectsItsItem) {
    auto* panel = MakePanel<TTeOpenPanel>("All|*.*");
    panel->teFileName->SetFocus();
    ui_.Type("notes.txt");
    EXPECT_EQ(panel->teFilesList->ItemIndex(), 4);
    EXPECT_EQ(panel->FileName, File("notes.txt"));
    EXPECT_EQ(Lines(panel->Files()), std::vector<String>{File("notes.txt")});

    panel->teFileName->SetText("NOTES.TXT");
    EXPECT_EQ(panel->teFilesList->ItemIndex(), -1) << "another letter case is another name";
    panel->teFileName->SetText("");
    EXPECT_EQ(panel->FileName, "");
}

TEST_F(DialogsFilePanelTest, TheOpenPanelOpensFoldersAndAcceptsByItsOptions) {
    auto* panel = MakePanel<TTeOpenPanel>("All|*.*");
    ui_.DoubleClick(panel->teFilesList);  // nothing selected, no name: nothing happens
    EXPECT_EQ(panel->Folder(), Dir());

    ui_.PickItem(panel->teFilesList, "Sub");
    panel->DoOpenClick(nullptr);
    EXPECT_EQ(panel->Folder(), File("Sub"));
    EXPECT_EQ(ui_.Items(panel->teFilesList), (std::vector<String>{"Deeper", "inner.txt"}));
    ui_.Click(panel->teBtnUp);
    EXPECT_EQ(panel->Folder(), Dir());

    struct Case {
        const char* typed;
        TOpenOptions options;
        std::vector<int> answers;  // of the boxes asked, in order
        const char* accepted;      // "": the form stays open
    } const cases[] = {
        {"missing.txt", {ofFileMustExist}, {mrOk}, ""},
        {"Sub/inner.txt", {ofFileMustExist}, {}, "Sub/inner.txt"},
        {"missing.txt", {ofCreatePrompt}, {mrNo}, ""},
        {"missing.txt", {ofCreatePrompt}, {mrYes}, "missing.txt"},
        {"missing.txt", {}, {}, "missing.txt"},
        {"./Sub/../notes.txt", {}, {}, "notes.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        form_->SetModalResult(mrNone);
        panel->SetOptions(c.options);
        panel->teFileName->SetText(c.typed);
        const size_t asked = ui_.Boxes().size();
        for (int a : c.answers) ui_.AnswerNextBox(a);
        panel->DoOpenClick(nullptr);
        EXPECT_EQ(ui_.Boxes().size() - asked, c.answers.size());
        EXPECT_EQ(form_->ModalResult(), *c.accepted ? mrOk : mrNone);
        if (*c.accepted) {
            EXPECT_EQ(panel->FileName, File(c.accepted));
        }
    }
    // An absolute path is taken as it is, not joined to the folder shown.
    form_->SetModalResult(mrNone);
    panel->SetOptions({});
    panel->teFileName->SetText(File("Sub/inner.txt"));
    panel->DoOpenClick(nullptr);
    EXPECT_EQ(panel->FileName, File("Sub/inner.txt"));
}

TEST_F(DialogsFilePanelTest, SavingOverATypedNameAsksAfterTheExtensionIsAdded) {
    TFileRequest request = SaveRequest("Text files|*.txt|All files|*.*");
    ui_.AnswerNextBox(mrNo);
    ui_.AnswerNextBox(mrYes);
    ASSERT_TRUE(Run(request, {[&](TCustomForm* f) {
                        TypeName(f, "report");
                        ui_.PressKey(VK_RETURN);
                        EXPECT_EQ(f->ModalResult(), mrNone) << "No keeps the dialog open";
                        ui_.PressKey(VK_RETURN);
                    }}));
    ASSERT_EQ(ui_.Boxes().size(), 2u);
    EXPECT_EQ(ui_.Boxes()[0].text, "report.txt already exists. Do you want to replace it?");
    EXPECT_EQ(ui_.Boxes()[0].buttons, mbYesNo);
    EXPECT_EQ(request.fileName, File("report.txt"));
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(DialogsFilePanelTest, SavingOverAChosenItemAsksToo) {
    TFileRequest request = SaveRequest("Text files|*.txt");
    ui_.AnswerNextBox(mrYes);
    ASSERT_TRUE(Run(request, {[&](TCustomForm* f) {
                        ui_.PickItem(PanelOf(f)->teFilesList, "notes.txt");
                        ui_.Click(f, "OpenButton");
                    }}));
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "notes.txt already exists. Do you want to replace it?");
    EXPECT_EQ(request.fileName, File("notes.txt"));
}

TEST_F(DialogsFilePanelTest, ANewNameIsSavedWithoutAQuestion) {
    struct Case {
        const char* filter;
        const char* defaultExt;
        const char* typed;
        const char* saved;
        TOpenOptions options;
    } const cases[] = {
        {"Text files|*.txt", "", "fresh", "fresh.txt", {ofOverwritePrompt}},
        {"All files|*.*", "", "fresh", "fresh", {ofOverwritePrompt}},
        {"All files|*.*", "csv", "Sub/fresh", "Sub/fresh.csv", {ofOverwritePrompt}},
        {"Text files|*.txt", "", "report", "report.txt", {}},  // no prompt asked for
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TFileRequest request = SaveRequest(c.filter);
        request.defaultExt = c.defaultExt;
        request.options = c.options;
        ASSERT_TRUE(Run(request, {[&](TCustomForm* f) {
                            TypeName(f, c.typed);
                            ui_.PressKey(VK_RETURN);
                        }}));
        EXPECT_EQ(request.fileName, File(c.saved));
    }
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(DialogsFilePanelTest, EscapeInTheNameEditCancelsTheDialog) {
    TFileRequest request = SaveRequest("All|*.*");
    EXPECT_FALSE(Run(request, {[&](TCustomForm* f) {
                         TypeName(f, "x");
                         ui_.PressKey(VK_ESCAPE);
                     }}));
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(DialogsFilePanelTest, AFailedNewFolderSaysSo) {
    auto* panel = MakePanel<TTeOpenPanel>("All|*.*");
    ui_.Click(panel->teBtnCreate);
    EXPECT_TRUE(DirExists(File("New Folder")));
    EXPECT_EQ(ui_.Items(panel->teFilesList)[0], "New Folder");
    ui_.AnswerNextBox(mrOk);
    ui_.Click(panel->teBtnCreate);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "Cannot create the folder " + File("New Folder") + ".");

    bool asked = false;
    panel->OnIncludeItem = [&](TObject*, const String&, bool& include) {
        asked = true;
        include = false;
    };
    std::filesystem::remove(File("New Folder"));
    ui_.Click(panel->teBtnCreate);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(DirExists(File("New Folder")));
}

TEST_F(DialogsFilePanelTest, TheViewMenuChecksTheStyleItShows) {
    auto* panel = MakePanel<TTeOpenPanel>("All|*.*");
    EXPECT_EQ(panel->tebtnListView->DropDownMenu(), panel->teViewMenu);
    struct Case {
        TTeItem* item;
        TViewStyle style;
        int columns;
    } const cases[] = {
        {panel->teitemDetail, vsReport, 0},
        {panel->teitemTitles, vsIcon, 0},
        {panel->teitemIcon, vsSmallIcon, 0},
        {panel->teitemList, vsList, 2},
    };
    EXPECT_TRUE(panel->teitemList->Checked()) << "the list style to start with";
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.item->Caption()));
        c.item->Click();
        EXPECT_EQ(panel->ViewStyle(), c.style);
        for (TTeItem* other :
             {panel->teitemTitles, panel->teitemIcon, panel->teitemList, panel->teitemDetail})
            EXPECT_EQ(other->Checked(), other == c.item);
        EXPECT_EQ(panel->teFilesList->Columns(), c.columns);
        ui_.RunUntilIdle();  // and each paints
    }
    ui_.PickItem(panel->teFilesList, "notes.txt");
    EXPECT_EQ(panel->FileName, File("notes.txt")) << "items are picked in columns too";
}

TEST_F(DialogsFilePanelTest, PicturesArePreviewedScaledDownToTheView) {
    struct Case {
        TSize picture, box, shown;
    } const cases[] = {
        {{400, 100}, {163, 182}, {163, 41}},
        {{100, 50}, {163, 182}, {100, 50}},  // smaller: its own size
        {{200, 400}, {100, 100}, {50, 100}},
        {{10, 5}, {5, 5}, {5, 2}},  // 2.5: ties go to even
        {{0, 0}, {5, 5}, {0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(PreviewSize(c.picture, c.box), c.shown) << c.picture.cx;

    TBitmap wide(400, 100);
    wide.SaveToFile(File("wide.bmp"));
    std::ofstream(File("broken.png")) << "no picture";
    auto* panel = MakePanel<TTeOpenPicturePanel>("Pictures|*.bmp;*.png");
    EXPECT_EQ(panel->Width(), 600);
    EXPECT_EQ(panel->teFilesList->Width(), 403);
    TPicture* shown = panel->tePicView->Picture();
    ui_.PickItem(panel->teFilesList, "wide.bmp");
    const TSize view{panel->tePicView->Width(), panel->tePicView->Height()};
    EXPECT_EQ((TSize{shown->Width(), shown->Height()}), PreviewSize({400, 100}, view));
    EXPECT_LT(shown->Width(), 400);
    ui_.PickItem(panel->teFilesList, "broken.png");
    EXPECT_EQ(shown->Graphic(), nullptr) << "no picture shown rather than the last one";
    EXPECT_EQ(panel->FileName, File("broken.png")) << "it can still be chosen";
}

}  // namespace
}  // namespace tarvel
