// The visual-style theme's container and loading: the container round trip,
// the stream check, modules read through the resource reader, loads that
// fail and change nothing, the pristine copy under hue changes, the
// metrics, colours and fonts of the style text.
#include <gtest/gtest.h>

#include <functional>

#include "MsStylesFixture.h"
#include "platform/base/Paths.h"
#include "skin/core/te_theme_api.h"
#include "tests/TempFolderFixture.h"

namespace tarvel::testing {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<uint32_t> Pixels(const TteBitmap& b) {
    return std::vector<uint32_t>(b.Bits(), b.Bits() + static_cast<size_t>(b.Width()) * b.Height());
}

// What a load must leave alone when it fails.
struct TSnapshot {
    String Name;
    std::vector<String> Lines;
    int Images;
    const TmsuxThemeObject* Button;
    int Border;
    explicit TSnapshot(TTeThemeMsStyles& t)
        : Name(t.Name),
          Lines(t.StyleText().Lines()),
          Images(t.Images().Count()),
          Button(t.Object("Button.Pushbutton")),
          Border(t.BorderWidth()) {}
    bool operator==(const TSnapshot&) const = default;
};

class MsStylesThemeTest : public MsStylesTest {
protected:
    // A module with two colour schemes, three sizes and the six texts they name.
    Bytes Module(std::function<void(PeBuilder&)> change = {}) {
        PeBuilder pe;
        pe.Add("COLORNAMES", uint16_t{1}, NameList({u"NormalColor", u"Metallic"}))
            .Add("SIZENAMES", uint16_t{1}, NameList({u"NormalSize", u"LargeFonts", u"ExtraLargeFonts"}))
            .Add("FILERESNAMES", uint16_t{1},
                 NameList({u"NORMAL_INI", u"LARGE_INI", u"XL_INI", u"METAL_INI", u"METALLARGE_INI",
                           u"METALXL_INI"}));
        for (const char* text : {"NORMAL_INI", "METALXL_INI"}) {
            const std::u16string body =
                u"[Button.Pushbutton]\r\nimagefile = states.bmp\r\nfillcolorhint = 1 2 3\r\n"
                u"[edit]\r\nimagefile = Blue\\Missing.bmp\r\n[SysMetrics]\r\nBorderWidth = " +
                std::u16string(text == std::string("NORMAL_INI") ? u"5" : u"7") + u"\r\n";
            pe.Add("TEXTFILE", text, Utf16(u"\xFEFF" + body));
        }
        pe.Add(RT_BITMAP, "STATES_BMP", Dib(StateStrip()));
        if (change) change(pe);
        return pe.Build();
    }
    std::string WriteModule(const std::string& name, const Bytes& bytes) {
        const std::string path = folder.File(name);
        WriteFileBytes(path, bytes.data(), bytes.size());
        return path;
    }
    TempFolder folder;
};

TEST_F(MsStylesThemeTest, AContainerComesBackAsItWasWritten) {
    TStyleImage keyed =
        TStyleImage::Paint("KEYED_BMP", 3, 2, [](int x, int) { return x ? 0x007F007Fu : 0xFF123456u; });
    keyed.Transparent = true;
    TStyleImage soft =
        TStyleImage::Paint("SOFT_BMP", 2, 2, [](int x, int y) { return 0x80102030u + x + 16 * y; });
    soft.AlphaBlend = true;
    const std::vector<TStyleImage> images{StateStrip(), keyed, soft};
    const std::string text =
        "; written by hand\r\n[Button.Pushbutton]\r\nimagefile=states.bmp\r\nimagecount=16\r\n\r\n[edit]\r\n"
        "imagefile = keyed.bmp\r\nfillcolor=1 2 3\r\n";
    ASSERT_TRUE(LoadContainer(theme, Container("Round trip", text, images)));
    EXPECT_EQ(theme.Name, "Round trip");
    EXPECT_EQ(theme.StyleName(), "Round trip");

    TMemoryStream saved;
    ASSERT_TRUE(theme.SaveToStream(saved));
    saved.SetPosition(0);
    TTeThemeMsStyles again;
    ASSERT_TRUE(again.LoadFromStream(saved));
    EXPECT_EQ(again.Name, "Round trip");
    EXPECT_EQ(again.StyleText().Lines(), theme.StyleText().Lines());
    EXPECT_EQ(again.StyleText().GetText(), text);
    ASSERT_EQ(again.Images().Count(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TteBitmap& b = *again.Images().GetImage(i);
        EXPECT_EQ(b.Name, images[static_cast<size_t>(i)].Name);
        EXPECT_EQ(b.Transparent, images[static_cast<size_t>(i)].Transparent);
        EXPECT_EQ(b.AlphaBlend, images[static_cast<size_t>(i)].AlphaBlend);
        EXPECT_EQ(Pixels(b), images[static_cast<size_t>(i)].Pixels);
    }
    EXPECT_EQ(again.Object("edit")->FillColor, TColor(0x030201));
}

TEST_F(MsStylesThemeTest, TheStreamCheckKnowsAContainerFromASkinFile) {
    const struct {
        const char* what;
        Bytes bytes;
        bool container;
    } cases[] = {
        {"container", Container("C", "", {}), true},
        {"skin file", MaximumFile(SkinBytes().Strings().I32(0x00FFF000).I32(0x00FF0000).data), false},
        {"short", {'Q', 'V', 'M'}, false},
        {"empty", {}, false},
    };
    for (const auto& c : cases) {
        TMemoryStream s;
        if (!c.bytes.empty()) s.WriteBuffer(c.bytes.data(), static_cast<int64_t>(c.bytes.size()));
        s.SetPosition(0);
        EXPECT_EQ(TTeThemeMsStyles::CheckStream(s), c.container) << c.what;
    }
    // The theme manager finds the class by it.
    InitThemeMsStyles();
    const Bytes good = Container("Found", StripStyle(), {StateStrip()});
    TMemoryStream s;
    s.WriteBuffer(good.data(), static_cast<int64_t>(good.size()));
    s.SetPosition(0);
    std::unique_ptr<TteTheme> loaded(LoadThemeFromStream(s));
    ASSERT_TRUE(dynamic_cast<TTeThemeMsStyles*>(loaded.get()));
    EXPECT_EQ(loaded->Name, "Found");
}

TEST_F(MsStylesThemeTest, AFailedLoadLeavesTheThemeAsItWas) {
    Load();
    const TSnapshot before(theme);
    Bytes truncated = Container("Bad", StripStyle(), {StateStrip()});
    truncated.resize(truncated.size() - 6);
    Bytes corrupt = Container("Bad", StripStyle(), {StateStrip()});
    corrupt[corrupt.size() / 2] ^= 0x5A;
    TStyleImage flagged = StateStrip();
    const Bytes badFlag = [&] {
        SkinBytes body;
        body.Lps("Bad").Lps("").I32(1).Lps(flagged.Name).I32(64).I32(4);
        for (uint32_t p : flagged.Pixels) body.I32(p);
        body.Lps(flagged.Name).Raw({2, 0});
        SkinBytes file;
        file.Text("QVMSSTL").Bytes(Deflate(body.data));
        return file.data;
    }();
    const Bytes lyingCount = [] {
        SkinBytes body;
        body.Lps("Bad").Lps("").I32(0x7FFFFFFF);
        SkinBytes file;
        file.Text("QVMSSTL").Bytes(Deflate(body.data));
        return file.data;
    }();
    const Bytes hugeImage = [] {
        SkinBytes body;
        body.Lps("Bad").Lps("").I32(1).Lps("HUGE").I32(65536).I32(65536);
        SkinBytes file;
        file.Text("QVMSSTL").Bytes(Deflate(body.data));
        return file.data;
    }();
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"cut short", truncated},
        {"corrupt zlib data", corrupt},
        {"image flag 2", badFlag},
        {"lying image count", lyingCount},
        {"image too large", hugeImage},
        {"metric not a number", Container("Bad", "[SysMetrics]\r\nBorderWidth=wide\r\n", {StateStrip()})},
        {"object number malformed",
         Container("Bad", "[Button.Pushbutton]\r\nbordersize=x\r\n", {StateStrip()})},
        {"not a container", {'h', 'e', 'l', 'l', 'o', '!', '!', '!'}},
        {"empty stream", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(LoadContainer(theme, c.bytes));
        EXPECT_TRUE(TSnapshot(theme) == before);
    }
    EXPECT_FALSE(theme.LoadFromFile(folder.File("missing.theme")));
    EXPECT_FALSE(theme.LoadFromFile(folder.File("missing.msstyles")));
    EXPECT_TRUE(TSnapshot(theme) == before);
}

TEST_F(MsStylesThemeTest, AModuleGivesItsSchemesTextAndImages) {
    theme.SetColorSchemeIndex(1);
    theme.SetFontSchemeIndex(2);  // 3 sizes x 1 + 2: the sixth text
    const std::string path = WriteModule("my.blue.msstyles", Module());
    ASSERT_TRUE(theme.LoadFromFile(path));
    EXPECT_EQ(theme.Name, "my.blue");
    EXPECT_EQ(theme.StyleName(), "my.blue");
    EXPECT_EQ(theme.FileName, path);
    EXPECT_EQ(theme.ModuleFile(), path);
    EXPECT_EQ(theme.ColorNames(), (std::vector<String>{"NormalColor", "Metallic"}));
    EXPECT_EQ(theme.SizeNames().size(), 3u);
    EXPECT_EQ(theme.FileNames().size(), 6u);
    EXPECT_EQ(theme.BorderWidth(), 7);                                // METALXL_INI
    EXPECT_EQ(theme.StyleText().Lines()[1], "imagefile=states.bmp");  // " = " became "="
    // Images come from the module as the objects ask; one it lacks stays, empty.
    ASSERT_EQ(theme.Images().Count(), 2);
    const TteBitmap* strip = theme.Images().GetBitmapByName("STATES_BMP");
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(Pixels(*strip), StateStrip().Pixels);
    const TteBitmap* missing = theme.Images().GetBitmapByName("BLUE_MISSING_BMP");
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->Empty());
    EXPECT_EQ(theme.Object("Button.Pushbutton")->Image.Bitmap, strip);
    EXPECT_FALSE(theme.IsThemeEmpty());
    EXPECT_EQ(theme.Colors()->GetColor(ktcButtonNormal), TColor(0x030201));
}

TEST_F(MsStylesThemeTest, NameListsStopAtTheResourcesEnd) {
    Bytes unterminated = Utf16(std::u16string(u"Only\0Names", 10));
    unterminated.push_back(0x41);  // an odd last byte
    ASSERT_TRUE(theme.LoadFromFile(WriteModule(
        "odd.msstyles", Module([&](PeBuilder& pe) { pe.Add("COLORNAMES", uint16_t{1}, unterminated); }))));
    EXPECT_EQ(theme.ColorNames(), (std::vector<String>{"Only", "Names"}));
    EXPECT_EQ(theme.BorderWidth(), 5);
}

TEST_F(MsStylesThemeTest, AModuleWithoutWhatItNeedsChangesNothing) {
    Load();
    const TSnapshot before(theme);
    const Bytes noFileNames = [] {
        PeBuilder pe;
        pe.Add("COLORNAMES", uint16_t{1}, NameList({u"A"})).Add("SIZENAMES", uint16_t{1}, NameList({u"B"}));
        return pe.Build();
    }();
    const struct {
        const char* what;
        Bytes bytes;
        int colorScheme;
    } cases[] = {
        {"no size names", Module([](PeBuilder& pe) { pe.Add("SIZENAMES", uint16_t{1}, NameList({})); }), 0},
        {"scheme past the texts", Module(), 2},
        {"text not there", Module(), 1},
        {"no file names", noFileNames, 0},
        {"not a module", {'M', 'Z', 0, 0}, 0},
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        theme.SetColorSchemeIndex(c.colorScheme);
        EXPECT_FALSE(theme.LoadFromFile(WriteModule("bad" + std::to_string(i++) + ".msstyles", c.bytes)));
        EXPECT_TRUE(TSnapshot(theme) == before);
        EXPECT_EQ(theme.FileName, "");
    }
}

TEST_F(MsStylesThemeTest, HueShiftsStartFromTheStyleAsLoaded) {
    Load();
    const std::vector<uint32_t> loaded = Pixels(*theme.Images().GetImage(0));
    theme.ChangeThemeHue(60);
    const std::vector<uint32_t> once = Pixels(*theme.Images().GetImage(0));
    EXPECT_NE(once, loaded);
    theme.ResetTheme();
    theme.ResetTheme();
    EXPECT_EQ(Pixels(*theme.Images().GetImage(0)), once);
    theme.ChangeThemeHue(0);
    EXPECT_EQ(Pixels(*theme.Images().GetImage(0)), loaded);
}

TEST_F(MsStylesThemeTest, SavingWritesOnlyContainers) {
    Load();
    EXPECT_FALSE(theme.SaveToFile(folder.File("style.msstyles")));
    EXPECT_FALSE(FileExists(folder.File("style.msstyles")));
    ASSERT_TRUE(theme.SaveToFile(folder.File("style.THEME")));
    TTeThemeMsStyles again;
    ASSERT_TRUE(again.LoadFromFile(folder.File("style.THEME")));
    EXPECT_EQ(again.Name, "Strips");
    EXPECT_EQ(again.FileName, folder.File("style.THEME"));
    EXPECT_EQ(again.StyleText().Lines(), theme.StyleText().Lines());
}

TEST_F(MsStylesThemeTest, MetricsColoursAndFontsComeFromSysMetrics) {
    Load("[Button.Pushbutton]\r\nimagefile=states.bmp\r\n");
    EXPECT_EQ(theme.CaptionBarHeight(), 25);
    EXPECT_EQ(theme.SmCaptionBarHeight(), 17);
    EXPECT_EQ(theme.BorderWidth(), 4);
    EXPECT_EQ(theme.SmBorderWidth(), 3);
    EXPECT_EQ(theme.SysColors()->GetColor(clWindow), TColor(0x646464));  // "100 100 100"

    Load(
        "[Button.Pushbutton]\r\nimagefile=states.bmp\r\ntextcolor=1 1 1\r\n"
        "[Button.Pushbutton(Disabled)]\r\ntextcolor=9 9 9\r\n[listview]\r\nfillcolor=0 0 200\r\n"
        "[SysMetrics]\r\nCaptionBarHeight=30\r\nBorderWidth=2\r\nWindow=10 20 30\r\nHighlight=300 0 0\r\n"
        "Menu=1 2 3\r\nMenuHilight=4 5 6\r\nCaptionFont=Verdana, 11, bold\r\nCaptionText=0 0 255\r\n"
        "MsgBoxFont=Arial, 9, italic\r\nHighlightText=7 7 7\r\n");
    EXPECT_EQ(theme.CaptionBarHeight(), 30);
    EXPECT_EQ(theme.BorderWidth(), 2);
    EXPECT_EQ(theme.SysColors()->GetColor(clWindow), TColor(0x1E140A));
    EXPECT_EQ(theme.SysColors()->GetColor(clHighlight), TColor(0x0000FF));
    EXPECT_EQ(theme.MenuColor(), TColor(0x030201));
    EXPECT_EQ(theme.MenuHilightColor(), TColor(0x060504));
    EXPECT_EQ(theme.Colors()->GetColor(ktcList), TColor(0xC80000));
    TFont* caption = theme.Fonts()->GetFont(ktfCaptionTextNormal);
    EXPECT_EQ(caption->Name(), "Verdana");
    EXPECT_EQ(caption->Size(), 11);
    EXPECT_EQ(caption->Color(), TColor(0xFF0000));
    EXPECT_EQ(theme.Fonts()->GetFont(ktfCaptionTextInactive)->Color(), TColor(0xFFFFFF));
    TFont* button = theme.Fonts()->GetFont(ktfButtonTextNormal);
    EXPECT_EQ(button->Name(), "Arial");
    EXPECT_EQ(button->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(button->Color(), TColor(0x010101));
    EXPECT_EQ(theme.Fonts()->GetFont(ktfButtonTextDisabled)->Color(), TColor(0x090909));
    EXPECT_EQ(theme.Fonts()->GetFont(ktfPopupMenuItemTextHot)->Color(), TColor(0x070707));

    // Without images the style sets no colours or fonts.
    TTeThemeMsStyles bare;
    ASSERT_TRUE(LoadContainer(bare, Container("Bare", "[SysMetrics]\r\nWindow=10 20 30\r\n", {})));
    EXPECT_TRUE(bare.IsThemeEmpty());
    EXPECT_NE(bare.SysColors()->GetColor(clWindow), TColor(0x1E140A));
}

TEST_F(MsStylesThemeTest, AssigningCopiesTheStyle) {
    Load();
    TTeThemeMsStyles copy;
    copy.Assign(&theme);
    EXPECT_EQ(copy.Name, "Strips");
    EXPECT_EQ(copy.StyleText().Lines(), theme.StyleText().Lines());
    ASSERT_EQ(copy.Images().Count(), 1);
    EXPECT_NE(copy.Images().GetImage(0), theme.Images().GetImage(0));
    EXPECT_NE(copy.Object("Button.Pushbutton"), nullptr);
    EXPECT_EQ(TTeThemeMsStyles::GetThemeConfig().DefaultExt, "msstyles");
}

}  // namespace
}  // namespace tarvel::testing
