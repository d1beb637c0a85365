// The theme manager: registry, notification sequences, the broadcast rules,
// and recognising theme files and streams.
#include <gtest/gtest.h>

#include "platform/winsys/Winsys.h"
#include "te_themeFixture.h"

namespace tarvel {
namespace {

using testing::FlatClass;
using testing::SkinClass;
using testing::TRecorded;
using testing::TRecordingControl;
using testing::TTestFlatTheme;
using testing::TTestSkinTheme;
using testing::TThemeRecorder;

class ThemeManagerTest : public testing::ThemeCoreTest {};

using Codes = std::vector<uintptr_t>;

TEST_F(ThemeManagerTest, ChangeAndReleaseAreBracketedByBeforeAndAfter) {
    TThemeRecorder r;
    AddThemeNotification(&r);
    EXPECT_TRUE(r.Heard.empty());  // no theme yet: nothing for a newcomer
    ChangeTheme(new TteTheme);
    EXPECT_EQ(r.Codes(), (Codes{tmBeforeChange, tmApply, tmAfterChange}));
    r.Heard.clear();
    ChangeTheme(new TteTheme);
    EXPECT_EQ(r.Codes(), (Codes{tmBeforeChange, tmChanged, tmAfterChange}));
    r.Heard.clear();
    ReleaseTheme();
    EXPECT_EQ(r.Codes(), (Codes{tmBeforeChange, tmReleased, tmAfterChange}));
    EXPECT_EQ(CurrentTheme, nullptr);
    for (const TRecorded& h : r.Heard) EXPECT_EQ(h.LParam, 0);
    RemoveThemeNotification(&r);
}

TEST_F(ThemeManagerTest, ANewcomerHearsApplyAloneWhileAThemeIsCurrent) {
    ChangeTheme(new TteTheme);
    TThemeRecorder late;
    AddThemeNotification(&late);
    EXPECT_EQ(late.Codes(), (Codes{tmApply}));
    AddThemeNotification(&late);  // a second subscription is no subscription
    ResetTheme();
    EXPECT_EQ(late.Codes(), (Codes{tmApply, tmSystemChanged}));
    EXPECT_EQ(late.Heard.back().LParam, 1);
    RemoveThemeNotification(&late);
}

TEST_F(ThemeManagerTest, ChangingByNameOrClassMakesANewInstance) {
    TThemeRecorder r;
    AddThemeNotification(&r);
    ChangeTheme("FLAT");
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_NE(dynamic_cast<TTestFlatTheme*>(CurrentTheme), nullptr);
    ChangeTheme("no such theme");  // replaces the current theme by none
    EXPECT_EQ(CurrentTheme, nullptr);
    EXPECT_EQ(r.Codes(), (Codes{1, tmApply, 2, 1, tmChanged, 2}));
    ChangeTheme(SkinClass());
    EXPECT_NE(dynamic_cast<TTestSkinTheme*>(CurrentTheme), nullptr);
    RemoveThemeNotification(&r);
}

// Installing the theme that is already current must not free it.
TEST_F(ThemeManagerTest, ChangingToTheCurrentThemeFreesNothing) {
    auto* skin = new TTestSkinTheme;
    ChangeTheme(skin);
    TThemeRecorder r;
    AddThemeNotification(&r);
    r.Heard.clear();
    ChangeTheme(skin);
    EXPECT_EQ(CurrentTheme, skin);
    EXPECT_EQ(TTestSkinTheme::Live, 1);
    EXPECT_EQ(skin->Name, "Default theme");  // still a live object
    EXPECT_EQ(r.Codes(), (Codes{tmBeforeChange, tmChanged, tmAfterChange}));
    RemoveThemeNotification(&r);
}

TEST_F(ThemeManagerTest, SystemChangesSkipInvisibleControlsOnly) {
    TRecordingControl shown(nullptr), hidden(nullptr);
    hidden.SetVisible(false);
    TThemeRecorder plain;
    AddThemeNotification(&shown);
    AddThemeNotification(&hidden);
    AddThemeNotification(&plain);
    RepaintThemedControls();
    EXPECT_EQ(shown.Heard, (std::vector<TRecorded>{{SNM_THEMEMESSAGE, tmSystemChanged, 0}}));
    EXPECT_TRUE(hidden.Heard.empty());
    EXPECT_EQ(plain.Codes(), (Codes{tmSystemChanged}));
    UpdateThemedControls();  // other codes reach the hidden control too
    EXPECT_EQ(hidden.Heard.size(), 1u);
    for (TObject* o :
         {static_cast<TObject*>(&shown), static_cast<TObject*>(&hidden), static_cast<TObject*>(&plain)})
        RemoveThemeNotification(o);
}

TEST_F(ThemeManagerTest, TheHiddenWindowTurnsSystemChangesIntoOneBroadcast) {
    ASSERT_NE(ThemeManager->Handle(), nullptr);
    TThemeRecorder r;
    AddThemeNotification(&r);
    for (UINT msg : {WM_SYSCOLORCHANGE, WM_DISPLAYCHANGE, WM_THEMECHANGED}) {
        r.Heard.clear();
        SendMessage(ThemeManager->Handle(), msg, 0, 0);
        EXPECT_EQ(r.Heard, (std::vector<TRecorded>{{SNM_THEMEMESSAGE, tmSystemChanged, 0}})) << msg;
    }
    r.Heard.clear();
    SendMessage(ThemeManager->Handle(), WM_TIMER, 0, 0);
    EXPECT_TRUE(r.Heard.empty());
    RemoveThemeNotification(&r);
}

// Subscribers that join or leave while a broadcast runs: those present at
// its start and still present are reached once; one that left is not.
TEST_F(ThemeManagerTest, BroadcastGoesOverASnapshot) {
    TThemeRecorder first, second, third, newcomer;
    AddThemeNotification(&first);
    AddThemeNotification(&second);
    AddThemeNotification(&third);
    first.OnHeard = [&](const TMessage&) {
        RemoveThemeNotification(&first);
        RemoveThemeNotification(&second);
        AddThemeNotification(&newcomer);
    };
    RepaintThemedControls();
    EXPECT_EQ(first.Heard.size(), 1u);
    EXPECT_TRUE(second.Heard.empty());
    EXPECT_EQ(third.Heard.size(), 1u);
    EXPECT_TRUE(newcomer.Heard.empty());
    RepaintThemedControls();
    EXPECT_EQ(third.Heard.size(), 2u);
    EXPECT_EQ(newcomer.Heard.size(), 1u);
    EXPECT_EQ(first.Heard.size(), 1u);
    RemoveThemeNotification(&third);
    RemoveThemeNotification(&newcomer);
}

TEST_F(ThemeManagerTest, ASubscriberFreedByAnotherDuringABroadcastIsNotReached) {
    auto* victim = new TThemeRecorder;
    TThemeRecorder killer;
    AddThemeNotification(&killer);
    AddThemeNotification(victim);
    killer.OnHeard = [&](const TMessage&) {
        RemoveThemeNotification(victim);
        delete victim;
    };
    RepaintThemedControls();  // under the sanitizers a delivery to the freed object would show
    EXPECT_EQ(killer.Heard.size(), 1u);
    RemoveThemeNotification(&killer);
}

TEST_F(ThemeManagerTest, RegistryKeepsOrderAndDuplicates) {
    EXPECT_EQ(ThemeManager->GetThemeCount(), 3);
    EXPECT_EQ(ThemeManager->GetTheme(0), ThemeClassOf<TteTheme>());
    EXPECT_EQ(ThemeManager->GetTheme(3), nullptr);
    EXPECT_EQ(ThemeManager->GetTheme(-1), nullptr);
    RegisterTheme(FlatClass());
    EXPECT_EQ(ThemeManager->GetThemeCount(), 4);
    UnregisterTheme(FlatClass());
    EXPECT_EQ(ThemeManager->GetThemeCount(), 3);
    EXPECT_EQ(GetThemeClass("TTestFlatTheme"), FlatClass());
    EXPECT_EQ(GetThemeClass("ttestflattheme"), nullptr);  // class names compare exactly
    EXPECT_TRUE(IsThemeAvailable("flat"));
    EXPECT_FALSE(IsThemeAvailable("nothing"));
    EXPECT_TRUE(ThemeManager->IsThemeAvailable(SkinClass()));
    UnregisterTheme(SkinClass());
    UnregisterTheme(SkinClass());  // absent: nothing
    EXPECT_FALSE(ThemeManager->IsThemeAvailable(SkinClass()));
    ChangeTheme(new TTestSkinTheme);
    EXPECT_TRUE(ThemeManager->IsThemeAvailable(SkinClass()));  // as the current theme's class
    EXPECT_TRUE(IsThemeAvailable("test skin"));
    EXPECT_TRUE(IsThemeAvailable(CurrentTheme));
    TteTheme other;
    EXPECT_FALSE(IsThemeAvailable(&other));
    EXPECT_FALSE(IsThemeAvailable(static_cast<const TteTheme*>(nullptr)));
}

TEST_F(ThemeManagerTest, FilesAreMatchedByExtensionIgnoringCase) {
    const struct {
        const char* name;
        TteThemeClass cls;
    } cases[] = {
        {"a/b/dara.MSKN", SkinClass()}, {"dara.mskn", SkinClass()},
        {"dara.msk", SkinClass()},                                 // a substring of the filter
        {"dara.txt", nullptr},          {"noextension", nullptr},  // an empty extension matches nothing
        {"res.d/noextension", nullptr}, {"", nullptr},
    };
    for (const auto& c : cases) EXPECT_EQ(GetThemeByFileName(c.name), c.cls) << c.name;
}

TEST_F(ThemeManagerTest, DialogFilterListsEveryPatternFirst) {
    EXPECT_EQ(GetDialogFilter(), "All (*.mskn)|*.mskn|Test skin (*.mskn)|*.mskn|");
    UnregisterTheme(SkinClass());
    EXPECT_EQ(GetDialogFilter(), "");
}

TEST_F(ThemeManagerTest, LoadingFindsFilesBesideTheExecutable) {
    WriteSkin("dara.mskn", "Beside");
    std::unique_ptr<TteTheme> theme(LoadThemeFromFile("dara.mskn"));  // relative, not in the current folder
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(theme->Name, "Beside");
    EXPECT_EQ(theme->Colors()->GetColor(ktcWindow), clNavy);

    ForceDirectories(PathOf("res/theme"));
    WriteSkin("res/theme/dara.mskn", "In res");
    theme.reset(LoadThemeFromFile("res\\theme\\dara.mskn"));
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(theme->Name, "In res");

    EXPECT_EQ(LoadThemeFromFile(""), nullptr);
    EXPECT_EQ(LoadThemeFromFile("missing.mskn"), nullptr);
    EXPECT_EQ(LoadThemeFromFile("/no/such/folder/dara.mskn"), nullptr);  // absolute: not tried elsewhere
}

TEST_F(ThemeManagerTest, ANameOfNoClassIsReadByProbingItsContents) {
    WriteSkin("skin.dat", "Probed");
    std::unique_ptr<TteTheme> theme(LoadThemeFromFile(PathOf("skin.dat")));
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(theme->Name, "Probed");
    WriteBytes("other.dat", {'n', 'o', 'p', 'e'});
    EXPECT_EQ(LoadThemeFromFile(PathOf("other.dat")), nullptr);
}

// Damaged files of every kind answer null; the half-built theme is freed
// (the fixture checks that no skin theme is left alive).
TEST_F(ThemeManagerTest, DamagedFilesAnswerNullWithoutLeaks) {
    const String good = WriteSkin("good.mskn");
    const std::vector<uint8_t> bytes = ReadFileBytes(good);
    std::vector<std::pair<String, std::vector<uint8_t>>> files = {
        {"empty.mskn", {}},
        {"signature-only.mskn", {'T', 'S', 'K', 'N'}},
        {"truncated.mskn", std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2)},
        {"wrong.mskn", {'X', 'S', 'K', 'N', 0, 0, 0, 0}},
        {"huge-name.mskn", {'T', 'S', 'K', 'N', 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    std::vector<uint8_t> badColour(bytes);
    // The caption colour "clBlue" spoilt into a text that is no colour.
    const std::string needle = "clBlue";
    auto at = std::search(badColour.begin(), badColour.end(), needle.begin(), needle.end());
    ASSERT_NE(at, badColour.end());
    *at = '#';
    files.push_back({"bad-colour.mskn", badColour});
    files.push_back({"bad-colour.dat", badColour});  // through the stream probe
    for (const auto& [name, content] : files) {
        WriteBytes(name, content);
        EXPECT_EQ(LoadThemeFromFile(PathOf(name)), nullptr) << name;
        EXPECT_EQ(TTestSkinTheme::Live, 0) << name;
    }
    std::filesystem::create_directories(PathOf("folder.mskn"));
    EXPECT_EQ(LoadThemeFromFile(PathOf("folder.mskn")), nullptr);
}

TEST_F(ThemeManagerTest, StreamsAreProbedAndLeftWhereTheThemeEnds) {
    TTestSkinTheme skin;
    skin.Name = "Streamed";
    TMemoryStream s;
    WriteString(s, "prefix");
    const int64_t start = s.Position();
    SaveThemeToStream(&skin, s);
    const int64_t end = s.Position();
    s.SetPosition(start);
    std::unique_ptr<TteTheme> theme(LoadThemeFromStream(s));
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(theme->Name, "Streamed");
    EXPECT_EQ(s.Position(), end);

    TMemoryStream junk;
    WriteString(junk, "junk");
    junk.SetPosition(0);
    EXPECT_EQ(LoadThemeFromStream(junk), nullptr);
    EXPECT_EQ(junk.Position(), 0);
}

TEST_F(ThemeManagerTest, OnlyClassesThatCanSaveAreWritten) {
    TteTheme base;
    TMemoryStream s;
    SaveThemeToStream(&base, s);
    SaveThemeToStream(nullptr, s);
    EXPECT_EQ(s.Size(), 0);
    TTestSkinTheme skin;
    SaveThemeToFile(&skin, PathOf("saved.mskn"));
    EXPECT_TRUE(FileExists(PathOf("saved.mskn")));
}

TEST_F(ThemeManagerTest, ResetThemeColorsClearsTheShifts) {
    ChangeTheme(new TteTheme);
    ChangeThemeHue(0);  // nothing for 0
    EXPECT_EQ(CurrentTheme->DeltaHue(), 0);
    TThemeRecorder r;
    AddThemeNotification(&r);
    r.Heard.clear();
    ChangeThemeHueAndBrightness(10, 20);
    EXPECT_EQ(CurrentTheme->DeltaBrightness(), 20);
    ResetThemeColors();
    EXPECT_EQ(CurrentTheme->DeltaHue(), 0);
    EXPECT_EQ(CurrentTheme->DeltaBrightness(), 0);
    EXPECT_EQ(r.Heard, (std::vector<TRecorded>{{SNM_THEMEMESSAGE, tmSystemChanged, 1},
                                               {SNM_THEMEMESSAGE, tmSystemChanged, 1}}));
    RemoveThemeNotification(&r);
}

}  // namespace
}  // namespace tarvel
