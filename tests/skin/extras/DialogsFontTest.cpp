// The font panel: its font list from the machine's fonts, the controls
// filled from a font, the font taken back from clicks, the size list's
// range, colours that name no entry, and the effects box.

#include <gtest/gtest.h>

#include "platform/gdi/FontList.h"
#include "skin/extras/te_dialogs_font.h"
#include "tests/skin/extras/DialogsFixture.h"

namespace tarvel {
namespace {

class DialogsFontTest : public testing::DialogPanelTest<TTeFontPanel> {
protected:
    void SetUp() override {
        DialogPanelTest::SetUp();
        panel_->SetOptions(TFontDialogOptions{fdEffects});
    }

    String Text(const char* name) { return ui_.Text(ui_.Find(form_, name)); }
    std::vector<String> Items(TTeListBox* list) {
        std::vector<String> items;
        for (int i = 0; i < list->Count(); ++i) items.push_back(list->Items()->Get(i));
        return items;
    }
};

TEST_F(DialogsFontTest, TheFontListHoldsTheFamiliesFontconfigKnows) {
    const auto& families = InstalledFontFamilies();
    ASSERT_FALSE(families.empty()) << "fontconfig lists no font on this machine";
    std::vector<String> all = Items(panel_->FontList());
    EXPECT_EQ(all.size(), families.size());
    for (const FontFamilyInfo& f : families) {
        if (Utf8ToWide(f.name).size() > 31) continue;
        EXPECT_NE(std::find(all.begin(), all.end(), f.name), all.end()) << f.name;
    }
    EXPECT_NE(std::find(all.begin(), all.end(), "Liberation Sans"), all.end());

    panel_->SetOptions(TFontDialogOptions{fdFixedPitchOnly});
    const std::vector<String> fixed = Items(panel_->FontList());
    EXPECT_LT(fixed.size(), all.size());
    EXPECT_NE(std::find(fixed.begin(), fixed.end(), "Liberation Mono"), fixed.end());
    EXPECT_EQ(std::find(fixed.begin(), fixed.end(), "Liberation Sans"), fixed.end());
}

TEST_F(DialogsFontTest, SettingTheFontFillsEveryControl) {
    TFont font;
    font.SetName("Liberation Serif");
    font.SetSize(11);
    font.SetStyle(TFontStyles{fsBold, fsItalic, fsUnderline});
    font.SetColor(clNavy);
    font.SetCharset(134);
    panel_->SetFont(&font);
    EXPECT_EQ(Text("teFontName"), "Liberation Serif");
    EXPECT_EQ(panel_->FontList()->Items()->Get(panel_->FontList()->ItemIndex()), "Liberation Serif");
    EXPECT_EQ(Text("teFontStyle"), "Bold Italic");
    EXPECT_EQ(panel_->SizeList()->ItemIndex(), -1) << "only even sizes are listed";
    EXPECT_EQ(Text("teFontSize"), "11");
    EXPECT_TRUE(ui_.Find<TTeCheckBox>(form_, "teUnderline")->Checked());
    EXPECT_FALSE(ui_.Find<TTeCheckBox>(form_, "teStrikeout")->Checked());
    EXPECT_EQ(panel_->ColorBox()->Text(), "clNavy");
    EXPECT_EQ(panel_->ScriptBox()->Text(), "DEFAULT_CHARSET") << "whatever the font's set";

    struct Case {
        TFontStyles style;
        const char* entry;
    };
    for (const Case& c : {Case{{}, "Regular"}, Case{{fsItalic}, "Italic"}, Case{{fsBold}, "Bold"}}) {
        font.SetStyle(c.style);
        panel_->SetFont(&font);
        EXPECT_EQ(Text("teFontStyle"), c.entry);
    }
}

TEST_F(DialogsFontTest, ClicksTakeTheFontFromTheControls) {
    TFont font;
    font.SetName("Liberation Sans");
    font.SetSize(11);
    font.SetCharset(134);
    panel_->SetFont(&font);

    ui_.PickItem(panel_->SizeList(), "14");
    EXPECT_EQ(Text("teFontSize"), "14");
    EXPECT_EQ(panel_->Font()->Size(), 14);
    EXPECT_EQ(panel_->Font()->Charset(), DEFAULT_CHARSET) << "any change takes the script box's entry";
    ui_.PickItem(panel_->StyleList(), "Bold Italic");
    EXPECT_EQ(panel_->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
    ui_.PickItem(panel_->StyleList(), "Italic");
    EXPECT_EQ(panel_->Font()->Style(), TFontStyles{fsItalic});
    ui_.Click(form_, "teStrikeout");
    EXPECT_EQ(panel_->Font()->Style(), (TFontStyles{fsItalic, fsStrikeOut}));
    ui_.PickItem(panel_->FontList(), "Liberation Mono");
    EXPECT_EQ(Text("teFontName"), "Liberation Mono");
    EXPECT_EQ(panel_->Font()->Name(), "Liberation Mono");
    ui_.PickItem(panel_->ColorBox(), "clMaroon");
    EXPECT_EQ(panel_->Font()->Color(), clMaroon);
    ui_.PickItem(panel_->ScriptBox(), "GB2312_CHARSET");
    EXPECT_EQ(panel_->Font()->Charset(), 134);
}

TEST_F(DialogsFontTest, AColourThatNamesNoEntryIsKeptInItsHexadecimalForm) {
    TFont font;
    font.SetColor(TColor{0x123456});
    panel_->SetFont(&font);
    EXPECT_EQ(panel_->ColorBox()->ItemIndex(), -1);
    EXPECT_EQ(panel_->ColorBox()->Text(), "$00123456");
    ui_.PickItem(panel_->SizeList(), "12");
    EXPECT_EQ(panel_->Font()->Color(), TColor{0x123456});
}

TEST_F(DialogsFontTest, TheSizeListRunsFromTheMinimumToTheMaximumInSteps) {
    struct Case {
        int min, max;
        std::vector<String> first;
        String last;
        size_t count;
    };
    const Case cases[] = {
        {9, 15, {"9", "11", "13", "15"}, "15", 4},
        {0, 0, {"8", "10", "12"}, "128", 61},
        {0, 12, {"8", "10", "12"}, "12", 3},
        {20, 10, {}, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.min * 1000 + c.max);
        panel_->SetMinFontSize(c.min);
        panel_->SetMaxFontSize(c.max);
        const std::vector<String> sizes = Items(panel_->SizeList());
        ASSERT_EQ(sizes.size(), c.count);
        for (size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(sizes[i], c.first[i]);
        if (c.count) {
            EXPECT_EQ(sizes.back(), c.last);
        }
    }
}

TEST_F(DialogsFontTest, WithoutEffectsTheBoxIsHiddenButStillFollowsTheFont) {
    panel_->SetOptions({});
    EXPECT_FALSE(ui_.Visible(ui_.Find(form_, "teEffectGroup")));
    TFont font;
    font.SetStyle(TFontStyles{fsStrikeOut, fsUnderline});
    panel_->SetFont(&font);
    ui_.PickItem(panel_->SizeList(), "10");
    EXPECT_EQ(panel_->Font()->Style(), (TFontStyles{fsStrikeOut, fsUnderline}));
}

}  // namespace
}  // namespace tarvel
