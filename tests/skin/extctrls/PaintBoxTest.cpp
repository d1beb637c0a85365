// The paint box: what its owner draws in OnPaint, on a canvas holding the
// box's font and colour, and the dashed outline that marks it at design time.

#include <gtest/gtest.h>

#include "skin/extctrls/te_extctrls_paintbox.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel {
namespace {

class PaintBoxTest : public testing::SkinControlTest {
protected:
    uint32_t Shown(TControl* c, int x, int y) {
        const TPoint p = c->ClientToScreen(TPoint{x, y});
        return ui_.Backend().ScreenPixels()->Pixel(p.x, p.y) & 0xFFFFFF;
    }
};

TEST_F(PaintBoxTest, OwnersDrawWithTheBoxsFontAndColourAndTheOutlineShowsOnlyAtDesignTime) {
    form_->SetColor(clWhite);
    const uint32_t white = ColorToRGB(clWhite) & 0xFFFFFF;
    const TColor color = TColor(0x3080C0);
    const uint32_t fill = 0xC08030;  // the screen holds red in the high byte
    struct Case {
        bool designing, handler;
        uint32_t centre;  // the pixel in the middle
        bool outline;     // a black edge along the top
    } const cases[] = {
        {false, false, white, false},
        {false, true, fill, false},
        {true, false, white, true},
        {true, true, fill, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.designing << c.handler);
        auto* box = Make<TTePaintBox>(20, 20);
        EXPECT_EQ(box->Width(), 105);
        EXPECT_EQ(box->Height(), 105);
        box->SetColor(color);
        box->Font()->SetSize(17);
        box->SetDesigning(c.designing);
        int fontSize = 0;
        if (c.handler) {
            box->OnPaint = [&](TObject*) {
                fontSize = box->Canvas()->Font()->Size();
                box->Canvas()->FillRect(TRect{2, 2, box->Width() - 2, box->Height() - 2});
            };
        }
        box->Invalidate();
        ui_.RunUntilIdle();
        EXPECT_EQ(Shown(box, 52, 52), c.centre);
        if (c.handler) {
            EXPECT_EQ(fontSize, 17);
        }
        int black = 0;
        for (int x = 0; x < 40; ++x) black += Shown(box, x, 0) == 0;
        if (c.outline) {
            // Dashes of 18 with gaps of 6 that show what lies beneath.
            EXPECT_EQ(black, 18 + 16);
            EXPECT_EQ(Shown(box, 17, 0), 0u);
            EXPECT_EQ(Shown(box, 20, 0), white);
        } else {
            EXPECT_EQ(black, 0);
        }
        delete box;
    }
}

}  // namespace
}  // namespace tarvel
