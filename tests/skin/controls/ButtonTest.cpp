// The skinned push button: the states it asks the theme for, the kinds,
// the glyph cells, Enter and Escape on a form, and mouse tracking.

#include "skin/controls/te_controls_button.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "RecordingThemeFixture.h"
#include "platform/classlib/ActnList.h"
#include "platform/classlib/StdCtrls_Edit.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

class TeButtonTest : public SkinControlsTest {
protected:
    TTeButton* MakeButton(int left = 20, int top = 20) {
        TTeButton* b = Make<TTeButton>(left, top);
        b->SetCaption(u"Go");
        b->OnClick = [this, b](TObject*) { clicked_.push_back(b); };
        ui_.RunUntilIdle();
        return b;
    }
    std::vector<TTeButton*> clicked_;
};

TEST_F(TeButtonTest, EachConditionAsksTheThemeForItsFaceAndTextState) {
    struct Case {
        const char* name;
        std::function<void(TeButtonTest&, TTeButton*, TEdit*)> setUp;
        TteButtonDrawState face;
        TteButtonDrawState text;
    };
    const Case cases[] = {
        {"normal", [](TeButtonTest&, TTeButton*, TEdit* e) { e->SetFocus(); }, kbdsNormal, kbdsNormal},
        {"disabled", [](TeButtonTest&, TTeButton* b, TEdit*) { b->SetEnabled(false); }, kbdsDisabled,
         kbdsDisabled},
        {"hot",
         [](TeButtonTest& t, TTeButton* b, TEdit* e) {
             e->SetFocus();
             t.MoveTo(b, {5, 5});
         },
         kbdsHot, kbdsHot},
        {"pressed beats hot and focused",
         [](TeButtonTest& t, TTeButton* b, TEdit*) {
             t.Down(b, {5, 5});
         },
         kbdsPressed, kbdsPressed},
        {"focused", [](TeButtonTest&, TTeButton* b, TEdit*) { b->SetFocus(); }, kbdsFocused, kbdsFocused},
        {"default while an edit has the focus",
         [](TeButtonTest&, TTeButton* b, TEdit* e) {
             b->SetDefault(true);
             e->SetFocus();
         },
         kbdsDefault, kbdsNormal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRecordingTheme* theme = UseRecordingTheme();
        TEdit* edit = Make<TEdit>(20, 100);
        TTeButton* b = MakeButton();
        MoveTo(form_, {390, 290});
        c.setUp(*this, b, edit);
        ui_.RunUntilIdle();
        theme->Calls().clear();
        b->Invalidate();
        ui_.RunUntilIdle();
        const auto faces = theme->CallsOf("ButtonDraw");
        const auto texts = theme->CallsOf("ButtonDrawText");
        ASSERT_FALSE(faces.empty());
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(faces.back().state, c.face);
        EXPECT_EQ(faces.back().rect, (TRect{0, 0, 75, 25}));
        EXPECT_EQ(faces.back().object, "default");
        EXPECT_EQ(texts.back().state, c.text);
        EXPECT_EQ(texts.back().text, u"Go");
        Up(b, {5, 5});
        delete b;
        delete edit;
    }
}

TEST_F(TeButtonTest, AKindSetsCaptionModalResultDefaultAndTwoGlyphCells) {
    struct Case {
        TBitBtnKind kind;
        const char16_t* caption;
        TModalResult result;
        bool isDefault;
    };
    const Case cases[] = {{bkOK, u"OK", mrOk, true},
                          {bkCancel, u"Cancel", mrCancel, false},
                          {bkHelp, u"&Help", mrNone, false},
                          {bkYes, u"&Yes", mrYes, true},
                          {bkNo, u"&No", mrNo, false},
                          {bkClose, u"&Close", mrNone, false},
                          {bkAbort, u"Abort", mrAbort, false},
                          {bkRetry, u"&Retry", mrRetry, false},
                          {bkIgnore, u"&Ignore", mrIgnore, false},
                          {bkAll, u"&All", mrAll, false}};
    for (const Case& c : cases) {
        TTeButton b(nullptr);
        b.SetDefault(!c.isDefault);
        b.SetKind(c.kind);
        EXPECT_EQ(b.GetCaption(), c.caption);
        EXPECT_EQ(b.ModalResult(), c.result);
        EXPECT_EQ(b.Default(), c.isDefault);
        EXPECT_EQ(b.NumGlyphs(), 2);
        EXPECT_EQ(b.Glyph()->Width(), 32);
        EXPECT_EQ(b.Glyph()->Height(), 16);
    }
    TTeButton custom(nullptr);
    custom.SetCaption(u"Mine");
    custom.SetKind(bkOK);
    custom.SetKind(bkCustom);
    EXPECT_EQ(custom.GetCaption(), u"OK");
    EXPECT_EQ(custom.Kind(), bkCustom);
}

TEST_F(TeButtonTest, AKindSetWhileLoadingKeepsACaptionAlreadyThere) {
    TTeButton b(nullptr);
    b.SetCaption(u"Proceed");
    {
        TLoadingScope loading(&b);
        b.SetKind(bkOK);
        loading.Finish();
    }
    EXPECT_EQ(b.GetCaption(), u"Proceed");
    EXPECT_TRUE(b.Default());
    EXPECT_EQ(b.ModalResult(), mrOk);
    EXPECT_EQ(b.NumGlyphs(), 2);
    EXPECT_FALSE(b.Glyph()->Empty());
}

TEST_F(TeButtonTest, TheGlyphsShapeGivesTheNumberOfCells) {
    struct Case {
        int width;
        int height;
        int cells;
    };
    const Case cases[] = {{64, 16, 4}, {80, 16, 1}, {20, 16, 3}, {48, 16, 3}, {16, 16, 1}};
    for (const Case& c : cases) {
        TTeButton b(nullptr);
        b.SetNumGlyphs(3);
        TBitmap glyph(c.width, c.height);
        b.SetGlyph(&glyph);
        EXPECT_EQ(b.NumGlyphs(), c.cells) << c.width << "x" << c.height;
    }
}

TEST_F(TeButtonTest, ADisabledOneCellGlyphTurnsLightGreyAndATwoCellGlyphShowsItsSecondCell) {
    TRecordingTheme* theme = UseRecordingTheme();
    TTeButton* b = MakeButton();
    // Cell 0 red and black, cell 1 blue; the bottom-left pixel is the key.
    TBitmap glyph(32, 16);
    TCanvas& c = *glyph.Canvas();
    FillRect(c, TRect{0, 0, 32, 16}, clFuchsia);
    FillRect(c, TRect{2, 2, 8, 8}, clRed);
    FillRect(c, TRect{8, 8, 14, 14}, clBlack);
    FillRect(c, TRect{18, 2, 30, 14}, clBlue);
    b->SetGlyph(&glyph);
    b->SetEnabled(false);

    auto lastGlyph = [&] {
        theme->Calls().clear();
        b->Invalidate();
        ui_.RunUntilIdle();
        const auto glyphs = theme->CallsOf("ButtonDrawGlyph");
        return glyphs.empty() ? std::vector<uint32_t>{} : glyphs.back().glyph;
    };
    std::vector<uint32_t> two = lastGlyph();
    ASSERT_EQ(two.size(), 256u);
    EXPECT_EQ(two[5 * 16 + 5] & 0xFFFFFF, testing::Rgb(clBlue)) << "cell 1 unchanged";

    b->SetNumGlyphs(1);
    std::vector<uint32_t> one = lastGlyph();
    ASSERT_EQ(one.size(), 512u / 2 * 2);
    for (const TPoint p : {TPoint{4, 4}, TPoint{10, 10}, TPoint{20, 4}}) {
        const uint32_t px = one[static_cast<size_t>(p.y * 32 + p.x)] & 0xFFFFFF;
        const uint32_t level = px & 0xFF;
        EXPECT_EQ(px, level << 16 | level << 8 | level) << "grey at " << p.x;
        EXPECT_GE(level, 160u);
        EXPECT_LE(level, 210u);
    }
    EXPECT_EQ(one[0], teKeyColor) << "the key colour stays out";
}

TEST_F(TeButtonTest, WithoutAGlyphOfItsOwnTheFaceShowsTheImageOfItsListOrNothing) {
    TRecordingTheme* theme = UseRecordingTheme();
    TTeButton* b = MakeButton();
    TImageList* images = testing::SquareImages(form_, {clRed, clLime, clBlue});
    TBitmap own(16, 16);
    FillRect(*own.Canvas(), TRect{0, 0, 16, 16}, clFuchsia);
    FillRect(*own.Canvas(), TRect{4, 4, 12, 12}, clYellow);
    struct Case {
        const char* name;
        int index;
        bool ownGlyph;
        std::optional<TColor> centre;  // none: no glyph is drawn
    };
    const Case cases[] = {
        {"an image of the list", 1, false, clLime},         {"the first image", 0, false, clRed},
        {"an index past the list", 3, false, std::nullopt}, {"no index", -1, false, std::nullopt},
        {"its own glyph comes first", 2, true, clYellow},
    };
    b->SetImages(images);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap none;
        b->SetGlyph(c.ownGlyph ? &own : &none);
        b->SetImageIndex(c.index);
        RepaintRecorded(theme, b);
        const auto glyphs = theme->CallsOf("ButtonDrawGlyph");
        if (!c.centre) {
            EXPECT_TRUE(glyphs.empty());
            continue;
        }
        ASSERT_EQ(glyphs.size(), 1u);
        ASSERT_EQ(glyphs[0].glyph.size(), 256u);
        EXPECT_EQ(glyphs[0].glyph[8 * 16 + 8] & 0xFFFFFF, testing::Rgb(*c.centre));
        // The image's transparent ring, or the glyph's own key, stays out.
        EXPECT_EQ(glyphs[0].glyph[0], teKeyColor);
        // The caption moves right of the glyph.
        const auto texts = theme->CallsOf("ButtonDrawText");
        ASSERT_FALSE(texts.empty());
        EXPECT_GE(texts.back().rect.left, glyphs[0].rect.right);
    }
    // A freed list leaves the button without it, and without a glyph.
    b->SetGlyph(nullptr);
    b->SetImageIndex(0);
    delete images;
    EXPECT_EQ(b->Images(), nullptr);
    RepaintRecorded(theme, b);
    EXPECT_TRUE(theme->CallsOf("ButtonDrawGlyph").empty());
}

TEST_F(TeButtonTest, ALinkedActionGivesCaptionClickAndItsImageWhenTheButtonHasNone) {
    TRecordingTheme* theme = UseRecordingTheme();
    TTeButton* b = MakeButton();
    TImageList* images = testing::SquareImages(form_, {clRed, clLime, clBlue});
    auto* list = new TActionList(form_);
    list->SetImages(images);
    auto* action = new TAction(form_);
    action->SetActionList(list);
    action->SetCaption("&Read");
    action->SetImageIndex(2);
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    b->SetAction(action);
    EXPECT_EQ(b->GetCaption(), u"&Read");
    const auto centre = [&] {
        RepaintRecorded(theme, b);
        const auto glyphs = theme->CallsOf("ButtonDrawGlyph");
        return glyphs.size() == 1 && glyphs[0].glyph.size() == 256u ? glyphs[0].glyph[8 * 16 + 8] & 0xFFFFFF
                                                                    : 0xFFFFFFFFu;
    };
    EXPECT_EQ(centre(), testing::Rgb(clBlue)) << "the action's image";
    action->SetImageIndex(1);
    EXPECT_EQ(centre(), testing::Rgb(clLime)) << "follows the action";
    b->SetImages(images);
    b->SetImageIndex(0);
    EXPECT_EQ(centre(), testing::Rgb(clRed)) << "the button's own image comes first";
    b->SetImageIndex(-1);
    action->SetImageIndex(-1);
    RepaintRecorded(theme, b);
    EXPECT_TRUE(theme->CallsOf("ButtonDrawGlyph").empty());

    ui_.Click(b);
    EXPECT_EQ(executed, 1) << "the click is the action's";
    EXPECT_TRUE(clicked_.empty());
}

TEST_F(TeButtonTest, EnterClicksTheDefaultButtonAndEscapeTheCancelButton) {
    TEdit* edit = Make<TEdit>(20, 100);
    TTeButton* ok = MakeButton(20, 20);
    TTeButton* cancel = MakeButton(110, 20);
    TTeButton* other = MakeButton(200, 20);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    edit->SetFocus();
    ui_.RunUntilIdle();
    EXPECT_TRUE(ok->ActiveDefault());

    ui_.PressKey(VK_RETURN);
    ui_.PressKey(VK_ESCAPE);
    EXPECT_EQ(clicked_, (std::vector<TTeButton*>{ok, cancel}));

    // While another button has the focus, Enter is its and nobody looks default.
    clicked_.clear();
    other->SetFocus();
    ui_.RunUntilIdle();
    EXPECT_FALSE(ok->ActiveDefault());
    ui_.PressKey(VK_RETURN);
    EXPECT_EQ(clicked_, (std::vector<TTeButton*>{other}));
    // A shifted Enter clicks nothing.
    clicked_.clear();
    ui_.PressKey(VK_RETURN, TShiftState{ssCtrl});
    EXPECT_TRUE(clicked_.empty());
}

TEST_F(TeButtonTest, ReleasingAfterDraggingOutDoesNotClick) {
    TTeButton* b = MakeButton();
    Down(b, {10, 10});
    EXPECT_TRUE(b->Pressed());
    MoveTo(b, {100, 10});
    EXPECT_FALSE(b->Pressed()) << "the face rises outside";
    MoveTo(b, {74, 25});
    EXPECT_TRUE(b->Pressed()) << "the row below the last one still counts as inside";
    MoveTo(b, {75, 10});
    EXPECT_FALSE(b->Pressed()) << "the column right of the last one does not";
    Up(b, {100, 10});
    EXPECT_TRUE(clicked_.empty());
    Down(b, {10, 10});
    Up(b, {10, 10});
    EXPECT_EQ(clicked_.size(), 1u);
    // Space clicks on release.
    b->SetFocus();
    ui_.PressKey(VK_SPACE);
    EXPECT_EQ(clicked_.size(), 2u);
}

TEST_F(TeButtonTest, WithoutAnEngineTheHoverFaceShowsAtOnceAndFiresNoEvents) {
    UseRecordingTheme();
    TTeButton* b = MakeButton();
    int events = 0;
    b->OnMouseEnter = [&](TObject*) { ++events; };
    b->OnMouseLeave = [&](TObject*) { ++events; };
    MoveTo(b, {5, 5});
    EXPECT_EQ(ShownAt(b, 30, 12), testing::Rgb(TRecordingTheme::FaceColor(kbdsHot)));
    MoveTo(form_, {390, 290});
    EXPECT_EQ(ShownAt(b, 30, 12), testing::Rgb(TRecordingTheme::FaceColor(kbdsNormal)));
    EXPECT_EQ(events, 0);
    // Without the fade the events come as usual.
    b->SetFXEnabled(false);
    MoveTo(b, {5, 5});
    MoveTo(form_, {390, 290});
    EXPECT_EQ(events, 2);
}

TEST_F(TeButtonTest, TheClassicFaceHasItsEdgesFrameAndFocusRectangleWhereTheStateSays) {
    const uint32_t light = testing::Rgb(clBtnHighlight), dark = testing::Rgb(clBtnShadow),
                   face = testing::Rgb(clBtnFace), black = 0;
    struct Case {
        const char* name;
        std::function<void(TeButtonTest&, TTeButton*, TEdit*)> setUp;
        // Pixels from the outside in along the top-left and bottom-right corners.
        std::vector<uint32_t> topLeft, bottomRight;
        bool focusRect;
    };
    const Case cases[] = {
        {"raised",
         [](TeButtonTest&, TTeButton*, TEdit* e) { e->SetFocus(); },
         {light, face, face},
         {black, dark, face},
         false},
        {"focused: framed, with a dotted rectangle inside",
         [](TeButtonTest&, TTeButton* b, TEdit*) { b->SetFocus(); },
         {black, light, face},
         {black, black, dark},
         true},
        {"default: framed without it",
         [](TeButtonTest&, TTeButton* b, TEdit* e) {
             b->SetDefault(true);
             e->SetFocus();
         },
         {black, light, face},
         {black, black, dark},
         false},
        {"pressed: flat shadow edge",
         [](TeButtonTest& t, TTeButton* b, TEdit*) {
             t.Down(b, {60, 3});
         },
         {black, dark, face},
         {black, dark, face},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TEdit* edit = Make<TEdit>(20, 100);
        TTeButton* b = MakeButton();
        b->SetCaption(u"");
        MoveTo(form_, {390, 290});
        c.setUp(*this, b, edit);
        const std::vector<uint32_t> shown = Shown(b);
        auto at = [&](int x, int y) { return shown[static_cast<size_t>(y * 75 + x)]; };
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(at(i, i), c.topLeft[static_cast<size_t>(i)]) << i;
            EXPECT_EQ(at(74 - i, 24 - i), c.bottomRight[static_cast<size_t>(i)]) << i;
        }
        // The dotted focus rectangle runs 4 pixels inside the border.
        int dotted = 0;
        for (int x = 6; x < 69; ++x) dotted += at(x, 4) != face;
        if (c.focusRect)
            EXPECT_GT(dotted, 20);
        else
            EXPECT_EQ(dotted, 0);
        Up(b, {60, 3});
        delete b;
        delete edit;
    }
}

TEST_F(TeButtonTest, ModalResultGoesToTheFormAndCloseClosesIt) {
    TTeButton* b = MakeButton();
    b->SetModalResult(mrYes);
    ui_.Click(b);
    EXPECT_EQ(form_->ModalResult(), mrYes);

    form_->SetModalResult(mrNone);
    b->SetKind(bkClose);
    ui_.Click(b);
    EXPECT_FALSE(form_->Visible());
    EXPECT_EQ(form_->ModalResult(), mrNone);
}

}  // namespace
}  // namespace tarvel
