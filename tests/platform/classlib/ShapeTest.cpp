// Shapes, bevels and images: what each draws where.

#include "platform/classlib/ExtCtrls.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class ShapeTest : public ControlFixture {};

TEST_F(ShapeTest, EachKindFillsItsOutlineWithTheBrush) {
    struct Case {
        TShapeType type;
        TPoint inside, outside;
    } cases[] = {
        {stRectangle, {1, 1}, {-1, -1}}, {stSquare, {20, 1}, {5, 5}},    {stCircle, {20, 20}, {20, 1}},
        {stEllipse, {30, 20}, {1, 1}},   {stRoundRect, {30, 1}, {0, 0}}, {stRoundSquare, {20, 20}, {5, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        auto* s = Add<TShape>("Lamp", Bounds(20, 20, 60, 40));
        s->SetShape(c.type);
        s->Brush()->SetColor(clLime);
        s->Pen()->SetStyle(psClear);
        ShowForm();
        EXPECT_EQ(PixelAt(s, c.inside), 0x00FF00u);
        EXPECT_EQ(PixelAt(s, c.outside), 0xFFFFFFu);
        delete s;
    }
}

TEST_F(ShapeTest, BrushColourChangesRepaintTheIndicator) {
    auto* lamp = Add<TShape>("Lamp", Bounds(20, 20, 20, 20));
    lamp->SetShape(stCircle);
    lamp->Brush()->SetColor(clSilver);
    ShowForm();
    EXPECT_EQ(PixelAt(lamp, {10, 10}), 0xC0C0C0u);
    EXPECT_EQ(PixelAt(lamp, {10, 0}), 0x000000u);  // the pen
    lamp->Brush()->SetColor(clRed);
    Snap();
    EXPECT_EQ(PixelAt(lamp, {10, 10}), 0xFF0000u);
}

TEST_F(ShapeTest, BevelDrawsItsLinesInTheStyle) {
    auto* bevel = Add<TBevel>("Bevel", Bounds(20, 20, 50, 30));
    ShowForm();
    EXPECT_EQ(PixelAt(bevel, {10, 0}), Rgb(clBtnShadow));
    EXPECT_EQ(PixelAt(bevel, {10, 29}), Rgb(clBtnHighlight));
    bevel->SetStyle(bsRaised);
    bevel->SetShape(bsTopLine);
    Snap();
    EXPECT_EQ(PixelAt(bevel, {10, 0}), Rgb(clBtnHighlight));
    EXPECT_EQ(PixelAt(bevel, {10, 1}), Rgb(clBtnShadow));
    EXPECT_EQ(PixelAt(bevel, {10, 29}), 0xFFFFFFu);
}

TEST_F(ShapeTest, ImageDrawsItsPictureStretchedOrCentred) {
    auto* image = Add<TImage>("Picture", Bounds(20, 20, 40, 40));
    TBitmap* bmp = image->Picture()->Bitmap();
    bmp->SetSize(10, 10);
    bmp->Canvas()->Brush()->SetColor(clBlue);
    bmp->Canvas()->FillRect(Rect(0, 0, 10, 10));
    image->SetAutoSize(false);
    image->SetBounds(20, 20, 40, 40);
    ShowForm();
    EXPECT_EQ(PixelAt(image, {5, 5}), 0x0000FFu);
    EXPECT_EQ(PixelAt(image, {20, 20}), 0xFFFFFFu);
    image->SetCenter(true);
    EXPECT_EQ(image->DestRect(), Bounds(15, 15, 10, 10));
    image->SetStretch(true);
    Snap();
    EXPECT_EQ(PixelAt(image, {38, 38}), 0x0000FFu);
    image->SetProportional(true);
    image->SetBounds(20, 20, 40, 20);
    EXPECT_EQ(image->DestRect(), Bounds(10, 0, 20, 20));
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 10);
}

}  // namespace
}  // namespace tarvel
