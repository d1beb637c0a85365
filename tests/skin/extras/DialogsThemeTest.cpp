// Choosing themes: the switcher's entries over the built-in themes, a theme
// list and the tool's skin file, its choices made current at once, its
// selection following the current theme; and the select-theme dialog, which
// previews through its own link and applies only on OK.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_manager.h"
#include "skin/extras/te_dialogs_theme.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
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

    TUiDriver ui_;
    TForm* form_ = nullptr;
    TTeOrvanta* engine_ = nullptr;
    TTeThemeList* list_ = nullptr;
    int changes_ = 0;
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
    ui_.ChooseNextFile(bad.string());
    ui_.PickItem(s, "Browse...");
    ui_.ChooseNextFile(std::nullopt);
    ui_.AdvanceClock(1000);
    ui_.PickItem(s, "Browse...");
    std::filesystem::remove(bad);
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->ThemeClass()->GetThemeName(), "Flat") << "nothing changed";
    EXPECT_EQ(changes_, 0);
    EXPECT_EQ(Selected(s), "Browse...") << "the browse entry stays selected";
    EXPECT_EQ(s->GetThemeFileName(), "");

    const String dara = testing::DaraSkinPath().string();
    ui_.ChooseNextFile(dara);
    ui_.AdvanceClock(1000);
    ui_.PickItem(s, "Browse...");
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->FileName, dara);
    EXPECT_TRUE(CurrentTheme->ThemeClass()->GetThemeConfig().FileBased);
    EXPECT_EQ(s->GetThemeFileName(), dara);
    EXPECT_EQ(changes_, 1);
    ASSERT_EQ(ui_.Dialogs().Files().size(), 3u);
    EXPECT_EQ(ui_.Dialogs().Files()[0].request.initialDir, s->InitialDir);
    EXPECT_EQ(ui_.Dialogs().Files()[0].request.filter, GetDialogFilter());
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
