// The object displayer: which skin object it shows, which theme panel it
// draws without a skin, and the colour it fills with otherwise.

#include "skin/extras/te_extended_displayer.h"

#include <gtest/gtest.h>

#include "ExtraSkinFixture.h"
#include "skin/core/te_theme_manager.h"
#include "skin/extras/te_extended_skin.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

constexpr TColor kPanelColor = TColor(0x30C030);

// A theme that is no skin, with a panel named "default" when asked for.
class PanelTheme : public TRecordingTheme {
public:
    explicit PanelTheme(bool definesDefault) : definesDefault_(definesDefault) {}
    bool IsPanelDefined(TtePanelSubclass, const String& obj) override {
        return definesDefault_ && obj == "default";
    }
    bool IsPanelTransparent(TtePanelSubclass, const String&) override { return false; }
    void PanelDraw(TtePanelSubclass, TCanvas& c, const TtePanelInfo& info, const String& obj) override {
        drawn.push_back(obj);
        c.Brush()->SetColor(kPanelColor);
        c.FillRect(info.Rect);
    }
    std::vector<String> drawn;

private:
    bool definesDefault_;
};

class ObjectDisplayerTest : public SkinControlsTest {
protected:
    TTeObjectDisplayer* MakeDisplayer() {
        auto* d = Make<TTeObjectDisplayer>(10, 10);
        d->SetBounds(10, 10, 40, 30);
        return d;
    }
    static uint32_t Rgb(TColor color) {
        const uint32_t bgr = ColorToRGB(color);
        return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    }
};

TEST_F(ObjectDisplayerTest, WithoutAThemeItFillsWithTheWindowColourOrItsOwn) {
    auto* d = MakeDisplayer();
    EXPECT_EQ(d->ThemeObject(), "default");
    EXPECT_EQ(d->FillColor(), ColorToRGB(clWindow));
    EXPECT_EQ(ShownAt(d, 5, 5), Rgb(clWindow));
    // The colour settings wait for the next lookup.
    d->SetGetColorFromTheme(false);
    d->SetDefaultColor(TColor(0x102080));
    EXPECT_EQ(d->FillColor(), ColorToRGB(clWindow));
    d->InitObject();
    EXPECT_EQ(d->FillColor(), TColor(0x102080));
    EXPECT_EQ(ShownAt(d, 5, 5), Rgb(TColor(0x102080)));
}

TEST_F(ObjectDisplayerTest, WithoutASkinItDrawsAThemePanelOrFills) {
    struct Case {
        const char* themeObject;
        const char* defaultObject;
        bool fillWhenUndefined;
        bool themeDefinesDefault;
        const char* panel;  // "": filled with the colour
    };
    const Case cases[] = {
        {"default", "", true, true, "default"},
        {"default", "", true, false, ""},
        {"Other", "", true, true, ""},
        {"Other", "pAnEl", true, false, "Panel"},
        {"Other", "default", true, false, "Panel"},
        {"Other", "Bar", false, false, "Panel"},
        {"Other", "Bar", true, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.themeObject << "/" << c.defaultObject << "/" << c.fillWhenUndefined);
        auto* theme = new PanelTheme(c.themeDefinesDefault);
        ChangeTheme(theme);
        auto* d = MakeDisplayer();
        d->SetThemeObject(c.themeObject);
        d->SetDefaultObject(c.defaultObject);
        d->SetFillWithColorWhenObjectIsNotDefined(c.fillWhenUndefined);
        ui_.RunUntilIdle();
        theme->drawn.clear();
        d->Invalidate();
        const uint32_t shown = ShownAt(d, 5, 5);
        if (*c.panel) {
            ASSERT_FALSE(theme->drawn.empty());
            EXPECT_EQ(theme->drawn.back(), c.panel);
            EXPECT_EQ(shown, Rgb(kPanelColor));
        } else {
            EXPECT_TRUE(theme->drawn.empty());
            EXPECT_EQ(shown, Rgb(d->FillColor()));
        }
        EXPECT_EQ(d->FillColor(), theme->Colors()->GetColor(ktcWindow));
        delete d;
        ThemeManager->ReleaseTheme();
        ui_.RunUntilIdle();
    }
}

TEST_F(ObjectDisplayerTest, ASkinShowsTheNamedObjectElseTheDefaultOne) {
    constexpr TColor kDisplay = TColor(0x0000FF), kBar = TColor(0xFF0000);
    TteTheme* skin = testing::MakeSkinTheme({{"Display", kDisplay, TRect{0, 0, 20, 20}},
                                             {"Bar", kBar, TRect{0, 0, 20, 20}},
                                             {"Panel", kBar, TRect{0, 0, 20, 20}, TRect{2, 2, 2, 2}}});
    ASSERT_NE(skin, nullptr);
    ChangeTheme(skin);
    ui_.RunUntilIdle();
    TSeSkinObject* panel = FindSkinObject(skin, "Panel");
    ASSERT_NE(panel, nullptr);
    struct Case {
        const char* themeObject;
        const char* defaultObject;
        TSeSkinObject* shown;  // null: filled with the colour
    };
    const Case cases[] = {
        {"Display", "Bar", FindSkinObject(skin, "Display")},
        {"Missing", "Bar", FindSkinObject(skin, "Bar")},
        {"Missing", "PANEL", SkinObjectChild(panel, "Frame")},
        {"Missing", "Nothing", nullptr},
        {"Missing", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.themeObject << "/" << c.defaultObject);
        auto* d = MakeDisplayer();
        d->SetDefaultObject(c.defaultObject);
        d->SetThemeObject(c.themeObject);
        EXPECT_EQ(d->SkinObject(), c.shown);
        if (!c.shown) {
            EXPECT_EQ(ShownAt(d, 5, 5), Rgb(d->FillColor()));
        } else if (c.shown == FindSkinObject(skin, "Display")) {
            EXPECT_EQ(ShownAt(d, 5, 5), Rgb(kDisplay));
        }
        delete d;
    }
    // The skin going takes the object with it.
    auto* d = MakeDisplayer();
    d->SetThemeObject("Display");
    ASSERT_NE(d->SkinObject(), nullptr);
    ThemeManager->ReleaseTheme();
    ui_.RunUntilIdle();
    EXPECT_EQ(d->SkinObject(), nullptr);
    EXPECT_EQ(ShownAt(d, 5, 5), Rgb(d->FillColor()));
}

TEST_F(ObjectDisplayerTest, TheContainerHoldsControlsThatPaintOverItsFill) {
    auto* container = Make<TTeObjectDisplayerContainer>(10, 10);
    container->SetBounds(10, 10, 60, 40);
    EXPECT_TRUE(container->ControlStyle.Contains(csAcceptsControls));
    TTeObjectDisplayer plain(nullptr);
    EXPECT_FALSE(plain.ControlStyle.Contains(csAcceptsControls));
    auto* inside = new TTeObjectDisplayer(Form());
    inside->SetParent(container);
    inside->SetBounds(20, 10, 10, 10);
    inside->SetGetColorFromTheme(false);
    inside->SetDefaultColor(TColor(0x2040A0));
    inside->InitObject();
    ui_.RunUntilIdle();
    EXPECT_EQ(inside->Parent(), container);
    EXPECT_EQ(ShownAt(container, 25, 15), Rgb(TColor(0x2040A0)));
    EXPECT_EQ(ShownAt(container, 5, 5), Rgb(container->FillColor()));
}

}  // namespace
}  // namespace tarvel
