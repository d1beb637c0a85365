// Pictures of a skin object, the divider and the transparent panel: what
// they show with and without a loaded skin, and the sizes they take.

#include "skin/extras/te_extended.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ExtraSkinFixture.h"
#include "platform/classlib/Bitmaps.h"
#include "skin/core/te_theme_manager.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;

constexpr TColor kFormColor = TColor(0x40A040);
constexpr TColor kOwnColor = TColor(0x2060C0);
constexpr TColor kSkinColor = TColor(0x0000FF);

class PictureTest : public SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        form_->SetColor(kFormColor);
    }
    // A loaded skin with a 30 x 12 "Picture" and a 100 x 2 "Divider".
    void UseSkin() {
        TteTheme* skin = testing::MakeSkinTheme(
            {{"Picture", kSkinColor, TRect{0, 0, 30, 12}}, {"Divider", kSkinColor, TRect{0, 0, 100, 2}}});
        ASSERT_NE(skin, nullptr);
        ChangeTheme(skin);
        ui_.RunUntilIdle();
    }
    static uint32_t Rgb(TColor color) {
        const uint32_t bgr = ColorToRGB(color);
        return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    }
    // Whether every pixel the control shows is that colour.
    bool ShowsOnly(TControl* c, TColor color) {
        const auto px = Shown(c);
        return !px.empty() && std::all_of(px.begin(), px.end(), [&](uint32_t p) { return p == Rgb(color); });
    }
};

TEST_F(PictureTest, WithoutASkinAPictureShowsOnlyItsBackgroundAndHasNoPicture) {
    struct Case {
        bool transparent;
        TColor shown;
    };
    for (const Case& c : {Case{true, kFormColor}, Case{false, kOwnColor}}) {
        SCOPED_TRACE(c.transparent);
        auto* p = Make<TTePicture>(10, 10);
        p->SetBounds(10, 10, 40, 20);
        p->SetColor(kOwnColor);
        p->SetTransparent(c.transparent);
        EXPECT_EQ(p->GetPicture(), nullptr);
        EXPECT_TRUE(ShowsOnly(p, c.shown));
        delete p;
    }
    // A theme that is no skin gives no object either.
    testing::SkinControlsTest::UseRecordingTheme();
    auto* p = Make<TTePicture>(10, 10);
    EXPECT_EQ(p->GetPicture(), nullptr);
    EXPECT_EQ(p->SkinObject(), nullptr);
}

TEST_F(PictureTest, ALoadedSkinGivesThePictureItsObjectSizeAndLooks) {
    auto* p = Make<TTePicture>(10, 10);
    UseSkin();
    ASSERT_NE(p->SkinObject(), nullptr);
    ASSERT_NE(p->GetPicture(), nullptr);
    EXPECT_EQ(p->GetPicture()->Width(), 30);
    EXPECT_EQ(p->GetPicture()->Height(), 12);
    EXPECT_EQ(p->BoundsRect(), (TRect{10, 10, 40, 22}));
    EXPECT_TRUE(ShowsOnly(p, kSkinColor));
    // An unknown name keeps the object shown until the theme changes.
    p->SetThemeObject("Nothing");
    EXPECT_TRUE(ShowsOnly(p, kSkinColor));
    ThemeManager->ReleaseTheme();
    ui_.RunUntilIdle();
    EXPECT_EQ(p->SkinObject(), nullptr);
    EXPECT_EQ(p->GetPicture(), nullptr);
    EXPECT_TRUE(ShowsOnly(p, kFormColor));
}

TEST_F(PictureTest, APictureSetByHandIsOwnedReplacedAndSizesTheControl) {
    auto* p = Make<TTeCustomPicture>(10, 10);
    p->SetBounds(10, 10, 5, 5);
    auto make = [](int w, int h) {
        auto picture = std::make_unique<TPicture>();
        TBitmap bitmap(w, h);
        picture->SetGraphic(&bitmap);
        return picture;
    };
    p->SetPicture(make(40, 20));
    p->SetPicture(make(24, 16));  // the first one is freed here
    p->SetAutoSize(true);
    EXPECT_EQ(p->BoundsRect(), (TRect{10, 10, 34, 26}));
    p->SetTranparentPicture(true);
    EXPECT_TRUE(p->GetPicture()->Graphic()->Transparent());
    p->SetPicture(nullptr);
    p->AdjustBounds();
    EXPECT_EQ(p->BoundsRect(), (TRect{10, 10, 34, 26}));
}

TEST_F(PictureTest, TheDividerTakesTheSkinLineWithItsSpaceAcrossIt) {
    struct Case {
        TTeDividerOrientation orientation;
        TAlign align;
        int width;  // -1: spans the form
        int height;
        TRect client;
    };
    const int spanW = form_->ClientWidth(), spanH = form_->ClientHeight();
    const Case cases[] = {
        {sdHorizontal, alTop, -1, 10, TRect{0, 4, spanW, 6}},
        {sdVertical, alLeft, 108, -1, TRect{4, 0, 104, spanH}},
        {sdNone, alNone, 108, 10, TRect{4, 4, 104, 6}},
    };
    UseSkin();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        auto* d = Make<TTeDivider>(0, 0);
        d->SetSpace(4);
        d->SetOrientation(c.orientation);
        EXPECT_EQ(d->Align(), c.align);
        d->AdjustBounds();
        ui_.RunUntilIdle();
        EXPECT_EQ(d->Width(), c.width < 0 ? spanW : c.width);
        EXPECT_EQ(d->Height(), c.height < 0 ? spanH : c.height);
        EXPECT_EQ(d->ClientRect(), c.client);
        // The line fills the client rectangle; the space shows the parent.
        EXPECT_EQ(ShownAt(d, c.client.left + 1, c.client.top + 1), Rgb(kSkinColor));
        EXPECT_EQ(ShownAt(d, 0, 0), Rgb(kFormColor));
        delete d;
    }
}

TEST_F(PictureTest, TheTransparentPanelShowsItsParentOrItsOwnColour) {
    for (const bool transparent : {true, false}) {
        SCOPED_TRACE(transparent);
        auto* panel = Make<TTeTransparentPanel>(20, 20);
        panel->SetBounds(20, 20, 60, 30);
        panel->SetColor(kOwnColor);
        panel->SetTransparent(transparent);
        EXPECT_TRUE(panel->ControlStyle.Contains(csAcceptsControls));
        EXPECT_TRUE(ShowsOnly(panel, transparent ? kFormColor : kOwnColor));
        delete panel;
    }
}

}  // namespace
}  // namespace tarvel
