// Bit buttons and speed buttons.

#include "platform/classlib/Buttons.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class ButtonsTest : public ControlFixture {};

TEST_F(ButtonsTest, BitButtonKindsBringCaptionAndResult) {
    auto* ok = Add<TBitBtn>("OkButton", Bounds(10, 10, 75, 25));
    ok->SetKind(bkOK);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    auto* cancel = Add<TBitBtn>("CancelButton", Bounds(90, 10, 75, 25));
    cancel->SetKind(bkCancel);
    EXPECT_TRUE(cancel->Cancel());
    cancel->Glyph()->SetSize(16, 16);
    cancel->Glyph()->Canvas()->Brush()->SetColor(clRed);
    cancel->Glyph()->Canvas()->FillRect(Rect(0, 0, 16, 16));
    int clicks = 0;
    cancel->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    EXPECT_GT(CountPixels(cancel, [](uint32_t p) { return p == 0xFF0000u; }), 200);
    ui.Click(cancel);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonsTest, SpeedButtonsOfAGroupStayDownOneAtATime) {
    std::vector<TSpeedButton*> group;
    for (int i = 0; i < 3; ++i) {
        auto* b = Add<TSpeedButton>("Speed" + IntToStr(i), Bounds(10 + 25 * i, 10, 23, 22));
        b->SetGroupIndex(1);
        group.push_back(b);
    }
    auto* plain = Add<TSpeedButton>("Plain", Bounds(100, 10, 23, 22));
    int clicks = 0;
    plain->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    ui.Click(group[0]);
    ui.Click(group[2]);
    EXPECT_FALSE(group[0]->Down());
    EXPECT_TRUE(group[2]->Down());
    ui.Click(group[2]);
    EXPECT_TRUE(group[2]->Down());
    group[2]->SetAllowAllUp(true);
    ui.Click(group[2]);
    EXPECT_FALSE(group[2]->Down());
    ui.Click(plain);
    EXPECT_FALSE(plain->Down());
    EXPECT_EQ(clicks, 1);
    // A press dragged off the button is no click.
    ui.Drag(plain, TPoint{5, 5}, TPoint{60, 60});
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace tarvel
