#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/base/Paths.h"
#include "platform/classlib/Registry.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_theme_api.h"
#include "skin/extras/te_extended_theme.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

constexpr const char* kKey = "Software\\Tarvel\\Look";

class ExtendedThemeRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvel-themereg-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        SetRegistryFilePath(dir_ + "/registry.txt");
        InitThemeCore();
        InitThemeFlat();
    }
    void TearDown() override {
        DoneThemeCore();
        SetRegistryFilePath("");
        std::filesystem::remove_all(dir_);
    }
    // The test's key, made when missing.
    struct Look : TRegistry {
        Look() { EXPECT_TRUE(OpenKey(kKey, true)); }
    };

    TUiDriver ui_;
    std::string dir_;
};

TEST_F(ExtendedThemeRegistryTest, InquiriesFollowTheCurrentTheme) {
    EXPECT_EQ(CurrentThemeName(), "No theme");
    EXPECT_FALSE(CurrentThemeIsBuiltIn());
    EXPECT_FALSE(CurrentThemeIsSkin());
    EXPECT_EQ(CurrentSkinSource(), nullptr);
    EXPECT_FALSE(ThemeLinkConfigured(nullptr));
    EXPECT_FALSE(LinkOrCurrentIsSkin(nullptr));

    ChangeTheme(std::string_view("Flat"));
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_TRUE(CurrentThemeIsBuiltIn());
    EXPECT_EQ(CurrentThemeName(), "Flat");  // the class's name, not the instance's
    EXPECT_FALSE(UsesSystemVisualStyles());
    EXPECT_FALSE(LinkOrCurrentIsSkin(nullptr));
}

TEST_F(ExtendedThemeRegistryTest, BuiltInNamesAreCaseSensitiveAndTheListsLastEqualEntryWins) {
    TTeOrvanta engine(nullptr);
    TTeThemeList list(nullptr);
    engine.SetThemeList(&list);
    for (const char* n : {"Blue", "Green", "Blue"}) {
        TteTheme theme;
        theme.Name = n;
        list.Themes()->Add()->SetTheme(&theme);
    }
    struct Case {
        const char* name;
        bool found;
        int index;
        bool byClass;
    };
    for (const Case& c :
         {Case{"Flat", true, -1, true}, Case{"flat", false, -1, false}, Case{"Blue", true, 2, false},
          Case{"Green", true, 1, false}, Case{"Red", false, -1, false}}) {
        SCOPED_TRACE(c.name);
        int index = 7;
        TteThemeClass cls = nullptr;
        EXPECT_EQ(ExtraIsThemeAvailable(c.name, index, cls, &engine), c.found);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(cls != nullptr, c.byClass);
    }
    engine.SetThemeList(nullptr);
}

TEST_F(ExtendedThemeRegistryTest, SavingWithoutThemeOrEngineWritesOnlyTheThemeValue) {
    SaveThemeToRegistry(nullptr, kKey, "Theme");
    Look reg;
    EXPECT_EQ(reg.ReadString("Theme"), "No theme");
    EXPECT_FALSE(reg.ValueExists("ThemeHue"));
    EXPECT_FALSE(reg.ValueExists("ThemeBrightness"));
}

TEST_F(ExtendedThemeRegistryTest, ABuiltInThemeWithItsShiftsComesBackUnderTheSameKey) {
    ChangeTheme(std::string_view("Flat"));
    ChangeThemeHueAndBrightness(30, -10);
    SaveThemeToRegistry(nullptr, "\\Software\\Tarvel\\Look", "Theme");
    ReleaseTheme();
    ASSERT_EQ(CurrentTheme, nullptr);

    LoadThemeFromRegistry(nullptr, kKey, "Theme", "No theme", 0);
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentThemeName(), "Flat");
    EXPECT_EQ(CurrentTheme->DeltaHue(), 30);
    EXPECT_EQ(CurrentTheme->DeltaBrightness(), -10);
}

TEST_F(ExtendedThemeRegistryTest, StoredValuesThatCannotBeUsedFallBackToTheDefault) {
    struct Case {
        const char* what;
        std::function<void(TRegistry&)> store;
        const char* expected;  // the current theme's name afterwards
    };
    const uint8_t blob[] = {'F', 'l', 'a', 't'};
    const Case cases[] = {
        {"missing value", [](TRegistry&) {}, "Flat"},
        {"binary value", [&](TRegistry& r) { r.WriteBinaryData("Theme", blob, sizeof blob); }, "Flat"},
        {"integer value", [](TRegistry& r) { r.WriteInteger("Theme", 4); }, "Flat"},
        {"vanished file", [](TRegistry& r) { r.WriteString("Theme", "/nonexistent/gone.mskn"); }, "Flat"},
        {"no theme", [](TRegistry& r) { r.WriteString("Theme", "No theme"); }, "No theme"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReleaseTheme();
        {
            Look reg;
            reg.DeleteValue("Theme");
            c.store(reg);
        }
        LoadThemeFromRegistry(nullptr, kKey, "Theme", "Flat", 0);
        EXPECT_EQ(CurrentThemeName(), c.expected);
    }
}

TEST_F(ExtendedThemeRegistryTest, NoThemeReleasesTheCurrentThemeAlsoWithAnEngine) {
    ChangeTheme(std::string_view("Flat"));
    Look().WriteString("Theme", "No theme");
    TTeOrvanta engine(nullptr);
    LoadThemeFromRegistry(&engine, kKey, "Theme", "Flat", 0);
    EXPECT_EQ(CurrentTheme, nullptr);
}

TEST_F(ExtendedThemeRegistryTest, OnlyTheNonZeroShiftIsApplied) {
    ChangeTheme(std::string_view("Flat"));
    {
        Look reg;
        reg.WriteString("Theme", "Flat");
        reg.WriteInteger("ThemeHue", 0);
        reg.WriteInteger("ThemeBrightness", 20);
    }
    LoadThemeFromRegistry(nullptr, kKey, "Theme", "Flat", 0);
    ASSERT_NE(CurrentTheme, nullptr);
    EXPECT_EQ(CurrentTheme->DeltaHue(), 0);
    EXPECT_EQ(CurrentTheme->DeltaBrightness(), 20);

    TTeOrvanta engine(nullptr);
    LoadThemeFromRegistry(&engine, kKey, "Theme", "Flat", 0);
    EXPECT_EQ(engine.DeltaHue(), 0);
    EXPECT_EQ(engine.DeltaBrightness(), 20);
}

TEST_F(ExtendedThemeRegistryTest, AKeyThatCannotBeWrittenRaises) {
    // A file where the registry's folder should be makes every write fail.
    const std::string blocker = dir_ + "/blocker";
    {
        std::FILE* f = std::fopen(blocker.c_str(), "w");
        std::fclose(f);
    }
    SetRegistryFilePath(blocker + "/registry.txt");
    try {
        SaveThemeToRegistry(nullptr, "\\Software\\Look", "Theme");
        FAIL() << "no error";
    } catch (const ETERegistryError& e) {
        EXPECT_EQ(e.Message(), "Unable to open key \"\\Software\\Look\" for write");
    }
}

}  // namespace
}  // namespace tarvel
