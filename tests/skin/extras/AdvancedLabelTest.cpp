// The advanced label: its own or its default fonts when the theme has no
// object for it, the theme's label drawing and fonts when it has, and the
// default fonts once a loaded skin lacks the label's object.

#include "skin/extras/te_extended_label.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "skin/core/te_theme_manager.h"

#include "ExtraSkinFixture.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

// Notes the canvas font each label text is drawn with.
class TFontNotingTheme : public TRecordingTheme {
public:
    struct Drawn {
        int state;
        TColor color;
        int size;
    };
    std::vector<Drawn> drawn;

    void LabelDrawText(TteLabelSubclass s, TCanvas& c, TteLabelInfo info, const TteTextInfo& text,
                       const String& obj) override {
        drawn.push_back({info.DrawState, c.Font()->Color(), c.Font()->Size()});
        TRecordingTheme::LabelDrawText(s, c, info, text, obj);
    }
};

constexpr TColor kOwn = TColor(0x0000C0);       // the label's Font
constexpr TColor kDefault = TColor(0xC00000);   // DefaultFont
constexpr TColor kDisabled = TColor(0x00A000);  // DefaultDisabledFont

class AdvancedLabelTest : public SkinControlsTest {
protected:
    TTeAdvancedLabel* MakeLabel() {
        auto* l = Make<TTeAdvancedLabel>(20, 20);
        l->Font()->SetSize(16);
        l->Font()->SetColor(kOwn);
        TFont f;
        f.SetSize(20);
        f.SetColor(kDefault);
        l->SetDefaultFont(&f);
        f.SetSize(24);
        f.SetColor(kDisabled);
        l->SetDefaultDisabledFont(&f);
        l->SetCaption(u"WWW");
        ui_.RunUntilIdle();
        return l;
    }
    bool ShowsColor(TControl* c, TColor color) {
        // The screen holds red in the high byte, a colour in the low one.
        const uint32_t bgr = ColorToRGB(color);
        const uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
        const auto px = Shown(c);
        return std::find(px.begin(), px.end(), rgb) != px.end();
    }
};

TEST_F(AdvancedLabelTest, WithoutAThemeItDrawsWithItsOwnFontEmbossedWhenDisabled) {
    ASSERT_EQ(CurrentTheme, nullptr);
    struct Case {
        bool enabled;
        bool alwaysDefault;
        std::vector<TColor> shown;
        std::vector<TColor> absent;
    };
    const Case cases[] = {
        {true, false, {kOwn}, {kDefault, clBtnShadow}},
        {true, true, {kDefault}, {kOwn}},
        {false, false, {clBtnHighlight, clBtnShadow}, {kOwn, kDefault}},
        // The disabled default font is for the theme's drawing; the emboss uses the enabled one's face.
        {false, true, {clBtnHighlight, clBtnShadow}, {kDisabled, kDefault}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "enabled " << c.enabled << " default " << c.alwaysDefault);
        TTeAdvancedLabel* l = MakeLabel();
        l->SetEnabled(c.enabled);
        l->SetAlwaysUseDefaultFont(c.alwaysDefault);
        EXPECT_TRUE(l->ObjectAvailable());
        for (TColor color : c.shown) EXPECT_TRUE(ShowsColor(l, color)) << color;
        for (TColor color : c.absent) EXPECT_FALSE(ShowsColor(l, color)) << color;
        delete l;
    }
}

TEST_F(AdvancedLabelTest, WithAThemeLabelObjectTheThemeDrawsWithItsOrTheDefaultFonts) {
    auto* theme = new TFontNotingTheme();
    ChangeTheme(theme);
    ui_.RunUntilIdle();
    TFont* normal = theme->Fonts()->GetFontForObject(ktfStaticTextNormal, "default");
    normal->SetColor(TColor(0x123456));
    normal->SetSize(11);
    TFont* disabled = theme->Fonts()->GetFontForObject(ktfStaticTextDisabled, "default");
    disabled->SetColor(TColor(0x654321));
    disabled->SetSize(12);
    struct Case {
        bool enabled;
        bool alwaysDefault;
        bool colorFromTheme;
        TColor color;
        int size;
    };
    const Case cases[] = {
        {true, false, false, TColor(0x123456), 11}, {false, false, false, TColor(0x654321), 12},
        {false, false, true, TColor(0x654321), 12}, {true, true, false, kDefault, 20},
        {false, true, false, kDisabled, 24},        {true, true, true, TColor(0x123456), 20},
        {false, true, true, TColor(0x654321), 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.enabled << c.alwaysDefault << c.colorFromTheme);
        TTeAdvancedLabel* l = MakeLabel();
        l->SetEnabled(c.enabled);
        l->SetAlwaysUseDefaultFont(c.alwaysDefault);
        l->SetAlwaysGetFontColorFromTheme(c.colorFromTheme);
        theme->drawn.clear();
        RepaintRecorded(theme, l);
        ASSERT_FALSE(theme->drawn.empty());
        EXPECT_EQ(theme->drawn.back().state, c.enabled ? kldsNormal : kldsDisabled);
        EXPECT_EQ(theme->drawn.back().color, c.color);
        EXPECT_EQ(theme->drawn.back().size, c.size);
        delete l;
    }
}

TEST_F(AdvancedLabelTest, ALoadedSkinWithoutTheLabelsObjectTakesAwayItsObject) {
    struct Case {
        const char* object;
        bool available;
    };
    const Case cases[] = {{"Title", true}, {"title", true}, {"Missing", false}, {"default", true}};
    TTeAdvancedLabel* l = MakeLabel();
    TteTheme* skin = testing::MakeSkinTheme({{"Title", clRed, TRect{0, 0, 50, 20}}});
    ASSERT_NE(skin, nullptr);
    ChangeTheme(skin);
    ui_.RunUntilIdle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object);
        l->SetThemeObject(c.object);
        // A theme message brings the label up to date.
        ThemeManager->Broadcast(SNM_THEMEMESSAGE, tmChanged, 0);
        EXPECT_EQ(l->ObjectAvailable(), c.available);
    }
    l->SetThemeObject("Missing");
    ThemeManager->Broadcast(SNM_THEMEMESSAGE, tmChanged, 0);
    ASSERT_FALSE(l->ObjectAvailable());
    ThemeManager->ReleaseTheme();
    EXPECT_TRUE(l->ObjectAvailable());
}

TEST_F(AdvancedLabelTest, ATextlessLabelStillMeasuresALine) {
    TTeAdvancedLabel* l = MakeLabel();
    const int height = l->Height();
    for (const char16_t* caption : {u"", u"&"}) {
        l->SetCaption(caption);
        ui_.RunUntilIdle();
        EXPECT_GT(l->Width(), 0);
        EXPECT_EQ(l->Height(), height);
    }
}

}  // namespace
}  // namespace tarvel
