// TteBitmap against the class library's graphics: canvas, bitmaps, pictures.
#include <gtest/gtest.h>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Icons.h"
#include "platform/classlib/Pictures.h"
#include "skin/core/te_bitmap.h"

namespace tarvel {
namespace {

TEST(AlphaBitmapGraphics, CanvasFollowsResizes) {
    TteBitmap b;
    TCanvas* canvas = b.GetCanvas();
    b.SetSize(4, 4);
    canvas->Brush()->SetColor(RGB(255, 0, 0));
    canvas->FillRect(TRect{0, 0, 4, 4});
    EXPECT_EQ(b.GetPixel(3, 3) & 0xFFFFFF, 0xFF0000u);
    b.SetSize(6, 2);
    EXPECT_EQ(canvas->Handle(), b.DC());
    canvas->FillRect(TRect{0, 0, 6, 2});
    EXPECT_EQ(b.GetPixel(5, 1) & 0xFFFFFF, 0xFF0000u);
}

TEST(AlphaBitmapGraphics, FromA32BitBitmapKeepsAlpha) {
    TBitmap source(2, 1);
    source.SetPixelFormat(pf32bit);
    source.ScanLine(0)[0] = 0x80102030;
    source.ScanLine(0)[1] = 0xFF405060;
    TteBitmap b;
    b.Assign(&source);
    EXPECT_EQ(b.GetPixel(0, 0), 0x80102030u);
    EXPECT_EQ(b.GetPixel(1, 0), 0xFF405060u);
    EXPECT_TRUE(b.AlphaBlend);
}

TEST(AlphaBitmapGraphics, FromOtherBitmapsAndPicturesOpaque) {
    TBitmap source(2, 1);
    source.SetPixelFormat(pf24bit);
    source.ScanLine(0)[0] = 0x00102030;
    TteBitmap b;
    b.Assign(&source);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF102030u);
    source.SetPixelFormat(pf32bit);
    source.ScanLine(0)[0] = 0x80102030;
    TPicture picture;
    picture.SetGraphic(&source);
    b.Assign(&picture);  // through a picture the alpha is not kept
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF102030u);
    TPicture empty;
    b.Assign(&empty);
    EXPECT_TRUE(b.Empty());
}

TEST(AlphaBitmapGraphics, FromAnIconThroughDrawGraphic) {
    TIcon icon;
    const uint32_t px[] = {0xFF00FF00, 0x00000000, 0xFF0000FF, 0xFF00FF00};
    icon.SetPixels(2, 2, px);
    TteBitmap b;
    b.Assign(&icon);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(b.GetPixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(b.GetPixel(1, 0), 0xFF000000u);  // left out by DrawGraphic: kept zero, then opaque
}

TEST(AlphaBitmapGraphics, ToABitmapDrawsWithTheFlags) {
    TteBitmap b;
    b.SetSize(2, 1);
    b.SetPixel(0, 0, 0xFF112233);
    b.SetPixel(1, 0, 0x007F007F);
    b.Transparent = true;
    TBitmap dest;
    dest.Assign(nullptr);
    dest.Assign(&b);
    EXPECT_EQ(dest.PixelFormat(), pf32bit);
    EXPECT_EQ(dest.Width(), 2);
    EXPECT_EQ(dest.ScanLine(0)[0], 0xFF112233u);
    EXPECT_NE(dest.ScanLine(0)[1] & 0xFFFFFF, 0x7F007Fu);  // the key pixel was left out
    TteBitmap other;
    EXPECT_THROW(other.Assign(dest.Canvas()), EConvertError);
}

}  // namespace
}  // namespace tarvel
