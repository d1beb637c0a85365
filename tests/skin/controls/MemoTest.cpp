// The skinned memo and rich edit: the theme's memo image under the memo's
// text in each state, and the rich edit as the tool's coloured log.

#include "WrappedControlFixture.h"
#include "skin/controls/te_controls_memo.h"

namespace tarvel {
namespace {

class MemoTest : public testing::WrappedControlTest {};

TEST_F(MemoTest, TheMemoImageIsAskedForInTheMemosState) {
    struct Case {
        const char* what;
        bool enabled, focused, hot;
        TteMemoDrawState expected;
    } cases[] = {
        {"normal", true, false, false, kmdsNormal},
        {"focused", true, true, false, kmdsFocused},
        {"hot", true, false, true, kmdsHot},
        {"hot ranks above focus", true, true, true, kmdsHot},
        {"disabled", false, false, true, kmdsDisabled},
    };
    for (const Case& c : cases) {
        testing::TWrappedRecordingTheme* theme = UseWrappedTheme();
        auto* memo = Make<TTeMemo>(10, 10);
        memo->SetBounds(10, 10, 200, 100);
        memo->Lines()->Add("text");
        memo->SetEnabled(c.enabled);
        if (c.focused) memo->SetFocus();
        if (c.hot)
            MoveTo(memo, TPoint{20, 20});
        else
            MoveTo(Form(), TPoint{390, 290});
        theme->Calls().clear();
        RepaintWrapped(memo);
        ui_.RunUntilIdle();
        const auto calls = theme->CallsOf("MemoDraw");
        ASSERT_FALSE(calls.empty()) << c.what;
        for (const testing::TThemeCall& call : calls) EXPECT_EQ(call.state, c.expected) << c.what;
        delete memo;
    }
}

TEST_F(MemoTest, TypingRepaintsTheTextOverTheImageAndKeepsTheCaret) {
    UseWrappedTheme();
    auto* memo = Make<TTeMemo>(10, 10);
    memo->SetBounds(10, 10, 200, 100);
    memo->SetFocus();
    const std::vector<uint32_t> empty = Shown(memo);
    ui_.Type("Hello");
    EXPECT_EQ(memo->Lines()->Text(), "Hello\r\n");
    EXPECT_FALSE(memo->Painting());
    EXPECT_NE(Shown(memo), empty);
    // The image stays under the text: the face colour of the focused state shows between letters.
    const uint32_t face = testing::TRecordingTheme::FaceColor(kmdsFocused);
    const uint32_t rgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    EXPECT_EQ(ShownAt(memo, memo->ClientWidth() - 5, memo->ClientHeight() - 5), rgb);
}

// The tool's log: read-only, a line at a time, each in its own colour.
TEST_F(MemoTest, AColouredLogOfTwentyLinesKeepsEachLinesColour) {
    UseWrappedTheme();
    TTeRichEdit* log = ColouredLog(TRect{10, 10, 310, 130}, 20);
    ASSERT_EQ(log->Lines()->Count(), 20);
    int pos = 0;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(log->CharColor(pos), testing::LogColor(i)) << i;
        pos += static_cast<int>(Utf8ToWide(log->Lines()->Get(i)).size()) + 2;
    }
    // Typing does nothing to a read-only log.
    log->SetFocus();
    ui_.Type("x");
    EXPECT_EQ(log->Lines()->Count(), 20);
    // The skinned bar shows the log's own scroll state.
    TTeInplaceScrollBar* bar = log->SubScrollBar()->VertBar();
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->ScrollBar()->Position(), log->TopLine());
}

TEST_F(MemoTest, TheRichEditTakesTheThemesEditColourAndNeverItsMemoImage) {
    struct Case {
        const char* what;
        bool release;
        TColor expected;
    } cases[] = {
        {"theme applied", false, testing::TWrappedRecordingTheme::kEditColor},
        {"theme released", true, clWindow},
    };
    for (const Case& c : cases) {
        testing::TWrappedRecordingTheme* theme = UseWrappedTheme();
        auto* log = Make<TTeRichEdit>(10, 10);
        ChangeTheme(theme);  // the same theme again: a change for everyone
        ui_.RunUntilIdle();
        if (c.release) ReleaseTheme();
        ui_.RunUntilIdle();
        EXPECT_EQ(log->Color(), c.expected) << c.what;
        if (!c.release) {
            theme->Calls().clear();
            log->Invalidate();
            ui_.RunUntilIdle();
            for (const testing::TThemeCall& call : theme->CallsOf("MemoDraw"))
                EXPECT_NE(call.rect.top, -2) << "the background came from the memo image";
        }
        delete log;
    }
}

}  // namespace
}  // namespace tarvel
