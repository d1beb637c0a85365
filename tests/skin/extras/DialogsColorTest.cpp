// The colour panel: what its edits show for a colour, the marker and the
// luminance that follow it, edits and drags kept in range, swatches, the
// full part and the custom colour slots.

#include <gtest/gtest.h>

#include "skin/extras/te_dialogs_color.h"
#include "tests/skin/extras/DialogsFixture.h"

namespace tarvel {
namespace {

class DialogsColorTest : public testing::DialogPanelTest<TTeColorPanel> {
protected:
    void SetUp() override {
        DialogPanelTest::SetUp();
        panel_->SetOptions(TColorDialogOptions{cdFullOpen});
    }

    TTeMaskEdit* Edit(const char* name) { return ui_.Find<TTeMaskEdit>(form_, name); }
    TControl* Box(const char* name) { return ui_.Find(form_, name); }
    TColorEditValues Shown() {
        auto read = [&](const char* name) { return StrToInt(Edit(name)->Text()); };
        return TColorEditValues{read("teColorHue"), read("teColorSat"), read("teColorLum"),
                                read("teColorR"),   read("teColorG"),   read("teColorB")};
    }
};

TEST_F(DialogsColorTest, EditsShowHueSaturationLuminanceAndBytesOfTheColour) {
    struct Case {
        TColor color;
        TColorEditValues shown;
    };
    const Case cases[] = {
        {clRed, {0, 255, 128, 255, 0, 0}},
        {clLime, {85, 255, 128, 0, 255, 0}},
        {clBlue, {170, 255, 128, 0, 0, 255}},
        {clBlack, {0, 0, 0, 0, 0, 0}},
        {clWhite, {0, 0, 255, 255, 255, 255}},
        {TColor{0x808080}, {0, 0, 128, 128, 128, 128}},
        // A system colour is shown as what it stands for.
        {clBtnFace, ColorEditValues(ColorToRGB(clBtnFace))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ColorToString(c.color));
        EXPECT_EQ(ColorEditValues(c.color), c.shown);
        panel_->SetColor(c.color);
        EXPECT_EQ(Shown(), c.shown);
    }
}

TEST_F(DialogsColorTest, RedPutsTheMarkerTopLeftAndTheLuminanceMidway) {
    panel_->SetColor(clRed);
    EXPECT_EQ(panel_->Marker(), (TPoint{0, 0}));
    EXPECT_FLOAT_EQ(panel_->Luminance(), 0.5f);
    panel_->SetColor(TColor{0x808080});  // grey: no saturation, at the bottom
    EXPECT_EQ(panel_->Marker().y, Box("teSpectrPaint")->Height());
}

TEST_F(DialogsColorTest, EditedValuesAreClampedAndTextThatIsNoNumberYetIsIgnored) {
    panel_->SetColor(TColor{0x204060});  // R 0x60, G 0x40, B 0x20
    struct Case {
        const char* edit;
        const char* text;
        TColor expected;
    };
    const Case cases[] = {
        {"teColorR", "300", TColor{0x2040FF}},  // beyond a byte: the byte's top
        {"teColorG", "-5", TColor{0x2000FF}},
        {"teColorB", "", TColor{0x2000FF}},  // cleared while typing: nothing changes
        {"teColorB", "1x", TColor{0x2000FF}},
        {"teColorB", " 16 ", TColor{0x1000FF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " '" + c.text + "'");
        Edit(c.edit)->SetText(c.text);
        EXPECT_EQ(panel_->Color(), c.expected);
    }

    // Typed through the keyboard, a hue beyond 255 stays at the end of the
    // hue circle, which is red again.
    panel_->SetColor(clBlue);
    ui_.Click(Edit("teColorHue"));
    Edit("teColorHue")->SelectAll();
    ui_.Type("999");
    EXPECT_EQ(panel_->Color(), clRed);
    Edit("teColorLum")->SetText("1000");
    EXPECT_FLOAT_EQ(panel_->Luminance(), 1.f);
    EXPECT_EQ(panel_->Color(), clWhite);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(DialogsColorTest, DragsBeyondTheBarAndTheSpectrumStayInRange) {
    TControl* bar = Box("teLumPaint");
    panel_->SetColor(clRed);
    ui_.Drag(bar, TPoint{5, bar->Height() / 2}, TPoint{5, bar->Height() + 40});
    EXPECT_FLOAT_EQ(panel_->Luminance(), 0.f);
    EXPECT_EQ(panel_->Color(), clBlack);
    panel_->SetColor(clRed);
    ui_.Drag(bar, TPoint{5, bar->Height() / 2}, TPoint{5, -40});
    EXPECT_FLOAT_EQ(panel_->Luminance(), 1.f);
    EXPECT_EQ(panel_->Color(), clWhite);

    TControl* spectrum = Box("teSpectrPaint");
    ui_.ClickAt(spectrum, TPoint{0, 0});
    EXPECT_EQ(panel_->Color(), clRed) << "full saturation of the first hue at the top left";
    EXPECT_FLOAT_EQ(panel_->Luminance(), 0.5f);
    ui_.Drag(spectrum, TPoint{20, 20}, TPoint{spectrum->Width() + 30, 20});
    EXPECT_EQ(panel_->Color(), clBlack) << "beyond the spectrum's edge";
    EXPECT_EQ(panel_->Marker(), (TPoint{spectrum->Width() + 30, 20}));
}

TEST_F(DialogsColorTest, ASwatchClickSelectsItsColourAndFillsTheEdits) {
    TControl* basic = Box("BasicPaint");
    const TRect cell = TTeColorPanel::SwatchRect(9);  // row 2, column 2: FF6600
    ui_.ClickAt(basic, TPoint{cell.left + 5, cell.top + 5});
    EXPECT_EQ(panel_->Color(), TTeColorPanel::kBasicColors[9]);
    EXPECT_EQ(panel_->Color(), TColor{0x0066FF});
    EXPECT_EQ(Shown().red, 255);
    EXPECT_EQ(Shown().green, 0x66);

    // Between the cells nothing changes.
    ui_.ClickAt(basic, TPoint{cell.right + 1, cell.top + 5});
    EXPECT_EQ(panel_->Color(), TColor{0x0066FF});
    EXPECT_EQ(TTeColorPanel::SwatchAt(TPoint{200, 130}, TTeColorPanel::kBasicCount), -1);
}

TEST_F(DialogsColorTest, OptionsSetTheWidthAndShowTheFullPart) {
    int told = 0;
    panel_->OnWidthChange = [&](TObject*) { ++told; };
    panel_->SetOptions({});
    EXPECT_EQ(panel_->Width(), 210);
    EXPECT_FALSE(ui_.Visible(Box("TeSpectrPanel")));
    EXPECT_FALSE(ui_.Visible(Box("teColorR")));
    EXPECT_FALSE(ui_.Visible(Box("teAddCustomButton")));
    ui_.Click(form_, "teShowFullColors");
    EXPECT_EQ(panel_->Width(), 430);
    EXPECT_TRUE(panel_->Options().Contains(cdFullOpen));
    EXPECT_TRUE(ui_.Visible(Box("TeSpectrPanel")));
    EXPECT_TRUE(ui_.Visible(Box("teColorHue")));
    EXPECT_EQ(told, 2);

    panel_->SetOptions(TColorDialogOptions{cdPreventFullOpen});
    EXPECT_FALSE(ui_.Enabled(Box("teShowFullColors")));
}

TEST_F(DialogsColorTest, CustomColoursAreReadFromTheirLinesAndFilledInTurn) {
    TStringList lines;
    lines.Add("ColorA=ff0000");  // blue: the value keeps blue in its high byte
    lines.Add("ColorB=not a colour");
    lines.Add("ColorC=");
    lines.Add("ColorP=00ff00");
    panel_->SetCustomColors(&lines);
    EXPECT_EQ(panel_->CustomColor(0), clBlue);
    EXPECT_EQ(panel_->CustomColor(1), clWhite);
    EXPECT_EQ(panel_->CustomColor(2), clWhite);
    EXPECT_EQ(panel_->CustomColor(3), clWhite);
    EXPECT_EQ(panel_->CustomColor(15), clLime);

    for (int i = 0; i < 17; ++i) {
        panel_->SetColor(static_cast<TColor>(0x010203 * (i + 1)));
        ui_.Click(form_, "teAddCustomButton");
    }
    EXPECT_EQ(panel_->CustomColors()->Values("ColorA"), "112233") << "the 17th took slot A again";
    EXPECT_EQ(panel_->CustomColors()->Values("ColorP"), "102030");
    EXPECT_EQ(panel_->CustomColor(0), TColor{0x112233});
    EXPECT_EQ(panel_->NextCustomSlot(), 1);

    // A custom swatch picks its colour like a basic one.
    const TRect cell = TTeColorPanel::SwatchRect(15);
    ui_.ClickAt(Box("CustomPaint"), TPoint{cell.left + 4, cell.top + 4});
    EXPECT_EQ(panel_->Color(), TColor{0x102030});
}

}  // namespace
}  // namespace tarvel
