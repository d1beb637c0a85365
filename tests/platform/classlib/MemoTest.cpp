// The memo: lines typed and added, the caret across lines, the lines list,
// word wrap (where rows break, re-wrapping, the caret by rows).

#include <gtest/gtest.h>

#include <random>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/WindowScrollBars.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

// Ten pixels a character (a surrogate pair is one), so rows are known exactly.
int TenPerChar(std::u16string_view t) {
    int n = 0;
    for (char16_t c : t) n += c < 0xDC00 || c >= 0xE000;
    return 10 * n;
}

std::vector<std::u16string> RowTexts(const TEditText& text, const TEditRows& rows) {
    std::vector<std::u16string> out;
    for (int r = 0; r < rows.Count(); ++r) {
        const TEditRows::Row row = rows.At(r);
        out.push_back(text.Line(row.line).substr(static_cast<size_t>(row.start),
                                                 static_cast<size_t>(row.end - row.start)));
    }
    return out;
}

TEST(EditRowsTest, LinesBreakAfterBlanksAndLongWordsBetweenCharacters) {
    struct Case {
        const char16_t* line;
        int width;
        std::vector<std::u16string> rows;
    };
    const Case cases[] = {
        {u"alpha beta gamma", 1000, {u"alpha beta gamma"}},
        {u"alpha beta gamma", 0, {u"alpha beta gamma"}},         // no wrapping
        {u"alpha beta gamma", 100, {u"alpha beta ", u"gamma"}},  // "alpha beta" just fits
        {u"alpha beta gamma", 90, {u"alpha ", u"beta ", u"gamma"}},
        {u"alpha beta gamma", 30, {u"alp", u"ha ", u"bet", u"a ", u"gam", u"ma"}},
        {u"ab    cd", 40, {u"ab    ", u"cd"}},  // blanks hang past the row's end
        {u"", 10, {u""}},
        {u"abc", 1, {u"a", u"b", u"c"}},
        {u"\U0001D11E\U0001D11E\U0001D11E",
         20,
         {u"\U0001D11E\U0001D11E", u"\U0001D11E"}},  // never inside a pair
    };
    for (const Case& c : cases) {
        TEditText text(true);
        text.SetText(c.line);
        TEditRows rows(text);
        rows.SetWrapWidth(c.width);
        rows.Sync(TenPerChar);
        EXPECT_EQ(RowTexts(text, rows), c.rows) << WideToUtf8(c.line) << " at " << c.width;
    }
}

TEST(EditRowsTest, RowsOfPositionsAndTheEndOfAWrappedRow) {
    TEditText text(true);
    text.SetText(u"alpha beta gamma\r\nshort");
    TEditRows rows(text);
    rows.SetWrapWidth(90);
    rows.Sync(TenPerChar);
    ASSERT_EQ(rows.Count(), 4);
    struct Case {
        int pos;
        bool atRowEnd;
        int row;
    };
    const Case cases[] = {{0, false, 0}, {5, false, 0},  {6, false, 1}, {6, true, 0},   {11, false, 2},
                          {11, true, 1}, {16, false, 2}, {16, true, 2}, {18, false, 3}, {18, true, 3}};
    for (const Case& c : cases) EXPECT_EQ(rows.RowOf(c.pos, c.atRowEnd), c.row) << c.pos << " " << c.atRowEnd;
    EXPECT_EQ(rows.FirstRow(1), 3);
    EXPECT_FALSE(rows.At(1).lastOfLine);
    EXPECT_TRUE(rows.At(2).lastOfLine);
}

// Rows kept up to date edit by edit are the rows laid out afresh.
TEST(EditRowsTest, EditsKeepTheRowsAsAFreshLayoutWouldHaveThem) {
    std::mt19937 random(7);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::u16string pieces[] = {u"word ", u"longerword", u" ", u"\r\n", u"a b c d e f g h ", u"x"};
    TEditText text(true);
    TEditRows rows(text);
    rows.SetWrapWidth(70);
    for (int step = 0; step < 400; ++step) {
        switch (pick(5)) {
            case 0:
            case 1: {
                const int a = pick(text.Length() + 1), b = pick(text.Length() + 1);
                text.SetSel(a, b);
                std::u16string insert;
                for (int i = pick(4); i > 0; --i) insert += pieces[pick(6)];
                text.Replace(insert, clDefault, true, false);
                break;
            }
            case 2: text.AppendLine(pieces[pick(6)] + pieces[pick(6)], clDefault); break;
            case 3: text.Undo(); break;
            case 4:
                if (pick(20) == 0) text.SetText(u"fresh text with some words");
                break;
        }
        rows.Sync(TenPerChar);
        TEditText copy(true);
        copy.SetText(text.Text());
        TEditRows fresh(copy);
        fresh.SetWrapWidth(70);
        fresh.Sync(TenPerChar);
        ASSERT_EQ(RowTexts(text, rows), RowTexts(copy, fresh)) << "step " << step;
    }
}

// A growing log lays out only its new lines.
TEST(EditRowsTest, AppendingALineMeasuresOnlyThatLine) {
    TEditText text(true);
    TEditRows rows(text);
    rows.SetWrapWidth(200);
    int measured = 0;
    auto counting = [&](std::u16string_view t) {
        ++measured;
        return TenPerChar(t);
    };
    for (int i = 0; i < 2000; ++i) {
        text.AppendLine(u"reply 01 03 04 00 64", clDefault);
        rows.Sync(counting);
    }
    measured = 0;
    text.AppendLine(u"reply 01 03 04 00 64 00 C8 and on and on past the width", clDefault);
    rows.Sync(counting);
    EXPECT_LT(measured, 60);
    EXPECT_EQ(rows.Count(), 2000 + 3 + 1);  // the new line takes 3 rows, then the empty last line
}

class MemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 400, 300);
        memo = new TMemo(form);
        memo->SetName("Memo");
        memo->SetParent(form);
        memo->SetBounds(10, 10, 300, 150);
        form->Show();
        ui.RunUntilIdle();
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TMemo* memo = nullptr;
};

TEST_F(MemoTest, TypingMakesLinesAndTheCaretKeepsItsColumnAcrossLines) {
    ui.Click(memo);
    ui.Type("first line");
    ui.PressKey(VK_RETURN);
    ui.Type("ab");
    ui.PressKey(VK_RETURN);
    ui.Type("third line");
    EXPECT_EQ(memo->Lines()->Count(), 3);
    EXPECT_EQ(memo->Text(), "first line\r\nab\r\nthird line");
    ui.PressKey(VK_UP);
    EXPECT_EQ(memo->CaretPos(), (TPoint{2, 1}));  // the short line
    ui.PressKey(VK_UP);
    EXPECT_EQ(memo->CaretPos().y, 0);
    EXPECT_GT(memo->CaretPos().x, 5);  // back near the column it came from
    ui.PressKey(VK_END, {ssCtrl});
    EXPECT_EQ(memo->CaretPos(), (TPoint{10, 2}));
    ui.PressKey(VK_HOME);
    ui.PressKey(VK_BACK);  // joins the lines
    EXPECT_EQ(memo->Lines()->Strings(1), "abthird line");
}

TEST_F(MemoTest, TheLinesListEditsTheText) {
    TStrings* lines = memo->Lines();
    lines->Add("one");
    lines->Add("three");
    lines->Insert(1, "two");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Text(), "one\r\ntwo\r\nthree\r\n");
    lines->Put(0, "ONE");
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), "ONE\r\ntwo\r\n");
    EXPECT_THROW(lines->Strings(5), EStringListError);
    lines->SetText("a\nb\r\nc");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Strings(2), "c");
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
}

// ---- word wrap in the memo ------------------------------------------------------------------

const char* const kLong = "the quick brown fox jumps over the lazy dog and keeps on running far away";

TEST_F(MemoTest, LongLinesWrapToTheWidthAndReWrapOnResizeLeavingTheLinesAlone) {
    ASSERT_TRUE(memo->WordWrap());
    memo->SetScrollBars(ssBoth);
    memo->Lines()->Add(kLong);
    memo->Lines()->Add("short");
    struct Case {
        int width;
        int minRows, maxRows;  // of the long line
    };
    const Case cases[] = {{300, 2, 3}, {150, 4, 6}, {80, 7, 14}, {1000, 1, 1}};
    for (const Case& c : cases) {
        memo->SetWidth(c.width);
        ui.RunUntilIdle();
        const TEditRows& rows = memo->Rows();
        const int longRows = rows.FirstRow(1);
        EXPECT_GE(longRows, c.minRows) << c.width;
        EXPECT_LE(longRows, c.maxRows) << c.width;
        EXPECT_EQ(rows.Count(), longRows + 2) << c.width;  // "short" and the empty last line
        // Each row starts at a word and fits (its hanging blank aside).
        String joined;
        for (int r = 0; r < longRows; ++r) {
            const TEditRows::Row row = rows.At(r);
            const String part = memo->Lines()->Strings(0).substr(static_cast<size_t>(row.start),
                                                                 static_cast<size_t>(row.end - row.start));
            EXPECT_LE(MeasureText(memo->Font(), TrimRight(part), 0, false).cx, memo->ClientWidth() - 4)
                << part;
            if (r > 0) {
                EXPECT_EQ(memo->Lines()->Strings(0)[static_cast<size_t>(row.start) - 1], ' ') << part;
            }
            joined += part;
        }
        EXPECT_EQ(joined, kLong);
        EXPECT_EQ(memo->Lines()->Count(), 2);
        EXPECT_EQ(memo->Lines()->Strings(0), kLong);
        SCROLLINFO info;
        ASSERT_TRUE(GetScrollInfo(memo->Handle(), SB_VERT, info));
        EXPECT_EQ(info.nMax, rows.Count() - 1);
        EXPECT_FALSE(WindowScrollBarsOf(memo->Handle())->Visible(SB_HORZ));
    }
    memo->SetWordWrap(false);
    EXPECT_EQ(memo->Rows().Count(), 3);
    EXPECT_TRUE(WindowScrollBarsOf(memo->Handle())->Visible(SB_HORZ));
    EXPECT_EQ(memo->Text(), String(kLong) + "\r\nshort\r\n");
}

TEST_F(MemoTest, TheCaretMovesByRowsAndTheMouseHitsRows) {
    memo->Lines()->Add(kLong);
    memo->Lines()->Add("short");
    ui.RunUntilIdle();
    const TEditRows& rows = memo->Rows();
    ASSERT_GE(rows.FirstRow(1), 2);
    const TEditRows::Row first = rows.At(0), second = rows.At(1);
    ui.Click(memo);
    ui.PressKey(VK_HOME, {ssCtrl});
    struct Step {
        UINT key;
        TShiftState shift;
        int pos;  // -1: not checked
        int row;
    };
    const Step steps[] = {
        {VK_END, {}, first.end, 0},  // the end of the first row, shown there
        {VK_DOWN, {}, -1, 1},        // the next row of the same line
        {VK_HOME, {}, second.start, 1},
        {VK_UP, {}, 0, 0},
        {VK_DOWN, {}, second.start, 1},
        {VK_END, {}, second.end, 1},
        {VK_END, {ssCtrl}, -1, rows.Count() - 1},
    };
    for (const Step& s : steps) {
        ui.PressKey(s.key, s.shift);
        if (s.pos >= 0) {
            EXPECT_EQ(memo->SelStart(), s.pos) << s.key;
        }
        if (s.row >= 0) {
            EXPECT_EQ(memo->CaretRow(), s.row) << s.key;
        }
    }
    EXPECT_EQ(memo->Lines()->Strings(0), kLong);  // moving changes nothing

    // The mouse: the left of the second row, and past the end of the first.
    const int lh = MeasureText(memo->Font(), "Wg", 0, false).cy;
    ui.ClickAt(memo, TPoint{1, 1 + lh + lh / 2});
    EXPECT_EQ(memo->SelStart(), second.start);
    EXPECT_EQ(memo->CaretRow(), 1);
    ui.ClickAt(memo, TPoint{memo->ClientWidth() - 2, 1 + lh / 2});
    EXPECT_EQ(memo->SelStart(), first.end);
    EXPECT_EQ(memo->CaretRow(), 0);
    // Typing there goes in at the end of the first row's text.
    ui.Type("X");
    EXPECT_EQ(memo->Lines()->Strings(0).substr(static_cast<size_t>(first.end), 1), "X");
}

}  // namespace
}  // namespace tarvel
