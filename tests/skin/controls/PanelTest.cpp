// The skinned panels: a plain panel without a theme, the theme's content
// margin for aligned children, and the transparent panel.

#include "skin/controls/te_controls_panel.h"

#include <gtest/gtest.h>

#include "RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

// A panel element with a 7-pixel content margin.
class TPanelTheme : public TRecordingTheme {
    TARVEL_CLASS(TPanelTheme, TRecordingTheme)

public:
    bool IsPanelDefined(TtePanelSubclass, const String&) override { return true; }
    bool IsPanelTransparent(TtePanelSubclass, const String&) override { return false; }
    TRect PanelGetClientRect(TtePanelSubclass, const TtePanelInfo& info, const String&) override {
        return TRect{info.Rect.left + 7, info.Rect.top + 7, info.Rect.right - 7, info.Rect.bottom - 7};
    }
    void PanelDraw(TtePanelSubclass, TCanvas& c, const TtePanelInfo& info, const String& obj) override {
        Calls().push_back({"PanelDraw", 0, info.Rect, obj, {}, {}});
        FillRect(c, info.Rect, TColor(0x336699));
    }
    void PanelDrawText(TtePanelSubclass, TCanvas&, const TtePanelInfo&, const TteTextInfo& text,
                       const String& obj) override {
        Calls().push_back({"PanelDrawText", 0, text.Rect, obj, text.Text, {}});
    }
};

class TePanelTest : public SkinControlsTest {
protected:
    // The pixels of a control's client area, row by row.
    std::vector<uint32_t> PixelsOf(TControl* c) {
        ui_.RunUntilIdle();
        const auto screen = ui_.Backend().ScreenPixels();
        std::vector<uint32_t> out;
        const TPoint o = c->ClientToScreen(TPoint{0, 0});
        for (int y = 0; y < c->Height(); ++y)
            for (int x = 0; x < c->Width(); ++x) out.push_back(screen->Pixel(o.x + x, o.y + y) & 0xFFFFFF);
        return out;
    }
};

TEST_F(TePanelTest, WithoutAThemeItLooksAndLaysOutLikeAPlainPanel) {
    TPanel* plain = Make<TPanel>(10, 10);
    TTePanel* skinned = Make<TTePanel>(200, 10);
    for (TPanel* p : {plain, static_cast<TPanel*>(skinned)}) {
        p->SetBounds(p->Left(), p->Top(), 120, 60);
        p->SetCaption("Panel");
        p->SetBevelInner(bvLowered);
        auto* child = new TPanel(form_);
        child->SetParent(p);
        child->SetAlign(alClient);
    }
    ui_.RunUntilIdle();
    EXPECT_EQ(skinned->ClientRect(), plain->ClientRect());
    EXPECT_EQ(skinned->Controls(0)->BoundsRect(), plain->Controls(0)->BoundsRect());
    skinned->Controls(0)->Hide();
    plain->Controls(0)->Hide();
    EXPECT_EQ(PixelsOf(skinned), PixelsOf(plain));
}

TEST_F(TePanelTest, AThemedPanelDrawsItsElementAndKeepsAlignedChildrenInsideTheMargin) {
    auto* theme = new TPanelTheme();
    ChangeTheme(theme);
    TTePanel* p = Make<TTePanel>(10, 10);
    p->SetBevelOuter(bvNone);
    p->SetBounds(10, 10, 120, 60);
    p->SetCaption("Title");
    auto* child = new TPanel(form_);
    child->SetParent(p);
    child->SetAlign(alClient);
    ui_.RunUntilIdle();
    EXPECT_EQ(child->BoundsRect(), (TRect{7, 7, 113, 53}));
    child->Hide();
    theme->Calls().clear();
    p->Invalidate();
    ui_.RunUntilIdle();
    ASSERT_EQ(theme->CallsOf("PanelDraw").size(), 1u);
    EXPECT_EQ(theme->CallsOf("PanelDraw")[0].rect, (TRect{0, 0, 120, 60}));
    const auto texts = theme->CallsOf("PanelDrawText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"Title");
    EXPECT_EQ(texts[0].rect.Width(), 120);
    EXPECT_EQ(ShownAt(p, 60, 3), 0x996633u);  // the colour 0x336699 is blue-green-red
}

TEST_F(TePanelTest, ATransparentPanelShowsItsParentAndNeverItsCaptionOrBevel) {
    form_->SetColor(TColor(0x40A040));
    TTeTransPanel* t = Make<TTeTransPanel>(20, 20);
    t->SetCaption("Hidden");
    t->SetBounds(20, 20, 100, 40);
    const std::vector<uint32_t> pixels = PixelsOf(t);
    for (uint32_t px : pixels) ASSERT_EQ(px, ColorToRGB(TColor(0x40A040)) & 0xFFFFFF);
}

}  // namespace
}  // namespace tarvel
