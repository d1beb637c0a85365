// Theme links: the main window's road from the built-in "Flat" theme to its
// skin file, and the link's answers to names, files and list entries.
#include <gtest/gtest.h>

#include "te_themeFixture.h"

namespace tarvel {
namespace {

using testing::TRecorded;
using testing::TRecordingControl;
using testing::TTestFlatTheme;
using testing::TTestSkinTheme;

class ThemeLinkTest : public testing::ThemeCoreTest {
protected:
    void SetUp() override {
        ThemeCoreTest::SetUp();
        AddThemeNotification(&control);
    }
    void TearDown() override {
        RemoveThemeNotification(&control);
        ThemeCoreTest::TearDown();
    }
    // How many times the control heard that `link` changed.
    int LinkChanges(TteCustomThemeLink* link) const {
        const auto p = reinterpret_cast<uintptr_t>(link);
        int n = 0;
        for (const TRecorded& r : control.Heard)
            if (r.Msg == SNM_LINKCHANGED && r.WParam == p && r.LParam == static_cast<intptr_t>(p)) ++n;
        return n;
    }
    TRecordingControl control{nullptr};
};

TEST_F(ThemeLinkTest, TheMainWindowStartsFlatAndThenTakesItsSkin) {
    TComponent form(nullptr);
    TTeThemeLink* link = nullptr;
    {
        // 1-3: the form data of the window.
        TLoadingScope loading(&form);
        link = new TTeThemeLink(&form);
        EXPECT_EQ(link->GetTheme(), nullptr);
        EXPECT_EQ(link->ThemeBuilding(), "No theme");
        EXPECT_EQ(link->ThemeIndex(), -1);
        link->SetDeltaHue(0);
        link->SetDeltaBrightness(0);
        EXPECT_EQ(LinkChanges(link), 2);  // each setter notifies, theme or not
        link->SetThemeBuilding("Flat");
        EXPECT_EQ(LinkChanges(link), 3);
        loading.Finish();
    }
    // 4: controls drawing through the link get the flat theme.
    TteTheme* flat = GetThemeLink(link);
    ASSERT_NE(dynamic_cast<TTestFlatTheme*>(flat), nullptr);
    EXPECT_EQ(link->ThemeBuilding(), "Flat");

    // 5: window creation sets the skin file; missing or damaged keeps Flat.
    const String skinPath = AppPath("res\\theme\\dara.mskn");
    control.Heard.clear();
    link->SetThemeFile(skinPath);
    EXPECT_EQ(link->GetTheme(), flat);
    EXPECT_EQ(link->ThemeFile(), skinPath);
    EXPECT_EQ(link->ThemeBuilding(), "Flat");
    EXPECT_TRUE(control.Heard.empty());

    ForceDirectories(PathOf("res/theme"));
    WriteBytes("res/theme/dara.mskn", {'T', 'S', 'K', 'N', 4, 0, 0, 0, 'D', 'a'});
    link->SetThemeFile(skinPath);
    EXPECT_EQ(link->GetTheme(), flat);
    EXPECT_TRUE(control.Heard.empty());
    EXPECT_EQ(TTestSkinTheme::Live, 0);

    WriteSkin("res/theme/dara.mskn", "Dara");
    link->SetThemeFile(skinPath);
    ASSERT_NE(dynamic_cast<TTestSkinTheme*>(link->GetTheme()), nullptr);
    EXPECT_EQ(link->GetTheme()->Name, "Dara");
    EXPECT_EQ(link->ThemeBuilding(), "No theme");
    EXPECT_EQ(link->ThemeIndex(), -1);
    EXPECT_EQ(control.Heard, (std::vector<TRecorded>{{SNM_LINKCHANGED, reinterpret_cast<uintptr_t>(link),
                                                      reinterpret_cast<intptr_t>(link)}}));
    // 6: nothing was ever made current.
    EXPECT_EQ(CurrentTheme, nullptr);
}

TEST_F(ThemeLinkTest, BuiltInNamesAreMatchedAndStoredAsTheClassNamesItself) {
    TTeThemeLink link(nullptr);
    link.SetThemeBuilding("flat");
    EXPECT_EQ(link.ThemeBuilding(), "Flat");
    TteTheme* flat = link.GetTheme();
    ASSERT_NE(flat, nullptr);
    link.SetThemeBuilding("No theme");
    EXPECT_EQ(link.GetTheme(), flat);
    EXPECT_EQ(link.ThemeBuilding(), "No theme");
    link.SetThemeBuilding("Chrome");
    EXPECT_EQ(link.GetTheme(), flat);
    EXPECT_EQ(link.ThemeBuilding(), "No theme");
    link.SetThemeBuilding("Test skin");  // a class of that name that is not built in
    EXPECT_EQ(link.GetTheme(), flat);
    EXPECT_EQ(link.ThemeBuilding(), "No theme");
}

TEST_F(ThemeLinkTest, ShiftsApplyToEveryThemeTakenAndAlwaysNotify) {
    TTeThemeLink link(nullptr);
    link.SetDeltaHue(25);
    link.SetThemeBuilding("Flat");
    EXPECT_EQ(link.GetTheme()->DeltaHue(), 25);
    const int before = LinkChanges(&link);
    link.SetDeltaHue(0);
    EXPECT_EQ(LinkChanges(&link), before + 1);
    EXPECT_EQ(link.GetTheme()->DeltaHue(), 0);
    link.SetDeltaHue(0);  // unchanged, still told
    EXPECT_EQ(LinkChanges(&link), before + 2);
    link.SetDeltaBrightness(-10);
    EXPECT_EQ(link.GetTheme()->DeltaBrightness(), -10);
}

TEST_F(ThemeLinkTest, ListEntriesAreClampedAndANegativeIndexReleases) {
    TTeThemeList list(nullptr);
    for (const char* name : {"One", "Two", "Three"}) {
        TTestSkinTheme skin;
        skin.Name = name;
        list.Themes()->Add()->SetTheme(&skin);
    }
    TTeThemeLink link(nullptr);
    link.SetThemeList(&list);
    link.SetThemeIndex(10);
    EXPECT_EQ(link.ThemeIndex(), 2);
    ASSERT_NE(link.GetTheme(), nullptr);
    EXPECT_EQ(link.GetTheme()->Name, "Three");
    EXPECT_EQ(link.ThemeBuilding(), "No theme");
    const int before = LinkChanges(&link);
    link.SetThemeIndex(-1);
    EXPECT_EQ(link.GetTheme(), nullptr);
    EXPECT_EQ(LinkChanges(&link), before + 1);
    link.ReleaseTheme();  // nothing to release: nothing sent
    EXPECT_EQ(LinkChanges(&link), before + 1);

    link.SetThemeIndex(0);
    link.SetThemeList(nullptr);
    EXPECT_EQ(link.ThemeIndex(), -1);
    EXPECT_NE(link.GetTheme(), nullptr);  // the theme is not touched
}

TEST_F(ThemeLinkTest, AStoredListEntryIsTakenWhenLoadingEnds) {
    TComponent form(nullptr);
    auto* list = new TTeThemeList(&form);
    TTestSkinTheme skin;
    skin.Name = "Stored";
    list->Themes()->Add()->SetTheme(&skin);
    TTeThemeLink* link = nullptr;
    {
        TLoadingScope loading(&form);
        link = new TTeThemeLink(&form);
        link->SetThemeIndex(0);  // the list reference is fixed up later
        EXPECT_EQ(link->ThemeIndex(), 0);
        link->SetThemeList(list);
        EXPECT_EQ(link->GetTheme(), nullptr);
        loading.Finish();
    }
    ASSERT_NE(link->GetTheme(), nullptr);
    EXPECT_EQ(link->GetTheme()->Name, "Stored");
}

TEST_F(ThemeLinkTest, FreeingTheListForgetsItAndFreeingTheLinkTellsNobody) {
    auto* list = new TTeThemeList(nullptr);
    TTestSkinTheme skin;
    list->Themes()->Add()->SetTheme(&skin);
    auto* link = new TTeThemeLink(nullptr);
    link->SetThemeList(list);
    link->SetThemeIndex(0);
    delete list;
    EXPECT_EQ(link->ThemeList(), nullptr);
    EXPECT_EQ(link->ThemeIndex(), -1);
    EXPECT_NE(link->GetTheme(), nullptr);
    control.Heard.clear();
    delete link;
    EXPECT_TRUE(control.Heard.empty());
    EXPECT_EQ(TTestSkinTheme::Live, 1);  // only the local skin
}

}  // namespace
}  // namespace tarvel
