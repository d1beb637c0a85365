// The extended set's theme preview: the caption buttons packed as a classic
// frame packs them, the skinned frames' metrics and caption font, the
// theme calls that draw the miniature from the linked theme (and from it
// only), and the classic miniature without one.

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/te_const.h"
#include "skin/core/te_theme_manager.h"
#include "skin/extctrls/te_extctrls_preview.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "tests/skin/controls/RecordingThemeFixture.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel {
namespace {

using Preview = extctrls::TTeThemePreview;

// The preview's protected hooks, open to the tests; `styled` stands for a
// system with a visual style.
class TOpenPreview : public Preview {
public:
    explicit TOpenPreview(TComponent* owner, bool styled = false) : Preview(owner), styled_(styled) {}
    using Preview::FrameMetrics;
    using Preview::SetCaptionFont;

protected:
    bool Styled() const override { return styled_; }

private:
    bool styled_;
};

// Notes the window calls the preview makes, with the rectangles it gives.
class TWindowRecordingTheme : public testing::TRecordingTheme {
public:
    TRect WindowGetTitleRect(TteWindowSubclass, const TteWindowInfo&, const String&) override {
        return TRect{30, 4, 120, 20};
    }
    TRect WindowGetButtonRect(TteWindowSubclass, const TteWindowInfo&, TteWindowButtonClass button,
                              const String&) override {
        return TRect{200 - 20 * button, 4, 216 - 20 * button, 20};
    }
    void WindowDraw(TteWindowSubclass s, TCanvas&, const TteWindowInfo& info, const String& obj) override {
        Calls().push_back({"WindowDraw", s, info.Rect, obj, info.Caption, {}});
        drawStates.push_back(info.DrawState);
        buttons.push_back(info.Buttons);
    }
    void WindowDrawClient(TteWindowSubclass s, TCanvas&, const TRect& rect, const String& obj) override {
        Calls().push_back({"WindowDrawClient", s, rect, obj, {}, {}});
    }
    void WindowDrawText(TteWindowSubclass, TCanvas&, const TteWindowInfo& info, const TRect& rect,
                        const String& obj) override {
        Calls().push_back({"WindowDrawText", 0, rect, obj, info.Caption, {}});
    }
    void WindowDrawButton(TteWindowSubclass, TCanvas&, const TteWindowButtonInfo& info,
                          const String& obj) override {
        testing::TThemeCall call{"WindowDrawButton", info.ButtonClass, info.Rect, obj, {}, {}};
        if (info.Bitmap) {
            EXPECT_TRUE(info.Bitmap->Transparent);
            call.glyph.push_back(info.Bitmap->GetPixel(0, 0));
        }
        EXPECT_EQ(info.DrawState, kwbdsNormal);
        Calls().push_back(call);
    }
    std::vector<TteWindowDrawStates> drawStates;
    std::vector<TteWindowButtons> buttons;
};

class ExtThemePreviewTest : public testing::SkinControlTest {
protected:
    // A colour as the screen holds it (0xRRGGBB).
    static uint32_t Screen(TColor c) { return ColorRefToPixel(ColorToRGB(c)); }
    void SetUp() override {
        SkinControlTest::SetUp();
        InitForms();
    }
    // The frames' unit ends after the last form and before the theme core.
    void TearDown() override {
        delete form_;
        form_ = nullptr;
        DoneForms();
        SkinControlTest::TearDown();
    }
    template <class T = Preview>
    T* MakePreview(TteCustomThemeLink* link) {
        auto* preview = Make<T>(10, 10);
        preview->SetBounds(10, 10, 220, 140);
        preview->SetThemeLink(link);
        ui_.RunUntilIdle();
        return preview;
    }
};

TEST_F(ExtThemePreviewTest, ClassicCaptionButtonsPackAsAClassicFrame) {
    auto* preview = Make<TOpenPreview>(10, 10);
    EXPECT_EQ(preview->Width(), 100);
    EXPECT_EQ(preview->Height(), 100);
    const TRect r{5, 23, 95, 95};
    const int bandTop = DefaultBorderWidth + 1, h = r.top - bandTop;
    const TRect close = preview->GetCaptionButtonRect(kbiClose, r);
    EXPECT_EQ(close, (TRect{r.right - 2 - (h - 2), bandTop + 2, r.right - 2, bandTop + 2 + h - 4}));
    // Right to left: what lies between each button and the one before it.
    const struct {
        TTeBorderIcon icon;
        int gap;
    } order[] = {{kbiMaximize, 2}, {kbiMinimize, 0}, {kbiRollup, 2}, {kbiTray, 0}, {kbiHelp, 2}};
    TRect right = close;
    for (const auto& o : order) {
        const TRect b = preview->GetCaptionButtonRect(o.icon, r);
        EXPECT_EQ(right.left - b.right, o.gap) << o.icon;
        EXPECT_EQ(b.Width(), h - 2) << o.icon;
        EXPECT_EQ(b.top, close.top) << o.icon;
        right = b;
    }
    EXPECT_EQ(preview->GetCaptionButtonRect(kbiSystemMenu, r), (TRect{5, bandTop, 5 + h, 23}));
    for (TTeBorderIcon none : {kbiTop, kbiCustom})
        EXPECT_EQ(preview->GetCaptionButtonRect(none, r), (TRect{0, 0, 0, 0}));
}

TEST_F(ExtThemePreviewTest, WithAVisualStyleOnlyCloseMaximiseAndMinimiseStand) {
    auto* preview = Make<TOpenPreview>(10, 10);
    delete preview;
    preview = new TOpenPreview(form_, true);
    const TRect r{5, 23, 95, 95};
    const int bandTop = DefaultBorderWidth + 1, h = r.top - bandTop;
    const TRect close = preview->GetCaptionButtonRect(kbiClose, r);
    const TRect max = preview->GetCaptionButtonRect(kbiMaximize, r);
    const TRect min = preview->GetCaptionButtonRect(kbiMinimize, r);
    EXPECT_EQ(close, (TRect{r.right - 2 - (h - 4), bandTop + 1, r.right - 2, bandTop + 1 + h - 4}));
    EXPECT_EQ(close.left - max.right, 2);
    EXPECT_EQ(max.left - min.right, 2);
    for (TTeBorderIcon absent : {kbiRollup, kbiTray, kbiHelp})
        EXPECT_EQ(preview->GetCaptionButtonRect(absent, r), (TRect{0, 0, 0, 0})) << absent;
    delete preview;
}

TEST_F(ExtThemePreviewTest, TheFramesMetricsAndCaptionFontDrawTheCaption) {
    const int border = DefaultBorderWidth, button = DefaultButtonHeight;
    DefaultBorderWidth = 7;
    DefaultButtonHeight = 21;
    CaptionFont->SetName("DejaVu Serif");
    CaptionFont->SetSize(13);
    auto* preview = Make<TOpenPreview>(10, 10);
    EXPECT_EQ(preview->FrameMetrics().BorderWidth, 7);
    EXPECT_EQ(preview->FrameMetrics().ButtonHeight, 21);
    EXPECT_EQ(preview->GetCaptionButtonRect(kbiSystemMenu, TRect{5, 23, 95, 95}).top, 8);
    TFont font;
    preview->SetCaptionFont(font);
    EXPECT_EQ(font.Name(), "DejaVu Serif");
    EXPECT_EQ(font.Size(), 13);
    DefaultBorderWidth = border;
    DefaultButtonHeight = button;
}

TEST_F(ExtThemePreviewTest, TheLinkedThemeDrawsTheMiniature) {
    auto* theme = new TWindowRecordingTheme();
    testing::TFixedLink link(theme);
    Preview* preview = MakePreview(&link);
    theme->Calls().clear();
    preview->Invalidate();
    ui_.RunUntilIdle();
    // 220 x 140: the inner rectangle is (5, 23, 215, 135).
    const struct {
        const char* op;
        int state;
        TRect rect;
        const char16_t* text;
    } expected[] = {
        {"WindowDrawClient", kwscStandard, {3, 10, 217, 137}, u""},
        {"WindowDraw", kwscStandard, {0, 0, 220, 140}, u"Active Window"},
        {"WindowDrawText", 0, {30, 4, 120, 20}, u"Active Window"},
        {"WindowDrawButton", kwbClose, {180, 4, 196, 20}, u""},
        {"WindowDrawButton", kwbSysMenu, {200, 4, 216, 20}, u""},
        {"WindowDrawButton", kwbMin, {140, 4, 156, 20}, u""},
        {"WindowDrawButton", kwbMax, {100, 4, 116, 20}, u""},
        {"WindowDrawButton", kwbRoll, {60, 4, 76, 20}, u""},
        {"WindowDrawButton", kwbTray, {20, 4, 36, 20}, u""},
        {"ButtonDraw", kbdsNormal, {30, 38, 185, 63}, u""},
        {"ButtonDrawText", kbdsNormal, {30, 38, 185, 63}, u"Button"},
    };
    const auto& calls = theme->Calls();
    ASSERT_EQ(calls.size(), std::size(expected));
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(expected[i].op);
        EXPECT_EQ(calls[i].op, expected[i].op);
        EXPECT_EQ(calls[i].state, expected[i].state);
        EXPECT_EQ(calls[i].rect, expected[i].rect);
        EXPECT_EQ(calls[i].object, "default");
        EXPECT_EQ(calls[i].text, WideString(expected[i].text));
    }
    // The system-menu glyph: the key colour where the application has no icon.
    ASSERT_EQ(calls[4].glyph.size(), 1u);
    EXPECT_EQ(calls[4].glyph[0] & 0xFFFFFF, teKeyColor & 0xFFFFFF);
    ASSERT_FALSE(theme->drawStates.empty());
    EXPECT_EQ(theme->drawStates.back(), TteWindowDrawStates{kwdsActive});
    EXPECT_EQ(theme->buttons.back(), (TteWindowButtons{kwbSysMenu, kwbClose, kwbMin, kwbMax}));
    delete preview;
    delete theme;
}

TEST_F(ExtThemePreviewTest, WithoutALinkedThemeItIsClassicWhateverTheCurrentTheme) {
    InitThemeFlat();
    ChangeTheme("Flat");
    ui_.RunUntilIdle();
    testing::TFixedLink empty(nullptr);
    TteCustomThemeLink* const links[] = {nullptr, &empty};
    for (TteCustomThemeLink* link : links) {
        Preview* preview = MakePreview(link);
        EXPECT_EQ(ShownAt(preview, 0, 0), Screen(cl3DLight)) << "the raised edge";
        // The caption strip's gradient starts in the active-caption colour.
        EXPECT_EQ(ShownAt(preview, 5, DefaultBorderWidth), Screen(clActiveCaption));
        EXPECT_EQ(ShownAt(preview, 110, 100), Screen(clBtnFace));
        delete preview;
    }
    // The same current theme through a link draws its own window instead.
    testing::TFixedLink flat(CurrentTheme);
    Preview* preview = MakePreview(&flat);
    EXPECT_NE(ShownAt(preview, 5, DefaultBorderWidth), Screen(clActiveCaption));
    delete preview;
}

TEST_F(ExtThemePreviewTest, TheToolsSkinThroughALinkDrawsItsWindowAndButton) {
    InitThemeSkinFile();
    TteTheme* skin = LoadThemeFromFile(testing::DaraSkinPath().string());
    ASSERT_TRUE(skin) << testing::DaraSkinPath();
    testing::TFixedLink link(skin);
    Preview* preview = MakePreview(&link);
    Preview* classic = MakePreview(nullptr);
    classic->SetLeft(240);
    ui_.RunUntilIdle();
    // Where the classic miniature shows its caption and its button face,
    // the skin shows its own.
    int differ = 0;
    for (int x = 20; x < 200; x += 10) differ += ShownAt(preview, x, 12) != ShownAt(classic, x, 12);
    EXPECT_GT(differ, 9) << "the caption";
    int inButton = 0;
    for (int x = 35; x < 180; x += 5) inButton += ShownAt(preview, x, 50) != (Screen(clBtnFace));
    EXPECT_GT(inButton, 0) << "the sample button";
    delete classic;
    delete preview;
    delete skin;
}

}  // namespace
}  // namespace tarvel
