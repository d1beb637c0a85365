// The speed button: groups and AllowAllUp, dragging off and back, the
// auto-repeat on the test clock, the chevron, the tool states it asks the
// theme for, the glyph and caption layout, and the action link's group.

#include "skin/controls/te_controls_speedbutton.h"

#include "platform/classlib/ActnList.h"

#include <gtest/gtest.h>

#include <functional>

#include "RecordingThemeFixture.h"
#include "tests/skin/controls/GalleryForms.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

// Notes the tool items the buttons ask for.
class TToolRecordingTheme : public TRecordingTheme {
    TARVEL_CLASS(TToolRecordingTheme, TRecordingTheme)

public:
    bool IsToolDefined(TteToolSubclass, const String&) override { return true; }
    void ToolDrawItem(TteToolSubclass, TCanvas&, const TteToolItemInfo& info, const String& obj) override {
        Calls().push_back({info.ItemClass == kticComboDropDown ? "ToolDrawChevron" : "ToolDrawItem",
                           info.DrawState,
                           info.Rect,
                           obj,
                           {},
                           {}});
    }
    void ToolDrawItemText(TteToolSubclass, TCanvas&, const TteToolItemInfo& info, const TteTextInfo& text,
                          const String& obj) override {
        Calls().push_back({"ToolDrawItemText", info.DrawState, text.Rect, obj, text.Text, {}});
    }
    void ToolDrawItemGlyph(TteToolSubclass, TCanvas&, const TteToolItemInfo& info,
                           const TteToolGlyphInfo& glyph, const String& obj) override {
        Calls().push_back(
            {"ToolDrawItemGlyph", info.DrawState, glyph.Rect, obj, {}, testing::PixelsOf(glyph.Bitmap)});
    }
};

// A menu that notes where it was asked to open instead of tracking.
class TNotingMenu : public TPopupMenu {
    TARVEL_CLASS(TNotingMenu, TPopupMenu)

public:
    using TPopupMenu::TPopupMenu;
    void Popup(int x, int y) override { opened.push_back(TPoint{x, y}); }
    std::vector<TPoint> opened;
};

class TeSpeedButtonTest : public SkinControlsTest {
protected:
    TTeSpeedButton* MakeSpeed(int left, int top, int group = 0) {
        TTeSpeedButton* b = Make<TTeSpeedButton>(left, top);
        b->SetGroupIndex(group);
        b->OnClick = [this, b](TObject*) { clicked_.push_back(b); };
        return b;
    }
    void ClickOn(TControl* c) {
        Down(c, {10, 10});
        Up(c, {10, 10});
    }
    std::vector<TTeSpeedButton*> clicked_;
};

TEST_F(TeSpeedButtonTest, AGroupLatchesOneButtonAndOnlyAllowAllUpReleasesIt) {
    for (bool allowAllUp : {false, true}) {
        SCOPED_TRACE(allowAllUp ? "AllowAllUp" : "not AllowAllUp");
        TTeSpeedButton* a = MakeSpeed(10, 10, 1);
        TTeSpeedButton* b = MakeSpeed(50, 10, 1);
        TTeSpeedButton* other = MakeSpeed(90, 10, 2);
        other->SetDown(true);
        // Set on one, the flag reaches the whole group.
        b->SetAllowAllUp(allowAllUp);
        EXPECT_EQ(a->AllowAllUp(), allowAllUp);

        ClickOn(a);
        EXPECT_TRUE(a->Down());
        ClickOn(b);
        EXPECT_FALSE(a->Down());
        EXPECT_TRUE(b->Down());
        EXPECT_TRUE(other->Down()) << "another group is left alone";
        ClickOn(b);
        EXPECT_EQ(b->Down(), !allowAllUp);
        EXPECT_EQ(clicked_.size(), 3u) << "every release on the face clicks";
        clicked_.clear();
        delete a;
        delete b;
        delete other;
    }
}

TEST_F(TeSpeedButtonTest, DraggingOffAndReleasingDoesNotClickButComingBackPressesAgain) {
    TTeSpeedButton* b = MakeSpeed(10, 10);
    Down(b, {10, 10});
    EXPECT_EQ(b->State(), ksbsDown);
    MoveTo(b, {60, 10});
    EXPECT_EQ(b->State(), ksbsUp);
    MoveTo(b, {12, 12});
    EXPECT_EQ(b->State(), ksbsDown);
    MoveTo(b, {60, 60});
    Up(b, {60, 60});
    EXPECT_TRUE(clicked_.empty());
    // The bottom row y = height still counts as on the button; x = width does not.
    Down(b, {10, 10});
    Up(b, {10, 29});
    EXPECT_EQ(clicked_.size(), 1u);
}

TEST_F(TeSpeedButtonTest, HoldingARepeatingButtonClicksAfter400msThenEvery100msUntilReleased) {
    TTeSpeedButton* b = MakeSpeed(10, 10);
    b->SetAllowTimer(true);
    Down(b, {10, 10});
    struct Step {
        uint32_t advance;
        size_t clicks;
    };
    const Step steps[] = {{390, 0}, {20, 1}, {80, 1}, {20, 2}, {100, 3}, {100, 4}};
    for (const Step& s : steps) {
        ui_.AdvanceClock(s.advance);
        EXPECT_EQ(clicked_.size(), s.clicks) << "after " << s.advance;
    }
    Up(b, {10, 10});
    EXPECT_EQ(clicked_.size(), 5u) << "the release clicks once more";
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_FALSE(b->RepeatTimer()->Enabled());
    ui_.AdvanceClock(1000);
    EXPECT_EQ(clicked_.size(), 5u);

    // Held off the face, the timer runs but does not click.
    Down(b, {10, 10});
    MoveTo(b, {80, 80});
    ui_.AdvanceClock(1000);
    EXPECT_EQ(clicked_.size(), 5u);
    Up(b, {80, 80});
}

TEST_F(TeSpeedButtonTest, TheChevronWidensTheButtonAndOpensItsMenuNeverClicking) {
    TTeSpeedButton* b = MakeSpeed(10, 10);
    auto* menu = new TNotingMenu(form_);
    b->SetChevronMenu(menu);
    int chevronClicks = 0;
    b->OnChevronClick = [&](TObject*) { ++chevronClicks; };
    b->SetShowChevron(true);
    EXPECT_EQ(b->Width(), 29 + 14);
    EXPECT_EQ(b->GetChevronRect(), (TRect{29, 0, 43, 29}));
    EXPECT_EQ(b->GetChevronArrowRect(), (TRect{33, 13, 38, 16}));

    Down(b, {35, 10});
    EXPECT_EQ(chevronClicks, 1);
    EXPECT_EQ(b->State(), ksbsChevronDown);
    EXPECT_TRUE(menu->opened.empty()) << "the menu waits for the release";
    Up(b, {35, 10});
    ASSERT_EQ(menu->opened.size(), 1u);
    EXPECT_EQ(menu->opened[0], b->ClientToScreen(TPoint{0, 29}));
    EXPECT_TRUE(clicked_.empty());
    EXPECT_EQ(b->State(), ksbsUp);

    b->SetMenuPosition(dmpRight);
    Down(b, {35, 10});
    Up(b, {35, 10});
    ASSERT_EQ(menu->opened.size(), 2u);
    EXPECT_EQ(menu->opened[1], b->ClientToScreen(TPoint{43, -1}));
    b->SetShowChevron(false);
    EXPECT_EQ(b->Width(), 29);
}

TEST_F(TeSpeedButtonTest, EachConditionAsksTheThemeForItsToolState) {
    struct Case {
        const char* name;
        std::function<void(TeSpeedButtonTest&, TTeSpeedButton*)> setUp;
        TteToolItemDrawState state;
    };
    const Case cases[] = {
        {"normal", [](TeSpeedButtonTest&, TTeSpeedButton*) {}, mtidsNormal},
        {"disabled", [](TeSpeedButtonTest&, TTeSpeedButton* b) { b->SetEnabled(false); }, mtidsDisabled},
        {"hot",
         [](TeSpeedButtonTest& t, TTeSpeedButton* b) {
             t.MoveTo(b, {5, 5});
         },
         mtidsHot},
        {"pressed",
         [](TeSpeedButtonTest& t, TTeSpeedButton* b) {
             t.Down(b, {5, 5});
         },
         mtidsPressed},
        {"latched in a group",
         [](TeSpeedButtonTest&, TTeSpeedButton* b) {
             b->SetGroupIndex(3);
             b->SetDown(true);
         },
         mtidsChecked},
        {"latched and hot",
         [](TeSpeedButtonTest& t, TTeSpeedButton* b) {
             b->SetGroupIndex(3);
             b->SetDown(true);
             t.MoveTo(b, {5, 5});
         },
         mtidsCheckedHot},
        {"down without a group, mouse elsewhere",
         [](TeSpeedButtonTest&, TTeSpeedButton* b) { b->SetDown(true); }, mtidsNormal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* theme = new TToolRecordingTheme();
        ChangeTheme(theme);
        TTeSpeedButton* b = MakeSpeed(20, 20);
        b->SetCaption(u"Go");
        MoveTo(form_, {390, 290});
        c.setUp(*this, b);
        ui_.RunUntilIdle();
        theme->Calls().clear();
        b->Invalidate();
        ui_.RunUntilIdle();
        const auto items = theme->CallsOf("ToolDrawItem");
        ASSERT_FALSE(items.empty());
        EXPECT_EQ(items.back().state, c.state);
        EXPECT_EQ(items.back().rect, (TRect{0, 0, 29, 29}));
        const auto texts = theme->CallsOf("ToolDrawItemText");
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back().text, u"Go");
        Up(b, {5, 5});
        delete b;
    }
}

TEST_F(TeSpeedButtonTest, TheImageListGivesTheNormalHotOrDisabledImage) {
    auto* theme = new TToolRecordingTheme();
    ChangeTheme(theme);
    // Lightness 0.5, 0.5, 0.25 and 0: a one-cell glyph of a disabled button
    // is greyed to 160 + 50 x lightness, so each image keeps its own grey.
    TImageList* images = testing::SquareImages(form_, {clRed, clLime, clNavy, clBlack});
    struct Case {
        const char* name;
        int hotIndex, disabledIndex;
        bool hot, enabled;
        uint32_t centre;
    };
    auto grey = [](uint32_t level) { return level << 16 | level << 8 | level; };
    const Case cases[] = {
        {"normal", 1, 2, false, true, testing::Rgb(clRed)},
        {"hot with a hot image", 1, 2, true, true, testing::Rgb(clLime)},
        {"hot without one", -1, 2, true, true, testing::Rgb(clRed)},
        {"disabled with a disabled image", 1, 2, false, false, grey(173)},
        {"disabled beats hot", 1, 3, true, false, grey(160)},
        {"disabled without one: the normal image", 1, -1, false, false, grey(185)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeSpeedButton* b = MakeSpeed(20, 20);
        b->SetImages(images);
        b->SetImageIndex(0);
        b->SetImageHotIndex(c.hotIndex);
        b->SetImageDisabledIndex(c.disabledIndex);
        b->SetEnabled(c.enabled);
        MoveTo(c.hot ? static_cast<TControl*>(b) : form_, c.hot ? TPoint{5, 5} : TPoint{390, 290});
        ui_.RunUntilIdle();
        theme->Calls().clear();
        b->Invalidate();
        ui_.RunUntilIdle();
        const auto glyphs = theme->CallsOf("ToolDrawItemGlyph");
        ASSERT_EQ(glyphs.size(), 1u);
        ASSERT_EQ(glyphs[0].glyph.size(), 256u);
        EXPECT_EQ(glyphs[0].rect.Width(), 16);
        EXPECT_EQ(glyphs[0].glyph[0], teKeyColor);
        EXPECT_EQ(glyphs[0].glyph[8 * 16 + 8] & 0xFFFFFF, c.centre);
        delete b;
    }
    // An index past the list shows no glyph and leaves the caption alone.
    TTeSpeedButton* b = MakeSpeed(20, 20);
    b->SetImages(images);
    b->SetImageIndex(4);
    b->SetCaption(u"Go");
    EXPECT_EQ(b->GetGlyphSize(), (TSize{0, 0}));
    RepaintRecorded(theme, b);
    EXPECT_TRUE(theme->CallsOf("ToolDrawItemGlyph").empty());
    EXPECT_FALSE(theme->CallsOf("ToolDrawItemText").empty());
}

TEST_F(TeSpeedButtonTest, AClassicFlatButtonShowsAnEdgeOnlyWhenHotPressedOrLatched) {
    const uint32_t light = testing::Rgb(clBtnHighlight), dark = testing::Rgb(clBtnShadow),
                   face = testing::Rgb(clBtnFace), paper = testing::Rgb(clWhite);
    struct Case {
        const char* name;
        std::function<void(TeSpeedButtonTest&, TTeSpeedButton*)> setUp;
        uint32_t topLeft, bottomRight;  // the corners of the edge, or the paper without one
        bool halftone;                  // the inside checkered in face and highlight
    };
    const Case cases[] = {
        {"resting", [](TeSpeedButtonTest&, TTeSpeedButton*) {}, paper, paper, false},
        {"disabled and hot",
         [](TeSpeedButtonTest& t, TTeSpeedButton* b) {
             b->SetEnabled(false);
             t.MoveTo(b, {5, 5});
         },
         paper, paper, false},
        {"hot: raised",
         [](TeSpeedButtonTest& t, TTeSpeedButton* b) {
             t.MoveTo(b, {5, 5});
         },
         light, dark, false},
        {"pressed: sunken",
         [](TeSpeedButtonTest& t, TTeSpeedButton* b) {
             t.Down(b, {5, 5});
         },
         dark, light, false},
        {"latched: sunken on a halftone",
         [](TeSpeedButtonTest&, TTeSpeedButton* b) {
             b->SetGroupIndex(2);
             b->SetDown(true);
         },
         dark, light, true},
        {"latched and hot: no halftone",
         [](TeSpeedButtonTest& t, TTeSpeedButton* b) {
             b->SetGroupIndex(2);
             b->SetDown(true);
             t.MoveTo(b, {5, 5});
         },
         dark, light, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeSpeedButton* b = MakeSpeed(20, 20);
        MoveTo(form_, {390, 290});
        c.setUp(*this, b);
        EXPECT_EQ(ShownAt(b, 0, 0), c.topLeft);
        EXPECT_EQ(ShownAt(b, 28, 28), c.bottomRight);
        const uint32_t a = ShownAt(b, 10, 10), n = ShownAt(b, 11, 10);
        if (c.halftone) {
            EXPECT_NE(a, n);
            EXPECT_TRUE((a == face && n == light) || (a == light && n == face));
        } else {
            EXPECT_EQ(a, n);
        }
        Up(b, {5, 5});
        delete b;
    }
}

TEST_F(TeSpeedButtonTest, TheClassicChevronArrowIsAFilledTriangleOrEtchedWhenDisabled) {
    TTeSpeedButton* b = MakeSpeed(20, 20);
    b->SetShowChevron(true);
    MoveTo(form_, {390, 290});
    // 5 x 3 at 10 pixels from the chevron's right edge, halfway down.
    const TRect arrow = b->GetChevronArrowRect();
    EXPECT_EQ(arrow, (TRect{43 - 10, 13, 43 - 10 + 5, 16}));
    const uint32_t text = testing::Rgb(clBtnText), paper = testing::Rgb(clWhite);
    const int l = arrow.left, t = arrow.top;
    struct Pixel {
        int x, y;
        uint32_t enabled;
    };
    // Rows of 5, 3 and 1 pixels.
    const Pixel pixels[] = {{l, t, text},          {l + 4, t, text},      {l + 1, t + 1, text},
                            {l + 2, t + 1, text},  {l + 3, t + 1, text},  {l + 2, t + 2, text},
                            {l, t + 1, paper},     {l + 4, t + 1, paper}, {l + 1, t + 2, paper},
                            {l + 3, t + 2, paper}, {l - 1, t, paper},     {l + 2, t - 1, paper}};
    for (const Pixel& p : pixels) EXPECT_EQ(ShownAt(b, p.x, p.y), p.enabled) << p.x << "," << p.y;
    b->SetEnabled(false);
    EXPECT_EQ(ShownAt(b, l, t), testing::Rgb(clBtnShadow)) << "the top edge";
    EXPECT_EQ(ShownAt(b, l + 2, t), testing::Rgb(clBtnShadow));
    EXPECT_EQ(ShownAt(b, l + 3, t + 1), testing::Rgb(clBtnHighlight)) << "the right slope";
    EXPECT_EQ(ShownAt(b, l + 2, t + 1), paper) << "hollow";
}

TEST_F(TeSpeedButtonTest, AClassicGlyphDrawsItsFixedButtonColoursInTheSystemOnes) {
    const uint32_t paper = testing::Rgb(clWhite);
    struct Probe {
        int x, y;  // in the glyph
        uint32_t shown;
    };
    struct Case {
        const char* name;
        TColor key, ground;  // the bottom-left pixel, the square inside
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // A light grey square with a black arrow on a fuchsia key (the
        // gallery's glyph).
        {"face and text",
         clFuchsia,
         clSilver,
         {{0, 15, paper}, {3, 3, testing::Rgb(clBtnFace)}, {8, 6, testing::Rgb(clBtnText)}}},
        // Light grey is the key here: the 0xDFDFDF square must still show,
        // although the scheme maps it to the same colour as the key.
        {"light grey key", clSilver, TColor(0xDFDFDF), {{0, 15, paper}, {3, 3, testing::Rgb(cl3DLight)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap glyph;
        testing::ArrowGlyph(glyph, c.key, c.ground);
        TTeSpeedButton* b = MakeSpeed(20, 20);
        b->SetGlyph(&glyph);
        MoveTo(form_, {390, 290});
        const TRect at = b->GetGlyphRect();
        for (const Probe& p : c.probes)
            EXPECT_EQ(ShownAt(b, at.left + p.x, at.top + p.y), p.shown) << p.x << "," << p.y;
        delete b;
    }
}

TEST_F(TeSpeedButtonTest, AThemedGlyphTakesTheThemesButtonColours) {
    auto* theme = new TToolRecordingTheme();
    ChangeTheme(theme);
    ASSERT_NE(theme->SysColors(), nullptr);
    theme->SysColors()->SetColor(clBtnFace, TColor(0x00A06040));
    TBitmap glyph;
    testing::ArrowGlyph(glyph, clFuchsia, clSilver);
    TTeSpeedButton* b = MakeSpeed(20, 20);
    b->SetGlyph(&glyph);
    RepaintRecorded(theme, b);
    const auto glyphs = theme->CallsOf("ToolDrawItemGlyph");
    ASSERT_EQ(glyphs.size(), 1u);
    ASSERT_EQ(glyphs[0].glyph.size(), 256u);
    EXPECT_EQ(glyphs[0].glyph[3 * 16 + 3] & 0xFFFFFF, 0x4060A0u);
    delete b;
}

TEST_F(TeSpeedButtonTest, AClassicDividerIsAnEtchedLineInItsMiddle) {
    auto* d = Make<TTeSpeedDivider>(20, 20);
    d->SetHeight(30);
    const uint32_t paper = testing::Rgb(clWhite);
    const uint32_t expected[8] = {
        paper, paper, paper, testing::Rgb(clBtnShadow), testing::Rgb(clBtnHighlight), paper, paper, paper};
    for (int y : {0, 15, 29})
        for (int x = 0; x < 8; ++x) EXPECT_EQ(ShownAt(d, x, y), expected[x]) << x << "," << y;
}

TEST_F(TeSpeedButtonTest, ReservedCaptionsDrawSpinArrowsInsteadOfText) {
    TRecordingTheme* theme = UseRecordingTheme();
    TTeSpeedButton* b = MakeSpeed(20, 20);
    b->SetCaption(kSpeedCaptionLeft);
    ui_.RunUntilIdle();
    theme->Calls().clear();
    b->Invalidate();
    ui_.RunUntilIdle();
    const auto faces = theme->CallsOf("ButtonDraw");
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].rect, (TRect{0, 0, 29, 29}));
    EXPECT_TRUE(theme->CallsOf("ToolDrawItemText").empty());
}

TEST_F(TeSpeedButtonTest, GlyphAndCaptionRectanglesFollowLayoutMarginAndSpacing) {
    TTeSpeedButton* b = MakeSpeed(10, 10);
    b->SetBounds(10, 10, 100, 40);
    TBitmap glyph(16, 16);
    b->SetGlyph(&glyph);
    b->SetCaption(u"Caption");
    const TSize c = b->GetCaptionSize();
    ASSERT_GT(c.cx, 0);
    struct Case {
        TButtonLayout layout;
        int margin, spacing;
        TRect glyph;
        TPoint caption;  // the caption's top-left
    };
    const int gl = (100 - 16 - 4 - c.cx) / 2, gt = (40 - 16 - 4 - c.cy) / 2;
    const Case cases[] = {
        {blGlyphLeft, -1, 4, {gl, 12, gl + 16, 28}, {gl + 16 + 4, (40 - c.cy) / 2}},
        {blGlyphLeft, 3, 4, {3, 12, 19, 28}, {23, (40 - c.cy) / 2}},
        {blGlyphLeft,
         -1,
         -1,
         {(100 - 16 - c.cx) / 3, 12, (100 - 16 - c.cx) / 3 + 16, 28},
         {(100 - 16 - c.cx) / 3 + 16 + (100 - (100 - 16 - c.cx) / 3 - 16 - c.cx) / 2, (40 - c.cy) / 2}},
        {blGlyphRight,
         -1,
         4,
         {100 - gl - 16 - 1, 12, 100 - gl - 1, 28},
         {100 - gl - 16 - 1 - 4 - c.cx, (40 - c.cy) / 2}},
        {blGlyphTop, -1, 4, {42, gt, 58, gt + 16}, {(100 - c.cx) / 2, gt + 16 + 4}},
        {blGlyphBottom,
         -1,
         4,
         {42, 40 - gt - 16 - 1, 58, 40 - gt - 1},
         {(100 - c.cx) / 2, 40 - gt - 16 - 1 - 4 - c.cy}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "layout " << k.layout << " margin " << k.margin << " spacing " << k.spacing);
        b->SetLayout(k.layout);
        b->SetMargin(k.margin);
        b->SetSpacing(k.spacing);
        EXPECT_EQ(b->GetGlyphRect(), k.glyph);
        const TRect cap = b->GetCaptionRect();
        EXPECT_EQ((TPoint{cap.left, cap.top}), k.caption);
        EXPECT_EQ(cap.Width(), c.cx);
    }
    // Without a glyph the caption sits in the middle.
    b->SetShowGlyph(false);
    const TRect cap = b->GetCaptionRect();
    EXPECT_EQ((TPoint{cap.left, cap.top}), (TPoint{(100 - c.cx) / 2, (40 - c.cy) / 2}));
}

TEST_F(TeSpeedButtonTest, AnActionLinkedButtonKeepsOutOfRealGroupsAndItsSwallowedReleaseStopsTheRepeat) {
    TTeSpeedButton* grouped = MakeSpeed(10, 10, 1);
    grouped->SetDown(true);
    TTeSpeedButton* linked = MakeSpeed(50, 10);
    linked->SetAllowTimer(true);
    TTeSpeedButton* linked2 = MakeSpeed(90, 10);
    auto* action = new TAction(form_);
    auto* action2 = new TAction(form_);
    linked->SetAction(action);
    linked2->SetAction(action2);
    ASSERT_NE(dynamic_cast<TTeSpeedButtonActionLink*>(action->Clients(0)), nullptr);

    Down(linked, {10, 10});
    action->SetChecked(true);
    action2->SetChecked(true);
    EXPECT_TRUE(linked->Down());
    EXPECT_TRUE(linked2->Down()) << "each link has a group of its own";
    EXPECT_TRUE(grouped->Down());
    EXPECT_NE(linked->GroupIndex(), linked2->GroupIndex());
    EXPECT_TRUE(linked->AllowAllUp());

    Up(linked, {10, 10});
    EXPECT_TRUE(clicked_.empty()) << "the release after the action's change is swallowed";
    ASSERT_NE(linked->RepeatTimer(), nullptr);
    EXPECT_FALSE(linked->RepeatTimer()->Enabled());
    ClickOn(linked);
    EXPECT_FALSE(linked->Down()) << "AllowAllUp lets the next click release it";
}

TEST_F(TeSpeedButtonTest, ALinkedActionGivesDownCaptionAndClick) {
    auto* action = new TAction(form_);
    action->SetCaption("Poll");
    action->SetChecked(true);
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    TTeSpeedButton* b = MakeSpeed(10, 10);
    b->SetAction(action);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(b->GetCaption(), u"Poll");
    action->SetCaption("Stop");
    EXPECT_EQ(b->GetCaption(), u"Stop");
    ClickOn(b);
    EXPECT_EQ(executed, 1);
    EXPECT_TRUE(clicked_.empty());
}

}  // namespace
}  // namespace tarvel
