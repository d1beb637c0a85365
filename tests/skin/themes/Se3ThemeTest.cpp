// The skin-file theme: the theme link's road from "Flat" to a skin file,
// loading that is all or nothing, the object table and its lookups.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "Se3FileFixture.h"
#include "Se3SkinFixture.h"
#include "ThemeFixture.h"
#include "skin/core/te_engine.h"
#include "tests/skin/core/te_themeFixture.h"

namespace tarvel::testing {
namespace {

// A folder of its own for each test run.
inline std::filesystem::path TempFolder(const char* what) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::temp_directory_path() /
               (std::string("tarvel_se3_") + what + "_" + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

class Se3ThemeTest : public BuiltInThemeTest {
protected:
    void SetUp() override {
        BuiltInThemeTest::SetUp();
        InitThemeSkinFile();
        AddThemeNotification(&recorder);
    }
    void TearDown() override {
        RemoveThemeNotification(&recorder);
        BuiltInThemeTest::TearDown();
    }
    int LinkChanges() const {
        int n = 0;
        for (const TRecorded& r : recorder.Heard) n += r.Msg == SNM_LINKCHANGED ? 1 : 0;
        return n;
    }
    // The test skin as a file, and its bytes.
    std::filesystem::path WriteTestSkin(const std::filesystem::path& dir) {
        TSeSkinSource src(nullptr);
        FillTestSkin(src);
        const auto path = dir / "dara.mskn";
        src.SaveToFile(path.string());
        return path;
    }
    static std::vector<char> Bytes(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void Write(const std::filesystem::path& p, const std::vector<char>& bytes) {
        std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    TThemeRecorder recorder;
};

TEST_F(Se3ThemeTest, TheLinkTakesAGoodSkinOnceAndKeepsFlatForABadOne) {
    const auto dir = TempFolder("link");
    const auto good = WriteTestSkin(dir);
    const std::vector<char> bytes = Bytes(good);
    ASSERT_GT(bytes.size(), 40u);

    TTeThemeLink link(nullptr);
    link.SetThemeBuilding("Flat");
    TteTheme* flat = link.GetTheme();
    ASSERT_NE(dynamic_cast<TTeFlatTheme*>(flat), nullptr);

    struct Bad {
        const char* what;
        std::vector<char> bytes;
    };
    std::vector<char> flipped = bytes;
    flipped[bytes.size() / 2] = static_cast<char>(flipped[bytes.size() / 2] ^ 0x5A);
    const Bad bad[] = {
        {"truncated to half", std::vector<char>(bytes.begin(), bytes.begin() + bytes.size() / 2)},
        {"signature only", std::vector<char>(bytes.begin(), bytes.begin() + 5)},
        {"a byte of the body flipped", flipped},
        {"empty", {}},
    };
    for (const Bad& b : bad) {
        const auto path = dir / "damaged.mskn";
        Write(path, b.bytes);
        recorder.Heard.clear();
        EXPECT_NO_THROW(link.SetThemeFile(path.string())) << b.what;
        EXPECT_EQ(link.GetTheme(), flat) << b.what;
        EXPECT_EQ(LinkChanges(), 0) << b.what;
    }
    link.SetThemeFile((dir / "missing.mskn").string());
    EXPECT_EQ(link.GetTheme(), flat);

    recorder.Heard.clear();
    link.SetThemeFile(good.string());
    auto* skin = dynamic_cast<TTeSkinFile*>(link.GetTheme());
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(LinkChanges(), 1);
    EXPECT_EQ(skin->Name, "Test skin");
    EXPECT_TRUE(skin->IsWindowDefined(kwscStandard, "default"));
    std::filesystem::remove_all(dir);
}

TEST_F(Se3ThemeTest, AFailedLoadLeavesTheThemeAsItWas) {
    const auto dir = TempFolder("keep");
    const auto good = WriteTestSkin(dir);
    TTeSkinFile theme;
    ASSERT_TRUE(theme.LoadFromFile(good.string()));
    TSeSkinObject* form = theme.ObjectTable(kseForm);
    ASSERT_NE(form, nullptr);

    std::vector<char> bytes = Bytes(good);
    bytes.resize(bytes.size() - 9);
    Write(dir / "short.mskn", bytes);
    TSeSkinSource empty(nullptr);
    empty.SaveToFile((dir / "empty.mskn").string());  // well formed, no objects
    for (const char* name : {"short.mskn", "empty.mskn", "missing.mskn", "unknown.ext"}) {
        EXPECT_FALSE(theme.LoadFromFile((dir / name).string())) << name;
        EXPECT_EQ(theme.FileName, good.string()) << name;
        EXPECT_EQ(theme.ObjectTable(kseForm), form) << name;
        EXPECT_EQ(theme.Name, "Test skin") << name;
    }
    TMemoryStream junk;
    junk.WriteBuffer("QVLZ-not-zlib", 13);
    junk.SetPosition(0);
    EXPECT_FALSE(theme.LoadFromStream(junk));
    EXPECT_EQ(theme.ObjectTable(kseForm), form);
    std::filesystem::remove_all(dir);
}

TEST_F(Se3ThemeTest, TheTableHidesTheDrawnFormsButtonsAndReplacesItsClient) {
    TTeSkinFile theme;
    ASSERT_TRUE(LoadTestSkin(theme));
    for (TSkinFileEntry form : {kseForm, kseToolWindow}) {
        const auto at = [&theme, form](int i) {
            return theme.ObjectTable(static_cast<TSkinFileEntry>(form + i));
        };
        TSeSkinObject* frame = at(0);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame, theme.WorkSource()->GetObjectByName(form == kseForm ? "Form" : "ToolWindow"));
        // The placeholder stands among the frame's objects; the client copy is the theme's.
        ASSERT_NE(at(1), nullptr);
        EXPECT_EQ(at(1)->GetKind(), skClient);
        EXPECT_EQ(at(1)->GetColor(), clNone);
        EXPECT_EQ(frame->FindObjectByKind(skClient), at(1));
        ASSERT_NE(at(4), nullptr);
        EXPECT_EQ(at(4)->GetColor(), skin::kClient);
        EXPECT_EQ(at(4)->Parent(), nullptr);
        EXPECT_FALSE(frame->FindObjectByAction(sbaClose)->Visible);
        for (int copy : {2, 3}) {
            ASSERT_NE(at(copy), nullptr);
            EXPECT_NE(at(copy), frame);
            EXPECT_TRUE(at(copy)->FindObjectByAction(sbaClose)->Visible);
        }
    }
    for (const TSkinFileObjectName& n : SkinFileObjectNames()) {
        if (n.Entry == kseForm || n.Entry == kseToolWindow) continue;
        EXPECT_EQ(theme.ObjectTable(n.Entry), theme.WorkSource()->GetObjectByName(n.Name)) << n.Name;
    }
    EXPECT_EQ(theme.ObjectTable(kseBarDock), theme.ObjectTable(kseScrollBox));
    for (int e = kseBarDock + 1; e < kSkinFileEntryCount; ++e)
        EXPECT_EQ(theme.ObjectTable(static_cast<TSkinFileEntry>(e)), nullptr);
}

TEST_F(Se3ThemeTest, FormsWithoutAClientObjectGetTheFirstEntryOnly) {
    struct Case {
        const char* what;
        TSeKind formKind;
        bool withClient;
    };
    const Case cases[] = {
        {"no client object", skForm, false},
        {"the form itself of the client's kind", skClient, false},
    };
    for (const Case& c : cases) {
        TSeSkinSource src(nullptr);
        TSeSkinObject* form = Top(src, "Form", skin::kBorder, TRect{0, 0, 300, 200});
        form->SetKind(c.formKind);
        auto* caption = Obj(form, "Caption", skin::kCaption, TRect{0, 0, 300, 24}, saTop, skCaption);
        CaptionButton(caption, "Close", sbaClose, 278);
        TTeSkinFile theme;
        ASSERT_TRUE(LoadInto(theme, src)) << c.what;
        ASSERT_NE(theme.ObjectTable(kseForm), nullptr) << c.what;
        for (TSkinFileEntry e : {kseFormClient, kseFormButtonRects, kseFormButtons, kseFormClientObject})
            EXPECT_EQ(theme.ObjectTable(e), nullptr) << c.what;
        EXPECT_TRUE(theme.ObjectTable(kseForm)->FindObjectByAction(sbaClose)->Visible) << c.what;
        EXPECT_TRUE(theme.IsWindowDefined(kwscStandard, "default")) << c.what;
        EXPECT_FALSE(theme.IsWindowDefined(kwscToolWindow, "default")) << c.what;
    }
}

TEST_F(Se3ThemeTest, NamesColoursBoundsAndStreams) {
    TSeSkinSource src(nullptr);
    FillTestSkin(src);
    TSeSkinObject* custom = Top(src, "CustomColors");
    Obj(custom, "Accent", 0x123456, TRect{});
    Obj(Top(src, "Default", 0x010203), "Bounds", clNone, TRect{5, 6, 70, 80});
    Top(src, "Accent", 0x654321);
    TTeSkinFile theme;
    ASSERT_TRUE(LoadInto(theme, src));

    EXPECT_EQ(theme.CustomColor("Accent"), TColor(0x123456));    // CustomColors first
    EXPECT_EQ(theme.CustomColor("Grid\\Frame"), skin::kBorder);  // a path skips CustomColors
    EXPECT_EQ(theme.CustomColor("Nothing"), clNone);
    EXPECT_EQ(theme.GetBounds("Default"), (TRect{5, 6, 70, 80}));
    EXPECT_EQ(theme.GetBounds("Grid"), NullRect);
    // "Default" is a name like any other; only "default" means the table.
    EXPECT_TRUE(theme.IsPanelDefined(kpscHeader, "Default"));
    EXPECT_FALSE(theme.IsPanelDefined(kpscHeader, "default"));

    // Static text fonts follow a named object; others never do.
    TFont font;
    theme.Fonts()->GetFont(ktfStaticTextNormal)->SetColor(clBlack);
    theme.WorkSource()->GetObjectByName("Button")->Font()->SetColor(0x0000FF);
    theme.SetFontForObject(&font, ktfStaticTextNormal, "Button");
    EXPECT_EQ(font.Color(), TColor(0x0000FF));
    theme.SetFontForObject(&font, ktfButtonTextNormal, "Button");
    EXPECT_EQ(font.Color(), theme.Fonts()->GetFont(ktfButtonTextNormal)->Color());

    struct Probe {
        const char* what;
        std::vector<uint8_t> bytes;
        bool claimed;
    };
    const Probe probes[] = {
        {"compressed tag without signature", {'Q', 'V', 'L', 'Z', 0x78, 0x9C}, true},
        {"maximum signature", {'_', 'M', 'C', 'T', 0, 'Q'}, true},
        {"neither", {'T', 'S', 'K', 'N', 0, 0}, false},
        {"too short", {'Q', 'V'}, false},
    };
    for (const Probe& p : probes) {
        TMemoryStream s;
        s.WriteBuffer(p.bytes.data(), static_cast<int64_t>(p.bytes.size()));
        s.SetPosition(0);
        EXPECT_EQ(TTeSkinFile::CheckStream(s), p.claimed) << p.what;
    }
}

TEST_F(Se3ThemeTest, ShiftsDoNotAccumulateAndTheDefaultFilterFollowsTheLastCall) {
    TTeSkinFile theme;
    ASSERT_TRUE(LoadTestSkin(theme));
    EXPECT_EQ(DefaultFilter, TSeSkinFilterUncompressed::StaticClass());
    theme.ChangeThemeBrightness(40);
    const TColor once = theme.ObjectTable(kseGrid)->FindObjectByName("Fixed")->GetColor();
    EXPECT_NE(once, skin::kCaption);
    theme.ResetTheme();
    EXPECT_EQ(theme.ObjectTable(kseGrid)->FindObjectByName("Fixed")->GetColor(), once);
    theme.ChangeThemeBrightness(0);
    EXPECT_EQ(theme.ObjectTable(kseGrid)->FindObjectByName("Fixed")->GetColor(), skin::kCaption);

    TMemoryStream saved;
    ASSERT_TRUE(theme.SaveToStream(saved));
    EXPECT_EQ(DefaultFilter, TSeSkinFilterMaxCompression::StaticClass());
    saved.SetPosition(0);
    TTeSkinFile copy;
    ASSERT_TRUE(copy.LoadFromStream(saved));
    EXPECT_EQ(copy.Name, "Test skin");
    ASSERT_NE(copy.ObjectTable(kseFormButtons), nullptr);

    TTeSkinFile assigned;
    assigned.Assign(&copy);
    EXPECT_NE(assigned.ObjectTable(kseForm), nullptr);
    EXPECT_NE(assigned.ObjectTable(kseForm), copy.ObjectTable(kseForm));
}

}  // namespace
}  // namespace tarvel::testing
