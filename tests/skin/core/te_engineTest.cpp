// The theme engine component and the theme items of theme lists.
#include <gtest/gtest.h>

#include <cstring>

#include "te_themeFixture.h"

namespace tarvel {
namespace {

using testing::TTestFlatTheme;
using testing::TTestSkinTheme;

class ThemeEngineTest : public testing::ThemeCoreTest {};

TEST_F(ThemeEngineTest, StateFollowsWhereTheCurrentThemeCameFrom) {
    TTeOrvanta engine(nullptr);
    EXPECT_EQ(engine.GetState(), "0");
    EXPECT_EQ(engine.GetVersion(), "7.02");
    EXPECT_EQ(engine.ThemeIndex(), -1);
    engine.SetThemeBuilding("flat");
    EXPECT_EQ(engine.ThemeBuilding(), "Flat");
    EXPECT_EQ(engine.GetState(), "3,Flat,0,0");
    EXPECT_NE(dynamic_cast<TTestFlatTheme*>(CurrentTheme), nullptr);
    ReleaseTheme();  // from elsewhere: the notification resets the engine
    EXPECT_EQ(engine.GetState(), "0");

    const String file = WriteSkin("dara.mskn");
    engine.SetThemeFile(file);
    EXPECT_EQ(engine.GetState(), "1," + file + ",0,0");
    EXPECT_NE(dynamic_cast<TTestSkinTheme*>(CurrentTheme), nullptr);
    engine.SetThemeFile(PathOf("missing.mskn"));  // no list entry chosen: released
    EXPECT_EQ(CurrentTheme, nullptr);

    engine.SetThemeBuilding("unknown");
    EXPECT_EQ(engine.ThemeBuilding(), "No theme");
}

TEST_F(ThemeEngineTest, EveryChangeOfTheCurrentThemeFiresTheEvent) {
    TTeOrvanta engine(nullptr);
    int fired = 0;
    engine.OnThemeChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, &engine);
        ++fired;
    };
    ChangeTheme("Flat");
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(engine.ThemeBuilding(), "Flat");
    auto* loaded = new TTestSkinTheme;
    loaded->FileName = "from/dialog.mskn";
    ChangeTheme(loaded);
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(engine.ThemeFile(), "from/dialog.mskn");  // taken from the theme
    EXPECT_EQ(engine.ThemeBuilding(), "No theme");
    ReleaseTheme();
    EXPECT_EQ(fired, 3);
    RepaintThemedControls();
    EXPECT_EQ(fired, 3);
}

TEST_F(ThemeEngineTest, ShiftsAreAppliedAndResetThroughTheCurrentTheme) {
    TTeOrvanta engine(nullptr);
    engine.SetThemeBuilding("Flat");
    engine.SetDeltaHue(30);
    EXPECT_EQ(CurrentTheme->DeltaHue(), 30);
    engine.SetDeltaHue(0);  // stored, but a hue of 0 does not shift back
    EXPECT_EQ(engine.DeltaHue(), 0);
    EXPECT_EQ(CurrentTheme->DeltaHue(), 30);
    engine.ResetThemeHue();
    EXPECT_EQ(CurrentTheme->DeltaHue(), 0);
    engine.SetDeltaBrightness(15);
    engine.SetDeltaHue(5);  // with a brightness: both at once
    EXPECT_EQ(CurrentTheme->DeltaHue(), 5);
    EXPECT_EQ(CurrentTheme->DeltaBrightness(), 15);
    EXPECT_EQ(engine.GetState(), "3,Flat,5,15");
    engine.ResetThemeColors();
    EXPECT_EQ(engine.GetState(), "3,Flat,0,0");
    EXPECT_EQ(CurrentTheme->DeltaBrightness(), 0);
    // A new theme gets the engine's shifts.
    engine.SetDeltaBrightness(-20);
    engine.SetThemeBuilding("Flat");
    EXPECT_EQ(CurrentTheme->DeltaBrightness(), -20);
}

TEST_F(ThemeEngineTest, ListEntriesChooseTheThemeAndRemovingTheListReleasesIt) {
    auto* list = new TTeThemeList(nullptr);
    for (const char* name : {"One", "Two", "Three"}) {
        TTestSkinTheme skin;
        skin.Name = name;
        list->Themes()->Add()->SetTheme(&skin);
    }
    TTeOrvanta engine(nullptr);
    engine.SetThemeList(list);
    engine.SetThemeIndex(10);
    EXPECT_EQ(engine.ThemeIndex(), 2);
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->Name, "Three");
    EXPECT_EQ(engine.GetState(), "2,2,0,0");
    delete list;
    EXPECT_EQ(CurrentTheme, nullptr);
    EXPECT_EQ(engine.ThemeList(), nullptr);
    EXPECT_EQ(engine.ThemeIndex(), -1);
}

// ---- theme items ------------------------------------------------------------------

class ThemeItemTest : public testing::ThemeCoreTest {
protected:
    ThemeItemTest() : list(nullptr) {}
    TTeThemeStream* Item() { return list.Themes()->Add(); }
    TTeThemeList list;
};

TEST_F(ThemeItemTest, AnEmptyItemWritesTheSingleByteZero) {
    TTeThemeStream* item = Item();
    EXPECT_EQ(item->GetThemeStore(), "(empty)");
    EXPECT_EQ(item->DisplayName(), "(empty)");
    EXPECT_EQ(item->GetTheme(), nullptr);
    TMemoryStream s;
    item->WriteData(s);
    ASSERT_EQ(s.Size(), 1);
    EXPECT_EQ(s.Memory()[0], 0);
    TteTheme base;  // a class that cannot save leaves the item empty
    item->SetTheme(&base);
    EXPECT_EQ(item->Data().Size(), 0);
}

TEST_F(ThemeItemTest, ItemsRoundTripAndMakeANewThemeEachTime) {
    TTeThemeStream* item = Item();
    int changed = 0;
    item->OnChange = [&](TObject*) { ++changed; };
    TTestSkinTheme skin;
    skin.Name = "Kept";
    skin.Colors()->SetColor(ktcList, clAqua);
    item->SetTheme(&skin);
    EXPECT_EQ(changed, 1);
    TMemoryStream s;
    item->WriteData(s);
    EXPECT_EQ(s.Memory()[0], 3);
    s.SetPosition(0);
    TTeThemeStream* copy = Item();
    copy->ReadData(s);
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_EQ(copy->GetThemeStore(), "Kept");
    std::unique_ptr<TteTheme> a(copy->GetTheme()), b(copy->GetTheme());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(a->Colors()->GetColor(ktcList), clAqua);
}

TEST_F(ThemeItemTest, SixtyFourBitSizesAndOldKindItemsAreRead) {
    TTestSkinTheme skin;
    skin.Name = "Old";
    TMemoryStream theme;
    skin.SaveToStream(theme);

    TMemoryStream tag2;
    const uint8_t two = 2;
    tag2.WriteBuffer(&two, 1);
    WriteString(tag2, "Wide");
    const uint64_t size = static_cast<uint64_t>(theme.Size()) | (uint64_t{7} << 32);  // high half unused
    tag2.WriteBuffer(&size, 8);
    tag2.WriteBuffer(theme.Memory(), theme.Size());
    tag2.SetPosition(0);
    TTeThemeStream* wide = Item();
    wide->ReadData(tag2);
    EXPECT_EQ(wide->GetThemeStore(), "Wide");
    EXPECT_EQ(wide->Data().Size(), theme.Size());

    TMemoryStream tag1;
    const uint8_t one = 1;
    tag1.WriteBuffer(&one, 1);
    tag1.WriteBuffer(theme.Memory(), theme.Size());
    tag1.SetPosition(0);
    TTeThemeStream* old = Item();
    old->ReadData(tag1);
    EXPECT_EQ(old->GetThemeStore(), "Old");
    EXPECT_NE(old->TemporaryTheme(), nullptr);
    EXPECT_GT(old->Data().Size(), 0);
    TLoadingScope scope(&list);
    scope.Finish();  // the list's Loaded frees the kept theme
    EXPECT_EQ(old->TemporaryTheme(), nullptr);
}

TEST_F(ThemeItemTest, UnreadableItemsBecomeEmptyAndRaise) {
    TTeThemeStream* item = Item();
    TTestSkinTheme skin;
    item->SetTheme(&skin);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"size beyond the data", {3, 1, 0, 0, 0, 'x', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2}},
        {"64-bit size beyond", {2, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}},
        {"name beyond", {3, 0xFF, 0xFF, 0xFF, 0x7F}},
        {"old kind of no class", {1, 'n', 'o', 'p', 'e'}},
        {"cut short", {3, 4, 0, 0}},
    };
    for (const auto& c : cases) {
        item->SetTheme(&skin);
        TMemoryStream s;
        s.WriteBuffer(c.bytes.data(), static_cast<int64_t>(c.bytes.size()));
        s.SetPosition(0);
        EXPECT_THROW(item->ReadData(s), EReadError) << c.what;
        EXPECT_EQ(item->Data().Size(), 0) << c.what;
        EXPECT_EQ(item->GetThemeStore(), "(empty)") << c.what;
        EXPECT_EQ(item->TemporaryTheme(), nullptr) << c.what;
    }
    TMemoryStream unknownTag;
    const uint8_t nine = 9;
    unknownTag.WriteBuffer(&nine, 1);
    unknownTag.SetPosition(0);
    EXPECT_NO_THROW(item->ReadData(unknownTag));
}

TEST_F(ThemeItemTest, AssignCopiesDataNameAndTag) {
    TTeThemeStream* a = Item();
    TTestSkinTheme skin;
    skin.Name = "Source";
    a->SetTheme(&skin);
    a->Tag = 4;
    TTeThemeStream* b = Item();
    b->Assign(a);
    EXPECT_EQ(b->GetThemeStore(), "Source");
    EXPECT_EQ(b->Tag, 4);
    EXPECT_EQ(b->Data().Size(), a->Data().Size());
    EXPECT_EQ(std::memcmp(b->Data().Memory(), a->Data().Memory(), a->Data().Size()), 0);
    EXPECT_NE(GetClass("TTeThemeStream"), nullptr);  // form data can name the item class
}

}  // namespace
}  // namespace tarvel
