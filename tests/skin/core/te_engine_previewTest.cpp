// The theme preview: what it repaints on, where its caption buttons stand,
// and what it shows (pictures written for people to look at).
#include <gtest/gtest.h>

#include "platform/winsys/Winsys.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_engine_preview.h"
#include "skin/core/te_winapi.h"
#include "te_themeFixture.h"

namespace tarvel {
namespace {

class TCountingPreview : public TTeThemePreview {
public:
    explicit TCountingPreview(TComponent* owner) : TTeThemePreview(owner) {}
    int Invalidations = 0;
    void Invalidate() override { ++Invalidations; }
};

class ThemePreviewTest : public testing::ThemeCoreTest {
protected:
    // The preview's picture in a white bitmap of its size.
    void Render(TTeThemePreview& preview) {
        picture.SetSize(preview.Width(), preview.Height());
        picture.Clear(0xFFFFFFFF);
        preview.Canvas()->SetHandle(picture.DC());
        preview.PaintBuffer();
        preview.Canvas()->SetHandle(HDC{});
    }
    uint32_t At(int x, int y) const { return picture.GetPixel(x, y) & 0xFFFFFF; }
    // A colour as the picture holds it (0xRRGGBB).
    static uint32_t Pixel(TColor c) { return FromRGB(ColorToRGB(c)) & 0xFFFFFF; }
    void Save(const char* name) const {
        const String path = String(TARVEL_BINARY_DIR) + "/" + name;
        ASSERT_TRUE(WritePng(*GetBitmapSurface(picture.Handle()), path.c_str()));
    }
    TteBitmap picture;
};

TEST_F(ThemePreviewTest, RepaintsOnItsOwnLinkAndOnThemeChangesOnly) {
    TTeThemeLink link(nullptr), other(nullptr);
    TCountingPreview preview(nullptr);
    EXPECT_EQ(preview.Width(), 100);
    EXPECT_EQ(preview.Height(), 100);
    preview.SetThemeLink(&link);
    EXPECT_EQ(preview.Invalidations, 1);
    preview.SetThemeLink(&link);  // the same link: nothing
    EXPECT_EQ(preview.Invalidations, 1);

    link.SetThemeBuilding("Flat");
    EXPECT_EQ(preview.Invalidations, 2);
    other.SetThemeBuilding("Flat");
    EXPECT_EQ(preview.Invalidations, 2);

    const struct {
        TteThemeMessageCode code;
        int more;
    } codes[] = {{tmBeforeChange, 0}, {tmAfterChange, 0}, {tmChanged, 1},
                 {tmApply, 1},        {tmReleased, 1},    {tmSystemChanged, 1}};
    for (const auto& c : codes) {
        const int before = preview.Invalidations;
        ThemeManager->Broadcast(SNM_THEMEMESSAGE, c.code, 0);
        EXPECT_EQ(preview.Invalidations, before + c.more) << int(c.code);
    }
    RemoveThemeNotification(&preview);  // gone from the manager, as its destructor would
    UpdateLinkedControls(&link);
}

TEST_F(ThemePreviewTest, AFreedLinkIsForgotten) {
    auto* link = new TTeThemeLink(nullptr);
    TCountingPreview preview(nullptr);
    preview.SetThemeLink(link);
    delete link;
    EXPECT_EQ(preview.ThemeLink(), nullptr);
}

TEST_F(ThemePreviewTest, ClassicCaptionButtonsStandRightToLeft) {
    TTeThemePreview preview(nullptr);
    const TteFrameMetrics m = SystemFrameMetrics();
    const TRect f{5, 23, 95, 95};
    const int h = f.top - (m.BorderWidth + 1);
    const TRect close = preview.GetCaptionButtonRect(kbiClose, f);
    EXPECT_EQ(close.right, f.right - 2);
    EXPECT_EQ(close.top, m.BorderWidth + 3);
    EXPECT_EQ(close.Width(), h - 2);
    EXPECT_EQ(close.Height(), h - 4);
    const TTeBorderIcon order[] = {kbiClose, kbiMaximize, kbiMinimize, kbiRollup, kbiTray, kbiHelp};
    const int gaps[] = {2, 2, 4, 2, 4};
    for (int i = 0; i + 1 < 6; ++i) {
        const TRect right = preview.GetCaptionButtonRect(order[i], f);
        const TRect left = preview.GetCaptionButtonRect(order[i + 1], f);
        EXPECT_EQ(right.left - left.right, gaps[i]) << i;
        EXPECT_EQ(left.top, right.top);
    }
    EXPECT_EQ(preview.GetCaptionButtonRect(kbiSystemMenu, f), (TRect{5, m.BorderWidth + 1, 5 + h, 23}));
    EXPECT_EQ(preview.GetCaptionButtonRect(kbiTop, f), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(preview.GetCaptionButtonRect(kbiCustom, f), (TRect{0, 0, 0, 0}));
}

TEST_F(ThemePreviewTest, WithoutAThemeItShowsTheClassicMiniature) {
    ASSERT_FALSE(UseThemes());
    TTeThemePreview preview(nullptr);
    preview.SetBounds(0, 0, 220, 140);
    Render(preview);
    EXPECT_EQ(At(0, 0), Pixel(cl3DLight));  // the raised edge
    EXPECT_EQ(At(219, 139), Pixel(cl3DDkShadow));
    const TteFrameMetrics m = SystemFrameMetrics();
    // The caption band starts in the active-caption colour at its left edge.
    EXPECT_EQ(At(5, m.BorderWidth + 1), Pixel(clActiveCaption));
    EXPECT_EQ(At(110, 100), Pixel(clBtnFace));
    Save("skin_theme_preview_classic.png");
}

TEST_F(ThemePreviewTest, WithALinkedThemeItShowsThatThemesWindow) {
    TTeThemeLink link(nullptr);
    link.SetThemeBuilding("Flat");
    TTeThemePreview preview(nullptr);
    preview.SetBounds(0, 0, 220, 140);
    preview.SetThemeLink(&link);
    Render(preview);
    EXPECT_EQ(At(0, 50), 0u);                 // the frame's black line
    EXPECT_EQ(At(10, 8), 0x0000FFu);          // the active caption band
    EXPECT_EQ(At(100, 100), 0xFFFFFFu);       // the theme's own window colour
    EXPECT_EQ(At(30, 38), 0u);                // the inner button's frame
    EXPECT_EQ(At(33, 41), Pixel(clBtnFace));  // and its face
    Save("skin_theme_preview_flat.png");
}

}  // namespace
}  // namespace tarvel
