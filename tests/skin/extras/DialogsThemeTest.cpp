// Choosing themes: the switcher's entries over the built-in themes, a theme
// list and the tool's skin file, its choices made current at once, its
// selection following the current theme; and the select-theme dialog, which
// previews through its own link and applies only on OK.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_manager.h"
#include "skin/extras/te_dialogs_theme.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "tests/skin/extras/DialogsRegistryFixture.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel {
namespace {

class DialogsThemeTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitThemeFlat();
        InitThemeOfficeXP();
        InitThemeSkinFile();  // reads files, chosen by no name
        InitControlBases();
        InitForms();
        form_ = new TForm(Application);
        form_->SetBounds(0, 0, 300, 200);
        engine_ = new TTeOrvanta(form_);
        list_ = new TTeThemeList(form_);
        engine_->SetThemeList(list_);
        form_->Show();
    }
    void TearDown() override {
        delete form_;
        ReleaseTheme();
        ui_.RunUntilIdle();
        DoneForms();
        DoneControlBases();
        DoneButtonGlyphs();
        DoneThemeCore();
    }

    // The tool's skin under a name of the theme list.
    void AddSkinToList(const char* name) {
        std::unique_ptr<TteTheme> skin(LoadThemeFromFile(testing::DaraSkinPath().string()));
        ASSERT_NE(skin, nullptr) << testing::DaraSkinPath();
        skin->Name = name;
        list_->Themes()->Add()->SetTheme(skin.get());
    }
    TTeThemeSwitcher* NewSwitcher() {
        auto* s = new TTeThemeSwitcher(form_);
        s->SetBounds(10, 10, 200, 22);
        s->SetOrvanta(engine_);
        s->SetParent(form_);
        s->OnChangeTheme = [this](TObject*) { ++changes_; };
        ui_.RunUntilIdle();
        return s;
    }
    std::vector<String> Entries(TTeComboBox* box) {
        std::vector<String> items;
        for (int i = 0; i < box->Count(); ++i) items.push_back(box->Items()->Get(i));
        return items;
    }
    String Selected(TTeComboBox* box) {
        return box->ItemIndex() < 0 ? "" : box->Items()->Get(box->ItemIndex());
    }
    TTeOpenThemePanel* ThemePanel() {
        return dynamic_cast<TTeOpenThemePanel*>(ui_.ModalForm()->FindComponent("Panel"));
    }
    // The next open-theme dialog opens the typed `path`, or is cancelled
    // without one; the folder it showed first is noted.
    void AnswerThemeDialog(std::optional<String> path) {
        ui_.WhenModal([this, path] {
            TTeOpenThemePanel* panel = ThemePanel();
            ASSERT_NE(panel, nullptr);
            dialogFolders_.push_back(panel->Folder());
            EXPECT_EQ(panel->Filter(), GetDialogFilter());
            if (!path) return ui_.Click(ui_.ModalForm(), "CancelButton");
            panel->teFileName->SetText(*path);
            ui_.Click(ui_.ModalForm(), "OpenButton");
        });
    }

    testing::TempRegistry registry_;
    TUiDriver ui_;
    TForm* form_ = nullptr;
    TTeOrvanta* engine_ = nullptr;
    TTeThemeList* list_ = nullptr;
    int changes_ = 0;
    std::vector<String> dialogFolders_;
};

TEST_F(DialogsThemeTest, TheSwitcherListsNoThemeTheBuiltInsTheListAndBrowse) {
    AddSkinToList("Cells");
    AddSkinToList("");  // an unnamed theme is left out
    AddSkinToList("Night shift");
    TTeThemeSwitcher* s = NewSwitcher();
    struct Case {
        bool noTheme, separators, browse;
        std::vector<String> entries;
    };
    const Case cases[] = {
        {true, false, true, {"No theme", "Flat", "OfficeXP", "Cells", "Night shift", "Browse..."}},
        {true,
         true,
         true,
         {"No theme", "-", "Flat", "OfficeXP", "-", "Cells", "Night shift", "-", "Browse..."}},
        {false, false, false, {"Flat", "OfficeXP", "Cells", "Night shift"}},
    };
    for (const Case& c : cases) {
        s->ShowNoTheme = c.noTheme;
        s->ShowSeparator = c.separators;
        s->ShowBrowse = c.browse;
        s->BuildThemeList();
        EXPECT_EQ(Entries(s), c.entries);
    }
    s->SetOrvanta(nullptr);
    EXPECT_EQ(Entries(s), (std::vector<String>{"Flat", "OfficeXP"}));
}

TEST_F(DialogsThemeTest, AChosenEntryBecomesTheCurrentThemeAtOnce) {
    AddSkinToList("Dara");
    TTeThemeSwitcher* s = NewSwitcher();
    s->ShowSeparator = true;
    s->BuildThemeList();
    EXPECT_EQ(Selected(s), "No theme");

    ui_.PickItem(s, "OfficeXP");
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->ThemeClass()->GetThemeName(), "OfficeXP");
    EXPECT_EQ(Selected(s), "OfficeXP");
    EXPECT_EQ(changes_, 1);

    ui_.AdvanceClock(1000);       // a second click, not a double click
    ui_.PickItem(s, "OfficeXP");  // the selected entry applies again
    EXPECT_EQ(changes_, 2);

    ui_.PickItem(s, "-");  // a separator cannot be chosen
    EXPECT_EQ(Selected(s), "OfficeXP");
    EXPECT_EQ(changes_, 2);

    ui_.PickItem(s, "Dara");
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->Name, "Dara");
    EXPECT_EQ(Selected(s), "Dara");

    ui_.PickItem(s, "No theme");
    EXPECT_EQ(CurrentTheme, nullptr);
    EXPECT_EQ(changes_, 4);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(DialogsThemeTest, TheSelectionFollowsThemeChangesMadeElsewhere) {
    AddSkinToList("Dara");  // as the skin names itself
    TTeThemeSwitcher* s = NewSwitcher();
    ChangeTheme(std::string_view("Flat"));
    EXPECT_EQ(Selected(s), "Flat");
    ChangeTheme(LoadThemeFromFile(testing::DaraSkinPath().string()));
    EXPECT_EQ(Selected(s), "Dara") << "found by its name";
    TteTheme* other = LoadThemeFromFile(testing::DaraSkinPath().string());
    ASSERT_NE(other, nullptr);
    other->Name = "Elsewhere";
    ChangeTheme(other);
    EXPECT_EQ(Selected(s), "Browse...") << "a theme matching no entry selects the last one";
    ReleaseTheme();
    EXPECT_EQ(Selected(s), "No theme");
    EXPECT_EQ(changes_, 0) << "only the switcher's own choices are told";
}

TEST_F(DialogsThemeTest, BrowsingLoadsTheChosenSkinFileAndKeepsFailuresHarmless) {
    TTeThemeSwitcher* s = NewSwitcher();
    s->InitialDir = testing::DaraSkinPath().parent_path().string();
    ChangeTheme(std::string_view("Flat"));

    const std::filesystem::path bad =
        std::filesystem::temp_directory_path() / ("not-a-skin-" + std::to_string(getpid()) + ".mskn");
    std::ofstream(bad) << "plain text, no skin";
    AnswerThemeDialog(bad.string());
    ui_.PickItem(s, "Browse...");
    AnswerThemeDialog(std::nullopt);
    ui_.AdvanceClock(1000);
    ui_.PickItem(s, "Browse...");
    std::filesystem::remove(bad);
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->ThemeClass()->GetThemeName(), "Flat") << "nothing changed";
    EXPECT_EQ(changes_, 0);
    EXPECT_EQ(Selected(s), "Browse...") << "the browse entry stays selected";
    EXPECT_EQ(s->GetThemeFileName(), "");

    const String dara = testing::DaraSkinPath().string();
    AnswerThemeDialog(dara);
    ui_.AdvanceClock(1000);
    ui_.PickItem(s, "Browse...");
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->FileName, dara);
    EXPECT_TRUE(CurrentTheme->ThemeClass()->GetThemeConfig().FileBased);
    EXPECT_EQ(s->GetThemeFileName(), dara);
    EXPECT_EQ(changes_, 1);
    ASSERT_EQ(dialogFolders_.size(), 3u);
    EXPECT_EQ(dialogFolders_[0], s->InitialDir);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(DialogsThemeTest, TheOpenThemeDialogPreviewsTheFileUnderTheSelection) {
    testing::TempFolder tmp;
    std::filesystem::copy_file(testing::DaraSkinPath(), tmp.File("dara.mskn"));
    std::ofstream(tmp.File("broken.mskn")) << "no skin";
    std::ofstream(tmp.File("notes.txt")) << "not listed";
    std::filesystem::create_directory(tmp.File("Skins"));

    TTeOpenThemeDialog dialog(form_);
    dialog.InitialDir = tmp.Path().string();
    ui_.WhenModal([&] {
        TTeOpenThemePanel* panel = ThemePanel();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(ui_.ModalForm()->Constraints()->MinWidth(), 450);
        EXPECT_EQ(ui_.Items(panel->teFilesList), (std::vector<String>{"Skins", "broken.mskn", "dara.mskn"}));
        TTeThemeLink* link = panel->teThemePreviewLink;
        EXPECT_EQ(link->ThemeBuilding(), SNoTheme);

        ui_.PickItem(panel->teFilesList, "dara.mskn");
        EXPECT_EQ(link->ThemeFile(), tmp.File("dara.mskn"));
        const TteTheme* shown = link->GetTheme();
        ASSERT_NE(shown, nullptr) << "the skin file is loaded into the preview";
        ui_.PickItem(panel->teFilesList, "Skins");
        EXPECT_EQ(link->GetTheme(), shown) << "a folder leaves the preview";
        ui_.PickItem(panel->teFilesList, "broken.mskn");
        EXPECT_EQ(link->GetTheme(), shown) << "a file holding no theme leaves it too";

        ui_.PickItem(panel->teFilesList, "dara.mskn");
        ui_.Click(ui_.ModalForm(), "OpenButton");
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, tmp.File("dara.mskn"));
    EXPECT_EQ(CurrentTheme, nullptr) << "the dialog only chooses; the application's theme is left";
}

TEST_F(DialogsThemeTest, WithoutAnEngineTheSelectThemeDialogOffersOnlyNoTheme) {
    TTeSelectThemeDialog dialog(form_);
    ui_.WhenModal([&] {
        EXPECT_EQ(Entries(dialog.Panel()->ThemeBox()), std::vector<String>{"No theme"});
        ui_.Click(ui_.ModalForm(), "OK");
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(CurrentTheme, nullptr);
}

TEST_F(DialogsThemeTest, TheSelectThemeDialogPreviewsAndAppliesOnlyOnOk) {
    engine_->SetThemeBuilding("Flat");
    ASSERT_NE(CurrentTheme, nullptr);
    TTeSelectThemeDialog dialog(form_);
    dialog.Orvanta = engine_;
    ui_.WhenModal([&] {
        TTeSelectThemePanel* panel = dialog.Panel();
        EXPECT_EQ(Selected(panel->ThemeBox()), "Flat");
        EXPECT_EQ(panel->HueTrack()->Position(), 0);
        panel->HueTrack()->SetPosition(40);
        EXPECT_EQ(panel->PreviewLink()->DeltaHue(), 40);
        EXPECT_EQ(CurrentTheme->DeltaHue(), 0) << "the preview only";
        ui_.Click(ui_.ModalForm(), "Cancel");
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(engine_->DeltaHue(), 0);
    EXPECT_EQ(CurrentTheme->ThemeClass()->GetThemeName(), "Flat");

    ui_.WhenModal([&] {
        TTeSelectThemePanel* panel = dialog.Panel();
        panel->HueTrack()->SetPosition(30);
        ui_.PickItem(panel->ThemeBox(), "OfficeXP");
        EXPECT_EQ(panel->HueTrack()->Position(), 0) << "another entry starts unshifted";
        panel->HueTrack()->SetPosition(25);
        panel->BrightnessTrack()->SetPosition(-10);
        ui_.Click(ui_.ModalForm(), "OK");
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(engine_->ThemeBuilding(), "OfficeXP");
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->ThemeClass()->GetThemeName(), "OfficeXP");
    EXPECT_EQ(CurrentTheme->DeltaHue(), 25);
    EXPECT_EQ(CurrentTheme->DeltaBrightness(), -10);
}

}  // namespace
}  // namespace tarvel
