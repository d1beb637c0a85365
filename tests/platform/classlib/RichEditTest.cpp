// The rich edit as the tool uses it: a read-only log whose lines each get
// a colour, counted, cleared and kept scrolled to the end.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/classlib/ComCtrls_RichEdit.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

// True when the pixel is text of `ink` on white: each channel at least half
// way from white to the ink, and all of them alike, as antialiased glyphs
// rarely reach their full colour.
bool InkOf(COLORREF pixel, TColor ink) {
    const COLORREF want = ColorToColorRef(ink);
    double least = 1, most = 0;
    for (int shift : {0, 8, 16}) {
        const int p = (pixel >> shift) & 0xFF, w = (want >> shift) & 0xFF;
        if (w == 255) {
            if (p < 224) return false;
            continue;
        }
        const double coverage = (255.0 - p) / (255.0 - w);
        least = std::min(least, coverage);
        most = std::max(most, coverage);
    }
    return least >= 0.5 && most - least <= 0.25;
}

class RichEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 400, 300);
        log = new TRichEdit(form);
        log->SetName("Log");
        log->SetParent(form);
        log->SetBounds(10, 10, 300, 120);
        log->SetReadOnly(true);
        log->SetScrollBars(ssVertical);
        form->Show();
        ui.RunUntilIdle();
    }

    // The tool's way of adding a coloured line.
    void AddLine(const String& text, TColor color) {
        log->SetSelStart(log->GetTextLen());
        log->SelAttributes()->SetColor(color);
        log->Lines()->Add(text);
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TRichEdit* log = nullptr;
};

TEST_F(RichEditTest, EachAddedLineKeepsItsColour) {
    struct Case {
        const char* text;
        TColor color;
    };
    const Case cases[] = {{"sent 01 03", TColor(0x008000)},
                          {"reply timed out", clRed},
                          {"\xE3\x80\x90"
                           "2026-12-10 12:00:00\xE3\x80\x91"
                           "\xE7\x94\xB5\xE6\xB1\xA0",
                           clBlue},
                          {"plain", clBlack}};
    for (const Case& c : cases) AddLine(c.text, c.color);
    ASSERT_EQ(log->Lines()->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(log->Lines()->Strings(i), cases[i].text);
        EXPECT_EQ(log->CharColor(log->EditText().LineStart(i)), cases[i].color) << i;
        EXPECT_EQ(log->CharColor(log->EditText().LineStart(i) + 2), cases[i].color) << i;
    }
    EXPECT_EQ(log->Text(), String("sent 01 03\r\nreply timed out\r\n") + cases[2].text + "\r\nplain\r\n");

    // A line added without a colour of its own continues the last one.
    log->Lines()->Add("more");
    EXPECT_EQ(log->CharColor(log->EditText().LineStart(4)), clBlack);

    // The colours are on the screen.
    log->Repaint();
    ui.RunUntilIdle();
    HDC dc = GetDC(log->Handle());
    bool sawRed = false, sawGreen = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 150; ++x) {
            const COLORREF p = GetPixel(dc, x, y);
            sawRed |= InkOf(p, clRed);
            sawGreen |= InkOf(p, TColor(0x008000));
        }
    ReleaseDC(log->Handle(), dc);
    EXPECT_TRUE(sawRed);
    EXPECT_TRUE(sawGreen);
}

TEST_F(RichEditTest, ALongLogScrollsToItsEndAndClearsToNothing) {
    for (int i = 0; i < 100; ++i) AddLine("line " + IntToStr(i), i % 2 ? clRed : clBlue);
    EXPECT_EQ(log->Lines()->Count(), 100);
    EXPECT_GT(log->TopLine(), 80);
    SCROLLINFO info;
    ASSERT_TRUE(GetScrollInfo(log->Handle(), SB_VERT, info));
    EXPECT_EQ(info.nPos, log->TopLine());
    EXPECT_EQ(info.nMax, 100);  // the empty line after the last break counts

    ui.Wheel(log, WHEEL_DELTA);
    EXPECT_EQ(log->TopLine(), info.nPos - 3);
    SendMessage(log->Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(log->TopLine(), 0);

    log->Clear();
    EXPECT_EQ(log->Lines()->Count(), 0);
    EXPECT_EQ(log->Text(), "");
    AddLine("after clearing", clRed);
    EXPECT_EQ(log->Lines()->Count(), 1);
}

TEST_F(RichEditTest, AReadOnlyLogCanBeSelectedAndCopiedButNotTyped) {
    AddLine("keep me", clRed);
    ui.Click(log);
    ui.Type("x");
    ui.PressKey(VK_BACK);
    EXPECT_EQ(log->Text(), "keep me\r\n");
    ui.PressKey('A', {ssCtrl});
    ui.PressKey('C', {ssCtrl});
    EXPECT_EQ(GetClipboardText(), "keep me\r\n");
}

TEST_F(RichEditTest, SelAttributesColourTheSelection) {
    log->SetText("abcdef");
    log->SetSelStart(2);
    log->SetSelLength(2);
    log->SelAttributes()->SetColor(clRed);
    EXPECT_EQ(log->SelAttributes()->Color(), clRed);
    EXPECT_EQ(log->CharColor(1), log->Font()->Color());
    EXPECT_EQ(log->CharColor(2), clRed);
    EXPECT_EQ(log->CharColor(3), clRed);
    EXPECT_EQ(log->CharColor(4), log->Font()->Color());
}

// The log wraps its long lines too; each row keeps its line's colours and
// the scroll range counts rows.
TEST_F(RichEditTest, LongLinesWrapKeepingTheirColours) {
    const String longLine =
        "reply from module 3: 55 AA 01 83 20 00 10 00 20 00 30 00 40 00 50 00 60 00 70 00 80 end";
    AddLine("short", clBlue);
    AddLine(longLine, clRed);
    ui.RunUntilIdle();
    const TEditRows& rows = log->Rows();
    const int longRows = rows.FirstRow(2) - rows.FirstRow(1);
    EXPECT_GE(longRows, 2);
    EXPECT_EQ(log->Lines()->Count(), 2);
    EXPECT_EQ(log->Lines()->Strings(1), longLine);
    SCROLLINFO info;
    ASSERT_TRUE(GetScrollInfo(log->Handle(), SB_VERT, info));
    EXPECT_EQ(info.nMax, 1 + longRows);  // "short", the rows, the empty last line
    // The second row of the long line is drawn red.
    log->Repaint();
    ui.RunUntilIdle();
    const int lh = MeasureText(log->Font(), "Wg", 0, false).cy;
    HDC dc = GetDC(log->Handle());
    bool red = false, blue = false;
    for (int x = 0; x < 150; ++x)
        for (int y = 1 + 2 * lh; y < 1 + 3 * lh; ++y) {
            red |= InkOf(GetPixel(dc, x, y), clRed);
            blue |= InkOf(GetPixel(dc, x, y), clBlue);
        }
    ReleaseDC(log->Handle(), dc);
    EXPECT_TRUE(red);
    EXPECT_FALSE(blue);
}

}  // namespace
}  // namespace tarvel
