// The skinned label and the scrolling label: automatic size, the
// accelerator, what it asks the theme for, and the scrolling on the test
// clock (rests, turns, passes, a caption that fits).

#include "skin/controls/te_controls_label.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "RecordingThemeFixture.h"
#include "platform/classlib/StdCtrls_Edit.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

constexpr char16_t kWide[] = u"A caption far wider than the small label that shows it";

class TeLabelTest : public SkinControlsTest {
protected:
    // The label's size for a caption, measured by a label of its own.
    TSize Fitted(const WideString& caption) {
        TTeLabel* probe = Make<TTeLabel>(0, 0);
        probe->SetCaption(caption);
        const TSize size{probe->Width(), probe->Height()};
        delete probe;
        return size;
    }

    TTeScrollingLabel* MakeScroller(const WideString& caption, int speed, int pauseTime) {
        TTeScrollingLabel* l = Make<TTeScrollingLabel>(20, 20);
        l->SetAutoSize(false);
        l->SetBounds(20, 20, 60, 17);
        l->SetCaption(caption);
        l->SetSpeed(speed);
        l->SetPauseTime(pauseTime);
        return l;
    }
    // The painted offset after each of n timer steps.
    std::vector<int> Steps(TTeScrollingLabel* l, int n) {
        std::vector<int> offsets;
        for (int i = 0; i < n; ++i) {
            ui_.AdvanceClock(100);
            offsets.push_back(l->PaintedOffset());
        }
        return offsets;
    }
};

TEST_F(TeLabelTest, TheCaptionAndTheTextSayTheSameWhicheverWasSet) {
    TTeLabel* l = Make<TTeLabel>(10, 10);
    l->SetCaption(u"BMS 电池");
    EXPECT_EQ(l->Text(), "BMS 电池");
    l->SetText("3U");
    EXPECT_EQ(l->GetCaption(), u"3U");
}

TEST_F(TeLabelTest, AutoSizeMeasuresTheCaptionAndNeverCollapses) {
    const TSize line = Fitted(u"Tg");
    ASSERT_GT(line.cy, 0);
    const TSize blank = Fitted(u" ");
    struct Case {
        const char16_t* caption;
        TSize size;
    };
    const Case cases[] = {
        {u"", blank},                 // measured as one blank
        {u"&", Fitted(u"& ")},        // the mark alone keeps a line
        {u"&Name", Fitted(u"Name")},  // the mark takes no room
        {u"Tg", line},
    };
    for (const Case& c : cases) {
        const TSize got = Fitted(c.caption);
        EXPECT_EQ(got.cx, c.size.cx) << static_cast<int>(c.caption[0]);
        EXPECT_EQ(got.cy, line.cy);
        EXPECT_GT(got.cx, 0);
    }
    // Without the accelerator "&" is text.
    TTeLabel* plain = Make<TTeLabel>(0, 0);
    plain->SetShowAccelChar(false);
    plain->SetCaption(u"&Name");
    EXPECT_GT(plain->Width(), Fitted(u"Name").cx);
}

TEST_F(TeLabelTest, WordWrapGrowsTheHeightAndRightAlignmentKeepsTheRightEdge) {
    TTeLabel* l = Make<TTeLabel>(200, 20);
    l->SetAlignment(taRightJustify);
    l->SetCaption(u"Short");
    const int right = l->Left() + l->Width();
    l->SetCaption(u"A rather longer caption");
    EXPECT_EQ(l->Left() + l->Width(), right);
    EXPECT_LT(l->Left(), 200);

    TTeLabel* wrapped = Make<TTeLabel>(20, 60);
    wrapped->SetAutoSize(false);
    wrapped->SetWidth(40);
    wrapped->SetWordWrap(true);
    wrapped->SetCaption(u"one two three four five six");
    wrapped->SetAutoSize(true);
    EXPECT_LE(wrapped->Width(), 40);
    EXPECT_GE(wrapped->Height(), 3 * Fitted(u"Tg").cy);
}

TEST_F(TeLabelTest, TheAcceleratorFocusesTheFocusControl) {
    TEdit* edit = Make<TEdit>(100, 100);
    TEdit* elsewhere = Make<TEdit>(100, 140);
    TTeLabel* l = Make<TTeLabel>(20, 20);
    l->SetCaption(u"&Port");
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'p', 0), 0) << "no focus control yet";
    l->SetFocusControl(edit);
    struct Case {
        bool showAccel;
        bool enabled;
        bool focuses;
    };
    for (const Case c : {Case{true, true, true}, {false, true, false}, {true, false, false}}) {
        elsewhere->SetFocus();
        l->SetShowAccelChar(c.showAccel);
        l->SetEnabled(c.enabled);
        EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'p', 0), c.focuses ? 1 : 0);
        EXPECT_EQ(edit->Focused(), c.focuses);
    }
    // A freed focus control is forgotten.
    delete edit;
    l->SetEnabled(true);
    l->SetShowAccelChar(true);
    EXPECT_EQ(l->FocusControl(), nullptr);
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'p', 0), 0);
}

TEST_F(TeLabelTest, TheThemeDrawsTheCaptionInTheEnabledOrDisabledState) {
    TRecordingTheme* theme = UseRecordingTheme();
    TTeLabel* l = Make<TTeLabel>(20, 20);
    l->SetCaption(u"Volts");
    l->SetThemeObject("mine");
    for (const bool enabled : {true, false}) {
        l->SetEnabled(enabled);
        RepaintRecorded(theme, l);
        const auto texts = theme->CallsOf("LabelDrawText");
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back().state, enabled ? kldsNormal : kldsDisabled);
        EXPECT_EQ(texts.back().text, u"Volts");
        EXPECT_EQ(texts.back().object, "mine");
        EXPECT_EQ(texts.back().rect, (TRect{0, 0, l->Width(), l->Height()}));
    }
}

TEST_F(TeLabelTest, TheGlyphAndTheFontFollowTheMouseAsHotTrackAndActiveGlyphSay) {
    struct Case {
        const char* name;
        bool hotTrack, activeGlyph;
        TPoint mouse;  // where the mouse is, in the label; (-1, -1) away from it
        bool press;
        TteButtonDrawState glyph;
        bool hotFont;
    };
    const TPoint away{-1, -1}, glyph{5, 5}, text{60, 5};
    const Case cases[] = {
        {"neither: the glyph stays normal", false, false, text, true, kbdsNormal, false},
        {"hot track, away", true, false, away, false, kbdsNormal, false},
        {"hot track, over the text", true, false, text, false, kbdsHot, true},
        {"hot track, pressed", true, false, text, true, kbdsPressed, true},
        {"active glyph, over the text", false, true, text, false, kbdsNormal, false},
        {"active glyph, over the glyph", false, true, glyph, false, kbdsHot, false},
        {"active glyph, pressed on it", false, true, glyph, true, kbdsPressed, false},
        {"active glyph, pressed beside it", false, true, text, true, kbdsNormal, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRecordingTheme* theme = UseRecordingTheme();
        // The hot font is told apart by its boldness.
        TFont hot;
        hot.Assign(theme->Fonts()->GetFont(ktfStaticTextHot));
        hot.SetStyle(TFontStyles{fsBold});
        theme->Fonts()->SetFont(ktfStaticTextHot, &hot);
        TTeLabel* l = Make<TTeLabel>(20, 20);
        l->SetAutoSize(false);
        l->SetBounds(20, 20, 120, 20);
        l->SetCaption(u"Pack");
        l->SetShowGlyph(true);
        l->SetGlyphThemeObject("lamp");
        l->SetHotTrack(c.hotTrack);
        l->SetActiveGlyph(c.activeGlyph);
        if (c.mouse == away) {
            MoveTo(form_, {390, 290});
        } else {
            MoveTo(l, c.mouse);
            if (c.press) Down(l, c.mouse);
        }
        RepaintRecorded(theme, l);
        const auto glyphs = theme->CallsOf("ButtonDraw");
        ASSERT_EQ(glyphs.size(), 1u);
        EXPECT_EQ(glyphs[0].object, "lamp");
        EXPECT_EQ(glyphs[0].state, c.glyph);
        EXPECT_EQ(glyphs[0].rect, (TRect{1, 1, 19, 19}));
        const auto texts = theme->CallsOf("LabelDrawText");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].rect.left, 20 + 5) << "past the glyph and its space";
        ASSERT_FALSE(theme->TextFonts().empty());
        EXPECT_EQ(theme->TextFonts().back().bold, c.hotFont);
        if (c.press) Up(l, c.mouse);
        delete l;
    }
}

TEST_F(TeLabelTest, TransparentTogglesTheOpaqueStyle) {
    TTeLabel* l = Make<TTeLabel>(20, 20);
    EXPECT_TRUE(l->Transparent());
    EXPECT_FALSE(l->ControlStyle.Contains(csOpaque));
    l->SetTransparent(false);
    EXPECT_TRUE(l->ControlStyle.Contains(csOpaque));
    l->SetTransparent(true);
    EXPECT_FALSE(l->ControlStyle.Contains(csOpaque));
}

TEST_F(TeLabelTest, AScrollingLabelSlidesLeftRestsTurnsAndCountsAPassAtHome) {
    TRecordingTheme* theme = UseRecordingTheme();
    TTeScrollingLabel* l = MakeScroller(kWide, 100, 300);
    l->SetActive(true);
    const std::vector<int> first = Steps(l, 3);
    // The first tick only primes the clock; then 10 pixels a tick.
    EXPECT_EQ(first, (std::vector<int>{0, -10, -20}));
    RepaintRecorded(theme, l);
    const auto texts = theme->CallsOf("LabelDrawText");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().rect.left, -20) << "the text is painted at the offset";

    // On to the left end, where it rests three ticks, then back.
    std::vector<int> run;
    while (l->Passes() == 0 && run.size() < 400) run.push_back(Steps(l, 1).front());
    const auto leftmost = std::min_element(run.begin(), run.end());
    ASSERT_NE(leftmost, run.end());
    EXPECT_LT(*leftmost, 60 - static_cast<int>(std::char_traits<char16_t>::length(kWide)) * 2);
    EXPECT_EQ(std::count(run.begin(), run.end(), *leftmost), 4) << "the turning tick and three at rest";
    EXPECT_EQ(*(leftmost + 4), *leftmost + 10);
    EXPECT_EQ(l->Passes(), 1);
    EXPECT_GT(run.back(), 0) << "back past its home position";
    EXPECT_TRUE(l->Active()) << "ScrollCount -1 never stops";
}

TEST_F(TeLabelTest, ScrollCountStopsAfterThatManyReturnsHome) {
    struct Case {
        int scrollCount;
        bool stops;
    };
    for (const Case c : {Case{2, true}, {1, true}, {0, false}, {-1, false}}) {
        TTeScrollingLabel* l = MakeScroller(kWide, 200, 0);
        l->SetScrollCount(c.scrollCount);
        l->SetActive(true);
        int stoppedAfter = -1;
        for (int i = 0; i < 400 && stoppedAfter < 0; ++i) {
            Steps(l, 1);
            if (!l->Active()) stoppedAfter = l->Passes();
        }
        if (c.stops) {
            EXPECT_EQ(stoppedAfter, c.scrollCount);
            EXPECT_EQ(l->PaintedOffset(), 0) << "stopped at home";
        } else {
            EXPECT_EQ(stoppedAfter, -1);
            EXPECT_GE(l->Passes(), 3);
        }
        delete l;
    }
}

TEST_F(TeLabelTest, WithoutAPauseTheTextTurnsWithoutResting) {
    TTeScrollingLabel* l = MakeScroller(kWide, 100, 0);
    l->SetActive(true);
    const std::vector<int> run = Steps(l, 150);
    for (size_t i = 2; i < run.size(); ++i) EXPECT_NE(run[i], run[i - 1]) << "tick " << i;
}

TEST_F(TeLabelTest, ACaptionThatFitsNeverMovesAndShrinkingTheCaptionSnapsHome) {
    TTeScrollingLabel* fits = MakeScroller(u"Ok", 100, 0);
    fits->SetActive(true);
    for (int offset : Steps(fits, 20)) EXPECT_EQ(offset, 0);

    TTeScrollingLabel* l = MakeScroller(kWide, 100, 0);
    l->SetActive(true);
    Steps(l, 5);
    ASSERT_LT(l->PaintedOffset(), 0);
    l->SetCaption(u"Ok");
    Steps(l, 1);
    EXPECT_EQ(l->PaintedOffset(), 0);

    // Stopping a scrolled label brings the text home too.
    l->SetCaption(kWide);
    Steps(l, 5);
    ASSERT_NE(l->PaintedOffset(), 0);
    l->SetActive(false);
    EXPECT_EQ(l->PaintedOffset(), 0);
    EXPECT_FALSE(l->Timer()->Enabled());
}

}  // namespace
}  // namespace tarvel
